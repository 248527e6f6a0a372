#pragma once

// The platform layer: every call that reaches the board or could change the
// machine goes through these functions. The device build ("*_device.cpp")
// talks to the real system; the host build ("*_host.cpp") keeps the machine
// untouched: commands are recorded, the clock offset stays in the process and
// device paths resolve into a sandbox folder. Tests steer the host build
// through zoplatform_control_host.h.
//
// All functions are thread-safe.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <sys/types.h>

namespace zoplat {

// ---- Commands ("reboot &", "hwclock -w", "sync", device scripts ...) -------
// Device: run by "/bin/sh -c"; the output is what the shell printed until it
// ended (background jobs started with "&" are not waited for).
// Host: recorded; "sync", "cp -f", "rm -f", "mkdir -p", "mv" and "chmod" on
// sandbox paths are carried out with file calls, the upgrade scripts
// ("sh /opt/zor/script/updateusb.sh", "sh /opt/zor/script/upgradesd.sh")
// fail with status 1 unless the stick's "upgrade/zorupgrade.zip" is a
// complete zip, everything else is only recorded (status 0, no output),
// unless a test scripted its result.
struct CommandResult
{
    int status = 0;      // exit status; 0 = success, -1 = could not be run
    QByteArray output;   // what the command printed on standard output
};
CommandResult runCommand(const QString& commandLine);

// ---- Files without a shell (paths are device paths, resolved by devicePath) -
// Return 0 on success, -1 on failure. Relative paths are relative to the
// application root (the working directory) in both builds.
int copyFile(const QString& from, const QString& to);   // as "cp -f": overwrite, copy into a folder
int removeFile(const QString& path);                    // as "rm -f": a missing file succeeds
int makeDir(const QString& path);                       // as "mkdir -p"
int syncFileSystems();                                  // as "sync"
// As copyFile to a file (never into a folder), but the copy is written whole
// beside the target under a hidden temporary ("." + name + ".XXXXXX.part"),
// flushed to the disk and renamed over it, the folder flushed after: a copy
// cut short (a power loss, a kill) leaves the old file, a finished one stays.
// What an earlier cut copy to the same name left is removed first.
int replaceFile(const QString& from, const QString& to);
// Whether a local path (not a device path), with every link followed (the
// last component's only with followLast), lies inside one of the local
// folders, each taken with its links followed; "/" counts as no folder. The
// host's file calls check their paths so against the sandbox and the
// application's folder.
bool localPathInside(const QByteArray& localPath, const QStringList& localFolders, bool followLast);

// ---- System clock ----------------------------------------------------------
// Reading is real (plus the host's in-process offset); setting goes through here.
int64_t systemTimeMs();                                  // wall clock, ms since the epoch
int64_t systemTimeNs();                                  // wall clock, ns since the epoch
int setSystemTime(int64_t secondsSinceEpoch);            // 0 or -1
int setTimeZoneMinutesWest(int minutesWest);             // 0 or -1; daylight flag 0

// ---- Device paths ("/media/usb", "/mnt/sdp1", "/opt/zor/script", ...) ------
// Device build: unchanged. Host build: an absolute path goes under the sandbox
// root (".." never leaves it; a path already inside the root or inside the
// application root is returned as it is); relative paths are returned unchanged.
QString devicePath(const QString& absoluteDevicePath);
QString sandboxRoot();                                   // host: $ZOR_SANDBOX_ROOT or <app root>/sandbox; device: "/"
// Whether a file system is mounted at the device path ("/media/usb",
// "/mnt/sdp1"): the status of "mountpoint -q <path>" run through runCommand
// (host: recorded, scriptable by tests; unless scripted, mounted while the
// path's folder exists in the sandbox).
bool isMounted(const QString& devicePath);

// ---- Serial devices ---------------------------------------------------------
QString gnssSerialDevice();                              // "/dev/ttyO4" on the device
QString batterySerialDevice();                           // "/dev/ttyO3" on the device

// ---- Shared memory ----------------------------------------------------------
key_t sharedMemoryKeyBase();                             // 0xA0A01234 on the device

// ---- Network ----------------------------------------------------------------
QString networkInterface();                              // "eth0" on the device, "lo" on the host
QString beaconDestination();                             // "255.255.255.255" on the device, "127.0.0.1" on the host
uint16_t beaconPort();                                   // UDP beacon port by default, 10801
uint16_t serverPort();                                   // TCP control port, 10901
// Whether the service's sockets are bound to the interface (SO_BINDTODEVICE):
// on the device; off on the host, where before Linux 5.7 it needs
// CAP_NET_RAW and the listener would retry forever.
bool bindToDevice();
// The destination port of a beacon whose socket is bound to boundPort (the
// machine data's UDP port): that same port on the device, where the PC
// listens on it; on the host another one (the beacon's own socket holds its
// port, so a receiver there would get nothing and the frame would loop back
// to the sender): boundPort + 1 unless a test chose one.
uint16_t beaconDestinationPort(uint16_t boundPort);

// ---- Processes --------------------------------------------------------------
// Starts program with args (the program name not among them) in workingDir,
// detached: it outlives this process. Returns its process id, or -1 when it
// could not be started. The application's restart starts its own copy here.
// Host: only the running application's own file is started (anything else
// is refused with -1), so the host build can start nothing but itself.
int startDetached(const QString& program, const QStringList& args, const QString& workingDir);

// ---- Time and waits ---------------------------------------------------------
// The product's fixed waits (amplifier settle, polls, time-outs) go through
// these, so tests can run them faster.
void sleepMs(int64_t ms);
int64_t monotonicMs();
// The same clock in microseconds (a custom clock's milliseconds times 1000).
int64_t monotonicUs();

// Time scale: a product wait of ms takes ms * scale of real time, and
// monotonicMs() advances 1 / scale ms per real ms (continuous across changes).
// 1.0 (the default) is real time; a scale <= 0 is ignored.
void setTimeScale(double scale);
double timeScale();
// A custom sleeper and clock replace the scaled real ones (an empty function
// restores them), e.g. to drive a virtual clock from the product's waits.
void setSleeper(std::function<void(int64_t ms)> sleeper);
void setMonotonicClock(std::function<int64_t()> clock);
// True while neither a custom sleeper nor a custom clock is set: a product
// wait of ms is then ms * timeScale() of real time, which the kernel can wait
// out in one piece (e.g. a poll on a descriptor).
bool realTimeWaits();

// A wait that another thread can end early. The waiting thread names what
// ends it (done); a thread that changes what done reads calls wake() after
// the change. With real-time waits the waiting thread sleeps in the kernel
// for the whole time; with a custom sleeper (a test's clock) the wait is made
// of that sleeper's naps of at most napMs, with done and the descriptor looked
// at between them.
class Wakeup
{
public:
    explicit Wakeup(int64_t napMs);
    ~Wakeup();
    Wakeup(const Wakeup&) = delete;
    Wakeup& operator=(const Wakeup&) = delete;

    // Any thread.
    void wake();
    // Sleeps ms of product time unless done() holds first; true when it did.
    bool sleepMs(int64_t ms, const std::function<bool()>& done);
    // Waits at most ms of product time for input on fd (or its error or
    // hang-up) unless done() holds first: 1 input, 0 the time is up, -1 done.
    int waitReadable(int fd, int64_t ms, const std::function<bool()>& done);

private:
    int wait(int fd, int64_t ms, const std::function<bool()>& done);
    int64_t napMs;
    int eventFd = -1;
};

} // namespace zoplat
