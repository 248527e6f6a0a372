// The calibration run: stepping over the selected points, the output state of
// one point, measured values in and coefficients out, and the copy of the
// coefficients into the driver's calibration record.

#include "CalibrationTestSupport.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <tuple>

using namespace caltest;

namespace {

using Point = std::tuple<int, int, int>;   // port, level, point

void selectOnly(Cal& e, Cal::CALType type, std::vector<std::pair<int, int>> cells)
{
    bool* s = kindSelection(e, type);
    for (int c = 0; c < 16; ++c)
        s[c] = false;
    for (const auto& cell : cells)
        s[cell.first * 2 + cell.second] = true;
}

std::vector<Point> walk(Cal& e)
{
    std::vector<Point> points;
    e.resetCurrentPoint();
    while (e.switchToNextPoint() && points.size() < 200)
        points.emplace_back(e.currentPortIndex, e.currentLevelIndex, e.currentPointIndex);
    return points;
}

// Coefficient arrays of one kind as the files store them: [0] factors or the
// only array, [1] offsets of the factor-and-offset kinds.
std::vector<ArrayRef> coefficients(Cal& e, Cal::CALType type)
{
    for (const Coefficients& c : storedCoefficients(e))
        if (c.type == type)
            return c.arrays;
    return {};
}

double& coefficient(Cal& e, Cal::CALType type, int array, int port, int level, int point)
{
    const ArrayRef r = coefficients(e, type)[size_t(array)];
    const int points = r.size / 16;
    return r.data[(port * 2 + level) * points + point];
}

// One run as the engine and the page drive it: every point of the selected
// cells gets the value measure(port, level, point), then the coefficients.
template <typename Measure>
void run(Cal& e, Cal::CALType type, Measure measure)
{
    e.currentCalType = type;
    e.resetCurrentPoint();
    e.resetCurSelFactor();
    while (e.switchToNextPoint())
        e.setCurrentMeasure(measure(e.currentPortIndex, e.currentLevelIndex, e.currentPointIndex));
    e.computeCurSelFactor();
}

} // namespace

TEST(CalibrationRun, StepsPointThenLevelThenPortOverSelectedCells)
{
    struct Case
    {
        Cal::CALType type;
        std::vector<std::pair<int, int>> cells;
        std::vector<Point> expected;
    };
    const std::vector<Case> cases = {
        {Cal::CAL_TYPE_ACAMP, {{4, 1}, {0, 0}},
         {{0, 0, 0}, {0, 0, 1}, {0, 0, 2}, {0, 0, 3}, {4, 1, 0}, {4, 1, 1}, {4, 1, 2}, {4, 1, 3}}},
        {Cal::CAL_TYPE_DCAMP, {{7, 0}, {1, 1}, {1, 0}},
         {{1, 0, 0}, {1, 0, 1}, {1, 1, 0}, {1, 1, 1}, {7, 0, 0}, {7, 0, 1}}},
        {Cal::CAL_TYPE_ACFAC, {{3, 1}},
         {{3, 1, 0}, {3, 1, 1}, {3, 1, 2}, {3, 1, 3}, {3, 1, 4}, {3, 1, 5}, {3, 1, 6}, {3, 1, 7}, {3, 1, 8}, {3, 1, 9}}},
        {Cal::CAL_TYPE_LLODCO, {{0, 1}, {6, 0}, {6, 1}}, {{0, 1, 0}, {6, 0, 0}, {6, 1, 0}}},
        {Cal::CAL_TYPE_ACDCO, {}, {}},
    };
    for (const Case& c : cases) {
        Cal e;
        e.currentCalType = c.type;
        selectOnly(e, c.type, c.cells);
        EXPECT_EQ(walk(e), c.expected) << "kind " << c.type;
        // Nothing left: the cursor stays on the last point.
        const Point last = c.expected.empty() ? Point{-1, -1, -1} : c.expected.back();
        EXPECT_EQ(Point(e.currentPortIndex, e.currentLevelIndex, e.currentPointIndex), last);
        EXPECT_FALSE(e.switchToNextPoint());
    }

    // The defaults select UA level 1 for the frequency and UA level 0 for the
    // auxiliary DC.
    Cal e;
    e.currentCalType = Cal::CAL_TYPE_ACFRQ;
    EXPECT_EQ(walk(e), (std::vector<Point>{{0, 1, 0}}));
    e.currentCalType = Cal::CAL_TYPE_AUXDC;
    EXPECT_EQ(walk(e), (std::vector<Point>{{0, 0, 0}, {0, 0, 1}, {0, 0, 2}, {0, 0, 3}, {0, 0, 4}}));

    // No kind, or an unknown one, has points.
    for (int t : {0, 11}) {
        e.currentCalType = Cal::CALType(t);
        e.resetCurrentPoint();
        EXPECT_FALSE(e.switchToNextPoint()) << t;
    }

    // Stepping goes on from the cursor.
    e.currentCalType = Cal::CAL_TYPE_ACAMP;
    selectOnly(e, Cal::CAL_TYPE_ACAMP, {{0, 0}, {2, 1}});
    e.currentPortIndex = 0;
    e.currentLevelIndex = 0;
    e.currentPointIndex = 3;
    ASSERT_TRUE(e.switchToNextPoint());
    EXPECT_EQ(Point(e.currentPortIndex, e.currentLevelIndex, e.currentPointIndex), Point(2, 1, 0));
}

