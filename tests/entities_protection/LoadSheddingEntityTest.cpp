// Under-frequency and under-voltage load-shedding entities: cycles of
// pre-fault, fault (frequency or voltage slide) and after-fault pages.

#include "EntityTestSupport.h"
#include "ModelSlipFrequencyEntity.h"
#include "ModelSlipVoltageEntity.h"

#include <cmath>
#include <limits>
#include <vector>

using namespace entitytest;
using Freq = ModelSlipFrequencyEntity;
using Volt = ModelSlipVoltageEntity;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int UA = 0, UX = 3, IA = 4, IX = 7;
constexpr quint16 kBase = COMM_STATE_PROPERTY_ENABLE_TYPE_BASE;
constexpr quint16 kDfdt = COMM_STATE_PROPERTY_ENABLE_TYPE_DFDT;
constexpr quint16 kDrdt = COMM_STATE_PROPERTY_ENABLE_TYPE_DRDT;

// Normal 57.7 V / 50 Hz and no current; interval the same with UX 10 V and
// IX 0.2 A; 2 s pre-fault, 0.5 s hold, 3 s after-fault.
template <typename E>
void setNormal(E& e)
{
    e.maxVoltage = 120.0;
    e.maxCurrent = 10.0;
    e.rateCurrent = 5.0;
    e.normalTime = 2.0;
    e.holdTime = 0.5;
    e.intervalTime = 3.0;
    for (int c = 0; c < 8; ++c) {
        e.normalOutputRanges[c] = c < 3 ? 57.7 : 0.0;
        e.normalOutputAngles[c] = (c % 4) * -120.0;
        e.normalOutputFrequencies[c] = 50.0;
        e.intervalOutputRanges[c] = e.normalOutputRanges[c];
        e.intervalOutputAngles[c] = e.normalOutputAngles[c];
        e.intervalOutputFrequencies[c] = 50.0;
    }
    e.intervalOutputRanges[UX] = 10.0;
    e.intervalOutputRanges[IX] = 0.2;
}

template <typename E>
void setPoint(E& e, int p, int item, double begin, double end, double step, double slip)
{
    e.testItemType[p] = typename E::TestItemType(item);
    e.rampBeginValues[p] = begin;
    e.rampEndValues[p] = end;
    e.rampStepValues[p] = step;
    e.slipValue[p] = slip;
}

// The run control: start, then one switch per state change, every page kept.
// `onChange` runs after the progress update of each change (a trip goes there).
template <typename E, typename F>
std::vector<CommDriverTestOutputData> runPages(E& e, F onChange, int limit = 400)
{
    std::vector<CommDriverTestOutputData> pages;
    e.resetActionValues();
    e.switchToResetState();
    e.updateToDriverStateCount();
    e.updateToDriverValue();
    pages.push_back(*globalTestOutputData);
    if (e.switchToNextState()) {
        e.updateToDriverValue();
        pages.push_back(*globalTestOutputData);
    }
    for (int change = 1; change < limit; ++change) {
        e.updateFromDriverState();
        onChange(change);
        if (!e.switchToNextState())
            break;
        e.updateToDriverValue();
        pages.push_back(*globalTestOutputData);
    }
    return pages;
}

template <typename E>
std::vector<CommDriverTestOutputData> runPages(E& e)
{
    return runPages(e, [](int) {});
}

std::vector<CommDriverTestOutputData> faultPages(const std::vector<CommDriverTestOutputData>& pages)
{
    std::vector<CommDriverTestOutputData> faults;
    for (const auto& page : pages)
        if (page.outputTriggerType == COMM_TRIGGER_TYPE_TIME_BINARY)
            faults.push_back(page);
    return faults;
}

class LoadSheddingEntityTest : public ::testing::Test
{
protected:
    DriverRecords records;
};

