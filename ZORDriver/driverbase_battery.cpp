#include "driverbase_battery.h"

#include "CommDriverData.h"
#include "driverserial.h"
#include "zoplatform.h"

#include <algorithm>
#include <fcntl.h>
#include <mutex>
#include <stdio.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Guards the battery port only: every open, close and request/answer pair.
std::mutex localMcaspMutex;
int localfdSerial = -1;
// The words of the last valid answers, kept across reads (the cell words
// survive reads without the cell request). Used by the one polling thread.
uint16_t localBatteryWords[BATTERY_WORD_COUNT] = {};

constexpr int kAnswerTimeoutMs = 2000;
// A state of charge above this is no reading: the whole answer is refused.
constexpr unsigned kMaxStateOfCharge = 100;
constexpr int kRequestPauseMs = 200;

// ---- Binary protocol: DD <cmd/status> ... <checksum hi lo> 77 ---------------

constexpr uint8_t kBinStart = 0xDD;
constexpr uint8_t kBinEnd = 0x77;
constexpr uint8_t kBinCmdBasic = 0x03;
constexpr uint8_t kBinCmdCells = 0x04;
constexpr uint8_t kBinCmdSwitch = 0xE1;
constexpr int kBinAnswerMax = 99;
constexpr int kBinBasicMin = 30;
constexpr int kBinCellsMin = 8;
constexpr int kBinDataStart = 4;
constexpr int kBinTrailer = 3;   // checksum (2) and end byte

const uint8_t kBinBasicRequest[] = {0xDD, 0xA5, 0x03, 0x00, 0xFF, 0xFD, 0x77};
const uint8_t kBinCellsRequest[] = {0xDD, 0xA5, 0x04, 0x00, 0xFF, 0xFC, 0x77};

uint16_t binChecksum(const uint8_t* bytes, int from, int to)   // inclusive range
{
    unsigned sum = 0;
    for (int i = from; i <= to; ++i)
        sum += bytes[i];
    return uint16_t(0x10000u - sum);
}

uint16_t be16(const uint8_t* p)
{
    return uint16_t((unsigned(p[0]) << 8) | p[1]);
}

// Header, trailer, minimum length and checksum of an answer to command cmd.
bool binAnswerValid(const uint8_t* a, int n, uint8_t cmd, int minLength)
{
    if (n < minLength || n < 7)
        return false;
    if (a[0] != kBinStart || a[1] != cmd || a[2] != 0x00 || a[n - 1] != kBinEnd)
        return false;
    return be16(a + n - 3) == binChecksum(a, 2, n - 4);
}

bool binDecodeBasic(const uint8_t* a, int n, uint16_t words[BATTERY_WORD_COUNT], int32_t* charging)
{
    if (!binAnswerValid(a, n, kBinCmdBasic, kBinBasicMin))
        return false;
    const uint8_t* d = a + kBinDataStart;
    if (d[19] > kMaxStateOfCharge)
        return false;
    for (int i = 0; i <= BATTERY_WORD_PROTECTION; ++i) {
        unsigned w = be16(d + 2 * i);
        if (i <= BATTERY_WORD_RATED_CAPACITY)
            w *= 10u;   // 10 mV, 10 mA and 10 mAh units
        words[i] = uint16_t(w);
    }
    words[BATTERY_WORD_SOFT_VERSION] = d[18];
    words[BATTERY_WORD_CAPACITY_PERCENT] = batteryCapacityPercent(d[19]);
    words[BATTERY_WORD_FET_STATE] = d[20];
    *charging = int16_t(be16(d + 2)) > 0 ? 1 : 0;
    return true;
}

// Highest, lowest and average of count cell voltages read by cell(i).
template <typename CellFn>
void cellWords(int count, CellFn cell, uint16_t words[BATTERY_WORD_COUNT])
{
    unsigned hi = 0;
    unsigned lo = 0;
    unsigned long sum = 0;
    for (int i = 0; i < count; ++i) {
        const unsigned v = cell(i);
        if (i == 0 || v > hi)
            hi = v;
        if (i == 0 || v < lo)
            lo = v;
        sum += v;
    }
    words[BATTERY_WORD_CELL_MAX] = uint16_t(hi);
    words[BATTERY_WORD_CELL_MIN] = uint16_t(lo);
    words[BATTERY_WORD_CELL_AVERAGE] = count > 0 ? uint16_t(sum / unsigned(count)) : 0;
}

