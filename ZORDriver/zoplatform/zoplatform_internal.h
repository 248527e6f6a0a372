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

} // namespace internal
} // namespace zoplat