TEST(CalibrationRun, SegmentCoefficientsPassThroughBothPairsOfEverySegment)
{
    struct Case
    {
        Cal::CALType type;
        int port;
        int level;
        int points;
    };
    const Case cases[] = {{Cal::CAL_TYPE_ACAMP, 1, 1, 4}, {Cal::CAL_TYPE_AUXDC, 0, 0, 5},
                          {Cal::CAL_TYPE_DCAMP, 6, 0, 2}, {Cal::CAL_TYPE_LLOAMP, 7, 1, 4},
                          {Cal::CAL_TYPE_LLODC, 0, 1, 2}};
    for (const Case& c : cases) {
        Cal e;
        selectOnly(e, c.type, {{c.port, c.level}});
        // Each point reads a little high, by a different amount.
        const auto measure = [&](int p, int l, int k) {
            return e.getViewPoint(c.type, p, l, k) * (1.0 + 0.01 * (k + 1)) + 0.003 * (k + 1);
        };
        run(e, c.type, measure);
        for (int k = 0; k < c.points; ++k) {
            const double f = coefficient(e, c.type, 0, c.port, c.level, k);
            const double o = coefficient(e, c.type, 1, c.port, c.level, k);
            const double point = e.getViewPoint(c.type, c.port, c.level, k);
            const double previousPoint = k > 0 ? e.getViewPoint(c.type, c.port, c.level, k - 1) : 0.0;
            const double previousMeasure = k > 0 ? measure(c.port, c.level, k - 1) : 0.0;
            EXPECT_NEAR(f * measure(c.port, c.level, k) + o, point, 1e-9) << c.type << " point " << k;
            EXPECT_NEAR(f * previousMeasure + o, previousPoint, 1e-9) << c.type << " point " << k;
            EXPECT_NE(f, 1.0) << c.type << " point " << k;
        }
    }
}

