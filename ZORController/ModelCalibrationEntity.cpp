#include "ModelCalibrationEntity.h"

#include "CommDriverData.h"
#include "ConstTextUtility.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

namespace {

constexpr int kPorts = ModelCalibrationEntity::kPortCount;
constexpr int kLevels = ModelCalibrationEntity::kLevelCount;

// Below these measure differences (single precision, as the driver works) a
// segment is taken as flat and left uncorrected.
const double kFactorThreshold = double(0.00001f);
const double kAuxFactorThreshold = double(0.000001f);

const double kNaN = std::numeric_limits<double>::quiet_NaN();

bool isVoltagePort(int port)
{
    return port < ModelCalibrationEntity::AO_PORT_TYPE_IA;
}

bool validCell(int port, int level)
{
    return port >= 0 && port < kPorts && level >= 0 && level < kLevels;
}

// The driver's records are single precision; a value beyond its range
// saturates instead of overflowing the conversion.
float toFloat(double value)
{
    if (std::isnan(value))
        return std::numeric_limits<float>::quiet_NaN();
    if (value > double(FLT_MAX))
        return FLT_MAX;
    if (value < -double(FLT_MAX))
        return -FLT_MAX;
    return float(value);
}

template <size_t N>
void copyToDriver(float (&to)[8][2][N], const double (&from)[8][2][N])
{
    for (int p = 0; p < kPorts; ++p)
        for (int l = 0; l < kLevels; ++l)
            for (size_t k = 0; k < N; ++k)
                to[p][l][k] = toFloat(from[p][l][k]);
}

void fillCells(double (&a)[8][2], double value)
{
    for (auto& port : a)
        for (double& v : port)
            v = value;
}

template <size_t N>
void fillCells(double (&a)[8][2][N], double value)
{
    for (auto& port : a)
        for (auto& cell : port)
            for (double& v : cell)
                v = value;
}

void clearSelection(bool (&a)[8][2])
{
    for (auto& port : a)
        for (bool& v : port)
            v = false;
}

template <size_t N>
void copyCells(double (&to)[8][2][N], const double (&from)[8][2][N])
{
    for (int p = 0; p < kPorts; ++p)
        for (int l = 0; l < kLevels; ++l)
            for (size_t k = 0; k < N; ++k)
                to[p][l][k] = from[p][l][k];
}

// Points (or limits) of one cell from a [voltage/current][level][point] table.
template <size_t N>
void setByPortClass(double (&a)[8][2][N], const double (&table)[2][2][N])
{
    for (int p = 0; p < kPorts; ++p)
        for (int l = 0; l < kLevels; ++l)
            for (size_t k = 0; k < N; ++k)
                a[p][l][k] = table[isVoltagePort(p) ? 0 : 1][l][k];
}

// Amplitude output during the single-point AC kinds: [voltage/current][level].
const double kSinglePointAmps[2][2][1] = {{{10.0}, {60.0}}, {{1.0}, {5.0}}};
const double kSinglePointAmpLimits[2][2][1] = {{{30.0}, {300.0}}, {{2.0}, {20.0}}};

// Segment coefficients of one cell: point k is corrected on the line through
// (previous point, previous measure) and (point k, measure k); the previous
// pair of point 0 is the origin.
void computeSegments(const double* points, const double* measures, double* factors,
                     double* offsets, int count, double threshold)
{
    for (int k = 0; k < count; ++k) {
        const double measure = measures[k];
        if (!std::isfinite(measure))
            continue;   // not measured: the point keeps its coefficients
        const double previousPoint = k > 0 ? points[k - 1] : 0.0;
        const double previousMeasure = k > 0 ? measures[k - 1] : 0.0;
        const double delta = measure - previousMeasure;
        double factor = 1.0;
        double offset = 0.0;
        if (std::isfinite(delta) && std::fabs(delta) >= threshold) {
            factor = (points[k] - previousPoint) / delta;
            offset = points[k] - measure * factor;
        }
        factors[k] = factor;
        offsets[k] = offset;
    }
}

// Ratio coefficient: nominal / measured, neutral for a reading near zero.
void computeRatio(double nominal, double measure, double* factor)
{
    if (!std::isfinite(measure))
        return;
    *factor = std::fabs(measure) < kFactorThreshold ? 1.0 : nominal / measure;
}

void computeOffset(double measure, double* offset)
{
    if (std::isfinite(measure))
        *offset = measure;
}

void resetCell(double* measures, double* factors, double* offsets, int count)
{
    for (int k = 0; k < count; ++k) {
        measures[k] = kNaN;
        if (factors)
            factors[k] = 1.0;
        if (offsets)
            offsets[k] = 0.0;
    }
}

void setEntry(CommDriverTestOutputData* out, int port, double range, double angle, double frequency)
{
    out->outputRanges[port][0] = toFloat(range);
    out->outputAngles[port][0] = toFloat(angle);
    out->outputFrequencies[port][0] = toFloat(frequency);
}

} // namespace

