#pragma once

// Copies of the file manager and the upgrade between folders reached without
// links. A folder is opened from a top folder (the stick's mount point, the
// data root: links up to and in it are the system's and are followed) one
// plain name at a time, never through a link, and held open; files are read
// only when they are regular files and no links, and written beside the
// target under a hidden temporary that is renamed over it, so a link in the
// target's place is replaced, never followed.

#include "zoplatform_datapaths.h"

#include <QString>
#include <QStringList>

namespace filecopy {

enum class Outcome {
    Done,
    Missing,      // nothing of that name
    Link,         // a link: never followed
    NotRegular,   // a folder, a pipe or another node
    NotFolder,    // a folder on the way is a file or cannot be opened
    Unreadable,
    Unwritable,
    BadName,      // not a plain file name
};

struct Folder
{
    zoplat::HeldFolder held;
    Outcome outcome = Outcome::Missing;   // Done when held
    QString path;                         // shown path; where it stopped unless held
};

// The folder top/below[0]/below[1]...; with create, missing folders below
// top are made. shownTop names top in Folder::path.
Folder openFolder(const QString& localTop, const QString& shownTop, const QStringList& below, bool create);

// Copies the file `name` of from to `toName` (the same name when empty) in to.
// Missing: nothing was there to copy.
Outcome copyFile(const Folder& from, const Folder& to, const QString& name, const QString& toName = QString());

// Removes the file `name` of the folder (a link itself, never what it leads
// to); Done also when nothing was there; a folder is not removed.
Outcome removeFile(const Folder& folder, const QString& name);

// The kind of entry `name` of the folder is, not following a link: Done for
// a regular file.
Outcome entryKind(const Folder& folder, const QString& name);

} // namespace filecopy