TEST(CalibrationRun, CoefficientsFromMeasuredValues)
{
    Cal e;
    selectOnly(e, Cal::CAL_TYPE_ACAMP, {{0, 0}});
    // 3.6 V read as 3.5 V, 6 V as 5.9 V; the other two points not measured.
    run(e, Cal::CAL_TYPE_ACAMP, [](int, int, int k) { return k == 0 ? 3.5 : k == 1 ? 5.9 : NAN; });
    EXPECT_NEAR(e.acampAmpFactors[0][0][0], 3.6 / 3.5, 1e-12);
    EXPECT_NEAR(e.acampAmpOffsets[0][0][0], 0.0, 1e-12);
    EXPECT_NEAR(e.acampAmpFactors[0][0][1], 1.0, 1e-12);
    EXPECT_NEAR(e.acampAmpOffsets[0][0][1], 0.1, 1e-12);
    EXPECT_EQ(e.acampAmpFactors[0][0][2], 1.0);
    EXPECT_EQ(e.acampAmpOffsets[0][0][2], 0.0);

    // An unmeasured point keeps whatever it holds; an unmeasured previous
    // point and equal readings give no correction.
    e.acampAmpFactors[0][0][2] = 2.5;
    e.acampAmpMeasures[0][0][0] = NAN;
    e.acampAmpMeasures[0][0][1] = 6.2;
    e.acampAmpMeasures[0][0][3] = 6.2;   // point 2 unmeasured before it
    e.computeCurSelFactor();
    EXPECT_EQ(e.acampAmpFactors[0][0][2], 2.5);
    EXPECT_EQ(e.acampAmpFactors[0][0][1], 1.0);
    EXPECT_EQ(e.acampAmpOffsets[0][0][1], 0.0);
    EXPECT_EQ(e.acampAmpFactors[0][0][3], 1.0);
    run(e, Cal::CAL_TYPE_ACAMP, [](int, int, int k) { return k < 2 ? 3.6 : NAN; });
    EXPECT_NEAR(e.acampAmpFactors[0][0][0], 1.0, 1e-12);
    EXPECT_EQ(e.acampAmpFactors[0][0][1], 1.0);
    EXPECT_EQ(e.acampAmpOffsets[0][0][1], 0.0);

    // A reading that is not finite counts as none; after one, no correction.
    run(e, Cal::CAL_TYPE_ACAMP, [](int, int, int k) { return k == 1 ? INFINITY : k == 2 ? 11.9 : NAN; });
    EXPECT_EQ(e.acampAmpFactors[0][0][1], 1.0);
    EXPECT_EQ(e.acampAmpFactors[0][0][2], 1.0);
    EXPECT_EQ(e.acampAmpOffsets[0][0][2], 0.0);
    // Readings outside the kind's cells and points go nowhere.
    e.setCurrentMeasure(Cal::CAL_TYPE_ACAMP, 8, 0, 0, 99.0);
    e.setCurrentMeasure(Cal::CAL_TYPE_ACAMP, 0, 0, 4, 99.0);
    e.setCurrentMeasure(Cal::CAL_TYPE_ACDCO, 0, 0, 1, 99.0);
    EXPECT_EQ(e.acdcoAmpMeasures[0][0][0], 0.0);
    EXPECT_EQ(e.getViewPoint(Cal::CAL_TYPE_ACAMP, 0, 0, 4), 0.0);

    // A step of 5e-6 between readings is flat for the outputs (threshold
    // 1e-5) but not for the auxiliary DC (threshold 1e-6).
    run(e, Cal::CAL_TYPE_ACAMP, [](int, int, int k) { return k == 0 ? 3.6 : k == 1 ? 3.600005 : NAN; });
    EXPECT_EQ(e.acampAmpFactors[0][0][1], 1.0);
    run(e, Cal::CAL_TYPE_AUXDC, [](int, int, int k) { return k == 0 ? 24.0 : k == 1 ? 24.000005 : NAN; });
    EXPECT_NEAR(e.auxdcFactors[0][0][1], 24.0 / 0.000005, 1.0);

    // Offset kinds take the reading itself; the phase is entered as an angle
    // and kept less 360.
    selectOnly(e, Cal::CAL_TYPE_ACDCO, {{5, 1}});
    run(e, Cal::CAL_TYPE_ACDCO, [](int, int, int) { return 0.02; });
    EXPECT_DOUBLE_EQ(e.acdcoAmpOffsets[5][1][0], 0.02);
    selectOnly(e, Cal::CAL_TYPE_LLODCO, {{2, 0}});
    run(e, Cal::CAL_TYPE_LLODCO, [](int, int, int) { return -0.003; });
    EXPECT_DOUBLE_EQ(e.llodcoAmpOffsets[2][0][0], -0.003);
    selectOnly(e, Cal::CAL_TYPE_ACPHA, {{1, 0}, {2, 0}});
    run(e, Cal::CAL_TYPE_ACPHA, [](int p, int, int) { return p == 1 ? 0.5 : 359.8; });
    EXPECT_DOUBLE_EQ(e.acphaPhaMeasures[1][0][0], -359.5);
    EXPECT_DOUBLE_EQ(e.acphaPhaOffsets[1][0][0], -359.5);
    EXPECT_NEAR(e.acphaPhaOffsets[2][0][0], -0.2, 1e-12);

    // Ratio kinds: nominal over reading, none for a reading near zero.
    run(e, Cal::CAL_TYPE_ACFRQ, [](int, int, int) { return 50.1; });
    EXPECT_NEAR(e.acfrqFrqFactors[0][1][0], 0.998004, 1e-6);
    run(e, Cal::CAL_TYPE_ACFRQ, [](int, int, int) { return 0.0; });
    EXPECT_EQ(e.acfrqFrqFactors[0][1][0], 1.0);
    selectOnly(e, Cal::CAL_TYPE_ACFAC, {{4, 0}});
    run(e, Cal::CAL_TYPE_ACFAC, [](int, int, int k) { return k == 5 ? NAN : 0.9 + 0.01 * k; });
    for (int k = 0; k < 10; ++k) {
        const double expected = k == 5 ? 1.0 : 1.0 / (0.9 + 0.01 * k);
        EXPECT_DOUBLE_EQ(e.acfacFrqFactors[4][0][k], expected) << k;
    }
}

