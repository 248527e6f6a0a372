// HTML test reports: the document built, its encoding, the names that are
// refused, atomic replacement and the export to the USB stick. Every report
// written here passes expectValidReport (well formed, nothing self-closed
// that HTML would leave open) and, under ctest, an HTML5 parser.

#include "ViewModelTestSupport.h"

#include <QTranslator>

#include <QTextCodec>

#include <atomic>
#include <thread>

using vmtest::ModuleTestModel;
using vmtest::utf8;

namespace {

class Report : public vmtest::ViewModelTest
{
protected:
    void SetUp() override
    {
        ViewModelTest::SetUp();
        savedName = config->softwareName;
        savedModel = config->deviceModel;
        savedCode = config->deviceCode;
        config->softwareName = "ZOR Relay Test Set";
        config->deviceModel = "ZOR300";
        config->deviceCode = "2030610800";
    }

    void TearDown() override
    {
        config->softwareName = savedName;
        config->deviceModel = savedModel;
        config->deviceCode = savedCode;
        ViewModelTest::TearDown();
    }

    QString reportDir(const QString& folder = "AC") const { return appRoot() + "/report/" + folder; }

    QString savedName, savedModel, savedCode;
};

} // namespace

TEST_F(Report, HoldsTheHeadTheModulesTablesAndTheBottom)
{
    ModuleTestModel vm;
    vm.testActive();
    ASSERT_TRUE(vm.saveReport("r1.htm"));
    const QString path = reportDir() + "/r1.htm";
    vmtest::expectValidReport(path);
    vmtest::updateGoldenIfAsked("viewmodel/report.htm", sandbox.read(path));
    const QStringList tokens = vmtest::canonicalReport(sandbox.read(path));
    const QStringList golden = vmtest::canonicalReport(testData("viewmodel/report.htm"));
    ASSERT_FALSE(golden.isEmpty());
    EXPECT_EQ(tokens, golden);
    if (tokens != golden) {
        for (int i = 0; i < std::min(tokens.size(), golden.size()); ++i) {
            if (tokens[i] != golden[i]) {
                ADD_FAILURE() << "first difference at token " << i << ": " << tokens[i].toStdString() << " vs "
                              << golden[i].toStdString();
                break;
            }
        }
    }
    const QString text = QString::fromUtf8(sandbox.read(path));
    EXPECT_TRUE(text.contains("Test item:AC Test"));
    EXPECT_TRUE(text.contains("<title>Welcome to use ZOR Relay Test Set</title>"));
    EXPECT_TRUE(text.contains("IA &lt;&amp;> \"x\""));   // cell text is text, never markup
}

TEST_F(Report, IsUtf8ThroughAndThrough)
{
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    config->softwareName = utf8("继电保护测试仪");
    config->deviceModel = utf8("型号甲");
    ModuleTestModel vm(ViewBaseModel::TEST_HARMONIC);
    vm.testActive();
    const QString name = utf8("报告一.htm");
    ASSERT_TRUE(vm.saveReport(name));
    const QString path = reportDir("Harmonic") + "/" + name;
    ASSERT_TRUE(QFile::exists(path));
    vmtest::expectValidReport(path);
    const QString text = QString::fromUtf8(sandbox.read(path));
    for (const char* part : {"继电保护测试仪", "Type:型号甲", "通道", "动作时间", "0.0°", "Test item:Harmonic Test"})
        EXPECT_TRUE(text.contains(utf8(part))) << part;
    EXPECT_TRUE(text.contains("charset=utf-8"));
}

TEST_F(Report, WithoutANameTheModuleAndTheTimeNameIt)
{
    ModuleTestModel vm(ViewBaseModel::TEST_DISTANCE);
    vm.testActive();
    ASSERT_TRUE(vm.saveReport(""));
    const QStringList files = QDir(reportDir("Distance")).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(QRegularExpression("^Distance_\\d{14}\\.htm$").match(files.first()).hasMatch()) << files.first().toStdString();
    vmtest::expectValidReport(reportDir("Distance") + "/" + files.first());
    // A name without an extension is used as given.
    ASSERT_TRUE(vm.saveReport("plain"));
    EXPECT_TRUE(QFile::exists(reportDir("Distance") + "/plain"));
}

