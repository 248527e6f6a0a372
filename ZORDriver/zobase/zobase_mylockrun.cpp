#include "zobase_mylockrun.h"

#include "zoplatform.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr size_t kMaxNameLength = 255;   // one file name
}

int _my_lockrun_instance(const char* process_name)
{
    if (process_name == nullptr) {
        printf("process_name (NULL), error");
        return -1;
    }
    // The name becomes one file name under "/var/run/": nothing that leaves it.
    const size_t nameLength = strnlen(process_name, kMaxNameLength + 1);
    if (nameLength == 0 || nameLength > kMaxNameLength || strchr(process_name, '/') != nullptr
        || strcmp(process_name, "..") == 0 || strcmp(process_name, ".") == 0) {
        printf("process_name (%.32s), error\n", process_name);
        return -1;
    }

    if (zoplat::makeDir(QStringLiteral("/var/run")) != 0) {
        printf("Open file failed, error : %s", strerror(errno ? errno : EACCES));
        return -1;
    }
    const QByteArray path =
        zoplat::devicePath(QStringLiteral("/var/run/") + QString::fromLocal8Bit(process_name) + QStringLiteral(".pid"))
            .toLocal8Bit();
    const int fd = open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        printf("Open file failed, error : %s", strerror(errno));
        return -1;
    }

    struct flock lock{};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    if (fcntl(fd, F_SETLK, &lock) < 0) {
        const int err = errno;
        if (err == EACCES || err == EAGAIN) {
            printf("%s already locked, error: %s\n", path.constData(), strerror(err));
            close(fd);
            return 1;
        }
        // Any other failure of the lock: carry on as the unlocked first instance.
    }

    char pid[32];
    const int n = snprintf(pid, sizeof pid, "%d", int(getpid()));
    ssize_t written = -1;
    if (ftruncate(fd, 0) == 0) {
        do {
            written = pwrite(fd, pid, size_t(n), 0);
        } while (written < 0 && errno == EINTR);
    }
    if (written != n) {
        printf("Write file failed, file: %s, error: %s\n", path.constData(), strerror(errno));
        close(fd);
        return -1;
    }
    // The descriptor stays open: the lock lasts as long as the process.
    return 0;
}