TEST(CalibrationRun, OnlySelectedCellsOfTheCurrentKindChange)
{
    Cal e;
    fillPattern(e);
    selectOnly(e, Cal::CAL_TYPE_DCAMP, {{3, 1}});
    // Readings of an unselected cell and of another kind are left alone.
    e.dcampAmpMeasures[2][1][0] = 50.0;
    e.acampAmpMeasures[3][1][0] = 30.0;
    run(e, Cal::CAL_TYPE_DCAMP, [](int, int, int k) { return k == 0 ? 59.0 : 229.0; });
    EXPECT_NE(e.dcampAmpFactors[3][1][0], patternValue(Cal::CAL_TYPE_DCAMP, 0, 7, 0));
    EXPECT_EQ(e.dcampAmpFactors[2][1][0], patternValue(Cal::CAL_TYPE_DCAMP, 0, 5, 0));
    EXPECT_EQ(e.acampAmpFactors[3][1][0], patternValue(Cal::CAL_TYPE_ACAMP, 0, 7, 0));
    EXPECT_EQ(e.dcampAmpMeasures[2][1][0], 50.0);

    // A reset of the selected cells forgets only their readings.
    e.resetSel(Cal::CAL_TYPE_DCAMP);
    EXPECT_TRUE(std::isnan(e.dcampAmpMeasures[3][1][0]));
    EXPECT_EQ(e.dcampAmpFactors[3][1][1], 1.0);
    EXPECT_EQ(e.dcampAmpMeasures[2][1][0], 50.0);
}

TEST(CalibrationRun, AcceptingTheOfferedReadingLeavesEveryKindUncorrected)
{
    for (Cal::CALType type : kAllKinds) {
        Cal e;
        fillPattern(e);
        if (type != Cal::CAL_TYPE_ACFRQ && type != Cal::CAL_TYPE_AUXDC)
            selectOnly(e, type, {{4, 1}, {1, 0}});
        run(e, type, [&e](int, int, int) { return e.getCurrentDefault(); });

        const bool* s = kindSelection(e, type);
        const std::vector<ArrayRef> arrays = coefficients(e, type);
        for (int c = 0; c < 16; ++c) {
            if (!s[c])
                continue;
            for (size_t a = 0; a < arrays.size(); ++a) {
                const int points = arrays[a].size / 16;
                const bool isFactor = QByteArray(arrays[a].name).contains("Factors");
                // The phase keeps its entered angle less 360: a turn, no shift.
                const double neutral = isFactor ? 1.0 : type == Cal::CAL_TYPE_ACPHA ? -360.0 : 0.0;
                for (int k = 0; k < points; ++k)
                    EXPECT_NEAR(arrays[a].data[c * points + k], neutral, 1e-12)
                        << arrays[a].name << " cell " << c << " point " << k;
            }
        }
    }

    // The offset kinds offer 0, not their amplitude point, as the reading.
    Cal e;
    for (Cal::CALType type : {Cal::CAL_TYPE_ACDCO, Cal::CAL_TYPE_LLODCO}) {
        e.currentCalType = type;
        e.currentPortIndex = 0;
        e.currentLevelIndex = 1;
        e.currentPointIndex = 0;
        EXPECT_EQ(e.getCurrentDefault(), 0.0);
        EXPECT_DOUBLE_EQ(e.getViewPoint(type, 0, 1, 0), type == Cal::CAL_TYPE_ACDCO ? 60.0 : 6.4);
    }
    e.currentCalType = Cal::CAL_TYPE_ACFRQ;
    EXPECT_DOUBLE_EQ(e.getCurrentDefault(), 50.0);
    e.currentPointIndex = 1;   // beyond the kind's one point
    EXPECT_EQ(e.getCurrentDefault(), 0.0);
}

