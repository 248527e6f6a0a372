// The file-manager page of the interface, loaded as the main window loads
// it, driving the real view model against a sandbox: it lists, exports,
// deletes and imports, and copies nothing without a mounted stick.

#include "../FileManagerTestSupport.h"

#include "ZorInterfaceResources.h"
#include "ZorQmlTypes.h"

#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlProperty>
#include <QQuickWindow>
#include <QSGRendererInterface>

#include <memory>

using fmtest::FileManagerTest;

namespace {

class FileManagerGui : public FileManagerTest
{
protected:
    // A window as the main window: palette, panels, and the item under test
    // with the object name "subject"; viewBaseModel is the given model, which
    // lives until the window is gone.
    QObject* load(ViewBaseModel* vm, const QByteArray& subject)
    {
        model.reset(vm);
        zorInitInterfaceResources();
        zorRegisterQmlTypes();
        engine = std::make_unique<QQmlEngine>();
        engine->addImportPath(QStringLiteral("qrc:/"));
        engine->rootContext()->setContextProperty(QStringLiteral("viewBaseModel"), vm);
        QQmlComponent component(engine.get());
        component.setData("import QtQuick 2.15\n"
                          "import QtQuick.Window 2.15\n"
                          "import QMLControls 1.0\n"
                          "import \"qrc:/\"\n"
                          "import \"qrc:/QMLPages/FileManager\"\n"
                          "Window {\n"
                          "    width: 800; height: 480; visible: true\n"
                          "    GlobalConfiguration { id: globalConfiguration }\n"
                          "    InputNumberPanel { id: inputNumberPanel }\n"
                          "    InputCharNumberPanel { id: inputCharNumberPanel }\n"
                              + subject + "\n}\n",
                          QUrl(QStringLiteral("qrc:/FileManagerGuiTest.qml")));
        window.reset(component.create());
        EXPECT_TRUE(window) << component.errorString().toStdString();
        if (!window)
            return nullptr;
        QObject* item = window->findChild<QObject*>(QStringLiteral("subject"));
        EXPECT_TRUE(item);
        return item;
    }

    static QVariant prop(QObject* o, const char* name) { return QQmlProperty::read(o, QString::fromLatin1(name)); }
    static QObject* child(QObject* o, const char* name) { return prop(o, name).value<QObject*>(); }

    static QVariant call(QObject* o, const char* function, const QVariant& a = {}, const QVariant& b = {})
    {
        QVariant result;
        bool ok = false;
        if (!b.isNull())
            ok = QMetaObject::invokeMethod(o, function, Q_RETURN_ARG(QVariant, result), Q_ARG(QVariant, a),
                                           Q_ARG(QVariant, b));
        else if (!a.isNull())
            ok = QMetaObject::invokeMethod(o, function, Q_RETURN_ARG(QVariant, result), Q_ARG(QVariant, a));
        else
            ok = QMetaObject::invokeMethod(o, function, Q_RETURN_ARG(QVariant, result));
        EXPECT_TRUE(ok) << function;
        return result;
    }

    // Presses "确定" of a message dialog that is open.
    static void accept(QObject* dialog)
    {
        ASSERT_TRUE(vmtest::waitUntil([dialog] { return prop(dialog, "opened").toBool(); }));
        QMetaObject::invokeMethod(dialog, "acceptClicked");
        ASSERT_TRUE(vmtest::waitUntil([dialog] { return !prop(dialog, "visible").toBool(); }));
    }

    static QString infoText(QObject* dialog)
    {
        EXPECT_TRUE(vmtest::waitUntil([dialog] { return prop(dialog, "opened").toBool(); }));
        const QString text = prop(dialog, "content").toString();
        QMetaObject::invokeMethod(dialog, "acceptClicked");
        return text;
    }

    // Activates entry index of one of the page's choice boxes.
    static void choose(QObject* page, const char* box, int index)
    {
        QObject* combo = page->findChild<QObject*>(QString::fromLatin1(box));
        ASSERT_TRUE(combo);
        QQmlProperty::write(combo, QStringLiteral("currentIndex"), index);
        QMetaObject::invokeMethod(combo, "activated", Q_ARG(int, index));
    }

    std::unique_ptr<ViewBaseModel> model;
    std::unique_ptr<QQmlEngine> engine;
    std::unique_ptr<QObject> window;
};

} // namespace

TEST_F(FileManagerGui, ThePageListsExportsDeletesAndImports)
{
    const QStringList names = fmtest::awkwardNames();
    for (const QString& n : names)
        write(app("parameters_bk/AC/" + n), n.toUtf8());
    write(app("report/AC/AC_20240131235959.htm"), "<html/>");

    auto* vm = new ViewBaseModel();
    QObject* page = load(vm, "FileManagerPage { objectName: \"subject\"; anchors.fill: parent }");
    ASSERT_TRUE(page);
    QObject* confirm = child(page, "confirmDialog");
    QObject* info = child(page, "infoDialog");
    ASSERT_EQ(prop(page, "fileCount").toInt(), names.size());

    call(page, "selectAll", true);
    call(page, "exportFiles");
    accept(confirm);
    EXPECT_EQ(infoText(info), QString::fromUtf8("导出文件成功！"));
    for (const QString& n : names)
        EXPECT_EQ(read(stick("parameters/AC/" + n)), n.toUtf8()) << n.toStdString();

    call(page, "deleteFiles");
    accept(confirm);
    EXPECT_EQ(infoText(info), QString::fromUtf8("删除文件成功！"));
    EXPECT_EQ(prop(page, "fileCount").toInt(), 0);
    EXPECT_TRUE(QDir(app("parameters_bk/AC")).entryList(QDir::Files).isEmpty());

    choose(page, "positionBox", 1);
    ASSERT_EQ(prop(page, "fileCount").toInt(), names.size());
    call(page, "selectFile", 0, true);
    call(page, "importFiles");
    accept(confirm);
    EXPECT_EQ(infoText(info), QString::fromUtf8("导入文件成功！"));
    EXPECT_EQ(QDir(app("parameters_bk/AC")).entryList(QDir::Files).size(), 1);

    // Reports, on the device only.
    choose(page, "positionBox", 0);
    choose(page, "typeBox", 1);
    ASSERT_EQ(prop(page, "fileCount").toInt(), 1);
    EXPECT_EQ(vm->getFileName(0), "AC_20240131235959.htm");

    // Without a mounted stick nothing is exported.
    mountStick(false);
    call(page, "selectAll", true);
    call(page, "exportFiles");
    EXPECT_EQ(infoText(info), QString::fromUtf8("U盘不存在！请重新插入U盘。"));
    EXPECT_FALSE(prop(confirm, "opened").toBool());
    EXPECT_FALSE(exists(stick("report/AC/AC_20240131235959.htm")));
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
