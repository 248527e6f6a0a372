// The file manager: listing a module's parameter backups and reports on the
// device and on the stick, selection, export, import and deletion with names
// a shell would misread, the stick's mount check, and failures reported.

#include "FileManagerTestSupport.h"

#include <QFile>

using fmtest::FileManagerTest;

namespace {

QStringList listed(const ViewBaseModel& vm)
{
    QStringList names;
    for (int i = 0; i < vm.getFileCount(); ++i)
        names << vm.getFileName(i);
    return names;
}

} // namespace

TEST_F(FileManagerTest, ListsEachModulesBackupsAndReportsByFilterAndName)
{
    write(app("parameters_bk/Distance/b.xml"), "b");
    write(app("parameters_bk/Distance/a b.XML"), "a");
    write(app("parameters_bk/Distance/c.Xml"), "c");
    write(app("parameters_bk/Distance/notes.txt"), "n");
    QDir().mkpath(app("parameters_bk/Distance/folder.xml"));
    write(app("parameters/Distance/parameter.xml"), "live");   // the live file is no backup
    write(app("report/Distance/r1.htm"), "r");
    write(app("report/Distance/r2.rtf"), "r");
    write(app("report/Distance/r3.HTM"), "r");
    write(app("report/Distance/r4.html"), "r");
    write(app("report/AC/ac.htm"), "r");
    write(stick("parameters/Distance/usb.xml"), "u");

    ViewBaseModel vm;
    vm.setFileModuleType(ViewBaseModel::FILE_MODULE_TYPE_DISTANCE);
    vm.updateFileList();
    EXPECT_EQ(listed(vm), (QStringList{"a b.XML", "b.xml", "c.Xml"}));

    vm.setFileType(ViewBaseModel::FILE_TYPE_REPORT);
    vm.updateFileList();
    // The filters match in any case.
    EXPECT_EQ(listed(vm), (QStringList{"r1.htm", "r2.rtf", "r3.HTM"}));

    vm.setFileModuleType(ViewBaseModel::FILE_MODULE_TYPE_ALTERNATE);
    vm.updateFileList();
    EXPECT_EQ(listed(vm), QStringList{"ac.htm"});

    // The stick offers parameter files only.
    vm.setFileModuleType(ViewBaseModel::FILE_MODULE_TYPE_DISTANCE);
    vm.setFilePos(ViewBaseModel::FILE_POS_USB);
    EXPECT_EQ(vm.getFileType(), ViewBaseModel::FILE_TYPE_PARAMETER);
    vm.setFileType(ViewBaseModel::FILE_TYPE_REPORT);
    EXPECT_EQ(vm.getFileType(), ViewBaseModel::FILE_TYPE_PARAMETER);
    vm.updateFileList();
    EXPECT_EQ(listed(vm), QStringList{"usb.xml"});

    // A module without a folder lists nothing; out-of-range values are ignored.
    vm.setFileModuleType(ViewBaseModel::FILE_MODULE_TYPE_ENERGY);
    vm.updateFileList();
    EXPECT_EQ(vm.getFileCount(), 0);
    vm.setFileModuleType(ViewBaseModel::FileModuleType(11));
    EXPECT_EQ(vm.getFileModuleType(), ViewBaseModel::FILE_MODULE_TYPE_ENERGY);
    EXPECT_EQ(vm.getFileModuleDirName(ViewBaseModel::FileModuleType(11)), "AC");
    vm.setFilePos(ViewBaseModel::FilePos(2));
    EXPECT_EQ(vm.getFilePos(), ViewBaseModel::FILE_POS_USB);
}

