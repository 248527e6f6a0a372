// ViewAlternateModel: settings, stepping, ramp, results and the fault state.

#include "ViewAlternateModel.h"

#include "BaseDataPhaseValue.h"
#include "BaseModelDataDistance.h"
#include "ControllerCenter.h"
#include "ModelAlternateEntity.h"

#include <algorithm>
#include <cmath>
#include <iterator>

ViewAlternateModel::ViewAlternateModel(QObject* parent)
    : ViewRampOutputModel(TEST_ALTERNATE, parent)
{
    // The snapshot starts as the outputs: a reset before the first run puts
    // the defaults back.
    takeSnapshot();
    for (int g = 0; g < 16; ++g) {
        beginRampRanges[g] = 0.0;
        beginRampAngles[g] = 0.0;
        beginRampFrequencies[g] = 10.0;
        endRampRanges[g] = isVoltageGroup(g) ? rateVoltage : rateCurrent;
        endRampAngles[g] = 360.0;
        endRampFrequencies[g] = rateFrequency;
    }
    std::fill(std::begin(actionRampStep), std::end(actionRampStep), 1.0);
    clearResults();
}

ViewAlternateModel::~ViewAlternateModel() = default;

// ---- Item arrays -------------------------------------------------------------------------

double* ViewAlternateModel::endRampItem(int item)
{
    return itemArray(item, endRampRanges, endRampAngles, endRampFrequencies);
}

const double* ViewAlternateModel::endRampItem(int item) const
{
    return itemArray(item, endRampRanges, endRampAngles, endRampFrequencies);
}

double* ViewAlternateModel::beginRampItem(int item)
{
    return itemArray(item, beginRampRanges, beginRampAngles, beginRampFrequencies);
}

const double* ViewAlternateModel::beginRampItem(int item) const
{
    return itemArray(item, beginRampRanges, beginRampAngles, beginRampFrequencies);
}

// ---- Ramp values, step, time, mode, group and item ---------------------------------------------

void ViewAlternateModel::setBeginRampValue(double beginRamp)
{
    if (double* values = beginRampItem(faultActionItem))
        values[faultActionPort] = beginRamp;
}

void ViewAlternateModel::setEndRampValue(double endRamp)
{
    if (double* values = endRampItem(faultActionItem))
        values[faultActionPort] = endRamp;
}

double ViewAlternateModel::getBeginRampValue() const
{
    const double* values = beginRampItem(faultActionItem);
    return values ? values[faultActionPort] : 0.0;
}

double ViewAlternateModel::getEndRampValue() const
{
    const double* values = endRampItem(faultActionItem);
    return values ? values[faultActionPort] : 0.0;
}

void ViewAlternateModel::setRampStepValue(double stepRamp)
{
    if (isRampItem(faultActionItem))
        actionRampStep[faultActionItem] = stepRamp;
}

double ViewAlternateModel::getRampStepValue() const
{
    return isRampItem(faultActionItem) ? actionRampStep[faultActionItem] : 0.0;
}

void ViewAlternateModel::setFaultActionPort(int index)
{
    const RampPortType port = rampPortFromRow(index, faultActionPort);
    if (port == faultActionPort)
        return;
    // A result is labelled by the group and item it was taken with.
    faultActionPort = port;
    clearResults();
}

int ViewAlternateModel::getFaultActionPort() const
{
    return rowFromRampPort(faultActionPort);
}

void ViewAlternateModel::setFaultActionItem(RampItemType actionItem)
{
    if (!isRampItem(actionItem) || actionItem == faultActionItem)
        return;
    faultActionItem = actionItem;
    clearResults();
}

// ---- Stepping ------------------------------------------------------------------------------------

bool ViewAlternateModel::quickChange(bool toAdd)
{
    if (!steppingAllowed() || !isRampItem(faultActionItem))
        return false;
    if (autoRampEnabled)
        return handAutoRamp(toAdd);
    int channels[3];
    const int count = groupChannels(faultActionPort, channels);

    double ranges[8];
    double angles[8];
    double frequencies[8];
    std::copy(std::begin(outputRanges), std::end(outputRanges), ranges);
    std::copy(std::begin(outputAngles), std::end(outputAngles), angles);
    std::copy(std::begin(outputFrequencies), std::end(outputFrequencies), frequencies);
    const double step = toAdd ? actionRampStep[faultActionItem] : -actionRampStep[faultActionItem];
    // Only the stepped ports are held to their limits: a value typed into
    // another port (an angle of -120, a frequency of 0 on an absent UX) stays.
    for (int k = 0; k < count; ++k) {
        const int p = channels[k];
        switch (faultActionItem) {
        case RAMP_ITEM_TYPE_RANGE:
            ranges[p] = std::clamp(ranges[p] + step, 0.0, portRangeLimit(p));
            break;
        case RAMP_ITEM_TYPE_ANGLE:
            angles[p] = foldAngle(angles[p] + step);
            break;
        case RAMP_ITEM_TYPE_FREQUENCY:
            frequencies[p] = std::clamp(frequencies[p] + step, ModelEntity::kMinOutputFrequency,
                                        ModelEntity::kMaxOutputFrequency);
            break;
        }
    }
    bool changed = false;
    for (int p = 0; p < 8; ++p) {
        changed = changed || ranges[p] != outputRanges[p] || angles[p] != outputAngles[p]
                  || frequencies[p] != outputFrequencies[p];
    }
    std::copy(std::begin(ranges), std::end(ranges), outputRanges);
    std::copy(std::begin(angles), std::end(angles), outputAngles);
    std::copy(std::begin(frequencies), std::end(frequencies), outputFrequencies);
    pushOutputs(changed && isTestRunning());
    return true;
}

void ViewAlternateModel::quickChange(AOPortType port, bool reset, double factor, bool toDevice)
{
    quickChangeRange(port, reset, factor, toDevice);
}

// ---- Results ---------------------------------------------------------------------------------------

QString ViewAlternateModel::getFaultActionValue(int index) const
{
    if (!isRecordIndex(index))
        return QString();
    return groupValuesText(faultActionValues[index], faultActionPort) + QLatin1Char(' ') + unitText();
}

// ---- Impedance calculator -------------------------------------------------------------------------

bool ViewAlternateModel::doComputerDistance()
{
    // The output table is locked while the engine ramps: a switch would
    // advance the ramp.
    const bool running = isTestRunning();
    if (running && autoRampEnabled)
        return false;
    BaseDataPhaseValue values[8];
    if (!BaseModelDataDistance::getInstance()->compute(values)) {
        showUserMessage(tr("故障无法计算，输出值未改变：请检查短路阻抗和计算模型。"));
        return false;
    }
    for (int p = 0; p < 8; ++p) {
        outputRanges[p] = values[p].getRange();
        outputAngles[p] = values[p].getAngle();
    }
    pushOutputs(running);
    return true;
}

// ---- Frame hooks ---------------------------------------------------------------------------------

ModelActionRampEntity* ViewAlternateModel::rampEntity() const
{
    return center()->testTestor->dataAlternate;
}
