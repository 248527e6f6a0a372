#include "CalibrationLoopFixture.h"

#include "CommDriverData.h"

#include <QDir>

#include <algorithm>
#include <cstdio>
#include <sstream>

using namespace calloop;
using enginetest::waitFor;

namespace {

const char* const kPortNames[] = {"UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"};

using Selection = bool (*)[2];

std::string cellText(Kind kind, int port, int level)
{
    return std::string(kindName(kind)) + " " + kPortNames[port] + "-L" + std::to_string(level);
}

// The nine selections the calibration page keeps a copy of.
std::vector<Selection> pageSelections(ModelCalibrationEntity& e)
{
    return {e.acampCurrentSelecteds,  e.acdcoCurrentSelecteds,  e.acphaCurrentSelecteds,
            e.acfrqCurrentSelecteds,  e.acfacCurrentSelecteds,  e.dcampCurrentSelecteds,
            e.lloampCurrentSelecteds, e.llodcoCurrentSelecteds, e.llodcCurrentSelecteds};
}

Selection selectionOf(ModelCalibrationEntity& e, Kind kind)
{
    switch (kind) {
    case ModelCalibrationEntity::CAL_TYPE_ACAMP: return e.acampCurrentSelecteds;
    case ModelCalibrationEntity::CAL_TYPE_ACDCO: return e.acdcoCurrentSelecteds;
    case ModelCalibrationEntity::CAL_TYPE_ACPHA: return e.acphaCurrentSelecteds;
    case ModelCalibrationEntity::CAL_TYPE_ACFRQ: return e.acfrqCurrentSelecteds;
    case ModelCalibrationEntity::CAL_TYPE_ACFAC: return e.acfacCurrentSelecteds;
    case ModelCalibrationEntity::CAL_TYPE_DCAMP: return e.dcampCurrentSelecteds;
    case ModelCalibrationEntity::CAL_TYPE_LLOAMP: return e.lloampCurrentSelecteds;
    case ModelCalibrationEntity::CAL_TYPE_LLODCO: return e.llodcoCurrentSelecteds;
    case ModelCalibrationEntity::CAL_TYPE_LLODC: return e.llodcCurrentSelecteds;
    default: return nullptr;   // AUXDC: the page cannot change it
    }
}

// Compares a driver field with the entity's array of the same shape.
template <size_t N>
void compare(const char* name, const float (&driver)[8][2][N], const double (&entity)[8][2][N], std::string& first)
{
    if (!first.empty())
        return;
    for (int p = 0; p < 8; ++p)
        for (int l = 0; l < 2; ++l)
            for (size_t k = 0; k < N; ++k)
                if (driver[p][l][k] != float(entity[p][l][k])) {
                    char text[160];
                    std::snprintf(text, sizeof text, "%s[%d][%d][%zu]: driver %.9g, entity %.9g", name, p, l, k,
                                  double(driver[p][l][k]), entity[p][l][k]);
                    first = text;
                    return;
                }
}

} // namespace

void CalibrationLoop::SetUp()
{
    EngineTest::SetUp();
    if (IsSkipped() || HasFatalFailure())
        return;
    ASSERT_TRUE(QDir().mkpath(sandbox.filePath("app/dat/temp")));
    startPolling();
    // The calibration page is shown: calibration is the active module.
    center->testActive(ControllerTestor::TEST_CALIBRATION);
}

void CalibrationLoop::onTestor(const std::function<void()>& fn)
{
    QMetaObject::invokeMethod(center->testTestor, fn, Qt::BlockingQueuedConnection);
}

bool CalibrationLoop::testorDone()
{
    bool done = false;
    onTestor([&done] { done = true; });
    return done;
}

// ---- The calibration page ------------------------------------------------------------

void CalibrationLoop::selectCells(Kind kind, const std::vector<Cell>& cells)
{
    ModelCalibrationEntity& e = entity();
    for (Selection selection : pageSelections(e))
        for (int p = 0; p < 8; ++p)
            selection[p][0] = selection[p][1] = false;
    e.acfrqCurrentSelecteds[ModelCalibrationEntity::AO_PORT_TYPE_UA][1] = true;
    if (Selection selection = selectionOf(e, kind))
        for (const Cell& cell : cells)
            selection[cell.port][cell.level] = true;
    e.currentCalType = kind;
}

