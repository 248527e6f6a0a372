// The lower clock: FPGA time base, reference selection and synchronisation,
// IRIG-B input and output, timed pulses and the trigger register.

#include "zodrv_clock.h"

#include "zobase_mysystem.h"
#include "zodrv_mcasp.h"
#include "zogps.h"
#include "zoplatform.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <utility>

lower_clock_config* lower_clock_config_handle = nullptr;
lower_clock_status* lower_clock_status_handle = nullptr;

namespace {

// Days per month, entry 0 unused; row 1 for leap years.
const u8 local_clock_month_days[2][13] = {
    {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
};

std::atomic<drv_clock_gnss_seconds_fn> gnssSeconds{nullptr};
std::atomic<drv_clock_gnss_pending_fn> gnssPending{nullptr};

time_t gnssUtcSeconds()
{
    const drv_clock_gnss_seconds_fn fn = gnssSeconds.load();
    return fn != nullptr ? fn(1) : gps_sync_get_utcseconds(1);
}

bool gnssConfigPending()
{
    const drv_clock_gnss_pending_fn fn = gnssPending.load();
    return (fn != nullptr ? fn() : gps_sync_config_pending()) != 0;
}

// The FPGA needs a moment between the edges of its strobes.
void strobeWait()
{
    std::this_thread::sleep_for(std::chrono::microseconds(1));
}

bool irigbSelected(u32 refsrc)
{
    return refsrc == LOWER_CLOCK_REFSRC_TYPE_IRIG_BF || refsrc == LOWER_CLOCK_REFSRC_TYPE_IRIG_BE;
}

// The selected reference's current UTC second (0 or less: none).
time_t referenceSeconds(bool irigb)
{
    return irigb ? drv_clock_get_irigb_time() : gnssUtcSeconds();
}

// Latched FPGA seconds; false when the link failed.
bool fpgaSeconds(u32& seconds)
{
    u32 subcount = 0;
    return drv_clock_get_pl_time(&subcount, &seconds) == 0;
}

// BCD digits of word, units in bits 0-3; false when a digit is above 9.
bool bcdValue(u16 word, int digits, int& value)
{
    value = 0;
    int scale = 1;
    for (int i = 0; i < digits; ++i) {
        const int digit = (word >> (4 * i)) & 0xF;
        if (digit > 9)
            return false;
        value += digit * scale;
        scale *= 10;
    }
    return true;
}

u16 bcdWord(int value, int digits)
{
    u16 word = 0;
    for (int i = 0; i < digits; ++i) {
        word = static_cast<u16>(word | ((value % 10) << (4 * i)));
        value /= 10;
    }
    return word;
}

} // namespace

// ---- Blocks -------------------------------------------------------------------

int drv_clock_init_handle()
{
    std::printf("drv_clock_init_handle\n");
    std::fflush(stdout);
    if (lower_clock_config_handle == nullptr)
        lower_clock_config_handle = new lower_clock_config();
    if (lower_clock_status_handle == nullptr)
        lower_clock_status_handle = new lower_clock_status();
    return 0;
}

void drv_clock_release_handle()
{
    delete lower_clock_config_handle;
    lower_clock_config_handle = nullptr;
    delete lower_clock_status_handle;
    lower_clock_status_handle = nullptr;
}

void drv_clock_init_config()
{
    lower_clock_config* cfg = lower_clock_config_handle;
    if (cfg == nullptr)
        return;
    *cfg = lower_clock_config();
    cfg->update_enable = 1;
    cfg->update_mask = LOWER_CLOCK_UPDATE_MASK_TYPE_ALL;
    cfg->clk_refsrc = LOWER_CLOCK_REFSRC_TYPE_GPS;
    cfg->clk_timezone = 0.0f;
    cfg->clk_stime = LOWER_CLOCK_DEFAULT_STIME;
    cfg->ppx_count = 0;
    cfg->etrigger_mask = LOWER_CLOCK_ETRIGGER_MASK_TYPE_ALL;
    cfg->etrigger_in_type = LOWER_CLOCK_ETRIGGER_IN_TYPE_TIME;
    cfg->etrigger_in_polarity = LOWER_CLOCK_ETRIGGER_POLARITY_TYPE_RISINGEDGE;
    cfg->etrigger_out_type = LOWER_CLOCK_ETRIGGER_OUT_TYPE_SECONDPULSE;
    cfg->etrigger_out_polarity = LOWER_CLOCK_ETRIGGER_POLARITY_TYPE_RISINGEDGE;
}

void drv_clock_update_config()
{
    lower_clock_config* cfg = lower_clock_config_handle;
    if (cfg == nullptr || cfg->update_enable == 0)
        return;
    const u32 mask = cfg->update_mask;
    const bool setTime = (mask & LOWER_CLOCK_UPDATE_MASK_TYPE_TIME_SEC) != 0;
    const bool setZone = (mask & LOWER_CLOCK_UPDATE_MASK_TYPE_TIMEZONE) != 0;
    if (setTime || setZone)
        _my_system_settime(setTime ? &cfg->clk_stime : nullptr, setZone ? &cfg->clk_timezone : nullptr);
    if (mask & LOWER_CLOCK_UPDATE_MASK_TYPE_PPX)
        drv_clock_filter_ppx();
    if (mask & LOWER_CLOCK_UPDATE_MASK_TYPE_EIOTRIG)
        drv_clock_update_iotrigset();
    if (mask & LOWER_CLOCK_UPDATE_MASK_TYPE_CLOCKREF)
        drv_clock_set_refselect();
    cfg->update_mask = 0;
    cfg->update_enable = 0;
}

// ---- Register-level operations ------------------------------------------------

u32 drv_clock_get_refstate()
{
    u16 high = 0;
    u16 low = 0;
    if (drv_mcasp_read_u16(DRV_CLOCK_REG_REFSTATE_HIGH, &high) + drv_mcasp_read_u16(DRV_CLOCK_REG_REFSTATE_LOW, &low) != 0)
        return 0;
    return (u32(high) << 16) | low;
}

s32 drv_clock_get_syncstate()
{
    u16 value = 0;
    if (drv_mcasp_read_u16(DRV_CLOCK_REG_SYNCSTATE, &value) != 0)
        return -1;
    return (value & DRV_CLOCK_SYNCSTATE_BIT) ? 1 : 0;
}

time_t drv_clock_get_irigb_time()
{
    u16 words[DRV_CLOCK_IRIGB_WORDS] = {};
    int rc = 0;
    for (int i = 0; i < DRV_CLOCK_IRIGB_WORDS; i += 3)
        rc += drv_mcasp_read_u16sb(static_cast<u16>(DRV_CLOCK_REG_IRIGB_IN + 2 * i), &words[i], 3);
    if (rc != 0)
        return 0;
    return drv_clock_decode_irigb(words);
}

int drv_clock_get_pl_time(u32* subcount, u32* seconds)
{
    int rc = drv_mcasp_write_u16(DRV_CLOCK_REG_LATCH, 0);
    strobeWait();
    rc += drv_mcasp_write_u16(DRV_CLOCK_REG_LATCH, 1);
    strobeWait();
    u32 values[2] = {};
    rc += drv_mcasp_read_u32s(DRV_CLOCK_REG_LATCHED, values, 2);
    if (rc != 0)
        return rc;
    if (subcount != nullptr)
        *subcount = values[0];
    if (seconds != nullptr)
        *seconds = values[1];
    return 0;
}

u32 drv_clock_get_pl_dplfreq()
{
    u32 counts = 0;
    if (drv_mcasp_read_u32(DRV_CLOCK_REG_DPLFREQ, &counts) != 0)
        return 0;
    return counts;
}

int drv_clock_set_pl_time(u32 seconds)
{
    int rc = drv_mcasp_write_u32(DRV_CLOCK_REG_LOAD_TIME, seconds);
    rc += drv_mcasp_write_u16(DRV_CLOCK_REG_LOAD, 0);
    strobeWait();
    rc += drv_mcasp_write_u16(DRV_CLOCK_REG_LOAD, 2);
    return rc;
}

int drv_clock_set_irigb_output(u32 seconds)
{
    u16 words[DRV_CLOCK_IRIGB_WORDS] = {};
    drv_clock_encode_irigb(time_t(seconds) + 1, words);
    return drv_mcasp_write_u16s(DRV_CLOCK_REG_IRIGB_OUT, words, DRV_CLOCK_IRIGB_WORDS);
}

void drv_clock_filter_ppx()
{
    lower_clock_config* cfg = lower_clock_config_handle;
    if (cfg == nullptr)
        return;
    for (u32& state : cfg->ppx_states)
        state = LOWER_CLOCK_PPX_STATE_TYPE_VALID;

    int count = cfg->ppx_count;
    if (count < 0)
        count = 0;
    if (count > LOWER_CLOCK_PPX_MAX_COUNT)
        count = LOWER_CLOCK_PPX_MAX_COUNT;

    // Ascending by time, the pre-trigger counts carried along.
    for (int pass = 0; pass + 1 < count; ++pass) {
        for (int i = 0; i + 1 < count - pass; ++i) {
            if (cfg->ppx_stimes[i] > cfg->ppx_stimes[i + 1]) {
                std::swap(cfg->ppx_stimes[i], cfg->ppx_stimes[i + 1]);
                std::swap(cfg->ppx_pretrigcts[i], cfg->ppx_pretrigcts[i + 1]);
            }
        }
    }

    u32 now = 0;
    fpgaSeconds(now);
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        if (cfg->ppx_stimes[i] <= now)
            continue;
        cfg->ppx_stimes[kept] = cfg->ppx_stimes[i];
        cfg->ppx_pretrigcts[kept] = cfg->ppx_pretrigcts[i];
        cfg->ppx_states[kept] = 0;
        ++kept;
    }
    cfg->ppx_count = kept;
}

