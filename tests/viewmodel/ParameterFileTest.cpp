// Module parameter files: where they go (SD card or application root), the
// file format, the merge with elements other code owns, atomic replacement
// and the once-per-instance load.

#include "ViewModelTestSupport.h"

#include "BaseXmlFile.h"

#include <QDateTime>
#include <QDomDocument>
#include <QFile>
#include <QXmlStreamReader>

#include <atomic>
#include <thread>

using vmtest::ModuleTestModel;

namespace {

// " a0=\"1\" a1=\"1\" ...": count attributes.
QByteArray attributes(int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += " a" + QByteArray::number(i) + "=\"1\"";
    return text;
}

class ParameterFile : public vmtest::ViewModelTest
{
protected:
    QString parameterFile(const QString& root, const QString& folder = "AC") const
    {
        return root + "/parameters/" + folder + "/parameter.xml";
    }

    void makeSdNodes(bool both)
    {
        sandbox.write("root/dev/mmcblk0p1", "");
        if (both)
            sandbox.write("root/dev/mmcblk1p1", "");
    }

    static void fill(ModuleTestModel& vm)
    {
        vm.setOutputOnceOnly(false);
        vm.setNormalEnable(true);
        vm.setNormalTime(1.25);
        vm.setIntervalEnable(false);
        vm.setIntervalTime(0.75);
        for (int p = 0; p < 8; ++p) {
            const auto port = ViewBaseModel::AOPortType(p);
            vm.setNormalOutput(ViewBaseModel::AO_ITEM_TYPE_RANGE, port, p < 4 ? 10.0 * p + 0.5 : p - 3.5);
            vm.setNormalOutput(ViewBaseModel::AO_ITEM_TYPE_ANGLE, port, 15.0 * p);
            vm.setNormalOutput(ViewBaseModel::AO_ITEM_TYPE_FREQUENCY, port, 50.0);
            vm.setIntervalOutput(ViewBaseModel::AO_ITEM_TYPE_RANGE, port, p * 0.25);
            vm.setIntervalOutput(ViewBaseModel::AO_ITEM_TYPE_ANGLE, port, 360.0 - p);
            vm.setIntervalOutput(ViewBaseModel::AO_ITEM_TYPE_FREQUENCY, port, 60.0);
        }
        vm.moduleName = vmtest::utf8("交流 test");
        vm.stateCount = 7;
    }
};

} // namespace

TEST_F(ParameterFile, SavesTheBaseKeysThenTheModulesAndReadsThemBack)
{
    ModuleTestModel vm;
    vm.testActive();
    fill(vm);
    ASSERT_TRUE(vm.saveParameter());
    const QByteArray written = sandbox.read(parameterFile(appRoot()));
    vmtest::updateGoldenIfAsked("viewmodel/parameter.xml", written);
    EXPECT_EQ(QString::fromUtf8(written), QString::fromUtf8(testData("viewmodel/parameter.xml")));

    ModuleTestModel back;
    back.testActive();
    ASSERT_TRUE(back.loadParameter());
    for (int p = 0; p < 8; ++p) {
        const auto port = ViewBaseModel::AOPortType(p);
        for (int item = 0; item < 3; ++item) {
            const auto it = ViewBaseModel::AOItemType(item);
            EXPECT_EQ(back.getNormalOutput(it, port), vm.getNormalOutput(it, port)) << p << item;
            EXPECT_EQ(back.getIntervalOutput(it, port), vm.getIntervalOutput(it, port)) << p << item;
        }
    }
    EXPECT_FALSE(back.getOutputOnceOnly());
    EXPECT_FALSE(back.getIntervalEnable());
    EXPECT_EQ(back.getNormalTime(), 1.25);
    EXPECT_EQ(back.getIntervalTime(), 0.75);
    EXPECT_EQ(back.moduleName, vm.moduleName);
    EXPECT_EQ(back.stateCount, 7);

    // Read once per instance, until the flag is cleared.
    back.setNormalTime(9.0);
    EXPECT_FALSE(back.loadParameter());
    EXPECT_EQ(back.getNormalTime(), 9.0);
    back.bLoadParameter = false;
    EXPECT_TRUE(back.loadParameter());
    EXPECT_EQ(back.getNormalTime(), 1.25);
}

