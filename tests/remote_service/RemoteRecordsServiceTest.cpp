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

// ---- Every field of every record out of its domain -------------------------------------

namespace {

using StartDomain::Kind;

// Records every rule of the start applies to: an automatic ramp watching an
// input in steps longer than the debounce, every channel output, every
// ramping point in use with its normal and interval outputs shown.
Bytes domainBase(const NetRecordTable& table)
{
    Bytes b(int(table.size));
    const auto outputs = [&b](int base) {
        for (int k = 0; k < 8; ++k)
            phase(b, base, k, k < 4 ? 10.0f : 1.0f, 0.0f, 50.0f);
    };
    if (table.subid == kAcRecord) {
        outputs(AC_OUTPUTS);
        return ramp(b, AC_RAMP, 0, 0, 0, 0, 20.0f, 1.0f, 1.0f).f32(AC_FAULT_TIME, 1.0f).u32(AC_RISE, 0x1);
    }
    if (table.subid == kStateRecord) {
        outputs(ST_OUTPUTS);
        return b.f32(ST_TIME, 1.0f).u32(ST_RISE, 0x1);
    }
    if (table.subid == kHarmonicRecord) {
        for (int k = 0; k < 8; ++k)
            for (int h = 0; h < 4; ++h)
                b.f32(HA_WAVE + 252 * k + 4 * h, k < 4 ? 10.0f : 0.5f).f32(HA_WAVE + 168 + 4 * h, 50.0f * (2 * h + 1));
        return ramp(b, HA_RAMP, 0, 8, 0, 0, 2.0f, 0.1f, 1.0f).f32(HA_FAULT_TIME, 1.0f).u32(HA_RISE, 0x1);
    }
    b.u32(RA_POINTS, 8).u8(RA_NORMAL_ENABLE, 1).u8(RA_INTERVAL_ENABLE, 1);
    b.f32(RA_NORMAL_TIME, 1.0f).f32(RA_INTERVAL_TIME, 0.5f);
    outputs(RA_NORMAL);
    outputs(RA_INTERVAL);
    for (int t = 0; t < 8; ++t) {
        outputs(RA_FAULT + 96 * t);
        b.f32(RA_STEP + 4 * t, 0.1f).f32(RA_END + 4 * t, 5.0f).f32(RA_TIME + 4 * t, 0.2f);
        b.u8(RA_VARIABLE + t, 8).u8(RA_BI_STATE + 4 * t, 1).u8(RA_BO_STATE + 4 * t, 1);
    }
    return b;
}

Bytes& store(Bytes& b, const NetRecordField& f, u32 i, double value)
{
    const int at = int(f.at(i));
    switch (f.type) {
    case NetRecordField::U8: return b.u8(at, uint8_t(value));
    case NetRecordField::U32: return b.u32(at, uint32_t(value));
    case NetRecordField::F32: return b.f32(at, float(value));
    }
    return b;
}

// The values just outside value i's domain, as the record carries them: not
// a number and the infinities (a float), the first value below its lowest
// and the first above its largest, 0 where 0 is not taken, an enumeration
// one past its last (and the largest its byte or word holds).
std::vector<double> outsideOf(const NetRecordTable& table, const NetRecordField& f, u32 i, double maxV, double maxI)
{
    const double inf = std::numeric_limits<double>::infinity();
    const auto past = [](double x) { return double(std::nextafter(float(x), std::numeric_limits<float>::infinity())); };
    const auto below = [](double x) { return double(std::nextafter(float(x), -std::numeric_limits<float>::infinity())); };
    const double limit = f.channel(i) < 4 ? maxV : maxI;
    const StartDomain::Field& d = *f.domain;
    std::vector<double> v;
    if (f.type == NetRecordField::F32 && d.kind != Kind::Any && d.kind != Kind::Debounce)
        v = {std::numeric_limits<double>::quiet_NaN(), inf, -inf};
    const auto add = [&v](std::initializer_list<double> more) { v.insert(v.end(), more); };
    switch (d.kind) {
    case Kind::Amplitude: add({below(0.0), past(limit)}); break;
    case Kind::Angle: add({below(-360.0), past(360.0)}); break;
    case Kind::TurnAngle: add({below(0.0), past(360.0)}); break;
    case Kind::Frequency:
        // A harmonic slot plays its whole order of the rated 50 Hz.
        add({0.0, below(10.0), table.subid == kHarmonicRecord ? 1050.0 : past(1000.0)});
        break;
    case Kind::PageTime: add({-1.0, 0.0, past(StartConditions::inForce().longestPage)}); break;
    case Kind::PageTimeOrNone: add({-1.0, past(StartConditions::inForce().longestPage)}); break;
    case Kind::Step: add({0.0}); break;
    case Kind::RampEnd: add({below(0.0), past(maxI)}); break;   // the bases ramp a current
    case Kind::WholeNumber: add({3e9, -3e9}); break;
    case Kind::Fundamental: add({below(10.0), past(1000.0)}); break;
    case Kind::Debounce: add({inf, past(StartDomain::kLongestDebounce)}); break;
    case Kind::Enumeration:
    case Kind::Trigger:
        add({double(d.last) + 1.0, f.type == NetRecordField::U8 ? 255.0 : 4294967295.0});
        if (d.first > 0)
            add({double(d.first) - 1.0});
        if (d.kind == Kind::Trigger)
            add({4.0});   // GPS/IRIG-B, and the instrument holds no trigger time
        break;
    case Kind::Finite:
    case Kind::Any:
        break;
    }
    return v;
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

// Generated from the record tables: every field a conversion reads, each of
// its values, set just outside its domain in a record every rule applies to,
// is refused and changes nothing.
TEST_F(RemoteRecords, EveryFieldOfEveryRecordOutsideItsDomainIsRefused)
{
    switchOn();
    Pc pc;
    connectPc(pc);
    ASSERT_EQ(globalClockPPXData->clk_ppx_count, 0u);
    const auto ratings = center->testConfiguration->ratings();
    int sent = 0;
    for (const NetRecordTable* table : {&netAlternateTable(), &netStateTable(), &netHarmonicTable(), &netRampingTable()}) {
        SCOPED_TRACE(table->name);
        const Bytes base = domainBase(*table);
        ASSERT_EQ(pc.ask(parameterRequest(table->subid, base)), QByteArray(1, '\0'));
        const QByteArray before = everythingOf(testor(), *service);
        for (int f = 0; f < table->count; ++f) {
            const NetRecordField& field = table->fields[f];
            for (u32 i = 0; i < field.count; ++i) {
                for (double value : outsideOf(*table, field, i, ratings.maxVRange, ratings.maxIRange)) {
                    SCOPED_TRACE(testing::Message() << field.name << " #" << i + 1 << " = " << value);
                    Bytes record = base;
                    ASSERT_EQ(pc.ask(parameterRequest(table->subid, store(record, field, i, value))),
                              QByteArray(1, '\xFF'));
                    ASSERT_EQ(everythingOf(testor(), *service), before);
                    ++sent;
                }
            }
        }
    }
    EXPECT_GT(sent, 1000);
}