void drv_clock_push_ppx(u32 seconds)
{
    lower_clock_config* cfg = lower_clock_config_handle;
    if (cfg == nullptr)
        return;
    int count = cfg->ppx_count;
    if (count > LOWER_CLOCK_PPX_MAX_COUNT)
        count = LOWER_CLOCK_PPX_MAX_COUNT;

    int candidate = -1;
    for (int i = 0; i < count; ++i) {
        u32& state = cfg->ppx_states[i];
        if (state != 0 && !(state & LOWER_CLOCK_PPX_STATE_TYPE_READY))
            continue;
        if (cfg->ppx_stimes[i] > seconds) {
            candidate = i;
            break;
        }
        state = LOWER_CLOCK_PPX_STATE_TYPE_VALID;
    }
    for (int i = 0; i < count; ++i) {
        if (cfg->ppx_states[i] & LOWER_CLOCK_PPX_STATE_TYPE_READY)
            return;
    }

    drv_mcasp_write_u16(DRV_CLOCK_REG_PPX_ARM, 0);
    if (candidate >= 0) {
        drv_mcasp_write_u32(DRV_CLOCK_REG_PPX_TIME, cfg->ppx_stimes[candidate]);
        drv_mcasp_write_u16(DRV_CLOCK_REG_PPX_PRETRIG, static_cast<u16>(cfg->ppx_pretrigcts[candidate] & 0xFFFF));
        drv_mcasp_write_u16(DRV_CLOCK_REG_PPX_ARM, 1);
        cfg->ppx_states[candidate] = LOWER_CLOCK_PPX_STATE_TYPE_READY;
    } else {
        drv_mcasp_write_u32(DRV_CLOCK_REG_PPX_TIME, 0);
        drv_mcasp_write_u16(DRV_CLOCK_REG_PPX_PRETRIG, 0);
        drv_mcasp_write_u16(DRV_CLOCK_REG_PPX_ARM, 1);
    }
}

