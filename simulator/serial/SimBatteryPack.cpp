#include "SimBatteryPack.h"

namespace zorsim {

namespace {

constexpr uint8_t kBinStart = 0xDD;
constexpr uint8_t kBinEnd = 0x77;
constexpr uint8_t kBinRead = 0xA5;
constexpr uint8_t kBinWrite = 0x5A;
constexpr uint8_t kBinBasic = 0x03;
constexpr uint8_t kBinCells = 0x04;
constexpr uint8_t kBinSwitch = 0xE1;
constexpr int kAsciiMaxRequest = 64;
constexpr int kAsciiSwitchDigit = 12;
constexpr int kAsciiMinBody = 134;   // a state frame of 138 characters at least

void appendBe16(QByteArray& out, unsigned v)
{
    out.append(char((v >> 8) & 0xFF));
    out.append(char(v & 0xFF));
}

QByteArray hex(unsigned value, int digits)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(digits, '0').right(digits);
}

int index(SimBatteryPack::Request kind)
{
    return int(kind);
}

} // namespace

uint16_t SimBatteryPack::binaryChecksum(const QByteArray& bytes, int from, int to)
{
    unsigned sum = 0;
    for (int i = from; i <= to; ++i)
        sum += uint8_t(bytes[i]);
    return uint16_t(0x10000u - sum);
}

QByteArray SimBatteryPack::binaryFrame(uint8_t head, uint8_t command, const QByteArray& data)
{
    QByteArray out;
    out.append(char(kBinStart)).append(char(head)).append(char(command)).append(char(data.size() & 0xFF));
    out.append(data);
    appendBe16(out, binaryChecksum(out, 2, out.size() - 1));
    out.append(char(kBinEnd));
    return out;
}

uint8_t SimBatteryPack::asciiChecksum(const QByteArray& chars, int from, int to)
{
    unsigned sum = 0;
    for (int i = from; i <= to; ++i)
        sum += uint8_t(chars[i]);
    return uint8_t(~sum & 0xFFu);
}

QByteArray SimBatteryPack::asciiFrame(const QByteArray& body)
{
    QByteArray out = ":" + body;
    out += hex(asciiChecksum(out, 1, out.size() - 1), 2);
    out += '~';
    return out;
}

SimBatteryPack::SimBatteryPack(Protocol protocol, int baud) : SimSerialDevice(baud), proto(protocol)
{
}

SimBatteryPack::~SimBatteryPack()
{
    stop();
}

void SimBatteryPack::setState(const State& state)
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    st = state;
}

SimBatteryPack::State SimBatteryPack::state() const
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    return st;
}

void SimBatteryPack::setResponseDelayMs(int ms)
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    delayMs = ms;
}

void SimBatteryPack::setSilent(bool on)
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    silent = on;
}

void SimBatteryPack::scriptAnswer(Request kind, const QByteArray& bytes)
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    scripts.append(qMakePair(kind, bytes));
}

int SimBatteryPack::requestCount(Request kind) const
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    return counts[index(kind)];
}

int SimBatteryPack::interleavedRequests() const
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    return interleaved;
}

int SimBatteryPack::badRequests() const
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    return bad;
}

QList<QByteArray> SimBatteryPack::switchCommands() const
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    return switches;
}

// ---- Receiving --------------------------------------------------------------

void SimBatteryPack::lineNoise()
{
    rx.clear();
}

void SimBatteryPack::received(const QByteArray& bytes)
{
    const char start = proto == Protocol::Binary ? char(kBinStart) : ':';
    for (char c : bytes) {
        if (rx.isEmpty()) {
            if (c != start)
                continue;   // noise between frames
            if (pending)
                ++interleaved;   // a new request while the last answer is still due
        }
        rx.append(c);
        if (proto == Protocol::Binary) {
            if (rx.size() >= 4 && rx.size() == 7 + uint8_t(rx[3])) {
                request(rx);
                rx.clear();
            }
        } else if (c == '~') {
            request(rx);
            rx.clear();
        } else if (rx.size() > kAsciiMaxRequest) {
            ++bad;
            rx.clear();
        }
    }
}

