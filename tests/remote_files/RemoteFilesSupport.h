#pragma once

// The network service's threads alone (no engine) with a PC on 127.0.0.1:
// free ports, segments under this process's own key base (removed again),
// the application root and the device sandbox in a temporary folder.

#include "CommNetCtrlBase.h"
#include "RemoteClient.h"
#include "TestSandbox.h"
#include "zocmn_net_connect_handle.h"
#include "zoplatform.h"
#include "zoplatform_control_host.h"
#include "zoshm_testing_share_handle.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>

#include <arpa/inet.h>
#include <cerrno>
#include <map>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <sys/shm.h>
#include <sys/socket.h>
#include <unistd.h>

namespace remotefiles {

inline key_t keyBase()
{
    return key_t(0x40000000u | ((uint32_t(getpid()) & 0xFFFFu) << 8) | 0x38u);
}

inline void removeKeys()
{
    for (uint32_t i = 0; i < SHM_SEGMENT_COUNT; ++i) {
        const int id = shmget(key_t(uint32_t(keyBase()) + i * SHM_KEY_STEP), 0, 0);
        if (id >= 0)
            shmctl(id, IPC_RMID, nullptr);
    }
}

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

template <typename F>
bool waitFor(F condition, int timeoutMs = 5000)
{
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > timeoutMs)
            return false;
        usleep(5000);
    }
    return true;
}

// The PC: blocking reads with a time-out.
class Pc
{
public:
    ~Pc() { closeSocket(); }

    bool connectTo(uint16_t port)
    {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        for (int tries = 0; tries < 100; ++tries) {
            fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0)
                return true;
            closeSocket();
            usleep(50000);
        }
        return false;
    }
    void send(const QByteArray& bytes) { (void)!::write(fd, bytes.constData(), size_t(bytes.size())); }
    // The next frame, or nothing after the time-out or the end of the connection.
    std::optional<pc::Frame> next(int timeoutMs = 5000)
    {
        for (;;) {
            if (pending.size() >= 12) {
                const int total = int(pc::Bytes(pending).u32(8) + 12u);
                if (pending.size() >= total) {
                    auto f = pc::decode(pending.left(total));
                    pending.remove(0, total);
                    return f;
                }
            }
            // The service's interval timer interrupts waits in every thread.
            pollfd p{fd, POLLIN, 0};
            const int ready = poll(&p, 1, timeoutMs);
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready <= 0)
                return std::nullopt;
            char buf[65536];
            const ssize_t n = recv(fd, buf, sizeof buf, 0);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return std::nullopt;
            pending.append(buf, int(n));
        }
    }
    // The next frame of the command and sub-id (pushed frames skipped).
    std::optional<pc::Frame> nextOf(uint16_t command, std::initializer_list<uint16_t> subids, int timeoutMs = 5000)
    {
        while (auto f = next(timeoutMs)) {
            for (uint16_t s : subids) {
                if (f->command == command && f->subid == s)
                    return f;
            }
        }
        return std::nullopt;
    }
    // A file-transfer request's status byte, or -1 without a reply.
    int ask(uint16_t subid, const QByteArray& payload)
    {
        send(pc::frame(pc::TransferFile, subid, payload));
        const auto reply = nextOf(pc::TransferFile, {subid});
        return reply && reply->payload.size() == 1 ? uint8_t(reply->payload.at(0)) : -1;
    }
    void closeSocket()
    {
        if (fd >= 0)
            close(fd);
        fd = -1;
        pending.clear();
    }

    int fd = -1;
    QByteArray pending;
};

inline QByteArray headRecord(const QByteArray& name, uint32_t size)
{
    pc::Bytes b(68);
    b.raw(0, name.constData(), std::min(64, name.size()));
    return b.u32(64, size).data;
}

inline QByteArray chunkRecord(const QByteArray& data, uint32_t length)
{
    pc::Bytes b(1028);
    b.raw(4, data.constData(), std::min(1024, data.size()));
    return b.u32(0, length).data;
}

// Every file under a folder (hidden ones included) with its bytes.
inline std::map<QString, QByteArray> tree(const QString& root)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        files[QDir(root).relativeFilePath(path)] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<dir>");
    }
    return files;
}

class RemoteFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sandbox.isValid());
        zoplat::host::reset();
        zoplat::host::setSandboxRoot(sandbox.filePath("root"));
        zoplat::host::setSharedMemoryKeyBase(keyBase());
        removeKeys();
        ASSERT_TRUE(QDir().mkpath(sandbox.filePath("app")));
        oldCurrent = QDir::currentPath();
        QDir::setCurrent(sandbox.filePath("app"));
        serverPort = freePort(SOCK_STREAM);
        zoplat::host::setServerPort(serverPort);
        zoplat::host::setBeaconPort(freePort(SOCK_DGRAM));
        ASSERT_EQ(netCtrlInit(), 0);
        ASSERT_EQ(netCtrl_StartNetService(), 0);
        ASSERT_TRUE(pcSide.connectTo(serverPort));
    }

    void TearDown() override
    {
        pcSide.closeSocket();
        netCtrl_StopNetService();
        QDir::setCurrent(oldCurrent);
        shm_release_testing_handle();
        removeKeys();
        zoplat::host::reset();
    }

    QString app(const QString& name = {}) const { return sandbox.filePath("app/" + name); }
    int command(uint8_t mode) { return pcSide.ask(0xF503, QByteArray(1, char(mode))); }
    int head(const QByteArray& name, uint32_t size) { return pcSide.ask(0xF504, headRecord(name, size)); }
    int chunk(const QByteArray& data) { return pcSide.ask(0xF505, chunkRecord(data, uint32_t(data.size()))); }
    // Sends a whole file: its head, then chunks of 1024 bytes; the replies in order.
    std::vector<int> sendFile(const QByteArray& name, const QByteArray& bytes)
    {
        std::vector<int> replies{head(name, uint32_t(bytes.size()))};
        for (int at = 0; at < bytes.size(); at += 1024)
            replies.push_back(chunk(bytes.mid(at, 1024)));
        return replies;
    }

    TestSandbox sandbox;
    QString oldCurrent;
    uint16_t serverPort = 0;
    Pc pcSide;
};

} // namespace remotefiles