// ---- Output state of one point -----------------------------------------------------------

namespace {

void soil(DriverRecords& d)
{
    for (int c = 0; c < 8; ++c) {
        for (int k = 0; k < 4; ++k) {
            d.output.outputRanges[c][k] = 77.0f;
            d.output.outputAngles[c][k] = 77.0f;
            d.output.outputFrequencies[c][k] = 77.0f;
        }
        d.output.outputLevelStates[c] = 1;
    }
    for (int i = 0; i < 4; ++i) {
        d.control.controlBOStates[i] = 1;
        d.output.outputBOHoldEnables[i] = 1;
        d.output.outputBOTurnEnables[i] = 1;
        d.output.outputBOInitStates[i] = 1;
        d.output.outputBIRiseEnables[i] = 1;
        d.output.outputBIFallEnables[i] = 1;
    }
    d.output.outputBILogic = 0;
    d.output.outputLinkStateType = 0;
    d.output.outputBOControlType = 1;
    d.output.outputTriggerType = 2;
    d.output.outputTime = 1.0f;
    d.output.outputLevelControlType = 0;
    d.control.controlPowerDCVAuxSwitch = 1;
    d.control.controlPowerDCVAuxValue = 7;
}

struct Entry
{
    int port;
    float range;
    float angle;
    float frequency;
};

// Everything but the given entries (component 0) is zero.
void expectOutputs(const DriverRecords& d, const std::vector<Entry>& entries, const std::string& what)
{
    for (int c = 0; c < 8; ++c) {
        for (int k = 0; k < 4; ++k) {
            Entry want{c, 0, 0, 0};
            for (const Entry& e : entries)
                if (e.port == c && k == 0)
                    want = e;
            EXPECT_NEAR(d.output.outputRanges[c][k], want.range, 1e-4) << what << " channel " << c << "/" << k;
            EXPECT_FLOAT_EQ(d.output.outputAngles[c][k], want.angle) << what << " channel " << c << "/" << k;
            EXPECT_FLOAT_EQ(d.output.outputFrequencies[c][k], want.frequency) << what << " channel " << c << "/" << k;
        }
    }
}

void expectFixedSettings(const DriverRecords& d, uint32_t mode, const std::string& what)
{
    EXPECT_EQ(d.output.outputLevelControlType, mode) << what;
    EXPECT_EQ(d.output.outputBILogic, uint32_t(COMM_BILOGIC_TYPE_AND)) << what;
    EXPECT_EQ(d.output.outputLinkStateType, uint32_t(COMM_LINKSTATE_TYPE_INITIATE)) << what;
    EXPECT_EQ(d.output.outputBOControlType, uint32_t(COMM_BOCONTROL_TYPE_MANUAL)) << what;
    EXPECT_EQ(d.output.outputTriggerType, uint16_t(COMM_TRIGGER_TYPE_TIME)) << what;
    EXPECT_EQ(d.output.outputTime, 36000.0f) << what;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(d.control.controlBOStates[i], 0) << what;
        EXPECT_EQ(d.output.outputBOHoldEnables[i] | d.output.outputBOTurnEnables[i] | d.output.outputBOInitStates[i]
                      | d.output.outputBIRiseEnables[i] | d.output.outputBIFallEnables[i],
                  0u)
            << what;
    }
}

