#pragma once

// A simulated GNSS receiver on a pseudo-terminal (see SimSerialDevice). It
// sends one epoch of output every epoch interval (the first half an interval
// after it is made) at its own baud rate and obeys the configuration commands
// of its family:
// - Mtk: NMEA output; "$PMTK353" selects the constellations (GPS field 1,
//   BeiDou field 5), "$PMTK314" the sentences (GLL, RMC, VTG, GGA, GSA, GSV,
//   ..., ZDA at field 17); answers "$PMTK001,<cmd>,3". ZDA is off until
//   configured.
// - Ublox: NMEA output; UBX CFG-MSG sets each NMEA sentence's rate (ZDA off
//   until configured), CFG-GNSS the constellations (GPS id 0, BeiDou id 3),
//   CFG-NMEA the NMEA version; answers ACK-ACK, a CFG-GNSS poll with the
//   current configuration.
// - Trimble: NMEA output of GGA and ZDA; answers "$PTNLSPT" with
//   "$PTNLRPT,A*3D", "$PTNLSNM" with "$PTNLRNM,A*3A" and "$PTNLSPS" with
//   "$PTNLRPS,A*3A" (its own port settings stay as they are).
// - Tsip: binary TSIP packets only; commands are only recorded.
// NMEA talkers follow the constellations: "GP" GPS, "GB" BeiDou, "GN" both
// (GSV always per constellation). Every command heard at the right speed is
// recorded, whatever its checksum.

#include "SimSerialDevice.h"

#include <QList>
#include <QMap>

namespace zorsim {

class SimGnssReceiver : public SimSerialDevice
{
public:
    enum class Family { Mtk, Ublox, Trimble, Tsip };
    enum Constellation { ConstellationGps = 1, ConstellationBeiDou = 2, ConstellationBoth = 3 };

    explicit SimGnssReceiver(Family family, int baud = 9600);
    ~SimGnssReceiver() override;

    Family family() const { return fam; }

    // ---- The sky ----
    void setUtcSeconds(int64_t seconds);          // time of the next epoch
    int64_t utcSeconds() const;
    void setSecondsPerEpoch(int seconds);         // 0 (default): the time stands still
    void setFix(int quality, int satellitesInUse);
    void setSatellitesInView(int gps, int beidou);

    // ---- Output ----
    void setEpochIntervalMs(int ms);              // default 1000; the next epoch at once
    void setStreaming(bool on);                   // default on
    int epochsSent() const;

    // ---- What it heard and how it is configured ----
    QList<QByteArray> sentencesHeard() const;     // "$...\r\n", in order
    QList<QByteArray> ubxFramesHeard() const;     // whole frames with a good checksum
    int badFramesHeard() const;                   // wrong checksum or cut short
    int constellation() const;
    bool outputs(const QByteArray& sentenceType) const;   // "GGA", "ZDA", ... sent each epoch
    int ubxRate(uint8_t nmeaId) const;            // CFG-MSG rate last set, -1 never
    int nmeaVersion() const;                      // CFG-NMEA version last set, 0 never
    void clearHeard();

    static QByteArray nmea(const QByteArray& body);   // "$" body "*hh\r\n"

protected:
    void received(const QByteArray& bytes) override;
    void lineNoise() override;
    Clock::time_point nextDue() const override;
    void tick(Clock::time_point now) override;

private:
    void sentence(const QByteArray& line);
    void ubxFrame(const QByteArray& frame);
    void sendUbx(uint8_t cls, uint8_t id, const QByteArray& payload);
    QByteArray epoch() const;
    QByteArray tsipEpoch() const;
    QByteArray talker() const;

    const Family fam;
    int64_t utc = 1700000000;
    int secondsPerEpoch = 0;
    int fixQuality = 1;
    int inUse = 8;
    int gpsInView = 10;
    int beidouInView = 6;
    int intervalMs = 1000;
    bool streaming = true;
    int epochs = 0;
    Clock::time_point nextEpoch{};

    int constellationMask = ConstellationGps;
    QMap<QByteArray, bool> enabled;   // NMEA sentence types sent each epoch
    QMap<uint8_t, int> rates;         // u-blox CFG-MSG rates by NMEA id
    QByteArray gnssConfig;            // last CFG-GNSS payload
    int version = 0;

    enum class Rx { Idle, Nmea, Ubx };
    Rx rx = Rx::Idle;
    QByteArray frame;
    QList<QByteArray> heardSentences;
    QList<QByteArray> heardUbx;
    int bad = 0;
};

} // namespace zorsim
