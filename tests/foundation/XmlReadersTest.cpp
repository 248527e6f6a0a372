// Every reader of the instrument's XML files takes a document nested far
// deeper than any file it writes as it takes an unreadable file: no crash,
// and what it tells and does is the same.

#include "../viewmodel/ViewModelTestSupport.h"

#include "BaseXmlHelper.h"
#include "ControllerConfiguration.h"
#include "ModelCalibrationEntity.h"
#include "SystemTimeZone.h"

#include <functional>

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

TEST_F(XmlReaders, ADeepDocumentIsReadAsAnUnreadableFileIs)
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

    const struct
    {
        const char* reader;
        QString file;
        std::function<QString()> read;   // what the reader tells and does
    } rows[] = {
        {"key/value helper", "dat/keys.xml",
         [&] { return BaseXmlHelper(app("dat/keys.xml"), true).value("DITHER_TIME", "none").toString(); }},
        {"settings at start", "dat/softinfo.xml",
         [] {
             ControllerConfiguration cfg;
             const int language = cfg.loadStartupConfig();
             return QStringLiteral("%1 %2").arg(language).arg(cfg.damagedFiles().join(QLatin1Char(',')));
         }},
        {"device settings", "dat/devinfo.xml",
         [] {
             ControllerConfiguration cfg;
             cfg.doLoadConfig(ControllerConfiguration::CONFIG_TYPE_HARDWARE_DATA);
             return cfg.deviceModel + QLatin1Char(' ') + cfg.damagedFiles().join(QLatin1Char(','));
         }},
        {"calibration file", "dat/calacamp.xml",
         [] {
             ModelCalibrationEntity e;
             e.acampAmpFactors[0][0][0] = 1.5;
             e.load(ModelCalibrationEntity::CAL_TYPE_ACAMP);
             return calibrationOutcome(e);
         }},
        {"calibration import", "dat/temp/calacamp.xml",
         [] {
             ModelCalibrationEntity e;
             const bool taken = e.Import(ModelCalibrationEntity::EX_PAO_TYPE_U | ModelCalibrationEntity::EX_PAO_TYPE_I);
             return QStringLiteral("%1 ").arg(taken) + calibrationOutcome(e);
         }},
        {"time zones", "dat/CUSTOM_TIMEZONES.XML",
         [&] {
             SystemTimeZone zones;
             const bool opened = zones.loadCustomTimeZones(app("dat/CUSTOM_TIMEZONES.XML"));
             return QStringLiteral("%1 %2").arg(opened).arg(zones.getTimeZoneCount());
         }},
        {"parameter load", "parameters/AC/parameter.xml",
         [&] {
             vm.setNormalTime(2.5);
             vm.bLoadParameter = false;
             const bool loaded = vm.loadParameter();
             return QStringLiteral("%1 %2").arg(loaded).arg(vm.getNormalTime());
         }},
        {"merging save", "parameters/AC/parameter.xml",
         [&] {
             vm.setNormalTime(3.5);
             const bool saved = vm.saveParameter();
             vm.setNormalTime(1.0);
             vm.bLoadParameter = false;
             const bool loaded = vm.loadParameter();
             return QStringLiteral("%1 %2 %3").arg(saved).arg(loaded).arg(vm.getNormalTime());
         }},
        {"File > Load of a backup", "parameters_bk/AC/deep.xml",
         [&] {
             sandbox.write(live, liveBytes);
             const bool loaded = vm.loadParmFromFile("deep.xml");
             return QStringLiteral("%1 %2").arg(loaded).arg(sandbox.read(live) == liveBytes);
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.reader);
        sandbox.write(app(row.file), unreadable);
        const QString told = row.read();
        sandbox.write(app(row.file), deep);
        EXPECT_EQ(row.read(), told);
        QFile::remove(app(row.file));
    }
}
