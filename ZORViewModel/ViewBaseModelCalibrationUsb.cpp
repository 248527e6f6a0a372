// ViewBaseModel: calibration files between the engine's staging folder
// ("<app root>/dat/temp") and a folder on the USB stick.
//
// The calibration engine writes and reads the staging files on the testor
// thread (ControllerCenter::exportCal / importCal). The model waits, bounded
// by kCalEngineWaitMs, until the testor has carried out the request: a call
// queued to the testor after the request runs only once the request is done.
// When the testor announces the engine's result (the notice
// sigCalExchangeFinished(qint32 direction, bool ok), direction 0 export, 1
// import), that result decides; without the notice the result is read from
// the staging files the engine leaves (see engineResultFromFiles). The
// interface runs both off the GUI thread (startExportCal, startImportCal).

#include "ViewBaseModel.h"

#include "BaseUtilityHelper.h"
#include "ControllerCenter.h"
#include "zoplatform.h"
#include "zoplatform_datapaths.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QMetaMethod>
#include <QMutex>
#include <QCoreApplication>
#include <QMutexLocker>
#include <QPointer>
#include <QSemaphore>
#include <QThreadPool>

#include <atomic>

#include <memory>

namespace {

// The calibration files, in the order they are copied.
const char* const kCalNames[] = {"calacamp", "calacdco", "calacfrq", "calacfac", "calacpha",
                                 "calauxdc", "caldcamp", "callloamp", "calllodco", "calllodc"};

constexpr int kMaskLowLevel = 0x01;
constexpr int kMaskVoltage = 0x02;
constexpr int kMaskCurrent = 0x04;
constexpr int kMaskAll = kMaskLowLevel | kMaskVoltage | kMaskCurrent;

enum Direction : qint32 { kExport = 0, kImport = 1 };

QString stagingFolder()
{
    return zoplat::calibrationStagingFolder();
}

// The files the engine writes or reads for a mask.
QStringList namesOfMask(int mask)
{
    QStringList names;
    if (mask & (kMaskVoltage | kMaskCurrent))
        names << "calacamp" << "calacdco" << "calacfrq" << "calacfac" << "calacpha" << "caldcamp";
    if (mask & kMaskVoltage)
        names << "calauxdc";
    if (mask & kMaskLowLevel)
        names << "callloamp" << "calllodco" << "calllodc";
    return names;
}

QString local(const QString& path)
{
    return zoplat::devicePath(path);
}

bool isFile(const QString& path)
{
    return QFileInfo(local(path)).isFile();
}

// A folder on the stick: below "/media/usb", no ".." step.
bool isStickFolder(const QString& folder)
{
    if (folder.contains(QLatin1Char('\0')) || folder.contains(QLatin1Char('\\')))
        return false;
    const QStringList steps = folder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (steps.size() < 3 || !folder.startsWith(QLatin1Char('/')) || steps.at(0) != QLatin1String("media")
        || steps.at(1) != QLatin1String("usb"))
        return false;
    for (const QString& step : steps) {
        if (step == QLatin1String("..") || step == QLatin1String("."))
            return false;
    }
    return true;
}

// The calibration file of a name in a folder: ".xml", else ".dat", else "".
QString calFileIn(const QString& folder, const QString& name)
{
    for (const char* ext : {".xml", ".dat"}) {
        const QString file = name + QLatin1String(ext);
        if (isFile(folder + QLatin1Char('/') + file))
            return file;
    }
    return QString();
}

// Removes both forms of the calibration file of a name; false when one stays.
bool removeCalFiles(const QString& folder, const QString& name)
{
    bool ok = true;
    for (const char* ext : {".xml", ".dat"})
        ok = zoplat::removeFile(folder + QLatin1Char('/') + name + QLatin1String(ext)) == 0 && ok;
    return ok;
}

// Staging folder present and free of the calibration files of the last
// export or import (other files stay).
bool clearStaging()
{
    return zoplat::clearCalibrationStaging();
}

// What the engine's result was, judged from its files when it sent none:
// an export wrote the staging file of every kind of the mask; an import had
// at least one staging ".xml" file of a kind of the mask to read (the engine
// reads no other form).
bool engineResultFromFiles(Direction direction, int mask)
{
    const QStringList names = namesOfMask(mask);
    int present = 0;
    for (const QString& name : names)
        present += isFile(stagingFolder() + QLatin1Char('/') + name + QStringLiteral(".xml")) ? 1 : 0;
    return direction == kExport ? present == names.size() : present > 0;
}

// Receives the testor's result notice on the testor thread, when the testor
// has it. One for the process; connected on first use.
class CalExchangeMonitor : public QObject
{
    Q_OBJECT

public:
    static CalExchangeMonitor& instance()
    {
        static CalExchangeMonitor* monitor = [] {
            auto* m = new CalExchangeMonitor();
            QObject* testor = ControllerCenter::getInstance()->testTestor;
            const QMetaObject* meta = testor->metaObject();
            int signal = meta->indexOfSignal("sigCalExchangeFinished(qint32,bool)");
            if (signal < 0)
                signal = meta->indexOfSignal("sigCalExchangeFinished(int,bool)");
            if (signal >= 0) {
                const QMetaMethod slot = m->metaObject()->method(m->metaObject()->indexOfSlot("finished(qint32,bool)"));
                m->connected = QObject::connect(testor, meta->method(signal), m, slot, Qt::DirectConnection);
            }
            return m;
        }();
        return *monitor;
    }

    // Forgets an older result of the direction.
    void arm(Direction direction)
    {
        QMutexLocker lock(&mutex);
        results[direction] = -1;
    }

