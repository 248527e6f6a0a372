// Every reader of the instrument's XML files takes a document nested far
// deeper than any file it writes, one past the bounds of its kind, and a
// FIFO, a link to one or a folder in the file's place as it takes an
// unreadable file: no crash, no wait, and what it tells and does is the same.
// (A link to a device is read as one to a FIFO is: BaseXmlFile's tests.)
// The bounds of each kind from the largest file its writers make, and the
// fuzz targets' seeds at and one past them.

#include "../viewmodel/ViewModelTestSupport.h"

#include "BaseXmlFile.h"
#include "BaseXmlHelper.h"
#include "ControllerConfiguration.h"
#include "ModelCalibrationEntity.h"
#include "SystemTimeZone.h"
#include "ViewAlternateModel.h"
#include "ViewDirectModel.h"
#include "ViewDistanceModel.h"
#include "ViewEnergyModel.h"
#include "ViewHarmonicModel.h"
#include "ViewOscillateModel.h"
#include "ViewOvercurrentModel.h"
#include "ViewRampingModel.h"
#include "ViewSlipFrequencyModel.h"
#include "ViewSlipVoltageModel.h"
#include "ViewStateSequenceModel.h"
#include "ViewStdSourceModel.h"

#include <QDir>
#include <QTimeZone>
#include <QXmlStreamReader>

#include <functional>
#include <memory>
#include <type_traits>

#include <sys/stat.h>

using vmtest::ModuleTestModel;

namespace {

class XmlReaders : public vmtest::ViewModelTest
{
protected:
    QString app(const QString& rel) const { return appRoot() + QLatin1Char('/') + rel; }
};

// Takes into largest what a file holds as its bounds count it, each number
// at the longest text its writer gives one (longestNumber characters).
void measure(BaseXmlFile::Bounds& largest, const QByteArray& bytes, int longestNumber)
{
    qint64 size = bytes.size();
    int elements = 0, depth = 0;
    QXmlStreamReader reader(bytes);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            ++elements;
            largest.nesting = std::max(largest.nesting, ++depth);
            largest.attributes = std::max(largest.attributes, int(reader.attributes().size()));
        } else if (reader.isEndElement()) {
            --depth;
        } else if (reader.isCharacters() && !reader.isWhitespace()) {
            bool number = false;
            reader.text().toDouble(&number);
            size += number ? std::max(0, longestNumber - reader.text().size()) : 0;
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    largest.bytes = std::max(largest.bytes, size);
    largest.elements = std::max(largest.elements, elements);
}

// A page model; full: active, its lists as full as its buttons make them
// (and the ramping page's points and the sequence's events as a run does).
template <typename Page>
std::unique_ptr<ViewBaseModel> page(bool full)
{
    struct Full : Page
    {
        void fill()
        {
            this->testActive();
            for (const char* add : {"addState", "addPoint", "addAssess"}) {
                for (int i = 0; i < 100 && this->metaObject()->indexOfMethod(QByteArray(add) + "()") >= 0; ++i)
                    QMetaObject::invokeMethod(this, add);
            }
            if constexpr (std::is_same_v<Page, ViewRampingModel>) {
                for (auto& state : this->testStates) {
                    while (state->testPoints.size() < size_t(Page::kMaxPoints))
                        state->testPoints.emplace_back(new typename Page::ViewPointModel(this));
                }
            } else if constexpr (std::is_same_v<Page, ViewStateSequenceModel>) {
                for (int e = 0; e < Page::kMaxEvents; ++e)
                    this->addEventItem(e * 0.001, 0, 1, QStringLiteral("0->1"));
            }
        }
    };
    auto vm = std::make_unique<Full>();
    if (full)
        vm->fill();
    return vm;
}

// doc grown to n of one bound (attributes on its root).
QByteArray grown(QByteArray doc, const QByteArray& bound, int n)
{
    BaseXmlFile::Bounds held{};
    measure(held, doc, 0);
    const int end = doc.lastIndexOf("</");   // the root's end tag
    if (bound == "bytes")
        return doc.insert(end, QByteArray(n - doc.size(), ' '));
    if (bound == "elements")
        return doc.insert(end, QByteArray("<x/>").repeated(n - held.elements));
    if (bound == "nesting")
        return doc.insert(end, QByteArray("<n>").repeated(n - 1) + QByteArray("</n>").repeated(n - 1));
    QByteArray attributes;
    for (int i = 0; i < n; ++i)
        attributes += " a" + QByteArray::number(i) + "=\"1\"";
    return doc.insert(doc.indexOf('>', doc.indexOf("?>") + 2), attributes);
}

// The file-transfer target's input importing doc as name in mode: the mode
// command, the head, chunks of 1,024 bytes and of 17 x k bytes (the lengths
// its chunk byte gives, k up to 31), "SEND_END". Spaces go before the root's
// end tag until the size is one such chunks make, unless keepSize (then none).
QByteArray transfer(char mode, const QByteArray& name, QByteArray doc, bool keepSize)
{
    int k;   // 17 x k = size (mod 1,024), 17 x 241 being 1
    while (17 * (k = doc.size() * 241 % 1024) > doc.size() && !keepSize)
        doc.insert(doc.lastIndexOf("</"), ' ');
    if (17 * k > doc.size())
        return QByteArray();
    const auto head = [](const QByteArray& n, quint32 size) {
        return char((n.size() << 2) | 1) + n + QByteArray(reinterpret_cast<const char*>(&size), 4);
    };
    QByteArray input = QByteArray(1, '\0') + mode + head(name, quint32(doc.size()));
    int at = 0;
    for (; at < doc.size() - 17 * k; at += 1024)
        input += char(0xFE) + doc.mid(at, 1024);
    for (int part = std::min(k, 31); k > 0; at += 17 * part, k -= part, part = std::min(k, 31))
        input += char((part << 2) | 2) + doc.mid(at, 17 * part);
    return input + head("SEND_END", 0);
}

QString calibrationOutcome(const ModelCalibrationEntity& e)
{
    QStringList damaged;
    for (ModelCalibrationEntity::CALType type : e.getDamagedTypes())
        damaged << QString::number(type);
    return QStringLiteral("damaged %1 factor %2").arg(damaged.join(QLatin1Char(','))).arg(e.acampAmpFactors[0][0][0]);
}

} // namespace

