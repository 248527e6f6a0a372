#include "zocmn_net_connect_handle.h"

#include "zobase_myethx.h"
#include "zobase_mysafeio.h"
#include "zobase_mysafenet.h"
#include "zobase_mysystem.h"
#include "zocmm_change_count.h"
#include "zocmm_share_testing_keyword_def.h"
#include "zocmm_testing_confer_handle.h"
#include "zocmm_testing_confer_records.h"
#include "zocmn_net_connect_parse.h"
#include "zocmn_net_reject_log.h"
#include "zoplatform.h"
#include "zoshm_testing_share_handle.h"

#include <arpa/inet.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <net/if.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <time.h>
#include <unistd.h>
#include <vector>

netconnect_tcpsocket_parameter global_netconnect_ethtcp;
netconnect_udpsocket_parameter global_netconnect_ethudp;

namespace {

std::atomic<u32> local_sampling_counter{0};   // SIGALRM ticks (lock-free: safe in the handler)
std::atomic<u64> global_netconnect_current_mstime{0};
std::atomic<u64> acceptedCount{0};
std::atomic<u64> endedCount{0};
std::mutex local_tcpsocket_sendto_mutexlock;
std::atomic<void (*)()> endHandler{nullptr};
std::atomic<void (*)()> rebootHandler{nullptr};
std::atomic<void (*)(int)> exportHandler{nullptr};

constexpr u32 kBeaconBufferSize = 0x20000;
constexpr int kBeaconPeriodMs = 1200;
constexpr int kBeaconStateAt = CONFER_FRAME_PAYLOAD_AT + offsetof(machine_hello_info, device_connect_state);
constexpr int kBeaconPort0At = CONFER_FRAME_PAYLOAD_AT + offsetof(machine_hello_info, device_connect_port0);
constexpr int kBeaconPort1At = CONFER_FRAME_PAYLOAD_AT + offsetof(machine_hello_info, device_connect_port1);
// The longest sleeps of the push thread with nothing published and of the
// export thread with no export asked for: safety nets only, a publication,
// an answered request or the connection's end wakes them.
constexpr int kPushIdleWaitMs = 10000;
constexpr int kExportIdleWaitMs = 100;

// Answered requests, for the export thread: an export is asked for only by
// a request, and its frames follow that request's reply.
ZocmmChangeCount& requestsAnswered()
{
    static ZocmmChangeCount* r = new ZocmmChangeCount();   // still there for threads joined at exit
    return *r;
}

// The connection ends or the service stops: the sleeping threads look at once.
void wakeSleepers()
{
    shm_wake_publication_waiters();
    requestsAnswered().add();
}

// A real-time nap that resumes after a signal (the 100 ms SIGALRM).
void napUs(long us)
{
    timespec left{us / 1000000, (us % 1000000) * 1000};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

void napMs(long ms)
{
    napUs(ms * 1000);
}

void sfctr_timer_handler(int)
{
    local_sampling_counter.fetch_add(1, std::memory_order_relaxed);
}

// The interface and port of the machine segment's network part; a port of 0
// or above 65535 (the PC's writes refuse it, but any local process may write
// the segment) falls back to the platform's, as does an empty name.
void readNetworkPart(char (&name)[32], u32* port0, u32* port1)
{
    u32 p0 = 0;
    u32 p1 = 0;
    std::memset(name, 0, sizeof name);
    {
        ShmAccess access(ShmSide::Server, SHM_SEGMENT_MACHINE);
        if (access.held()) {
            const shm_machine_network_info& n = global_shm_machine->mchset.network;
            std::memcpy(name, n.device_eth_name, std::min(sizeof name, sizeof n.device_eth_name) - 1);
            p0 = n.device_connect_port0;
            p1 = n.device_connect_port1;
        }
    }
    if (name[0] == '\0') {
        const QByteArray fallback = zoplat::networkInterface().toLatin1();
        std::memcpy(name, fallback.constData(), std::min(sizeof name - 1, size_t(fallback.size())));
    }
    *port0 = (p0 == 0 || p0 > 0xFFFF) ? zoplat::beaconPort() : p0;
    *port1 = (p1 == 0 || p1 > 0xFFFF) ? zoplat::serverPort() : p1;
}

// Where the service's sockets bind: any address of the interface they are
// bound to; without binding to the device, the interface's own address
// (the loopback address when it has none), so nothing listens elsewhere.
in_addr_t bindAddress(const char* ethx)
{
    if (zoplat::bindToDevice())
        return htonl(INADDR_ANY);
    char text[32] = {};
    in_addr a{};
    if (_my_get_ethx_ip(ethx, text) == 0 && inet_pton(AF_INET, text, &a) == 1)
        return a.s_addr;
    return htonl(INADDR_LOOPBACK);
}

int bindToDevice(int fd, const char* ethx)
{
    char name[32] = {};
    std::memcpy(name, ethx, strnlen(ethx, sizeof name - 1));
    return setsockopt(fd, SOL_SOCKET, SO_BINDTODEVICE, name, sizeof name);
}

bool insideConnection()
{
    const netconnect_tcpsocket_parameter& t = global_netconnect_ethtcp;
    return t.connect_enable.load() && t.connect_successed.load() && !t.connect_restart.load()
        && t.connect_socket.load() >= 0;
}

bool threadsInside()
{
    const netconnect_tcpsocket_parameter& t = global_netconnect_ethtcp;
    return t.connect_n1running.load() || t.connect_n2running.load() || t.connect_n3running.load();
}

void stampBeat()
{
    netconnect_tcpsocket_parameter& t = global_netconnect_ethtcp;
    if (t.connect_beatmstime.load() == 0)
        t.connect_beatmstime = global_netconnect_current_mstime.load();
}

bool beatExpired(u64 extra)
{
    const netconnect_tcpsocket_parameter& t = global_netconnect_ethtcp;
    const u64 now = global_netconnect_current_mstime.load();
    const u64 beat = t.connect_beatmstime.load();
    return now > beat && now - beat > t.connect_beatmstimeout.load() + extra;
}

// A socket of the service bound to port on the interface: the TCP one
// listening (non-blocking), the UDP one able to broadcast; -1 when a step
// fails, said once (which step, the port, the system's reason) and told in
// failure.
int openServiceSocket(bool tcp, const char* ethx, u32 port, NetBindFailure* failure)
{
    const char* kind = tcp ? "TCP listen" : "UDP";
    const int fd = socket(AF_INET, (tcp ? SOCK_STREAM : SOCK_DGRAM) | SOCK_CLOEXEC, 0);
    const auto failed = [&](const char* step) {
        const int error = errno;
        printf("[ %s ] %s %s failed! port:%u, %s\n", ethx, kind, step, unsigned(port), strerror(error));
        fflush(stdout);
        if (fd >= 0)
            close(fd);
        if (failure)
            *failure = {tcp ? "TCP" : "UDP", port, error};
        return -1;
    };
    if (fd < 0)
        return failed("create");
    if (zoplat::bindToDevice() && bindToDevice(fd, ethx) != 0)
        return failed("SO_BINDTODEVICE");
    const int one = 1;
    if (tcp) {
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        _my_set_fcntl_flag(fd, 0, O_NONBLOCK);
    } else if (setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &one, sizeof one) != 0) {
        return failed("SO_BROADCAST");
    }
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(u16(port));
    a.sin_addr.s_addr = bindAddress(ethx);
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0)
        return failed("bind");
    if (tcp) {
        if (listen(fd, 1) != 0)
            return failed("socket");
        net_log_line("[ %s ] TCP listen create success! listen_socket: %d,port:%d", ethx, fd, int(port));
    }
    return fd;
}

