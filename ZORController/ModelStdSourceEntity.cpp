#include "ModelStdSourceEntity.h"

#include "CommDriverData.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>

using namespace ModelEntity;

void ModelStdSourceEntity::switchToResetState()
{
    QMutexLocker locker(&entityLock);
    resetDriverStatus();
}

void ModelStdSourceEntity::updateToDriverValue()
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
        out.outputRanges[c][0] = recordFloat(outputRanges[c]);
        out.outputAngles[c][0] = foldAngle360f(outputAngles[c]);
        out.outputFrequencies[c][0] = recordFloat(outputFrequencies[c]);
        out.currentOutputRanges[c][0] = recordFloat(outputRanges[c]);
    }
    out.outputLevelControlType = COMM_LEVELCONTROL_TYPE_AUTO;
    out.outputBOControlType = COMM_BOCONTROL_TYPE_AUTO;
    for (int i = 0; i < 4; ++i) {
        out.outputBOInitStates[i] = 0;
        out.outputBOHoldEnables[i] = 0;
        out.outputBOTurnEnables[i] = 0;
        out.outputBIRiseEnables[i] = 0;
        out.outputBIFallEnables[i] = 0;
    }
    out.outputBILogic = COMM_BILOGIC_TYPE_OR;
    out.outputLinkStateType = COMM_LINKSTATE_TYPE_INITIATE;
    out.outputTime = float(kSteadyOutputTime);
    out.outputTriggerType = COMM_TRIGGER_TYPE_TIME;
}

void ModelStdSourceEntity::updateToDriverStateCount()
{
    QMutexLocker locker(&entityLock);
    if (globalTestOutputData)
        globalTestOutputData->outputStateCount = 2;
}

void ModelStdSourceEntity::updateFromDriverState()
{
}

void ModelStdSourceEntity::formatLimitValue(double vmax, double imax)
{
    QMutexLocker locker(&entityLock);
    limitChannelRanges(outputRanges, vmax, imax);
}

bool ModelStdSourceEntity::checkOutputValues() const
{
    QMutexLocker locker(&entityLock);
    for (int c = 0; c < 8; ++c) {
        if (!isFiniteFloat(outputRanges[c]) || !isFiniteValue(outputAngles[c])
            || !isFiniteFloat(outputFrequencies[c]))
            return false;
    }
    return true;
}

double ModelStdSourceEntity::maxOutputCurrent() const
{
    QMutexLocker locker(&entityLock);
    double result = 0.0;
    for (int c = AO_PORT_TYPE_IA; c <= AO_PORT_TYPE_IX; ++c) {
        if (isFiniteFloat(outputRanges[c]))
            result = std::max(result, std::fabs(outputRanges[c]));
    }
    return result;
}