TEST_F(XmlReaders, ADeepOrBoundlessDocumentOrNoFileIsReadAsAnUnreadableFileIs)
{
    constexpr int kLevels = 30000;
    const QByteArray deep =
        "<root>" + QByteArray("<a>").repeated(kLevels) + QByteArray("</a>").repeated(kLevels) + "</root>";
    const QByteArray unreadable = "PK\x03\x04<root><a>";
    ModuleTestModel vm;
    vm.testActive();
    ASSERT_TRUE(vm.saveParameter());
    const QString live = app("parameters/AC/parameter.xml");
    const QByteArray liveBytes = sandbox.read(live);

    using BaseXmlFile::Kind;
    const QByteArray calibration = testData("calibration/calacamp.xml");
    const QByteArray parameters = "<DataRoot><normalTime>4.5</normalTime></DataRoot>";
    const struct
    {
        const char* reader;
        QString file;
        std::function<QString()> read;   // what the reader tells and does
        Kind kind;
        QByteArray taken;   // a file it takes, "" none that tells otherwise
    } rows[] = {
        {"key/value helper", "dat/keys.xml",
         [&] { return BaseXmlHelper(app("dat/keys.xml"), true).value("DITHER_TIME", "none").toString(); },
         Kind::Settings, "<root><DITHER_TIME>0.3</DITHER_TIME></root>"},
        {"settings at start", "dat/softinfo.xml",
         [] {
             ControllerConfiguration cfg;
             const int language = cfg.loadStartupConfig();
             return QStringLiteral("%1 %2").arg(language).arg(cfg.damagedFiles().join(QLatin1Char(',')));
         },
         Kind::Settings, "<root><LANUAGE_TYPE>1</LANUAGE_TYPE></root>"},
        {"device settings", "dat/devinfo.xml",
         [] {
             ControllerConfiguration cfg;
             cfg.doLoadConfig(ControllerConfiguration::CONFIG_TYPE_HARDWARE_DATA);
             return cfg.deviceModel + QLatin1Char(' ') + cfg.damagedFiles().join(QLatin1Char(','));
         },
         Kind::Settings, "<root><DEVICE_MODEL>X9</DEVICE_MODEL></root>"},
        {"calibration file", "dat/calacamp.xml",
         [] {
             ModelCalibrationEntity e;
             e.acampAmpFactors[0][0][0] = 1.5;
             e.load(ModelCalibrationEntity::CAL_TYPE_ACAMP);
             return calibrationOutcome(e);
         },
         Kind::Calibration, calibration},
        {"calibration import", "dat/temp/calacamp.xml",
         [] {
             ModelCalibrationEntity e;
             const bool taken = e.Import(ModelCalibrationEntity::EX_PAO_TYPE_U | ModelCalibrationEntity::EX_PAO_TYPE_I);
             return QStringLiteral("%1 ").arg(taken) + calibrationOutcome(e);
         },
         Kind::Calibration, calibration},
        {"time zones", "dat/CUSTOM_TIMEZONES.XML",
         [&] {
             SystemTimeZone zones;
             zones.updateTimeZones(false);   // the file's list counted
             const bool opened = zones.loadCustomTimeZones(app("dat/CUSTOM_TIMEZONES.XML"));
             return QStringLiteral("%1 %2").arg(opened).arg(zones.getTimeZoneCount());
         },
         Kind::TimeZones, "<TimeZones><TimeZone><Id>Etc/UTC</Id><OffsetName>UTC+00:00</OffsetName></TimeZone></TimeZones>"},
        {"parameter load", "parameters/AC/parameter.xml",
         [&] {
             vm.setNormalTime(2.5);
             vm.bLoadParameter = false;
             const bool loaded = vm.loadParameter();
             return QStringLiteral("%1 %2").arg(loaded).arg(vm.getNormalTime());
         },
         Kind::Parameter, parameters},
        {"merging save", "parameters/AC/parameter.xml",
         [&] {
             vm.setNormalTime(3.5);
             const bool saved = vm.saveParameter();
             vm.setNormalTime(1.0);
             vm.bLoadParameter = false;
             const bool loaded = vm.loadParameter();
             return QStringLiteral("%1 %2 %3").arg(saved).arg(loaded).arg(vm.getNormalTime());
         },
         Kind::Parameter, ""},
        {"File > Load of a backup", "parameters_bk/AC/deep.xml",
         [&] {
             sandbox.write(live, liveBytes);
             const bool loaded = vm.loadParmFromFile("deep.xml");
             return QStringLiteral("%1 %2").arg(loaded).arg(sandbox.read(live) == liveBytes);
         },
         Kind::Backup, parameters},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.reader);
        const QString file = app(row.file);
        sandbox.write(file, unreadable);
        const QString told = row.read();
        sandbox.write(file, deep);
        EXPECT_EQ(row.read(), told) << "deep";
        if (!row.taken.isEmpty()) {
            sandbox.write(file, row.taken);
            ASSERT_NE(row.read(), told);
            // The file it takes, one element or one byte past the bound.
            const BaseXmlFile::Bounds limit = BaseXmlFile::bounds(row.kind);
            const int end = row.taken.lastIndexOf("</");
            sandbox.write(file, QByteArray(row.taken).insert(end, QByteArray("<x/>").repeated(limit.elements)));
            EXPECT_EQ(row.read(), told) << "elements";
            const int spaces = int(limit.bytes) + 1 - row.taken.size();
            sandbox.write(file, QByteArray(row.taken).insert(end, QByteArray(spaces, ' ')));
            EXPECT_EQ(row.read(), told) << "bytes";
        }
        // Links lead into the sandbox only: a writer that followed one
        // replaces what it leads to.
        const QString fifo = sandbox.filePath("elsewhere/fifo");
        QDir().mkpath(QFileInfo(fifo).absolutePath());
        QFile::remove(fifo);
        ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QFile::remove(file);
        ASSERT_TRUE(QFile::link(fifo, file));
        EXPECT_EQ(row.read(), told) << "link to a FIFO";
        QFile::remove(file);
        ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        EXPECT_EQ(row.read(), told) << "FIFO";
        QFile::remove(file);
        // A save does not replace a folder: it fails.
        if (QByteArray(row.reader) != "merging save") {
            ASSERT_TRUE(QDir().mkpath(file));
            EXPECT_EQ(row.read(), told) << "folder";
            QDir(file).removeRecursively();
        }
    }
}

