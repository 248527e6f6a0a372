#pragma once

// The data root and the file-name rules shared by the interface and the
// network service: both reach them here, so a PC and the front panel see the
// same folders.

#include <QString>
#include <QStringList>

namespace zoplat {

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
// Removes such temporaries (files, not links) from a local folder; no one may
// be saving into it meanwhile. Returns the number removed.
int removeSaveTemporaries(const QString& localFolder);

// The calibration files' names (without extension), in the order they are
// copied, and their export/import staging folder "<app root>/dat/temp".
QStringList calibrationFileNames();
QString calibrationStagingFolder();
// The staging folder present and free of the calibration files (".xml" and
// ".dat") of the last export or import; other files stay. False when the
// folder could not be made or a file stays.
bool clearCalibrationStaging();

} // namespace zoplat
