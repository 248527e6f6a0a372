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

#include <QDir>

#include <functional>

#include <sys/stat.h>

using vmtest::ModuleTestModel;

namespace {

class XmlReaders : public vmtest::ViewModelTest
{
protected:
    QString app(const QString& rel) const { return appRoot() + QLatin1Char('/') + rel; }
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
