#include "ModelRampingEntity.h"

#include "CommDriverData.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

using namespace ModelEntity;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kPhasesFour = 1;   // volPhaseType / curPhaseType with a fourth channel

// Whether a slot on this group may move channel c: UX and IX only when the
// hardware has four voltage (current) phases.
bool channelMovable(int channel)
{
    if (channel == AO_PORT_TYPE_UX)
        return globalConfigureHardData && globalConfigureHardData->volPhaseType == kPhasesFour;
    if (channel == AO_PORT_TYPE_IX)
        return globalConfigureHardData && globalConfigureHardData->curPhaseType == kPhasesFour;
    return true;
}

} // namespace

bool ModelRampingEntity::usesSlots(const double steps[kRampSlots])
{
    return std::any_of(steps, steps + kRampSlots, [](double step) { return step != 0.0; });
}

ModelRampingEntity::ModelRampingEntity()
{
    for (int s = 0; s < kMaxStates; ++s) {
        stateBILogicTypes[s] = AO_BILOGIC_TYPE_OR;
        stateOutputLinkTypes[s] = AO_LINKSTATE_TYPE_INITIATE;
        stateTriggerTypes[s] = AO_TRIGGER_TYPE_TIME;
        for (faultActionValStruct& value : stateActionValue[s])
            clearFaultAction(value);
        for (int i = 0; i < kRampSlots; ++i) {
            rampPorts[s][i] = RAMP_PORT_TYPE_UA;
            rampItems[s][i] = RAMP_ITEM_TYPE_RANGE;
        }
    }
    clearStateActions(*this);
}

void ModelRampingEntity::resetActionValues()
{
    QMutexLocker locker(&entityLock);
    clearStateActions(*this);
    for (auto& values : stateActionValue) {
        for (faultActionValStruct& value : values)
            clearFaultAction(value);
    }
    std::fill(std::begin(stateBeganUnreset), std::end(stateBeganUnreset), false);
    stateTestStates[0] = AO_STATE_TYPE_RUNNNING;
}

qint32 ModelRampingEntity::computePointCount() const
{
    QMutexLocker locker(&entityLock);
    const int count = std::clamp(stateCount, 0, kMaxStates);
    constexpr double saturated = double(kMaxStateCount) + 1.0;
    double total = 0.0;
    for (int s = 0; s < count; ++s) {
        if (passesOver(s))
            continue;
        total += 2.0;
        double steps = 0.0;
        for (int i = 0; i < kRampSlots; ++i) {
            const double step = rampStepValues[s][i];
            if (step == 0.0)
                continue;
            const double quotient = std::fabs((rampEndValues[s][i] - rampBeginValues[s][i]) / step);
            // NaN and anything too long saturate (the start check refuses them).
            steps = std::isfinite(quotient) ? std::max(steps, std::trunc(std::min(quotient, saturated)))
                                            : saturated;
        }
        total += steps;
    }
    return qint32(std::min(total, saturated));
}

void ModelRampingEntity::switchToResetState()
{
    QMutexLocker locker(&entityLock);
    resetDriverStatus();
    // The run begins with state 0, one static page, or, when that is passed
    // over, with the first item's ramp.
    int first = 0;
    while (passesOver(first))
        ++first;
    if (first >= std::min(stateCount, int(kMaxStates)))
        first = 0;   // nothing else to play
    outputRunningStateIndex = first;
    outputSendingStateIndex = first;
    lastStep = first == 0 || !usesSlots(rampStepValues[first]);
    for (int c = 0; c < 8; ++c) {
        outputRanges[c] = nextOutputRanges[c] = stateOutputRanges[first][c];
        outputAngles[c] = nextOutputAngles[c] = stateOutputAngles[first][c];
        outputFrequencies[c] = nextOutputFrequencies[c] = stateOutputFrequencies[first][c];
    }
    pointCount = computePointCount();
    outputTime = stateOutputTimes[first];
    linkType = stateOutputLinkTypes[first];
    for (int r = 1; r <= first; ++r)
        markEntered(r);
}

