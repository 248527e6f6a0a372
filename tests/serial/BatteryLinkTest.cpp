// The battery link against a simulated pack on a pseudo-terminal.

#include "CommDriverData.h"
#include "SerialTestSupport.h"
#include "SimBatteryPack.h"
#include "driverbase_battery.h"
#include "driverserial.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>

#include <atomic>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <random>
#include <stdlib.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using serialtest::waitUntil;
using zorsim::SimBatteryPack;
using Protocol = SimBatteryPack::Protocol;
using Request = SimBatteryPack::Request;

namespace {

// ---- Independent references -------------------------------------------------

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// DD <b1> <b2> <len> data <0x10000 - sum(b2 .. data), high first> 77
QByteArray binaryFrame(int b1, int b2, const QByteArray& data)
{
    unsigned sum = unsigned(b2) + unsigned(data.size());
    for (char c : data)
        sum += uint8_t(c);
    const unsigned check = (0x10000u - sum) & 0xFFFFu;
    return bytes({0xDD, b1, b2, data.size()}) + data + bytes({int(check >> 8), int(check & 0xFF), 0x77});
}

// ':' body <two hex digits of the inverted byte sum of body> '~'
QByteArray asciiFrame(const QByteArray& body)
{
    unsigned sum = 0;
    for (char c : body)
        sum += uint8_t(c);
    return ":" + body + QByteArray::number(~sum & 0xFFu, 16).toUpper().rightJustified(2, '0') + "~";
}

int percentOf(int soc)
{
    return soc > 5 ? 100 * (soc - 5) / 95 : 0;
}

// The records this link writes, to compare before and after a failure.
struct Snapshot
{
    CommDriverBatteryInfoData info;
    int32_t charging;
    int32_t percent;
};

Snapshot snapshot()
{
    return {*globalBatteryInfoData, globalTestStatusData->statusBatteryChargingState,
            globalTestStatusData->statusBatteryCapacityPercent};
}

bool same(const Snapshot& a, const Snapshot& b)
{
    const CommDriverBatteryInfoData& x = a.info;
    const CommDriverBatteryInfoData& y = b.info;
    return x.infoVoltageTotal == y.infoVoltageTotal && x.infoCurrent == y.infoCurrent
        && x.infoVoltageAverage == y.infoVoltageAverage && x.infoVoltageMax == y.infoVoltageMax
        && x.infoVoltageMin == y.infoVoltageMin && x.infoVoltageDiff == y.infoVoltageDiff
        && x.infoLoopCount == y.infoLoopCount && x.infoRateCapacity == y.infoRateCapacity
        && x.infoResidualCapCapacity == y.infoResidualCapCapacity && x.infoBalanceState == y.infoBalanceState
        && x.infoProtectedState == y.infoProtectedState && x.infoSoftVersion == y.infoSoftVersion
        && x.infoCapacityPercent == y.infoCapacityPercent && x.infoFETState == y.infoFETState
        && x.infoProduceDate == y.infoProduceDate && a.charging == b.charging && a.percent == b.percent;
}

// ---- Fixture ----------------------------------------------------------------

class BatteryLink : public ::testing::Test
{
protected:
    BatteryLink() : platform(0.05) {}

    void SetUp() override
    {
        saved = {globalConfigureSoftData, globalTestStatusData, globalBatteryInfoData};
        globalConfigureSoftData = &soft;
        globalTestStatusData = &status;
        globalBatteryInfoData = &info;
    }

    void TearDown() override
    {
        batteryUartRelease();
        globalConfigureSoftData = std::get<0>(saved);
        globalTestStatusData = std::get<1>(saved);
        globalBatteryInfoData = std::get<2>(saved);
    }

    void connect(SimBatteryPack& pack)
    {
        ASSERT_TRUE(pack.isOpen());
        soft.batteryType = pack.protocol() == Protocol::Binary ? 0 : 1;
        zoplat::host::setBatterySerialDevice(pack.slavePath());
        pack.start();
        ASSERT_EQ(0, driverBaseBatteryInit());
    }

