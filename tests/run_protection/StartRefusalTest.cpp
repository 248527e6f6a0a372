// Starts of the multi-state modules that must not run: counts beyond the
// entities' arrays or the 16-bit count register, values that cannot be
// output, pulse periods beyond the 32-bit register, searches that never end.
// Each is refused before anything reaches the instrument, and says why.
// And starts of every family whose driver writes fail (the state count
// among them): they leave nothing switched on.

#include "RunProtectionSupport.h"

using namespace runprotection;

namespace {

using Freq = ModelSlipFrequencyEntity;
using Volt = ModelSlipVoltageEntity;

// Valid settings of each module, which the rows then spoil.
void validSequence(ModelStateSequenceEntity& e)
{
    e.stateCount = 2;
    for (int s = 0; s < ModelStateSequenceEntity::kMaxStates; ++s) {
        for (int c = 0; c < 8; ++c) {
            e.stateOutputRanges[s][c] = c == kUA ? 10.0 : 0.0;
            e.stateOutputAngles[s][c] = 0.0;
            e.stateOutputFrequencies[s][c] = 50.0;
        }
        e.stateTriggerTypes[s] = ModelEntity::AO_TRIGGER_TYPE_TIME;
        e.stateOutputTimes[s] = 1.0;
    }
}

void validRamping(ModelRampingEntity& e)
{
    e.stateCount = 3;
    e.maxVoltage = 120.0;
    e.maxCurrent = 20.0;
    for (int s = 0; s < ModelRampingEntity::kMaxStates; ++s) {
        for (int c = 0; c < 8; ++c) {
            e.stateOutputRanges[s][c] = c == kUA ? 57.735 : 0.0;
            e.stateOutputAngles[s][c] = 0.0;
            e.stateOutputFrequencies[s][c] = 50.0;
            e.rampStepValues[s][c] = 0.0;
        }
        e.stateOutputTimes[s] = 1.0;
    }
    e.rampPorts[1][0] = ModelEntity::RAMP_PORT_TYPE_IA;
    e.rampItems[1][0] = ModelEntity::RAMP_ITEM_TYPE_RANGE;
    e.rampBeginValues[1][0] = 0.0;
    e.rampEndValues[1][0] = 10.0;
    e.rampStepValues[1][0] = 1.0;
}

template <typename Entity>
void validGroups(Entity& e)
{
    e.stateCount = 3;
    for (int s = 0; s < Entity::kMaxStates; ++s) {
        for (int c = 0; c < 8; ++c) {
            e.stateOutputRanges[s][c] = c == kUA ? 57.735 : (c == kIA && s % 3 == 1 ? 5.0 : 0.0);
            e.stateOutputAngles[s][c] = 0.0;
            e.stateOutputFrequencies[s][c] = 50.0;
        }
        e.stateOutputTimes[s] = 1.0;
    }
}

void validEnergy(ModelEnergyEntity& e)
{
    e.stateCount = 1;
    e.pulseOutputEnable = 1;
    e.pulseOutputConst = 1000.0;
    for (int c = 0; c < 8; ++c) {
        e.stateOutputRanges[0][c] = c == kUA ? 125.0 : (c == kIA ? 8.0 : 0.0);
        e.stateOutputAngles[0][c] = 0.0;
        e.stateOutputFrequencies[0][c] = 50.0;
    }
    e.pulseOutputGiven[0] = 1000.0;
    e.stateSettingPulses[0] = 5.0;
    e.stateSettingTimes[0] = 18.0;
    e.stateSampleDelayTimes[0] = 0.0;
}

void validFrequency(Freq& e)
{
    setSheddingNormal(e);
    e.pointCnt = 1;
    for (int p = 0; p < Freq::kMaxPoints; ++p)
        setSheddingPoint(e, p, Freq::ITEM_ACTION_FREQUENCY, 49.5, 48.5, 0.5, 1.0);
}

void validVoltage(Volt& e)
{
    setSheddingNormal(e);
    e.pointCnt = 1;
    for (int p = 0; p < Volt::kMaxPoints; ++p)
        setSheddingPoint(e, p, Volt::ITEM_ACTION_VOLTAGE, 20.0, 10.0, 2.0, 20.0);
}

struct Row
{
    const char* name;
    ControllerTestor::TESTType type;
    std::function<void(ControllerTestor&)> settings;
    const char* reason;   // part of the refusal text
    ControllerTestor::StartRefusal kind;
    QList<qint32> numbers = {};   // what the page's message names
};

// Valid settings, checked, then spoiled.
template <typename Entity>
std::function<void(ControllerTestor&)> spoil(Entity* ControllerTestor::*member, void (*valid)(Entity&),
                                             std::function<void(Entity&)> change)
{
    return [member, valid, change](ControllerTestor& testor) {
        Entity& e = *(testor.*member);
        edit(e, [&](Entity& x) {
            valid(x);
            ASSERT_TRUE(x.checkOutputValues());
            change(x);
        });
    };
}

}   // namespace