TEST_F(LoadSheddingEntityTest, FrequencySearchCyclesUntilTheStopFrequency)
{
    Freq e;
    setNormal(e);
    e.pointCnt = 1;
    setPoint(e, 0, Freq::ITEM_ACTION_FREQUENCY, 49.5, 48.5, 0.5, 1.0);
    const auto pages = runPages(e);
    EXPECT_EQ(e.stateCount, 3 * (2 + 2));
    EXPECT_EQ(records.output->outputStateCount, 13u);
    // Three cycles and the closing after-fault page.
    ASSERT_EQ(pages.size(), 10u);
    for (size_t i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        const CommDriverTestOutputData& page = pages[i];
        const int kind = int(i % 3);   // 0 pre-fault, 1 fault, 2 after-fault
        // Every page watches both edges of every input; only a fault ends on one.
        EXPECT_EQ(page.outputTriggerType, quint16(kind == 1 ? COMM_TRIGGER_TYPE_TIME_BINARY : COMM_TRIGGER_TYPE_TIME));
        EXPECT_EQ(page.outputBIRiseEnables[2], 1u);
        EXPECT_EQ(page.outputBIFallEnables[3], 1u);
        EXPECT_EQ(page.propertyEnables[UA], kind == 1 ? kDfdt : kBase);
        EXPECT_EQ(page.propertyEnables[IA], kBase);
        if (kind == 0) {
            EXPECT_EQ(page.outputLinkStateType, 1u);
            EXPECT_FLOAT_EQ(page.outputTime, 2.0f);
        } else if (kind == 1) {
            EXPECT_EQ(page.outputLinkStateType, 0u);
        } else {
            EXPECT_FLOAT_EQ(page.outputTime, 3.0f);
        }
        // UX and IX carry the interval values from the first page on.
        EXPECT_FLOAT_EQ(page.outputRanges[UX][0], 10.0f);
        EXPECT_FLOAT_EQ(page.outputRanges[IX][0], 0.2f);
    }
    const auto faults = faultPages(pages);
    ASSERT_EQ(faults.size(), 3u);
    const float stops[3] = {49.5f, 49.0f, 48.5f};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(faults[i].dfdtStopValue[UA], stops[i]);
        EXPECT_FLOAT_EQ(faults[i].dfdtSlipValue[UA], 1.0f);
        EXPECT_FLOAT_EQ(faults[i].outputFrequencies[UA][0], 50.0f);
        EXPECT_FLOAT_EQ(faults[i].outputRanges[IA][0], 0.0f);
        // The slide from 50 Hz at 1 Hz/s plus the hold time.
        EXPECT_FLOAT_EQ(faults[i].outputTime, float(50.0 - stops[i]) + 0.5f);
    }
    EXPECT_FLOAT_EQ(pages.back().outputTime, 3.0f);
    EXPECT_EQ(e.stateTestStates[0], ModelEntity::AO_STATE_TYPE_COMPLETED);
}

TEST_F(LoadSheddingEntityTest, BlockingItemsStepTheirQuantity)
{
    struct Case {
        const char* name;
        int item;
        double begin, end, step;
        std::vector<float> uaRange, uaFrequency, iaRange, rate;
        quint16 iaProperty;
    };
    // Slide from 50 Hz to 48 Hz at 2 Hz/s unless the rate is stepped.
    const Case cases[] = {
        {"df/dt blocking", Freq::ITEM_FREQUENCY_SLIP, 1.0, 3.0, 1.0,
         {57.7f, 57.7f, 57.7f}, {50, 50, 50}, {0, 0, 0}, {1, 2, 3}, kBase},
        {"low-current blocking", Freq::ITEM_LOW_I_LOCK, 0.5, 0.1, 0.2,
         {57.7f, 57.7f, 57.7f}, {50, 50, 50}, {0.5f, 0.3f, 0.1f}, {2, 2, 2}, kDfdt},
        {"under-voltage blocking", Freq::ITEM_V_LOCK, 40.0, 50.0, 5.0,
         {40, 45, 50}, {50, 50, 50}, {0, 0, 0}, {2, 2, 2}, kBase},
        {"trip time", Freq::ITEM_ACTION_TIME, 0.0, 0.0, 0.0,
         {57.7f}, {50}, {0}, {2}, kBase},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Freq e;
        setNormal(e);
        e.pointCnt = 1;
        setPoint(e, 0, c.item, c.begin, c.end, c.step, 2.0);
        e.initFrequencyVal[0] = 50.0;
        e.finalFrequencyVal[0] = 48.0;
        ASSERT_TRUE(e.checkOutputValues());
        const auto pages = runPages(e);
        const auto faults = faultPages(pages);
        ASSERT_EQ(faults.size(), c.uaRange.size());
        for (size_t i = 0; i < faults.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_FLOAT_EQ(faults[i].outputRanges[UA][0], c.uaRange[i]);
            EXPECT_FLOAT_EQ(faults[i].outputFrequencies[UA][0], c.uaFrequency[i]);
            EXPECT_FLOAT_EQ(faults[i].outputRanges[IA][0], c.iaRange[i]);
            EXPECT_EQ(faults[i].propertyEnables[IA], c.iaProperty);
            EXPECT_FLOAT_EQ(faults[i].dfdtStopValue[UA], 48.0f);
            EXPECT_FLOAT_EQ(faults[i].dfdtSlipValue[UA], c.rate[i]);
            EXPECT_FLOAT_EQ(faults[i].outputTime, 2.0f / c.rate[i] + 0.5f);
        }
        // Low-current blocking: the pre-fault page carries the rated current.
        EXPECT_FLOAT_EQ(pages[0].outputRanges[IA][0], c.item == Freq::ITEM_LOW_I_LOCK ? 5.0f : 0.0f);
    }
}

