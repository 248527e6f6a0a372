// Every calibration kind closes the loop on the simulated instrument: outputs
// with errors, calibrated through the engine with the meter's readings, play
// their calibration points within the tolerances afterwards. Each TEST runs
// in a process of its own (EngineFixture.h).

#include "CalibrationLoopFixture.h"

#include <QFile>

#include <algorithm>
#include <limits>
#include <ostream>
#include <tuple>

using namespace calloop;
using E = ModelCalibrationEntity;
using zorsim::OutputErrors;
using zorsim::SegmentedError;

namespace {

constexpr double kOpen = std::numeric_limits<double>::infinity();

const ModelCalibrationEntity& defaults()
{
    static const ModelCalibrationEntity entity;
    return entity;
}

double sign(int port)
{
    return port % 2 ? -1.0 : 1.0;
}

// Curves whose knots sit on calibration points, as a real stage's gain
// changes between them; the offset at zero is a share of the first point.
SegmentedError fourPointCurve(const double (&points)[4], int port, double offsetShare)
{
    return SegmentedError::continuous(offsetShare * points[0] * sign(port),
                                      {{points[1], 1.006 + 0.0005 * port}, {points[2], 0.994 - 0.0004 * port},
                                       {kOpen, 1.008}});
}

SegmentedError twoPointCurve(const double (&points)[2], int port, double offsetShare)
{
    return SegmentedError::continuous(offsetShare * points[0] * sign(port),
                                      {{points[0], 1.005 + 0.0005 * port}, {kOpen, 0.993}});
}

// Ahead of UA; UA is the reference.
double phaseErrorFor(int port, int level)
{
    return port == 0 ? 0.0 : (0.15 + 0.05 * port) * (level ? 1.0 : -1.0);
}

struct ErrorShape
{
    double lowLevelOffsetShare = 0.008;   // of the first low-level point
    bool lowLevelDcOffset = true;
};

// The errors that the calibration kind corrects, on every port and range.
void addErrors(OutputErrors& errors, Kind kind, const ErrorShape& shape = ErrorShape())
{
    const ModelCalibrationEntity& d = defaults();
    if (kind == E::CAL_TYPE_ACFRQ) {
        errors.frequencyError = 0.002;
        return;
    }
    if (kind == E::CAL_TYPE_AUXDC) {
        errors.auxDc = SegmentedError::continuous(0.3, {{48, 1.012}, {110, 0.994}, {220, 1.006}, {kOpen, 0.991}});
        return;
    }
    for (int p = 0; p < 8; ++p) {
        for (int l = 0; l < 2; ++l) {
            zorsim::PortErrors& e = errors.at(p, l);
            switch (kind) {
            case E::CAL_TYPE_ACAMP: e.acAmplitude = fourPointCurve(d.acampAmpPoints[p][l], p, 0.005); break;
            case E::CAL_TYPE_ACDCO: e.dcOffset = 0.006 * d.acdcoAmpPoints[p][l][0] * sign(p); break;
            case E::CAL_TYPE_ACPHA: e.phaseDeg = phaseErrorFor(p, l); break;
            case E::CAL_TYPE_ACFAC:
                e.response = {{50, 1.0}, {100, 1.003}, {400, 0.994 - 0.001 * p}, {700, 0.986}, {1000, 0.972 + 0.001 * p}};
                break;
            case E::CAL_TYPE_DCAMP: e.dcAmplitude = twoPointCurve(d.dcampAmpPoints[p][l], p, 0.004); break;
            case E::CAL_TYPE_LLOAMP:
                e.lowLevelAcAmplitude = fourPointCurve(d.lloampAmpPoints[p][l], p, shape.lowLevelOffsetShare);
                break;
            case E::CAL_TYPE_LLODCO:
                if (shape.lowLevelDcOffset)
                    e.lowLevelDcOffset = 0.003 * d.llodcoAmpPoints[p][l][0] * sign(p);
                break;
            case E::CAL_TYPE_LLODC:
                e.lowLevelDcAmplitude = twoPointCurve(d.llodcAmpPoints[p][l], p, shape.lowLevelOffsetShare);
                break;
            default:
                break;
            }
        }
    }
}

OutputErrors errorsFor(Kind kind)
{
    OutputErrors errors;
    addErrors(errors, kind);
    return errors;
}

struct KindCase
{
    Kind kind;
    std::vector<Cell> cells;   // port order, level 0 before 1: the order of the run
};

// Test names carry the kind; this keeps gtest from printing the bytes.
void PrintTo(const KindCase& c, std::ostream* os)
{
    *os << kindName(c.kind) << " on " << c.cells.size() << " cells";
}

const std::vector<Cell> kPowerCells = {{0, 0}, {1, 1}, {4, 0}, {6, 1}};
const std::vector<Cell> kLowLevelCells = {{0, 0}, {2, 1}, {5, 0}, {7, 1}};

const KindCase kKinds[] = {
    {E::CAL_TYPE_ACAMP, kPowerCells},
    {E::CAL_TYPE_ACDCO, kPowerCells},
    {E::CAL_TYPE_ACPHA, kPowerCells},
    {E::CAL_TYPE_ACFRQ, {{0, 1}}},                    // the page offers UA level 1 only
    {E::CAL_TYPE_ACFAC, {{0, 0}, {5, 1}}},
    {E::CAL_TYPE_AUXDC, {{0, 0}}},                    // the one cell of the kind
    {E::CAL_TYPE_DCAMP, {{0, 0}, {2, 1}, {4, 0}, {5, 1}}},
    {E::CAL_TYPE_LLOAMP, kLowLevelCells},
    {E::CAL_TYPE_LLODCO, kLowLevelCells},
    {E::CAL_TYPE_LLODC, kLowLevelCells},
};

const KindCase& caseOf(Kind kind)
{
    return *std::find_if(std::begin(kKinds), std::end(kKinds), [kind](const KindCase& c) { return c.kind == kind; });
}

void expectVisitOrder(const KindCase& c, const std::vector<PointReading>& readings)
{
    std::vector<std::tuple<int, int, int>> expected;
    for (const Cell& cell : c.cells)
        for (int k = 0; k < ModelCalibrationEntity::pointCount(c.kind); ++k)
            expected.emplace_back(cell.port, cell.level, k);
    std::vector<std::tuple<int, int, int>> visited;
    for (const PointReading& r : readings)
        visited.emplace_back(r.port, r.level, r.point);
    EXPECT_EQ(visited, expected) << kindName(c.kind) << ": every point of the selected cells, in order";
}

// The coefficients follow from the readings as the product's conventions
// say: an offset is the measured value, a phase offset the measured angle
// less 360 (the meter reads the lag behind UA), a frequency factor the
// nominal over the measured frequency; the rest keep the readings as measures.
void expectConventions(const ModelCalibrationEntity& e, Kind kind, const std::vector<PointReading>& readings)
{
    for (const PointReading& r : readings) {
        const int p = r.port;
        const int l = r.level;
        const int k = r.point;
        SCOPED_TRACE(std::string(kindName(kind)) + " port " + std::to_string(p) + " level " + std::to_string(l));
        switch (kind) {
        case E::CAL_TYPE_ACDCO:
            EXPECT_EQ(e.acdcoAmpOffsets[p][l][0], r.reading);
            break;
        case E::CAL_TYPE_LLODCO:
            EXPECT_EQ(e.llodcoAmpOffsets[p][l][0], r.reading);
            break;
        case E::CAL_TYPE_ACPHA:
            EXPECT_NEAR(angleDifference(r.reading, -phaseErrorFor(p, l)), 0.0, 1e-6)
                << "an output ahead of UA by e reads 360 - e";
            EXPECT_DOUBLE_EQ(e.acphaPhaOffsets[p][l][0], r.reading - 360.0);
            break;
        case E::CAL_TYPE_ACFRQ:
            EXPECT_DOUBLE_EQ(e.acfrqFrqFactors[p][l][0], e.acfrqFrqPoints[p][l] / r.reading);
            break;
        case E::CAL_TYPE_ACAMP: EXPECT_EQ(e.acampAmpMeasures[p][l][k], r.reading); break;
        case E::CAL_TYPE_ACFAC: EXPECT_EQ(e.acfacAmpMeasures[p][l][k], r.reading); break;
        case E::CAL_TYPE_AUXDC: EXPECT_EQ(e.auxdcMeasures[p][l][k], r.reading); break;
        case E::CAL_TYPE_DCAMP: EXPECT_EQ(e.dcampAmpMeasures[p][l][k], r.reading); break;
        case E::CAL_TYPE_LLOAMP: EXPECT_EQ(e.lloampAmpMeasures[p][l][k], r.reading); break;
        case E::CAL_TYPE_LLODC: EXPECT_EQ(e.llodcAmpMeasures[p][l][k], r.reading); break;
        default: break;
        }
    }
}

} // namespace

