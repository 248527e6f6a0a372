// ViewBaseModel: the file manager and the named parameter files of a module.
//
// Folders (base folder + module folder):
//   device, parameters: <data root>/parameters_bk/<module>
//   device, reports:    <data root>/report/<module>
//   stick, parameters:  /media/usb/parameters/<module>
//   stick, reports:     /media/usb/report/<module>
// The live parameter file of a module is <data root>/parameters/<module>/
// parameter.xml; its named backups sit beside that folder, not in it.

#include "ViewBaseModel.h"

#include "BaseXmlFile.h"
#include "FileCopy.h"
#include "zoplatform.h"
#include "zoplatform_datapaths.h"

#include <QDebug>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <iterator>

namespace {

const QString kUsbMountPoint = QStringLiteral("/media/usb");

const QStringList& parameterFilters()
{
    static const QStringList filters{QStringLiteral("*.xml"), QStringLiteral("*.Xml"), QStringLiteral("*.XML")};
    return filters;
}

const QStringList& reportFilters()
{
    static const QStringList filters{QStringLiteral("*.rtf"), QStringLiteral("*.Rtf"), QStringLiteral("*.RTF"),
                                     QStringLiteral("*.htm")};
    return filters;
}

// A device path as a local one (the host keeps device paths in its sandbox).
QString local(const QString& path)
{
    return zoplat::devicePath(path);
}

bool isFolder(const QString& path)
{
    return QFileInfo(local(path)).isDir();
}

bool isFile(const QString& path)
{
    return QFileInfo(local(path)).isFile();
}

QStringList listFiles(const QString& folder, const QStringList& filters)
{
    if (!isFolder(folder))
        return {};
    return QDir(local(folder)).entryList(filters, QDir::Files, QDir::Name);
}

}   // namespace

// ---- Shared checks -------------------------------------------------------------------

bool ViewBaseModel::usbStickMounted()
{
    return zoplat::isMounted(kUsbMountPoint);
}

bool ViewBaseModel::isPlainFileName(const QString& name)
{
    return zoplat::isPlainFileName(name);
}

// ---- State ------------------------------------------------------------------------------

ViewBaseModel::FilePos ViewBaseModel::getFilePos() const
{
    return filePos;
}

void ViewBaseModel::setFilePos(FilePos pos)
{
    if (pos != FILE_POS_DEVICE && pos != FILE_POS_USB)
        return;
    filePos = pos;
    // Reports go from the device to the stick only.
    if (filePos == FILE_POS_USB)
        fileType = FILE_TYPE_PARAMETER;
}

ViewBaseModel::FileType ViewBaseModel::getFileType() const
{
    return fileType;
}

void ViewBaseModel::setFileType(FileType type)
{
    if (type != FILE_TYPE_PARAMETER && type != FILE_TYPE_REPORT)
        return;
    fileType = filePos == FILE_POS_USB ? FILE_TYPE_PARAMETER : type;
}

ViewBaseModel::FileModuleType ViewBaseModel::getFileModuleType() const
{
    return fileModuleType;
}

void ViewBaseModel::setFileModuleType(FileModuleType type)
{
    if (type < FILE_MODULE_TYPE_ALTERNATE || type > FILE_MODULE_TYPE_ENERGY)
        return;
    fileModuleType = type;
}

QString ViewBaseModel::getFileTypeDirName(FilePos pos, FileType type) const
{
    const bool report = type == FILE_TYPE_REPORT;
    if (pos == FILE_POS_USB)
        return kUsbMountPoint + (report ? QStringLiteral("/report/") : QStringLiteral("/parameters/"));
    return getRootPath() + (report ? QStringLiteral("/report/") : QStringLiteral("/parameters_bk/"));
}

QString ViewBaseModel::getFileModuleDirName(FileModuleType type) const
{
    // The file manager's own order of the modules; their folders are the module table's.
    static const TESTType modules[] = {
        TEST_ALTERNATE,      TEST_OVERCURRENT,  TEST_STATESEQUENCE, TEST_RAMPING,   TEST_HARMONIC, TEST_DISTANCE,
        TEST_SLIP_FREQUENCY, TEST_SLIP_VOLTAGE, TEST_DIRECT,        TEST_OSCILLATE, TEST_ENERGY,
    };
    static_assert(std::size(modules) == FILE_MODULE_TYPE_ENERGY + 1, "a module per file module type");
    const bool known = type >= FILE_MODULE_TYPE_ALTERNATE && type <= FILE_MODULE_TYPE_ENERGY;
    return testDirOf(known ? modules[type] : TEST_ALTERNATE);
}

QString ViewBaseModel::fileWorkingFolder(FilePos pos, FileType type) const
{
    // The base folder ends in "/".
    return getFileTypeDirName(pos, type) + getFileModuleDirName(fileModuleType);
}

// ---- List ----------------------------------------------------------------------------------

void ViewBaseModel::updateFileList()
{
    fileList.clear();
    // A folder left under the mount point without a stick is not the stick.
    if (filePos == FILE_POS_USB && !usbStickMounted())
        return;
    const QStringList names = listFiles(fileWorkingFolder(filePos, fileType),
                                        fileType == FILE_TYPE_REPORT ? reportFilters() : parameterFilters());
    for (const QString& name : names)
        fileList.append(qMakePair(name, false));
}