int drv_clock_update_iotrigset()
{
    lower_clock_config* cfg = lower_clock_config_handle;
    if (cfg == nullptr)
        return -1;
    u16 value = 0;
    // Without the present value the other bits would be lost: leave it alone.
    const int rc = drv_mcasp_read_u16(DRV_CLOCK_REG_IOTRIG, &value);
    if (rc != 0)
        return rc;
    const u32 mask = cfg->etrigger_mask;
    if (mask & LOWER_CLOCK_ETRIGGER_MASK_TYPE_OUTPOLARITY)
        value = static_cast<u16>((value & ~0x0001u) | (cfg->etrigger_out_polarity != 0 ? 0x0001u : 0u));
    if (mask & LOWER_CLOCK_ETRIGGER_MASK_TYPE_OUTTYPE) {
        // The output type bits read 1 and 2 set whatever the type: the values
        // the FPGA has always been given.
        value = static_cast<u16>((value & ~0x000Eu) | 0x0006u);
    }
    if (mask & LOWER_CLOCK_ETRIGGER_MASK_TYPE_INPOLARITY)
        value = static_cast<u16>((value & ~0x0010u) | (cfg->etrigger_in_polarity != 0 ? 0x0010u : 0u));
    if (mask & LOWER_CLOCK_ETRIGGER_MASK_TYPE_INTYPE) {
        value = static_cast<u16>(value & ~0x00E0u);
        if (cfg->etrigger_in_type == LOWER_CLOCK_ETRIGGER_IN_TYPE_EXTERNIN)
            value = static_cast<u16>(value | 0x0020u);
    }
    return drv_mcasp_write_u16(DRV_CLOCK_REG_IOTRIG, value);
}

