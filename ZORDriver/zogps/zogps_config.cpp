// Receiver configuration: PMTK commands, u-blox UBX frames and the PTNL port
// commands. Each sequence ends early when the thread is being stopped.

#include "zogps.h"
#include "zogps_internal.h"

#include <cstring>
#include <unistd.h>

namespace {

// ---- PMTK -------------------------------------------------------------------

const char kPmtkSearchBoth[] = "$PMTK353,1,0,0,0,1*2B\r\n";
const char kPmtkSearchGps[] = "$PMTK353,1,0,0,0,0*2A\r\n";
const char kPmtkSearchBd[] = "$PMTK353,0,0,0,0,1*2A\r\n";
const char kPmtkOutputGgaZda[] = "$PMTK314,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,0,1,0*28\r\n";

void sendText(int fd, const char* text)
{
    gps_uart_send(fd, text, int(std::strlen(text)));
}

// ---- u-blox -----------------------------------------------------------------

constexpr uint8_t kUbxClassCfg = 0x06;
constexpr uint8_t kUbxIdMsg = 0x01;
constexpr uint8_t kUbxIdGnss = 0x3E;
constexpr uint8_t kUbxNmeaClass = 0xF0;

struct NmeaRate
{
    uint8_t id;
    uint8_t rate;
};

// GGA and ZDA each epoch, GSV for the satellite counts, the rest off.
const NmeaRate kUbxRates[] = {
    {0x00, 1},   // GGA
    {0x08, 1},   // ZDA
    {0x01, 0},   // GLL
    {0x02, 0},   // GSA
    {0x03, 1},   // GSV
    {0x04, 0},   // RMC
    {0x05, 0},   // VTG
    {0x0A, 0},   // DTM
    {0x09, 0},   // GBS
    {0x0D, 0},   // GNS
    {0x06, 0},   // GRS
    {0x07, 0},   // GST
    {0x0E, 0},   // THS
    {0x0F, 0},   // VLW
};

const uint8_t kUbxGnssPoll[] = {0xB5, 0x62, 0x06, 0x3E, 0x00, 0x00, 0x44, 0xD2};
// CFG-NMEA: NMEA version 4.1.
const uint8_t kUbxNmea41[] = {0xB5, 0x62, 0x06, 0x17, 0x0C, 0x00, 0x00, 0x41, 0x00, 0x02,
                              0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x6C, 0x3E};

// One CFG-GNSS configuration block.
struct GnssBlock
{
    uint8_t gnssId;
    uint8_t resTrkCh;
    uint8_t maxTrkCh;
    uint32_t sigCfgMask;   // flags bits 16-23
};

enum GnssId : uint8_t { GNSS_GPS = 0, GNSS_SBAS = 1, GNSS_GALILEO = 2, GNSS_BEIDOU = 3, GNSS_IMES = 4, GNSS_QZSS = 5, GNSS_GLONASS = 6 };

const GnssBlock kGnssBlocks[] = {
    {GNSS_GPS, 8, 16, 0x01},
    {GNSS_SBAS, 1, 3, 0x01},
    {GNSS_GALILEO, 4, 8, 0x01},
    {GNSS_BEIDOU, 8, 16, 0x01},
    {GNSS_IMES, 0, 8, 0x01},
    {GNSS_QZSS, 0, 3, 0x01},
    {GNSS_GLONASS, 8, 14, 0x01},
};

void sendUbx(int fd, uint8_t cls, uint8_t id, const uint8_t* payload, int length)
{
    uint8_t frame[8 + 64];
    const int n = ublox_frame(cls, id, payload, length, frame, int(sizeof(frame)));
    if (n > 0)
        gps_uart_send(fd, frame, n);
}

// ---- PTNL -------------------------------------------------------------------

constexpr int kPtnlTries = 8;
constexpr int kPtnlAnswerSize = 256;

int ptnlCommand(int fd, const char* command, const char* acknowledgement, const char* attached)
{
    gps_sync_data* data = gps_sync_handle;
    const size_t ackLength = std::strlen(acknowledgement);
    uint8_t answer[kPtnlAnswerSize];
    for (int attempt = 0; attempt < kPtnlTries; ++attempt) {
        gps_uart_flush(fd);
        sendText(fd, command);
        if (!gps_pause(300))
            return -1;
        const ssize_t n = read(fd, answer, sizeof(answer));
        if (n >= ssize_t(ackLength) && std::memcmp(answer, acknowledgement, ackLength) == 0) {
            gps_uart_baud_set(fd, data != nullptr ? int(data->local_baudrate) : 1);
            gps_print("%s\n", attached);
            return 0;
        }
    }
    return -1;
}

} // namespace

