// Parameter records from the PC through the service into the engine, and the
// procedure and trigger records pushed back while the test runs.

#include "RemoteServiceSupport.h"

#include "ModelAlternateEntity.h"
#include "ModelHarmonicEntity.h"
#include "ModelRampingEntity.h"
#include "ModelStateSequenceEntity.h"
#include "NetParameterRecords.h"

#include <cmath>
#include <limits>

using namespace remoteservice;
using namespace pc::rec;
using pc::Bytes;

namespace {

constexpr uint16_t kAcRecord = 0xB104;
constexpr uint16_t kStateRecord = 0xB102;
constexpr uint16_t kHarmonicRecord = 0xB106;
constexpr uint16_t kRampingRecord = 0xB301;
constexpr uint16_t kAcResult = 0xC104;

class RemoteRecords : public RemoteServiceTest
{
};

} // namespace

TEST_F(RemoteRecords, AcRecordRunsTheTestAndItsTripComesBack)
{
    switchOn();
    Pc pc;
    connectPc(pc);
    ASSERT_EQ(pc.ask(parameterRequest(kAcRecord, steadyAc())), QByteArray(1, '\0'));
    EXPECT_EQ(testor().testType.load(), ControllerTestor::TEST_ALTERNATE);
    EXPECT_DOUBLE_EQ(testor().dataAlternate->outputRanges[4], 1.0);

    // A record the entity cannot take is refused and changes nothing.
    Bytes refused = steadyAc();
    phase(refused, AC_OUTPUTS, 4, 2.0f, 0.0f, 50.0f).u8(AC_RAMP + 3, 3);
    EXPECT_EQ(pc.ask(parameterRequest(kAcRecord, refused)), QByteArray(1, '\xFF'));
    EXPECT_DOUBLE_EQ(testor().dataAlternate->outputRanges[4], 1.0);
    // So is a ramping record failing its checks: neither the active module
    // nor which records are pushed changes, and the start runs the AC record.
    EXPECT_EQ(pc.ask(parameterRequest(kRampingRecord, Bytes(RA_SIZE))), QByteArray(1, '\xFF'));
    EXPECT_EQ(testor().testType.load(), ControllerTestor::TEST_ALTERNATE);
    EXPECT_EQ(service->protocolVersion.load(), 0);

    auto relay = plugRelay(4, 0.9, 0.5);
    const size_t mark = pc.frames.size();
    EXPECT_EQ(pc.ask(startRequest()), QByteArray(1, '\0'));
    const int running = pc.waitStatus(1, mark);
    ASSERT_GE(running, 0);
    // The first outputs follow running 1 at once: the first pushed after the start.
    const auto first = pc.waitFrame(pc::PushProcedure, mark);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->subid, kAcResult);
    EXPECT_FLOAT_EQ(Bytes(first->payload).f32(16), 1.0f);

    const auto trip = pc.waitFrame(pc::PushTrigger, mark, 10000);
    ASSERT_TRUE(trip.has_value());
    ASSERT_TRUE(waitEnded());
    const Bytes t(trip->payload);
    EXPECT_EQ(trip->subid, kAcResult);
    EXPECT_FLOAT_EQ(t.f32(241 + 8), float(testor().dataAlternate->faultActionTimes[0]));
    EXPECT_GT(t.f32(241 + 8), 0.0f);
    EXPECT_FLOAT_EQ(t.f32(16), 1.0f);

    // Trigger records published in one pass all reach the PC, in order.
    const size_t before = pc.frames.size();
    for (uint32_t index = 10; index < 13; ++index) {
        Bytes record(280);
        record.u32(0, index);
        netCtrl_updateResult(0xC102, reinterpret_cast<const u8*>(record.data.constData()), 280);
    }
    std::vector<uint32_t> got;
    waitFor([&] {
        pc.pump();
        got.clear();
        for (size_t i = before; i < pc.frames.size(); ++i) {
            if (pc.frames[i].command == pc::PushTrigger && pc.frames[i].subid == 0xC102)
                got.push_back(Bytes(pc.frames[i].payload).u32(0));
        }
        return got.size() >= 3;
    });
    EXPECT_EQ(got, (std::vector<uint32_t>{10, 11, 12}));
}

