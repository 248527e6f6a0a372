// The GNSS thread: baud scan, receiver configuration and the parse loop.

#include "zogps.h"
#include "zogps_internal.h"

#include "zoplatform.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <pthread.h>
#include <random>
#include <termios.h>
#include <time.h>
#include <unistd.h>

gps_sync_data* gps_sync_handle = nullptr;

namespace {

constexpr int kBufferSize = 1024;
constexpr int kScanPasses = 5;
constexpr int kScanMinBytes = 10;       // fewer in one collection: next baud at once
constexpr int kScanSettledBytes = 32;   // an empty read after this many ends a collection
constexpr int kScanEmptyReads = 4;
constexpr int kScanMisses = 8;          // collections without a packet before the next baud
constexpr int kScanReadMs = 200;
constexpr int kParseReadMs = 100;
// Longest wait for the first byte of a collection: a pending constellation
// command set from outside is seen at least this often.
constexpr int kParseIdleMs = 1000;
constexpr int kTailLimit = 256;         // an unfinished sentence longer than this is noise

std::mutex threadMutex;
pthread_t gpsThread;
bool gpsThreadStarted = false;

// Collects scan bytes: a read every 200 ms until an empty read once at least
// 32 bytes are in, or four empty reads.
int scanCollect(int fd, uint8_t* buffer, int size)
{
    int length = 0;
    int empty = 0;
    while (gps_sync_running() && length < size) {
        zoplat::sleepMs(kScanReadMs);
        const ssize_t n = read(fd, buffer + length, size_t(size - length));
        if (n > 0) {
            length += int(n);
            continue;
        }
        ++empty;
        if (length >= kScanSettledBytes || empty >= kScanEmptyReads)
            break;
    }
    return length;
}

// Ends the parse loop's wait for input when the thread is stopped. Never
// destroyed: a stop at exit may come after static destructors ran.
zoplat::Wakeup& parseWakeup()
{
    static zoplat::Wakeup* wakeup = new zoplat::Wakeup(kParseReadMs);
    return *wakeup;
}

void scanNextBaud(int fd)
{
    gps_uart_baud_next(fd);
    gps_nap_us(200);
    gps_uart_flush(fd);
    gps_nap_us(200);
}

} // namespace

// ---- Shared helpers ---------------------------------------------------------

bool gps_sync_running()
{
    gps_sync_data* data = gps_sync_handle;
    return data != nullptr && data->running_enable != 0;
}

bool gps_pause(int64_t ms)
{
    zoplat::sleepMs(ms);
    return gps_sync_running();
}

void gps_nap_us(int us)
{
    if (us <= 0)
        return;
    timespec ts{0, long(us) * 1000L};
    nanosleep(&ts, nullptr);
}

void gps_print(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    fflush(stdout);
}

// ---- Record -----------------------------------------------------------------

int gps_sync_init_handle()
{
    if (gps_sync_handle == nullptr)
        gps_sync_handle = new gps_sync_data;
    return 0;
}

void gps_sync_release_handle()
{
    gps_sync_task_stop();
    delete gps_sync_handle;
    gps_sync_handle = nullptr;
}

int gps_sync_config_pending()
{
    gps_sync_data* data = gps_sync_handle;
    if (data == nullptr)
        return 1;
    return (data->update_enable != 0 || data->gpsgbd_enable != GPS_SYNC_GNSS_APPLIED) ? 1 : 0;
}

time_t nmea_get_utcseconds(gps_sync_data* data)
{
    if (data == nullptr)
        return 0;
    while (local_utclock_enable != 0)
        gps_nap_us(10);
    if (data->gbd_svcts > data->gps_svcts)
        return data->gbd_utc_seconds;
    return data->gps_utc_seconds;
}

time_t gps_sync_get_utcseconds(int withOffset)
{
    gps_sync_data* data = gps_sync_handle;
    if (data == nullptr)
        return 0;
    time_t seconds = nmea_get_utcseconds(data);
    if (withOffset && seconds > 0)
        seconds += data->local_utcoffset;
    return seconds;
}

// ---- Thread -----------------------------------------------------------------

int gps_sync_task_start()
{
    std::lock_guard<std::mutex> lock(threadMutex);
    if (gps_sync_handle == nullptr)
        return -1;
    if (gpsThreadStarted)
        return 0;
    gps_sync_handle->running_enable = 1;
    // A thread still reading its port while the process exits would run into
    // torn-down statics: the thread is ended before them.
    static bool stopRegistered = false;
    if (!stopRegistered) {
        std::atexit([] { gps_sync_task_stop(); });
        stopRegistered = true;
    }
    if (pthread_create(&gpsThread, nullptr, gps_sync_task, gps_sync_handle) != 0)
        return -1;
    gpsThreadStarted = true;
    return 0;
}

void gps_sync_task_stop()
{
    std::lock_guard<std::mutex> lock(threadMutex);
    if (!gpsThreadStarted)
        return;
    if (gps_sync_handle != nullptr)
        gps_sync_handle->running_enable = 0;
    parseWakeup().wake();
    pthread_join(gpsThread, nullptr);
    gpsThreadStarted = false;
}

