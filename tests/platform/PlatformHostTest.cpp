#include "PlatformTestSupport.h"

#include <QFileInfo>

#include <atomic>
#include <functional>
#include <unistd.h>
#include <sys/stat.h>
#include <thread>
#include <time.h>
#include <vector>

using namespace zoplat;

namespace {

using PlatformHost = PlatformTest;

TEST_F(PlatformHost, RunnerRecordsEveryCommandAndReturnsScriptedResults)
{
    host::scriptCommand("/opt/zor/script/", {0, "ok\n"});
    host::scriptCommand("/opt/zor/script/upgrade.sh", {3, "bad package\n"});
    host::scriptCommand("ip route", {0, "default via 10.0.0.1 dev eth0\n"});

    const struct
    {
        const char* line;
        int status;
        const char* output;
    } rows[] = {
        {"reboot &", 0, ""},                                  // only recorded
        {"hwclock -w", 0, ""},
        {"date -s \"2024-01-01 00:00:00\"", 0, ""},
        {"ip route", 0, "default via 10.0.0.1 dev eth0\n"},
        {"/opt/zor/script/upgrade.sh /media/usb/p.tar", 3, "bad package\n"},   // longest start wins
        {"/opt/zor/script/power.sh on", 0, "ok\n"},
        {"", -1, ""},
    };
    QStringList expected;
    for (const auto& row : rows) {
        const CommandResult r = runCommand(row.line);
        EXPECT_EQ(r.status, row.status) << row.line;
        EXPECT_EQ(r.output, QByteArray(row.output)) << row.line;
        expected << row.line;
    }
    EXPECT_EQ(host::recordedCommands(), expected);
    host::clearRecordedCommands();
    EXPECT_TRUE(host::recordedCommands().isEmpty());
}

TEST_F(PlatformHost, RunnerCarriesOutHarmlessFileCommandsInsideTheSandbox)
{
    writeDevice("/media/usb/cal data.xml", "calibration");
    QDir().mkpath(root + "/opt/zor");

    const struct
    {
        const char* line;
        int status;
    } steps[] = {
        {"mkdir -p /opt/zor/backup/2024", 0},
        {"mkdir -p /opt/zor/backup/2024", 0},                  // an existing folder is fine
        {"cp -f '/media/usb/cal data.xml' /opt/zor/backup/2024", 0},   // into a folder
        {"cp -f \"/media/usb/cal data.xml\" /opt/zor/cal.xml", 0},
        {"mv /opt/zor/cal.xml /opt/zor/cal2.xml", 0},
        {"chmod +x /opt/zor/cal2.xml", 0},
        {"rm -f /opt/zor/not-there", 0},                       // a missing file succeeds
        {"sync", 0},
        {"cp -f /media/usb/not-there /opt/zor/x", 1},
    };
    for (const auto& step : steps)
        EXPECT_EQ(runCommand(step.line).status, step.status) << step.line;

    EXPECT_EQ(readDevice("/opt/zor/backup/2024/cal data.xml"), QByteArray("calibration"));
    EXPECT_FALSE(existsDevice("/opt/zor/cal.xml"));
    EXPECT_EQ(readDevice("/opt/zor/cal2.xml"), QByteArray("calibration"));
    EXPECT_TRUE(QFileInfo(root + "/opt/zor/cal2.xml").isExecutable());
    EXPECT_EQ(runCommand("rm -f /opt/zor/cal2.xml").status, 0);
    EXPECT_FALSE(existsDevice("/opt/zor/cal2.xml"));
}

TEST_F(PlatformHost, RunnerOnlyRecordsShellSyntaxOtherOptionsAndOutsidePaths)
{
    const QString victim = writeDevice("/media/usb/keep.txt", "keep");
    const QString outside = sandbox.write("outside.txt", "outside");
    const QString relativeOutside = QDir::current().relativeFilePath(outside);

    const QStringList lines = {
        "rm -f /media/usb/keep.txt; reboot",
        "rm -f /media/usb/keep.txt && reboot",
        "rm -f /media/usb/keep.txt | cat",
        "rm -f $(echo /media/usb/keep.txt)",
        "rm -f `echo /media/usb/keep.txt`",
        "rm -f /media/usb/keep.*",
        "rm -rf /media/usb",
        "rm /media/usb/keep.txt",
        "cp -f /media/usb/keep.txt /media/usb/copy.txt > /dev/null",
        "rm -f " + relativeOutside,
        "chmod 777 " + relativeOutside,
    };
    for (const QString& line : lines)
        runCommand(line);
    EXPECT_EQ(host::recordedCommands(), lines);
    EXPECT_EQ(sandbox.read(victim), QByteArray("keep"));
    EXPECT_FALSE(existsDevice("/media/usb/copy.txt"));
    EXPECT_EQ(sandbox.read(outside), QByteArray("outside"));
    EXPECT_EQ(runCommand("rm -f " + relativeOutside).status, 1);
}

TEST_F(PlatformHost, ScriptedFileCommandIsNotCarriedOut)
{
    writeDevice("/media/usb/a.txt");
    host::scriptCommand("rm -f /media/usb/", {1, {}});
    EXPECT_EQ(runCommand("rm -f /media/usb/a.txt").status, 1);
    EXPECT_TRUE(existsDevice("/media/usb/a.txt"));
}

TEST_F(PlatformHost, FileFunctionsBehaveLikeTheShellForms)
{
    writeDevice("/media/usb/a.txt", "new");
    writeDevice("/opt/zor/a.txt", "old contents, longer");
    EXPECT_EQ(copyFile("/media/usb/a.txt", "/opt/zor/a.txt"), 0);        // overwrite, truncated
    EXPECT_EQ(readDevice("/opt/zor/a.txt"), QByteArray("new"));
    EXPECT_EQ(makeDir("/opt/zor/deep/er/"), 0);
    EXPECT_EQ(copyFile("/media/usb/a.txt", "/opt/zor/deep/er"), 0);      // into a folder
    EXPECT_EQ(readDevice("/opt/zor/deep/er/a.txt"), QByteArray("new"));
    EXPECT_EQ(copyFile("/media/usb/a.txt", "/media/usb/a.txt"), -1);     // onto itself
    EXPECT_EQ(readDevice("/media/usb/a.txt"), QByteArray("new"));
    EXPECT_EQ(removeFile("/opt/zor/a.txt"), 0);
    EXPECT_EQ(removeFile("/opt/zor/a.txt"), 0);                         // already gone
    EXPECT_EQ(removeFile("/opt/zor/deep"), -1);                         // not a folder remover
    EXPECT_EQ(makeDir("/media/usb/a.txt"), -1);                          // a file is in the way
    EXPECT_EQ(copyFile("", "/opt/zor/x"), -1);
    EXPECT_EQ(removeFile(""), -1);
    EXPECT_EQ(makeDir(QString(5000, 'a').prepend('/')), -1);
    EXPECT_TRUE(host::recordedCommands().isEmpty());                    // no shell involved
}

// A link inside the sandbox that leads out of it (a USB stick folder made a
// link to the host's files) lets no file call or command act out there.
TEST_F(PlatformHost, LinksLeadingOutOfTheSandboxAreRefused)
{
    const QString outside = sandbox.filePath("outside");
    sandbox.write("outside/victim.txt", "victim");
    writeDevice("/opt/zor/src.txt", "source");
    QDir().mkpath(root + "/media");
    QDir().mkpath(root + "/mnt/sdp1");
    ASSERT_EQ(symlink(outside.toLocal8Bit().constData(), (root + "/media/usb").toLocal8Bit().constData()), 0);
    ASSERT_EQ(symlink((outside + "/made.txt").toLocal8Bit().constData(),
                      (root + "/opt/zor/dangling").toLocal8Bit().constData()), 0);
    ASSERT_EQ(symlink("../mnt/sdp1", (root + "/media/sd").toLocal8Bit().constData()), 0);   // stays inside

    const struct
    {
        const char* what;
        std::function<int()> call;
        int result;
    } rows[] = {
        {"copyFile from", [] { return copyFile("/media/usb/victim.txt", "/opt/zor/a.txt"); }, -1},
        {"copyFile to", [] { return copyFile("/opt/zor/src.txt", "/media/usb/new.txt"); }, -1},
        {"copyFile into", [] { return copyFile("/opt/zor/src.txt", "/media/usb"); }, -1},
        {"copyFile over a dangling link", [] { return copyFile("/opt/zor/src.txt", "/opt/zor/dangling"); }, -1},
        {"removeFile", [] { return removeFile("/media/usb/victim.txt"); }, -1},
        {"makeDir", [] { return makeDir("/media/usb/made/deeper"); }, -1},
        {"cp -f", [] { return runCommand("cp -f /opt/zor/src.txt /media/usb/new.txt").status; }, 1},
        {"rm -f", [] { return runCommand("rm -f /media/usb/victim.txt").status; }, 1},
        {"mkdir -p", [] { return runCommand("mkdir -p /media/usb/made").status; }, 1},
        {"mv", [] { return runCommand("mv /media/usb/victim.txt /opt/zor").status; }, 1},
        {"chmod", [] { return runCommand("chmod 777 /media/usb/victim.txt").status; }, 1},
        {"rm -f of the link itself", [] { return runCommand("rm -f /opt/zor/dangling").status; }, 0},
        {"copyFile through a link inside", [] { return copyFile("/opt/zor/src.txt", "/media/sd/x.txt"); }, 0},
    };
    const QFile::Permissions mode = QFileInfo(outside + "/victim.txt").permissions();
    for (const auto& row : rows) {
        EXPECT_EQ(row.call(), row.result) << row.what;
        EXPECT_EQ(QDir(outside).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"victim.txt"})
            << row.what;
        EXPECT_EQ(sandbox.read(outside + "/victim.txt"), QByteArray("victim")) << row.what;
        EXPECT_EQ(QFileInfo(outside + "/victim.txt").permissions(), mode) << row.what;
    }
    EXPECT_FALSE(QFileInfo(root + "/opt/zor/dangling").isSymLink());
    EXPECT_EQ(readDevice("/mnt/sdp1/x.txt"), QByteArray("source"));
}

