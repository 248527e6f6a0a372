#include "driverserial.h"

#include "zoplatform.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

speed_t uartSpeed(int speed)
{
    switch (speed) {
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    default: return B9600;
    }
}

// The time-out is measured on the product clock. With real-time waits one
// poll waits out all of it; a custom clock (a test's) may run apart from real
// time, so then the port is polled in slices of this many real ms.
constexpr int kPollSliceMs = 5;

// Real ms of one poll for the product time left (rounded up).
int pollMs(int64_t leftMs)
{
    if (!zoplat::realTimeWaits())
        return kPollSliceMs;
    const double ms = std::ceil(double(std::max<int64_t>(leftMs, 0)) * zoplat::timeScale());
    return int(std::min(ms, 3600000.0));
}

} // namespace

int uartSetOpt(int fd, int speed, int dataBits, char parity, int stopBits)
{
    if (fd < 0)
        return -1;

    termios options;
    std::memset(&options, 0, sizeof(options));
    options.c_cflag = CLOCAL | CREAD;

    switch (dataBits) {
    case 7: options.c_cflag |= CS7; break;
    case 8: options.c_cflag |= CS8; break;
    default: return -1;
    }

    switch (parity) {
    case 'N':
    case 'n':
        break;
    case 'E':
    case 'e':
        options.c_cflag |= PARENB;
        options.c_iflag |= INPCK | ISTRIP;
        break;
    case 'O':
    case 'o':
        options.c_cflag |= PARENB | PARODD;
        options.c_iflag |= INPCK | ISTRIP;
        break;
    default:
        return -1;
    }

    switch (stopBits) {
    case 1: break;
    case 2: options.c_cflag |= CSTOPB; break;
    default: return -1;
    }

    const speed_t baud = uartSpeed(speed);
    cfsetispeed(&options, baud);
    cfsetospeed(&options, baud);
    options.c_cc[VMIN] = 1;
    options.c_cc[VTIME] = 1;

    tcflush(fd, TCIFLUSH);
    if (tcsetattr(fd, TCSANOW, &options) != 0)
        return -1;
    return 0;
}

int uartRecvData(int fd, uint8_t* buffer, int size, int timeoutMs)
{
    if (fd < 0 || buffer == nullptr || size <= 0)
        return -1;

    const int64_t deadline = zoplat::monotonicMs() + std::max(timeoutMs, 0);
    for (;;) {
        pollfd pfd{fd, POLLIN, 0};
        const int ready = poll(&pfd, 1, pollMs(deadline - zoplat::monotonicMs()));
        if (ready < 0 && errno != EINTR)
            return -1;
        if (ready > 0) {
            if (pfd.revents & POLLIN) {
                const ssize_t n = read(fd, buffer, size_t(size));
                if (n < 0)
                    return (errno == EAGAIN || errno == EINTR) ? 0 : -1;
                return int(n);
            }
            if (pfd.revents & (POLLERR | POLLHUP | POLLNVAL))
                return -1;
        }
        if (zoplat::monotonicMs() >= deadline)
            return 0;
    }
}

int uartSendData(int fd, const uint8_t* buffer, int length)
{
    if (fd < 0 || buffer == nullptr || length < 0)
        return -1;
    const ssize_t n = write(fd, buffer, size_t(length));
    if (n != ssize_t(length)) {
        tcflush(fd, TCOFLUSH);
        return -1;
    }
    return length;
}
