// The AC and harmonic tests driven by the PC's records end to end: ramped
// values and trips pushed back, records arriving during a run, dither and
// rated frequency through the configuration.

#include "RemoteServiceSupport.h"

#include "ModelAlternateEntity.h"
#include "ModelHarmonicEntity.h"
#include "SimFixedDelayRelay.h"
#include "SimFpgaRegisters.h"

#include <atomic>
#include <future>
#include <thread>

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
constexpr int kUC = ModelEntity::AO_PORT_TYPE_UC;
constexpr int kIA = ModelEntity::AO_PORT_TYPE_IA;

// A procedure record keeps only the latest values: one the push side had no
// time to take is skipped, never reordered.
bool followsInOrder(const std::vector<float>& got, const std::vector<float>& all)
{
    size_t at = 0;
    for (float v : got) {
        while (at < all.size() && all[at] != v)
            ++at;
        if (at++ == all.size())
            return false;
    }
    return !got.empty() && got.front() == all.front() && got.back() == all.back();
}

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

// The AC record: UCUA from UA 0 V (UC 3 V) to 10 V in 1 V steps, 2 s each,
// returning after a trip on input 0 (group 0); group 1: steady, stopped by
// the trip.
Bytes acRecord(uint8_t group)
{
    Bytes b(AC_SIZE);
    phase(b, AC_OUTPUTS, 2, 3.0f, 120.0f, 50.0f);
    ramp(b, AC_RAMP, group, 6, 0, 0, 10.0f, 1.0f, 1.0f);
    return b.f32(AC_FAULT_TIME, 2.0f).u32(AC_RISE, 0x1).u32(AC_FALL, 0x1).u8(AC_DIRECT_TYPE, group == 0);
}

// The harmonic record: UA at `fundamental` with harmonics 3, 5, 7 of it; IA's
// fundamental ramped from 0 A to 10 A in 1 A steps, 2 s each, stopped by a
// trip on input 2.
Bytes harmonicRecord(float fundamental)
{
    Bytes b(HA_SIZE);
    const float ranges[4] = {10.0f, 2.0f, 1.0f, 0.5f};
    for (int h = 0; h < 4; ++h)
        b.f32(HA_WAVE + 4 * h, ranges[h]).f32(HA_WAVE + 168 + 4 * h, fundamental * float(2 * h + 1));
    ramp(b, HA_RAMP, 0, 8, 0, 0, 10.0f, 1.0f, 1.0f);
    return b.f32(HA_FAULT_TIME, 2.0f).u32(HA_RISE, 0x4);
}

class RemoteSourceRecords : public RemoteServiceTest
{
protected:
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

    // Starts the test set up, waits for its end (the running 0 pushed) and
    // for `tripCount` trigger frames. The values[0] of its procedure frames,
    // repeats dropped, into `ramped`.
    void runToEnd(Pc& pcSide, size_t tripCount, std::vector<float>& ramped)
    {
        const size_t mark = pcSide.frames.size();
        ASSERT_EQ(pcSide.ask(startRequest()), QByteArray(1, '\0'));
        const int running = pcSide.waitStatus(1, mark);
        ASSERT_GE(running, 0);
        ASSERT_TRUE(waitEnded());
        ASSERT_GE(pcSide.waitStatus(0, size_t(running) + 1), 0);
        ASSERT_TRUE(waitFor([&] {
            pcSide.pump();
            return framesOf(pcSide, pc::PushTrigger, mark).size() >= tripCount;
        }));
        outputs = framesOf(pcSide, pc::PushProcedure, mark);
        trips = framesOf(pcSide, pc::PushTrigger, mark);
        for (const pc::Frame& f : outputs) {
            if (ramped.empty() || ramped.back() != pushed(f).values[0])
                ramped.push_back(pushed(f).values[0]);
        }
    }

    // The configuration's dither time and rated frequency, read on its thread.
    std::pair<double, double> configuration()
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

    std::vector<pc::Frame> outputs, trips;   // of the last runToEnd
};

} // namespace