class CalibrationLoopKind : public CalibrationLoop, public ::testing::WithParamInterface<KindCase>
{
};

TEST_P(CalibrationLoopKind, CalibratedOutputsPlayTheirPoints)
{
    const KindCase& c = GetParam();
    sim->setOutputErrors(errorsFor(c.kind));
    EXPECT_GT(worstRatio(verify(c.kind, c.cells)), 2.0) << "the errors must show before the calibration";

    selectCells(c.kind, c.cells);
    const std::vector<PointReading> readings = runCalibration(c.kind);
    expectVisitOrder(c, readings);
    expectConventions(entity(), c.kind, readings);
    EXPECT_FALSE(driverHoldsEntityCoefficients()) << "the driver takes new coefficients only when they are saved";

    saveAndReload(c.kind);
    EXPECT_EQ(failures(verify(c.kind, c.cells)), "");

    // Calibrating the calibrated device again keeps it calibrated.
    selectCells(c.kind, c.cells);
    runCalibration(c.kind);
    saveAndReload(c.kind);
    const std::string again = failures(verify(c.kind, c.cells));
    EXPECT_EQ(again, "") << "after the second calibration";
}

INSTANTIATE_TEST_SUITE_P(Kinds, CalibrationLoopKind, ::testing::ValuesIn(kKinds),
                         [](const ::testing::TestParamInfo<KindCase>& info) { return kindName(info.param.kind); });

