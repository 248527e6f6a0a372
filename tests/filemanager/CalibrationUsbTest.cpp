// Calibration files to and from the stick by output group, with the
// calibration engine working on the testor thread: which files go, which
// stay, the engine's result reported, a stuck engine waited for only so long.

#include "FileManagerTestSupport.h"
#include "../calibration/CalibrationTestSupport.h"
#include "BaseXmlFile.h"

#include <QDomDocument>
#include <QRegularExpression>
#include <QSemaphore>

#include <functional>
#include <string>
#include <sys/stat.h>

using fmtest::FileManagerTest;

namespace {

const QString kFolder = QStringLiteral("/media/usb/backup/ZR-0001");

class CalibrationUsb : public FileManagerTest
{
protected:
    QString onStick(const QString& name) const { return stick("backup/ZR-0001/" + name); }

    QStringList stickFiles() const
    {
        return QDir(stick("backup/ZR-0001")).entryList(QDir::Files, QDir::Name);
    }

    // Runs everything queued to the testor so far.
    void drainTestor()
    {
        QSemaphore done;
        QMetaObject::invokeMethod(center->testTestor, [&done] { done.release(); }, Qt::QueuedConnection);
        ASSERT_TRUE(done.tryAcquire(1, vmtest::kDeadlineMs));
    }

    // A value of a calibration file: group / key.
    static QString valueIn(const QByteArray& file, const QString& group, const QString& key)
    {
        QDomDocument doc;
        doc.setContent(file);
        return doc.documentElement().firstChildElement(group).firstChildElement(key).text();
    }
};

} // namespace

TEST_F(CalibrationUsb, ExportCopiesTheKindsOfTheChosenGroups)
{
    const struct
    {
        int mask;
        QStringList files;
    } cases[] = {
        {1, {"callloamp.xml", "calllodc.xml", "calllodco.xml"}},
        {2, {"calacamp.xml", "calacdco.xml", "calacfac.xml", "calacfrq.xml", "calacpha.xml", "calauxdc.xml",
             "caldcamp.xml"}},
        {4, {"calacamp.xml", "calacdco.xml", "calacfac.xml", "calacfrq.xml", "calacpha.xml", "caldcamp.xml"}},
    };
    ViewBaseModel vm;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask);
        QDir(stick("backup")).removeRecursively();
        ASSERT_TRUE(vm.exportCal(kFolder, c.mask));
        EXPECT_EQ(stickFiles(), c.files);
        for (const QString& f : c.files)
            EXPECT_EQ(read(onStick(f)), read(app("dat/temp/" + f))) << f.toStdString();
    }
    // Current outputs only: the voltage groups are not in the file.
    const QByteArray acamp = read(onStick("calacamp.xml"));
    EXPECT_FALSE(valueIn(acamp, "IA-L0", "AMP_P0_FACTOR").isEmpty());
    EXPECT_TRUE(valueIn(acamp, "UA-L0", "AMP_P0_FACTOR").isEmpty());
    EXPECT_TRUE(shellFileCommands().isEmpty()) << shellFileCommands().join('\n').toStdString();
}

TEST_F(CalibrationUsb, ExportReplacesOnlyTheFilesOfTheKindsItWrites)
{
    write(onStick("calacamp.xml"), "older voltage calibration");
    write(onStick("callloamp.dat"), "older low-level calibration");
    write(onStick("calibration notes.txt"), "notes");
    write(onStick("local.cal"), "something else");
    // Left in the staging folder by an earlier export of another group.
    write(app("dat/temp/calacpha.xml"), "stale");

    ViewBaseModel vm;
    ASSERT_TRUE(vm.exportCal(kFolder, 1));
    EXPECT_EQ(read(onStick("calacamp.xml")), "older voltage calibration");
    EXPECT_FALSE(exists(onStick("callloamp.dat")));   // replaced by the new ".xml"
    EXPECT_TRUE(exists(onStick("callloamp.xml")));
    EXPECT_EQ(read(onStick("calibration notes.txt")), "notes");
    EXPECT_EQ(read(onStick("local.cal")), "something else");
    EXPECT_FALSE(exists(onStick("calacpha.xml")));
}

