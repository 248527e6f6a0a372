// The AC module end to end: a steady output that a relay trips, and the
// automatic ramp that searches the pick-up and drop-off of a relay.

#include "RunSourceSupport.h"

using namespace runsource;

namespace {

constexpr int kIA = ModelEntity::AO_PORT_TYPE_IA;

// A balanced three-phase output at 50 Hz: 57.735 V and 1 A.
void setBalanced(ModelAlternateEntity& e)
{
    const double angles[8] = {0, 240, 120, 0, -30, 210, 90, 0};
    for (int c = 0; c < 8; ++c) {
        e.outputRanges[c] = c == 3 || c == 7 ? 0.0 : (c < 4 ? 57.735 : 1.0);
        e.outputAngles[c] = angles[c];
        e.outputFrequencies[c] = 50.0;
    }
    e.autoRampEnabled = false;
    e.stateOutputBIStates[0] = 1;
    e.stateBILogicTypes = ModelEntity::AO_BILOGIC_TYPE_OR;
    e.faultActionType = ModelEntity::ACTION_TYPE_STOP;
    e.faultActionPort = ModelEntity::RAMP_PORT_TYPE_IA;
    e.faultActionItem = ModelEntity::RAMP_ITEM_TYPE_RANGE;
}

// IA from 0 A to 10 A in steps of 1 A, 2 s per state.
void setRamp(ModelAlternateEntity& e, ModelEntity::FaultActionType action, double step = 1.0)
{
    setBalanced(e);
    e.outputRanges[kIA] = 0.0;
    e.autoRampEnabled = true;
    e.actionRampTime = 2.0;
    e.actionRampStep = step;
    e.actionRampFactor = 1;
    e.endRampValue = 10.0;
    e.faultActionType = action;
    e.stateOutputBIStates[0] = action == ModelEntity::ACTION_TYPE_RETURN ? 3 : 1;   // return: watch the drop-off too
}

struct Sleep
{
    int64_t ms;
    uint16_t power;   // instrument's power register while the testor sleeps
    bool running;
};

} // namespace

