#include "ModelAlternateEntity.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>

using namespace ModelEntity;

ModelAlternateEntity::ModelAlternateEntity()
    : ModelActionRampEntity(false)
{
}

void ModelAlternateEntity::updateToDriverValue()
{
    QMutexLocker locker(&entityLock);
    if (!globalTestOutputData)
        return;
    CommDriverTestOutputData& out = *globalTestOutputData;
    clearDriverOutputs(out);
    const double* ranges = autoRampEnabled ? nextOutputRanges : outputRanges;
    const double* angles = autoRampEnabled ? nextOutputAngles : outputAngles;
    const double* frequencies = autoRampEnabled ? nextOutputFrequencies : outputFrequencies;
    for (int c = 0; c < 8; ++c) {
        out.outputRanges[c][0] = recordFloat(ranges[c]);
        out.outputAngles[c][0] = foldAngle360f(angles[c]);
        out.outputFrequencies[c][0] = recordFloat(frequencies[c]);
        out.currentOutputRanges[c][0] = recordFloat(outputRanges[c]);
    }
    ActionRamp::writePageSettings(*this, out);
}

double ModelAlternateEntity::maxOutputCurrent() const
{
    QMutexLocker locker(&entityLock);
    double result = 0.0;
    for (int c = 4; c < 8; ++c) {
        if (isFiniteFloat(outputRanges[c]))
            result = std::max(result, std::fabs(outputRanges[c]));
    }
    return result;
}
