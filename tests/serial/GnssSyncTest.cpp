// The GNSS thread against simulated receivers on pseudo-terminals.

#include "SerialTestSupport.h"
#include "SimGnssReceiver.h"
#include "zogps.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>

#include <cstdlib>
#include <random>
#include <time.h>

using serialtest::waitUntil;
using zorsim::SimGnssReceiver;

namespace {

// ---- Independent references -------------------------------------------------

QByteArray withChecksum(const QByteArray& body)
{
    uint8_t sum = 0;
    for (char c : body)
        sum ^= uint8_t(c);
    return "$" + body + "*" + QByteArray::number(sum, 16).toUpper().rightJustified(2, '0') + "\r\n";
}

// The same sentence with a checksum that is present and wrong.
QByteArray withWrongChecksum(const QByteArray& body)
{
    uint8_t sum = 0;
    for (char c : body)
        sum ^= uint8_t(c);
    return "$" + body + "*" + QByteArray::number(sum ^ 0x5A, 16).toUpper().rightJustified(2, '0') + "\r\n";
}

QByteArray ubx(uint8_t cls, uint8_t id, const QByteArray& payload)
{
    QByteArray f;
    f.append(char(0xB5)).append(char(0x62)).append(char(cls)).append(char(id));
    f.append(char(payload.size() & 0xFF)).append(char(payload.size() >> 8));
    f.append(payload);
    uint8_t a = 0;
    uint8_t b = 0;
    for (int i = 2; i < f.size(); ++i) {
        a = uint8_t(a + uint8_t(f[i]));
        b = uint8_t(b + a);
    }
    return f.append(char(a)).append(char(b));
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// Seconds since the epoch of a UTC civil time (days-from-civil, proleptic Gregorian).
int64_t utcSeconds(int year, int month, int day, int hour, int minute, int second)
{
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yoe = year - era * 400;
    const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const int64_t days = era * 146097 + doe - 719468;
    return days * 86400 + hour * 3600 + minute * 60 + second;
}

QList<QByteArray> sentencesStarting(const SimGnssReceiver& rx, const QByteArray& start)
{
    QList<QByteArray> out;
    for (const QByteArray& s : rx.sentencesHeard()) {
        if (s.startsWith(start))
            out << s;
    }
    return out;
}

// The time zone for one test; restored afterwards.
class TimeZoneScope
{
public:
    explicit TimeZoneScope(const char* zone)
    {
        const char* old = getenv("TZ");
        hadOld = old != nullptr;
        if (hadOld)
            oldValue = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZoneScope()
    {
        if (hadOld)
            setenv("TZ", oldValue.constData(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    bool hadOld = false;
    QByteArray oldValue;
};

const QByteArray kPmtkBoth = withChecksum("PMTK353,1,0,0,0,1");
const QByteArray kPmtkGps = withChecksum("PMTK353,1,0,0,0,0");
const QByteArray kPmtkGgaZda = withChecksum("PMTK314,0,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,0,1,0");

// ---- Fixture ----------------------------------------------------------------

class GnssSync : public ::testing::Test
{
protected:
    GnssSync() : platform(0.05) {}

    void SetUp() override
    {
        gps_sync_release_handle();
        ASSERT_EQ(0, gps_sync_init_handle());
    }

    void TearDown() override { gps_sync_release_handle(); }

    static void prepare(SimGnssReceiver& rx)
    {
        rx.setEpochIntervalMs(15);
        rx.setUtcSeconds(1750000000);
        rx.start();
        zoplat::host::setGnssSerialDevice(rx.slavePath());
    }

    void startOn(SimGnssReceiver& rx)
    {
        ASSERT_TRUE(rx.isOpen());
        prepare(rx);
        ASSERT_EQ(0, gps_sync_task_start());
    }

    static bool fixReported(const SimGnssReceiver& rx)
    {
        return gps_sync_get_utcseconds(0) == time_t(rx.utcSeconds());
    }

    // Both PMTK configurations (scan and first parse pass) are through.
    static bool configured(const SimGnssReceiver& rx)
    {
        return sentencesStarting(rx, "$PMTK").size() >= 4 && gps_sync_config_pending() == 0;
    }

    serialtest::PlatformScope platform;
};

// ---- Scan and configuration -------------------------------------------------

class GnssScanBaud : public GnssSync, public ::testing::WithParamInterface<int>
{
};

TEST_P(GnssScanBaud, FindsReceiverAtItsOwnSpeedAndConfiguresIt)
{
    SimGnssReceiver rx(SimGnssReceiver::Family::Mtk, GetParam());
    rx.setSatellitesInView(9, 0);
    startOn(rx);

    // The receiver sends no ZDA until configured: a fix means the PMTK
    // commands reached it at its own speed.
    ASSERT_TRUE(waitUntil([&] { return configured(rx) && fixReported(rx); }));
    EXPECT_EQ(GetParam(), rx.productBaud());

    const QList<QByteArray> pmtk = sentencesStarting(rx, "$PMTK");
    ASSERT_EQ(4, pmtk.size());
    EXPECT_EQ(kPmtkBoth, pmtk[0]);       // scan: both constellations,
    EXPECT_EQ(kPmtkGgaZda, pmtk[1]);     // GGA and ZDA only
    EXPECT_EQ(kPmtkGps, pmtk[2]);        // first parse pass: the pending choice (GPS)
    EXPECT_EQ(kPmtkGgaZda, pmtk[3]);
    EXPECT_EQ("$PMTK353,1,0,0,0,1*2B\r\n", pmtk[0]);
    EXPECT_EQ(0, rx.badFramesHeard());

    EXPECT_EQ(SimGnssReceiver::ConstellationGps, rx.constellation());
    EXPECT_TRUE(rx.outputs("ZDA"));
    EXPECT_TRUE(rx.outputs("GGA"));
    EXPECT_FALSE(rx.outputs("GSV"));
    EXPECT_FALSE(rx.outputs("RMC"));
    EXPECT_EQ(uint32_t(GPS_SYNC_GNSS_APPLIED), gps_sync_handle->gpsgbd_enable.load());
}

INSTANTIATE_TEST_SUITE_P(Speeds, GnssScanBaud, ::testing::Values(4800, 9600, 38400, 115200));

// As in the application: the receiver is made and the port opened (and
// flushed) right after. The first collection of the baud scan finds it; a
// turn through the other speeds would take 40 s and more.
TEST_F(GnssSync, ReceiverMadeJustBeforeThePortOpensIsFoundAtOnce)
{
    zoplat::setTimeScale(1.0);   // the receiver's epochs come once a real second
    SimGnssReceiver rx(SimGnssReceiver::Family::Mtk, 9600);
    rx.start();
    zoplat::host::setGnssSerialDevice(rx.slavePath());
    ASSERT_EQ(0, gps_sync_task_start());
    EXPECT_TRUE(waitUntil([&] { return configured(rx); }, 10000));
}

TEST_F(GnssSync, UbloxReceiverGetsPortCommandsThenMessageRatesByteForByte)
{
    gps_sync_handle->gpsgbd_enable = GPS_SYNC_GNSS_UBLOX_BOTH;
    SimGnssReceiver rx(SimGnssReceiver::Family::Ublox, 19200);
    startOn(rx);
    ASSERT_TRUE(waitUntil([&] { return configured(rx) && fixReported(rx); }));

    // The PTNL port commands go unanswered by this receiver: eight tries each.
    const QByteArray ptnl[] = {withChecksum("PTNLSPT,115200,8,N,1,4,4"), withChecksum("PTNLSNM,0021,01"),
                               withChecksum("PTNLSPS,1,1000000,1,0")};
    // Everything sent has been written; the receiver's thread may still be reading it.
    ASSERT_TRUE(waitUntil([&] { return sentencesStarting(rx, "$PTNL").size() >= 24 && rx.ubxFramesHeard().size() >= 28; }));
    const QList<QByteArray> heardPtnl = sentencesStarting(rx, "$PTNL");
    ASSERT_EQ(24, heardPtnl.size());
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(ptnl[i / 8], heardPtnl[i]) << i;

    struct Rate
    {
        uint8_t id;
        uint8_t rate;
    };
    const Rate table[] = {{0x00, 1}, {0x08, 1}, {0x01, 0}, {0x02, 0}, {0x03, 1}, {0x04, 0}, {0x05, 0},
                          {0x0A, 0}, {0x09, 0}, {0x0D, 0}, {0x06, 0}, {0x07, 0}, {0x0E, 0}, {0x0F, 0}};
    const QList<QByteArray> frames = rx.ubxFramesHeard();
    ASSERT_EQ(28, frames.size());
    for (int i = 0; i < 28; ++i) {
        const Rate& r = table[i / 2];
        EXPECT_EQ(ubx(0x06, 0x01, bytes({0xF0, r.id, r.rate})).toHex(), frames[i].toHex()) << i;
    }
    for (uint8_t id : {0x00, 0x08, 0x03})
        EXPECT_EQ(1, rx.ubxRate(id));
    for (uint8_t id : {0x01, 0x02, 0x04, 0x05, 0x0A, 0x09, 0x0D, 0x06, 0x07, 0x0E, 0x0F})
        EXPECT_EQ(0, rx.ubxRate(id));

    // Then the PMTK configuration, whose constellation choice is GPS.
    const QList<QByteArray> pmtk = sentencesStarting(rx, "$PMTK");
    ASSERT_EQ(4, pmtk.size());
    EXPECT_EQ(kPmtkBoth, pmtk[0]);
    EXPECT_EQ(kPmtkGps, pmtk[2]);
    EXPECT_EQ(0, rx.badFramesHeard());
}

class GnssUbloxConstellation : public GnssSync, public ::testing::WithParamInterface<uint32_t>
{
};

TEST_P(GnssUbloxConstellation, ConstellationCommandIsAppliedOnce)
{
    const uint32_t select = GetParam();
    SimGnssReceiver rx(SimGnssReceiver::Family::Ublox, 9600);
    startOn(rx);
    ASSERT_TRUE(waitUntil([&] { return configured(rx); }));
    ASSERT_TRUE(rx.ubxFramesHeard().isEmpty());

    gps_sync_handle->gpsgbd_enable = select;
    gps_sync_handle->update_enable = 1;
    const int expectedFrames = select == GPS_SYNC_GNSS_UBLOX_BOTH ? 3 : 2;
    ASSERT_TRUE(waitUntil([&] {
        return gps_sync_config_pending() == 0 && rx.ubxFramesHeard().size() >= expectedFrames;
    }));
    const QList<QByteArray> frames = rx.ubxFramesHeard();
    ASSERT_EQ(expectedFrames, frames.size());

    // CFG-GNSS: 60-byte payload, seven blocks; GPS (id 0) and BeiDou (id 3) as chosen.
    const bool gps = select != GPS_SYNC_GNSS_UBLOX_BD;
    const bool beidou = select != GPS_SYNC_GNSS_UBLOX_GPS;
    const QByteArray& gnss = frames[0];
    ASSERT_EQ(68, gnss.size());
    const QByteArray payload = gnss.mid(6, 60);
    EXPECT_EQ(ubx(0x06, 0x3E, payload).toHex(), gnss.toHex());
    EXPECT_EQ(7, payload[3]);
    for (int block = 0; block < 7; ++block) {
        const int id = payload[4 + 8 * block];
        const bool on = (payload[8 + 8 * block] & 0x01) != 0;
        if (id == 0) {
            EXPECT_EQ(gps, on);
        } else if (id == 3) {
            EXPECT_EQ(beidou, on);
        } else if (id == 2 || id == 6) {
            EXPECT_FALSE(on) << "Galileo and GLONASS stay off";
        }
    }
    EXPECT_EQ((gps ? SimGnssReceiver::ConstellationGps : 0) | (beidou ? SimGnssReceiver::ConstellationBeiDou : 0),
              rx.constellation());

    const QByteArray poll = ubx(0x06, 0x3E, QByteArray());
    const QByteArray nmea41 = ubx(0x06, 0x17, bytes({0x00, 0x41, 0x00, 0x02, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ("b562063e000044d2", poll.toHex());
    EXPECT_EQ("b56206170c00004100020000000000000000" "6c3e", nmea41.toHex());
    if (select == GPS_SYNC_GNSS_UBLOX_GPS) {
        EXPECT_EQ(poll.toHex(), frames[1].toHex());
    } else if (select == GPS_SYNC_GNSS_UBLOX_BD) {
        EXPECT_EQ(nmea41.toHex(), frames[1].toHex());
        EXPECT_EQ(0x41, rx.nmeaVersion());
    } else {
        EXPECT_EQ(poll.toHex(), frames[1].toHex());
        EXPECT_EQ(nmea41.toHex(), frames[2].toHex());
    }
    // PMTK constellation commands ignore u-blox choices.
    EXPECT_EQ(4, sentencesStarting(rx, "$PMTK").size());
}

INSTANTIATE_TEST_SUITE_P(Choices, GnssUbloxConstellation,
                         ::testing::Values(uint32_t(GPS_SYNC_GNSS_UBLOX_GPS), uint32_t(GPS_SYNC_GNSS_UBLOX_BD),
                                           uint32_t(GPS_SYNC_GNSS_UBLOX_BOTH)));

TEST_F(GnssSync, PtnlCommandsAreAcknowledgedByTheReceiversReports)
{
    struct Case
    {
        SimGnssReceiver::Family family;
        int result;
        int sendings;
    };
    // A receiver that answers is asked once; one that does not, eight times.
    for (const Case& c : {Case{SimGnssReceiver::Family::Trimble, 0, 1}, Case{SimGnssReceiver::Family::Mtk, -1, 8}}) {
        SimGnssReceiver rx(c.family, 9600);
        rx.setStreaming(false);
        rx.start();
        const int fd = gps_uart_open(rx.slavePath().toLocal8Bit().constData());
        ASSERT_GE(fd, 0);
        ASSERT_EQ(0, gps_uart_baud_set(fd, 1));

        EXPECT_EQ(c.result, nmea_ptnl_set_port(fd));
        EXPECT_EQ(c.result, nmea_ptnl_set_nmea(fd));
        EXPECT_EQ(c.result, nmea_ptnl_set_pps(fd));
        // The receiver's thread may still be reading the last sentences; the
        // port stays open until it has them (a closed pty drops what is left).
        EXPECT_TRUE(waitUntil([&] { return sentencesStarting(rx, "$PTNLSPS").size() >= c.sendings; }));
        gps_uart_close(fd);

        EXPECT_EQ(QList<QByteArray>() << withChecksum("PTNLSPT,115200,8,N,1,4,4"),
                  sentencesStarting(rx, "$PTNLSPT").mid(0, 1));
        EXPECT_EQ(c.sendings, sentencesStarting(rx, "$PTNLSPT").size());
        EXPECT_EQ(c.sendings, sentencesStarting(rx, "$PTNLSNM").size());
        EXPECT_EQ(c.sendings, sentencesStarting(rx, "$PTNLSPS").size());
        EXPECT_EQ(withChecksum("PTNLSNM,0021,01"), sentencesStarting(rx, "$PTNLSNM").value(0));
        EXPECT_EQ(withChecksum("PTNLSPS,1,1000000,1,0"), sentencesStarting(rx, "$PTNLSPS").value(0));
    }
    // The reports the receiver sends carry right checksums.
    EXPECT_EQ("$PTNLRNM,A*3A\r\n", withChecksum("PTNLRNM,A"));
    EXPECT_EQ("$PTNLRPS,A*3A\r\n", withChecksum("PTNLRPS,A"));
    EXPECT_EQ("$PTNLRPT,A*3D\r\n", withChecksum("PTNLRPT,A"));
}

TEST_F(GnssSync, TsipReceiverIsDetected)
{
    SimGnssReceiver rx(SimGnssReceiver::Family::Tsip, 57600);
    startOn(rx);
    // The configuration that follows the scan arrives clean: the scan settled
    // on the receiver's speed from its binary packets alone.
    ASSERT_TRUE(waitUntil([&] { return configured(rx); }));
    EXPECT_EQ(57600, rx.productBaud());
    EXPECT_EQ(kPmtkBoth, sentencesStarting(rx, "$PMTK").value(0));
    EXPECT_EQ(0, gps_sync_get_utcseconds(0));
}

TEST(GnssDetection, CountsCompleteLinesAndPackets)
{
    struct Case
    {
        const char* name;
        QByteArray bytes;
        int nmea;
        int tsip;
    };
    const QByteArray gga = withChecksum("GPGGA,120000.00,,,,,0,00,,,M,,M,,");
    // A TSIP body may hold DLE ETX as data; the known length skips it.
    const QByteArray time41 = bytes({0x10, 0x41, 1, 2, 0x10, 0x03, 5, 6, 7, 8, 9, 10, 0x10, 0x03});
    const QByteArray super8f = bytes({0x10, 0x8F}) + QByteArray(64, '\x10') + bytes({0x10, 0x03});
    const Case cases[] = {
        {"two lines", gga + gga, 2, 0},
        {"line not finished", gga.left(30), 0, 0},
        {"only $G lines count", withChecksum("PMTK001,314,3"), 0, 0},
        {"packet with DLE ETX in its body", time41, 0, 1},
        {"64-byte superpacket of DLE bytes", super8f, 0, 1},
        {"end without start", bytes({0x10, 0x03, 0x10, 0x03}), 0, 0},
        {"two packets", time41 + bytes({0x10, 0x46, 0, 0, 0x10, 0x03}), 0, 2},
        {"packet cut short", time41.left(10), 0, 0},
    };
    for (const Case& c : cases) {
        const auto* b = reinterpret_cast<const uint8_t*>(c.bytes.constData());
        EXPECT_EQ(c.nmea, nmea_check_length(b, c.bytes.size())) << c.name;
        EXPECT_EQ(c.tsip, tsip_check_length(b, c.bytes.size())) << c.name;
    }
}

// ---- Sentences --------------------------------------------------------------

struct Counts
{
    int gpsFix, gpsSats, gbdFix, gbdSats;
    bool operator==(const Counts& o) const
    {
        return gpsFix == o.gpsFix && gpsSats == o.gpsSats && gbdFix == o.gbdFix && gbdSats == o.gbdSats;
    }
};

std::ostream& operator<<(std::ostream& os, const Counts& c)
{
    return os << "{" << c.gpsFix << "," << c.gpsSats << "," << c.gbdFix << "," << c.gbdSats << "}";
}

Counts counts()
{
    const gps_sync_data* d = gps_sync_handle;
    return {d->gps_fixstatus, d->gps_svcts, d->gbd_fixstatus, d->gbd_svcts};
}

TEST_F(GnssSync, DispatchTableSetsCountsAndTimesInUtc)
{
    // mktime would read the ZDA time as local time, 5 h 30 min off here.
    TimeZoneScope zone("XST-05:30");
    struct tm probe {};
    probe.tm_year = 126;
    probe.tm_mday = 1;
    ASSERT_NE(mktime(&probe), timegm(&probe));

    SimGnssReceiver rx(SimGnssReceiver::Family::Mtk, 9600);
    startOn(rx);
    ASSERT_TRUE(waitUntil([&] { return configured(rx) && fixReported(rx); }));
    rx.setStreaming(false);

    struct Row
    {
        const char* name;
        QByteArray line;
        Counts expected;
    };
    const QByteArray marker16 = withChecksum("GPGSV,1,1,16");
    const QByteArray marker17 = withChecksum("GPGSV,1,1,17");
    const Row rows[] = {
        {"combined GGA", withChecksum("GNGGA,120000.00,3110.45,N,12128.30,E,1,05,0.9,12.5,M,8.1,M,,"), {1, 5, 1, 5}},
        {"GPS GGA", withChecksum("GPGGA,120001.00,3110.45,N,12128.30,E,2,07,0.9,12.5,M,8.1,M,,"), {2, 7, 1, 0}},
        {"BeiDou GGA", withChecksum("GBGGA,120002.00,3110.45,N,12128.30,E,4,12,0.9,12.5,M,8.1,M,,"), {2, 0, 4, 12}},
        {"GPS GSV", withChecksum("GPGSV,3,1,11,01,45,180,42"), {2, 11, 4, 12}},
        {"BeiDou GSV", withChecksum("GBGSV,2,1,09,201,50,120,40"), {2, 11, 4, 9}},
        {"combined GGA again", withChecksum("GNGGA,120003.00,,,,,5,15,,,M,,M,,"), {5, 15, 5, 15}},
        {"talkers and types the table does not list",
         withChecksum("GLGGA,120004.00,,,,,6,30,,,M,,M,,") + withChecksum("BDGGA,120004.00,,,,,6,31,,,M,,M,,")
             + withChecksum("GNGSV,1,1,33") + withChecksum("GAGSV,1,1,34") + withChecksum("GPRMC,120004.00,A,,,,,,,")
             + withChecksum("gpgga,120004.00,,,,,6,35,,,M,,M,,") + withChecksum("GPGGA") + marker16,
         {5, 16, 5, 15}},
        {"present and wrong checksum",
         withWrongChecksum("GBGSV,1,1,21") + withWrongChecksum("GBGGA,1,,,,,3,2") + "$GBGSV,1,1,23*\r\n" + marker17,
         {5, 17, 5, 15}},
        {"no checksum", "$GBGSV,1,1,22\r\n", {5, 17, 5, 22}},
    };
    for (const Row& row : rows) {
        rx.sendRaw(row.line);
        EXPECT_TRUE(waitUntil([&] { return counts() == row.expected; })) << row.name << ": " << counts();
    }

    // ZDA: times as UTC; the clock gets BeiDou's only when it sees more satellites.
    const int64_t gpsTime = utcSeconds(2025, 2, 1, 10, 0, 0);
    const int64_t bdTime = utcSeconds(2025, 2, 1, 11, 30, 15);
    rx.sendRaw(withChecksum("GPZDA,100000.00,01,02,2025,00,00") + withChecksum("GBZDA,113015.50,01,02,2025,00,00"));
    ASSERT_TRUE(waitUntil([&] {
        return gps_sync_handle->gps_utc_seconds == time_t(gpsTime) && gps_sync_handle->gbd_utc_seconds == time_t(bdTime);
    }));
    EXPECT_EQ(time_t(bdTime), gps_sync_get_utcseconds(0));   // 22 BeiDou satellites against 17
    rx.sendRaw(withChecksum("GPGSV,1,1,22"));
    ASSERT_TRUE(waitUntil([&] { return counts().gpsSats == 22; }));
    EXPECT_EQ(time_t(gpsTime), gps_sync_get_utcseconds(0));  // equal counts: GPS

    // The combined talker sets both times.
    rx.sendRaw("$GNZDA,123456.00,07,12,2026,00,00*7D\r\n");
    const int64_t combined = utcSeconds(2026, 12, 7, 12, 34, 56);
    ASSERT_TRUE(waitUntil([&] { return gps_sync_handle->gbd_utc_seconds == time_t(combined); }));
    EXPECT_EQ(time_t(combined), gps_sync_handle->gps_utc_seconds.load());
    EXPECT_EQ(time_t(combined), gps_sync_get_utcseconds(0));
    gps_sync_handle->local_utcoffset = 3600;
    EXPECT_EQ(time_t(combined + 3600), gps_sync_get_utcseconds(1));
    EXPECT_EQ(time_t(combined), gps_sync_get_utcseconds(0));
}

TEST_F(GnssSync, NoiseNeverStopsTheParser)
{
    SimGnssReceiver rx(SimGnssReceiver::Family::Mtk, 9600);
    startOn(rx);
    ASSERT_TRUE(waitUntil([&] { return configured(rx) && fixReported(rx); }));
    rx.setStreaming(false);

    static const char kGarbage[] = "garbage \x01\x02\xff without any sentence\r\n";
    std::mt19937 random(20240611);
    QByteArray noise(4096, '\0');
    for (char& c : noise)
        c = char(random() & 0xFF);
    const QByteArray overLong = "$GPGSV,1,1," + QByteArray(3000, '7');
    const QByteArray streams[] = {
        QByteArray::fromRawData(kGarbage, int(sizeof(kGarbage) - 1)),
        "$GPGGA,1234",                                   // cut short, then a new sentence
        withChecksum("GPZDA,12"),                        // fields missing
        withChecksum("GPZDA,99999999999999999999,99999999999,9999999999,99999999999,00,00"),
        overLong,                                        // longer than the read buffer
        noise,
        QByteArray(1500, '$'),
        "\r\n",
    };
    int marker = 40;
    for (const QByteArray& s : streams) {
        rx.sendRaw(s);
        const QByteArray good = withChecksum("GPGSV,1,1," + QByteArray::number(++marker));
        rx.sendRaw(good);
        const int expected = marker;
        EXPECT_TRUE(waitUntil([&] { return counts().gpsSats == expected; })) << s.left(40).toHex().constData();
    }
    // Time still comes through.
    rx.sendRaw(withChecksum("GPZDA,010203.00,04,05,2027,00,00"));
    EXPECT_TRUE(waitUntil([&] { return gps_sync_get_utcseconds(0) == time_t(utcSeconds(2027, 5, 4, 1, 2, 3)); }));

    // An XOFF byte in the data (binary receivers send any byte) does not stop
    // the product's commands: the port has no software flow control.
    rx.sendRaw(QByteArray("\x13\x13", 2) + withChecksum("GPGSV,1,1,77"));
    ASSERT_TRUE(waitUntil([&] { return counts().gpsSats == 77; }));
    const int before = sentencesStarting(rx, "$PMTK").size();
    gps_sync_handle->gpsgbd_enable = GPS_SYNC_GNSS_SKYLAB_BOTH;
    gps_sync_handle->update_enable = 1;
    ASSERT_TRUE(waitUntil([&] { return sentencesStarting(rx, "$PMTK").size() == before + 2; }));
    EXPECT_EQ(kPmtkBoth, sentencesStarting(rx, "$PMTK").value(before));
}

TEST_F(GnssSync, SentenceSplitAcrossReadsAfterLongJunkIsParsed)
{
    SimGnssReceiver rx(SimGnssReceiver::Family::Mtk, 9600);
    startOn(rx);
    ASSERT_TRUE(waitUntil([&] { return configured(rx) && fixReported(rx); }));
    rx.setStreaming(false);

    // An unfinished "sentence" of junk longer than any sentence (and one
    // longer than the read buffer), then a valid sentence whose first part
    // the parser has read and finished with before the rest exists.
    const QByteArray junk300 = "$" + QByteArray(300, 'x');
    const QByteArray junk2000 = "$GPGSV,1,1," + QByteArray(2000, '9');
    int marker = 50;
    for (const QByteArray& junk : {junk300, junk2000}) {
        const QByteArray good = withChecksum("GPGSV,1,1," + QByteArray::number(++marker));
        for (int split : {1, 7, 12, good.size() - 2, good.size() - 1}) {
            SCOPED_TRACE((QByteArray::number(junk.size()) + " junk, split at " + QByteArray::number(split)).constData());
            rx.sendRaw(junk + good.left(split));
            ASSERT_TRUE(waitUntil([&] { return rx.productHasReadAll(); }));
            // Two more product sleeps: the read that found nothing, then the
            // next pass after parsing what was read.
            const uint64_t sleeps = serialtest::productSleeps();
            ASSERT_TRUE(waitUntil([&] { return serialtest::productSleeps() >= sleeps + 2; }));
            ASSERT_NE(marker, counts().gpsSats);
            rx.sendRaw(good.mid(split));
            const int expected = marker;
            EXPECT_TRUE(waitUntil([&] { return counts().gpsSats == expected; })) << counts();
            rx.sendRaw(withChecksum("GPGSV,1,1,00"));
            ASSERT_TRUE(waitUntil([&] { return counts().gpsSats == 0; }));
        }
    }
}

// ---- Thread lifecycle -------------------------------------------------------

TEST_F(GnssSync, StartsAndStopsRepeatedly)
{
    SimGnssReceiver rx(SimGnssReceiver::Family::Mtk, 19200);
    prepare(rx);
    for (int round = 0; round < 3; ++round) {
        gps_sync_handle->gps_utc_seconds = 0;
        rx.setUtcSeconds(1760000000 + round);
        ASSERT_EQ(0, gps_sync_task_start());
        EXPECT_EQ(0, gps_sync_task_start()) << "already running";
        ASSERT_TRUE(waitUntil([&] { return fixReported(rx); })) << round;
        gps_sync_task_stop();
        EXPECT_EQ(0u, gps_sync_handle->running_enable.load());
    }

    // Stopped while scanning a line of noise, and while configuring.
    rx.setStreaming(false);
    ASSERT_EQ(0, gps_sync_task_start());
    for (int i = 0; i < 20; ++i)
        rx.sendRaw(QByteArray(64, char(0xA5 ^ i)));
    gps_sync_task_stop();

    gps_sync_handle->gpsgbd_enable = GPS_SYNC_GNSS_UBLOX_BOTH;
    rx.setStreaming(true);
    const int before = sentencesStarting(rx, "$PTNL").size();
    ASSERT_EQ(0, gps_sync_task_start());
    ASSERT_TRUE(waitUntil([&] { return sentencesStarting(rx, "$PTNL").size() > before; }));
    gps_sync_task_stop();

    // Without a port the thread ends by itself and can be joined.
    zoplat::host::setGnssSerialDevice("/nonexistent/gnss");
    ASSERT_EQ(0, gps_sync_task_start());
    gps_sync_task_stop();
    gps_sync_release_handle();
    EXPECT_EQ(-1, gps_sync_task_start());
    EXPECT_EQ(0, gps_sync_get_utcseconds(1));
}

} // namespace
