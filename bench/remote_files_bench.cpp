// The file transfer over 127.0.0.1 (the service's threads, free ports,
// segments under a key base of this process, a temporary application root):
// export and import of a 1 MB file. The import is printed beside the same
// frames answered over plain TCP on 127.0.0.1 in the same run
// (benchremote::PlainTcp), with the ratio of their times; the export keeps
// its pace of one 1 KB chunk every 10 ms.

#include "RemoteBenchService.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <chrono>
#include <cstring>
#include <netinet/in.h>
#include <sys/shm.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFileSize = 1 << 20;

QByteArray frame(uint16_t subid, const QByteArray& payload)
{
    QByteArray f(14, '\0');
    const uint32_t magic = 0xFFFF7A4F, length = uint32_t(payload.size()) + 2;
    const uint16_t version = 0x0101, command = 0xE110;
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
    // The next file-transfer frame: its sub-id and payload (sub-id 0 on failure).
    uint16_t next(QByteArray* payload)
    {
        for (;;) {
            unsigned char head[14];
            if (recv(pc, head, sizeof head, MSG_WAITALL) != ssize_t(sizeof head))
                return 0;
            uint32_t length;
            uint16_t command, subid;
            std::memcpy(&length, head + 8, 4);
            std::memcpy(&command, head + 6, 2);
            std::memcpy(&subid, head + 12, 2);
            QByteArray body(int(length) - 2, '\0');
            if (recv(pc, body.data(), body.size(), MSG_WAITALL) != body.size())
                return 0;
            if (command == 0xE110) {
                *payload = body;
                return subid;
            }
        }
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

void BM_ExportOneMegabyte(benchmark::State& state)
{
    Service s;
    QDir().mkpath(s.dir.filePath("parameters_bk/AC"));
    QFile f(s.dir.filePath("parameters_bk/AC/big.par"));
    if (!s.ready || !f.open(QIODevice::WriteOnly) || f.write(QByteArray(kFileSize, 'e')) != kFileSize) {
        state.SkipWithError("service not ready");
        return;
    }
    f.close();
    for (auto _ : state) {
        if (!s.ask(0xF503, QByteArray(1, '\2'))) {
            state.SkipWithError("mode refused");
            break;
        }
        QByteArray payload;
        while (uint16_t subid = s.next(&payload)) {
            if (subid == 0xF501 && payload.startsWith("KS_END"))
                break;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kFileSize);
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
