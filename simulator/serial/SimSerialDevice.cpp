#include "SimSerialDevice.h"

#include <QDebug>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <stdlib.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <vector>

namespace zorsim {

namespace {

struct SpeedEntry
{
    speed_t speed;
    int baud;
};

const SpeedEntry kSpeeds[] = {
    {B1200, 1200},   {B2400, 2400},   {B4800, 4800},   {B9600, 9600},     {B19200, 19200},
    {B38400, 38400}, {B57600, 57600}, {B115200, 115200}, {B230400, 230400},
};

// While the product's side of the line is down, how often the thread looks
// whether it is back.
constexpr std::chrono::milliseconds kLineDownRetry(10);

// The running devices (settleAll); a device leaves before its thread ends.
std::mutex& registryMutex()
{
    static std::mutex m;
    return m;
}

std::vector<const SimSerialDevice*>& registry()
{
    static std::vector<const SimSerialDevice*> devices;
    return devices;
}

bool readable(int fd)
{
    pollfd pfd{fd, POLLIN, 0};
    return poll(&pfd, 1, 0) > 0 && (pfd.revents & POLLIN) != 0;
}

} // namespace

int SimSerialDevice::baudOf(unsigned speed)
{
    for (const SpeedEntry& e : kSpeeds) {
        if (e.speed == speed)
            return e.baud;
    }
    return 0;
}

unsigned SimSerialDevice::speedOf(int baud)
{
    for (const SpeedEntry& e : kSpeeds) {
        if (e.baud == baud)
            return e.speed;
    }
    return 0;
}

SimSerialDevice::SimSerialDevice(int baud) : ownBaud(baud)
{
    wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0)
        qWarning() << "SimSerialDevice: no eventfd, settings reach the device late:" << strerror(errno);
    master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0) {
        qWarning() << "SimSerialDevice: no pseudo-terminal:" << strerror(errno);
        return;
    }
    char name[128] = {};
    if (grantpt(master) != 0 || unlockpt(master) != 0 || ptsname_r(master, name, sizeof(name)) != 0) {
        qWarning() << "SimSerialDevice: pseudo-terminal not usable:" << strerror(errno);
        close(master);
        master = -1;
        return;
    }
    path = QString::fromLocal8Bit(name);
    slaveHold = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);

    // Start as a serial port does before anyone configures it: the input
    // translates CR and obeys XON/XOFF; but without echo or line editing,
    // which a UART does not have either.
    termios t{};
    if (tcgetattr(master, &t) == 0) {
        cfmakeraw(&t);
        t.c_iflag |= ICRNL | IXON;
        cfsetispeed(&t, B9600);
        cfsetospeed(&t, B9600);
        tcsetattr(master, TCSANOW, &t);
    }
}

SimSerialDevice::~SimSerialDevice()
{
    stop();
    if (slaveHold >= 0)
        close(slaveHold);
    if (master >= 0)
        close(master);
    if (wakeFd >= 0)
        close(wakeFd);
}

int SimSerialDevice::productBaud() const
{
    if (master < 0)
        return 0;
    termios t{};
    // The master's settings are the slave's: the product's side of the line.
    if (tcgetattr(master, &t) != 0)
        return 0;
    return baudOf(unsigned(cfgetospeed(&t)));
}

void SimSerialDevice::start()
{
    if (master < 0 || thread.joinable())
        return;
    stopping = false;
    thread = std::thread([this] { run(); });
    reading = true;
    std::lock_guard<std::mutex> lock(registryMutex());
    registry().push_back(this);
}

void SimSerialDevice::stop()
{
    if (!thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(registryMutex());
        auto& devices = registry();
        devices.erase(std::remove(devices.begin(), devices.end(), this), devices.end());
    }
    reading = false;
    stopping = true;
    wake();
    thread.join();
}

void SimSerialDevice::wake()
{
    if (wakeFd >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = write(wakeFd, &one, sizeof(one));
    }
}

bool SimSerialDevice::settled() const
{
    if (master < 0 || !reading)
        return true;
    std::lock_guard<std::mutex> rxLock(rxMutex);
    if (readable(master))
        return false;
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    return !answerDue();
}

bool SimSerialDevice::productHasReadAll() const
{
    // The line's far end shares the product's input queue.
    return slaveHold < 0 || !readable(slaveHold);
}

