#include "SimGnssReceiver.h"

#include <cstring>
#include <ctime>

namespace zorsim {

namespace {

constexpr int kMaxSentence = 200;
constexpr int kMaxUbxPayload = 1024;
constexpr uint8_t kUbxSync1 = 0xB5;
constexpr uint8_t kUbxSync2 = 0x62;
constexpr uint8_t kUbxClassAck = 0x05;
constexpr uint8_t kUbxClassCfg = 0x06;
constexpr uint8_t kUbxCfgMsg = 0x01;
constexpr uint8_t kUbxCfgNmea = 0x17;
constexpr uint8_t kUbxCfgGnss = 0x3E;
constexpr uint8_t kNmeaClass = 0xF0;
constexpr uint8_t kDle = 0x10;
constexpr uint8_t kEtx = 0x03;
constexpr int64_t kGpsEpochUnix = 315964800;   // 1980-01-06
constexpr int kGpsLeapSeconds = 18;

// u-blox NMEA message ids.
struct NmeaId
{
    uint8_t id;
    const char* type;
};
const NmeaId kNmeaIds[] = {
    {0x00, "GGA"}, {0x01, "GLL"}, {0x02, "GSA"}, {0x03, "GSV"}, {0x04, "RMC"}, {0x05, "VTG"}, {0x06, "GRS"},
    {0x07, "GST"}, {0x08, "ZDA"}, {0x09, "GBS"}, {0x0A, "DTM"}, {0x0D, "GNS"}, {0x0E, "THS"}, {0x0F, "VLW"},
};

// "$PMTK314" field order.
const char* const kPmtkOutputs[] = {"GLL", "RMC", "VTG", "GGA", "GSA", "GSV"};
constexpr int kPmtkZdaField = 17;

QList<QByteArray> fields(const QByteArray& line)
{
    int end = line.indexOf('*');
    if (end < 0)
        end = line.indexOf('\r');
    if (end < 0)
        end = line.size();
    return line.mid(1, end - 1).split(',');
}

bool checksumRight(const QByteArray& line)
{
    const int star = line.indexOf('*');
    if (star < 0 || star + 3 > line.size())
        return false;
    uint8_t sum = 0;
    for (int i = 1; i < star; ++i)
        sum ^= uint8_t(line[i]);
    bool ok = false;
    const int given = line.mid(star + 1, 2).toInt(&ok, 16);
    return ok && given == sum;
}

void fletcher(const QByteArray& bytes, int from, int to, uint8_t* a, uint8_t* b)
{
    *a = 0;
    *b = 0;
    for (int i = from; i < to; ++i) {
        *a = uint8_t(*a + uint8_t(bytes[i]));
        *b = uint8_t(*b + *a);
    }
}

void appendBe32(QByteArray& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((v >> shift) & 0xFF));
}

QByteArray tsipPacket(uint8_t id, const QByteArray& body)
{
    QByteArray out;
    out.append(char(kDle));
    out.append(char(id));
    for (char c : body) {
        out.append(c);
        if (uint8_t(c) == kDle)
            out.append(c);   // stuffed
    }
    out.append(char(kDle));
    out.append(char(kEtx));
    return out;
}

} // namespace

SimGnssReceiver::SimGnssReceiver(Family family, int baud) : SimSerialDevice(baud), fam(family)
{
    switch (fam) {
    case Family::Mtk:
        for (const char* t : {"GGA", "GSA", "GSV", "RMC", "VTG"})
            enabled[t] = true;
        break;
    case Family::Ublox:
        for (const NmeaId& n : kNmeaIds)
            rates[n.id] = -1;
        for (const char* t : {"GGA", "GLL", "GSA", "GSV", "RMC", "VTG"})
            enabled[t] = true;
        break;
    case Family::Trimble:
        enabled["GGA"] = true;
        enabled["ZDA"] = true;
        break;
    case Family::Tsip:
        break;
    }
    // A product that opens the port right after the receiver is made flushes
    // what came before: the first epoch comes half an interval later, so the
    // product's first collection of its baud scan sees it.
    nextEpoch = Clock::now() + std::chrono::milliseconds(intervalMs / 2);
}