TEST_F(Report, NamesThatLeaveTheFolderAreRefused)
{
    ModuleTestModel vm;
    vm.testActive();
    for (const char* bad : {"../escape.htm", "../../etc/x.htm", "a/b.htm", "a\\b.htm", ".hidden.htm", "..", ".",
                            "x..y.htm", "/tmp/abs.htm"}) {
        EXPECT_FALSE(vm.saveReport(bad)) << bad;
    }
    EXPECT_FALSE(QFile::exists(appRoot() + "/report/escape.htm"));
    EXPECT_TRUE(QDir(reportDir()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    // No module, no report.
    ModuleTestModel none(ViewBaseModel::TEST_NONE);
    none.testActive();
    EXPECT_FALSE(none.saveReport("x.htm"));
}

// A link in the report's place is replaced by the report, its target (an
// instrument's file) left as it was.
TEST_F(Report, ALinkInTheReportsPlaceIsReplacedNotWrittenThrough)
{
    ModuleTestModel vm;
    vm.testActive();
    sandbox.write(appRoot() + "/dat/devinfo.xml", "device");
    QDir().mkpath(reportDir());
    ASSERT_TRUE(QFile::link(appRoot() + "/dat/devinfo.xml", reportDir() + "/x.htm"));
    ASSERT_TRUE(vm.saveReport("x.htm"));
    EXPECT_FALSE(QFileInfo(reportDir() + "/x.htm").isSymLink());
    vmtest::expectValidReport(reportDir() + "/x.htm");
    EXPECT_EQ(sandbox.read(appRoot() + "/dat/devinfo.xml"), "device");
}

// A module folder that is a link out of the application's folder takes no
// report: nothing is written or replaced there.
TEST_F(Report, AModuleFolderLinkedOutOfTheApplicationsFolderTakesNoReport)
{
    ModuleTestModel vm;
    vm.testActive();
    sandbox.write("outside/x.htm", "outside");
    QDir().mkpath(appRoot() + "/report");
    ASSERT_TRUE(QFile::link(sandbox.filePath("outside"), reportDir()));
    EXPECT_FALSE(vm.saveReport("x.htm"));
    EXPECT_FALSE(vm.saveReport(""));
    EXPECT_EQ(QDir(sandbox.filePath("outside")).entryList(QDir::Files | QDir::Hidden), QStringList{"x.htm"});
    EXPECT_EQ(sandbox.read("outside/x.htm"), "outside");

    // The notice says why, in the panel's language.
    const struct
    {
        const char* language;
        const char* notice;
    } notices[] = {
        {"zh_cn", "保存报告失败：报告文件夹 report/AC 通向应用程序文件夹之外。"},
        {"us_en", "Save Report failed: the report folder report/AC leads out of the application's folder."},
        {"pt_pt",
         "Falha ao guardar o relatório: a pasta de relatórios report/AC leva para fora da pasta da aplicação."},
    };
    for (const auto& n : notices) {
        QTranslator translator;
        if (!translator.load(QStringLiteral(":/") + n.language + ".qm") && QLatin1String(n.language) != "zh_cn")
            continue;   // a build without compiled translations
        QCoreApplication::installTranslator(&translator);
        EXPECT_FALSE(vm.saveReport("x.htm"));
        QCoreApplication::removeTranslator(&translator);
        EXPECT_EQ(vm.reportFailure(), QString::fromUtf8(n.notice)) << n.language;
    }
    QFile::remove(reportDir());
    EXPECT_TRUE(vm.saveReport("x.htm"));
    EXPECT_EQ(vm.reportFailure(), "");
}

TEST_F(Report, TableBuildersKeepEveryElementOpen)
{
    ModuleTestModel vm;
    QDomDocument doc;
    QDomElement body = doc.createElement("body");
    doc.appendChild(body);
    QStringList rows[2] = {{"a", "b", "c"}, {"d"}};
    vm.appendTable(&doc, &body, "1", QStringList{"10%", "20%", "30%", "40%"}, "left", "2", "Arial", rows, 2);
    vm.appendTable(&doc, &body, "0", "50%", "left", "2", "Arial", nullptr, 0);
    QStringList empty[1] = {{""}};
    vm.appendTable(&doc, &body, "0", "50%", "left", "2", "Arial", empty, 1);

    const QDomNodeList tables = body.elementsByTagName("table");
    ASSERT_EQ(tables.size(), 3);
    const QDomNodeList cells = tables.at(0).toElement().elementsByTagName("td");
    ASSERT_EQ(cells.size(), 4);
    EXPECT_EQ(cells.at(2).toElement().attribute("width"), "30%");
    EXPECT_EQ(cells.at(3).toElement().attribute("width"), "10%");
    EXPECT_EQ(tables.at(1).toElement().elementsByTagName("tr").size(), 0);
    EXPECT_EQ(body.lastChild().toElement().elementsByTagName("font").size(), 1);

    const QString html = "<!DOCTYPE html>\n" + doc.toString(4);
    EXPECT_TRUE(vmtest::reportProblems(html.toUtf8()).isEmpty()) << html.toStdString();
    EXPECT_TRUE(html.contains(QRegularExpression("<table[^>]*>\\s*</table>")));
}

TEST_F(Report, AReplacedReportIsNeverSeenHalfWritten)
{
    ModuleTestModel vm;
    vm.testActive();
    ASSERT_TRUE(vm.saveReport("same.htm"));
    const QString path = reportDir() + "/same.htm";
    std::atomic<bool> stop{false};
    std::atomic<int> reads{0};
    std::atomic<int> broken{0};
    std::thread reader([&] {
        while (!stop.load()) {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly)) {
                ++broken;   // the old file is never removed first
                continue;
            }
            if (!f.readAll().trimmed().endsWith("</html>"))
                ++broken;
            ++reads;
        }
    });
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(vm.saveReport("same.htm"));
    ASSERT_TRUE(vmtest::waitUntil([&] { return reads.load() > 50; }));
    stop = true;
    reader.join();
    EXPECT_EQ(broken.load(), 0);
    EXPECT_EQ(QDir(reportDir()).entryList(QDir::Files | QDir::Hidden), QStringList{"same.htm"});
    vmtest::expectValidReport(path);
}

