// The engine late at every page end: the polling loop's switch held 0, 2, 8
// and 30 ms at real time, so that the instrument holds each ended page that
// much longer. The run's record places every page where the instrument
// played it (the page log) to the tick, and every trip reads as the
// undelayed run's.

#include "RunProtectionSupport.h"

#include "ControllerTestorRing.h"

using namespace runprotection;

namespace {

// One ramping item: IA from 1 A by 0.5 A every 0.2 s up to 3 A, input 1
// rising, between 0.3 s pre-fault and interval states at 0 A.
void setRampItem(ModelRampingEntity& e)
{
    e.stateCount = 3;
    e.maxVoltage = 120.0;
    e.maxCurrent = 20.0;
    for (int s = 0; s < 3; ++s) {
        const bool ramp = s == 1;
        for (int c = 0; c < 8; ++c) {
            e.stateOutputRanges[s][c] = c == kIA && ramp ? 1.0 : 0.0;
            e.stateOutputAngles[s][c] = 0.0;
            e.stateOutputFrequencies[s][c] = 50.0;
            e.rampStepValues[s][c] = 0.0;
        }
        e.stateOutputTimes[s] = ramp ? 0.2 : 0.3;
        e.stateTriggerTypes[s] = ramp ? ModelEntity::AO_TRIGGER_TYPE_TIME_BINARY : ModelEntity::AO_TRIGGER_TYPE_TIME;
        for (int i = 0; i < 4; ++i) {
            e.stateOutputBIStates[s][i] = ramp && i == 0 ? 1 : 0;
            e.stateOutputBOStates[s][i] = 0;
        }
        e.stateBILogicTypes[s] = ModelEntity::AO_BILOGIC_TYPE_OR;
        e.stateOutputLinkTypes[s] = ModelEntity::AO_LINKSTATE_TYPE_INITIATE;
    }
    e.rampPorts[1][0] = ModelEntity::RAMP_PORT_TYPE_IA;
    e.rampItems[1][0] = ModelEntity::RAMP_ITEM_TYPE_RANGE;
    e.rampBeginValues[1][0] = 1.0;
    e.rampEndValues[1][0] = 3.0;
    e.rampStepValues[1][0] = 0.5;
}

template <typename Entity>
std::vector<double> tripsOf(Entity& e, std::vector<int> states)
{
    QMutexLocker lock(&e.entityLock);
    std::vector<double> trips;
    for (int s : states)
        trips.push_back(e.stateActionTimes[s][0]);
    return trips;
}

} // namespace

TEST_F(RunProtectionTest, HeldPageEndsLeaveTheRecordAndEveryTripAsTheyWere)
{
    atRealTime();
    initialise();
    ModelOvercurrentEntity& overcurrent = *testor().dataOvercurrent;
    ModelDistanceEntity& distance = *testor().dataDistance;
    ModelRampingEntity& ramping = *testor().dataRamping;
    // Relays at 2 A: 0.2 s in each 3 A fault, 0.05 s into the ramp's 2 A step.
    const struct
    {
        const char* name;
        TT::TESTType type;
        double delay;
        std::function<void()> set;
        std::function<std::vector<double>()> trips;
    } rows[] = {
        {"overcurrent", TT::TEST_OVERCURRENT, 0.2,
         [&] { edit(overcurrent, [](auto& x) { setGroups(x, {3.0, 3.0}, 0.0, 0.3, 0.5, 0.3); }); },
         [&] { return tripsOf(overcurrent, {1, 4}); }},
        {"distance", TT::TEST_DISTANCE, 0.2,
         [&] { edit(distance, [](auto& x) { setGroups(x, {3.0, 3.0}, 0.0, 0.3, 0.5, 0.3); }); },
         [&] { return tripsOf(distance, {1, 4}); }},
        {"ramping", TT::TEST_RAMPING, 0.05, [&] { edit(ramping, setRampItem); },
         [&] { return tripsOf(ramping, {1}); }},
    };
    QThread* queryThread = center->queryingThread;
    std::vector<uint32_t> switchFrames;
    for (uint16_t p = 0; p < 8; ++p)
        switchFrames.push_back(writeFrame(kPageSwitchRegister, uint16_t(0x8000 | p)));
    const double tickUs = 1e6 / sim->hardware().tickRate;
    for (const auto& row : rows) {
        std::vector<double> undelayed;
        for (const int holdMs : {0, 2, 8, 30}) {
            SCOPED_TRACE(testing::Message() << row.name << ", held " << holdMs << " ms");
            sim->unplugAll();
            auto log = plugPageLog();
            plugRelay(kIA, 2.0, row.delay);
            runsource::LinkTap tap(*sim);
            tap.onFrames(switchFrames, [queryThread, holdMs] {
                if (QThread::currentThread() == queryThread)
                    QThread::msleep(holdMs);
            });
            row.set();
            runToEnd(row.type);

            const std::vector<double> trips = row.trips();
            if (holdMs == 0) {
                undelayed = trips;
                for (double t : trips)
                    EXPECT_NEAR(t, row.delay, 2e-6);
            }
            ASSERT_EQ(trips.size(), undelayed.size());
            for (size_t k = 0; k < trips.size(); ++k)
                EXPECT_DOUBLE_EQ(trips[k], undelayed[k]) << k;

            // Each page of the record where the instrument entered and left it.
            const std::vector<PageLog::Entry> pages = log->all();
            const ContactJudgement::Record record =
                runRing().judge([](qint32) { return ContactJudgement::Role::State; }).record;
            ASSERT_GE(record.pages.size(), 4u);
            ASSERT_LE(record.pages.size(), pages.size());
            for (size_t i = 0; i < record.pages.size(); ++i) {
                SCOPED_TRACE(i);
                const double startUs = double(pages[i].startNs - pages[0].startNs) / 1e3;
                EXPECT_NEAR(double(record.pages[i].startUs), startUs, tickUs);
                if (record.pages[i].endUs != ContactJudgement::kNone && i + 1 < pages.size()) {
                    EXPECT_NEAR(double(record.pages[i].endUs), double(pages[i + 1].startNs - pages[0].startNs) / 1e3,
                                tickUs);
                }
            }
        }
    }
}