// The largest file of each kind the instrument's writers make, built through
// them and read back, against the kind's bounds: two to four times its bytes
// and elements, twice its nesting, a few attributes (narrowed, the instrument's
// own file is refused; widened, this fails).
TEST_F(XmlReaders, EachKindIsBoundedByTheLargestFileItsWritersMakeWithRoom)
{
    using BaseXmlFile::Kind;
    using VM = ViewBaseModel;
    // Every page full, read at the next start and by File > Load. Numbers up
    // to "-1.23457e-100".
    const std::pair<VM::TESTType, std::unique_ptr<VM> (*)(bool)> modules[] = {
        {VM::TEST_ALTERNATE, &page<ViewAlternateModel>},   {VM::TEST_DIRECT, &page<ViewDirectModel>},
        {VM::TEST_HARMONIC, &page<ViewHarmonicModel>},     {VM::TEST_OSCILLATE, &page<ViewOscillateModel>},
        {VM::TEST_STDSOURCE, &page<ViewStdSourceModel>},   {VM::TEST_DISTANCE, &page<ViewDistanceModel>},
        {VM::TEST_OVERCURRENT, &page<ViewOvercurrentModel>}, {VM::TEST_ENERGY, &page<ViewEnergyModel>},
        {VM::TEST_SLIP_FREQUENCY, &page<ViewSlipFrequencyModel>}, {VM::TEST_SLIP_VOLTAGE, &page<ViewSlipVoltageModel>},
        {VM::TEST_RAMPING, &page<ViewRampingModel>},       {VM::TEST_STATESEQUENCE, &page<ViewStateSequenceModel>},
    };
    BaseXmlFile::Bounds parameter{};
    for (const auto& [type, model] : modules) {
        SCOPED_TRACE(VM::testDirOf(type).toStdString());
        center->testActive(type);
        {
            const auto vm = model(true);
            ASSERT_TRUE(vm->saveParameter());
            ASSERT_TRUE(vm->backupParameter(QStringLiteral("largest.xml")));
        }
        measure(parameter, sandbox.read(app("parameters/" + VM::testDirOf(type) + "/parameter.xml")), 13);
        const auto atStart = model(false), byLoad = model(false);
        atStart->testActive();
        EXPECT_TRUE(atStart->loadParameter());
        EXPECT_TRUE(byLoad->loadParmFromFile(QStringLiteral("largest.xml")));
    }

    // Every calibration kind; the settings with the device's model and code
    // as long as their boxes take, of the character written longest. Numbers
    // with all their digits, up to "-2.2250738585072014e-308".
    BaseXmlFile::Bounds calibration{}, settings{};
    for (int t = ModelCalibrationEntity::CAL_TYPE_ACAMP; t <= ModelCalibrationEntity::CAL_TYPE_LLODC; ++t) {
        const auto type = ModelCalibrationEntity::CALType(t);
        ModelCalibrationEntity written, read;
        ASSERT_TRUE(written.save(type));
        measure(calibration, sandbox.read(app("dat/" + written.getFileName(type) + ".xml")), 24);
        read.load(type);
        EXPECT_TRUE(read.getDamagedTypes().isEmpty()) << t;
    }
    ControllerConfiguration written, read;
    written.deviceModel = written.deviceCode = QString(64, QLatin1Char('&'));
    ASSERT_TRUE(written.saveSoftwareConfig() && written.saveHardwareConfig(false) && written.saveBatteryConfig());
    for (const char* file : {"softinfo.xml", "devinfo.xml", "batteryinfo.xml"})
        measure(settings, sandbox.read(app(QStringLiteral("dat/") + file)), 24);
    read.doLoadConfig(ControllerConfiguration::CONFIG_TYPE_SOFTWARE_DATA);
    read.doLoadConfig(ControllerConfiguration::CONFIG_TYPE_HARDWARE_DATA);
    read.doLoadBatteryConfig();
    EXPECT_TRUE(read.damagedFiles().isEmpty() && read.deviceModel == written.deviceModel);

    std::vector<std::pair<Kind, BaseXmlFile::Bounds>> kinds = {
        {Kind::Parameter, parameter}, {Kind::Backup, parameter}, {Kind::Calibration, calibration}, {Kind::Settings, settings}};
    // The time-zone list: every zone the system's database knows.
    const QList<QByteArray> zones = QTimeZone::availableTimeZoneIds();
    const bool database = QTimeZone("Europe/Berlin").isValid();
    if (database) {
        ASSERT_TRUE(SystemTimeZone::saveTimeZones(app("dat/CUSTOM_TIMEZONES.XML"), zones));
        kinds.push_back({Kind::TimeZones, {}});
        measure(kinds.back().second, sandbox.read(app("dat/CUSTOM_TIMEZONES.XML")), 0);
        SystemTimeZone list;
        list.updateTimeZones(false);   // the list of the application's folder
        EXPECT_EQ(list.getTimeZoneCount(), zones.size());
    }

    for (const auto& [kind, file] : kinds) {
        SCOPED_TRACE(QStringLiteral("kind %1: largest %2 bytes, %3 elements, %4 deep")
                         .arg(int(kind)).arg(file.bytes).arg(file.elements).arg(file.nesting).toStdString());
        const BaseXmlFile::Bounds limit = BaseXmlFile::bounds(kind);
        EXPECT_TRUE(limit.bytes >= 2 * file.bytes && limit.bytes <= 4 * file.bytes) << limit.bytes;
        EXPECT_TRUE(limit.elements >= 2 * file.elements && limit.elements <= 4 * file.elements) << limit.elements;
        EXPECT_EQ(limit.nesting, 2 * file.nesting);
        EXPECT_TRUE(limit.attributes >= file.attributes && limit.attributes <= 8) << limit.attributes;
    }
    if (!database)
        GTEST_SKIP() << "no time-zone database: the time-zone list's bounds not checked";
}

