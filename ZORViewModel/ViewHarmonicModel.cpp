// ViewHarmonicModel: slots and orders, the sum limit, stepping, ramp, results.

#include "ViewHarmonicModel.h"

#include "ControllerCenter.h"
#include "ModelHarmonicEntity.h"
#include "ViewVerdict.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

template <typename T>
void copySlots(const T (*from)[4], T (*to)[4])
{
    std::copy(&from[0][0], &from[0][0] + 32, &to[0][0]);
}

template <typename T>
void swapSlots(T (*a)[4], T (*b)[4])
{
    std::swap_ranges(&a[0][0], &a[0][0] + 32, &b[0][0]);
}

} // namespace

ViewHarmonicModel::ViewHarmonicModel(QObject* parent)
    : ViewSourceTestModel(TEST_HARMONIC, parent)
    , outputOrders{1, 2, 3, 5}
    , activeOrderIndex(0)
    , showRange(true)
    , testState(AO_STATE_TYPE_INITING)
    , actionRampStep{1.0, 1.0}
    , autoRampEnabled(false)
    , faultActionBiIndex(-1)
    , faultActionPort(RAMP_PORT_TYPE_UA)
    , faultActionItem(RAMP_ITEM_TYPE_RANGE)
    , faultActionOrder(0)
    , faultActionType(ACTION_TYPE_STOP)
    , settingTime(1.0)
    , devTime(0.1)
    , testResult(AO_Result_TYPE_NONE)
{
    // Automatic steps the default window (1 s ± 0.1 s) fits in.
    actionRampTime = 2.0;
    double ranges[8];
    double angles[8];
    double frequencies[8];
    defaultOutputs(ranges, angles, frequencies);
    for (int p = 0; p < 8; ++p) {
        for (int s = 0; s < kSlots; ++s) {
            outputRanges[p][s] = s == 0 ? ranges[p] : 0.0;
            outputAngles[p][s] = s == 0 ? angles[p] : 0.0;
            outputFrequencies[p][s] = frequencies[p];
        }
    }
    takeSnapshot();
    for (int g = 0; g < 16; ++g) {
        endRampRanges[g] = isVoltageGroup(g) ? rateVoltage : rateCurrent;
        endRampAngles[g] = 360.0;
    }
    for (int i = 0; i < 4; ++i) {
        clearRecord(faultActionValues[i]);
        faultActionTimes[i] = kNaN;
    }
}

ViewHarmonicModel::~ViewHarmonicModel() = default;

// ---- Outputs of the active slot ---------------------------------------------------------

void ViewHarmonicModel::pushOutputs(bool apply)
{
    updateVMToEnt(DATA_TYPE_TEST_OUTPUTVI, -1, apply);
    if (!apply)
        return;
    // The engine ends a run whose edited output the channels cannot give.
    ModelEntity::RampBeyondOutputs beyond;
    {
        ModelHarmonicEntity* entity = center()->testTestor->dataHarmonic;
        QMutexLocker lock(&entity->entityLock);
        beyond = entity->beyondOutputs();
    }
    if (!beyond.beyond)
        return;
    const QString unit = QLatin1Char(' ') + QLatin1String(ModelEntity::rampUnit(beyond.item, beyond.channel));
    const auto value = [&unit](double v) { return QString::number(std::round(v * 1000.0) / 1000.0, 'g', 10) + unit; };
    showUserMessage(tr("输出将使%1达到%2，超出其输出范围%3至%4，试验已停止。")
                        .arg(QLatin1String(ModelEntity::channelName(beyond.channel)), value(beyond.value),
                             value(beyond.low), value(beyond.high)));
}

double ViewHarmonicModel::getRampEndRange(int port) const
{
    return groupIndexOf(faultActionPort, port) >= 0 ? endRampRanges[faultActionPort] : 0.0;
}

double ViewHarmonicModel::slotRoom(int port, int slot) const
{
    const bool rampedAmplitude = autoRampEnabled && faultActionItem == RAMP_ITEM_TYPE_RANGE;
    double sum = 0.0;
    for (int s = 0; s < kSlots; ++s) {
        if (s == slot)
            continue;
        if (rampedAmplitude && s == faultActionOrder)
            sum += std::max(outputRanges[port][s], getRampEndRange(port));
        else
            sum += outputRanges[port][s];
    }
    return sumLimit(port) - sum;
}

