#pragma once

// File operations on already resolved local paths, shared by the file
// commands and the host runner. Return 0 or -1.

#include <QByteArray>

namespace zoplat {
namespace internal {

bool usablePath(const QByteArray& path);    // non-empty, shorter than PATH_MAX, no NUL
int copyLocal(const QByteArray& from, const QByteArray& to);
int removeLocal(const QByteArray& path);
int makeDirLocal(const QByteArray& path);
int moveLocal(const QByteArray& from, const QByteArray& to);

// Whether the file calls may act on a local path. Host: only when the path,
// with every link followed (a link as its last component too when followLast;
// rm and mv act on that link itself), lies inside the sandbox root or the
// application folder; a refusal is reported on the debug output. Device: always.
bool mayTouch(const QByteArray& path, bool followLast);

} // namespace internal
} // namespace zoplat