bool binDecodeCells(const uint8_t* a, int n, uint16_t words[BATTERY_WORD_COUNT])
{
    if (!binAnswerValid(a, n, kBinCmdCells, kBinCellsMin))
        return false;
    const int count = a[3] / 2;
    // The count comes from the frame: it must fit in what arrived.
    if (kBinDataStart + 2 * count > n - kBinTrailer)
        return false;
    cellWords(count, [a](int i) { return unsigned(be16(a + kBinDataStart + 2 * i)); }, words);
    return true;
}

// ---- ASCII protocol: ':' <hex pairs> <checksum> '~' -------------------------

constexpr int kAscAnswerMax = 150;
constexpr int kAscAnswerMin = 130;
constexpr int kAscSwitchAnswer = 16;
constexpr char kAscRequest[] = ":000200000E08~";
constexpr char kAscSwitchTemplate[] = ":000652001003AF~";
constexpr int kAscSwitchDigit = 12;

uint8_t ascChecksum(const uint8_t* chars, int from, int to)   // inclusive range
{
    unsigned sum = 0;
    for (int i = from; i <= to; ++i)
        sum += chars[i];
    return uint8_t(~sum & 0xFFu);
}

int hexDigit(uint8_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

const char kHex[] = "0123456789ABCDEF";

// Hexadecimal fields of one ASCII answer, each read only inside the data part
// (before the checksum); a field past it or with a non-hex character fails.
class AscReader
{
public:
    AscReader(const uint8_t* chars, int end) : c(chars), limit(end) {}
    bool ok() const { return good; }
    unsigned value(int pos, int width)
    {
        if (!good || pos < 0 || pos + width > limit) {
            good = false;
            return 0;
        }
        unsigned v = 0;
        for (int i = 0; i < width; ++i) {
            const int d = hexDigit(c[pos + i]);
            if (d < 0) {
                good = false;
                return 0;
            }
            v = (v << 4) | unsigned(d);
        }
        return v;
    }
    unsigned byte(int pos) { return value(pos, 2); }
    unsigned word(int pos) { return value(pos, 4); }

private:
    const uint8_t* c;
    int limit;
    bool good = true;
};

bool ascDecode(const uint8_t* a, int n, uint16_t words[BATTERY_WORD_COUNT], int32_t* charging)
{
    if (n < kAscAnswerMin || a[0] != ':' || a[3] != '8' || a[4] != '2' || a[n - 1] != '~')
        return false;
    const int h = hexDigit(a[n - 3]);
    const int l = hexDigit(a[n - 2]);
    if (h < 0 || l < 0 || uint8_t((h << 4) | l) != ascChecksum(a, 1, n - 4))
        return false;

    uint16_t w[BATTERY_WORD_COUNT];
    for (int i = 0; i < BATTERY_WORD_COUNT; ++i)
        w[i] = words[i];

    AscReader r(a, n - 3);
    w[BATTERY_WORD_SOFT_VERSION] = uint16_t(r.byte(5));
    w[BATTERY_WORD_VOLTAGE_TOTAL] = uint16_t(2u * r.word(25));
    const int cells = int(r.byte(29));
    const int cellStart = 31;
    // The counts come from the frame: every field they move must lie inside it.
    if (!r.ok() || cellStart + 4 * cells > n - 3)
        return false;
    cellWords(cells, [&r](int i) { return r.word(cellStart + 4 * i); }, w);
    const int p = cellStart + 4 * cells;
    const unsigned chargeCurrent = r.word(p);
    const unsigned dischargeCurrent = r.word(p + 4);
    const int temps = int(r.byte(p + 8));
    const int q = p + 10 + 2 * (temps + 3);
    const unsigned status = r.word(q);
    const unsigned flags = r.byte(q + 12);
    const int a6 = q + 30;
    w[BATTERY_WORD_BALANCE_LOW] = uint16_t(r.word(a6));
    w[BATTERY_WORD_CYCLE_COUNT] = uint16_t(r.word(a6 + 4));
    r.word(a6 + 8);   // not kept
    const unsigned soc = r.byte(a6 + 12);
    w[BATTERY_WORD_RESIDUAL_CAPACITY] = uint16_t(100u * r.word(a6 + 14));
    w[BATTERY_WORD_RATED_CAPACITY] = uint16_t(100u * r.word(a6 + 18));
    if (!r.ok() || soc > kMaxStateOfCharge)
        return false;

    const bool isCharging = (status & 1u) != 0;
    w[BATTERY_WORD_CURRENT] = uint16_t(isCharging ? 10u * chargeCurrent : 0u - 10u * dischargeCurrent);
    w[BATTERY_WORD_PROTECTION] = ((flags & 0x0Fu) == 0x0Fu && (flags & 0x30u) == 0) ? 0 : 4096;
    w[BATTERY_WORD_FET_STATE] = uint16_t(((flags & 0x02u) ? 1 : 0) + ((flags & 0x01u) ? 2 : 0));
    w[BATTERY_WORD_CAPACITY_PERCENT] = batteryCapacityPercent(soc);
    w[BATTERY_WORD_PRODUCE_DATE] = 0;
    w[BATTERY_WORD_BALANCE_HIGH] = 0;

    for (int i = 0; i < BATTERY_WORD_COUNT; ++i)
        words[i] = w[i];
    *charging = isCharging ? 1 : 0;
    return true;
}

// ---- Port -------------------------------------------------------------------

void flushPort()
{
    tcflush(localfdSerial, TCIOFLUSH);
}

int exchange(const uint8_t* request, int length, bool flushFirst, bool pause, uint8_t* answer, int answerSize)
{
    if (flushFirst)
        flushPort();
    if (uartSendData(localfdSerial, request, length) != length)
        return -1;
    if (pause)
        zoplat::sleepMs(kRequestPauseMs);
    return uartRecvData(localfdSerial, answer, answerSize, kAnswerTimeoutMs);
}

void closePort()
{
    if (localfdSerial >= 0) {
        close(localfdSerial);
        localfdSerial = -1;
    }
}

} // namespace

