// Detection of NMEA and TSIP traffic, and the NMEA sentences that carry time,
// fix quality and satellite counts.

#include "zogps.h"
#include "zogps_internal.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint8_t kDle = 0x10;
constexpr uint8_t kEtx = 0x03;

// Body length of the TSIP packets the scan may meet, so it can skip them.
int tsipBodyLength(uint8_t id)
{
    switch (id) {
    case 0x41: return 10;
    case 0x42: return 16;
    case 0x43:
    case 0x4A:
    case 0x56: return 20;
    case 0x46: return 2;
    case 0x4B: return 3;
    case 0x6D: return 17;
    case 0x82: return 1;
    case 0x83:
    case 0x84: return 36;
    case 0x8F: return 64;
    default: return 0;
    }
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Digits at the start of s, saturating far above any field's range.
long long leadingInteger(const char* s, int length)
{
    constexpr long long kLimit = 1000000000000LL;
    long long v = 0;
    for (int i = 0; i < length && s[i] >= '0' && s[i] <= '9'; ++i) {
        v = v * 10 + (s[i] - '0');
        if (v > kLimit)
            v = kLimit;
    }
    return v;
}

// The decimal integer after the n-th comma; 0 when the field is missing.
long long field(const char* s, int length, int n)
{
    int commas = 0;
    int i = 0;
    while (i < length && commas < n) {
        if (s[i] == ',')
            ++commas;
        ++i;
    }
    if (commas < n)
        return 0;
    return leadingInteger(s + i, length - i);
}

int32_t toInt32(long long v)
{
    return int32_t(std::min<long long>(v, 0x7FFFFFFFLL));
}

int clampTm(long long v)
{
    return int(std::min<long long>(v, 100000000LL));
}

enum class Sentence { GpGga, GbGga, GnGga, GpGsv, GbGsv, GpZda, GbZda, GnZda };

struct DispatchEntry
{
    const char* prefix;
    Sentence kind;
};

const DispatchEntry kDispatch[] = {
    {"$GPGGA,", Sentence::GpGga}, {"$GBGGA,", Sentence::GbGga}, {"$GNGGA,", Sentence::GnGga},
    {"$GPGSV,", Sentence::GpGsv}, {"$GBGSV,", Sentence::GbGsv},
    {"$GPZDA,", Sentence::GpZda}, {"$GBZDA,", Sentence::GbZda}, {"$GNZDA,", Sentence::GnZda},
};
constexpr int kPrefixLength = 7;

// UTC broken-down time of a ZDA sentence and its seconds since the epoch,
// independent of the process's time zone.
void zdaTime(const char* s, int length, struct tm* out, time_t* seconds)
{
    const long long hms = leadingInteger(s + kPrefixLength, length - kPrefixLength);
    struct tm t {};
    t.tm_sec = int(hms % 100);
    t.tm_min = int((hms % 10000) / 100);
    t.tm_hour = clampTm(hms / 10000);
    t.tm_mday = clampTm(field(s, length, 2));
    t.tm_mon = clampTm(field(s, length, 3)) - 1;
    t.tm_year = clampTm(field(s, length, 4)) - 1900;
    *out = t;
    *seconds = timegm(&t);
}

} // namespace

std::atomic<int> local_utclock_enable{0};

int nmea_check_length(const uint8_t* bytes, int length)
{
    int count = 0;
    bool open = false;
    for (int i = 0; i < length; ++i) {
        if (!open) {
            if (bytes[i] == '$' && i + 1 < length && bytes[i + 1] == 'G') {
                open = true;
                ++i;
            }
        } else if (bytes[i] == '\r' || bytes[i] == '\n') {
            ++count;
            open = false;
        }
    }
    return count;
}

int tsip_check_length(const uint8_t* bytes, int length)
{
    int count = 0;
    bool started = false;
    int i = 0;
    while (i + 1 < length) {
        if (bytes[i] != kDle) {
            ++i;
            continue;
        }
        if (bytes[i + 1] == kEtx) {
            if (started)
                ++count;
            started = false;
            i += 2;
            continue;
        }
        started = true;
        i += 2 + tsipBodyLength(bytes[i + 1]);
    }
    return count;
}