void CalibrationLoop::enterMeasure(Kind kind, double value)
{
    ModelCalibrationEntity& e = entity();
    const int p = e.currentPortIndex;
    const int l = e.currentLevelIndex;
    const int k = e.currentPointIndex;
    e.setCurrentMeasure(kind, p, l, k, value);
    if (kind == ModelCalibrationEntity::CAL_TYPE_ACFRQ)
        e.setCurrentMeasure(kind, p, (l + 1) % 2, k, value);
}

double CalibrationLoop::meterReading(Kind kind, int port)
{
    if (kind == ModelCalibrationEntity::CAL_TYPE_AUXDC)
        return sim->measureAuxDc();
    const zorsim::MeterReading m = sim->measure(port);
    const bool lowLevelKind = kind >= ModelCalibrationEntity::CAL_TYPE_LLOAMP;
    EXPECT_TRUE(m.live) << cellText(kind, port, entity().currentLevelIndex) << ": the point is not played";
    EXPECT_EQ(m.lowLevel, lowLevelKind) << cellText(kind, port, entity().currentLevelIndex);
    switch (kind) {
    case ModelCalibrationEntity::CAL_TYPE_ACAMP:
    case ModelCalibrationEntity::CAL_TYPE_ACFAC:
    case ModelCalibrationEntity::CAL_TYPE_LLOAMP:
        return m.rms;
    case ModelCalibrationEntity::CAL_TYPE_ACPHA:
        return m.phaseLagDeg;
    case ModelCalibrationEntity::CAL_TYPE_ACFRQ:
        return m.frequencyHz;
    default:
        return m.dc;   // the DC offset and DC amplitude kinds
    }
}

std::vector<PointReading> CalibrationLoop::runCalibration(Kind kind, int cancelAfter)
{
    using RT = ControllerRuntime;
    std::vector<PointReading> readings;
    const int calNotices = gui.count(RT::DATA_TYPE_SYSTEM_CAL, -1);
    const int finishNotices = gui.count(RT::DATA_TYPE_RT_STATE, RT::STATE_TYPE_CALFINISH);
    const int runNotices = gui.count(RT::DATA_TYPE_RT_STATE, RT::STATE_TYPE_RUNNING);

    center->testStart();
    const bool started = waitFor([&] {
        return gui.count(RT::DATA_TYPE_RT_STATE, RT::STATE_TYPE_RUNNING) > runNotices
            && state(RT::STATE_TYPE_RUNNING) == 1;
    });
    EXPECT_TRUE(started) << kindName(kind) << ": the run did not start";
    if (!started)
        return readings;

    // The page asks for a measured value for every point the engine announces.
    for (;;) {
        if (cancelAfter >= 0 && int(readings.size()) >= cancelAfter) {
            center->testInterrupt();
            break;
        }
        const ModelCalibrationEntity& e = entity();
        const PointReading point{e.currentPortIndex, e.currentLevelIndex, e.currentPointIndex,
                                 meterReading(kind, e.currentPortIndex)};
        readings.push_back(point);
        enterMeasure(kind, point.reading);

        const int before = gui.count(RT::DATA_TYPE_SYSTEM_CAL, -1);
        center->testSwitch();
        if (!waitFor([&] { return gui.count(RT::DATA_TYPE_SYSTEM_CAL, -1) > before; })) {
            ADD_FAILURE() << kindName(kind) << ": no notice after the switch from point " << readings.size();
            break;
        }
        if (state(RT::STATE_TYPE_RUNNING) == 0)
            break;   // the last switch stopped the run
        if (readings.size() > 200) {
            ADD_FAILURE() << kindName(kind) << ": the run does not end";
            break;
        }
    }
    EXPECT_TRUE(waitFor([&] { return gui.count(RT::DATA_TYPE_RT_STATE, RT::STATE_TYPE_CALFINISH) > finishNotices; }))
        << kindName(kind) << ": no end-of-calibration notice";
    EXPECT_EQ(state(RT::STATE_TYPE_CALFINISH), 1);
    EXPECT_EQ(gui.count(RT::DATA_TYPE_SYSTEM_CAL, -1) - calNotices, int(readings.size()))
        << kindName(kind) << ": one notice per switch";
    EXPECT_TRUE(testorDone());
    return readings;
}