void expectLevels(const DriverRecords& d, const std::vector<int>& bigPorts, const std::string& what)
{
    for (int c = 0; c < 8; ++c) {
        const bool big = std::find(bigPorts.begin(), bigPorts.end(), c) != bigPorts.end();
        EXPECT_EQ(d.output.outputLevelStates[c], big ? 1u : 0u) << what << " channel " << c;
    }
}

void point(Cal& e, Cal::CALType type, int port, int level, int pointIndex)
{
    e.currentCalType = type;
    e.currentPortIndex = port;
    e.currentLevelIndex = level;
    e.currentPointIndex = pointIndex;
}

} // namespace

TEST(CalibrationRun, OutputStateOfOnePointByKind)
{
    struct Case
    {
        Cal::CALType type;
        int port, level, point;
        float range, angle, frequency;
        uint32_t mode;
    };
    // Defaults: maxVRange 265 V and maxIRange 10 A scale the low-level points (x / 8).
    const Case cases[] = {
        {Cal::CAL_TYPE_ACAMP, 1, 1, 2, 120.0f, 0.0f, 50.0f, 1},
        {Cal::CAL_TYPE_ACDCO, 4, 0, 0, 1.0f, 0.0f, 50.0f, 1},
        {Cal::CAL_TYPE_ACFRQ, 0, 1, 0, 60.0f, 0.0f, 50.0f, 1},
        {Cal::CAL_TYPE_ACFAC, 6, 1, 3, 5.0f, 0.0f, 400.0f, 2},
        {Cal::CAL_TYPE_DCAMP, 2, 0, 1, 24.0f, 90.0f, 0.0f, 1},
        {Cal::CAL_TYPE_DCAMP, 5, 1, 1, 8.0f, 90.0f, 0.0f, 1},   // analogue amplifier: IB itself
        {Cal::CAL_TYPE_LLOAMP, 0, 0, 3, 21.2f, 0.0f, 50.0f, 3},
        {Cal::CAL_TYPE_LLODCO, 5, 1, 0, 8.0f, 0.0f, 50.0f, 3},
        {Cal::CAL_TYPE_LLODC, 7, 0, 1, 0.8f, 90.0f, 0.0f, 3},   // 90 degrees, not the stored 270
    };
    for (const Case& c : cases) {
        DriverRecords d;
        soil(d);
        Cal e;
        point(e, c.type, c.port, c.level, c.point);
        e.updateToDriverValue();
        const std::string what = "kind " + std::to_string(c.type) + " port " + std::to_string(c.port);
        expectFixedSettings(d, c.mode, what);
        expectOutputs(d, {{c.port, c.range, c.angle, c.frequency}}, what);
        expectLevels(d, c.level ? std::vector<int>{c.port} : std::vector<int>{}, what);
        EXPECT_EQ(d.control.controlPowerDCVAuxSwitch, 1) << what;   // only the auxiliary DC touches it
    }
}

TEST(CalibrationRun, PhaseDrivesUAAsReference)
{
    DriverRecords d;
    Cal e;
    e.acphaPhaPoints[2][1] = 30.0;
    e.acphaAmpPoints[0][1] = 57.7;
    point(e, Cal::CAL_TYPE_ACPHA, 2, 1, 0);
    e.updateToDriverValue();
    expectFixedSettings(d, 1, "phase UC");
    expectOutputs(d, {{0, 57.7f, 0.0f, 50.0f}, {2, 60.0f, 30.0f, 50.0f}}, "phase UC");
    expectLevels(d, {0, 2}, "phase UC");

    // Calibrating UA itself: its own values.
    point(e, Cal::CAL_TYPE_ACPHA, 0, 0, 0);
    e.updateToDriverValue();
    expectOutputs(d, {{0, 10.0f, 0.0f, 50.0f}}, "phase UA");
    expectLevels(d, {}, "phase UA");
}

TEST(CalibrationRun, DigitalAmplifierDrivesDCCurrentThroughIAAndIC)
{
    DriverRecords d;
    d.hard.powerAmpType = 1;
    Cal e;
    point(e, Cal::CAL_TYPE_DCAMP, 5, 1, 1);   // IB, 8 A
    e.updateToDriverValue();
    expectOutputs(d, {{4, 8.0f, 270.0f, 0.0f}, {5, 0.0f, -180.0f, 0.0f}, {6, 8.0f, 90.0f, 0.0f}}, "IB");
    expectLevels(d, {4, 5, 6}, "IB");

    // Voltage ports are not paired.
    point(e, Cal::CAL_TYPE_DCAMP, 1, 0, 0);
    e.updateToDriverValue();
    expectOutputs(d, {{1, 6.0f, 90.0f, 0.0f}}, "UB");
}

