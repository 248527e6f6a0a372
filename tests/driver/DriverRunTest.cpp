// Runs on the simulated instrument: pages play, a relay model watching the
// outputs trips, and the driver's action reads report the trip.

#include "DriverSimFixture.h"

#include "SimThresholdRelay.h"
#include "SimTimedRelay.h"

#include <cmath>
#include <memory>

namespace {

constexpr double kDebounce = 0.015;   // the configured contact debounce, s

} // namespace

class DriverRun : public DriverSimTest
{
protected:
    void SetUp() override
    {
        DriverSimTest::SetUp();
        hard->systemPowerType = COMM_SYSTEM_POWER_TYPE_PAO;
        ASSERT_EQ(driverBaseSendConfigureHardData(), 0);
        ASSERT_EQ(driverBaseSendConfigureSoftData(), 0);
        driverBaseResetUpdateOffset();
    }

    std::shared_ptr<zorsim::ThresholdRelay> plugRelay(double delaySeconds)
    {
        zorsim::ThresholdRelaySettings settings;
        settings.channel = COMM_PORT_TYPE_IA;
        settings.pickup = 2.0;
        settings.pickupDelaySeconds = delaySeconds;
        settings.binaryInput = 0;
        auto relay = std::make_shared<zorsim::ThresholdRelay>(settings);
        sim->plugIn(relay);
        return relay;
    }

    // Encodes one state into the current page and moves the ring on.
    void writeState(float current, float seconds, COMMTriggerType trigger)
    {
        *out = CommDriverTestOutputData();
        for (uint16_t& property : out->propertyEnables)
            property = COMM_STATE_PROPERTY_ENABLE_TYPE_BASE;
        setChannel(COMM_PORT_TYPE_IA, current, 0.0f, 50.0f);
        out->outputTime = seconds;
        out->outputTriggerType = trigger;
        out->outputBIRiseEnables[0] = 1;
        ASSERT_EQ(driverBaseSendTestParameterData(false, false), 0);
        driverBaseSwitchUpdateOffset();
    }

    void start(uint32_t stateCount, bool autoStep = true)
    {
        control->controlAutoOutputStateEnable = autoStep ? 1 : 0;
        out->outputStateCount = stateCount;
        ASSERT_EQ(driverBaseSendTestStateCount(), 0);
        control->controlPowerIEnable = 1;
        ASSERT_EQ(driverBaseSendTestControlPower(), 0);
        control->controlRunIEnable = 1;
        ASSERT_EQ(driverBaseSendTestControlRun(), 0);
    }

    // The querying loop: read the actions, then let 10 ms of the run pass.
    bool pollForAction(double maxSeconds)
    {
        for (double t = 0.0; t < maxSeconds; t += 0.01) {
            EXPECT_EQ(driverBaseReadActionTimes(), 0);
            if (!std::isnan(status->statusTestActionTime))
                return true;
            sim->advanceSeconds(0.01);
        }
        return false;
    }
};

TEST_F(DriverRun, RelayTripReportsTheActionTimeWithoutDebounce)
{
    struct Case
    {
        double pickupDelay;
        double reported;
    };
    // The FPGA's time includes the 15 ms debounce; 0.5 ms of real action
    // time is raised to the 1 ms floor.
    const Case cases[] = {{0.1, 0.1}, {0.005, 0.005}, {0.0005, 0.001}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pickupDelay);
        sim->unplugAll();
        ASSERT_EQ(driverBaseResetUpdateOffset(), 0);
        auto relay = plugRelay(c.pickupDelay);
        writeState(5.0f, 5.0f, COMM_TRIGGER_TYPE_TIME_BINARY);
        start(1);

        ASSERT_TRUE(pollForAction(1.0));
        ASSERT_EQ(relay->pickupTimes().size(), 1u);
        EXPECT_NEAR(status->statusTestActionTime, c.reported, 2e-6);
        EXPECT_EQ(status->statusTestActionIndex, 0);
        EXPECT_EQ(status->statusTestActionFlags[0], 1) << "rising edge";
        EXPECT_EQ(status->statusTestActionBIStates[0], 1);
        EXPECT_EQ(status->statusTestActionStateIndex, 0);
        EXPECT_EQ(status->statusTestActionCount, 1);
        EXPECT_EQ(status->statusTestStateIndex & 0x7, 0);
        EXPECT_TRUE(status->statusTestStateIndex & 0x8000) << "the only state is the last one";

        // Reported once.
        sim->advanceSeconds(0.05);
        ASSERT_EQ(driverBaseReadActionTimes(), 0);
        EXPECT_TRUE(std::isnan(status->statusTestActionTime));

        control->controlRunIEnable = 0;
        control->controlPowerIEnable = 0;
        ASSERT_EQ(driverBaseSendTestControlRun(), 0);
        ASSERT_EQ(driverBaseSendTestControlPower(), 0);
        sim->advanceSeconds(0.5);   // the relay drops off
    }
}