uint8_t nmea_checksum(const char* sentence, int length)
{
    uint8_t sum = 0;
    for (int i = (length > 0 && sentence[0] == '$') ? 1 : 0; i < length && sentence[i] != '*'; ++i)
        sum ^= uint8_t(sentence[i]);
    return sum;
}

int nmea_parse_sentence(gps_sync_data* data, const char* sentence, int length)
{
    if (data == nullptr || sentence == nullptr || length < kPrefixLength || sentence[0] != '$')
        return 0;
    int end = length;
    while (end > 0 && (sentence[end - 1] == '\n' || sentence[end - 1] == '\r'))
        --end;

    // A checksum that is present must be right: two hex digits after '*'.
    const char* star = static_cast<const char*>(std::memchr(sentence, '*', size_t(end)));
    if (star != nullptr) {
        const int at = int(star - sentence);
        if (end - at < 3)
            return 0;
        const int hi = hexValue(star[1]);
        const int lo = hexValue(star[2]);
        if (hi < 0 || lo < 0 || uint8_t((hi << 4) | lo) != nmea_checksum(sentence, at))
            return 0;
        end = at;
    }
    if (end < kPrefixLength)
        return 0;

    const DispatchEntry* entry = nullptr;
    for (const DispatchEntry& e : kDispatch) {
        if (std::memcmp(sentence, e.prefix, kPrefixLength) == 0) {
            entry = &e;
            break;
        }
    }
    if (entry == nullptr)
        return 0;

    const char* s = sentence;
    switch (entry->kind) {
    case Sentence::GpGga:
        data->gps_fixstatus = toInt32(field(s, end, 6));
        data->gps_svcts = toInt32(field(s, end, 7));
        data->gbd_svcts = 0;
        break;
    case Sentence::GbGga:
        data->gbd_fixstatus = toInt32(field(s, end, 6));
        data->gbd_svcts = toInt32(field(s, end, 7));
        data->gps_svcts = 0;
        break;
    case Sentence::GnGga: {
        const int32_t fix = toInt32(field(s, end, 6));
        const int32_t count = toInt32(field(s, end, 7));
        data->gps_fixstatus = fix;
        data->gbd_fixstatus = fix;
        data->gps_svcts = count;
        data->gbd_svcts = count;
        break;
    }
    case Sentence::GpGsv:
        data->gps_svcts = toInt32(field(s, end, 3));
        break;
    case Sentence::GbGsv:
        data->gbd_svcts = toInt32(field(s, end, 3));
        break;
    case Sentence::GpZda:
    case Sentence::GbZda:
    case Sentence::GnZda: {
        local_utclock_enable = 1;
        struct tm t {};
        time_t seconds = 0;
        zdaTime(s, end, &t, &seconds);
        if (entry->kind == Sentence::GpZda) {
            data->gps_time = t;
            data->gps_utc_seconds = seconds;
        } else {
            data->gbd_time = t;
            data->gbd_utc_seconds = seconds;
            if (entry->kind == Sentence::GnZda) {
                data->gps_time = t;
                data->gps_utc_seconds = seconds;
            }
        }
        local_utclock_enable = 0;
        gps_pause(10);
        break;
    }
    }
    return 1;
}

int nmea_parse_buffer(gps_sync_data* data, const uint8_t* bytes, int length)
{
    int i = 0;
    while (i < length) {
        if (bytes[i] != '$') {
            ++i;
            continue;
        }
        int j = i + 1;
        while (j < length && bytes[j] != '\n' && bytes[j] != '$')
            ++j;
        if (j == length)
            return i;   // incomplete: kept for the next read
        if (bytes[j] == '$') {
            i = j;      // a sentence cut short by the next one
            continue;
        }
        nmea_parse_sentence(data, reinterpret_cast<const char*>(bytes + i), j - i + 1);
        i = j + 1;
    }
    return length;
}
