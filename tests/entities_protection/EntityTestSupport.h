#pragma once

// Driver records and a stand-in for the driver's eight-page ring, for unit
// tests of the module entities: the test plays the run control's calls and
// reads what the entity encoded into each page.

#include "CommDriverData.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace entitytest {

// Fresh process-wide driver records for one test; the previous pointers come
// back at the end of the test.
class DriverRecords
{
public:
    DriverRecords()
        : savedOutput(globalTestOutputData), savedControl(globalTestControlData),
          savedStatus(globalTestStatusData), savedHard(globalConfigureHardData)
    {
        globalTestOutputData = output.get();
        globalTestControlData = control.get();
        globalTestStatusData = status.get();
        globalConfigureHardData = hard.get();
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

    std::unique_ptr<CommDriverTestOutputData> output = std::make_unique<CommDriverTestOutputData>();
    std::unique_ptr<CommDriverTestControlData> control = std::make_unique<CommDriverTestControlData>();
    std::unique_ptr<CommDriverTestStatusData> status = std::make_unique<CommDriverTestStatusData>();
    std::unique_ptr<CommDriverConfigureHardData> hard = std::make_unique<CommDriverConfigureHardData>();

private:
    CommDriverTestOutputData* savedOutput;
    CommDriverTestControlData* savedControl;
    CommDriverTestStatusData* savedStatus;
    CommDriverConfigureHardData* savedHard;
};

// The ring as the run control drives it: reset before a start, next page
// after each preloaded state, send = the output record as it is now goes into
// the current page.
struct PageRing
{
    std::array<CommDriverTestOutputData, 8> pages{};
    int offset = 0;
    int sends = 0;

    void reset() { offset = 0; }
    void next() { offset = (offset + 1) % 8; }
    void send()
    {
        pages[offset] = *globalTestOutputData;
        ++sends;
    }
};

// Removes the records for a test of the "driver not initialised" case.
struct NoDriverRecords
{
    NoDriverRecords()
        : output(globalTestOutputData), control(globalTestControlData), status(globalTestStatusData)
    {
        globalTestOutputData = nullptr;
        globalTestControlData = nullptr;
        globalTestStatusData = nullptr;
    }
    ~NoDriverRecords()
    {
        globalTestOutputData = output;
        globalTestControlData = control;
        globalTestStatusData = status;
    }
    CommDriverTestOutputData* output;
    CommDriverTestControlData* control;
    CommDriverTestStatusData* status;
};

} // namespace entitytest