TEST_F(RemoteRecords, StateSequenceStartNeedsStatesZeroToLast)
{
    switchOn();
    Pc pc;
    connectPc(pc);
    // The last state is short: its record follows the previous one closely.
    auto stateRecord = [](uint32_t index) {
        Bytes b(ST_SIZE);
        b.u32(0, index).f32(ST_TIME, index == 2 ? 0.5f : 4.0f);
        phase(b, ST_OUTPUTS, 4, 0.5f, 0.0f, 50.0f);
        return b;
    };
    // States 0 and 2 only: the start is refused.
    ASSERT_EQ(pc.ask(parameterRequest(kStateRecord, stateRecord(0))), QByteArray(1, '\0'));
    ASSERT_EQ(pc.ask(parameterRequest(kStateRecord, stateRecord(2))), QByteArray(1, '\0'));
    EXPECT_EQ(pc.ask(startRequest()), QByteArray(1, '\xFF'));
    EXPECT_EQ(state(RT::STATE_TYPE_RUNNING), 0);
    // State 1 sent twice counts once: three states run.
    ASSERT_EQ(pc.ask(parameterRequest(kStateRecord, stateRecord(1))), QByteArray(1, '\0'));
    ASSERT_EQ(pc.ask(parameterRequest(kStateRecord, stateRecord(1))), QByteArray(1, '\0'));
    EXPECT_EQ(pc.ask(parameterRequest(kStateRecord, stateRecord(32))), QByteArray(1, '\xFF'));
    const size_t mark = pc.frames.size();
    EXPECT_EQ(pc.ask(startRequest()), QByteArray(1, '\0'));
    const int running = pc.waitStatus(1, mark);
    ASSERT_GE(running, 0);
    EXPECT_EQ(testor().dataStateSequence->stateCount, 3);
    ASSERT_TRUE(waitEnded());
    ASSERT_GE(pc.waitStatus(0, size_t(running) + 1), 0);
    // A procedure record for each state index; the action record of each
    // state at the advance past it, the last one's at the end.
    std::vector<uint32_t> indexes, actions;
    ASSERT_TRUE(waitFor([&] {
        pc.pump();
        indexes.clear();
        actions.clear();
        for (size_t i = mark; i < pc.frames.size(); ++i) {
            if (pc.frames[i].command == pc::PushProcedure)
                indexes.push_back(Bytes(pc.frames[i].payload).u32(0));
            if (pc.frames[i].command == pc::PushTrigger)
                actions.push_back(Bytes(pc.frames[i].payload).u32(0));
        }
        return actions.size() >= 3;
    }));
    EXPECT_EQ(indexes, (std::vector<uint32_t>{0, 1, 2}));
    EXPECT_EQ(actions, (std::vector<uint32_t>{0, 1, 2}));
}

// ---- Every field of every record at and past its domain's bounds ----------------------

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kMaxFloat = std::numeric_limits<float>::max();

// The nearest floats past and short of a bound, as a record carries it.
double past(double x) { return double(std::nextafter(float(x), float(kInf))); }
double below(double x) { return double(std::nextafter(float(x), float(-kInf))); }
// The float a bound is carried as, inside the bound.
double atMost(double x) { return double(float(x)) > x ? below(x) : double(float(x)); }