TEST_F(DriverRun, TripEndingPageSevenIsFoundAfterTheRingWrapped)
{
    auto relay = plugRelay(0.02);
    // States 0..6 run out on time without current; state 7 waits for the
    // relay; state 8 (page 0 again) and later are long, quiet states.
    for (int state = 0; state < 7; ++state)
        writeState(0.0f, 0.05f, COMM_TRIGGER_TYPE_TIME);
    writeState(5.0f, 10.0f, COMM_TRIGGER_TYPE_BINARY);
    ASSERT_EQ(localOutputUpdateOffset, 0);
    start(16);

    // Poll while the ring moves; refill page 0 with state 8 once it has played.
    bool refilled = false;
    for (int i = 0; i < 100 && (status->statusTestStateIndex & 0x7) != 7; ++i) {
        ASSERT_EQ(driverBaseReadActionTimes(), 0);
        ASSERT_TRUE(std::isnan(status->statusTestActionTime));
        if (!refilled && (status->statusTestStateIndex & 0x7) >= 1) {
            writeState(0.0f, 1.0f, COMM_TRIGGER_TYPE_TIME);
            refilled = true;
        }
        sim->advanceSeconds(0.01);
    }
    ASSERT_TRUE(refilled);
    ASSERT_EQ(status->statusTestStateIndex & 0x7, 7);
    ASSERT_TRUE(relay->pickupTimes().empty());

    // The relay trips while page 7 plays; the trip ends it and page 0 plays
    // state 8 before the next poll.
    sim->advanceSeconds(0.2);
    ASSERT_EQ(relay->pickupTimes().size(), 1u);
    ASSERT_EQ(driverBaseReadActionTimes(), 0);
    EXPECT_EQ(status->statusTestStateIndex, 0) << "page 0, not the last state";
    EXPECT_NEAR(status->statusTestActionTime, 0.02, 2e-6);
    EXPECT_EQ(status->statusTestActionStateIndex, 7);
    EXPECT_EQ(status->statusTestActionIndex, 0);
    EXPECT_EQ(status->statusTestActionFlags[0], 1);
}

TEST_F(DriverRun, TripEndingTheStateAfterATrippedStateIsFound)
{
    // The relay picks up in state 0 and drops off 0.1 s into state 1: both
    // states end by their binary input (state 1 by the falling edge).
    zorsim::TimedRelaySettings settings;
    settings.channel = COMM_PORT_TYPE_IA;
    settings.pickup = 2.0;
    settings.pickupDelaySeconds = 0.02;
    settings.dropoffDelaySeconds = 0.1;
    settings.binaryInput = 0;
    sim->plugIn(std::make_shared<zorsim::TimedRelay>(settings));
    writeState(5.0f, 10.0f, COMM_TRIGGER_TYPE_BINARY);
    *out = CommDriverTestOutputData();
    for (uint16_t& property : out->propertyEnables)
        property = COMM_STATE_PROPERTY_ENABLE_TYPE_BASE;
    out->outputTime = 10.0f;
    out->outputTriggerType = COMM_TRIGGER_TYPE_BINARY;
    out->outputBIFallEnables[0] = 1;
    ASSERT_EQ(driverBaseSendTestParameterData(false, false), 0);
    driverBaseSwitchUpdateOffset();
    writeState(0.0f, 10.0f, COMM_TRIGGER_TYPE_TIME);
    start(3);

    // State 0's trip, seen while state 1 plays.
    ASSERT_TRUE(pollForAction(0.08));
    EXPECT_EQ(status->statusTestActionStateIndex, 0);
    EXPECT_EQ(status->statusTestStateIndex & 0x7, 1);

    // State 1 ends by the drop-off; the next poll sees page 2 playing and
    // must still report page 1's action, although the record holds page 0's.
    sim->advanceSeconds(0.2);
    ASSERT_EQ(driverBaseReadActionTimes(), 0);
    EXPECT_EQ(status->statusTestStateIndex & 0x7, 2);
    ASSERT_FALSE(std::isnan(status->statusTestActionTime));
    EXPECT_EQ(status->statusTestActionStateIndex, 1);
    EXPECT_EQ(status->statusTestActionFlags[0], 2) << "falling edge";
}

