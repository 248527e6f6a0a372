#include "FileCopy.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace filecopy {
namespace {

Outcome kindOf(int folder, const QByteArray& name)
{
    struct stat st{};
    if (fstatat(folder, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? Outcome::Missing : Outcome::Unreadable;
    if (S_ISLNK(st.st_mode))
        return Outcome::Link;
    return S_ISREG(st.st_mode) ? Outcome::Done : Outcome::NotRegular;
}

// Copies in to out: Done, Unreadable or Unwritable.
Outcome copyData(int in, int out)
{
    switch (zoplat::copyData(in, out)) {
    case zoplat::CopyResult::Done:
        return Outcome::Done;
    case zoplat::CopyResult::ReadFailed:
        return Outcome::Unreadable;
    case zoplat::CopyResult::WriteFailed:
        break;
    }
    return Outcome::Unwritable;
}

// A new hidden temporary for name in folder, created exclusively: its
// descriptor (or -1) and its name.
int makeTemporary(int folder, const QByteArray& name, QByteArray* temporary)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray tag(6, 'x');
        for (char& c : tag)
            c = letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)];
        *temporary = '.' + name + '.' + tag + ".part";
        const int fd = openat(folder, temporary->constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                              0644);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

Folder openFolder(const QString& localTop, const QString& shownTop, const QStringList& below, bool create)
{
    Folder f;
    f.path = shownTop;
    const QString canonical = QFileInfo(localTop).canonicalFilePath();
    zoplat::HeldFolder held(canonical.isEmpty() ? QByteArray() : QFile::encodeName(canonical));
    if (!held.isOpen()) {
        f.outcome = canonical.isEmpty() ? Outcome::Missing : Outcome::NotFolder;
        return f;
    }
    for (const QString& name : below) {
        f.path += QLatin1Char('/') + name;
        if (!zoplat::isPlainFileName(name)) {
            f.outcome = Outcome::BadName;
            return f;
        }
        const QByteArray bytes = QFile::encodeName(name);
        if (create && mkdirat(held.descriptor(), bytes.constData(), 0777) != 0 && errno != EEXIST) {
            f.outcome = Outcome::Unwritable;
            return f;
        }
        zoplat::HeldFolder next(held, bytes.constData());
        if (!next.isOpen()) {
            const Outcome kind = kindOf(held.descriptor(), bytes);
            f.outcome = kind == Outcome::Done || kind == Outcome::NotRegular ? Outcome::NotFolder : kind;
            return f;
        }
        held = std::move(next);
    }
    f.held = std::move(held);
    f.outcome = Outcome::Done;
    return f;
}

Outcome entryKind(const Folder& folder, const QString& name)
{
    if (!zoplat::isPlainFileName(name))
        return Outcome::BadName;
    return folder.held.isOpen() ? kindOf(folder.held.descriptor(), QFile::encodeName(name)) : folder.outcome;
}

Outcome copyFile(const Folder& from, const Folder& to, const QString& name, const QString& toName)
{
    const QString targetName = toName.isEmpty() ? name : toName;
    if (!zoplat::isPlainFileName(targetName))
        return Outcome::BadName;
    const Outcome kind = entryKind(from, name);
    if (kind != Outcome::Done)
        return kind;
    if (!to.held.isOpen())
        return Outcome::Unwritable;
    // Opened without following a link: one swapped in since is refused too.
    const int in = from.held.openRegular(QFile::encodeName(name).constData());
    if (in < 0)
        return kindOf(from.held.descriptor(), QFile::encodeName(name)) == Outcome::Link ? Outcome::Link
                                                                                       : Outcome::Unreadable;
    const QByteArray target = QFile::encodeName(targetName);
    QByteArray temporary;
    const int out = makeTemporary(to.held.descriptor(), target, &temporary);
    Outcome result = out < 0 ? Outcome::Unwritable : copyData(in, out);
    close(in);
    if (out >= 0) {
        if (result == Outcome::Done && fsync(out) != 0)
            result = Outcome::Unwritable;
        if (close(out) != 0 && result == Outcome::Done)
            result = Outcome::Unwritable;
        if (result == Outcome::Done && !to.held.renameOver(temporary.constData(), target.constData()))
            result = Outcome::Unwritable;
        if (result != Outcome::Done)
            unlinkat(to.held.descriptor(), temporary.constData(), 0);
    }
    return result;
}

Outcome removeFile(const Folder& folder, const QString& name)
{
    if (!folder.held.isOpen())
        return folder.outcome == Outcome::Missing ? Outcome::Done : folder.outcome;
    const Outcome kind = entryKind(folder, name);
    if (kind == Outcome::Missing)
        return Outcome::Done;
    if (kind != Outcome::Done && kind != Outcome::Link)
        return kind;
    return folder.held.removeFile(QFile::encodeName(name).constData()) ? Outcome::Done : Outcome::Unwritable;
}

} // namespace filecopy