// A field a conversion reads, written here from the protocol's record
// layout, with the domain the module's page gives it (not the service's
// table): value i at at + (i / inner) x group + (i % inner) x stride.
struct FieldLayout
{
    enum Type { U8, U32, F32 } type;
    const char* name;
    int at;
    int count = 1, stride = 0, inner = 1, group = 0;
    // Its domain: taken values (a float: finite), low .. high, `high` a
    // channel's range when `ranged` (value i's channel i % inner, or i /
    // inner when `perGroup`).
    double low = 0.0, high = 0.0;
    bool ranged = false, perGroup = false;
    std::vector<double> outside = {}, inside = {};   // more values past / within it
    const char* any = nullptr;                       // every value is taken: why
    // What the record needs beside a value to be run as sent when inside the
    // domain, refused for that value alone when outside.
    void (*beside)(Bytes&, double, int) = nullptr;
    bool lowTaken = true;      // low itself lies inside
    bool belowKeeps = false;   // below low (or not a number): the setting in force kept
    int ramped = -1;           // `ranged` by the ramped channel's range, not its own

    int offset(int i) const { return at + (i / inner) * group + (i % inner) * stride; }
    int channel(int i) const { return ramped >= 0 ? ramped : perGroup ? i / inner : i % inner; }
};

Bytes& store(Bytes& b, const FieldLayout& f, int i, double value)
{
    switch (f.type) {
    case FieldLayout::U8: return b.u8(f.offset(i), uint8_t(value));
    case FieldLayout::U32: return b.u32(f.offset(i), uint32_t(value));
    case FieldLayout::F32: return b.f32(f.offset(i), float(value));
    }
    return b;
}

struct Limits
{
    double maxV, maxI, longestPage;
};

// Past the domain: NaN and the infinities (a float), one past each bound, an
// integer one past its last (and the largest its byte or word holds).
std::vector<double> outsideOf(const FieldLayout& f, int i, const Limits& l)
{
    if (f.any)
        return {};
    std::vector<double> v = f.outside;
    const double high = f.ranged ? (f.channel(i) < 4 ? l.maxV : l.maxI) : f.high;
    if (f.belowKeeps) {
        v.insert(v.end(), {kInf, past(high)});
    } else if (f.type == FieldLayout::F32) {
        v.insert(v.end(), {kNaN, kInf, -kInf, f.lowTaken ? below(f.low) : f.low, past(high)});
    } else {
        v.push_back(high + 1.0);
        v.push_back(f.type == FieldLayout::U8 ? 255.0 : 4294967295.0);
        if (f.low > 0.0)
            v.push_back(f.low - 1.0);
    }
    return v;
}

// Within it: each bound as the record carries it.
std::vector<double> insideOf(const FieldLayout& f, int i, const Limits& l)
{
    if (f.any)
        return {};
    std::vector<double> v = f.inside;
    const double high = f.ranged ? (f.channel(i) < 4 ? l.maxV : l.maxI) : f.high;
    if (f.belowKeeps)
        v.insert(v.end(), {-kInf, kNaN, below(f.low)});
    if (f.lowTaken)
        v.push_back(f.low);
    v.push_back(f.type == FieldLayout::F32 ? atMost(high) : high);
    return v;
}

// A record's fields, and the record every rule applies to: an automatic
// ramp watching an input in steps longer than the debounce it brings, every
// channel output, every ramping point in use with its normal and interval
// outputs shown.
struct RecordSpec
{
    const char* name;
    uint16_t subid;
    std::vector<FieldLayout> fields;
    Bytes (*base)();
};

constexpr double kPage = -1.0;   // `high`: the longest page the instrument counts

const char* const kMasks = "a mask of the four inputs' edges: every mask is a choice, bits past the fourth unread";
const char* const kGroup = "0 is the automatic ramp, any other value a steady output";
const char* const kShown = "0 leaves the state out, any other value plays it";
const char* const kIds = "the PC's own numbers, sent back as they came";