SimGnssReceiver::~SimGnssReceiver()
{
    stop();
}

QByteArray SimGnssReceiver::nmea(const QByteArray& body)
{
    uint8_t sum = 0;
    for (char c : body)
        sum ^= uint8_t(c);
    char tail[8];
    std::snprintf(tail, sizeof(tail), "*%02X\r\n", unsigned(sum));
    return QByteArray("$") + body + QByteArray(tail);
}

void SimGnssReceiver::setUtcSeconds(int64_t seconds)
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    utc = seconds;
}

int64_t SimGnssReceiver::utcSeconds() const
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    return utc;
}

void SimGnssReceiver::setSecondsPerEpoch(int seconds)
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    secondsPerEpoch = seconds;
}

void SimGnssReceiver::setFix(int quality, int satellitesInUse)
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    fixQuality = quality;
    inUse = satellitesInUse;
}

void SimGnssReceiver::setSatellitesInView(int gps, int beidou)
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    gpsInView = gps;
    beidouInView = beidou;
}

void SimGnssReceiver::setEpochIntervalMs(int ms)
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    intervalMs = ms > 0 ? ms : 1;
    nextEpoch = Clock::time_point{};
    wake();
}

void SimGnssReceiver::setStreaming(bool on)
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    streaming = on;
    wake();
}

int SimGnssReceiver::epochsSent() const
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    return epochs;
}

QList<QByteArray> SimGnssReceiver::sentencesHeard() const
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    return heardSentences;
}

QList<QByteArray> SimGnssReceiver::ubxFramesHeard() const
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    return heardUbx;
}

int SimGnssReceiver::badFramesHeard() const
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    return bad;
}

int SimGnssReceiver::constellation() const
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    return constellationMask;
}

bool SimGnssReceiver::outputs(const QByteArray& sentenceType) const
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    return enabled.value(sentenceType, false);
}

int SimGnssReceiver::ubxRate(uint8_t nmeaId) const
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    return rates.value(nmeaId, -1);
}

int SimGnssReceiver::nmeaVersion() const
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    return version;
}

void SimGnssReceiver::clearHeard()
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    heardSentences.clear();
    heardUbx.clear();
    bad = 0;
}

// ---- Receiving --------------------------------------------------------------

void SimGnssReceiver::lineNoise()
{
    if (rx != Rx::Idle)
        ++bad;
    rx = Rx::Idle;
    frame.clear();
}

void SimGnssReceiver::received(const QByteArray& bytes)
{
    for (char c : bytes) {
        const uint8_t b = uint8_t(c);
        switch (rx) {
        case Rx::Idle:
            if (c == '$') {
                rx = Rx::Nmea;
                frame = QByteArray(1, c);
            } else if (b == kUbxSync1) {
                rx = Rx::Ubx;
                frame = QByteArray(1, c);
            }
            break;
        case Rx::Nmea:
            frame.append(c);
            if (c == '\n') {
                rx = Rx::Idle;
                sentence(frame);
            } else if (frame.size() > kMaxSentence) {
                rx = Rx::Idle;
                ++bad;
            }
            break;
        case Rx::Ubx:
            frame.append(c);
            if (frame.size() == 2 && b != kUbxSync2) {
                rx = Rx::Idle;
                break;
            }
            if (frame.size() >= 6) {
                const int length = uint8_t(frame[4]) | (uint8_t(frame[5]) << 8);
                if (length > kMaxUbxPayload) {
                    rx = Rx::Idle;
                    ++bad;
                } else if (frame.size() == length + 8) {
                    rx = Rx::Idle;
                    ubxFrame(frame);
                }
            }
            break;
        }
    }
}

