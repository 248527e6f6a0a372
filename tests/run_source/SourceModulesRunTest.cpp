// The DC, harmonic, power-swing and standard-source modules end to end.

#include "RunSourceSupport.h"

using namespace runsource;

namespace {

constexpr int kUA = ModelEntity::AO_PORT_TYPE_UA;
constexpr int kIA = ModelEntity::AO_PORT_TYPE_IA;
constexpr int kIB = ModelEntity::AO_PORT_TYPE_IB;
constexpr int kIC = ModelEntity::AO_PORT_TYPE_IC;
constexpr double kPi = 3.141592653589793;

// IA of the harmonic test: 1 A at 50 Hz, 2nd harmonic 0.2 A at 45 deg, 3rd
// 0.3 A at 10 deg (slot orders 1, 2, 3, 5).
constexpr double kOrders[4] = {1, 2, 3, 5};
constexpr double kAmplitudes[4] = {1.0, 0.2, 0.3, 0.0};
constexpr double kHarmonicAngles[4] = {0.0, 45.0, 10.0, 0.0};

const zorsim::Component& component(const zorsim::PageContent& p, int channel, int k)
{
    return p.channels[size_t(channel)].components.at(size_t(k));
}

} // namespace

TEST_F(RunSourceTest, DcOutputOnADigitalAmplifierDrivesIaOnIaAndIc)
{
    initialise();
    ASSERT_NE(globalConfigureHardData, nullptr);
    globalConfigureHardData->powerAmpType = 1;   // digital current amplifiers
    auto relay = plugRelay(kIC, 1.5, 0.1);

    edit(*testor().dataDirect, [](ModelDirectEntity& e) {
        e.outputRanges[kUA] = 10.0;
        e.outputRanges[kIA] = 2.0;
        e.outputRanges[kIB] = 3.0;   // not output on this amplifier
        e.outputRanges[kIC] = 5.0;
        e.stateOutputBIStates[0] = 1;
        e.faultActionType = ModelEntity::ACTION_TYPE_STOP;
        e.faultActionPort = ModelEntity::RAMP_PORT_TYPE_IA;
        e.faultActionItem = ModelEntity::RAMP_ITEM_TYPE_RANGE;
    });
    // The relay ends the run 0.1 s in (5 ms at the tests' pace): it may have
    // ended by the time the settle is seen over, so the start is not read
    // from the running state.
    center->testActive(TT::TEST_DIRECT);
    center->testStart();
    ASSERT_TRUE(settle());

    // This amplifier does not invert: the page carries the half turn the
    // encoder adds for it, which the decoding here takes out again.
    const zorsim::PageContent p0 = page(0, 360.0);
    struct Expect
    {
        int channel;
        double amplitude;
        double angle;
    };
    for (const Expect& x : {Expect{kUA, 10.0, 90.0}, Expect{kIA, 2.0, 270.0}, Expect{kIB, 0.0, 180.0},
                            Expect{kIC, 2.0, 90.0}}) {
        const zorsim::Component& k = component(p0, x.channel, 0);
        EXPECT_TRUE(k.dc) << "channel " << x.channel;
        EXPECT_NEAR(k.amplitude, x.amplitude, 1e-3) << "channel " << x.channel;
        if (x.amplitude > 0) {
            EXPECT_NEAR(angleError(k.phaseDeg, x.angle), 0.0, 1e-3) << "channel " << x.channel;
        }
    }

    // The relay on IC sees IA's current and trips.
    ASSERT_TRUE(waitEnded());
    EXPECT_EQ(relay->pickupTimes().size(), 1u);
    ModelDirectEntity& e = *testor().dataDirect;
    QMutexLocker lock(&e.entityLock);
    EXPECT_EQ(e.faultActionBiIndex, 0);
    EXPECT_NEAR(e.faultActionTimes[0], 0.1, 1e-4);
    EXPECT_DOUBLE_EQ(e.faultActionValues[0].actionVal[0], 2.0);
}

