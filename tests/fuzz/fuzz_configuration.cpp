// The configuration files (softinfo.xml, devinfo.xml, sysinfo.xml,
// batteryinfo.xml): loaded, saved, loaded again.

#include "FuzzSupport.h"
#include "ControllerConfiguration.h"

#include <cmath>

namespace {

using Cfg = ControllerConfiguration;

const char* const kFiles[] = {"softinfo.xml", "devinfo.xml", "sysinfo.xml", "batteryinfo.xml"};

void loadAll(Cfg& cfg)
{
    cfg.doLoadConfig(Cfg::CONFIG_TYPE_SOFTWARE_DATA);
    cfg.doLoadConfig(Cfg::CONFIG_TYPE_HARDWARE_DATA);
    cfg.doLoadBatteryConfig();
}

bool same(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    return fuzz::initialize(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    fuzz::startInput();
    const QString name = QLatin1String(kFiles[data[0] % 4]);
    fuzz::write(QStringLiteral("dat/") + name, fuzz::bytes(data + 1, size - 1));

    Cfg cfg;
    loadAll(cfg);
    cfg.doSaveConfig(Cfg::CONFIG_TYPE_SOFTWARE_DATA, false);
    cfg.doSaveConfig(Cfg::CONFIG_TYPE_HARDWARE_DATA, false);
    cfg.doSaveBatteryConfig();
    for (const char* file : {"softinfo.xml", "devinfo.xml", "batteryinfo.xml"})
        fuzz::expectWellFormed(fuzz::root() + QStringLiteral("/dat/") + QLatin1String(file));

    // What was saved is what the next start reads.
    Cfg next;
    loadAll(next);
    if (next.deviceCode != cfg.deviceCode || next.deviceModel != cfg.deviceModel
        || !same(next.maxVRange, cfg.maxVRange) || !same(next.maxIRange, cfg.maxIRange)
        || !same(next.ditherTime, cfg.ditherTime) || !same(next.rateVoltage, cfg.rateVoltage)
        || next.lanuageType != cfg.lanuageType || next.timeZoneOffsetMin != cfg.timeZoneOffsetMin
        || next.percentD5 != cfg.percentD5)
        fuzz::fail("a configuration read back differs from what was saved");
    return 0;
}