void ModelRampingEntity::updateToDriverStateCount()
{
    QMutexLocker locker(&entityLock);
    if (globalTestOutputData)
        globalTestOutputData->outputStateCount = quint32(std::clamp(pointCount, 0, kMaxStateCount) + 1);
}

bool ModelRampingEntity::switchToNextState()
{
    QMutexLocker locker(&entityLock);
    if (!lastStep) {
        switchToNextStep();
        return true;
    }
    lastStep = false;
    if (outputSendingStateIndex <= kMaxStates)
        ++outputSendingStateIndex;
    while (passesOver(outputSendingStateIndex))
        ++outputSendingStateIndex;
    const int k = outputSendingStateIndex;
    if (k < 1 || k >= kMaxStates || k >= stateCount) {
        if (k == stateCount) {
            // Closing page: repeats the last target values, which now play.
            lastStep = true;
            outputTime = 0.0;
            std::copy(nextOutputRanges, nextOutputRanges + 8, outputRanges);
            std::copy(nextOutputAngles, nextOutputAngles + 8, outputAngles);
            std::copy(nextOutputFrequencies, nextOutputFrequencies + 8, outputFrequencies);
            return true;
        }
        return false;
    }
    outputTime = stateOutputTimes[k];
    linkType = stateOutputLinkTypes[k];
    for (int c = 0; c < 8; ++c) {
        outputRanges[c] = nextOutputRanges[c];
        outputAngles[c] = nextOutputAngles[c];
        outputFrequencies[c] = nextOutputFrequencies[c];
        nextOutputRanges[c] = stateOutputRanges[k][c];
        nextOutputAngles[c] = stateOutputAngles[k][c];
        nextOutputFrequencies[c] = stateOutputFrequencies[k][c];
    }
    if (!usesSlots(rampStepValues[k]))
        lastStep = true;
    return true;
}

bool ModelRampingEntity::switchToNextStep()
{
    QMutexLocker locker(&entityLock);
    const int k = outputSendingStateIndex;
    if (k < 0 || k >= kMaxStates)
        return false;
    std::copy(nextOutputRanges, nextOutputRanges + 8, outputRanges);
    std::copy(nextOutputAngles, nextOutputAngles + 8, outputAngles);
    std::copy(nextOutputFrequencies, nextOutputFrequencies + 8, outputFrequencies);
    double work[3][8];
    std::copy(outputRanges, outputRanges + 8, work[RAMP_ITEM_TYPE_RANGE]);
    std::copy(outputAngles, outputAngles + 8, work[RAMP_ITEM_TYPE_ANGLE]);
    std::copy(outputFrequencies, outputFrequencies + 8, work[RAMP_ITEM_TYPE_FREQUENCY]);

    bool unfinished = false;
    for (int i = 0; i < kRampSlots; ++i) {
        const double step = rampStepValues[k][i];
        const int item = int(rampItems[k][i]);
        const double* current = currentItemArray(item);
        if (step == 0.0 || !current)
            continue;
        const double end = rampEndValues[k][i];
        int channels[3];
        const int n = rampPortChannels(int(rampPorts[k][i]), channels);
        for (int j = 0; j < n; ++j) {
            const int c = channels[j];
            if (!channelMovable(c))
                continue;
            const double v = current[c] + step;
            if ((step > 0.0 && v < end) || (step <= 0.0 && v > end)) {
                work[item][c] = v;
                unfinished = true;
            } else {
                work[item][c] = end; // stops exactly at the end value
            }
        }
    }
    std::copy(work[RAMP_ITEM_TYPE_RANGE], work[RAMP_ITEM_TYPE_RANGE] + 8, nextOutputRanges);
    std::copy(work[RAMP_ITEM_TYPE_ANGLE], work[RAMP_ITEM_TYPE_ANGLE] + 8, nextOutputAngles);
    std::copy(work[RAMP_ITEM_TYPE_FREQUENCY], work[RAMP_ITEM_TYPE_FREQUENCY] + 8, nextOutputFrequencies);
    if (!unfinished)
        lastStep = true;
    return false;
}

