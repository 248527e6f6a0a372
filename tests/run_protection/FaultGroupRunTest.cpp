// Distance and overcurrent end to end: groups of pre-fault, fault and
// after-fault pages, one page ahead in the ring, trips from relay models in
// the fault pages.

#include "RunProtectionSupport.h"


using namespace runprotection;

namespace {

// IEC standard inverse, as the relay's data sheet gives it.
double standardInverse(double amps, double pickup, double tms)
{
    return tms * 0.14 / (std::pow(amps / pickup, 0.02) - 1.0);
}

} // namespace

TEST_F(RunProtectionTest, DistanceGroupsTripInTheirFaultPagesAndEndWithTheClosingPage)
{
    initialise();
    auto log = plugPageLog();
    constexpr double kDelay = 0.5;
    zorsim::FixedDelayRelaySettings settings;
    settings.delaySeconds = kDelay;
    settings.armedPagesOnly = true;
    settings.condition = [](const zorsim::PlayedOutputs& out) {
        return out.page.channels[kIA].components.at(0).amplitude >= 2.0;
    };
    auto relay = std::make_shared<zorsim::FixedDelayRelay>(settings);
    sim->plugIn(relay);

    // Point 1 faults with 5 A and trips; point 2 with 1 A does not.
    ModelDistanceEntity& e = *testor().dataDistance;
    edit(e, [](ModelDistanceEntity& x) { setGroups(x, {5.0, 1.0}, 0.0, 1.0, 2.0, 1.0); });
    runToEnd(TT::TEST_DISTANCE);
    EXPECT_EQ(sim->peekRegister(kStateCountRegister), 6);
    EXPECT_EQ(relay->closeTimes().size(), 1u);

    // Six pages and the closing page, one after the other (each pre-fault
    // played on for the debounce before its fault): the fault pages end on a
    // trip, the pages between watch both edges to their time.
    const std::vector<PageLog::Entry> played = log->withoutChecks(debounceSeconds());
    EXPECT_EQ(log->all().size(), played.size() + 2);
    ASSERT_GE(played.size(), 6u);
    const double ia[6] = {0, 5, 0, 0, 1, 0};
    for (int s = 0; s < 6; ++s) {
        SCOPED_TRACE(s);
        EXPECT_NEAR(played[size_t(s)].amplitude(kIA), ia[s], 1e-3);
        EXPECT_NEAR(played[size_t(s)].amplitude(kUA), s % 3 == 2 ? 0.0 : 57.735, 1e-3);
        EXPECT_TRUE(played[size_t(s)].page.biRise(0));
        EXPECT_EQ(played[size_t(s)].page.biFall(0), s % 3 != 1);
        EXPECT_EQ(played[size_t(s)].page.trigger(),
                  s % 3 == 1 ? zorsim::TriggerType::TimeOrBinary : zorsim::TriggerType::Time);
    }
    // The closing page: every output at zero, no time; the run ends as the
    // instrument enters it (the models may hear of it only as the stop: see
    // RampingRunTest.cpp), and it may be entered again until the stop arrives.
    const int closingRing = (played[5].ring + 1) % 8;
    EXPECT_EQ(sim->playerStatus().currentPage, closingRing);
    std::vector<zorsim::PageContent> closing = {page(closingRing)};
    for (size_t i = 6; i < played.size(); ++i) {
        EXPECT_EQ(played[i].ring, closingRing);
        closing.push_back(played[i].page);
    }
    for (const zorsim::PageContent& p : closing) {
        for (int c = 0; c < 8; ++c)
            EXPECT_NEAR(p.channels[size_t(c)].components.at(0).amplitude, 0.0, 1e-6);
        EXPECT_LT(p.durationSeconds, 1e-3);
    }

    QMutexLocker lock(&e.entityLock);
    EXPECT_NEAR(e.stateActionTimes[1][0], recordedTripTime(kDelay, debounceSeconds()), 1e-4);
    EXPECT_EQ(e.stateActionBIStates[1][0], 1);
    for (int s : {0, 2, 3, 4, 5})
        EXPECT_TRUE(std::isnan(e.stateActionTimes[s][0])) << "state " << s;
    for (int s = 0; s < 5; ++s)
        EXPECT_EQ(e.stateTestStates[s], ModelEntity::AO_STATE_TYPE_COMPLETED) << "state " << s;
}

TEST_F(RunProtectionTest, OvercurrentTripTimesFollowTheStandardInverseCurve)
{
    initialise();
    constexpr double kPickup = 1.0;
    constexpr double kTms = 0.1;
    zorsim::InverseTimeRelaySettings settings;
    settings.channels = {kIA, kIB, kIC};
    settings.pickupAmps = kPickup;
    settings.tms = kTms;
    settings.curve = zorsim::InverseCurve::iecStandardInverse();
    sim->plugIn(std::make_shared<zorsim::InverseTimeRelay>(settings));

    // Pre-fault below the pick-up, the fault long enough for the slowest
    // trip, after-fault at zero to reset the relay.
    const std::vector<double> faults = {2.0, 3.0, 5.0};
    ModelOvercurrentEntity& e = *testor().dataOvercurrent;
    edit(e, [&](ModelOvercurrentEntity& x) { setGroups(x, faults, 0.5, 0.5, 3.0, 1.0); });
    runToEnd(TT::TEST_OVERCURRENT);
    // The instrument is told one state more than the pages the run sends.
    EXPECT_EQ(sim->peekRegister(kStateCountRegister), 10);

    const double debounce = debounceSeconds();
    QMutexLocker lock(&e.entityLock);
    for (size_t p = 0; p < faults.size(); ++p) {
        SCOPED_TRACE(faults[p]);
        const int fault = int(3 * p + 1);
        const double expected = recordedTripTime(standardInverse(faults[p], kPickup, kTms), debounce);
        EXPECT_NEAR(e.stateActionTimes[fault][0], expected, 2e-4);
        EXPECT_EQ(e.stateActionBIStates[fault][0], 1);
        EXPECT_TRUE(std::isnan(e.stateActionTimes[fault - 1][0]));
        EXPECT_TRUE(std::isnan(e.stateActionTimes[fault + 1][0]));
    }
}
