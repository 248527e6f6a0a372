#include "zobase_mysafeio.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

namespace {

int64_t nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

} // namespace

int _my_safe_read(int fd, void* buf, int len)
{
    if (buf == nullptr && len > 0) {
        errno = EFAULT;
        return -1;
    }
    char* p = static_cast<char*>(buf);
    int done = 0;
    while (done < len) {
        const ssize_t n = read(fd, p + done, size_t(len - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return int(n);
        }
        if (n == 0)
            break;
        done += int(n);
    }
    return done;
}

int _my_safe_write(int fd, const void* buf, int len)
{
    if (buf == nullptr && len > 0) {
        errno = EFAULT;
        return -1;
    }
    const char* p = static_cast<const char*>(buf);
    int done = 0;
    while (done < len) {
        const ssize_t n = write(fd, p + done, size_t(len - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return int(n);
        }
        if (n == 0)
            break;
        done += int(n);
    }
    return done;
}

int _my_wait_for_ready(int fd, int msec, int flag)
{
    // A signal (the network service's 100 ms SIGALRM) ends poll() early; the
    // wait goes on for what remains until the deadline, never anew.
    const int64_t deadline = nowMs() + (msec > 0 ? msec : 0);
    for (;;) {
        const int64_t remaining = deadline - nowMs();
        const int wait = remaining > 0 ? int(remaining) : 0;
        int r;
        if (fd < 0) {
            r = poll(nullptr, 0, wait);
        } else {
            pollfd p{fd, short(flag ? POLLOUT : POLLIN), 0};
            r = poll(&p, 1, wait);
        }
        if (r >= 0 || errno != EINTR)
            return r;
        if (wait == 0)
            return 0;
    }
}

int _my_safe_read_timeout(int fd, void* buf, int len, int timeout)
{
    if (buf == nullptr && len > 0) {
        errno = EFAULT;
        return -1;
    }
    char* p = static_cast<char*>(buf);
    int done = 0;
    while (done < len) {
        if (_my_wait_for_ready(fd, timeout, 0) <= 0)
            break;
        const ssize_t n = read(fd, p + done, size_t(len - done));
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)
                continue;
            return int(n);
        }
        if (n == 0)
            break;
        done += int(n);
    }
    return done;
}

int _my_safe_write_timeout(int fd, const void* buf, int len, int timeout)
{
    if (buf == nullptr && len > 0) {
        errno = EFAULT;
        return -1;
    }
    const char* p = static_cast<const char*>(buf);
    int done = 0;
    while (done < len) {
        if (_my_wait_for_ready(fd, timeout, 1) <= 0)
            break;
        const ssize_t n = write(fd, p + done, size_t(len - done));
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)
                continue;
            return int(n);
        }
        if (n == 0)
            break;
        done += int(n);
    }
    return done;
}

void _my_set_fcntl_flag(int fd, int opt, int which)
{
    if (fd < 0)
        return;
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0)
        return;
    fcntl(fd, F_SETFL, opt ? (flags | which) : (flags & ~which));
}