TEST_F(LoadSheddingEntityTest, TripEndsThePointAndRecordsTheSearchedValue)
{
    Freq e;
    setNormal(e);
    e.pointCnt = 2;
    setPoint(e, 0, Freq::ITEM_ACTION_FREQUENCY, 49.5, 48.5, 0.5, 1.0);
    setPoint(e, 1, Freq::ITEM_ACTION_TIME, 0.0, 0.0, 0.0, 2.0);
    e.initFrequencyVal[1] = 50.0;
    e.finalFrequencyVal[1] = 47.0;
    e.actionEnable = true;   // left over from an earlier run: must not count
    const auto pages = runPages(e, [&](int change) {
        if (change == 4) {   // the second fault page (stop 49.0 Hz) is playing
            EXPECT_EQ(e.outputRunningStateIndex, 4);
            ASSERT_EQ(e.updateFromDriverAction(0, 0, 0.8f), 0);
            e.actionEnable = true;
        }
        if (change == 6) {
            EXPECT_EQ(e.outputRunningPointIndex, 1);
            EXPECT_EQ(e.stateTestStates[0], ModelEntity::AO_STATE_TYPE_COMPLETED);
            EXPECT_EQ(e.stateTestStates[1], ModelEntity::AO_STATE_TYPE_RUNNNING);
        }
    });
    EXPECT_DOUBLE_EQ(e.stateActionTimes[0], double(0.8f));
    EXPECT_DOUBLE_EQ(e.stateActionValue[0], 49.0);
    EXPECT_TRUE(std::isnan(e.stateActionTimes[1]));
    // Point 0: two cycles; point 1: one cycle; then the closing page.
    ASSERT_EQ(pages.size(), 10u);
    const auto faults = faultPages(pages);
    ASSERT_EQ(faults.size(), 3u);
    EXPECT_FLOAT_EQ(faults[2].outputFrequencies[UA][0], 50.0f);
    EXPECT_FLOAT_EQ(faults[2].dfdtStopValue[UA], 47.0f);
    EXPECT_FLOAT_EQ(faults[2].outputTime, 2.0f);
    EXPECT_EQ(e.stateTestStates[1], ModelEntity::AO_STATE_TYPE_COMPLETED);
    // A report after the last prepared state belongs to no point.
    EXPECT_EQ(e.updateFromDriverAction(0, 0, 0.9f), -1);
}