TEST_F(CalibrationLoop, CoefficientsReachTheDriverOnSaveLoadResetAndImport)
{
    const Kind kind = E::CAL_TYPE_ACAMP;
    const std::vector<Cell> cells = {{0, 0}, {4, 1}};
    sim->setOutputErrors(errorsFor(kind));

    selectCells(kind, cells);
    runCalibration(kind);
    center->saveCal(kind);
    ASSERT_TRUE(testorDone());
    std::string difference;
    EXPECT_TRUE(driverHoldsEntityCoefficients(&difference)) << "save: " << difference;
    EXPECT_EQ(failures(verify(kind, cells)), "") << "saved";

    // The instrument drifts; a new run that is not saved (the page's answer
    // "cancel" reloads the stored kind) leaves the stored correction.
    OutputErrors drifted;
    for (int p = 0; p < 8; ++p)
        for (int l = 0; l < 2; ++l)
            drifted.at(p, l).acAmplitude = SegmentedError::affine(1.01, 0.0);
    sim->setOutputErrors(drifted);
    selectCells(kind, cells);
    runCalibration(kind);
    int loaded = calLoadedCount();
    center->loadCal(kind);
    waitForCalLoaded(loaded);
    EXPECT_TRUE(driverHoldsEntityCoefficients(&difference)) << "cancel: " << difference;
    sim->setOutputErrors(errorsFor(kind));
    EXPECT_EQ(failures(verify(kind, cells)), "") << "the stored correction is back";

    // Clearing the selected cells takes their correction away at once.
    center->resetCal(kind, true);
    ASSERT_TRUE(testorDone());
    EXPECT_TRUE(driverHoldsEntityCoefficients(&difference)) << "reset: " << difference;
    EXPECT_GT(worstRatio(verify(kind, cells)), 2.0) << "cleared";

    loaded = calLoadedCount();
    center->loadCal(kind);
    waitForCalLoaded(loaded);
    EXPECT_TRUE(driverHoldsEntityCoefficients(&difference)) << "load: " << difference;
    EXPECT_EQ(failures(verify(kind, cells)), "") << "loaded";

    // Export both port groups, put the kind back to its defaults, import.
    center->exportCal(E::EX_PAO_TYPE_U | E::EX_PAO_TYPE_I);
    ASSERT_TRUE(testorDone());
    EXPECT_TRUE(QFile::exists(sandbox.filePath("app/dat/temp/calacamp.xml")));
    center->resetCal(kind, false);
    ASSERT_TRUE(testorDone());
    EXPECT_TRUE(driverHoldsEntityCoefficients(&difference)) << "defaults: " << difference;
    EXPECT_GT(worstRatio(verify(kind, cells)), 2.0) << "defaults";

    loaded = calLoadedCount();
    center->importCal(E::EX_PAO_TYPE_U | E::EX_PAO_TYPE_I);
    waitForCalLoaded(loaded);
    EXPECT_TRUE(driverHoldsEntityCoefficients(&difference)) << "import: " << difference;
    EXPECT_EQ(failures(verify(kind, cells)), "") << "imported";
}