TEST_F(RemoteSourceRecords, AcRampInReturnModePushesItsValuesAndTheReturn)
{
    switchOn();
    Pc pc;
    connectPc(pc);
    const uint32_t dither = ditherRegister();
    // A dither time below 1 ms is not taken.
    ASSERT_EQ(pc.ask(parameterRequest(kAcRecord, Bytes(acRecord(0)).f32(AC_DITHER, 0.0005f))), QByteArray(1, '\0'));
    plugTimedRelay(kUA, 4.5, 0.8);   // drops off below 4.275 V
    std::vector<float> ua;
    runToEnd(pc, 2, ua);
    ASSERT_FALSE(HasFatalFailure());

    // Two values per procedure record, UA first: the start as set (pushed
    // with the start), then stepping up to the pick-up and back down to the
    // drop-off.
    for (const pc::Frame& f : outputs) {
        EXPECT_EQ(f.subid, kAcResult);
        EXPECT_EQ(pushed(f).values[1], pushed(f).values[0] + 3.0f);
        EXPECT_EQ(pushed(f).values[2], 0.0f);
    }
    EXPECT_TRUE(followsInOrder(ua, {0, 1, 2, 3, 4, 5, 6, 5, 4})) << ::testing::PrintToString(ua);

    // The pick-up in slot 0, then the return in slot 1 alone, UA first.
    const Pushed pick = pushed(trips[0]);
    const Pushed back = pushed(trips[1]);
    EXPECT_EQ(trips[0].subid, kAcResult);
    EXPECT_GT(pick.times[0], 0.0f);
    EXPECT_EQ(pick.times[1], 0.0f);
    EXPECT_EQ(std::vector<float>(pick.values, pick.values + 3), (std::vector<float>{5, 8, 0}));
    EXPECT_EQ(back.times[0], 0.0f);
    EXPECT_EQ(std::vector<float>(back.values, back.values + 3), (std::vector<float>{4, 7, 0}));
    ModelAlternateEntity& e = *testor().dataAlternate;
    QMutexLocker lock(&e.entityLock);
    EXPECT_FLOAT_EQ(back.times[1], float(e.faultActionReturnTimes[0]));
    EXPECT_GT(back.times[1], 0.0f);
    EXPECT_EQ(ditherRegister(), dither);
}

TEST_F(RemoteSourceRecords, HarmonicRampTripsInTheSlotOfItsInputAndItsSettingsHoldUntilRemoteControlEnds)
{
    switchOn();
    Pc pc;
    connectPc(pc);
    const uint32_t dither = ditherRegister();
    const double configuredDither = configuration().first;
    // A dither time below 1 ms is not taken from the harmonic record.
    ASSERT_EQ(pc.ask(parameterRequest(kHarmonicRecord, Bytes(harmonicRecord(50.0f)).f32(HA_DITHER, 0.0005f))),
              QByteArray(1, '\0'));
    plugRelay(kIA, 4.5, 0.8, 2);   // well inside a state: the next one is written by then
    std::vector<float> ia;
    runToEnd(pc, 1, ia);
    ASSERT_FALSE(HasFatalFailure());

    // UA's harmonics at 150, 250, 350 Hz are orders 3, 5, 7 of the rated 50 Hz.
    const zorsim::PageContent p0 = page(0);
    ASSERT_EQ(p0.componentsPerChannel, 4);
    for (int h = 0; h < 4; ++h)
        EXPECT_NEAR(p0.channels[kUA].components[size_t(h)].frequencyHz, 50.0 * (2 * h + 1), 1e-3) << h;
    // IA's fundamental steps up to the pick-up, which input 2 reports.
    for (const pc::Frame& f : outputs)
        EXPECT_EQ(f.subid, kHarmonicResult);
    EXPECT_TRUE(followsInOrder(ia, {0, 1, 2, 3, 4, 5})) << ::testing::PrintToString(ia);
    const Pushed t = pushed(trips[0]);
    EXPECT_EQ(trips[0].subid, kHarmonicResult);
    EXPECT_EQ(std::vector<float>(t.times, t.times + 4), (std::vector<float>{0, 0, t.times[2], 0}));
    EXPECT_GT(t.times[2], 0.0f);
    EXPECT_EQ(t.values[0], 5.0f);

    EXPECT_EQ(ditherRegister(), dither);

    // A 60 Hz fundamental becomes the rated frequency, and a dither time
    // within bounds reaches the instrument, until remote control ends.
    ASSERT_EQ(pc.ask(parameterRequest(kHarmonicRecord, Bytes(harmonicRecord(60.0f)).f32(HA_DITHER, 0.25f))),
              QByteArray(1, '\0'));
    ASSERT_TRUE(workerDone(center->testConfiguration));
    EXPECT_EQ(configuration(), std::make_pair(0.25, 60.0));
    EXPECT_EQ(ditherRegister(), 250000u);
    {
        ModelHarmonicEntity& e = *testor().dataHarmonic;
        QMutexLocker lock(&e.entityLock);
        EXPECT_EQ(e.outputOrders[3], 7);
        EXPECT_EQ(e.outputFrequencies[kUA][0], 60.0);
    }
    service->updateViewConnectEnable(false);
    ASSERT_TRUE(workerDone(center->testConfiguration));
    EXPECT_EQ(configuration(), std::make_pair(configuredDither, 50.0));
    EXPECT_EQ(ditherRegister(), dither);
}

