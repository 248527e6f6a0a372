// Defaults of a fresh calibration entity, kind by kind, and that restoring the
// defaults of one kind leaves every other kind alone.

#include "CalibrationTestSupport.h"

#include <cmath>

using namespace caltest;

namespace {

// Expected values of one array: by port class (voltage 0, current 1), level, point.
template <size_t N>
void expectByClass(const double (&a)[8][2][N], const double (&v)[2][N], const double (&i)[2][N],
                   const char* name)
{
    for (int p = 0; p < 8; ++p)
        for (int l = 0; l < 2; ++l)
            for (size_t k = 0; k < N; ++k)
                EXPECT_DOUBLE_EQ(a[p][l][k], (p < 4 ? v : i)[l][k]) << name << " port " << p << " level " << l << " point " << k;
}

template <size_t N>
void expectAll(const double (&a)[8][2][N], double value, const char* name)
{
    for (int p = 0; p < 8; ++p)
        for (int l = 0; l < 2; ++l)
            for (size_t k = 0; k < N; ++k)
                EXPECT_DOUBLE_EQ(a[p][l][k], value) << name << " port " << p << " level " << l << " point " << k;
}

void expectAll(const double (&a)[8][2], double value, const char* name)
{
    for (int p = 0; p < 8; ++p)
        for (int l = 0; l < 2; ++l)
            EXPECT_DOUBLE_EQ(a[p][l], value) << name << " port " << p << " level " << l;
}

template <size_t N>
void expectSame(const double (&a)[8][2][N], const double (&b)[8][2][N], const char* name)
{
    for (int p = 0; p < 8; ++p)
        for (int l = 0; l < 2; ++l)
            for (size_t k = 0; k < N; ++k)
                EXPECT_DOUBLE_EQ(a[p][l][k], b[p][l][k]) << name << " port " << p << " level " << l << " point " << k;
}

// Selected cells of one kind as (port, level) pairs.
std::vector<std::pair<int, int>> selectedCells(Cal& e, Cal::CALType type)
{
    std::vector<std::pair<int, int>> cells;
    const bool* s = kindSelection(e, type);
    for (int c = 0; c < 16; ++c)
        if (s[c])
            cells.emplace_back(c / 2, c % 2);
    return cells;
}

} // namespace

