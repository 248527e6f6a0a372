// The test clock as the engine sees it: configuration and synchronisation
// over the lower clock, under one mutex.

#include "driverclock.h"

#include "CommDriverData.h"
#include "driverbase.h"
#include "zodrv_clock.h"
#include "zogps.h"

#include <cstdio>
#include <mutex>

namespace {

// Configuration and synchronisation share the pulse arrays and the FPGA time latch.
std::mutex clockMutex;

void print(const char* text)
{
    std::printf("%s\n", text);
    std::fflush(stdout);
}

} // namespace

int driverInitClockConfig()
{
    gps_sync_init_handle();
    {
        std::lock_guard<std::mutex> lock(clockMutex);
        drv_clock_init_handle();
        drv_clock_init_config();
    }
    if (gps_sync_task_start() != 0) {
        print("GPS TASK THREAD INIT ERROR");
        return -1;
    }
    print("GPS TASK RUNNING ... ");
    return 0;
}

int driverUpdateClockConfig(uint32_t refsrc, uint32_t inType, uint32_t inPolarity,
                            uint32_t outType, uint32_t outPolarity)
{
    driverUpdateClockEnabled.store(1);
    {
        std::lock_guard<std::mutex> lock(clockMutex);
        if (lower_clock_config* cfg = lower_clock_config_handle) {
            cfg->clk_refsrc = refsrc;
            cfg->clk_timezone = 0.0f;
            cfg->clk_stime = LOWER_CLOCK_DEFAULT_STIME;
            cfg->ppx_count = 0;
            cfg->etrigger_mask = LOWER_CLOCK_ETRIGGER_MASK_TYPE_ALL;
            cfg->etrigger_in_type = inType;
            cfg->etrigger_in_polarity = inPolarity;
            cfg->etrigger_out_type = outType;
            cfg->etrigger_out_polarity = outPolarity;
            cfg->update_enable = 1;
            cfg->update_mask = LOWER_CLOCK_UPDATE_MASK_TYPE_CLOCKREF | LOWER_CLOCK_UPDATE_MASK_TYPE_EIOTRIG;
            drv_clock_update_config();
        }
    }
    driverUpdateClockEnabled.store(0);
    return 0;
}

int driverUpdateClockPPXConfig()
{
    driverUpdateClockEnabled.store(1);
    {
        std::lock_guard<std::mutex> lock(clockMutex);
        lower_clock_config* cfg = lower_clock_config_handle;
        const CommDriverClockPPXConfigData* list = globalClockPPXData;
        if (cfg != nullptr && list != nullptr) {
            uint32_t count = list->clk_ppx_count;
            if (count > uint32_t(LOWER_CLOCK_PPX_MAX_COUNT))
                count = LOWER_CLOCK_PPX_MAX_COUNT;
            cfg->ppx_count = int32_t(count);
            for (uint32_t i = 0; i < count; ++i)
                cfg->ppx_stimes[i] = list->clk_ppx_list[i];
            cfg->update_enable = 1;
            cfg->update_mask = LOWER_CLOCK_UPDATE_MASK_TYPE_PPX;
            drv_clock_update_config();
        }
    }
    driverUpdateClockEnabled.store(0);
    return 0;
}

int driverUpdateClockSyncTime()
{
    if (driverUpdateClockEnabled.load() == 1)
        return 0;
    std::lock_guard<std::mutex> lock(clockMutex);
    lower_clock_status* st = lower_clock_status_handle;
    if (st == nullptr)
        return 0;
    const int32_t synced = drv_clock_get_syncstate();
    if (synced >= 0)
        st->clk_syn_state = uint32_t(synced);
    drv_clock_update_synclock();
    if (CommDriverClockStatusData* out = globalClockStatusData) {
        out->clk_syn_state = st->clk_syn_state;
        out->clk_run_state = st->clk_run_state;
        out->clk_run_clock = st->clk_run_clock;
        out->clk_run_pretime = st->clk_run_pretime;
        out->clk_run_predate = st->clk_run_predate;
        out->clk_irigb_utctime = st->clk_irigb_utctime;
    }
    return 0;
}