TEST_F(FileManagerTest, FoldersOfEveryPositionTypeAndModule)
{
    ViewBaseModel vm;
    EXPECT_EQ(vm.getFileTypeDirName(ViewBaseModel::FILE_POS_DEVICE, ViewBaseModel::FILE_TYPE_PARAMETER),
              appRoot() + "/parameters_bk/");
    EXPECT_EQ(vm.getFileTypeDirName(ViewBaseModel::FILE_POS_DEVICE, ViewBaseModel::FILE_TYPE_REPORT),
              appRoot() + "/report/");
    EXPECT_EQ(vm.getFileTypeDirName(ViewBaseModel::FILE_POS_USB, ViewBaseModel::FILE_TYPE_PARAMETER),
              "/media/usb/parameters/");
    EXPECT_EQ(vm.getFileTypeDirName(ViewBaseModel::FILE_POS_USB, ViewBaseModel::FILE_TYPE_REPORT), "/media/usb/report/");
    // The module folders are those of the module pages.
    const QStringList folders{"AC", "Overcurrent", "Sequence", "Ramping", "Harmonic", "Distance",
                              "SlipFrequency", "SlipVoltage", "DC", "Oscillate", "Energy"};
    for (int m = 0; m < folders.size(); ++m)
        EXPECT_EQ(vm.getFileModuleDirName(ViewBaseModel::FileModuleType(m)), folders.at(m)) << m;
}

TEST_F(FileManagerTest, SelectionStates)
{
    ViewBaseModel vm;
    vm.updateFileList();
    EXPECT_EQ(vm.getAllFileSelected(), 0);   // empty list
    EXPECT_EQ(vm.getFileName(0), "");
    EXPECT_FALSE(vm.getFileSelected(-1));

    for (const char* n : {"1.xml", "2.xml", "3.xml"})
        write(app(QStringLiteral("parameters_bk/AC/") + n), "x");
    vm.updateFileList();
    EXPECT_EQ(vm.getAllFileSelected(), 0);
    vm.setFileSelected(1, true);
    vm.setFileSelected(7, true);   // ignored
    EXPECT_EQ(vm.getAllFileSelected(), 2);
    vm.setAllFileSelected(true);
    EXPECT_EQ(vm.getAllFileSelected(), 1);
    vm.setAllFileSelected(false);
    EXPECT_EQ(vm.getAllFileSelected(), 0);
    vm.setFileSelected(2, true);
    vm.updateFileList();   // a new list starts unselected
    EXPECT_EQ(vm.getAllFileSelected(), 0);
}

TEST_F(FileManagerTest, ExportsImportsAndDeletesNamesLiterallyWithoutAShell)
{
    const QStringList names = fmtest::awkwardNames();
    for (const QString& n : names)
        write(app("parameters_bk/Overcurrent/" + n), "content of " + n.toUtf8());
    write(app("parameters_bk/Overcurrent/left alone.xml"), "stays");

    ViewBaseModel vm;
    vm.setFileModuleType(ViewBaseModel::FILE_MODULE_TYPE_OVERCURRENT);
    vm.updateFileList();
    ASSERT_EQ(vm.getFileCount(), names.size() + 1);
    for (int i = 0; i < vm.getFileCount(); ++i)
        vm.setFileSelected(i, vm.getFileName(i) != "left alone.xml");
    zoplat::host::clearRecordedCommands();
    ASSERT_TRUE(vm.exportSelectedFiles());
    for (const QString& n : names)
        EXPECT_EQ(read(stick("parameters/Overcurrent/" + n)), "content of " + n.toUtf8()) << n.toStdString();
    EXPECT_FALSE(exists(stick("parameters/Overcurrent/left alone.xml")));
    EXPECT_TRUE(shellFileCommands().isEmpty()) << shellFileCommands().join('\n').toStdString();

    // Deleted on the device, then brought back from the stick.
    ASSERT_TRUE(vm.deleteSelectedFiles());
    for (const QString& n : names)
        EXPECT_FALSE(exists(app("parameters_bk/Overcurrent/" + n))) << n.toStdString();
    EXPECT_TRUE(exists(app("parameters_bk/Overcurrent/left alone.xml")));

    vm.setFilePos(ViewBaseModel::FILE_POS_USB);
    vm.updateFileList();
    EXPECT_EQ(vm.getFileCount(), names.size());
    vm.setAllFileSelected(true);
    EXPECT_FALSE(vm.exportSelectedFiles());   // only from the device
    ASSERT_TRUE(vm.importSelectedFiles());
    for (const QString& n : names)
        EXPECT_EQ(read(app("parameters_bk/Overcurrent/" + n)), "content of " + n.toUtf8()) << n.toStdString();

    ASSERT_TRUE(vm.deleteSelectedFiles());
    vm.updateFileList();
    EXPECT_EQ(vm.getFileCount(), 0);
    EXPECT_TRUE(shellFileCommands().isEmpty()) << shellFileCommands().join('\n').toStdString();
}