TEST(CalibrationDefaults, FreshEntityHoldsTheDefaultTables)
{
    Cal e;
    EXPECT_EQ(e.factorVersion, QStringLiteral("1.0.0000"));
    EXPECT_EQ(e.currentCalType, Cal::CAL_TYPE_ACDCO);
    EXPECT_EQ(e.currentPortIndex, 0);
    EXPECT_EQ(e.currentLevelIndex, 0);
    EXPECT_EQ(e.currentPointIndex, 0);
    EXPECT_EQ(e.exPaoType, 7);
    EXPECT_FALSE(e.exEnable);

    // AC amplitude.
    const double acampV[2][4] = {{3.6, 6, 12, 24}, {36, 60, 120, 240}};
    const double acampVL[2][4] = {{0, 6, 12, 30}, {0, 60, 120, 300}};
    const double acampI[2][4] = {{0.2, 0.4, 0.8, 1.6}, {2.5, 4, 8, 16}};
    const double acampIL[2][4] = {{0, 0.4, 0.8, 2}, {0, 4, 8, 20}};
    expectAll(e.acampFrqPoints, 50, "acampFrqPoints");
    expectAll(e.acampPhaPoints, 0, "acampPhaPoints");
    expectByClass(e.acampAmpPoints, acampV, acampI, "acampAmpPoints");
    expectByClass(e.acampAmpLimits, acampVL, acampIL, "acampAmpLimits");
    expectAll(e.acampAmpFactors, 1, "acampAmpFactors");
    expectAll(e.acampAmpOffsets, 0, "acampAmpOffsets");
    expectByClass(e.acampAmpMeasures, acampV, acampI, "acampAmpMeasures");

    // The single-point AC kinds share their amplitudes 10 / 60 V and 1 / 5 A.
    const double ampV[2][1] = {{10}, {60}};
    const double ampI[2][1] = {{1}, {5}};
    const double ampVL[2][1] = {{30}, {300}};
    const double ampIL[2][1] = {{2}, {20}};
    expectAll(e.acdcoFrqPoints, 50, "acdcoFrqPoints");
    expectAll(e.acdcoPhaPoints, 0, "acdcoPhaPoints");
    expectByClass(e.acdcoAmpPoints, ampV, ampI, "acdcoAmpPoints");
    expectByClass(e.acdcoAmpLimits, ampVL, ampIL, "acdcoAmpLimits");
    expectAll(e.acdcoAmpOffsets, 0, "acdcoAmpOffsets");
    expectAll(e.acdcoAmpMeasures, 0, "acdcoAmpMeasures");

    expectAll(e.acfrqFrqPoints, 50, "acfrqFrqPoints");
    expectAll(e.acfrqPhaPoints, 0, "acfrqPhaPoints");
    expectByClass(e.acfrqAmpPoints, ampV, ampI, "acfrqAmpPoints");
    expectByClass(e.acfrqAmpLimits, ampVL, ampIL, "acfrqAmpLimits");
    expectAll(e.acfrqFrqFactors, 1, "acfrqFrqFactors");
    expectAll(e.acfrqFrqMeasures, 50, "acfrqFrqMeasures");

    for (int p = 0; p < 8; ++p) {
        for (int l = 0; l < 2; ++l) {
            EXPECT_DOUBLE_EQ(e.acphaAmpPoints[p][l], (p < 4 ? ampV : ampI)[l][0]);
            EXPECT_DOUBLE_EQ(e.acfacAmpPoints[p][l], (p < 4 ? ampV : ampI)[l][0]);
            for (int k = 0; k < 10; ++k) {
                EXPECT_DOUBLE_EQ(e.acfacFrqPoints[p][l][k], 100.0 * (k + 1));
                EXPECT_DOUBLE_EQ(e.acfacFrqLimits[p][l][k], 100.0 * (k + 1) + 50);
                EXPECT_DOUBLE_EQ(e.acfacAmpMeasures[p][l][k], 100.0 * (k + 1));
            }
        }
    }
    expectAll(e.acphaPhaPoints, 0, "acphaPhaPoints");
    expectAll(e.acphaFrqPoints, 50, "acphaFrqPoints");
    expectAll(e.acphaFrqLimits, 2000, "acphaFrqLimits");
    expectAll(e.acphaPhaOffsets, 0, "acphaPhaOffsets");
    expectAll(e.acphaPhaMeasures, 0, "acphaPhaMeasures");
    expectAll(e.acfacPhaPoints, 0, "acfacPhaPoints");
    expectAll(e.acfacFrqFactors, 1, "acfacFrqFactors");

    // Auxiliary DC: only UA level 0 has points.
    const double auxPoints[5] = {24, 48, 110, 220, 300};
    const double auxLimits[5] = {0, 48, 110, 220, 350};
    for (int p = 0; p < 8; ++p) {
        for (int l = 0; l < 2; ++l) {
            for (int k = 0; k < 5; ++k) {
                const bool used = p == 0 && l == 0;
                EXPECT_DOUBLE_EQ(e.auxdcPoints[p][l][k], used ? auxPoints[k] : 0.0);
                EXPECT_DOUBLE_EQ(e.auxdcLimits[p][l][k], used ? auxLimits[k] : 0.0);
                EXPECT_DOUBLE_EQ(e.auxdcMeasures[p][l][k], used ? auxPoints[k] : 0.0);
            }
        }
    }
    expectAll(e.auxdcFactors, 1, "auxdcFactors");
    expectAll(e.auxdcOffsets, 0, "auxdcOffsets");

    const double dcV[2][2] = {{6, 24}, {60, 230}};
    const double dcVL[2][2] = {{0, 30}, {0, 350}};
    const double dcI[2][2] = {{0.4, 1.6}, {2.4, 8}};
    const double dcIL[2][2] = {{0, 2}, {0, 20}};
    expectAll(e.dcampFrqPoints, 0, "dcampFrqPoints");
    expectAll(e.dcampPhaPoints, 90, "dcampPhaPoints");
    expectByClass(e.dcampAmpPoints, dcV, dcI, "dcampAmpPoints");
    expectByClass(e.dcampAmpLimits, dcVL, dcIL, "dcampAmpLimits");
    expectAll(e.dcampAmpFactors, 1, "dcampAmpFactors");
    expectAll(e.dcampAmpOffsets, 0, "dcampAmpOffsets");
    expectByClass(e.dcampAmpMeasures, dcV, dcI, "dcampAmpMeasures");

    // Low-level kinds: the same points on voltage and current ports.
    const double lloA[2][4] = {{0.05, 0.16, 0.32, 0.64}, {0.96, 1.6, 3.2, 6.4}};
    const double lloAL[2][4] = {{0, 0.16, 0.32, 0.8}, {0, 1.6, 3.2, 8}};
    expectAll(e.lloampFrqPoints, 50, "lloampFrqPoints");
    expectAll(e.lloampPhaPoints, 0, "lloampPhaPoints");
    expectByClass(e.lloampAmpPoints, lloA, lloA, "lloampAmpPoints");
    expectByClass(e.lloampAmpLimits, lloAL, lloAL, "lloampAmpLimits");
    expectAll(e.lloampAmpFactors, 1, "lloampAmpFactors");
    expectAll(e.lloampAmpOffsets, 0, "lloampAmpOffsets");
    expectByClass(e.lloampAmpMeasures, lloA, lloA, "lloampAmpMeasures");

    const double lloO[2][1] = {{0.64}, {6.4}};
    const double lloOL[2][1] = {{0.8}, {8}};
    expectAll(e.llodcoFrqPoints, 50, "llodcoFrqPoints");
    expectAll(e.llodcoPhaPoints, 0, "llodcoPhaPoints");
    expectByClass(e.llodcoAmpPoints, lloO, lloO, "llodcoAmpPoints");
    expectByClass(e.llodcoAmpLimits, lloOL, lloOL, "llodcoAmpLimits");
    expectAll(e.llodcoAmpOffsets, 0, "llodcoAmpOffsets");
    expectAll(e.llodcoAmpMeasures, 0, "llodcoAmpMeasures");

    const double lloD[2][2] = {{0.16, 0.64}, {1.6, 6.4}};
    const double lloDL[2][2] = {{0, 0.8}, {0, 8}};
    expectAll(e.llodcFrqPoints, 0, "llodcFrqPoints");
    for (int p = 0; p < 8; ++p)
        for (int l = 0; l < 2; ++l)
            EXPECT_DOUBLE_EQ(e.llodcPhaPoints[p][l], p < 4 ? 90.0 : 270.0);
    expectByClass(e.llodcAmpPoints, lloD, lloD, "llodcAmpPoints");
    expectByClass(e.llodcAmpLimits, lloDL, lloDL, "llodcAmpLimits");
    expectAll(e.llodcAmpFactors, 1, "llodcAmpFactors");
    expectAll(e.llodcAmpOffsets, 0, "llodcAmpOffsets");
    expectByClass(e.llodcAmpMeasures, lloD, lloD, "llodcAmpMeasures");

    // Selections: UA level 1 for the frequency, UA level 0 for the auxiliary DC.
    for (Cal::CALType type : kAllKinds) {
        std::vector<std::pair<int, int>> expected;
        if (type == Cal::CAL_TYPE_ACFRQ)
            expected = {{0, 1}};
        if (type == Cal::CAL_TYPE_AUXDC)
            expected = {{0, 0}};
        EXPECT_EQ(selectedCells(e, type), expected) << "kind " << type;
    }
}

