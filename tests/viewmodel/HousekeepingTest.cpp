// The once-a-second housekeeping as the main window calls it: battery
// classes, suspend levels, the system clock and time zones, the pulse-time
// list. The runtime store is fed through its own slots (as its workers do),
// the monotonic clock is the test's.

#include "ViewModelTestSupport.h"

#include "BaseXmlFile.h"
#include "ModelBatteryEntity.h"

#include <QMetaObject>

#include <atomic>
#include <functional>
#include <limits>
#include <memory>

using vmtest::ModuleTestModel;
using vmtest::utf8;
using vmtest::waitUntil;

namespace {

class Housekeeping : public vmtest::ViewModelTest
{
protected:
    void SetUp() override
    {
        ViewModelTest::SetUp();
        zoplat::setTimeScale(0.01);
        zoplat::setMonotonicClock([this] { return fakeMs.load(); });
        // The battery actions ask the battery worker to start polling; there
        // is no pack here, so the request stops at the facade.
        QObject::disconnect(center, SIGNAL(sigBatteryStart()), center->testBattery, SLOT(doQueryStart()));
    }

    void TearDown() override
    {
        QObject::connect(center, SIGNAL(sigBatteryStart()), center->testBattery, SLOT(doQueryStart()));
        ViewModelTest::TearDown();
    }

    // The battery worker's report, through the runtime store.
    void reportBattery(qint32 charging, qint32 percent, ModuleTestModel& vm)
    {
        QMetaObject::invokeMethod(center->testRuntime, "updateBatteryState", Qt::QueuedConnection,
                                  Q_ARG(qint32, charging), Q_ARG(qint32, percent));
        ASSERT_TRUE(waitUntil([&] { return vm.getBatteryPercent() == percent && vm.getBatteryState() == charging; }));
    }

    void setThresholds(ModuleTestModel& vm, std::initializer_list<int> values)
    {
        int i = 0;
        for (int v : values)
            vm.setBatteryConfig(i++, v);
    }

    QStringList commandsWith(const QString& part) const { return zoplat::host::recordedCommands().filter(part); }

    QByteArray backlight() const { return sandbox.read("root/sys/class/backlight/backlight/bl_power"); }

    std::atomic<int64_t> fakeMs{1000000};
};

int saveBatteryRequests(const std::vector<int>& log, int mos)
{
    return int(std::count(log.begin(), log.end(), mos));
}

} // namespace

TEST_F(Housekeeping, BatteryClassesFollowTheThresholds)
{
    ModuleTestModel vm;
    setThresholds(vm, {30, 20, 10, 5, 95});
    struct Row
    {
        int percent;
        ViewBaseModel::BATTERYPDType type;
    };
    const Row rows[] = {
        {3, ViewBaseModel::BAT_PD_TYPE_ZERO},     {5, ViewBaseModel::BAT_PD_TYPE_ZERO},
        {6, ViewBaseModel::BAT_PD_TYPE_TWO},      {10, ViewBaseModel::BAT_PD_TYPE_TWO},
        {15, ViewBaseModel::BAT_PD_TYPE_FIVE_ON}, {25, ViewBaseModel::BAT_PD_TYPE_TEN_ON},
        {30, ViewBaseModel::BAT_PD_TYPE_TEN_ON},  {31, ViewBaseModel::BAT_PD_TYPE_NONE},
    };
    for (const Row& row : rows) {
        reportBattery(0, row.percent, vm);
        vm.loadBattery();
        EXPECT_EQ(vm.getBatteryPDType(), row.type) << row.percent << " %";
    }
    // On external power there is no class.
    reportBattery(1, 3, vm);
    vm.loadBattery();
    EXPECT_EQ(vm.getBatteryPDType(), ViewBaseModel::BAT_PD_TYPE_NONE);
    EXPECT_EQ(vm.getBatteryConfig(5), config->continueTime);
    EXPECT_EQ(vm.getBatteryConfig(6), 0);
}

