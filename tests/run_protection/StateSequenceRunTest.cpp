// The state sequence end to end: twelve states through the eight-page ring
// with the instrument stepping by itself, every kind of trigger, trips from a
// relay, and the polling loop held at chosen instants so that it misses a
// state or sees a trip before the state change that led to it.

#include "RunProtectionSupport.h"

#include "SimClockBlock.h"
#include "driverbase.h"

using namespace runprotection;

namespace {

using Seq = ModelStateSequenceEntity;
using ModelEntity::AO_TRIGGER_TYPE_BINARY;
using ModelEntity::AO_TRIGGER_TYPE_GPS;
using ModelEntity::AO_TRIGGER_TYPE_KEY_PRESS;
using ModelEntity::AO_TRIGGER_TYPE_TIME;
using ModelEntity::AO_TRIGGER_TYPE_TIME_BINARY;

constexpr int kStates = 12;
constexpr double kRelayDelay = 0.3;
// A state the polling loop is to see: several of its passes long, so that a
// loaded machine delaying a pass does not make it miss one.
constexpr double kPolled = 1.5;

// UA of state s, so that a page tells which state it carries.
double marker(int s)
{
    return 10.0 + s;
}

struct StateRow
{
    ModelEntity::AOTriggerType trigger;
    double seconds;
    bool watched;   // binary input 1 armed (rising edge)
};

// States 8-11 are the ones the relay trips (UA 18 V and more). State 1 is
// watched with a time-or-binary trigger but not tripped: a check of the
// trigger by ring page (page 1) instead of by state would take a trip in
// state 9 for a binary-triggered one.
const StateRow kRows[kStates] = {
    {AO_TRIGGER_TYPE_TIME, kPolled, false}, {AO_TRIGGER_TYPE_TIME_BINARY, 0.4, true},
    {AO_TRIGGER_TYPE_TIME, kPolled, false}, {AO_TRIGGER_TYPE_GPS, 0.0, false},
    {AO_TRIGGER_TYPE_TIME, kPolled, false}, {AO_TRIGGER_TYPE_TIME, kPolled, false},
    {AO_TRIGGER_TYPE_TIME, kPolled, false}, {AO_TRIGGER_TYPE_TIME, kPolled, false},
    {AO_TRIGGER_TYPE_TIME, 1.0, true},      {AO_TRIGGER_TYPE_TIME, 1.0, true},
    {AO_TRIGGER_TYPE_KEY_PRESS, 0.0, true}, {AO_TRIGGER_TYPE_BINARY, 0.0, true},
};

void setSequence(Seq& e)
{
    e.stateCount = kStates;
    for (int s = 0; s < kStates; ++s) {
        for (int c = 0; c < 8; ++c) {
            e.stateOutputRanges[s][c] = 0.0;
            e.stateOutputAngles[s][c] = 0.0;
            e.stateOutputFrequencies[s][c] = 50.0;
            e.stateOutputBIStates[s][c % 4] = 0;
        }
        e.stateOutputRanges[s][kUA] = marker(s);
        e.stateTriggerTypes[s] = kRows[s].trigger;
        e.stateOutputTimes[s] = kRows[s].seconds;
        e.stateOutputBIStates[s][0] = kRows[s].watched ? 1 : 0;
        e.stateBILogicTypes[s] = ModelEntity::AO_BILOGIC_TYPE_OR;
        e.stateOutputLinkTypes[s] = ModelEntity::AO_LINKSTATE_TYPE_INITIATE;
    }
}

}   // namespace

