#include "AcPageBench.h"

#include "ControllerCenter.h"
#include "SimInstrument.h"
#include "SimPacer.h"
#include "SimThresholdRelay.h"
#include "zoplatform.h"
#include "zoplatform_control_host.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <chrono>
#include <thread>

namespace {

template <typename Cond>
bool waitFor(Cond cond, int timeoutMs = AcPageBench::kDeadlineMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!cond()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace

AcPageBench::AcPageBench(QObject* parent)
    : QObject(parent)
{
}

AcPageBench::~AcPageBench()
{
    stop();
}

bool AcPageBench::start()
{
    if (!sandbox.isValid()) {
        qWarning("AcPageBench: no sandbox folder");
        return false;
    }
    zoplat::host::reset();
    zoplat::host::setSandboxRoot(sandbox.filePath(QStringLiteral("root")));
    previousDir = QDir::currentPath();
    QDir().mkpath(sandbox.filePath(QStringLiteral("app/dat")));
    QDir::setCurrent(sandbox.filePath(QStringLiteral("app")));
    zoplat::setTimeScale(kTimeScale);

    sim = std::make_unique<zorsim::SimInstrument>();
    sim->attach();
    pacer = std::make_unique<zorsim::SimRealTimePacer>(*sim);
    zorsim::ThresholdRelaySettings settings;
    settings.channel = 4;
    settings.pickup = kRelayPickup;
    settings.pickupDelaySeconds = kRelayDelaySeconds;
    settings.dropoffRatio = 0.95;
    settings.binaryInput = 0;
    relay = std::make_shared<zorsim::ThresholdRelay>(settings);
    sim->plugIn(relay);

    center = ControllerCenter::getInstance();
    center->testConfig();
    center->queryStart();
    const bool up = waitFor([this] {
        ControllerRuntime* rt = center->testRuntime;
        rt->dataLock();
        const bool initialised = rt->STATE[ControllerRuntime::STATE_TYPE_INIT] == 1;
        rt->dataUnlock();
        return initialised && center->testQuery->isQueryRunning();
    });
    if (!up)
        qWarning("AcPageBench: the driver did not come up on the simulated instrument");
    return up;
}

void AcPageBench::stop()
{
    if (center) {
        // The engine stays (it is never destroyed); its threads end before
        // the instrument goes, as the process ends after the test file.
        center->batteryInterrupt();
        center->queryInterrupt();
        if (!waitFor([this] { return !center->testQuery->isQueryRunning(); }))
            qWarning("AcPageBench: the polling loop did not end");
        for (QThread* t : {center->batteryThread, center->queryingThread, center->configThread,
                           center->testorThread, center->runtimeThread}) {
            t->quit();
            if (!t->wait(kDeadlineMs))
                qWarning("AcPageBench: an engine thread did not end");
        }
        center = nullptr;
    }
    pacer.reset();
    relay.reset();
    sim.reset();
    if (!previousDir.isEmpty()) {
        QDir::setCurrent(previousDir);
        previousDir.clear();
    }
}

int AcPageBench::relayPickups() const
{
    if (!sim || !relay)
        return 0;
    // The relay's records change on the pacer's thread, under the
    // instrument's lock; withClockBlock reads under that lock.
    int count = 0;
    sim->withClockBlock([&](zorsim::SimClockBlock&) { count = int(relay->pickupTimes().size()); });
    return count;
}

int AcPageBench::relayDropoffs() const
{
    if (!sim || !relay)
        return 0;
    int count = 0;
    sim->withClockBlock([&](zorsim::SimClockBlock&) { count = int(relay->dropoffTimes().size()); });
    return count;
}

bool AcPageBench::outputPlaying() const
{
    return sim && sim->playerStatus().running;
}

double AcPageBench::measuredRms(int channel) const
{
    if (!sim || channel < 0 || channel > 7)
        return 0.0;
    const zorsim::MeterReading reading = sim->measure(channel);
    return reading.live ? reading.rms : 0.0;
}

void AcPageBench::setAmplifierTemperature(double degC)
{
    if (!sim)
        return;
    for (int sensor = 0; sensor < 4; ++sensor)
        sim->setTemperature(sensor, degC);
}

bool AcPageBench::insideSandbox(const QString& path) const
{
    const QString root = QFileInfo(sandbox.path()).canonicalFilePath();
    const QString file = QFileInfo(path).absoluteFilePath();
    return !root.isEmpty() && QDir::cleanPath(file).startsWith(root + QLatin1Char('/'));
}

QString AcPageBench::readFile(const QString& path) const
{
    if (!insideSandbox(path))
        return QString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

bool AcPageBench::fileExists(const QString& path) const
{
    return insideSandbox(path) && QFileInfo(path).isFile();
}

QString AcPageBench::violationText() const
{
    return sim ? QString::fromStdString(sim->violationText()) : QString();
}
