// Whole start-ups: the probe program runs the product's start-up with main
// windows of its own, in a private working directory (the application root).

#include "StartupTestSupport.h"

#include "BaseXmlFile.h"
#include "ControllerConfiguration.h"
#include "zoshm_testing_share_handle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>

#include <functional>

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <netinet/in.h>
#include <sys/shm.h>
#include <sys/socket.h>
#include <unistd.h>
#include <sys/stat.h>
#include <sys/types.h>

namespace {

struct ProbeRun
{
    int exitCode = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QString out;
    QString err;
};

// Segment keys of this test process's own (a start refuses keys that
// another running start holds).
uint32_t ownKeyBase(uint32_t low)
{
    return 0x52000000u | (uint32_t(getpid()) & 0xFFFFu) << 8 | low;
}

QProcessEnvironment probeEnvironment(const QByteArray& mode, uint32_t keyBase, const QByteArray& exitCode = "0")
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ZOR_SHM_KEY_BASE", QString::number(keyBase));
    env.insert("ZOR_PROBE_MODE", mode);
    env.insert("ZOR_PROBE_EXIT", exitCode);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QT_QUICK_BACKEND", "software");
    env.insert("QT_LOGGING_RULES", "zor.startup.info=true");
    env.remove("ZOR_SANDBOX_ROOT");   // the sandbox goes under the working directory
    return env;
}

ProbeRun runProbe(const QString& dir, const QByteArray& mode, const QStringList& args = {},
                  const QByteArray& exitCode = "0", uint32_t keyBase = ownKeyBase(0x78))
{
    QProcess p;
    p.setProcessEnvironment(probeEnvironment(mode, keyBase, exitCode));
    p.setWorkingDirectory(dir);
    p.start(QStringLiteral(ZOR_STARTUP_PROBE), args);
    ProbeRun run;
    if (!p.waitForStarted(startuptest::kDeadlineMs) || !p.waitForFinished(startuptest::kDeadlineMs)) {
        p.kill();
        p.waitForFinished();
        run.err = QString::fromLocal8Bit(p.readAllStandardError());
        return run;
    }
    run.exitCode = p.exitCode();
    run.status = p.exitStatus();
    run.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(p.readAllStandardError());
    return run;
}

// The start-up's own record of its steps, in order.
QStringList startupSteps(const QString& err)
{
    QStringList steps;
    for (const QString& line : err.split('\n')) {
        if (line.startsWith(QLatin1String("zor.startup: ")))
            steps << line.mid(13);
    }
    return steps;
}

int indexOfStep(const QStringList& steps, const QString& start)
{
    for (int i = 0; i < steps.size(); ++i) {
        if (steps.at(i).startsWith(start))
            return i;
    }
    return -1;
}

bool processGone(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray text = stat.readAll();
    const int close = text.lastIndexOf(')');
    return close > 0 && text.mid(close + 2, 1) == "Z";
}

TEST(StartupProcess, StepsRunInOrderAndTheMainWindowFindsTheEngineReady)
{
    TestSandbox box;
    {
        // Russian chosen in the stored software settings.
        const QString previous = QDir::currentPath();
        QDir().mkpath(box.filePath("dat"));
        QDir::setCurrent(box.path());
        ControllerConfiguration config;
        config.lanuageType = ControllerConfiguration::LANGUAGE_TYPE_RUSSIAN;
        const bool saved = config.saveSoftwareConfig();
        QDir::setCurrent(previous);
        ASSERT_TRUE(saved);
    }

    const ProbeRun run = runProbe(box.path(), "report");
    ASSERT_EQ(QProcess::NormalExit, run.status) << run.err.toStdString();
    EXPECT_EQ(0, run.exitCode) << run.err.toStdString();

    const QStringList steps = startupSteps(run.err);
    const QStringList order = {
        "application object created", "engine built", "software configuration loaded",
        "loads, driver set-up and polling queued", "network service ready; driver initialised",
        "QML engine created, types registered", "loading", "event loop ended with 0",
    };
    int last = -1;
    for (const QString& step : order) {
        const int at = indexOfStep(steps, step);
        EXPECT_GT(at, last) << step.toStdString() << " in\n" << steps.join('\n').toStdString();
        last = std::max(last, at);
    }
    EXPECT_TRUE(steps.filter("translation \":/ru_ru.qm\"").size() == 1) << steps.join('\n').toStdString();
    EXPECT_TRUE(steps.filter("restart").isEmpty());

    const QRegularExpressionMatch m = QRegularExpression("probe: (\\{.*\\})").match(run.out);
    ASSERT_TRUE(m.hasMatch()) << run.out.toStdString();
    const QJsonObject facts = QJsonDocument::fromJson(m.captured(1).toUtf8()).object();
    for (const char* fact : {"driverInitialised", "queryRunning", "batteryRunning", "translatorSet",
                             "helperRegistered", "timeZonesInstalled"})
        EXPECT_TRUE(facts.value(fact).toBool()) << fact << " in " << m.captured(1).toStdString();
}

