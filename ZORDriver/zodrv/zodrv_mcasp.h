#pragma once

// Register link to the instrument's FPGA over the McASP0 serial port.
//
// Every frame is 32 bits: FPGA register address in bits 31-16, data in bits
// 15-0. FPGA addresses are byte addresses of 16-bit registers; a 32-bit value
// sits low half first at addr, high half at addr + 2. A read is the command
// triple (0x8000, addr), (0x8002, word count), (0x8004, 0x1234); the FPGA
// answers word by word in RBUF1.
//
// All functions return 0 on success and -1 on a time-out (after printing the
// time-out message). Each whole operation (one write frame, a 32-bit write, or
// a read command with its answer) holds the link mutex, so operations from
// different threads never interleave their frames. A link that is not set up
// (before drv_mcasp_init, after a failed set-up or after drv_mcasp_release)
// fails every operation with -1 and touches no register.

#include <cstdint>

// FPGA read-command registers and trigger value.
constexpr uint16_t MCASP_FPGA_READ_ADDR = 0x8000;
constexpr uint16_t MCASP_FPGA_READ_COUNT = 0x8002;
constexpr uint16_t MCASP_FPGA_READ_TRIGGER = 0x8004;
constexpr uint16_t MCASP_FPGA_READ_MAGIC = 0x1234;

// Maps the clock module and McASP0 and starts the port. May be called again
// (after a failure or a release): the previous mapping is dropped first.
int drv_mcasp_init();
// Unmaps McASP0 and clears the mapping state; always 0.
int drv_mcasp_release();

int drv_mcasp_write_u16(uint16_t addr, uint16_t value);
// Frame (addr, low half) then (addr + 2, high half).
int drv_mcasp_write_u32(uint16_t addr, uint32_t value);
// count frames at addr, addr + 2, ...; stops at the first time-out.
int drv_mcasp_write_u16s(uint16_t addr, const uint16_t* values, uint32_t count);
// count 32-bit writes, every one to the same pair addr, addr + 2.
int drv_mcasp_write_u32s(uint16_t addr, const uint32_t* values, uint32_t count);

// Reads leave *out untouched on failure.
int drv_mcasp_read_u16(uint16_t addr, uint16_t* out);
// Two single-word reads: addr (low half) and addr + 2 (high half).
int drv_mcasp_read_u32(uint16_t addr, uint32_t* out);
// count single-word reads at addr, addr + 2, ...
int drv_mcasp_read_u16s(uint16_t addr, uint16_t* out, uint32_t count);
// count 32-bit reads at addr, addr + 4, ...
int drv_mcasp_read_u32s(uint16_t addr, uint32_t* out, uint32_t count);
// One read command with word count 2: first word | (second word << 16).
int drv_mcasp_read_u32b(uint16_t addr, uint32_t* out);
// One read command with word count = count; words received in order.
int drv_mcasp_read_u16sb(uint16_t addr, uint16_t* out, uint32_t count);
// One read command with word count 2 x count; each value low half first.
int drv_mcasp_read_u32sb(uint16_t addr, uint32_t* out, uint32_t count);

// Link checks (not used by the system): a fixed write to 0x815A, and a
// two-word read of the FPGA version at 0x800A; both print what they did.
int drv_mcasp_demo_testwrite();
int drv_mcasp_demo_testread();

// Tuning knob for tests: the number of ready polls before a time-out
// (product values: 0x7FFFFFFF per transmitted frame, 0xFFFFF per received
// word, 0xFFFFF per set-up step). Small limits let tests see the time-out
// messages quickly. drv_mcasp_reset_poll_limits restores the product values.
void drv_mcasp_set_poll_limits(uint32_t writePolls, uint32_t readPolls, uint32_t setupPolls);
void drv_mcasp_reset_poll_limits();

// Process-shared mutex in the 40-byte shared file "mcaspMutex" (under the
// device path "/var/run"). Kept for other processes; no link operation takes it.
int mcaspMutexInit();
int mcaspMutexRelease();
int mcaspMutexLock();
int mcaspMutexUnlock();
