#pragma once

// Runs of the multi-state modules through the whole engine: facade, testor,
// pages in the simulated instrument, relay and meter models on its inputs,
// polling loop, entity results. Every TEST runs in a process of its own (see
// EngineFixture.h); rows of one TEST run one after the other.

#include "../run_source/RunSourceSupport.h"

#include "ModelDistanceEntity.h"
#include "ModelEnergyEntity.h"
#include "ModelOvercurrentEntity.h"
#include "ModelRampingEntity.h"
#include "ModelSlipFrequencyEntity.h"
#include "ModelSlipVoltageEntity.h"
#include "ModelStateSequenceEntity.h"
#include "SimEnergyMeter.h"
#include "SimFixedDelayRelay.h"
#include "SimFrequencyRelay.h"
#include "SimInverseTimeRelay.h"
#include "SimVoltageRelay.h"

#include <limits>
#include <type_traits>

namespace runprotection {

using runsource::edit;
using runsource::waitFor;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kUA = ModelEntity::AO_PORT_TYPE_UA;
constexpr int kUB = ModelEntity::AO_PORT_TYPE_UB;
constexpr int kUC = ModelEntity::AO_PORT_TYPE_UC;
constexpr int kIA = ModelEntity::AO_PORT_TYPE_IA;
constexpr int kIB = ModelEntity::AO_PORT_TYPE_IB;
constexpr int kIC = ModelEntity::AO_PORT_TYPE_IC;

// Registers the tests read back.
constexpr uint16_t kStateRegister = 0x8336;
constexpr uint16_t kStateCountRegister = 0x8304;
constexpr uint16_t kPageSwitchRegister = 0x8302;
constexpr uint16_t kRunBitsRegister = 0x833E;
constexpr uint16_t kPulseInputRegister = 0x8420;
constexpr uint16_t kPulseOutputEnableRegister = 0x842C;
constexpr uint16_t kPulseOutputPeriodLow = 0x842E;
constexpr uint16_t kPulseOutputPeriodHigh = 0x8430;

// Flags word of page p's action record: bits 8-10 count the actions.
inline uint16_t actionFlagsRegister(int page)
{
    return uint16_t(0x8306 + 6 * page + 4);
}

// Frames as the link sends them: a register write, and the write that names
// the register of a read command.
inline uint32_t writeFrame(uint16_t addr, uint16_t value)
{
    return (uint32_t(addr) << 16) | value;
}
inline uint32_t readFrame(uint16_t addr)
{
    return writeFrame(0x8000, addr);
}

// Every page the instrument enters while it runs, in order.
class PageLog : public runsource::PageEntryModel
{
public:
    struct Entry
    {
        int ring = -1;
        int64_t startNs = 0;
        zorsim::PageContent page;

        double amplitude(int channel) const
        {
            const auto& components = page.channels[size_t(channel)].components;
            return components.empty() ? 0.0 : components[0].amplitude;
        }
        double frequency(int channel) const
        {
            const auto& components = page.channels[size_t(channel)].components;
            return components.empty() ? 0.0 : components[0].frequencyHz;
        }
        zorsim::RampKind ramp(int channel) const { return page.channels[size_t(channel)].ramp.kind; }
    };

    std::string name() const override { return "page log"; }
    void pageEntered(const zorsim::PlayedOutputs& out) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        entries.push_back({out.pageIndex, out.pageStartNs, out.page});
    }
    std::vector<Entry> all() const
    {
        std::lock_guard<std::mutex> lock(mutex);
        return entries;
    }
    std::vector<double> amplitudes(int channel) const
    {
        std::vector<double> values;
        for (const Entry& e : all())
            values.push_back(e.amplitude(channel));
        return values;
    }
    // The entries but the check pages: a page of the debounce's time that
    // plays the page before it on (a page the relay rests on before a fault).
    std::vector<Entry> withoutChecks(double debounceSeconds) const
    {
        std::vector<Entry> kept;
        for (const Entry& e : all()) {
            bool same = !kept.empty() && e.page.trigger() == zorsim::TriggerType::Time
                        && std::fabs(e.page.durationSeconds - debounceSeconds) < 1e-4;
            for (int c = 0; same && c < 8; ++c)
                same = std::fabs(e.amplitude(c) - kept.back().amplitude(c)) < 1e-6;
            if (!same)
                kept.push_back(e);
        }
        return kept;
    }

private:
    mutable std::mutex mutex;
    std::vector<Entry> entries;
};

// Keeps the testor busy for `lagMs` whenever the instrument enters a page,
// before it takes what the polling loop reports next.
class TestorLag : public runsource::PageEntryModel
{
public:
    TestorLag(QObject* testor, unsigned long lagMs)
        : testor(testor)
        , lagMs(lagMs)
    {
    }
    std::string name() const override { return "testor lag"; }
    void pageEntered(const zorsim::PlayedOutputs&) override
    {
        const unsigned long ms = lagMs;
        QMetaObject::invokeMethod(
            testor, [ms] { QThread::msleep(ms); }, Qt::QueuedConnection);
    }

private:
    QObject* testor;
    unsigned long lagMs;
};