void SimGnssReceiver::sentence(const QByteArray& line)
{
    heardSentences.append(line);
    if (!checksumRight(line)) {
        ++bad;
        return;
    }
    const QList<QByteArray> f = fields(line);
    const QByteArray& name = f.value(0);

    if (fam == Family::Mtk && name == "PMTK353" && f.size() >= 6) {
        const int mask = (f[1].toInt() ? ConstellationGps : 0) | (f[5].toInt() ? ConstellationBeiDou : 0);
        if (mask != 0)
            constellationMask = mask;
        transmit(nmea("PMTK001,353,3"));
    } else if (fam == Family::Mtk && name == "PMTK314" && f.size() >= 19) {
        for (int i = 0; i < 6; ++i)
            enabled[kPmtkOutputs[i]] = f[1 + i].toInt() > 0;
        enabled["ZDA"] = f[1 + kPmtkZdaField].toInt() > 0;
        transmit(nmea("PMTK001,314,3"));
    } else if (fam == Family::Trimble && name == "PTNLSPT") {
        transmit("$PTNLRPT,A*3D\r\n");
    } else if (fam == Family::Trimble && name == "PTNLSNM") {
        transmit("$PTNLRNM,A*3A\r\n");
    } else if (fam == Family::Trimble && name == "PTNLSPS") {
        transmit("$PTNLRPS,A*3A\r\n");
    }
}

void SimGnssReceiver::ubxFrame(const QByteArray& f)
{
    uint8_t a = 0;
    uint8_t b = 0;
    fletcher(f, 2, f.size() - 2, &a, &b);
    if (a != uint8_t(f[f.size() - 2]) || b != uint8_t(f[f.size() - 1])) {
        ++bad;
        return;
    }
    heardUbx.append(f);
    if (fam != Family::Ublox)
        return;

    const uint8_t cls = uint8_t(f[2]);
    const uint8_t id = uint8_t(f[3]);
    const QByteArray payload = f.mid(6, f.size() - 8);
    if (cls != kUbxClassCfg)
        return;
    bool ack = true;
    if (id == kUbxCfgMsg && (payload.size() == 3 || payload.size() == 8) && uint8_t(payload[0]) == kNmeaClass) {
        // The 8-byte form carries a rate per port; UART1 is the fourth.
        const int rate = uint8_t(payload[payload.size() == 3 ? 2 : 3]);
        const uint8_t nmeaId = uint8_t(payload[1]);
        rates[nmeaId] = rate;
        for (const NmeaId& n : kNmeaIds) {
            if (n.id == nmeaId)
                enabled[n.type] = rate > 0;
        }
    } else if (id == kUbxCfgGnss && payload.isEmpty()) {
        if (!gnssConfig.isEmpty())
            sendUbx(kUbxClassCfg, kUbxCfgGnss, gnssConfig);
        ack = false;
    } else if (id == kUbxCfgGnss && payload.size() >= 4 && payload.size() == 4 + 8 * uint8_t(payload[3])) {
        int mask = 0;
        for (int i = 4; i < payload.size(); i += 8) {
            const bool on = (uint8_t(payload[i + 4]) & 0x01) != 0;
            if (on && payload[i] == 0)
                mask |= ConstellationGps;
            if (on && payload[i] == 3)
                mask |= ConstellationBeiDou;
        }
        if (mask != 0)
            constellationMask = mask;
        gnssConfig = payload;
    } else if (id == kUbxCfgNmea && payload.size() >= 12) {
        version = uint8_t(payload[1]);
    } else {
        ack = false;
    }
    if (ack)
        sendUbx(kUbxClassAck, 0x01, QByteArray().append(char(cls)).append(char(id)));
}

void SimGnssReceiver::sendUbx(uint8_t cls, uint8_t id, const QByteArray& payload)
{
    QByteArray out;
    out.append(char(kUbxSync1)).append(char(kUbxSync2)).append(char(cls)).append(char(id));
    out.append(char(payload.size() & 0xFF)).append(char((payload.size() >> 8) & 0xFF));
    out.append(payload);
    uint8_t a = 0;
    uint8_t b = 0;
    fletcher(out, 2, out.size(), &a, &b);
    out.append(char(a)).append(char(b));
    transmit(out);
}

// ---- Sending ----------------------------------------------------------------

