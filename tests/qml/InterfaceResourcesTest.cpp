// The interface resources as the application gets them: every control
// compiles and is listed in the controls' qmldir, every glyph of the palette
// lies in the icon font, every image of the palette loads, and the Quick
// Controls configuration is in place.

#include "QmlTestEnvironment.h"
#include "ZorInterfaceResources.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainterPath>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QRawFont>
#include <QRegularExpression>

namespace {

QString resourceText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

TEST(InterfaceResources, EveryControlCompilesAndIsInTheModule)
{
    const QStringList controls = QDir(QStringLiteral(":/QMLControls")).entryList({QStringLiteral("*.qml")});
    ASSERT_GE(controls.size(), 35);
    const QString qmldir = resourceText(QStringLiteral(":/QMLControls/qmldir"));
    ASSERT_TRUE(qmldir.startsWith(QStringLiteral("module QMLControls\n")));

    QQmlEngine engine;
    zorPrepareQmlTestEngine(&engine);
    for (const QString& file : controls) {
        const QString type = file.chopped(4);
        EXPECT_TRUE(qmldir.contains(QStringLiteral("\n%1 1.0 %1.qml\n").arg(type))) << type.toStdString();
        QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/QMLControls/") + file));
        EXPECT_EQ(component.status(), QQmlComponent::Ready)
            << file.toStdString() << ": " << component.errorString().toStdString();
    }
}

TEST(InterfaceResources, EveryGlyphIsInTheIconFont)
{
    QFile fontFile(QStringLiteral(":/QMLIconFonts/iconfont.ttf"));
    ASSERT_TRUE(fontFile.open(QIODevice::ReadOnly));
    const QRawFont font(fontFile.readAll(), 32);
    ASSERT_TRUE(font.isValid());
    EXPECT_EQ(font.familyName(), QStringLiteral("ZOR Icons"));

    const QString palette = resourceText(QStringLiteral(":/GlobalConfiguration.qml"));
    const QRegularExpression glyph(QStringLiteral("property string (icon\\w+): \"\\\\u([0-9a-fA-F]{4})\""));
    int count = 0;
    for (auto it = glyph.globalMatch(palette); it.hasNext(); ++count) {
        const QRegularExpressionMatch match = it.next();
        const uint codePoint = match.captured(2).toUInt(nullptr, 16);
        EXPECT_TRUE(font.supportsCharacter(codePoint)) << match.captured(1).toStdString();
        const QVector<quint32> indexes = font.glyphIndexesForString(QString(QChar(codePoint)));
        ASSERT_EQ(indexes.size(), 1);
        EXPECT_FALSE(font.pathForGlyph(indexes.first()).isEmpty()) << match.captured(1).toStdString();
    }
    EXPECT_EQ(count, 22);
}

TEST(InterfaceResources, EveryImageLoads)
{
    const QString palette = resourceText(QStringLiteral(":/GlobalConfiguration.qml"));
    QStringList names;
    const QRegularExpression image(QStringLiteral("\"(\\w+\\.png)\""));
    for (auto it = image.globalMatch(palette); it.hasNext();)
        names.append(it.next().captured(1));
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 22);
    for (const QString& name : qAsConst(names)) {
        const QImage picture(QStringLiteral(":/QMLImages/Default/") + name);
        ASSERT_FALSE(picture.isNull()) << name.toStdString();
        EXPECT_GE(picture.width(), 48) << name.toStdString();
        EXPECT_TRUE(picture.hasAlphaChannel()) << name.toStdString();
    }
}

TEST(InterfaceResources, QuickControlsUseTheDefaultStyle)
{
    const QString conf = resourceText(QStringLiteral(":/qtquickcontrols2.conf"));
    EXPECT_TRUE(conf.contains(QStringLiteral("Style=Default")));
    EXPECT_TRUE(conf.contains(QStringLiteral("Font\\PixelSize=25")));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    zorUseSoftwareRendering();
    QGuiApplication app(argc, argv);
    zorInitInterfaceResources();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
