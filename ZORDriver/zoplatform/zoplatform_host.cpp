// Host platform: the machine is never changed. Commands are recorded (only
// harmless file commands on sandbox paths are carried out, by file calls),
// the clock is an in-process offset, device paths live under a sandbox root.

#include "zoplatform.h"
#include "zoplatform_control_host.h"
#include "zoplatform_internal.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace zoplat {
namespace {

constexpr key_t kDeviceKeyBase = key_t(0xA0A01234u);

struct HostState
{
    // At exit the records go only after the last command of a device task
    // (a worker thread) has let go of them.
    ~HostState() { std::lock_guard<std::mutex> lock(mutex); }

    std::mutex mutex;
    QStringList commands;
    QMap<QString, CommandResult> scripts;
    QString sandboxOverride;
    int64_t clockOffsetMs = 0;
    std::vector<int64_t> timeSettings;
    std::vector<int> timeZones;
    int minutesWest = 0;
    std::optional<key_t> keyBase;
    QString interface = QStringLiteral("lo");
    QString beaconDestination = QStringLiteral("127.0.0.1");
    uint16_t beaconPort = 10801;
    uint16_t serverPort = 10901;
    bool bindToDevice = false;
    uint16_t beaconDestinationPort = 0;   // 0: beacon port + 1
    QString gnssDevice;
    QString batteryDevice;
};

HostState& hostState()
{
    static HostState s;
    return s;
}

int64_t realTimeMs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// ---- Command line parsing (no shell: words, quotes and backslashes only) ---

// Splits a command line into words. Returns nothing when the line holds shell
// syntax (redirections, pipes, lists, substitutions, globs, background jobs):
// such lines are only recorded.
std::optional<QStringList> splitWords(const QString& line)
{
    QStringList words;
    QString word;
    bool inWord = false;
    QChar quote;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (!quote.isNull()) {
            if (c == quote) {
                quote = QChar();
            } else if (c == QLatin1Char('\\') && quote == QLatin1Char('"') && i + 1 < line.size()) {
                word += line.at(++i);
            } else {
                if (quote == QLatin1Char('"') && (c == QLatin1Char('$') || c == QLatin1Char('`')))
                    return std::nullopt;
                word += c;
            }
            continue;
        }
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
            continue;
        }
        if (QStringLiteral(";&|<>`$()*?[]{}~!#\n\r").contains(c))
            return std::nullopt;
        inWord = true;
        if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
            quote = c;
        else if (c == QLatin1Char('\\') && i + 1 < line.size())
            word += line.at(++i);
        else
            word += c;
    }
    if (!quote.isNull())
        return std::nullopt;
    if (inWord)
        words << word;
    return words;
}

using internal::currentDirectory;

bool insideRoot(const QString& path, const QString& root)
{
    return path == root || path.startsWith(root + QLatin1Char('/'));
}

// A command operand as a local path inside the sandbox, or nothing.
std::optional<QByteArray> sandboxOperand(const QString& word)
{
    if (word.isEmpty())
        return std::nullopt;
    const QString root = sandboxRoot();
    QString local = QFileInfo(word).isAbsolute() ? devicePath(word)
                                                 : QDir::cleanPath(QDir::current().absoluteFilePath(word));
    if (!insideRoot(local, root) || local == root)
        return std::nullopt;
    return local.toLocal8Bit();
}