int ViewBaseModel::getFileCount() const
{
    return fileList.size();
}

QString ViewBaseModel::getFileName(int index) const
{
    return index >= 0 && index < fileList.size() ? fileList.at(index).first : QString();
}

bool ViewBaseModel::getFileSelected(int index) const
{
    return index >= 0 && index < fileList.size() && fileList.at(index).second;
}

void ViewBaseModel::setFileSelected(int index, bool selected)
{
    if (index >= 0 && index < fileList.size())
        fileList[index].second = selected;
}

int ViewBaseModel::getAllFileSelected() const
{
    const auto selected = std::count_if(fileList.cbegin(), fileList.cend(),
                                        [](const QPair<QString, bool>& e) { return e.second; });
    if (selected == 0)
        return 0;
    return selected == fileList.size() ? 1 : 2;
}

void ViewBaseModel::setAllFileSelected(bool selected)
{
    for (QPair<QString, bool>& entry : fileList)
        entry.second = selected;
}

// ---- Copy and delete --------------------------------------------------------------------------

filecopy::Folder ViewBaseModel::fileFolder(FilePos pos, FileType type, bool create) const
{
    const QString base = type == FILE_TYPE_REPORT ? QStringLiteral("report")
                         : pos == FILE_POS_USB    ? QStringLiteral("parameters")
                                                  : QStringLiteral("parameters_bk");
    const QString top = pos == FILE_POS_USB ? kUsbMountPoint : getRootPath();
    return filecopy::openFolder(local(top), top, {base, getFileModuleDirName(fileModuleType)}, create);
}

QString ViewBaseModel::refusalText(const QString& name, int outcome)
{
    switch (filecopy::Outcome(outcome)) {
    case filecopy::Outcome::Link: return tr("%1（链接）").arg(name);
    case filecopy::Outcome::NotRegular: return tr("%1（不是普通文件）").arg(name);
    case filecopy::Outcome::NotFolder: return tr("%1（不是文件夹）").arg(name);
    case filecopy::Outcome::Missing: return tr("%1（不存在）").arg(name);
    case filecopy::Outcome::Unreadable: return tr("%1（无法读取）").arg(name);
    case filecopy::Outcome::BadName: return tr("%1（文件名无效）").arg(name);
    case filecopy::Outcome::Done:
    case filecopy::Outcome::Unwritable: break;
    }
    return tr("%1（无法写入）").arg(name);
}

bool ViewBaseModel::copySelectedFiles(FilePos from, FilePos to)
{
    fileCopyNotice.clear();
    // Both directions use the stick.
    if (filePos != from || !usbStickMounted())
        return false;
    const bool exporting = to == FILE_POS_USB;
    QStringList selected;
    for (const QPair<QString, bool>& entry : qAsConst(fileList)) {
        if (entry.second)
            selected << entry.first;
    }
    const filecopy::Folder target = fileFolder(to, fileType, true);
    const filecopy::Folder source = fileFolder(from, fileType, false);
    QStringList copied;
    QStringList refused;
    int total = 0;
    if (!target.held.isOpen()) {
        qWarning().noquote() << "ViewBaseModel: folder refused:" << target.path;
        total = selected.size();
        refused << refusalText(target.path, int(target.outcome));
    } else {
        for (const QString& name : qAsConst(selected)) {
            const filecopy::Outcome done = filecopy::copyFile(source, target, name);
            if (done == filecopy::Outcome::Missing)
                continue;   // gone since the list was made
            ++total;
            if (done == filecopy::Outcome::Done) {
                copied << name;
                continue;
            }
            // A folder on the way names the folder, else the file.
            const bool folderFault = !source.held.isOpen();
            refused << refusalText(folderFault ? source.path : name, int(folderFault ? source.outcome : done));
            qWarning().noquote() << "ViewBaseModel: file not copied:" << source.path + QLatin1Char('/') + name
                                 << "to" << target.path << refused.constLast();
        }
    }
    refused.removeDuplicates();
    const bool synced = zoplat::syncFileSystems() == 0;
    if (!refused.isEmpty()) {
        const QString sep = tr("、");
        QStringList lines{(exporting ? tr("已导出 %1/%2 个文件。") : tr("已导入 %1/%2 个文件。"))
                              .arg(copied.size())
                              .arg(total)};
        if (!copied.isEmpty())
            lines << (exporting ? tr("已导出：%1") : tr("已导入：%1")).arg(copied.join(sep));
        lines << (exporting ? tr("未导出：%1") : tr("未导入：%1")).arg(refused.join(sep));
        fileCopyNotice = lines.join(QLatin1Char('\n'));
    }
    return refused.isEmpty() && synced;
}

bool ViewBaseModel::exportSelectedFiles()
{
    return copySelectedFiles(FILE_POS_DEVICE, FILE_POS_USB);
}

bool ViewBaseModel::importSelectedFiles()
{
    return copySelectedFiles(FILE_POS_USB, FILE_POS_DEVICE);
}

