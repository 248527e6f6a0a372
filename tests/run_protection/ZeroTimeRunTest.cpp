// Runs with states of no time (pre-fault, interval, after-fault or sequence
// states of 0 s): the instrument leaves such a page as soon as it enters it,
// so the page after it must be complete by then. The link is held at the
// first word of every page the testor writes, for three polling periods: the
// instrument's clock runs on meanwhile and the polling loop, waiting for the
// link, polls between the page's remaining words. A page the instrument could
// reach then shows as a switch to an incomplete page in its violation list.

#include "RunProtectionSupport.h"

#include <functional>
#include <type_traits>

using namespace runprotection;

namespace {

constexpr double kLasts = 20.0;       // a state that outlasts the writes made meanwhile
constexpr double kTripAmps = 4.5;     // the relay operates from this IA
constexpr double kRelayDelay = 5.0;   // operates after the (held) write of the page after
constexpr double kSheddingDelay = 0.2;
// A page write is held this long (three polling periods of 300 ms of product
// time), and the testor kept busy as long at every page entry: the polling
// loop sees a page of no time (or a trip) end while the page after it is not
// named yet.
constexpr unsigned long kHoldMs = 45;

// Holds the testor's page writes at their first word.
class PageWriteHold : public zodrv::McaspRegisterPort
{
public:
    PageWriteHold(zorsim::SimInstrument& instrument, QThread* writer)
        : sim(instrument)
        , inner(zodrv::mcaspInstalledPort())
        , testorThread(writer)
    {
        zodrv::mcaspInstallPort(this);
    }
    ~PageWriteHold() override { sim.attach(); }

