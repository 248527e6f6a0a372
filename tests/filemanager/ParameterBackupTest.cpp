// Named parameter files of a module page: saving the parameters under a
// name, configuring them from a named file (which replaces the live file
// only when it is a parameter file), and the names that are refused.

#include "FileManagerTestSupport.h"

#include "BaseXmlFile.h"

#include <chrono>
#include <csignal>
#include <poll.h>
#include <random>
#include <set>
#include <sys/inotify.h>
#include <sys/wait.h>

using fmtest::FileManagerTest;
using vmtest::ModuleTestModel;

namespace {

class ParameterBackup : public FileManagerTest
{
protected:
    QString live(const QString& module = "AC") const { return app("parameters/" + module + "/parameter.xml"); }
    QString backup(const QString& name, const QString& module = "AC") const
    {
        return app("parameters_bk/" + module + "/" + name);
    }
};

} // namespace

TEST_F(ParameterBackup, SavesUnderAnyPlainNameAndConfiguresFromIt)
{
    ModuleTestModel vm;
    vm.testActive();
    for (const QString& name : fmtest::awkwardNames()) {
        SCOPED_TRACE(name.toStdString());
        vm.setNormalTime(2.5);
        vm.moduleName = name;
        ASSERT_TRUE(vm.backupParameter(name));
        EXPECT_TRUE(vm.checkParmFileExist(name));
        EXPECT_EQ(read(backup(name)), read(live()));   // a copy of what was just saved

        vm.setNormalTime(9.0);
        vm.moduleName = "changed";
        ASSERT_TRUE(vm.saveParameter());
        ASSERT_TRUE(vm.loadParmFromFile(name));
        EXPECT_EQ(vm.getNormalTime(), 2.5);
        EXPECT_EQ(vm.moduleName, name);
        EXPECT_EQ(read(live()), read(backup(name)));
    }
    QStringList expected = fmtest::awkwardNames();
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(vm.getParmFileList(), expected);
    EXPECT_TRUE(shellFileCommands().isEmpty()) << shellFileCommands().join('\n').toStdString();
}