TEST_F(Housekeeping, BatteryActionsRunOncePerTick)
{
    ModuleTestModel vm;
    setThresholds(vm, {30, 20, 10, 5, 95});
    std::vector<int> saves;
    int auxOff = 0;
    QObject receiver;
    QObject::connect(center, &ControllerCenter::sigSaveBattery, &receiver, [&](quint8 mos) { saves.push_back(mos); });
    QObject::connect(center, QOverload<bool, qint32>::of(&ControllerCenter::sigTestAuxDC), &receiver,
                     [&](bool on, qint32) { auxOff += on ? 0 : 1; });

    // Auxiliary DC on and the charge at the two-percent class: one switch-off
    // per tick, however often the window asks for the class.
    QMetaObject::invokeMethod(center->testRuntime, "updateAuxPowerState", Qt::QueuedConnection, Q_ARG(bool, true),
                              Q_ARG(qint32, 1));
    ASSERT_TRUE(waitUntil([&] { return vm.getState(ViewBaseModel::STATE_TYPE_AUXDCV) == 1; }));
    reportBattery(0, 8, vm);
    vm.setAuxDCVSwitch(ViewBaseModel::AUXDC_SWITCH_48V);
    vm.loadBattery();
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(vm.getBatteryPDType(), ViewBaseModel::BAT_PD_TYPE_TWO);
    EXPECT_EQ(auxOff, 1);
    EXPECT_EQ(vm.getAuxDCVSwitch(), ViewBaseModel::AUXDC_SWITCH_NONE);
    vm.loadBattery();
    EXPECT_EQ(auxOff, 2);
    QMetaObject::invokeMethod(center->testRuntime, "updateAuxPowerState", Qt::QueuedConnection, Q_ARG(bool, false),
                              Q_ARG(qint32, 0));
    ASSERT_TRUE(waitUntil([&] { return vm.getState(ViewBaseModel::STATE_TYPE_AUXDCV) == 0; }));

    // Empty class: after the window's wait the discharge switch opens once;
    // it is not asked again until the class was left.
    reportBattery(0, 3, vm);
    vm.loadBattery();
    vm.setBatteryMosState();
    vm.setBatteryMosState();
    EXPECT_EQ(saveBatteryRequests(saves, 2), 1);
    vm.loadBattery();
    vm.setBatteryMosState();
    EXPECT_EQ(saveBatteryRequests(saves, 2), 1);
    reportBattery(0, 15, vm);
    vm.loadBattery();
    reportBattery(0, 3, vm);
    vm.loadBattery();
    vm.setBatteryMosState();
    EXPECT_EQ(saveBatteryRequests(saves, 2), 2);

    // Charging and full with the protection flag: the switch closes again, once.
    ModelBatteryEntity info;
    info.infoProtectedState = 0x1000;
    QMetaObject::invokeMethod(center->testRuntime, "updateBatteryInfo", Qt::QueuedConnection,
                              Q_ARG(ModelBatteryEntity, info));
    ASSERT_TRUE(waitUntil([&] { return vm.getBatteryProtectedState() == "0x1000"; }));
    reportBattery(1, 96, vm);
    vm.loadBattery();
    vm.getBatteryPDType();
    vm.loadBattery();
    EXPECT_EQ(saveBatteryRequests(saves, 0), 1);
}

TEST_F(Housekeeping, BatteryReadsRestartOnEveryFifthTickBelowSixty)
{
    ModuleTestModel vm;
    int starts = 0;
    QObject receiver;
    QObject::connect(center, &ControllerCenter::sigBatteryStart, &receiver, [&] { ++starts; });
    std::vector<int> startedAt;
    for (int tick = 1; tick <= 70; ++tick) {
        const int before = starts;
        vm.loadBattery();
        if (starts != before)
            startedAt.push_back(tick);
    }
    EXPECT_EQ(startedAt, (std::vector<int>{5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 55}));
}