TEST_F(RemoteSourceRecords, RecordsDuringARunLeaveItAndItsPushesAlone)
{
    switchOn();
    Pc pc;
    connectPc(pc);
    ASSERT_EQ(pc.ask(parameterRequest(kAcRecord, acRecord(1))), QByteArray(1, '\0'));
    const size_t mark = pc.frames.size();
    ASSERT_EQ(pc.ask(startRequest()), QByteArray(1, '\0'));
    const int running = pc.waitStatus(1, mark);
    ASSERT_GE(running, 0);

    // Records the start would not run, and a record that would make the
    // running steady output a ramp, are refused and change neither the AC
    // entity nor the active module; a steady one waits for the next SWITCH.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct
    {
        const char* name;
        uint16_t subid;
        Bytes record;
    } rows[] = {
        {"AC ramp item 3", kAcRecord, Bytes(acRecord(1)).u8(AC_RAMP + 3, 3).f32(AC_OUTPUTS + 24, 5.0f)},
        {"AC ramp factor NaN", kAcRecord, Bytes(acRecord(1)).f32(AC_RAMP + 28, nan)},
        {"AC ramp step 0", kAcRecord, Bytes(acRecord(0)).f32(AC_RAMP + 24, 0.0f)},
        {"AC ramp end above the voltage range", kAcRecord, Bytes(acRecord(0)).f32(AC_RAMP + 8, 1e4f)},
        {"AC current above its range", kAcRecord, Bytes(acRecord(1)).f32(AC_OUTPUTS + 12 * kIA, 1e3f)},
        {"harmonic slot 4", kHarmonicRecord, Bytes(harmonicRecord(50.0f)).u8(HA_RAMP + 2, 4)},
        {"harmonic fundamental NaN", kHarmonicRecord, Bytes(harmonicRecord(50.0f)).f32(HA_WAVE + 168, nan)},
        {"harmonic ramp step 0", kHarmonicRecord, Bytes(harmonicRecord(50.0f)).f32(HA_RAMP + 24, 0.0f)},
        {"ramping of 9 points", kRampingRecord, Bytes(RA_SIZE).u32(RA_POINTS, 9)},
        {"ramping of 0 points", kRampingRecord, Bytes(RA_SIZE)},
        {"ramping UA angle 361", kRampingRecord, Bytes(RA_SIZE).u32(RA_POINTS, 1).f32(RA_NORMAL + 4, 361.0f)},
        {"state 32", kStateRecord, Bytes(ST_SIZE).u32(0, 32)},
        {"state trigger kind 9", kStateRecord, Bytes(ST_SIZE).u8(ST_TRIGGER, 9)},
        {"state time NaN", kStateRecord, Bytes(ST_SIZE).f32(ST_TIME, nan)},
        {"ramping item 7", kRampingRecord, Bytes(RA_SIZE).u32(RA_POINTS, 1).f32(RA_STEP, 0.1f).u8(RA_ITEM, 7)},
        {"ramping step NaN", kRampingRecord, Bytes(RA_SIZE).u32(RA_POINTS, 1).f32(RA_STEP, nan)},
        {"AC ramp for the running steady output", kAcRecord, Bytes(acRecord(0)).f32(AC_OUTPUTS + 24, 55.0f)},
        {"AC steady, held for the next SWITCH", kAcRecord, Bytes(acRecord(1)).f32(AC_OUTPUTS + 24, 55.0f)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const bool held = &row == &rows[std::size(rows) - 1];
        EXPECT_EQ(pc.ask(parameterRequest(row.subid, row.record)), QByteArray(1, held ? '\0' : '\xFF'));
        EXPECT_EQ(testor().testType.load(), TT::TEST_ALTERNATE);
        EXPECT_EQ(service->protocolVersion.load(), 0);
        ModelAlternateEntity& e = *testor().dataAlternate;
        QMutexLocker lock(&e.entityLock);
        EXPECT_EQ(e.outputRanges[kUC], 3.0);
        EXPECT_EQ(e.faultActionItem, ModelEntity::RAMP_ITEM_TYPE_RANGE);
        EXPECT_EQ(e.actionRampFactor, 1);
    }
    // The PC prepares its next test: taken, but the run's records, also those
    // that follow its end, stay AC.
    ASSERT_EQ(pc.ask(parameterRequest(kHarmonicRecord, harmonicRecord(50.0f))), QByteArray(1, '\0'));
    EXPECT_EQ(testor().testType.load(), TT::TEST_HARMONIC);
    ASSERT_EQ(state(RT::STATE_TYPE_RUNNING), 1);

    plugRelay(kUC, 2.9);
    ASSERT_TRUE(waitEnded());
    ASSERT_GE(pc.waitStatus(0, size_t(running) + 1), 0);
    const auto trip = pc.waitFrame(pc::PushTrigger, mark);
    ASSERT_TRUE(trip.has_value());
    // The output record of the end's switch, usually after the trip.
    size_t tripAt = mark;
    while (pc.frames[tripAt].command != pc::PushTrigger)
        ++tripAt;
    waitFor([&] { return pc.pump() && !framesOf(pc, pc::PushProcedure, tripAt).empty(); }, 3000);
    EXPECT_EQ(trip->subid, kAcResult);
    EXPECT_GT(pushed(*trip).times[0], 0.0f);
    EXPECT_EQ(pushed(*trip).values[1], 3.0f);
    for (uint16_t command : {pc::PushProcedure, pc::PushTrigger}) {
        for (const pc::Frame& f : framesOf(pc, command, mark))
            EXPECT_EQ(f.subid, kAcResult) << std::hex << command;
    }
}

TEST_F(RemoteSourceRecords, AcRunLeavesTheEntityToThePcAndAStartRunsItsRecordAgain)
{
    switchOn();
    // The AC page open with settings of its own (UA 57.735 V, IA 1 A).
    actest::AcModel vm;
    setUpAc(vm);
    Pc pc;
    connectPc(pc);
    // UA from 10 V by 1 V per 2 s, stopped by the trip at 12 V; IA 0 A.
    Bytes record(AC_SIZE);
    phase(record, AC_OUTPUTS, kUA, 10.0f, 0.0f, 50.0f);
    ramp(record, AC_RAMP, 0, kUA, 0, 0, 20.0f, 1.0f, 1.0f);
    ASSERT_EQ(pc.ask(parameterRequest(kAcRecord, record.f32(AC_FAULT_TIME, 2.0f).u32(AC_RISE, 0x1))),
              QByteArray(1, '\0'));
    plugTimedRelay(kUA, 11.5, 0.5);
    // The second START without a record runs the record again, from 10 V.
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        std::vector<float> ua;
        runToEnd(pc, 1, ua);
        ASSERT_FALSE(HasFatalFailure());
        EXPECT_TRUE(followsInOrder(ua, {10, 11, 12})) << ::testing::PrintToString(ua);
        // The run left the entity with its own values, not the page's.
        ModelAlternateEntity& e = *testor().dataAlternate;
        QMutexLocker lock(&e.entityLock);
        EXPECT_EQ(e.outputRanges[kIA], 0.0);
        EXPECT_TRUE(e.autoRampEnabled);
    }
}

