// Register link to the FPGA over McASP0: ready polls, frame packing, the
// read-command triple, time-outs and the port set-up. The registers are
// reached only through the accessor of zodrv_mcaspaccess.h.

#include "zodrv_mcasp.h"
#include "zodrv_mcaspaccess.h"

#include "zoplatform.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <vector>

#include <fcntl.h>
#include <pthread.h>
#include <sys/mman.h>
#include <unistd.h>

using zodrv::McaspMapping;

namespace {

// McASP0 register offsets.
constexpr uint32_t MCASP_PWRIDLESYSCONFIG = 0x04;
constexpr uint32_t MCASP_PFUNC = 0x10;
constexpr uint32_t MCASP_PDIR = 0x14;
constexpr uint32_t MCASP_GBLCTL = 0x44;
constexpr uint32_t MCASP_AMUTE = 0x48;
constexpr uint32_t MCASP_DLBCTL = 0x4C;
constexpr uint32_t MCASP_DITCTL = 0x50;
constexpr uint32_t MCASP_RGBLCTL = 0x60;
constexpr uint32_t MCASP_RMASK = 0x64;
constexpr uint32_t MCASP_RFMT = 0x68;
constexpr uint32_t MCASP_AFSRCTL = 0x6C;
constexpr uint32_t MCASP_ACLKRCTL = 0x70;
constexpr uint32_t MCASP_AHCLKRCTL = 0x74;
constexpr uint32_t MCASP_RTDM = 0x78;
constexpr uint32_t MCASP_RINTCTL = 0x7C;
constexpr uint32_t MCASP_RSTAT = 0x80;
constexpr uint32_t MCASP_RCLKCHK = 0x88;
constexpr uint32_t MCASP_XGBLCTL = 0xA0;
constexpr uint32_t MCASP_XMASK = 0xA4;
constexpr uint32_t MCASP_XFMT = 0xA8;
constexpr uint32_t MCASP_AFSXCTL = 0xAC;
constexpr uint32_t MCASP_ACLKXCTL = 0xB0;
constexpr uint32_t MCASP_AHCLKXCTL = 0xB4;
constexpr uint32_t MCASP_XTDM = 0xB8;
constexpr uint32_t MCASP_XINTCTL = 0xBC;
constexpr uint32_t MCASP_XSTAT = 0xC0;
constexpr uint32_t MCASP_XCLKCHK = 0xC8;
constexpr uint32_t MCASP_SRCTL0 = 0x180;
constexpr uint32_t MCASP_SRCTL1 = 0x184;
constexpr uint32_t MCASP_XBUF0 = 0x200;
constexpr uint32_t MCASP_RBUF1 = 0x284;

constexpr uint32_t SRCTL_XRDY = 0x0010;
constexpr uint32_t SRCTL_RRDY = 0x0020;

constexpr uint32_t CM_PER_MCASP0_CLKCTRL = 0x238;
constexpr uint32_t CM_PER_MODULE_ENABLE = 2;

constexpr uint32_t kWritePolls = 0x7FFFFFFF;
constexpr uint32_t kReadPolls = 0xFFFFF;
constexpr uint32_t kSetupPolls = 0xFFFFF;

// Mapping state: descriptor, mapped block and register base (null when the
// link is not set up) live in the accessor's mapping record.
McaspMapping local_mcasp_memblock;
// One whole link operation at a time.
std::mutex local_mcasp_oplock;

std::atomic<uint32_t> writePollLimit{kWritePolls};
std::atomic<uint32_t> readPollLimit{kReadPolls};
std::atomic<uint32_t> setupPollLimit{kSetupPolls};

void say(const char* text)
{
    std::printf("%s\n", text);
    std::fflush(stdout);
}

// ---- One operation's pieces (the caller holds local_mcasp_oplock) ----------

int sendFrameLocked(uint32_t frame)
{
    if (local_mcasp_memblock.addr != nullptr) {
        const uint32_t limit = writePollLimit.load();
        for (uint32_t i = 0; i < limit; ++i) {
            if (zodrv::mcaspRegRead(local_mcasp_memblock, MCASP_SRCTL0) & SRCTL_XRDY) {
                zodrv::mcaspRegWrite(local_mcasp_memblock, MCASP_XBUF0, frame);
                return 0;
            }
        }
    }
    std::printf("WRITE_REG_XBUF0 data:0x%x ERROR(SRCTL0 & 0x0010)\n", frame);
    std::fflush(stdout);
    return -1;
}

int receiveWordLocked(uint32_t* raw)
{
    uint32_t state = 0;
    if (local_mcasp_memblock.addr != nullptr) {
        const uint32_t limit = readPollLimit.load();
        for (uint32_t i = 0; i < limit; ++i) {
            state = zodrv::mcaspRegRead(local_mcasp_memblock, MCASP_SRCTL1);
            if (state & SRCTL_RRDY) {
                *raw = zodrv::mcaspRegRead(local_mcasp_memblock, MCASP_RBUF1);
                return 0;
            }
        }
    }
    std::printf("READ_REG_RBUF1 ERROR (SRCTL1 & 0x0020 (0x%x))\n", state);
    std::fflush(stdout);
    return -1;
}

uint32_t frameOf(uint16_t addr, uint16_t data)
{
    return (static_cast<uint32_t>(addr) << 16) | data;
}

int sendReadCommandLocked(uint16_t addr, uint16_t count)
{
    if (sendFrameLocked(frameOf(MCASP_FPGA_READ_ADDR, addr)) != 0)
        return -1;
    if (sendFrameLocked(frameOf(MCASP_FPGA_READ_COUNT, count)) != 0)
        return -1;
    if (sendFrameLocked(frameOf(MCASP_FPGA_READ_TRIGGER, MCASP_FPGA_READ_MAGIC)) != 0)
        return -1;
    return 0;
}

// One read command for count words starting at addr; words[] gets the low halves.
int readWordsLocked(uint16_t addr, uint16_t* words, uint16_t count)
{
    if (sendReadCommandLocked(addr, count) != 0)
        return -1;
    for (uint16_t i = 0; i < count; ++i) {
        uint32_t raw = 0;
        if (receiveWordLocked(&raw) != 0)
            return -1;
        words[i] = static_cast<uint16_t>(raw & 0xFFFF);
    }
    return 0;
}

int readOne(uint16_t addr, uint16_t* out)
{
    std::lock_guard<std::mutex> lock(local_mcasp_oplock);
    return readWordsLocked(addr, out, 1);
}

// A burst read of any number of words, in commands of at most 0xFFFF words.
int readBurst(uint16_t addr, uint16_t* out, uint32_t count)
{
    std::lock_guard<std::mutex> lock(local_mcasp_oplock);
    uint32_t done = 0;
    while (done < count) {
        const uint16_t chunk = static_cast<uint16_t>(std::min<uint32_t>(count - done, 0xFFFF));
        if (readWordsLocked(static_cast<uint16_t>(addr + 2 * done), out + done, chunk) != 0)
            return -1;
        done += chunk;
    }
    return 0;
}

// Sets one start bit of a global control register and waits for it to read back.
bool startBit(const McaspMapping& m, uint32_t reg, uint32_t bit, const char* message)
{
    zodrv::mcaspRegWrite(m, reg, zodrv::mcaspRegRead(m, reg) | bit);
    const uint32_t limit = setupPollLimit.load();
    for (uint32_t i = 0; i < limit; ++i) {
        if ((zodrv::mcaspRegRead(m, reg) & bit) == bit)
            return true;
    }
    say(message);
    return false;
}

} // namespace

