// ViewDirectModel: settings, stepping, ramp and results of the DC test.

#include "ViewDirectModel.h"

#include "ControllerCenter.h"
#include "ModelDirectEntity.h"

#include <QVector>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kAngle = 90.0;

} // namespace

ViewDirectModel::ViewDirectModel(QObject* parent)
    : ViewRampOutputModel(TEST_DIRECT, parent)
{
    std::fill(std::begin(outputAngles), std::end(outputAngles), kAngle);
    std::fill(std::begin(outputFrequencies), std::end(outputFrequencies), 0.0);
    // The rated current as a DC channel gives it.
    for (int p = 0; p < 8; ++p)
        outputRanges[p] = std::min(outputRanges[p], channelLimit(p));
    // The snapshot starts as the outputs: a reset before the first run puts
    // the defaults back.
    takeSnapshot();
    for (int g = 0; g < 16; ++g) {
        beginRampRanges[g] = 0.0;
        endRampRanges[g] = isVoltageGroup(g) ? rateVoltage : rateCurrent / 2.0;
    }
    actionRampStep[0] = 1.0;
    clearResults();
}

ViewDirectModel::~ViewDirectModel() = default;

bool ViewDirectModel::takesNumber(double value)
{
    return std::isfinite(value);
}

double ViewDirectModel::channelLimit(int port) const
{
    const ControllerConfiguration* config = center()->testConfiguration;
    return isVoltagePort(port) ? config->maxVRange : config->maxIRange / 2.0;
}

// ---- Ramp values, step, time, mode, group and item ---------------------------------------------

void ViewDirectModel::setBeginRampValue(double beginRamp)
{
    if (takesNumber(beginRamp))
        beginRampRanges[faultActionPort] = beginRamp;
}

void ViewDirectModel::setEndRampValue(double endRamp)
{
    if (takesNumber(endRamp))
        endRampRanges[faultActionPort] = endRamp;
}

double ViewDirectModel::getBeginRampValue() const
{
    return beginRampRanges[faultActionPort];
}

double ViewDirectModel::getEndRampValue() const
{
    return endRampRanges[faultActionPort];
}

void ViewDirectModel::setRampStepValue(double stepRamp)
{
    if (takesNumber(stepRamp))
        actionRampStep[RAMP_ITEM_TYPE_RANGE] = stepRamp;
}

double ViewDirectModel::getRampStepValue() const
{
    return actionRampStep[RAMP_ITEM_TYPE_RANGE];
}

void ViewDirectModel::setFaultActionPort(int index)
{
    // The list: UA UB UC [UX] UAUBUC IA IB IC [IX] IAIBIC.
    const bool volFour = volPhasesType == PHASES_TYPE_FOUR;
    const bool curFour = curPhasesType == PHASES_TYPE_FOUR;
    QVector<RampPortType> rows = {RAMP_PORT_TYPE_UA, RAMP_PORT_TYPE_UB, RAMP_PORT_TYPE_UC};
    if (volFour)
        rows << RAMP_PORT_TYPE_UX;
    rows << RAMP_PORT_TYPE_UAUBUC << RAMP_PORT_TYPE_IA << RAMP_PORT_TYPE_IB << RAMP_PORT_TYPE_IC;
    if (curFour)
        rows << RAMP_PORT_TYPE_IX;
    // Rows up to 9 past the list's end give the last entry, IAIBIC.
    RampPortType port = RAMP_PORT_TYPE_UA;
    if (index >= 0 && index <= 9)
        port = index < rows.size() ? rows.at(index) : RAMP_PORT_TYPE_IAIBIC;
    if (port == faultActionPort)
        return;
    // A result is labelled by the group it was taken on.
    faultActionPort = port;
    clearResults();
}

int ViewDirectModel::getFaultActionPort() const
{
    const int volLess = volPhasesType != PHASES_TYPE_FOUR ? 1 : 0;
    const int curLess = curPhasesType != PHASES_TYPE_FOUR ? 1 : 0;
    if (faultActionPort >= RAMP_PORT_TYPE_UA && faultActionPort <= RAMP_PORT_TYPE_UX)
        return faultActionPort;
    if (faultActionPort >= RAMP_PORT_TYPE_UAUBUC && faultActionPort <= RAMP_PORT_TYPE_IX)
        return faultActionPort - 3 - volLess;
    if (faultActionPort == RAMP_PORT_TYPE_IAIBIC)
        return 9 - volLess - curLess;
    return 0;
}

void ViewDirectModel::setFaultActionItem(RampItemType actionItem)
{
    if (actionItem == RAMP_ITEM_TYPE_RANGE)
        faultActionItem = actionItem;
}

// ---- Stepping ------------------------------------------------------------------------------------

bool ViewDirectModel::quickChange(bool toAdd)
{
    if (!steppingAllowed())
        return false;
    if (autoRampEnabled)
        return handAutoRamp(toAdd);

    double ranges[8];
    std::copy(std::begin(outputRanges), std::end(outputRanges), ranges);
    const double step = toAdd ? actionRampStep[RAMP_ITEM_TYPE_RANGE] : -actionRampStep[RAMP_ITEM_TYPE_RANGE];
    int channels[3];
    const int count = groupChannels(faultActionPort, channels);
    for (int k = 0; k < count; ++k)
        ranges[channels[k]] += step;
    // Every channel, not only the stepped ones.
    bool changed = false;
    for (int p = 0; p < 8; ++p) {
        if (ranges[p] < 0.0)
            ranges[p] = 0.0;
        else if (ranges[p] > channelLimit(p))
            ranges[p] = channelLimit(p);
        changed = changed || ranges[p] != outputRanges[p];
    }
    std::copy(std::begin(ranges), std::end(ranges), outputRanges);
    pushOutputs(changed && isTestRunning());
    return true;
}

void ViewDirectModel::quickChange(AOPortType port, bool reset, double factor, bool toDevice)
{
    quickChangeRange(port, reset, factor, toDevice);
}

// ---- Results ---------------------------------------------------------------------------------------

QString ViewDirectModel::getFaultActionValue(int index) const
{
    if (!isRecordIndex(index))
        return QString();
    const faultActionValStruct& record = faultActionValues[index];
    int channels[3];
    const int count = std::max(groupChannels(faultActionPort, channels), 1);
    QStringList parts;
    for (int k = 0; k < count; ++k)
        parts << doubleFormatToString(testState == 1 ? record.actionVal[k] : kNaN, 3);
    return parts.join(QStringLiteral("; ")) + (isCurrentGroup() ? QStringLiteral(" A") : QStringLiteral(" V"));
}

// ---- Frame hooks ---------------------------------------------------------------------------------

ModelActionRampEntity* ViewDirectModel::rampEntity() const
{
    return center()->testTestor->dataDirect;
}

void ViewDirectModel::takeSnapshot()
{
    std::copy(std::begin(outputRanges), std::end(outputRanges), beginRanges);
}

void ViewDirectModel::restoreSnapshot()
{
    std::copy(std::begin(beginRanges), std::end(beginRanges), outputRanges);
}

void ViewDirectModel::swapSnapshot()
{
    std::swap_ranges(std::begin(outputRanges), std::end(outputRanges), beginRanges);
}