void SimBatteryPack::request(const QByteArray& f)
{
    const int n = f.size();
    Request kind;
    if (proto == Protocol::Binary) {
        const uint16_t given = uint16_t((uint8_t(f[n - 3]) << 8) | uint8_t(f[n - 2]));
        if (uint8_t(f[n - 1]) != kBinEnd || given != binaryChecksum(f, 2, n - 4)) {
            ++bad;
            return;
        }
        const uint8_t head = uint8_t(f[1]);
        const uint8_t command = uint8_t(f[2]);
        if (head == kBinRead && command == kBinBasic) {
            kind = Request::Basic;
        } else if (head == kBinRead && command == kBinCells) {
            kind = Request::Cells;
        } else if (head == kBinWrite && command == kBinSwitch && n == 9) {
            kind = Request::Switch;
            st.fet = uint8_t(f[5]);
        } else {
            ++bad;
            return;
        }
    } else {
        bool ok = false;
        const int given = f.mid(n - 3, 2).toInt(&ok, 16);
        if (n < 8 || !ok || given != asciiChecksum(f, 1, n - 4)) {
            ++bad;
            return;
        }
        const QByteArray command = f.mid(3, 2);
        if (command == "02") {
            kind = Request::Basic;
        } else if (command == "06" && n == 16) {
            kind = Request::Switch;
            const int open = f[kAsciiSwitchDigit] - '0';
            st.fet = uint8_t(((open & 0x02) ? 0 : 1) | ((open & 0x01) ? 0 : 2));
        } else {
            ++bad;
            return;
        }
    }

    if (pending)
        return;   // counted as interleaved when it started; the line is confused
    ++counts[index(kind)];
    if (kind == Request::Switch)
        switches.append(f);

    QByteArray out;
    for (int i = 0; i < scripts.size(); ++i) {
        if (scripts[i].first == kind) {
            out = scripts.takeAt(i).second;
            break;
        }
    }
    if (out.isEmpty()) {
        if (proto == Protocol::Binary) {
            out = kind == Request::Basic ? binaryBasic()
                : kind == Request::Cells ? binaryCells()
                                         : binaryFrame(kBinSwitch, 0x00, QByteArray());
        } else {
            out = kind == Request::Basic ? asciiState() : asciiFrame("018A00000000");
        }
    }
    answer(kind, out);
}

void SimBatteryPack::answer(Request, const QByteArray& bytes)
{
    if (silent)
        return;
    pending = true;
    pendingAnswer = bytes;
    answerAt = Clock::now() + std::chrono::milliseconds(delayMs);
}

void SimBatteryPack::tick(Clock::time_point now)
{
    if (pending && now >= answerAt) {
        pending = false;
        transmit(pendingAnswer);
    }
}

// ---- Answers ----------------------------------------------------------------

QByteArray SimBatteryPack::binaryBasic() const
{
    QByteArray d;
    appendBe16(d, st.voltageMv / 10u);
    appendBe16(d, uint16_t(int16_t(st.currentMa / 10)));
    appendBe16(d, st.residualMah / 10u);
    appendBe16(d, st.ratedMah / 10u);
    appendBe16(d, st.cycles);
    appendBe16(d, st.productionDate);
    appendBe16(d, st.balanceLow);
    appendBe16(d, st.balanceHigh);
    appendBe16(d, st.protection);
    d.append(char(st.softVersion));
    d.append(char(st.stateOfCharge));
    d.append(char(st.fet));
    d.append(char(st.cellsMv.size()));
    d.append(char(st.temperatures.size()));
    for (int16_t t : st.temperatures)
        appendBe16(d, uint16_t(t));
    return binaryFrame(kBinBasic, 0x00, d);
}

QByteArray SimBatteryPack::binaryCells() const
{
    QByteArray d;
    for (uint16_t mv : st.cellsMv)
        appendBe16(d, mv);
    return binaryFrame(kBinCells, 0x00, d);
}

QByteArray SimBatteryPack::asciiState() const
{
    const bool charging = st.currentMa > 0;
    const unsigned chargeCurrent = charging ? unsigned(st.currentMa / 10) : 0u;
    const unsigned dischargeCurrent = st.currentMa < 0 ? unsigned(-(st.currentMa / 10)) : 0u;
    unsigned flags = ((st.fet & 0x01) ? 0x02u : 0u) | ((st.fet & 0x02) ? 0x01u : 0u);
    flags |= st.protection == 0 ? 0x0Cu : 0x10u;

    QByteArray b = "01";                          // address
    b += "82";                                    // state answer
    b += hex(st.softVersion, 2);
    b += QByteArray(18, '0');                     // reserved
    b += hex(st.voltageMv / 2u, 4);
    b += hex(unsigned(st.cellsMv.size()), 2);
    for (uint16_t mv : st.cellsMv)
        b += hex(mv, 4);
    b += hex(chargeCurrent, 4);
    b += hex(dischargeCurrent, 4);
    b += hex(unsigned(st.temperatures.size()), 2);
    for (int16_t t : st.temperatures)
        b += hex(unsigned(t / 10 - 273 + 40) & 0xFFu, 2);   // degC + 40
    b += QByteArray(6, '0');                      // board temperatures
    b += hex(charging ? 0x0001u : 0x0000u, 4);    // status
    b += QByteArray(8, '0');
    b += hex(flags, 2);
    b += QByteArray(16, '0');
    b += hex(st.balanceLow, 4);
    b += hex(st.cycles, 4);
    b += "0000";                                  // not read by the product
    b += hex(st.stateOfCharge, 2);
    b += hex(st.residualMah / 100u, 4);
    b += hex(st.ratedMah / 100u, 4);
    // Further fields of the pack (not read by the product) fill the frame to
    // its usual size whatever the cell count.
    if (b.size() < kAsciiMinBody)
        b += QByteArray(kAsciiMinBody - b.size(), '0');
    return asciiFrame(b);
}

} // namespace zorsim
