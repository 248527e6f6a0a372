#include "zoplatform_datapaths.h"

#include "BaseUtilityHelper.h"
#include "zoplatform.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace zoplat {

namespace {
const char* const kSdMountPoint = "/mnt/sdp1";

int openFolderIn(int at, const char* name)
{
    return openat(at, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}
} // namespace

HeldFolder::HeldFolder(const QByteArray& localPath)
    : fd(localPath.isEmpty() ? -1 : openFolderIn(AT_FDCWD, localPath.constData()))
{
}

HeldFolder::HeldFolder(const QByteArray& localPath, const QStringList& localFolders)
    : HeldFolder(localPath)
{
    if (fd >= 0 && !localPathInside("/proc/self/fd/" + QByteArray::number(fd), localFolders, true))
        *this = HeldFolder();
}

HeldFolder::HeldFolder(const HeldFolder& parent, const char* name)
    : fd(parent.isOpen() && name ? openFolderIn(parent.fd, name) : -1)
{
}

HeldFolder::~HeldFolder()
{
    if (fd >= 0)
        close(fd);
}

HeldFolder::HeldFolder(HeldFolder&& other) noexcept
    : fd(std::exchange(other.fd, -1))
{
}

HeldFolder& HeldFolder::operator=(HeldFolder&& other) noexcept
{
    if (this != &other) {
        if (fd >= 0)
            close(fd);
        fd = std::exchange(other.fd, -1);
    }
    return *this;
}


std::vector<QByteArray> HeldFolder::entries() const
{
    std::vector<QByteArray> names;
    const int own = fd >= 0 ? fcntl(fd, F_DUPFD_CLOEXEC, 0) : -1;
    if (own < 0)
        return names;
    DIR* dir = fdopendir(own);
    if (!dir) {
        close(own);
        return names;
    }
    rewinddir(dir);
    while (const dirent* entry = readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.push_back(name);
    }
    closedir(dir);
    return names;
}

int HeldFolder::openRegular(const char* name) const
{
    if (fd < 0 || !name)
        return -1;
    const int file = openat(fd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat st;
    if (file >= 0 && (fstat(file, &st) != 0 || !S_ISREG(st.st_mode))) {
        close(file);
        return -1;
    }
    // Reads of a regular file never wait; the flag goes for its readers.
    if (file >= 0)
        fcntl(file, F_SETFL, fcntl(file, F_GETFL) & ~O_NONBLOCK);
    return file;
}

bool HeldFolder::removeFile(const char* name) const
{
    return fd >= 0 && name && (unlinkat(fd, name, 0) == 0 || errno == ENOENT);
}

bool HeldFolder::sync() const
{
    return fd >= 0 && fsync(fd) == 0;
}

bool HeldFolder::renameOver(const char* from, const char* to) const
{
    if (fd < 0 || !from || !to || renameat(fd, from, fd, to) != 0)
        return false;
    sync();
    return true;
}

bool sdCardPresent()
{
    return QFileInfo::exists(devicePath(QStringLiteral("/dev/mmcblk0p1")))
        && QFileInfo::exists(devicePath(QStringLiteral("/dev/mmcblk1p1")));
}

bool sdCardMounted()
{
    return isMounted(QLatin1String(kSdMountPoint));
}

QString dataRootPath()
{
    if (sdCardPresent() && sdCardMounted())
        return devicePath(QLatin1String(kSdMountPoint));
    return BaseUtilityHelper::getAppRootPath();
}

bool isPlainFileName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
        && !name.contains(QLatin1Char('\0')) && !name.contains(QStringLiteral(".."))
        && !name.startsWith(QLatin1Char('.'));
}

bool isSaveTemporaryName(const QString& name)
{
    constexpr int kLetters = 6;
    const int dot = name.size() - kLetters - 1;
    if (dot < 1 || name.at(dot) != QLatin1Char('.'))
        return false;
    for (int i = dot + 1; i < name.size(); ++i) {
        const ushort c = name.at(i).unicode();
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            return false;
    }
    const int extension = name.lastIndexOf(QLatin1Char('.'), dot - 1);
    return extension > 0 && extension < dot - 1;
}

int removeSaveTemporaries(const QString& localFolder)
{
    const HeldFolder folder(QFile::encodeName(localFolder));
    int removed = 0;
    for (const QByteArray& name : folder.entries()) {
        struct stat st;
        if (!isSaveTemporaryName(QFile::decodeName(name))
            || fstatat(folder.descriptor(), name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)
            || unlinkat(folder.descriptor(), name.constData(), 0) != 0)
            continue;
        ++removed;
        qWarning().noquote() << "removed the temporary of a save cut short:"
                             << localFolder + QLatin1Char('/') + QFile::decodeName(name);
    }
    return removed;
}

QStringList calibrationFileNames()
{
    return {"calacamp", "calacdco", "calacfrq", "calacfac", "calacpha",
            "calauxdc", "caldcamp", "callloamp", "calllodco", "calllodc"};
}

QString calibrationStagingFolder()
{
    return BaseUtilityHelper::getAppRootPath() + QStringLiteral("/dat/temp");
}

HeldFolder calibrationStaging()
{
    return HeldFolder(QFile::encodeName(calibrationStagingFolder()), {BaseUtilityHelper::getAppRootPath()});
}

bool clearCalibrationStaging()
{
    const QString staging = calibrationStagingFolder();
    const HeldFolder folder = makeDir(staging) == 0 ? calibrationStaging() : HeldFolder();
    if (!folder.isOpen()) {
        qWarning().noquote() << "staging folder not created, or not a folder of the application:" << staging;
        return false;
    }
    bool ok = true;
    for (const QString& name : calibrationFileNames()) {
        for (const char* ext : {".xml", ".dat"})
            ok = folder.removeFile(QFile::encodeName(name + QLatin1String(ext)).constData()) && ok;
    }
    folder.sync();
    if (!ok)
        qWarning().noquote() << "old calibration files left in" << staging;
    return ok;
}

int openCalibrationStagingFile(const QString& fileName)
{
    return calibrationStaging().openRegular(QFile::encodeName(fileName).constData());
}

} // namespace zoplat
