#include "zobase_mysystem.h"

#include "zoplatform.h"

#include <cstdio>
#include <cstring>

namespace {

// The shell forms these helpers stand for were composed in a 255-character
// buffer; a name that would not have fitted is refused, never cut.
constexpr size_t kCommandBuffer = 255;

bool fitsCommand(const char* verb, const char* a, const char* b = nullptr)
{
    size_t length = strlen(verb) + strnlen(a, kCommandBuffer);
    if (b != nullptr)
        length += 1 + strnlen(b, kCommandBuffer);
    return length < kCommandBuffer;
}

void runAndShow(const char* command)
{
    const zoplat::CommandResult r = zoplat::runCommand(QString::fromLatin1(command));
    if (!r.output.isEmpty()) {
        fwrite(r.output.constData(), 1, size_t(r.output.size()), stdout);
        fflush(stdout);
    }
}

} // namespace

void _my_system_settime(u32* seconds, f32* zone)
{
    if (zone != nullptr) {
        const f32 minutes = *zone * 60.0f;
        zoplat::setTimeZoneMinutesWest(int(minutes));
    }
    if (seconds != nullptr)
        zoplat::setSystemTime(int64_t(*seconds));
    runAndShow("hwclock -w");
    runAndShow("date");
}

u64 _my_system_getclocktime_nanosecond()
{
    const int64_t ns = zoplat::systemTimeNs();
    return ns > 0 ? u64(ns) : 0;
}

u64 _my_system_gettimeofday_microsecond()
{
    const int64_t ns = zoplat::systemTimeNs();
    return ns > 0 ? u64(ns / 1000) : 0;
}

u32 _my_system_gettime_second()
{
    const int64_t ns = zoplat::systemTimeNs();
    return ns > 0 ? u32(ns / 1000000000) : 0;
}

u64 _my_system_getnowmstime()
{
    const int64_t ns = zoplat::systemTimeNs();
    return ns > 0 ? u64(ns / 1000000) : 0;
}

void _my_system_reboot()
{
    printf("rebootsys\n");
    fflush(stdout);
    zoplat::runCommand(QStringLiteral("reboot &"));
}

void _my_system_cpfile(const char* from, const char* to)
{
    if (from == nullptr || to == nullptr || *from == '\0' || *to == '\0') {
        printf("_my_system_cpfile: no file name\n");
        return;
    }
    if (!fitsCommand("cp -f ", from, to)) {
        printf("_my_system_cpfile: name too long\n");
        return;
    }
    zoplat::copyFile(QString::fromLocal8Bit(from), QString::fromLocal8Bit(to));
    zoplat::syncFileSystems();
}

s32 _my_system_rmfile(const char* fileName)
{
    if (fileName == nullptr || *fileName == '\0') {
        printf("_my_system_rmfile: no file name\n");
        return -1;
    }
    if (!fitsCommand("rm -f ", fileName)) {
        printf("_my_system_rmfile: name too long\n");
        return -1;
    }
    s32 status = zoplat::removeFile(QString::fromLocal8Bit(fileName));
    if (status == 0)
        status += zoplat::syncFileSystems();
    return status;
}

s32 _my_system_mkdir(const char* dirName)
{
    if (dirName == nullptr || *dirName == '\0') {
        printf("_my_system_mkdir: no folder name\n");
        return -1;
    }
    if (!fitsCommand("mkdir -p ", dirName)) {
        printf("_my_system_mkdir: name too long\n");
        return -1;
    }
    s32 status = zoplat::makeDir(QString::fromLocal8Bit(dirName));
    if (status == 0)
        status += zoplat::syncFileSystems();
    return status;
}
