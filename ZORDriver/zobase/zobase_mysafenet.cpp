#include "zobase_mysafenet.h"

#include "zobase_mysafeio.h"

#include <cerrno>
#include <sys/types.h>

namespace {

// The loop shared by every call: repeat while bytes remain, EINTR repeats,
// another failure is returned as it is, 0 ends the loop. waitMs >= 0 waits for
// readiness before every call and stops (with the count so far) when it fails.
template <typename Call>
int loop(int fd, char* p, int len, int waitMs, int forWriting, Call call)
{
    if (p == nullptr && len > 0) {
        errno = EFAULT;
        return -1;
    }
    int done = 0;
    while (done < len) {
        if (waitMs >= 0 && _my_wait_for_ready(fd, waitMs, forWriting) <= 0)
            break;
        const ssize_t n = call(p + done, size_t(len - done));
        if (n < 0) {
            if (errno == EINTR || (waitMs >= 0 && (errno == EAGAIN || errno == EWOULDBLOCK)))
                continue;
            return int(n);
        }
        if (n == 0)
            break;
        done += int(n);
    }
    return done;
}

} // namespace

int _my_safe_send(int fd, void* buf, int len, unsigned int flags)
{
    return loop(fd, static_cast<char*>(buf), len, -1, 1,
                [&](char* p, size_t n) { return send(fd, p, n, int(flags)); });
}

int _my_safe_recv(int fd, void* buf, int len, unsigned int flags)
{
    return loop(fd, static_cast<char*>(buf), len, -1, 0,
                [&](char* p, size_t n) { return recv(fd, p, n, int(flags)); });
}

int _my_safe_sendto(int fd, void* buf, int len, unsigned int flags, const sockaddr* to, unsigned int tolen)
{
    return loop(fd, static_cast<char*>(buf), len, -1, 1,
                [&](char* p, size_t n) { return sendto(fd, p, n, int(flags), to, socklen_t(tolen)); });
}

int _my_safe_recvfrom(int fd, void* buf, int len, unsigned int flags, sockaddr* from, unsigned int* fromlen,
                      int fullrecv)
{
    socklen_t length = fromlen ? socklen_t(*fromlen) : 0;
    socklen_t* lengthp = fromlen ? &length : nullptr;
    int r;
    if (!fullrecv) {
        // One call; an interrupted one reports 0 bytes (nothing calls this form).
        if (buf == nullptr && len > 0) {
            errno = EFAULT;
            return -1;
        }
        const ssize_t n = recvfrom(fd, buf, size_t(len > 0 ? len : 0), int(flags), from, lengthp);
        r = (n < 0 && errno == EINTR) ? 0 : int(n);
    } else {
        r = loop(fd, static_cast<char*>(buf), len, -1, 0,
                 [&](char* p, size_t n) { return recvfrom(fd, p, n, int(flags), from, lengthp); });
    }
    if (fromlen)
        *fromlen = unsigned(length);
    return r;
}

int _my_safe_recvfrom_timeout(int fd, void* buf, int len, unsigned int flags, sockaddr* from,
                              unsigned int* fromlen, int timeout)
{
    socklen_t length = fromlen ? socklen_t(*fromlen) : 0;
    socklen_t* lengthp = fromlen ? &length : nullptr;
    const int r = loop(fd, static_cast<char*>(buf), len, timeout > 0 ? timeout : 0, 0,
                       [&](char* p, size_t n) { return recvfrom(fd, p, n, int(flags), from, lengthp); });
    if (fromlen)
        *fromlen = unsigned(length);
    return r;
}

int _my_safe_sendto_timeout(int fd, void* buf, int len, unsigned int flags, const sockaddr* to,
                            unsigned int tolen, int timeout)
{
    return loop(fd, static_cast<char*>(buf), len, timeout > 0 ? timeout : 0, 1,
                [&](char* p, size_t n) { return sendto(fd, p, n, int(flags), to, socklen_t(tolen)); });
}