// Settings outside their domain start held, and the main window names them.
TEST(StartupProcess, SettingsOutsideTheirDomainStartHeldAndAreTold)
{
    TestSandbox box;
    box.write("dat/softinfo.xml", "<root><DITHER_TIME>inf</DITHER_TIME><LANUAGE_TYPE>99</LANUAGE_TYPE></root>");
    const ProbeRun run = runProbe(box.path(), "notice");
    ASSERT_EQ(QProcess::NormalExit, run.status) << run.err.toStdString();
    EXPECT_EQ(1, startupSteps(run.err).filter("software configuration loaded; language 0 ").size());
    EXPECT_TRUE(run.out.contains(
        QString::fromUtf8("配置文件 softinfo.xml 中的 DITHER_TIME 为 inf，超出其范围，按 0.015 运行。")))
        << run.out.toStdString();
    EXPECT_TRUE(
        run.out.contains(QString::fromUtf8("配置文件 softinfo.xml 中的 LANUAGE_TYPE 为 99，超出其范围，按 0 运行。")))
        << run.out.toStdString();
}

// A settings file nested far too deep to read, past the bounds of a settings
// file, or no regular file (never waited on) starts as a damaged one does:
// as no file (a first start's English), the file kept, and the
// main window says so.
TEST(StartupProcess, ASettingsFileNestedTooDeepStartsOnTheDefaultsAndIsTold)
{
    const QByteArray deep = "<root>" + QByteArray("<a>").repeated(30000) + QByteArray("</a>").repeated(30000) + "</root>";
    const QByteArray flat = "<root><LANUAGE_TYPE>1</LANUAGE_TYPE>"
                            + QByteArray("<x/>").repeated(BaseXmlFile::bounds(BaseXmlFile::Kind::Settings).elements)
                            + "</root>";
    const struct
    {
        const char* name;
        std::function<void(const TestSandbox&, const QString&)> place;
        QByteArray kept;   // the file's bytes afterwards, "" no regular file
    } rows[] = {
        {"nested too deep", [&](const TestSandbox& box, const QString&) { box.write("dat/softinfo.xml", deep); }, deep},
        {"too many elements", [&](const TestSandbox& box, const QString&) { box.write("dat/softinfo.xml", flat); },
         flat},
        {"a FIFO",
         [](const TestSandbox&, const QString& path) {
             ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
         },
         ""},
        {"a link to a FIFO",
         [](const TestSandbox& box, const QString& path) {
             ASSERT_EQ(::mkfifo(QFile::encodeName(box.filePath("fifo")).constData(), 0600), 0);
             ASSERT_TRUE(QFile::link(box.filePath("fifo"), path));
         },
         ""},
        {"a folder", [](const TestSandbox&, const QString& path) { ASSERT_TRUE(QDir().mkpath(path)); }, ""},
        {"0 bytes", [](const TestSandbox& box, const QString&) { box.write("dat/softinfo.xml", ""); }, ""},
        {"a link to /dev/zero",
         [](const TestSandbox&, const QString& path) { ASSERT_TRUE(QFile::link("/dev/zero", path)); }, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TestSandbox box;
        const QString path = box.filePath("dat/softinfo.xml");
        ASSERT_TRUE(QDir().mkpath(box.filePath("dat")));
        row.place(box, path);

        const ProbeRun run = runProbe(box.path(), "notice");
        ASSERT_EQ(QProcess::NormalExit, run.status) << run.err.toStdString();
        EXPECT_EQ(0, run.exitCode) << run.err.toStdString();
        const QStringList steps = startupSteps(run.err);
        // Taken as no file: a first start's English, and one line saying why.
        EXPECT_EQ(1, steps.filter("software configuration loaded; language 1 ").size())
            << steps.join('\n').toStdString();
        EXPECT_TRUE(run.out.contains("notice: The configuration file softinfo.xml cannot be read"))
            << run.out.toStdString();
        EXPECT_EQ(1, run.err.count("softinfo.xml cannot be read (")) << run.err.toStdString();
        if (!row.kept.isEmpty()) {
            EXPECT_EQ(box.read("dat/softinfo.xml"), row.kept);
        }
    }
}

TEST(StartupProcess, MainWindowNotCreatedEndsWithMinusOneAndOtherCodesStartNoCopy)
{
    const struct
    {
        QByteArray mode;
        QByteArray exitCode;
        int status;   // as the system reports it
    } rows[] = {
        {"missing", "0", 255},
        {"broken", "0", 255},
        {"report", "3", 3},
    };
    for (const auto& row : rows) {
        TestSandbox box;
        const ProbeRun run = runProbe(box.path(), row.mode, {}, row.exitCode);
        ASSERT_EQ(QProcess::NormalExit, run.status) << row.mode.constData() << run.err.toStdString();
        EXPECT_EQ(row.status, run.exitCode) << row.mode.constData() << run.err.toStdString();
        EXPECT_TRUE(startupSteps(run.err).filter("restart").isEmpty()) << row.mode.constData();
    }
}

TEST(StartupProcess, RestartStartsOneDetachedCopyWithTheSameArgumentsAndWorkingDirectory)
{
    TestSandbox box;
    const QStringList args = {"--alpha", "beta gamma", "-x"};
    const ProbeRun run = runProbe(box.path(), "restart", args);
    ASSERT_EQ(QProcess::NormalExit, run.status) << run.err.toStdString();
    const QStringList steps = startupSteps(run.err);
    EXPECT_EQ(1, steps.filter("event loop ended with 1024").size()) << steps.join('\n').toStdString();
    EXPECT_EQ(1024 & 0xFF, run.exitCode);

    const QStringList restarts = steps.filter("restart: copy started as process ");
    ASSERT_EQ(1, restarts.size()) << steps.join('\n').toStdString();
    const qint64 pid = restarts.first().section(' ', -1).toLongLong();
    ASSERT_GT(pid, 0);
    struct EndCopy
    {
        qint64 pid;
        ~EndCopy()
        {
            ::kill(pid_t(pid), SIGTERM);
            startuptest::waitFor([this] { return processGone(pid); });
        }
    } endCopy{pid};

    // The copy is the second start recorded in the folder.
    QStringList starts;
    ASSERT_TRUE(startuptest::waitFor([&] {
        starts = QString::fromLatin1(box.read("probe-starts.txt")).split('\n', Qt::SkipEmptyParts);
        return starts.size() >= 2;
    }));
    ASSERT_EQ(2, starts.size());
    EXPECT_EQ(QString::number(pid), starts.at(1));

    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    ASSERT_TRUE(cmdline.open(QIODevice::ReadOnly));
    QList<QByteArray> words = cmdline.readAll().split('\0');
    if (!words.isEmpty() && words.last().isEmpty())
        words.removeLast();
    ASSERT_EQ(1 + args.size(), words.size());
    EXPECT_EQ(QFileInfo(QStringLiteral(ZOR_STARTUP_PROBE)).canonicalFilePath(),
              QFileInfo(QString::fromLocal8Bit(words.at(0))).canonicalFilePath());
    for (int i = 0; i < args.size(); ++i)
        EXPECT_EQ(args.at(i), QString::fromLocal8Bit(words.at(i + 1)));
    EXPECT_EQ(QFileInfo(box.path()).canonicalFilePath(),
              QFileInfo(QStringLiteral("/proc/%1/cwd").arg(pid)).canonicalFilePath());

    ::kill(pid_t(pid), SIGTERM);
    EXPECT_TRUE(startuptest::waitFor([&] { return processGone(pid); }));
    // No further copy: the copy did not restart.
    starts = QString::fromLatin1(box.read("probe-starts.txt")).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(2, starts.size());
}

// A second start on the keys of a running one ends at once, non-zero,
// saying why, and leaves the first one's segments as they are.
TEST(StartupProcess, ASecondStartOnSegmentsInUseEndsAndLeavesThemAlone)
{
    TestSandbox box;
    const uint32_t base = ownKeyBase(0x79);
    const size_t size = shm_testing_size(SHM_SEGMENT_MACHINE);
    const int id = shmget(key_t(base), size, IPC_CREAT | IPC_EXCL | 0600);
    ASSERT_GE(id, 0) << strerror(errno);
    void* first = shmat(id, nullptr, 0);
    struct Remove
    {
        int id;
        void* at;
        ~Remove()
        {
            if (at != reinterpret_cast<void*>(-1))
                shmdt(at);
            shmctl(id, IPC_RMID, nullptr);
        }
    } remove{id, first};
    ASSERT_NE(first, reinterpret_cast<void*>(-1)) << strerror(errno);
    std::memset(first, 0x5A, size);

    const ProbeRun run = runProbe(box.path(), "report", {}, "0", base);
    EXPECT_EQ(QProcess::NormalExit, run.status);
    EXPECT_EQ(1, run.exitCode) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QString::asprintf("0x%08x", base)) && run.err.contains("ZOR_SHM_KEY_BASE"))
        << run.err.toStdString();
    // The holder here is no copy of the application: it is not named as one.
    EXPECT_FALSE(run.err.contains(QString::number(getpid()))) << run.err.toStdString();
    EXPECT_EQ(shmget(key_t(base), 0, 0), id);
    EXPECT_EQ(QByteArray(static_cast<const char*>(first), int(size)), QByteArray(int(size), 0x5A));
    for (int segment = 1; segment < SHM_SEGMENT_COUNT; ++segment)
        EXPECT_LT(shmget(key_t(base + uint32_t(segment) * SHM_KEY_STEP), 0, 0), 0) << segment;
}