TEST(CalibrationDefaults, EachKindRestoresOnlyItsOwnArrays)
{
    Cal fresh;
    // All kinds for CAL_TYPE_ALL and any value outside 1..10.
    std::vector<Cal::CALType> cases(std::begin(kAllKinds), std::end(kAllKinds));
    cases.insert(cases.end(), {Cal::CAL_TYPE_ALL, Cal::CALType(11), Cal::CALType(-1)});
    for (Cal::CALType restored : cases) {
        const bool all = restored < Cal::CAL_TYPE_ACAMP || restored > Cal::CAL_TYPE_LLODC;
        Cal e;
        // Every array and selection of every kind away from its default.
        for (Cal::CALType type : kAllKinds) {
            for (const ArrayRef& r : kindArrays(e, type))
                for (int i = 0; i < r.size; ++i)
                    r.data[i] = 12345.5 + i;
            bool* s = kindSelection(e, type);
            for (int c = 0; c < 16; ++c)
                s[c] = true;
        }
        e.currentCalType = Cal::CAL_TYPE_LLODC;
        e.currentPortIndex = 5;
        e.currentLevelIndex = 1;
        e.currentPointIndex = 1;
        e.factorVersion = QStringLiteral("7.7");
        e.exPaoType = 3;
        e.exEnable = true;

        e.initDefault(restored);

        for (Cal::CALType type : kAllKinds) {
            const std::vector<ArrayRef> now = kindArrays(e, type);
            const std::vector<ArrayRef> defaults = kindArrays(fresh, type);
            for (size_t a = 0; a < now.size(); ++a) {
                for (int i = 0; i < now[a].size; ++i) {
                    const double expected = (all || type == restored) ? defaults[a].data[i] : 12345.5 + i;
                    ASSERT_DOUBLE_EQ(now[a].data[i], expected)
                        << "restored " << restored << ": " << now[a].name << "[" << i << "]";
                }
            }
            const bool* s = kindSelection(e, type);
            const bool* d = kindSelection(fresh, type);
            for (int c = 0; c < 16; ++c)
                EXPECT_EQ(s[c], (all || type == restored) ? d[c] : true) << "restored " << restored << " kind " << type;
        }
        EXPECT_EQ(e.currentCalType, Cal::CAL_TYPE_LLODC);
        EXPECT_EQ(e.currentPortIndex, 5);
        EXPECT_EQ(e.currentLevelIndex, 1);
        EXPECT_EQ(e.currentPointIndex, 1);
        EXPECT_EQ(e.factorVersion, QStringLiteral("7.7"));
        EXPECT_EQ(e.exPaoType, 3);
        EXPECT_TRUE(e.exEnable);
    }
}

