// Ramps while the engine lags the instrument, which plays on at its normal
// pace: the testor is held at every page the instrument enters, the polling
// loop at every read of the state register, and at every other switch it
// reports the loop waits until the testor has taken every report queued (so
// the testor takes two reports back to back while the loop waits). Every
// step is played, in order, and every value reported is the output of the
// page the relay acted on.

#include "RunProtectionSupport.h"

#include "ControllerQuery.h"

using namespace runprotection;

namespace {

constexpr double kStep = 0.1;
constexpr double kStepSeconds = 0.2;

// Pick-up search IA 4 -> 6 A (input 1 rising), drop-off search IA 5.5 -> 4 A
// (falling); pre-fault and interval output 0 A, of 0 s but the first.
void setRampingItems(ModelRampingEntity& e)
{
    e.stateCount = 6;
    e.maxVoltage = 120.0;
    e.maxCurrent = 20.0;
    for (int s = 0; s < e.stateCount; ++s) {
        const bool ramp = s % 3 == 1;
        for (int c = 0; c < 8; ++c) {
            e.stateOutputRanges[s][c] = c == kIA && ramp ? (s == 1 ? 4.0 : 5.5) : 0.0;
            e.stateOutputAngles[s][c] = 0.0;
            e.stateOutputFrequencies[s][c] = 50.0;
        }
        e.stateOutputTimes[s] = ramp ? kStepSeconds : s == 0 ? 0.2 : 0.0;
        e.stateTriggerTypes[s] = ramp ? ModelEntity::AO_TRIGGER_TYPE_TIME_BINARY : ModelEntity::AO_TRIGGER_TYPE_TIME;
        for (int i = 0; i < 4; ++i)
            e.stateOutputBIStates[s][i] = ramp && i == 0 ? (s == 1 ? 1 : 2) : 0;
        e.rampStepValues[s][0] = ramp ? (s == 1 ? kStep : -kStep) : 0.0;
        e.rampBeginValues[s][0] = e.stateOutputRanges[s][kIA];
        e.rampEndValues[s][0] = s == 1 ? 6.0 : 4.0;
        e.rampPorts[s][0] = ModelEntity::RAMP_PORT_TYPE_IA;
        e.rampItems[s][0] = ModelEntity::RAMP_ITEM_TYPE_RANGE;
    }
}

// AC or DC automatic ramp IA 4 -> 6 A, back at the pick-up; input 1 both ways.
template <typename Entity>
void setReturnRamp(Entity& e)
{
    runsource::setSteady(e, 4.0);
    e.autoRampEnabled = true;
    e.actionRampTime = kStepSeconds;
    e.actionRampStep = kStep;
    e.actionRampFactor = 1;
    e.endRampValue = 6.0;
    e.faultActionType = ModelEntity::ACTION_TYPE_RETURN;
    e.faultActionPort = ModelEntity::RAMP_PORT_TYPE_IA;
    e.faultActionItem = ModelEntity::RAMP_ITEM_TYPE_RANGE;
    e.stateOutputBIStates[0] = 3;
}

}   // namespace