TEST_F(ParameterBackup, NamesWithPathsOrLeadingDotsAreRefused)
{
    ModuleTestModel vm;
    vm.testActive();
    ASSERT_TRUE(vm.saveParameter());
    write(app("parameters/outside.xml"), read(live()));
    write(app("parameters_bk/AC/.hidden.xml"), read(live()));
    for (const char* bad : {"", "../outside.xml", "../../parameters/AC/parameter.xml", "a/b.xml", "a\\b.xml",
                            ".hidden.xml", "..", "x..y.xml"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(vm.backupParameter(bad));
        EXPECT_FALSE(vm.loadParmFromFile(bad));
        EXPECT_FALSE(vm.checkParmFileExist(bad));
        EXPECT_FALSE(vm.checkReportFileExist(bad));
    }
    // Nothing was written beside or above the backup folder.
    EXPECT_FALSE(exists(app("parameters_bk/outside.xml")));
    EXPECT_FALSE(exists(app("parameters_bk/a")));
    EXPECT_EQ(vm.getParmFileList(), QStringList());   // hidden files are not listed
}

TEST_F(ParameterBackup, OnlyAParameterFileReplacesTheLiveOne)
{
    ModuleTestModel vm;
    vm.testActive();
    vm.setNormalTime(1.5);
    ASSERT_TRUE(vm.saveParameter());
    const QByteArray before = read(live());

    const BaseXmlFile::Bounds limit = BaseXmlFile::bounds(BaseXmlFile::Kind::Backup);
    QByteArray attributes;
    for (int i = 0; i <= limit.attributes; ++i)
        attributes += " a" + QByteArray::number(i) + "=\"1\"";
    const QByteArray normalTime = "<normalTime>7</normalTime>";
    const struct
    {
        const char* name;
        QByteArray bytes;
        const char* why;   // in the notice
    } cases[] = {
        {"other root.xml", "<?xml version=\"1.0\"?><OtherRoot><normalTime>7</normalTime></OtherRoot>", ""},
        {"broken.xml", "<DataRoot><normalTime>7</normalTime>", ""},
        {"empty.xml", "", ""},
        {"report.xml", "<html><body>DataRoot</body></html>", ""},
        {"unstorable.xml", "<DataRoot><remote>&#xFFFE;</remote><normalTime>7</normalTime></DataRoot>", ""},
        {"unknown encoding.xml", "<?xml version=\"1.0\" encoding=\"x-no-such-enc\"?><DataRoot>" + normalTime + "</DataRoot>",
         "编码"},
        {"attributes.xml", "<DataRoot" + attributes + ">" + normalTime + "</DataRoot>", "超过仪器所写"},
        {"flat.xml", "<DataRoot>" + normalTime + QByteArray("<b/>").repeated(limit.elements) + "</DataRoot>",
         "超过仪器所写"},
        {"large.xml", "<DataRoot>" + normalTime + QByteArray(int(limit.bytes), ' ') + "</DataRoot>",
         "文件过大"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write(backup(c.name), c.bytes);
        EXPECT_FALSE(vm.loadParmFromFile(c.name));
        EXPECT_EQ(read(live()), before);
        EXPECT_EQ(vm.getNormalTime(), 1.5);
        EXPECT_TRUE(vm.takeParameterFileNotice().contains(vmtest::utf8(c.why)));
    }
    // No regular file, never waited on: told so.
    ASSERT_EQ(::mkfifo(QFile::encodeName(backup("fifo.xml")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(backup("fifo.xml"), backup("link.xml")));
    ASSERT_TRUE(QDir().mkpath(backup("folder.xml")));
    for (const char* name : {"fifo.xml", "link.xml", "folder.xml"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(vm.loadParmFromFile(name));
        EXPECT_EQ(read(live()), before);
        EXPECT_EQ(vm.takeParameterFileNotice(), vmtest::utf8("它不是普通文件，而是文件夹、管道、设备或套接字。"));
    }
    EXPECT_FALSE(vm.loadParmFromFile("missing.xml"));

    // A parameter file of another model version is still one.
    write(backup("good.xml"), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<DataRoot><normalTime>4.25</normalTime></DataRoot>\n");
    ASSERT_TRUE(vm.loadParmFromFile("good.xml"));
    EXPECT_EQ(vm.getNormalTime(), 4.25);
}

// A file File > Load takes at the bounds (of elements, with the page's own
// added; or compact and deep, which the save's indentation takes past the
// bytes) is saved by its page as one it reads at the next start.
TEST_F(ParameterBackup, AFileTakenAtTheBoundsIsSavedAsOneThePageReadsAtTheNextStart)
{
    const BaseXmlFile::Bounds limit = BaseXmlFile::bounds(BaseXmlFile::Kind::Backup);
    const QByteArray head = "<DataRoot><normalTime>4.5</normalTime>";
    const int chain = limit.nesting - 2;   // below the root, above the leaves
    const QByteArray files[] = {
        head + QByteArray("<x/>").repeated(limit.elements - 2) + "</DataRoot>",
        head + QByteArray("<c>").repeated(chain) + QByteArray("<xx/>").repeated(limit.elements - 2 - chain)
            + QByteArray("</c>").repeated(chain) + "</DataRoot>",
    };
    ModuleTestModel vm;
    vm.testActive();
    for (const QByteArray& file : files) {
        write(backup("b.xml"), file);
        ASSERT_TRUE(vm.loadParmFromFile("b.xml")) << vm.takeParameterFileNotice().toStdString();
        ASSERT_TRUE(vm.saveParameter());
        vm.setNormalTime(1);
        vm.bLoadParameter = false;   // as at the next start
        EXPECT_TRUE(vm.loadParameter()) << vm.takeParameterFileNotice().toStdString();
        EXPECT_EQ(vm.getNormalTime(), 4.5);
    }
}

TEST_F(ParameterBackup, RestoringOnAPageThatHasNotSavedYetMakesItsFolder)
{
    write(backup("b.xml", "Harmonic"), "<DataRoot><normalTime>3</normalTime></DataRoot>");
    ModuleTestModel vm(ViewBaseModel::TEST_HARMONIC);
    vm.testActive();
    EXPECT_TRUE(vm.loadParmFromFile("b.xml")) << vm.takeParameterFileNotice().toStdString();
    EXPECT_EQ(vm.getNormalTime(), 3.0);
    EXPECT_EQ(read(live("Harmonic")), read(backup("b.xml", "Harmonic")));

    // A page not yet shown, without an active module, has nowhere to save or load.
    center->testActive(ControllerTestor::TEST_NONE);
    ModuleTestModel unshown(ViewBaseModel::TEST_HARMONIC);
    EXPECT_FALSE(unshown.backupParameter("x.xml"));
    EXPECT_EQ(unshown.getParmFileList(), QStringList());
}

// A backup killed at a random moment once its copy began (only the copy
// touches the backup folder) leaves the old backup or the new one whole.
TEST_F(ParameterBackup, KilledCopyLeavesAWholeBackup)
{
    ModuleTestModel vm;
    vm.testActive();
    const QString names[2] = {QString(1 << 17, 'a'), QString(1 << 17, 'b')};
    std::set<QByteArray> whole;
    for (const QString& name : names) {
        vm.moduleName = name;
        ASSERT_TRUE(vm.backupParameter("b.xml"));
        whole.insert(read(backup("b.xml")));
    }
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(app("parameters_bk/AC")).constData(), IN_ALL_EVENTS), 0);
    std::mt19937 random(45);
    int copies = 0;
    int torn = 0;
    for (int round = 0; round < 60; ++round) {
        for (char events[4096]; ::read(watch, events, sizeof events) > 0;) {
        }
        const auto delay = std::chrono::microseconds(random() % 300);
        const pid_t child = fork();
        for (int i = round; child == 0; ++i) {   // the child backs up until it is killed
            vm.moduleName = names[i % 2];
            vm.backupParameter("b.xml");
        }
        ASSERT_GT(child, 0);
        pollfd touched{watch, POLLIN, 0};
        copies += poll(&touched, 1, 5000) == 1;
        for (const auto until = std::chrono::steady_clock::now() + delay; std::chrono::steady_clock::now() < until;) {
        }
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        torn += whole.count(read(backup("b.xml"))) == 0;
    }
    close(watch);
    EXPECT_GT(copies, 30);
    EXPECT_EQ(torn, 0);
}

TEST_F(ParameterBackup, ReportsAreCheckedInTheModulesReportFolder)
{
    ModuleTestModel vm(ViewBaseModel::TEST_DISTANCE);
    vm.testActive();
    write(app("report/Distance/cut.htm.AbCdEf"), "left by a save cut short");
    EXPECT_FALSE(vm.checkReportFileExist("r.htm"));
    ASSERT_TRUE(vm.saveReport(QString::fromUtf8("r 报告.htm")));
    EXPECT_TRUE(vm.checkReportFileExist(QString::fromUtf8("r 报告.htm")));
    EXPECT_TRUE(exists(app(QString::fromUtf8("report/Distance/r 报告.htm"))));
    EXPECT_FALSE(exists(app("report/Distance/cut.htm.AbCdEf")));
}