int drv_mcasp_init()
{
    std::lock_guard<std::mutex> lock(local_mcasp_oplock);
    // A second set-up starts from scratch; until it succeeds the link is down.
    zodrv::mcaspMapClose(local_mcasp_memblock);

    McaspMapping clock;
    if (!zodrv::mcaspMapOpen(clock, zodrv::CM_PER_BASE, zodrv::CM_PER_SIZE)) {
        say("drv_mcasp_init CM_PER_BASE map mem dev error");
        return -1;
    }
    zodrv::mcaspRegWrite(clock, CM_PER_MCASP0_CLKCTRL, CM_PER_MODULE_ENABLE);
    zodrv::mcaspMapClose(clock);

    McaspMapping m;
    if (!zodrv::mcaspMapOpen(m, zodrv::MCASP0_BASE, zodrv::MCASP0_SIZE)) {
        say("drv_mcasp_init DAVINCI_MCASP0_BASE map mem dev error");
        return -1;
    }

    // Reset.
    zodrv::mcaspRegWrite(m, MCASP_GBLCTL, 0);
    zodrv::mcaspRegWrite(m, MCASP_RGBLCTL, 0);
    zodrv::mcaspRegWrite(m, MCASP_XGBLCTL, 0);
    zodrv::mcaspRegWrite(m, MCASP_PWRIDLESYSCONFIG, 2);
    // Receive format.
    zodrv::mcaspRegWrite(m, MCASP_RMASK, 0xFFFFFFFF);
    zodrv::mcaspRegWrite(m, MCASP_RFMT, 0x80F8);
    zodrv::mcaspRegWrite(m, MCASP_AFSRCTL, 0);
    zodrv::mcaspRegWrite(m, MCASP_ACLKRCTL, 0);
    zodrv::mcaspRegWrite(m, MCASP_AHCLKRCTL, 0x8001);
    zodrv::mcaspRegWrite(m, MCASP_RTDM, 1);
    zodrv::mcaspRegWrite(m, MCASP_RINTCTL, 0);
    zodrv::mcaspRegWrite(m, MCASP_RCLKCHK, 0);
    // Transmit format.
    zodrv::mcaspRegWrite(m, MCASP_XMASK, 0xFFFFFFFF);
    zodrv::mcaspRegWrite(m, MCASP_XFMT, 0x80F8);
    zodrv::mcaspRegWrite(m, MCASP_AFSXCTL, 2);
    zodrv::mcaspRegWrite(m, MCASP_ACLKXCTL, 0x60);
    zodrv::mcaspRegWrite(m, MCASP_AHCLKXCTL, 0x8001);
    zodrv::mcaspRegWrite(m, MCASP_XTDM, 1);
    zodrv::mcaspRegWrite(m, MCASP_XINTCTL, 0);
    zodrv::mcaspRegWrite(m, MCASP_XCLKCHK, 0);
    // Serialisers: 0 transmits, 1 receives.
    zodrv::mcaspRegWrite(m, MCASP_SRCTL0, 1);
    zodrv::mcaspRegWrite(m, MCASP_SRCTL1, 2);
    zodrv::mcaspRegWrite(m, MCASP_XBUF0, 0);
    zodrv::mcaspRegWrite(m, MCASP_RBUF1, 0);
    zodrv::mcaspRegWrite(m, MCASP_PFUNC, 0);
    zodrv::mcaspRegWrite(m, MCASP_PDIR, 0x1C000001);
    zodrv::mcaspRegWrite(m, MCASP_DITCTL, 0);
    zodrv::mcaspRegWrite(m, MCASP_DLBCTL, 0);
    zodrv::mcaspRegWrite(m, MCASP_AMUTE, 0);

    struct Step
    {
        uint32_t reg;
        uint32_t bit;
        const char* message;
    };
    static const Step clocks[] = {
        {MCASP_RGBLCTL, 0x0002, "drv_mcasp_init MCASP_RGBLCTLcheck0x0002error "},
        {MCASP_XGBLCTL, 0x0200, "drv_mcasp_init MCASP_XGBLCTLcheck0x0200error "},
        {MCASP_RGBLCTL, 0x0001, "drv_mcasp_init MCASP_RGBLCTLcheck0x0001error "},
        {MCASP_XGBLCTL, 0x0100, "drv_mcasp_init MCASP_XGBLCTLcheck0x0100error "},
    };
    static const Step machines[] = {
        {MCASP_RGBLCTL, 0x0004, "drv_mcasp_init MCASP_RGBLCTLcheck0x0004error "},
        {MCASP_XGBLCTL, 0x0400, "drv_mcasp_init MCASP_XGBLCTLcheck0x0400error "},
        {MCASP_RGBLCTL, 0x0008, "drv_mcasp_init MCASP_RGBLCTLcheck0x0008error "},
        {MCASP_XGBLCTL, 0x0800, "drv_mcasp_init MCASP_XGBLCTLcheck0x0800error "},
        {MCASP_RGBLCTL, 0x0010, "drv_mcasp_init MCASP_RGBLCTLcheck0x0010error "},
        {MCASP_XGBLCTL, 0x1000, "drv_mcasp_init MCASP_XGBLCTLcheck0x1000error "},
    };
    for (const Step& s : clocks) {
        if (!startBit(m, s.reg, s.bit, s.message)) {
            zodrv::mcaspMapClose(m);
            return -1;
        }
    }
    zodrv::mcaspRegWrite(m, MCASP_XSTAT, 0xFFFF);
    zodrv::mcaspRegWrite(m, MCASP_RSTAT, 0xFFFF);
    for (const Step& s : machines) {
        if (!startBit(m, s.reg, s.bit, s.message)) {
            zodrv::mcaspMapClose(m);
            return -1;
        }
    }
    local_mcasp_memblock = m;
    return 0;
}