// A record is checked with the debounce it brings, which its run then uses:
// steps of 18 ms watching an input with their own 20 ms are refused at the
// record, though the 5 ms in force would pass them; steps of 10 ms with
// their own 5 ms, against 20 ms in force, are taken and run with 5 ms. It
// judges the run from the first step on, also right after a run under 5 s:
// IA from 1 A by 0.1 A, a relay closing 0.2 s into each step.
TEST_F(RemoteSourceRecords, ARecordIsCheckedWithTheDebounceItBrings)
{
    switchOn();
    Pc pc;
    connectPc(pc);
    zorsim::FixedDelayRelaySettings relay;
    relay.delaySeconds = 0.2;
    sim->plugIn(std::make_shared<zorsim::FixedDelayRelay>(relay));
    Bytes ac(AC_SIZE), harmonic(HA_SIZE);
    phase(ac, AC_OUTPUTS, kIA, 1.0f, 0.0f, 50.0f).u32(AC_RISE, 0x1);
    harmonic.f32(HA_WAVE + 252 * kIA, 1.0f).f32(HA_WAVE + 168, 50.0f).u32(HA_RISE, 0x1);
    const struct
    {
        const char* name;
        uint16_t subid;
        Bytes record;
        int stepTime, debounce;
        Bytes ia;
    } rows[] = {{"AC", kAcRecord, acRecord(0), AC_FAULT_TIME, AC_DITHER, ramp(ac, AC_RAMP, 0, 8, 0, 0, 1.2f, 0.1f, 1)},
                {"harmonic", kHarmonicRecord, harmonicRecord(50.0f), HA_FAULT_TIME, HA_DITHER,
                 ramp(harmonic, HA_RAMP, 0, 8, 0, 0, 1.2f, 0.1f, 1)}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        for (const bool taken : {false, true}) {
            const float inForce = taken ? 0.020f : 0.005f;
            ASSERT_EQ(pc.ask(parameterRequest(kAcRecord, acRecord(1).f32(AC_DITHER, inForce))), kOk);
            ASSERT_EQ(ditherRegister(), uint32_t(std::lround(inForce * 1e6)));
            Bytes sent = row.record;
            sent.f32(row.stepTime, taken ? 0.010f : 0.018f).f32(row.debounce, taken ? 0.005f : 0.020f);
            ASSERT_EQ(pc.ask(parameterRequest(row.subid, sent)), taken ? kOk : kRefused);
            EXPECT_EQ(ditherRegister(), 5000u);
        }
        const int runs = texts(ConstTextUtility::TEST_AOSTART);
        ASSERT_EQ(pc.ask(startRequest()), kOk);
        ASSERT_TRUE(waitFor([&] { return texts(ConstTextUtility::TEST_AOSTART) == runs + 1; }));
        ASSERT_TRUE(stopped());
        for (const float debounce : {5.0f, 0.015f}) {
            Bytes sent = row.ia;
            sent.f32(row.stepTime, debounce > 1.0f ? 20.0f : 2.0f).f32(row.debounce, debounce);
            ASSERT_EQ(pc.ask(parameterRequest(row.subid, sent)), kOk);
            std::vector<float> ia;
            ASSERT_NO_FATAL_FAILURE(runToEnd(pc, 1, ia));
            EXPECT_EQ(std::make_pair(pushed(trips[0]).times[0], pushed(trips[0]).values[0]), std::make_pair(0.2f, 1.0f))
                << debounce;
        }
    }
}

