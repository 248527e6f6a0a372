#include "SimMcaspPort.h"

#include "SimFpgaRegisters.h"
#include "SimText.h"
#include "zodrv_mcaspaccess.h"

#include <sstream>

namespace zorsim {

namespace {
// McASP0 register offsets the port interprets.
constexpr uint32_t kGblctl = 0x44;
constexpr uint32_t kRgblctl = 0x60;
constexpr uint32_t kRstat = 0x80;
constexpr uint32_t kXgblctl = 0xA0;
constexpr uint32_t kXstat = 0xC0;
constexpr uint32_t kSrctl0 = 0x180;
constexpr uint32_t kSrctl1 = 0x184;
constexpr uint32_t kXbuf0 = 0x200;
constexpr uint32_t kRbuf1 = 0x284;

constexpr uint32_t kClockControl = 0x238;   // CM_PER McASP0 clock control

constexpr uint32_t kReceiveBits = 0x001F;   // receive clocks, serialiser, state machine, frame sync
constexpr uint32_t kTransmitBits = 0x1F00;
constexpr uint32_t kSrctlModeMask = 0x0003;
constexpr uint32_t kSrctlTransmit = 1;
constexpr uint32_t kSrctlReceive = 2;
constexpr uint32_t kXrdy = 0x0010;
constexpr uint32_t kRrdy = 0x0020;

constexpr size_t kFrameLogLimit = 65536;

std::string threadName(std::thread::id id)
{
    std::ostringstream out;
    out << id;
    return out.str();
}
}   // namespace

SimMcaspPort::SimMcaspPort(FramePeer& framePeer, ViolationSink sink)
    : peer(framePeer)
    , violation(std::move(sink))
{
    reset();
}

void SimMcaspPort::reset()
{
    state = State();
    derived = Derived();
    update();
}

bool SimMcaspPort::linkFailing() const
{
    return state.fault == LinkFault::NeverReady
        || (state.fault == LinkFault::FailAfterFrames && state.framesBeforeFailure == 0);
}

void SimMcaspPort::update()
{
    derived.gblctl = state.gblctl & ~state.stuckBits;
    derived.transmitReady = clockOn() && (state.srctl0 & kSrctlModeMask) == kSrctlTransmit
        && (derived.gblctl & kTransmitBits) == kTransmitBits && !linkFailing();
    derived.receiveReady = clockOn() && (state.srctl1 & kSrctlModeMask) == kSrctlReceive
        && (derived.gblctl & kReceiveBits) == kReceiveBits && !state.receive.empty();
}

bool SimMcaspPort::plainRegister(uint32_t offset)
{
    switch (offset) {
    case 0x04:
    case 0x10:
    case 0x14:
    case 0x48:
    case 0x4C:
    case 0x50:
    case 0x64:
    case 0x68:
    case 0x6C:
    case 0x70:
    case 0x74:
    case 0x78:
    case 0x7C:
    case 0x88:
    case 0xA4:
    case 0xA8:
    case 0xAC:
    case 0xB0:
    case 0xB4:
    case 0xB8:
    case 0xBC:
    case 0xC8: return true;
    default: return false;
    }
}

bool SimMcaspPort::mapBlock(uint32_t physAddr, uint32_t size)
{
    if (physAddr == zodrv::CM_PER_BASE && size <= zodrv::CM_PER_SIZE)
        return true;
    if (physAddr == zodrv::MCASP0_BASE && size <= zodrv::MCASP0_SIZE)
        return true;
    violation(strf("map of unknown register block 0x%08x (%u bytes)", physAddr, size));
    return false;
}

void SimMcaspPort::unmapBlock(uint32_t)
{
}

void SimMcaspPort::checkOwner(const char* what)
{
    const std::thread::id self = std::this_thread::get_id();
    if (state.commandOpen && self != state.commandOwner) {
        violation(strf("read command of thread %s split by %s of thread %s", threadName(state.commandOwner).c_str(),
                       what, threadName(self).c_str()));
    }
}

uint32_t SimMcaspPort::read(uint32_t physAddr, uint32_t offset)
{
    const uint32_t value = readRegister(physAddr, offset);
    update();
    return value;
}

void SimMcaspPort::write(uint32_t physAddr, uint32_t offset, uint32_t value)
{
    writeRegister(physAddr, offset, value);
    update();
}

uint32_t SimMcaspPort::readRegister(uint32_t physAddr, uint32_t offset)
{
    if (physAddr == zodrv::CM_PER_BASE)
        return offset == kClockControl ? state.clockControl : 0;
    if (!clockOn()) {
        violation(strf("McASP0 register 0x%03x read while its module clock is off", offset));
        return 0;
    }
    switch (offset) {
    case kGblctl:
    case kRgblctl:
    case kXgblctl: return derived.gblctl;
    case kSrctl0:
        if (!derived.transmitReady && linkFailing())
            peer.linkFailed();
        state.readySeen = derived.transmitReady;
        return state.srctl0 | (derived.transmitReady ? kXrdy : 0);
    case kSrctl1: return state.srctl1 | (derived.receiveReady ? kRrdy : 0);
    case kRbuf1: {
        checkOwner("an RBUF1 read");
        if (state.receive.empty()) {
            violation("RBUF1 read with no word received");
            return 0;
        }
        const uint16_t word = state.receive.front();
        state.receive.pop_front();
        ++state.counters.receivedWords;
        if (state.receive.empty())
            state.commandOpen = false;
        return word;
    }
    case kXstat:
    case kRstat: return 0;
    default:
        if (plainRegister(offset)) {
            auto it = state.plain.find(offset);
            return it == state.plain.end() ? 0 : it->second;
        }
        violation(strf("read of unknown McASP0 register 0x%03x", offset));
        return 0;
    }
}

void SimMcaspPort::writeRegister(uint32_t physAddr, uint32_t offset, uint32_t value)
{
    if (physAddr == zodrv::CM_PER_BASE) {
        if (offset == kClockControl)
            state.clockControl = value;
        else
            violation(strf("write of unknown clock-module register 0x%03x", offset));
        return;
    }
    if (!clockOn()) {
        violation(strf("McASP0 register 0x%03x written while its module clock is off", offset));
        return;
    }
    switch (offset) {
    case kGblctl: state.gblctl = value & (kReceiveBits | kTransmitBits); return;
    case kRgblctl: state.gblctl = (state.gblctl & ~kReceiveBits) | (value & kReceiveBits); return;
    case kXgblctl: state.gblctl = (state.gblctl & ~kTransmitBits) | (value & kTransmitBits); return;
    case kSrctl0: state.srctl0 = value & ~(kXrdy | kRrdy); return;
    case kSrctl1: state.srctl1 = value & ~(kXrdy | kRrdy); return;
    case kXstat:
    case kRstat: return;   // status bits are cleared by writing ones
    case kRbuf1: return;   // the set-up clears it
    case kXbuf0:
        if ((state.gblctl & kTransmitBits) != kTransmitBits) {
            if (value != 0)   // the set-up clears XBUF0 before the start
                violation(strf("frame 0x%08x written before the transmitter was started", value));
            return;
        }
        // A link that fails after the sender saw it ready still takes that
        // one frame: the word was in the buffer before.
        if (!derived.transmitReady && !(state.readySeen && linkFailing())) {
            violation(strf("frame 0x%08x written while the transmitter was not ready", value));
            return;
        }
        state.readySeen = false;
        takeFrame(value);
        return;
    default:
        if (plainRegister(offset)) {
            state.plain[offset] = value;
            return;
        }
        violation(strf("write of unknown McASP0 register 0x%03x = 0x%x", offset, value));
        return;
    }
}

void SimMcaspPort::takeFrame(uint32_t word)
{
    checkOwner("a frame");
    if (state.fault == LinkFault::FailAfterFrames && state.framesBeforeFailure > 0)
        --state.framesBeforeFailure;
    ++state.counters.frames;
    if (state.logFrames) {
        if (state.frameLog.size() >= kFrameLogLimit)
            state.frameLog.pop_front();
        state.frameLog.push_back(word);
    }
    const uint16_t addr = static_cast<uint16_t>(word >> 16);
    if (addr == reg::kReadAddr) {
        state.commandOpen = true;
        state.commandOwner = std::this_thread::get_id();
    } else if (addr != reg::kReadCount && addr != reg::kReadTrigger) {
        ++state.counters.writeFrames;
    }
    std::deque<uint16_t> answer;
    peer.frame(word, answer);
    if (addr == reg::kReadTrigger) {
        if ((word & 0xFFFF) == reg::kReadMagic)
            ++state.counters.readCommands;
        const bool swallow = state.fault == LinkFault::NoAnswer || state.fault == LinkFault::NoAnswerOnce;
        if (state.fault == LinkFault::NoAnswerOnce)
            state.fault = LinkFault::None;
        if (swallow)
            answer.clear();
        if (!state.receive.empty()) {
            violation(strf("%zu unread answer words discarded by a new read command", state.receive.size()));
            state.receive.clear();
        }
        state.counters.answeredWords += answer.size();
        state.receive.insert(state.receive.end(), answer.begin(), answer.end());
        state.commandOpen = !state.receive.empty();
    }
}

uint32_t SimMcaspPort::peek(uint32_t offset) const
{
    switch (offset) {
    case kGblctl:
    case kRgblctl:
    case kXgblctl: return derived.gblctl;
    case kSrctl0: return state.srctl0;
    case kSrctl1: return state.srctl1;
    default: {
        auto it = state.plain.find(offset);
        return it == state.plain.end() ? 0 : it->second;
    }
    }
}

void SimMcaspPort::setFault(LinkFault fault, uint64_t frames)
{
    state.fault = fault;
    state.framesBeforeFailure = frames;
    update();
}

void SimMcaspPort::setStuckStartBit(uint32_t bit)
{
    state.stuckBits = bit;
    update();
}

}   // namespace zorsim