TEST_F(PlatformHost, DevicePathsStayUnderTheSandboxRoot)
{
    const struct
    {
        QString in;
        QString out;
    } rows[] = {
        {"/media/usb", root + "/media/usb"},
        {"/etc/network/interfaces", root + "/etc/network/interfaces"},
        {"/var/run/../run/./zor.pid", root + "/var/run/zor.pid"},
        {"/../../etc/passwd", root + "/etc/passwd"},
        {"/media/usb/../../../../..", root},
        {"//a///b/", root + "/a/b"},
        {"/", root},
        {root + "/media/usb", root + "/media/usb"},                      // already resolved
        {root + "/../escape", root + QFileInfo(root).absolutePath() + "/escape"},
        {"dat/softinfo.xml", "dat/softinfo.xml"},                       // application root, unchanged
        {"", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(devicePath(row.in), row.out) << row.in.toStdString();
}

TEST_F(PlatformHost, SandboxRootComesFromTheEnvironmentOrTheApplicationRoot)
{
    const QByteArray saved = qgetenv("ZOR_SANDBOX_ROOT");
    host::setSandboxRoot({});
    qputenv("ZOR_SANDBOX_ROOT", sandbox.filePath("env-root").toLocal8Bit());
    EXPECT_EQ(sandboxRoot(), sandbox.filePath("env-root"));
    EXPECT_EQ(devicePath("/media/usb"), sandbox.filePath("env-root") + "/media/usb");
    qputenv("ZOR_SANDBOX_ROOT", "/");                                  // never the host's own root
    EXPECT_EQ(sandboxRoot(), QDir::current().absoluteFilePath("sandbox"));
    qunsetenv("ZOR_SANDBOX_ROOT");
    EXPECT_EQ(sandboxRoot(), QDir::current().absoluteFilePath("sandbox"));
    if (!saved.isNull())
        qputenv("ZOR_SANDBOX_ROOT", saved);
}

TEST_F(PlatformHost, ClockSettingsStayInTheProcess)
{
    const time_t before = time(nullptr);
    EXPECT_EQ(setSystemTime(1000000000), 0);
    EXPECT_EQ(setTimeZoneMinutesWest(-480), 0);
    EXPECT_EQ(setSystemTime(-1), -1);
    EXPECT_EQ(setTimeZoneMinutesWest(24 * 60), -1);

    const int64_t nowMs = systemTimeMs();
    EXPECT_GE(nowMs, int64_t(1000000000) * 1000);
    EXPECT_LT(nowMs, int64_t(1000000000 + 3600) * 1000);
    EXPECT_GE(systemTimeNs(), int64_t(1000000000) * 1000000000);
    EXPECT_GE(time(nullptr), before);                                 // the machine's clock is untouched
    EXPECT_EQ(host::recordedTimeSettings(), std::vector<int64_t>{1000000000});
    EXPECT_EQ(host::recordedTimeZones(), std::vector<int>{-480});
    EXPECT_EQ(host::timeZoneMinutesWest(), -480);
    host::resetClock();
    EXPECT_EQ(host::clockOffsetMs(), 0);
}

TEST_F(PlatformHost, SettingsHaveDeviceDefaultsAndTestOverrides)
{
    const QByteArray saved = qgetenv("ZOR_SHM_KEY_BASE");
    qunsetenv("ZOR_SHM_KEY_BASE");
    EXPECT_EQ(uint32_t(sharedMemoryKeyBase()), 0xA0A01234u);
    qputenv("ZOR_SHM_KEY_BASE", "0x5A000000");
    EXPECT_EQ(uint32_t(sharedMemoryKeyBase()), 0x5A000000u);
    host::setSharedMemoryKeyBase(key_t(0x5B000000));
    EXPECT_EQ(uint32_t(sharedMemoryKeyBase()), 0x5B000000u);
    qunsetenv("ZOR_SHM_KEY_BASE");
    if (!saved.isNull())
        qputenv("ZOR_SHM_KEY_BASE", saved);

    EXPECT_EQ(networkInterface(), "lo");
    EXPECT_EQ(beaconDestination(), "127.0.0.1");
    EXPECT_EQ(beaconPort(), 10801);
    EXPECT_EQ(serverPort(), 10901);
    EXPECT_EQ(gnssSerialDevice(), root + "/dev/ttyO4");
    EXPECT_EQ(batterySerialDevice(), root + "/dev/ttyO3");
    host::setGnssSerialDevice("/dev/pts/7");
    host::setServerPort(20901);
    EXPECT_EQ(gnssSerialDevice(), "/dev/pts/7");
    EXPECT_EQ(serverPort(), 20901);
}

TEST_F(PlatformHost, ScaledTimeRunsWaitsFasterAndKeepsTheClockConsistent)
{
    setTimeScale(0.001);
    const int64_t start = monotonicMs();
    sleepMs(3000);                                  // 3 ms of real time
    EXPECT_GE(monotonicMs() - start, 3000);
    setTimeScale(1.0);
    EXPECT_GE(monotonicMs(), start + 3000);         // continuous across the change
}

TEST_F(PlatformHost, CustomSleeperAndClockAreThreadSafe)
{
    std::atomic<int64_t> virtualMs{0};
    setMonotonicClock([&] { return virtualMs.load(); });
    setSleeper([&](int64_t ms) { virtualMs += ms; });

    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            for (int i = 0; i < 2000; ++i)
                sleepMs(5);
        });
    for (int i = 0; i < 200; ++i)
        setSleeper([&](int64_t ms) { virtualMs += ms; });   // replaced while in use
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(monotonicMs(), 4 * 2000 * 5);
    setSleeper({});
    setMonotonicClock({});
    EXPECT_NE(monotonicMs(), 4 * 2000 * 5);
}

} // namespace