TEST_F(RunProtectionTest, StartsThatCannotRunAreRefusedAndSendNothing)
{
    initialise();
    using TT = ControllerTestor;
    const double inf = std::numeric_limits<double>::infinity();
    const Row rows[] = {
        {"33 sequence states", TT::TEST_STATESEQUENCE,
         spoil<ModelStateSequenceEntity>(&TT::dataStateSequence, validSequence, [](auto& e) { e.stateCount = 33; }),
         "state count 33 outside 1..32", TT::REFUSAL_COUNT},
        {"NaN sequence angle", TT::TEST_STATESEQUENCE,
         spoil<ModelStateSequenceEntity>(&TT::dataStateSequence, validSequence,
                                         [](auto& e) { e.stateOutputAngles[1][kIB] = kNaN; }),
         "not finite", TT::REFUSAL_VALUES},
        // The instrument would be round the ring before the testor could
        // write state 9 into the first state's page.
        {"ten sequence states of 0 s between two of 100 ms", TT::TEST_STATESEQUENCE,
         spoil<ModelStateSequenceEntity>(&TT::dataStateSequence, validSequence,
                                         [](auto& e) {
                                             e.stateCount = 12;
                                             for (int s = 0; s < e.stateCount; ++s)
                                                 e.stateOutputTimes[s] = s == 0 || s == 11 ? 0.1 : 0.0;
                                         }),
         "states 2 to 8 together last less than 50 ms", TT::REFUSAL_RING_LAP, {2, 8, 50}},
        {"98 ramping states", TT::TEST_RAMPING,
         spoil<ModelRampingEntity>(&TT::dataRamping, validRamping, [](auto& e) { e.stateCount = 98; }),
         "state count 98 outside 1..97", TT::REFUSAL_COUNT},
        {"ramping pages beyond the count register", TT::TEST_RAMPING,
         spoil<ModelRampingEntity>(&TT::dataRamping, validRamping, [](auto& e) { e.rampStepValues[1][0] = 1e-4; }),
         "beyond the 16-bit state count register", TT::REFUSAL_REGISTER},
        {"infinite ramp end", TT::TEST_RAMPING,
         spoil<ModelRampingEntity>(&TT::dataRamping, validRamping, [inf](auto& e) { e.rampEndValues[1][0] = inf; }),
         "not finite", TT::REFUSAL_VALUES},
        {"99 distance states", TT::TEST_DISTANCE,
         spoil<ModelDistanceEntity>(&TT::dataDistance, validGroups, [](auto& e) { e.stateCount = 99; }),
         "state count 99 outside 1..98", TT::REFUSAL_COUNT},
        {"infinite distance amplitude", TT::TEST_DISTANCE,
         spoil<ModelDistanceEntity>(&TT::dataDistance, validGroups,
                                    [inf](auto& e) { e.stateOutputRanges[1][kIA] = inf; }),
         "not finite", TT::REFUSAL_VALUES},
        {"98 overcurrent states", TT::TEST_OVERCURRENT,
         spoil<ModelOvercurrentEntity>(&TT::dataOvercurrent, validGroups, [](auto& e) { e.stateCount = 98; }),
         "state count 98 outside 1..97", TT::REFUSAL_COUNT},
        {"33 energy states", TT::TEST_ENERGY,
         spoil<ModelEnergyEntity>(&TT::dataEnergy, validEnergy, [](auto& e) { e.stateCount = 33; }),
         "state count 33 outside 1..32", TT::REFUSAL_COUNT},
        {"pulse period beyond 32 bits", TT::TEST_ENERGY,
         spoil<ModelEnergyEntity>(&TT::dataEnergy, validEnergy,
                                  [](auto& e) {
                                      e.pulseOutputGiven[0] = 1.0;
                                      e.pulseOutputConst = 100.0;   // 4.5e12 ticks
                                  }),
         "exceeds the 32-bit pulse period register (at most 4294967295 ticks, 34.36 s)", TT::REFUSAL_PULSE_PERIOD},
        {"zero power", TT::TEST_ENERGY,
         spoil<ModelEnergyEntity>(&TT::dataEnergy, validEnergy, [](auto& e) { e.pulseOutputGiven[0] = 0.0; }),
         "must be positive", TT::REFUSAL_PULSE_RATE},
        {"negative meter constant", TT::TEST_ENERGY,
         spoil<ModelEnergyEntity>(&TT::dataEnergy, validEnergy, [](auto& e) { e.pulseOutputConst = -1000.0; }),
         "must be positive", TT::REFUSAL_PULSE_RATE},
        {"9 under-frequency points", TT::TEST_SLIP_FREQUENCY,
         spoil<Freq>(&TT::dataSlipFrequency, validFrequency, [](auto& e) { e.pointCnt = 9; }),
         "point count 9 outside 1..8", TT::REFUSAL_COUNT},
        {"zero df/dt", TT::TEST_SLIP_FREQUENCY,
         spoil<Freq>(&TT::dataSlipFrequency, validFrequency, [](auto& e) { e.slipValue[0] = 0.0; }), "slide rate",
         TT::REFUSAL_SLIDE_RATE},
        {"zero frequency step", TT::TEST_SLIP_FREQUENCY,
         spoil<Freq>(&TT::dataSlipFrequency, validFrequency, [](auto& e) { e.rampStepValues[0] = 0.0; }),
         "point 1: a step of 0 never reaches the end value", TT::REFUSAL_ENDLESS_SEARCH},
        {"under-frequency states beyond the count register", TT::TEST_SLIP_FREQUENCY,
         spoil<Freq>(&TT::dataSlipFrequency, validFrequency, [](auto& e) { e.rampStepValues[0] = 1e-5; }),
         "beyond the 16-bit state count register", TT::REFUSAL_REGISTER},
        {"33 under-voltage points", TT::TEST_SLIP_VOLTAGE,
         spoil<Volt>(&TT::dataSlipVoltage, validVoltage, [](auto& e) { e.pointCnt = 33; }),
         "point count 33 outside 1..32", TT::REFUSAL_COUNT},
        {"zero voltage step", TT::TEST_SLIP_VOLTAGE,
         spoil<Volt>(&TT::dataSlipVoltage, validVoltage,
                     [](auto& e) {
                         e.pointCnt = 2;
                         e.rampStepValues[1] = 0.0;
                     }),
         "point 2: a step of 0 never reaches the end value", TT::REFUSAL_ENDLESS_SEARCH},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.settings(testor());
        const int runs = runNotices();
        const int powers = powerNotices();
        const int starts = texts(ConstTextUtility::TEST_AOSTART);
        sim->clearFrames();
        center->testActive(row.type);
        center->testStart();
        ASSERT_TRUE(settle());

        EXPECT_FALSE(testor().runEnable.load());
        EXPECT_EQ(state(RT::STATE_TYPE_RUNNING), 0);
        EXPECT_EQ(powerNotices(), powers);
        EXPECT_EQ(texts(ConstTextUtility::TEST_AOSTART), starts);
        EXPECT_GT(runNotices(), runs);   // the failed start is reported
        EXPECT_TRUE(testor().lastStartRefusal().contains(QLatin1String(row.reason)))
            << qPrintable(testor().lastStartRefusal());
        EXPECT_EQ(testor().lastStartRefusalReason(), row.kind);
        EXPECT_EQ(testor().lastStartRefusalNumbers(), row.numbers);
        // No page, state count, power or run reached the instrument.
        for (uint32_t frame : sim->frames()) {
            const uint16_t addr = uint16_t(frame >> 16);
            const bool output = addr < 0x1800 || addr == kStateCountRegister || addr == kRunBitsRegister;
            EXPECT_FALSE(output || addr == reg::kPower) << std::hex << frame;
        }
        EXPECT_FALSE(sim->playerStatus().running);
    }
}

