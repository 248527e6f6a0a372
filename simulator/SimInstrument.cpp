#include "SimInstrument.h"

#include "SimFpga.h"
#include "SimMcaspPort.h"
#include "SimText.h"
#include "zodrv_mcaspport_host.h"

#include <cmath>
#include <cstdio>
#include <mutex>

namespace zorsim {

struct SimInstrument::Impl : public zodrv::McaspRegisterPort, public DutContext
{
    explicit Impl(const HardwareConstants& constants)
        : hw(constants),
          fpga(clock, constants, SimFpga::Hooks{[this](const std::string& t) { record(t); },
                                                [this] { outputsChanged(); }}),
          port(fpga, [this](const std::string& t) { record(t); })
    {
    }

    // ---- Register port (link threads) ----
    bool mapBlock(uint32_t physAddr, uint32_t size) override
    {
        std::lock_guard<std::recursive_mutex> lock(mutex);
        return port.mapBlock(physAddr, size);
    }
    void unmapBlock(uint32_t physAddr) override
    {
        std::lock_guard<std::recursive_mutex> lock(mutex);
        port.unmapBlock(physAddr);
    }
    uint32_t readRegister(uint32_t physAddr, uint32_t offset) override
    {
        std::lock_guard<std::recursive_mutex> lock(mutex);
        return port.read(physAddr, offset);
    }
    void writeRegister(uint32_t physAddr, uint32_t offset, uint32_t value) override
    {
        std::lock_guard<std::recursive_mutex> lock(mutex);
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

    // Declared before the models: their constructors already report through these.
    mutable std::recursive_mutex mutex;
    HardwareConstants hw;
    SimClock clock;
    std::vector<ProtocolViolation> violations;
    std::array<std::vector<int64_t>, 4> contactCloses;
    std::array<std::vector<int64_t>, 4> contactOpens;
    std::vector<std::shared_ptr<DutModel>> duts;
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

void SimInstrument::attach()
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    zodrv::mcaspInstallPort(d.get());
    d->attached = true;
}

void SimInstrument::detach()
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    if (!d->attached)
        return;
    if (zodrv::mcaspInstalledPort() == d.get())
        zodrv::mcaspInstallPort(nullptr);
    d->attached = false;
}

bool SimInstrument::isAttached() const
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    return d->attached && zodrv::mcaspInstalledPort() == d.get();
}

int64_t SimInstrument::nowNs() const
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    return d->clock.now();
}

double SimInstrument::nowSeconds() const
{
    return nowNs() / 1e9;
}

void SimInstrument::advance(int64_t durationNs)
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    d->clock.advance(durationNs);
}

void SimInstrument::advanceSeconds(double seconds)
{
    advance(static_cast<int64_t>(std::llround(seconds * 1e9)));
}

bool SimInstrument::advanceToNextEvent()
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    return d->clock.advanceToNext();
}

std::optional<int64_t> SimInstrument::nextEventNs() const
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    return d->clock.nextDeadline();
}

void SimInstrument::setBinaryInput(int index, bool closed)
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    d->setContact(index, closed);
}

bool SimInstrument::binaryInput(int index) const
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    return d->binaryInput(index);
}

std::vector<int64_t> SimInstrument::contactCloseTimes(int index) const
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    return index >= 0 && index < 4 ? d->contactCloses[index] : std::vector<int64_t>();
}

std::vector<int64_t> SimInstrument::contactOpenTimes(int index) const
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    return index >= 0 && index < 4 ? d->contactOpens[index] : std::vector<int64_t>();
}

void SimInstrument::setTemperature(int sensor, double degC)
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    d->fpga.setTemperature(sensor, degC);
}

void SimInstrument::releaseTemperature(int sensor)
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    d->fpga.releaseTemperature(sensor);
}

void SimInstrument::setAmbientTemperature(double degC)
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    d->fpga.setAmbientTemperature(degC);
}

void SimInstrument::setSensorState(int sensor, int code)
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    d->fpga.setSensorState(sensor, code);
}

void SimInstrument::setAlarmBits(uint16_t bits)
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    d->fpga.setAlarmBits(bits);
}

void SimInstrument::setFanSpeedCount(std::optional<uint16_t> count)
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    d->fpga.setFanSpeedCount(count);
}

void SimInstrument::setPulseInput(uint16_t count, uint32_t period, bool countValid, bool periodValid)
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    d->fpga.setPulseInput(count, period, countValid, periodValid);
}

void SimInstrument::setFpgaVersion(uint16_t high, uint16_t low)
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    d->fpga.setFpgaVersion(high, low);
}

void SimInstrument::setClockRegister(uint16_t addr, uint16_t value)
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    d->fpga.setClockRegister(addr, value);
}

void SimInstrument::withClockBlock(const std::function<void(SimClockBlock&)>& fn)
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    fn(d->fpga.clockBlock());
}

void SimInstrument::setOutputErrors(const OutputErrors& errors)
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    d->fpga.setOutputErrors(std::make_shared<const OutputErrors>(errors));
}

void SimInstrument::clearOutputErrors()
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    d->fpga.setOutputErrors(nullptr);
}

MeterReading SimInstrument::measure(int channel) const
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    return readMeter(d->fpga.outputs(), channel, d->clock.now());
}

double SimInstrument::measureAuxDc() const
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    const PlayedOutputs& played = d->fpga.outputs();
    if (!d->fpga.auxDcOn())
        return 0.0;
    return played.errors ? played.errors->auxDcVolts(d->fpga.auxDcSetPoint())
                         : OutputErrors().auxDcVolts(d->fpga.auxDcSetPoint());
}

void SimInstrument::setLinkFault(LinkFault fault, uint64_t frames)
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    d->port.setFault(fault, frames);
}

LinkFault SimInstrument::linkFault() const
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    return d->port.fault();
}

void SimInstrument::setStuckStartBit(uint32_t gblctlBit)
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    d->port.setStuckStartBit(gblctlBit);
}

LinkCounters SimInstrument::counters() const
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    return d->port.counters();
}

std::vector<ProtocolViolation> SimInstrument::violations() const
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    return d->violations;
}

std::string SimInstrument::violationText() const
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    std::string text;
    for (const ProtocolViolation& v : d->violations)
        text += strf("%lld ns: ", static_cast<long long>(v.timeNs)) + v.text + "\n";
    return text;
}

void SimInstrument::clearViolations()
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    d->violations.clear();
}

std::vector<uint32_t> SimInstrument::frames() const
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    return d->port.frames();
}

void SimInstrument::clearFrames()
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    d->port.clearFrames();
}

void SimInstrument::setFrameLogging(bool on)
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    d->port.setFrameLogging(on);
}

uint16_t SimInstrument::peekRegister(uint16_t addr) const
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    return d->fpga.peek(addr);
}

std::array<uint16_t, kPageWords> SimInstrument::pageWords(int page) const
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    return d->fpga.pageWords(page & 7);
}

PageContent SimInstrument::decodedPage(int page) const
{
    const std::array<uint16_t, kPageWords> words = pageWords(page);
    return decodePage(words.data(), d->hw);
}

PlayerStatus SimInstrument::playerStatus() const
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    return d->fpga.status();
}

PlayedOutputs SimInstrument::outputs() const
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    return d->fpga.outputs();
}

uint32_t SimInstrument::peekPortRegister(uint32_t offset) const
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
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
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    d->duts.push_back(model);
    model->plugged(*d);
}

void SimInstrument::unplugAll()
{
    std::lock_guard<std::recursive_mutex> lock(d->mutex);
    for (const auto& dut : d->duts)
        dut->unplugged();
    d->duts.clear();
}

} // namespace zorsim