    serialtest::PlatformScope platform;
    CommDriverConfigureSoftData soft;
    CommDriverTestStatusData status;
    CommDriverBatteryInfoData info;
    std::tuple<CommDriverConfigureSoftData*, CommDriverTestStatusData*, CommDriverBatteryInfoData*> saved;
};

class BatteryProtocol : public BatteryLink, public ::testing::WithParamInterface<Protocol>
{
};

TEST_P(BatteryProtocol, FillsStatusAndInformationRecords)
{
    SimBatteryPack pack(GetParam());
    connect(pack);
    const bool binary = GetParam() == Protocol::Binary;

    struct Row
    {
        uint8_t soc;
        int16_t currentMa;
        uint16_t protection;
        uint8_t fet;
        std::vector<uint16_t> cells;
    };
    const Row rows[] = {
        {5, -1250, 0, 3, {4190, 4210, 4200, 4180}},
        {6, 2500, 0, 1, {3300, 3310}},
        {53, -30, 0x0010, 3, {3650, 3700, 3600, 3690, 3620, 3610, 3640}},
        {100, 10, 0, 2, {4200}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(int(row.soc));
        SimBatteryPack::State s;
        s.stateOfCharge = row.soc;
        s.currentMa = row.currentMa;
        s.protection = row.protection;
        s.fet = row.fet;
        s.cellsMv = row.cells;
        s.voltageMv = uint16_t(16000 + 20 * row.soc);
        s.residualMah = uint16_t(100 * row.soc);
        s.cycles = uint16_t(7 + row.soc);
        pack.setState(s);

        ASSERT_EQ(0, driverBaseReadBatteryState(true));
        EXPECT_EQ(row.currentMa > 0 ? 1 : 0, status.statusBatteryChargingState);
        EXPECT_EQ(percentOf(row.soc), status.statusBatteryCapacityPercent);
        EXPECT_EQ(percentOf(row.soc), info.infoCapacityPercent);
        EXPECT_EQ(s.voltageMv, info.infoVoltageTotal);
        EXPECT_EQ(row.currentMa, info.infoCurrent);
        EXPECT_EQ(s.residualMah, info.infoResidualCapCapacity);
        EXPECT_EQ(s.ratedMah, info.infoRateCapacity);
        EXPECT_EQ(s.cycles, info.infoLoopCount);
        EXPECT_EQ(s.softVersion, info.infoSoftVersion);
        EXPECT_EQ(row.fet, info.infoFETState);
        const uint16_t hi = *std::max_element(row.cells.begin(), row.cells.end());
        const uint16_t lo = *std::min_element(row.cells.begin(), row.cells.end());
        unsigned sum = 0;
        for (uint16_t c : row.cells)
            sum += c;
        EXPECT_EQ(hi, info.infoVoltageMax);
        EXPECT_EQ(lo, info.infoVoltageMin);
        EXPECT_EQ(hi - lo, info.infoVoltageDiff);
        EXPECT_EQ(sum / row.cells.size(), info.infoVoltageAverage);
        if (binary) {
            EXPECT_EQ(s.productionDate, info.infoProduceDate);
            EXPECT_EQ((uint32_t(s.balanceLow) << 16) | s.balanceHigh, info.infoBalanceState);
            EXPECT_EQ(row.protection, info.infoProtectedState);
        } else {
            EXPECT_EQ(0, info.infoProduceDate);
            EXPECT_EQ(uint32_t(s.balanceLow) << 16, info.infoBalanceState);
            // Protection reads clear only with both switches on and no fault flag.
            EXPECT_EQ((row.fet == 3 && row.protection == 0) ? 0 : 4096, info.infoProtectedState);
        }
    }
    EXPECT_EQ(0, pack.interleavedRequests());
    EXPECT_EQ(0, pack.badRequests());
}

TEST_P(BatteryProtocol, SwitchCommandForEveryStateByteForByte)
{
    SimBatteryPack pack(GetParam());
    connect(pack);
    for (uint8_t m = 0; m < 4; ++m) {
        SCOPED_TRACE(int(m));
        status.statusBatteryMOSState = m;
        ASSERT_EQ(0, driverBaseWriteBatteryState());

        QByteArray expected;
        if (GetParam() == Protocol::Binary) {
            expected = binaryFrame(0x5A, 0xE1, bytes({0x00, m}));
        } else {
            // Character 12 names the switches to open: bit 1 charge, bit 0 discharge.
            const int open = ((m & 1) ? 0 : 2) | ((m & 2) ? 0 : 1);
            expected = asciiFrame("00065200100" + QByteArray::number(open));
        }
        ASSERT_FALSE(pack.switchCommands().isEmpty());
        EXPECT_EQ(expected.toHex(), pack.switchCommands().last().toHex());

        // The pack obeyed: the next reading reports the new switch state.
        ASSERT_EQ(0, driverBaseReadBatteryState(true));
        EXPECT_EQ(m, info.infoFETState);
    }
    if (GetParam() == Protocol::Binary) {
        EXPECT_EQ("dd5ae1020003ff1a77", pack.switchCommands().last().toHex());
    }
    EXPECT_EQ(4, pack.requestCount(Request::Switch));
    EXPECT_EQ(0, pack.badRequests());
}

// A state of charge above 100 % is no reading: nothing of the answer is taken.
TEST_P(BatteryProtocol, AChargeAbove100PercentIsNoReading)
{
    SimBatteryPack pack(GetParam());
    connect(pack);
    SimBatteryPack::State s;
    s.stateOfCharge = 53;
    pack.setState(s);
    ASSERT_EQ(0, driverBaseReadBatteryState(true));
    ASSERT_EQ(50, status.statusBatteryCapacityPercent);
    const Snapshot good = snapshot();
    for (int soc : {101, 160, 255}) {
        SCOPED_TRACE(soc);
        s.stateOfCharge = uint8_t(soc);
        s.voltageMv = 15000;
        pack.setState(s);
        EXPECT_EQ(-1, driverBaseReadBatteryState(true));
        EXPECT_TRUE(same(good, snapshot()));
    }
    s.stateOfCharge = 100;
    pack.setState(s);
    ASSERT_EQ(0, driverBaseReadBatteryState(true));
    EXPECT_EQ(100, status.statusBatteryCapacityPercent);
    EXPECT_EQ(100, info.infoCapacityPercent);
    EXPECT_EQ(15000, info.infoVoltageTotal);
}

INSTANTIATE_TEST_SUITE_P(Protocols, BatteryProtocol, ::testing::Values(Protocol::Binary, Protocol::Ascii),
                         [](const ::testing::TestParamInfo<Protocol>& p) {
                             return p.param == Protocol::Binary ? "Binary" : "Ascii";
                         });

TEST_F(BatteryLink, WithoutInfoTheCellRequestIsSkippedAndCellsKept)
{
    SimBatteryPack pack(Protocol::Binary);
    connect(pack);
    SimBatteryPack::State s;
    s.cellsMv = {4000, 4100};
    pack.setState(s);
    ASSERT_EQ(0, driverBaseReadBatteryState(true));
    ASSERT_EQ(1, pack.requestCount(Request::Cells));

    s.cellsMv = {3000, 3100};
    s.voltageMv = 12340;
    pack.setState(s);
    ASSERT_EQ(0, driverBaseReadBatteryState(false));
    EXPECT_EQ(1, pack.requestCount(Request::Cells));
    EXPECT_EQ(2, pack.requestCount(Request::Basic));
    EXPECT_EQ(12340, info.infoVoltageTotal);
    EXPECT_EQ(4100, info.infoVoltageMax);
    EXPECT_EQ(4000, info.infoVoltageMin);
    EXPECT_EQ(4050, info.infoVoltageAverage);
}

TEST_F(BatteryLink, RejectsAnswersThatDoNotHoldWhatTheyClaim)
{
    // A valid basic answer's data: 23 bytes, no temperature sensors.
    QByteArray basicData(23, '\0');
    basicData[1] = char(100);   // 1000 mV
    basicData[19] = char(50);   // state of charge

    QByteArray badSum = binaryFrame(0x03, 0x00, basicData);
    badSum[badSum.size() - 2] = char(badSum[badSum.size() - 2] ^ 0x01);
    struct Case
    {
        const char* name;
        Protocol protocol;
        Request kind;
        QByteArray answer;
    };
    // 150-character ASCII state frames with right checksums: 255 cells
    // claimed; one cell but 120 temperature sensors claimed. (With counts of
    // 0 the same frames are valid.)
    const QByteArray head = "0182" + QByteArray(20, '0') + "1F40";
    const QByteArray manyCells = asciiFrame(head + "FF" + QByteArray(116, '0'));
    const QByteArray manyTemps = asciiFrame(head + "01" + "1000" + "0000" + "0000" + "78" + QByteArray(102, '0'));
    const Case cases[] = {
        {"29-byte basic answer with a right checksum", Protocol::Binary, Request::Basic,
         binaryFrame(0x03, 0x00, basicData.left(22))},
        {"wrong checksum", Protocol::Binary, Request::Basic, badSum},
        {"wrong status byte", Protocol::Binary, Request::Basic, binaryFrame(0x03, 0x80, basicData)},
        {"cut short", Protocol::Binary, Request::Basic, binaryFrame(0x03, 0x00, basicData).left(25)},
        {"ASCII: more cells than characters", Protocol::Ascii, Request::Basic, manyCells},
        {"ASCII: more temperatures than characters", Protocol::Ascii, Request::Basic, manyTemps},
        {"ASCII: too short", Protocol::Ascii, Request::Basic, asciiFrame("0182" + QByteArray(100, '0'))},
        {"ASCII: not hexadecimal", Protocol::Ascii, Request::Basic,
         asciiFrame(head + "00" + QByteArray(116, 'G'))},
    };
    // The decoding step on its own (what the fuzz target drives) takes the
    // valid answer and refuses every one below, changing nothing.
    const auto decode = [](int kind, const QByteArray& answer, uint16_t* words, int32_t* charging) {
        return batteryDecodeAnswer(kind, reinterpret_cast<const uint8_t*>(answer.constData()), answer.size(), words,
                                   charging);
    };
    uint16_t words[BATTERY_WORD_COUNT] = {};
    int32_t charging = -1;
    ASSERT_EQ(0, decode(BATTERY_ANSWER_BASIC, binaryFrame(0x03, 0x00, basicData), words, &charging));
    EXPECT_EQ(1000, words[BATTERY_WORD_VOLTAGE_TOTAL]);
    EXPECT_EQ(percentOf(50), words[BATTERY_WORD_CAPACITY_PERCENT]);
    EXPECT_EQ(0, charging);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        uint16_t kept[BATTERY_WORD_COUNT] = {7};
        int32_t keptCharging = -1;
        EXPECT_EQ(-1, decode(c.protocol == Protocol::Ascii ? BATTERY_ANSWER_ASCII : BATTERY_ANSWER_BASIC, c.answer,
                             kept, &keptCharging));
        EXPECT_EQ(7, kept[0]);
        EXPECT_EQ(-1, keptCharging);
    }

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(150, manyCells.size());
        ASSERT_EQ(150, manyTemps.size());
        SimBatteryPack pack(c.protocol);
        connect(pack);
        ASSERT_EQ(0, driverBaseReadBatteryState(true));   // known values first
        const Snapshot before = snapshot();
        pack.scriptAnswer(c.kind, c.answer);
        EXPECT_EQ(-1, driverBaseReadBatteryState(true));
        EXPECT_TRUE(same(before, snapshot()));
        EXPECT_EQ(0, driverBaseReadBatteryState(true));   // and the link recovers
    }