void ViewHarmonicModel::setOutputRange(AOPortType port, double range)
{
    if (!isPort(port) || !isSlot(activeOrderIndex) || !std::isfinite(range))
        return;
    // A negative room (the other slots stepped past the limit) stores 0: a
    // negative amplitude would play as a 0 Hz slot.
    const double value = std::max(0.0, std::min(slotRoom(port, activeOrderIndex), range));
    const bool changed = outputRanges[port][activeOrderIndex] != value;
    outputRanges[port][activeOrderIndex] = value;
    pushOutputs(changed && isTestRunning());
}

void ViewHarmonicModel::setOutputAngle(AOPortType port, double angle)
{
    if (!isPort(port) || !isSlot(activeOrderIndex) || !std::isfinite(angle))
        return;
    const bool changed = outputAngles[port][activeOrderIndex] != angle;
    outputAngles[port][activeOrderIndex] = angle;
    pushOutputs(changed && isTestRunning());
}

double ViewHarmonicModel::getOutputRange(AOPortType port) const
{
    return isPort(port) && isSlot(activeOrderIndex) ? outputRanges[port][activeOrderIndex] : 0.0;
}

double ViewHarmonicModel::getOutputAngle(AOPortType port) const
{
    return isPort(port) && isSlot(activeOrderIndex) ? outputAngles[port][activeOrderIndex] : 0.0;
}

void ViewHarmonicModel::setOutputPercent(AOPortType port, double percent)
{
    if (isPort(port))
        setOutputRange(port, outputRanges[port][0] * percent / 100.0);
}

double ViewHarmonicModel::getOutputPercent(AOPortType port) const
{
    if (!isPort(port) || !isSlot(activeOrderIndex) || outputRanges[port][0] == 0.0)
        return 0.0;
    return outputRanges[port][activeOrderIndex] / outputRanges[port][0] * 100.0;
}

double ViewHarmonicModel::getOutputValue(int port, int slot) const
{
    if (!isPort(port) || !isSlot(slot))
        return 0.0;
    if (showRange)
        return outputRanges[port][slot];
    return outputRanges[port][0] == 0.0 ? 0.0 : outputRanges[port][slot] / outputRanges[port][0] * 100.0;
}

// ---- Summary ---------------------------------------------------------------------------------

double ViewHarmonicModel::getOutputRMS(AOPortType port) const
{
    if (!isPort(port))
        return 0.0;
    double sum = 0.0;
    for (int s = 0; s < kSlots; ++s)
        sum += outputRanges[port][s] * outputRanges[port][s];
    return std::sqrt(sum);
}

double ViewHarmonicModel::getOutputTHD(AOPortType port) const
{
    if (!isPort(port))
        return 0.0;
    const double a0 = outputRanges[port][0];
    if (std::fabs(a0) < 1e-7)
        return 0.0;
    double sum = 0.0;
    for (int s = 1; s < kSlots; ++s)
        sum += (outputRanges[port][s] / a0) * (outputRanges[port][s] / a0);
    return 100.0 * std::sqrt(sum);
}

// ---- Order slots ---------------------------------------------------------------------------------

bool ViewHarmonicModel::validOrders(const qint32 orders[kSlots])
{
    if (orders[0] != 1)
        return false;
    for (int s = 1; s < kSlots; ++s) {
        if (orders[s] < 2 || orders[s] > kMaxOrder || (s > 1 && orders[s] <= orders[s - 1]))
            return false;
    }
    return true;
}

int ViewHarmonicModel::getOutputOrders(int index) const
{
    return isSlot(index) ? outputOrders[index] : 1;
}

QList<int> ViewHarmonicModel::getOrderChoices() const
{
    if (activeOrderIndex == 0)
        return {1};
    QList<int> choices;
    if (!isSlot(activeOrderIndex))
        return choices;
    for (int n = 2; n <= kMaxOrder; ++n) {
        bool taken = false;
        for (int s = 1; s < kSlots; ++s)
            taken = taken || (s != activeOrderIndex && outputOrders[s] == n);
        if (!taken)
            choices << n;
    }
    return choices;
}