// Mode of "chmod": octal, or [ugoa]*[+-=][rwx]* (comma separated).
std::optional<mode_t> applyMode(const QString& setup, mode_t old)
{
    bool ok = false;
    const uint octal = setup.toUInt(&ok, 8);
    if (ok)
        return octal <= 07777 ? std::optional<mode_t>(mode_t(octal)) : std::nullopt;
    mode_t mode = old & 07777;
    for (const QString& clause : setup.split(QLatin1Char(','))) {
        int i = 0;
        mode_t who = 0;
        for (; i < clause.size() && QStringLiteral("ugoa").contains(clause.at(i)); ++i) {
            switch (clause.at(i).toLatin1()) {
            case 'u': who |= S_IRWXU | S_ISUID; break;
            case 'g': who |= S_IRWXG | S_ISGID; break;
            case 'o': who |= S_IRWXO; break;
            default: who |= S_IRWXU | S_IRWXG | S_IRWXO; break;
            }
        }
        if (who == 0)
            who = S_IRWXU | S_IRWXG | S_IRWXO;
        if (i >= clause.size() || !QStringLiteral("+-=").contains(clause.at(i)))
            return std::nullopt;
        const char op = clause.at(i++).toLatin1();
        mode_t bits = 0;
        for (; i < clause.size(); ++i) {
            switch (clause.at(i).toLatin1()) {
            case 'r': bits |= S_IRUSR | S_IRGRP | S_IROTH; break;
            case 'w': bits |= S_IWUSR | S_IWGRP | S_IWOTH; break;
            case 'x': bits |= S_IXUSR | S_IXGRP | S_IXOTH; break;
            default: return std::nullopt;
            }
        }
        bits &= who;
        if (op == '+')
            mode |= bits;
        else if (op == '-')
            mode &= ~bits;
        else
            mode = (mode & ~(who & 0777)) | bits;
    }
    return mode;
}

// Carries out "sync", "cp -f", "rm -f", "mkdir -p", "mv [-f]" and
// "chmod MODE" when every operand lies inside the sandbox. Returns nothing
// for any other command (it is then only recorded).
std::optional<CommandResult> runFileCommand(const QString& line)
{
    const std::optional<QStringList> parsed = splitWords(line);
    if (!parsed || parsed->isEmpty())
        return std::nullopt;
    QStringList words = *parsed;
    const QString verb = words.takeFirst();

    QString allowedOption;
    bool optionNeeded = true;
    if (verb == QLatin1String("sync")) {
        if (!words.isEmpty())
            return std::nullopt;
        return CommandResult{syncFileSystems() == 0 ? 0 : 1, {}};
    } else if (verb == QLatin1String("cp") || verb == QLatin1String("rm")) {
        allowedOption = QStringLiteral("-f");
    } else if (verb == QLatin1String("mv")) {
        allowedOption = QStringLiteral("-f");
        optionNeeded = false;
    } else if (verb == QLatin1String("mkdir")) {
        allowedOption = QStringLiteral("-p");
    } else if (verb != QLatin1String("chmod")) {
        return std::nullopt;
    }

    QString mode;
    if (verb == QLatin1String("chmod")) {
        if (words.isEmpty())
            return std::nullopt;
        mode = words.takeFirst();
    } else {
        // cp, rm and mkdir without their option behave differently; only the option forms are carried out.
        if (!words.isEmpty() && words.first() == allowedOption)
            words.removeFirst();
        else if (optionNeeded)
            return std::nullopt;
    }
    for (const QString& w : words) {
        if (w.startsWith(QLatin1Char('-')))
            return std::nullopt;
    }
    if (words.isEmpty())
        return std::nullopt;

    QList<QByteArray> paths;
    for (const QString& w : words) {
        const std::optional<QByteArray> p = sandboxOperand(w);
        if (!p) {
            qWarning().noquote() << "zoplat: not carried out, path outside the sandbox:" << line;
            return CommandResult{1, {}};
        }
        paths << *p;
    }

    int failures = 0;
    if (verb == QLatin1String("rm")) {
        for (const QByteArray& p : paths)
            failures += internal::removeLocal(p) != 0;
    } else if (verb == QLatin1String("mkdir")) {
        for (const QByteArray& p : paths)
            failures += internal::makeDirLocal(p) != 0;
    } else if (verb == QLatin1String("chmod")) {
        for (const QByteArray& p : paths) {
            struct stat st
            {
            };
            if (stat(p.constData(), &st) != 0) {
                ++failures;
                continue;
            }
            const std::optional<mode_t> m = applyMode(mode, st.st_mode);
            if (!m)
                return std::nullopt;
            failures += !internal::mayTouch(p, true) || chmod(p.constData(), *m) != 0;
        }
    } else {
        // cp / mv: sources..., target; several sources need a target folder.
        if (paths.size() < 2)
            return CommandResult{1, {}};
        const QByteArray target = paths.takeLast();
        struct stat st
        {
        };
        const bool targetIsDir = stat(target.constData(), &st) == 0 && S_ISDIR(st.st_mode);
        if (paths.size() > 1 && !targetIsDir)
            return CommandResult{1, {}};
        for (const QByteArray& p : paths) {
            failures += (verb == QLatin1String("cp") ? internal::copyLocal(p, target) : internal::moveLocal(p, target))
                != 0;
        }
    }
    return CommandResult{failures ? 1 : 0, {}};
}