    // A cell answer claiming 127 cells in a short frame: the reading stands, the cells are kept.
    SimBatteryPack pack(Protocol::Binary);
    connect(pack);
    ASSERT_EQ(0, driverBaseReadBatteryState(true));
    const uint16_t max = info.infoVoltageMax;
    QByteArray cells = bytes({0xDD, 0x04, 0x00, 0xFE, 0x10, 0x00, 0x10, 0x00});
    unsigned sum = 0;
    for (int i = 2; i < cells.size(); ++i)
        sum += uint8_t(cells[i]);
    cells += bytes({int(((0x10000u - sum) >> 8) & 0xFF), int((0x10000u - sum) & 0xFF), 0x77});
    pack.scriptAnswer(Request::Cells, cells);
    SimBatteryPack::State s = pack.state();
    s.voltageMv = 15550;
    pack.setState(s);
    EXPECT_EQ(0, driverBaseReadBatteryState(true));
    EXPECT_EQ(15550, info.infoVoltageTotal);
    EXPECT_EQ(max, info.infoVoltageMax);
}

TEST_F(BatteryLink, PollingAndSwitchingNeverInterleave)
{
    zoplat::setTimeScale(0.1);
    SimBatteryPack pack(Protocol::Binary);
    pack.setResponseDelayMs(15);
    connect(pack);

    // The pack does see interleaving when two requests overlap.
    {
        const int fd = open(pack.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
        const QByteArray twice = binaryFrame(0xA5, 0x03, QByteArray()) + binaryFrame(0xA5, 0x04, QByteArray());
        ASSERT_EQ(ssize_t(twice.size()), write(fd, twice.constData(), size_t(twice.size())));
        ASSERT_TRUE(waitUntil([&] { return pack.interleavedRequests() == 1; }));
        pollfd pfd{fd, POLLIN, 0};
        ASSERT_EQ(1, poll(&pfd, 1, serialtest::kDeadlineMs));   // the answer to the first
        char answer[128];
        EXPECT_GT(read(fd, answer, sizeof(answer)), 0);
        EXPECT_EQ(1, pack.requestCount(Request::Basic));
        EXPECT_EQ(0, pack.requestCount(Request::Cells));
        close(fd);
        ASSERT_EQ(0, driverBaseReadBatteryState(true));   // flushes what is left
    }

    constexpr int kRounds = 12;
    std::atomic<int> readFailures{0};
    std::atomic<int> switchFailures{0};
    std::thread poller([&] {
        for (int i = 0; i < kRounds; ++i)
            readFailures += driverBaseReadBatteryState(true) != 0;
    });
    std::thread testor([&] {
        for (int i = 0; i < kRounds; ++i) {
            status.statusBatteryMOSState = uint8_t(i & 3);
            switchFailures += driverBaseWriteBatteryState() != 0;
        }
    });
    poller.join();
    testor.join();
    EXPECT_EQ(0, readFailures.load());
    EXPECT_EQ(0, switchFailures.load());
    EXPECT_EQ(1, pack.interleavedRequests());
    EXPECT_EQ(kRounds, pack.requestCount(Request::Switch));
}

TEST_F(BatteryLink, FailuresAreReportedAndLeaveTheRecordsAlone)
{
    // No port yet, a path that does not exist, and a file that is not a terminal.
    EXPECT_EQ(-1, driverBaseReadBatteryState(true));
    EXPECT_EQ(-1, driverBaseWriteBatteryState());
    zoplat::host::setBatterySerialDevice("/nonexistent/ttyO3");
    EXPECT_EQ(-1, driverBaseBatteryInit());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString plain = dir.filePath("plain");
    ASSERT_EQ(0, close(open(plain.toLocal8Bit().constData(), O_CREAT | O_WRONLY, 0600)));
    zoplat::host::setBatterySerialDevice(plain);
    EXPECT_EQ(-1, driverBaseBatteryInit());
    EXPECT_EQ(-1, driverBaseReadBatteryState(false));

    // A pack at another speed hears noise and never answers sense.
    {
        SimBatteryPack pack(Protocol::Binary, 19200);
        connect(pack);
        const Snapshot before = snapshot();
        EXPECT_EQ(-1, driverBaseReadBatteryState(true));
        EXPECT_EQ(-1, driverBaseWriteBatteryState());
        EXPECT_GT(pack.garbledBytesHeard(), 0u);
        EXPECT_EQ(0, pack.requestCount(Request::Basic));
        EXPECT_TRUE(same(before, snapshot()));
    }

    // A silent pack, noise, an over-long answer; the port closed under the link.
    SimBatteryPack pack(Protocol::Ascii);
    connect(pack);
    ASSERT_EQ(0, driverBaseReadBatteryState(true));
    const Snapshot good = snapshot();
    pack.setSilent(true);
    EXPECT_EQ(-1, driverBaseReadBatteryState(true));
    status.statusBatteryMOSState = pack.state().fet;   // heard and obeyed, but not answered
    EXPECT_EQ(-1, driverBaseWriteBatteryState());
    pack.setSilent(false);

    std::mt19937 random(7);
    QByteArray noise(3000, '\0');
    for (char& c : noise)
        c = char(random() & 0xFF);
    pack.sendRaw(noise);
    driverBaseReadBatteryState(false);   // may read the noise; must not crash
    pack.scriptAnswer(Request::Basic, QByteArray(400, ':'));
    EXPECT_EQ(-1, driverBaseReadBatteryState(true));
    EXPECT_EQ(0, driverBaseReadBatteryState(true));
    EXPECT_TRUE(same(good, snapshot()));

    batteryUartRelease();
    EXPECT_EQ(-1, driverBaseReadBatteryState(true));
    EXPECT_EQ(0, driverBaseBatteryRelease());
}

TEST(BatterySerial, SetOptAppliesOrRefusesSettings)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(0, grantpt(master));
    ASSERT_EQ(0, unlockpt(master));
    const int fd = open(ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);

    struct Case
    {
        int speed, bits;
        char parity;
        int stop;
        int result;
        speed_t expectSpeed;
        tcflag_t cflagSet, iflagSet;
    };
    const Case cases[] = {
        {19200, 8, 'N', 1, 0, B19200, CS8 | CREAD | CLOCAL, 0},
        {230400, 7, 'e', 2, 0, B230400, CS7 | PARENB | CSTOPB, INPCK | ISTRIP},
        {2400, 8, 'O', 1, 0, B2400, CS8 | PARENB | PARODD, INPCK | ISTRIP},
        {12345, 8, 'n', 1, 0, B9600, CS8, 0},   // unknown speed: 9600
        {9600, 6, 'N', 1, -1, 0, 0, 0},
        {9600, 8, 'X', 1, -1, 0, 0, 0},
        {9600, 8, 'N', 3, -1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.speed);
        EXPECT_EQ(c.result, uartSetOpt(fd, c.speed, c.bits, c.parity, c.stop));
        if (c.result != 0)
            continue;
        termios t{};
        ASSERT_EQ(0, tcgetattr(fd, &t));
        EXPECT_EQ(c.expectSpeed, cfgetospeed(&t));
        // A pseudo-terminal keeps no parity bits in c_cflag; the input checks show the parity choice.
        const tcflag_t cflagSet = c.cflagSet & ~tcflag_t(PARENB | PARODD);
        EXPECT_EQ(cflagSet, t.c_cflag & cflagSet);
        EXPECT_EQ(c.iflagSet, t.c_iflag & c.iflagSet);
        EXPECT_EQ(0u, t.c_lflag & (ICANON | ECHO | ISIG));
        EXPECT_EQ(1, t.c_cc[VMIN]);
        EXPECT_EQ(1, t.c_cc[VTIME]);
    }

    // Receiving: a time-out gives 0, once all of it has passed; data gives one read.
    uint8_t buffer[16];
    const int64_t start = zoplat::monotonicMs();
    EXPECT_EQ(0, uartRecvData(fd, buffer, sizeof(buffer), 20));
    EXPECT_GE(zoplat::monotonicMs() - start, 20);
    ASSERT_EQ(3, write(master, "abc", 3));
    EXPECT_EQ(3, uartRecvData(fd, buffer, sizeof(buffer), 2000));
    EXPECT_EQ(-1, uartSetOpt(-1, 9600, 8, 'N', 1));
    EXPECT_EQ(-1, uartSendData(-1, buffer, 1));
    close(fd);
    close(master);
}

} // namespace
