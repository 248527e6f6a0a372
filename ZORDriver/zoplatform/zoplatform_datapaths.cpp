#include "zoplatform_datapaths.h"

#include "BaseUtilityHelper.h"
#include "zoplatform.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zoplat {

namespace {
const char* const kSdMountPoint = "/mnt/sdp1";
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
    const QDir folder(localFolder);
    int removed = 0;
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        if (isSaveTemporaryName(name) && QFile::remove(folder.filePath(name))) {
            ++removed;
            qWarning().noquote() << "removed the temporary of a save cut short:" << folder.filePath(name);
        }
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

bool clearCalibrationStaging()
{
    const QString staging = calibrationStagingFolder();
    if (makeDir(staging) != 0) {
        qWarning().noquote() << "staging folder not created:" << staging;
        return false;
    }
    bool ok = true;
    for (const QString& name : calibrationFileNames()) {
        for (const char* ext : {".xml", ".dat"})
            ok = removeFile(staging + QLatin1Char('/') + name + QLatin1String(ext)) == 0 && ok;
    }
    if (!ok)
        qWarning().noquote() << "old calibration files left in" << staging;
    return ok;
}

} // namespace zoplat