void ViewHarmonicModel::setOutputOrders(int itemIndex)
{
    if (activeOrderIndex < 1 || activeOrderIndex >= kSlots)
        return;
    const QList<int> choices = getOrderChoices();
    if (itemIndex < 0 || itemIndex >= choices.size() || outputOrders[activeOrderIndex] == choices.at(itemIndex))
        return;
    const int chosen = choices.at(itemIndex);
    outputOrders[activeOrderIndex] = chosen;
    for (int i = 1; i < kSlots; ++i) {
        for (int j = i + 1; j < kSlots; ++j) {
            if (outputOrders[i] <= outputOrders[j])
                continue;
            std::swap(outputOrders[i], outputOrders[j]);
            for (int p = 0; p < 8; ++p) {
                std::swap(outputRanges[p][i], outputRanges[p][j]);
                std::swap(outputAngles[p][i], outputAngles[p][j]);
            }
        }
    }
    for (int s = 1; s < kSlots; ++s) {
        if (outputOrders[s] == chosen)
            activeOrderIndex = s;
    }
}

void ViewHarmonicModel::activePrevOrder()
{
    activeOrderIndex = std::clamp(activeOrderIndex - 1, 0, kSummarySlot);
}

void ViewHarmonicModel::activeNextOrder()
{
    activeOrderIndex = std::clamp(activeOrderIndex + 1, 0, kSummarySlot);
}

int ViewHarmonicModel::getActiveOrder() const
{
    return std::clamp(activeOrderIndex, 0, kSummarySlot);
}

QString ViewHarmonicModel::getActiveOrderText() const
{
    const int shown = activeOrderIndex >= 0 && activeOrderIndex <= kSummarySlot ? activeOrderIndex + 1 : 1;
    return QStringLiteral("[%1/%2]").arg(shown).arg(kSummarySlot + 1);
}

// ---- Display mode --------------------------------------------------------------------------------

void ViewHarmonicModel::setShowRange(bool enable)
{
    showRange = enable;
}

bool ViewHarmonicModel::getShowRange() const
{
    return showRange;
}

// ---- Ramp settings ---------------------------------------------------------------------------------

double ViewHarmonicModel::groupBase() const
{
    // The group's first phase in A, B, C order (UCUA: UA).
    int channels[3];
    const int count = groupChannels(faultActionPort, channels);
    if (count == 0)
        return 0.0;
    const int base = count == 2 && faultActionPort % 4 == 2 ? channels[1] : channels[0];
    return outputRanges[base][0];
}

double ViewHarmonicModel::fromShown(double value) const
{
    // A base of 0 stores 0, for a group as for a single port: the page reads
    // the end back as 0 % and the ramp plays what it reads.
    return percentShown() ? groupBase() * value / 100.0 : value;
}

double ViewHarmonicModel::toShown(double value) const
{
    if (!percentShown())
        return value;
    const double base = groupBase();
    return base == 0.0 ? 0.0 : value / base * 100.0;
}

void ViewHarmonicModel::updateEndRange()
{
    if (!autoRampEnabled || faultActionItem != RAMP_ITEM_TYPE_RANGE)
        return;
    int channels[3];
    const int count = groupChannels(faultActionPort, channels);
    for (int k = 0; k < count; ++k) {
        const int p = channels[k];
        double sum = 0.0;
        for (int s = 0; s < kSlots; ++s)
            sum += s == faultActionOrder ? 0.0 : outputRanges[p][s];
        endRampRanges[faultActionPort] = std::max(0.0, std::min(sumLimit(p) - sum, endRampRanges[faultActionPort]));
    }
}

void ViewHarmonicModel::setEndRampValue(double endRamp)
{
    if (!std::isfinite(endRamp))
        return;
    if (faultActionItem == RAMP_ITEM_TYPE_ANGLE)
        endRampAngles[faultActionPort] = endRamp;
    else
        endRampRanges[faultActionPort] = fromShown(endRamp);
    updateEndRange();
}

double ViewHarmonicModel::getEndRampValue() const
{
    if (faultActionItem == RAMP_ITEM_TYPE_ANGLE)
        return endRampAngles[faultActionPort];
    return toShown(endRampRanges[faultActionPort]);
}

