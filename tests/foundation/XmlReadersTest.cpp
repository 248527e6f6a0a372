// Every reader of the instrument's XML files takes a document nested far
// deeper than any file it writes, one past the bounds of its kind, and a
// FIFO, a link to one or a folder in the file's place as it takes an
// unreadable file: no crash, no wait, and what it tells and does is the same.
// (A link to a device is read as one to a FIFO is: BaseXmlFile's tests.)

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

#include <sys/stat.h>

using vmtest::ModuleTestModel;

namespace {

class XmlReaders : public vmtest::ViewModelTest
{
protected:
    QString app(const QString& rel) const { return appRoot() + QLatin1Char('/') + rel; }
};

// What a file holds as its bounds count it, each number taken at the
// longest text its writer gives one (longestNumber characters).
BaseXmlFile::Bounds sizeOf(const QByteArray& bytes, int longestNumber)
{
    BaseXmlFile::Bounds size{bytes.size(), 0, 0, 0};
    QXmlStreamReader reader(bytes);
    int depth = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            ++size.elements;
            size.attributes = std::max(size.attributes, int(reader.attributes().size()));
            size.nesting = std::max(size.nesting, ++depth);
        } else if (reader.isEndElement()) {
            --depth;
        } else if (reader.isCharacters() && !reader.isWhitespace()) {
            bool number = false;
            reader.text().toDouble(&number);
            size.bytes += number ? std::max(0, longestNumber - reader.text().size()) : 0;
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return size;
}

BaseXmlFile::Bounds largest(const BaseXmlFile::Bounds& a, const BaseXmlFile::Bounds& b)
{
    return {std::max(a.bytes, b.bytes), std::max(a.elements, b.elements), std::max(a.attributes, b.attributes),
            std::max(a.nesting, b.nesting)};
}

// The ramping and sequence pages with what their lists hold in reach.
class Ramping : public ViewRampingModel
{
public:
    using ViewRampingModel::testStates;
};

class Sequence : public ViewStateSequenceModel
{
public:
    using ViewStateSequenceModel::addEventItem;
};

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
// them, read back by the kind's reader, and the kind's bounds that file's
// with the room BaseXmlFile gives: two to four times its bytes and elements,
// twice its nesting, a few attributes. A bound narrowed refuses a file the
// instrument writes; one widened fails here.
TEST_F(XmlReaders, EachKindIsBoundedByTheLargestFileItsWritersMakeWithRoom)
{
    using BaseXmlFile::Kind;
    // Parameter files: every page with its lists full (as its buttons fill
    // them; a ramping state with all its points, a sequence's event list
    // full), at the next start and by File > Load.
    struct Module
    {
        ViewBaseModel::TESTType type;
        std::function<std::unique_ptr<ViewBaseModel>()> make;
        std::function<void(ViewBaseModel&)> fill;
    };
    const auto model = [](auto* made) { return std::function<std::unique_ptr<ViewBaseModel>()>([=] {
        return std::unique_ptr<ViewBaseModel>(new std::remove_pointer_t<decltype(made)>);
    }); };
    const auto none = [](ViewBaseModel&) {};
    const Module modules[] = {
        {ViewBaseModel::TEST_ALTERNATE, model((ViewAlternateModel*)nullptr), none},
        {ViewBaseModel::TEST_DIRECT, model((ViewDirectModel*)nullptr), none},
        {ViewBaseModel::TEST_HARMONIC, model((ViewHarmonicModel*)nullptr), none},
        {ViewBaseModel::TEST_OSCILLATE, model((ViewOscillateModel*)nullptr), none},
        {ViewBaseModel::TEST_STDSOURCE, model((ViewStdSourceModel*)nullptr), none},
        {ViewBaseModel::TEST_DISTANCE, model((ViewDistanceModel*)nullptr), none},
        {ViewBaseModel::TEST_OVERCURRENT, model((ViewOvercurrentModel*)nullptr), none},
        {ViewBaseModel::TEST_ENERGY, model((ViewEnergyModel*)nullptr), none},
        {ViewBaseModel::TEST_SLIP_FREQUENCY, model((ViewSlipFrequencyModel*)nullptr), none},
        {ViewBaseModel::TEST_SLIP_VOLTAGE, model((ViewSlipVoltageModel*)nullptr), none},
        {ViewBaseModel::TEST_RAMPING, model((Ramping*)nullptr),
         [](ViewBaseModel& vm) {
             auto& ramping = static_cast<Ramping&>(vm);
             for (auto& state : ramping.testStates) {
                 while (state->testPoints.size() < size_t(ViewRampingModel::kMaxPoints))
                     state->testPoints.emplace_back(new ViewRampingModel::ViewPointModel(&ramping));
             }
         }},
        {ViewBaseModel::TEST_STATESEQUENCE, model((Sequence*)nullptr),
         [](ViewBaseModel& vm) {
             for (int e = 0; e < ViewStateSequenceModel::kMaxEvents + 1; ++e)
                 static_cast<Sequence&>(vm).addEventItem(e * 0.001, 0, 1, QStringLiteral("0->1"));
         }},
    };
    constexpr int kParameterNumber = 13;   // "-1.23457e-100"
    BaseXmlFile::Bounds parameter{};
    for (const Module& m : modules) {
        const QString folder = ViewBaseModel::testDirOf(m.type);
        SCOPED_TRACE(folder.toStdString());
        center->testActive(m.type);
        {
            const auto vm = m.make();
            vm->testActive();
            for (const char* add : {"addState", "addPoint", "addAssess"}) {
                for (int i = 0; i < 100 && vm->metaObject()->indexOfMethod(QByteArray(add) + "()") >= 0; ++i)
                    QMetaObject::invokeMethod(vm.get(), add);
            }
            m.fill(*vm);
            ASSERT_TRUE(vm->saveParameter());
            ASSERT_TRUE(vm->backupParameter(QStringLiteral("largest.xml")));
        }
        parameter = largest(parameter, sizeOf(sandbox.read(app("parameters/" + folder + "/parameter.xml")), kParameterNumber));
        const auto atStart = m.make();
        atStart->testActive();
        EXPECT_TRUE(atStart->loadParameter());
        const auto byLoad = m.make();
        byLoad->testActive();
        EXPECT_TRUE(byLoad->loadParmFromFile(QStringLiteral("largest.xml")));
    }

    // Calibration files: every kind, each factor written with all its digits.
    constexpr int kFullNumber = 24;   // "-2.2250738585072014e-308"
    BaseXmlFile::Bounds calibration{};
    for (int t = ModelCalibrationEntity::CAL_TYPE_ACAMP; t <= ModelCalibrationEntity::CAL_TYPE_LLODC; ++t) {
        const auto type = ModelCalibrationEntity::CALType(t);
        ModelCalibrationEntity written;
        ASSERT_TRUE(written.save(type));
        calibration = largest(calibration, sizeOf(sandbox.read(app("dat/" + written.getFileName(type) + ".xml")), kFullNumber));
        ModelCalibrationEntity read;
        read.load(type);
        EXPECT_TRUE(read.getDamagedTypes().isEmpty()) << t;
    }

    // Settings: the device's model and code as long as their boxes take, of
    // the character written longest.
    BaseXmlFile::Bounds settings{};
    {
        ControllerConfiguration written;
        written.deviceModel = QString(64, QLatin1Char('&'));
        written.deviceCode = written.deviceModel;
        ASSERT_TRUE(written.saveSoftwareConfig());
        ASSERT_TRUE(written.saveHardwareConfig(false));
        ASSERT_TRUE(written.saveBatteryConfig());
        for (const char* file : {"softinfo.xml", "devinfo.xml", "batteryinfo.xml"})
            settings = largest(settings, sizeOf(sandbox.read(app(QStringLiteral("dat/") + file)), kFullNumber));
        ControllerConfiguration read;
        read.doLoadConfig(ControllerConfiguration::CONFIG_TYPE_SOFTWARE_DATA);
        read.doLoadConfig(ControllerConfiguration::CONFIG_TYPE_HARDWARE_DATA);
        read.doLoadBatteryConfig();
        EXPECT_TRUE(read.damagedFiles().isEmpty()) << read.damagedFiles().join(' ').toStdString();
        EXPECT_EQ(read.deviceModel, written.deviceModel);
    }

    std::vector<std::pair<Kind, BaseXmlFile::Bounds>> kinds = {
        {Kind::Parameter, parameter}, {Kind::Backup, parameter}, {Kind::Calibration, calibration}, {Kind::Settings, settings}};
    // The time-zone list: every zone the system's database knows.
    const QList<QByteArray> zones = QTimeZone::availableTimeZoneIds();
    const bool database = QTimeZone("Europe/Berlin").isValid();
    if (database) {
        const QString path = app("dat/CUSTOM_TIMEZONES.XML");
        ASSERT_TRUE(SystemTimeZone::saveTimeZones(path, zones));
        kinds.push_back({Kind::TimeZones, sizeOf(sandbox.read(path), 0)});
        SystemTimeZone read;
        read.updateTimeZones(false);   // the list of the application's folder
        EXPECT_EQ(read.getTimeZoneCount(), zones.size());
    }

    for (const auto& [kind, file] : kinds) {
        SCOPED_TRACE(QStringLiteral("kind %1: largest %2 bytes, %3 elements, %4 deep")
                         .arg(int(kind)).arg(file.bytes).arg(file.elements).arg(file.nesting).toStdString());
        const BaseXmlFile::Bounds limit = BaseXmlFile::bounds(kind);
        EXPECT_GE(limit.bytes, 2 * file.bytes);
        EXPECT_LE(limit.bytes, 4 * file.bytes);
        EXPECT_GE(limit.elements, 2 * file.elements);
        EXPECT_LE(limit.elements, 4 * file.elements);
        EXPECT_EQ(limit.nesting, 2 * file.nesting);
        EXPECT_GE(limit.attributes, file.attributes);
        EXPECT_LE(limit.attributes, 8);
    }
    if (!database)
        GTEST_SKIP() << "no time-zone database: the time-zone list's bounds not checked";
}