void drv_clock_set_refselect()
{
    lower_clock_config* cfg = lower_clock_config_handle;
    lower_clock_status* st = lower_clock_status_handle;
    if (cfg == nullptr || st == nullptr)
        return;
    switch (cfg->clk_refsrc) {
    case LOWER_CLOCK_REFSRC_TYPE_GPS:
        drv_mcasp_write_u16(DRV_CLOCK_REG_REFSELECT, DRV_CLOCK_REFSELECT_GPS);
        st->clk_run_clock = LOWER_CLOCK_REFSRC_TYPE_GPS;
        st->clk_run_pretime = static_cast<u32>(gnssUtcSeconds());
        break;
    case LOWER_CLOCK_REFSRC_TYPE_IRIG_BF:
        drv_mcasp_write_u16(DRV_CLOCK_REG_REFSELECT, DRV_CLOCK_REFSELECT_IRIG_BF);
        st->clk_run_clock = LOWER_CLOCK_REFSRC_TYPE_IRIG_BF;
        st->clk_run_pretime = static_cast<u32>(drv_clock_get_irigb_time());
        break;
    case LOWER_CLOCK_REFSRC_TYPE_IRIG_BE:
        drv_mcasp_write_u16(DRV_CLOCK_REG_REFSELECT, DRV_CLOCK_REFSELECT_IRIG_BE);
        st->clk_run_clock = LOWER_CLOCK_REFSRC_TYPE_IRIG_BE;
        st->clk_run_pretime = static_cast<u32>(drv_clock_get_irigb_time());
        break;
    default:
        drv_mcasp_write_u16(DRV_CLOCK_REG_REFSELECT, 0);
        st->clk_run_clock = LOWER_CLOCK_REFSRC_TYPE_INVALID;
        break;
    }
    st->clk_run_state = LOWER_CLOCK_RUN_STATE_TYPE_START;
}

int drv_clock_update_pretrigcts()
{
    lower_clock_config* cfg = lower_clock_config_handle;
    if (cfg == nullptr)
        return -1;
    for (u32& count : cfg->ppx_pretrigcts)
        count = cfg->ppx_pretrigcts[0];
    return drv_mcasp_write_u16(DRV_CLOCK_REG_PPX_PRETRIG, static_cast<u16>(cfg->ppx_pretrigcts[0] & 0xFFFF));
}

int drv_clock_get_syst_time(u32* seconds, u32* microseconds)
{
    u32 subcount = 0;
    u32 utc = 0;
    if (drv_clock_get_pl_time(&subcount, &utc) != 0)
        return -1;
    const u32 counts = drv_clock_get_pl_dplfreq();
    if (counts == 0)
        return -1;
    if (seconds != nullptr)
        *seconds = utc;
    if (microseconds != nullptr)
        *microseconds = static_cast<u32>(u64(subcount) * 1000000u / counts);
    return 0;
}

// ---- Synchronisation ------------------------------------------------------------