// Clients that connected while a connection was up waited unserved in the
// backlog: dropped when it ends.
void dropWaitingClients(int listenFd)
{
    while (_my_wait_for_ready(listenFd, 0, 0) > 0) {
        const int fd = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            break;
        close(fd);
    }
}

void closeSocket(std::atomic<int>& socket)
{
    const int fd = socket.exchange(-1);
    if (fd >= 0)
        close(fd);
}

void setClientOptions(int fd, const char* ethx)
{
    if (zoplat::bindToDevice() && bindToDevice(fd, ethx) != 0)
        net_log_line("[ %s ] TCP accept SO_BINDTODEVICE failed!", ethx);
    const int one = 1;
    const int idle = 3;
    const int interval = 1;
    const int count = 5;
    const int sendBuffer = 0x400000;
    const int receiveBuffer = 0x200000;
    setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &one, sizeof one);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count);
    setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &sendBuffer, sizeof sendBuffer);
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
}

// Ends the connection: no thread may start on it; the socket is shut down
// at once (threads blocked on it return), and closed once the receive, push
// and export threads have left it.
void endConnection()
{
    netconnect_tcpsocket_parameter& t = global_netconnect_ethtcp;
    const char* ethx = t.device_eth_name;
    t.connect_restart = true;
    t.connect_successed = false;
    const int fd = t.connect_socket.load();
    if (fd >= 0)
        shutdown(fd, SHUT_RDWR);
    wakeSleepers();
    while (threadsInside())
        napMs(1);
    {
        ShmAccess access(ShmSide::Server, SHM_SEGMENT_CONTROL, SHM_CONTROL_LOCK_TRIES);
        if (access.held()) {
            global_shm_control->control.command_enables |= SHM_TESTING_CONTROL_ENABLE_STOPPING;
            global_shm_control->control.command_stopping_enable = 1;
            global_shm_control->ctrl.server_changes = 1;
        }
    }
    if (void (*handler)() = endHandler.load())
        handler();
    net_log_line("[ %s ] TCP close output!", ethx);
    net_log_line("[ %s ] TCP close!", ethx);
    t.connect_socket = -1;
    t.connect_addr = 0;
    t.connect_port = 0;
    if (fd >= 0)
        close(fd);
    endedCount.fetch_add(1);
}