TEST_F(CalibrationUsb, ImportTakesTheChosenGroupsThroughTheEngine)
{
    const QByteArray golden = testData("calibration/calacamp.xml");
    ASSERT_FALSE(golden.isEmpty());
    write(onStick("calacamp.xml"), golden);
    write(onStick("calacamp.dat"), "[ignored]\n");   // ".xml" wins

    ViewBaseModel vm;
    ASSERT_TRUE(vm.importCal(kFolder, 4));
    EXPECT_EQ(read(app("dat/temp/calacamp.xml")), golden);
    EXPECT_FALSE(exists(app("dat/temp/calacamp.dat")));
    // The engine has stored the current groups, not the voltage ones.
    const QByteArray stored = read(app("dat/calacamp.xml"));
    EXPECT_EQ(valueIn(stored, "IA-L0", "AMP_P0_FACTOR"), valueIn(golden, "IA-L0", "AMP_P0_FACTOR"));
    EXPECT_NE(valueIn(stored, "UA-L0", "AMP_P0_FACTOR"), valueIn(golden, "UA-L0", "AMP_P0_FACTOR"));
}

TEST_F(CalibrationUsb, ImportOfAFileHoldingAVersionNoXmlFileCanCarryIsRefusedWhole)
{
    QByteArray damaged = testData("calibration/calacamp.xml");
    ASSERT_TRUE(damaged.contains("<VERSION>1.0.0000</VERSION>"));
    damaged.replace("<VERSION>1.0.0000</VERSION>", "<VERSION>1.0.0000&#xFFFE;</VERSION>");
    write(onStick("calacamp.xml"), damaged);
    write(onStick("calacdco.xml"), testData("calibration/calacdco.xml"));

    caltest::Warnings warnings;
    ViewBaseModel vm;
    EXPECT_FALSE(vm.importCal(kFolder, 7));
    EXPECT_TRUE(warnings.any("calacamp.xml"));
    // Nothing was taken, so no kind's file was written with that version.
    for (const char* name : {"calacamp.xml", "calacdco.xml", "callloamp.xml"})
        EXPECT_FALSE(exists(app(QString("dat/") + name))) << name;
}

// A set with one file the import cannot take is not imported at all, and the
// notice names that file and why; a pipe or a link in a file's place is not
// opened.
TEST_F(CalibrationUsb, ImportOfASetWithADamagedFileTakesNothingAndSaysWhy)
{
    const QByteArray amp = testData("calibration/calacamp.xml");
    const QByteArray nan = QString::fromUtf8(testData("calibration/calacdco.xml"))
                               .replace(QRegularExpression("<AMP_P0_OFFSET>[^<]*</"), "<AMP_P0_OFFSET>nan</")
                               .toUtf8();
    const auto nested = [](int depth) {
        return "<root>" + QByteArray("<a>").repeated(depth) + QByteArray("</a>").repeated(depth) + "</root>";
    };
    const QByteArray cut = testData("calibration/calacdco.xml").left(testData("calibration/calacdco.xml").size() / 2);
    const auto fifo = [](const QString& path) { ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0); };
    const auto link = [](const QString& to) {
        return [to](const QString& path) { ASSERT_TRUE(QFile::link(to, path)); };
    };
    write(stick("elsewhere/calacdco.xml"), testData("calibration/calacdco.xml"));
    const BaseXmlFile::Bounds limit = BaseXmlFile::bounds(BaseXmlFile::Kind::Calibration);
    QByteArray attributes;
    for (int i = 0; i <= limit.attributes; ++i)
        attributes += " a" + QByteArray::number(i) + "=\"1\"";
    const std::string tooLarge = "大于任何校准文件（超过 " + std::to_string(limit.bytes) + " 字节）";
    const char notRegular[] = "不是普通文件（是链接、管道、设备或文件夹）";
    const struct
    {
        const char* what;
        QByteArray bytes;
        std::function<void(const QString&)> make;   // instead of the bytes
        std::string notice;   // after "calacdco.xml"
    } rows[] = {
        {"cut in half", cut, {}, "无法读取"},
        {"a factor not a number", nan, {}, "含有无法读取的系数"},
        {"no head and no group", "<root/>", {}, "不含本类校准系数"},
        {"the head alone", "<root><AHEAD><TYPE>ACDCO</TYPE></AHEAD></root>", {}, "不含本类校准系数"},
        {"another kind's file", testData("calibration/caldcamp.xml"), {}, "不含本类校准系数"},
        {"nested 30,000 deep", nested(30000), {}, tooLarge},
        {"one byte more than the kind's", QByteArray(int(limit.bytes) + 1, ' '), {}, tooLarge},
        {"more attributes on an element than the kind's",
         "<root" + attributes + "/>",
         {},
         "的元素、属性或嵌套层数超过仪器所写的任何校准文件"},
        {"a pipe", {}, fifo, notRegular},
        {"a link to a device", {}, link("/dev/zero"), notRegular},
        {"a link out of the stick's folder", {}, link(stick("elsewhere/calacdco.xml")), notRegular},
    };
    ViewBaseModel vm;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        QDir(stick("backup")).removeRecursively();
        QDir(app("dat")).removeRecursively();
        write(onStick("calacamp.xml"), amp);
        if (row.make)
            row.make(onStick("calacdco.xml"));
        else
            write(onStick("calacdco.xml"), row.bytes);
        EXPECT_FALSE(vm.importCal(kFolder, 7));
        EXPECT_EQ(vm.takeCalExchangeNotice().toStdString(), "校准系数未导入：calacdco.xml" + row.notice);
        EXPECT_FALSE(exists(app("dat/calacamp.xml")));
    }
}

