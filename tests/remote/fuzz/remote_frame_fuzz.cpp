// Fuzz entry point for the frame layer: one input is one received frame,
// parsed and dispatched as the receive thread does, then the pushed frames
// are packed. The segments lie under a key base of this process (removed when
// it ends, also by a crash), device paths in a private sandbox, and the
// runner and the command stand-ins only record.
//
// Built by test_remote to replay the seeds (RemoteFuzzReplayTest) and by the
// fuzz build as fuzz_remote_frame (seeds in tests/fuzz/seeds).

#include "CommNetCtrlBase.h"
#include "zocmn_net_connect_parse.h"
#include "zoplatform.h"
#include "zoplatform_control_host.h"
#include "zoshm_testing_share_handle.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <cstring>
#include <sys/shm.h>
#include <unistd.h>
#include <vector>

namespace {

key_t fuzzKeyBase()
{
    return key_t(0x20000000u | ((uint32_t(getpid()) & 0xFFFFu) << 8) | 0x35u);
}

void removeFuzzKeys()
{
    shm_release_testing_handle();
    for (uint32_t i = 0; i < SHM_SEGMENT_COUNT; ++i) {
        const int id = shmget(key_t(uint32_t(fuzzKeyBase()) + i * SHM_KEY_STEP), 0, 0);
        if (id >= 0)
            shmctl(id, IPC_RMID, nullptr);
    }
}

bool prepare()
{
    static QTemporaryDir* sandbox = new QTemporaryDir();
    zoplat::host::setSandboxRoot(sandbox->path());
    zoplat::host::setSharedMemoryKeyBase(fuzzKeyBase());
    // A network write may rewrite this file (the address check passes).
    QDir().mkpath(sandbox->filePath("etc/network"));
    QFile f(sandbox->filePath("etc/network/interfaces"));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write("iface lo inet static\n      address 127.0.0.1\n");
    std::atexit(removeFuzzKeys);
    if (netCtrlInit() != 0)
        return false;
    // Marked for removal now: they stay attached until the process ends,
    // and go with it even when it ends by a crash.
    for (int i = 0; i < SHM_SEGMENT_COUNT; ++i)
        shmctl(shm_testing_id(i), IPC_RMID, nullptr);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = prepare();
    if (!ready)
        return 0;
    static std::vector<uint8_t> buffer(CONFER_BUFFER_SIZE);
    if (size > buffer.size())
        return 0;
    std::memcpy(buffer.data(), data, size);
    uint32_t reply = 0;
    if (net_parse_protocol_connectx(buffer.data(), uint32_t(size), &reply, uint32_t(buffer.size()), 20) == 0
        && (reply < 14 || reply > buffer.size()))
        std::abort();
    uint32_t length = 0;
    for (int i = 0; i < 4 && net_pack_protocol_connectx(buffer.data(), &length, uint32_t(buffer.size())) == 0; ++i) {
        if (length < 14 || length > 12 + 65524)
            std::abort();
    }
    netCtrl_clearRecordedCalls();
    return 0;
}