void CalibrationLoop::waitForCalLoaded(int before)
{
    EXPECT_TRUE(waitFor([&] { return calLoadedCount() > before; })) << "no calibration-loaded notice";
    EXPECT_TRUE(testorDone());
}

void CalibrationLoop::saveAndReload(Kind kind)
{
    center->saveCal(kind);
    ASSERT_TRUE(testorDone());
    std::string difference;
    EXPECT_TRUE(driverHoldsEntityCoefficients(&difference)) << "after saving " << kindName(kind) << ": " << difference;

    // Leaving the calibration page reloads every kind.
    const int loaded = calLoadedCount();
    center->loadCal(ModelCalibrationEntity::CAL_TYPE_ALL);
    waitForCalLoaded(loaded);
    EXPECT_TRUE(driverHoldsEntityCoefficients(&difference)) << "after the reload: " << difference;
}

bool CalibrationLoop::driverHoldsEntityCoefficients(std::string* firstDifference)
{
    std::string first;
    onTestor([&] {
        const CommDriverConfigureCalData* c = globalConfigureCalData;
        if (!c) {
            first = "no calibration record";
            return;
        }
        const ModelCalibrationEntity& e = entity();
        compare("acampAmpFactors", c->acampAmpFactors, e.acampAmpFactors, first);
        compare("acampAmpOffsets", c->acampAmpOffsets, e.acampAmpOffsets, first);
        compare("acampAmpLimits", c->acampAmpLimits, e.acampAmpLimits, first);
        compare("acdcoAmpOffsets", c->acdcoAmpOffsets, e.acdcoAmpOffsets, first);
        compare("acphaPhaOffsets", c->acphaPhaOffsets, e.acphaPhaOffsets, first);
        compare("acfrqFrqFactors", c->acfrqFrqFactors, e.acfrqFrqFactors, first);
        compare("acfacFrqFactors", c->acfacFrqFactors, e.acfacFrqFactors, first);
        compare("acfacFrqPoints", c->acfacFrqPoints, e.acfacFrqPoints, first);
        compare("auxdcPwmFactors", c->auxdcPwmFactors, e.auxdcFactors, first);
        compare("auxdcPwmOffsets", c->auxdcPwmOffsets, e.auxdcOffsets, first);
        compare("dcampAmpFactors", c->dcampAmpFactors, e.dcampAmpFactors, first);
        compare("dcampAmpOffsets", c->dcampAmpOffsets, e.dcampAmpOffsets, first);
        compare("lloampAmpFactors", c->lloampAmpFactors, e.lloampAmpFactors, first);
        compare("lloampAmpOffsets", c->lloampAmpOffsets, e.lloampAmpOffsets, first);
        compare("llodcoAmpOffsets", c->llodcoAmpOffsets, e.llodcoAmpOffsets, first);
        compare("llodcAmpFactors", c->llodcAmpFactors, e.llodcAmpFactors, first);
        compare("llodcAmpOffsets", c->llodcAmpOffsets, e.llodcAmpOffsets, first);
    });
    if (firstDifference)
        *firstDifference = first;
    return first.empty();
}

// ---- Using the device ----------------------------------------------------------------