void* gps_sync_task(void* /*arg*/)
{
    gps_sync_data* data = gps_sync_handle;
    if (data == nullptr)
        return nullptr;
    pthread_setname_np(pthread_self(), "gnss");   // not the starting thread's name
    const QByteArray path = zoplat::gnssSerialDevice().toUtf8();
    const int fd = gps_uart_open(path.constData());
    if (fd < 0)
        return nullptr;
    gps_uart_baud_set(fd, data->local_baudrate);
    tcflush(fd, TCIFLUSH);

    static_assert(kBufferSize > kTailLimit, "the parse buffer holds an unfinished sentence and more");
    uint8_t* buffer = new uint8_t[kBufferSize];
    for (int pass = 0; pass < kScanPasses && data->running_enable != 0; ++pass) {
        if (pass == 0) {
            gps_uart_scan(fd, buffer, kBufferSize);
            gps_print("[ZODIVUZOZI] GPS_UART_SCAN \n");
        }
        gps_uart_parse(fd, buffer, kBufferSize);
    }
    delete[] buffer;
    gps_uart_close(fd);
    return nullptr;
}

int gps_uart_scan(int fd, uint8_t* buffer, int size)
{
    gps_sync_data* data = gps_sync_handle;
    if (data == nullptr)
        return -1;
    data->update_enable = 1;
    local_utclock_enable = 0;
    gps_uart_flush(fd);
    std::minstd_rand random(uint32_t(time(nullptr)));
    auto jitterUs = [&random]() { return int(random() % 1000); };

    bool found = false;
    int misses = 0;
    while (gps_sync_running()) {
        gps_nap_us(jitterUs());
        zoplat::sleepMs(100);
        gps_nap_us(jitterUs());
        const int length = scanCollect(fd, buffer, size);
        gps_nap_us(10);
        gps_nap_us(jitterUs());
        if (!gps_sync_running())
            break;
        if (length >= kScanMinBytes) {
            if (tsip_check_length(buffer, length) > 0 || nmea_check_length(buffer, length) > 0) {
                found = true;
                break;
            }
            if (++misses >= kScanMisses) {
                scanNextBaud(fd);
                misses = 0;
            }
        } else {
            scanNextBaud(fd);
            misses = 0;
        }
    }
    if (!found)
        return -1;

    gps_uart_baud_print(gps_uart_baud_index());
    const uint32_t select = data->gpsgbd_enable;
    if (select != GPS_SYNC_GNSS_UBLOX_GPS && select != GPS_SYNC_GNSS_UBLOX_BD && select != GPS_SYNC_GNSS_UBLOX_BOTH) {
        data->gpsgbd_enable = GPS_SYNC_GNSS_SKYLAB_GPS;
        gps_print("GPS skylab Config \n");
        skylab_set_config(fd);
        return 0;
    }
    nmea_ptnl_set_port(fd);
    if (gps_sync_running())
        nmea_ptnl_set_nmea(fd);
    if (gps_sync_running())
        nmea_ptnl_set_pps(fd);
    if (!gps_sync_running())
        return -1;
    gps_print("GPS ublox Config \n");
    ublox_set_config(fd);
    data->gpsgbd_enable = GPS_SYNC_GNSS_SKYLAB_GPS;
    gps_print("GPS skylab Config \n");
    skylab_set_config(fd);
    return 0;
}

int gps_uart_parse(int fd, uint8_t* buffer, int size)
{
    gps_sync_data* data = gps_sync_handle;
    if (data == nullptr)
        return -1;
    int kept = 0;   // an unfinished sentence carried over from the last read
    const std::function<bool()> stopOrUpdate = [data] { return !gps_sync_running() || data->update_enable != 0; };
    while (gps_sync_running()) {
        if (data->update_enable != 0) {
            const uint32_t select = data->gpsgbd_enable;
            ublox_set_gpsenable(fd, select);
            skylab_set_gpsenable(fd, select);
            data->gpsgbd_enable = GPS_SYNC_GNSS_APPLIED;
            data->update_enable = 0;
            kept = 0;   // the commands flushed the port
        }

        int length = kept;
        bool got = false;
        while (gps_sync_running() && length < size && data->update_enable == 0) {
            // A collection starts when input comes (not at the next 100 ms
            // step) and ends with the first empty read 100 ms after input.
            bool ready = false;
            if (got) {
                zoplat::sleepMs(kParseReadMs);
            } else {
                const int waited = parseWakeup().waitReadable(fd, kParseIdleMs, stopOrUpdate);
                if (waited < 0)
                    continue;
                ready = waited > 0;
            }
            const ssize_t n = read(fd, buffer + length, size_t(size - length));
            if (n > 0) {
                length += int(n);
                got = true;
            } else if (got) {
                break;
            } else if (ready) {
                zoplat::sleepMs(kParseReadMs);   // a hang-up or an error, no input: read at the 100 ms pace
            }
        }
        if (!got)
            continue;

        const int used = nmea_parse_buffer(data, buffer, length);
        kept = length - used;
        if (kept > kTailLimit || kept >= size)
            kept = 0;   // far longer than any sentence: noise
        else if (kept > 0)
            std::memmove(buffer, buffer + used, size_t(kept));
    }
    return 0;
}
