// The stick is its folder in the sandbox: without a scripted mount check the
// view model sees a stick only while that folder exists, and never makes it.

#include "FileManagerTestSupport.h"

using fmtest::FileManagerTest;

namespace {

class UsbStickFolder : public FileManagerTest
{
protected:
    void SetUp() override
    {
        FileManagerTest::SetUp();
        zoplat::host::clearCommandScripts();   // the sandbox answers
        QDir(stick(QString())).removeRecursively();
    }
};

} // namespace

TEST_F(UsbStickFolder, TheStickIsItsFolderAndIsNeverMade)
{
    write(app("parameters_bk/AC/a.xml"), "a");
    ViewBaseModel vm;
    EXPECT_FALSE(vm.checkUsbDiskExist(""));
    EXPECT_FALSE(vm.checkUsbDiskExist("report"));
    vm.updateFileList();
    vm.setAllFileSelected(true);
    EXPECT_FALSE(vm.exportSelectedFiles());
    EXPECT_FALSE(exists(stick(QString())));

    // A mount check scripted to succeed still finds no stick to write on.
    zoplat::host::scriptCommand(QStringLiteral("mountpoint -q /media/usb"), {0, {}});
    EXPECT_FALSE(vm.checkUsbDiskExist(""));
    EXPECT_FALSE(exists(stick(QString())));

    // The folder is the stick.
    zoplat::host::clearCommandScripts();
    QDir().mkpath(stick(QString()));
    EXPECT_TRUE(vm.checkUsbDiskExist(""));
    EXPECT_TRUE(vm.checkUsbDiskExist("report"));
    EXPECT_TRUE(QFileInfo(stick("report")).isDir());
}