// What the product's debounce handling makes of a relay's operate time: the
// instrument stamps the action once the contact has been stable for the
// debounce time; the driver takes the debounce off again, but never below
// 1 ms.
inline double recordedTripTime(double operateSeconds, double debounceSeconds)
{
    const float stamped = float(operateSeconds + debounceSeconds);
    const float dither = float(debounceSeconds);
    if (stamped * 1000.0f > dither * 1000.0f)
        return std::max(double(stamped - dither), double(0.001f));
    return stamped;
}

// Rated three-phase voltages at 50 Hz before and between the faults of a
// load-shedding test, no current (the low-current items set their own).
template <typename Entity>
void setSheddingNormal(Entity& e)
{
    const double angles[8] = {0, 240, 120, 0, 0, 240, 120, 0};
    for (int c = 0; c < 8; ++c) {
        e.normalOutputRanges[c] = c < 3 ? 57.735 : 0.0;
        e.normalOutputAngles[c] = angles[c];
        e.normalOutputFrequencies[c] = 50.0;
        e.intervalOutputRanges[c] = e.normalOutputRanges[c];
        e.intervalOutputAngles[c] = angles[c];
        e.intervalOutputFrequencies[c] = 50.0;
    }
    e.normalTime = 1.0;
    e.holdTime = 0.5;
    e.intervalTime = 1.0;
    e.rateCurrent = 1.0;
    e.maxVoltage = 120.0;
    e.maxCurrent = 20.0;
}

// One group per point: pre-fault (rated voltages, `pre` A), fault (`fault`
// A, armed, time or binary input), after-fault (no output).
template <typename Entity>
inline void setGroups(Entity& e, const std::vector<double>& faultAmps, double pre, double preSeconds, double faultSeconds,
               double afterSeconds)
{
    using Trigger = std::remove_reference_t<decltype(e.stateTriggerTypes[0])>;
    e.stateCount = int(faultAmps.size()) * 3;
    for (int s = 0; s < e.stateCount; ++s) {
        const int kind = s % 3;
        const double amps = kind == 0 ? pre : kind == 1 ? faultAmps[size_t(s / 3)] : 0.0;
        const double angles[8] = {0, 240, 120, 0, -80, 160, 40, 0};
        for (int c = 0; c < 8; ++c) {
            e.stateOutputRanges[s][c] = kind == 2 || c == 3 || c == 7 ? 0.0 : (c < 4 ? 57.735 : amps);
            e.stateOutputAngles[s][c] = angles[c];
            e.stateOutputFrequencies[s][c] = 50.0;
        }
        e.stateOutputTimes[s] = kind == 0 ? preSeconds : kind == 1 ? faultSeconds : afterSeconds;
        e.stateTriggerTypes[s] = Trigger(kind == 1 ? 2 : 0);
        for (int i = 0; i < 4; ++i)
            e.stateOutputBOStates[s][i] = 0;
    }
    for (int i = 0; i < 4; ++i)
        e.stateOutputBIStates[i] = i == 0 ? 1 : 0;
    e.stateBILogicTypes = ModelEntity::AO_BILOGIC_TYPE_OR;
}

template <typename Entity, typename Item>
void setSheddingPoint(Entity& e, int p, Item item, double begin, double end, double step, double rate)
{
    e.testItemType[p] = item;
    e.rampBeginValues[p] = begin;
    e.rampEndValues[p] = end;
    e.rampStepValues[p] = step;
    e.slipValue[p] = rate;
}

} // namespace runprotection

class RunProtectionTest : public RunSourceTest
{
protected:
    std::shared_ptr<runprotection::PageLog> plugPageLog()
    {
        auto log = std::make_shared<runprotection::PageLog>();
        sim->plugIn(log);
        return log;
    }

    double debounceSeconds() const { return double(globalConfigureSoftData->ditherTime); }

    // Starts the module; true once its start event has arrived (the run may
    // have ended again since).
    bool startRun(ControllerTestor::TESTType type)
    {
        const int before = texts(ConstTextUtility::TEST_AOSTART);
        center->testActive(type);
        center->testStart();
        return settle() && texts(ConstTextUtility::TEST_AOSTART) > before;
    }

    // Runs the module until its run has ended by itself.
    void runToEnd(ControllerTestor::TESTType type)
    {
        ASSERT_TRUE(startRun(type)) << qPrintable(testor().lastStartRefusal());
        ASSERT_TRUE(waitEnded());
    }

    // Reads entity fields under its lock.
    template <typename Entity, typename Fn>
    auto read(Entity& entity, Fn fn)
    {
        QMutexLocker lock(&entity.entityLock);
        return fn(entity);
    }
};
