#include "SimInstrument.h"

#include "SimFpga.h"
#include "SimMcaspPort.h"
#include "SimText.h"
#include "zodrv_mcaspport_host.h"

#include <cmath>
#include <cstdio>
#include <mutex>

namespace zorsim {

namespace {
// The instrument's lock for one use of it: with pacing set, the clock first
// catches up with real time, and the pacer hears of a change of its plan
// before the lock goes.
template <class Impl>
struct Use
{
    explicit Use(Impl& impl)
        : d(impl)
        , lock(impl.mutex)
    {
        d.pace();
    }
    ~Use() { d.checkPlan(); }
    Impl& d;
    std::lock_guard<std::recursive_mutex> lock;
};
}   // namespace

struct SimInstrument::Impl : public zodrv::McaspRegisterPort, public DutContext
{
    using Guard = Use<Impl>;

    explicit Impl(const HardwareConstants& constants)
        : hw(constants)
        , fpga(clock, constants,
               SimFpga::Hooks{[this](const std::string& t) { record(t); }, [this] { outputsChanged(); },
                              [this](uint16_t addr) {
                                  if (readHook)
                                      readHook(addr);
                              }})
        , port(fpga, [this](const std::string& t) { record(t); })
    {
    }

    // ---- Register port (link threads) ----
    bool mapBlock(uint32_t physAddr, uint32_t size) override
    {
        Guard lock(*this);
        return port.mapBlock(physAddr, size);
    }
    void unmapBlock(uint32_t physAddr) override
    {
        Guard lock(*this);
        port.unmapBlock(physAddr);
    }
    uint32_t readRegister(uint32_t physAddr, uint32_t offset) override
    {
        Guard lock(*this);
        return port.read(physAddr, offset);
    }
    void writeRegister(uint32_t physAddr, uint32_t offset, uint32_t value) override
    {
        Guard lock(*this);
        port.write(physAddr, offset, value);
    }

    // ---- Device-under-test context (called under the lock) ----
    int64_t nowNs() const override { return clock.now(); }
    const PlayedOutputs& outputs() const override { return fpga.outputs(); }
    void setBinaryInput(int index, bool closed) override { setContact(index, closed); }
    int64_t earliestActionNs() const override
    {
        return outputsChangedNs + static_cast<int64_t>(std::ceil(1e9 / hw.tickRate));
    }
    bool binaryInput(int index) const override { return index >= 0 && index < 4 && fpga.binaryInput(index); }
    uint64_t scheduleAt(int64_t atNs, std::function<void()> fn) override { return clock.schedule(atNs, std::move(fn)); }
    void cancel(uint64_t id) override { clock.cancel(id); }
    void energyPulse() override { fpga.pulseInputEdge(); }

    // The raw contact, with its edge recorded (back door and models alike).
    void setContact(int index, bool closed)
    {
        if (index >= 0 && index < 4 && fpga.binaryInput(index) != closed)
            (closed ? contactCloses : contactOpens)[index].push_back(clock.now());
        fpga.setBinaryInput(index, closed);
    }

    void record(const std::string& text)
    {
        violations.push_back(ProtocolViolation{clock.now(), text});
        std::fprintf(stderr, "simulated instrument: %s (at %lld ns)\n", text.c_str(),
                     static_cast<long long>(clock.now()));
    }

    // Models hear of a change through a deadline at the time of the change,
    // so they always run from the clock's loop with now() at that time.
    void outputsChanged()
    {
        outputsChangedNs = clock.now();
        if (notifyPending || duts.empty())
            return;
        notifyPending = true;
        clock.schedule(clock.now(), [this] {
            notifyPending = false;
            for (const auto& dut : duts)
                dut->outputsChanged();
        });
    }

    // ---- Pacing (under the lock) ----
    void pace()
    {
        if (!pacing.owedNs || pacingNow)
            return;
        pacingNow = true;
        const int64_t owed = pacing.owedNs();
        if (owed > 0)
            clock.advance(owed);
        pacingNow = false;
    }
    void checkPlan()
    {
        if (!pacing.changed)
            return;
        const bool playing = fpga.status().running;
        const std::optional<int64_t> next = clock.nextDeadline();
        if (playing == reportedPlaying && (!next || (reportedNext && *next >= *reportedNext)))
            return;
        reportedPlaying = playing;
        reportedNext = next;
        pacing.changed();
    }