TEST_F(ParameterFile, DataRootIsTheSdCardOnlyWhileItIsMounted)
{
    ModuleTestModel vm;
    vm.testActive();
    const QString sd = deviceRoot() + "/mnt/sdp1";
    struct Row
    {
        const char* name;
        bool nodes;
        bool bothNodes;
        int mountStatus;   // of "mountpoint -q /mnt/sdp1"
        bool onCard;
    };
    const Row rows[] = {
        {"no card", false, false, 0, false},
        {"one partition", true, false, 0, false},
        {"card mounted", true, true, 0, true},
        {"card not mounted", true, true, 1, false},
    };
    for (const Row& row : rows) {
        QDir(deviceRoot() + "/dev").removeRecursively();
        QDir(sd).removeRecursively();
        QFile::remove(parameterFile(appRoot()));
        zoplat::host::clearCommandScripts();
        if (row.nodes)
            makeSdNodes(row.bothNodes);
        zoplat::host::scriptCommand("mountpoint -q /mnt/sdp1", {row.mountStatus, {}});

        EXPECT_EQ(vm.getRootPath(), row.onCard ? sd : appRoot()) << row.name;
        ASSERT_TRUE(vm.saveParameter()) << row.name;
        EXPECT_EQ(QFile::exists(parameterFile(sd)), row.onCard) << row.name;
        EXPECT_EQ(QFile::exists(parameterFile(appRoot())), !row.onCard) << row.name;
    }
    // A card present but not mounted leaves nothing under the mount point.
    EXPECT_FALSE(QDir(sd).exists());
}

TEST_F(ParameterFile, SavingMergesIntoTheFileAndKeepsForeignElements)
{
    const QString path = parameterFile(appRoot(), "DC");
    sandbox.write(path, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                        "<DataRoot>\n"
                        "    <remoteSetting>kept</remoteSetting>\n"
                        "    <normalTime>9</normalTime>\n"
                        "    <normalOutput><ports><port5><range>3</range><custom>x</custom></port5></ports></normalOutput>\n"
                        "</DataRoot>\n");
    // The file follows the engine's active module, whichever model saves.
    ModuleTestModel vm(ViewBaseModel::TEST_DIRECT);
    vm.testActive();
    vm.setNormalTime(2.5);
    ASSERT_TRUE(vm.saveParameter());

    QDomDocument doc;
    ASSERT_TRUE(doc.setContent(sandbox.read(path)));
    const QDomElement root = doc.documentElement();
    EXPECT_EQ(root.tagName(), "DataRoot");
    EXPECT_EQ(root.firstChildElement("remoteSetting").text(), "kept");
    EXPECT_EQ(root.elementsByTagName("normalTime").size(), 1);
    EXPECT_EQ(root.firstChildElement("normalTime").text(), "2.5");
    const QDomElement port5 = root.firstChildElement("normalOutput").firstChildElement("ports").firstChildElement("port5");
    EXPECT_EQ(port5.firstChildElement("custom").text(), "x");
    EXPECT_EQ(port5.elementsByTagName("range").size(), 1);
    EXPECT_EQ(root.elementsByTagName("moduleSetting").size(), 1);
    EXPECT_EQ(QString::fromUtf8(sandbox.read(path)).count("<?xml"), 1);

    // Saving again changes nothing more.
    const QByteArray once = sandbox.read(path);
    ASSERT_TRUE(vm.saveParameter());
    EXPECT_EQ(sandbox.read(path), once);
}

TEST_F(ParameterFile, ATextNoXmlFileCanCarryNeverCostsTheValuesAfterIt)
{
    const struct {
        const char* name;
        QByteArray foreign;   // before the values
        bool read;
    } rows[] = {
        {"as a reference: read, and left out when saved", "<remote a=\"&#x1;\">x&#xFFFE;&#xDFFE;</remote>", true},
        // What a save used to write: not read at all, not just up to there.
        {"raw: the file does not parse", "<remote>x\xEF\xBF\xBE</remote>", false},
    };
    const auto ua = ViewBaseModel::AO_PORT_TYPE_UA;
    const auto range = ViewBaseModel::AO_ITEM_TYPE_RANGE;
    const QString path = parameterFile(appRoot());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        sandbox.write(path, "<DataRoot>" + row.foreign
                                + "<normalOutput><ports><port0><range>42</range></port0></ports></normalOutput>"
                                  "</DataRoot>");
        ModuleTestModel vm;
        vm.testActive();
        vm.setNormalOutput(range, ua, 10.0);
        EXPECT_EQ(vm.loadParameter(), row.read);
        EXPECT_EQ(vm.getNormalOutput(range, ua), row.read ? 42.0 : 10.0);

        ASSERT_TRUE(vm.saveParameter());
        const QByteArray bytes = sandbox.read(path);
        EXPECT_FALSE(bytes.contains("\xEF\xBF\xBE") || bytes.contains('\x01') || bytes.contains("x?")) << bytes.toStdString();
        QDomDocument doc;
        ASSERT_TRUE(doc.setContent(bytes));
        ModuleTestModel back;
        back.testActive();
        ASSERT_TRUE(back.loadParameter());
        EXPECT_EQ(back.getNormalOutput(range, ua), row.read ? 42.0 : 10.0);
    }
}

