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
//
// An import is all or nothing: the stick's files are opened in its folder
// held open, only regular files and never through a link (a pipe or a device
// in their place is not opened), read up to the size of the largest
// calibration file; the engine takes them all or none. What stopped an export
// or import is said naming the file (the notice).

#include "ViewBaseModel.h"

#include "BaseUtilityHelper.h"
#include "BaseXmlFile.h"
#include "ControllerCenter.h"
#include "ControllerTestor.h"
#include "ModelCalibrationEntity.h"
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
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

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

QString text(const char* source)
{
    return QCoreApplication::translate("ViewBaseModel", source);
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

// Why a folder on the stick could not be made (errno of the attempt): the
// first step of its path that is there but no folder, else the system's
// refusal.
QString folderRefusal(const QString& folder, int error)
{
    const QStringList steps = folder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString path;
    for (const QString& step : steps) {
        path += QLatin1Char('/') + step;
        const QFileInfo there(local(path));
        if (there.exists() && !there.isDir())
            return text(QT_TRANSLATE_NOOP("ViewBaseModel", "校准系数未导出：U盘上的%1不是文件夹")).arg(path);
    }
    QString why;
    switch (error) {
    case EROFS: why = text(QT_TRANSLATE_NOOP("ViewBaseModel", "U盘为只读")); break;
    case ENOSPC:
    case EDQUOT: why = text(QT_TRANSLATE_NOOP("ViewBaseModel", "U盘已满")); break;
    case ENAMETOOLONG: why = text(QT_TRANSLATE_NOOP("ViewBaseModel", "名称过长")); break;
    case EACCES:
    case EPERM: why = text(QT_TRANSLATE_NOOP("ViewBaseModel", "没有写入权限")); break;
    default: why = qt_error_string(error); break;
    }
    return text(QT_TRANSLATE_NOOP("ViewBaseModel", "校准系数未导出：无法在U盘上建立文件夹%1（%2）")).arg(folder, why);
}

// Removes both forms of the calibration file of a name; false when one stays.
bool removeCalFiles(const QString& folder, const QString& name)
{
    bool ok = true;
    for (const char* ext : {".xml", ".dat"})
        ok = zoplat::removeFile(folder + QLatin1Char('/') + name + QLatin1String(ext)) == 0 && ok;
    return ok;
}

// The file of a name in a folder held open: ".xml", else ".dat" (whatever
// lies there under that name, a link too), else "".
QString calEntryIn(const zoplat::HeldFolder& folder, const QString& name)
{
    for (const char* ext : {".xml", ".dat"}) {
        const QString file = name + QLatin1String(ext);
        struct stat st;
        if (fstatat(folder.descriptor(), QFile::encodeName(file).constData(), &st, AT_SYMLINK_NOFOLLOW) == 0)
            return file;
    }
    return QString();
}

enum class StickRead { Read, NotAFile, TooLarge, Unreadable };

// A calibration file of the stick's folder, whole: a regular file opened
// there (no link followed, no pipe or device opened), within the bytes of
// its kind.
StickRead readStickFile(const zoplat::HeldFolder& folder, const QString& file, QByteArray* bytes)
{
    const qint64 limit = BaseXmlFile::bounds(BaseXmlFile::Kind::Calibration).bytes;
    const int fd = folder.openRegular(QFile::encodeName(file).constData());
    if (fd < 0)
        return StickRead::NotAFile;
    bytes->clear();
    char chunk[4096];
    bool ok = true;
    while (bytes->size() <= limit) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ok = false;
        if (n <= 0)
            break;
        bytes->append(chunk, int(n));
    }
    close(fd);
    if (!ok)
        return StickRead::Unreadable;
    return bytes->size() <= limit ? StickRead::Read : StickRead::TooLarge;
}

