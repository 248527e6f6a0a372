// ViewBaseModel: software upgrade from a package on the USB stick.
//
// Packages are "/media/usb/upgrade/zorupgrade-vM.m.BBBB.zip" (major 1-2
// digits, minor 1-2 digits, build 4 digits, any case). The chosen one is
// copied to "/media/usb/upgrade/zorupgrade.zip", which the system's upgrade
// script installs (the script restarts the device on success).

#include "ViewBaseModel.h"

#include "ConstTextUtility.h"
#include "FileCopy.h"
#include "zoplatform.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QRegularExpression>

namespace {

const QString kUsbMount = QStringLiteral("/media/usb");
const QString kUpgradeFolder = QStringLiteral("/media/usb/upgrade");
const QString kPreparedPackage = QStringLiteral("/media/usb/upgrade/zorupgrade.zip");
const QString kUsbScript = QStringLiteral("/opt/zor/script/updateusb.sh");
const QString kSdScript = QStringLiteral("/opt/zor/script/upgradesd.sh");

const QRegularExpression& packagePattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("zorupgrade-v[1-9][0-9]?\\.[0-9][0-9]?\\.[0-9][0-9][0-9][0-9]\\.zip"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// A package name the selection takes: the pattern, the major version of this
// software at position 12 (right after "zorupgrade-v"), four parts at ".".
bool qualifies(const QString& name)
{
    return packagePattern().match(name).hasMatch() && name.size() > 12
        && name.at(12) == ConstTextUtility::SOFTWARE_VERSION.at(0) && name.split(QLatin1Char('.')).size() == 4;
}

// Whether package a is newer than b: the parts are compared as texts, part 0
// ignoring case, then parts 1 and 2; the first that differs decides.
bool newer(const QString& a, const QString& b)
{
    const QStringList pa = a.split(QLatin1Char('.'));
    const QStringList pb = b.split(QLatin1Char('.'));
    const int c0 = QString::compare(pa.at(0), pb.at(0), Qt::CaseInsensitive);
    if (c0 != 0)
        return c0 > 0;
    const int c1 = QString::compare(pa.at(1), pb.at(1), Qt::CaseSensitive);
    if (c1 != 0)
        return c1 > 0;
    return QString::compare(pa.at(2), pb.at(2), Qt::CaseSensitive) > 0;
}

// The command of the upgrade script present on the device.
QString upgradeCommand()
{
    const QString script = QFileInfo::exists(zoplat::devicePath(kUsbScript)) ? kUsbScript : kSdScript;
    return QStringLiteral("sh ") + script;
}

int runUpgradeScript()
{
    const zoplat::CommandResult r = zoplat::runCommand(upgradeCommand());
    if (r.status != 0)
        qWarning() << "ViewBaseModel: the upgrade script failed, status" << r.status;
    return r.status == 0 ? 0 : -1;
}

} // namespace

QString ViewBaseModel::findUpdateFileName() const
{
    if (!usbStickMounted())
        return QString();
    const QDir folder(zoplat::devicePath(kUpgradeFolder));
    if (!folder.exists())
        return QString();
    // Newest first: of equal versions the newer file stays chosen.
    const QStringList names = folder.entryList(
        {QStringLiteral("*.zip"), QStringLiteral("*.ZIP"), QStringLiteral("*.Zip")}, QDir::Files, QDir::Time);
    QString best;
    for (const QString& name : names) {
        if (!qualifies(name))
            continue;
        if (best.isEmpty() || newer(name, best))
            best = name;
    }
    return best.isEmpty() ? QString() : kUpgradeFolder + QLatin1Char('/') + best;
}

bool ViewBaseModel::checkUpgradeFileExist(QString path) const
{
    return !path.isEmpty() && QFileInfo(zoplat::devicePath(path)).isFile();
}

bool ViewBaseModel::runUpgradePrepare(QString path)
{
    fileCopyNotice.clear();
    if (!usbStickMounted()) {
        fileCopyNotice = tr("升级文件不存在！请重新插入U盘。");
        return false;
    }
    // Only a package file of the upgrade folder, not the prepared one itself.
    const QFileInfo chosen(zoplat::devicePath(path));
    const QString name = chosen.fileName();
    const QString prepared = QFileInfo(kPreparedPackage).fileName();
    if (!path.startsWith(QLatin1Char('/')) || !isPlainFileName(name) || !packagePattern().match(name).hasMatch()
        || QDir::cleanPath(chosen.absolutePath()) != QDir::cleanPath(zoplat::devicePath(kUpgradeFolder))
        || name == prepared) {
        qWarning().noquote() << "ViewBaseModel: not an upgrade package:" << path;
        fileCopyNotice = tr("升级文件无法使用：%1").arg(path);
        return false;
    }
    // Read and written in the stick's upgrade folder itself, never through a link.
    const filecopy::Folder folder = filecopy::openFolder(zoplat::devicePath(kUsbMount), kUsbMount,
                                                         {QFileInfo(kUpgradeFolder).fileName()}, false);
    filecopy::Outcome done = filecopy::entryKind(folder, name);
    QString culprit = folder.held.isOpen() ? path : folder.path;
    // An older prepared package must never be taken for this one.
    if (done == filecopy::Outcome::Done) {
        done = filecopy::removeFile(folder, prepared);
        culprit = kPreparedPackage;
    }
    if (done == filecopy::Outcome::Done) {
        done = filecopy::copyFile(folder, folder, name, prepared);
        culprit = done == filecopy::Outcome::Unwritable ? kPreparedPackage : path;
    }
    if (done != filecopy::Outcome::Done) {
        fileCopyNotice = tr("升级文件无法使用：%1").arg(refusalText(culprit, int(done)));
        qWarning().noquote() << "ViewBaseModel: package not prepared:" << fileCopyNotice;
        zoplat::syncFileSystems();
        return false;
    }
    if (zoplat::syncFileSystems() != 0) {
        filecopy::removeFile(folder, prepared);
        fileCopyNotice = tr("升级文件无法使用：%1").arg(refusalText(kPreparedPackage, int(filecopy::Outcome::Unwritable)));
        return false;
    }
    return checkUpgradeFileExist(kPreparedPackage);
}

int ViewBaseModel::runUpgradeShell()
{
    return runUpgradeScript();
}

bool ViewBaseModel::startUpgradeShell()
{
    if (upgradeShellRunning)
        return false;
    upgradeShellRunning = true;
    const QPointer<ViewBaseModel> self(this);
    runDeviceTask([self] {
        const int result = runUpgradeScript();
        // Back on the GUI thread; the model may be gone by then.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, result] {
                if (!self)
                    return;
                self->upgradeShellRunning = false;
                emit self->sigUpgradeShellFinished(result, result == 0 ? tr("升级成功!正在自动重启。")
                                                                       : tr("升级失败！请联系技术支持。"));
            },
            Qt::QueuedConnection);
    });
    return true;
}