ModelCalibrationEntity::ModelCalibrationEntity()
    : factorVersion(ConstTextUtility::CALIBRATION_VERSION)
{
    initDefault(CAL_TYPE_ALL);
}

ModelCalibrationEntity::~ModelCalibrationEntity() = default;

int ModelCalibrationEntity::pointCount(CALType type)
{
    switch (type) {
    case CAL_TYPE_ACAMP: return 4;
    case CAL_TYPE_ACDCO: return 1;
    case CAL_TYPE_ACPHA: return 1;
    case CAL_TYPE_ACFRQ: return 1;
    case CAL_TYPE_ACFAC: return 10;
    case CAL_TYPE_AUXDC: return 5;
    case CAL_TYPE_DCAMP: return 2;
    case CAL_TYPE_LLOAMP: return 4;
    case CAL_TYPE_LLODCO: return 1;
    case CAL_TYPE_LLODC: return 2;
    default: return 0;
    }
}

bool* ModelCalibrationEntity::selection(CALType type)
{
    return const_cast<bool*>(static_cast<const ModelCalibrationEntity*>(this)->selection(type));
}

const bool* ModelCalibrationEntity::selection(CALType type) const
{
    switch (type) {
    case CAL_TYPE_ACAMP: return &acampCurrentSelecteds[0][0];
    case CAL_TYPE_ACDCO: return &acdcoCurrentSelecteds[0][0];
    case CAL_TYPE_ACPHA: return &acphaCurrentSelecteds[0][0];
    case CAL_TYPE_ACFRQ: return &acfrqCurrentSelecteds[0][0];
    case CAL_TYPE_ACFAC: return &acfacCurrentSelecteds[0][0];
    case CAL_TYPE_AUXDC: return &auxdcCurrentSelecteds[0][0];
    case CAL_TYPE_DCAMP: return &dcampCurrentSelecteds[0][0];
    case CAL_TYPE_LLOAMP: return &lloampCurrentSelecteds[0][0];
    case CAL_TYPE_LLODCO: return &llodcoCurrentSelecteds[0][0];
    case CAL_TYPE_LLODC: return &llodcCurrentSelecteds[0][0];
    default: return nullptr;
    }
}

// ---- Defaults ----------------------------------------------------------------------------

void ModelCalibrationEntity::initDefault(CALType type)
{
    switch (type) {
    case CAL_TYPE_ACAMP: initACAmp(); break;
    case CAL_TYPE_ACDCO: initACDco(); break;
    case CAL_TYPE_ACPHA: initACPha(); break;
    case CAL_TYPE_ACFRQ: initACFrq(); break;
    case CAL_TYPE_ACFAC: initACFac(); break;
    case CAL_TYPE_AUXDC: initAuxDC(); break;
    case CAL_TYPE_DCAMP: initDCAmp(); break;
    case CAL_TYPE_LLOAMP: initLLOAmp(); break;
    case CAL_TYPE_LLODCO: initLLODco(); break;
    case CAL_TYPE_LLODC: initLLODC(); break;
    default:
        initACAmp();
        initACDco();
        initACFrq();
        initACPha();
        initACFac();
        initAuxDC();
        initDCAmp();
        initLLOAmp();
        initLLODco();
        initLLODC();
        break;
    }
}

void ModelCalibrationEntity::initACAmp()
{
    static const double points[2][2][4] = {{{3.6, 6, 12, 24}, {36, 60, 120, 240}},
                                           {{0.2, 0.4, 0.8, 1.6}, {2.5, 4, 8, 16}}};
    static const double limits[2][2][4] = {{{0, 6, 12, 30}, {0, 60, 120, 300}},
                                           {{0, 0.4, 0.8, 2}, {0, 4, 8, 20}}};
    fillCells(acampFrqPoints, 50.0);
    fillCells(acampPhaPoints, 0.0);
    setByPortClass(acampAmpPoints, points);
    setByPortClass(acampAmpLimits, limits);
    fillCells(acampAmpFactors, 1.0);
    fillCells(acampAmpOffsets, 0.0);
    copyCells(acampAmpMeasures, acampAmpPoints);
    clearSelection(acampCurrentSelecteds);
}

void ModelCalibrationEntity::initACDco()
{
    fillCells(acdcoFrqPoints, 50.0);
    fillCells(acdcoPhaPoints, 0.0);
    setByPortClass(acdcoAmpPoints, kSinglePointAmps);
    setByPortClass(acdcoAmpLimits, kSinglePointAmpLimits);
    fillCells(acdcoAmpOffsets, 0.0);
    fillCells(acdcoAmpMeasures, 0.0);
    clearSelection(acdcoCurrentSelecteds);
}

