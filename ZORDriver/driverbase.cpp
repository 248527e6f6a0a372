// Driver start-up and release, and the sine table.

#include "driverbase.h"

#include <limits>

#include "driverclock.h"
#include "zodrv_mcasp.h"

#include <cmath>
#include <mutex>

std::atomic<int> localOutputUpdateOffset{0};
std::atomic<int> localOutputSwitchOffset{0};
std::atomic<int> driverUpdateClockEnabled{0};
float local_const_sinx_table[DRIVER_SINX_STEPS + 1];
std::atomic<int> localActionLeftFrom{-1};
std::atomic<int> localOutputPlayingOffset{0};
std::atomic<unsigned> localOutputSkippedPages{0};
std::atomic<int64_t> localActionReadUs{0};
std::atomic<int> localActionPlayingPage{0};
std::atomic<int64_t> localActionPageSinceUs[DRIVER_PAGE_COUNT] = {};
std::atomic<uint8_t> localActionEdges{0};
std::atomic<int> localStatesCut{0};

namespace {

// The clock set-up starts the GNSS thread: it runs until it has once succeeded
// and never again, whatever happens to the link.
bool clockConfigured = false;

template <typename Record>
void allocate(CommRecord<Record>& record)
{
    if (!record)
        record = new Record();
}

template <typename Record>
void release(CommRecord<Record>& record)
{
    Record* held = record;
    record = nullptr;
    delete held;
}

void buildSineTable()
{
    for (int i = 0; i < DRIVER_SINX_STEPS; ++i)
        local_const_sinx_table[i] = std::sin(2.0f * float(M_PI) * float(i) / float(DRIVER_SINX_STEPS));
    local_const_sinx_table[DRIVER_SINX_STEPS] = local_const_sinx_table[0];
}

}   // namespace

int driverBaseInit()
{
    localOutputUpdateOffset = 0;
    localOutputSwitchOffset = 0;

    // A repeated initialisation (after a failed first attempt) keeps the
    // records, so a calibration loaded meanwhile survives.
    allocate(globalConfigureHardData);
    allocate(globalConfigureSoftData);
    allocate(globalConfigureCalData);
    allocate(globalTestOutputData);
    allocate(globalTestControlData);
    allocate(globalTestStatusData);
    allocate(globalBatteryInfoData);
    allocate(globalClockStatusData);
    allocate(globalClockPPXData);

    drv_system_setsysmode(0, 1);
    globalTestControlData->controlDeviceLowPowerEnable = 0;
    driverUpdateClockEnabled = 1;

    // The link is set up afresh on every call (it drops an earlier mapping).
    const int linkResult = drv_mcasp_init();

    int clockResult = 0;
    if (!clockConfigured) {
        clockResult = driverInitClockConfig();
        clockConfigured = (clockResult == 0);
    }

    // Built once: the encoder may be reading it when a failed start-up is
    // tried again.
    static std::once_flag sineTableBuilt;
    std::call_once(sineTableBuilt, buildSineTable);
    return linkResult + clockResult;
}

int driverBaseRelease()
{
    drv_mcasp_release();
    release(globalConfigureHardData);
    release(globalConfigureSoftData);
    release(globalConfigureCalData);
    release(globalTestOutputData);
    release(globalTestControlData);
    release(globalTestStatusData);
    release(globalBatteryInfoData);
    release(globalClockStatusData);
    release(globalClockPPXData);
    return 0;
}
