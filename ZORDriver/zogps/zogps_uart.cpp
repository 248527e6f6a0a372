// The GNSS receiver's serial port: raw 8N1, non-blocking, six baud rates.

#include "zogps.h"
#include "zogps_internal.h"

#include <cerrno>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

std::atomic<int> local_uart_baudi{1};

const int kBaudRates[GPS_UART_BAUD_COUNT] = {4800, 9600, 19200, 38400, 57600, 115200};

speed_t baudSpeed(int index)
{
    switch (index) {
    case 0: return B4800;
    case 1: return B9600;
    case 2: return B19200;
    case 3: return B38400;
    case 4: return B57600;
    case 5: return B115200;
    default: return B9600;
    }
}

constexpr int kSendRetries = 200;

} // namespace

int gps_uart_open(const char* path)
{
    const int fd = open(path, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        gps_print("gps_uart_init %s : Unable to open %s \n", path, path);
        return -1;
    }
    termios options{};
    if (tcgetattr(fd, &options) != 0) {
        gps_print("gps_uart_init %s : Unable to open %s \n", path, path);
        close(fd);
        return -1;
    }
    // Raw 8N1: no parity, one stop bit, no flow control of any kind (binary
    // receivers send XON/XOFF bytes as data), receiver on, modem lines ignored.
    options.c_cflag &= ~tcflag_t(CSIZE | PARENB | CSTOPB | CRTSCTS);
    options.c_cflag |= CS8 | CLOCAL | CREAD;
    options.c_lflag &= ~tcflag_t(ICANON | ECHO | ECHOE | ECHONL | ISIG | IEXTEN);
    options.c_iflag &= ~tcflag_t(INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | ISTRIP | INPCK | PARMRK | BRKINT);
    options.c_oflag &= ~tcflag_t(OPOST);
    options.c_cc[VMIN] = 0;
    options.c_cc[VTIME] = 0;
    if (tcsetattr(fd, TCSANOW, &options) != 0) {
        gps_print("gps_uart_init %s : Unable to open %s \n", path, path);
        close(fd);
        return -1;
    }
    gps_print("gps_uart_open succssed %s \n", path);
    return fd;
}

void gps_uart_close(int fd)
{
    if (fd >= 0)
        close(fd);
}

int gps_uart_baud_set(int fd, int index)
{
    termios options{};
    if (tcgetattr(fd, &options) != 0)
        return -1;
    cfsetispeed(&options, baudSpeed(index));
    cfsetospeed(&options, baudSpeed(index));
    local_uart_baudi = index;
    return tcsetattr(fd, TCSANOW, &options) == 0 ? 0 : -1;
}

int gps_uart_baud_next(int fd)
{
    int index = local_uart_baudi;
    if (index < 0 || index >= GPS_UART_BAUD_COUNT)
        index = 0;
    index = (index + 1) % GPS_UART_BAUD_COUNT;
    return gps_uart_baud_set(fd, index);
}

int gps_uart_baud_index()
{
    return local_uart_baudi;
}

void gps_uart_baud_print(int index)
{
    const int baud = (index >= 0 && index < GPS_UART_BAUD_COUNT) ? kBaudRates[index] : 9600;
    gps_print("gps_uart_scan baudrate SP%d \n", baud);
}

void gps_uart_print_info(int /*fd*/)
{
}

void gps_uart_flush(int fd)
{
    tcflush(fd, TCIOFLUSH);
}

int gps_uart_send(int fd, const void* bytes, int length)
{
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    int sent = 0;
    int retries = 0;
    while (sent < length) {
        const ssize_t n = write(fd, p + sent, size_t(length - sent));
        if (n > 0) {
            sent += int(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return -1;
        if (++retries > kSendRetries)
            return -1;
        gps_nap_us(1000);
    }
    return 0;
}
