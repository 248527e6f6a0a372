// Device platform: the board's real shell, clock, paths and settings.

#include "zoplatform.h"
#include "zoplatform_internal.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

namespace zoplat {
namespace {

// Reads what is waiting in a non-blocking pipe; false at end of file or error.
bool drain(int fd, QByteArray& out)
{
    char buf[4096];
    for (;;) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n > 0) {
            out.append(buf, int(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

} // namespace

CommandResult runCommand(const QString& commandLine)
{
    CommandResult result;
    const QByteArray line = commandLine.toLocal8Bit();
    if (line.trimmed().isEmpty() || line.contains('\0')) {
        result.status = -1;
        return result;
    }

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        result.status = -1;
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);

    char sh[] = "sh";
    char dashC[] = "-c";
    QByteArray command = line;
    char* argv[] = {sh, dashC, command.data(), nullptr};
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, "/bin/sh", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) {
        close(fds[0]);
        result.status = -1;
        return result;
    }

    // Collect the output until the shell ends; a job it left in the
    // background ("reboot &") may keep the pipe open, so stop at the shell's end.
    fcntl(fds[0], F_SETFL, fcntl(fds[0], F_GETFL) | O_NONBLOCK);
    int wstatus = 0;
    bool ended = false;
    bool open = true;
    while (!ended) {
        if (open) {
            pollfd p{fds[0], POLLIN, 0};
            const int r = poll(&p, 1, 50);
            if (r > 0)
                open = drain(fds[0], result.output);
        } else {
            // The pipe is closed; wait for the shell.
            pid_t w;
            do {
                w = waitpid(pid, &wstatus, 0);
            } while (w < 0 && errno == EINTR);
            ended = true;
            if (w < 0)
                wstatus = -1;
            break;
        }
        pid_t w;
        do {
            w = waitpid(pid, &wstatus, WNOHANG);
        } while (w < 0 && errno == EINTR);
        if (w == pid || w < 0) {
            ended = true;
            if (w < 0)
                wstatus = -1;
        }
    }
    if (open)
        drain(fds[0], result.output);
    close(fds[0]);

    if (wstatus == -1)
        result.status = -1;
    else if (WIFEXITED(wstatus))
        result.status = WEXITSTATUS(wstatus);
    else
        result.status = -1;
    return result;
}

bool isMounted(const QString& devicePath)
{
    if (devicePath.isEmpty() || devicePath.contains(QLatin1Char('\0')))
        return false;
    // One shell word, whatever the path holds; plain paths stay as they are.
    bool plain = true;
    for (const QChar c : devicePath)
        plain = plain && c.unicode() < 128 && (c.isLetterOrNumber() || QStringLiteral("/_.-").contains(c));
    QString word = devicePath;
    if (!plain)
        word = QLatin1Char('\'') + word.replace(QLatin1Char('\''), QStringLiteral("'\\''")) + QLatin1Char('\'');
    return runCommand(QStringLiteral("mountpoint -q ") + word).status == 0;
}

int syncFileSystems()
{
    sync();
    return 0;
}

int64_t systemTimeMs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

int64_t systemTimeNs()
{
    timespec ts{};
    if (clock_gettime(CLOCK_REALTIME, &ts) != 0)
        return 0;
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

int setSystemTime(int64_t secondsSinceEpoch)
{
    if (secondsSinceEpoch < 0)
        return -1;
    timespec ts{};
    ts.tv_sec = time_t(secondsSinceEpoch);
    if (int64_t(ts.tv_sec) != secondsSinceEpoch)
        return -1;
    return clock_settime(CLOCK_REALTIME, &ts) == 0 ? 0 : -1;
}

int setTimeZoneMinutesWest(int minutesWest)
{
    // Read the time and zone and write both back with the new zone; writing
    // the time as well keeps the kernel from shifting the clock on the first
    // zone setting.
    timeval tv{};
    struct timezone tz{};
    if (gettimeofday(&tv, &tz) != 0)
        return -1;
    tz.tz_minuteswest = minutesWest;
    tz.tz_dsttime = 0;
    return settimeofday(&tv, &tz) == 0 ? 0 : -1;
}

QString devicePath(const QString& absoluteDevicePath)
{
    return absoluteDevicePath;
}

QString sandboxRoot()
{
    return QStringLiteral("/");
}

namespace internal {

bool mayTouch(const QByteArray&, bool)
{
    return true;
}

} // namespace internal

QString gnssSerialDevice()
{
    return QStringLiteral("/dev/ttyO4");
}

QString batterySerialDevice()
{
    return QStringLiteral("/dev/ttyO3");
}

key_t sharedMemoryKeyBase()
{
    return key_t(0xA0A01234u);
}

QString networkInterface()
{
    return QStringLiteral("eth0");
}

QString beaconDestination()
{
    return QStringLiteral("255.255.255.255");
}

uint16_t beaconPort()
{
    return 10801;
}

uint16_t serverPort()
{
    return 10901;
}

bool bindToDevice()
{
    return true;
}

uint16_t beaconDestinationPort(uint16_t boundPort)
{
    return boundPort;
}

} // namespace zoplat