uint16_t batteryCapacityPercent(unsigned stateOfCharge)
{
    if (stateOfCharge <= 5)
        return 0;
    return uint16_t(100u * (stateOfCharge - 5u) / 95u);
}

int batteryUartInit()
{
    std::lock_guard<std::mutex> lock(localMcaspMutex);
    closePort();
    const QByteArray path = zoplat::batterySerialDevice().toLocal8Bit();
    const int fd = open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        printf("batteryUartInit : Unable to open %s \n", path.constData());
        fflush(stdout);
        return -1;
    }
    const int flags = fcntl(fd, F_GETFL, 0);
    if (!isatty(fd) || flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0
        || uartSetOpt(fd, 9600, 8, 'N', 1) != 0) {
        printf("batteryUartInit : %s is not a usable serial port \n", path.constData());
        fflush(stdout);
        close(fd);
        return -1;
    }
    tcflush(fd, TCIOFLUSH);
    localfdSerial = fd;
    return 0;
}

int batteryUartRelease()
{
    std::lock_guard<std::mutex> lock(localMcaspMutex);
    closePort();
    return 0;
}

int driverBaseBatteryInit()
{
    return batteryUartInit();
}

int driverBaseBatteryRelease()
{
    return batteryUartRelease();
}

int batteryUartReadStateData(uint16_t words[BATTERY_WORD_COUNT], int32_t* chargingState, bool info)
{
    if (words == nullptr || chargingState == nullptr)
        return -1;
    std::lock_guard<std::mutex> lock(localMcaspMutex);
    if (localfdSerial < 0)
        return -1;

    uint8_t answer[kBinAnswerMax];
    int n = exchange(kBinBasicRequest, int(sizeof(kBinBasicRequest)), info, info, answer, kBinAnswerMax);
    uint16_t basic[BATTERY_WORD_COUNT];
    for (int i = 0; i < BATTERY_WORD_COUNT; ++i)
        basic[i] = words[i];
    int32_t charging = 0;
    if (!binDecodeBasic(answer, n, basic, &charging))
        return -1;
    for (int i = 0; i <= BATTERY_WORD_FET_STATE; ++i)
        words[i] = basic[i];
    *chargingState = charging;

    if (info) {
        n = exchange(kBinCellsRequest, int(sizeof(kBinCellsRequest)), true, true, answer, kBinAnswerMax);
        uint16_t cells[BATTERY_WORD_COUNT] = {};
        if (binDecodeCells(answer, n, cells)) {
            for (int i = BATTERY_WORD_CELL_MAX; i <= BATTERY_WORD_CELL_AVERAGE; ++i)
                words[i] = cells[i];
        }
    }
    return 0;
}

