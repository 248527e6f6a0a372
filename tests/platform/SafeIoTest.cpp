// Descriptor and socket helpers on real descriptors, under the network
// service's 100 ms SIGALRM interval timer.

#include "zobase_mysafeio.h"
#include "zobase_mysafenet.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <future>
#include <netinet/in.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::atomic<int> alarms{0};

void onAlarm(int)
{
    alarms.fetch_add(1);
}

// The timer of the network service, without SA_RESTART, so blocked calls see
// EINTR. SIGALRM is blocked in the test's thread: it reaches only the worker
// that runs the helper under test.
class Interrupted : public ::testing::Test
{
protected:
    void SetUp() override
    {
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, SIGALRM);
        pthread_sigmask(SIG_BLOCK, &set, &savedMask);
        struct sigaction sa{};
        sa.sa_handler = onAlarm;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = 0;
        sigaction(SIGALRM, &sa, &savedAction);
        itimerval tv{};
        tv.it_interval.tv_usec = 100000;
        tv.it_value.tv_usec = 100000;
        setitimer(ITIMER_REAL, &tv, nullptr);
    }
    void TearDown() override
    {
        itimerval off{};
        setitimer(ITIMER_REAL, &off, nullptr);
        sigaction(SIGALRM, &savedAction, nullptr);
        pthread_sigmask(SIG_SETMASK, &savedMask, nullptr);
        for (int fd : fds)
            close(fd);
    }

    // Runs call on a worker that receives the alarms; fails instead of hanging.
    struct Outcome
    {
        bool finished = false;
        int result = 0;
        int alarms = 0;
        int64_t elapsedMs = 0;
    };
    Outcome runInterrupted(std::function<int()> call, std::function<void(const std::atomic<bool>&)> peer = {})
    {
        auto promise = std::make_shared<std::promise<Outcome>>();
        std::future<Outcome> future = promise->get_future();
        std::atomic<bool> done{false};
        std::thread worker([promise, call, &done] {
            sigset_t set;
            sigemptyset(&set);
            sigaddset(&set, SIGALRM);
            pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
            Outcome o;
            const int before = alarms.load();
            const auto start = std::chrono::steady_clock::now();
            o.result = call();
            o.elapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
                              .count();
            pthread_sigmask(SIG_BLOCK, &set, nullptr);
            o.alarms = alarms.load() - before;
            o.finished = true;
            done = true;
            promise->set_value(o);
        });
        if (peer)
            peer(done);
        if (future.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
            worker.detach();
            return Outcome{};
        }
        worker.join();
        return future.get();
    }

    // Waits (generously) until the worker has taken another alarm.
    static void waitForAlarm(const std::atomic<bool>& done)
    {
        const int seen = alarms.load();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done && alarms.load() == seen && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
    }

    void pipePair(int out[2])
    {
        ASSERT_EQ(pipe(out), 0);
        fds.insert(fds.end(), {out[0], out[1]});
    }
    void socketPair(int type, int out[2])
    {
        ASSERT_EQ(socketpair(AF_UNIX, type, 0, out), 0);
        fds.insert(fds.end(), {out[0], out[1]});
    }
    int udpSocket(sockaddr_in& addr)
    {
        const int s = socket(AF_INET, SOCK_DGRAM, 0);
        addr = {};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        EXPECT_EQ(bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
        fds.push_back(s);
        return s;
    }

    sigset_t savedMask{};
    struct sigaction savedAction{};
    std::vector<int> fds;
};