TEST_F(ParameterFile, ANameANamespaceAwareReaderRefusesIsLeftOutOfTheSave)
{
    const QString path = parameterFile(appRoot());
    for (const QByteArray foreign : {"<:/>", "<a:/>", "<:a/>", "<a:b:c/>", "<p:1a/>", "<remote b:=\"1\" :c=\"2\"/>"}) {
        SCOPED_TRACE(foreign.constData());
        sandbox.write(path, "<DataRoot>" + foreign + "<p:kept xmlns:p=\"urn:x\" p:a=\"1\"/><normalTime>3</normalTime></DataRoot>");
        ModuleTestModel vm;
        vm.testActive();
        ASSERT_TRUE(vm.loadParameter());
        ASSERT_TRUE(vm.saveParameter());

        const QByteArray bytes = sandbox.read(path);
        QXmlStreamReader reader(bytes);
        while (!reader.atEnd())
            reader.readNext();
        EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString() << "\n" << bytes.toStdString();
        // Well-formed names stay (Qt writes the attributes in any order).
        EXPECT_TRUE(bytes.contains("<p:kept ") && bytes.contains(" p:a=\"1\"")) << bytes.toStdString();
        EXPECT_EQ(bytes.contains("<remote/>"), foreign.startsWith("<remote"));
    }
}

TEST_F(ParameterFile, ASaveWritesUtf8UnderOneDeclarationWhateverTheFileDeclared)
{
    const struct {
        const char* name;
        QByteArray head;     // before the root
        QByteArray inside;   // first in the root
    } rows[] = {
        {"another encoding declared", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", ""},
        {"an instruction for another program", "", "<?other:program data?>"},
    };
    const QString path = parameterFile(appRoot());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        sandbox.write(path, row.head + "<DataRoot>" + row.inside + "<normalTime>3</normalTime></DataRoot>");
        ModuleTestModel vm;
        vm.testActive();
        ASSERT_TRUE(vm.loadParameter());
        vm.moduleName = vmtest::utf8("交流");
        ASSERT_TRUE(vm.saveParameter());

        const QByteArray bytes = sandbox.read(path);
        EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\"?>")) << bytes.left(60).toStdString();
        EXPECT_EQ(bytes.count("<?"), 1);
        QXmlStreamReader reader(bytes);
        while (!reader.atEnd())
            reader.readNext();
        EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
        ModuleTestModel back;
        back.testActive();
        ASSERT_TRUE(back.loadParameter());
        EXPECT_EQ(back.moduleName, vmtest::utf8("交流"));
        EXPECT_EQ(back.getNormalTime(), 3.0);
    }
}

TEST_F(ParameterFile, TheTemporaryOfAnInterruptedSaveGoesAtTheNextLoadOrSave)
{
    const QString path = parameterFile(appRoot());
    const QString stale = path + ".OfULHi";
    sandbox.write(path, "<DataRoot><normalTime>3</normalTime></DataRoot>");
    ModuleTestModel vm;
    vm.testActive();
    for (const char* step : {"load", "save"}) {
        sandbox.write(stale, "<DataRoot>");
        ASSERT_TRUE(QString(step) == "load" ? vm.loadParameter() : vm.saveParameter());
        EXPECT_FALSE(QFileInfo::exists(stale)) << step;
    }
    EXPECT_EQ(vm.getNormalTime(), 3.0);
}