    // Declared before the models: their constructors already report through these.
    mutable std::recursive_mutex mutex;
    Pacing pacing;
    bool pacingNow = false;
    bool reportedPlaying = false;
    std::optional<int64_t> reportedNext;
    HardwareConstants hw;
    SimClock clock;
    std::vector<ProtocolViolation> violations;
    std::array<std::vector<int64_t>, 4> contactCloses;
    std::array<std::vector<int64_t>, 4> contactOpens;
    std::vector<std::shared_ptr<DutModel>> duts;
    std::function<void(uint16_t)> readHook;
    bool notifyPending = false;
    int64_t outputsChangedNs = 0;
    bool attached = false;
    SimFpga fpga;
    SimMcaspPort port;
};

SimInstrument::SimInstrument(const HardwareConstants& hw)
    : d(std::make_unique<Impl>(hw))
{
}

SimInstrument::~SimInstrument()
{
    detach();
    unplugAll();
}

// The port is installed and removed outside the instrument's lock: an install
// waits for the accesses in progress, which take that lock.
void SimInstrument::attach()
{
    zodrv::mcaspInstallPort(d.get());
    Impl::Guard lock(*d);
    d->attached = true;
}

void SimInstrument::detach()
{
    {
        Impl::Guard lock(*d);
        if (!d->attached)
            return;
        d->attached = false;
    }
    if (zodrv::mcaspInstalledPort() == d.get())
        zodrv::mcaspInstallPort(nullptr);
}

bool SimInstrument::isAttached() const
{
    Impl::Guard lock(*d);
    return d->attached && zodrv::mcaspInstalledPort() == d.get();
}

int64_t SimInstrument::nowNs() const
{
    Impl::Guard lock(*d);
    return d->clock.now();
}

double SimInstrument::nowSeconds() const
{
    return nowNs() / 1e9;
}

void SimInstrument::advance(int64_t durationNs)
{
    Impl::Guard lock(*d);
    d->clock.advance(durationNs);
}

void SimInstrument::advanceSeconds(double seconds)
{
    advance(static_cast<int64_t>(std::llround(seconds * 1e9)));
}

bool SimInstrument::advanceToNextEvent()
{
    Impl::Guard lock(*d);
    return d->clock.advanceToNext();
}

std::optional<int64_t> SimInstrument::nextEventNs() const
{
    Impl::Guard lock(*d);
    return d->clock.nextDeadline();
}

void SimInstrument::setPacing(Pacing pacing)
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    d->pacing = std::move(pacing);
    d->reportedPlaying = d->fpga.status().running;
    d->reportedNext.reset();
}

SimInstrument::PaceState SimInstrument::catchUp()
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    d->pace();
    PaceState state;
    state.playing = d->fpga.status().running;
    state.nextEventNs = d->clock.nextDeadline();
    state.nowNs = d->clock.now();
    d->reportedPlaying = state.playing;
    d->reportedNext = state.nextEventNs;
    return state;
}

void SimInstrument::setReadHook(std::function<void(uint16_t addr)> hook)
{
    Impl::Guard lock(*d);
    d->readHook = std::move(hook);
}

bool SimInstrument::endPlayingPage()
{
    Impl::Guard lock(*d);
    return d->fpga.endPlayingPage();
}

void SimInstrument::setBinaryInput(int index, bool closed)
{
    Impl::Guard lock(*d);
    d->setContact(index, closed);
}

bool SimInstrument::binaryInput(int index) const
{
    Impl::Guard lock(*d);
    return d->binaryInput(index);
}

std::vector<int64_t> SimInstrument::contactCloseTimes(int index) const
{
    Impl::Guard lock(*d);
    return index >= 0 && index < 4 ? d->contactCloses[index] : std::vector<int64_t>();
}

std::vector<int64_t> SimInstrument::contactOpenTimes(int index) const
{
    Impl::Guard lock(*d);
    return index >= 0 && index < 4 ? d->contactOpens[index] : std::vector<int64_t>();
}

void SimInstrument::setTemperature(int sensor, double degC)
{
    Impl::Guard lock(*d);
    d->fpga.setTemperature(sensor, degC);
}

void SimInstrument::releaseTemperature(int sensor)
{
    Impl::Guard lock(*d);
    d->fpga.releaseTemperature(sensor);
}

void SimInstrument::setAmbientTemperature(double degC)
{
    Impl::Guard lock(*d);
    d->fpga.setAmbientTemperature(degC);
}

void SimInstrument::setSensorState(int sensor, int code)
{
    Impl::Guard lock(*d);
    d->fpga.setSensorState(sensor, code);
}

void SimInstrument::setAlarmBits(uint16_t bits)
{
    Impl::Guard lock(*d);
    d->fpga.setAlarmBits(bits);
}

void SimInstrument::setFanSpeedCount(std::optional<uint16_t> count)
{
    Impl::Guard lock(*d);
    d->fpga.setFanSpeedCount(count);
}

