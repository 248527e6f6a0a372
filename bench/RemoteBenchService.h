#pragma once

// The remote-control service's threads on 127.0.0.1 for the benchmarks: free
// ports, segments under a key base of this process (removed at the end) and
// a PC connected to the control port.

#include "CommNetCtrlBase.h"
#include "zoplatform_control_host.h"
#include "zoshm_testing_share_handle.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <sys/shm.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

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

} // namespace benchremote
