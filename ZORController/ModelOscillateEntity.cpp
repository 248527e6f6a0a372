#include "ModelOscillateEntity.h"

#include "CommDriverData.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace ModelEntity;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool inGroup(RampPortType port, int channel)
{
    int channels[3];
    const int count = rampPortChannels(port, channels);
    return std::find(channels, channels + count, channel) != channels + count;
}

} // namespace

ModelOscillateEntity::ModelOscillateEntity()
{
    for (double& t : faultActionTimes)
        t = kNaN;
}

void ModelOscillateEntity::resetActionValues()
{
    QMutexLocker locker(&entityLock);
    for (int i = 0; i < 4; ++i) {
        faultActionTimes[i] = kNaN;
        faultActionStates[i] = -1;
        faultActionValues[i] = faultActionValStruct();
    }
}

void ModelOscillateEntity::switchToResetState()
{
    QMutexLocker locker(&entityLock);
    resetDriverStatus();
    lastState = false;
}

void ModelOscillateEntity::updateToDriverValue()
{
    QMutexLocker locker(&entityLock);
    if (!globalTestOutputData)
        return;
    CommDriverTestOutputData& out = *globalTestOutputData;
    for (int c = 0; c < 8; ++c) {
        for (int k = 0; k < 4; ++k) {
            out.outputRanges[c][k] = 0.0f;
            out.outputAngles[c][k] = 0.0f;
            out.outputFrequencies[c][k] = 0.0f;
        }
        // Component 0 swings on the group's channels only; elsewhere it is
        // zero in currentOutputRanges as well, whatever an earlier module left.
        if (inGroup(oscillatePort, c)) {
            const float swing = recordFloat(outputRanges[c] * oscillatePercent);
            out.outputRanges[c][0] = swing;
            out.outputAngles[c][0] = foldAngle360f(oscillateAngle);
            out.outputFrequencies[c][0] = recordFloat(oscillateFrequency);
            out.currentOutputRanges[c][0] = swing;
        } else {
            out.currentOutputRanges[c][0] = 0.0f;
        }
        out.outputRanges[c][1] = recordFloat(outputRanges[c]);
        out.outputAngles[c][1] = foldAngle360f(outputAngles[c]);
        out.outputFrequencies[c][1] = recordFloat(outputFrequencies[c]);
        out.currentOutputRanges[c][1] = recordFloat(outputRanges[c]);
    }
    out.outputLevelControlType = COMM_LEVELCONTROL_TYPE_AUTO;
    out.outputBOControlType = COMM_BOCONTROL_TYPE_AUTO;
    for (int i = 0; i < 4; ++i) {
        out.outputBOInitStates[i] = quint32(stateOutputBOStates[i]);
        out.outputBOHoldEnables[i] = 1;
        out.outputBOTurnEnables[i] = 1;
        out.outputBIRiseEnables[i] = quint32(stateOutputBIStates[i]) & 1u;
        out.outputBIFallEnables[i] = (quint32(stateOutputBIStates[i]) >> 1) & 1u;
    }
    out.outputBILogic = quint32(stateBILogicTypes);
    out.outputLinkStateType = COMM_LINKSTATE_TYPE_INITIATE;
    out.outputTime = float(kSteadyOutputTime);
    out.outputTriggerType = COMM_TRIGGER_TYPE_TIME_BINARY;
    if (globalTestControlData)
        globalTestControlData->controlOscillateEnable = 1;
}

void ModelOscillateEntity::updateToDriverStateCount()
{
    QMutexLocker locker(&entityLock);
    if (globalTestOutputData)
        globalTestOutputData->outputStateCount = 1;
}

void ModelOscillateEntity::updateToDriverBOStates()
{
    QMutexLocker locker(&entityLock);
    writeDriverBOStates(outputBOStates);
}

void ModelOscillateEntity::updateFromDriverState()
{
}

int ModelOscillateEntity::updateFromDriverAction(int statusTestStateIndex, int biflag, int index, float time)
{
    QMutexLocker locker(&entityLock);
    // The input index selects a two-bit field of biflag: 0-3 only.
    if (index < 0 || index > 3 || !(time > 0.0f) || !DriverStateWord(statusTestStateIndex).ended())
        return -1;
    const double t = double(time);
    const int code = (biflag >> (2 * index)) & 3;
    if (faultActionTimes[0] == t || (faultActionStates[0] != -1 && code == faultActionStates[0]))
        return -1;
    faultActionTimes[0] = t;
    faultActionStates[0] = code;
    updateFaultActionValue(oscillatePort, outputRanges, faultActionValues[0]);
    return 0;
}

void ModelOscillateEntity::formatLimitValue(double vmax, double imax)
{
    QMutexLocker locker(&entityLock);
    limitChannelRanges(outputRanges, vmax, imax);
}

void ModelOscillateEntity::updateFaultActionValue(RampPortType portType, const double* outputArry,
                                                  faultActionValStruct& value) const
{
    value = faultActionValStruct();
    if (!outputArry)
        return;
    int channels[3];
    value.portCnt = rampPortChannels(portType, channels);
    for (int k = 0; k < value.portCnt; ++k)
        value.actionVal[k] = outputArry[channels[k]] * (oscillatePercent + 1.0);
}

bool ModelOscillateEntity::checkOutputValues() const
{
    QMutexLocker locker(&entityLock);
    for (int c = 0; c < 8; ++c) {
        if (!isFiniteFloat(outputRanges[c]) || !isFiniteValue(outputAngles[c])
            || !isFiniteFloat(outputFrequencies[c]))
            return false;
        if (inGroup(oscillatePort, c) && !isFiniteFloat(outputRanges[c] * oscillatePercent))
            return false;
    }
    return isFiniteFloat(oscillatePercent) && isFiniteValue(oscillateAngle) && isFiniteFloat(oscillateFrequency)
           && (oscillatePercent == 0.0 || oscillateFrequency >= kMinSwingFrequency);
}

double ModelOscillateEntity::maxOutputCurrent() const
{
    QMutexLocker locker(&entityLock);
    double result = 0.0;
    for (int c = ModelEntity::AO_PORT_TYPE_IA; c <= ModelEntity::AO_PORT_TYPE_IX; ++c) {
        double current = std::fabs(outputRanges[c]);
        if (inGroup(oscillatePort, c))
            current += std::fabs(outputRanges[c] * oscillatePercent);
        if (std::isfinite(current))
            result = std::max(result, current);
    }
    return result;
}
