#include "ModelEntityCommon.h"

#include "BaseUtilityHelper.h"

namespace ModelEntity {

void clearFaultAction(faultActionValStruct& value)
{
    value.portCnt = 0;
    for (double& v : value.actionVal)
        v = std::numeric_limits<double>::quiet_NaN();
}

void resetDriverStatus()
{
    if (globalTestStatusData) {
        globalTestStatusData->statusTestStateIndex = 0;
        globalTestStatusData->statusBIStateAction = 0;
    }
}

void writeDriverBOStates(const qint32 states[4])
{
    if (!globalTestControlData)
        return;
    for (int i = 0; i < 4; ++i)
        globalTestControlData->controlBOStates[i] = quint8(states[i] & 0xFF);
}

void clearDriverOutputs(CommDriverTestOutputData& out)
{
    std::fill(&out.outputRanges[0][0], &out.outputRanges[0][0] + 32, 0.0f);
    std::fill(&out.outputAngles[0][0], &out.outputAngles[0][0] + 32, 0.0f);
    std::fill(&out.outputFrequencies[0][0], &out.outputFrequencies[0][0] + 32, 0.0f);
}

void limitChannelRanges(double ranges[8], double vmax, double imax)
{
    for (int c = 0; c < 8; ++c)
        BaseUtilityHelper::formatLimit(c < 4 ? vmax : imax, 0.0, &ranges[c]);
}

bool recordBIAction(double times[4], qint32& biIndex, const qint32 biStates[4], qint32 logic, bool complete,
                    int biflag, int index, double time)
{
    if (logic == AO_BILOGIC_TYPE_OR || complete) {
        times[index] = time;
        biIndex = index;
        return true;
    }
    if (biIndex >= 0)
        return false;
    for (int i = 0; i < 4; ++i) {
        const int code = (biflag >> (2 * i)) & 3;
        if (code == 1 || code == 2)
            times[i] = time;
    }
    bool all = true;
    for (int i = 0; i < 4; ++i) {
        if (biStates[i] != 0 && !(times[i] > 0.0))
            all = false;
    }
    if (all)
        biIndex = index;
    return biIndex >= 0;
}

double rampGroupBegin(int port, const double* values, bool add)
{
    int channels[3];
    const int count = rampPortChannels(port, channels);
    if (count == 0 || !values)
        return 0.0;
    double value = values[channels[0]];
    for (int k = 1; k < count; ++k)
        value = add ? std::min(value, values[channels[k]]) : std::max(value, values[channels[k]]);
    return value;
}

void readRampGroup(int port, const double* values, faultActionValStruct& value)
{
    clearFaultAction(value);
    if (!values)
        return;
    int channels[3];
    value.portCnt = rampPortChannels(port, channels);
    for (int k = 0; k < value.portCnt; ++k)
        value.actionVal[k] = values[channels[k]];
}

void setRampGroup(int port, double* values, double value)
{
    if (!values)
        return;
    int channels[3];
    const int count = rampPortChannels(port, channels);
    for (int k = 0; k < count; ++k)
        values[channels[k]] = value;
}

int rampStepValue(double& value, double beginVal, double endVal, double step, qint32 rampFactor, qint32 leg)
{
    value += double(rampFactor) * double(leg) * std::fabs(step);
    const bool rising = rampFactor >= 1;
    if (leg == 1) {
        if (rising ? value >= endVal : value <= endVal) {
            value = endVal;
            return 0;
        }
        return 1;
    }
    if (leg == -1) {
        if (rising ? value <= beginVal : value >= beginVal) {
            value = beginVal;
            return 0;
        }
        return 1;
    }
    return 1;
}

double stepSearchValue(double x, double begin, double end, double step, bool first, bool& last)
{
    constexpr double tolerance = 1e-6;
    if (first) {
        if (std::fabs(begin - end) < tolerance)
            last = true;
        return begin;
    }
    if (begin > end) {
        if (x - step > end + tolerance)
            return x - step;
    } else if (x + step + tolerance < end) {
        return x + step;
    }
    last = true;
    return end;
}

} // namespace ModelEntity