int drv_mcasp_release()
{
    std::lock_guard<std::mutex> lock(local_mcasp_oplock);
    zodrv::mcaspMapClose(local_mcasp_memblock);
    return 0;
}

int drv_mcasp_write_u16(uint16_t addr, uint16_t value)
{
    std::lock_guard<std::mutex> lock(local_mcasp_oplock);
    return sendFrameLocked(frameOf(addr, value));
}

int drv_mcasp_write_u32(uint16_t addr, uint32_t value)
{
    // Both halves in one operation, so no other frame lands between them.
    std::lock_guard<std::mutex> lock(local_mcasp_oplock);
    if (sendFrameLocked(frameOf(addr, static_cast<uint16_t>(value & 0xFFFF))) != 0)
        return -1;
    return sendFrameLocked(frameOf(static_cast<uint16_t>(addr + 2), static_cast<uint16_t>(value >> 16)));
}

int drv_mcasp_write_u16s(uint16_t addr, const uint16_t* values, uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i) {
        if (drv_mcasp_write_u16(static_cast<uint16_t>(addr + 2 * i), values[i]) != 0)
            return -1;
    }
    return 0;
}

int drv_mcasp_write_u32s(uint16_t addr, const uint32_t* values, uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i) {
        if (drv_mcasp_write_u32(addr, values[i]) != 0)
            return -1;
    }
    return 0;
}

