// The AC and harmonic tests driven by the PC's records end to end: ramped
// values and trips pushed back, records arriving during a run, dither and
// rated frequency through the configuration.

#include "RemoteServiceSupport.h"

#include "ModelAlternateEntity.h"
#include "ModelHarmonicEntity.h"
#include "SimFpgaRegisters.h"

#include <future>

using namespace remoteservice;
using namespace pc::rec;
using pc::Bytes;

namespace {

constexpr uint16_t kAcRecord = 0xB104;
constexpr uint16_t kStateRecord = 0xB102;
constexpr uint16_t kHarmonicRecord = 0xB106;
constexpr uint16_t kRampingRecord = 0xB301;
constexpr uint16_t kAcResult = 0xC104;
constexpr uint16_t kHarmonicResult = 0xC106;
// Pushed records: AC ramped values f32[8] @16, input times f32[32] @249;
// harmonic input times @25, ramped values @153.
constexpr int kAcValues = 16, kAcTimes = 249, kHaTimes = 25, kHaValues = 153;

constexpr int kUA = ModelEntity::AO_PORT_TYPE_UA;
constexpr int kIA = ModelEntity::AO_PORT_TYPE_IA;

struct Pushed
{
    float values[3];
    float times[4];
};

Pushed pushed(const pc::Frame& f)
{
    const bool ac = f.subid == kAcResult;
    const Bytes b(f.payload);
    Pushed p{};
    for (int j = 0; j < 3; ++j)
        p.values[j] = b.f32((ac ? kAcValues : kHaValues) + 4 * j);
    for (int i = 0; i < 4; ++i)
        p.times[i] = b.f32((ac ? kAcTimes : kHaTimes) + 4 * i);
    return p;
}

// The harmonic record: UA at `fundamental` with harmonics 3, 5, 7 of it; IA's
// fundamental ramped from 0 A to 10 A in 1 A steps, 2 s each, stopped by a
// trip on input 2.
Bytes harmonicRamp(float fundamental)
{
    Bytes b(HA_SIZE);
    const float ranges[4] = {10.0f, 2.0f, 1.0f, 0.5f};
    const float orders[4] = {1.0f, 3.0f, 5.0f, 7.0f};
    for (int h = 0; h < 4; ++h) {
        b.f32(HA_WAVE + 4 * h, ranges[h]);
        b.f32(HA_WAVE + 168 + 4 * h, fundamental * orders[h]);
    }
    ramp(b, HA_RAMP, 0, 8, 0, 0, 10.0f, 1.0f, 1.0f);
    return b.f32(HA_FAULT_TIME, 2.0f).u32(HA_RISE, 0x4);
}

// A steady 1 A in IA, its trip watched on input 0 rising.
Bytes steadyAc()
{
    Bytes b(AC_SIZE);
    for (int k = 0; k < 8; ++k)
        phase(b, AC_OUTPUTS, k, k == 4 ? 1.0f : 0.0f, 0.0f, 50.0f);
    ramp(b, AC_RAMP, 1, 8, 0, 0, 0.0f, 0.0f, 1.0f);
    return b.f32(AC_FAULT_TIME, 10.0f).u32(AC_RISE, 0x1);
}

class RemoteSourceRecords : public RemoteServiceTest
{
protected:
    std::optional<QByteArray> sendRecord(Pc& pcSide, uint16_t subid, const Bytes& record)
    {
        return pcSide.ask(pc::frame(pc::SetParameter, subid, record.data));
    }

    // The pushed frames of a command from index `from`.
    static std::vector<pc::Frame> framesOf(const Pc& pcSide, uint16_t command, size_t from)
    {
        std::vector<pc::Frame> out;
        for (size_t i = from; i < pcSide.frames.size(); ++i) {
            if (pcSide.frames[i].command == command)
                out.push_back(pcSide.frames[i]);
        }
        return out;
    }

    // The instrument's dither register, in microseconds.
    uint32_t ditherRegister() const
    {
        return sim->peekRegister(zorsim::reg::kDither) | uint32_t(sim->peekRegister(zorsim::reg::kDither + 2)) << 16;
    }