// A debounce of 0.5 ms keeps the 5 ms in force, against which steps of 2 ms watching an input are refused.
void unwatched(Bytes& b, double v, int)
{
    v == 0.0005 ? b.f32(AC_FAULT_TIME, 0.002f) : b.u32(AC_RISE, 0).u32(AC_FALL, 0);
}
void haUnwatched(Bytes& b, double v, int)
{
    v == 0.0005 ? b.f32(HA_FAULT_TIME, 0.002f) : b.u32(HA_RISE, 0).u32(HA_FALL, 0);
}
void lowEnd(Bytes& b, double, int) { b.f32(AC_RAMP + 8, 5.0f); }
void raUnwatched(Bytes& b, double, int)
{
    for (int k = 0; k < 32; ++k)
        b.u8(RA_BI_STATE + k, 0);
}
// A port's slots together within its range: the others silent; IA, ramped,
// steady.
void aloneInPort(Bytes& b, double, int i)
{
    b.u8(HA_RAMP, i / 4 == 4 ? 1 : 0);
    for (int h = 0; h < 4; ++h) {
        if (h != i % 4)
            b.f32(HA_WAVE + 252 * (i / 4) + 4 * h, 0.0f);
    }
}
// IA's fundamental ramped to its range: its harmonics silent.
void iaFundamentalAlone(Bytes& b, double, int)
{
    for (int h = 1; h < 4; ++h)
        b.f32(HA_WAVE + 252 * 4 + 4 * h, 0.0f);
}
// A fundamental's harmonics at its first order.
void harmonicsAt(Bytes& b, double f, int)
{
    for (int h = 1; h < 4; ++h)
        b.f32(HA_WAVE + 168 + 4 * h, float(f == 0.0 ? 50.0 : f));
}
// A ramped frequency ends within the outputs' 10 .. 1000 Hz, an amplitude within IA's range.
void raEndFor(Bytes& b, double item, int t)
{
    b.f32(RA_END + 4 * t, item == 2.0 ? 50.0f : 5.0f);
}