// Sends one frame under the send mutex: its byte count, 0 when the socket
// did not become writable in time (the frame is dropped), < 0 on error.
int sendFrame(int fd, const u8* frame, u32 length)
{
    std::lock_guard<std::mutex> lock(local_tcpsocket_sendto_mutexlock);
    return _my_safe_write_timeout(fd, frame, int(length), NET_CONNECT_IO_WAIT_MS);
}

} // namespace

void net_connect_update_mstimer()
{
    global_netconnect_current_mstime = u64(local_sampling_counter.load(std::memory_order_relaxed)) * 100u;
}

u64 net_connect_current_mstime()
{
    return global_netconnect_current_mstime.load();
}

int sfctr_init_handle(long value_s, long value_us, long interval_s, long interval_us)
{
    struct sigaction action{};
    action.sa_handler = sfctr_timer_handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    itimerval timer{};
    timer.it_value.tv_sec = value_s;
    timer.it_value.tv_usec = value_us;
    timer.it_interval.tv_sec = interval_s;
    timer.it_interval.tv_usec = interval_us;
    if (sigaction(SIGALRM, &action, nullptr) != 0 || setitimer(ITIMER_REAL, &timer, nullptr) != 0) {
        printf("[SFS] FAILED TO SET THE TIMER ");
        return -1;
    }
    return 0;
}

std::atomic<int>& net_connect_transfer_mode()
{
    static std::atomic<int> mode{0};
    return mode;
}

void net_connect_set_end_handler(void (*handler)())
{
    endHandler = handler;
}

void net_connect_set_reboot_handler(void (*handler)())
{
    rebootHandler = handler;
}

void net_connect_set_export_handler(void (*handler)(int))
{
    exportHandler = handler;
}