TEST_F(Interrupted, WaitForReadyEndsAtItsDeadlineDespiteSignals)
{
    int never[2];
    pipePair(never);
    int full[2];
    pipePair(full);
    fcntl(full[1], F_SETFL, O_NONBLOCK);
    const std::vector<char> chunk(65536, 'x');
    while (write(full[1], chunk.data(), chunk.size()) > 0) {
    }

    const struct
    {
        const char* name;
        int fd;
        int flag;
        int msec;
    } rows[] = {
        {"readable, never", never[0], 0, 1000},
        {"writable, pipe full", full[1], 1, 700},
        {"no descriptor: sleep", -1, 0, 700},
    };
    for (const auto& row : rows) {
        const Outcome o = runInterrupted([&] { return _my_wait_for_ready(row.fd, row.msec, row.flag); });
        ASSERT_TRUE(o.finished) << row.name << ": the wait restarted after every signal";
        EXPECT_EQ(o.result, 0) << row.name;
        EXPECT_GE(o.elapsedMs, row.msec - 1) << row.name;
        EXPECT_GE(o.alarms, 3) << row.name;
    }

    char byte = 1;
    ASSERT_EQ(write(never[1], &byte, 1), 1);
    EXPECT_GT(_my_wait_for_ready(never[0], 1000, 0), 0);
}

TEST_F(Interrupted, SafeLoopsCompleteAcrossSignals)
{
    constexpr int kSize = 256 * 1024;
    constexpr int kChunk = 32 * 1024;
    std::vector<char> data(kSize);
    for (int i = 0; i < kSize; ++i)
        data[size_t(i)] = char(i * 7 + i / 251);

    enum Side { WorkerWrites, WorkerReads };
    const struct
    {
        const char* name;
        bool socket;
        Side side;
    } rows[] = {
        {"pipe write", false, WorkerWrites},
        {"pipe read", false, WorkerReads},
        {"socket send", true, WorkerWrites},
        {"socket recv", true, WorkerReads},
    };
    for (const auto& row : rows) {
        int ends[2];
        if (row.socket)
            socketPair(SOCK_STREAM, ends);
        else
            pipePair(ends);
        std::vector<char> got(kSize);

        // The peer moves one chunk per alarm, so the worker blocks and is interrupted in between.
        std::function<int()> call;
        std::function<void(const std::atomic<bool>&)> peer;
        if (row.side == WorkerWrites) {
            call = [&] {
                return row.socket ? _my_safe_send(ends[0], data.data(), kSize, 0)
                                  : _my_safe_write(ends[1], data.data(), kSize);
            };
            peer = [&](const std::atomic<bool>& done) {
                const int in = row.socket ? ends[1] : ends[0];
                int have = 0;
                while (have < kSize) {
                    waitForAlarm(done);
                    const ssize_t n = read(in, got.data() + have, size_t(std::min(kChunk, kSize - have)));
                    if (n <= 0)
                        break;
                    have += int(n);
                }
            };
        } else {
            call = [&] {
                return row.socket ? _my_safe_recv(ends[0], got.data(), kSize, 0)
                                  : _my_safe_read(ends[0], got.data(), kSize);
            };
            peer = [&](const std::atomic<bool>& done) {
                const int out = ends[1];
                for (int at = 0; at < kSize; at += kChunk) {
                    waitForAlarm(done);
                    ASSERT_EQ(write(out, data.data() + at, kChunk), kChunk);
                }
            };
        }
        const Outcome o = runInterrupted(call, peer);
        ASSERT_TRUE(o.finished) << row.name;
        EXPECT_EQ(o.result, kSize) << row.name;
        EXPECT_GE(o.alarms, 2) << row.name;
        EXPECT_TRUE(got == data) << row.name;
    }
}

TEST_F(Interrupted, SingleReceiveReportsZeroAfterASignal)
{
    sockaddr_in addr{};
    const int s = udpSocket(addr);
    char buf[16];
    sockaddr_in from{};
    unsigned int fromlen = sizeof from;
    const Outcome o = runInterrupted(
        [&] { return _my_safe_recvfrom(s, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &fromlen, 0); });
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.result, 0);
    EXPECT_GE(o.alarms, 1);
}

