#pragma once

// The remote-control service's threads on 127.0.0.1 for the benchmarks: free
// ports, segments under a key base of this process (removed at the end) and
// a PC connected to the control port; and the reference each figure is
// printed beside: plain TCP on 127.0.0.1 (PlainTcp).

#include "CommNetCtrlBase.h"
#include "zoplatform_control_host.h"
#include "zoshm_testing_share_handle.h"

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstring>
#include <ctime>
#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/shm.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace benchremote {

inline uint16_t freePort(int type)
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

// Keys: keyTop, then two bytes of the process id, then keyLow.
struct ServiceLink
{
    ServiceLink(uint32_t keyTop, uint32_t keyLow)
    {
        zoplat::host::setSharedMemoryKeyBase(key_t(keyTop << 24 | ((uint32_t(getpid()) & 0xFFFFu) << 8) | keyLow));
        port = freePort(SOCK_STREAM);
        zoplat::host::setServerPort(port);
        zoplat::host::setBeaconPort(freePort(SOCK_DGRAM));
        ready = netCtrlInit() == 0 && netCtrl_StartNetService() == 0;
        pc = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bool connected = false;
        for (int i = 0; i < 100 && ready && !connected; ++i) {
            connected = ::connect(pc, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
            if (!connected)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ready = ready && connected;
    }
    ~ServiceLink()
    {
        close(pc);
        netCtrl_StopNetService();
        shm_release_testing_handle();
        for (int i = 0; i < SHM_SEGMENT_COUNT; ++i) {
            const int id = shmget(shm_testing_key(i), 0, 0);
            if (id >= 0)
                shmctl(id, IPC_RMID, nullptr);
        }
    }
    ServiceLink(const ServiceLink&) = delete;
    ServiceLink& operator=(const ServiceLink&) = delete;

    uint16_t port = 0;
    int pc = -1;
    bool ready = false;
};

// Reads one whole frame from fd: its command, or 0 on failure.
inline uint16_t readFrame(int fd)
{
    unsigned char head[12];
    if (recv(fd, head, sizeof head, MSG_WAITALL) != ssize_t(sizeof head))
        return 0;
    uint32_t length;
    uint16_t command;
    std::memcpy(&length, head + 8, 4);
    std::memcpy(&command, head + 6, 2);
    std::vector<char> body(length);
    if (length > 0 && recv(fd, body.data(), length, MSG_WAITALL) != ssize_t(length))
        return 0;
    return command;
}

inline double seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// The reference: plain TCP on 127.0.0.1. One server thread waits on its
// connection and on an event descriptor; it answers each request frame
// (read whole) with a frame of replyBody bytes under the request's header,
// and each push() with a frame of pushBody bytes (command 0xC010).
class PlainTcp
{
public:
    PlainTcp(uint32_t replyBody, uint32_t pushBody)
        : reply(12 + replyBody)
        , pushed(12 + pushBody)
    {
        std::memcpy(pushed.data() + 8, &pushBody, 4);
        const uint16_t status = 0xC010;
        std::memcpy(pushed.data() + 6, &status, 2);
        std::memcpy(reply.data() + 8, &replyBody, 4);
        wake = eventfd(0, EFD_CLOEXEC);
        const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t n = sizeof a;
        bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a);
        listen(listener, 1);
        getsockname(listener, reinterpret_cast<sockaddr*>(&a), &n);
        pc = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        ready = ::connect(pc, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        server = ready ? accept4(listener, nullptr, nullptr, SOCK_CLOEXEC) : -1;
        close(listener);
        ready = ready && server >= 0 && wake >= 0;
        if (ready) {
            thread = std::thread([this] { serve(); });
            pthread_getcpuclockid(thread.native_handle(), &cpuClock);
        }
    }
    ~PlainTcp()
    {
        stop = true;
        push();
        if (thread.joinable())
            thread.join();
        close(pc);
        close(server);
        close(wake);
    }
    PlainTcp(const PlainTcp&) = delete;
    PlainTcp& operator=(const PlainTcp&) = delete;

    void push()
    {
        const uint64_t one = 1;
        (void)!write(wake, &one, sizeof one);
    }
    // The server thread's CPU time so far (s).
    double serverCpu() const
    {
        timespec t{};
        clock_gettime(cpuClock, &t);
        return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
    }

    int pc = -1;
    bool ready = false;

private:
    void serve()
    {
        std::vector<char> request(0x200000);
        while (!stop) {
            pollfd p[2] = {{server, POLLIN, 0}, {wake, POLLIN, 0}};
            if (poll(p, 2, -1) <= 0)
                continue;
            if (p[1].revents) {
                uint64_t count;
                (void)!read(wake, &count, sizeof count);
                if (!stop)
                    (void)!write(server, pushed.data(), pushed.size());
            }
            if (p[0].revents) {
                uint32_t length = 0;
                if (recv(server, request.data(), 12, MSG_WAITALL) != 12)
                    return;
                std::memcpy(&length, request.data() + 8, 4);
                if (length > request.size() - 12 || recv(server, request.data() + 12, length, MSG_WAITALL) != ssize_t(length))
                    return;
                std::memcpy(reply.data(), request.data(), 8);
                (void)!write(server, reply.data(), reply.size());
            }
        }
    }

    std::vector<char> reply;
    std::vector<char> pushed;
    int server = -1;
    int wake = -1;
    std::atomic<bool> stop{false};
    clockid_t cpuClock = CLOCK_THREAD_CPUTIME_ID;
    std::thread thread;
};

} // namespace benchremote