void ViewHarmonicModel::setRampStepValue(double stepRamp)
{
    if (std::isfinite(stepRamp))
        actionRampStep[faultActionItem] = fromShown(stepRamp);
}

double ViewHarmonicModel::getRampStepValue() const
{
    return toShown(actionRampStep[faultActionItem]);
}

void ViewHarmonicModel::setAutoRampEnabled(bool autoRamp)
{
    autoRampEnabled = autoRamp;
    if (autoRampEnabled)
        faultActionType = ACTION_TYPE_STOP;
    updateEndRange();
}

bool ViewHarmonicModel::getAutoRampEnabled() const
{
    return autoRampEnabled;
}

void ViewHarmonicModel::setFaultActionPort(int index)
{
    const RampPortType port = rampPortFromRow(index, faultActionPort);
    if (port != faultActionPort) {
        // A result is labelled by the group and item it was taken with.
        faultActionPort = port;
        clearResults();
    }
    updateEndRange();
}

int ViewHarmonicModel::getFaultActionPort() const
{
    return rowFromRampPort(faultActionPort);
}

void ViewHarmonicModel::setFaultActionItem(RampItemType actionItem)
{
    if (actionItem != RAMP_ITEM_TYPE_RANGE && actionItem != RAMP_ITEM_TYPE_ANGLE)
        return;
    if (actionItem != faultActionItem) {
        faultActionItem = actionItem;
        clearResults();
    }
    updateEndRange();
}

int ViewHarmonicModel::getFaultActionItem() const
{
    return faultActionItem;
}

void ViewHarmonicModel::setFaultActionOrder(int actionOrder)
{
    if (!isSlot(actionOrder))
        return;
    faultActionOrder = actionOrder;
    updateEndRange();
}

int ViewHarmonicModel::getFaultActionOrder() const
{
    return faultActionOrder;
}

void ViewHarmonicModel::setFaultActionType(FaultActionType actionType)
{
    if (actionType >= ACTION_TYPE_STOP && actionType <= ACTION_TYPE_CONTINUE)
        faultActionType = actionType;
}

int ViewHarmonicModel::getFaultActionType() const
{
    return faultActionType;
}

// ---- Stepping ------------------------------------------------------------------------------------------

void ViewHarmonicModel::rampedSlotValues(double values[8]) const
{
    const double (*items)[4] = faultActionItem == RAMP_ITEM_TYPE_ANGLE ? outputAngles : outputRanges;
    for (int p = 0; p < 8; ++p)
        values[p] = items[p][faultActionOrder];
}

QString ViewHarmonicModel::groupRampProblem(int direction, double end) const
{
    double values[8];
    rampedSlotValues(values);
    int channels[3];
    const int count = groupChannels(faultActionPort, channels);
    return rampProblem(values, channels, count, direction, end, actionRampStep[faultActionItem], actionRampTime);
}

bool ViewHarmonicModel::quickChange(bool toAdd)
{
    if (!steppingAllowed())
        return false;
    int channels[3];
    const int count = groupChannels(faultActionPort, channels);
    const double end =
        faultActionItem == RAMP_ITEM_TYPE_ANGLE ? endRampAngles[faultActionPort] : endRampRanges[faultActionPort];

    if (autoRampEnabled) {
        const int direction = toAdd ? 1 : -1;
        if (!acceptRamp(groupRampProblem(direction, end)))
            return false;
        ModelHarmonicEntity* entity = center()->testTestor->dataHarmonic;
        QMutexLocker lock(&entity->entityLock);
        entity->actionRampFactor = direction;
        entity->endRampValue = end;
        noteHandedRamp(direction, end);
        return true;
    }

    const double step = toAdd ? actionRampStep[faultActionItem] : -actionRampStep[faultActionItem];
    const int s = faultActionOrder;
    bool changed = false;
    // Only the stepped ports are held: a value typed into another port (an
    // angle of -120) stays as it is.
    for (int k = 0; k < count; ++k) {
        const int p = channels[k];
        if (faultActionItem == RAMP_ITEM_TYPE_ANGLE) {
            const double angle = foldAngle(outputAngles[p][s] + step);
            changed = changed || angle != outputAngles[p][s];
            outputAngles[p][s] = angle;
        } else {
            const double range = std::clamp(outputRanges[p][s] + step, 0.0, portRangeLimit(p));
            changed = changed || range != outputRanges[p][s];
            outputRanges[p][s] = range;
        }
    }
    pushOutputs(changed && isTestRunning());
    return true;
}

