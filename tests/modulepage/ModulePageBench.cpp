#include "ModulePageBench.h"

#include "CommDriverData.h"
#include "ControllerCenter.h"
#include "SimClockBlock.h"
#include "SimDut.h"
#include "SimHostFactory.h"
#include "SimInstrument.h"
#include "SimPacer.h"
#include "ViewBaseModel.h"
#include "zoplatform.h"
#include "zoplatform_control_host.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>
#include <QThread>

#include <chrono>
#include <thread>

namespace {

template <typename Cond>
bool waitFor(Cond cond, int timeoutMs = ModulePageBench::kDeadlineMs)
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

ModulePageBench::ModulePageBench(QObject* parent)
    : QObject(parent)
{
}

ModulePageBench::~ModulePageBench()
{
    stop();
}

bool ModulePageBench::start()
{
    if (!sandbox.isValid()) {
        qWarning("ModulePageBench: no sandbox folder");
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
        qWarning("ModulePageBench: the driver did not come up on the simulated instrument");
    return up;
}

void ModulePageBench::stop()
{
    if (center) {
        // The engine stays (it is never destroyed); its threads end before
        // the instrument goes, as the process ends after the test file.
        center->batteryInterrupt();
        center->queryInterrupt();
        if (!waitFor([this] { return !center->testQuery->isQueryRunning(); }))
            qWarning("ModulePageBench: the polling loop did not end");
        for (QThread* t : {center->batteryThread, center->queryingThread, center->configThread,
                           center->testorThread, center->runtimeThread}) {
            t->quit();
            if (!t->wait(kDeadlineMs))
                qWarning("ModulePageBench: an engine thread did not end");
        }
        center = nullptr;
    }
    pacer.reset();
    sim.reset();
    if (!previousDir.isEmpty()) {
        QDir::setCurrent(previousDir);
        previousDir.clear();
    }
}

bool ModulePageBench::setRelays(const QString& description)
{
    if (!sim)
        return false;
    zorsim::RelaySetup setup = zorsim::parseRelaySetup(description);
    errors = setup.errors.join(QLatin1Char('\n'));
    if (!setup.errors.isEmpty()) {
        qWarning("ModulePageBench: relay description \"%s\": %s", qPrintable(description), qPrintable(errors));
        return false;
    }
    sim->unplugAll();
    for (int input = 0; input < 4; ++input) {
        if (sim->binaryInput(input))
            sim->setBinaryInput(input, false);
    }
    for (const std::shared_ptr<zorsim::DutModel>& model : setup.models)
        sim->plugIn(model);
    return true;
}

int ModulePageBench::contactCloses(int input) const
{
    return sim ? int(sim->contactCloseTimes(input).size()) : 0;
}

int ModulePageBench::contactOpens(int input) const
{
    return sim ? int(sim->contactOpenTimes(input).size()) : 0;
}

QString ModulePageBench::moduleFolder(int testType) const
{
    return ViewBaseModel::testDirOf(testType);
}

bool ModulePageBench::outputPlaying() const
{
    return sim && sim->playerStatus().running;
}

double ModulePageBench::measuredRms(int channel) const
{
    if (!sim || channel < 0 || channel > 7)
        return 0.0;
    const zorsim::MeterReading reading = sim->measure(channel);
    return reading.live ? reading.rms : 0.0;
}

double ModulePageBench::measuredDc(int channel) const
{
    if (!sim || channel < 0 || channel > 7)
        return 0.0;
    const zorsim::MeterReading reading = sim->measure(channel);
    return reading.live ? reading.dc : 0.0;
}

void ModulePageBench::setAmplifierTemperature(double degC)
{
    if (!sim)
        return;
    for (int sensor = 0; sensor < 4; ++sensor)
        sim->setTemperature(sensor, degC);
}

bool ModulePageBench::insideSandbox(const QString& path) const
{
    const QString root = QFileInfo(sandbox.path()).canonicalFilePath();
    const QString file = QFileInfo(path).absoluteFilePath();
    return !root.isEmpty() && QDir::cleanPath(file).startsWith(root + QLatin1Char('/'));
}

QString ModulePageBench::readFile(const QString& path) const
{
    if (!insideSandbox(path))
        return QString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

bool ModulePageBench::fileExists(const QString& path) const
{
    return insideSandbox(path) && QFileInfo(path).isFile();
}

bool ModulePageBench::savePicture(QQuickItem* item, const QString& name) const
{
    QQuickWindow* window = item ? item->window() : nullptr;
    if (!window || !window->screen())
        return false;
    const QStringList arguments = QCoreApplication::arguments();
    const int translation = arguments.indexOf(QStringLiteral("-translation"));
    const QString language = translation >= 0 && translation + 1 < arguments.size()
                                 ? QFileInfo(arguments.at(translation + 1)).baseName()
                                 : QStringLiteral("zh_cn");
    const QString folder = QStringLiteral(ZOR_SCREENSHOT_DIR "/modulepages/") + language;
    // A frame drawn now. The software renderer offers no backing store to
    // grab on the offscreen platform; its screen holds the last frame.
    bool swapped = false;
    const auto connection = connect(window, &QQuickWindow::frameSwapped, window, [&swapped] { swapped = true; });
    window->update();
    const bool drawn = waitFor([&swapped] { return swapped; });
    disconnect(connection);
    if (!drawn)
        return false;
    const QImage frame = window->screen()->grabWindow(window->winId()).toImage();
    const QRect shown = item->mapRectToScene(QRectF(0, 0, item->width(), item->height())).toAlignedRect();
    return !frame.isNull() && QDir().mkpath(folder)
           && frame.copy(shown).save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

QString ModulePageBench::violationText() const
{
    return sim ? QString::fromStdString(sim->violationText()) : QString();
}

void ModulePageBench::setUsbStickMounted(bool mounted)
{
    // A mounted stick has its folder in the sandbox, as on the host.
    if (mounted)
        QDir().mkpath(zoplat::devicePath(QStringLiteral("/media/usb")));
    zoplat::host::scriptCommand(QStringLiteral("mountpoint -q /media/usb"), {mounted ? 0 : 1, {}});
}

QString ModulePageBench::devicePath(const QString& path) const
{
    return zoplat::devicePath(path);
}

QString ModulePageBench::appPath(const QString& relative) const
{
    return QDir::current().absoluteFilePath(relative);
}

namespace {
bool validCalCell(int port, int level, int point)
{
    return port >= 0 && port < 8 && level >= 0 && level < 2 && point >= 0 && point < 4;
}
} // namespace

double ModulePageBench::driverAcampFactor(int port, int level, int point) const
{
    const CommDriverConfigureCalData* cal = globalConfigureCalData;
    return cal && validCalCell(port, level, point) ? cal->acampAmpFactors[port][level][point] : qQNaN();
}

double ModulePageBench::driverAcampOffset(int port, int level, int point) const
{
    const CommDriverConfigureCalData* cal = globalConfigureCalData;
    return cal && validCalCell(port, level, point) ? cal->acampAmpOffsets[port][level][point] : qQNaN();
}

bool ModulePageBench::blockFile(const QString& path, bool blocked)
{
    if (!insideSandbox(path))
        return false;
    QDir folder(path);
    if (!blocked)
        return folder.removeRecursively();
    QFile::remove(path);
    return QDir().mkpath(path + QStringLiteral("/blocked"));
}

void ModulePageBench::setIrigbSignal(bool present)
{
    if (!sim)
        return;
    sim->withClockBlock([present](zorsim::SimClockBlock& b) {
        if (present)
            b.setIrigbReference(1709251195u);
        else
            b.setIrigbPresent(false);
    });
}