TEST(SafeIo, TimedReadsOnAPseudoTerminal)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    termios tio{};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    tcsetattr(slave, TCSANOW, &tio);

    char buf[32] = {};
    EXPECT_EQ(_my_safe_read_timeout(slave, buf, sizeof buf, 150), 0);     // never readable: one time-out
    ASSERT_EQ(write(master, "$GPZDA", 6), 6);
    EXPECT_EQ(_my_safe_read_timeout(slave, buf, sizeof buf, 150), 6);     // what came, then the time-out
    EXPECT_EQ(std::string(buf, 6), "$GPZDA");
    EXPECT_EQ(_my_safe_write_timeout(slave, "ack", 3, 150), 3);
    EXPECT_EQ(_my_safe_read(master, buf, 3), 3);
    EXPECT_EQ(std::string(buf, 3), "ack");
    close(slave);
    close(master);
}

TEST(SafeIo, WriteTimeoutOnAFullSocketAndFlagChanges)
{
    int ends[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    _my_set_fcntl_flag(ends[0], 1, O_NONBLOCK);
    EXPECT_TRUE(fcntl(ends[0], F_GETFL) & O_NONBLOCK);
    const std::vector<char> chunk(65536, 'x');
    while (write(ends[0], chunk.data(), chunk.size()) > 0) {
    }
    EXPECT_EQ(_my_safe_write_timeout(ends[0], chunk.data(), 100, 150), 0);
    _my_set_fcntl_flag(ends[0], 0, O_NONBLOCK);
    EXPECT_FALSE(fcntl(ends[0], F_GETFL) & O_NONBLOCK);
    _my_set_fcntl_flag(-1, 1, O_NONBLOCK);   // ignored

    close(ends[0]);
    close(ends[1]);

    int p[2];
    ASSERT_EQ(pipe(p), 0);
    ASSERT_EQ(write(p[1], "ab", 2), 2);
    close(p[1]);
    char buf[4];
    EXPECT_EQ(_my_safe_read(p[0], buf, 4), 2);      // end of file ends early
    close(p[0]);
    EXPECT_LT(_my_safe_read(p[0], buf, 4), 0);      // a closed descriptor fails
}

TEST(SafeNet, DatagramsOverLoopbackWithTimeouts)
{
    const int rx = socket(AF_INET, SOCK_DGRAM, 0);
    const int tx = socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(rx, 0);
    ASSERT_GE(tx, 0);
    // The blocking receive below ends with a failure, not a hang, when a
    // datagram never arrives (loopback down).
    const timeval limit{10, 0};
    ASSERT_EQ(setsockopt(rx, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit), 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(rx, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    socklen_t len = sizeof addr;
    getsockname(rx, reinterpret_cast<sockaddr*>(&addr), &len);

    char frame[198];
    for (size_t i = 0; i < sizeof frame; ++i)
        frame[i] = char(i);
    EXPECT_EQ(_my_safe_sendto_timeout(tx, frame, sizeof frame, 0, reinterpret_cast<sockaddr*>(&addr), sizeof addr,
                                      1000),
              int(sizeof frame));
    EXPECT_EQ(_my_safe_sendto(tx, frame, 10, 0, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 10);

    char got[198] = {};
    sockaddr_in from{};
    unsigned int fromlen = sizeof from;
    EXPECT_EQ(_my_safe_recvfrom_timeout(rx, got, sizeof got, 0, reinterpret_cast<sockaddr*>(&from), &fromlen, 1000),
              int(sizeof got));
    EXPECT_EQ(memcmp(got, frame, sizeof frame), 0);
    EXPECT_EQ(fromlen, sizeof from);
    EXPECT_EQ(from.sin_addr.s_addr, htonl(INADDR_LOOPBACK));
    EXPECT_EQ(_my_safe_recvfrom(rx, got, 10, 0, nullptr, nullptr, 1), 10);
    EXPECT_EQ(_my_safe_recvfrom_timeout(rx, got, 10, 0, nullptr, nullptr, 150), 0);   // nothing more
    close(rx);
    close(tx);
}

} // namespace