void ModelRampingEntity::updateToDriverValue()
{
    QMutexLocker locker(&entityLock);
    if (!globalTestOutputData)
        return;
    CommDriverTestOutputData& out = *globalTestOutputData;
    clearDriverOutputs(out);
    formatLimitValue(maxVoltage, maxCurrent);

    for (int c = 0; c < 8; ++c) {
        out.outputRanges[c][0] = recordFloat(nextOutputRanges[c]);
        out.outputAngles[c][0] = foldAngle360f(nextOutputAngles[c]);
        out.outputFrequencies[c][0] = recordFloat(nextOutputFrequencies[c]);
        out.currentOutputRanges[c][0] = recordFloat(outputRanges[c]);
    }

    // The closing page of a full 97-state run has no settings row of its own:
    // it takes the last state's.
    const int k = std::clamp(outputSendingStateIndex, 0, kMaxStates - 1);
    out.outputLevelControlType = COMM_LEVELCONTROL_TYPE_AUTO;
    out.outputBOControlType = COMM_BOCONTROL_TYPE_AUTO;
    for (int i = 0; i < 4; ++i) {
        out.outputBOHoldEnables[i] = 1;
        out.outputBOTurnEnables[i] = 1;
        out.outputBOInitStates[i] = quint32(stateOutputBOStates[k][i]);
        out.outputBIRiseEnables[i] = quint32(stateOutputBIStates[k][i] & 1);
        out.outputBIFallEnables[i] = quint32((stateOutputBIStates[k][i] >> 1) & 1);
    }
    out.outputBILogic = quint32(stateBILogicTypes[k]);
    out.outputLinkStateType = quint32(linkType);
    out.outputTriggerType = quint16(stateTriggerTypes[k]);
    // A pre-fault or interval page that watches nothing of its own watches
    // its item's ramp's inputs, both edges, to its time.
    if (k % 3 != 1 && !watchesInput(stateOutputBIStates[k]))
        watchBetweenFaults(out, stateOutputBIStates[std::min(k % 3 == 0 ? k + 1 : k - 1, kMaxStates - 1)]);
    // The last page of a state that watches an input (its ramp's last step)
    // plays its time and the debounce: a contact that step moved is confirmed
    // within the state, not in the state after it or past the run's end.
    const bool state = outputSendingStateIndex >= 0 && outputSendingStateIndex < std::min(stateCount, int(kMaxStates));
    const bool watches = state && watchesInput(stateOutputBIStates[k]);
    out.outputTime = recordFloat(outputTime + (lastStep && watches ? debounceSeconds() : 0.0));
}

void ModelRampingEntity::formatLimitValue(double vmax, double imax)
{
    QMutexLocker locker(&entityLock);
    limitChannelRanges(nextOutputRanges, vmax, imax);
}

void ModelRampingEntity::updateToDriverBOStates()
{
    QMutexLocker locker(&entityLock);
    writeDriverBOStates(outputBOStates);
}

void ModelRampingEntity::updateFromDriverState()
{
    QMutexLocker locker(&entityLock);
    followTo(outputSendingStateIndex);
}

void ModelRampingEntity::followTo(int state)
{
    QMutexLocker locker(&entityLock);
    const int previous = outputRunningStateIndex;
    outputRunningStateIndex = state;
    // The states between were passed over (or left while the engine lagged).
    for (int q = std::max(previous + 1, 1); q < state; ++q)
        markEntered(q);
    markEntered(state);
}

void ModelRampingEntity::completeRun()
{
    QMutexLocker locker(&entityLock);
    const int count = std::min(stateCount, int(kMaxStates));
    for (int s = 0; s < count; ++s) {
        if (stateTestStates[s] == AO_STATE_TYPE_RUNNNING)
            stateTestStates[s] = AO_STATE_TYPE_COMPLETED;
    }
}

int ModelRampingEntity::nextFaultState() const
{
    QMutexLocker locker(&entityLock);
    return lastStep ? StateGroups::nextFault(*this) : -1;
}