void ModelCalibrationEntity::initACFrq()
{
    fillCells(acfrqFrqPoints, 50.0);
    fillCells(acfrqPhaPoints, 0.0);
    setByPortClass(acfrqAmpPoints, kSinglePointAmps);
    setByPortClass(acfrqAmpLimits, kSinglePointAmpLimits);
    fillCells(acfrqFrqFactors, 1.0);
    fillCells(acfrqFrqMeasures, 50.0);
    clearSelection(acfrqCurrentSelecteds);
    acfrqCurrentSelecteds[AO_PORT_TYPE_UA][1] = true;
}

void ModelCalibrationEntity::initACPha()
{
    for (int p = 0; p < kPorts; ++p)
        for (int l = 0; l < kLevels; ++l)
            acphaAmpPoints[p][l] = kSinglePointAmps[isVoltagePort(p) ? 0 : 1][l][0];
    fillCells(acphaPhaPoints, 0.0);
    fillCells(acphaFrqPoints, 50.0);
    fillCells(acphaFrqLimits, 2000.0);
    fillCells(acphaPhaOffsets, 0.0);
    fillCells(acphaPhaMeasures, 0.0);
    clearSelection(acphaCurrentSelecteds);
}

void ModelCalibrationEntity::initACFac()
{
    for (int p = 0; p < kPorts; ++p) {
        for (int l = 0; l < kLevels; ++l) {
            acfacAmpPoints[p][l] = kSinglePointAmps[isVoltagePort(p) ? 0 : 1][l][0];
            for (int k = 0; k < 10; ++k) {
                acfacFrqPoints[p][l][k] = 100.0 * (k + 1);
                acfacFrqLimits[p][l][k] = acfacFrqPoints[p][l][k] + 50.0;
            }
        }
    }
    fillCells(acfacPhaPoints, 0.0);
    fillCells(acfacFrqFactors, 1.0);
    copyCells(acfacAmpMeasures, acfacFrqPoints);
    clearSelection(acfacCurrentSelecteds);
}

void ModelCalibrationEntity::initAuxDC()
{
    static const double points[5] = {24, 48, 110, 220, 300};
    static const double limits[5] = {0, 48, 110, 220, 350};
    fillCells(auxdcPoints, 0.0);
    fillCells(auxdcLimits, 0.0);
    fillCells(auxdcMeasures, 0.0);
    fillCells(auxdcFactors, 1.0);
    fillCells(auxdcOffsets, 0.0);
    for (int k = 0; k < 5; ++k) {
        auxdcPoints[AO_PORT_TYPE_UA][0][k] = points[k];
        auxdcLimits[AO_PORT_TYPE_UA][0][k] = limits[k];
        auxdcMeasures[AO_PORT_TYPE_UA][0][k] = points[k];
    }
    clearSelection(auxdcCurrentSelecteds);
    auxdcCurrentSelecteds[AO_PORT_TYPE_UA][0] = true;
}

void ModelCalibrationEntity::initDCAmp()
{
    static const double points[2][2][2] = {{{6, 24}, {60, 230}}, {{0.4, 1.6}, {2.4, 8}}};
    static const double limits[2][2][2] = {{{0, 30}, {0, 350}}, {{0, 2}, {0, 20}}};
    fillCells(dcampFrqPoints, 0.0);
    fillCells(dcampPhaPoints, 90.0);
    setByPortClass(dcampAmpPoints, points);
    setByPortClass(dcampAmpLimits, limits);
    fillCells(dcampAmpFactors, 1.0);
    fillCells(dcampAmpOffsets, 0.0);
    copyCells(dcampAmpMeasures, dcampAmpPoints);
    clearSelection(dcampCurrentSelecteds);
}

void ModelCalibrationEntity::initLLOAmp()
{
    static const double points[2][2][4] = {{{0.05, 0.16, 0.32, 0.64}, {0.96, 1.6, 3.2, 6.4}},
                                           {{0.05, 0.16, 0.32, 0.64}, {0.96, 1.6, 3.2, 6.4}}};
    static const double limits[2][2][4] = {{{0, 0.16, 0.32, 0.8}, {0, 1.6, 3.2, 8}},
                                           {{0, 0.16, 0.32, 0.8}, {0, 1.6, 3.2, 8}}};
    fillCells(lloampFrqPoints, 50.0);
    fillCells(lloampPhaPoints, 0.0);
    setByPortClass(lloampAmpPoints, points);
    setByPortClass(lloampAmpLimits, limits);
    fillCells(lloampAmpFactors, 1.0);
    fillCells(lloampAmpOffsets, 0.0);
    copyCells(lloampAmpMeasures, lloampAmpPoints);
    clearSelection(lloampCurrentSelecteds);
}

