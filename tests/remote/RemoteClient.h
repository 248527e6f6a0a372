#pragma once

// A PC-side client of the remote-control protocol, written from the
// protocol's record tables with every offset spelled out (it shares no
// header with the device side): it builds requests, decodes replies and
// pushed frames. In-process here, the same code talks over a socket later.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace pc {

// ---- Little-endian fields at fixed offsets -------------------------------------
struct Bytes
{
    QByteArray data;

    explicit Bytes(int size = 0) : data(size, '\0') {}
    explicit Bytes(const QByteArray& d) : data(d) {}

    Bytes& u8(int at, uint8_t v) { data[at] = char(v); return *this; }
    Bytes& u16(int at, uint16_t v) { return raw(at, &v, 2); }
    Bytes& u32(int at, uint32_t v) { return raw(at, &v, 4); }
    Bytes& f32(int at, float v) { return raw(at, &v, 4); }
    Bytes& text(int at, const char* s) { return raw(at, s, int(std::strlen(s))); }
    Bytes& raw(int at, const void* p, int n) { std::memcpy(data.data() + at, p, size_t(n)); return *this; }

    uint8_t u8(int at) const { return uint8_t(data.at(at)); }
    uint16_t u16(int at) const { uint16_t v; std::memcpy(&v, data.constData() + at, 2); return v; }
    uint32_t u32(int at) const { uint32_t v; std::memcpy(&v, data.constData() + at, 4); return v; }
    float f32(int at) const { float v; std::memcpy(&v, data.constData() + at, 4); return v; }
    QByteArray text(int at, int n) const { return QByteArray(data.constData() + at, qstrnlen(data.constData() + at, uint(n))); }
};

// ---- Frames -------------------------------------------------------------------------
constexpr uint32_t kMagic = 0xFFFF7A4F;
constexpr uint16_t kVersion = 0x0101;

// magic u32 @0, version u16 @4, command u16 @6, length u32 @8 (bytes after
// the header), sub-id u16 @12, payload @14.
QByteArray frame(uint16_t command, uint16_t subid, const QByteArray& payload = {});
// The same with every header field given (for malformed frames).
QByteArray rawFrame(uint32_t magic, uint16_t version, uint16_t command, uint32_t length, const QByteArray& body);

struct Frame
{
    uint32_t magic = 0;
    uint16_t version = 0;
    uint16_t command = 0;
    uint32_t length = 0;
    uint16_t subid = 0;
    QByteArray payload;   // after the sub-id
};
// A frame of exactly 12 + length bytes with at least the sub-id, else nothing.
std::optional<Frame> decode(const QByteArray& bytes);

// ---- Commands, sub-ids and record sizes ------------------------------------------------
enum Command : uint16_t {
    GetMachine = 0xA010, SetMachine = 0xB010, SetConfig = 0xB020, SetControl = 0xB030, SetParameter = 0xB040,
    SetDataArea = 0xB050, SetUpgrade = 0xB110, SetCalibrate = 0xB120, GetCalibrate = 0xB130, SetMeasure = 0xB210,
    GetMeasure = 0xB220, SetClockTime = 0xB310, GetClockTime = 0xB320, PushStatus = 0xC010,
    PushProcedure = 0xC020, PushTrigger = 0xC030, GetHistory = 0xC040, GetLower = 0xC110, GetSniffer = 0xC210,
    SetRegister = 0xE010, GetRegister = 0xE020, TransferFile = 0xE110,
};

// Machine records: hello 184, assembly 244, network 126, assembly ex 4096, network ex 220.
enum MachineSub : uint16_t { Hello = 0xE101, Assembly = 0xE102, Network = 0xE103, AssemblyEx = 0xE105, NetworkEx = 0xE106 };

// Hello: guid[32]@0 code[16]@32 kind[16]@48 date[16]@64 mac[32]@80 ip[16]@112
// netmask[16]@128 gateway[16]@144 port0@160 port1@164 port2@168
// connect_state@172 apihw_version@176 apibc_version@180.
// Assembly: guid@0 ... versions u32[16]@80, pao_kind u8@144, pao_icount u8@145,
// pao_vcount u8@146, pao_auxdcv u8@147, switches f32[2] @148 @156 @164 @172 @180,
// bim_vswitches f32[5]@188, bit f32[4]@208, btm_v f32[2]@224, btm_i f32[2]@232, std_frequency f32@240.
// Network: guid[32]@0 eth_kind u8@32 mac_kind u8@33 mac[32]@34 ip[16]@66
// netmask[16]@82 gateway[16]@98 port0@114 port1@118 port2@122.
// Network ex: guid[32]@0, eth0 block @32, eth1 block @126 (each: kind u8 +0,
// mac_kind u8 +1, mac[32] +2, ip[16] +34, netmask[16] +50, gateway[16] +66,
// port0 +82, port1 +86, port2 +90).
// Assembly ex: u8 fields @0..27 (hdi_count @6, llo_count @22), f32 uppers @1024..1088,
// gps_trigger_error s32 @1092, temperature warn @1096, resume @1100, f32 @1104..1116.

