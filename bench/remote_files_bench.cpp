// The file transfer over 127.0.0.1 (the service's threads, free ports,
// segments under a key base of this process, a temporary application root):
// export and import of a 1 MB file. The import is printed beside the same
// frames answered over plain TCP on 127.0.0.1 in the same run
// (benchremote::PlainTcp), with the ratio of their times; the export keeps
// its pace of one 1 KB chunk every 10 ms (about 0.1 MB/s), and counts only
// the bytes that came and match the file. Like a PC, the benchmark sends a
// request at least every 8 s while the export runs (the connection's beat);
// an export cut short is an error, not a figure.

#include "RemoteBenchService.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/shm.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFileSize = 1 << 20;
constexpr auto kKeepAlive = std::chrono::seconds(2);   // well within the 8 s beat

QByteArray pattern(int size)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 7 + i / 251) & 0xFF);
    return b;
}

QByteArray frame(uint16_t subid, const QByteArray& payload, uint16_t command = 0xE110)
{
    QByteArray f(14, '\0');
    const uint32_t magic = 0xFFFF7A4F, length = uint32_t(payload.size()) + 2;
    const uint16_t version = 0x0101;
    std::memcpy(f.data(), &magic, 4);
    std::memcpy(f.data() + 4, &version, 2);
    std::memcpy(f.data() + 6, &command, 2);
    std::memcpy(f.data() + 8, &length, 4);
    std::memcpy(f.data() + 12, &subid, 2);
    return f + payload;
}

// The application root and the sandbox in a temporary folder, set before
// the service starts.
struct Root
{
    Root()
    {
        old = QDir::currentPath();
        QDir::setCurrent(dir.path());
        zoplat::host::setSandboxRoot(dir.filePath("sandbox"));
    }
    ~Root() { QDir::setCurrent(old); }
    QTemporaryDir dir;
    QString old;
};

struct Service : Root, benchremote::ServiceLink
{
    Service()
        : ServiceLink(0x32, 0x38)
    {
    }
    // The next frame: its command, sub-id and payload; false when the
    // connection closed or nothing came within 5 s.
    bool receiveFrame(uint16_t* command, uint16_t* subid, QByteArray* payload)
    {
        unsigned char head[14];
        if (!receive(head, sizeof head))
            return false;
        uint32_t length;
        std::memcpy(&length, head + 8, 4);
        std::memcpy(command, head + 6, 2);
        std::memcpy(subid, head + 12, 2);
        if (length < 2 || length > 0x200000)
            return false;
        payload->resize(int(length) - 2);
        return receive(payload->data(), size_t(payload->size()));
    }
    // The next file-transfer frame: its sub-id and payload (sub-id 0 on failure).
    uint16_t next(QByteArray* payload)
    {
        uint16_t command = 0, subid = 0;
        while (receiveFrame(&command, &subid, payload)) {
            if (command == 0xE110)
                return subid;
        }
        return 0;
    }
    // length bytes, each within 5 s (the service's SIGALRM interrupts the waits).
    bool receive(void* to, size_t length)
    {
        char* p = static_cast<char*>(to);
        while (length > 0) {
            pollfd ready{pc, POLLIN, 0};
            const int r = poll(&ready, 1, 5000);
            if (r < 0 && errno == EINTR)
                continue;
            if (r <= 0)
                return false;
            const ssize_t n = recv(pc, p, length, 0);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            p += n;
            length -= size_t(n);
        }
        return true;
    }
    // A built frame, answered with its own sub-id (at +12) and status 0.
    bool send(const QByteArray& f)
    {
        uint16_t subid = 0;
        std::memcpy(&subid, f.constData() + 12, 2);
        QByteArray reply;
        return write(pc, f.constData(), size_t(f.size())) == f.size() && next(&reply) == subid && reply == QByteArray(1, '\0');
    }
    bool ask(uint16_t subid, const QByteArray& payload) { return send(frame(subid, payload)); }

};

// What one export brought: the bytes of "AC/big.par" that came in order and
// match the file, and whether it ended with "KS_END" counting that one file.
struct ExportSeen
{
    int64_t matched = 0;
    bool whole = false;
    QString error;
};

