#include "zocmn_net_reject_log.h"

#include "zoplatform.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace {

constexpr int64_t kReportIntervalMs = 1000;

struct ServiceLog
{
    std::mutex mutex;
    // The service's budget of lines.
    bool started = false;
    int lines = 0;              // left to print now
    int64_t refilledMs = 0;     // the budget counted up to here
    u64 withheld = 0;           // lines not printed since the last one that was
    // Rejections on the current connection.
    u64 count = 0;
    u64 told = 0;               // of them, counted in a line already
    int64_t lastLineMs = 0;     // the last rejection line due (printed or withheld)
    bool anyLine = false;
};

ServiceLog& serviceLog()
{
    static ServiceLog* log = new ServiceLog();   // still there for threads joined at exit
    return *log;
}

// Prints text as one line if the budget has one left, else counts it
// withheld; true when printed. Under the log's mutex.
bool printLine(ServiceLog& log, const char* text)
{
    const int64_t now = zoplat::monotonicMs();
    if (!log.started || now < log.refilledMs) {   // the first line, or a clock set back (tests)
        log.started = true;
        log.lines = NET_LOG_BURST_LINES;
        log.refilledMs = now;
    }
    const int64_t gained = (now - log.refilledMs) / NET_LOG_REFILL_MS;
    log.lines = int(std::min<int64_t>(NET_LOG_BURST_LINES, log.lines + gained));
    log.refilledMs += gained * NET_LOG_REFILL_MS;
    if (log.lines == 0) {
        ++log.withheld;
        return false;
    }
    --log.lines;
    if (log.withheld > 0)
        printf("%s [%llu lines withheld before]\n", text, static_cast<unsigned long long>(log.withheld));
    else
        printf("%s\n", text);
    fflush(stdout);
    log.withheld = 0;
    return true;
}

} // namespace

void net_log_line(const char* format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    ServiceLog& log = serviceLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    printLine(log, text);
}

void net_reject_note(const char* format, ...)
{
    ServiceLog& log = serviceLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    ++log.count;
    const int64_t now = zoplat::monotonicMs();
    if (log.anyLine && now - log.lastLineMs < kReportIntervalMs)
        return;
    log.lastLineMs = now;
    log.anyLine = true;
    char what[224];
    va_list args;
    va_start(args, format);
    vsnprintf(what, sizeof what, format, args);
    va_end(args);
    char text[sizeof what + 64];
    snprintf(text, sizeof text, "%s [%llu rejected on this connection]", what,
             static_cast<unsigned long long>(log.count));
    if (printLine(log, text))
        log.told = log.count;
}

void net_reject_connection_begin()
{
    ServiceLog& log = serviceLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    log.count = 0;
    log.told = 0;
    log.anyLine = false;
}

void net_reject_connection_end()
{
    ServiceLog& log = serviceLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    if (log.count > log.told) {
        char text[64];
        snprintf(text, sizeof text, "%llu requests rejected on this connection",
                 static_cast<unsigned long long>(log.count));
        printLine(log, text);
    }
    log.count = 0;
    log.told = 0;
    log.anyLine = false;
}