QString cleanAbsolute(const QString& path)
{
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

}   // namespace

namespace internal {

bool mayTouch(const QByteArray& path, bool followLast)
{
    if (localPathInside(path, {sandboxRoot(), currentDirectory()}, followLast))
        return true;
    const std::optional<QByteArray> real = resolvedPath(path, followLast);
    qWarning().noquote() << "zoplat: refused," << QString::fromLocal8Bit(path) << "leads outside the sandbox"
                         << (real ? QStringLiteral("(to %1)").arg(QString::fromLocal8Bit(*real)) : QString());
    return false;
}

}   // namespace internal

// ---- Commands ---------------------------------------------------------------

namespace {

// Records the command line; the result a test scripted for it, if any.
std::optional<CommandResult> recordCommand(const QString& commandLine)
{
    HostState& s = hostState();
    std::optional<CommandResult> scripted;
    std::lock_guard<std::mutex> lock(s.mutex);
    s.commands << commandLine;
    int best = -1;
    for (auto it = s.scripts.cbegin(); it != s.scripts.cend(); ++it) {
        if (commandLine.startsWith(it.key()) && it.key().size() > best) {
            best = it.key().size();
            scripted = it.value();
        }
    }
    return scripted;
}

// Little-endian field of a zip record.
quint32 zipField(const QByteArray& bytes, int at, int size)
{
    quint32 v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = v << 8 | uchar(bytes.at(at + i));
    return v;
}

QByteArray readAt(QFile& file, qint64 at, qint64 size)
{
    return at >= 0 && file.seek(at) ? file.read(size) : QByteArray();
}

// Whether the file is a complete zip as far as its end tells: an end record
// (after it only its comment), and the central directory it points to lying
// in the file before it and starting with a directory entry. An archive of no
// entries installs nothing: no package. Nothing is unpacked.
bool isCompleteZip(const QString& localPath)
{
    constexpr qint64 kEndRecord = 22;
    QFile file(localPath);
    // A pipe in its place would wait for a writer.
    if (!QFileInfo(localPath).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    const qint64 tailAt = std::max<qint64>(0, size - kEndRecord - 0xFFFF);
    const QByteArray tail = readAt(file, tailAt, size - tailAt);
    if (size < kEndRecord || tail.size() != size - tailAt)
        return false;
    for (int at = tail.size() - int(kEndRecord); at >= 0; --at) {
        if (zipField(tail, at, 4) != 0x06054b50 || at + kEndRecord + zipField(tail, at + 20, 2) != tail.size())
            continue;
        qint64 end = tailAt + at;   // where the end record starts
        quint64 entries = zipField(tail, at + 10, 2);
        quint64 directorySize = zipField(tail, at + 12, 4);
        quint64 directoryAt = zipField(tail, at + 16, 4);
        if (entries == 0xFFFF || directorySize == 0xFFFFFFFF || directoryAt == 0xFFFFFFFF) {
            // Zip64: a locator before the end record points to the larger end record.
            const QByteArray locator = readAt(file, end - 20, 20);
            if (locator.size() != 20 || zipField(locator, 0, 4) != 0x07064b50)
                return false;
            const quint64 recordAt = quint64(zipField(locator, 8, 4)) | quint64(zipField(locator, 12, 4)) << 32;
            const QByteArray record = recordAt <= quint64(end) ? readAt(file, qint64(recordAt), 56) : QByteArray();
            if (record.size() != 56 || zipField(record, 0, 4) != 0x06064b50 || recordAt + 56 > quint64(end - 20))
                return false;
            end = qint64(recordAt);
            entries = quint64(zipField(record, 32, 4)) | quint64(zipField(record, 36, 4)) << 32;
            directorySize = quint64(zipField(record, 40, 4)) | quint64(zipField(record, 44, 4)) << 32;
            directoryAt = quint64(zipField(record, 48, 4)) | quint64(zipField(record, 52, 4)) << 32;
        }
        if (directoryAt > quint64(end) || directorySize > quint64(end) - directoryAt)
            return false;
        const QByteArray first = readAt(file, qint64(directoryAt), 4);
        return entries > 0 && directorySize >= 46 && first.size() == 4 && zipField(first, 0, 4) == 0x02014b50;
    }
    return false;
}

// The device's upgrade scripts install "/media/usb/upgrade/zorupgrade.zip"
// and restart; they fail on a package that is no complete zip. Their
// stand-in fails so too and installs nothing.
std::optional<CommandResult> runUpgradeStandIn(const QString& line)
{
    if (line != QLatin1String("sh /opt/zor/script/updateusb.sh")
        && line != QLatin1String("sh /opt/zor/script/upgradesd.sh"))
        return std::nullopt;
    const QString package = devicePath(QStringLiteral("/media/usb/upgrade/zorupgrade.zip"));
    if (isCompleteZip(package))
        return CommandResult{};
    qWarning().noquote() << "zoplat: upgrade refused, no complete zip:" << package;
    return CommandResult{1, {}};
}

}   // namespace

CommandResult runCommand(const QString& commandLine)
{
    if (std::optional<CommandResult> scripted = recordCommand(commandLine))
        return *scripted;
    if (commandLine.trimmed().isEmpty())
        return CommandResult{-1, {}};
    if (std::optional<CommandResult> upgrade = runUpgradeStandIn(commandLine.trimmed()))
        return *upgrade;
    if (std::optional<CommandResult> done = runFileCommand(commandLine.trimmed()))
        return *done;
    return CommandResult{};
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
    // Unless a test scripted the answer, a file system is mounted there
    // while its folder exists in the sandbox.
    if (std::optional<CommandResult> scripted = recordCommand(QStringLiteral("mountpoint -q ") + word))
        return scripted->status == 0;
    return QFileInfo(zoplat::devicePath(devicePath)).isDir();
}

int syncFileSystems()
{
    // Only the sandbox's file system is flushed.
    const QByteArray root = sandboxRoot().toLocal8Bit();
    const int fd = open(root.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    const int rc = syncfs(fd);
    close(fd);
    return rc == 0 ? 0 : -1;
}

// ---- Clock ------------------------------------------------------------------

int64_t systemTimeMs()
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    return realTimeMs() + s.clockOffsetMs;
}

int64_t systemTimeNs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec + s.clockOffsetMs * 1000000;
}