    // The engine's result since arm(): 1, 0, or -1 when none was announced.
    int take(Direction direction)
    {
        QMutexLocker lock(&mutex);
        const int r = results[direction];
        results[direction] = -1;
        return r;
    }

    bool connected = false;

public slots:
    void finished(qint32 direction, bool ok)
    {
        if (direction != kExport && direction != kImport)
            return;
        QMutexLocker lock(&mutex);
        results[direction] = ok ? 1 : 0;
    }

private:
    QMutex mutex;
    int results[2] = {-1, -1};
};

// Requests the engine's export or import and waits until the testor has
// carried it out; false when it failed or did not finish in time.
bool runEngine(ControllerCenter* center, Direction direction, int mask)
{
    CalExchangeMonitor& monitor = CalExchangeMonitor::instance();
    monitor.arm(direction);
    if (direction == kExport)
        center->exportCal(mask);
    else
        center->importCal(mask);

    // Queued after the request to the same thread: runs when it is done.
    auto done = std::make_shared<QSemaphore>();
    QMetaObject::invokeMethod(
        center->testTestor, [done] { done->release(); }, Qt::QueuedConnection);
    if (!done->tryAcquire(1, ViewBaseModel::kCalEngineWaitMs)) {
        qWarning() << "ViewBaseModel: the calibration engine did not finish the" << (direction == kExport ? "export" : "import")
                   << "in time";
        return false;
    }
    const int announced = monitor.take(direction);
    const bool ok = announced >= 0 ? announced == 1 : engineResultFromFiles(direction, mask);
    if (!ok)
        qWarning() << "ViewBaseModel: the calibration engine reported no" << (direction == kExport ? "export" : "import")
                   << "for mask" << mask;
    return ok;
}

} // namespace

bool ViewBaseModel::exportCal(QString folder, int mask)
{
    return exportCalFiles(folder, mask);
}

bool ViewBaseModel::importCal(QString folder, int mask)
{
    return importCalFiles(folder, mask);
}

namespace {
// One export or import at a time, whichever model asked.
std::atomic<bool> calExchangeBusy{false};
} // namespace

bool ViewBaseModel::getCalExchangeBusy() const
{
    return calExchangeBusy.load();
}

bool ViewBaseModel::startExportCal(QString folder, int mask)
{
    return startCalExchange(true, folder, mask);
}

bool ViewBaseModel::startImportCal(QString folder, int mask)
{
    return startCalExchange(false, folder, mask);
}

bool ViewBaseModel::startCalExchange(bool exported, const QString& folder, int mask)
{
    bool idle = false;
    if (!calExchangeBusy.compare_exchange_strong(idle, true))
        return false;
    const QPointer<ViewBaseModel> self(this);
    // Not the device queue: the backlight and low-power steps do not wait
    // for the engine's export.
    QThreadPool::globalInstance()->start([self, exported, folder, mask] {
        const bool ok = exported ? exportCalFiles(folder, mask) : importCalFiles(folder, mask);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, exported, ok] {
                calExchangeBusy.store(false);
                if (self)
                    emit self->sigCalExchangeDone(exported, ok);
            },
            Qt::QueuedConnection);
    });
    return true;
}

bool ViewBaseModel::exportCalFiles(const QString& folder, int mask)
{
    mask &= kMaskAll;   // other bits choose nothing
    if (mask == 0 || !isStickFolder(folder) || !usbStickMounted())
        return false;
    if (!clearStaging())
        return false;
    zoplat::syncFileSystems();
    if (!runEngine(center(), kExport, mask))
        return false;

    if (zoplat::makeDir(folder) != 0) {
        qWarning().noquote() << "ViewBaseModel: calibration folder not created:" << folder;
        return false;
    }
    const QString staging = stagingFolder();
    int copied = 0;
    bool ok = true;
    for (const char* base : kCalNames) {
        const QString name = QLatin1String(base);
        const QString file = calFileIn(staging, name);
        if (file.isEmpty())
            continue;
        // Only the files of the kinds being replaced go; anything else in the
        // folder stays.
        if (!removeCalFiles(folder, name)
            || zoplat::copyFile(staging + QLatin1Char('/') + file, folder + QLatin1Char('/') + file) != 0) {
            qWarning().noquote() << "ViewBaseModel: calibration file not copied to the stick:" << file;
            ok = false;
            continue;
        }
        ++copied;
    }
    if (zoplat::syncFileSystems() != 0)
        ok = false;
    return ok && copied > 0;
}

bool ViewBaseModel::importCalFiles(const QString& folder, int mask)
{
    mask &= kMaskAll;
    if (mask == 0 || !isStickFolder(folder) || !usbStickMounted() || !QFileInfo(local(folder)).isDir())
        return false;
    if (!clearStaging())
        return false;

    const QString staging = stagingFolder();
    int copied = 0;
    for (const char* base : kCalNames) {
        const QString name = QLatin1String(base);
        const QString file = calFileIn(folder, name);
        if (file.isEmpty())
            continue;
        if (zoplat::copyFile(folder + QLatin1Char('/') + file, staging + QLatin1Char('/') + file) != 0) {
            // A part of a set is not imported.
            qWarning().noquote() << "ViewBaseModel: calibration file not copied from the stick:" << file;
            clearStaging();
            return false;
        }
        ++copied;
    }
    if (zoplat::syncFileSystems() != 0 || copied == 0)
        return false;
    return runEngine(center(), kImport, mask);
}

#include "ViewBaseModelCalibrationUsb.moc"
