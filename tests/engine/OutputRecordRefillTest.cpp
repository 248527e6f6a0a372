// Every send refills the output record: the page encoder rewrites the record
// in place (calibration, the small range's factor ten, the current
// amplifiers' phase), so values encoded twice from one fill would reach the
// instrument changed. Each row makes the engine send the same values twice
// through one of its sending paths; the two pages must hold the same words.

#include "../run_protection/RunProtectionSupport.h"

#include <functional>

using namespace runprotection;

namespace {

using TT = ControllerTestor;

// Both in the small range, where the encoder multiplies by ten; the current
// also turned by the amplifiers' phase.
constexpr double kVolts = 10.0;
constexpr double kAmps = 0.5;

void setChannels(double* ranges, double* angles, double* frequencies)
{
    for (int c = 0; c < 8; ++c) {
        ranges[c] = 0.0;
        angles[c] = 0.0;
        frequencies[c] = 50.0;
    }
    ranges[kUA] = kVolts;
    angles[kUA] = 30.0;
    ranges[kIA] = kAmps;
    angles[kIA] = -20.0;
}

struct Row
{
    const char* path;
    TT::TESTType type;
    std::function<void(ControllerTestor&)> set;
    bool switchAfterStart;   // else the start writes both pages
};

const Row kRows[] = {
    {"steady AC output sent again", TT::TEST_ALTERNATE,
     [](ControllerTestor& t) {
         edit(*t.dataAlternate, [](ModelAlternateEntity& e) {
             e.autoRampEnabled = false;
             setChannels(e.outputRanges, e.outputAngles, e.outputFrequencies);
         });
     },
     true},
    {"standard source sent again", TT::TEST_STDSOURCE,
     [](ControllerTestor& t) {
         edit(*t.dataStdSource,
              [](ModelStdSourceEntity& e) { setChannels(e.outputRanges, e.outputAngles, e.outputFrequencies); });
     },
     true},
    {"state sequence of two equal states", TT::TEST_STATESEQUENCE,
     [](ControllerTestor& t) {
         edit(*t.dataStateSequence, [](ModelStateSequenceEntity& e) {
             e.stateCount = 2;
             for (int s = 0; s < 2; ++s) {
                 setChannels(e.stateOutputRanges[s], e.stateOutputAngles[s], e.stateOutputFrequencies[s]);
                 e.stateTriggerTypes[s] = ModelEntity::AO_TRIGGER_TYPE_TIME;
                 e.stateOutputTimes[s] = 100.0;
             }
         });
     },
     false},
    {"energy meter points of equal power", TT::TEST_ENERGY,
     [](ControllerTestor& t) {
         edit(*t.dataEnergy, [](ModelEnergyEntity& e) {
             e.stateCount = 2;
             e.pulseOutputEnable = 0;
             for (int s = 0; s < 2; ++s) {
                 setChannels(e.stateOutputRanges[s], e.stateOutputAngles[s], e.stateOutputFrequencies[s]);
                 e.stateSampleDelayTimes[s] = 100.0;   // the measurement waits: the pages stay
             }
         });
     },
     false},
};

}   // namespace

class OutputRecordTest : public RunProtectionTest
{
};

TEST_F(OutputRecordTest, EverySendRefillsTheOutputRecord)
{
    initialise();
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.path);
        row.set(testor());
        ASSERT_TRUE(startRun(row.type)) << qPrintable(testor().lastStartRefusal());
        if (row.switchAfterStart) {
            center->testSwitch();
            ASSERT_TRUE(waitFor([this] { return sim->playerStatus().currentPage == 1; }));
        }
        ASSERT_TRUE(settle());

        const zorsim::PageContent first = page(0);
        const zorsim::PageContent second = page(1);
        EXPECT_NEAR(first.channels[kUA].components.at(0).amplitude, kVolts, 1e-3);
        EXPECT_NEAR(first.channels[kIA].components.at(0).amplitude, kAmps, 1e-4);
        EXPECT_EQ(first.rangeBits, second.rangeBits);
        for (int c = 0; c < 8; ++c) {
            const zorsim::Component& a = first.channels[size_t(c)].components.at(0);
            const zorsim::Component& b = second.channels[size_t(c)].components.at(0);
            EXPECT_EQ(a.amplitudeWord, b.amplitudeWord) << "channel " << c;
            EXPECT_EQ(a.phaseWord, b.phaseWord) << "channel " << c;
            EXPECT_EQ(a.frequencyWord, b.frequencyWord) << "channel " << c;
        }

        center->testInterrupt();
        ASSERT_TRUE(waitEnded());
    }
}