void ModelCalibrationEntity::initLLODco()
{
    static const double points[2][2][1] = {{{0.64}, {6.4}}, {{0.64}, {6.4}}};
    static const double limits[2][2][1] = {{{0.8}, {8}}, {{0.8}, {8}}};
    fillCells(llodcoFrqPoints, 50.0);
    fillCells(llodcoPhaPoints, 0.0);
    setByPortClass(llodcoAmpPoints, points);
    setByPortClass(llodcoAmpLimits, limits);
    fillCells(llodcoAmpOffsets, 0.0);
    fillCells(llodcoAmpMeasures, 0.0);
    clearSelection(llodcoCurrentSelecteds);
}

void ModelCalibrationEntity::initLLODC()
{
    static const double points[2][2][2] = {{{0.16, 0.64}, {1.6, 6.4}}, {{0.16, 0.64}, {1.6, 6.4}}};
    static const double limits[2][2][2] = {{{0, 0.8}, {0, 8}}, {{0, 0.8}, {0, 8}}};
    fillCells(llodcFrqPoints, 0.0);
    // Stored for the current ports as 270, but the run outputs 90 on every port.
    for (int p = 0; p < kPorts; ++p)
        for (int l = 0; l < kLevels; ++l)
            llodcPhaPoints[p][l] = isVoltagePort(p) ? 90.0 : 270.0;
    setByPortClass(llodcAmpPoints, points);
    setByPortClass(llodcAmpLimits, limits);
    fillCells(llodcAmpFactors, 1.0);
    fillCells(llodcAmpOffsets, 0.0);
    copyCells(llodcAmpMeasures, llodcAmpPoints);
    clearSelection(llodcCurrentSelecteds);
}

// ---- Run ---------------------------------------------------------------------------------

void ModelCalibrationEntity::resetCurrentPoint()
{
    currentPortIndex = -1;
    currentLevelIndex = -1;
    currentPointIndex = -1;
}

bool ModelCalibrationEntity::switchToNextPoint()
{
    const int count = pointCount(currentCalType);
    const bool* selected = selection(currentCalType);
    if (count == 0 || !selected)
        return false;

    const int startPort = currentPortIndex < 0 ? 0 : currentPortIndex;
    const int startLevel = currentLevelIndex < 0 ? 0 : currentLevelIndex;
    const int startPoint = currentPointIndex < 0 ? -1 : currentPointIndex;
    for (int p = startPort; p < kPorts; ++p) {
        for (int l = (p == startPort ? startLevel : 0); l < kLevels; ++l) {
            const int point = (p == startPort && l == startLevel) ? startPoint : -1;
            if (selected[p * kLevels + l] && point < count - 1) {
                currentPortIndex = p;
                currentLevelIndex = l;
                currentPointIndex = point + 1;
                return true;
            }
        }
    }
    return false;
}

