// Fuzz entry point for the frame layer: one input is one received frame,
// parsed and dispatched as the receive thread does, then the pushed frames
// are packed; the same bytes also go through the test parameter records'
// conversions. The segments lie under a key base of this process (removed when
// it ends, also by a crash), device paths in a private temporary folder
// (removed when it ends), and the runner and the command stand-ins only record.
//
// Built by test_remote to replay the seeds (RemoteFuzzReplayTest) and by the
// fuzz build as fuzz_remote_frame (seeds in tests/fuzz/seeds).

#include "CommNetCtrlBase.h"
#include "NetParameterRecords.h"
#include "zocmn_net_connect_parse.h"
#include "zoplatform.h"
#include "zoplatform_control_host.h"
#include "zoshm_testing_share_handle.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sys/shm.h>
#include <sys/stat.h>
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

// The device sandbox, removed when the process ends.
QTemporaryDir& sandbox()
{
    static QTemporaryDir dir;
    return dir;
}

// A network write may rewrite this file (the address check passes): each
// input starts from the same one. A write replaces the file (a new one
// renamed over it), so it is written again, as a new file, only when it is
// not the one written here: a read, or a rewrite in place, would cost more
// than the rest of an input.
void writeInterfaces()
{
    static struct stat written = {};
    static const QByteArray path = QFile::encodeName(sandbox().filePath("etc/network/interfaces"));
    struct stat now = {};
    if (stat(path.constData(), &now) == 0 && now.st_ino == written.st_ino && now.st_size == written.st_size
        && now.st_mtim.tv_sec == written.st_mtim.tv_sec && now.st_mtim.tv_nsec == written.st_mtim.tv_nsec)
        return;
    unlink(path.constData());
    QFile f(QFile::decodeName(path));
    if (f.open(QIODevice::WriteOnly))
        f.write("iface lo inet static\n      address 127.0.0.1\n");
    f.close();
    stat(path.constData(), &written);
}

bool prepare()
{
    zoplat::host::setSandboxRoot(sandbox().path());
    zoplat::host::setSharedMemoryKeyBase(fuzzKeyBase());
    QDir().mkpath(sandbox().filePath("etc/network"));
    std::atexit(removeFuzzKeys);
    if (netCtrlInit() != 0)
        return false;
    // Marked for removal now: they stay attached until the process ends,
    // and go with it even when it ends by a crash.
    for (int i = 0; i < SHM_SEGMENT_COUNT; ++i)
        shmctl(shm_testing_id(i), IPC_RMID, nullptr);
    return true;
}

// The input as each test parameter record (cut or zero-filled to its size)
// through the conversions: a taken record holds only indices its entity has.
void convertRecords(const uint8_t* data, size_t size)
{
    NetRecordLimits limits;
    limits.maxVRange = 130.0;
    limits.maxIRange = 30.0;
    limits.rateFrequency = 50.0;
    limits.ditherTime = 0.005;
    auto sized = [&](size_t n) {
        std::vector<uint8_t> r(n, 0);
        std::memcpy(r.data(), data, std::min(n, size));
        return r;
    };
    const auto ac = sized(4920);
    NetAlternateSettings a;
    if (netDecodeAlternate(ac.data(), u32(ac.size()), limits, a) && (a.faultActionItem < 0 || a.faultActionItem > 2))
        std::abort();
    const auto st = sized(2738);
    NetStateSettings s;
    if (netDecodeState(st.data(), u32(st.size()), limits, s) && (s.state < 0 || s.state >= 32))
        std::abort();
    const auto ha = sized(9630);
    static NetHarmonicSettings h;
    if (netDecodeHarmonic(ha.data(), u32(ha.size()), limits, h) && (h.faultActionOrder < 0 || h.faultActionOrder > 3))
        std::abort();
    const auto ra = sized(1183);
    static NetRampingSettings r;
    if (netDecodeRamping(ra.data(), u32(ra.size()), limits, r) && (r.stateCount < 3 || r.stateCount > 24))
        std::abort();
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
    writeInterfaces();
    convertRecords(data, size);
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