bool ViewHarmonicModel::checkStart()
{
    // Every port plays the harmonics at their order of the rated frequency.
    for (int s = 1; s < kSlots; ++s) {
        const double hz = rateFrequency * outputOrders[s];
        if (hz > ModelEntity::kMaxOutputFrequency) {
            showUserMessage(tr("第%1次谐波的频率%2 Hz超出输出的频率上限%3 Hz，试验未开始。")
                                .arg(outputOrders[s])
                                .arg(hz)
                                .arg(ModelEntity::kMaxOutputFrequency));
            return false;
        }
    }
    if (!autoRampEnabled)
        return true;
    if (!checkRampStart())
        return false;
    const QString reach = stepReachProblem(actionRampTime, settingTime, devTime);
    if (reach.isEmpty())
        return true;
    showUserMessage(reach);
    return false;
}

QString ViewHarmonicModel::heldRampProblem() const
{
    int direction;
    double end;
    {
        ModelHarmonicEntity* entity = center()->testTestor->dataHarmonic;
        QMutexLocker lock(&entity->entityLock);
        direction = entity->actionRampFactor >= 1 ? 1 : -1;
        end = entity->endRampValue;
    }
    return groupRampProblem(direction, end);
}

// ---- Verdict and results ----------------------------------------------------------------------------------

void ViewHarmonicModel::setSettingTime(double value)
{
    if (std::isfinite(value))
        settingTime = value;
}

double ViewHarmonicModel::getSettingTime() const
{
    return settingTime;
}

void ViewHarmonicModel::setDevTime(double value)
{
    if (std::isfinite(value))
        devTime = value;
}

double ViewHarmonicModel::getDevTime() const
{
    return devTime;
}

int ViewHarmonicModel::getTestState() const
{
    return testState;
}

int ViewHarmonicModel::getTestResult()
{
    const double t = faultActionTimes[0];
    const bool completed = testState == AO_STATE_TYPE_COMPLETED;
    if (std::isnan(t))
        testResult = completed ? AO_Result_TYPE_FAILED : AO_Result_TYPE_NONE;
    else if (completed)
        testResult = ViewVerdict::timeWithin(settingTime, devTime, t) ? AO_Result_TYPE_SUCCESS : AO_Result_TYPE_FAILED;
    return testResult;
}

double ViewHarmonicModel::getFaultActionTime() const
{
    return faultActionTimes[0];
}

QString ViewHarmonicModel::getFaultActionValue() const
{
    int channels[3];
    const int count = std::max(groupChannels(faultActionPort, channels), 1);
    QStringList parts;
    for (int k = 0; k < count; ++k)
        parts << doubleFormatToString(faultActionValues[0].actionVal[k], 3);
    QString unit;
    if (faultActionItem == RAMP_ITEM_TYPE_ANGLE)
        unit = QString::fromUtf8(" °");
    else
        unit = isVoltageGroup(faultActionPort) ? QStringLiteral(" V") : QStringLiteral(" A");
    return parts.join(QStringLiteral("; ")) + unit;
}

int ViewHarmonicModel::getBinaryInputIndex() const
{
    return std::isnan(faultActionTimes[0]) ? -1 : faultActionBiIndex + 1;
}

QString ViewHarmonicModel::getNoActionText() const
{
    return testState == AO_STATE_TYPE_COMPLETED ? tr("未动作") : QString();
}

void ViewHarmonicModel::clearResults()
{
    for (int i = 0; i < 4; ++i) {
        clearRecord(faultActionValues[i]);
        faultActionTimes[i] = kNaN;
    }
    faultActionBiIndex = -1;
    testResult = AO_Result_TYPE_NONE;
    if (!runBegun)
        testState = AO_STATE_TYPE_INITING;
}

// ---- Frame hooks -------------------------------------------------------------------------------------------

