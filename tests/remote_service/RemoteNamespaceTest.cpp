// The service on a real "eth0": in network namespaces this test creates (a
// user namespace with a network namespace; a veth pair whose end eth0 serves
// and whose peer, moved into a second namespace, is the PC), never on the
// machine's interfaces. Where the kernel refuses namespaces the test is
// skipped, naming the refused call; the loopback tests check the same.

#include "../remote/RemoteClient.h"

#include "CommNetCtrlBase.h"
#include "zoplatform.h"
#include "zoplatform_control_host.h"
#include "zoshm_testing_share_handle.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <sys/shm.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kSkipped = 77;
constexpr uint16_t kServerPort = 10901;
constexpr uint16_t kBeaconPort = 10801;
constexpr uint16_t kBeaconDestination = 10801;   // a broadcast reaches the peer on the beacon port
const char* const kServiceAddress = "10.77.0.1";

void say(int fd, const QByteArray& text)
{
    (void)!write(fd, text.constData(), size_t(text.size()));
}

QByteArray readAll(int fd)
{
    QByteArray all;
    char buf[512];
    ssize_t n;
    while ((n = read(fd, buf, sizeof buf)) > 0)
        all.append(buf, int(n));
    return all;
}

bool writeFile(const char* path, const QByteArray& text)
{
    const int fd = open(path, O_WRONLY);
    const bool ok = fd >= 0 && write(fd, text.constData(), size_t(text.size())) == text.size();
    if (fd >= 0)
        close(fd);
    return ok;
}