bool ModelRampingEntity::faultNext() const
{
    return nextFaultState() >= 0;
}

void ModelRampingEntity::passOverNextFault()
{
    QMutexLocker locker(&entityLock);
    const int k = nextFaultState();
    if (k >= 0)
        stateBeganUnreset[k] = true;
}

void ModelRampingEntity::markEntered(int r)
{
    if (r < 1 || r >= kMaxStates || r >= stateCount)
        return;
    switch (r % 3) {
    case 1:
        stateTestStates[r - 1] = AO_STATE_TYPE_RUNNNING;
        stateTestStates[r] = AO_STATE_TYPE_RUNNNING;
        break;
    case 2:
        stateTestStates[r - 1] = AO_STATE_TYPE_COMPLETED;
        stateTestStates[r] = AO_STATE_TYPE_COMPLETED;
        break;
    default:
        stateTestStates[r - 2] = AO_STATE_TYPE_COMPLETED;
        stateTestStates[r - 1] = AO_STATE_TYPE_COMPLETED;
        stateTestStates[r] = AO_STATE_TYPE_RUNNNING;
        if (r + 1 < kMaxStates)
            stateTestStates[r + 1] = AO_STATE_TYPE_RUNNNING;
        break;
    }
}

const double* ModelRampingEntity::currentItemArray(int item) const
{
    switch (item) {
    case RAMP_ITEM_TYPE_RANGE:
        return outputRanges;
    case RAMP_ITEM_TYPE_ANGLE:
        return outputAngles;
    case RAMP_ITEM_TYPE_FREQUENCY:
        return outputFrequencies;
    default:
        return nullptr;
    }
}

void ModelRampingEntity::recordSlotValue(int state, int column, const PageOutputs& page)
{
    faultActionValStruct& value = stateActionValue[state][column];
    const double* played = page.item(int(rampItems[state][0]));
    if (!played) {
        clearFaultAction(value);
        return;
    }
    getFaultActionValue(rampPorts[state][0], played, &value);
}

void ModelRampingEntity::playLastOn()
{
    QMutexLocker locker(&entityLock);
    std::copy(nextOutputRanges, nextOutputRanges + 8, outputRanges);
    std::copy(nextOutputAngles, nextOutputAngles + 8, outputAngles);
    std::copy(nextOutputFrequencies, nextOutputFrequencies + 8, outputFrequencies);
}

PageOutputs ModelRampingEntity::pageOutputs() const
{
    QMutexLocker locker(&entityLock);
    return PageOutputs(nextOutputRanges, nextOutputAngles, nextOutputFrequencies);
}

int ModelRampingEntity::updateFromDriverAction(int statusTestStateIndex, int biflag, int index, float time)
{
    QMutexLocker locker(&entityLock);
    const int r = outputRunningStateIndex;
    static constexpr qint32 kEitherEdge[4] = {3, 3, 3, 3};
    if (StateGroups::recordReport(*this, statusTestStateIndex, biflag, index, time, kEitherEdge) != 0)
        return -1;
    recordSlotValue(r, index, PageOutputs(outputRanges, outputAngles, outputFrequencies));
    return 0;
}

void ModelRampingEntity::takeJudged(int r, int input, qint32 code, double seconds, const PageOutputs& page)
{
    QMutexLocker locker(&entityLock);
    if (r < 0 || r >= std::min(stateCount, int(kMaxStates)))
        return;
    StateGroups::takeJudged(*this, r, input, code, seconds);
    for (int i = 0; i < 4; ++i) {
        if (i == input)
            recordSlotValue(r, i, page);
        else
            clearFaultAction(stateActionValue[r][i]);
    }
}