    // The configuration's values, read on its thread.
    std::pair<double, double> ditherAndRatedFrequency()
    {
        ControllerConfiguration* config = center->testConfiguration;
        auto read = std::make_shared<std::promise<std::pair<double, double>>>();
        auto done = read->get_future();
        QMetaObject::invokeMethod(
            config, [config, read] { read->set_value({config->ditherTime, config->rateFrequency}); },
            Qt::QueuedConnection);
        EXPECT_EQ(done.wait_for(std::chrono::seconds(10)), std::future_status::ready);
        return done.get();
    }
};

} // namespace

TEST_F(RemoteSourceRecords, AcRampInReturnModePushesItsValuesAndTheReturn)
{
    switchOn();
    Pc pc;
    connectPc(pc);
    // UCUA from UA 0 V (UC 3 V) to 10 V in 1 V steps, 2 s each; the relay on
    // UA picks up from 4.5 V and drops off below 4.275 V, both after 0.8 s.
    Bytes b(AC_SIZE);
    for (int k = 0; k < 8; ++k)
        phase(b, AC_OUTPUTS, k, k == 2 ? 3.0f : 0.0f, 120.0f * float(k % 4 == 2), 50.0f);
    ramp(b, AC_RAMP, 0, 6, 0, 0, 10.0f, 1.0f, 1.0f);
    b.f32(AC_FAULT_TIME, 2.0f).u32(AC_RISE, 0x1).u32(AC_FALL, 0x1).u8(AC_DIRECT_TYPE, 1);
    ASSERT_EQ(sendRecord(pc, kAcRecord, b), QByteArray(1, '\0'));
    plugTimedRelay(kUA, 4.5, 0.8);

    const size_t mark = pc.frames.size();
    ASSERT_EQ(pc.ask(startRequest()), QByteArray(1, '\0'));
    const int running = pc.waitStatus(1, mark);
    ASSERT_GE(running, 0);
    ASSERT_TRUE(waitEnded());
    const int stopped = pc.waitStatus(0, size_t(running) + 1);
    ASSERT_GE(stopped, 0);
    ASSERT_TRUE(waitFor([&] {
        pc.pump();
        return framesOf(pc, pc::PushTrigger, mark).size() >= 2;
    }));

    // Two values per procedure record, UA first: the start as set (pushed
    // with the start), then UA and UC stepping up to the pick-up and back
    // down to the drop-off.
    const std::vector<pc::Frame> outputs = framesOf(pc, pc::PushProcedure, mark);
    std::vector<float> ua;
    for (const pc::Frame& f : outputs) {
        EXPECT_EQ(f.subid, kAcResult);
        const Pushed p = pushed(f);
        EXPECT_EQ(p.values[1], p.values[0] + 3.0f);
        EXPECT_EQ(p.values[2], 0.0f);
        if (ua.empty() || ua.back() != p.values[0])
            ua.push_back(p.values[0]);
    }
    const std::vector<float> ramped = {0, 1, 2, 3, 4, 5, 6, 5, 4};
    ASSERT_GE(ua.size(), ramped.size());
    EXPECT_EQ(std::vector<float>(ua.begin(), ua.begin() + long(ramped.size())), ramped);

    // The pick-up in slot 0, then the return in slot 1 alone.
    const std::vector<pc::Frame> trips = framesOf(pc, pc::PushTrigger, mark);
    const Pushed pick = pushed(trips[0]);
    const Pushed back = pushed(trips[1]);
    EXPECT_EQ(trips[0].subid, kAcResult);
    EXPECT_GT(pick.times[0], 0.0f);
    EXPECT_EQ(pick.times[1], 0.0f);
    EXPECT_EQ(pick.values[0], 5.0f);
    EXPECT_EQ(pick.values[1], 8.0f);
    EXPECT_EQ(back.times[0], 0.0f);
    EXPECT_GT(back.times[1], 0.0f);
    EXPECT_EQ(back.values[0], 4.0f);
    EXPECT_EQ(back.values[1], 7.0f);
    ModelAlternateEntity& e = *testor().dataAlternate;
    QMutexLocker lock(&e.entityLock);
    EXPECT_FLOAT_EQ(back.times[1], float(e.faultActionReturnTimes[0]));
}

