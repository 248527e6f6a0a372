#pragma once

// The battery pack's management system on its serial port (9600 8N1): polls
// the pack's state with the binary or the ASCII protocol (chosen by
// CommDriverConfigureSoftData::batteryType: 0 binary, else ASCII) and sends
// the pack's output switch (MOS) command. One mutex serialises every open,
// close and request/answer exchange on the port, so the battery thread's
// polling and the testor's switch command never interleave.
//
// Every function returns 0 for success and -1 for failure; a failure leaves
// the driver records unchanged. An answer whose state of charge lies above
// 100 % is a failure too.

#include <cstdint>

// The 15 words both protocols fill, in this order.
enum BatteryInfoWord {
    BATTERY_WORD_VOLTAGE_TOTAL = 0,   // mV
    BATTERY_WORD_CURRENT = 1,         // mA, signed
    BATTERY_WORD_RESIDUAL_CAPACITY = 2,
    BATTERY_WORD_RATED_CAPACITY = 3,
    BATTERY_WORD_CYCLE_COUNT = 4,
    BATTERY_WORD_PRODUCE_DATE = 5,
    BATTERY_WORD_BALANCE_LOW = 6,
    BATTERY_WORD_BALANCE_HIGH = 7,
    BATTERY_WORD_PROTECTION = 8,
    BATTERY_WORD_SOFT_VERSION = 9,
    BATTERY_WORD_CAPACITY_PERCENT = 10,
    BATTERY_WORD_FET_STATE = 11,
    BATTERY_WORD_CELL_MAX = 12,       // mV
    BATTERY_WORD_CELL_MIN = 13,       // mV
    BATTERY_WORD_CELL_AVERAGE = 14,   // mV
    BATTERY_WORD_COUNT = 15,
};

// Opens the port (zoplat::batterySerialDevice(), "/dev/ttyO3" on the device),
// checks it is a terminal, applies 9600 8N1 and flushes it. A port that is
// already open is closed first. Reopening after a failure is the caller's.
int batteryUartInit();
int batteryUartRelease();

int driverBaseBatteryInit();
int driverBaseBatteryRelease();

// Reads the pack with the configured protocol; info also reads the cell
// voltages (the binary protocol's second request). On success fills the
// charging state and capacity of CommDriverTestStatusData and the details of
// CommDriverBatteryInfoData.
int driverBaseReadBatteryState(bool info);
// Sends CommDriverTestStatusData::statusBatteryMOSState; 0 when acknowledged.
int driverBaseWriteBatteryState();

// Protocol level. words keeps its values where an exchange fails; the
// charging state is written only on success.
int batteryUartReadStateData(uint16_t words[BATTERY_WORD_COUNT], int32_t* chargingState, bool info);  // binary
int batteryBMSReadStateData(uint16_t words[BATTERY_WORD_COUNT], int32_t* chargingState, bool info);   // ASCII
int batteryUartWriteStateData(uint8_t mosState);   // binary switch command
int batteryBMSWriteStateData(uint8_t mosState);    // ASCII switch command

// State of charge s (percent reported by the pack) as shown: 100 x (s - 5) / 95
// above 5 %, else 0.
uint16_t batteryCapacityPercent(unsigned stateOfCharge);

// The decoding step of the reads on its own, for one answer of length bytes
// as it would arrive (cut to the receive buffer of its request): kind
// BATTERY_ANSWER_BASIC fills words up to the FET state and the charging state,
// BATTERY_ANSWER_CELLS the cell words (chargingState may be null), and
// BATTERY_ANSWER_ASCII what batteryBMSReadStateData fills. 0 when the answer
// was valid; otherwise -1, with nothing changed.
enum BatteryAnswerKind { BATTERY_ANSWER_BASIC = 0, BATTERY_ANSWER_CELLS = 1, BATTERY_ANSWER_ASCII = 2 };
int batteryDecodeAnswer(int kind, const uint8_t* bytes, int length, uint16_t words[BATTERY_WORD_COUNT],
                        int32_t* chargingState);