int setSystemTime(int64_t secondsSinceEpoch)
{
    if (secondsSinceEpoch < 0)
        return -1;
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.timeSettings.push_back(secondsSinceEpoch);
    s.clockOffsetMs = secondsSinceEpoch * 1000 - realTimeMs();
    return 0;
}

int setTimeZoneMinutesWest(int minutesWest)
{
    // The kernel accepts -15 h to +15 h.
    if (minutesWest < -15 * 60 || minutesWest > 15 * 60)
        return -1;
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.timeZones.push_back(minutesWest);
    s.minutesWest = minutesWest;
    return 0;
}

// ---- Paths ------------------------------------------------------------------

QString sandboxRoot()
{
    HostState& s = hostState();
    QString root;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        root = s.sandboxOverride;
    }
    if (root.isEmpty())
        root = qEnvironmentVariable("ZOR_SANDBOX_ROOT");
    if (!root.isEmpty())
        root = cleanAbsolute(root);
    // The host's own root is never a sandbox.
    if (root.isEmpty() || root == QLatin1String("/"))
        root = cleanAbsolute(QStringLiteral("sandbox"));
    return root;
}

QString devicePath(const QString& absoluteDevicePath)
{
    if (absoluteDevicePath.isEmpty() || !absoluteDevicePath.startsWith(QLatin1Char('/')))
        return absoluteDevicePath;
    // Lexical normalisation; ".." stops at the top, as under chroot.
    QStringList parts;
    for (const QString& part : absoluteDevicePath.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts << part;
    }
    const QString normalised = QLatin1Char('/') + parts.join(QLatin1Char('/'));
    const QString root = sandboxRoot();
    if (insideRoot(normalised, root))
        return normalised;
    // The application's own folder is no device path: files under it (the
    // "dat" folder) are the same in both builds.
    const QString appRoot = currentDirectory();
    if (appRoot != QLatin1String("/") && insideRoot(normalised, appRoot))
        return normalised;
    return parts.isEmpty() ? root : root + normalised;
}