SimSerialDevice::Clock::time_point SimGnssReceiver::nextDue() const
{
    return streaming ? nextEpoch : Clock::time_point::max();
}

void SimGnssReceiver::tick(Clock::time_point now)
{
    if (!streaming || now < nextEpoch)
        return;
    nextEpoch = now + std::chrono::milliseconds(intervalMs);
    transmit(fam == Family::Tsip ? tsipEpoch() : epoch());
    ++epochs;
    utc += secondsPerEpoch;
}

QByteArray SimGnssReceiver::talker() const
{
    switch (constellationMask) {
    case ConstellationBeiDou: return "GB";
    case ConstellationBoth: return "GN";
    default: return "GP";
    }
}

QByteArray SimGnssReceiver::epoch() const
{
    const time_t t = time_t(utc);
    struct tm u {};
    gmtime_r(&t, &u);
    char text[48];
    std::snprintf(text, sizeof(text), "%02d%02d%02d.00", u.tm_hour, u.tm_min, u.tm_sec);
    const QByteArray hms(text);
    const QByteArray tk = talker();
    const QByteArray position = "3110.4500,N,12128.3000,E";
    QByteArray out;

    if (enabled.value("GGA"))
        out += nmea(tk + "GGA," + hms + "," + position + "," + QByteArray::number(fixQuality) + ","
                    + QByteArray::number(inUse).rightJustified(2, '0') + ",0.9,12.5,M,8.1,M,,");
    if (enabled.value("GSA"))
        out += nmea(tk + "GSA,A,3,01,02,03,04,,,,,,,,,1.5,0.9,1.2");
    if (enabled.value("GSV")) {
        if (constellationMask & ConstellationGps)
            out += nmea("GPGSV,1,1," + QByteArray::number(gpsInView).rightJustified(2, '0') + ",01,45,180,42");
        if (constellationMask & ConstellationBeiDou)
            out += nmea("GBGSV,1,1," + QByteArray::number(beidouInView).rightJustified(2, '0') + ",201,50,120,40");
    }
    if (enabled.value("RMC")) {
        std::snprintf(text, sizeof(text), "%02d%02d%02d", u.tm_mday, u.tm_mon + 1, u.tm_year % 100);
        const QByteArray date(text);
        out += nmea(tk + "RMC," + hms + ",A," + position + ",0.0,0.0," + date + ",,,A");
    }
    if (enabled.value("VTG"))
        out += nmea(tk + "VTG,0.0,T,,M,0.0,N,0.0,K,A");
    if (enabled.value("GLL"))
        out += nmea(tk + "GLL," + position + "," + hms + ",A,A");
    if (enabled.value("ZDA")) {
        std::snprintf(text, sizeof(text), ",%02d,%02d,%04d,00,00", u.tm_mday, u.tm_mon + 1, u.tm_year + 1900);
        const QByteArray date(text);
        out += nmea(tk + "ZDA," + hms + date);
    }
    return out;
}

QByteArray SimGnssReceiver::tsipEpoch() const
{
    // 0x41 GPS time (time of week, week number, UTC offset), 0x46 health, 0x4B machine code.
    const int64_t gpsSeconds = utc - kGpsEpochUnix + kGpsLeapSeconds;
    const int64_t week = gpsSeconds / 604800;
    const float towSeconds = float(gpsSeconds % 604800);
    const float utcOffset = float(kGpsLeapSeconds);
    uint32_t towBits = 0;
    uint32_t offsetBits = 0;
    std::memcpy(&towBits, &towSeconds, sizeof(towBits));
    std::memcpy(&offsetBits, &utcOffset, sizeof(offsetBits));
    QByteArray time;
    appendBe32(time, towBits);
    time.append(char((week >> 8) & 0xFF)).append(char(week & 0xFF));
    appendBe32(time, offsetBits);

    QByteArray out;
    out += tsipPacket(0x41, time);
    out += tsipPacket(0x46, QByteArray("\x00\x00", 2));
    out += tsipPacket(0x4B, QByteArray("\x5A\x00\x01", 3));
    return out;
}

} // namespace zorsim