// The first calibration of a device, answered with "cancel": nothing is stored.
TEST_F(CalibrationLoop, CancelledFirstCalibrationIsDiscarded)
{
    const Kind kind = E::CAL_TYPE_ACAMP;
    const std::vector<Cell> cells = {{0, 0}};
    sim->setOutputErrors(errorsFor(kind));
    selectCells(kind, cells);
    runCalibration(kind);
    const int loaded = calLoadedCount();
    center->loadCal(kind);
    waitForCalLoaded(loaded);
    std::string difference;
    EXPECT_TRUE(driverHoldsEntityCoefficients(&difference)) << difference;
    EXPECT_GT(worstRatio(verify(kind, cells)), 2.0) << "the output plays uncorrected again";
}

// "取消" at a measured-value prompt, then "确定" at the save question: the
// points measured take their new coefficients and every other point keeps
// the stored one; cancelled at the first prompt, the file stays byte for byte.
TEST_F(CalibrationLoop, CancelledRunChangesOnlyThePointsItMeasured)
{
    const Kind kind = E::CAL_TYPE_ACAMP;
    const std::vector<Cell> cells = {{0, 0}, {4, 1}};
    const QString file = sandbox.filePath("app/dat/calacamp.xml");
    sim->setOutputErrors(errorsFor(kind));
    selectCells(kind, cells);
    runCalibration(kind);
    center->saveCal(kind);
    ASSERT_TRUE(testorDone());
    const QByteArray stored = sandbox.read(file);
    double factors[8][2][4];
    double offsets[8][2][4];
    std::copy(&entity().acampAmpFactors[0][0][0], &entity().acampAmpFactors[0][0][0] + 64, &factors[0][0][0]);
    std::copy(&entity().acampAmpOffsets[0][0][0], &entity().acampAmpOffsets[0][0][0] + 64, &offsets[0][0][0]);

    OutputErrors drifted;
    for (int p = 0; p < 8; ++p)
        for (int l = 0; l < 2; ++l)
            drifted.at(p, l).acAmplitude = SegmentedError::affine(1.01, 0.0);
    sim->setOutputErrors(drifted);
    for (int measured : {0, 2}) {
        SCOPED_TRACE(measured);
        selectCells(kind, cells);
        EXPECT_EQ(int(runCalibration(kind, measured).size()), measured);
        center->saveCal(kind);
        ASSERT_TRUE(testorDone());
        if (measured == 0) {
            EXPECT_TRUE(sandbox.read(file) == stored) << "the stored file changed";
        }
        const ModelCalibrationEntity& e = entity();
        for (int p = 0; p < 8; ++p)
            for (int l = 0; l < 2; ++l)
                for (int k = 0; k < 4; ++k)
                    EXPECT_EQ(e.acampAmpFactors[p][l][k] != factors[p][l][k]
                                  || e.acampAmpOffsets[p][l][k] != offsets[p][l][k],
                              p == 0 && l == 0 && k < measured)
                        << p << "/" << l << "/" << k;
    }
}

