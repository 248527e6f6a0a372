// NMEA and TSIP bytes from the GNSS receiver's serial port.

#include "FuzzSupport.h"
#include "zogps.h"

#include <algorithm>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    return fuzz::initialize(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int length = int(std::min<size_t>(size, 1 << 16));
    gps_sync_data record;
    // The receive loop keeps what the parser did not use for the next read.
    const int used = nmea_parse_buffer(&record, data, length);
    if (used < 0 || used > length)
        fuzz::fail("the NMEA parser used bytes it was not given");
    nmea_parse_sentence(&record, reinterpret_cast<const char*>(data), length);
    nmea_check_length(data, length);
    tsip_check_length(data, length);
    nmea_get_utcseconds(&record);
    return 0;
}