bool SimSerialDevice::settleAll(int deadlineMs)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(deadlineMs);
    for (;;) {
        bool all = true;
        {
            std::lock_guard<std::mutex> lock(registryMutex());
            for (const SimSerialDevice* device : registry()) {
                if (!device->settled()) {
                    all = false;
                    break;
                }
            }
        }
        if (all)
            return true;
        if (Clock::now() >= deadline)
            return false;
        usleep(200);
    }
}

void SimSerialDevice::sendRaw(const QByteArray& bytes)
{
    transmit(bytes);
}

QByteArray SimSerialDevice::bytesHeard() const
{
    std::lock_guard<std::mutex> lock(heardMutex);
    return heard;
}

QByteArray SimSerialDevice::garble(const QByteArray& bytes)
{
    // What a receiver at the wrong speed makes of a byte stream: framing
    // errors and high bytes, never a frame delimiter of these protocols.
    QByteArray out(bytes.size(), '\0');
    for (int i = 0; i < bytes.size(); ++i) {
        noiseSeed = noiseSeed * 1664525u + 1013904223u;
        uint8_t b = uint8_t(0x80u | ((noiseSeed >> 24) ^ uint8_t(bytes[i])));
        if (b == 0xDD || b == 0xB5)
            b = 0xFE;
        out[i] = char(b);
    }
    return out;
}

void SimSerialDevice::transmit(const QByteArray& bytes)
{
    if (master < 0 || bytes.isEmpty())
        return;
    std::lock_guard<std::mutex> lock(lineMutex);
    const QByteArray line = speedsMatch() ? bytes : garble(bytes);
    int at = 0;
    int spins = 0;
    while (at < line.size()) {
        const ssize_t n = write(master, line.constData() + at, size_t(line.size() - at));
        if (n > 0) {
            at += int(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return;
        // The product's receive queue is full: give it a moment, then drop.
        if (++spins > 20)
            return;
        usleep(500);
    }
}

void SimSerialDevice::run()
{
    pthread_setname_np(pthread_self(), "sim-serial");
    char buffer[512];
    bool lineDown = false;
    while (!stopping) {
        Clock::time_point due;
        {
            std::lock_guard<std::recursive_mutex> lock(stateMutex);
            due = nextDue();
        }
        if (lineDown || wakeFd < 0)
            due = std::min(due, Clock::now() + kLineDownRetry);
        timespec timeout{};
        const bool bounded = due != Clock::time_point::max();
        if (bounded) {
            const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(due - Clock::now()).count();
            timeout.tv_sec = left > 0 ? time_t(left / 1000000000) : 0;
            timeout.tv_nsec = left > 0 ? long(left % 1000000000) : 0;
        }
        // The product's side closed without a hold on the line reads as a
        // hang-up until it opens again: then only the wake-ups are waited on.
        pollfd pfd[2] = {{lineDown ? -1 : master, POLLIN, 0}, {wakeFd, POLLIN, 0}};
        const int ready = ppoll(pfd, 2, bounded ? &timeout : nullptr, nullptr);
        ++wakes;
        if (ready > 0 && (pfd[1].revents & POLLIN)) {
            uint64_t count = 0;
            [[maybe_unused]] const ssize_t n = read(wakeFd, &count, sizeof(count));
        }
        lineDown = ready > 0 && (pfd[0].revents & (POLLHUP | POLLERR)) && !(pfd[0].revents & POLLIN);
        if (ready > 0 && (pfd[0].revents & POLLIN)) {
            std::lock_guard<std::mutex> rxLock(rxMutex);
            const ssize_t n = read(master, buffer, sizeof(buffer));
            if (n > 0) {
                const QByteArray bytes(buffer, int(n));
                std::lock_guard<std::recursive_mutex> lock(stateMutex);
                if (speedsMatch()) {
                    {
                        std::lock_guard<std::mutex> heardLock(heardMutex);
                        heard.append(bytes);
                    }
                    received(bytes);
                } else {
                    garbled += uint64_t(n);
                    lineNoise();
                }
            }
        }
        std::lock_guard<std::recursive_mutex> lock(stateMutex);
        tick(Clock::now());
    }
}

} // namespace zorsim