TEST_F(Housekeeping, SuspendDarkensThenLowersPowerAndWakesOnInput)
{
    sandbox.write("root/sys/class/backlight/backlight/bl_power", "0\n");
    ModuleTestModel vm;
    config->suspendTime = 300;
    const int warm[4] = {45, 40, 44, 41};
    std::copy(warm, warm + 4, vm.testingPowerT);
    vm.updateSuspendTime();

    fakeMs += 299999;
    vm.checkRunSuspend();
    EXPECT_EQ(vm.getSuspendType(), ViewBaseModel::SUSPEND_TYPE_NONE);
    fakeMs += 1;
    vm.checkRunSuspend();
    EXPECT_EQ(vm.getSuspendType(), ViewBaseModel::SUSPEND_TYPE_L2);
    ASSERT_TRUE(waitUntil([&] { return commandsWith("setpwrgpio.sh llo close").size() == 1; }));
    EXPECT_EQ(backlight(), "0\n1\n");

    vm.updateSuspendTime();   // a touch
    EXPECT_EQ(vm.getSuspendType(), ViewBaseModel::SUSPEND_TYPE_NONE);
    ASSERT_TRUE(waitUntil([&] { return commandsWith("setpwrgpio.sh llo open").size() == 1; }));
    EXPECT_EQ(backlight(), "0\n1\n0\n");

    // With an output on only the screen goes dark; low power follows a full
    // suspend time after the output stopped.
    vm.testingSTATE[ViewBaseModel::STATE_TYPE_OUTPUTTED] = 1;
    fakeMs += 300000;
    vm.checkRunSuspend();
    EXPECT_EQ(vm.getSuspendType(), ViewBaseModel::SUSPEND_TYPE_L1);
    vm.testingSTATE[ViewBaseModel::STATE_TYPE_OUTPUTTED] = 0;
    fakeMs += 299000;
    vm.checkRunSuspend();
    EXPECT_EQ(vm.getSuspendType(), ViewBaseModel::SUSPEND_TYPE_L1);
    fakeMs += 1000;
    vm.checkRunSuspend();
    EXPECT_EQ(vm.getSuspendType(), ViewBaseModel::SUSPEND_TYPE_L2);
    ASSERT_TRUE(waitUntil([&] { return commandsWith("setpwrgpio.sh llo close").size() == 2; }));

    // Hot amplifiers keep the instrument out of low power.
    vm.updateSuspendTime();
    vm.testingPowerT[0] = 50;
    fakeMs += 600000;
    vm.checkRunSuspend();
    EXPECT_EQ(vm.getSuspendType(), ViewBaseModel::SUSPEND_TYPE_NONE);
    ASSERT_TRUE(waitUntil([&] { return commandsWith("setpwrgpio.sh llo open").size() == 2; }));
    EXPECT_EQ(backlight(), "0\n1\n0\n1\n1\n0\n");

    // Busy again while in low power (a run started from a PC): the screen
    // stays dark, the instrument returns to full power.
    vm.testingPowerT[0] = 20;
    fakeMs += 300000;
    vm.checkRunSuspend();
    ASSERT_EQ(vm.getSuspendType(), ViewBaseModel::SUSPEND_TYPE_L2);
    vm.testingSTATE[ViewBaseModel::STATE_TYPE_POWERED] = 1;
    fakeMs += 300000;
    vm.checkRunSuspend();
    EXPECT_EQ(vm.getSuspendType(), ViewBaseModel::SUSPEND_TYPE_L1);
    ASSERT_TRUE(waitUntil([&] { return commandsWith("setpwrgpio.sh llo open").size() == 3; }));
    EXPECT_EQ(commandsWith("setpwrgpio.sh llo").last(), "/opt/zor/script/setpwrgpio.sh llo open");
}

TEST_F(Housekeeping, SuspendCountsActivityNotTheWallClock)
{
    ModuleTestModel vm;
    config->suspendTime = 300;
    // A touch a second before midnight, two seconds later by the wall clock.
    const QDateTime late(QDate(2024, 3, 1), QTime(23, 59, 59));
    ASSERT_EQ(zoplat::setSystemTime(late.toSecsSinceEpoch()), 0);
    vm.updateSuspendTime();
    ASSERT_EQ(zoplat::setSystemTime(late.addSecs(2).toSecsSinceEpoch()), 0);
    fakeMs += 2000;
    vm.checkRunSuspend();
    EXPECT_EQ(vm.getSuspendType(), ViewBaseModel::SUSPEND_TYPE_NONE);
    // A clock set back by hours is no idle time either.
    ASSERT_EQ(zoplat::setSystemTime(late.addSecs(-5 * 3600).toSecsSinceEpoch()), 0);
    vm.checkRunSuspend();
    EXPECT_EQ(vm.getSuspendType(), ViewBaseModel::SUSPEND_TYPE_NONE);
}

