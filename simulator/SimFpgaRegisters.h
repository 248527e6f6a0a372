#pragma once

// Register map of the instrument's FPGA as seen over the register link
// (byte addresses of 16-bit registers; 32-bit values low half first).

#include <cstdint>

namespace zorsim {
namespace reg {

constexpr uint16_t kPageMemoryEnd = 0x1800;       // eight pages of 768 bytes from 0

constexpr uint16_t kReadAddr = 0x8000;
constexpr uint16_t kReadCount = 0x8002;
constexpr uint16_t kReadTrigger = 0x8004;
constexpr uint16_t kReadMagic = 0x1234;

constexpr uint16_t kVersionHigh = 0x800A;
constexpr uint16_t kVersionLow = 0x800C;

constexpr uint16_t kClockBlockFirst = 0x8100;     // time reference, IRIG-B, latch/load, PPX, trigger I/O
constexpr uint16_t kClockBlockLast = 0x815A;      // 0x815A: the link check's scratch register

constexpr uint16_t kRunMode = 0x8300;             // 1 = the FPGA steps through the pages itself
constexpr uint16_t kPageSwitch = 0x8302;          // page, bit 15 = software switch
constexpr uint16_t kStateCount = 0x8304;
constexpr uint16_t kActionFirst = 0x8306;         // per page p: time (32) at +6p, flags at +6p+4
constexpr uint16_t kActionLast = 0x8334;
constexpr uint16_t kState = 0x8336;               // bits 0-2 page, bit 15 last state / page ended
constexpr uint16_t kBinaryInputs = 0x8338;
constexpr uint16_t kBinaryOutputsRead = 0x833A;
constexpr uint16_t kBinaryOutputsSet = 0x833C;    // bits 0-3, bit 15 software control
constexpr uint16_t kRunBits = 0x833E;             // 1 voltage, 2 current, 4 low-level outputs
constexpr uint16_t kDecayStep = 0x8340;           // 32 bits
constexpr uint16_t kKeyTrigger = 0x8344;          // write 0x1234

constexpr uint16_t kPower = 0x8400;               // bit 0 voltage amp, 1 current amp, 2 aux DC
constexpr uint16_t kAuxDc = 0x8402;
constexpr uint16_t kDither = 0x8404;              // 32 bits, microseconds
constexpr uint16_t kFanFullScale = 0x8408;
constexpr uint16_t kHardwareConfigured = 0x840A;
constexpr uint16_t kFanSetPoint = 0x840C;
constexpr uint16_t kFanSpeed = 0x840E;
constexpr uint16_t kAlarmTemperature = 0x8410;
constexpr uint16_t kResumeTemperature = 0x8412;
constexpr uint16_t kAlarms = 0x8414;
constexpr uint16_t kTemperatureFirst = 0x8416;    // four sensors to 0x841C
constexpr uint16_t kSensorStates = 0x841E;
constexpr uint16_t kPulseInput = 0x8420;          // write enable; read bit 0 count valid, bit 1 period valid
constexpr uint16_t kPulseTimeUnit = 0x8422;
constexpr uint16_t kPulsePeriodLow = 0x8424;
constexpr uint16_t kPulsePeriodHigh = 0x8426;
constexpr uint16_t kPulseSpare = 0x8428;
constexpr uint16_t kPulseCount = 0x842A;
constexpr uint16_t kPulseOutputEnable = 0x842C;
constexpr uint16_t kPulseOutputPeriodLow = 0x842E;
constexpr uint16_t kPulseOutputPeriodHigh = 0x8430;
constexpr uint16_t kPulseOutputExtra = 0x8432;
constexpr uint16_t kPowerApply = 0x8434;

constexpr uint16_t kElapsedPage0 = 0x84EA;        // 32 bits: ticks played of the current page
constexpr uint16_t kElapsedOther = 0x84EE;
// 32 bits per page (0x84F2 + 4 p): the microseconds page p played from its
// entry until the ring left it, the time it was held past its end included;
// counting while it plays or is held, kept until the ring enters it again.
constexpr uint16_t kPlayedFirst = 0x84F2;
constexpr uint16_t kPlayedLast = kPlayedFirst + 4 * 8 - 2;

constexpr uint16_t kStateLastBit = 0x8000;
constexpr uint16_t kSoftwareSwitchBit = 0x8000;
constexpr uint16_t kBoSoftwareBit = 0x8000;

} // namespace reg
} // namespace zorsim
