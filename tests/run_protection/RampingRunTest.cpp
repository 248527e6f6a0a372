// The ramping test end to end: a pick-up search per item (normal output,
// ramp, interval output), a relay that trips on the ramp, and the switch the
// testor forces to the interval output after the trip.

#include "RunProtectionSupport.h"

using namespace runprotection;

namespace {

using Ramp = ModelRampingEntity;

constexpr double kPageSeconds = 2.0;
constexpr double kPickup = 4.5;
constexpr double kRelayDelay = 0.8;

// Slot `slot` of `state` ramps the amplitude of `port` from begin by step to end.
void rampSlot(Ramp& e, int state, int slot, ModelEntity::RampPortType port, double begin, double end, double step)
{
    e.rampPorts[state][slot] = port;
    e.rampItems[state][slot] = ModelEntity::RAMP_ITEM_TYPE_RANGE;
    e.rampBeginValues[state][slot] = begin;
    e.rampEndValues[state][slot] = end;
    e.rampStepValues[state][slot] = step;
    int channels[3];
    const int n = ModelEntity::rampPortChannels(port, channels);
    for (int k = 0; k < n; ++k)
        e.stateOutputRanges[state][channels[k]] = begin;
}

// Three items of three states each (normal, ramp, interval):
// A: IA 0 A up to 10 A by 1 A; a second slot with step 0 (unused) names UA's frequency.
// B: IA and IB together 3 A up to 6 A by 0.5 A.
// C: IB from 2 A towards 8 A by -1 A: the step points away from the end.
void setItems(Ramp& e)
{
    e.stateCount = 9;
    e.maxVoltage = 120.0;
    e.maxCurrent = 20.0;
    for (int s = 0; s < e.stateCount; ++s) {
        for (int c = 0; c < 8; ++c) {
            e.stateOutputRanges[s][c] = 0.0;
            e.stateOutputAngles[s][c] = c >= 4 ? -30.0 : 0.0;
            e.stateOutputFrequencies[s][c] = 50.0;
            e.rampStepValues[s][c] = 0.0;
        }
        e.stateOutputRanges[s][kUA] = 57.735;
        const bool ramp = s % 3 == 1;
        e.stateOutputTimes[s] = ramp ? kPageSeconds : 1.5;
        e.stateTriggerTypes[s] = ramp ? ModelEntity::AO_TRIGGER_TYPE_TIME_BINARY : ModelEntity::AO_TRIGGER_TYPE_TIME;
        for (int i = 0; i < 4; ++i) {
            e.stateOutputBIStates[s][i] = ramp && i == 0 ? 1 : 0;
            e.stateOutputBOStates[s][i] = 0;
        }
        e.stateBILogicTypes[s] = ModelEntity::AO_BILOGIC_TYPE_OR;
        e.stateOutputLinkTypes[s] = ModelEntity::AO_LINKSTATE_TYPE_INITIATE;
    }
    rampSlot(e, 1, 0, ModelEntity::RAMP_PORT_TYPE_IA, 0.0, 10.0, 1.0);
    e.rampPorts[1][1] = ModelEntity::RAMP_PORT_TYPE_UA;
    e.rampItems[1][1] = ModelEntity::RAMP_ITEM_TYPE_FREQUENCY;
    e.rampBeginValues[1][1] = 50.0;
    e.rampEndValues[1][1] = 40.0;
    rampSlot(e, 4, 0, ModelEntity::RAMP_PORT_TYPE_IAIB, 3.0, 6.0, 0.5);
    rampSlot(e, 7, 0, ModelEntity::RAMP_PORT_TYPE_IB, 2.0, 8.0, -1.0);
}

} // namespace

