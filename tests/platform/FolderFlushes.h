#pragma once

// This program's flushes of folders (fsync of a descriptor of a folder),
// counted by an fsync of its own that passes every call on to the system's.

#include <QString>

namespace platformtest {

// The flushes of the folder at path since the program started.
int folderFlushes(const QString& path);

}   // namespace platformtest