TEST(CalibrationDefaults, ResetNeutralisesCoefficientsAndForgetsMeasures)
{
    Cal e;
    fillPattern(e);
    e.acampAmpMeasures[2][1][3] = 5.0;
    e.acdcoAmpMeasures[0][0][0] = 0.5;
    const double pointBefore = e.acampAmpPoints[2][1][3];
    const double limitBefore = e.acampAmpLimits[2][1][3];

    e.reset(Cal::CAL_TYPE_ACAMP);
    expectAll(e.acampAmpFactors, 1, "acampAmpFactors");
    expectAll(e.acampAmpOffsets, 0, "acampAmpOffsets");
    EXPECT_TRUE(std::isnan(e.acampAmpMeasures[2][1][3]));
    EXPECT_DOUBLE_EQ(e.acampAmpPoints[2][1][3], pointBefore);
    EXPECT_DOUBLE_EQ(e.acampAmpLimits[2][1][3], limitBefore);
    EXPECT_DOUBLE_EQ(e.acdcoAmpMeasures[0][0][0], 0.5);   // another kind
    EXPECT_DOUBLE_EQ(e.dcampAmpFactors[3][0][1], patternValue(Cal::CAL_TYPE_DCAMP, 0, 6, 1));

    e.reset(Cal::CAL_TYPE_ALL);
    for (const Coefficients& kind : storedCoefficients(e)) {
        for (const ArrayRef& r : kind.arrays) {
            const bool isFactor = QByteArray(r.name).contains("Factors");
            for (int i = 0; i < r.size; ++i)
                ASSERT_DOUBLE_EQ(r.data[i], isFactor ? 1.0 : 0.0) << r.name << "[" << i << "]";
        }
    }
    for (double m : {e.acdcoAmpMeasures[0][0][0], e.acphaPhaMeasures[7][1][0], e.acfrqFrqMeasures[0][1][0],
                     e.acfacAmpMeasures[4][0][9], e.auxdcMeasures[0][0][4], e.llodcAmpMeasures[6][1][1]})
        EXPECT_TRUE(std::isnan(m));
}