TEST_F(RunProtectionTest, RampingFindsPickupsAndSwitchesToTheIntervalAfterATrip)
{
    initialise();
    auto log = plugPageLog();
    plugTimedRelay(kIA, kPickup, kRelayDelay);

    // Software page switches the testor sends (the driver's own ones, when a
    // page has ended, come from the polling thread).
    runsource::LinkTap tap(*sim);
    std::vector<uint32_t> switchFrames;
    for (uint16_t p = 0; p < 8; ++p)
        switchFrames.push_back(writeFrame(kPageSwitchRegister, uint16_t(0x8000 | p)));
    std::atomic<int> forced{0};
    QThread* testorThread = center->testorThread;
    tap.onFrames(switchFrames, [&] {
        if (QThread::currentThread() == testorThread)
            ++forced;
    });

    Ramp& e = *testor().dataRamping;
    edit(e, setItems);
    runToEnd(TT::TEST_RAMPING);
    // Pages: 10 + 6 + 6 ramp steps (truncated quotients) + 2 per state, plus one.
    EXPECT_EQ(sim->peekRegister(kStateCountRegister), 41);

    // Played, in order: per item the normal page, the ramp up to the trip,
    // then the interval output (the step after the trip, already in the
    // ring, is cut short by the switch to it: it may not show at all). Item C
    // jumps to its end value after one page. The run ends as the instrument
    // enters the closing page: the models hear of a page that played no time
    // of the instrument's clock (the stop within one step of the pacer, on a
    // loaded machine) only as the stop, so that page is checked where the
    // instrument stopped.
    struct Page
    {
        double ia, ib;
    };
    const std::vector<Page> expected = {
        {0, 0}, {0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {0, 0},   // item A
        {0, 0}, {3, 3}, {3.5, 3.5}, {4, 4}, {4.5, 4.5}, {0, 0},           // item B
        {0, 0}, {0, 2}, {0, 8}, {0, 0},                                   // item C
    };
    std::vector<PageLog::Entry> played;
    for (const PageLog::Entry& x : log->withoutChecks(debounceSeconds())) {
        const bool cutA = std::fabs(x.amplitude(kIA) - 6.0) < 1e-3;
        const bool cutB = std::fabs(x.amplitude(kIA) - 5.0) < 1e-3 && std::fabs(x.amplitude(kIB) - 5.0) < 1e-3;
        if (!cutA && !cutB)
            played.push_back(x);
    }
    ASSERT_GE(played.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(played[i].amplitude(kIA), expected[i].ia, 1e-3);
        EXPECT_NEAR(played[i].amplitude(kIB), expected[i].ib, 1e-3);
        EXPECT_NEAR(played[i].frequency(kUA), 50.0, 1e-4);   // the slot with step 0 moves nothing
    }
    // The closing page repeats the last values; only it may show after them.
    const int closing = (played[expected.size() - 1].ring + 1) % 8;
    EXPECT_EQ(sim->playerStatus().currentPage, closing);
    EXPECT_NEAR(page(closing).channels[kIA].components.at(0).amplitude, 0.0, 1e-3);
    EXPECT_NEAR(page(closing).channels[kIB].components.at(0).amplitude, 0.0, 1e-3);
    for (size_t i = expected.size(); i < played.size(); ++i)
        EXPECT_EQ(played[i].ring, closing);
    // The testor switched to the interval output after each trip.
    EXPECT_EQ(forced.load(), 2);

    const double recorded = recordedTripTime(kRelayDelay, debounceSeconds());
    QMutexLocker lock(&e.entityLock);
    EXPECT_NEAR(e.stateActionTimes[1][0], recorded, 1e-4);
    EXPECT_EQ(e.stateActionBIStates[1][0], 1);
    EXPECT_EQ(e.stateActionValue[1][0].portCnt, 1);
    EXPECT_DOUBLE_EQ(e.stateActionValue[1][0].actionVal[0], 5.0);
    EXPECT_NEAR(e.stateActionTimes[4][0], recorded, 1e-4);
    EXPECT_EQ(e.stateActionValue[4][0].portCnt, 2);
    EXPECT_DOUBLE_EQ(e.stateActionValue[4][0].actionVal[0], 4.5);
    EXPECT_DOUBLE_EQ(e.stateActionValue[4][0].actionVal[1], 4.5);
    for (int s : {0, 2, 3, 5, 6, 7, 8}) {
        SCOPED_TRACE(s);
        EXPECT_TRUE(std::isnan(e.stateActionTimes[s][0]));
        EXPECT_EQ(e.stateActionValue[s][0].portCnt, 0);
    }
}

// The relay's contact settles while the page it acted on is held ended, after
// the polling loop has read that page's actions and before it switches on: the
// trip is read from the page left, after the engine has taken that page's end
// and written ahead. It is valued with what that page played.
TEST_F(RunProtectionTest, RampingValuesATripReadFromAPageLeftWithThatPage)
{
    initialise();
    auto log = plugPageLog();
    // Every ended page is held 2 s of the instrument's time before the
    // polling loop switches it on; the 5 A page's trip settles 1 s into it.
    auto relay = plugRelay(kIA, kPickup, kPageSeconds + 1.0 - debounceSeconds());
    runsource::LinkTap tap(*sim);
    std::vector<uint32_t> switchFrames;
    for (uint16_t p = 0; p < 8; ++p)
        switchFrames.push_back(writeFrame(kPageSwitchRegister, uint16_t(0x8000 | p)));
    QThread* queryThread = center->queryingThread;
    tap.onFrames(switchFrames, [queryThread] {
        if (QThread::currentThread() == queryThread)
            QThread::msleep(100);
    });

    Ramp& e = *testor().dataRamping;
    edit(e, [](Ramp& x) {
        setItems(x);
        x.stateCount = 3;   // item A only
    });
    runToEnd(TT::TEST_RAMPING);

    ASSERT_EQ(relay->pickupTimes().size(), 1u);
    const int64_t settled = relay->pickupTimes()[0] + int64_t(debounceSeconds() * 1e9);
    const std::vector<PageLog::Entry> pages = log->all();
    const PageLog::Entry* on = nullptr;
    for (const PageLog::Entry& p : pages)
        on = p.startNs <= settled ? &p : on;
    ASSERT_NE(on, nullptr);
    QMutexLocker lock(&e.entityLock);
    EXPECT_NEAR(e.stateActionValue[1][0].actionVal[0], on->amplitude(kIA), 1e-3);
}
