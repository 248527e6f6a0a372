// Pre-fault and after-fault states of no time (their boxes left unticked) are
// not played: the overcurrent test goes from one fault straight on to the
// next; the last state, on which the run ends, plays. (Ramping:
// tests/rampingmodel, at real time.)

#include "RunProtectionSupport.h"

using namespace runprotection;

TEST_F(RunProtectionTest, OvercurrentPassesOverStatesOfNoTime)
{
    initialise();
    auto log = plugPageLog();
    constexpr double kDelay = 0.1;
    plugRelay(kIA, 4.5, kDelay);

    // Faults of 1 A (no trip, 0.5 s) and 5 A, between pre-fault and
    // after-fault states of 0 s at 0 A.
    ModelOvercurrentEntity& e = *testor().dataOvercurrent;
    edit(e, [](ModelOvercurrentEntity& x) {
        x.stateCount = 6;
        for (int s = 0; s < 6; ++s) {
            const bool fault = s % 3 == 1;
            for (int c = 0; c < 8; ++c) {
                x.stateOutputRanges[s][c] = c == kIA && fault ? (s == 1 ? 1.0 : 5.0) : 0.0;
                x.stateOutputAngles[s][c] = 0.0;
                x.stateOutputFrequencies[s][c] = 50.0;
            }
            x.stateOutputTimes[s] = fault ? 0.5 : 0.0;
            x.stateTriggerTypes[s] = fault ? ModelEntity::AO_TRIGGER_TYPE_TIME_BINARY
                                           : ModelEntity::AO_TRIGGER_TYPE_TIME;
        }
        for (int i = 0; i < 4; ++i)
            x.stateOutputBIStates[i] = i == 0 ? 1 : 0;
    });
    runToEnd(TT::TEST_OVERCURRENT);

    // The last state, on which the run ends, as the instrument stopped on it
    // (the models may hear of it only as the stop: see RampingRunTest.cpp).
    std::vector<double> played = log->amplitudes(kIA);
    if (played.size() == 2)
        played.push_back(playingPage().channels[kIA].components.at(0).amplitude);
    EXPECT_EQ(played, (std::vector<double>{1.0, 5.0, 0.0}));
    EXPECT_EQ(sim->peekRegister(kStateCountRegister), 4);
    QMutexLocker lock(&e.entityLock);
    EXPECT_NEAR(e.stateActionTimes[4][0], recordedTripTime(kDelay, debounceSeconds()), 1e-4);
}
