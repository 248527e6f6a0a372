// State-sequence state times at real time, against what the instrument
// played (the page log): the times come from the instrument's ticks and trip
// stamps, however late the testor takes the polling loop's reports, and a
// short first state is neither lost nor merged when the start falls anywhere
// in the loop's idle rest.

#include "RunProtectionSupport.h"

#include <random>
#include <thread>

using namespace runprotection;

namespace {

using Seq = ModelStateSequenceEntity;
constexpr double kHalfTick = 0.5 / 28000;
constexpr double kRelayDelay = 0.05;

struct Row
{
    ModelEntity::AOTriggerType trigger;
    double seconds;
    bool watched;   // input 1 armed (rising): the relay trips 50 ms into the state
};

void setStates(Seq& e, const std::vector<Row>& rows)
{
    e.stateCount = int(rows.size());
    for (int s = 0; s < e.stateCount; ++s) {
        for (int c = 0; c < 8; ++c) {
            e.stateOutputRanges[s][c] = c == kUA ? 10.0 + s : 0.0;
            e.stateOutputAngles[s][c] = 0.0;
            e.stateOutputFrequencies[s][c] = 50.0;
            e.stateOutputBIStates[s][c % 4] = 0;
        }
        e.stateOutputBIStates[s][0] = rows[size_t(s)].watched ? 1 : 0;
        e.stateTriggerTypes[s] = rows[size_t(s)].trigger;
        e.stateOutputTimes[s] = rows[size_t(s)].seconds;
        e.stateBILogicTypes[s] = ModelEntity::AO_BILOGIC_TYPE_OR;
        e.stateOutputLinkTypes[s] = ModelEntity::AO_LINKSTATE_TYPE_INITIATE;
    }
}

class SequenceTiming : public RunProtectionTest
{
protected:
    void SetUp() override
    {
        RunProtectionTest::SetUp();
        zoplat::setTimeScale(1.0);
    }

    // Every state's time to a tick of what it played (the last one: of the
    // time it was written with), every trip its relay's time.
    void expectPlayed(const std::vector<Row>& rows, const std::vector<PageLog::Entry>& played)
    {
        Seq& e = *testor().dataStateSequence;
        ASSERT_EQ(played.size(), rows.size());
        const double trip = recordedTripTime(kRelayDelay, debounceSeconds());
        QMutexLocker lock(&e.entityLock);
        for (size_t s = 0; s < rows.size(); ++s) {
            SCOPED_TRACE(s);
            const double duration =
                s + 1 < rows.size() ? double(played[s + 1].startNs - played[s].startNs) / 1e9 : rows[s].seconds;
            EXPECT_EQ(e.stateTestStates[s], ModelEntity::AO_STATE_TYPE_COMPLETED);
            EXPECT_NEAR(e.stateTriggerTimes[s], duration, kHalfTick);
            if (rows[s].watched)
                EXPECT_NEAR(e.stateActionTimes[s][0], trip, 1e-6);
            else
                EXPECT_TRUE(std::isnan(e.stateActionTimes[s][0]));
        }
    }
};

}   // namespace

TEST_F(SequenceTiming, StateTimesAreTheInstrumentsHoweverLateTheTestorTakesThem)
{
    initialise();
    using namespace ModelEntity;
    // Trips end states 1 and 3, and come within state 4 (time only); the
    // last two states end while the testor still sleeps over earlier reports.
    const std::vector<Row> rows = {
        {AO_TRIGGER_TYPE_TIME, 0.2, false},        {AO_TRIGGER_TYPE_BINARY, 0.0, true},
        {AO_TRIGGER_TYPE_TIME, 0.02, false},       {AO_TRIGGER_TYPE_TIME_BINARY, 0.4, true},
        {AO_TRIGGER_TYPE_TIME, 0.1, true},         {AO_TRIGGER_TYPE_TIME_BINARY, 0.3, false},
        {AO_TRIGGER_TYPE_TIME, 0.02, false},       {AO_TRIGGER_TYPE_TIME, 0.02, false},
    };
    for (const unsigned long lagMs : {30ul, 60ul}) {
        SCOPED_TRACE(lagMs);
        sim->unplugAll();
        sim->plugIn(std::make_shared<TestorLag>(center->testTestor, lagMs));
        const std::shared_ptr<PageLog> log = plugPageLog();
        zorsim::FixedDelayRelaySettings relay;
        relay.delaySeconds = kRelayDelay;
        relay.armedPagesOnly = true;
        sim->plugIn(std::make_shared<zorsim::FixedDelayRelay>(relay));
        edit(*testor().dataStateSequence, [&](Seq& e) { setStates(e, rows); });
        runToEnd(TT::TEST_STATESEQUENCE);
        expectPlayed(rows, log->all());
    }
}