TEST_F(RunSourceTest, SteadyAcOutputRunsUntilTheRelayTripsIt)
{
    initialise();
    // The engine's waits but the polling loop's, with what the instrument
    // does meanwhile (the amplifiers' settle is waited off the testor's thread).
    auto sleeps = std::make_shared<std::pair<std::mutex, std::vector<Sleep>>>();
    QThread* queryThread = center->queryingThread;
    zorsim::SimInstrument* instrument = sim.get();
    zoplat::setSleeper([sleeps, queryThread, instrument](int64_t ms) {
        if (QThread::currentThread() != queryThread) {
            const Sleep s{ms, instrument->peekRegister(reg::kPower), instrument->playerStatus().running};
            std::lock_guard<std::mutex> lock(sleeps->first);
            sleeps->second.push_back(s);
        }
        std::this_thread::sleep_for(std::chrono::nanoseconds(int64_t(double(ms) * 1e6 * zoplat::timeScale())));
    });
    struct RestoreSleeper
    {
        ~RestoreSleeper() { zoplat::setSleeper({}); }
    } restore;

    auto relay = plugRelay(kIA, 0.9, 0.2);
    edit(*testor().dataAlternate, setBalanced);
    const int powerBefore = powerNotices();
    ASSERT_TRUE(start(TT::TEST_ALTERNATE));

    // Page 0 holds the set phasors: a steady state that a trip ends.
    const zorsim::PageContent p0 = page(0);
    ASSERT_EQ(p0.componentsPerChannel, 1);
    const double amplitudes[8] = {57.735, 57.735, 57.735, 0, 1, 1, 1, 0};
    const double angles[8] = {0, 240, 120, 0, 330, 210, 90, 0};
    for (int c = 0; c < 8; ++c) {
        const zorsim::Component& k = p0.channels[size_t(c)].components[0];
        EXPECT_NEAR(k.amplitude, amplitudes[c], 1e-3 * std::max(1.0, amplitudes[c])) << "channel " << c;
        if (amplitudes[c] > 0) {
            EXPECT_NEAR(angleError(k.phaseDeg, angles[c]), 0.0, 1e-3) << "channel " << c;
            EXPECT_NEAR(k.frequencyHz, 50.0, 1e-4) << "channel " << c;
        }
    }
    EXPECT_EQ(p0.trigger(), zorsim::TriggerType::TimeOrBinary);
    EXPECT_NEAR(p0.durationSeconds, 36000.0, 1e-3);
    EXPECT_TRUE(p0.biRise(0));
    EXPECT_FALSE(p0.biFall(0));

    // Amplifiers on, the settle through the injectable sleep while powered
    // and not yet running, then the run and its start event.
    EXPECT_EQ(powerNotices(), powerBefore + 1);
    {
        std::lock_guard<std::mutex> lock(sleeps->first);
        const auto settle = std::find_if(sleeps->second.begin(), sleeps->second.end(),
                                         [](const Sleep& s) { return s.ms == 1500; });
        ASSERT_NE(settle, sleeps->second.end());
        EXPECT_EQ(settle->power & 0x3, 0x3);
        EXPECT_FALSE(settle->running);
    }
    EXPECT_TRUE(waitFor([this] { return texts(ConstTextUtility::TEST_AOSTART) == 1; }));
    EXPECT_TRUE(powerStageCommands().contains(QStringLiteral("/opt/zor/script/setpwrgpio.sh pao open")));

    // The relay trips 0.2 s into the output: the trip is recorded and ends the test.
    ASSERT_TRUE(waitEnded());
    ASSERT_EQ(relay->pickupTimes().size(), 1u);
    {
        ModelAlternateEntity& e = *testor().dataAlternate;
        QMutexLocker lock(&e.entityLock);
        EXPECT_EQ(e.faultActionBiIndex, 0);
        EXPECT_NEAR(e.faultActionTimes[0], 0.2, 1e-4);
        EXPECT_EQ(e.faultActionValues[0].portCnt, 1);
        EXPECT_DOUBLE_EQ(e.faultActionValues[0].actionVal[0], 1.0);
        EXPECT_TRUE(e.lastState);
    }
    EXPECT_GE(gui.count(RT::DATA_TYPE_TEST_ACTIONDATA, -1), 1);
    EXPECT_TRUE(waitFor([this] { return texts(ConstTextUtility::TEST_STOP) == 1; }));
    EXPECT_EQ(sim->peekRegister(reg::kPower), 0);
    EXPECT_EQ(sim->peekRegister(0x833E), 0);   // run bits
    EXPECT_EQ(powerStageCommands().last(), QStringLiteral("/opt/zor/script/setpwrgpio.sh pao close"));
}

TEST_F(RunSourceTest, AutomaticRampFindsPickupAndDropoff)
{
    initialise();
    struct Row
    {
        const char* name;
        ModelEntity::FaultActionType action;
        std::vector<double> playedPrefix;   // IA of the pages entered, in order
        bool exact;                         // no other page entered
        double pickup;                      // NaN: no result kept
        double dropoff;
    };
    const double none = std::nan("");
    const Row rows[] = {
        // The trip at 5 A ends the test (the following page was already entered).
        {"stop", ModelEntity::ACTION_TYPE_STOP, {0, 1, 2, 3, 4, 5}, false, 5.0, none},
        // The ramp turns back at the pick-up and ends at the drop-off.
        {"return", ModelEntity::ACTION_TYPE_RETURN, {0, 1, 2, 3, 4, 5, 6, 5, 4}, false, 5.0, 4.0},
        // Every state is played, the end value twice; each step clears the
        // result of the trip before it.
        {"continue", ModelEntity::ACTION_TYPE_CONTINUE, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 10}, true, none, none},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        sim->unplugAll();
        auto recorder = std::make_shared<PageRecorder>(kIA);
        sim->plugIn(recorder);
        plugTimedRelay(kIA, 4.5, 0.8);   // drops off below 4.275 A

        edit(*testor().dataAlternate, [&](ModelAlternateEntity& e) { setRamp(e, row.action); });
        const int actionsBefore = gui.count(RT::DATA_TYPE_TEST_ACTIONDATA, -1);
        ASSERT_TRUE(start(TT::TEST_ALTERNATE));
        {
            ModelAlternateEntity& e = *testor().dataAlternate;
            QMutexLocker lock(&e.entityLock);
            EXPECT_EQ(e.stateCount, 13);
        }
        EXPECT_EQ(sim->peekRegister(0x8304), 14);
        ASSERT_TRUE(waitEnded());

        const std::vector<double> played = recorder->amplitudes();
        ASSERT_GE(played.size(), row.playedPrefix.size());
        if (row.exact) {
            EXPECT_EQ(played.size(), row.playedPrefix.size());
        }
        for (size_t i = 0; i < row.playedPrefix.size(); ++i)
            EXPECT_NEAR(played[i], row.playedPrefix[i], 1e-3) << "page " << i;

        ModelAlternateEntity& e = *testor().dataAlternate;
        QMutexLocker lock(&e.entityLock);
        if (std::isnan(row.pickup)) {
            EXPECT_EQ(e.faultActionBiIndex, -1);
            EXPECT_TRUE(std::isnan(e.faultActionTimes[0]));
        } else {
            EXPECT_EQ(e.faultActionBiIndex, 0);
            EXPECT_EQ(e.faultActionValues[0].portCnt, 1);
            EXPECT_DOUBLE_EQ(e.faultActionValues[0].actionVal[0], row.pickup);
            EXPECT_GT(e.faultActionTimes[0], 0.0);
        }
        if (std::isnan(row.dropoff)) {
            EXPECT_EQ(e.faultActionReturnBiIndex, -1);
        } else {
            EXPECT_EQ(e.faultActionReturnBiIndex, 0);
            EXPECT_DOUBLE_EQ(e.faultActionReturnValues[0].actionVal[0], row.dropoff);
        }
        lock.unlock();
        // Every trip was announced, also the ones a later step cleared.
        EXPECT_GT(gui.count(RT::DATA_TYPE_TEST_ACTIONDATA, -1), actionsBefore);
    }
}