// ---- Settings ---------------------------------------------------------------

QString gnssSerialDevice()
{
    HostState& s = hostState();
    QString path;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        path = s.gnssDevice;
    }
    return path.isEmpty() ? devicePath(QStringLiteral("/dev/ttyO4")) : path;
}

QString batterySerialDevice()
{
    HostState& s = hostState();
    QString path;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        path = s.batteryDevice;
    }
    return path.isEmpty() ? devicePath(QStringLiteral("/dev/ttyO3")) : path;
}

key_t sharedMemoryKeyBase()
{
    HostState& s = hostState();
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        if (s.keyBase)
            return *s.keyBase;
    }
    const QByteArray env = qgetenv("ZOR_SHM_KEY_BASE");
    if (!env.isEmpty()) {
        char* end = nullptr;
        const unsigned long v = std::strtoul(env.constData(), &end, 0);
        if (end && *end == '\0' && v <= 0xFFFFFFFFul)
            return key_t(uint32_t(v));
        qWarning() << "zoplat: ZOR_SHM_KEY_BASE is not a number:" << env;
    }
    return kDeviceKeyBase;
}

QString networkInterface()
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.interface;
}

QString beaconDestination()
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.beaconDestination;
}

uint16_t beaconPort()
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.beaconPort;
}

uint16_t serverPort()
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.serverPort;
}

bool bindToDevice()
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.bindToDevice;
}

uint16_t beaconDestinationPort(uint16_t boundPort)
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.beaconDestinationPort != 0)
        return s.beaconDestinationPort;
    return uint16_t(boundPort == 0xFFFF ? boundPort - 1 : boundPort + 1);
}

// ---- Test control -----------------------------------------------------------

namespace host {

QStringList recordedCommands()
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.commands;
}

void clearRecordedCommands()
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.commands.clear();
}

void scriptCommand(const QString& lineStart, const CommandResult& result)
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.scripts.insert(lineStart, result);
}

void clearCommandScripts()
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.scripts.clear();
}

void setSandboxRoot(const QString& root)
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.sandboxOverride = root;
}

int64_t clockOffsetMs()
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.clockOffsetMs;
}

std::vector<int64_t> recordedTimeSettings()
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.timeSettings;
}

std::vector<int> recordedTimeZones()
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.timeZones;
}

int timeZoneMinutesWest()
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.minutesWest;
}

void resetClock()
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.clockOffsetMs = 0;
    s.timeSettings.clear();
    s.timeZones.clear();
    s.minutesWest = 0;
}

void setSharedMemoryKeyBase(key_t base)
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.keyBase = base;
}

void setNetworkInterface(const QString& name)
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.interface = name;
}

void setBeaconDestination(const QString& address)
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.beaconDestination = address;
}

void setBeaconPort(uint16_t port)
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.beaconPort = port;
}

void setServerPort(uint16_t port)
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.serverPort = port;
}

void setBindToDevice(bool bind)
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.bindToDevice = bind;
}

void setBeaconDestinationPort(uint16_t port)
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.beaconDestinationPort = port;
}

void setGnssSerialDevice(const QString& path)
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.gnssDevice = path;
}

void setBatterySerialDevice(const QString& path)
{
    HostState& s = hostState();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.batteryDevice = path;
}

void reset()
{
    {
        HostState& s = hostState();
        std::lock_guard<std::mutex> lock(s.mutex);
        s.commands.clear();
        s.scripts.clear();
        s.sandboxOverride.clear();
        s.clockOffsetMs = 0;
        s.timeSettings.clear();
        s.timeZones.clear();
        s.minutesWest = 0;
        s.keyBase.reset();
        s.interface = QStringLiteral("lo");
        s.beaconDestination = QStringLiteral("127.0.0.1");
        s.beaconPort = 10801;
        s.serverPort = 10901;
        s.bindToDevice = false;
        s.beaconDestinationPort = 0;
        s.gnssDevice.clear();
        s.batteryDevice.clear();
    }
    setTimeScale(1.0);
    setSleeper({});
    setMonotonicClock({});
}

}   // namespace host
}   // namespace zoplat
