#pragma once

// Driver records for entity tests: fresh output, control, status and
// hardware records in the process-wide pointers for the test's lifetime,
// the previous pointers restored afterwards.

#include "CommDriverData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace entitytest {

class DriverRecords
{
public:
    DriverRecords()
        : savedOutput(globalTestOutputData),
          savedControl(globalTestControlData),
          savedStatus(globalTestStatusData),
          savedHard(globalConfigureHardData)
    {
        globalTestOutputData = &output;
        globalTestControlData = &control;
        globalTestStatusData = &status;
        globalConfigureHardData = &hard;
    }
    ~DriverRecords()
    {
        globalTestOutputData = savedOutput;
        globalTestControlData = savedControl;
        globalTestStatusData = savedStatus;
        globalConfigureHardData = savedHard;
    }
    DriverRecords(const DriverRecords&) = delete;
    DriverRecords& operator=(const DriverRecords&) = delete;

    // Leftovers of an earlier module in every component.
    void soil(float value = 77.0f)
    {
        for (int c = 0; c < 8; ++c) {
            for (int k = 0; k < 4; ++k) {
                output.currentOutputRanges[c][k] = value;
                output.outputRanges[c][k] = value;
                output.outputAngles[c][k] = value;
                output.outputFrequencies[c][k] = value;
            }
        }
    }

    CommDriverTestOutputData output;
    CommDriverTestControlData control;
    CommDriverTestStatusData status;
    CommDriverConfigureHardData hard;

private:
    CommDriverTestOutputData* savedOutput;
    CommDriverTestControlData* savedControl;
    CommDriverTestStatusData* savedStatus;
    CommDriverConfigureHardData* savedHard;
};

// Nothing of a driver record may be non-finite or an angle outside [0, 360).
inline void expectSaneRecord(const CommDriverTestOutputData& out)
{
    for (int c = 0; c < 8; ++c) {
        for (int k = 0; k < 4; ++k) {
            EXPECT_TRUE(std::isfinite(out.outputRanges[c][k])) << c << "/" << k;
            EXPECT_TRUE(std::isfinite(out.outputFrequencies[c][k])) << c << "/" << k;
            EXPECT_GE(out.outputAngles[c][k], 0.0f) << c << "/" << k;
            EXPECT_LT(out.outputAngles[c][k], 360.0f) << c << "/" << k;
        }
    }
}

constexpr double kInf = HUGE_VAL;
inline double nan() { return std::nan(""); }

} // namespace entitytest