TEST_F(RunProtectionTest, StateSequenceRefillsTheRingAndCreditsTripsAcrossTheWrap)
{
    initialise();
    auto log = plugPageLog();
    zorsim::FixedDelayRelaySettings relaySettings;
    relaySettings.delaySeconds = kRelayDelay;
    relaySettings.armedPagesOnly = true;
    relaySettings.condition = [](const zorsim::PlayedOutputs& out) {
        return out.page.channels[kUA].components.at(0).amplitude > marker(8) - 0.5;
    };
    sim->plugIn(std::make_shared<zorsim::FixedDelayRelay>(relaySettings));

    // The polling loop's read of the state register: held from state 0 or 1
    // until state 2 plays (it never sees state 1), and while states 8
    // and 10 play until their trip is in the action record (it sees the trip
    // before the state change). The testor's own read of it, just before the
    // output starts, looks at the preloaded ring.
    runsource::LinkTap tap(*sim);
    std::vector<double> preloaded;
    std::atomic<int> holds{0};
    QThread* queryThread = center->queryingThread;
    QThread* testorThread = center->testorThread;
    zorsim::SimInstrument* instrument = sim.get();
    auto holdUntil = [](const std::function<bool()>& done) {
        QDeadlineTimer deadline(enginetest::kDeadlineMs);
        while (!done() && !deadline.hasExpired())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    bool heldFor[kStates] = {};
    tap.onFrames({readFrame(kStateRegister)}, [&] {
        if (QThread::currentThread() == testorThread && preloaded.empty()) {
            for (int p = 0; p < 8; ++p)
                preloaded.push_back(instrument->decodedPage(p).channels[kUA].components.at(0).amplitude);
            return;
        }
        if (QThread::currentThread() != queryThread)
            return;
        const zorsim::PlayerStatus now = instrument->playerStatus();
        if (!now.running || now.statesPlayed >= uint32_t(kStates) || heldFor[now.statesPlayed])
            return;
        switch (now.statesPlayed) {
        // A read that goes out while state 0 plays is held as well: state 1
        // may begin between this look and the instrument's answer.
        case 0: heldFor[0] = true; [[fallthrough]];
        case 1:
            heldFor[1] = true;
            holdUntil([instrument] { return instrument->playerStatus().statesPlayed >= 2; });
            ++holds;
            break;
        case 8:
        case 10: {
            const int state = int(now.statesPlayed);
            heldFor[state] = true;
            holdUntil([instrument, state] {
                return (instrument->peekRegister(actionFlagsRegister(state % 8)) & 0x0700) != 0;
            });
            ++holds;
            break;
        }
        default: break;
        }
    });

    Seq& e = *testor().dataStateSequence;
    edit(e, setSequence);
    // A GPS state starts only with a trigger time in the instrument's list
    // (a far one here: the pulse the state ends on is armed while it plays).
    globalClockPPXData->clk_ppx_list[0] = 0xFFFFFFFFu;
    globalClockPPXData->clk_ppx_count = 1;
    ASSERT_TRUE(startRun(TT::TEST_STATESEQUENCE)) << qPrintable(testor().lastStartRefusal());
    EXPECT_EQ(sim->peekRegister(kStateCountRegister), 8);   // the states written: one per page

    // The GPS state ends on the timed pulse armed while it plays, at a whole
    // second of the instrument's time (no lead).
    ASSERT_TRUE(waitFor([&] { return sim->playerStatus().statesPlayed >= 3; }));
    sim->withClockBlock([](zorsim::SimClockBlock& b) {
        const uint32_t second = b.fpgaSeconds() + 2;
        b.write(zorsim::clockreg::kPpxTime, uint16_t(second & 0xFFFF));
        b.write(zorsim::clockreg::kPpxTime + 2, uint16_t(second >> 16));
        b.write(zorsim::clockreg::kPpxPretrigger, 0);
        b.write(zorsim::clockreg::kPpxArm, 0);
        b.write(zorsim::clockreg::kPpxArm, 1);
    });

    // Trips in states 8 and 9 are credited to them: the one of state 8 came
    // in on page 0 while the cursor still stood at state 7. Neither trigger
    // is binary, so neither raises the trip flag (state 1's trigger would).
    // State 10's trip came in on page 2 while the cursor stood at state 9;
    // the key ends that state.
    ASSERT_TRUE(waitFor([&] { return read(e, [](Seq& x) { return !std::isnan(x.stateActionTimes[10][0]); }); }));
    ASSERT_TRUE(testorDone());
    EXPECT_EQ(globalTestStatusData->statusBIStateAction, 0);
    EXPECT_EQ(sim->playerStatus().statesPlayed, 10u);
    center->testKeyPress();

    // State 11 ends on the relay's trip; after it the last-state bit ends the run.
    ASSERT_TRUE(waitEnded());
    EXPECT_EQ(holds.load(), 3);
    EXPECT_TRUE(waitFor([this] { return texts(ConstTextUtility::TEST_STOP) == 1; }));
    EXPECT_EQ(sim->playerStatus().statesPlayed, uint32_t(kStates));

    // Eight states were in the ring before the output started; every page
    // the instrument left took the state eight further on, the two it left
    // between two reads (states 1 and 2) as well.
    ASSERT_EQ(preloaded.size(), 8u);
    for (int p = 0; p < 8; ++p)
        EXPECT_NEAR(preloaded[size_t(p)], marker(p), 1e-3) << "page " << p;
    const std::vector<PageLog::Entry> played = log->all();
    ASSERT_EQ(played.size(), size_t(kStates));
    for (int s = 0; s < kStates; ++s) {
        EXPECT_EQ(played[size_t(s)].ring, s % 8) << "state " << s;
        EXPECT_NEAR(played[size_t(s)].amplitude(kUA), marker(s), 1e-3) << "state " << s;
    }
    EXPECT_EQ(played[4].startNs % 1000000000, 0);

    const double debounce = debounceSeconds();
    QMutexLocker lock(&e.entityLock);
    EXPECT_EQ(e.outputRunningStateIndex, kStates);
    for (int s = 0; s < kStates; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(e.stateTestStates[s], ModelEntity::AO_STATE_TYPE_COMPLETED);
        if (s >= 8) {
            EXPECT_NEAR(e.stateActionTimes[s][0], recordedTripTime(kRelayDelay, debounce), 1e-4);
            EXPECT_EQ(e.stateActionBIStates[s][0], 1);
        } else {
            EXPECT_TRUE(std::isnan(e.stateActionTimes[s][0]));
        }
        // Every state has the time it played, the one the polling loop never
        // saw playing (state 1) too: a time page its ticks, the tripped last
        // page its stamp (to half a tick); the GPS and key pages as the loop dated
        // them (paced time: to the pacing's steps).
        const bool dated = kRows[s].trigger == AO_TRIGGER_TYPE_GPS || kRows[s].trigger == AO_TRIGGER_TYPE_KEY_PRESS;
        const double duration = s + 1 < kStates
            ? double(played[size_t(s + 1)].startNs - played[size_t(s)].startNs) / 1e9
            : kRelayDelay + debounce;
        EXPECT_NEAR(e.stateTriggerTimes[s], duration, dated ? 0.05 : 0.5 / 28000) << kRows[s].trigger;
    }
}

// A trip on a page, and that page and the next ending, all between the
// polling loop's action reads and its next read of where the ring is: the
// trip is still reported before the change past its page, and credited to
// the state that page carried.
TEST_F(RunProtectionTest, ATripOnPagesThatEndBetweenTheLoopsReadsIsCreditedToItsState)
{
    initialise();
    globalConfigureSoftData->ditherTime = 0.0f;   // the contact counts at once
    ASSERT_EQ(driverBaseSendConfigureSoftData(), 0);
    edit(*testor().dataStateSequence, [](Seq& e) {
        setSequence(e);
        e.stateCount = 3;
        for (int s = 0; s < 3; ++s) {
            e.stateTriggerTypes[s] = AO_TRIGGER_TYPE_TIME;
            e.stateOutputTimes[s] = s < 2 ? 10.0 : 0.1;
            e.stateOutputBIStates[s][0] = s == 0 ? 1 : 0;
        }
    });
    // The loop's action reads of page 0 end with its stamp's high half; the
    // loop's next read of the instrument finds them ended.
    constexpr uint16_t kPage0StampHigh = 0x8308;
    const QThread* queryThread = center->queryingThread;
    bool actionsRead = false;
    bool forced = false;
    sim->setReadHook([&](uint16_t addr) {
        if (forced || QThread::currentThread() != queryThread || !sim->playerStatus().running)
            return;
        if (addr == kPage0StampHigh) {
            actionsRead = true;
        } else if (actionsRead && sim->nowNs() > sim->playerStatus().pageStartNs) {
            // (a page that played no time at all has no moment to close in)
            forced = true;
            sim->setBinaryInput(0, true);
            sim->endPlayingPage();
            sim->endPlayingPage();
        }
    });
    runToEnd(TT::TEST_STATESEQUENCE);
    sim->setReadHook(nullptr);
    ASSERT_TRUE(forced);
    Seq& e = *testor().dataStateSequence;
    EXPECT_FALSE(std::isnan(read(e, [](Seq& x) { return x.stateActionTimes[0][0]; })));
}

// A contact closing just before a 1 s timed state ends, confirmed on the
// state after it (10 ms, and a debounce, before the end): the trip of the
// state it closed in, at its time; the state after it sees no change. In the
// last state it is confirmed after the run's last page has ended: the run
// ends once it could have been.
TEST_F(RunProtectionTest, StateSequenceTripConfirmedOnTheNextStateIsItsOwnStates)
{
    atRealTime();
    initialise();
    const double debounce = double(globalConfigureSoftData->ditherTime);
    const struct
    {
        int states;
        int closingIn;   // IA from there on: the relay closes `delay` into it
        double delay;
    } rows[] = {{2, 0, 0.99}, {2, 0, 1.0 - debounce}, {3, 2, 0.99}, {3, 2, 0.999}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.states << " states, closing in " << row.closingIn << " at "
                                        << row.delay);
        edit(*testor().dataStateSequence, [&row](Seq& e) {
            setSequence(e);
            e.stateCount = row.states;
            for (int s = 0; s < row.states; ++s) {
                e.stateTriggerTypes[s] = AO_TRIGGER_TYPE_TIME;
                e.stateOutputTimes[s] = 1.0;
                e.stateOutputBIStates[s][0] = 3;
                e.stateOutputRanges[s][kIA] = s >= row.closingIn ? 2.0 : 0.0;
            }
        });
        sim->unplugAll();
        zorsim::ThresholdRelaySettings settings;
        settings.channel = kIA;
        settings.pickupDelaySeconds = row.delay;
        sim->plugIn(std::make_shared<zorsim::ThresholdRelay>(settings));
        runToEnd(TT::TEST_STATESEQUENCE);
        Seq& e = *testor().dataStateSequence;
        for (int s = 0; s < row.states; ++s) {
            const double time = read(e, [s](Seq& x) { return x.stateActionTimes[s][0]; });
            if (s == row.closingIn)
                EXPECT_NEAR(time, row.delay, 2e-6) << s;
            else
                EXPECT_TRUE(std::isnan(time)) << s << ": " << time;
        }
    }
}