// Test control (256 bytes): enables@0 running@20 stopping@24 trigger@28
// switching@32 output_binary_state@48 output_binary_enable@92.
Bytes control(uint32_t enables, uint32_t running = 0, uint32_t stopping = 0, uint32_t trigger = 0,
              uint32_t switching = 0, uint32_t boState = 0, uint32_t boEnable = 0);

// Status record (512 bytes): running@4 stopping@8 output_binary@44 input_binary@60.

// A frame written as an IPv4 network record (0xB010 / 0xE103).
QByteArray networkWrite(const char* ip, uint32_t port0 = 10801, uint32_t port1 = 10901, const char* gateway = "");

// One valid request per command the device answers (the fuzzer's seeds).
std::vector<QByteArray> everyRequest();

// ---- Test parameter records (0xB040), offsets from the record tables ----------
// A port's phase (range, angle, frequency f32) lies at base + 12 x port.
// Ramp variable (36): group u8 +0, port group u8 +1, mode/order u8 +2,
// item u8 +3, to f32 +8, length f32 +24, factor f32 +28.
namespace rec {
// AC (4920): dither@4 fault_output_stime@48 fall@496 rise@500 logic@504
// direct_type@507, fault_models[0].direct @1671, fault_rampings[0] @4562.
constexpr int AC_SIZE = 4920, AC_DITHER = 4, AC_FAULT_TIME = 48, AC_FALL = 496, AC_RISE = 500,
              AC_LOGIC = 504, AC_DIRECT_TYPE = 507, AC_OUTPUTS = 1671, AC_RAMP = 4562;
// One state (2738): index@0 dither@4 hold_state@12 output_stime@436 rise@460
// fall@464 logic u8@468 link u8@469 trigger u8@470, bases[0] @472.
constexpr int ST_SIZE = 2738, ST_DITHER = 4, ST_BO = 12, ST_TIME = 436, ST_RISE = 460, ST_FALL = 464,
              ST_LOGIC = 468, ST_LINK = 469, ST_TRIGGER = 470, ST_OUTPUTS = 472;
// Harmonic (9630): dither@4 fault_output_stime@43 fall@487 rise@491 logic@495
// direct_type@502; faultWaves[0] @1278, port k at +252k: ranges[21] +0,
// angles[21] +84, frequencies[21] +168; fault_rampings[0] @9342.
constexpr int HA_SIZE = 9630, HA_DITHER = 4, HA_FAULT_TIME = 43, HA_FALL = 487, HA_RISE = 491,
              HA_LOGIC = 495, HA_DIRECT_TYPE = 502, HA_WAVE = 1278, HA_RAMP = 9342;
// Ramping (1183): project@0 module@4 dither@12 normal@16 normal_time@112
// normal_enable u8@116 only_once u8@117 interval_enable u8@118 interval@119
// interval_time@215 points u32@219 fault_output[8] @223 (+96 each),
// ramp_step[8]@991 ramp_end[8]@1023 ramp_time[8]@1055 ramp_variable u8[8]@1087
// ramp_item u8[8]@1095 link u8[8]@1103 bi_logic u8[8]@1111
// bi_state u8[8][4]@1119 bo_state u8[8][4]@1151.
constexpr int RA_SIZE = 1183, RA_NORMAL = 16, RA_NORMAL_TIME = 112, RA_NORMAL_ENABLE = 116,
              RA_INTERVAL_ENABLE = 118, RA_INTERVAL = 119, RA_INTERVAL_TIME = 215, RA_POINTS = 219,
              RA_FAULT = 223, RA_STEP = 991, RA_END = 1023, RA_TIME = 1055, RA_VARIABLE = 1087, RA_ITEM = 1095,
              RA_LINK = 1103, RA_BI_LOGIC = 1111, RA_BI_STATE = 1119, RA_BO_STATE = 1151;

inline Bytes& phase(Bytes& b, int base, int port, float range, float angle, float frequency)
{
    return b.f32(base + 12 * port, range).f32(base + 12 * port + 4, angle).f32(base + 12 * port + 8, frequency);
}
// A ramp variable: group, port group, mode (AC) or slot (harmonic), item, to, length, factor.
inline Bytes& ramp(Bytes& b, int at, uint8_t group, uint8_t port, uint8_t modeOrOrder, uint8_t item, float to,
                   float length, float factor)
{
    return b.u8(at, group).u8(at + 1, port).u8(at + 2, modeOrOrder).u8(at + 3, item).f32(at + 8, to)
        .f32(at + 24, length).f32(at + 28, factor);
}
} // namespace rec

} // namespace pc