TEST_F(RemoteSourceRecords, HarmonicRampTripsInTheSlotOfItsInputAndSetsTheRatedFrequency)
{
    switchOn();
    Pc pc;
    connectPc(pc);
    ASSERT_EQ(sendRecord(pc, kHarmonicRecord, harmonicRamp(50.0f)), QByteArray(1, '\0'));
    auto relay = plugRelay(kIA, 4.5, 0.0, 2);

    const size_t mark = pc.frames.size();
    ASSERT_EQ(pc.ask(startRequest()), QByteArray(1, '\0'));
    const int running = pc.waitStatus(1, mark);
    ASSERT_GE(running, 0);
    // UA's harmonics at 150, 250, 350 Hz are orders 3, 5, 7 of the rated 50 Hz.
    const zorsim::PageContent p0 = page(0);
    ASSERT_EQ(p0.componentsPerChannel, 4);
    const double frequencies[4] = {50, 150, 250, 350};
    for (int h = 0; h < 4; ++h)
        EXPECT_NEAR(p0.channels[kUA].components[size_t(h)].frequencyHz, frequencies[h], 1e-3) << h;
    ASSERT_TRUE(waitEnded());
    ASSERT_GE(pc.waitStatus(0, size_t(running) + 1), 0);
    const auto trip = pc.waitFrame(pc::PushTrigger, mark);
    ASSERT_TRUE(trip.has_value());

    // IA's fundamental steps up to the pick-up.
    std::vector<float> ia;
    for (const pc::Frame& f : framesOf(pc, pc::PushProcedure, mark)) {
        EXPECT_EQ(f.subid, kHarmonicResult);
        if (ia.empty() || ia.back() != pushed(f).values[0])
            ia.push_back(pushed(f).values[0]);
    }
    EXPECT_EQ(ia, (std::vector<float>{0, 1, 2, 3, 4, 5}));
    const Pushed t = pushed(*trip);
    EXPECT_EQ(trip->subid, kHarmonicResult);
    EXPECT_EQ(t.times[0], 0.0f);
    EXPECT_EQ(t.times[1], 0.0f);
    EXPECT_GT(t.times[2], 0.0f);
    EXPECT_EQ(t.times[3], 0.0f);
    EXPECT_EQ(t.values[0], 5.0f);

    // A 60 Hz fundamental becomes the rated frequency until remote control ends.
    ASSERT_EQ(sendRecord(pc, kHarmonicRecord, harmonicRamp(60.0f)), QByteArray(1, '\0'));
    EXPECT_EQ(ditherAndRatedFrequency().second, 60.0);
    {
        ModelHarmonicEntity& e = *testor().dataHarmonic;
        QMutexLocker lock(&e.entityLock);
        EXPECT_EQ(e.outputOrders[3], 7);
        EXPECT_EQ(e.outputFrequencies[kUA][0], 60.0);
    }
    service->updateViewConnectEnable(false);
    EXPECT_EQ(ditherAndRatedFrequency().second, 50.0);
}

TEST_F(RemoteSourceRecords, DitherTimeOfARecordReachesTheDriverUntilRemoteControlEnds)
{
    switchOn();
    Pc pc;
    connectPc(pc);
    const uint32_t before = ditherRegister();
    const double configured = ditherAndRatedFrequency().first;
    ASSERT_EQ(before, uint32_t(std::lround(configured * 1e6)));
    struct Row
    {
        const char* name;
        uint16_t subid;
        float dither;
        double expected;   // < 0: the configuration's own
    };
    const Row rows[] = {
        {"AC below the lower bound", kAcRecord, 0.0005f, -1},
        {"harmonic above its upper bound", kHarmonicRecord, 12.0f, -1},
        {"AC has no upper bound", kAcRecord, 12.0f, 12.0},
        {"harmonic within its bounds", kHarmonicRecord, 0.25f, 0.25},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Bytes b = row.subid == kAcRecord ? steadyAc() : harmonicRamp(50.0f);
        b.f32(row.subid == kAcRecord ? AC_DITHER : HA_DITHER, row.dither);
        ASSERT_EQ(sendRecord(pc, row.subid, b), QByteArray(1, '\0'));
        ASSERT_TRUE(workerDone(center->testConfiguration));
        const double expected = row.expected < 0 ? configured : row.expected;
        EXPECT_EQ(ditherAndRatedFrequency().first, expected);
        EXPECT_EQ(ditherRegister(), uint32_t(std::lround(expected * 1e6)));
    }
    service->updateViewConnectEnable(false);
    ASSERT_TRUE(workerDone(center->testConfiguration));
    EXPECT_EQ(ditherAndRatedFrequency().first, configured);
    EXPECT_EQ(ditherRegister(), before);
}