// The folder for the files on the stick cannot be made: the export says why.
TEST_F(CalibrationUsb, AnExportWhoseFolderCannotBeMadeSaysWhy)
{
    const QString longName = "/media/usb/backup/" + QString(300, 'Z');
    const struct
    {
        const char* file;   // on the stick, where a folder goes but for the last
        QString folder;
        std::string notice;
    } rows[] = {
        {"backup", kFolder, "校准系数未导出：U盘上的/media/usb/backup不是文件夹"},
        {"backup/ZR-0001", kFolder, "校准系数未导出：U盘上的/media/usb/backup/ZR-0001不是文件夹"},
        {"backup/ZR", longName, "校准系数未导出：无法在U盘上建立文件夹" + longName.toStdString() + "（名称过长）"},
    };
    ViewBaseModel vm;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.notice);
        QFile::remove(stick("backup"));   // the file of the row before
        write(stick(row.file), "a file");
        EXPECT_FALSE(vm.exportCal(row.folder, 7));
        EXPECT_EQ(vm.takeCalExchangeNotice().toStdString(), row.notice);
        EXPECT_EQ(read(stick(row.file)), "a file");
    }
}

TEST_F(CalibrationUsb, ImportOfOnlyOldFormFilesReportsThatNothingWasImported)
{
    write(onStick("calacamp.dat"), "[AMP]\nUA-L0=1\n");
    ViewBaseModel vm;
    EXPECT_FALSE(vm.importCal(kFolder, 6));
    // It was staged under its own name; the engine reads no such file.
    EXPECT_TRUE(exists(app("dat/temp/calacamp.dat")));

    // Low-level files only, imported for the voltage outputs: nothing either.
    QDir(stick("backup")).removeRecursively();
    write(onStick("callloamp.xml"), testData("calibration/callloamp.xml"));
    EXPECT_FALSE(vm.importCal(kFolder, 2));
    EXPECT_TRUE(vm.importCal(kFolder, 1));
}

TEST_F(CalibrationUsb, RefusedBeforeAnythingIsTouched)
{
    write(onStick("callloamp.xml"), "old");
    write(app("dat/temp/calacamp.xml"), "staged");
    ViewBaseModel vm;
    EXPECT_FALSE(vm.exportCal(kFolder, 0));
    EXPECT_FALSE(vm.exportCal(kFolder, 8));   // no group bit
    EXPECT_FALSE(vm.importCal(kFolder, 0));
    EXPECT_FALSE(vm.importCal("/media/usb/backup/missing", 7));
    for (const char* bad : {"/media/usb/backup/../../../etc", "/tmp/backup", "media/usb/backup", "/media/usb"}) {
        EXPECT_FALSE(vm.exportCal(bad, 7)) << bad;
        EXPECT_FALSE(vm.importCal(bad, 7)) << bad;
    }
    mountStick(false);
    EXPECT_FALSE(vm.exportCal(kFolder, 7));
    EXPECT_FALSE(vm.importCal(kFolder, 7));
    EXPECT_EQ(read(onStick("callloamp.xml")), "old");
    EXPECT_EQ(read(app("dat/temp/calacamp.xml")), "staged");
}

TEST_F(CalibrationUsb, AFailedCopyFailsTheExport)
{
    QDir().mkpath(onStick("calllodc.xml"));   // a folder where the file goes
    ViewBaseModel vm;
    EXPECT_FALSE(vm.exportCal(kFolder, 1));
    EXPECT_TRUE(exists(onStick("callloamp.xml")));   // the others were copied
}

TEST_F(CalibrationUsb, AStuckEngineFailsTheExportWithoutTouchingTheStick)
{
    write(onStick("callloamp.xml"), "old");
    ViewBaseModel vm;
    QSemaphore release;
    QMetaObject::invokeMethod(center->testTestor, [&release] { release.acquire(); }, Qt::QueuedConnection);
    EXPECT_FALSE(vm.exportCal(kFolder, 1));
    release.release();
    drainTestor();
    EXPECT_EQ(read(onStick("callloamp.xml")), "old");
    // The engine is free again.
    EXPECT_TRUE(vm.exportCal(kFolder, 1));
    EXPECT_NE(read(onStick("callloamp.xml")), "old");
}