TEST(CalibrationRun, AuxiliaryDCGoesToTheControlRecord)
{
    DriverRecords d;
    soil(d);
    Cal e;
    point(e, Cal::CAL_TYPE_AUXDC, 0, 0, 2);
    e.updateToDriverValue();
    EXPECT_EQ(d.control.controlPowerDCVAuxSwitch, 0);
    EXPECT_EQ(d.control.controlPowerDCVAuxValue, 110u);
    expectOutputs(d, {}, "auxiliary DC");
    expectFixedSettings(d, 1, "auxiliary DC");

    e.auxdcPoints[0][0][3] = 219.9;   // truncated
    point(e, Cal::CAL_TYPE_AUXDC, 0, 0, 3);
    e.updateToDriverValue();
    EXPECT_EQ(d.control.controlPowerDCVAuxValue, 219u);

    // Outside the points: switched off, set value kept.
    point(e, Cal::CAL_TYPE_AUXDC, 0, 0, 5);
    d.control.controlPowerDCVAuxSwitch = 1;
    e.updateToDriverValue();
    EXPECT_EQ(d.control.controlPowerDCVAuxSwitch, 0);
    EXPECT_EQ(d.control.controlPowerDCVAuxValue, 219u);

    // Without the output record the control record is still set.
    globalTestOutputData = nullptr;
    point(e, Cal::CAL_TYPE_AUXDC, 0, 0, 0);
    e.updateToDriverValue();
    EXPECT_EQ(d.control.controlPowerDCVAuxValue, 24u);
}

TEST(CalibrationRun, OutputStateOutsideTheBoundsOrWithoutRecords)
{
    DriverRecords d;
    soil(d);
    Cal e;
    point(e, Cal::CAL_TYPE_ACAMP, 3, 1, 4);   // no fifth point: level only
    e.updateToDriverValue();
    expectOutputs(d, {}, "point 4");
    expectLevels(d, {3}, "point 4");

    point(e, Cal::CAL_TYPE_ACAMP, -1, -1, -1);   // before the first point
    e.updateToDriverValue();
    expectOutputs(d, {}, "cursor reset");
    expectLevels(d, {}, "cursor reset");

    globalTestOutputData = nullptr;
    globalTestControlData = nullptr;
    globalConfigureHardData = nullptr;
    point(e, Cal::CAL_TYPE_LLOAMP, 0, 0, 0);
    e.updateToDriverValue();   // nothing to write, nothing to fail
    SUCCEED();
}

// ---- Coefficients into the driver --------------------------------------------------------