TEST_F(RemoteSourceRecords, RecordsDuringARunLeaveItAndItsPushesAlone)
{
    switchOn();
    Pc pc;
    connectPc(pc);
    ASSERT_EQ(sendRecord(pc, kAcRecord, steadyAc()), QByteArray(1, '\0'));
    const size_t mark = pc.frames.size();
    ASSERT_EQ(pc.ask(startRequest()), QByteArray(1, '\0'));
    const int running = pc.waitStatus(1, mark);
    ASSERT_GE(running, 0);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Row
    {
        const char* name;
        uint16_t subid;
        Bytes record;
        char reply;
    };
    Bytes acItem3 = steadyAc();
    phase(acItem3, AC_OUTPUTS, 4, 2.0f, 0.0f, 50.0f).u8(AC_RAMP + 3, 3);
    Bytes acFactorNaN = steadyAc();
    acFactorNaN.f32(AC_RAMP + 28, nan);
    const Row rows[] = {
        {"AC ramp item 3", kAcRecord, acItem3, '\xFF'},
        {"AC ramp factor NaN", kAcRecord, acFactorNaN, '\xFF'},
        {"harmonic slot 4", kHarmonicRecord, Bytes(harmonicRamp(50.0f)).u8(HA_RAMP + 2, 4), '\xFF'},
        {"harmonic fundamental NaN", kHarmonicRecord, Bytes(harmonicRamp(50.0f)).f32(HA_WAVE + 168, nan), '\xFF'},
        // Refused, but answered as taken.
        {"ramping of 9 points", kRampingRecord, Bytes(RA_SIZE).u32(RA_POINTS, 9), '\0'},
        {"state 32", kStateRecord, Bytes(ST_SIZE).u32(0, 32), '\0'},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(sendRecord(pc, row.subid, row.record), QByteArray(1, row.reply));
        EXPECT_EQ(testor().testType.load(), TT::TEST_ALTERNATE);
        EXPECT_EQ(service->protocolVersion.load(), 0);
        ModelAlternateEntity& e = *testor().dataAlternate;
        QMutexLocker lock(&e.entityLock);
        EXPECT_EQ(e.outputRanges[kIA], 1.0);
        EXPECT_EQ(e.faultActionItem, ModelEntity::RAMP_ITEM_TYPE_RANGE);
        EXPECT_EQ(e.actionRampFactor, 1);
    }
    // The PC prepares its next test: taken, but the run's records stay AC.
    ASSERT_EQ(sendRecord(pc, kHarmonicRecord, harmonicRamp(50.0f)), QByteArray(1, '\0'));
    EXPECT_EQ(testor().testType.load(), TT::TEST_HARMONIC);
    ASSERT_EQ(state(RT::STATE_TYPE_RUNNING), 1);

    auto relay = plugRelay(kIA, 0.9);
    ASSERT_TRUE(waitEnded());
    ASSERT_GE(pc.waitStatus(0, size_t(running) + 1), 0);
    const auto trip = pc.waitFrame(pc::PushTrigger, mark);
    ASSERT_TRUE(trip.has_value());
    EXPECT_EQ(trip->subid, kAcResult);
    EXPECT_GT(pushed(*trip).times[0], 0.0f);
    EXPECT_EQ(pushed(*trip).values[0], 1.0f);
    for (uint16_t command : {pc::PushProcedure, pc::PushTrigger}) {
        for (const pc::Frame& f : framesOf(pc, command, mark))
            EXPECT_EQ(f.subid, kAcResult) << std::hex << command;
    }
}
