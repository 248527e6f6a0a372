// The host build must not contain calls that change the host or reach the
// hardware: those belong in "*_device.*" files, behind the platform layer.

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>

namespace {

struct Finding
{
    int line;
    QString what;
};

// Code with comments removed and string/char literal contents blanked, plus
// the literal contents with their lines.
struct Lexed
{
    QString code;
    QList<QPair<int, QString>> literals;
};

Lexed lex(const QString& src)
{
    Lexed out;
    int line = 1;
    const int n = src.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = src.at(i);
        const QChar next = i + 1 < n ? src.at(i + 1) : QChar();
        if (c == '\n')
            ++line;
        if (c == '/' && next == '/') {
            while (i < n && src.at(i) != '\n')
                ++i;
            --i;
            continue;
        }
        if (c == '/' && next == '*') {
            i += 2;
            while (i < n && !(src.at(i) == '*' && i + 1 < n && src.at(i + 1) == '/')) {
                if (src.at(i) == '\n') {
                    ++line;
                    out.code += '\n';
                }
                ++i;
            }
            ++i;
            out.code += ' ';
            continue;
        }
        if (c == 'R' && next == '"' && (i == 0 || !src.at(i - 1).isLetterOrNumber())) {
            const int open = src.indexOf('(', i + 2);
            if (open > 0) {
                const QString delim = ')' + src.mid(i + 2, open - i - 2) + '"';
                const int close = src.indexOf(delim, open + 1);
                if (close > 0) {
                    const QString body = src.mid(open + 1, close - open - 1);
                    out.literals.append({line, body});
                    line += body.count('\n');
                    out.code += QStringLiteral("\"\"");
                    i = close + delim.size() - 1;
                    continue;
                }
            }
        }
        if (c == '"' || c == '\'') {
            QString body;
            ++i;
            while (i < n && src.at(i) != c) {
                if (src.at(i) == '\\' && i + 1 < n) {
                    body += src.at(i);
                    ++i;
                }
                if (src.at(i) == '\n')
                    ++line;
                body += src.at(i);
                ++i;
            }
            if (c == '"')
                out.literals.append({line, body});
            out.code += QString(c) + c;
            continue;
        }
        out.code += c;
    }
    return out;
}

QList<Finding> scan(const QString& src)
{
    static const QList<QPair<QRegularExpression, QString>> calls = {
        {QRegularExpression(QStringLiteral("(?<![\\w.>])(std\\s*::\\s*|::\\s*)?system\\s*\\(")), "system("},
        {QRegularExpression(QStringLiteral("(?<![\\w.>])popen\\s*\\(")), "popen("},
        {QRegularExpression(QStringLiteral("(?<![\\w.>])(execl|execlp|execle|execv|execvp|execvpe|execve|fexecve)\\s*\\(")),
         "exec family"},
        {QRegularExpression(QStringLiteral("(?<![\\w.>])posix_spawnp?\\s*\\(")), "posix_spawn"},
        {QRegularExpression(QStringLiteral("\\bQProcess\\b")), "QProcess"},
        {QRegularExpression(QStringLiteral("(?<![\\w.>])stime\\s*\\(")), "stime"},
        {QRegularExpression(QStringLiteral("(?<![\\w.>])settimeofday\\s*\\(")), "settimeofday"},
        {QRegularExpression(QStringLiteral("(?<![\\w.>])clock_settime\\s*\\(")), "clock_settime"},
        {QRegularExpression(QStringLiteral("(?<![\\w.>])adjtimex?\\s*\\(")), "adjtime"},
    };
    QList<Finding> found;
    const Lexed lexed = lex(src);
    const QStringList lines = lexed.code.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        for (const auto& call : calls) {
            if (call.first.match(lines.at(i)).hasMatch())
                found.append({i + 1, call.second});
        }
    }
    // "/dev/mem" as a path of its own (messages that mention it are fine).
    for (const auto& literal : lexed.literals) {
        if (literal.second == QLatin1String("/dev/mem"))
            found.append({literal.first, QStringLiteral("\"/dev/mem\"")});
    }
    return found;
}

TEST(HostSourceScan, ScannerFlagsDirectCallsButNotCommandTexts)
{
    const struct
    {
        const char* code;
        bool flagged;
    } rows[] = {
        {"int r = system(\"reboot &\");", true},
        {"std::system(cmd);", true},
        {"::system (cmd);", true},
        {"FILE* f = popen(\"ip route\", \"r\");", true},
        {"execvp(argv[0], argv);", true},
        {"execl(\"/bin/sh\", \"sh\", nullptr);", true},
        {"posix_spawn(&pid, \"/bin/sh\", 0, 0, argv, environ);", true},
        {"QProcess p;", true},
        {"QProcess::startDetached(app);", true},
        {"stime(&t);", true},
        {"settimeofday(&tv, &tz);", true},
        {"clock_settime(CLOCK_REALTIME, &ts);", true},
        {"int fd = open(\"/dev/mem\", O_RDWR);", true},
        {"static const char kMem[] = \"/dev/mem\";", true},
        {"zoplat::runCommand(\"reboot &\");", false},
        {"runCommand(QStringLiteral(\"hwclock -w\"));", false},
        {"const char* c = \"system(x); popen(y)\";", false},
        {"// system(\"reboot\"); settimeofday(...)", false},
        {"/* QProcess\n popen( */ int a;", false},
        {"_my_system_reboot(); _my_system_settime(0, 0);", false},
        {"app.exec(); helper.system(); p->system();", false},
        {"printf(\"open(/dev/mem) failed(errno: %d)\\n\", errno);", false},
        {"zoplat::devicePath(\"/etc/network/interfaces\");", false},
        {"auto s = R\"(popen( system( )\";", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(!scan(QString::fromUtf8(row.code)).isEmpty(), row.flagged) << row.code;
}

TEST(HostSourceScan, HostBuildSourcesMakeNoDirectSystemCalls)
{
    const QStringList folders = {"ZORUtilities", "ZORConfiguration", "ZORDriver", "ZORController",
                                 "ZORViewModel", "ZODIvuzozi", "main", "simulator"};
    const QRegularExpression deviceOnly(QStringLiteral("_device\\.[^/]*$"));
    // The restart starts the running application again (and nothing else):
    // that is the product's own behaviour and harmless on the host, so its
    // host twin may start a process.
    const QStringList allowed = {QStringLiteral(ZOR_SOURCE_DIR "/ZORDriver/zoplatform/zoplatform_restart_host.cpp")};
    int scanned = 0;
    QStringList problems;
    for (const QString& folder : folders) {
        QDirIterator it(QStringLiteral(ZOR_SOURCE_DIR "/") + folder, {"*.cpp", "*.h", "*.c"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (deviceOnly.match(path).hasMatch() || allowed.contains(path))
                continue;
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly))
                continue;
            ++scanned;
            for (const Finding& finding : scan(QString::fromUtf8(f.readAll())))
                problems << QStringLiteral("%1:%2: %3").arg(path).arg(finding.line).arg(finding.what);
        }
    }
    EXPECT_GT(scanned, 0);
    EXPECT_TRUE(problems.isEmpty()) << "move these into *_device.* files behind zoplatform:\n"
                                    << problems.join('\n').toStdString();
}

} // namespace