// Writes a staging file (a new file in the staging folder held open).
bool writeStagingFile(const QString& file, const QByteArray& bytes)
{
    const zoplat::HeldFolder staging = zoplat::calibrationStaging();
    if (!staging.isOpen())
        return false;
    const QByteArray name = QFile::encodeName(file);
    const int fd = openat(staging.descriptor(), name.constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    const bool ok = done == bytes.size() && fsync(fd) == 0;
    if (close(fd) != 0 || !ok) {
        unlinkat(staging.descriptor(), name.constData(), 0);
        return false;
    }
    return true;
}

// Why the engine refused an import, naming the first file it refused; ""
// when it refused none (nothing to take).
QString engineRefusal(ControllerCenter* center)
{
    const QList<ModelCalibrationEntity::DamagedFile> damaged = center->testTestor->dataCalibration->getDamaged();
    if (damaged.isEmpty())
        return QString();
    const ModelCalibrationEntity::DamagedFile& first = damaged.first();
    switch (first.why) {
    case ModelCalibrationEntity::DAMAGE_VALUE:
        return text(QT_TRANSLATE_NOOP("ViewBaseModel", "校准系数未导入：%1含有无法读取的系数")).arg(first.name);
    case ModelCalibrationEntity::DAMAGE_OLDER_FORM:
        return text(QT_TRANSLATE_NOOP("ViewBaseModel", "校准系数未导入：%1为旧格式，不能导入")).arg(first.name);
    case ModelCalibrationEntity::DAMAGE_NOTHING:
        return text(QT_TRANSLATE_NOOP("ViewBaseModel", "校准系数未导入：%1不含本类校准系数")).arg(first.name);
    case ModelCalibrationEntity::DAMAGE_BEYOND_BOUNDS:
        return text(QT_TRANSLATE_NOOP("ViewBaseModel", "校准系数未导入：%1的元素、属性或嵌套层数超过仪器所写的任何校准文件"))
            .arg(first.name);
    default:
        return text(QT_TRANSLATE_NOOP("ViewBaseModel", "校准系数未导入：%1无法读取")).arg(first.name);
    }
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
    return exportCalFiles(folder, mask, &calExchangeNotice);
}

bool ViewBaseModel::importCal(QString folder, int mask)
{
    return importCalFiles(folder, mask, &calExchangeNotice);
}

QString ViewBaseModel::takeCalExchangeNotice()
{
    QString notice;
    notice.swap(calExchangeNotice);
    return notice;
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
        QString notice;
        const bool ok = exported ? exportCalFiles(folder, mask, &notice) : importCalFiles(folder, mask, &notice);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, exported, ok, notice] {
                calExchangeBusy.store(false);
                if (self)
                    emit self->sigCalExchangeDone(exported, ok, notice);
            },
            Qt::QueuedConnection);
    });
    return true;
}

bool ViewBaseModel::exportCalFiles(const QString& folder, int mask, QString* notice)
{
    if (notice)
        notice->clear();
    mask &= kMaskAll;   // other bits choose nothing
    if (mask == 0 || !isStickFolder(folder) || !usbStickMounted())
        return false;
    if (!clearStaging())
        return false;
    zoplat::syncFileSystems();
    if (!runEngine(center(), kExport, mask))
        return false;

    errno = 0;
    if (zoplat::makeDir(folder) != 0 || !QFileInfo(local(folder)).isDir()) {
        const int error = errno;
        qWarning().noquote() << "ViewBaseModel: calibration folder not created:" << folder << qt_error_string(error);
        if (notice)
            *notice = folderRefusal(folder, error);
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
            if (notice && ok)
                *notice = text(QT_TRANSLATE_NOOP("ViewBaseModel", "校准系数未导出：%1无法写入U盘")).arg(file);
            ok = false;
            continue;
        }
        ++copied;
    }
    if (zoplat::syncFileSystems() != 0)
        ok = false;
    return ok && copied > 0;
}

bool ViewBaseModel::importCalFiles(const QString& folder, int mask, QString* notice)
{
    if (notice)
        notice->clear();
    mask &= kMaskAll;
    if (mask == 0 || !isStickFolder(folder) || !usbStickMounted())
        return false;
    // Held open: its files are taken in it, whatever its path leads to later.
    const zoplat::HeldFolder source(QFile::encodeName(local(folder)));
    if (!source.isOpen() || !clearStaging())
        return false;

    // Only the files of the chosen kinds, every one of them or none.
    int copied = 0;
    for (const QString& name : namesOfMask(mask)) {
        const QString file = calEntryIn(source, name);
        if (file.isEmpty())
            continue;
        QByteArray bytes;
        const StickRead read = readStickFile(source, file, &bytes);
        QString refusal;
        if (read == StickRead::NotAFile)
            refusal = text(QT_TRANSLATE_NOOP("ViewBaseModel", "校准系数未导入：%1不是普通文件（是链接、管道、设备或文件夹）")).arg(file);
        else if (read == StickRead::TooLarge)
            refusal = text(QT_TRANSLATE_NOOP("ViewBaseModel", "校准系数未导入：%1大于任何校准文件（超过 %2 字节）"))
                          .arg(file)
                          .arg(BaseXmlFile::bounds(BaseXmlFile::Kind::Calibration).bytes);
        else if (read == StickRead::Unreadable)
            refusal = text(QT_TRANSLATE_NOOP("ViewBaseModel", "校准系数未导入：%1无法读取")).arg(file);
        else if (!writeStagingFile(file, bytes))
            refusal = text(QT_TRANSLATE_NOOP("ViewBaseModel", "校准系数未导入：%1无法复制到仪器")).arg(file);
        if (!refusal.isEmpty()) {
            qWarning().noquote() << "ViewBaseModel: calibration file not taken from the stick:" << file;
            if (notice)
                *notice = refusal;
            clearStaging();
            return false;
        }
        ++copied;
    }
    if (zoplat::syncFileSystems() != 0 || copied == 0)
        return false;
    const bool ok = runEngine(center(), kImport, mask);
    if (!ok && notice)
        *notice = engineRefusal(center());
    return ok;
}

#include "ViewBaseModelCalibrationUsb.moc"