TEST_F(Housekeeping, SystemTimeIsParsedAndSetInOneRequest)
{
    ModuleTestModel vm;
    EXPECT_TRUE(vm.setSystemTime("2024-03-01 12:34:56"));
    const QDateTime expected(QDate(2024, 3, 1), QTime(12, 34, 56));
    ASSERT_EQ(zoplat::host::recordedTimeSettings(), (std::vector<int64_t>{expected.toSecsSinceEpoch()}));
    ASSERT_TRUE(waitUntil([&] { return commandsWith("hwclock -w").size() == 1; }));

    for (const char* bad : {"2024-03-01 12:34", "2024-13-01 00:00:00", "2024-02-30 00:00:00",
                            "2024-03-01 12:34:56; reboot", "2024-03-01 12:34:56 ", "$(reboot)", "", "2024-03-01"}) {
        EXPECT_FALSE(vm.setSystemTime(bad)) << bad;
    }
    EXPECT_EQ(zoplat::host::recordedTimeSettings().size(), 1u);
    EXPECT_TRUE(commandsWith("date").isEmpty());
    EXPECT_TRUE(zoplat::host::recordedTimeZones().empty());
}

TEST_F(Housekeeping, ClockBefore2000IsMovedTo2001KeepingTheTimeOfDay)
{
    ModuleTestModel vm;
    const QDateTime old(QDate(1970, 1, 2), QTime(7, 8, 9));
    ASSERT_EQ(zoplat::setSystemTime(old.toSecsSinceEpoch()), 0);
    vm.checkCurrentDateTime();
    const auto settings = zoplat::host::recordedTimeSettings();
    ASSERT_EQ(settings.size(), 2u);
    const QDateTime set = QDateTime::fromSecsSinceEpoch(settings.back());
    EXPECT_EQ(set.date(), QDate(2001, 1, 1));
    EXPECT_LE(std::abs(set.time().secsTo(QTime(7, 8, 9))), 5);
}

TEST_F(Housekeeping, TimeZoneIsStoredByIndexAndNeverApplied)
{
    sandbox.write("app/dat/CUSTOM_TIMEZONES.XML",
                  "<TimeZones>"
                  "<TimeZone><Id>UTC</Id><OffsetName>UTC+00:00</OffsetName><Comment_enUS>Universal</Comment_enUS></TimeZone>"
                  "<TimeZone><Id>Asia/Kolkata</Id><OffsetName>UTC+05:30</OffsetName><Comment_enUS>India</Comment_enUS></TimeZone>"
                  "<TimeZone><Id>America/Sao_Paulo</Id><OffsetName>UTC-03:00</OffsetName></TimeZone>"
                  "</TimeZones>");
    config->lanuageType = ControllerConfiguration::LANGUAGE_TYPE_ENGLISH;
    ModuleTestModel vm;
    ASSERT_EQ(vm.getTimeZoneCount(), 3);
    EXPECT_EQ(vm.getTimeZoneName(1), "India");
    vm.setTimeZoneCurrentIndex(1);
    vm.updateTimeZoneOffset(1);
    EXPECT_EQ(vm.getTimeZoneCurrentIndex(), 1);
    EXPECT_EQ(vm.getTimeZoneOffset(), 330);
    vm.updateTimeZoneOffset(2);
    EXPECT_EQ(vm.getTimeZoneOffset(), -180);
    EXPECT_TRUE(zoplat::host::recordedTimeZones().empty());
    EXPECT_TRUE(zoplat::host::recordedTimeSettings().empty());
}

