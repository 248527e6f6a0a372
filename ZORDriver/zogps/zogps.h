#pragma once

// GNSS time synchronisation: one thread finds the receiver's baud rate on its
// serial port (zoplat::gnssSerialDevice(), "/dev/ttyO4" on the device),
// configures the receiver (PMTK-command, u-blox and PTNL families) and then
// parses NMEA GGA, ZDA and GSV sentences into gps_sync_data. The test clock
// takes the current UTC second from gps_sync_get_utcseconds().
//
// Functions return 0 for success and -1 for failure and print their messages
// to standard output.

#include <atomic>
#include <cstdint>
#include <ctime>

// gpsgbd_enable: the constellation command pending for the receiver.
enum gps_sync_gnss_select_type {
    GPS_SYNC_GNSS_APPLIED = 0,       // nothing pending
    GPS_SYNC_GNSS_UBLOX_GPS = 1,     // u-blox commands
    GPS_SYNC_GNSS_UBLOX_BD = 2,
    GPS_SYNC_GNSS_UBLOX_BOTH = 3,
    GPS_SYNC_GNSS_SKYLAB_GPS = 4,    // PMTK commands
    GPS_SYNC_GNSS_SKYLAB_BD = 5,
    GPS_SYNC_GNSS_SKYLAB_BOTH = 6,
};

// The GNSS thread writes the record; other threads read the atomic fields.
// gps_time and gbd_time belong to the GNSS thread.
struct gps_sync_data
{
    std::atomic<uint32_t> running_enable{1};   // the thread runs while non-zero
    std::atomic<uint32_t> update_enable{1};    // constellation command pending
    std::atomic<uint32_t> gpsgbd_enable{GPS_SYNC_GNSS_SKYLAB_BOTH};
    std::atomic<time_t> gps_utc_seconds{0};    // last GPS (or combined) ZDA
    std::atomic<time_t> gbd_utc_seconds{0};    // last BeiDou (or combined) ZDA
    struct tm gps_time {};
    struct tm gbd_time {};
    std::atomic<int32_t> gps_fixstatus{0};     // GGA fix quality
    std::atomic<int32_t> gbd_fixstatus{0};
    std::atomic<int32_t> gps_svcts{0};         // satellite counts
    std::atomic<int32_t> gbd_svcts{0};
    std::atomic<int32_t> local_timezone{0};    // not used by the driver
    std::atomic<int32_t> local_utcoffset{0};   // s added to a valid time on request
    std::atomic<int32_t> local_baudrate{1};    // baud index after a PTNL port command
};

// The process-wide record; null before gps_sync_init_handle().
extern gps_sync_data* gps_sync_handle;

// 1 while a ZDA sentence is being converted (readers wait for it).
extern std::atomic<int> local_utclock_enable;

// ---- Record and thread ------------------------------------------------------

// Allocates the record with its initial values (an existing one is kept).
int gps_sync_init_handle();
// Stops the thread if it runs, then frees the record.
void gps_sync_release_handle();

// The thread body: open the port, scan, configure, parse until
// running_enable is cleared, close the port. arg is unused.
void* gps_sync_task(void* arg);
// Starts the thread on the record (running_enable = 1); 0 on success, also
// when it already runs; -1 without a record or when no thread can be made.
int gps_sync_task_start();
// Clears running_enable and joins the thread; nothing when none runs.
void gps_sync_task_stop();
// 1 while the receiver's constellation command has not been applied yet
// (the clock takes no GNSS second until then), else 0.
int gps_sync_config_pending();

// UTC seconds of the receiver: BeiDou's when it sees more satellites, else
// GPS's; withOffset adds local_utcoffset to a positive result. 0 without a
// record.
time_t gps_sync_get_utcseconds(int withOffset);
time_t nmea_get_utcseconds(gps_sync_data* data);

// ---- Serial port ------------------------------------------------------------

// Baud index: 0 4800, 1 9600, 2 19200, 3 38400, 4 57600, 5 115200.
constexpr int GPS_UART_BAUD_COUNT = 6;

int gps_uart_open(const char* path);          // raw 8N1, non-blocking; fd or -1
void gps_uart_close(int fd);
int gps_uart_baud_set(int fd, int index);     // any other index: 9600
int gps_uart_baud_next(int fd);               // the next index, wrapping after 5
int gps_uart_baud_index();                    // the index last set
void gps_uart_baud_print(int index);
void gps_uart_print_info(int fd);
void gps_uart_flush(int fd);                  // both queues
int gps_uart_send(int fd, const void* bytes, int length);

// Finds the baud rate and configures the receiver; -1 when stopped first.
int gps_uart_scan(int fd, uint8_t* buffer, int size);
// Applies pending constellation commands and parses sentences until stopped.
int gps_uart_parse(int fd, uint8_t* buffer, int size);

// ---- NMEA and TSIP ----------------------------------------------------------

// Complete NMEA lines ("$G" up to CR or LF) in the bytes.
int nmea_check_length(const uint8_t* bytes, int length);
// Complete TSIP packets (DLE id ... DLE ETX) in the bytes.
int tsip_check_length(const uint8_t* bytes, int length);
// XOR of the characters between '$' and '*'.
uint8_t nmea_checksum(const char* sentence, int length);
// Dispatches one sentence ("$" up to and including its LF); a sentence whose
// checksum is present and wrong, or whose type the dispatch table does not
// list, changes nothing. 1 when it was used, else 0.
int nmea_parse_sentence(gps_sync_data* data, const char* sentence, int length);
// Splits the bytes into sentences and dispatches them; returns how many bytes
// were used (an incomplete sentence at the end is left for the next read).
int nmea_parse_buffer(gps_sync_data* data, const uint8_t* bytes, int length);

// ---- Receiver configuration -------------------------------------------------

void skylab_set_config(int fd);                    // PMTK: GPS+BeiDou, GGA and ZDA
void skylab_set_gpsenable(int fd, uint32_t select); // 4, 5, 6; others ignored
void ublox_set_config(int fd);                     // CFG-MSG: GGA, ZDA, GSV on
void ublox_set_gpsenable(int fd, uint32_t select);  // 1, 2, 3; others ignored
int nmea_ptnl_set_port(int fd);                    // "$PTNLSPT", 0 when acknowledged
int nmea_ptnl_set_nmea(int fd);                    // "$PTNLSNM"
int nmea_ptnl_set_pps(int fd);                     // "$PTNLSPS"
void nmea_ptnl_setting(int fd);                    // the last two, unacknowledged

// The u-blox frames sent (sync, class, id, length, payload, checksum).
int ublox_frame(uint8_t cls, uint8_t id, const uint8_t* payload, int length, uint8_t* frame, int size);
// The 60-byte CFG-GNSS payload for select 1, 2 or 3.
void ublox_gnss_payload(uint32_t select, uint8_t payload[60]);
