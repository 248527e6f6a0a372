// The README tells a user of the run command where it keeps reports and
// parameter files (its application root is run/, its sandbox run/sandbox/)
// and that it builds optimised: those are the folders the view model uses
// and the build types the scripts ask for.

#include "FileManagerTestSupport.h"

#include <QRegularExpression>

using fmtest::FileManagerTest;

namespace {

QString sourceFile(const char* relative)
{
    QFile file(QStringLiteral(ZOR_SOURCE_DIR "/") + QLatin1String(relative));
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

TEST_F(FileManagerTest, TheReadmeNamesTheFoldersAndBuildsOfTheRunCommand)
{
    const QString readme = sourceFile("README.md").simplified();
    ASSERT_FALSE(readme.isEmpty());
    ViewBaseModel vm;
    const QString app = QDir::currentPath() + QLatin1Char('/');
    const QString sandbox = zoplat::sandboxRoot() + QLatin1Char('/');
    const auto onDevice = [&](ViewBaseModel::FileType type) {
        return QStringLiteral("run/") + vm.getFileTypeDirName(ViewBaseModel::FILE_POS_DEVICE, type).mid(app.size());
    };
    const auto onStick = [&](ViewBaseModel::FileType type) {
        return zoplat::devicePath(vm.getFileTypeDirName(ViewBaseModel::FILE_POS_USB, type)).mid(sandbox.size());
    };
    const QString documented[] = {
        QStringLiteral("`") + onDevice(ViewBaseModel::FILE_TYPE_PARAMETER) + QStringLiteral("<module>/`"),
        QStringLiteral("`") + onDevice(ViewBaseModel::FILE_TYPE_REPORT) + QStringLiteral("<module>/`"),
        QStringLiteral("`run/sandbox/") + onStick(ViewBaseModel::FILE_TYPE_PARAMETER).section('/', 0, 1) + '`',
        QStringLiteral("its `") + onStick(ViewBaseModel::FILE_TYPE_PARAMETER).section('/', 2) + QStringLiteral("/`"),
        QStringLiteral("`") + onStick(ViewBaseModel::FILE_TYPE_REPORT).section('/', 2) + QStringLiteral("/`"),
    };
    for (const QString& text : documented)
        EXPECT_TRUE(readme.contains(text)) << text.toStdString();

    // Optimised: the run command's and the idle benchmark's build folders.
    const std::pair<const char*, const char*> builds[] = {
        {"tools/setup.sh", R"(configure_and_build "\$here/build/run" -DCMAKE_BUILD_TYPE=Release)"},
        {"bench/idle_cpu.sh", R"(-B "\$build" -G Ninja -DCMAKE_BUILD_TYPE=Release)"},
    };
    for (const auto& [file, line] : builds)
        EXPECT_TRUE(QRegularExpression(QLatin1String(line)).match(sourceFile(file).simplified()).hasMatch()) << file;
    EXPECT_TRUE(readme.contains(QStringLiteral("Release, in `build/run`")));
    EXPECT_TRUE(readme.contains(QStringLiteral("optimised (in `build/bench`)")));
}
