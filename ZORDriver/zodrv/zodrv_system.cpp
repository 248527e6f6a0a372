// The power-stage script and the CPU governor, run through the platform's
// command runner.

#include "driverbase.h"

#include "zoplatform.h"

#include <cstdio>

namespace {

const char* const kPowerScript = "/opt/zor/script/setpwrgpio.sh";

int run(const QString& commandLine)
{
    return zoplat::runCommand(commandLine).status;
}

} // namespace

int drv_system_setsysmode(uint32_t mode, int open)
{
    QString stage;
    QString action = open ? QStringLiteral("open") : QStringLiteral("close");
    switch (mode) {
    case 0:
        stage = QStringLiteral("llo");
        break;
    case 1:
        stage = QStringLiteral("pao");
        break;
    default:
        stage = QStringLiteral("llo");
        action = QStringLiteral("close");
        break;
    }
    return run(QStringLiteral("%1 %2 %3").arg(QLatin1String(kPowerScript), stage, action));
}

int drv_system_setcpumode(uint32_t mode)
{
    static const char* const governors[] = {"performance", "powersave", "userspace", "ondemand",
                                            "conservative"};
    if (mode >= sizeof(governors) / sizeof(governors[0]))
        return -1;
    int result = run(QStringLiteral("echo %1 > /sys/devices/system/cpu/cpu0/cpufreq/scaling_governor")
                         .arg(QLatin1String(governors[mode])));
    result += run(QStringLiteral("sync"));
    return result;
}

int drv_system_getcpufrq()
{
    int frequency = 1000000000;
    if (FILE* f = std::fopen("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_cur_freq", "r")) {
        int value = 0;
        if (std::fscanf(f, "%d", &value) == 1)
            frequency = value;
        std::fclose(f);
    }
    return frequency;
}