int net_connect_send_export_frame(const u8* frame, u32 length)
{
    if (!insideConnection())
        return -1;
    if (sendFrame(global_netconnect_ethtcp.connect_socket.load(), frame, length) != int(length)) {
        global_netconnect_ethtcp.connect_restart = true;
        return -1;
    }
    return 0;
}

u64 net_connect_accepted_count()
{
    return acceptedCount.load();
}

u64 net_connect_ended_count()
{
    return endedCount.load();
}

void net_connect_init_handle()
{
    cmm_machine_reboot_flag().store(false);
    net_connect_transfer_mode() = 0;
    local_sampling_counter = 0;
    global_netconnect_current_mstime = 0;

    u32 port0 = 0;
    u32 port1 = 0;
    netconnect_tcpsocket_parameter& t = global_netconnect_ethtcp;
    readNetworkPart(t.device_eth_name, &port0, &port1);
    t.device_connect_port1 = port1;
    t.connect_successed = false;
    t.connect_restart = false;
    t.connect_n1running = false;
    t.connect_n2running = false;
    t.connect_n3running = false;
    t.connect_socket = -1;
    t.connect_addr = 0;
    t.connect_port = 0;
    t.connect_beginmstime = 0;
    t.connect_beatmstime = 0;
    t.connect_beatmstimeout = 0xFFFFFF;
    t.clocktime_mstime = 0;
    t.connect_enable = true;

    netconnect_udpsocket_parameter& u = global_netconnect_ethudp;
    std::memcpy(u.device_eth_name, t.device_eth_name, sizeof u.device_eth_name);
    u.device_connect_port0 = port0;
    u.connect_enable = true;

    signal(SIGPIPE, SIG_IGN);
    for (int i = 0; i < 1000 && sfctr_init_handle(0, 500000, 0, 100000) != 0; ++i) {
        printf("sfctr_init_handle failed!\n");
        napMs(1);
    }
}

int net_connect_open_sockets(NetBindFailure* failure)
{
    net_connect_close_sockets();
    netconnect_tcpsocket_parameter& t = global_netconnect_ethtcp;
    netconnect_udpsocket_parameter& u = global_netconnect_ethudp;
    const int listenFd = openServiceSocket(true, t.device_eth_name, t.device_connect_port1, failure);
    if (listenFd < 0)
        return -1;
    const int beaconFd = openServiceSocket(false, u.device_eth_name, u.device_connect_port0, failure);
    if (beaconFd < 0) {
        close(listenFd);
        return -1;
    }
    t.listen_socket = listenFd;
    u.beacon_socket = beaconFd;
    return 0;
}

void net_connect_close_sockets()
{
    closeSocket(global_netconnect_ethtcp.listen_socket);
    closeSocket(global_netconnect_ethudp.beacon_socket);
}

void net_connect_disable_handle()
{
    global_netconnect_ethtcp.connect_enable = false;
    global_netconnect_ethudp.connect_enable = false;
    wakeSleepers();
}

u32 net_connect_session_address()
{
    const netconnect_tcpsocket_parameter& t = global_netconnect_ethtcp;
    return t.connect_successed.load() ? t.connect_addr.load() : 0;
}

