#pragma once

// The service's frame layer in process, on segments under the test's own
// key base (removed again by the fixture) and a sandbox for device paths.

#include "CommNetCtrlBase.h"
#include "RemoteClient.h"
#include "TestSandbox.h"
#include "zocmn_net_connect_parse.h"
#include "zoplatform.h"
#include "zoplatform_control_host.h"
#include "zoshm_testing_share_handle.h"

#include <gtest/gtest.h>

#include <QFile>

#include <fcntl.h>
#include <optional>
#include <sys/shm.h>
#include <unistd.h>
#include <vector>

namespace remotetest {

// Keys base + i x 0x01000000: a top byte of 0x10..0x1A, the pid below.
inline key_t testKeyBase()
{
    return key_t(0x10000000u | ((uint32_t(getpid()) & 0xFFFFu) << 8) | 0x35u);
}

// Removes every segment under the test's keys (the nine and two beyond).
inline void removeTestKeys()
{
    for (uint32_t i = 0; i < 11; ++i) {
        const int id = shmget(key_t(uint32_t(testKeyBase()) + i * SHM_KEY_STEP), 0, 0);
        if (id >= 0)
            shmctl(id, IPC_RMID, nullptr);
    }
}

// What work() writes on standard output (through the file `path`).
template <typename Work>
QByteArray stdoutOf(const QString& path, Work work)
{
    fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    const int fd = open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    dup2(fd, STDOUT_FILENO);
    close(fd);
    work();
    fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What work() writes on standard output and standard error (through the file `path`).
template <typename Work>
QByteArray outputOf(const QString& path, Work work)
{
    return stdoutOf(path, [&work] {
        fflush(stderr);
        const int saved = dup(STDERR_FILENO);
        dup2(STDOUT_FILENO, STDERR_FILENO);
        work();
        fflush(stderr);
        dup2(saved, STDERR_FILENO);
        close(saved);
    });
}

class RemoteTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sandbox.isValid());
        zoplat::host::reset();
        zoplat::host::setSandboxRoot(sandbox.filePath("root"));
        zoplat::host::setSharedMemoryKeyBase(testKeyBase());
        removeTestKeys();
        netCtrl_clearRecordedCalls();
        ASSERT_EQ(netCtrlInit(), 0);
        zoplat::host::clearRecordedCommands();
    }

    void TearDown() override
    {
        shm_set_lock_nap(nullptr);
        shm_release_testing_handle();
        removeTestKeys();
        zoplat::host::reset();
    }

    // One request through the parser: the reply frame, or nothing (protocol error).
    // The buffer is zeroed as a new one would be, but kept: a new 2 MiB block
    // each time is mapped afresh under the sanitizers (minutes for 10,000 requests).
    std::optional<QByteArray> exchange(const QByteArray& request)
    {
        exchangeBuffer.assign(CONFER_BUFFER_SIZE, 0);
        std::memcpy(exchangeBuffer.data(), request.constData(), size_t(request.size()));
        uint32_t reply = 0;
        if (net_parse_protocol_connectx(exchangeBuffer.data(), uint32_t(request.size()), &reply, CONFER_BUFFER_SIZE, 20) != 0)
            return std::nullopt;
        return QByteArray(reinterpret_cast<const char*>(exchangeBuffer.data()), int(reply));
    }

    // The reply's body after the sub-id (status byte or record).
    QByteArray answer(const QByteArray& request)
    {
        const std::optional<QByteArray> reply = exchange(request);
        if (!reply)
            return "no reply";
        const std::optional<pc::Frame> f = pc::decode(*reply);
        return f ? f->payload : QByteArray("bad reply");
    }

    // Every pushed frame waiting now, in the order they come.
    std::vector<pc::Frame> pushedFrames()
    {
        std::vector<pc::Frame> frames;
        std::vector<uint8_t> buffer(CONFER_BUFFER_SIZE);
        uint32_t length = 0;
        while (net_pack_protocol_connectx(buffer.data(), &length, CONFER_BUFFER_SIZE) == 0 && frames.size() < 10)
            frames.push_back(*pc::decode(QByteArray(reinterpret_cast<const char*>(buffer.data()), int(length))));
        return frames;
    }

    TestSandbox sandbox;
    std::vector<uint8_t> exchangeBuffer;
};

} // namespace remotetest