void ModelCalibrationEntity::updateToDriverValue()
{
    const CALType type = currentCalType;
    const int p = currentPortIndex;
    const int l = currentLevelIndex;
    const int k = currentPointIndex;
    const bool portValid = p >= 0 && p < kPorts;
    const bool inBounds = validCell(p, l) && k >= 0 && k < pointCount(type);

    if (CommDriverTestOutputData* out = globalTestOutputData) {
        for (int c = 0; c < COMM_PORT_COUNT; ++c) {
            for (int e = 0; e < COMM_COMPONENT_COUNT; ++e) {
                out->outputRanges[c][e] = 0.0f;
                out->outputAngles[c][e] = 0.0f;
                out->outputFrequencies[c][e] = 0.0f;
            }
            out->outputLevelStates[c] = COMM_LEVELSTATE_TYPE_SMALL;
        }
        for (int i = 0; i < COMM_BINARY_COUNT; ++i) {
            if (CommDriverTestControlData* control = globalTestControlData)
                control->controlBOStates[i] = 0;
            out->outputBOHoldEnables[i] = 0;
            out->outputBOTurnEnables[i] = 0;
            out->outputBOInitStates[i] = 0;
            out->outputBIRiseEnables[i] = 0;
            out->outputBIFallEnables[i] = 0;
        }

        out->outputBILogic = COMM_BILOGIC_TYPE_AND;
        out->outputLinkStateType = COMM_LINKSTATE_TYPE_INITIATE;
        out->outputBOControlType = COMM_BOCONTROL_TYPE_MANUAL;
        out->outputTriggerType = COMM_TRIGGER_TYPE_TIME;
        out->outputTime = 36000.0f;
        switch (type) {
        case CAL_TYPE_ACFAC:
            out->outputLevelControlType = COMM_LEVELCONTROL_TYPE_MANUAL_ACFACTOR;
            break;
        case CAL_TYPE_LLOAMP:
        case CAL_TYPE_LLODCO:
        case CAL_TYPE_LLODC:
            out->outputLevelControlType = COMM_LEVELCONTROL_TYPE_MANUAL_LLO;
            break;
        default:
            out->outputLevelControlType = COMM_LEVELCONTROL_TYPE_MANUAL;
            break;
        }

        if (portValid) {
            const uint32_t levelState = l != 0 ? COMM_LEVELSTATE_TYPE_BIG : COMM_LEVELSTATE_TYPE_SMALL;
            out->outputLevelStates[p] = levelState;
            if (type == CAL_TYPE_ACPHA)
                out->outputLevelStates[AO_PORT_TYPE_UA] = levelState;
        }

        if (inBounds) {
            const CommDriverConfigureHardData defaults;
            const CommDriverConfigureHardData& hard =
                globalConfigureHardData ? *globalConfigureHardData : defaults;
            const float lloScale = (isVoltagePort(p) ? hard.maxVRange : hard.maxIRange) / 8.0f;
            const auto lowLevel = [lloScale](double point) { return double(toFloat(point) * lloScale); };

            switch (type) {
            case CAL_TYPE_ACAMP:
                setEntry(out, p, acampAmpPoints[p][l][k], acampPhaPoints[p][l], acampFrqPoints[p][l]);
                break;
            case CAL_TYPE_ACDCO:
                setEntry(out, p, acdcoAmpPoints[p][l][0], acdcoPhaPoints[p][l], acdcoFrqPoints[p][l]);
                break;
            case CAL_TYPE_ACPHA:
                // UA is the reference; written first so that calibrating UA
                // itself gives the same values.
                setEntry(out, AO_PORT_TYPE_UA, acphaAmpPoints[AO_PORT_TYPE_UA][l],
                         acphaPhaPoints[AO_PORT_TYPE_UA][l], acphaFrqPoints[AO_PORT_TYPE_UA][l][0]);
                setEntry(out, p, acphaAmpPoints[p][l], acphaPhaPoints[p][l], acphaFrqPoints[p][l][0]);
                break;
            case CAL_TYPE_ACFRQ:
                setEntry(out, p, acfrqAmpPoints[p][l][0], acfrqPhaPoints[p][l], acfrqFrqPoints[p][l]);
                break;
            case CAL_TYPE_ACFAC:
                setEntry(out, p, acfacAmpPoints[p][l], acfacPhaPoints[p][l], acfacFrqPoints[p][l][k]);
                break;
            case CAL_TYPE_DCAMP:
                setEntry(out, p, dcampAmpPoints[p][l][k], dcampPhaPoints[p][l], dcampFrqPoints[p][l]);
                if (hard.powerAmpType == 1 && !isVoltagePort(p)) {
                    // A digital amplifier drives DC current through the IA/IC pair.
                    const double point = dcampAmpPoints[p][l][k];
                    out->outputRanges[AO_PORT_TYPE_IA][0] = toFloat(point);
                    out->outputAngles[AO_PORT_TYPE_IA][0] = 270.0f;
                    out->outputRanges[AO_PORT_TYPE_IC][0] = toFloat(point);
                    out->outputAngles[AO_PORT_TYPE_IC][0] = 90.0f;
                    out->outputLevelStates[AO_PORT_TYPE_IA] = out->outputLevelStates[p];
                    out->outputLevelStates[AO_PORT_TYPE_IC] = out->outputLevelStates[p];
                    out->outputRanges[AO_PORT_TYPE_IB][0] = 0.0f;
                    out->outputAngles[AO_PORT_TYPE_IB][0] = -180.0f;
                }
                break;
            case CAL_TYPE_LLOAMP:
                setEntry(out, p, lowLevel(lloampAmpPoints[p][l][k]), lloampPhaPoints[p][l], lloampFrqPoints[p][l]);
                break;
            case CAL_TYPE_LLODCO:
                setEntry(out, p, lowLevel(llodcoAmpPoints[p][l][0]), llodcoPhaPoints[p][l], llodcoFrqPoints[p][l]);
                break;
            case CAL_TYPE_LLODC:
                setEntry(out, p, lowLevel(llodcAmpPoints[p][l][k]), 90.0, llodcFrqPoints[p][l]);
                break;
            default:
                break;   // AUXDC: the control record carries the set value
            }
        }
    }

    CommDriverTestControlData* control = globalTestControlData;
    if (control && type == CAL_TYPE_AUXDC) {
        control->controlPowerDCVAuxSwitch = 0;
        if (inBounds) {
            const double value = auxdcPoints[p][l][k];
            // Truncated to whole volts; saturated to the field.
            if (!(value > 0.0))
                control->controlPowerDCVAuxValue = 0;
            else if (value >= 4294967295.0)
                control->controlPowerDCVAuxValue = 4294967295u;
            else
                control->controlPowerDCVAuxValue = uint32_t(value);
        }
    }
}

