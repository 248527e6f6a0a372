// Fuzz entry point for the frame layer: one input is one received frame,
// parsed and dispatched as the receive thread does, then the pushed frames
// are packed; the test parameter records, their fields read from the same
// bytes, go through their decoders. The segments lie under a key base of this
// process (removed when it ends, also by a crash), and the runner and the
// command stand-ins only record.
//
// Built by test_remote to replay the seeds (RemoteFuzzReplayTest), device
// paths in a private temporary folder (removed when it ends), and by the
// fuzz build as fuzz_remote_frame (seeds in tests/fuzz/seeds), device paths
// in the target's fuzz root (FuzzSupport) like the other targets', each input
// starting from an empty one: nothing is left outside the run's folder after
// an interruption or a finding.

#include "CommNetCtrlBase.h"
#ifdef ZOR_FUZZ_TARGET
#include "FuzzSupport.h"
#endif
#include "NetParameterRecords.h"
#include "zocmm_testing_parameter_records.h"
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
#include <iterator>
#include <limits>
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

#ifdef ZOR_FUZZ_TARGET
QString sandboxPath()
{
    return fuzz::root() + QStringLiteral("/sandbox");
}
#else
// The device sandbox, removed when the process ends.
QString sandboxPath()
{
    static QTemporaryDir dir;
    return dir.path();
}
#endif

// A network write may rewrite this file (the address check passes): each
// input starts from the same one. A write replaces the file (a new one
// renamed over it), so it is written again, as a new file, only when it is
// not the one written here: a read, or a rewrite in place, would cost more
// than the rest of an input.
void writeInterfaces()
{
    static struct stat written = {};
    static const QByteArray path = QFile::encodeName(sandboxPath() + QStringLiteral("/etc/network/interfaces"));
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
    zoplat::host::setSandboxRoot(sandboxPath());
    zoplat::host::setSharedMemoryKeyBase(fuzzKeyBase());
    QDir().mkpath(sandboxPath() + QStringLiteral("/etc/network"));
    std::atexit(removeFuzzKeys);
    if (netCtrlInit() != 0)
        return false;
    // Marked for removal now: they stay attached until the process ends,
    // and go with it even when it ends by a crash.
    for (int i = 0; i < SHM_SEGMENT_COUNT; ++i)
        shmctl(shm_testing_id(i), IPC_RMID, nullptr);
    return true;
}

// Field values read from the end of the input (a frame's tail), so that
// the records' decoders get values of each field's kind rather than frame
// bytes; past the start every value is 0.
class FieldReader
{
public:
    FieldReader(const uint8_t* data, size_t size)
        : data(data)
        , left(size)
    {
    }

    uint8_t byte() { return left > 0 ? data[--left] : 0; }
    uint32_t word()
    {
        uint32_t w = 0;
        for (int i = 0; i < 4; ++i)
            w = (w << 8) | byte();
        return w;
    }
    // A value for a field whose sound values lie in lo..hi: mostly within
    // them or a little beyond, now and then one no record should hold.
    float value(float lo, float hi)
    {
        static const float odd[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                                    -std::numeric_limits<float>::infinity(), -1.0f, -0.0f, 1e30f, -1e30f,
                                    2147483648.0f, std::numeric_limits<float>::denorm_min()};
        const uint8_t pick = byte();
        if (pick >= 256 - std::size(odd))
            return odd[pick - (256 - std::size(odd))];
        return lo + (hi - lo) * float(pick) / 220.0f;
    }
    void phases(common_analog_base& base, float maxV, float maxI)
    {
        for (int k = 0; k < 8; ++k) {
            base.phases[k].base_range = value(0.0f, k < 4 ? maxV : maxI);
            base.phases[k].base_angle = value(0.0f, 360.0f);
            base.phases[k].base_frequency = value(0.0f, 1000.0f);
        }
    }
    void ramp(common_ramping_variable& r)
    {
        r.group_index = byte() % 3;
        r.ramping_kind = byte();
        r.ramping_mode_or_order = byte() % 6;
        r.ramping_item = byte() % 4;
        r.ramping_to = value(0.0f, 300.0f);
        r.ramping_length = value(0.0f, 10.0f);
        r.ramping_factor = value(-2.0f, 2.0f);
    }

private:
    const uint8_t* data;
    size_t left;
};

// What a record decode promises of a port's output (refused otherwise).
bool outputWithin(const NetPhaseValues& o, const NetRecordLimits& limits)
{
    for (int k = 0; k < 8; ++k) {
        if (!(o.ranges[k] >= 0.0 && o.ranges[k] <= (k < 4 ? limits.maxVRange : limits.maxIRange))
            || !(o.angles[k] >= 0.0 && o.angles[k] <= 360.0)
            || (o.ranges[k] > 0.0 && !(o.frequencies[k] >= 10.0 && o.frequencies[k] <= 1000.0)))
            return false;
    }
    return true;
}

template <typename R>
std::vector<uint8_t> wire(const R& record)
{
    std::vector<uint8_t> bytes(sizeof record);
    zocmm_wire_store(bytes.data(), record);
    return bytes;
}