// The shared-memory segments process pid created that still exist.
QList<int> segmentsCreatedBy(qint64 pid)
{
    QList<int> ids;
    shm_info info{};
    const int highest = shmctl(0, SHM_INFO, reinterpret_cast<shmid_ds*>(&info));
    for (int index = 0; index <= highest; ++index) {
        shmid_ds ds{};
        const int id = shmctl(index, SHM_STAT, &ds);
        if (id >= 0 && ds.shm_cpid == pid)
            ids << id;
    }
    return ids;
}

uint16_t freePort(int type);   // a port on 127.0.0.1 free now

// Starts the probe in `dir` and reads its output into `out` until it holds
// `ready`; false if it does not start or never says so.
bool startProbeUntil(QProcess& p, const QProcessEnvironment& env, const QString& dir, const QByteArray& ready,
                     QByteArray& out)
{
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setWorkingDirectory(dir);
    p.start(QStringLiteral(ZOR_STARTUP_PROBE), QStringList());
    return p.waitForStarted(startuptest::kDeadlineMs) && startuptest::waitFor([&] {
               p.waitForReadyRead(50);
               out += p.readAll();
               return out.contains(ready);
           });
}

// Ended by a termination signal, the program leaves its event loop and exits
// as from the window: the segments it created are gone with it. With remote
// control switched on in the main window and a PC connected, the service
// stops first.
TEST(StartupProcess, TerminationSignalEndsTheEventLoopAndRemovesTheSegments)
{
    const struct
    {
        int number;
        QByteArray mode;
        QByteArray ready;   // in the output once the window is up (and the service on)
    } rows[] = {
        {SIGTERM, "stay", "loading \"qrc:/startup-probe/Stay.qml\""},
        {SIGINT, "stay", "loading \"qrc:/startup-probe/Stay.qml\""},
        {SIGTERM, "remote-on", "\"serviceEnabled\":true"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mode.constData());
        SCOPED_TRACE(row.number);
        TestSandbox box;
        QProcess p;
        // Keys of its own: other runs of these tests may share the folder's base.
        QProcessEnvironment env = probeEnvironment(row.mode, 0x51000077u | (uint(getpid()) & 0xFFFFu) << 8);
        const uint16_t serverPort = freePort(SOCK_STREAM);
        env.insert("ZOR_PROBE_SERVER_PORT", QString::number(serverPort));
        env.insert("ZOR_PROBE_BEACON_PORT", QString::number(freePort(SOCK_DGRAM)));
        QByteArray out;
        ASSERT_TRUE(startProbeUntil(p, env, box.path(), row.ready, out)) << out.constData();
        int pc = -1;
        if (row.mode == "remote-on") {
            // A PC connects (the listener opens its socket 100 ms after the
            // start) and is answered a hello.
            sockaddr_in a{};
            a.sin_family = AF_INET;
            a.sin_port = htons(serverPort);
            a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            ASSERT_TRUE(startuptest::waitFor([&] {
                if (pc >= 0)
                    close(pc);
                pc = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
                return ::connect(pc, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
            }));
            const unsigned char hello[14] = {0x4F, 0x7A, 0xFF, 0xFF, 0x01, 0x01, 0x10, 0xA0, 2, 0, 0, 0, 0x01, 0xE1};
            ASSERT_EQ(ssize_t(sizeof hello), ::write(pc, hello, sizeof hello));
            char reply[12 + 2 + 184];
            timeval wait{startuptest::kDeadlineMs / 1000, 0};
            setsockopt(pc, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
            ASSERT_EQ(ssize_t(sizeof reply), recv(pc, reply, sizeof reply, MSG_WAITALL));
        }
        const QList<int> created = segmentsCreatedBy(p.processId());
        ASSERT_FALSE(created.isEmpty()) << out.constData();

        ::kill(pid_t(p.processId()), row.number);
        ASSERT_TRUE(p.waitForFinished(startuptest::kDeadlineMs));
        out += p.readAll();
        if (pc >= 0)
            close(pc);
        EXPECT_EQ(QProcess::NormalExit, p.exitStatus()) << out.constData();
        EXPECT_EQ(128 + row.number, p.exitCode());
        EXPECT_TRUE(out.contains("event loop ended with " + QByteArray::number(128 + row.number))) << out.constData();
        for (int id : created) {
            shmid_ds ds{};
            EXPECT_NE(0, shmctl(id, IPC_STAT, &ds)) << "segment " << id << " left behind";
        }
    }
}

// The segments of a copy that was killed are taken over by the next one,
// whose clean end removes them as it removes its own; a segment another
// process has attached then stays.
TEST(StartupProcess, SegmentsOfAKilledCopyGoWithTheCleanEndOfTheNext)
{
    const uint32_t base = ownKeyBase(0x7A);
    const QByteArray ready = "loading \"qrc:/startup-probe/Stay.qml\"";
    const auto keyOf = [base](int segment) { return key_t(base + uint32_t(segment) * SHM_KEY_STEP); };
    for (const bool otherAttached : {false, true}) {
        SCOPED_TRACE(otherAttached ? "one attached by another process" : "none attached");
        TestSandbox box;
        QByteArray out;
        QProcess killed;
        ASSERT_TRUE(startProbeUntil(killed, probeEnvironment("stay", base), box.path(), ready, out)) << out.constData();
        const pid_t pid = pid_t(killed.processId());
        ::kill(pid, SIGKILL);
        ASSERT_TRUE(killed.waitForFinished(startuptest::kDeadlineMs));
        // Left behind, once the system has taken the dead process's attachments off.
        ASSERT_TRUE(startuptest::waitFor([&] {
            for (int segment = 0; segment < SHM_SEGMENT_COUNT; ++segment) {
                shmid_ds ds{};
                if (shmctl(shmget(keyOf(segment), 0, 0), IPC_STAT, &ds) != 0 || ds.shm_nattch != 0)
                    return false;
            }
            return ::kill(pid, 0) != 0;
        }));

        QProcess next;
        out.clear();
        ASSERT_TRUE(startProbeUntil(next, probeEnvironment("stay", base), box.path(), ready, out)) << out.constData();
        void* attached = otherAttached ? shmat(shmget(keyOf(SHM_SEGMENT_STATUS), 0, 0), nullptr, 0) : nullptr;
        ::kill(pid_t(next.processId()), SIGTERM);
        ASSERT_TRUE(next.waitForFinished(startuptest::kDeadlineMs));
        EXPECT_EQ(QProcess::NormalExit, next.exitStatus());
        for (int segment = 0; segment < SHM_SEGMENT_COUNT; ++segment) {
            const bool stays = otherAttached && segment == SHM_SEGMENT_STATUS;
            EXPECT_EQ(stays, shmget(keyOf(segment), 0, 0) >= 0) << segment;
        }
        if (attached && attached != reinterpret_cast<void*>(-1))
            shmdt(attached);
        for (int segment = 0; segment < SHM_SEGMENT_COUNT; ++segment)
            shmctl(shmget(keyOf(segment), 0, 0), IPC_RMID, nullptr);
    }
}

// Ended cleanly with the state-sequence page open and edited (a termination
// signal, or exit() from inside the event loop as when the display goes
// away), the program writes the page's parameters as leaving it does: the
// next start reads the edit.
TEST(StartupProcess, ACleanEndKeepsTheEditsOfTheOpenPage)
{
    const struct
    {
        QByteArray mode;
        int number;   // the signal sent, 0: none
        int exitCode;
    } rows[] = {
        {"page-edit", SIGTERM, 128 + SIGTERM},
        {"page-edit", SIGINT, 128 + SIGINT},
        {"page-exit", 0, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mode.constData());
        SCOPED_TRACE(row.number);
        TestSandbox box;
        QProcess p;
        QByteArray out;
        ASSERT_TRUE(startProbeUntil(p, probeEnvironment(row.mode, ownKeyBase(0x79)), box.path(), "page: 1.234", out))
            << out.constData();
        if (row.number)
            ::kill(pid_t(p.processId()), row.number);
        ASSERT_TRUE(p.waitForFinished(startuptest::kDeadlineMs));
        out += p.readAll();
        EXPECT_EQ(row.exitCode, p.exitCode()) << out.constData();

        const ProbeRun next = runProbe(box.path(), "page-read");
        EXPECT_EQ(0, next.exitCode) << next.err.toStdString();
        EXPECT_TRUE(next.out.contains("page: 1.234")) << next.out.toStdString();
    }
}

// A port on 127.0.0.1 free now.
uint16_t freePort(int type)
{
    const int fd = socket(AF_INET, type, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t n = sizeof a;
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n);
    close(fd);
    return ntohs(a.sin_port);
}

// The footer's remote box in the real main window: ticked, the five service
// threads run and the SIGALRM timer is armed; unticked, they are joined and
// nothing is left (counted after a first on/off cycle: Qt starts threads
// lazily); ticked again at once, it works again.
TEST(StartupProcess, RemoteBoxStartsTheServiceThreadsAndUntickingJoinsThem)
{
    TestSandbox box;
    qputenv("ZOR_PROBE_SERVER_PORT", QByteArray::number(freePort(SOCK_STREAM)));
    qputenv("ZOR_PROBE_BEACON_PORT", QByteArray::number(freePort(SOCK_DGRAM)));
    const ProbeRun run = runProbe(box.path(), "remote");
    ASSERT_EQ(QProcess::NormalExit, run.status) << run.err.toStdString();
    EXPECT_EQ(0, run.exitCode) << run.err.toStdString();
    QMap<QString, QJsonObject> steps;
    QRegularExpressionMatchIterator it = QRegularExpression("remote: (\\{.*\\})").globalMatch(run.out);
    while (it.hasNext()) {
        const QJsonObject facts = QJsonDocument::fromJson(it.next().captured(1).toUtf8()).object();
        steps[facts.value("step").toString()] = facts;
    }
    ASSERT_EQ(steps.size(), 4) << run.out.toStdString();
    for (const char* on : {"on", "on again"}) {
        SCOPED_TRACE(on);
        const QJsonObject f = steps.value(on);
        EXPECT_TRUE(f.value("boxChecked").toBool());
        EXPECT_TRUE(f.value("serviceEnabled").toBool());
        EXPECT_TRUE(f.value("netConnect").toBool());
        EXPECT_EQ(f.value("timerIntervalUs").toInt(), 100000);
    }
    for (const char* off : {"off", "off again"}) {
        SCOPED_TRACE(off);
        const QJsonObject f = steps.value(off);
        EXPECT_FALSE(f.value("boxChecked").toBool());
        EXPECT_FALSE(f.value("serviceEnabled").toBool());
        EXPECT_FALSE(f.value("netConnect").toBool());
    }
    const QJsonObject off = steps.value("off");
    EXPECT_EQ(steps.value("on again").value("threads").toInt(), off.value("threads").toInt() + 5);
    EXPECT_EQ(steps.value("off again").value("threads").toInt(), off.value("threads").toInt());
    EXPECT_EQ(steps.value("off again").value("descriptors").toInt(), off.value("descriptors").toInt());
}

} // namespace