TEST_F(RunSourceTest, HarmonicsFollowTheFundamentalsTimeReference)
{
    initialise();
    auto setIa = [this](double fundamentalAngle) {
        edit(*testor().dataHarmonic, [fundamentalAngle](ModelHarmonicEntity& e) {
            for (int k = 0; k < 4; ++k) {
                e.outputRanges[kIA][k] = kAmplitudes[k];
                e.outputAngles[kIA][k] = k == 0 ? fundamentalAngle : kHarmonicAngles[k];
            }
            e.outputFrequencies[kIA][0] = 50.0;
            e.outputRanges[kUA][0] = 57.735;
            e.outputFrequencies[kUA][0] = 50.0;
            e.faultActionType = ModelEntity::ACTION_TYPE_STOP;
        });
    };

    setIa(30.0);
    ASSERT_TRUE(start(TT::TEST_HARMONIC));
    const zorsim::PageContent p0 = page(0);
    ASSERT_EQ(p0.componentsPerChannel, 4);
    // The worked case: 3rd harmonic at 10 deg on a fundamental at 30 deg.
    EXPECT_NEAR(component(p0, kIA, 2).frequencyHz, 150.0, 1e-3);
    EXPECT_NEAR(angleError(component(p0, kIA, 2).phaseDeg, 100.0), 0.0, 1e-3);
    EXPECT_NEAR(component(p0, kIA, 2).amplitude, 0.3, 1e-4);
    EXPECT_NEAR(component(p0, kIA, 3).amplitude, 0.0, 1e-9);

    // Moving the fundamental's angle is a time shift of the whole waveform:
    // each edit (sent while running) must play the waveform entered at
    // 0 deg, shifted by the fundamental's angle.
    int expectedPage = 0;
    for (const double phi1 : {30.0, 75.0, 200.0, -40.0}) {
        SCOPED_TRACE(phi1);
        if (phi1 != 30.0) {
            setIa(phi1);
            center->testSwitch();
            ++expectedPage;
            ASSERT_TRUE(waitFor([&] { return sim->playerStatus().currentPage == expectedPage; }));
        }
        const zorsim::PageContent p = playingPage();
        const double shift = phi1 / 360.0 / 50.0;   // s
        for (double t = 0.0; t < 0.02; t += 0.0013) {
            double played = 0.0;
            double reference = 0.0;
            for (int k = 0; k < 3; ++k) {
                const zorsim::Component& c = component(p, kIA, k);
                played += c.amplitude * std::sin(2 * kPi * c.frequencyHz * t + c.phaseDeg * kPi / 180.0);
                reference += kAmplitudes[k]
                             * std::sin(2 * kPi * 50.0 * kOrders[k] * (t + shift) + kHarmonicAngles[k] * kPi / 180.0);
            }
            EXPECT_NEAR(played, reference, 2e-3) << "t = " << t;
        }
    }
    EXPECT_TRUE(waitFor([this] { return texts(ConstTextUtility::TEST_AOSWITCH) == 3; }));
    center->testInterrupt();
    ASSERT_TRUE(waitEnded());

    // A ramp of the fundamental in return mode keeps one result: the
    // drop-off replaces the pick-up.
    plugTimedRelay(kIA, 4.5, 0.8);
    edit(*testor().dataHarmonic, [](ModelHarmonicEntity& e) {
        e.outputRanges[kIA][0] = 0.0;
        e.outputAngles[kIA][0] = 0.0;
        e.autoRampEnabled = true;
        e.actionRampTime = 2.0;
        e.actionRampStep = 1.0;
        e.actionRampFactor = 1;
        e.endRampValue = 10.0;
        e.faultActionType = ModelEntity::ACTION_TYPE_RETURN;
        e.faultActionPort = ModelEntity::RAMP_PORT_TYPE_IA;
        e.faultActionItem = ModelEntity::RAMP_ITEM_TYPE_RANGE;
        e.faultActionOrder = 0;
        e.stateOutputBIStates[0] = 3;
    });
    ASSERT_TRUE(start(TT::TEST_HARMONIC));
    ASSERT_TRUE(waitEnded());
    ModelHarmonicEntity& e = *testor().dataHarmonic;
    QMutexLocker lock(&e.entityLock);
    EXPECT_EQ(e.faultActionBiIndex, 0);
    EXPECT_DOUBLE_EQ(e.faultActionValues[0].actionVal[0], 4.0);
    EXPECT_EQ(e.currentRampFactor, -1);
}