TEST_F(DriverRun, SoftwareSwitchedRunSwitchesOnceTheLastStateIsReached)
{
    plugRelay(0.05);
    writeState(5.0f, 5.0f, COMM_TRIGGER_TYPE_TIME_BINARY);
    writeState(0.0f, 1.0f, COMM_TRIGGER_TYPE_TIME);   // the page that follows
    driverBaseResetUpdateOffset();
    driverBaseSwitchUpdateOffset();
    start(1, false);

    ASSERT_TRUE(pollForAction(1.0));
    EXPECT_NEAR(status->statusTestActionTime, 0.05, 2e-6);
    EXPECT_TRUE(status->statusTestStateIndex & 0x8000);
    // The page switch register names the next page, switched by software.
    EXPECT_EQ(sim->peekRegister(0x8302), 0x8001);
    EXPECT_EQ(sim->playerStatus().currentPage, 1);
}

TEST_F(DriverRun, PageSwitchedPastKeepsTheRecordOfAnEarlierLapUnread)
{
    // A first run leaves a trip recorded on page 1.
    plugRelay(0.05);
    writeState(0.0f, 0.1f, COMM_TRIGGER_TYPE_TIME);
    writeState(5.0f, 1.0f, COMM_TRIGGER_TYPE_TIME_BINARY);
    start(2);
    sim->advanceSeconds(0.3);
    ASSERT_EQ((sim->peekRegister(0x830A + 6) >> 8) & 0x7, 1);
    control->controlRunIEnable = 0;
    ASSERT_EQ(driverBaseSendTestControlRun(), 0);

    // The next run is switched from page 0 straight on to page 2: page 1
    // still holds that record, which is no trip of this run.
    ASSERT_EQ(driverBaseResetUpdateOffset(), 0);
    writeState(0.0f, 10.0f, COMM_TRIGGER_TYPE_TIME);
    localOutputUpdateOffset = 2;
    writeState(0.0f, 10.0f, COMM_TRIGGER_TYPE_TIME);
    localOutputSwitchOffset = 2;
    start(1, false);
    ASSERT_EQ(driverBaseSendTestSwitchState(), 0);
    ASSERT_EQ(sim->playerStatus().currentPage, 2);
    EXPECT_FALSE(pollForAction(0.1));
}

TEST_F(DriverRun, InputsThatChangeBetweenTwoReadsShareTheStampAndTheLogSaysWhich)
{
    // DI 1 after 30 ms and DI 3 after 40 ms, both seen by one read. On a
    // time page they share the later stamp; a software-switched page that
    // DI 1 ended is held while DI 3 comes: the page's trip is its end. One
    // that ended on its time (561 ticks, which the simulator's clock ends a
    // nanosecond short) is held while both come: the later stamp again.
    const char* const later = "share one stamp, of the last of them; changed: DI 1 DI 3\n";
    const struct
    {
        COMMTriggerType trigger;
        float seconds;
        bool autoStep;
        double reported;
        const char* said;
    } rows[] = {
        {COMM_TRIGGER_TYPE_TIME, 1.0f, true, 0.04, later},
        {COMM_TRIGGER_TYPE_TIME_BINARY, 1.0f, false, 0.03, "DI 1 DI 3; read at the page's end"},
        {COMM_TRIGGER_TYPE_TIME_BINARY, 561.0f / 28000, false, 0.04, later},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.trigger);
        sim->unplugAll();
        zorsim::ThresholdRelaySettings third;
        third.channel = COMM_PORT_TYPE_IA;
        third.pickup = 2.0;
        third.pickupDelaySeconds = 0.04;
        third.binaryInput = 2;
        sim->plugIn(std::make_shared<zorsim::ThresholdRelay>(third));
        plugRelay(0.03);
        driverBaseResetUpdateOffset();
        writeState(5.0f, row.seconds, row.trigger);
        out->outputBIRiseEnables[2] = 1;
        driverBaseResetUpdateOffset();
        ASSERT_EQ(driverBaseSendTestParameterData(false, false), 0);
        driverBaseSwitchUpdateOffset();
        writeState(0.0f, 1.0f, COMM_TRIGGER_TYPE_TIME);   // the page switched to
        start(1, row.autoStep);
        ASSERT_EQ(driverBaseReadActionTimes(), 0);

        sim->advanceSeconds(0.1);
        testing::internal::CaptureStderr();
        ASSERT_EQ(driverBaseReadActionTimes(), 0);
        const std::string log = testing::internal::GetCapturedStderr();
        EXPECT_NEAR(status->statusTestActionTime, row.reported, 1.0 / hard->periodFrequency);
        EXPECT_EQ(status->statusTestActionFlags[0] + status->statusTestActionFlags[2], 2);
        EXPECT_NE(log.find("2 actions on page 0"), std::string::npos) << log;
        EXPECT_NE(log.find(row.said), std::string::npos) << log;

        control->controlRunIEnable = 0;
        control->controlPowerIEnable = 0;
        ASSERT_EQ(driverBaseSendTestControlRun(), 0);
        ASSERT_EQ(driverBaseSendTestControlPower(), 0);
        sim->advanceSeconds(0.5);
    }
}