std::vector<RecordSpec> records()
{
    using S = FieldLayout;
    const auto amplitude = [](const char* name, int at, int count = 8, int inner = 8, int group = 0) {
        return S{S::F32, name, at, count, 12, inner, group, 0.0, 0.0, true};
    };
    const auto angle = [](const char* name, int at, double low, int count = 8, int inner = 8, int group = 0) {
        return S{S::F32, name, at, count, 12, inner, group, low, 360.0};
    };
    // While the channel outputs (every channel of the records below does).
    const auto frequency = [](const char* name, int at, int count = 8, int inner = 8, int group = 0) {
        return S{S::F32, name, at, count, 12, inner, group, 10.0, 1000.0, false, false, {0.0}};
    };
    // Below 1 ms (or not a number) the configuration's stays in force.
    const auto debounce = [](int at, void (*beside)(Bytes&, double, int)) {
        const std::vector<double> watched = beside ? std::vector<double>{0.0005} : std::vector<double>{};
        return S{S::F32, "debounce", at, 1, 0, 1, 0, 0.001, 4294.967295, false, false, watched, {}, nullptr, beside,
                 true, true};
    };
    const auto whole = [](const char* name, int at, double last) {
        return S{S::U8, name, at, 1, 0, 1, 0, 0.0, last};
    };
    // A float taken as a 32-bit integer.
    const auto factor = [](int at) {
        return S{S::F32, "ramp factor", at, 1, 0, 1, 0, -2147483648.0, 2147483647.0};
    };
    // Any finite value but 0 (which never reaches the end); a hundredth
    // keeps the ramp within its 65534 states.
    const S acStep{S::F32, "step", AC_RAMP + 24, 1, 0, 1, 0, -kMaxFloat, kMaxFloat, false, false, {0.0}, {-0.01, 0.01}};
    S stepTime{S::F32, "step time", AC_FAULT_TIME, 1, 0, 1, 0, 0.0, kPage, false, false, {}, {0.001}, nullptr,
               unwatched, false};

    std::vector<RecordSpec> r;
    r.push_back({"AC", kAcRecord,
                 {debounce(AC_DITHER, unwatched),
                  stepTime,
                  {S::U32, "falling edges", AC_FALL, 1, 0, 1, 0, 0, 0, false, false, {}, {}, kMasks},
                  {S::U32, "rising edges", AC_RISE, 1, 0, 1, 0, 0, 0, false, false, {}, {}, kMasks},
                  whole("input logic", AC_LOGIC, 1),
                  whole("action on a trip", AC_DIRECT_TYPE, 2),
                  amplitude("amplitude", AC_OUTPUTS),
                  angle("angle", AC_OUTPUTS + 4, -360.0),
                  frequency("frequency", AC_OUTPUTS + 8),
                  {S::U8, "ramp group", AC_RAMP, 1, 0, 1, 0, 0, 0, false, false, {}, {}, kGroup},
                  {S::U8, "ramped port group", AC_RAMP + 1, 1, 0, 1, 0, 0.0, 15.0, false, false, {}, {}, nullptr,
                   lowEnd},
                  whole("ramped item", AC_RAMP + 3, 2),
                  // UA's amplitude ramped: within its range.
                  {S::F32, "end value", AC_RAMP + 8, 1, 0, 1, 0, 0.0, 0.0, true, false, {}, {}, nullptr, nullptr,
                   true, false, 0},
                  acStep,
                  factor(AC_RAMP + 28)},
                 [] {
                     Bytes b(AC_SIZE);
                     for (int k = 0; k < 8; ++k)
                         phase(b, AC_OUTPUTS, k, k < 4 ? 10.0f : 1.0f, 0.0f, 50.0f);
                     return ramp(b, AC_RAMP, 0, 0, 0, 0, 20.0f, 1.0f, 1.0f)
                         .f32(AC_FAULT_TIME, 1.0f)
                         .u32(AC_RISE, 0x1)
                         .f32(AC_DITHER, 0.005f);
                 }});
    r.push_back({"state", kStateRecord,
                 {debounce(ST_DITHER, nullptr),
                  {S::U32, "outputs", ST_BO, 1, 0, 1, 0, 0, 0, false, false, {}, {},
                   "a mask of the four outputs: bits past the fourth unread"},
                  // 0: a state of no time, left as it is entered.
                  {S::F32, "time", ST_TIME, 1, 0, 1, 0, 0.0, kPage},
                  {S::U32, "rising edges", ST_RISE, 1, 0, 1, 0, 0, 0, false, false, {}, {}, kMasks},
                  {S::U32, "falling edges", ST_FALL, 1, 0, 1, 0, 0, 0, false, false, {}, {}, kMasks},
                  whole("input logic", ST_LOGIC, 1),
                  whole("link", ST_LINK, 1),
                  // GPS/IRIG-B (4) only with trigger times, and the instrument holds none.
                  {S::U8, "trigger", ST_TRIGGER, 1, 0, 1, 0, 0.0, 3.0, false, false, {4.0}},
                  amplitude("amplitude", ST_OUTPUTS),
                  angle("angle", ST_OUTPUTS + 4, -360.0),
                  frequency("frequency", ST_OUTPUTS + 8),
                  // Last: a state alone is taken, but a start needs states 0 to n-1.
                  {S::U32, "state number", 0, 1, 0, 1, 0, 0.0, 31.0}},
                 [] {
                     Bytes b(ST_SIZE);
                     for (int k = 0; k < 8; ++k)
                         phase(b, ST_OUTPUTS, k, k < 4 ? 10.0f : 1.0f, 0.0f, 50.0f);
                     return b.f32(ST_TIME, 1.0f).u32(ST_RISE, 0x1).f32(ST_DITHER, 0.005f);
                 }});
    stepTime.at = HA_FAULT_TIME;
    stepTime.beside = haUnwatched;
    S haStep = acStep;
    haStep.at = HA_RAMP + 24;
    r.push_back({"harmonic", kHarmonicRecord,
                 {debounce(HA_DITHER, haUnwatched),
                  stepTime,
                  {S::U32, "falling edges", HA_FALL, 1, 0, 1, 0, 0, 0, false, false, {}, {}, kMasks},
                  {S::U32, "rising edges", HA_RISE, 1, 0, 1, 0, 0, 0, false, false, {}, {}, kMasks},
                  whole("input logic", HA_LOGIC, 1),
                  whole("action on a trip", HA_DIRECT_TYPE, 2),
                  // Port k, slot h: value 4k + h.
                  {S::F32, "amplitude", HA_WAVE, 32, 4, 4, 252, 0.0, 0.0, true, true, {}, {}, nullptr, aloneInPort},
                  {S::F32, "angle", HA_WAVE + 84, 32, 4, 4, 252, -360.0, 360.0},
                  // 0 keeps the rated frequency.
                  {S::F32, "fundamental", HA_WAVE + 168, 1, 0, 1, 0, 10.0, 1000.0, false, false, {-1.0}, {0.0},
                   nullptr, harmonicsAt},
                  // Played at its whole order of the rated 50 Hz: 1050 Hz is order 21.
                  {S::F32, "frequency of a slot", HA_WAVE + 172, 3, 4, 3, 0, 50.0, below(1050.0), false, false,
                   {0.0}},
                  {S::U8, "ramp group", HA_RAMP, 1, 0, 1, 0, 0, 0, false, false, {}, {}, kGroup},
                  whole("ramped port group", HA_RAMP + 1, 15),
                  whole("ramped slot", HA_RAMP + 2, 3),
                  whole("ramped item", HA_RAMP + 3, 1),
                  // IA's amplitude ramped: within its range.
                  {S::F32, "end value", HA_RAMP + 8, 1, 0, 1, 0, 0.0, 0.0, true, false, {}, {}, nullptr, iaFundamentalAlone,
                   true, false, 4},
                  haStep,
                  factor(HA_RAMP + 28)},
                 [] {
                     Bytes b(HA_SIZE);
                     for (int k = 0; k < 8; ++k)
                         for (int h = 0; h < 4; ++h)
                             b.f32(HA_WAVE + 252 * k + 4 * h, k < 4 ? 10.0f : 0.5f)
                                 .f32(HA_WAVE + 168 + 4 * h, 50.0f * float(2 * h + 1));
                     return ramp(b, HA_RAMP, 0, 8, 0, 0, 2.0f, 0.1f, 1.0f)
                         .f32(HA_FAULT_TIME, 1.0f)
                         .u32(HA_RISE, 0x1)
                         .f32(HA_DITHER, 0.005f);
                 }});
    r.push_back({"ramping", kRampingRecord,
                 {{S::U32, "project", 0, 1, 0, 1, 0, 0, 0, false, false, {}, {}, kIds},
                  {S::U32, "module", 4, 1, 0, 1, 0, 0, 0, false, false, {}, {}, kIds},
                  amplitude("normal amplitude", RA_NORMAL),
                  angle("normal angle", RA_NORMAL + 4, 0.0),
                  frequency("normal frequency", RA_NORMAL + 8),
                  // 0: not played.
                  {S::F32, "normal time", RA_NORMAL_TIME, 1, 0, 1, 0, 0.0, kPage},
                  {S::U8, "normal shown", RA_NORMAL_ENABLE, 1, 0, 1, 0, 0, 0, false, false, {}, {}, kShown},
                  {S::U8, "normal once", RA_NORMAL_ENABLE + 1, 1, 0, 1, 0, 0, 0, false, false, {}, {},
                   "0 plays the normal state before every point, any other value before the first"},
                  {S::U8, "interval shown", RA_INTERVAL_ENABLE, 1, 0, 1, 0, 0, 0, false, false, {}, {}, kShown},
                  amplitude("interval amplitude", RA_INTERVAL),
                  angle("interval angle", RA_INTERVAL + 4, 0.0),
                  frequency("interval frequency", RA_INTERVAL + 8),
                  {S::F32, "interval time", RA_INTERVAL_TIME, 1, 0, 1, 0, 0.0, kPage},
                  {S::U32, "point count", RA_POINTS, 1, 0, 1, 0, 1.0, 8.0},
                  // Point t, port k: value 8t + k.
                  amplitude("fault amplitude", RA_FAULT, 64, 8, 96),
                  angle("fault angle", RA_FAULT + 4, 0.0, 64, 8, 96),
                  frequency("fault frequency", RA_FAULT + 8, 64, 8, 96),
                  // 0: the point ramps nothing; any finite value.
                  {S::F32, "step", RA_STEP, 8, 4, 8, 0, -kMaxFloat, kMaxFloat, false, false, {}, {0.0}},
                  // IA's amplitude ramped: within its range.
                  {S::F32, "end value", RA_END, 8, 4, 8, 0, 0.0, 0.0, true, false, {}, {}, nullptr, nullptr, true, false,
                   4},
                  {S::F32, "step time", RA_TIME, 8, 4, 8, 0, 0.0, kPage, false, false, {}, {0.001}, nullptr,
                   raUnwatched, false},
                  {S::U8, "port group", RA_VARIABLE, 8, 1, 8, 0, 0.0, 15.0},
                  {S::U8, "item", RA_ITEM, 8, 1, 8, 0, 0.0, 2.0, false, false, {}, {}, nullptr, raEndFor},
                  {S::U8, "link", RA_LINK, 8, 1, 8, 0, 0.0, 1.0},
                  {S::U8, "input logic", RA_BI_LOGIC, 8, 1, 8, 0, 0.0, 1.0},
                  {S::U8, "input edges", RA_BI_STATE, 32, 1, 32, 0, 0.0, 3.0},
                  {S::U8, "output", RA_BO_STATE, 32, 1, 32, 0, 0.0, 1.0}},
                 [] {
                     Bytes b(RA_SIZE);
                     b.u32(RA_POINTS, 8).u8(RA_NORMAL_ENABLE, 1).u8(RA_INTERVAL_ENABLE, 1);
                     b.f32(RA_NORMAL_TIME, 1.0f).f32(RA_INTERVAL_TIME, 0.5f);
                     for (int k = 0; k < 8; ++k) {
                         phase(b, RA_NORMAL, k, k < 4 ? 10.0f : 1.0f, 0.0f, 50.0f);
                         phase(b, RA_INTERVAL, k, k < 4 ? 10.0f : 1.0f, 0.0f, 50.0f);
                     }
                     for (int t = 0; t < 8; ++t) {
                         for (int k = 0; k < 8; ++k)
                             phase(b, RA_FAULT + 96 * t, k, k < 4 ? 10.0f : 1.0f, 0.0f, 50.0f);
                         b.f32(RA_STEP + 4 * t, 0.1f).f32(RA_END + 4 * t, 5.0f).f32(RA_TIME + 4 * t, 0.2f);
                         b.u8(RA_VARIABLE + t, 8).u8(RA_BI_STATE + 4 * t, 1).u8(RA_BO_STATE + 4 * t, 1);
                     }
                     return b;
                 }});
    return r;
}