// The sequences at the edge of the ring's refusal: seven states in a row
// after the first, with one after them, that could end within 50 ms are
// refused; six such states, and the sequences a relay engineer runs, run.
TEST_F(RunProtectionTest, SequencesAtTheEdgeOfTheRingAreRefusedOnlyForSevenShortStatesInARow)
{
    // At real time, as on the instrument: a sequence that passes the ring
    // has state s + 8 written while the seven states after s play (140 ms
    // for states of 20 ms), a margin meant in real time; at the fixture's
    // shortened time it is 7 ms, too little for a sanitised engine on a
    // loaded machine.
    zoplat::setTimeScale(1.0);
    initialise();
    auto states = [](std::initializer_list<std::pair<int, double>> runs) {
        std::vector<double> times;
        for (const auto& [count, seconds] : runs)
            times.insert(times.end(), size_t(count), seconds);
        return times;
    };
    const struct
    {
        const char* name;
        std::vector<double> times;
        QList<qint32> refused;   // the message's numbers; empty: the sequence runs
    } rows[] = {
        {"seven short states, then a long one", states({{1, 0.1}, {7, 0.005}, {1, 0.1}}), {2, 8, 50}},
        {"six short states, then long ones", states({{1, 0.1}, {6, 0.005}, {2, 0.1}}), {}},
        {"nine states of 20 ms", states({{9, 0.02}}), {}},
        {"sixteen states of 50 ms", states({{16, 0.05}}), {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        edit(*testor().dataStateSequence, [&](ModelStateSequenceEntity& e) {
            validSequence(e);
            e.stateCount = int(row.times.size());
            std::copy(row.times.begin(), row.times.end(), e.stateOutputTimes);
        });
        if (row.refused.isEmpty()) {
            runToEnd(ControllerTestor::TEST_STATESEQUENCE);
            EXPECT_EQ(testor().lastStartRefusalReason(), ControllerTestor::REFUSAL_NONE);
            continue;
        }
        EXPECT_FALSE(startRun(ControllerTestor::TEST_STATESEQUENCE));
        EXPECT_EQ(testor().lastStartRefusalReason(), ControllerTestor::REFUSAL_RING_LAP);
        EXPECT_EQ(testor().lastStartRefusalNumbers(), row.refused);
    }
}

namespace {

// An AC output: steady, or an automatic ramp of IA (with a state count).
void acOutput(ModelAlternateEntity& e, bool ramp)
{
    runsource::setSteady(e, ramp ? 0.0 : 1.0);
    e.autoRampEnabled = ramp;
    e.actionRampTime = 1.0;
    e.actionRampStep = 1.0;
    e.actionRampFactor = 1;
    e.endRampValue = 10.0;
    e.faultActionPort = ModelEntity::RAMP_PORT_TYPE_IA;
}

template <typename Entity>
std::function<void(ControllerTestor&)> valid(Entity* ControllerTestor::*member, void (*settings)(Entity&))
{
    return [member, settings](ControllerTestor& testor) { edit(*(testor.*member), settings); };
}

}   // namespace

TEST_F(RunProtectionTest, FailedStartLeavesNothingSwitchedOn)
{
    // No polling: the testor is the link's only user, so the failure lands
    // on the frame chosen.
    initialise(false);
    constexpr uint32_t kPolls = 2000;
    drv_mcasp_set_poll_limits(kPolls, kPolls, kPolls);
    struct RestoreLimits
    {
        ~RestoreLimits() { drv_mcasp_reset_poll_limits(); }
    } restore;

    using TT = ControllerTestor;
    constexpr uint32_t kFirstFrame = 0;   // the start's first frame fails
    struct Row
    {
        const char* name;
        ControllerTestor::TESTType type;
        std::function<void(ControllerTestor&)> settings;
        uint32_t failAfter;   // the frame after this one fails
        bool powerReported;   // power-on was announced before the failure
    };
    const Row rows[] = {
        // The AC state count, after the last word of page 0 (its trigger).
        {"AC state count", TT::TEST_ALTERNATE,
         [](ControllerTestor& t) { edit(*t.dataAlternate, [](ModelAlternateEntity& e) { acOutput(e, true); }); },
         runsource::pageTriggerFrame(0, COMM_TRIGGER_TYPE_TIME_BINARY), false},
        // The page switch of the run, after the run mode word: the output
        // bits still go out, the amplifiers are on.
        {"AC run", TT::TEST_ALTERNATE,
         [](ControllerTestor& t) { edit(*t.dataAlternate, [](ModelAlternateEntity& e) { acOutput(e, false); }); },
         0x83000000u, true},
        // The multi-state modules send their state count first.
        {"state sequence state count", TT::TEST_STATESEQUENCE, valid(&TT::dataStateSequence, validSequence),
         kFirstFrame, false},
        {"distance state count", TT::TEST_DISTANCE, valid<ModelDistanceEntity>(&TT::dataDistance, validGroups),
         kFirstFrame, false},
        {"ramping state count", TT::TEST_RAMPING, valid(&TT::dataRamping, validRamping), kFirstFrame, false},
        {"overcurrent state count", TT::TEST_OVERCURRENT,
         valid<ModelOvercurrentEntity>(&TT::dataOvercurrent, validGroups), kFirstFrame, false},
        {"energy state count", TT::TEST_ENERGY, valid(&TT::dataEnergy, validEnergy), kFirstFrame, false},
        {"under-frequency state count", TT::TEST_SLIP_FREQUENCY, valid(&TT::dataSlipFrequency, validFrequency),
         kFirstFrame, false},
        {"under-voltage state count", TT::TEST_SLIP_VOLTAGE, valid(&TT::dataSlipVoltage, validVoltage), kFirstFrame,
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.settings(testor());
        const int powers = powerNotices();
        const int stagesBefore = powerStageCommands().size();
        sim->clearFrames();
        {
            runsource::LinkTap tap(*sim);
            if (row.failAfter == kFirstFrame)
                tap.failNextFrameOf(center->testorThread, kPolls);
            else
                tap.failFrameAfter(row.failAfter, kPolls);
            EXPECT_FALSE(start(row.type));
            EXPECT_TRUE(tap.failed());
        }
        EXPECT_FALSE(testor().runEnable.load());
        EXPECT_EQ(state(RT::STATE_TYPE_RUNNING), 0);
        EXPECT_FALSE(sim->playerStatus().running);
        EXPECT_EQ(sim->peekRegister(kRunBitsRegister), 0);
        EXPECT_EQ(sim->peekRegister(reg::kPower), 0);
        EXPECT_EQ(state(RT::STATE_TYPE_POWERED), 0);
        for (uint32_t frame : sim->frames())
            EXPECT_NE(frame >> 16, kStateCountRegister) << "no state count reached the instrument";
        if (row.powerReported) {
            EXPECT_EQ(powerNotices(), powers + 2);   // on, then off again
            EXPECT_EQ(
                powerStageCommands().mid(stagesBefore),
                (QStringList{"/opt/zor/script/setpwrgpio.sh pao open", "/opt/zor/script/setpwrgpio.sh pao close"}));
        } else {
            EXPECT_EQ(powerNotices(), powers);
        }
        EXPECT_EQ(texts(ConstTextUtility::TEST_AOSTART), 0);
        EXPECT_EQ(testor().lastStartRefusalReason(), TT::REFUSAL_INSTRUMENT);

        // Nothing is left to stop, and the next start runs.
        center->testInterrupt();
        ASSERT_TRUE(settle());
        EXPECT_EQ(texts(ConstTextUtility::TEST_STOP), 0);
    }
    edit(*testor().dataAlternate, [](ModelAlternateEntity& e) { acOutput(e, false); });
    ASSERT_TRUE(start(TT::TEST_ALTERNATE));
    center->testInterrupt();
    EXPECT_TRUE(waitEnded());
}