    bool mapBlock(uint32_t physAddr, uint32_t size) override { return inner->mapBlock(physAddr, size); }
    void unmapBlock(uint32_t physAddr) override { inner->unmapBlock(physAddr); }
    uint32_t readRegister(uint32_t physAddr, uint32_t offset) override { return inner->readRegister(physAddr, offset); }
    void writeRegister(uint32_t physAddr, uint32_t offset, uint32_t value) override
    {
        if (physAddr == zodrv::MCASP0_BASE && offset == kXbuf0) {
            const uint32_t addr = value >> 16;
            if (addr < 8 * 768 && addr % 768 == 0 && QThread::currentThread() == testorThread)
                QThread::msleep(kHoldMs);
        }
        inner->writeRegister(physAddr, offset, value);
    }

private:
    static constexpr uint32_t kXbuf0 = 0x200;
    zorsim::SimInstrument& sim;
    zodrv::McaspRegisterPort* inner;
    QThread* testorThread;
};

// Pre-fault, fault and after-fault groups, one per fault current.
template <typename Entity>
void setGroups(Entity& e, const std::vector<double>& faultAmps, double preSeconds, double afterSeconds)
{
    using Trigger = std::remove_reference_t<decltype(e.stateTriggerTypes[0])>;
    e.stateCount = int(faultAmps.size()) * 3;
    for (int s = 0; s < e.stateCount; ++s) {
        const int kind = s % 3;
        for (int c = 0; c < 8; ++c) {
            e.stateOutputRanges[s][c] = c == kUA ? 57.735 : 0.0;
            e.stateOutputAngles[s][c] = 0.0;
            e.stateOutputFrequencies[s][c] = 50.0;
        }
        e.stateOutputRanges[s][kIA] = kind == 1 ? faultAmps[size_t(s / 3)] : 0.5;
        e.stateOutputTimes[s] = kind == 0 ? preSeconds : kind == 1 ? kLasts : afterSeconds;
        e.stateTriggerTypes[s] = Trigger(kind == 1 ? 2 : 0);
        for (int i = 0; i < 4; ++i)
            e.stateOutputBOStates[s][i] = 0;
    }
    for (int i = 0; i < 4; ++i)
        e.stateOutputBIStates[i] = i == 0 ? 1 : 0;
    e.stateBILogicTypes = ModelEntity::AO_BILOGIC_TYPE_OR;
}

// Two ramping items: normal output and interval output of 0 s around an IA
// ramp from 3 A to 6 A by 1 A.
void setRamps(ModelRampingEntity& e)
{
    e.stateCount = 6;
    e.maxVoltage = 120.0;
    e.maxCurrent = 20.0;
    for (int s = 0; s < e.stateCount; ++s) {
        const bool ramp = s % 3 == 1;
        for (int c = 0; c < 8; ++c) {
            e.stateOutputRanges[s][c] = c == kUA ? 57.735 : 0.0;
            e.stateOutputAngles[s][c] = 0.0;
            e.stateOutputFrequencies[s][c] = 50.0;
            e.rampStepValues[s][c] = 0.0;
        }
        e.stateOutputTimes[s] = ramp ? kLasts : 0.0;
        e.stateTriggerTypes[s] = ramp ? ModelEntity::AO_TRIGGER_TYPE_TIME_BINARY : ModelEntity::AO_TRIGGER_TYPE_TIME;
        for (int i = 0; i < 4; ++i) {
            e.stateOutputBIStates[s][i] = ramp && i == 0 ? 1 : 0;
            e.stateOutputBOStates[s][i] = 0;
        }
        e.stateBILogicTypes[s] = ModelEntity::AO_BILOGIC_TYPE_OR;
        e.stateOutputLinkTypes[s] = ModelEntity::AO_LINKSTATE_TYPE_INITIATE;
        if (ramp) {
            e.rampPorts[s][0] = ModelEntity::RAMP_PORT_TYPE_IA;
            e.rampItems[s][0] = ModelEntity::RAMP_ITEM_TYPE_RANGE;
            e.rampBeginValues[s][0] = 3.0;
            e.rampEndValues[s][0] = 6.0;
            e.rampStepValues[s][0] = 1.0;
            e.stateOutputRanges[s][kIA] = 3.0;
        }
    }
}

// Twelve states through the eight pages, every fourth of 0 s from state
// `zero`; states 2, 6 and 10 see a fault current and end on the trip.
void setSequence(ModelStateSequenceEntity& e, int zero = 0)
{
    e.stateCount = 12;
    for (int s = 0; s < e.stateCount; ++s) {
        const bool fault = s % 4 == 2;
        for (int c = 0; c < 8; ++c) {
            e.stateOutputRanges[s][c] = c == kUA ? 10.0 + s : 0.0;
            e.stateOutputAngles[s][c] = 0.0;
            e.stateOutputFrequencies[s][c] = 50.0;
        }
        e.stateOutputRanges[s][kIA] = fault ? 5.0 : 0.0;
        e.stateOutputTimes[s] = s % 4 == zero ? 0.0 : kLasts;
        e.stateTriggerTypes[s] = fault ? ModelEntity::AO_TRIGGER_TYPE_TIME_BINARY : ModelEntity::AO_TRIGGER_TYPE_TIME;
        e.stateOutputLinkTypes[s] = ModelEntity::AO_LINKSTATE_TYPE_INITIATE;
        for (int i = 0; i < 4; ++i) {
            e.stateOutputBIStates[s][i] = fault && i == 0 ? 1 : 0;
            e.stateOutputBOStates[s][i] = 0;
        }
        e.stateBILogicTypes[s] = ModelEntity::AO_BILOGIC_TYPE_OR;
    }
}

// Trip times recorded for binary input 1 in every state, NaN where none.
template <typename Entity>
std::vector<double> tripTimes(Entity& e)
{
    QMutexLocker lock(&e.entityLock);
    std::vector<double> times;
    for (int s = 0; s < e.stateCount; ++s)
        times.push_back(e.stateActionTimes[s][0]);
    return times;
}

template <typename Entity>
bool allCompleted(Entity& e)
{
    QMutexLocker lock(&e.entityLock);
    for (int s = 0; s < e.stateCount; ++s)
        if (e.stateTestStates[s] != ModelEntity::AO_STATE_TYPE_COMPLETED)
            return false;
    return true;
}

// Load shedding with pre-fault and after-fault pages of 0 s: the page after
// each after-fault page depends on the fault page's trip.
template <typename Slip>
void setShedding(Slip& e)
{
    setSheddingNormal(e);
    e.normalTime = 0.0;
    e.intervalTime = 0.0;
}

// Per point the trip time, then per searching point the value at the trip.
template <typename Slip>
std::vector<double> sheddingTrips(Slip& e)
{
    QMutexLocker lock(&e.entityLock);
    std::vector<double> trips;
    for (int p = 0; p < e.pointCnt; ++p)
        trips.push_back(e.stateActionTimes[p]);
    for (int p = 0; p < e.pointCnt; ++p)
        if (e.testItemType[p] != Slip::ITEM_ACTION_TIME)
            trips.push_back(e.stateActionValue[p]);
    return trips;
}

template <typename Slip>
bool pointsCompleted(Slip& e)
{
    QMutexLocker lock(&e.entityLock);
    for (int p = 0; p < e.pointCnt; ++p)
        if (e.stateTestStates[p] != ModelEntity::AO_STATE_TYPE_COMPLETED)
            return false;
    return true;
}

} // namespace