void drv_clock_update_synclock()
{
    lower_clock_config* cfg = lower_clock_config_handle;
    lower_clock_status* st = lower_clock_status_handle;
    if (cfg == nullptr || st == nullptr)
        return;

    const u32 refstate = drv_clock_get_refstate();
    const bool irigb = irigbSelected(cfg->clk_refsrc);
    time_t t = 0;
    if (irigb) {
        if (!(refstate & DRV_CLOCK_REFSTATE_IRIGB_PRESENT)) {
            st->clk_irigb_utctime = 0;
            return;
        }
        t = drv_clock_get_irigb_time();
    } else if (cfg->clk_refsrc == LOWER_CLOCK_REFSRC_TYPE_GPS) {
        if ((refstate & DRV_CLOCK_REFSTATE_GPS_BUSY) != 0 || gnssConfigPending())
            return;
        t = gnssUtcSeconds();
    } else {
        return;
    }
    if (t < 1 || u32(t) == st->clk_run_pretime)
        return;
    st->clk_run_pretime = u32(t);

    // FPGA time against the reference; read both again when they agree, in
    // case the second turned between the two reads. A failed read (no FPGA
    // second, or reference time 0) ends the step: nothing is loaded or set
    // from it.
    u32 fpga = 0;
    if (!fpgaSeconds(fpga))
        return;
    t = referenceSeconds(irigb);
    if (time_t(fpga) == t) {
        if (!fpgaSeconds(fpga))
            return;
        t = referenceSeconds(irigb);
    }
    if (t < 1)
        return;

    drv_clock_push_ppx(fpga);
    if (time_t(fpga) != t)
        drv_clock_set_pl_time(u32(t));

    u32 system = _my_system_gettime_second();
    t = referenceSeconds(irigb);
    if (time_t(system) == t) {
        system = _my_system_gettime_second();
        t = referenceSeconds(irigb);
    }
    if (t < 1)
        return;
    if (time_t(system) != t)
        zoplat::setSystemTime(int64_t(t));

    t = referenceSeconds(irigb);
    if (t < 1)
        return;
    if (irigb)
        st->clk_irigb_utctime = u32(t);
    drv_clock_set_irigb_output(u32(t));
}

// ---- IRIG-B words -----------------------------------------------------------------

int drv_clock_is_leap_year(int year)
{
    return ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0) ? 1 : 0;
}

time_t drv_clock_decode_irigb(const u16 words[DRV_CLOCK_IRIGB_WORDS])
{
    int second = 0;
    int minute = 0;
    int hour = 0;
    int day = 0;
    int year = 0;
    if (!bcdValue(words[0], 2, second) || !bcdValue(words[1], 2, minute) || !bcdValue(words[2], 2, hour)
        || !bcdValue(words[3], 4, day) || !bcdValue(words[4], 2, year))
        return 0;
    year += 2000;
    const int leap = drv_clock_is_leap_year(year);
    if (second > 60 || minute > 59 || hour > 23 || day < 1 || day > 365 + leap)
        return 0;

    int month = 1;
    while (day > local_clock_month_days[leap][month]) {
        day -= local_clock_month_days[leap][month];
        ++month;
    }

    struct tm broken = {};
    broken.tm_year = year - 1900;
    broken.tm_mon = month - 1;
    broken.tm_mday = day;
    broken.tm_hour = hour;
    broken.tm_min = minute;
    broken.tm_sec = second;
    time_t t = timegm(&broken);
    if (t == time_t(-1))
        return 0;

    // The words carry local time; bits 5-8 of word 5 give the offset in hours,
    // bit 4 its direction.
    const time_t offset = time_t((words[5] >> 5) & 0xF) * 3600;
    if (words[5] & 0x0010)
        t += offset;
    else if (t - offset > 0)
        t -= offset;
    return t;
}

void drv_clock_encode_irigb(time_t seconds, u16 words[DRV_CLOCK_IRIGB_WORDS])
{
    struct tm broken = {};
    gmtime_r(&seconds, &broken);
    const u32 dayseconds = u32(broken.tm_hour) * 3600 + u32(broken.tm_min) * 60 + u32(broken.tm_sec);
    words[0] = bcdWord(broken.tm_sec, 2);
    words[1] = bcdWord(broken.tm_min, 2);
    words[2] = bcdWord(broken.tm_hour, 2);
    words[3] = bcdWord(broken.tm_yday + 1, 4);
    words[4] = bcdWord(broken.tm_year, 4);
    words[5] = 0;
    words[6] = 0;
    words[7] = static_cast<u16>(dayseconds & 0xFFFF);
    words[8] = static_cast<u16>(dayseconds >> 16);
}

// ---- GNSS seconds -------------------------------------------------------------------

void drv_clock_set_gnss_source(drv_clock_gnss_seconds_fn seconds, drv_clock_gnss_pending_fn pending)
{
    gnssSeconds.store(seconds);
    gnssPending.store(pending);
}
