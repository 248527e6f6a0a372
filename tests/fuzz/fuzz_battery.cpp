// Answers of the battery pack's management system (binary and ASCII).

#include "FuzzSupport.h"
#include "driverbase_battery.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    return fuzz::initialize(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int kind = data[0] % 3;
    uint16_t words[BATTERY_WORD_COUNT] = {};
    int32_t charging = -1;
    if (batteryDecodeAnswer(kind, data + 1, int(size - 1), words, &charging) != 0) {
        for (uint16_t w : words) {
            if (w != 0)
                fuzz::fail("a refused battery answer changed the words");
        }
        if (charging != -1)
            fuzz::fail("a refused battery answer changed the charging state");
        return 0;
    }
    if (kind != BATTERY_ANSWER_CELLS && charging != 0 && charging != 1)
        fuzz::fail("a battery answer gave a charging state other than 0 or 1");
    return 0;
}
