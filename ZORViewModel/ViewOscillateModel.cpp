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

} // namespace

ViewOscillateModel::ViewOscillateModel(QObject* parent)
    : ViewPortOutputModel(TEST_OSCILLATE, parent)
    , oscillatePercent(0.1)
    , oscillateFrequency(5.0)
    , oscillateAngle(0.0)
    , oscillatePort(RAMP_PORT_TYPE_UA)
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

double ViewOscillateModel::minSwingFrequency()
{
    return ModelOscillateEntity::kMinSwingFrequency;
}

void ViewOscillateModel::setOscillateFrequency(double frequency)
{
    if (!(frequency >= ModelOscillateEntity::kMinSwingFrequency && frequency <= ModelEntity::kMaxOutputFrequency))
        return;
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

bool ViewOscillateModel::isExistFaultActionValue() const
{
    return faultActionValues[0].portCnt > 0;
}

QString ViewOscillateModel::getFaultActionValue() const
{
    const QString unit = isVoltageGroup(oscillatePort) ? QStringLiteral(" V") : QStringLiteral(" A");
    return groupValuesText(faultActionValues[0], oscillatePort) + unit;
}

double ViewOscillateModel::getFaultActionTime() const
{
    return testState == 1 ? faultActionTimes[0] : kNaN;
}

// ---- Frame hooks ---------------------------------------------------------------------------------

void ViewOscillateModel::pushToEntity(DATAType type)
{
    const ControllerConfiguration* config = center()->testConfiguration;
    pushPortEntity(center()->testTestor->dataOscillate, type, config->maxVRange, config->maxIRange,
                   [this](ModelOscillateEntity* entity) {
                       entity->oscillatePort = ModelOscillateEntity::RampPortType(oscillatePort);
                       entity->oscillateFrequency = oscillateFrequency;
                       entity->oscillatePercent = oscillatePercent;
                       // The swing plays at the angle the page shows and the report prints.
                       entity->oscillateAngle = oscillateAngle;
                   });
}

void ViewOscillateModel::pullOutputs()
{
    pullOutputsFrom(center()->testTestor->dataOscillate);
}

void ViewOscillateModel::pullResults()
{
    ModelOscillateEntity* entity = center()->testTestor->dataOscillate;
    QMutexLocker lock(&entity->entityLock);
    for (int i = 0; i < 4; ++i) {
        faultActionTimes[i] = entity->faultActionTimes[i];
        takeRecord(faultActionValues[i], entity->faultActionValues[i]);
    }
    // The notices of a run without a trip leave "No Action" to its end.
    if (faultActionValues[0].portCnt > 0)
        testState = 1;
}

void ViewOscillateModel::takeSnapshot()
{
    ViewPortOutputModel::takeSnapshot();
    beginOscillatePercent = oscillatePercent;
    beginOscillateFrequency = oscillateFrequency;
    beginOscillateAngle = oscillateAngle;
    beginOscillatePort = oscillatePort;
}

void ViewOscillateModel::restoreSnapshot()
{
    ViewPortOutputModel::restoreSnapshot();
    oscillatePercent = beginOscillatePercent;
    oscillateFrequency = beginOscillateFrequency;
    oscillateAngle = beginOscillateAngle;
    oscillatePort = beginOscillatePort;
}

void ViewOscillateModel::swapSnapshot()
{
    ViewPortOutputModel::swapSnapshot();
    std::swap(oscillatePercent, beginOscillatePercent);
    std::swap(oscillateFrequency, beginOscillateFrequency);
    std::swap(oscillateAngle, beginOscillateAngle);
    std::swap(oscillatePort, beginOscillatePort);
}