int ModelRampingEntity::updateFromDriverAction(int bi1flag, int bi2flag, float time, int index)
{
    QMutexLocker locker(&entityLock);
    if (index < 1 || index > stateCount || index > kMaxStates)
        return -1;
    const int s = index - 1;
    const double t = double(time);
    const PageOutputs current(outputRanges, outputAngles, outputFrequencies);
    if (stateActionUpdateState[s] < 0) {
        if (bi1flag) {
            stateActionTimes[s][0] = t;
            recordSlotValue(s, 0, current);
        }
        if (bi2flag) {
            stateActionTimes[s][1] = t;
            recordSlotValue(s, 1, current);
        }
        stateActionUpdateState[s] = 0;
        return 0;
    }
    bool changed = false;
    if (bi1flag && stateActionTimes[s][0] != t) {
        stateActionTimes[s][0] = t;
        recordSlotValue(s, 0, current);
        changed = true;
    }
    if (bi2flag && stateActionTimes[s][1] != t) {
        stateActionTimes[s][1] = t;
        recordSlotValue(s, 1, current);
        changed = true;
    }
    return changed ? 0 : -1;
}

double ModelRampingEntity::getOutputValue(RampPortType portType, const double* outputArry) const
{
    int channels[3];
    if (!outputArry || rampPortChannels(int(portType), channels) == 0)
        return kNaN;
    // UCUA and ICIA report their first listed phase of the pair (UA, IA).
    if (portType == RAMP_PORT_TYPE_UCUA)
        return outputArry[AO_PORT_TYPE_UA];
    if (portType == RAMP_PORT_TYPE_ICIA)
        return outputArry[AO_PORT_TYPE_IA];
    return outputArry[channels[0]];
}

void ModelRampingEntity::getFaultActionValue(RampPortType portType, const double* outputArry,
                                             faultActionValStruct* actionValue) const
{
    if (!actionValue)
        return;
    clearFaultAction(*actionValue);
    int channels[3];
    const int n = outputArry ? rampPortChannels(int(portType), channels) : 0;
    actionValue->portCnt = n;
    for (int k = 0; k < n; ++k)
        actionValue->actionVal[k] = outputArry[channels[k]];
}

bool ModelRampingEntity::checkOutputValues() const
{
    QMutexLocker locker(&entityLock);
    if (stateCount < 1 || stateCount > kMaxStates)
        return false;
    if (computePointCount() > kMaxStateCount)
        return false;
    for (int s = 0; s < stateCount; ++s) {
        if (!allFiniteFloat(stateOutputRanges[s], 8) || !allFiniteFloat(stateOutputAngles[s], 8)
            || !allFiniteFloat(stateOutputFrequencies[s], 8) || !isFiniteFloat(stateOutputTimes[s]))
            return false;
        for (int i = 0; i < kRampSlots; ++i) {
            const double step = rampStepValues[s][i];
            if (step == 0.0)
                continue;
            if (!isFiniteFloat(step) || !isFiniteFloat(rampBeginValues[s][i]) || !isFiniteFloat(rampEndValues[s][i]))
                return false;
            // A slot moves an item of a group that exists.
            int channels[3];
            const RampItemType item = rampItems[s][i];
            if ((item != ModelEntity::RAMP_ITEM_TYPE_RANGE && item != ModelEntity::RAMP_ITEM_TYPE_ANGLE
                 && item != ModelEntity::RAMP_ITEM_TYPE_FREQUENCY)
                || ModelEntity::rampPortChannels(rampPorts[s][i], channels) == 0)
                return false;
        }
    }
    return true;
}

bool ModelRampingEntity::passesOver(int state) const
{
    QMutexLocker locker(&entityLock);
    if (state < 0 || state >= std::min(stateCount, int(kMaxStates)))
        return false;
    if (state % 3 == 1)
        return stateBeganUnreset[state];
    const AOTriggerType trigger = stateTriggerTypes[state];
    if (trigger != AO_TRIGGER_TYPE_TIME && trigger != AO_TRIGGER_TYPE_TIME_BINARY)
        return false;
    return !(stateOutputTimes[state] > 0.0) && !usesSlots(rampStepValues[state]);
}

ModelRampingEntity::AOTriggerType ModelRampingEntity::getTriggerType(int state) const
{
    QMutexLocker locker(&entityLock);
    if (state < 0 || state >= kMaxStates)
        return AO_TRIGGER_TYPE_TIME;
    return stateTriggerTypes[state];
}
