// ViewOscillateModel: settings, swing limit, results and the frame hooks.

#include "ViewOscillateModel.h"

#include "ControllerCenter.h"
#include "ModelOscillateEntity.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void clearRecord(ViewOscillateModel::faultActionValStruct& record)
{
    record.portCnt = 0;
    std::fill(std::begin(record.actionVal), std::end(record.actionVal), kNaN);
}

} // namespace

ViewOscillateModel::ViewOscillateModel(QObject* parent)
    : ViewPortOutputModel(TEST_OSCILLATE, parent)
    , oscillatePercent(0.1)
    , oscillateFrequency(5.0)
    , oscillateAngle(0.0)
    , oscillatePort(RAMP_PORT_TYPE_UA)
    , testState(0)
{
    // The snapshot starts as the settings: a stop before the first run puts
    // the defaults back.
    takeSnapshot();
    clearResults();
}

ViewOscillateModel::~ViewOscillateModel() = default;

// ---- Swing --------------------------------------------------------------------------------

void ViewOscillateModel::setOscillatePort(int index)
{
    const RampPortType port = rampPortFromRow(index, oscillatePort);
    const bool changed = port != oscillatePort;
    // A result is labelled by the group it was taken with.
    if (changed) {
        oscillatePort = port;
        clearResults();
    }
    pushOutputs(changed && isTestRunning());
}

void ViewOscillateModel::setOscillatePercent(double percent)
{
    const bool changed = oscillatePercent * 100.0 != percent;
    oscillatePercent = percent / 100.0;
    pushOutputs(changed && isTestRunning());
}

void ViewOscillateModel::setOscillateFrequency(double frequency)
{
    const bool changed = oscillateFrequency != frequency;
    oscillateFrequency = frequency;
    pushOutputs(changed && isTestRunning());
}

void ViewOscillateModel::setOscillateAngle(double angle)
{
    const bool changed = oscillateAngle != angle;
    oscillateAngle = angle;
    pushOutputs(changed && isTestRunning());
}

int ViewOscillateModel::getOscillatePort() const
{
    return rowFromRampPort(oscillatePort);
}

double ViewOscillateModel::getOscillatePercent() const
{
    return oscillatePercent * 100.0;
}

double ViewOscillateModel::getOscillateFrequency() const
{
    return oscillateFrequency;
}

double ViewOscillateModel::getOscillateAngle() const
{
    return oscillateAngle;
}

double ViewOscillateModel::getOscillatePercentMax()
{
    double maximum = 100.0;
    for (int p = AO_PORT_TYPE_UA; p <= AO_PORT_TYPE_IX; ++p) {
        if (groupIndexOf(oscillatePort, p) < 0)
            continue;
        const double amplitude = outputRanges[p];
        if (!(amplitude > 0.0))
            continue;   // no swing on it (played as 0), no limit
        const double deviceMax = isVoltagePort(p) ? getDeviceAOVMaxRange() : getDeviceAOIMaxRange();
        // A channel already at or above the maximum leaves no room to swing.
        const double candidate = std::max(deviceMax - amplitude, 0.0) / amplitude * 100.0;
        if (!(maximum < candidate))
            maximum = candidate;
    }
    setOscillatePercent(std::min(maximum, getOscillatePercent()));
    return maximum;
}

// ---- Results ---------------------------------------------------------------------------------------

void ViewOscillateModel::clearResults()
{
    for (int i = 0; i < 4; ++i) {
        clearRecord(faultActionValues[i]);
        faultActionTimes[i] = kNaN;
    }
    if (testState != -1)
        testState = 0;
}

int ViewOscillateModel::getTestState() const
{
    return testState;
}

bool ViewOscillateModel::isExistFaultActionValue() const
{
    return faultActionValues[0].portCnt > 0;
}

QString ViewOscillateModel::getFaultActionValue() const
{
    const faultActionValStruct& record = faultActionValues[0];
    int channels[3];
    const int count = groupChannels(oscillatePort, channels);
    const int decimals = record.actionVal[0] >= 1000.0 ? 1 : 3;
    QStringList parts;
    for (int k = 0; k < count; ++k)
        parts << doubleFormatToString(testState == 1 ? record.actionVal[k] : kNaN, decimals);
    const QString unit = isVoltageGroup(oscillatePort) ? QStringLiteral(" V") : QStringLiteral(" A");
    return parts.join(QStringLiteral("; ")) + unit;
}

double ViewOscillateModel::getFaultActionTime() const
{
    return testState == 1 ? faultActionTimes[0] : kNaN;
}

// ---- Frame hooks ---------------------------------------------------------------------------------