// A 60 ms first state with a trip 30 ms into it, then eight of 15 ms: the
// ninth state goes into the first state's page while the eight play, so
// the polling loop must see the first state end at once. Eight starts fall
// anywhere in the loop's idle rest; in a ninth the loop's first read waits
// until three states have played (the trip's page among them).
TEST_F(SequenceTiming, ShortStatesAreNeitherLostNorReplayedWhereverTheStartFalls)
{
    initialise();
    std::vector<Row> rows = {{ModelEntity::AO_TRIGGER_TYPE_TIME, 0.06, true}};
    rows.resize(9, {ModelEntity::AO_TRIGGER_TYPE_TIME, 0.015, false});
    runsource::LinkTap tap(*sim);
    std::atomic<bool> holdFirstRead{false};
    QThread* queryThread = center->queryingThread;
    zorsim::SimInstrument* instrument = sim.get();
    tap.onFrames({readFrame(kStateRegister)}, [&] {
        if (QThread::currentThread() != queryThread || !instrument->playerStatus().running
            || !holdFirstRead.exchange(false))
            return;
        const QDeadlineTimer deadline(enginetest::kDeadlineMs);
        while (instrument->playerStatus().statesPlayed < 3 && !deadline.hasExpired())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    std::mt19937 pauses(20260101);
    for (int run = 0; run < 9; ++run) {
        SCOPED_TRACE(run);
        sim->unplugAll();
        const std::shared_ptr<PageLog> log = plugPageLog();
        zorsim::FixedDelayRelaySettings relay;
        relay.delaySeconds = kRelayDelay - 0.02;   // a trip 30 ms into the first state
        relay.armedPagesOnly = true;
        sim->plugIn(std::make_shared<zorsim::FixedDelayRelay>(relay));
        edit(*testor().dataStateSequence, [&](Seq& e) { setStates(e, rows); });
        if (run == 8) {
            holdFirstRead = true;
        } else {
            const QDeadlineTimer until(int(pauses() % 300));
            ASSERT_TRUE(waitFor([&] { return until.hasExpired(); }));
        }
        runToEnd(TT::TEST_STATESEQUENCE);
        Seq& e = *testor().dataStateSequence;
        EXPECT_NEAR(read(e, [](Seq& x) { return x.stateActionTimes[0][0]; }),
                    recordedTripTime(kRelayDelay - 0.02, debounceSeconds()), 1e-6);
        const std::vector<PageLog::Entry> played = log->all();
        ASSERT_EQ(played.size(), rows.size());
        for (size_t s = 0; s < rows.size(); ++s) {
            EXPECT_NEAR(played[s].amplitude(kUA), 10.0 + double(s), 1e-3) << "state " << s << " played in its turn";
            if (s + 1 < rows.size()) {
                EXPECT_NEAR(read(e, [s](Seq& x) { return x.stateTriggerTimes[s]; }),
                            double(played[s + 1].startNs - played[s].startNs) / 1e9, kHalfTick)
                    << s;
            }
        }
    }
}

// A relay that acts 75 minutes into a binary-triggered state, past the
// 4294.967 s of the instrument's 32-bit microsecond stamp (at a fast pace).
TEST_F(SequenceTiming, ATripSeventyFiveMinutesIntoAStateReadsItsWholeTime)
{
    initialise();
    zoplat::setTimeScale(0.001);
    const std::vector<Row> rows = {{ModelEntity::AO_TRIGGER_TYPE_BINARY, 0.0, true},
                                   {ModelEntity::AO_TRIGGER_TYPE_TIME, 0.1, false}};
    const std::shared_ptr<PageLog> log = plugPageLog();
    zorsim::FixedDelayRelaySettings relay;
    relay.delaySeconds = 4500.0;
    relay.armedPagesOnly = true;
    sim->plugIn(std::make_shared<zorsim::FixedDelayRelay>(relay));
    edit(*testor().dataStateSequence, [&](Seq& e) { setStates(e, rows); });
    runToEnd(TT::TEST_STATESEQUENCE);

    const std::vector<PageLog::Entry> played = log->all();
    ASSERT_EQ(played.size(), rows.size());
    Seq& e = *testor().dataStateSequence;
    QMutexLocker lock(&e.entityLock);
    EXPECT_NEAR(e.stateActionTimes[0][0], 4500.0, 5e-4);   // single precision
    EXPECT_NEAR(e.stateTriggerTimes[0], double(played[1].startNs - played[0].startNs) / 1e9, kHalfTick);
}

// A key-ended state of ten seconds, the instrument's clock 0.1 % fast: only
// the span from the polling loop's last read of that page to the next
// page's start is the host's. The key comes while the loop is held at its
// next read, so that the 10 ms state after the key page ends unseen as
// well: its ticks are no part of the key state's time.
TEST_F(SequenceTiming, AKeyEndedStateReadsTheInstrumentsTimeWhateverTheHostsClock)
{
    pacer.reset();
    zorsim::SimPacer skewed(*sim, 1.001);   // brought up to the host's clock at every use of the link
    skewed.start();
    initialise();
    using namespace ModelEntity;
    const std::vector<Row> rows = {{AO_TRIGGER_TYPE_TIME, 0.2, false},
                                   {AO_TRIGGER_TYPE_KEY_PRESS, 0.0, false},
                                   {AO_TRIGGER_TYPE_TIME, 0.01, false},
                                   {AO_TRIGGER_TYPE_TIME, 0.2, false}};
    const std::shared_ptr<PageLog> log = plugPageLog();
    runsource::LinkTap tap(*sim);
    std::atomic<bool> keyNow{false};
    QThread* queryThread = center->queryingThread;
    tap.onFrames({readFrame(kStateRegister)}, [&] {
        if (QThread::currentThread() == queryThread && keyNow.exchange(false)) {
            tap.sendFrame(writeFrame(0x8344, 0x1234));
            QThread::msleep(30);
        }
    });
    edit(*testor().dataStateSequence, [&](Seq& e) { setStates(e, rows); });
    ASSERT_TRUE(startRun(TT::TEST_STATESEQUENCE));
    ASSERT_TRUE(waitFor([&] { return log->all().size() >= 2; }));
    const int64_t keyPageStart = log->all()[1].startNs;
    ASSERT_TRUE(waitFor([&] { return sim->nowNs() >= keyPageStart + 10000000000; }));
    keyNow = true;
    ASSERT_TRUE(waitEnded());

    const std::vector<PageLog::Entry> played = log->all();
    ASSERT_EQ(played.size(), rows.size());
    Seq& e = *testor().dataStateSequence;
    QMutexLocker lock(&e.entityLock);
    EXPECT_NEAR(e.stateTriggerTimes[1], double(played[2].startNs - played[1].startNs) / 1e9, 1e-3);
    EXPECT_NEAR(e.stateTriggerTimes[2], 0.01, kHalfTick);
}

// A key pressed while the polling loop is held, and the 5 ms state after the
// key state, the run's last, ended and held well before the loop reads
// again: the key state ends where the last state began, not at that read.
TEST_F(SequenceTiming, AKeyStateBeforeAShortLastStateEndsWhereTheLastBegan)
{
    // The key state's time joins the instrument's ticks to the host's time
    // of the key: the instrument's clock catches up with the host's at every
    // use of the link, as the device's keeps with it. A pacing thread of its
    // own, starved on a loaded machine, would leave it behind by more than
    // the check allows.
    pacer.reset();
    zorsim::SimPacer paced(*sim);
    paced.start();
    initialise();
    using namespace ModelEntity;
    const std::vector<Row> rows = {{AO_TRIGGER_TYPE_TIME, 0.2, false},
                                   {AO_TRIGGER_TYPE_KEY_PRESS, 0.0, false},
                                   {AO_TRIGGER_TYPE_TIME, 0.005, false}};
    const std::shared_ptr<PageLog> log = plugPageLog();
    // The loop is held in its rest between two passes while `on` is set.
    struct Hold
    {
        std::atomic<bool> on{false};
        std::atomic<bool> held{false};
    };
    const auto hold = std::make_shared<Hold>();
    const QThread* queryThread = center->queryingThread;
    zoplat::setSleeper([hold, queryThread](int64_t ms) {
        while (QThread::currentThread() == queryThread && hold->on.load()) {
            hold->held = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::this_thread::sleep_for(std::chrono::microseconds(ms * 1000));
    });
    edit(*testor().dataStateSequence, [&](Seq& e) { setStates(e, rows); });
    ASSERT_TRUE(startRun(TT::TEST_STATESEQUENCE));
    ASSERT_TRUE(waitFor([&] { return log->all().size() >= 2; }));
    const int64_t keyPageStart = log->all()[1].startNs;
    ASSERT_TRUE(waitFor([&] { return sim->nowNs() >= keyPageStart + 300000000; }));
    hold->on = true;
    ASSERT_TRUE(waitFor([&] { return hold->held.load(); }));
    center->testKeyPress();
    ASSERT_TRUE(waitFor([&] { return log->all().size() >= 3; }));
    const int64_t lastStart = log->all()[2].startNs;
    ASSERT_TRUE(waitFor([&] { return sim->nowNs() >= lastStart + 30000000; }));
    hold->on = false;
    ASSERT_TRUE(waitEnded());
    zoplat::setSleeper({});

    const std::vector<PageLog::Entry> played = log->all();
    ASSERT_EQ(played.size(), rows.size());
    Seq& e = *testor().dataStateSequence;
    QMutexLocker lock(&e.entityLock);
    EXPECT_NEAR(e.stateTriggerTimes[1], double(played[2].startNs - played[1].startNs) / 1e9, 1e-3);
    EXPECT_NEAR(e.stateTriggerTimes[2], 0.005, kHalfTick);
}

// 32 states of 10 ms, the engine 14 ms late at every page, or the polling
// loop stalled 90 ms once ten states have played: the instrument holds the
// last state written rather than replay a page of the lap before; the run
// ends there naming the state it reached, which and those after it read no
// test.
TEST_F(SequenceTiming, ARingTheEngineCannotRefillInTimeEndsNamingTheStateNeverReplays)
{
    initialise();
    const std::vector<Row> rows(32, {ModelEntity::AO_TRIGGER_TYPE_TIME, 0.01, false});
    // Shared with the sleeper, which the polling loop may still be in once
    // the test has ended.
    const auto stall = std::make_shared<std::atomic<bool>>(false);
    const QThread* queryThread = center->queryingThread;
    zoplat::setSleeper([stall, queryThread](int64_t ms) {
        if (QThread::currentThread() == queryThread && stall->exchange(false))
            ms += 90;
        std::this_thread::sleep_for(std::chrono::microseconds(ms * 1000));
    });
    for (const bool lagging : {true, false}) {
        SCOPED_TRACE(lagging ? "engine 14 ms late at every page" : "polling loop stalled 90 ms");
        sim->unplugAll();
        if (lagging)
            sim->plugIn(std::make_shared<TestorLag>(center->testTestor, 14));
        const std::shared_ptr<PageLog> log = plugPageLog();
        edit(*testor().dataStateSequence, [&](Seq& e) { setStates(e, rows); });
        ASSERT_TRUE(startRun(TT::TEST_STATESEQUENCE)) << qPrintable(testor().lastStartRefusal());
        if (!lagging) {
            ASSERT_TRUE(waitFor([&] { return sim->playerStatus().statesPlayed >= 10; }));
            *stall = true;
        }
        ASSERT_TRUE(waitEnded());
        const std::vector<PageLog::Entry> played = log->all();
        ASSERT_LT(played.size(), rows.size());
        for (size_t s = 0; s < played.size(); ++s)
            EXPECT_NEAR(played[s].amplitude(kUA), 10.0 + double(s), 1e-3) << "page entered " << s;
        Seq& e = *testor().dataStateSequence;
        for (size_t s = 0; s < rows.size(); ++s)
            EXPECT_EQ(read(e, [s](Seq& x) { return x.stateTestStates[s]; }),
                      s < played.size() ? ModelEntity::AO_STATE_TYPE_COMPLETED : ModelEntity::AO_STATE_TYPE_INITING)
                << s;
        EXPECT_GE(texts(ConstTextUtility::TEST_STATE_UNWRITTEN.arg(played.size() + 1)), 1);
    }
    zoplat::setSleeper({});
}