// A ramp without a step would never reach its end: the start's check
// refuses it, as the page and a PC's record are refused.
TEST_F(RunSourceTest, RampWithoutStepIsRefused)
{
    initialise();
    edit(*testor().dataAlternate, [](ModelAlternateEntity& e) { setRamp(e, ModelEntity::ACTION_TYPE_STOP, 0.0); });
    EXPECT_FALSE(start(TT::TEST_ALTERNATE));
    EXPECT_EQ(testor().lastStartRefusalReason(), TT::REFUSAL_VALUES);
    EXPECT_EQ(testor().lastStartRefusal().toStdString(), "AC: step 0 never reaches the end");
}

// DC's settings are held to their domain as the other modules' are: each
// value outside it is refused at the start, naming it.
TEST_F(RunSourceTest, DcSettingsOutsideTheirDomainAreRefused)
{
    initialise();
    const struct
    {
        void (*set)(ModelDirectEntity&);
        const char* refusal;
    } rows[] = {
        {[](ModelDirectEntity& e) { e.outputRanges[kIA] = -1.0; }, "DC: IA amplitude -1 A outside 0 to "},
        {[](ModelDirectEntity& e) {
             e.autoRampEnabled = true;
             e.faultActionItem = ModelEntity::RAMP_ITEM_TYPE_ANGLE;
         },
         "DC: ramped item 1 is none of 0 to 0"},
        {[](ModelDirectEntity& e) { e.faultActionType = ModelEntity::FaultActionType(3); },
         "DC: action on a trip 3 is none of 0 to 2"},
        {[](ModelDirectEntity& e) { e.stateOutputBIStates[0] = 4; }, "DC: input 1 edges 4 is none of 0 to 3"},
        {[](ModelDirectEntity& e) { e.stateBILogicTypes = ModelEntity::AOBILogicType(2); },
         "DC: input logic 2 is none of 0 to 1"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.refusal);
        edit(*testor().dataDirect, [&](ModelDirectEntity& e) {
            setSteady(e, 1.0);
            e.actionRampTime = 1.0;
            e.actionRampStep = 1.0;
            e.endRampValue = 5.0;
            e.faultActionPort = ModelEntity::RAMP_PORT_TYPE_IA;
            e.faultActionItem = ModelEntity::RAMP_ITEM_TYPE_RANGE;
            e.stateBILogicTypes = ModelEntity::AO_BILOGIC_TYPE_OR;
            row.set(e);
        });
        EXPECT_FALSE(start(TT::TEST_DIRECT));
        EXPECT_EQ(testor().lastStartRefusalReason(), TT::REFUSAL_VALUES);
        EXPECT_TRUE(testor().lastStartRefusal().startsWith(QLatin1String(row.refusal)))
            << qPrintable(testor().lastStartRefusal());
        if (testor().runEnable.load()) {
            center->testInterrupt();
            ASSERT_TRUE(waitEnded());
        }
    }
}