ModelCalibrationEntity::PointArrays ModelCalibrationEntity::pointArrays(CALType type)
{
    switch (type) {
    case CAL_TYPE_ACAMP: return {&acampAmpMeasures[0][0][0], &acampAmpFactors[0][0][0], &acampAmpOffsets[0][0][0]};
    case CAL_TYPE_ACDCO: return {&acdcoAmpMeasures[0][0][0], nullptr, &acdcoAmpOffsets[0][0][0]};
    case CAL_TYPE_ACPHA: return {&acphaPhaMeasures[0][0][0], nullptr, &acphaPhaOffsets[0][0][0]};
    case CAL_TYPE_ACFRQ: return {&acfrqFrqMeasures[0][0][0], &acfrqFrqFactors[0][0][0], nullptr};
    case CAL_TYPE_ACFAC: return {&acfacAmpMeasures[0][0][0], &acfacFrqFactors[0][0][0], nullptr};
    case CAL_TYPE_AUXDC: return {&auxdcMeasures[0][0][0], &auxdcFactors[0][0][0], &auxdcOffsets[0][0][0]};
    case CAL_TYPE_DCAMP: return {&dcampAmpMeasures[0][0][0], &dcampAmpFactors[0][0][0], &dcampAmpOffsets[0][0][0]};
    case CAL_TYPE_LLOAMP:
        return {&lloampAmpMeasures[0][0][0], &lloampAmpFactors[0][0][0], &lloampAmpOffsets[0][0][0]};
    case CAL_TYPE_LLODCO: return {&llodcoAmpMeasures[0][0][0], nullptr, &llodcoAmpOffsets[0][0][0]};
    case CAL_TYPE_LLODC: return {&llodcAmpMeasures[0][0][0], &llodcAmpFactors[0][0][0], &llodcAmpOffsets[0][0][0]};
    default: return {nullptr, nullptr, nullptr};
    }
}

const double* ModelCalibrationEntity::measuresOf(CALType type) const
{
    return const_cast<ModelCalibrationEntity*>(this)->pointArrays(type).measures;
}

void ModelCalibrationEntity::resetCurSelFactor()
{
    // A run that ends before a point is measured must not leave that point
    // uncorrected: the coefficients the cells hold now are kept for the end
    // of the run. The measures stay cleared: a value from before the run
    // (or a default) is no reading of this one.
    RunKept kept;
    const PointArrays a = pointArrays(currentCalType);
    const bool* selected = selection(currentCalType);
    if (a.measures && selected) {
        const int n = kPorts * kLevels * pointCount(currentCalType);
        kept.type = currentCalType;
        std::copy(selected, selected + kPorts * kLevels, &kept.cells[0][0]);
        if (a.factors)
            kept.factors.assign(a.factors, a.factors + n);
        if (a.offsets)
            kept.offsets.assign(a.offsets, a.offsets + n);
    }
    resetSel(currentCalType);
    runKept = std::move(kept);
}

void ModelCalibrationEntity::computeCurSelFactor()
{
    const bool* selected = selection(currentCalType);
    if (selected) {
        for (int p = 0; p < kPorts; ++p)
            for (int l = 0; l < kLevels; ++l)
                if (selected[p * kLevels + l])
                    computeFactor(currentCalType, AOPORTType(p), l);
    }
    restoreUnmeasured();
    if (currentCalType == CAL_TYPE_ACFRQ)
        spreadFrequencyFactor();
}

void ModelCalibrationEntity::restoreUnmeasured()
{
    const RunKept kept = std::move(runKept);
    runKept = RunKept();
    const PointArrays a = pointArrays(kept.type);
    const int points = pointCount(kept.type);
    if (!a.measures)
        return;
    for (int c = 0; c < kPorts * kLevels; ++c) {
        if (!kept.cells[c / kLevels][c % kLevels])
            continue;
        for (int k = 0; k < points; ++k) {
            const int i = c * points + k;
            if (std::isfinite(a.measures[i]))
                continue;   // measured by this run
            if (a.factors)
                a.factors[i] = kept.factors[size_t(i)];
            if (a.offsets)
                a.offsets[i] = kept.offsets[size_t(i)];
        }
    }
}

void ModelCalibrationEntity::resetSel(CALType type)
{
    runKept = RunKept();
    if (type < CAL_TYPE_ACAMP || type > CAL_TYPE_LLODC) {
        if (type != CAL_TYPE_ALL)
            return;
        for (int t = CAL_TYPE_ACAMP; t <= CAL_TYPE_LLODC; ++t)
            resetSel(CALType(t));
        return;
    }
    const bool* selected = selection(type);
    for (int p = 0; p < kPorts; ++p)
        for (int l = 0; l < kLevels; ++l)
            if (selected[p * kLevels + l])
                resetFactor(type, AOPORTType(p), l);
    if (type == CAL_TYPE_ACFRQ)
        spreadFrequencyFactor();
}

void ModelCalibrationEntity::spreadFrequencyFactor()
{
    fillCells(acfrqFrqFactors, acfrqFrqFactors[AO_PORT_TYPE_UA][1][0]);
}