int ublox_frame(uint8_t cls, uint8_t id, const uint8_t* payload, int length, uint8_t* frame, int size)
{
    if (length < 0 || length > 0xFFFF || size < length + 8 || (length > 0 && payload == nullptr))
        return -1;
    frame[0] = 0xB5;
    frame[1] = 0x62;
    frame[2] = cls;
    frame[3] = id;
    frame[4] = uint8_t(length & 0xFF);
    frame[5] = uint8_t(length >> 8);
    if (length > 0)
        std::memcpy(frame + 6, payload, size_t(length));
    uint8_t a = 0;
    uint8_t b = 0;
    for (int i = 2; i < 6 + length; ++i) {
        a = uint8_t(a + frame[i]);
        b = uint8_t(b + a);
    }
    frame[6 + length] = a;
    frame[7 + length] = b;
    return length + 8;
}

void ublox_gnss_payload(uint32_t select, uint8_t payload[60])
{
    const bool gps = select == GPS_SYNC_GNSS_UBLOX_GPS || select == GPS_SYNC_GNSS_UBLOX_BOTH;
    const bool beidou = select == GPS_SYNC_GNSS_UBLOX_BD || select == GPS_SYNC_GNSS_UBLOX_BOTH;
    payload[0] = 0x00;   // message version
    payload[1] = 0x00;   // tracking channels in hardware (read-only)
    payload[2] = 0xFF;   // use every channel
    payload[3] = uint8_t(sizeof(kGnssBlocks) / sizeof(kGnssBlocks[0]));
    int at = 4;
    for (const GnssBlock& block : kGnssBlocks) {
        bool enable = false;
        if (block.gnssId == GNSS_GPS || block.gnssId == GNSS_QZSS)
            enable = gps;   // QZSS augments GPS
        else if (block.gnssId == GNSS_BEIDOU)
            enable = beidou;
        const uint32_t flags = (enable ? 1u : 0u) | (block.sigCfgMask << 16);
        payload[at + 0] = block.gnssId;
        payload[at + 1] = block.resTrkCh;
        payload[at + 2] = block.maxTrkCh;
        payload[at + 3] = 0x00;
        payload[at + 4] = uint8_t(flags & 0xFF);
        payload[at + 5] = uint8_t((flags >> 8) & 0xFF);
        payload[at + 6] = uint8_t((flags >> 16) & 0xFF);
        payload[at + 7] = uint8_t((flags >> 24) & 0xFF);
        at += 8;
    }
}

void skylab_set_config(int fd)
{
    gps_uart_flush(fd);
    sendText(fd, kPmtkSearchBoth);
    if (!gps_pause(300))
        return;
    sendText(fd, kPmtkOutputGgaZda);
    gps_pause(300);
}

