// Shared memory, memory mapping, the single-instance lock and the system helpers.

#include "PlatformTestSupport.h"
#include "zobase_mylockrun.h"
#include "zobase_mymemmap.h"
#include "zobase_myshmem.h"
#include "zobase_mysystem.h"

#include <QFile>
#include <QSet>
#include <QTextStream>

#include <cerrno>
#include <cstring>
#include <sys/mman.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zoplat;

namespace {

size_t pageSize()
{
    return size_t(sysconf(_SC_PAGESIZE));
}

std::string capturedStdout()
{
    fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

// ---- Shared memory: the test's own keys, never the product's 0xA0A01234.. --

QSet<key_t> liveKeys()
{
    QSet<key_t> keys;
    QFile f("/proc/sysvipc/shm");
    if (!f.open(QIODevice::ReadOnly))
        return keys;
    f.readLine();
    while (!f.atEnd()) {
        const QList<QByteArray> w = f.readLine().simplified().split(' ');
        if (!w.isEmpty())
            keys.insert(key_t(w[0].toLongLong()));
    }
    return keys;
}

class SharedMemory : public PlatformTest
{
protected:
    void SetUp() override
    {
        PlatformTest::SetUp();
        for (int i = 0; i < 4; ++i)
            keys[i] = key_t(0x5E000000u | ((uint32_t(getpid()) & 0xFFFFu) << 8) | uint32_t(i));
        before = liveKeys();
    }
    void TearDown() override
    {
        // Every segment this test made is gone again.
        const QSet<key_t> now = liveKeys();
        for (key_t k : keys) {
            EXPECT_FALSE(now.contains(k) && !before.contains(k)) << std::hex << k;
            const int id = shmget(k, 0, 0);
            if (id >= 0 && !before.contains(k))
                shmctl(id, IPC_RMID, nullptr);
        }
        PlatformTest::TearDown();
    }
    key_t keys[4];
    QSet<key_t> before;
};

TEST_F(SharedMemory, SizesRoundToPagesAndAnExistingKeyIsShared)
{
    const struct
    {
        key_t key;
        size_t size;
        size_t segment;
    } rows[] = {{keys[0], 1, pageSize()}, {keys[1], 0, pageSize()}, {keys[2], pageSize() + 1, 2 * pageSize()}};
    for (const auto& row : rows) {
        void* addr = nullptr;
        testing::internal::CaptureStdout();
        const int id = _my_shmem_open(row.key, row.size, &addr);
        EXPECT_NE(capturedStdout().find("successed addr("), std::string::npos);
        ASSERT_GE(id, 0);
        shmid_ds ds{};
        ASSERT_EQ(shmctl(id, IPC_STAT, &ds), 0);
        EXPECT_EQ(ds.shm_segsz, row.segment);
        _my_shmem_close(id, addr);
        EXPECT_LT(shmget(row.key, 0, 0), 0);
    }

    void* a = nullptr;
    void* b = nullptr;
    const int id1 = _my_shmem_open(keys[3], 2576, &a);
    strcpy(static_cast<char*>(a), "machine");
    const int id2 = _my_shmem_open(keys[3], 100, &b);
    EXPECT_EQ(id1, id2);
    EXPECT_STREQ(static_cast<char*>(b), "machine");

    testing::internal::CaptureStdout();
    void* c = nullptr;
    EXPECT_EQ(_my_shmem_open(keys[3], 64 * pageSize(), &c), -1);   // larger than the existing segment
    EXPECT_NE(capturedStdout().find("shmget ipc_id error("), std::string::npos);
    EXPECT_EQ(_my_shmem_open(keys[3], 1, nullptr), -1);
    _my_shmem_close(id2, b);
    _my_shmem_close(id1, a);
    _my_shmem_close(-1, nullptr);                                  // nothing to do
}

TEST_F(SharedMemory, OpenFromPathCreatesTheKeyFileInTheSandbox)
{
    ASSERT_EQ(makeDir("/var/run"), 0);
    void* addr = nullptr;
    const int id = _my_shmem_open_from_path("/var/run/zor-shm.key", 7, 64, &addr);
    ASSERT_GE(id, 0);
    EXPECT_TRUE(existsDevice("/var/run/zor-shm.key"));
    const key_t key = ftok(devicePath("/var/run/zor-shm.key").toLocal8Bit().constData(), 7);
    EXPECT_EQ(shmget(key, 0, 0), id);
    _my_shmem_close(id, addr);
    EXPECT_LT(shmget(key, 0, 0), 0);

    testing::internal::CaptureStdout();
    EXPECT_EQ(_my_shmem_open_from_path("/no/such/folder/key", 7, 64, &addr), -1);
    EXPECT_NE(capturedStdout().find("fopen error"), std::string::npos);
    EXPECT_EQ(_my_shmem_open_from_path(nullptr, 7, 64, &addr), -1);
}

// ---- Memory mapping (host: anonymous pages in place of "/dev/mem") --------

bool mapped(const void* page)
{
    return msync(const_cast<void*>(page), pageSize(), MS_ASYNC) == 0;
}

TEST(MemoryMap, MapsEveryPageOfTheRangeAndUnmapsExactlyThem)
{
    const u32 page = u32(pageSize());
    const u32 base = 0x4A100000u;
    const struct
    {
        u32 hwaddr;
        u32 hwsize;
        size_t pages;
    } rows[] = {
        {base, 0, 1},
        {base + 4, 4, 1},
        {base + page - 4, 8, 2},            // crosses into the next page
        {base + page - 16, 2 * page, 3},
        {base, 0x1000 * 4, 4 * 0x1000 / page},
    };
    for (const auto& row : rows) {
        int fd = 123;
        u8* mm = nullptr;
        u8* regs = _my_memmap_open(&fd, row.hwaddr, row.hwsize, &mm);
        ASSERT_NE(regs, nullptr);
        EXPECT_EQ(fd, -1);                                            // "/dev/mem" is never opened here
        EXPECT_EQ(reinterpret_cast<uintptr_t>(mm) % page, 0u);
        EXPECT_EQ(regs, mm + row.hwaddr % page);
        for (size_t i = 0; i < row.pages; ++i)
            EXPECT_TRUE(mapped(mm + i * page)) << row.hwaddr << " page " << i;
        if (row.hwsize > 0)
            regs[row.hwsize - 1] = 0x5A;                              // the last register is inside
        u8* const oldMm = mm;
        _my_memmap_close(&fd, &mm, row.hwsize);
        EXPECT_EQ(mm, nullptr);
        EXPECT_EQ(fd, -1);
        for (size_t i = 0; i < row.pages; ++i)
            EXPECT_FALSE(mapped(oldMm + i * page)) << row.hwaddr << " page " << i;
    }
}

// ---- Single-instance lock ----------------------------------------------------

using InstanceLock = PlatformTest;

int lockInChild(const char* name)
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(_my_lockrun_instance(name) & 0xFF);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? int(static_cast<signed char>(WEXITSTATUS(status))) : -100;
}

TEST_F(InstanceLock, SecondProcessFindsTheLockTaken)
{
    int toParent[2];
    int toChild[2];
    ASSERT_EQ(pipe(toParent), 0);
    ASSERT_EQ(pipe(toChild), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        const char r = char(_my_lockrun_instance("zor-test"));
        (void)!write(toParent[1], &r, 1);
        char go;
        (void)!read(toChild[0], &go, 1);
        _exit(0);
    }
    char first = -1;
    ASSERT_EQ(read(toParent[0], &first, 1), 1);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(readDevice("/var/run/zor-test.pid"), QByteArray::number(holder));

    testing::internal::CaptureStdout();
    EXPECT_EQ(_my_lockrun_instance("zor-test"), 1);
    EXPECT_NE(capturedStdout().find("already locked, error:"), std::string::npos);
    EXPECT_EQ(lockInChild("zor-test"), 1);

    ASSERT_EQ(write(toChild[1], "x", 1), 1);
    int status = 0;
    waitpid(holder, &status, 0);
    EXPECT_EQ(lockInChild("zor-test"), 0);                // free again once the holder ended
    for (int fd : {toParent[0], toParent[1], toChild[0], toChild[1]})
        close(fd);
}

TEST_F(InstanceLock, BadNamesAreRefused)
{
    const std::string longName(300, 'n');
    for (const char* name : {static_cast<const char*>(nullptr), "", "..", "../escape", "a/b", longName.c_str()})
        EXPECT_EQ(lockInChild(name), -1) << (name ? name : "(null)");
    EXPECT_FALSE(QFileInfo::exists(root + "/var/escape.pid"));
}

// ---- System helpers ----------------------------------------------------------

using SystemHelpers = PlatformTest;

TEST_F(SystemHelpers, SetTimeGoesThroughThePlatformClockAndAlwaysRunsTheCommands)
{
    u32 seconds = 1700000000u;
    f32 east8 = 8.0f;
    f32 half = -5.75f;
    const struct
    {
        u32* seconds;
        f32* zone;
        std::vector<int64_t> times;
        std::vector<int> zones;
    } rows[] = {
        {nullptr, nullptr, {}, {}},
        {&seconds, nullptr, {1700000000}, {}},
        {nullptr, &east8, {}, {480}},
        {&seconds, &half, {1700000000}, {-345}},
    };
    for (const auto& row : rows) {
        host::reset();
        host::setSandboxRoot(root);
        _my_system_settime(row.seconds, row.zone);
        EXPECT_EQ(host::recordedCommands(), QStringList({"hwclock -w", "date"}));
        EXPECT_EQ(host::recordedTimeSettings(), row.times);
        EXPECT_EQ(host::recordedTimeZones(), row.zones);
    }
    // The readers follow the in-process clock.
    const u32 now = _my_system_gettime_second();
    EXPECT_GE(now, 1700000000u);
    EXPECT_LT(now, 1700000000u + 3600);
    EXPECT_GE(_my_system_getnowmstime() / 1000, u64(now));
    EXPECT_GE(_my_system_gettimeofday_microsecond() / 1000000, u64(now));
    EXPECT_GE(_my_system_getclocktime_nanosecond() / 1000000000, u64(now));
}

TEST_F(SystemHelpers, RebootIsOnlyRecordedOnTheHost)
{
    testing::internal::CaptureStdout();
    _my_system_reboot();
    EXPECT_EQ(capturedStdout(), "rebootsys\n");
    EXPECT_EQ(host::recordedCommands(), QStringList({"reboot &"}));
}

TEST_F(SystemHelpers, FileCommandsTakeNamesLiterallyWithoutAShell)
{
    const QStringList names = {"/media/usb/a b.txt", "/media/usb/x'; reboot; '.txt", "/media/usb/$(reboot).txt",
                               "/media/usb/\"q\".txt"};
    QDir().mkpath(root + "/opt/zor/import");
    for (const QString& name : names) {
        writeDevice(name, name.toUtf8());
        const QByteArray from = name.toUtf8();
        _my_system_cpfile(from.constData(), "/opt/zor/import");
        const QString copied = "/opt/zor/import/" + QFileInfo(name).fileName();
        EXPECT_EQ(readDevice(copied), name.toUtf8());
        EXPECT_EQ(_my_system_rmfile(from.constData()), 0);
        EXPECT_FALSE(existsDevice(name));
        EXPECT_EQ(_my_system_rmfile(from.constData()), 0);               // "rm -f" of a missing file
        const QByteArray dir = (name + ".d/sub").toUtf8();
        EXPECT_EQ(_my_system_mkdir(dir.constData()), 0);
        EXPECT_EQ(_my_system_mkdir(dir.constData()), 0);                 // already there
        EXPECT_TRUE(QFileInfo(root + name + ".d/sub").isDir());
    }
    EXPECT_TRUE(host::recordedCommands().isEmpty());
    EXPECT_NE(_my_system_rmfile("/opt/zor/import"), 0);                  // a folder is not removed
    EXPECT_TRUE(QFileInfo(root + "/opt/zor/import").isDir());
}

TEST_F(SystemHelpers, BadOrOverLongNamesAreRefusedWhole)
{
    // The shell forms fitted a 255-character buffer: the longest accepted
    // command is 254 characters; a longer one is refused, never cut.
    auto nameOf = [](int length) {
        QByteArray n = "/media/usb/";
        while (n.size() < length)
            n += n.size() % 50 == 0 ? '/' : 'd';
        return n.left(length);
    };
    const QByteArray fits = nameOf(254 - 9);      // "mkdir -p " + name
    const QByteArray tooLong = nameOf(255 - 9);
    EXPECT_EQ(_my_system_mkdir(fits.constData()), 0);
    EXPECT_TRUE(QFileInfo(root + fits).isDir());
    testing::internal::CaptureStdout();
    EXPECT_EQ(_my_system_mkdir(tooLong.constData()), -1);
    EXPECT_FALSE(capturedStdout().empty());
    EXPECT_FALSE(QFileInfo::exists(root + tooLong));

    writeDevice("/media/usb/f.txt");
    const QByteArray longTarget = nameOf(250);
    _my_system_cpfile("/media/usb/f.txt", longTarget.constData());
    EXPECT_FALSE(QFileInfo::exists(root + longTarget));
    EXPECT_EQ(_my_system_rmfile(nameOf(255 - 6).constData()), -1);
    EXPECT_EQ(_my_system_rmfile(nullptr), -1);
    EXPECT_EQ(_my_system_rmfile(""), -1);
    EXPECT_EQ(_my_system_mkdir(nullptr), -1);
    _my_system_cpfile(nullptr, "/media/usb/x");
    _my_system_cpfile("/media/usb/f.txt", nullptr);
    EXPECT_TRUE(host::recordedCommands().isEmpty());
}

} // namespace