void ModelCalibrationEntity::resetFactor(CALType type, AOPORTType port, int level)
{
    const PointArrays a = pointArrays(type);
    if (!validCell(port, level) || !a.measures)
        return;
    const int points = pointCount(type);
    const int at = (int(port) * kLevels + level) * points;
    resetCell(a.measures + at, a.factors ? a.factors + at : nullptr, a.offsets ? a.offsets + at : nullptr, points);
}

void ModelCalibrationEntity::computeFactor(CALType type, AOPORTType port, int level)
{
    const int p = port;
    const int l = level;
    if (!validCell(p, l))
        return;
    switch (type) {
    case CAL_TYPE_ACAMP:
        computeSegments(acampAmpPoints[p][l], acampAmpMeasures[p][l], acampAmpFactors[p][l],
                        acampAmpOffsets[p][l], 4, kFactorThreshold);
        break;
    case CAL_TYPE_ACDCO:
        computeOffset(acdcoAmpMeasures[p][l][0], &acdcoAmpOffsets[p][l][0]);
        break;
    case CAL_TYPE_ACPHA:
        computeOffset(acphaPhaMeasures[p][l][0], &acphaPhaOffsets[p][l][0]);
        break;
    case CAL_TYPE_ACFRQ:
        computeRatio(acfrqFrqPoints[p][l], acfrqFrqMeasures[p][l][0], &acfrqFrqFactors[p][l][0]);
        break;
    case CAL_TYPE_ACFAC:
        for (int k = 0; k < 10; ++k)
            computeRatio(acfacAmpPoints[p][l], acfacAmpMeasures[p][l][k], &acfacFrqFactors[p][l][k]);
        break;
    case CAL_TYPE_AUXDC:
        computeSegments(auxdcPoints[p][l], auxdcMeasures[p][l], auxdcFactors[p][l],
                        auxdcOffsets[p][l], 5, kAuxFactorThreshold);
        break;
    case CAL_TYPE_DCAMP:
        computeSegments(dcampAmpPoints[p][l], dcampAmpMeasures[p][l], dcampAmpFactors[p][l],
                        dcampAmpOffsets[p][l], 2, kFactorThreshold);
        break;
    case CAL_TYPE_LLOAMP:
        computeSegments(lloampAmpPoints[p][l], lloampAmpMeasures[p][l], lloampAmpFactors[p][l],
                        lloampAmpOffsets[p][l], 4, kFactorThreshold);
        break;
    case CAL_TYPE_LLODCO:
        computeOffset(llodcoAmpMeasures[p][l][0], &llodcoAmpOffsets[p][l][0]);
        break;
    case CAL_TYPE_LLODC:
        computeSegments(llodcAmpPoints[p][l], llodcAmpMeasures[p][l], llodcAmpFactors[p][l],
                        llodcAmpOffsets[p][l], 2, kFactorThreshold);
        break;
    default:
        break;
    }
}

double ModelCalibrationEntity::getCurrentDefault() const
{
    const CALType type = currentCalType;
    const int p = currentPortIndex;
    const int l = currentLevelIndex;
    const int k = currentPointIndex;
    if (!validCell(p, l) || k < 0 || k >= pointCount(type))
        return 0.0;
    switch (type) {
    case CAL_TYPE_ACAMP: return acampAmpPoints[p][l][k];
    case CAL_TYPE_ACPHA: return acphaPhaPoints[p][l];
    case CAL_TYPE_ACFRQ: return acfrqFrqPoints[p][l];
    case CAL_TYPE_ACFAC: return acfacAmpPoints[p][l];
    case CAL_TYPE_AUXDC: return auxdcPoints[p][l][k];
    case CAL_TYPE_DCAMP: return dcampAmpPoints[p][l][k];
    case CAL_TYPE_LLOAMP: return lloampAmpPoints[p][l][k];
    case CAL_TYPE_LLODC: return llodcAmpPoints[p][l][k];
    case CAL_TYPE_ACDCO:    // the measure is the offset itself: none is 0
    case CAL_TYPE_LLODCO:
    default:
        return 0.0;
    }
}

void ModelCalibrationEntity::setCurrentMeasure(double value)
{
    setCurrentMeasure(currentCalType, currentPortIndex, currentLevelIndex, currentPointIndex, value);
}

void ModelCalibrationEntity::setCurrentMeasure(CALType type, int port, int level, int point, double value)
{
    if (!validCell(port, level) || point < 0 || point >= pointCount(type))
        return;
    const int p = port;
    const int l = level;
    const int k = point;
    switch (type) {
    case CAL_TYPE_ACAMP: acampAmpMeasures[p][l][k] = value; break;
    case CAL_TYPE_ACDCO: acdcoAmpMeasures[p][l][k] = value; break;
    case CAL_TYPE_ACPHA: acphaPhaMeasures[p][l][k] = value - 360.0; break;
    case CAL_TYPE_ACFRQ: acfrqFrqMeasures[p][l][k] = value; break;
    case CAL_TYPE_ACFAC: acfacAmpMeasures[p][l][k] = value; break;
    case CAL_TYPE_AUXDC: auxdcMeasures[p][l][k] = value; break;
    case CAL_TYPE_DCAMP: dcampAmpMeasures[p][l][k] = value; break;
    case CAL_TYPE_LLOAMP: lloampAmpMeasures[p][l][k] = value; break;
    case CAL_TYPE_LLODCO: llodcoAmpMeasures[p][l][k] = value; break;
    case CAL_TYPE_LLODC: llodcAmpMeasures[p][l][k] = value; break;
    default: break;
    }
}

