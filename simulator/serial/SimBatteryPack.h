#pragma once

// A simulated battery pack (its management system) on a pseudo-terminal (see
// SimSerialDevice), speaking one of the two protocols:
// - Binary: "DD A5 03 00 FF FD 77" basic state, "DD A5 04 00 FF FC 77" cell
//   voltages, "DD 5A E1 02 00 m c c 77" output switch (FET state = m).
// - Ascii: ":000200000E08~" state frame (cells, temperatures, flags,
//   capacities), ":000652001003cc~" output switch (the digit at character 12
//   carries the switches to open: bit 1 charge, bit 0 discharge).
// Requests with a wrong checksum are counted and not answered.
//
// It handles one request at a time: after a request it takes the response
// delay to answer. A request that starts before the answer to the previous
// one has gone out is counted as interleaved (two masters on the line).

#include "SimSerialDevice.h"

#include <QList>

#include <vector>

namespace zorsim {

class SimBatteryPack : public SimSerialDevice
{
public:
    enum class Protocol { Binary, Ascii };
    enum class Request { Basic, Cells, Switch };

    struct State
    {
        uint16_t voltageMv = 16800;
        int16_t currentMa = -1250;         // > 0 charging
        uint16_t residualMah = 8000;
        uint16_t ratedMah = 10000;
        uint16_t cycles = 42;
        uint16_t productionDate = 0x2A6B;  // (year - 2000) << 9 | month << 5 | day
        uint16_t balanceLow = 0x0005;
        uint16_t balanceHigh = 0;
        uint16_t protection = 0;
        uint8_t softVersion = 0x21;
        uint8_t stateOfCharge = 80;        // percent as the pack reports it
        uint8_t fet = 3;                   // bit 0 charge, bit 1 discharge switch on
        std::vector<uint16_t> cellsMv{4190, 4210, 4200, 4180};
        std::vector<int16_t> temperatures{2981, 2995};   // 0.1 K
    };

    explicit SimBatteryPack(Protocol protocol, int baud = 9600);
    ~SimBatteryPack() override;

    Protocol protocol() const { return proto; }

    void setState(const State& state);
    State state() const;
    void setResponseDelayMs(int ms);      // default 2
    void setSilent(bool silent);          // hears but never answers

    // The next request of this kind is answered with these bytes instead.
    void scriptAnswer(Request kind, const QByteArray& bytes);

    int requestCount(Request kind) const;
    int interleavedRequests() const;
    int badRequests() const;
    QList<QByteArray> switchCommands() const;   // exact bytes of each switch command

    // Frame helpers (shared with tests that build their own answers).
    static uint16_t binaryChecksum(const QByteArray& bytes, int from, int to);   // inclusive
    static QByteArray binaryFrame(uint8_t head, uint8_t command, const QByteArray& data);
    static uint8_t asciiChecksum(const QByteArray& chars, int from, int to);     // inclusive
    static QByteArray asciiFrame(const QByteArray& body);   // ':' body checksum '~'

protected:
    void received(const QByteArray& bytes) override;
    void lineNoise() override;
    Clock::time_point nextDue() const override { return pending ? answerAt : Clock::time_point::max(); }
    void tick(Clock::time_point now) override;
    bool answerDue() const override { return pending; }

private:
    void request(const QByteArray& frame);
    void answer(Request kind, const QByteArray& bytes);
    QByteArray binaryBasic() const;
    QByteArray binaryCells() const;
    QByteArray asciiState() const;

    const Protocol proto;
    State st;
    int delayMs = 2;
    bool silent = false;

    QByteArray rx;
    bool pending = false;
    QByteArray pendingAnswer;
    Clock::time_point answerAt{};

    QList<QPair<Request, QByteArray>> scripts;
    int counts[3] = {0, 0, 0};
    int interleaved = 0;
    int bad = 0;
    QList<QByteArray> switches;
};

} // namespace zorsim