std::vector<zorsim::MeterReading> CalibrationLoop::play(const Request& request)
{
    int result = 0;
    uint8_t powerType = 0;
    onTestor([&] {
        CommDriverConfigureHardData& hard = *globalConfigureHardData;
        CommDriverTestOutputData& out = *globalTestOutputData;
        CommDriverTestControlData& control = *globalTestControlData;
        powerType = hard.systemPowerType;
        hard.systemPowerType = request.lowLevelDevice ? COMM_SYSTEM_POWER_TYPE_LLO : COMM_SYSTEM_POWER_TYPE_PAO;

        driverBaseResetUpdateOffset();
        for (int c = 0; c < COMM_PORT_COUNT; ++c) {
            for (int k = 0; k < COMM_COMPONENT_COUNT; ++k) {
                out.outputRanges[c][k] = 0.0f;
                out.outputAngles[c][k] = 0.0f;
                out.outputFrequencies[c][k] = 0.0f;
            }
            out.outputLevelStates[c] = request.level == 1 ? COMM_LEVELSTATE_TYPE_BIG : COMM_LEVELSTATE_TYPE_SMALL;
        }
        bool automatic = true;
        for (const Output& o : request.outputs) {
            out.outputRanges[o.channel][0] = float(o.amplitude);
            out.outputAngles[o.channel][0] = float(o.angle);
            out.outputFrequencies[o.channel][0] = float(o.frequency);
            const bool big = float(o.amplitude) > (o.channel < 4 ? hard.levelVSmall : hard.levelISmall);
            if (request.level >= 0 && big != (request.level == 1))
                automatic = false;
        }
        // A source module asks for the automatic range; a level it would not
        // pick is asked for by hand, with the power corrections on.
        out.outputLevelControlType = automatic ? COMM_LEVELCONTROL_TYPE_AUTO : COMM_LEVELCONTROL_TYPE_MANUAL_ACFACTOR;
        for (int i = 0; i < COMM_BINARY_COUNT; ++i) {
            out.outputBOInitStates[i] = 0;
            out.outputBOHoldEnables[i] = 0;
            out.outputBOTurnEnables[i] = 0;
            out.outputBIRiseEnables[i] = 0;
            out.outputBIFallEnables[i] = 0;
        }
        out.outputBOControlType = COMM_BOCONTROL_TYPE_MANUAL;
        out.outputBILogic = COMM_BILOGIC_TYPE_OR;
        out.outputLinkStateType = COMM_LINKSTATE_TYPE_INITIATE;
        out.outputTriggerType = COMM_TRIGGER_TYPE_TIME;
        out.outputTime = 36000.0f;
        result += driverBaseSendTestParameterData(false, false);

        control.controlPowerVEnable = control.controlPowerIEnable = 1;
        result += driverBaseSendTestControlPower();
        control.controlAutoOutputStateEnable = 0;
        control.controlRunVEnable = control.controlRunIEnable = 1;
        result += driverBaseSendTestControlRun();
    });
    EXPECT_EQ(result, 0) << "the output was not played";

    std::vector<zorsim::MeterReading> readings;
    for (const Output& o : request.outputs)
        readings.push_back(sim->measure(o.channel));

    onTestor([&] {
        CommDriverTestControlData& control = *globalTestControlData;
        control.controlRunVEnable = control.controlRunIEnable = 0;
        driverBaseSendTestControlRun();
        control.controlPowerVEnable = control.controlPowerIEnable = 0;
        driverBaseSendTestControlPower();
        globalConfigureHardData->systemPowerType = powerType;
    });
    return readings;
}

double CalibrationLoop::auxDcFor(double volts)
{
    center->testAuxDC(true, volts);
    EXPECT_TRUE(testorDone());
    const double measured = sim->measureAuxDc();
    center->testAuxDC(false, 0.0);
    EXPECT_TRUE(testorDone());
    return measured;
}

