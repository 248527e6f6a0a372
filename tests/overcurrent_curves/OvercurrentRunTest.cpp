// End to end: the fault state of a catalogue point played as a steady AC
// output through the engine, against the simulator's inverse-time relay set
// to the same curve by its own constants. The recorded trip time agrees with
// the catalogue's operate time. Runs in a process of its own (see
// EngineFixture.h).

#include "../run_protection/RunProtectionSupport.h"

#include "BaseModelDataOvercurrent.h"
#include "BaseOverCurrentHelper.h"

using namespace runprotection;

using OvercurrentRun = RunProtectionTest;

TEST_F(OvercurrentRun, CatalogueTimesMatchTheRelayTrippedByTheFaultState)
{
    initialise();
    struct Row
    {
        const char* what;
        int row;
        zorsim::InverseCurve curve;
        double pickup, dial, amps;
    };
    const Row rows[] = {
        {"iec-vi", 2, zorsim::InverseCurve::iecVeryInverse(), 1.0, 0.1, 2.0},
        {"ieee-ei", 12, zorsim::InverseCurve::ieeeExtremelyInverse(), 0.8, 0.5, 2.4},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        BaseOverCurrentHelper curves;
        curves.setActiveType(OperatingCurves::CHAR_STAND);
        curves.setActiveIndex(r.row);
        curves.setIPickUp(r.pickup);
        curves.setTdPickUp(r.dial);
        const double expected = curves.ComputerTime(r.amps);
        ASSERT_TRUE(expected > 0.5 && expected < 5.0) << expected;

        BaseModelDataOvercurrent fault;
        fault.faultKind = BaseModelDataOvercurrent::FAULT_TYPE_A_E;
        fault.rateVoltage = 57.735;
        fault.rateFrequency = 50.0;
        fault.faultVPEnable = true;
        fault.faultVPNRange = 30.0;
        fault.faultCurrent = r.amps;
        fault.maxCurrent = 20.0;
        BaseDataPhaseValue state[8];
        fault.compute(state);

        sim->unplugAll();
        zorsim::InverseTimeRelaySettings settings;
        settings.channels = {kIA, kIB, kIC};
        settings.curve = r.curve;
        settings.pickupAmps = curves.getIPickUp();
        settings.tms = curves.getTdPickUp();
        auto relay = std::make_shared<zorsim::InverseTimeRelay>(settings);
        sim->plugIn(relay);

        edit(*testor().dataAlternate, [&](ModelAlternateEntity& e) {
            for (int c = 0; c < 8; ++c) {
                e.outputRanges[c] = state[c].getRange();
                e.outputAngles[c] = state[c].getAngle();
                e.outputFrequencies[c] = state[c].getFrequency();
            }
            e.autoRampEnabled = false;
            e.stateOutputBIStates[0] = 1;
            e.stateBILogicTypes = ModelEntity::AO_BILOGIC_TYPE_OR;
            e.faultActionType = ModelEntity::ACTION_TYPE_STOP;
        });
        ASSERT_TRUE(start(TT::TEST_ALTERNATE));
        ASSERT_TRUE(waitEnded());

        const auto trips = relay->trips();
        ASSERT_EQ(trips.size(), 1u);
        EXPECT_EQ(trips[0].channel, kIA);
        EXPECT_EQ(trips[0].stage, zorsim::OvercurrentStage::InverseTime);
        read(*testor().dataAlternate, [&](ModelAlternateEntity& e) {
            EXPECT_EQ(e.faultActionBiIndex, 0);
            EXPECT_NEAR(e.faultActionTimes[0], recordedTripTime(expected, debounceSeconds()), 1e-3);
            return 0;
        });
    }
}