template <typename... T>
QByteArray bytesOf(const T&... x)
{
    QByteArray b;
    (b.append(reinterpret_cast<const char*>(&x), int(sizeof x)), ...);
    return b;
}

// What a record would change: the active module, which records are pushed,
// the debounce, and the settings of the four modules.
QByteArray everythingOf(ControllerTestor& t, NetServiceBase& service)
{
    return bytesOf(t.testType.load(), service.protocolVersion.load(), globalConfigureSoftData->ditherTime.load())
        + read(*t.dataAlternate, [](auto& e) { return bytesOf(e.outputFrequencies, e.actionRampTime); })
        + read(*t.dataHarmonic, [](auto& e) { return bytesOf(e.outputRanges, e.outputOrders); })
        + read(*t.dataStateSequence, [](auto& e) { return bytesOf(e.stateOutputFrequencies, e.stateTriggerTypes); })
        + read(*t.dataRamping, [](auto& e) { return bytesOf(e.stateOutputRanges, e.stateOutputTimes); });
}

} // namespace

// Every field a conversion reads, as the protocol lays it out and the page
// bounds it (written above, apart from the service's tables): each value one
// past its domain, in a record every rule applies to, is refused and changes
// nothing; each bound itself is taken, and the record runs. The service's
// tables read the same fields, and take every value of exactly the fields
// listed here as taking every value.
TEST_F(RemoteRecords, EveryFieldOfEveryRecordIsHeldToItsDomain)
{
    switchOn();
    Pc pc;
    connectPc(pc);
    ASSERT_EQ(globalClockPPXData->clk_ppx_count, 0u);
    ASSERT_GT(globalConfigureHardData->periodFrequency, 0u);
    const auto ratings = center->testConfiguration->ratings();
    const Limits limits{ratings.maxVRange, ratings.maxIRange, 4294967295.0 / globalConfigureHardData->periodFrequency};
    const NetRecordTable* tables[] = {&netAlternateTable(), &netStateTable(), &netHarmonicTable(), &netRampingTable()};
    int sent = 0, runs = 0;
    for (RecordSpec& rec : records()) {
        SCOPED_TRACE(rec.name);
        const NetRecordTable& table = **std::find_if(std::begin(tables), std::end(tables),
                                                     [&](const NetRecordTable* t) { return t->subid == rec.subid; });
        // The same fields, the same ones taking every value.
        ASSERT_EQ(table.count, int(rec.fields.size()));
        for (const FieldLayout& f : rec.fields) {
            const auto same = std::find_if(table.fields, table.fields + table.count, [&](const NetRecordField& t) {
                return int(t.at(0)) == f.at && int(t.count) == f.count && int(t.at(t.count - 1)) == f.offset(f.count - 1);
            });
            ASSERT_NE(same, table.fields + table.count) << f.name;
            EXPECT_EQ(same->domain->kind == StartDomain::Kind::Any, f.any != nullptr) << f.name;
        }
        const Bytes base = rec.base();
        for (FieldLayout& f : rec.fields) {
            if (f.high == kPage)
                f.high = limits.longestPage;
            if (f.any)
                continue;
            ASSERT_EQ(pc.ask(parameterRequest(rec.subid, base)), kOk) << f.name;
            const QByteArray before = everythingOf(testor(), *service);
            for (int i = 0; i < f.count; ++i) {
                for (double value : outsideOf(f, i, limits)) {
                    SCOPED_TRACE(testing::Message() << f.name << " #" << i + 1 << " = " << value);
                    Bytes record = base;
                    if (f.beside)
                        f.beside(record, value, i);
                    ASSERT_EQ(pc.ask(parameterRequest(rec.subid, store(record, f, i, value))), kRefused);
                    ASSERT_EQ(everythingOf(testor(), *service), before);
                    ++sent;
                }
            }
            // Each bound taken; the record of the last value run.
            for (bool low : {true, false}) {
                Bytes record = base;
                for (int i = 0; i < f.count; ++i) {
                    const std::vector<double> inside = insideOf(f, i, limits);
                    for (size_t n = low ? 0 : inside.size() - 1; n < (low ? inside.size() - 1 : inside.size()); ++n) {
                        SCOPED_TRACE(testing::Message() << f.name << " #" << i + 1 << " = " << inside[n]);
                        record = base;
                        if (f.beside)
                            f.beside(record, inside[n], i);
                        ASSERT_EQ(pc.ask(parameterRequest(rec.subid, store(record, f, i, inside[n]))), kOk);
                        ++sent;
                    }
                }
                if (rec.subid == kStateRecord && f.at == 0)
                    continue;   // state 31 alone: a start needs states 0 to 31
                SCOPED_TRACE(testing::Message() << f.name << (low ? " low" : " high") << " run");
                ASSERT_EQ(pc.ask(startRequest()), kOk);
                ASSERT_TRUE(waitFor([&] { return testor().runEnable.load(); }));
                ASSERT_TRUE(stopped());
                ++runs;
            }
        }
    }
    EXPECT_GT(sent, 1500);
    EXPECT_GT(runs, 100);
}