// The order of a workshop: the low-level outputs first (the power outputs
// are fed through them), then the power kinds, each saved as it is done;
// every error of the instrument present at once.
TEST_F(CalibrationLoop, WorkshopCalibrationOfEveryKind)
{
    const Kind order[] = {E::CAL_TYPE_LLODCO, E::CAL_TYPE_LLOAMP, E::CAL_TYPE_LLODC, E::CAL_TYPE_ACAMP,
                          E::CAL_TYPE_ACDCO,  E::CAL_TYPE_ACPHA,  E::CAL_TYPE_ACFRQ, E::CAL_TYPE_ACFAC,
                          E::CAL_TYPE_DCAMP,  E::CAL_TYPE_AUXDC};
    // Small low-level offsets and no low-level DC offset: see
    // LowLevelDcOffsetIsCorrectedAndItsCoefficientStaysOnThePowerOutputs.
    ErrorShape shape;
    shape.lowLevelOffsetShare = 0.0002;
    shape.lowLevelDcOffset = false;
    OutputErrors errors;
    for (Kind kind : order)
        addErrors(errors, kind, shape);
    sim->setOutputErrors(errors);

    for (Kind kind : order) {
        selectCells(kind, caseOf(kind).cells);
        runCalibration(kind);
        center->saveCal(kind);
        ASSERT_TRUE(testorDone());
    }
    const int loaded = calLoadedCount();
    center->loadCal(E::CAL_TYPE_ALL);
    waitForCalLoaded(loaded);

    std::vector<Check> checks;
    for (Kind kind : order) {
        const std::vector<Check> more = verify(kind, caseOf(kind).cells);
        checks.insert(checks.end(), more.begin(), more.end());
    }
    EXPECT_EQ(failures(checks), "");
}

// The low-level outputs feed the power amplifiers, so their DC offset shows
// on the power outputs too: calibrated in the workshop order (the low-level
// offset first), the low-level outputs are corrected, and each power output
// keeps the low-level coefficient as its offset (below).
TEST_F(CalibrationLoop, LowLevelDcOffsetIsCorrectedAndItsCoefficientStaysOnThePowerOutputs)
{
    const std::vector<Cell> cells = {{0, 0}, {6, 1}};
    OutputErrors errors;
    errors.at(0, 0).lowLevelDcOffset = 0.002;   // 66 mV on UA
    errors.at(0, 0).dcOffset = 0.05;
    errors.at(6, 1).lowLevelDcOffset = 0.01;    // 12.5 mA on IC
    errors.at(6, 1).dcOffset = -0.02;
    sim->setOutputErrors(errors);
    for (Kind kind : {E::CAL_TYPE_LLODCO, E::CAL_TYPE_ACDCO}) {
        selectCells(kind, cells);
        runCalibration(kind);
        saveAndReload(kind);
    }
    EXPECT_EQ(failures(verify(E::CAL_TYPE_LLODCO, cells)), "") << "on the low-level outputs";
    // Kept as it is (the page encoder's): in the automatic range the power
    // outputs' DC offset correction replaces the low-level one, and their
    // offset run measures with the low-level coefficient taken as volts or
    // amperes of the output, so each output keeps that coefficient as its
    // offset: 2 mV on UA (within the limit), 10 mA of the 12.5 mA on IC. A
    // change to that behaviour, a mend included, shows here.
    const std::vector<Check> power = verify(E::CAL_TYPE_ACDCO, cells);
    ASSERT_EQ(power.size(), cells.size());
    for (size_t i = 0; i < cells.size(); ++i) {
        const double kept = errors.at(cells[i].port, cells[i].level).lowLevelDcOffset;
        EXPECT_NEAR(power[i].measured, kept, power[i].tolerance / 5) << power[i].what;
    }
}

// The device has one frequency factor, kept in UA level 1.
TEST_F(CalibrationLoop, FrequencyFactorReachesEveryOutputWhenSaved)
{
    sim->setOutputErrors(errorsFor(E::CAL_TYPE_ACFRQ));
    selectCells(E::CAL_TYPE_ACFRQ, {{0, 1}});
    runCalibration(E::CAL_TYPE_ACFRQ);
    center->saveCal(E::CAL_TYPE_ACFRQ);
    ASSERT_TRUE(testorDone());
    std::string difference;
    EXPECT_TRUE(driverHoldsEntityCoefficients(&difference)) << difference;
    EXPECT_EQ(failures(verify(E::CAL_TYPE_ACFRQ, {{0, 1}})), "") << "before any load";
}