// Every fuzz target of a kind of file starts from seeds at and one past each
// bound of its kind (seeds/<target>/bound-*): a file of the kind grown to
// the bound, in the target's input form. ZOR_UPDATE_GOLDEN=1 writes them.
TEST(FuzzSeeds, EveryTargetOfAFileKindHasSeedsAtAndOnePastEachBoundOfItsKind)
{
    using BaseXmlFile::Kind;
    const auto seedFile = [](const QString& name) { return testData("../fuzz/seeds/" + name); };
    // A page's file holding one of its values: the page's save adds the others.
    const QByteArray parameter = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<DataRoot>\n    "
                                 "<normalTime>1.5</normalTime>\n</DataRoot>\n";
    const QByteArray calibration = seedFile("fuzz_calibration/acamp.xml").mid(1);
    const struct {
        const char* name;   // of the seeds, in the target's folder
        Kind kind;
        QByteArray doc;
        QByteArray selector{};   // the input's bytes before the file
        const char* imported = nullptr;   // by the file transfer, as this
    } targets[] = {
        {"fuzz_parameter/bound", Kind::Backup, parameter, QByteArray(1, 0)},   // the AC page's File > Load
        {"fuzz_typed_xml/bound", Kind::Parameter, seedFile("fuzz_typed_xml/parameter.xml")},
        {"fuzz_file_transfer/bound-parameter", Kind::Backup, parameter, {}, "AC/b.xml"},
        {"fuzz_file_transfer/bound-calibration", Kind::Calibration, calibration, {}, "calacamp.xml"},
        {"fuzz_calibration/bound", Kind::Calibration, calibration, QByteArray(1, 0)},   // calacamp.xml
        {"fuzz_configuration/bound", Kind::Settings, seedFile("fuzz_configuration/devinfo").mid(1), "\1"},
        {"fuzz_keyvalue_xml/bound", Kind::Settings, seedFile("fuzz_keyvalue_xml/flat.xml")},
        {"fuzz_timezone/bound", Kind::TimeZones, seedFile("fuzz_timezone/zones.xml")},
    };
    for (const auto& target : targets) {
        const BaseXmlFile::Bounds limit = BaseXmlFile::bounds(target.kind);
        const std::pair<QByteArray, int> bounds[] = {
            {"bytes", int(limit.bytes)}, {"elements", limit.elements}, {"attributes", limit.attributes},
            {"nesting", limit.nesting}};
        for (const auto& [bound, n] : bounds) {
            for (const int past : {0, 1}) {
                const QString name = QStringLiteral("%1-%2-%3").arg(target.name, bound, past ? "past" : "at");
                SCOPED_TRACE(name.toStdString());
                const QByteArray doc = grown(target.doc, bound, n + past);
                QDomDocument parsed;
                QString error;
                ASSERT_EQ(BaseXmlFile::parse(parsed, doc, target.kind, &error), !past) << error.toStdString();
                EXPECT_EQ(BaseXmlFile::refusalOf(error) == BaseXmlFile::Refusal::BeyondBounds, bool(past));
                const QByteArray input = !target.imported ? target.selector + doc
                    : transfer(target.kind == Kind::Backup ? 5 : 6, target.imported, doc, bound == "bytes");
                ASSERT_FALSE(input.isEmpty());
                QFile file(QStringLiteral(ZOR_SOURCE_DIR "/tests/fuzz/seeds/") + name);
                if (qEnvironmentVariableIsSet("ZOR_UPDATE_GOLDEN") && file.open(QFile::WriteOnly | QFile::Unbuffered))
                    file.write(input);
                EXPECT_TRUE(seedFile(name) == input) << "not in the seeds as it is made here";
            }
        }
    }
}