// The debounce has one domain in every record (1 ms to 4294.967295 s) and is
// the one the record's run uses: a harmonic record's 11 s is held against
// its steps like any other and taken with longer ones, its 5000 s refused;
// a state sequence started after an AC record of 20 ms runs with its own 5 ms.
// A page reads the debounce a record set under the configuration's lock.
TEST_F(RemoteSourceRecords, EveryRecordsDebounceHasOneDomainAndIsTheOneItsRunUses)
{
    switchOn();
    actest::AcModel page;
    Pc pc;
    connectPc(pc);
    const struct
    {
        float debounce, stepTime;
        bool taken;
    } rows[] = {{11.0f, 2.0f, false}, {11.0f, 20.0f, true}, {5000.0f, 6000.0f, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.debounce << " s against steps of " << row.stepTime << " s");
        ASSERT_EQ(pc.ask(parameterRequest(kAcRecord, acRecord(1).f32(AC_DITHER, 0.005f))), kOk);
        const Bytes sent = Bytes(harmonicRecord(50.0f)).f32(HA_FAULT_TIME, row.stepTime).f32(HA_DITHER, row.debounce);
        EXPECT_EQ(pc.ask(parameterRequest(kHarmonicRecord, sent)), row.taken ? kOk : kRefused);
        EXPECT_EQ(ditherRegister(), row.taken ? uint32_t(row.debounce * 1e6f) : 5000u);
    }

    Bytes state(ST_SIZE);
    phase(state, ST_OUTPUTS, kIA, 0.5f, 0.0f, 50.0f).f32(ST_TIME, 1.0f).f32(ST_DITHER, 0.005f);
    ASSERT_EQ(pc.ask(parameterRequest(kStateRecord, state)), kOk);
    ASSERT_EQ(pc.ask(parameterRequest(kAcRecord, acRecord(1).f32(AC_DITHER, 0.02f))), kOk);
    ASSERT_EQ(ditherRegister(), 20000u);
    EXPECT_EQ(page.getDitherTime(), double(0.02f));
    {
        // Read as a page's Start reads it while the records write it.
        std::atomic<bool> sending{true};
        std::thread reader([&] {
            while (sending.load())
                ASSERT_GE(page.getDitherTime(), 0.005 - 1e-9);
        });
        for (const float d : {0.03f, 0.02f})
            EXPECT_EQ(pc.ask(parameterRequest(kAcRecord, acRecord(1).f32(AC_DITHER, d))), kOk);
        sending = false;
        reader.join();
    }
    center->testActive(ControllerTestor::TEST_STATESEQUENCE);   // the panel back on the sequence
    ASSERT_TRUE(workerDone(center->testTestor));
    ASSERT_EQ(pc.ask(startRequest()), kOk);
    EXPECT_EQ(ditherRegister(), 5000u);
    ASSERT_TRUE(stopped());
}