void* netconnect_start_tcpsocketnx(void*)
{
    netconnect_tcpsocket_parameter& t = global_netconnect_ethtcp;
    const char* ethx = t.device_eth_name;
    // Held from the service's start to its end: nothing else takes the port
    // meanwhile, and the service never binds it behind the interface's back.
    const int listenFd = t.listen_socket.exchange(-1);
    while (listenFd >= 0 && t.connect_enable.load()) {
        napMs(100);
        net_connect_update_mstimer();
        t.connect_successed = false;
        if (threadsInside())
            continue;
        net_log_line("[ %s ] TCP connect enable TRUE!", ethx);
        t.connect_restart = false;
        t.connect_beatmstime = 0;
        t.connect_addr = 0;
        t.connect_port = 0;

        bool ready = false;
        for (int passes = 0; t.connect_enable.load() && passes < 50000; ++passes) {
            napMs(1);
            net_connect_update_mstimer();
            const int r = _my_wait_for_ready(listenFd, 2000, 0);
            if (r > 0) {
                net_log_line("_my_wait_for_ready: %d", r);
                ready = true;
                break;
            }
        }
        if (!ready)
            continue;

        sockaddr_in peer{};
        socklen_t peerLength = sizeof peer;
        const int fd = accept4(listenFd, reinterpret_cast<sockaddr*>(&peer), &peerLength, SOCK_CLOEXEC);
        if (fd < 0) {
            napMs(10);
            continue;
        }
        const u32 ip = ntohl(peer.sin_addr.s_addr);
        net_log_line("[ %s ] TCP new connection:%d IP:%d.%d.%d.%d!", ethx, fd, int(ip >> 24), int((ip >> 16) & 0xFF),
                     int((ip >> 8) & 0xFF), int(ip & 0xFF));
        setClientOptions(fd, ethx);
        t.connect_addr = peer.sin_addr.s_addr;
        t.connect_port = ntohs(peer.sin_port);
        t.connect_socket = fd;

        net_connect_update_mstimer();
        t.connect_beatmstime = 0;
        t.connect_beatmstimeout = NET_CONNECT_FIRST_BEAT_MS;
        t.connect_beginmstime = net_connect_current_mstime();
        t.connect_successed = true;
        acceptedCount.fetch_add(1);
        net_log_line("[ %s ] TCP connect success!", ethx);
        napMs(10);

        while (t.connect_enable.load() && t.connect_successed.load() && !t.connect_restart.load()
               && !(t.connect_n1running.load() && t.connect_n2running.load() && t.connect_n3running.load())) {
            napMs(100);
            net_connect_update_mstimer();
            stampBeat();
            if (beatExpired(8000)) {
                net_log_line("[ %s ] TCP connect waiting for connect_running timeout!", ethx);
                t.connect_restart = true;
            }
        }
        while (insideConnection()) {
            napMs(100);
            net_connect_update_mstimer();
            stampBeat();
            if (beatExpired(0)) {
                net_log_line("[ %s ] TCP connect beat timeout! beatTime:%llu, current:%llu", ethx,
                             static_cast<unsigned long long>(t.connect_beatmstime.load()),
                             static_cast<unsigned long long>(net_connect_current_mstime()));
                t.connect_restart = true;
                shutdown(fd, SHUT_RDWR);
            }
        }
        fflush(stdout);
        endConnection();
        dropWaitingClients(listenFd);
        if (cmm_machine_reboot_flag().load()) {
            close(listenFd);
            napMs(2000);
            _my_system_reboot();
            if (void (*handler)() = rebootHandler.load())
                handler();
            return nullptr;
        }
    }
    if (listenFd >= 0)
        close(listenFd);
    return nullptr;
}

// The receive thread's side of a connection: what came from the socket
// (requests, the last perhaps in part) and the request being answered, whose
// reply is written over it, never over the requests that follow it.
class ReceivedFrames
{
public:
    ReceivedFrames()
        : received(CONFER_BUFFER_SIZE)
        , frame(CONFER_BUFFER_SIZE)
    {
    }

    void clear() { begin = end = 0; }

    // The next whole request, copied into the frame buffer: its size; 0
    // while it has not all come; -1 when its header is not a valid one.
    int next()
    {
        const u32 have = end - begin;
        if (have < CONFER_FRAME_HEAD_SIZE)
            return 0;
        u32 total = 0;
        if (net_frame_expected_size(&received[begin], &total) != 0)
            return -1;
        if (have < total)
            return 0;
        std::memcpy(frame.data(), &received[begin], total);
        begin += total;
        return int(total);
    }

