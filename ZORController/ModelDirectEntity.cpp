#include "ModelDirectEntity.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <iterator>

using namespace ModelEntity;

namespace {

// POWER_AMP_TYPE_DIGITAL: IA drives IA and IC in opposition.
bool digitalAmplifier()
{
    return globalConfigureHardData && globalConfigureHardData->powerAmpType == 1;
}

} // namespace

ModelDirectEntity::ModelDirectEntity()
    : ModelActionRampEntity(true)
{
    // Not sent: the angle every channel is written with.
    std::fill(std::begin(outputAngles), std::end(outputAngles), 90.0);
    std::fill(std::begin(nextOutputAngles), std::end(nextOutputAngles), 90.0);
}

void ModelDirectEntity::updateToDriverValue()
{
    QMutexLocker locker(&entityLock);
    if (!globalTestOutputData)
        return;
    CommDriverTestOutputData& out = *globalTestOutputData;
    clearDriverOutputs(out);
    const double* ranges = autoRampEnabled ? nextOutputRanges : outputRanges;
    for (int c = 0; c < 8; ++c) {
        out.outputRanges[c][0] = recordFloat(ranges[c]);
        out.outputAngles[c][0] = 90.0f;
        out.outputFrequencies[c][0] = 0.0f;
        out.currentOutputRanges[c][0] = recordFloat(outputRanges[c]);
    }
    if (digitalAmplifier()) {
        out.outputAngles[COMM_PORT_TYPE_IA][0] = 270.0f;
        out.outputRanges[COMM_PORT_TYPE_IB][0] = 0.0f;
        out.currentOutputRanges[COMM_PORT_TYPE_IB][0] = 0.0f;
        out.outputAngles[COMM_PORT_TYPE_IB][0] = -180.0f;
        out.outputAngles[COMM_PORT_TYPE_IC][0] = 90.0f;
        out.outputRanges[COMM_PORT_TYPE_IC][0] = out.outputRanges[COMM_PORT_TYPE_IA][0];
        out.currentOutputRanges[COMM_PORT_TYPE_IC][0] = out.currentOutputRanges[COMM_PORT_TYPE_IA][0];
    }
    ActionRamp::writePageSettings(*this, out);
}

double ModelDirectEntity::maxOutputCurrent() const
{
    QMutexLocker locker(&entityLock);
    double result = 0.0;
    const bool digital = digitalAmplifier();
    for (int c = 4; c < 8; ++c) {
        int source = c;
        if (digital && c == COMM_PORT_TYPE_IB)
            continue;
        if (digital && c == COMM_PORT_TYPE_IC)
            source = COMM_PORT_TYPE_IA;
        if (isFiniteFloat(outputRanges[source]))
            result = std::max(result, std::fabs(outputRanges[source]));
    }
    return result;
}