// Each test parameter record, its fields taken from the input: a record
// taken holds only indices its entity has and values its checks let pass.
void convertRecords(const uint8_t* data, size_t size)
{
    NetRecordLimits limits;
    limits.maxVRange = 130.0;
    limits.maxIRange = 30.0;
    limits.rateFrequency = 50.0;
    limits.ditherTime = double(0.005f);   // a record may ask for the one in force
    const float maxV = float(limits.maxVRange);
    const float maxI = float(limits.maxIRange);

    {
        FieldReader in(data, size);
        alternate_testing_parameter r = zocmm_wire_load<alternate_testing_parameter>(nullptr, 0);
        in.ramp(r.fault_rampings[0]);
        in.phases(r.fault_models[0].direct, maxV, maxI);
        r.fault_output_stime = in.value(0.0f, 100.0f);
        r.fault_input_binary_rise_enable = in.word();
        r.fault_input_binary_fall_enable = in.word();
        r.fault_input_binary_logic = in.byte();
        r.ramping_direct_type = in.byte();
        r.dither_stime = in.byte() < 32 ? 0.005f : in.value(0.0f, 0.02f);
        const auto bytes = wire(r);
        NetAlternateSettings a;
        if (netDecodeAlternate(bytes.data(), u32(bytes.size()), limits, a) && (a.faultActionItem < 0 || a.faultActionItem > 2))
            std::abort();
    }
    {
        FieldReader in(data, size);
        ordinary_testing_parameter r = zocmm_wire_load<ordinary_testing_parameter>(nullptr, 0);
        r.testing_index = in.byte() < 240 ? in.byte() % 40 : in.word();
        in.phases(r.bases[0], maxV, maxI);
        r.output_stime = in.value(0.0f, 100.0f);
        r.output_binary_hold_state = in.word();
        r.input_binary_rise_enable = in.word();
        r.input_binary_fall_enable = in.word();
        r.input_binary_logic = in.byte();
        r.link_state_type = in.byte();
        r.trigger_kind = in.byte();
        r.dither_stime = in.byte() < 32 ? 0.005f : in.value(0.0f, 0.02f);
        const auto bytes = wire(r);
        NetStateSettings st;
        if (netDecodeState(bytes.data(), u32(bytes.size()), limits, st) && (st.state < 0 || st.state >= 32))
            std::abort();
    }
    {
        FieldReader in(data, size);
        static harmonic_testing_parameter r;
        r = zocmm_wire_load<harmonic_testing_parameter>(nullptr, 0);
        in.ramp(r.fault_rampings[0]);
        harmonic_analog_wave& wave = r.faultWaves[0];
        for (int h = 0; h < 4; ++h)
            wave.phases[0].frequencies[h] = h == 0 ? in.value(0.0f, 1100.0f) : in.value(0.0f, 1100.0f * (h + 1));
        for (int k = 0; k < 8; ++k) {
            for (int h = 0; h < 4; ++h) {
                wave.phases[k].ranges[h] = in.value(0.0f, k < 4 ? maxV : maxI);
                wave.phases[k].angles[h] = in.value(0.0f, 360.0f);
            }
        }
        r.fault_output_stime = in.value(0.0f, 100.0f);
        r.fault_input_binary_rise_enable = in.word();
        r.fault_input_binary_fall_enable = in.word();
        r.fault_input_binary_logic = in.byte();
        r.ramping_direct_type = in.byte();
        r.dither_stime = in.value(0.0f, 12.0f);
        static std::vector<uint8_t> bytes;
        bytes = wire(r);
        static NetHarmonicSettings h;
        if (netDecodeHarmonic(bytes.data(), u32(bytes.size()), limits, h)
            && (h.faultActionOrder < 0 || h.faultActionOrder > 3 || !(h.rateFrequency >= 10.0 && h.rateFrequency <= 1000.0)))
            std::abort();
    }
    {
        FieldReader in(data, size);
        simple_ramping_testing_parameter r = zocmm_wire_load<simple_ramping_testing_parameter>(nullptr, 0);
        r.testing_point_cnt = in.byte() % 10;
        in.phases(r.normal_output, maxV, maxI);
        in.phases(r.interval_output, maxV, maxI);
        r.normal_output_time = in.value(0.0f, 10.0f);
        r.normal_output_enable = in.byte() & 1;
        r.normal_output_only_once = in.byte() & 1;
        r.interval_output_enable = in.byte() & 1;
        r.interval_output_time = in.value(0.0f, 10.0f);
        for (u32 t = 0; t < 8; ++t) {
            in.phases(r.fault_output[t], maxV, maxI);
            r.ramp_variable[t] = in.byte() % 20;
            r.ramp_item[t] = in.byte() % 4;
            r.ramp_step[t] = in.value(0.0f, 10.0f);
            r.ramp_end[t] = in.value(0.0f, 1000.0f);
            r.ramp_time[t] = in.value(0.0f, 10.0f);
            r.output_link_type[t] = in.byte();
            r.bi_trigger_logic[t] = in.byte();
        }
        const auto bytes = wire(r);
        static NetRampingSettings ra;
        if (netDecodeRamping(bytes.data(), u32(bytes.size()), limits, ra)) {
            if (ra.stateCount < 3 || ra.stateCount > 24)
                std::abort();
            for (int i = 0; i < ra.stateCount; ++i) {
                if (!outputWithin(ra.states[i].outputs, limits))
                    std::abort();
            }
        }
    }
}

} // namespace

#ifdef ZOR_FUZZ_TARGET
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    return fuzz::initialize(argc, argv);
}
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = prepare();
    if (!ready)
        return 0;
    static std::vector<uint8_t> buffer(CONFER_BUFFER_SIZE);
    if (size > buffer.size())
        return 0;
#ifdef ZOR_FUZZ_TARGET
    fuzz::startInput();
    QDir().mkpath(sandboxPath() + QStringLiteral("/etc/network"));
#endif
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
