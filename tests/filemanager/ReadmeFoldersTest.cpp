// The README tells a user of the run command (application root run/,
// sandbox run/sandbox/) where reports and parameter files go: the folders
// the view model uses.

#include "FileManagerTestSupport.h"

using fmtest::FileManagerTest;

TEST_F(FileManagerTest, TheReadmeNamesTheFoldersOfTheRunCommand)
{
    QFile file(QStringLiteral(ZOR_SOURCE_DIR "/README.md"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString readme = QString::fromUtf8(file.readAll()).simplified();
    ViewBaseModel vm;
    const auto device = [&](ViewBaseModel::FileType type) {
        return "`run/" + vm.getFileTypeDirName(ViewBaseModel::FILE_POS_DEVICE, type).mid(appRoot().size() + 1)
               + "<module>/`";
    };
    // "media/usb/parameters": the stick's folder in the sandbox, and its own.
    const QString stick = zoplat::devicePath(vm.getFileTypeDirName(ViewBaseModel::FILE_POS_USB,
                                                                    ViewBaseModel::FILE_TYPE_PARAMETER))
                              .mid(zoplat::sandboxRoot().size() + 1);
    const QString documented[] = {
        device(ViewBaseModel::FILE_TYPE_PARAMETER), device(ViewBaseModel::FILE_TYPE_REPORT),
        "`run/sandbox/" + stick.section('/', 0, 1) + '`', "its `" + stick.section('/', 2) + "/`",
    };
    for (const QString& text : documented)
        EXPECT_TRUE(readme.contains(text)) << text.toStdString();
}