TEST(CalibrationRun, DriverRecordReceivesLimitsCoefficientsAndFrequencyPoints)
{
    DriverRecords d;
    Cal e;
    // Each copied array gets values of its own.
    struct Field
    {
        float* driver;
        ArrayRef entity;
    };
    CommDriverConfigureCalData& c = d.cal;
    const std::vector<Field> fields = {
        {&c.acdcoAmpLimits[0][0][0], ref("acdcoAmpLimits", e.acdcoAmpLimits)},
        {&c.acdcoAmpOffsets[0][0][0], ref("acdcoAmpOffsets", e.acdcoAmpOffsets)},
        {&c.acampAmpLimits[0][0][0], ref("acampAmpLimits", e.acampAmpLimits)},
        {&c.acampAmpFactors[0][0][0], ref("acampAmpFactors", e.acampAmpFactors)},
        {&c.acampAmpOffsets[0][0][0], ref("acampAmpOffsets", e.acampAmpOffsets)},
        {&c.acfrqAmpLimits[0][0][0], ref("acfrqAmpLimits", e.acfrqAmpLimits)},
        {&c.acfrqFrqFactors[0][0][0], ref("acfrqFrqFactors", e.acfrqFrqFactors)},
        {&c.acphaFrqLimits[0][0][0], ref("acphaFrqLimits", e.acphaFrqLimits)},
        {&c.acphaPhaOffsets[0][0][0], ref("acphaPhaOffsets", e.acphaPhaOffsets)},
        {&c.acfacFrqLimits[0][0][0], ref("acfacFrqLimits", e.acfacFrqLimits)},
        {&c.acfacFrqFactors[0][0][0], ref("acfacFrqFactors", e.acfacFrqFactors)},
        {&c.acfacFrqPoints[0][0][0], ref("acfacFrqPoints", e.acfacFrqPoints)},
        {&c.auxdcPwmLimits[0][0][0], ref("auxdcLimits", e.auxdcLimits)},
        {&c.auxdcPwmFactors[0][0][0], ref("auxdcFactors", e.auxdcFactors)},
        {&c.auxdcPwmOffsets[0][0][0], ref("auxdcOffsets", e.auxdcOffsets)},
        {&c.dcampAmpLimits[0][0][0], ref("dcampAmpLimits", e.dcampAmpLimits)},
        {&c.dcampAmpFactors[0][0][0], ref("dcampAmpFactors", e.dcampAmpFactors)},
        {&c.dcampAmpOffsets[0][0][0], ref("dcampAmpOffsets", e.dcampAmpOffsets)},
        {&c.llodcoAmpLimits[0][0][0], ref("llodcoAmpLimits", e.llodcoAmpLimits)},
        {&c.llodcoAmpOffsets[0][0][0], ref("llodcoAmpOffsets", e.llodcoAmpOffsets)},
        {&c.lloampAmpLimits[0][0][0], ref("lloampAmpLimits", e.lloampAmpLimits)},
        {&c.lloampAmpFactors[0][0][0], ref("lloampAmpFactors", e.lloampAmpFactors)},
        {&c.lloampAmpOffsets[0][0][0], ref("lloampAmpOffsets", e.lloampAmpOffsets)},
        {&c.llodcAmpLimits[0][0][0], ref("llodcAmpLimits", e.llodcAmpLimits)},
        {&c.llodcAmpFactors[0][0][0], ref("llodcAmpFactors", e.llodcAmpFactors)},
        {&c.llodcAmpOffsets[0][0][0], ref("llodcAmpOffsets", e.llodcAmpOffsets)},
    };

    // The defaults reach the driver as a neutral correction with their limits.
    e.updateToDriverFactor();
    for (const Field& f : fields)
        for (int i = 0; i < f.entity.size; ++i)
            ASSERT_EQ(f.driver[i], float(f.entity.data[i])) << f.entity.name << "[" << i << "]";
    EXPECT_EQ(c.acampAmpLimits[4][1][3], 20.0f);
    EXPECT_EQ(c.acampAmpFactors[4][1][3], 1.0f);
    EXPECT_EQ(c.acfacFrqPoints[0][0][9], 1000.0f);

    for (size_t a = 0; a < fields.size(); ++a)
        for (int i = 0; i < fields[a].entity.size; ++i)
            fields[a].entity.data[i] = 0.001 * double(i) + double(a) + 0.1;
    e.acampAmpFactors[2][0][1] = 1e300;      // beyond single precision: saturated
    e.dcampAmpOffsets[1][1][0] = -1e300;
    // Points are not the driver's (but the ACFAC frequencies): they stay out.
    e.acampAmpPoints[0][0][0] = 99.0;
    e.updateToDriverFactor();
    for (const Field& f : fields) {
        for (int i = 0; i < f.entity.size; ++i) {
            const double v = f.entity.data[i];
            const float expected = v > FLT_MAX ? FLT_MAX : v < -FLT_MAX ? -FLT_MAX : float(v);
            ASSERT_EQ(f.driver[i], expected) << f.entity.name << "[" << i << "]";
        }
    }
    EXPECT_EQ(c.acampAmpFactors[2][0][1], FLT_MAX);
    EXPECT_EQ(c.dcampAmpOffsets[1][1][0], -FLT_MAX);

    // Before the driver exists nothing is written and nothing fails.
    globalConfigureCalData = nullptr;
    e.updateToDriverFactor();
    SUCCEED();
}