TEST_F(ParameterFile, MissingElementsLeaveTheModelsValues)
{
    const QString path = parameterFile(appRoot());
    sandbox.write(path, "<DataRoot><normalOutput><ports>"
                        "<port4><range>2.5</range></port4>"
                        "</ports></normalOutput></DataRoot>");
    ModuleTestModel vm;
    vm.testActive();
    vm.setNormalOutput(ViewBaseModel::AO_ITEM_TYPE_RANGE, ViewBaseModel::AO_PORT_TYPE_IB, 4.0);
    ASSERT_TRUE(vm.loadParameter());
    EXPECT_EQ(vm.getNormalOutput(ViewBaseModel::AO_ITEM_TYPE_RANGE, ViewBaseModel::AO_PORT_TYPE_IA), 2.5);
    EXPECT_EQ(vm.getNormalOutput(ViewBaseModel::AO_ITEM_TYPE_RANGE, ViewBaseModel::AO_PORT_TYPE_IB), 4.0);
    EXPECT_EQ(vm.getIntervalTime(), 0.2);

    // A value that is no finite number refuses the file: every field keeps its value.
    for (const char* bad : {"<normalOutput><ports><port5><angle>nan</angle></port5></ports></normalOutput>",
                            "<intervalTime>bad</intervalTime>", "<normalTime>inf</normalTime>"}) {
        SCOPED_TRACE(bad);
        sandbox.write(path, QByteArray("<DataRoot><outputOnceOnly>false</outputOnceOnly>") + bad + "</DataRoot>");
        vm.bLoadParameter = false;
        EXPECT_FALSE(vm.loadParameter());
        EXPECT_TRUE(vm.getOutputOnceOnly());
        EXPECT_EQ(vm.getNormalTime(), 0.5);
        EXPECT_EQ(vm.getNormalOutput(ViewBaseModel::AO_ITEM_TYPE_RANGE, ViewBaseModel::AO_PORT_TYPE_IA), 2.5);
    }

    // Another root, or no file: nothing is read.
    sandbox.write(path, "<Other><normalTime>3</normalTime></Other>");
    vm.bLoadParameter = false;
    EXPECT_FALSE(vm.loadParameter());
    EXPECT_EQ(vm.getNormalTime(), 0.5);
    // ... and a save makes it a parameter file (one root).
    ASSERT_TRUE(vm.saveParameter());
    QDomDocument doc;
    ASSERT_TRUE(doc.setContent(sandbox.read(path)));
    EXPECT_EQ(doc.documentElement().tagName(), "DataRoot");
    QFile::remove(path);
    vm.bLoadParameter = false;
    EXPECT_FALSE(vm.loadParameter());
}

