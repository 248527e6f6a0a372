#pragma once

// The processor's McASP0 port as the link sees it: global control with its
// start bits, serialiser 0 transmitting into XBUF0, serialiser 1 receiving in
// RBUF1. Every transmitted frame goes to the peer (the FPGA model), whose
// answer words queue for RBUF1.
//
// Not modelled: line speed and frame timing (a frame is taken the moment it
// is written; the transmitter is ready again at once), clocks and formats
// (stored, not interpreted), overrun (answer words wait in an unbounded
// queue). Ready flags: transmit when serialiser 0 is in transmit mode and the
// transmitter is fully started; receive when serialiser 1 is in receive mode,
// the receiver is started and a word waits.
//
// Which thread touches the port is recorded: a frame or an RBUF1 read from
// another thread while a read command is open is a split read.
//
// Every handler ends in update(), which recomputes the derived values: the
// global control as it reads back (stuck start bits) and both ready flags.

#include "SimInstrument.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <thread>

namespace zorsim {

class FramePeer
{
public:
    virtual ~FramePeer() = default;
    // One frame; the peer appends the words it answers with.
    virtual void frame(uint32_t word, std::deque<uint16_t>& answer) = 0;
    // The link failed a sender waiting to send: the frames it meant to send
    // next are lost.
    virtual void linkFailed() {}
};

class SimMcaspPort
{
public:
    using ViolationSink = std::function<void(const std::string&)>;

    SimMcaspPort(FramePeer& peer, ViolationSink sink);
    // Power-on state, every field assigned.
    void reset();

    bool mapBlock(uint32_t physAddr, uint32_t size);
    void unmapBlock(uint32_t physAddr);
    uint32_t read(uint32_t physAddr, uint32_t offset);
    void write(uint32_t physAddr, uint32_t offset, uint32_t value);
    uint32_t peek(uint32_t offset) const;

    void setFault(LinkFault fault, uint64_t frames);
    LinkFault fault() const { return state.fault; }
    void setStuckStartBit(uint32_t bit);

    const LinkCounters& counters() const { return state.counters; }
    std::vector<uint32_t> frames() const { return {state.frameLog.begin(), state.frameLog.end()}; }
    void clearFrames() { state.frameLog.clear(); }
    void setFrameLogging(bool on) { state.logFrames = on; }

private:
    struct State
    {
        uint32_t clockControl = 0;   // CM_PER McASP0 clock control
        uint32_t gblctl = 0;
        uint32_t srctl0 = 0;
        uint32_t srctl1 = 0;
        std::map<uint32_t, uint32_t> plain;   // format, clock and pin registers
        std::deque<uint16_t> receive;
        LinkFault fault = LinkFault::None;
        uint64_t framesBeforeFailure = 0;
        uint32_t stuckBits = 0;
        bool readySeen = false;     // the sender has read XRDY and not yet written
        bool commandOpen = false;   // a read command is waiting for its answer
        std::thread::id commandOwner;
        LinkCounters counters;
        bool logFrames = true;
        std::deque<uint32_t> frameLog;
    };

    // What update() derives from State; nothing else writes it.
    struct Derived
    {
        uint32_t gblctl = 0;   // as read back
        bool transmitReady = false;
        bool receiveReady = false;
    };

    bool clockOn() const { return (state.clockControl & 3u) == 2u; }
    // The fault set keeps the transmitter from becoming ready.
    bool linkFailing() const;
    void update();
    uint32_t readRegister(uint32_t physAddr, uint32_t offset);
    void writeRegister(uint32_t physAddr, uint32_t offset, uint32_t value);
    void takeFrame(uint32_t word);
    void checkOwner(const char* what);
    static bool plainRegister(uint32_t offset);

    FramePeer& peer;
    ViolationSink violation;
    State state;
    Derived derived;
};

}   // namespace zorsim