double ModelCalibrationEntity::getViewPoint(CALType type, int port, int level, int point) const
{
    if (!validCell(port, level) || point < 0 || point >= pointCount(type))
        return 0.0;
    const int p = port;
    const int l = level;
    const int k = point;
    switch (type) {
    case CAL_TYPE_ACAMP: return acampAmpPoints[p][l][k];
    case CAL_TYPE_ACDCO: return acdcoAmpPoints[p][l][0];
    case CAL_TYPE_ACPHA: return acphaAmpPoints[p][l];
    case CAL_TYPE_ACFRQ: return acfrqAmpPoints[p][l][0];
    case CAL_TYPE_ACFAC: return acfacAmpPoints[p][l];
    case CAL_TYPE_AUXDC: return auxdcPoints[p][l][k];
    case CAL_TYPE_DCAMP: return dcampAmpPoints[p][l][k];
    case CAL_TYPE_LLOAMP: return lloampAmpPoints[p][l][k];
    case CAL_TYPE_LLODCO: return llodcoAmpPoints[p][l][0];
    case CAL_TYPE_LLODC: return llodcAmpPoints[p][l][k];
    default: return 0.0;
    }
}

double ModelCalibrationEntity::getViewFrqPoint(CALType type, int port, int level, int point) const
{
    if (type != CAL_TYPE_ACFAC || !validCell(port, level) || point < 0 || point >= 10)
        return 0.0;
    return acfacFrqPoints[port][level][point];
}

void ModelCalibrationEntity::updateToDriverFactor()
{
    CommDriverConfigureCalData* cal = globalConfigureCalData;
    if (!cal)
        return;
    copyToDriver(cal->acdcoAmpLimits, acdcoAmpLimits);
    copyToDriver(cal->acdcoAmpOffsets, acdcoAmpOffsets);
    copyToDriver(cal->acampAmpLimits, acampAmpLimits);
    copyToDriver(cal->acampAmpFactors, acampAmpFactors);
    copyToDriver(cal->acampAmpOffsets, acampAmpOffsets);
    copyToDriver(cal->acfrqAmpLimits, acfrqAmpLimits);
    copyToDriver(cal->acfrqFrqFactors, acfrqFrqFactors);
    copyToDriver(cal->acphaFrqLimits, acphaFrqLimits);
    copyToDriver(cal->acphaPhaOffsets, acphaPhaOffsets);
    copyToDriver(cal->acfacFrqLimits, acfacFrqLimits);
    copyToDriver(cal->acfacFrqFactors, acfacFrqFactors);
    copyToDriver(cal->acfacFrqPoints, acfacFrqPoints);
    copyToDriver(cal->auxdcPwmLimits, auxdcLimits);
    copyToDriver(cal->auxdcPwmFactors, auxdcFactors);
    copyToDriver(cal->auxdcPwmOffsets, auxdcOffsets);
    copyToDriver(cal->dcampAmpLimits, dcampAmpLimits);
    copyToDriver(cal->dcampAmpFactors, dcampAmpFactors);
    copyToDriver(cal->dcampAmpOffsets, dcampAmpOffsets);
    copyToDriver(cal->llodcoAmpLimits, llodcoAmpLimits);
    copyToDriver(cal->llodcoAmpOffsets, llodcoAmpOffsets);
    copyToDriver(cal->lloampAmpLimits, lloampAmpLimits);
    copyToDriver(cal->lloampAmpFactors, lloampAmpFactors);
    copyToDriver(cal->lloampAmpOffsets, lloampAmpOffsets);
    copyToDriver(cal->llodcAmpLimits, llodcAmpLimits);
    copyToDriver(cal->llodcAmpFactors, llodcAmpFactors);
    copyToDriver(cal->llodcAmpOffsets, llodcAmpOffsets);
}

void ModelCalibrationEntity::reset(CALType type)
{
    runKept = RunKept();
    if (type == CAL_TYPE_ALL) {
        for (int t = CAL_TYPE_ACAMP; t <= CAL_TYPE_LLODC; ++t)
            reset(CALType(t));
        return;
    }
    for (int p = 0; p < kPorts; ++p)
        for (int l = 0; l < kLevels; ++l)
            resetFactor(type, AOPORTType(p), l);
}