TEST_F(LoadSheddingEntityTest, VoltageSearchSlidesTheAmplitude)
{
    Volt e;
    setNormal(e);
    e.pointCnt = 1;
    setPoint(e, 0, Volt::ITEM_ACTION_VOLTAGE, 20.0, 10.0, 2.0, 5.0);
    records.output->dfdtStopValue[UA] = 7.0f;
    const auto pages = runPages(e);
    EXPECT_EQ(e.stateCount, 21);
    const auto faults = faultPages(pages);
    ASSERT_EQ(faults.size(), 6u);
    for (size_t i = 0; i < faults.size(); ++i) {
        SCOPED_TRACE(i);
        const float stop = 20.0f - 2.0f * float(i);
        EXPECT_EQ(faults[i].propertyEnables[UA], kDrdt);
        EXPECT_FLOAT_EQ(faults[i].outputRanges[UA][0], 57.7f);
        EXPECT_FLOAT_EQ(faults[i].outputFrequencies[UA][0], 50.0f);
        EXPECT_FLOAT_EQ(faults[i].drdtStopValue[UA], stop);
        EXPECT_FLOAT_EQ(faults[i].drdtSlipValue[UA], 5.0f);
        EXPECT_NEAR(faults[i].outputTime, (57.7 - stop) / 5.0 + 0.5, 1e-5);
        EXPECT_FLOAT_EQ(faults[i].dfdtStopValue[UA], 7.0f);   // df/dt fields untouched
    }

    // Low-current blocking: the voltages slide from the start voltage while
    // the currents stay at a fixed frequency and do not slide.
    Volt low;
    setNormal(low);
    low.pointCnt = 1;
    setPoint(low, 0, Volt::ITEM_LOW_I_LOCK, 1.0, 0.5, 0.5, 5.0);
    low.initVoltageVal[0] = 50.0;
    low.finalVoltageVal[0] = 30.0;
    const auto lowFaults = faultPages(runPages(low));
    ASSERT_EQ(lowFaults.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_FLOAT_EQ(lowFaults[i].outputRanges[UA][0], 50.0f);
        EXPECT_EQ(lowFaults[i].propertyEnables[UA], kDrdt);
        EXPECT_FLOAT_EQ(lowFaults[i].outputRanges[IA][0], i == 0 ? 1.0f : 0.5f);
        EXPECT_EQ(lowFaults[i].propertyEnables[IA], kBase);
        EXPECT_FLOAT_EQ(lowFaults[i].outputFrequencies[IA][0], 50.0f);
        EXPECT_FLOAT_EQ(lowFaults[i].drdtStopValue[UA], 30.0f);
        EXPECT_FLOAT_EQ(lowFaults[i].outputTime, 20.0f / 5.0f + 0.5f);
    }
}

TEST_F(LoadSheddingEntityTest, StartCheckRefusesUnsafeSettings)
{
    struct Case {
        const char* name;
        void (*spoil)(Freq&);
    };
    const Case cases[] = {
        {"no point", [](Freq& e) { e.pointCnt = 0; }},
        {"more than 8 points", [](Freq& e) { e.pointCnt = 9; }},
        {"unknown item", [](Freq& e) { e.testItemType[0] = Freq::TestItemType(7); }},
        {"zero slide rate", [](Freq& e) { e.slipValue[0] = 0.0; }},
        {"negative slide rate", [](Freq& e) { e.slipValue[0] = -1.0; }},
        {"stepped rate through zero", [](Freq& e) {
             e.testItemType[0] = Freq::ITEM_FREQUENCY_SLIP;
             e.rampBeginValues[0] = 0.0;
         }},
        {"states beyond the 16-bit count", [](Freq& e) { e.rampStepValues[0] = 1e-5; }},
        {"NaN interval angle", [](Freq& e) { e.intervalOutputAngles[5] = kNaN; }},
        {"infinite hold time", [](Freq& e) { e.holdTime = HUGE_VAL; }},
        {"NaN stop frequency", [](Freq& e) { e.rampEndValues[0] = kNaN; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Freq e;
        setNormal(e);
        e.pointCnt = 1;
        setPoint(e, 0, Freq::ITEM_ACTION_FREQUENCY, 49.5, 48.5, 0.5, 1.0);
        ASSERT_TRUE(e.checkOutputValues());
        c.spoil(e);
        EXPECT_FALSE(e.checkOutputValues());
        EXPECT_LE(e.computeStateCount(), Freq::kMaxStateCount + 1);
    }
    // Nine points in a run of eight: nothing indexed out of range, the run
    // ends after the eighth.
    Freq e;
    setNormal(e);
    e.pointCnt = 9;
    for (int p = 0; p < Freq::kMaxPoints; ++p)
        setPoint(e, p, Freq::ITEM_ACTION_TIME, 0, 0, 0, 1.0);
    EXPECT_EQ(faultPages(runPages(e)).size(), 8u);
    EXPECT_EQ(e.stateCount, 24);
}

} // namespace