// A record for the module while its start settles the amplifiers (1.5 s at
// real time), whether the START runs a record or the page, is refused and
// changes nothing of what then runs.
TEST_F(RemoteSourceRecords, ARecordDuringTheAmplifiersSettleIsRefused)
{
    zoplat::setTimeScale(1.0);
    switchOn();
    actest::AcModel vm;
    setUpAc(vm);
    for (const bool record : {true, false}) {
        SCOPED_TRACE(record);
        Pc pc;
        connectPc(pc);
        if (record) {
            ASSERT_EQ(pc.ask(parameterRequest(kAcRecord, acRecord(1))), kOk);
        }
        const double uc = record ? 3.0 : vm.getOutputRange(actest::port(kUC));
        ASSERT_EQ(pc.ask(startRequest()), kOk);
        EXPECT_EQ(pc.ask(parameterRequest(kAcRecord, Bytes(acRecord(1)).f32(AC_OUTPUTS + 24, 5.0f))), kRefused);
        EXPECT_FALSE(testor().runEnable.load());   // still settling
        ASSERT_TRUE(waitFor([this] { return simRunning(); }));
        EXPECT_EQ(read(*testor().dataAlternate, [](auto& e) { return e.outputRanges[kUC]; }), uc);
        ASSERT_TRUE(stopped());
        // The next spell: no record of it.
        service->updateViewConnectEnable(false);
        service->updateViewConnectEnable(true);
    }
}