void ViewHarmonicModel::pushToEntity(DATAType type)
{
    const ControllerConfiguration* config = center()->testConfiguration;
    pushEntity(center()->testTestor->dataHarmonic, type, {DATA_TYPE_TEST_OUTPUTVI, DATA_TYPE_TEST_OUTPUTDATA},
               [this, config](ModelHarmonicEntity* entity) {
                   entity->autoRampEnabled = autoRampEnabled;
                   entity->actionRampTime = actionRampTime;
                   entity->actionRampStep = actionRampStep[faultActionItem];
                   entity->faultActionPort = ModelHarmonicEntity::RampPortType(faultActionPort);
                   entity->faultActionItem = ModelHarmonicEntity::RampItemType(faultActionItem);
                   entity->faultActionOrder = faultActionOrder;
                   entity->faultActionType = ModelHarmonicEntity::FaultActionType(faultActionType);
                   std::copy(std::begin(outputOrders), std::end(outputOrders), entity->outputOrders);
                   copySlots(outputRanges, entity->outputRanges);
                   copySlots(outputAngles, entity->outputAngles);
                   for (int p = 0; p < 8; ++p)
                       std::fill(std::begin(entity->outputFrequencies[p]), std::end(entity->outputFrequencies[p]),
                                 rateFrequency);
                   writeBinarySettings(entity, config->maxVRange, config->maxIRange);
                   writeHandedRamp(entity);
               });
}

void ViewHarmonicModel::pullOutputs()
{
    {
        ModelHarmonicEntity* entity = center()->testTestor->dataHarmonic;
        QMutexLocker lock(&entity->entityLock);
        copySlots(entity->outputRanges, outputRanges);
        copySlots(entity->outputAngles, outputAngles);
    }
    if (runBegun)
        testState = AO_STATE_TYPE_RUNNNING;
}

void ViewHarmonicModel::pullResults()
{
    ModelHarmonicEntity* entity = center()->testTestor->dataHarmonic;
    QMutexLocker lock(&entity->entityLock);
    const int bi = entity->faultActionBiIndex;
    if (bi < -1 || bi > 3)
        return;
    faultActionBiIndex = bi;
    if (bi < 0)
        return;
    faultActionTimes[0] = entity->faultActionTimes[bi];
    takeRecord(faultActionValues[0], entity->faultActionValues[bi]);
}

void ViewHarmonicModel::takeSnapshot()
{
    copySlots(outputRanges, beginRanges);
    copySlots(outputAngles, beginAngles);
}

void ViewHarmonicModel::restoreSnapshot()
{
    copySlots(beginRanges, outputRanges);
    copySlots(beginAngles, outputAngles);
}

void ViewHarmonicModel::swapSnapshot()
{
    swapSlots(outputRanges, beginRanges);
    swapSlots(outputAngles, beginAngles);
}

void ViewHarmonicModel::beginResults()
{
    runBegun = false;
    clearResults();
    runBegun = true;
}

// Not tested yet until the engine reports the run: a start it refuses
// leaves no verdict.
void ViewHarmonicModel::startResults()
{
    runBegun = false;
    clearResults();
    emit sigUpdateDataToView(DATA_TYPE_TEST_ACTIONDATA, -1);
}

void ViewHarmonicModel::settleResults()
{
    // Only a run that began: a start the engine refused leaves the page as
    // it was (a test that never ran has no verdict).
    if (!runBegun && !runBegunSinceStart())
        return;
    runBegun = false;
    // A run ended with no trip has not been tested unless it was a ramp
    // that ran out: a steady output ends only by a stop (or an edit it
    // refused), a ramp stopped before it ran out the same.
    const ModelHarmonicEntity* entity = center()->testTestor->dataHarmonic;
    QMutexLocker lock(&entity->entityLock);
    const int bi = entity->faultActionBiIndex;
    const bool tripped = bi >= 0 && bi <= 3 && !std::isnan(entity->faultActionTimes[bi]);
    const bool untested = !(entity->autoRampEnabled && entity->rampRanOut) && !tripped;
    testState = untested ? AO_STATE_TYPE_INITING : AO_STATE_TYPE_COMPLETED;
}