TEST_F(Report, ExportCopiesWithoutAShellAndReportsFailedCopies)
{
    ModuleTestModel vm;
    EXPECT_FALSE(vm.exportReport());   // nothing to export
    EXPECT_FALSE(QDir(deviceRoot() + "/media/usb/report").exists());

    sandbox.write("app/report/AC/a 1.htm", "<html>a</html>");
    sandbox.write("app/report/AC/b;reboot.htm", "<html>b</html>");
    sandbox.write("app/report/AC/notes.txt", "not a report");
    sandbox.write("app/report/DC/old.RTF", "rtf");
    sandbox.write("app/report/StdSource/s.htm", "not exported");
    // No stick: nothing exported, nothing made where the stick would be.
    EXPECT_FALSE(vm.exportReport());
    EXPECT_FALSE(QDir(deviceRoot() + "/media/usb").exists());
    ASSERT_TRUE(QDir().mkpath(deviceRoot() + "/media/usb"));
    zoplat::host::clearRecordedCommands();
    ASSERT_TRUE(vm.exportReport());
    const QString usb = deviceRoot() + "/media/usb/report";
    EXPECT_EQ(sandbox.read(usb + "/AC/a 1.htm"), "<html>a</html>");
    EXPECT_EQ(sandbox.read(usb + "/AC/b;reboot.htm"), "<html>b</html>");
    EXPECT_EQ(sandbox.read(usb + "/DC/old.RTF"), "rtf");
    EXPECT_FALSE(QFile::exists(usb + "/AC/notes.txt"));
    EXPECT_FALSE(QDir(usb + "/StdSource").exists());
    EXPECT_TRUE(zoplat::host::recordedCommands().filter("cp").isEmpty());

    // A copy that fails makes the export fail; the others are still copied.
    ASSERT_TRUE(QFile::remove(usb + "/AC/a 1.htm"));
    ASSERT_TRUE(QDir().mkpath(usb + "/AC/a 1.htm/a 1.htm"));   // a folder where the copy must go
    sandbox.write("app/report/AC/c.htm", "<html>c</html>");
    EXPECT_FALSE(vm.exportReport());
    EXPECT_EQ(sandbox.read(usb + "/AC/c.htm"), "<html>c</html>");
}