void ViewOscillateModel::pushToEntity(DATAType type)
{
    ModelOscillateEntity* entity = center()->testTestor->dataOscillate;
    QMutexLocker lock(&entity->entityLock);
    if (type == DATA_TYPE_RT_BO) {
        std::copy(std::begin(testingBO), std::end(testingBO), entity->outputBOStates);
        return;
    }
    if (type != DATA_TYPE_TEST_OUTPUTVI && type != DATA_TYPE_TEST_OUTPUTDATA)
        return;
    entity->oscillatePort = ModelOscillateEntity::RampPortType(oscillatePort);
    entity->oscillateFrequency = oscillateFrequency;
    entity->oscillatePercent = oscillatePercent;
    // The swing plays at the angle the page shows and the report prints.
    entity->oscillateAngle = oscillateAngle;
    std::copy(std::begin(outputRanges), std::end(outputRanges), entity->outputRanges);
    std::copy(std::begin(outputAngles), std::end(outputAngles), entity->outputAngles);
    std::copy(std::begin(outputFrequencies), std::end(outputFrequencies), entity->outputFrequencies);
    const ControllerConfiguration* config = center()->testConfiguration;
    entity->formatLimitValue(config->maxVRange, config->maxIRange);
    std::copy(std::begin(outputBIStates), std::end(outputBIStates), entity->stateOutputBIStates);
    std::copy(std::begin(outputBOStates), std::end(outputBOStates), entity->stateOutputBOStates);
    entity->stateBILogicTypes = ModelOscillateEntity::AOBILogicType(outputBILogicType);
}

void ViewOscillateModel::pullOutputs()
{
    ModelOscillateEntity* entity = center()->testTestor->dataOscillate;
    QMutexLocker lock(&entity->entityLock);
    std::copy(std::begin(entity->outputRanges), std::end(entity->outputRanges), outputRanges);
    std::copy(std::begin(entity->outputAngles), std::end(entity->outputAngles), outputAngles);
    std::copy(std::begin(entity->outputFrequencies), std::end(entity->outputFrequencies), outputFrequencies);
}

void ViewOscillateModel::pullResults()
{
    ModelOscillateEntity* entity = center()->testTestor->dataOscillate;
    QMutexLocker lock(&entity->entityLock);
    for (int i = 0; i < 4; ++i) {
        faultActionTimes[i] = entity->faultActionTimes[i];
        faultActionValStruct& to = faultActionValues[i];
        clearRecord(to);
        to.portCnt = std::clamp(entity->faultActionValues[i].portCnt, 0, 3);
        for (int k = 0; k < to.portCnt; ++k)
            to.actionVal[k] = entity->faultActionValues[i].actionVal[k];
    }
    testState = 1;
}

void ViewOscillateModel::takeSnapshot()
{
    std::copy(std::begin(outputRanges), std::end(outputRanges), beginRanges);
    std::copy(std::begin(outputAngles), std::end(outputAngles), beginAngles);
    std::copy(std::begin(outputFrequencies), std::end(outputFrequencies), beginFrequencies);
    beginOscillatePercent = oscillatePercent;
    beginOscillateFrequency = oscillateFrequency;
    beginOscillateAngle = oscillateAngle;
    beginOscillatePort = oscillatePort;
}

void ViewOscillateModel::restoreSnapshot()
{
    std::copy(std::begin(beginRanges), std::end(beginRanges), outputRanges);
    std::copy(std::begin(beginAngles), std::end(beginAngles), outputAngles);
    std::copy(std::begin(beginFrequencies), std::end(beginFrequencies), outputFrequencies);
    oscillatePercent = beginOscillatePercent;
    oscillateFrequency = beginOscillateFrequency;
    oscillateAngle = beginOscillateAngle;
    oscillatePort = beginOscillatePort;
}

void ViewOscillateModel::swapSnapshot()
{
    std::swap_ranges(std::begin(outputRanges), std::end(outputRanges), beginRanges);
    std::swap_ranges(std::begin(outputAngles), std::end(outputAngles), beginAngles);
    std::swap_ranges(std::begin(outputFrequencies), std::end(outputFrequencies), beginFrequencies);
    std::swap(oscillatePercent, beginOscillatePercent);
    std::swap(oscillateFrequency, beginOscillateFrequency);
    std::swap(oscillateAngle, beginOscillateAngle);
    std::swap(oscillatePort, beginOscillatePort);
}

void ViewOscillateModel::beginResults()
{
    testState = 0;
    clearResults();
    testState = -1;
}

void ViewOscillateModel::settleResults()
{
    if (testState != 1)
        testState = 0;
}
