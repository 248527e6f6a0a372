// Under-frequency and under-voltage load shedding end to end: per point a
// cycle of pre-fault, fault and after-fault pages, the fault page sliding
// the voltages (and for low-current blocking of the frequency test the
// currents too) in frequency or amplitude, the searched quantity stepped
// from cycle to cycle until a relay model trips.

#include "RunProtectionSupport.h"

using namespace runprotection;

namespace {

using Freq = ModelSlipFrequencyEntity;
using Volt = ModelSlipVoltageEntity;

constexpr double kRelayDelay = 0.2;

// The fault pages among the pages played (the armed ones).
std::vector<PageLog::Entry> faultPages(const PageLog& log)
{
    std::vector<PageLog::Entry> faults;
    for (const PageLog::Entry& x : log.all())
        if (x.page.trigger() == zorsim::TriggerType::TimeOrBinary)
            faults.push_back(x);
    return faults;
}

} // namespace

TEST_F(RunProtectionTest, UnderFrequencyPointsSlideTheFrequencyUntilTheRelayTrips)
{
    initialise();
    struct Row
    {
        const char* name;
        double lowCurrentBlock;                  // of the relay, A
        std::function<void(Freq&)> points;
        std::vector<double> faultUa;             // UA's stop frequency per fault page played
        bool currentsSlide;
        std::vector<double> times, values;       // per point; NaN: not checked
        int stateCount;
    };
    const Row rows[] = {
        // Trip frequency 49.5 .. 48.5 Hz by 0.5 Hz at 1 Hz/s: 49.2 Hz is crossed
        // in the second fault page, 0.8 s into it; then the trip time of a
        // slide from 50 to 48 Hz at 2 Hz/s: 0.4 s.
        {"trip frequency, trip time", 0.0,
         [](Freq& e) {
             e.pointCnt = 2;
             setSheddingPoint(e, 0, Freq::ITEM_ACTION_FREQUENCY, 49.5, 48.5, 0.5, 1.0);
             setSheddingPoint(e, 1, Freq::ITEM_ACTION_TIME, 0.0, 0.0, 0.0, 2.0);
             e.initFrequencyVal[1] = 50.0;
             e.finalFrequencyVal[1] = 48.0;
         },
         {49.5, 49.0, 48.0}, false, {0.8 + kRelayDelay, 0.4 + kRelayDelay}, {49.0, kNaN}, 4 * 3 + 3},
        // Low-current blocking: the currents step 0.2, 0.6, 1.0 A and slide
        // with the voltages; the relay blocks below 0.5 A.
        {"low-current blocking", 0.5,
         [](Freq& e) {
             e.pointCnt = 1;
             setSheddingPoint(e, 0, Freq::ITEM_LOW_I_LOCK, 0.2, 1.0, 0.4, 2.0);
             e.initFrequencyVal[0] = 50.0;
             e.finalFrequencyVal[0] = 48.0;
         },
         {48.0, 48.0}, true, {0.4 + kRelayDelay}, {0.6}, 4 * 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        sim->unplugAll();
        auto log = plugPageLog();
        zorsim::FrequencyRelaySettings settings;
        settings.pickupHz = 49.2;
        settings.delaySeconds = kRelayDelay;
        settings.lowCurrentBlockAmps = row.lowCurrentBlock;
        sim->plugIn(std::make_shared<zorsim::FrequencyRelay>(settings));

        Freq& e = *testor().dataSlipFrequency;
        edit(e, [&](Freq& x) {
            setSheddingNormal(x);
            row.points(x);
        });
        runToEnd(TT::TEST_SLIP_FREQUENCY);
        EXPECT_EQ(sim->peekRegister(kStateCountRegister), row.stateCount + 1);

        const std::vector<PageLog::Entry> faults = faultPages(*log);
        ASSERT_EQ(faults.size(), row.faultUa.size());
        for (size_t i = 0; i < faults.size(); ++i) {
            SCOPED_TRACE(i);
            for (int c : {kUA, kUB, kUC})
                EXPECT_EQ(faults[i].ramp(c), zorsim::RampKind::Frequency);
            const zorsim::Ramp& ramp = faults[i].page.channels[kUA].ramp;
            EXPECT_NEAR(faults[i].frequency(kUA) + ramp.ratePerSecond * ramp.durationSeconds, row.faultUa[i], 1e-3);
            for (int c : {kIA, kIB, kIC})
                EXPECT_EQ(faults[i].ramp(c), row.currentsSlide ? zorsim::RampKind::Frequency : zorsim::RampKind::None);
        }

        QMutexLocker lock(&e.entityLock);
        const double debounce = debounceSeconds();
        for (size_t p = 0; p < row.times.size(); ++p) {
            SCOPED_TRACE(p);
            EXPECT_EQ(e.stateTestStates[p], ModelEntity::AO_STATE_TYPE_COMPLETED);
            EXPECT_NEAR(e.stateActionTimes[p], recordedTripTime(row.times[p], debounce), 2e-3);
            if (!std::isnan(row.values[p])) {
                EXPECT_NEAR(e.stateActionValue[p], row.values[p], 1e-5);
            }
        }
    }
}

TEST_F(RunProtectionTest, UnderVoltagePointSlidesTheVoltagesStopByStopUntilTheRelayTrips)
{
    initialise();
    auto log = plugPageLog();
    zorsim::VoltageRelaySettings settings;
    settings.pickupVolts = 15.0;
    settings.delaySeconds = kRelayDelay;
    sim->plugIn(std::make_shared<zorsim::VoltageRelay>(settings));

    // Trip voltage from 20 V down to 10 V by 2 V, sliding at 20 V/s from the
    // rated 57.735 V: stops 20, 18, 16 do not reach the pick-up; 14 does.
    Volt& e = *testor().dataSlipVoltage;
    edit(e, [](Volt& x) {
        setSheddingNormal(x);
        x.pointCnt = 1;
        setSheddingPoint(x, 0, Volt::ITEM_ACTION_VOLTAGE, 20.0, 10.0, 2.0, 20.0);
    });
    runToEnd(TT::TEST_SLIP_VOLTAGE);
    // Its share of the state count: 3 x (10 / 2 + 2) = 21, and one more for the instrument.
    EXPECT_EQ(read(e, [](Volt& x) { return x.stateCount; }), 21);
    EXPECT_EQ(sim->peekRegister(kStateCountRegister), 22);

    const std::vector<PageLog::Entry> faults = faultPages(*log);
    const double stops[] = {20.0, 18.0, 16.0, 14.0};
    ASSERT_EQ(faults.size(), std::size(stops));
    for (size_t i = 0; i < faults.size(); ++i) {
        SCOPED_TRACE(i);
        for (int c : {kUA, kUB, kUC}) {
            EXPECT_EQ(faults[i].ramp(c), zorsim::RampKind::Amplitude);
            const zorsim::Ramp& ramp = faults[i].page.channels[size_t(c)].ramp;
            EXPECT_NEAR(ramp.ratePerSecond, -20.0, 1e-2);
            EXPECT_NEAR(faults[i].amplitude(c) + ramp.ratePerSecond * ramp.durationSeconds, stops[i], 1e-2);
            EXPECT_NEAR(faults[i].frequency(c), 50.0, 1e-4);
        }
        for (int c : {kIA, kIB, kIC})
            EXPECT_EQ(faults[i].ramp(c), zorsim::RampKind::None);
    }

    const double operate = (57.735 - 15.0) / 20.0 + kRelayDelay;
    QMutexLocker lock(&e.entityLock);
    EXPECT_EQ(e.stateTestStates[0], ModelEntity::AO_STATE_TYPE_COMPLETED);
    EXPECT_NEAR(e.stateActionTimes[0], recordedTripTime(operate, debounceSeconds()), 2e-3);
    EXPECT_NEAR(e.stateActionValue[0], 14.0, 1e-5);
}
