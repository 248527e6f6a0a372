// File commands without a shell and the check of where a path really leads,
// the same in both builds: the paths are resolved through devicePath(), so
// the host build stays inside its sandbox.

#include "zoplatform.h"
#include "zoplatform_datapaths.h"
#include "zoplatform_internal.h"

#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zoplat {
namespace {

// The temporary of replaceLocal: "." + name + "." + six letters or digits + ".part".
bool isReplaceTemporary(const QByteArray& entry, const QByteArray& name)
{
    const QByteArray head = '.' + name + '.';
    const QByteArray tail = ".part";
    if (entry.size() != head.size() + 6 + tail.size() || !entry.startsWith(head) || !entry.endsWith(tail))
        return false;
    return std::all_of(entry.cbegin() + head.size(), entry.cend() - tail.size(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
}

void removeReplaceTemporaries(const QByteArray& folder, const QByteArray& name)
{
    DIR* dir = opendir(folder.constData());
    if (!dir)
        return;
    while (const dirent* entry = readdir(dir)) {
        const QByteArray path = folder + '/' + entry->d_name;
        struct stat st{};
        if (isReplaceTemporary(entry->d_name, name) && lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode))
            unlink(path.constData());
    }
    closedir(dir);
}

} // namespace

CopyResult copyData(int in, int out)
{
    char buf[65536];
    for (;;) {
        const ssize_t n = read(in, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return CopyResult::ReadFailed;
        if (n == 0)
            return CopyResult::Done;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = write(out, buf + done, size_t(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                return CopyResult::WriteFailed;
            done += w;
        }
    }
}


namespace internal {

QString currentDirectory()
{
    char buffer[PATH_MAX];
    if (::getcwd(buffer, sizeof buffer) == nullptr)
        return QString();
    return QString::fromUtf8(buffer);
}

std::optional<QByteArray> resolvedPath(const QByteArray& path, bool followLast)
{
    QList<QByteArray> pending = path.split('/');
    if (!path.startsWith('/'))
        pending = currentDirectory().toLocal8Bit().split('/') + pending;
    QByteArray done;   // resolved so far; empty for "/"
    int links = 0;
    while (!pending.isEmpty()) {
        const QByteArray part = pending.takeFirst();
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            done.truncate(std::max(0, done.lastIndexOf('/')));
            continue;
        }
        const QByteArray next = done + '/' + part;
        const bool last = std::all_of(pending.cbegin(), pending.cend(),
                                      [](const QByteArray& p) { return p.isEmpty() || p == "."; });
        struct stat st
        {
        };
        if ((followLast || !last) && lstat(next.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
            char target[PATH_MAX];
            const ssize_t n = readlink(next.constData(), target, sizeof target);
            if (++links > 40 || n <= 0 || n >= ssize_t(sizeof target))
                return std::nullopt;
            if (target[0] == '/')
                done.clear();
            pending = QByteArray(target, int(n)).split('/') + pending;
            continue;
        }
        done = next;
    }
    return done.isEmpty() ? QByteArray("/") : done;
}

bool usablePath(const QByteArray& p)
{
    return !p.isEmpty() && p.size() < PATH_MAX && !p.contains('\0');
}

int copyLocal(const QByteArray& from, const QByteArray& to)
{
    if (!usablePath(from) || !usablePath(to) || !mayTouch(from, true))
        return -1;
    struct stat src{};
    if (stat(from.constData(), &src) != 0 || !S_ISREG(src.st_mode))
        return -1;

    // "cp -f a dir" copies into the folder under the source's name.
    QByteArray target = to;
    struct stat dst{};
    if (stat(to.constData(), &dst) == 0) {
        if (S_ISDIR(dst.st_mode)) {
            const QByteArray name = QFileInfo(QString::fromLocal8Bit(from)).fileName().toLocal8Bit();
            target = to.endsWith('/') ? to + name : to + '/' + name;
            if (!usablePath(target))
                return -1;
            if (stat(target.constData(), &dst) != 0)
                dst = {};
        }
        if (dst.st_ino == src.st_ino && dst.st_dev == src.st_dev)
            return -1;   // same file, as cp refuses
    }
    if (!mayTouch(target, true))
        return -1;

    const int in = open(from.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return -1;
    int out = open(target.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, src.st_mode & 0777);
    if (out < 0 && errno != ENOENT) {
        // "-f": an existing target that cannot be opened is removed and made anew.
        unlink(target.constData());
        out = open(target.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, src.st_mode & 0777);
    }
    if (out < 0) {
        close(in);
        return -1;
    }
    int rc = copyData(in, out) == CopyResult::Done ? 0 : -1;
    close(in);
    if (close(out) != 0)
        rc = -1;
    return rc;
}

int replaceLocal(const QByteArray& from, const QByteArray& to)
{
    // The target's folder is checked; its own name is replaced, never followed.
    if (!usablePath(from) || !usablePath(to) || !mayTouch(from, true) || !mayTouch(to, false))
        return -1;
    const int slash = to.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : to.left(slash);
    const QByteArray name = to.mid(slash + 1);
    if (name.isEmpty() || name == "." || name == "..")
        return -1;
    struct stat src{};
    if (stat(from.constData(), &src) != 0 || !S_ISREG(src.st_mode))
        return -1;
    mode_t mode = src.st_mode & 0777;
    struct stat dst{};
    if (lstat(to.constData(), &dst) == 0) {
        if (S_ISDIR(dst.st_mode) || (dst.st_ino == src.st_ino && dst.st_dev == src.st_dev))
            return -1;
        if (S_ISREG(dst.st_mode))
            mode = dst.st_mode & 0777;   // as "cp -f" over a file keeps its mode
    }
    // The folder the copy is made in is the one it is renamed in and flushed.
    const std::optional<QByteArray> realFolder = resolvedPath(folder, true);
    const HeldFolder held(realFolder ? *realFolder : QByteArray());
    if (!held.isOpen())
        return -1;
    removeReplaceTemporaries(*realFolder, name);
    QByteArray temporary = *realFolder + "/." + name + ".XXXXXX.part";
    if (!usablePath(temporary))
        return -1;
    const int out = mkostemps(temporary.data(), 5, O_CLOEXEC);   // created exclusively
    if (out < 0)
        return -1;
    const int in = open(from.constData(), O_RDONLY | O_CLOEXEC);
    bool ok = in >= 0 && copyData(in, out) == CopyResult::Done && fchmod(out, mode) == 0 && fsync(out) == 0;
    if (in >= 0)
        close(in);
    ok = close(out) == 0 && ok;
    ok = ok && held.renameOver(temporary.mid(temporary.lastIndexOf('/') + 1).constData(), name.constData());
    if (!ok)
        unlink(temporary.constData());
    return ok ? 0 : -1;
}

int removeLocal(const QByteArray& path)
{
    if (!usablePath(path) || !mayTouch(path, false))
        return -1;
    struct stat st{};
    if (lstat(path.constData(), &st) != 0)
        return errno == ENOENT ? 0 : -1;
    if (S_ISDIR(st.st_mode))
        return -1;   // "rm -f" does not remove folders
    if (unlink(path.constData()) != 0 && errno != ENOENT)
        return -1;
    return 0;
}

int makeDirLocal(const QByteArray& path)
{
    if (!usablePath(path) || !mayTouch(path, true))
        return -1;
    QByteArray p = path;
    while (p.size() > 1 && p.endsWith('/'))
        p.chop(1);
    // Create every missing component, parents first.
    for (int i = 1; i <= p.size(); ++i) {
        if (i < p.size() && p.at(i) != '/')
            continue;
        const QByteArray part = p.left(i);
        if (mkdir(part.constData(), 0777) != 0 && errno != EEXIST)
            return -1;
    }
    struct stat st{};
    return stat(p.constData(), &st) == 0 && S_ISDIR(st.st_mode) ? 0 : -1;
}

int moveLocal(const QByteArray& from, const QByteArray& to)
{
    if (!usablePath(from) || !usablePath(to) || !mayTouch(from, false))
        return -1;
    QByteArray target = to;
    struct stat dst{};
    if (stat(to.constData(), &dst) == 0 && S_ISDIR(dst.st_mode)) {
        const QByteArray name = QFileInfo(QString::fromLocal8Bit(from)).fileName().toLocal8Bit();
        target = to.endsWith('/') ? to + name : to + '/' + name;
    }
    if (!mayTouch(target, false))
        return -1;
    if (std::rename(from.constData(), target.constData()) == 0)
        return 0;
    if (errno != EXDEV)
        return -1;
    if (copyLocal(from, target) != 0)
        return -1;
    return unlink(from.constData()) == 0 ? 0 : -1;
}

} // namespace internal

int copyFile(const QString& from, const QString& to)
{
    if (from.isEmpty() || to.isEmpty())
        return -1;
    return internal::copyLocal(devicePath(from).toLocal8Bit(), devicePath(to).toLocal8Bit());
}

int replaceFile(const QString& from, const QString& to)
{
    if (from.isEmpty() || to.isEmpty())
        return -1;
    return internal::replaceLocal(devicePath(from).toLocal8Bit(), devicePath(to).toLocal8Bit());
}

bool localPathInside(const QByteArray& localPath, const QStringList& localFolders, bool followLast)
{
    if (!internal::usablePath(localPath))
        return false;
    const std::optional<QByteArray> real = internal::resolvedPath(localPath, followLast);
    if (!real)
        return false;
    for (const QString& folder : localFolders) {
        const QByteArray bytes = folder.toLocal8Bit();
        if (!internal::usablePath(bytes))
            continue;
        const std::optional<QByteArray> realFolder = internal::resolvedPath(bytes, true);
        if (realFolder && *realFolder != "/" && (*real == *realFolder || real->startsWith(*realFolder + '/')))
            return true;
    }
    return false;
}

int removeFile(const QString& path)
{
    if (path.isEmpty())
        return -1;
    return internal::removeLocal(devicePath(path).toLocal8Bit());
}

int makeDir(const QString& path)
{
    if (path.isEmpty())
        return -1;
    return internal::makeDirLocal(devicePath(path).toLocal8Bit());
}

} // namespace zoplat