TEST_F(FileManagerTest, ReportsGoToTheStick)
{
    write(app("report/Harmonic/Harmonic_1.htm"), "<html/>");
    ViewBaseModel vm;
    vm.setFileModuleType(ViewBaseModel::FILE_MODULE_TYPE_HARMONIC);
    vm.setFileType(ViewBaseModel::FILE_TYPE_REPORT);
    vm.updateFileList();
    vm.setAllFileSelected(true);
    ASSERT_TRUE(vm.exportSelectedFiles());
    EXPECT_EQ(read(stick("report/Harmonic/Harmonic_1.htm")), "<html/>");
}

TEST_F(FileManagerTest, ExportOfNothingCreatesTheTargetFolderAndSucceeds)
{
    ViewBaseModel vm;
    vm.setFileModuleType(ViewBaseModel::FILE_MODULE_TYPE_RAMPING);
    vm.updateFileList();
    EXPECT_TRUE(vm.exportSelectedFiles());
    EXPECT_TRUE(QFileInfo(stick("parameters/Ramping")).isDir());
}

TEST_F(FileManagerTest, AFolderWithoutAMountedStickIsNoStick)
{
    write(stick("parameters/AC/old.xml"), "old");
    write(app("parameters_bk/AC/new.xml"), "new");
    mountStick(false);

    ViewBaseModel vm;
    EXPECT_FALSE(vm.checkUsbDiskExist("report"));
    EXPECT_FALSE(exists(stick("report")));
    vm.updateFileList();
    vm.setAllFileSelected(true);
    EXPECT_FALSE(vm.exportSelectedFiles());
    EXPECT_FALSE(exists(stick("parameters/AC/new.xml")));

    vm.setFilePos(ViewBaseModel::FILE_POS_USB);
    vm.updateFileList();
    EXPECT_EQ(vm.getFileCount(), 0);
    EXPECT_FALSE(vm.importSelectedFiles());

    mountStick(true);
    EXPECT_TRUE(vm.checkUsbDiskExist("report"));
    EXPECT_TRUE(QFileInfo(stick("report")).isDir());
    EXPECT_TRUE(vm.checkUsbDiskExist(""));
    for (const char* bad : {"../etc", "a/b", ".hidden", ".."})
        EXPECT_FALSE(vm.checkUsbDiskExist(bad)) << bad;

    // Mounted or not, the stick's own folder is the stick's: never made here.
    QDir(stick(QString())).removeRecursively();
    EXPECT_FALSE(vm.checkUsbDiskExist(""));
    EXPECT_FALSE(vm.checkUsbDiskExist("report"));
    EXPECT_FALSE(exists(stick(QString())));
}

TEST_F(FileManagerTest, OneFailedCopyFailsTheExportAndTheOthersStillGo)
{
    write(app("parameters_bk/DC/a.xml"), "a");
    write(app("parameters_bk/DC/b.xml"), "b");
    write(app("parameters_bk/DC/c.xml"), "c");
    // Where b would go, a folder.
    QDir().mkpath(stick("parameters/DC/b.xml"));

    ViewBaseModel vm;
    vm.setFileModuleType(ViewBaseModel::FILE_MODULE_TYPE_DIRECT);
    vm.updateFileList();
    vm.setAllFileSelected(true);
    EXPECT_FALSE(vm.exportSelectedFiles());
    EXPECT_EQ(read(stick("parameters/DC/a.xml")), "a");
    EXPECT_EQ(read(stick("parameters/DC/c.xml")), "c");

    // A file gone since the list was made is skipped, not a failure.
    QDir().rmdir(stick("parameters/DC/b.xml"));
    QFile::remove(app("parameters_bk/DC/a.xml"));
    EXPECT_TRUE(vm.exportSelectedFiles());
    EXPECT_TRUE(vm.deleteSelectedFiles());

    // A target folder that cannot be made fails at once.
    write(stick("parameters/Energy"), "a file where the folder goes");
    vm.setFileModuleType(ViewBaseModel::FILE_MODULE_TYPE_ENERGY);
    vm.updateFileList();
    EXPECT_FALSE(vm.exportSelectedFiles());
}