void SimInstrument::setPulseInput(uint16_t count, uint32_t period, bool countValid, bool periodValid)
{
    Impl::Guard lock(*d);
    d->fpga.setPulseInput(count, period, countValid, periodValid);
}

void SimInstrument::setFpgaVersion(uint16_t high, uint16_t low)
{
    Impl::Guard lock(*d);
    d->fpga.setFpgaVersion(high, low);
}

void SimInstrument::setClockRegister(uint16_t addr, uint16_t value)
{
    Impl::Guard lock(*d);
    d->fpga.setClockRegister(addr, value);
}

void SimInstrument::withClockBlock(const std::function<void(SimClockBlock&)>& fn)
{
    Impl::Guard lock(*d);
    fn(d->fpga.clockBlock());
    d->fpga.clockBlockChanged();
}

void SimInstrument::setOutputErrors(const OutputErrors& errors)
{
    Impl::Guard lock(*d);
    d->fpga.setOutputErrors(std::make_shared<const OutputErrors>(errors));
}

void SimInstrument::clearOutputErrors()
{
    Impl::Guard lock(*d);
    d->fpga.setOutputErrors(nullptr);
}

MeterReading SimInstrument::measure(int channel) const
{
    Impl::Guard lock(*d);
    return readMeter(d->fpga.outputs(), channel, d->clock.now());
}

double SimInstrument::measureAuxDc() const
{
    Impl::Guard lock(*d);
    const PlayedOutputs& played = d->fpga.outputs();
    if (!d->fpga.auxDcOn())
        return 0.0;
    return played.errors ? played.errors->auxDcVolts(d->fpga.auxDcSetPoint())
                         : OutputErrors().auxDcVolts(d->fpga.auxDcSetPoint());
}

void SimInstrument::setLinkFault(LinkFault fault, uint64_t frames)
{
    Impl::Guard lock(*d);
    d->port.setFault(fault, frames);
}

LinkFault SimInstrument::linkFault() const
{
    Impl::Guard lock(*d);
    return d->port.fault();
}

void SimInstrument::setStuckStartBit(uint32_t gblctlBit)
{
    Impl::Guard lock(*d);
    d->port.setStuckStartBit(gblctlBit);
}

LinkCounters SimInstrument::counters() const
{
    Impl::Guard lock(*d);
    return d->port.counters();
}

std::vector<ProtocolViolation> SimInstrument::violations() const
{
    Impl::Guard lock(*d);
    return d->violations;
}

std::string SimInstrument::violationText() const
{
    Impl::Guard lock(*d);
    std::string text;
    for (const ProtocolViolation& v : d->violations)
        text += strf("%lld ns: ", static_cast<long long>(v.timeNs)) + v.text + "\n";
    return text;
}

void SimInstrument::clearViolations()
{
    Impl::Guard lock(*d);
    d->violations.clear();
}

std::vector<uint32_t> SimInstrument::frames() const
{
    Impl::Guard lock(*d);
    return d->port.frames();
}

void SimInstrument::clearFrames()
{
    Impl::Guard lock(*d);
    d->port.clearFrames();
}

void SimInstrument::setFrameLogging(bool on)
{
    Impl::Guard lock(*d);
    d->port.setFrameLogging(on);
}

uint16_t SimInstrument::peekRegister(uint16_t addr) const
{
    Impl::Guard lock(*d);
    return d->fpga.peek(addr);
}

std::array<uint16_t, kPageWords> SimInstrument::pageWords(int page) const
{
    Impl::Guard lock(*d);
    return d->fpga.pageWords(page & 7);
}

PageContent SimInstrument::decodedPage(int page) const
{
    const std::array<uint16_t, kPageWords> words = pageWords(page);
    return decodePage(words.data(), d->hw);
}

PlayerStatus SimInstrument::playerStatus() const
{
    Impl::Guard lock(*d);
    return d->fpga.status();
}

PlayedOutputs SimInstrument::outputs() const
{
    Impl::Guard lock(*d);
    return d->fpga.outputs();
}

uint32_t SimInstrument::peekPortRegister(uint32_t offset) const
{
    Impl::Guard lock(*d);
    return d->port.peek(offset);
}

const HardwareConstants& SimInstrument::hardware() const
{
    return d->hw;
}

void SimInstrument::plugIn(std::shared_ptr<DutModel> model)
{
    if (!model)
        return;
    Impl::Guard lock(*d);
    d->duts.push_back(model);
    model->plugged(*d);
}

void SimInstrument::unplugAll()
{
    Impl::Guard lock(*d);
    for (const auto& dut : d->duts)
        dut->unplugged();
    d->duts.clear();
}

}   // namespace zorsim