QString ViewBaseModel::takeFileCopyNotice()
{
    QString notice;
    notice.swap(fileCopyNotice);
    return notice;
}

bool ViewBaseModel::deleteSelectedFiles()
{
    if (filePos == FILE_POS_USB && !usbStickMounted())
        return false;
    const filecopy::Folder folder = fileFolder(filePos, fileType, false);
    bool ok = true;
    for (const QPair<QString, bool>& entry : qAsConst(fileList)) {
        if (!entry.second || folder.outcome == filecopy::Outcome::Missing)
            continue;   // nothing there to delete
        if (filecopy::removeFile(folder, entry.first) != filecopy::Outcome::Done) {
            qWarning().noquote() << "ViewBaseModel: file not deleted:" << folder.path << entry.first;
            ok = false;
        }
    }
    if (zoplat::syncFileSystems() != 0)
        ok = false;
    return ok;
}

bool ViewBaseModel::checkUsbDiskExist(QString sub)
{
    if (!sub.isEmpty() && !isPlainFileName(sub))
        return false;
    if (!usbStickMounted() || !isFolder(kUsbMountPoint))
        return false;
    if (sub.isEmpty())
        return true;   // the stick's own folder is the stick's, never made here
    const QString folder = kUsbMountPoint + QLatin1Char('/') + sub;
    return zoplat::makeDir(folder) == 0 && isFolder(folder);
}

// ---- Named parameter files -----------------------------------------------------------------------

QStringList ViewBaseModel::getParmFileList() const
{
    const QString module = getActiveTestDir();
    if (module.isEmpty())
        return {};
    return listFiles(getRootPath() + QStringLiteral("/parameters_bk/") + module, parameterFilters());
}

bool ViewBaseModel::checkParmFileExist(QString name) const
{
    const QString module = getActiveTestDir();
    return !module.isEmpty() && isPlainFileName(name)
        && isFile(getRootPath() + QStringLiteral("/parameters_bk/") + module + QLatin1Char('/') + name);
}

bool ViewBaseModel::checkReportFileExist(QString name) const
{
    const QString module = getActiveTestDir();
    return !module.isEmpty() && isPlainFileName(name)
        && isFile(getRootPath() + QStringLiteral("/report/") + module + QLatin1Char('/') + name);
}

bool ViewBaseModel::backupParameter(QString name)
{
    // The backup is of what the page shows now.
    const bool saved = saveParameter();
    if (!isPlainFileName(name)) {
        if (!name.isEmpty())
            qWarning().noquote() << "ViewBaseModel: backup name refused:" << name;
        return false;
    }
    if (!saved)
        return false;
    const QString module = getActiveTestDir();
    const QString root = getRootPath();
    const QString source = root + QStringLiteral("/parameters/") + module + QStringLiteral("/parameter.xml");
    if (!isFile(source))
        return false;
    const QString folder = root + QStringLiteral("/parameters_bk/") + module;
    if (zoplat::makeDir(folder) != 0) {
        qWarning().noquote() << "ViewBaseModel: backup folder not created:" << folder;
        return false;
    }
    // Written whole beside the old backup and renamed over it.
    const bool copied = zoplat::replaceFile(source, folder + QLatin1Char('/') + name) == 0;
    if (!copied)
        qWarning().noquote() << "ViewBaseModel: backup not written:" << folder + QLatin1Char('/') + name;
    return zoplat::syncFileSystems() == 0 && copied;
}

bool ViewBaseModel::loadParmFromFile(QString name)
{
    parameterNotice.clear();
    const QString module = getActiveTestDir();
    if (module.isEmpty() || !isPlainFileName(name))
        return false;
    const QString root = getRootPath();
    const QString backup = local(root + QStringLiteral("/parameters_bk/") + module + QLatin1Char('/') + name);
    QByteArray bytes;
    if (!readParameterFile(backup, BaseXmlFile::Kind::Backup, &bytes))
        return false;
    // A page that has not saved yet has no folder of its own.
    const QString liveFolder = local(root + QStringLiteral("/parameters/") + module);
    if (!QDir().mkpath(liveFolder)) {
        parameterNotice = tr("页面的参数文件无法写入。");
        qWarning().noquote() << "ViewBaseModel: parameter folder not created:" << liveFolder;
        return false;
    }

    // The file is read and checked first; only a file the model took
    // replaces the live one, written beside it and renamed over it.
    const auto replaceLive = [&] {
        QSaveFile live(liveFolder + QStringLiteral("/parameter.xml"));
        if (BaseXmlFile::dropLink(live.fileName()) && live.open(QIODevice::WriteOnly) && live.write(bytes) == bytes.size() && live.commit())
            return true;
        qWarning().noquote() << "ViewBaseModel: parameter file not replaced:" << live.fileName() << live.errorString();
        return false;
    };
    if (!readParameterBytes(bytes, QStringLiteral("DataRoot"), false, true, replaceLive)) {
        qWarning().noquote() << "ViewBaseModel: parameter file refused:" << backup << parameterNotice;
        return false;
    }
    zoplat::syncFileSystems();
    bLoadParameter = true;   // the model holds the live file
    return true;
}