TEST_F(RunProtectionTest, RampsReportThePageTheRelayActedOnHoweverTheEngineLags)
{
    initialise();
    runsource::LinkTap tap(*sim);
    QThread* queryThread = center->queryingThread;
    tap.onFrames({readFrame(kStateRegister)}, [queryThread] {
        if (QThread::currentThread() == queryThread)
            QThread::msleep(2);
    });
    auto switches = std::make_shared<std::atomic<int>>(0);
    QObject* testorObject = center->testTestor;
    const QMetaObject::Connection interleave = QObject::connect(
        center->testQuery, &ControllerQuery::sigTestSwitch, center->testQuery,
        [switches, testorObject] {
            if (++*switches % 2 != 0)
                return;
            auto taken = std::make_shared<std::atomic<bool>>(false);
            QMetaObject::invokeMethod(
                testorObject, [taken] { taken->store(true); }, Qt::QueuedConnection);
            for (int ms = 0; ms < 2000 && !taken->load(); ++ms)
                QThread::msleep(1);
        },
        Qt::DirectConnection);

    ModelRampingEntity& ramping = *testor().dataRamping;
    ModelAlternateEntity& alternate = *testor().dataAlternate;
    ModelDirectEntity& direct = *testor().dataDirect;
    // Pick-up and drop-off (return): value and time.
    using Reported = std::vector<std::pair<double, double>>;
    const auto actionRamp = [](auto& e) {
        QMutexLocker lock(&e.entityLock);
        return Reported{{e.faultActionValues[0].actionVal[0], e.faultActionTimes[0]},
                        {e.faultActionReturnValues[0].actionVal[0], e.faultActionReturnTimes[0]}};
    };
    struct Row
    {
        const char* name;
        TT::TESTType type;
        std::function<void()> set;
        std::function<Reported()> reported;
        std::vector<double> begins;   // first value of each stretch of pages watching input 1
    };
    const std::vector<Row> rows = {
        {"ramping", TT::TEST_RAMPING, [&] { edit(ramping, setRampingItems); },
         [&] {
             QMutexLocker lock(&ramping.entityLock);
             return Reported{{ramping.stateActionValue[1][0].actionVal[0], ramping.stateActionTimes[1][0]},
                             {ramping.stateActionValue[4][0].actionVal[0], ramping.stateActionTimes[4][0]}};
         },
         {4.0, 5.5}},
        {"AC", TT::TEST_ALTERNATE, [&] { edit(alternate, setReturnRamp<ModelAlternateEntity>); },
         [&] { return actionRamp(alternate); }, {4.0}},
        {"DC", TT::TEST_DIRECT, [&] { edit(direct, setReturnRamp<ModelDirectEntity>); },
         [&] { return actionRamp(direct); }, {4.0}},
    };
    const double debounce = debounceSeconds();
    for (const Row& row : rows) {
        for (int run = 0; run < 3; ++run) {
            SCOPED_TRACE(::testing::Message() << row.name << ", run " << run);
            sim->unplugAll();
            sim->plugIn(std::make_shared<TestorLag>(center->testTestor, 15));
            const std::shared_ptr<PageLog> log = plugPageLog();
            auto relay = plugRelay(kIA, 5.0, 0.03);   // drops off below 4.75 A
            row.set();
            runToEnd(row.type);
            EXPECT_TRUE(sim->violations().empty()) << sim->violationText();
            sim->clearViolations();

            // Every step, in order: each stretch of pages a trip of input 1
            // ends (the same edges) begins at its begin value and moves one
            // step per page.
            const std::vector<PageLog::Entry> pages = log->all();
            const auto watching = [](const PageLog::Entry& p) {
                if (p.page.trigger() != zorsim::TriggerType::TimeOrBinary)
                    return 0;
                return (p.page.biRise(0) ? 1 : 0) | (p.page.biFall(0) ? 2 : 0);
            };
            std::vector<double> begins;
            for (size_t i = 0; i < pages.size(); ++i) {
                if (!watching(pages[i]))
                    continue;
                if (i == 0 || watching(pages[i - 1]) != watching(pages[i]))
                    begins.push_back(pages[i].amplitude(kIA));
                else
                    EXPECT_NEAR(std::fabs(pages[i].amplitude(kIA) - pages[i - 1].amplitude(kIA)), kStep, 1e-3) << i;
            }
            ASSERT_EQ(begins.size(), row.begins.size());
            for (size_t k = 0; k < begins.size(); ++k)
                EXPECT_NEAR(begins[k], row.begins[k], 1e-3);

            // The page the relay acted on: the one playing once its contact
            // had settled for the debounce time, watching that edge.
            const Reported reported = row.reported();
            const int64_t debounceNs = int64_t(debounce * 1e9);
            for (const bool rising : {true, false}) {
                SCOPED_TRACE(rising ? "pick-up" : "drop-off");
                const PageLog::Entry* on = nullptr;
                int64_t moved = 0;
                for (const int64_t move : rising ? relay->pickupTimes() : relay->dropoffTimes()) {
                    const PageLog::Entry* at = nullptr;
                    for (const PageLog::Entry& p : pages)
                        at = p.startNs <= move + debounceNs ? &p : at;
                    if (!on && at && (watching(*at) & (rising ? 1 : 2)) != 0) {
                        on = at;
                        moved = move;
                    }
                }
                ASSERT_NE(on, nullptr);
                const std::pair<double, double>& value = reported[rising ? 0 : 1];
                EXPECT_NEAR(value.first, on->amplitude(kIA), 1e-3);
                EXPECT_NEAR(value.second, double(moved - on->startNs) / 1e9, 2e-6);
            }
        }
    }
    QObject::disconnect(interleave);
}