void skylab_set_gpsenable(int fd, uint32_t select)
{
    const char* command = nullptr;
    const char* message = nullptr;
    switch (select) {
    case GPS_SYNC_GNSS_SKYLAB_GPS:
        command = kPmtkSearchGps;
        message = "skylab_set_gpsenable Enable GPS SKY ";
        break;
    case GPS_SYNC_GNSS_SKYLAB_BD:
        command = kPmtkSearchBd;
        message = "skylab_set_gpsenable Enable BD SKY ";
        break;
    case GPS_SYNC_GNSS_SKYLAB_BOTH:
        command = kPmtkSearchBoth;
        message = "skylab_set_gpsenable Enable GPS+BD SKY ";
        break;
    default:
        return;
    }
    gps_uart_flush(fd);
    if (!gps_pause(500))
        return;
    sendText(fd, command);
    if (!gps_pause(300))
        return;
    sendText(fd, kPmtkOutputGgaZda);
    if (!gps_pause(300))
        return;
    gps_print("%s\n", message);
}

void ublox_set_config(int fd)
{
    for (const NmeaRate& r : kUbxRates) {
        const uint8_t payload[3] = {kUbxNmeaClass, r.id, r.rate};
        gps_uart_flush(fd);
        for (int copy = 0; copy < 2; ++copy) {
            sendUbx(fd, kUbxClassCfg, kUbxIdMsg, payload, 3);
            if (!gps_pause(300))
                return;
        }
    }
}

void ublox_set_gpsenable(int fd, uint32_t select)
{
    if (select != GPS_SYNC_GNSS_UBLOX_GPS && select != GPS_SYNC_GNSS_UBLOX_BD && select != GPS_SYNC_GNSS_UBLOX_BOTH)
        return;
    gps_uart_flush(fd);
    if (!gps_pause(500))
        return;
    uint8_t payload[60];
    ublox_gnss_payload(select, payload);
    sendUbx(fd, kUbxClassCfg, kUbxIdGnss, payload, int(sizeof(payload)));

    switch (select) {
    case GPS_SYNC_GNSS_UBLOX_GPS:
        if (!gps_pause(300))
            return;
        gps_uart_send(fd, kUbxGnssPoll, int(sizeof(kUbxGnssPoll)));
        if (!gps_pause(300))
            return;
        gps_print("ublox_set_gpsenable Enable GPS \n");
        break;
    case GPS_SYNC_GNSS_UBLOX_BD:
        if (!gps_pause(3000))
            return;
        gps_uart_send(fd, kUbxNmea41, int(sizeof(kUbxNmea41)));
        if (!gps_pause(500))
            return;
        gps_print("ublox_set_gpsenable Enable BD \n");
        break;
    default:
        if (!gps_pause(300))
            return;
        gps_uart_send(fd, kUbxGnssPoll, int(sizeof(kUbxGnssPoll)));
        if (!gps_pause(300))
            return;
        gps_uart_send(fd, kUbxNmea41, int(sizeof(kUbxNmea41)));
        if (!gps_pause(300))
            return;
        gps_print("ublox_set_gpsenable Enable GPS+BD \n");
        break;
    }
}

int nmea_ptnl_set_port(int fd)
{
    return ptnlCommand(fd, "$PTNLSPT,115200,8,N,1,4,4*11\r\n", "$PTNLRPT,A*3D\r\n",
                       "gps_uart_scan GPS PTNLRPT attached!");
}

int nmea_ptnl_set_nmea(int fd)
{
    // The receiver answers a set sentence (PTNLS..) with its report (PTNLR..).
    return ptnlCommand(fd, "$PTNLSNM,0021,01*54\r\n", "$PTNLRNM,A*3A\r\n",
                       "gps_uart_scan GPS PTNLSNM attached!");
}

int nmea_ptnl_set_pps(int fd)
{
    return ptnlCommand(fd, "$PTNLSPS,1,1000000,1,0*57\r\n", "$PTNLRPS,A*3A\r\n",
                       "gps_uart_scan GPS PTNLSPS attached!");
}

void nmea_ptnl_setting(int fd)
{
    sendText(fd, "$PTNLSNM,0021,01*54\r\n");
    if (!gps_pause(100))
        return;
    sendText(fd, "$PTNLSPS,1,1000000,1,0*57\r\n");
}
