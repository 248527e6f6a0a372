#include "zocmn_net_reject_log.h"

#include "zoplatform.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace {

constexpr int64_t kReportIntervalMs = 1000;

struct RejectLog
{
    std::mutex mutex;
    u64 count = 0;       // rejections on this connection
    u64 told = 0;        // of them, counted in a line already
    int64_t lastLineMs = 0;
    bool anyLine = false;
};

RejectLog& rejectLog()
{
    static RejectLog* log = new RejectLog();   // still there for threads joined at exit
    return *log;
}

} // namespace

void net_reject_note(const char* format, ...)
{
    RejectLog& log = rejectLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    ++log.count;
    const int64_t now = zoplat::monotonicMs();
    if (log.anyLine && now - log.lastLineMs < kReportIntervalMs)
        return;
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    printf("%s [%llu rejected on this connection]\n", text, static_cast<unsigned long long>(log.count));
    fflush(stdout);
    log.told = log.count;
    log.lastLineMs = now;
    log.anyLine = true;
}

void net_reject_connection_begin()
{
    RejectLog& log = rejectLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    log.count = 0;
    log.told = 0;
    log.anyLine = false;
}

void net_reject_connection_end()
{
    RejectLog& log = rejectLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    if (log.count > log.told) {
        printf("%llu requests rejected on this connection\n", static_cast<unsigned long long>(log.count));
        fflush(stdout);
    }
    log.count = 0;
    log.told = 0;
    log.anyLine = false;
}