int drv_mcasp_read_u16(uint16_t addr, uint16_t* out)
{
    uint16_t word = 0;
    if (readOne(addr, &word) != 0)
        return -1;
    *out = word;
    return 0;
}

int drv_mcasp_read_u32(uint16_t addr, uint32_t* out)
{
    uint16_t low = 0;
    uint16_t high = 0;
    std::lock_guard<std::mutex> lock(local_mcasp_oplock);
    if (readWordsLocked(addr, &low, 1) != 0)
        return -1;
    if (readWordsLocked(static_cast<uint16_t>(addr + 2), &high, 1) != 0)
        return -1;
    *out = (static_cast<uint32_t>(high) << 16) | low;
    return 0;
}

int drv_mcasp_read_u16s(uint16_t addr, uint16_t* out, uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i) {
        if (drv_mcasp_read_u16(static_cast<uint16_t>(addr + 2 * i), &out[i]) != 0)
            return -1;
    }
    return 0;
}

int drv_mcasp_read_u32s(uint16_t addr, uint32_t* out, uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i) {
        if (drv_mcasp_read_u32(static_cast<uint16_t>(addr + 4 * i), &out[i]) != 0)
            return -1;
    }
    return 0;
}

int drv_mcasp_read_u32b(uint16_t addr, uint32_t* out)
{
    uint16_t words[2] = {0, 0};
    if (readBurst(addr, words, 2) != 0)
        return -1;
    *out = words[0] | (static_cast<uint32_t>(words[1]) << 16);
    return 0;
}

int drv_mcasp_read_u16sb(uint16_t addr, uint16_t* out, uint32_t count)
{
    std::vector<uint16_t> words(count);
    if (readBurst(addr, words.data(), count) != 0)
        return -1;
    std::copy(words.begin(), words.end(), out);
    return 0;
}

int drv_mcasp_read_u32sb(uint16_t addr, uint32_t* out, uint32_t count)
{
    std::vector<uint16_t> words(2 * static_cast<size_t>(count));
    if (readBurst(addr, words.data(), 2 * count) != 0)
        return -1;
    for (uint32_t i = 0; i < count; ++i)
        out[i] = words[2 * i] | (static_cast<uint32_t>(words[2 * i + 1]) << 16);
    return 0;
}