int batteryBMSReadStateData(uint16_t words[BATTERY_WORD_COUNT], int32_t* chargingState, bool /*info*/)
{
    if (words == nullptr || chargingState == nullptr)
        return -1;
    std::lock_guard<std::mutex> lock(localMcaspMutex);
    if (localfdSerial < 0)
        return -1;

    // Nothing the pack sends unasked belongs to this request: stale answers
    // and line noise would otherwise stay ahead of every later answer.
    tcflush(localfdSerial, TCIFLUSH);
    uint8_t answer[kAscAnswerMax];
    const int n = exchange(reinterpret_cast<const uint8_t*>(kAscRequest), int(sizeof(kAscRequest) - 1),
                           false, false, answer, kAscAnswerMax);
    return ascDecode(answer, n, words, chargingState) ? 0 : -1;
}

int batteryUartWriteStateData(uint8_t mosState)
{
    uint8_t command[] = {0xDD, 0x5A, kBinCmdSwitch, 0x02, 0x00, mosState, 0x00, 0x00, kBinEnd};
    const uint16_t sum = binChecksum(command, 2, 5);
    command[6] = uint8_t(sum >> 8);
    command[7] = uint8_t(sum & 0xFF);

    std::lock_guard<std::mutex> lock(localMcaspMutex);
    if (localfdSerial < 0)
        return -1;
    uint8_t answer[kBinAnswerMax];
    const int n = exchange(command, int(sizeof(command)), true, true, answer, kBinAnswerMax);
    if (n > 6 && answer[0] == kBinStart && answer[1] == kBinCmdSwitch && answer[n - 1] == kBinEnd)
        return 0;
    return -1;
}

int batteryBMSWriteStateData(uint8_t mosState)
{
    uint8_t command[sizeof(kAscSwitchTemplate) - 1];
    for (size_t i = 0; i < sizeof(command); ++i)
        command[i] = uint8_t(kAscSwitchTemplate[i]);
    int v = 0;
    if (!(mosState & 0x01))
        v |= 0x02;
    if (!(mosState & 0x02))
        v |= 0x01;
    command[kAscSwitchDigit] = uint8_t('0' + v);
    const uint8_t sum = ascChecksum(command, 1, kAscSwitchDigit);
    command[kAscSwitchDigit + 1] = uint8_t(kHex[sum >> 4]);
    command[kAscSwitchDigit + 2] = uint8_t(kHex[sum & 0x0F]);

    std::lock_guard<std::mutex> lock(localMcaspMutex);
    if (localfdSerial < 0)
        return -1;
    uint8_t answer[kAscSwitchAnswer];
    const int n = exchange(command, int(sizeof(command)), true, true, answer, kAscSwitchAnswer);
    if (n >= kAscSwitchAnswer && answer[0] == ':' && answer[3] == '8' && answer[4] == 'A' && answer[n - 1] == '~')
        return 0;
    return -1;
}