    // Reads what the socket holds now behind the bytes kept (room is left:
    // they are less than one request of at most 0x1FFF80 bytes): > 0 bytes
    // read, 0 the peer closed, < 0 an error (errno; EAGAIN: nothing there).
    ssize_t read(int fd)
    {
        if (begin > 0) {
            std::memmove(received.data(), &received[begin], end - begin);
            end -= begin;
            begin = 0;
        }
        const ssize_t n = recv(fd, &received[end], received.size() - end, MSG_DONTWAIT);
        if (n > 0)
            end += u32(n);
        return n;
    }

    u8* frameBuffer() { return frame.data(); }

private:
    std::vector<u8> received;
    std::vector<u8> frame;
    u32 begin = 0;   // unanswered bytes: received[begin, end)
    u32 end = 0;
};

void* netconnect_start_tcpsocketn1(void*)
{
    netconnect_tcpsocket_parameter& t = global_netconnect_ethtcp;
    const char* ethx = t.device_eth_name;
    ReceivedFrames frames;
    u8* buf = frames.frameBuffer();
    while (t.connect_enable.load()) {
        napMs(100);
        if (!t.connect_successed.load() || t.connect_restart.load())
            continue;
        frames.clear();
        net_reject_connection_begin();
        for (;;) {
            t.connect_n1running = true;   // before the check: the listener sees it or we see its end
            if (!insideConnection())
                break;
            const int fd = t.connect_socket.load();
            const int have = frames.next();
            if (have < 0) {
                net_log_line("[ %s ] TCP1 socket(%d) command parse error!", ethx, fd);
                t.connect_restart = true;
                break;
            }
            if (have == 0) {
                // The rest of a request: wait on the socket itself (a
                // connection that ends shuts it down, which wakes the wait).
                const int ready = _my_wait_for_ready(fd, NET_CONNECT_IO_WAIT_MS, 0);
                const ssize_t n = ready > 0 ? frames.read(fd) : ready;
                if (n == 0 && ready > 0) {
                    net_log_line("[ %s ] TCP1 socket(%d) closed by the peer!", ethx, fd);
                    t.connect_restart = true;
                    break;
                }
                if (n < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
                    net_log_line("[ %s ] TCP1 socket(%d) command recv error(%d)!", ethx, fd, errno);
                    t.connect_restart = true;
                    break;
                }
                continue;
            }
            u32 replyLength = 0;
            if (net_parse_protocol_connectx(buf, u32(have), &replyLength, CONFER_BUFFER_SIZE, 30) != 0) {
                net_log_line("[ %s ] TCP1 socket(%d) command parse error!", ethx, fd);
                t.connect_restart = true;
                break;
            }
            const int sent = sendFrame(fd, buf, replyLength);
            if (sent == 0 || sent == int(replyLength)) {
                // 0 would read as "not stamped" (before the timer's first tick).
                t.connect_beatmstime = std::max<u64>(net_connect_current_mstime(), 1);
                t.connect_beatmstimeout = NET_CONNECT_BEAT_MS;
                requestsAnswered().add();
            } else {
                net_log_line("[ %s ] TCP11 socket(%d) command restart!send_cnt:%d, send_len:%d", ethx, fd, sent,
                             int(replyLength));
                t.connect_restart = true;
                break;
            }
            if (cmm_machine_reboot_flag().load()) {
                t.connect_restart = true;
                t.connect_enable = false;
                break;
            }
        }
        net_reject_connection_end();
        t.connect_n1running = false;
        if (cmm_machine_reboot_flag().load())
            break;
        napMs(1);
    }
    t.connect_n1running = false;
    return nullptr;
}