int drv_mcasp_demo_testwrite()
{
    const uint16_t addr = 0x815A;
    const uint16_t value = 20001;
    const uint32_t frame = frameOf(addr, value);
    int result;
    {
        std::lock_guard<std::mutex> lock(local_mcasp_oplock);
        result = sendFrameLocked(frame);
    }
    std::printf("****write addr:0x%x val 0x%x dataw 0x%x \n", addr, value, frame);
    std::fflush(stdout);
    return result;
}

int drv_mcasp_demo_testread()
{
    const uint16_t addr = 0x800A;
    uint32_t raw[2] = {0, 0};
    int result = 0;
    {
        std::lock_guard<std::mutex> lock(local_mcasp_oplock);
        result = sendReadCommandLocked(addr, 2);
        for (int i = 0; i < 2 && result == 0; ++i)
            result = receiveWordLocked(&raw[i]);
    }
    std::printf("**** read addr:0x%04x datar1:0x%08x value1:0x%08x datar2:0x%08x value2:0x%08x\n", addr, raw[0],
                raw[0] & 0xFFFF, raw[1], raw[1] & 0xFFFF);
    std::fflush(stdout);
    return result;
}

void drv_mcasp_set_poll_limits(uint32_t writePolls, uint32_t readPolls, uint32_t setupPolls)
{
    writePollLimit.store(writePolls);
    readPollLimit.store(readPolls);
    setupPollLimit.store(setupPolls);
}

void drv_mcasp_reset_poll_limits()
{
    drv_mcasp_set_poll_limits(kWritePolls, kReadPolls, kSetupPolls);
}

// ---- Process-shared mutex in the file "mcaspMutex" ------------------------

namespace {
constexpr size_t kMutexFileSize = sizeof(pthread_mutex_t) > 40 ? sizeof(pthread_mutex_t) : 40;
std::mutex local_mcasp_mutexguard;
pthread_mutex_t* local_mcasp_mutex = nullptr;
int local_mcasp_mutexfd = -1;
} // namespace

int mcaspMutexInit()
{
    std::lock_guard<std::mutex> guard(local_mcasp_mutexguard);
    if (local_mcasp_mutex != nullptr)
        return 0;
    zoplat::makeDir(QStringLiteral("/var/run"));
    const QByteArray path = zoplat::devicePath(QStringLiteral("/var/run/mcaspMutex")).toLocal8Bit();
    const int fd = open(path.constData(), O_RDWR | O_CREAT, 0666);
    if (fd < 0) {
        std::printf("mcaspMutexInit open %s error\n", path.constData());
        return -1;
    }
    void* p = MAP_FAILED;
    if (ftruncate(fd, static_cast<off_t>(kMutexFileSize)) == 0)
        p = mmap(nullptr, kMutexFileSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (p == MAP_FAILED) {
        std::printf("mcaspMutexInit map %s error\n", path.constData());
        close(fd);
        return -1;
    }
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_setpshared(&attr, PTHREAD_PROCESS_SHARED);
    auto* mutex = static_cast<pthread_mutex_t*>(p);
    const int rc = pthread_mutex_init(mutex, &attr);
    pthread_mutexattr_destroy(&attr);
    if (rc != 0) {
        munmap(p, kMutexFileSize);
        close(fd);
        return -1;
    }
    local_mcasp_mutex = mutex;
    local_mcasp_mutexfd = fd;
    return 0;
}

int mcaspMutexRelease()
{
    std::lock_guard<std::mutex> guard(local_mcasp_mutexguard);
    if (local_mcasp_mutex != nullptr) {
        munmap(local_mcasp_mutex, kMutexFileSize);
        local_mcasp_mutex = nullptr;
    }
    if (local_mcasp_mutexfd >= 0) {
        close(local_mcasp_mutexfd);
        local_mcasp_mutexfd = -1;
    }
    return 0;
}

int mcaspMutexLock()
{
    pthread_mutex_t* mutex = local_mcasp_mutex;
    return (mutex != nullptr && pthread_mutex_lock(mutex) == 0) ? 0 : -1;
}

int mcaspMutexUnlock()
{
    pthread_mutex_t* mutex = local_mcasp_mutex;
    return (mutex != nullptr && pthread_mutex_unlock(mutex) == 0) ? 0 : -1;
}