// A zone list there but refused: the page says so, and the stored offset,
// which no zone shown explains, moves no clock.
TEST_F(Housekeeping, ARefusedZoneListIsToldAndItsStoredOffsetNotApplied)
{
    const QString path = sandbox.filePath("app/dat/CUSTOM_TIMEZONES.XML");
    const qint64 bound = BaseXmlFile::bounds(BaseXmlFile::Kind::TimeZones).bytes;
    const struct
    {
        const char* name;
        std::function<void()> place;
        bool refused;
    } rows[] = {
        {"0 bytes", [&] { sandbox.write("app/dat/CUSTOM_TIMEZONES.XML", ""); }, true},
        {"a folder", [&] { ASSERT_TRUE(QDir().mkpath(path)); }, true},
        {"a link to /dev/zero", [&] { ASSERT_TRUE(QFile::link("/dev/zero", path)); }, true},
        {"past its bound",
         [&] {
             sandbox.write("app/dat/CUSTOM_TIMEZONES.XML",
                           "<TimeZones>" + QByteArray(int(bound), ' ') + "</TimeZones>");
         },
         true},
        {"no list", [] {}, false},
    };
    config->lanuageType = ControllerConfiguration::LANGUAGE_TYPE_ENGLISH;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(path);
        QDir(path).removeRecursively();
        row.place();
        config->timeZone = 1;
        config->timeZoneOffsetMin = 330;
        ModuleTestModel vm;
        EXPECT_EQ(vm.getTimeZoneCount(), 0);
        EXPECT_EQ(vm.getTimeZoneListRefused(), row.refused);
        EXPECT_EQ(vm.getTimeZoneOffset(), row.refused ? 0 : 330);
        ASSERT_EQ(zoplat::setSystemTime(QDateTime(QDate(2024, 3, 2), QTime(10, 0), Qt::UTC).toSecsSinceEpoch()), 0);
        vm.clearPPXUtcTime();
        ASSERT_TRUE(vm.addPPXUtcTime("12:00:00", 10, 1));
        EXPECT_EQ(
            vm.getPPXUtcTime(0),
            QDateTime(QDate(2024, 3, 2), QTime(12, 0), Qt::UTC).addSecs(row.refused ? 0 : -330 * 60).toSecsSinceEpoch());
    }
    QFile::remove(path);
}

TEST_F(Housekeeping, PulseTimesUseTheZonesOwnDate)
{
    ModuleTestModel vm;
    struct Row
    {
        QDateTime utcNow;
        int offsetMin;
        const char* start;
        QDateTime expectedUtc;
        int zoneMin;   // the zone the pulse is entered and shown in
    };
    const Row rows[] = {
        // 01:30 on 2 March in UTC+8, still 1 March in UTC.
        {QDateTime(QDate(2024, 3, 1), QTime(17, 30), Qt::UTC), 480, "01:45:00",
         QDateTime(QDate(2024, 3, 1), QTime(17, 45), Qt::UTC), 480},
        // 21:00 on 1 March in UTC-5, already 2 March in UTC.
        {QDateTime(QDate(2024, 3, 2), QTime(2, 0), Qt::UTC), -300, "21:30:00",
         QDateTime(QDate(2024, 3, 2), QTime(2, 30), Qt::UTC), -300},
        {QDateTime(QDate(2024, 3, 2), QTime(12, 0), Qt::UTC), 0, "12:10:05",
         QDateTime(QDate(2024, 3, 2), QTime(12, 10, 5), Qt::UTC), 0},
        // 00:30 on 3 March in UTC+14.
        {QDateTime(QDate(2024, 3, 2), QTime(10, 30), Qt::UTC), 840, "23:30:00",
         QDateTime(QDate(2024, 3, 3), QTime(9, 30), Qt::UTC), 840},
        // Offsets no zone has count as UTC, without overflow.
        {QDateTime(QDate(2024, 3, 2), QTime(10, 0), Qt::UTC), 6000, "12:00:00",
         QDateTime(QDate(2024, 3, 2), QTime(12, 0), Qt::UTC), 0},
        {QDateTime(QDate(2024, 3, 2), QTime(10, 0), Qt::UTC), std::numeric_limits<int>::max(), "12:00:00",
         QDateTime(QDate(2024, 3, 2), QTime(12, 0), Qt::UTC), 0},
        {QDateTime(QDate(2024, 3, 2), QTime(10, 0), Qt::UTC), -841, "12:00:00",
         QDateTime(QDate(2024, 3, 2), QTime(12, 0), Qt::UTC), 0},
    };
    for (const Row& row : rows) {
        vm.clearPPXUtcTime();
        config->timeZoneOffsetMin = row.offsetMin;
        ASSERT_EQ(zoplat::setSystemTime(row.utcNow.toSecsSinceEpoch()), 0);
        ASSERT_TRUE(vm.addPPXUtcTime(row.start, 10, 3));
        ASSERT_EQ(vm.getPPXTimeCount(), 3);
        const quint32 base = quint32(row.expectedUtc.toSecsSinceEpoch());
        EXPECT_EQ(vm.getPPXUtcTime(0), base) << row.start;
        EXPECT_EQ(vm.getPPXUtcTime(2), base + 20) << row.start;
        // Shown in the same zone, on the date it was entered for.
        const QDateTime shown = row.expectedUtc.toOffsetFromUtc(row.zoneMin * 60);
        EXPECT_EQ(vm.getPPXUtcTimeStr(0), shown.toString("yyyy-MM-dd hh:mm:ss"));
        EXPECT_TRUE(vm.getPPXUtcTimeStr(0).endsWith(row.start));
    }
}

