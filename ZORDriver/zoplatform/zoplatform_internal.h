#pragma once

// File operations on already resolved local paths, shared by the file
// commands and the host runner. Return 0 or -1.

#include <QByteArray>
#include <QString>

#include <optional>

namespace zoplat {
namespace internal {

bool usablePath(const QByteArray& path);    // non-empty, shorter than PATH_MAX, no NUL
int copyLocal(const QByteArray& from, const QByteArray& to);
int replaceLocal(const QByteArray& from, const QByteArray& to);
int removeLocal(const QByteArray& path);
int makeDirLocal(const QByteArray& path);
int moveLocal(const QByteArray& from, const QByteArray& to);

// The working directory, read without Qt's locale codec (the GNSS thread
// resolves its port path while the process may already be tearing Qt down).
QString currentDirectory();
// A local path as the kernel reaches it: every link followed (the last
// component's only with followLast), components that do not exist taken as
// they stand. Nothing for a link loop or an unreadable link.
std::optional<QByteArray> resolvedPath(const QByteArray& path, bool followLast);

// Whether the file calls may act on a local path. Host: only when the path,
// with every link followed (a link as its last component too when followLast;
// rm and mv act on that link itself), lies inside the sandbox root or the
// application folder; a refusal is reported on the debug output. Device: always.
bool mayTouch(const QByteArray& path, bool followLast);

} // namespace internal
} // namespace zoplat
