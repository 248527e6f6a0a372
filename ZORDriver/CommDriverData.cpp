#include "CommDriverData.h"

#include <algorithm>

CommRecord<CommDriverConfigureHardData> globalConfigureHardData;
CommRecord<CommDriverConfigureSoftData> globalConfigureSoftData;
CommRecord<CommDriverConfigureCalData> globalConfigureCalData;
CommRecord<CommDriverTestOutputData> globalTestOutputData;
CommRecord<CommDriverTestControlData> globalTestControlData;
CommRecord<CommDriverTestStatusData> globalTestStatusData;
CommRecord<CommDriverBatteryInfoData> globalBatteryInfoData;
CommRecord<CommDriverClockStatusData> globalClockStatusData;
CommRecord<CommDriverClockPPXConfigData> globalClockPPXData;

namespace {

template <typename Array>
void fillAll(Array& a, float value)
{
    float* first = &a[0][0][0];
    std::fill(first, first + sizeof(a) / sizeof(float), value);
}

}   // namespace

CommDriverConfigureCalData::CommDriverConfigureCalData()
{
    for (auto* limits : {&acdcoAmpLimits, &acfrqAmpLimits, &acphaFrqLimits, &llodcoAmpLimits})
        fillAll(*limits, -1.0f);
    fillAll(acampAmpLimits, -1.0f);
    fillAll(acfacFrqLimits, -1.0f);
    fillAll(auxdcPwmLimits, -1.0f);
    fillAll(dcampAmpLimits, -1.0f);
    fillAll(lloampAmpLimits, -1.0f);
    fillAll(llodcAmpLimits, -1.0f);

    fillAll(acampAmpFactors, 1.0f);
    fillAll(acfrqFrqFactors, 1.0f);
    fillAll(acfacFrqFactors, 1.0f);
    fillAll(acfacFrqPoints, 1.0f);
    fillAll(auxdcPwmFactors, 1.0f);
    fillAll(dcampAmpFactors, 1.0f);
    fillAll(lloampAmpFactors, 1.0f);
    fillAll(llodcAmpFactors, 1.0f);

    for (auto* offsets : {&acdcoAmpOffsets, &acphaPhaOffsets, &llodcoAmpOffsets})
        fillAll(*offsets, 0.0f);
    fillAll(acampAmpOffsets, 0.0f);
    fillAll(auxdcPwmOffsets, 0.0f);
    fillAll(dcampAmpOffsets, 0.0f);
    fillAll(lloampAmpOffsets, 0.0f);
    fillAll(llodcAmpOffsets, 0.0f);
}
