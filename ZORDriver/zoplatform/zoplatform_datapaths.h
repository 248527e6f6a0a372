#pragma once

// The data root and the file-name rules shared by the interface and the
// network service: both reach them here, so a PC and the front panel see the
// same folders.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace zoplat {

// A local folder opened as itself (a link in its place is not followed; the
// folders above it are) and held while the object lives. Every name is taken
// relative to it, so a folder swapped for a link afterwards leads nowhere.
class HeldFolder
{
public:
    HeldFolder() = default;
    explicit HeldFolder(const QByteArray& localPath);
    // The same, held only when the folder lies inside one of the local
    // folders: where it is, not where its path leads now.
    HeldFolder(const QByteArray& localPath, const QStringList& localFolders);
    // The folder `name` in `parent`, not through a link.
    HeldFolder(const HeldFolder& parent, const char* name);
    ~HeldFolder();
    HeldFolder(HeldFolder&& other) noexcept;
    HeldFolder& operator=(HeldFolder&& other) noexcept;
    HeldFolder(const HeldFolder&) = delete;
    HeldFolder& operator=(const HeldFolder&) = delete;

    bool isOpen() const { return fd >= 0; }
    int descriptor() const { return fd; }
    // Its entries, "." and ".." left out, as stored.
    std::vector<QByteArray> entries() const;
    // A regular file in it, opened for reading: not through a link, not
    // waiting for a pipe's writer. The descriptor (close-on-exec), or -1 for
    // anything else.
    int openRegular(const char* name) const;
    // Removes the entry unless it is a folder (a link is removed, not
    // followed); true when nothing of that name is left.
    bool removeFile(const char* name) const;
    // Flushes the folder's entries to the disk (after a rename into it).
    bool sync() const;
    // Renames its entry `from` over `to`, then flushes the folder, so that
    // the new name outlives a power cut. True when the rename was done (a
    // flush that fails after it does not undo it).
    bool renameOver(const char* from, const char* to) const;

private:
    int fd = -1;
};

// Copies what is left to read of the descriptor in to out.
enum class CopyResult { Done, ReadFailed, WriteFailed };
CopyResult copyData(int in, int out);

// Both SD partitions ("/dev/mmcblk0p1", "/dev/mmcblk1p1") are present.
bool sdCardPresent();
// The card's file system is mounted at "/mnt/sdp1".
bool sdCardMounted();
// The data root: "/mnt/sdp1" (as a device path) while the card is present
// and mounted, else the application root. A card present but not mounted
// would take the files into the folder under the mount point, hidden as
// soon as the card is mounted.
QString dataRootPath();

// A plain file name: not empty, no "/", "\\" or NUL, no "..", no leading ".".
bool isPlainFileName(const QString& name);

// A temporary that a save cut short left beside its file: QSaveFile's, the
// file's name with its extension + "." + six ASCII letters
// ("AC_20240131235959.htm.AbCdEf"), as reports and XML files are saved.
bool isSaveTemporaryName(const QString& name);
// Removes such temporaries (files, not links) from a local folder, held open;
// no one may be saving into it meanwhile. Returns the number removed.
int removeSaveTemporaries(const QString& localFolder);

// The calibration files' names (without extension), in the order they are
// copied, and their export/import staging folder "<app root>/dat/temp".
QStringList calibrationFileNames();
QString calibrationStagingFolder();
// The staging folder, held open: itself, not a link, and inside the
// application's folder (else not open).
HeldFolder calibrationStaging();
// The staging folder present and free of the calibration files (".xml" and
// ".dat") of the last export or import; other files stay. False when the
// folder could not be made or a file stays.
bool clearCalibrationStaging();
// A file of the staging folder opened for reading through the folder held
// open (HeldFolder::openRegular): a descriptor, or -1.
int openCalibrationStagingFile(const QString& fileName);

} // namespace zoplat