std::vector<Check> CalibrationLoop::verify(Kind kind, const std::vector<Cell>& cells)
{
    using E = ModelCalibrationEntity;
    const ModelCalibrationEntity& e = entity();
    float fullScale[2] = {0.0f, 0.0f};
    onTestor([&] {
        fullScale[0] = globalConfigureHardData->maxVRange;
        fullScale[1] = globalConfigureHardData->maxIRange;
    });

    std::vector<Check> checks;
    auto add = [&](const std::string& what, double wanted, double measured, double tolerance) {
        checks.push_back({what, wanted, measured, tolerance});
    };
    auto single = [&](int p, int l, double amplitude, double angle, double frequency, bool lowLevel = false) {
        return play(Request{{{p, amplitude, angle, frequency}}, l, lowLevel}).front();
    };

    for (const Cell& cell : cells) {
        const int p = cell.port;
        const int l = cell.level;
        const std::string at = cellText(kind, p, l);
        const double lowLevelScale = double(fullScale[p < 4 ? 0 : 1]) / 8.0;
        switch (kind) {
        case E::CAL_TYPE_ACAMP:
            for (int k = 0; k < 4; ++k) {
                const double point = e.acampAmpPoints[p][l][k];
                add(at + " P" + std::to_string(k), point, single(p, l, point, 0.0, 50.0).rms,
                    point * kAmplitudeTolerance);
            }
            break;
        case E::CAL_TYPE_ACDCO: {
            const double amplitude = e.acdcoAmpPoints[p][l][0];
            add(at + " DC", 0.0, single(p, l, amplitude, 0.0, 50.0).dc, amplitude * kAmplitudeTolerance);
            break;
        }
        case E::CAL_TYPE_ACPHA:
            for (double angle : {0.0, 240.0}) {
                if (p == 0 && angle != 0.0)
                    continue;   // UA against itself
                const zorsim::MeterReading m =
                    play(Request{{{0, e.acphaAmpPoints[0][l], 0.0, 50.0}, {p, e.acphaAmpPoints[p][l], angle, 50.0}}, l})
                        .back();
                const double lag = angle == 0.0 ? 0.0 : 360.0 - angle;
                add(at + " at " + std::to_string(int(angle)) + " deg", 0.0, angleDifference(m.phaseLagDeg, lag),
                    kPhaseToleranceDeg);
            }
            break;
        case E::CAL_TYPE_ACFRQ: {
            // One factor for the device: every output plays the frequency asked for.
            const double frequency = e.acfrqFrqPoints[p][l];
            add(at, frequency, single(p, l, e.acfrqAmpPoints[p][l][0], 0.0, frequency).frequencyHz,
                kFrequencyToleranceHz);
            for (const Cell& other : {Cell{1, 0}, Cell{4, 0}, Cell{6, 1}})
                add(at + " on " + kPortNames[other.port] + "-L" + std::to_string(other.level), frequency,
                    single(other.port, other.level, e.acfrqAmpPoints[other.port][other.level][0], 0.0, frequency)
                        .frequencyHz,
                    kFrequencyToleranceHz);
            break;
        }
        case E::CAL_TYPE_ACFAC: {
            const double amplitude = e.acfacAmpPoints[p][l];
            for (int k = 0; k < 10; ++k) {
                const double frequency = e.acfacFrqPoints[p][l][k];
                add(at + " " + std::to_string(int(frequency)) + " Hz", amplitude,
                    single(p, l, amplitude, 0.0, frequency).rms, amplitude * kAmplitudeTolerance);
            }
            break;
        }
        case E::CAL_TYPE_AUXDC:
            for (int k = 0; k < 5; ++k) {
                const double point = e.auxdcPoints[p][l][k];
                add(at + " P" + std::to_string(k), point, auxDcFor(point), point * kAmplitudeTolerance);
            }
            break;
        case E::CAL_TYPE_DCAMP:
            for (int k = 0; k < 2; ++k) {
                const double point = e.dcampAmpPoints[p][l][k];
                add(at + " P" + std::to_string(k), point, single(p, l, point, 90.0, 0.0).dc,
                    point * kAmplitudeTolerance);
            }
            break;
        case E::CAL_TYPE_LLOAMP:
            for (int k = 0; k < 4; ++k) {
                const double point = e.lloampAmpPoints[p][l][k];
                add(at + " P" + std::to_string(k), point, single(p, l, point * lowLevelScale, 0.0, 50.0, true).rms,
                    point * kAmplitudeTolerance);
            }
            break;
        case E::CAL_TYPE_LLODCO: {
            const double point = e.llodcoAmpPoints[p][l][0];
            add(at + " DC", 0.0, single(p, l, point * lowLevelScale, 0.0, 50.0, true).dc,
                point * kAmplitudeTolerance);
            break;
        }
        case E::CAL_TYPE_LLODC:
            for (int k = 0; k < 2; ++k) {
                const double point = e.llodcAmpPoints[p][l][k];
                add(at + " P" + std::to_string(k), point, single(p, l, point * lowLevelScale, 90.0, 0.0, true).dc,
                    point * kAmplitudeTolerance);
            }
            break;
        default:
            ADD_FAILURE() << "no verification for kind " << int(kind);
            break;
        }
    }
    return checks;
}

std::string failures(const std::vector<Check>& checks)
{
    std::ostringstream text;
    for (const Check& c : checks)
        if (!c.within())
            text << c.what << ": wanted " << c.wanted << ", measured " << c.measured << " (limit +-" << c.tolerance
                 << ")\n";
    return text.str();
}

double worstRatio(const std::vector<Check>& checks)
{
    double worst = 0.0;
    for (const Check& c : checks)
        worst = std::max(worst, std::fabs(c.measured - c.wanted) / c.tolerance);
    return worst;
}
