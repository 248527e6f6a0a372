// Time-zone texts: the custom time-zone file and its offset texts.

#include "FuzzSupport.h"
#include "SystemTimeZone.h"

#include <QTimeZone>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    return fuzz::initialize(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::startInput();
    const QByteArray bytes = fuzz::bytes(data, size);
    SystemTimeZone::offsetTextToMinutes(QString::fromUtf8(bytes));

    const QString path = fuzz::write(QStringLiteral("dat/CUSTOM_TIMEZONES.XML"), bytes);
    SystemTimeZone zones;
    zones.setLanuageType(size > 0 && (data[0] & 1) ? 0 : 1);
    zones.loadCustomTimeZones(path);
    const int count = zones.getTimeZoneCount();
    for (int i = -1; i <= count && i < 64; ++i) {
        zones.getTimeZoneId(i);
        zones.getTimeZoneDisplayName(i);
        zones.getTimeZoneDaylightEnable(i);
        zones.getTimeZoneOffsetFromUtc(i);
        const int minutes = zones.getCustomTZOffsetMin(i);
        // "UTC" sign hh ":" mm: two digits each.
        if (minutes < -99 * 60 - 99 || minutes > 99 * 60 + 99)
            fuzz::fail("a time-zone offset text gave an offset no such text holds", QString::number(minutes));
        QTimeZone zone;
        zones.getTimeZone(i, zone);
        zones.getTimeZoneIndexFromId(zones.getTimeZoneId(i));
    }
    return 0;
}