TEST_F(FileManagerTest, CopiesNeverGoThroughALinkOnTheStick)
{
    write(app("dat/devinfo.xml"), "device information");
    write(app("dat/softinfo.xml"), "software information");
    write(app("parameters_bk/AC/AC_same.xml"), "AC backup");
    write(app("parameters_bk/Harmonic/devinfo.xml"), "harmonic backup");
    QDir().mkpath(stick("parameters/AC"));
    ASSERT_TRUE(QFile::link("../../../../../app/dat/devinfo.xml", stick("parameters/AC/AC_same.xml")));
    ASSERT_TRUE(QFile::link("../../../../../app/dat/softinfo.xml", stick("parameters/AC/softinfo.xml")));
    ASSERT_TRUE(QFile::link("../../../../app/dat", stick("parameters/Harmonic")));

    ViewBaseModel vm;
    vm.updateFileList();
    vm.setAllFileSelected(true);
    // The link on the stick is replaced, not written through.
    EXPECT_TRUE(vm.exportSelectedFiles());
    EXPECT_EQ(read(app("dat/devinfo.xml")), "device information");
    EXPECT_FALSE(QFileInfo(stick("parameters/AC/AC_same.xml")).isSymLink());
    EXPECT_EQ(read(stick("parameters/AC/AC_same.xml")), "AC backup");

    // Nor is a folder on the way followed.
    vm.setFileModuleType(ViewBaseModel::FILE_MODULE_TYPE_HARMONIC);
    vm.updateFileList();
    vm.setAllFileSelected(true);
    EXPECT_FALSE(vm.exportSelectedFiles());
    EXPECT_EQ(read(app("dat/devinfo.xml")), "device information");

    // Nor followed to delete on the stick.
    vm.setFilePos(ViewBaseModel::FILE_POS_USB);
    vm.updateFileList();
    vm.setAllFileSelected(true);
    EXPECT_FALSE(vm.deleteSelectedFiles());
    EXPECT_EQ(read(app("dat/devinfo.xml")), "device information");

    // A link is never read.
    vm.setFileModuleType(ViewBaseModel::FILE_MODULE_TYPE_ALTERNATE);
    vm.updateFileList();
    vm.setAllFileSelected(true);
    EXPECT_FALSE(vm.importSelectedFiles());
    EXPECT_FALSE(exists(app("parameters_bk/AC/softinfo.xml")));
}

TEST_F(FileManagerTest, ACopySaysByNameWhatItTookAndWhatNot)
{
    write(stick("parameters/AC/a.xml"), "a");
    write(stick("parameters/AC/b.xml"), "b");
    write(app("parameters_bk/AC/b.xml"), "old b");
    write(app("dat/softinfo.xml"), "software information");
    ASSERT_TRUE(QFile::link(app("dat/softinfo.xml"), stick("parameters/AC/x.xml")));
    write(app("parameters_bk/Distance/d.xml"), "d");
    ASSERT_TRUE(QFile::link(app("dat"), stick("parameters/Distance")));

    ViewBaseModel vm;
    vm.setFilePos(ViewBaseModel::FILE_POS_USB);
    vm.updateFileList();
    vm.setAllFileSelected(true);
    EXPECT_FALSE(vm.importSelectedFiles());
    EXPECT_EQ(read(app("parameters_bk/AC/b.xml")), "b");
    EXPECT_EQ(vm.takeFileCopyNotice(),
              QString::fromUtf8("已导入 2/3 个文件。\n已导入：a.xml、b.xml\n未导入：x.xml（链接）"));
    EXPECT_EQ(vm.takeFileCopyNotice(), "");

    // A target folder that is a link refuses the whole selection.
    vm.setFilePos(ViewBaseModel::FILE_POS_DEVICE);
    vm.setFileModuleType(ViewBaseModel::FILE_MODULE_TYPE_DISTANCE);
    vm.updateFileList();
    vm.setAllFileSelected(true);
    EXPECT_FALSE(vm.exportSelectedFiles());
    EXPECT_EQ(vm.takeFileCopyNotice(),
              QString::fromUtf8("已导出 0/1 个文件。\n未导出：/media/usb/parameters/Distance（链接）"));
}