void* netconnect_start_tcpsocketn2(void*)
{
    netconnect_tcpsocket_parameter& t = global_netconnect_ethtcp;
    std::vector<u8> buffer(CONFER_BUFFER_SIZE);
    while (t.connect_enable.load()) {
        napMs(100);
        if (!t.connect_successed.load() || t.connect_restart.load())
            continue;
        for (;;) {
            t.connect_n2running = true;
            if (!insideConnection())
                break;
            const int fd = t.connect_socket.load();
            // Counted before the look: a record published after it wakes the wait.
            const u64 seen = shm_publication_count();
            u32 length = 0;
            if (net_pack_protocol_connectx(buffer.data(), &length, CONFER_BUFFER_SIZE) != 0) {
                // Nothing to push; the clock query of a second yields nothing.
                const u64 now = net_connect_current_mstime();
                if (now - t.clocktime_mstime.load() > 1000)
                    t.clocktime_mstime = now;
                // Asleep until the Qt side publishes or the connection ends.
                shm_wait_publication(seen, kPushIdleWaitMs);
                continue;
            }
            const int sent = sendFrame(fd, buffer.data(), length);
            if (sent < 0 || (sent > 0 && sent != int(length))) {
                t.connect_restart = true;
                break;
            }
        }
        t.connect_n2running = false;
        if (cmm_machine_reboot_flag().load())
            break;
        napMs(100);
    }
    t.connect_n2running = false;
    return nullptr;
}

void* netconnect_export_filse(void*)
{
    netconnect_tcpsocket_parameter& t = global_netconnect_ethtcp;
    while (t.connect_enable.load()) {
        napMs(100);
        if (!t.connect_successed.load() || t.connect_restart.load())
            continue;
        for (;;) {
            t.connect_n3running = true;
            if (!insideConnection())
                break;
            const u64 seen = requestsAnswered().count();
            int mode = net_connect_transfer_mode().load();
            if (mode >= 1 && mode <= 3) {
                // The handler sets the mode back to 0 before its last frame.
                if (void (*handler)(int) = exportHandler.load())
                    handler(mode);
                else
                    net_connect_transfer_mode().compare_exchange_strong(mode, 0);
                continue;
            }
            // Asleep until a request was answered or the connection ends.
            requestsAnswered().wait(seen, kExportIdleWaitMs);
        }
        t.connect_n3running = false;
        if (cmm_machine_reboot_flag().load())
            break;
        napMs(100);
    }
    t.connect_n3running = false;
    return nullptr;
}

void* netconnect_start_udpsocketx(void*)
{
    netconnect_udpsocket_parameter& u = global_netconnect_ethudp;
    const char* ethx = u.device_eth_name;
    std::vector<u8> buffer(kBeaconBufferSize);
    // Bound at the service's start and held to its end, as the listener's.
    const int fd = u.beacon_socket.exchange(-1);
    if (fd < 0)
        return nullptr;
    u32 length = 0;
    while (u.connect_enable.load()
           && net_pack_protocol_broadcast(CONFER_MESSAGE_VERSION01, CONFER_MESSAGE_COMMAND_GETTESTINGMACHINE,
                                          SHARE_TESTING_MACHINE_TYPE_HELLO, buffer.data(), &length, kBeaconBufferSize)
                  != 0) {
        printf("[ %s ] UDP confer packing failed!\n", ethx);
        napMs(100);
    }
    // The ports the service uses, whatever the segment holds by now.
    const u32 port1 = global_netconnect_ethtcp.device_connect_port1;
    std::memcpy(buffer.data() + kBeaconPort0At, &u.device_connect_port0, sizeof(u32));
    std::memcpy(buffer.data() + kBeaconPort1At, &port1, sizeof port1);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(zoplat::beaconDestinationPort(u16(u.device_connect_port0)));
    if (inet_pton(AF_INET, zoplat::beaconDestination().toLatin1().constData(), &to.sin_addr) != 1)
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    while (u.connect_enable.load()) {
        const u32 state = net_connect_session_address() != 0 ? 1 : 0;
        std::memcpy(buffer.data() + kBeaconStateAt, &state, sizeof state);
        _my_safe_sendto(fd, buffer.data(), int(length), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
        for (int waited = 0; waited < kBeaconPeriodMs && u.connect_enable.load(); waited += 100)
            napMs(100);
    }
    close(fd);
    return nullptr;
}