TEST_F(RunProtectionTest, StatesOfNoTimeNeverLetTheInstrumentReachAPageBeingWritten)
{
    initialise();
    zorsim::TimedRelaySettings relay;
    relay.channel = kIA;
    relay.pickup = kTripAmps;
    relay.pickupDelaySeconds = kRelayDelay;
    relay.dropoffDelaySeconds = 0.1;   // open again before the next row's fault
    const auto overcurrentRelay = [&] { sim->plugIn(std::make_shared<zorsim::TimedRelay>(relay)); };
    zorsim::FrequencyRelaySettings underFrequency;
    underFrequency.pickupHz = 49.2;
    underFrequency.delaySeconds = kSheddingDelay;
    zorsim::VoltageRelaySettings underVoltage;
    underVoltage.pickupVolts = 15.0;
    underVoltage.delaySeconds = kSheddingDelay;
    PageWriteHold hold(*sim, center->testorThread);

    const double debounce = debounceSeconds();
    const double trip = recordedTripTime(kRelayDelay, debounce);
    ModelDistanceEntity& distance = *testor().dataDistance;
    ModelOvercurrentEntity& overcurrent = *testor().dataOvercurrent;
    ModelRampingEntity& ramping = *testor().dataRamping;
    ModelStateSequenceEntity& sequence = *testor().dataStateSequence;
    ModelSlipFrequencyEntity& frequency = *testor().dataSlipFrequency;
    ModelSlipVoltageEntity& voltage = *testor().dataSlipVoltage;

    struct Row
    {
        const char* name;
        TT::TESTType type;
        std::function<void()> set;
        std::function<std::vector<double>()> trips;
        std::vector<double> expected;   // per state (shedding: per point the times, then the values), NaN: none
        std::function<bool()> completed;
        std::function<void()> plug = nullptr;   // the relay, when not the overcurrent one
        double tolerance = 1e-4;
        std::vector<double> playedIA = {};      // IA of every page entered, in order (empty: not checked)
    };
    const std::vector<Row> rows = {
        {"distance, three groups, pre-fault of 0 s", TT::TEST_DISTANCE,
         [&] { edit(distance, [](ModelDistanceEntity& x) { setGroups(x, {5.0, 1.0, 5.0}, 0.0, kLasts); }); },
         [&] { return tripTimes(distance); }, {kNaN, trip, kNaN, kNaN, kNaN, kNaN, kNaN, trip, kNaN}, nullptr,
         nullptr, 1e-4, {0.5, 5.0, 0.5, 0.5, 1.0, 0.5, 0.5, 5.0, 0.5, 0.0}},
        {"overcurrent, pre-fault of 0 s", TT::TEST_OVERCURRENT,
         [&] { edit(overcurrent, [](ModelOvercurrentEntity& x) { setGroups(x, {5.0, 1.0}, 0.0, kLasts); }); },
         [&] { return tripTimes(overcurrent); }, {kNaN, trip, kNaN, kNaN, kNaN, kNaN}, nullptr},
        // The second ramp begins with the relay still operated (its drop-off
        // delay): it is ended at once, with no trip.
        {"ramping, normal and interval output off", TT::TEST_RAMPING, [&] { edit(ramping, setRamps); },
         [&] { return tripTimes(ramping); }, {kNaN, trip, kNaN, kNaN, kNaN, kNaN}, nullptr},
        {"state sequence, states of 0 s", TT::TEST_STATESEQUENCE,
         [&] { edit(sequence, [](ModelStateSequenceEntity& x) { setSequence(x); }); },
         [&] { return tripTimes(sequence); }, {kNaN, kNaN, trip, kNaN, kNaN, kNaN, trip, kNaN, kNaN, kNaN, trip, kNaN},
         [&] { return allCompleted(sequence); }},
        // The instrument passes the state of 0 s after each trip before the
        // polling loop reads the trip.
        {"state sequence, a state of 0 s after each trip", TT::TEST_STATESEQUENCE,
         [&] { edit(sequence, [](ModelStateSequenceEntity& x) { setSequence(x, 3); }); },
         [&] { return tripTimes(sequence); }, {kNaN, kNaN, trip, kNaN, kNaN, kNaN, trip, kNaN, kNaN, kNaN, trip, kNaN},
         [&] { return allCompleted(sequence); }},
        // Trip frequency 49.5 .. 48.5 Hz by 0.5 Hz at 1 Hz/s (49.2 Hz crossed
        // 0.8 s into the second fault page, at 49.0 Hz), then the trip time
        // of a slide from 50 to 48 Hz at 2 Hz/s (crossed after 0.4 s).
        {"under-frequency shedding, pre- and after-fault of 0 s", TT::TEST_SLIP_FREQUENCY,
         [&] {
             edit(frequency, [](ModelSlipFrequencyEntity& x) {
                 setShedding(x);
                 x.pointCnt = 2;
                 setSheddingPoint(x, 0, ModelSlipFrequencyEntity::ITEM_ACTION_FREQUENCY, 49.5, 48.5, 0.5, 1.0);
                 setSheddingPoint(x, 1, ModelSlipFrequencyEntity::ITEM_ACTION_TIME, 0.0, 0.0, 0.0, 2.0);
                 x.initFrequencyVal[1] = 50.0;
                 x.finalFrequencyVal[1] = 48.0;
             });
         },
         [&] { return sheddingTrips(frequency); },
         {recordedTripTime(0.8 + kSheddingDelay, debounce), recordedTripTime(0.4 + kSheddingDelay, debounce), 49.0},
         [&] { return pointsCompleted(frequency); },
         [&] { sim->plugIn(std::make_shared<zorsim::FrequencyRelay>(underFrequency)); }, 2e-3},
        // Trip voltage 20 .. 10 V by 2 V sliding at 20 V/s from 57.735 V: the
        // stop of 14 V is the first below the pick-up.
        {"under-voltage shedding, pre- and after-fault of 0 s", TT::TEST_SLIP_VOLTAGE,
         [&] {
             edit(voltage, [](ModelSlipVoltageEntity& x) {
                 setShedding(x);
                 x.pointCnt = 1;
                 setSheddingPoint(x, 0, ModelSlipVoltageEntity::ITEM_ACTION_VOLTAGE, 20.0, 10.0, 2.0, 20.0);
             });
         },
         [&] { return sheddingTrips(voltage); },
         {recordedTripTime((57.735 - 15.0) / 20.0 + kSheddingDelay, debounce), 14.0},
         [&] { return pointsCompleted(voltage); },
         [&] { sim->plugIn(std::make_shared<zorsim::VoltageRelay>(underVoltage)); }, 2e-3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        sim->unplugAll();
        sim->plugIn(std::make_shared<TestorLag>(center->testTestor, kHoldMs));
        const std::shared_ptr<PageLog> log = plugPageLog();
        if (row.plug)
            row.plug();
        else
            overcurrentRelay();
        row.set();
        runToEnd(row.type);
        EXPECT_TRUE(sim->violations().empty()) << sim->violationText();
        sim->clearViolations();
        const std::vector<double> times = row.trips();
        ASSERT_EQ(times.size(), row.expected.size());
        for (size_t s = 0; s < times.size(); ++s) {
            if (std::isnan(row.expected[s])) {
                EXPECT_TRUE(std::isnan(times[s])) << "state " << s;
            } else {
                EXPECT_NEAR(times[s], row.expected[s], row.tolerance) << "state " << s;
            }
        }
        if (!row.playedIA.empty()) {
            std::vector<double> played;
            for (const PageLog::Entry& e : log->withoutChecks(debounceSeconds()))
                played.push_back(e.amplitude(kIA));
            EXPECT_EQ(played, row.playedIA) << "every page played once, in order";
        }
        if (row.completed) {
            EXPECT_TRUE(row.completed()) << "every state completed";
        }
    }
}
