#include <gtest/gtest.h>

#include "../configuration/ConfigTestSupport.h"
#include "BaseXmlFile.h"
#include "SystemTimeZone.h"
#include "TestSandbox.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTimeZone>

#include <limits>

namespace {

const QByteArray kZones =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<TimeZones>\n"
    " <TimeZone><Id>Asia/Shanghai</Id><OffsetName>UTC+08:00</OffsetName><ShortName_zhCN>CST</ShortName_zhCN>"
    "<Comment_zhCN></Comment_zhCN><Comment_enUS></Comment_enUS></TimeZone>\n"
    " <Group><TimeZone><Id>Europe/Berlin</Id><OffsetName>UTC+01:00</OffsetName>"
    "<Comment_zhCN>柏林</Comment_zhCN><Comment_enUS>Berlin</Comment_enUS></TimeZone></Group>\n"
    " <TimeZone><Id>Mars/Olympus</Id><OffsetName>UTC-03:30</OffsetName></TimeZone>\n</TimeZones>\n";

// The file list as the system view model loads it, from the application
// root's data folder (the sandbox here); empty bytes: no file at all.
void loadFileList(SystemTimeZone& tz, const TestSandbox& box, const QByteArray& bytes, int lanuageType = 1)
{
    QFile::remove(box.filePath("dat/CUSTOM_TIMEZONES.XML"));
    if (!bytes.isEmpty())
        box.write("dat/CUSTOM_TIMEZONES.XML", bytes);
    const QString saved = QDir::currentPath();
    QDir::setCurrent(box.path());
    tz.setLanuageType(lanuageType);
    tz.updateTimeZones(false);
    QDir::setCurrent(saved);
}

bool haveZoneDatabase()
{
    return QTimeZone("Europe/Berlin").isValid();
}

// Every lookup answers safely for indexes from QML outside the list.
void expectSafeOutside(const SystemTimeZone& tz)
{
    QTimeZone zone;
    for (int index : {-1, tz.getTimeZoneCount(), std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
        EXPECT_EQ(tz.getTimeZoneId(index), "") << index;
        EXPECT_EQ(tz.getTimeZoneDisplayName(index), "") << index;
        EXPECT_EQ(tz.getTimeZoneOffsetFromUtc(index), 0) << index;
        EXPECT_FALSE(tz.getTimeZoneDaylightEnable(index)) << index;
        EXPECT_FALSE(tz.getTimeZone(index, zone)) << index;
        EXPECT_EQ(tz.getCustomTZOffsetMin(index), 0) << index;
    }
}

} // namespace

// A file that is there and not read says so in the log, with why.
TEST(SystemTimeZone, MissingOrBrokenFilesGiveAnEmptyList)
{
    TestSandbox box;
    SystemTimeZone tz;
    const int elements = BaseXmlFile::bounds(BaseXmlFile::Kind::TimeZones).elements;
    const std::pair<QByteArray, const char*> files[] = {   // and why the log says it is not read
        {QByteArray(), nullptr},
        {"garbage <", "is not read"},
        {"<TimeZones><TimeZone><Id>Asia/Shanghai</Id>", "is not read"},
        {"<TimeZones>" + QByteArray("<TimeZone/>").repeated(elements) + "</TimeZones>", "more than"},
        {"<Zones><TimeZone><Id>Asia/Shanghai</Id></TimeZone></Zones>", nullptr},
    };
    for (const auto& [bytes, why] : files) {
        SCOPED_TRACE(bytes.left(60).constData());
        loadFileList(tz, box, kZones);  // a good list first: each load replaces it
        MessageCapture log;
        loadFileList(tz, box, bytes);
        EXPECT_EQ(tz.getTimeZoneCount(), 0);
        EXPECT_EQ(tz.getTimeZoneIndexFromId("Asia/Shanghai"), -1);
        expectSafeOutside(tz);
        EXPECT_EQ(tz.loadCustomTimeZones(box.filePath("dat/CUSTOM_TIMEZONES.XML")), !bytes.isEmpty() && !why);
        EXPECT_EQ(log.anyWarningContains(QStringLiteral("CUSTOM_TIMEZONES.XML is not read")), why != nullptr);
        EXPECT_TRUE(!why || log.anyWarningContains(QLatin1String(why)));
    }
}

TEST(SystemTimeZone, FileListLookups)
{
    TestSandbox box;
    SystemTimeZone english, chinese;
    loadFileList(english, box, kZones);
    loadFileList(chinese, box, kZones, 0);
    ASSERT_EQ(english.getTimeZoneCount(), 3);
    expectSafeOutside(english);

    EXPECT_EQ(english.getTimeZoneId(1), "Europe/Berlin");
    EXPECT_EQ(english.getTimeZoneDisplayName(0), "UTC+08:00 | Asia/Shanghai");
    EXPECT_EQ(english.getTimeZoneDisplayName(1), "Berlin");
    EXPECT_EQ(chinese.getTimeZoneDisplayName(1), QString::fromUtf8("柏林"));
    EXPECT_EQ(english.getTimeZoneIndexFromId("asia/shanghai"), 0);
    EXPECT_EQ(english.getTimeZoneIndexFromId("Europe"), -1);
    EXPECT_EQ(english.getCustomTZOffsetMin(0), 480);
    EXPECT_EQ(english.getCustomTZOffsetMin(2), -210);

    // An id the system does not know: no offset, no daylight saving, no zone.
    QTimeZone zone;
    EXPECT_EQ(english.getTimeZoneOffsetFromUtc(2), 0);
    EXPECT_FALSE(english.getTimeZoneDaylightEnable(2));
    EXPECT_FALSE(english.getTimeZone(2, zone));
    if (haveZoneDatabase()) {
        // The system's offset follows daylight saving; the file's text does not.
        const int berlin = english.getTimeZoneOffsetFromUtc(1);
        EXPECT_TRUE(berlin == 3600 || berlin == 7200) << berlin;
        EXPECT_TRUE(english.getTimeZoneDaylightEnable(1));
        EXPECT_TRUE(english.getTimeZone(0, zone));
        EXPECT_EQ(zone.id(), QByteArray("Asia/Shanghai"));
    }
}

TEST(SystemTimeZone, OffsetTexts)
{
    const std::pair<const char*, int> cases[] = {
        {"UTC+05:30", 330}, {"UTC-03:00", -180}, {"UTC+14:00", 840}, {"UTC 08:00", -480},
        {"UTC", 0}, {"", 0}, {"UTC+8", 0}, {"UTC+ab:30", 0}, {"UTC+-1:00", 0}, {"GMT+05:30", 0}, {"UTC+05:30x", 0}, {"UTC+05.30", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SystemTimeZone::offsetTextToMinutes(c.first), c.second) << c.first;
}

// The table the product ships: zone 0 is UTC (the configuration's default
// index and offset), every comment shows its offset in both languages, and
// each fixed offset is its zone's standard offset in the system database.
TEST(SystemTimeZone, ShippedTableIsConsistent)
{
    QFile shipped(QString(ZOR_SOURCE_DIR) + "/resources/dat/CUSTOM_TIMEZONES.XML");
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    const QByteArray bytes = shipped.readAll();
    TestSandbox box;
    SystemTimeZone english, chinese;
    loadFileList(english, box, bytes);
    loadFileList(chinese, box, bytes, 0);
    ASSERT_GT(english.getTimeZoneCount(), 30);
    EXPECT_EQ(english.getCustomTZOffsetMin(0), 0);

    const QRegularExpression shown("^\\(UTC([+-]\\d\\d:\\d\\d)?\\) \\S");
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QSet<QString> ids;
    for (int i = 0; i < english.getTimeZoneCount(); ++i) {
        const QString id = english.getTimeZoneId(i);
        EXPECT_FALSE(ids.contains(id)) << qPrintable(id);
        ids.insert(id);
        EXPECT_TRUE(shown.match(english.getTimeZoneDisplayName(i)).hasMatch()) << qPrintable(id);
        EXPECT_TRUE(shown.match(chinese.getTimeZoneDisplayName(i)).hasMatch()) << qPrintable(id);
        if (!haveZoneDatabase())
            continue;
        const QTimeZone zone(id.toUtf8());
        ASSERT_TRUE(zone.isValid()) << qPrintable(id);
        EXPECT_EQ(zone.standardTimeOffset(now), english.getCustomTZOffsetMin(i) * 60) << qPrintable(id);
    }
}

TEST(SystemTimeZone, SystemListSavesInTheFileFormat)
{
    if (!haveZoneDatabase())
        GTEST_SKIP() << "no time-zone database";
    TestSandbox box;
    SystemTimeZone system;
    system.updateTimeZones(true);
    const int count = system.getTimeZoneCount();
    ASSERT_GT(count, 10);
    expectSafeOutside(system);
    QSet<QString> names;
    for (int i = 0; i < count; ++i)
        names.insert(system.getTimeZoneDisplayName(i));
    EXPECT_EQ(names.size(), count);
    EXPECT_FALSE(names.contains(""));
    EXPECT_EQ(system.getTimeZoneIndexFromId(system.getTimeZoneId(count - 1).toLower()), count - 1);

    const QString path = box.filePath("new/folder/zones.xml");
    ASSERT_TRUE(system.saveSystemTimeZones(path));
    SystemTimeZone reread;
    loadFileList(reread, box, QByteArray());
    ASSERT_TRUE(reread.loadCustomTimeZones(path));
    ASSERT_EQ(reread.getTimeZoneCount(), count);
    for (int i = 0; i < count; ++i) {
        ASSERT_EQ(reread.getTimeZoneId(i), system.getTimeZoneId(i));
        const QTimeZone zone(reread.getTimeZoneId(i).toUtf8());
        EXPECT_EQ(reread.getCustomTZOffsetMin(i), SystemTimeZone::offsetTextToMinutes(zone.displayName(
                                                      QTimeZone::StandardTime, QTimeZone::OffsetName)));
    }
    box.write("file", "x");
    EXPECT_FALSE(system.saveSystemTimeZones(box.filePath("file/zones.xml")));
}