ExportSeen exportOnce(Service& s, const QByteArray& file)
{
    ExportSeen seen;
    const QByteArray hello = frame(0xE101, {}, 0xA010);   // the device's hello record
    const QByteArray request = frame(0xF503, QByteArray(1, '\2'));
    auto asked = std::chrono::steady_clock::now();
    if (write(s.pc, request.constData(), size_t(request.size())) != request.size()) {
        seen.error = "mode not sent";
        return seen;
    }
    bool head = false;
    int64_t announced = -1;
    uint16_t command = 0, subid = 0;
    QByteArray payload;
    while (seen.error.isEmpty()) {
        // A request at least every 8 s, as a PC keeps its connection.
        if (std::chrono::steady_clock::now() - asked >= kKeepAlive) {
            if (write(s.pc, hello.constData(), size_t(hello.size())) != hello.size())
                seen.error = "keep-alive not sent";
            asked = std::chrono::steady_clock::now();
        }
        if (!s.receiveFrame(&command, &subid, &payload)) {
            seen.error = "connection closed or silent";
            break;
        }
        if (command != 0xE110)
            continue;   // the keep-alive's reply
        if (subid == 0xF503) {
            if (payload != QByteArray(1, '\0'))
                seen.error = "mode refused";
        } else if (subid == 0xF501 && payload.size() == 68) {
            uint32_t size;
            std::memcpy(&size, payload.constData() + 64, 4);
            const QByteArray name = payload.left(64).constData();
            if (name == "KS_END") {
                seen.whole = head && size == 1 && announced == file.size() && seen.matched == file.size();
                break;
            }
            if (name != "AC/big.par" || head)
                seen.error = "unexpected file " + QString::fromUtf8(name);
            head = true;
            announced = size;
        } else if (subid == 0xF502 && payload.size() == 1028 && head) {
            uint32_t length;
            std::memcpy(&length, payload.constData(), 4);
            if (length > 1024 || seen.matched + length > file.size()
                || payload.mid(4, int(length)) != file.mid(int(seen.matched), int(length))
                || payload.mid(4 + int(length)) != QByteArray(1024 - int(length), '\0'))
                seen.error = QString("chunk at %1 does not match the file").arg(seen.matched);
            else
                seen.matched += length;
        } else {
            seen.error = QString("unexpected frame 0x%1").arg(subid, 0, 16);
        }
    }
    return seen;
}

void BM_ExportOneMegabyte(benchmark::State& state)
{
    Service s;
    QDir().mkpath(s.dir.filePath("parameters_bk/AC"));
    QFile f(s.dir.filePath("parameters_bk/AC/big.par"));
    const QByteArray file = pattern(kFileSize);
    if (!s.ready || !f.open(QIODevice::WriteOnly) || f.write(file) != kFileSize) {
        state.SkipWithError("service not ready");
        return;
    }
    f.close();
    int64_t matched = 0;
    for (auto _ : state) {
        const ExportSeen seen = exportOnce(s, file);
        matched += seen.matched;
        if (!seen.whole) {
            const QString why = seen.error.isEmpty() ? QStringLiteral("export ended short") : seen.error;
            const std::string message = QString("%1: %2 of %3 bytes came whole")
                                            .arg(why).arg(seen.matched).arg(kFileSize).toStdString();
            state.SkipWithError(message.c_str());
            break;
        }
    }
    state.SetBytesProcessed(matched);
    state.counters["MB"] = benchmark::Counter(double(matched) / 1e6, benchmark::Counter::kIsRate);   // MB/s
}
BENCHMARK(BM_ExportOneMegabyte)->Unit(benchmark::kMillisecond)->UseRealTime();

// The frames of a 1 MB import: mode 5, the head, 1024 chunks of 1 KB, the end.
std::vector<QByteArray> importFrames()
{
    std::vector<QByteArray> frames;
    char head[68] = "AC/big.par";
    const uint32_t size = kFileSize;
    std::memcpy(head + 64, &size, 4);
    frames.push_back(frame(0xF503, QByteArray(1, '\5')));
    frames.push_back(frame(0xF504, QByteArray(head, sizeof head)));
    QByteArray chunk(1028, 'i');
    const uint32_t packet = 1024;
    std::memcpy(chunk.data(), &packet, 4);
    for (int i = 0; i < kFileSize / 1024; ++i)
        frames.push_back(frame(0xF505, chunk));
    frames.push_back(frame(0xF504, QByteArray("SEND_END").leftJustified(68, '\0')));
    return frames;
}

void BM_ImportOneMegabyte(benchmark::State& state)
{
    Service s;
    benchremote::PlainTcp tcp(3, 3);   // answered as the service does: sub-id and status
    if (!s.ready || !tcp.ready) {
        state.SkipWithError("service or reference not ready");
        return;
    }
    const std::vector<QByteArray> frames = importFrames();
    double service = 0, reference = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        bool ok = true;
        for (const QByteArray& f : frames)
            ok = ok && s.send(f);
        const auto t1 = std::chrono::steady_clock::now();
        for (const QByteArray& f : frames) {
            ok = ok && write(tcp.pc, f.constData(), size_t(f.size())) == f.size()
                && benchremote::readFrame(tcp.pc) == 0xE110;
        }
        const auto t2 = std::chrono::steady_clock::now();
        if (!ok) {
            state.SkipWithError("import refused");
            break;
        }
        state.SetIterationTime(benchremote::seconds(t1 - t0));
        service += benchremote::seconds(t1 - t0);
        reference += benchremote::seconds(t2 - t1);
    }
    const double megabytes = double(state.iterations()) * kFileSize / 1e6;
    state.counters["service_MBps"] = service > 0 ? megabytes / service : 0.0;
    state.counters["tcp_MBps"] = reference > 0 ? megabytes / reference : 0.0;
    state.counters["ratio"] = reference > 0 ? service / reference : 0.0;
}
BENCHMARK(BM_ImportOneMegabyte)->Unit(benchmark::kMillisecond)->UseManualTime();

} // namespace