TEST_F(Housekeeping, PulseTimeListRefusesBadEntriesAndKeepsSixtyFour)
{
    ModuleTestModel vm;
    struct Row
    {
        const char* start;
        int interval;
        int count;
        bool ok;
    };
    const Row rows[] = {
        {"25:00:00", 1, 1, false}, {"12:00", 1, 1, false},   {"noon", 1, 1, false},    {"12:00:00", 1, 0, false},
        {"12:00:00", 1, -3, false}, {"12:00:00", 0, 2, false}, {"12:00:00", -5, 3, false}, {"12:00:00", 0, 1, true},
        {"12:00:00", -5, 1, true},
    };
    for (const Row& row : rows) {
        vm.clearPPXUtcTime();
        EXPECT_EQ(vm.addPPXUtcTime(row.start, row.interval, row.count), row.ok)
            << row.start << " " << row.interval << " " << row.count;
        EXPECT_EQ(vm.getPPXTimeCount(), row.ok ? row.count : 0);
    }

    vm.clearPPXUtcTime();
    ASSERT_TRUE(vm.addPPXUtcTime("08:00:00", 60, 60));
    ASSERT_TRUE(vm.addPPXUtcTime("09:00:00", 1, 10));
    EXPECT_EQ(vm.getPPXTimeCount(), 64);
    EXPECT_FALSE(vm.addPPXUtcTime("10:00:00", 1, 1));
    EXPECT_EQ(vm.getPPXUtcTime(64), 0u);
    EXPECT_EQ(vm.getPPXUtcTime(-1), 0u);
    EXPECT_EQ(vm.getPPXUtcTimeStr(64), "");
    vm.delPPXUtcTime(64);
    vm.delPPXUtcTime(-1);
    EXPECT_EQ(vm.getPPXTimeCount(), 64);
    vm.delPPXUtcTime(0);
    EXPECT_EQ(vm.getPPXTimeCount(), 63);

    // Sorted, and what the synchronised clock has passed is dropped.
    vm.clearPPXUtcTime();
    ASSERT_TRUE(vm.addPPXUtcTime("10:00:00", 1, 3));
    ASSERT_TRUE(vm.addPPXUtcTime("09:00:00", 1, 2));
    const quint32 nine = vm.getPPXUtcTime(3);
    const quint32 ten = vm.getPPXUtcTime(0);
    QMetaObject::invokeMethod(center->testRuntime, "updateSyncClock", Qt::QueuedConnection, Q_ARG(bool, true),
                              Q_ARG(quint32, ten + 1));
    ASSERT_TRUE(waitUntil([&] { return vm.getClkSyncState(); }));
    vm.sortClockPPXTimes();
    ASSERT_EQ(vm.getPPXTimeCount(), 2);
    EXPECT_EQ(vm.getPPXUtcTime(0), ten + 1);
    EXPECT_EQ(vm.getPPXUtcTime(1), ten + 2);
    EXPECT_LT(nine, ten);
}