int driverBaseReadBatteryState(bool info)
{
    if (globalConfigureSoftData == nullptr || globalTestStatusData == nullptr || globalBatteryInfoData == nullptr)
        return -1;
    uint16_t* w = localBatteryWords;
    int32_t charging = 0;
    const int result = globalConfigureSoftData->batteryType != 0
        ? batteryBMSReadStateData(w, &charging, info)
        : batteryUartReadStateData(w, &charging, info);
    if (result != 0)
        return -1;

    globalTestStatusData->statusBatteryChargingState = charging;
    globalTestStatusData->statusBatteryCapacityPercent = w[BATTERY_WORD_CAPACITY_PERCENT];

    CommDriverBatteryInfoData* record = globalBatteryInfoData;
    record->infoVoltageTotal = w[BATTERY_WORD_VOLTAGE_TOTAL];
    record->infoCurrent = int16_t(w[BATTERY_WORD_CURRENT]);
    record->infoResidualCapCapacity = w[BATTERY_WORD_RESIDUAL_CAPACITY];
    record->infoRateCapacity = w[BATTERY_WORD_RATED_CAPACITY];
    record->infoLoopCount = w[BATTERY_WORD_CYCLE_COUNT];
    record->infoProduceDate = w[BATTERY_WORD_PRODUCE_DATE];
    record->infoBalanceState = (uint32_t(w[BATTERY_WORD_BALANCE_LOW]) << 16) | w[BATTERY_WORD_BALANCE_HIGH];
    record->infoProtectedState = w[BATTERY_WORD_PROTECTION];
    record->infoSoftVersion = uint8_t(w[BATTERY_WORD_SOFT_VERSION] & 0xFF);
    record->infoCapacityPercent = uint8_t(w[BATTERY_WORD_CAPACITY_PERCENT] & 0xFF);
    record->infoFETState = uint8_t(w[BATTERY_WORD_FET_STATE] & 0xFF);
    if (w[BATTERY_WORD_CELL_MAX] != 0) {
        record->infoVoltageMax = w[BATTERY_WORD_CELL_MAX];
        record->infoVoltageMin = w[BATTERY_WORD_CELL_MIN];
        record->infoVoltageDiff = uint16_t(w[BATTERY_WORD_CELL_MAX] - w[BATTERY_WORD_CELL_MIN]);
        record->infoVoltageAverage = w[BATTERY_WORD_CELL_AVERAGE];
    }
    return 0;
}

int driverBaseWriteBatteryState()
{
    if (globalConfigureSoftData == nullptr || globalTestStatusData == nullptr)
        return -1;
    const uint8_t mos = globalTestStatusData->statusBatteryMOSState;
    return globalConfigureSoftData->batteryType != 0 ? batteryBMSWriteStateData(mos)
                                                     : batteryUartWriteStateData(mos);
}

int batteryDecodeAnswer(int kind, const uint8_t* bytes, int length, uint16_t words[BATTERY_WORD_COUNT],
                        int32_t* chargingState)
{
    if (bytes == nullptr || words == nullptr || length < 0)
        return -1;
    uint16_t w[BATTERY_WORD_COUNT];
    for (int i = 0; i < BATTERY_WORD_COUNT; ++i)
        w[i] = words[i];
    int32_t charging = 0;
    bool valid = false;
    int first = 0;
    int last = BATTERY_WORD_COUNT - 1;
    switch (kind) {
    case BATTERY_ANSWER_BASIC:
        valid = chargingState != nullptr && binDecodeBasic(bytes, std::min(length, kBinAnswerMax), w, &charging);
        last = BATTERY_WORD_FET_STATE;
        break;
    case BATTERY_ANSWER_CELLS:
        valid = binDecodeCells(bytes, std::min(length, kBinAnswerMax), w);
        first = BATTERY_WORD_CELL_MAX;
        last = BATTERY_WORD_CELL_AVERAGE;
        break;
    case BATTERY_ANSWER_ASCII:
        valid = chargingState != nullptr && ascDecode(bytes, std::min(length, kAscAnswerMax), w, &charging);
        break;
    default:
        break;
    }
    if (!valid)
        return -1;
    for (int i = first; i <= last; ++i)
        words[i] = w[i];
    if (kind != BATTERY_ANSWER_CELLS)
        *chargingState = charging;
    return 0;
}
