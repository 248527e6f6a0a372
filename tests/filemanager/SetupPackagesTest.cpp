// The set-up script installs a package for every QML module the
// application and its tests import, and no QML module package that nothing
// imports.

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

namespace {

QString readSource(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll()) : QString();
}

// The Qt modules imported by QML files and by QML text in C++ sources
// (build and run folders left out).
QSet<QString> importedQtModules()
{
    const QRegularExpression import(QStringLiteral("import\\s+(Qt[A-Za-z.]*)\\s+\\d"));
    QSet<QString> modules;
    const QDir root(QStringLiteral(ZOR_SOURCE_DIR));
    for (const QString& top : root.entryList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot)) {
        if (top == QLatin1String("build") || top == QLatin1String("run") || top.startsWith('.'))
            continue;
        const QString path = root.filePath(top);
        QStringList files;
        if (QFileInfo(path).isDir())
            for (QDirIterator it(path, {"*.qml", "*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
                 it.hasNext();)
                files << it.next();
        else if (top.endsWith(QLatin1String(".qml")))
            files << path;
        for (const QString& file : files)
            for (auto m = import.globalMatch(readSource(file)); m.hasNext();)
                modules << m.next().captured(1);
    }
    return modules;
}

}   // namespace

TEST(SetupPackages, EveryImportedQmlModuleIsInstalledAndNoOtherQmlModule)
{
    // Debian's package of each QML module ("": part of the Qt Qml library).
    const QMap<QString, QString> packageOf = {
        {"QtQml", ""},
        {"QtQuick", "qml-module-qtquick2"},
        {"QtQuick.Controls", "qml-module-qtquick-controls2"},
        {"QtQuick.Layouts", "qml-module-qtquick-layouts"},
        {"QtQuick.Window", "qml-module-qtquick-window2"},
        {"QtQuick.Dialogs", "qml-module-qtquick-dialogs"},
        {"Qt.labs.qmlmodels", "qml-module-qt-labs-qmlmodels"},
        {"QtTest", "qml-module-qttest"},
    };
    const QString script = readSource(QStringLiteral(ZOR_SOURCE_DIR "/tools/setup.sh"));
    const QRegularExpressionMatch list = QRegularExpression(QStringLiteral("\\npackages=\\(([^)]*)\\)")).match(script);
    ASSERT_TRUE(list.hasMatch());
    QSet<QString> listed;
    for (const QString& name : list.captured(1).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        if (name.startsWith(QLatin1String("qml-module-")))
            listed << name;

    QSet<QString> needed;
    for (const QString& module : importedQtModules()) {
        EXPECT_TRUE(packageOf.contains(module)) << module.toStdString() << ": which package provides it?";
        if (!packageOf.value(module).isEmpty())
            needed << packageOf.value(module);
    }
    for (const QString& name : needed - listed)
        ADD_FAILURE() << name.toStdString() << " is needed but not in the set-up list";
    for (const QString& name : listed - needed)
        ADD_FAILURE() << name.toStdString() << " is in the set-up list but nothing imports its module";
}