TEST_F(RunSourceTest, PowerSwingPlaysSteadyAndSwingComponentsUntilATrip)
{
    initialise();
    auto relay = plugRelay(kIB, 1.5, 0.3);   // watches component 0: the swing
    edit(*testor().dataOscillate, [](ModelOscillateEntity& e) {
        const double angles[8] = {0, 240, 120, 0, 330, 210, 90, 0};
        for (int c = 0; c < 8; ++c) {
            e.outputRanges[c] = c == 3 || c == 7 ? 0.0 : (c < 4 ? 57.735 : 10.0);
            e.outputAngles[c] = angles[c];
            e.outputFrequencies[c] = 50.0;
        }
        e.oscillatePort = ModelEntity::RAMP_PORT_TYPE_IBIC;
        e.oscillatePercent = 0.2;
        e.oscillateFrequency = 1.5;
        e.oscillateAngle = 30.0;
        e.stateOutputBIStates[0] = 1;
    });
    ASSERT_TRUE(start(TT::TEST_OSCILLATE));

    const zorsim::PageContent p0 = page(0);
    ASSERT_EQ(p0.componentsPerChannel, 2);
    EXPECT_TRUE(p0.oscillate);
    for (const int c : {kIB, kIC}) {
        EXPECT_NEAR(component(p0, c, 0).amplitude, 2.0, 1e-3) << "channel " << c;
        EXPECT_NEAR(angleError(component(p0, c, 0).phaseDeg, 30.0), 0.0, 1e-3) << "channel " << c;
        EXPECT_NEAR(component(p0, c, 0).frequencyHz, 1.5, 1e-4) << "channel " << c;
        EXPECT_NEAR(component(p0, c, 1).amplitude, 10.0, 1e-3) << "channel " << c;
        EXPECT_NEAR(component(p0, c, 1).frequencyHz, 50.0, 1e-4) << "channel " << c;
    }
    EXPECT_NEAR(component(p0, kIA, 0).amplitude, 0.0, 1e-9);
    EXPECT_NEAR(component(p0, kIA, 1).amplitude, 10.0, 1e-3);
    EXPECT_NEAR(angleError(component(p0, kIC, 1).phaseDeg, 90.0), 0.0, 1e-3);

    // The large-current value is the peak of steady and swing, not the swing alone.
    EXPECT_NEAR(testor().getTestCurrentMax(), 12.0, 1e-9);

    ASSERT_TRUE(waitEnded());
    EXPECT_EQ(relay->pickupTimes().size(), 1u);
    ModelOscillateEntity& e = *testor().dataOscillate;
    QMutexLocker lock(&e.entityLock);
    EXPECT_TRUE(e.lastState);
    EXPECT_NEAR(e.faultActionTimes[0], 0.3, 1e-4);
    ASSERT_EQ(e.faultActionValues[0].portCnt, 2);
    EXPECT_DOUBLE_EQ(e.faultActionValues[0].actionVal[0], 12.0);
    EXPECT_DOUBLE_EQ(e.faultActionValues[0].actionVal[1], 12.0);
}

TEST_F(RunSourceTest, StandardSourceEditReplacesTheOutputAtOnce)
{
    initialise();
    auto set = [this](double ia, double iaAngle) {
        edit(*testor().dataStdSource, [&](ModelStdSourceEntity& e) {
            e.outputRanges[kUA] = 100.0;
            e.outputFrequencies[kUA] = 50.0;
            e.outputRanges[kIA] = ia;
            e.outputAngles[kIA] = iaAngle;
            e.outputFrequencies[kIA] = 50.0;
        });
    };
    set(5.0, -120.0);
    ASSERT_TRUE(start(TT::TEST_STDSOURCE));
    EXPECT_NEAR(component(page(0), kIA, 0).amplitude, 5.0, 1e-3);
    EXPECT_NEAR(angleError(component(page(0), kIA, 0).phaseDeg, 240.0), 0.0, 1e-3);
    EXPECT_EQ(page(0).biEdgeWord, 0);
    EXPECT_NEAR(testor().getTestCurrentMax(), 5.0, 1e-9);

    // The edit goes into the next page and the output switches to it.
    set(3.0, 10.0);
    center->testSwitch();
    ASSERT_TRUE(waitFor([this] { return sim->playerStatus().currentPage == 1; }));
    EXPECT_TRUE(sim->playerStatus().running);
    EXPECT_NEAR(component(playingPage(), kIA, 0).amplitude, 3.0, 1e-3);
    EXPECT_NEAR(angleError(component(playingPage(), kIA, 0).phaseDeg, 10.0), 0.0, 1e-3);
    ASSERT_TRUE(settle());
    EXPECT_EQ(texts(ConstTextUtility::TEST_AOSWITCH), 0);   // no switch event for this module

    // An edit that cannot be output ends the run instead.
    set(std::nan(""), 10.0);
    center->testSwitch();
    ASSERT_TRUE(waitEnded());
    EXPECT_TRUE(waitFor([this] { return texts(ConstTextUtility::TEST_STOP) == 1; }));
    EXPECT_EQ(sim->playerStatus().currentPage, 1);
}