TEST_F(ParameterFile, ARefusedPageFileIsReadAsNoneKeptAsideAndSaid)
{
    const QString path = parameterFile(appRoot());
    QByteArray whole;
    {
        ModuleTestModel vm;
        vm.testActive();
        fill(vm);
        ASSERT_TRUE(vm.saveParameter());
        whole = sandbox.read(path);
    }
    const struct {
        const char* name;
        QByteArray bytes;
        const char* why;
    } rows[] = {
        {"cut in half", whole.left(whole.size() / 2), "文件不完整"},
        // Refused whole, at no line.
        {"an entity", "<!DOCTYPE DataRoot [<!ENTITY e \"1\">]><DataRoot><normalTime>&e;</normalTime></DataRoot>",
         "XML 文件。"},
        {"an encoding no codec reads",
         "<?xml version=\"1.0\" encoding=\"win-8\"?><DataRoot><normalTime>1</normalTime></DataRoot>", "编码"},
        {"too many attributes on one element",
         "<DataRoot" + attributes(BaseXmlFile::bounds(BaseXmlFile::Kind::Parameter).attributes + 1)
             + "><normalTime>1</normalTime></DataRoot>",
         "超过仪器所写"},
        {"more bytes than a parameter file has",
         "<DataRoot><normalTime>1</normalTime>"
             + QByteArray(int(BaseXmlFile::bounds(BaseXmlFile::Kind::Parameter).bytes), ' ') + "</DataRoot>",
         "字节"},
        {"Latin-1 under a UTF-8 declaration",
         "<?xml version=\"1.0\" encoding=\"utf-8\"?><DataRoot><normalTime>1</normalTime>"
         "<moduleSetting><name>-20\xB5</name></moduleSetting></DataRoot>",
         "UTF-8"},
        {"no number", "<DataRoot><normalTime>1</normalTime><intervalTime>0x1p3</intervalTime></DataRoot>", "intervalTime"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(path + ".damaged");
        sandbox.write(path, row.bytes);
        ModuleTestModel vm;
        vm.testActive();
        EXPECT_FALSE(vm.loadParameter());
        EXPECT_EQ(vm.getNormalTime(), 0.5);
        EXPECT_EQ(vm.moduleName, "default");
        const QString notice = vm.takeParameterFileNotice();
        EXPECT_TRUE(notice.startsWith(vmtest::utf8("参数文件无法读取")) && notice.contains(vmtest::utf8(row.why))
                    && notice.contains("parameters/AC/parameter.xml.damaged"))   // where to find it
            << notice.toStdString();
        EXPECT_EQ(vm.takeParameterFileNotice(), "");
        // What the user had stays, out of the way of the next save.
        EXPECT_EQ(sandbox.read(path + ".damaged"), row.bytes);
        ASSERT_TRUE(vm.saveParameter());
        EXPECT_EQ(sandbox.read(path + ".damaged"), row.bytes);
    }
}

// All the names aside taken: the oldest copy gives way to the file refused now.
TEST_F(ParameterFile, ARefusedPageFileTakesTheOldestNameAsideWhenAllAreTaken)
{
    const QString path = parameterFile(appRoot());
    const QDateTime stamp = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
    for (int n = 0; n < 100; ++n) {
        const QString aside = n == 0 ? path + ".damaged" : path + QString(".%1.damaged").arg(n);
        sandbox.write(aside, "old");
        QFile file(aside);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(stamp.addSecs(n == 7 ? 0 : 100 + n), QFileDevice::FileModificationTime));
    }
    sandbox.write(path, "<DataRoot><normalTime>nan</normalTime></DataRoot>");
    ModuleTestModel vm;
    vm.testActive();
    EXPECT_FALSE(vm.loadParameter());
    EXPECT_TRUE(vm.takeParameterFileNotice().contains("parameter.xml.7.damaged"));
    EXPECT_EQ(sandbox.read(path + ".7.damaged"), "<DataRoot><normalTime>nan</normalTime></DataRoot>");
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(ParameterFile, VersionCheckRefusesFilesOlderThanTheModel)
{
    const QString path = parameterFile(appRoot());
    ModuleTestModel vm;
    vm.testActive();
    sandbox.write(path, "<DataRoot><normalTime>3</normalTime></DataRoot>");
    EXPECT_TRUE(vm.load(path, "DataRoot", true));   // no version: (0, 0, 0, 1), the model's own
    vm.dataVersion = 2;
    vm.setNormalTime(1.0);
    EXPECT_FALSE(vm.load(path, "DataRoot", true));
    EXPECT_EQ(vm.getNormalTime(), 1.0);
    sandbox.write(path, "<DataRoot><dataVersion>2</dataVersion><normalTime>3</normalTime></DataRoot>");
    EXPECT_TRUE(vm.load(path, "DataRoot", true));
    EXPECT_EQ(vm.getNormalTime(), 3.0);
}

TEST_F(ParameterFile, NoActiveModuleWritesNothing)
{
    ModuleTestModel vm(ViewBaseModel::TEST_NONE);
    vm.testActive();
    EXPECT_EQ(vm.getActiveTestDir(), "");
    EXPECT_FALSE(vm.saveParameter());
    EXPECT_FALSE(QDir(appRoot() + "/parameters").exists());
}

TEST_F(ParameterFile, ReadersNeverSeeAPartlyWrittenFile)
{
    ModuleTestModel vm;
    vm.testActive();
    fill(vm);
    ASSERT_TRUE(vm.saveParameter());
    const QString path = parameterFile(appRoot());

    std::atomic<bool> stop{false};
    std::atomic<int> reads{0};
    std::atomic<int> broken{0};
    std::thread reader([&] {
        while (!stop.load()) {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly))
                continue;   // between the two names of a rename, never empty
            QDomDocument doc;
            if (!doc.setContent(f.readAll()) || doc.documentElement().firstChildElement("intervalOutput").isNull())
                ++broken;
            ++reads;
        }
    });
    for (int i = 0; i < 200; ++i) {
        vm.setNormalTime(i);
        ASSERT_TRUE(vm.saveParameter());
    }
    ASSERT_TRUE(vmtest::waitUntil([&] { return reads.load() > 50; }));
    stop = true;
    reader.join();
    EXPECT_EQ(broken.load(), 0);
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files), QStringList{"parameter.xml"});
}