// The PC in the peer namespace: the beacon's broadcast, then a connection
// and a hello. "ok" or what failed.
QByteArray runPc()
{
    const int udp = socket(AF_INET, SOCK_DGRAM, 0);
    const int one = 1;
    setsockopt(udp, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(kBeaconDestination);
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(udp, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0)
        return "peer: bind " + QByteArray(strerror(errno));
    pollfd p{udp, POLLIN, 0};
    if (poll(&p, 1, 8000) <= 0)
        return "peer: no beacon";
    char beacon[512];
    const ssize_t got = recv(udp, beacon, sizeof beacon, 0);
    close(udp);
    if (got != 198)
        return "peer: beacon of " + QByteArray::number(qint64(got)) + " bytes";
    if (pc::Bytes(QByteArray(beacon, int(got))).text(14 + 112, 16) != kServiceAddress)
        return "peer: beacon address " + pc::Bytes(QByteArray(beacon, int(got))).text(14 + 112, 16);

    const int tcp = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in s{};
    s.sin_family = AF_INET;
    s.sin_port = htons(kServerPort);
    inet_pton(AF_INET, kServiceAddress, &s.sin_addr);
    bool connected = false;
    for (int i = 0; i < 50 && !connected; ++i) {
        connected = connect(tcp, reinterpret_cast<sockaddr*>(&s), sizeof s) == 0;
        if (!connected)
            usleep(100000);
    }
    if (!connected)
        return "peer: connect " + QByteArray(strerror(errno));
    const QByteArray hello = pc::frame(pc::GetMachine, pc::Hello);
    (void)!write(tcp, hello.constData(), size_t(hello.size()));
    QByteArray reply(198, '\0');
    if (recv(tcp, reply.data(), 198, MSG_WAITALL) != 198)
        return "peer: no hello reply";
    close(tcp);
    if (pc::Bytes(reply).text(14 + 112, 16) != kServiceAddress)
        return "peer: hello address " + pc::Bytes(reply).text(14 + 112, 16);
    return "ok";
}

// The interfaces the service's sockets are bound to.
QByteArray boundDevices()
{
    QByteArray names;
    if (DIR* d = opendir("/proc/self/fd")) {
        while (dirent* e = readdir(d)) {
            char name[32] = {};
            socklen_t n = sizeof name;
            if (getsockopt(atoi(e->d_name), SOL_SOCKET, SO_BINDTODEVICE, name, &n) == 0 && name[0])
                names += QByteArray(name) + ' ';
        }
        closedir(d);
    }
    return names;
}

// The namespaces and the service (forked child): exit 0, kSkipped with the
// refused call, or 1 with what failed, all told through `out`.
int runInNamespaces(int out)
{
    const uid_t uid = getuid();
    const gid_t gid = getgid();
    if (unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0) {
        say(out, "unshare(CLONE_NEWUSER | CLONE_NEWNET): " + QByteArray(strerror(errno)));
        return kSkipped;
    }
    writeFile("/proc/self/setgroups", "deny");
    if (!writeFile("/proc/self/uid_map", "0 " + QByteArray::number(uid) + " 1")
        || !writeFile("/proc/self/gid_map", "0 " + QByteArray::number(gid) + " 1")) {
        say(out, "write(/proc/self/uid_map): " + QByteArray(strerror(errno)));
        return kSkipped;
    }
    if (system("ip link add eth0 type veth peer name peer0 && ip addr add 10.77.0.1/24 dev eth0 "
               "&& ip link set eth0 up && ip link set lo up")
        != 0) {
        say(out, "ip link add eth0 type veth: refused");
        return kSkipped;
    }

    int ready[2];
    int go[2];
    int result[2];
    if (pipe(ready) != 0 || pipe(go) != 0 || pipe(result) != 0)
        return 1;
    const pid_t peer = fork();
    if (peer == 0) {
        close(ready[0]);
        close(go[1]);
        close(result[0]);
        if (unshare(CLONE_NEWNET) != 0) {
            say(result[1], "unshare(CLONE_NEWNET) for the peer: " + QByteArray(strerror(errno)));
            _exit(1);
        }
        say(ready[1], "r");
        char c;
        if (read(go[0], &c, 1) != 1 || system("ip addr add 10.77.0.2/24 dev peer0 && ip link set peer0 up") != 0) {
            say(result[1], "peer: set-up failed");
            _exit(1);
        }
        say(result[1], runPc());
        _exit(0);
    }
    close(ready[1]);
    close(go[0]);
    close(result[1]);
    char c;
    if (read(ready[0], &c, 1) != 1)
        return 1;
    if (system(("ip link set peer0 netns " + QByteArray::number(peer)).constData()) != 0) {
        say(out, "ip link set peer0 netns: failed");
        return 1;
    }

    zoplat::host::setNetworkInterface("eth0");
    zoplat::host::setBindToDevice(true);
    zoplat::host::setBeaconDestination("255.255.255.255");
    zoplat::host::setBeaconDestinationPort(kBeaconDestination);
    zoplat::host::setBeaconPort(kBeaconPort);
    zoplat::host::setServerPort(kServerPort);
    zoplat::host::setSharedMemoryKeyBase(key_t(0x32000000u | ((uint32_t(getpid()) & 0xFFFFu) << 8) | 0x36u));
    int status = 1;
    if (netCtrlInit() == 0 && netCtrl_StartNetService() == 0) {
        say(go[1], "g");
        const QByteArray pcResult = readAll(result[0]);
        const QByteArray devices = boundDevices();
        netCtrl_StopNetService();
        if (pcResult != "ok")
            say(out, pcResult);
        else if (!devices.contains("eth0"))
            say(out, "sockets bound to: " + devices);
        else
            status = 0;
    } else {
        say(out, "the service did not start");
        say(go[1], "g");
    }
    waitpid(peer, nullptr, 0);
    shm_release_testing_handle();
    for (int i = 0; i < SHM_SEGMENT_COUNT; ++i) {
        const int id = shmget(shm_testing_key(i), 0, 0);
        if (id >= 0)
            shmctl(id, IPC_RMID, nullptr);
    }
    return status;
}

TEST(RemoteNamespace, ServiceBoundToEth0AnswersAndBroadcastsToThePeer)
{
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(out[0]);
        const int status = runInNamespaces(out[1]);
        close(out[1]);
        _exit(status);
    }
    close(out[1]);
    const QByteArray message = readAll(out[0]);
    close(out[0]);
    int st = 0;
    ASSERT_EQ(waitpid(child, &st, 0), child);
    ASSERT_TRUE(WIFEXITED(st));
    if (WEXITSTATUS(st) == kSkipped)
        GTEST_SKIP() << "network namespaces refused: " << message.constData();
    EXPECT_EQ(WEXITSTATUS(st), 0) << message.constData();
}

} // namespace
