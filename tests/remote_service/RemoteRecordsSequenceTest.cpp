// The multi-state modules run from the PC: state records and a ramping record
// in, the procedure and trigger records of the run back, trips from the
// instrument's relay models.

#include "RemoteServiceSupport.h"

#include "ModelRampingEntity.h"
#include "ModelStateSequenceEntity.h"
#include "SimFpgaRegisters.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

using namespace remoteservice;
using namespace pc::rec;
using pc::Bytes;

namespace {

constexpr uint16_t kStateRecord = 0xB102;
constexpr uint16_t kRampingRecord = 0xB301;
constexpr uint16_t kStateResult = 0xC102;
constexpr uint16_t kRampingResult = 0xC201;
constexpr int kIA = 4;

// One state: IA, its time, its trigger (0 time, 2 time or input, 3 key),
// input 0's rising edge watched.
Bytes stateRecord(uint32_t index, float ia, float seconds, uint8_t trigger)
{
    Bytes b(ST_SIZE);
    b.u32(0, index).f32(ST_TIME, seconds).u32(ST_RISE, 0x1).u8(ST_TRIGGER, trigger);
    for (int k = 0; k < 8; ++k)
        phase(b, ST_OUTPUTS, k, k == kIA ? ia : 0.0f, 0.0f, 50.0f);
    return b;
}

// UA tells the kind of state a procedure record was pushed in.
constexpr float kNormalUa = 10.0f, kRampUa = 30.0f, kIntervalUa = 20.0f;

// Project 7, module 3, two points: each a normal output of 0.5 s, IA ramped
// from 1 A (point 0) or 1.5 A (point 1) by 1 A per 0.4 s towards 6 A until
// input 0 rises, an interval output of 0.5 s.
Bytes rampingRecord()
{
    const float from[2] = {1.0f, 1.5f};
    Bytes b(RA_SIZE);
    b.u32(0, 7).u32(4, 3).u32(RA_POINTS, 2);
    auto outputs = [&b](int base, float ua, float ia) {
        for (int k = 0; k < 8; ++k)
            phase(b, base, k, k == 0 ? ua : k == kIA ? ia : 0.0f, 0.0f, 50.0f);
    };
    outputs(RA_NORMAL, kNormalUa, 0.0f);
    outputs(RA_INTERVAL, kIntervalUa, 0.0f);
    b.f32(RA_NORMAL_TIME, 0.5f).u8(RA_NORMAL_ENABLE, 1).f32(RA_INTERVAL_TIME, 0.5f).u8(RA_INTERVAL_ENABLE, 1);
    for (int t = 0; t < 2; ++t) {
        outputs(RA_FAULT + 96 * t, kRampUa, from[t]);
        b.f32(RA_STEP + 4 * t, 1.0f).f32(RA_END + 4 * t, 6.0f).f32(RA_TIME + 4 * t, 0.4f);
        b.u8(RA_VARIABLE + t, 8).u8(RA_ITEM + t, 0).u8(RA_LINK + t, 1).u8(RA_BI_STATE + 4 * t, 1);
    }
    return b;
}

// One point: IA from `from` by `step` per `seconds` towards 3 A, no other
// output, input 0's rise watched.
Bytes iaRamp(float from, float step, float seconds)
{
    Bytes b(RA_SIZE);
    for (int base : {RA_NORMAL, RA_INTERVAL, RA_FAULT})
        for (int k = 0; k < 8; ++k)
            phase(b, base, k, base == RA_FAULT && k == kIA ? from : 0.0f, 0.0f, 50.0f);
    b.u32(RA_POINTS, 1).f32(RA_STEP, step).f32(RA_END, 3.0f).f32(RA_TIME, seconds);
    return b.u8(RA_VARIABLE, kIA + 4).u8(RA_ITEM, 0).u8(RA_LINK, 1).u8(RA_BI_STATE, 1);
}

class RemoteRecordsSequence : public RemoteServiceTest
{
protected:
    // The IA of the pages the instrument entered from index `from`, to
    // 0.01 A, repeats dropped.
    std::vector<double> played(size_t from = 0) const
    {
        std::vector<double> v;
        const std::vector<double> all = pages->amplitudes();
        for (size_t i = from; i < all.size(); ++i) {
            if (v.empty() || std::abs(v.back() - all[i]) > 1e-4)
                v.push_back(std::round(all[i] * 100.0) / 100.0);
        }
        return v;
    }

    // Starts the run and waits until it has ended and its end is published.
    void runToEnd(Pc& pcSide, const std::function<void()>& whileRunning = {})
    {
        const size_t mark = pcSide.frames.size();
        ASSERT_EQ(pcSide.ask(startRequest()), QByteArray(1, '\0'));
        const int running = pcSide.waitStatus(1, mark);
        ASSERT_GE(running, 0);
        if (whileRunning)
            whileRunning();
        ASSERT_TRUE(waitEnded());
        ASSERT_GE(pcSide.waitStatus(0, size_t(running) + 1), 0);
    }

    std::shared_ptr<runsource::PageRecorder> pages = std::make_shared<runsource::PageRecorder>(kIA);
};

} // namespace

TEST_F(RemoteRecordsSequence, StateSequenceReportsEveryStateItsTripAndTheKeyPress)
{
    switchOn();
    Pc pc;
    connectPc(pc);
    plugRelay(kIA, 1.0, 0.2);
    // State 1 trips, state 2 waits for the key; sent out of order.
    const Bytes states[] = {stateRecord(0, 0.5f, 0.6f, 0), stateRecord(1, 2.0f, 3.0f, 2), stateRecord(2, 0.0f, 0.0f, 3)};
    for (int s : {2, 0, 1})
        ASSERT_EQ(pc.ask(parameterRequest(kStateRecord, states[s])), QByteArray(1, '\0'));

    size_t mark = pc.frames.size();
    runToEnd(pc, [&] {
        // The GUI thread busy while the run goes from state 0 to state 2:
        // the notices of both advances and of the trip find the runtime in
        // state 2 when they are handled.
        ASSERT_TRUE(pc.waitFrame(pc::PushProcedure, mark));
        QDeadlineTimer busy(enginetest::kDeadlineMs);
        while (state(RT::STATE_TYPE_STATEINDEX) < 2 && !busy.hasExpired())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ASSERT_TRUE(pc.waitFrame(pc::PushProcedure, mark, 5000,
                                 [](const pc::Frame& f) { return Bytes(f.payload).u32(0) == 2; }));
        // The key-press state goes on until the PC's trigger command; a
        // state record meanwhile is refused and changes nothing of this run.
        ASSERT_EQ(pc.ask(parameterRequest(kStateRecord, stateRecord(3, 0.0f, 0.6f, 0))), QByteArray(1, '\xFF'));
        QElapsedTimer waited;
        waited.start();
        waitFor([&] { return waited.elapsed() > 800; });
        ASSERT_TRUE(simRunning());
        EXPECT_EQ(pc.ask(controlRequest(pc::control(0x20, 0, 0, 1))), QByteArray(1, '\0'));
    });

    // Each state's record once, its trip with it: at the advance past it,
    // the last one's at the end.
    const auto actions =
        pc.pushed(pc::PushTrigger, kStateResult, mark, [](auto& got) { return got.size() >= 4; }, 1500);
    std::vector<uint32_t> order;
    for (const Bytes& a : actions)
        order.push_back(a.u32(0));
    EXPECT_EQ(order, (std::vector<uint32_t>{0, 1, 2}));
    // Input 0 acted in state 1 only; each record carries its state's time.
    ModelStateSequenceEntity& e = *testor().dataStateSequence;
    const float tripTime = float(read(e, [](auto& x) { return x.stateActionTimes[1][0]; }));
    EXPECT_GT(tripTime, 0.0f);
    for (size_t i = 0; i < actions.size(); ++i) {
        SCOPED_TRACE(i);
        const bool acted = actions[i].u32(0) == 1;
        EXPECT_EQ(actions[i].u32(8 + 4), acted ? 0x1u : 0x0u);
        EXPECT_FLOAT_EQ(actions[i].f32(8 + 8), acted ? tripTime : 0.0f);
        EXPECT_GT(actions[i].f32(8), 0.0f);
    }

    // With states 0 to 31 received a record for 32 is refused: the start
    // runs the 32 states (the first three replaced), the last one's record
    // closing the run. State 5 trips. States of 1 s: the engine refills the
    // ring's pages as a sanitizer build can (50 ms each at the tests' pace).
    for (uint32_t s = 0; s <= 32; ++s) {
        const Bytes record = s == 5 ? stateRecord(s, 2.0f, 3.0f, 2) : stateRecord(s, 0.0f, 1.0f, 0);
        ASSERT_EQ(pc.ask(parameterRequest(kStateRecord, record)), QByteArray(1, s < 32 ? '\0' : '\xFF'));
    }
    mark = pc.frames.size();
    runToEnd(pc);
    EXPECT_EQ(read(e, [](auto& x) { return x.stateCount; }), 32);
    EXPECT_EQ(sim->playerStatus().statesPlayed, 32u);
    const auto all = pc.pushed(pc::PushTrigger, kStateResult, mark,
                            [](auto& got) { return !got.empty() && got.back().u32(0) == 31; });
    std::vector<uint32_t> each, expected;
    for (const Bytes& a : all) {
        each.push_back(a.u32(0));
        EXPECT_GT(a.f32(8), 0.0f);
    }
    for (uint32_t s = 0; s < 32; ++s)
        expected.push_back(s);
    EXPECT_EQ(each, expected);
}

TEST_F(RemoteRecordsSequence, RampingFindsThePickupOfEachPointAndReportsItPerPoint)
{
    switchOn();
    Pc pc;
    connectPc(pc);
    plugRelay(kIA, 3.2, 0.15);
    // Point 0 ramps IA 1, 2, 3, 4 A and trips at 4 A; point 1 1.5, 2.5, 3.5 A.
    ASSERT_EQ(pc.ask(parameterRequest(kRampingRecord, rampingRecord())), QByteArray(1, '\0'));
    ModelRampingEntity& e = *testor().dataRamping;
    EXPECT_EQ(read(e, [](auto& x) { return x.stateCount; }), 6);

    const size_t mark = pc.frames.size();
    runToEnd(pc);

    // Procedure records: the state kind by UA, its point by testing_index:
    // normal, ramp, interval of point 0, then those of point 1.
    std::vector<std::pair<float, uint32_t>> kinds;
    std::vector<float> rampValues[2];
    const auto procedures = pc.pushed(pc::PushProcedure, kRampingResult, mark, [](auto& got) {
        return !got.empty() && got.back().u32(8) == 1 && got.back().f32(12) == kIntervalUa;
    });
    for (const Bytes& p : procedures) {
        SCOPED_TRACE(kinds.size());
        EXPECT_EQ(p.u32(0), 7u);
        EXPECT_EQ(p.u32(4), 3u);
        const uint32_t t = p.u32(8);
        ASSERT_LT(t, 2u);
        const float ua = p.f32(12);
        if (kinds.empty() || kinds.back() != std::make_pair(ua, t))
            kinds.emplace_back(ua, t);
        if (ua == kRampUa && (rampValues[t].empty() || rampValues[t].back() != p.f32(12 + 12 * kIA)))
            rampValues[t].push_back(p.f32(12 + 12 * kIA));
    }
    const std::vector<std::pair<float, uint32_t>> expected = {
        {kNormalUa, 0}, {kRampUa, 0}, {kIntervalUa, 0}, {kNormalUa, 1}, {kRampUa, 1}, {kIntervalUa, 1}};
    EXPECT_EQ(kinds, expected);
    // A procedure record is the latest state when the service looks, so a
    // short step (the one that trips) may be passed over on a loaded
    // machine: each point shows its own steps, in order. The step after the
    // trip, already written, may show before the switch.
    const float tripped[2] = {4.0f, 3.5f};
    const std::vector<float> steps[2] = {{1.0f, 2.0f, 3.0f, 4.0f, 5.0f}, {1.5f, 2.5f, 3.5f, 4.5f}};
    for (int t = 0; t < 2; ++t) {
        SCOPED_TRACE(t);
        EXPECT_FALSE(rampValues[t].empty());
        auto next = steps[t].begin();
        for (float v : rampValues[t]) {
            next = std::find(next, steps[t].end(), v);
            ASSERT_NE(next, steps[t].end()) << v << " is no step of this point or out of order";
            ++next;
        }
    }

    // Action records: the time and value of the ramp state's trip, per point.
    const auto actions = pc.pushed(pc::PushTrigger, kRampingResult, mark, [](const std::vector<Bytes>& got) {
        return std::count_if(got.begin(), got.end(), [](const Bytes& a) { return a.f32(12) > 0.0f; }) >= 2;
    });
    for (uint32_t t = 0; t < 2; ++t) {
        SCOPED_TRACE(t);
        const auto it = std::find_if(actions.begin(), actions.end(),
                                     [t](const Bytes& a) { return a.u32(8) == t && a.f32(12) > 0.0f; });
        ASSERT_NE(it, actions.end());
        EXPECT_EQ(it->u32(0), 7u);
        EXPECT_EQ(it->u32(4), 3u);
        EXPECT_FLOAT_EQ(it->f32(12), float(read(e, [t](auto& x) { return x.stateActionTimes[3 * t + 1][0]; })));
        EXPECT_EQ(it->u32(28), 1u);
        EXPECT_FLOAT_EQ(it->f32(32), tripped[t]);
        // Inputs that did not act: no time.
        for (int i = 1; i < 4; ++i)
            EXPECT_EQ(it->f32(12 + 4 * i), 0.0f);
    }
}

// TRIGGER ends a key-press state only: during a ramp it changes nothing, the
// relay picks up at its own step and the trip is valued with it.
TEST_F(RemoteRecordsSequence, TriggerDuringARampLeavesItsStepsAndTheTripAlone)
{
    switchOn();
    Pc pc;
    connectPc(pc);
    // IA from 1.2 A by 0.1 A per 0.5 s; the relay picks up at 1.45 A.
    ASSERT_EQ(pc.ask(parameterRequest(kRampingRecord, iaRamp(1.2f, 0.1f, 0.5f))), kOk);
    plugRelay(kIA, 1.45, 0.05);
    sim->plugIn(pages);
    const size_t mark = pc.frames.size();
    runToEnd(pc, [&] {
        for (double step : {1.2, 1.3, 1.4}) {   // a trigger in each step before the pick-up
            ASSERT_TRUE(waitFor([&] { return !played().empty() && played().back() > step - 0.05; }));
            EXPECT_EQ(pc.ask(triggerRequest()), kOk);
        }
    });
    std::vector<double> steps = played();
    steps.erase(std::remove(steps.begin(), steps.end(), 0.0), steps.end());
    steps.resize(std::min<size_t>(steps.size(), 4));
    EXPECT_EQ(steps, (std::vector<double>{1.2, 1.3, 1.4, 1.5})) << ::testing::PrintToString(played());
    const auto trips = pc.pushed(pc::PushTrigger, kRampingResult, mark, [](auto& got) { return !got.empty(); });
    ASSERT_EQ(trips.size(), 1u);
    EXPECT_NEAR(trips[0].f32(32), 1.5f, 1e-4);
}

// Binary outputs from the PC change the mask's bits only, at idle as during a
// run, and each state of a sequence still sets its own outputs when it begins.
TEST_F(RemoteRecordsSequence, BinaryOutputsChangeTheMaskOnlyAndEachStateSetsItsOwn)
{
    switchOn();
    Pc pc;
    connectPc(pc);
    auto outputs = [&](uint32_t mask, uint32_t states) {
        EXPECT_EQ(pc.ask(controlRequest(pc::control(0x400, 0, 0, 0, 0, states, mask))), kOk);
    };
    auto played = [this] { return sim->peekRegister(zorsim::reg::kBinaryOutputsRead) & 0xF; };
    outputs(0xF, 0xF);
    outputs(0x5, 0x4);
    EXPECT_EQ(played(), 0xEu);

    // State 0 sets output 0, state 1 output 2.
    for (uint32_t s : {0u, 1u})
        ASSERT_EQ(pc.ask(parameterRequest(kStateRecord, stateRecord(s, 0.5f, 4.0f, 0).u32(ST_BO, 1u << 2 * s))), kOk);
    const size_t mark = pc.frames.size();
    auto status = [&](uint32_t bo) {
        return pc.waitFrame(pc::PushStatus, mark, 10000,
                            [bo](const pc::Frame& f) { return Bytes(f.payload).u32(44) == bo; })
            .has_value();
    };
    runToEnd(pc, [&] {
        ASSERT_TRUE(waitFor([&] { return played() == 0x1u; }));
        outputs(0x2, 0x2);
        EXPECT_EQ(played(), 0x3u);
        EXPECT_TRUE(status(0x3));
        ASSERT_TRUE(waitFor([&] { return state(RT::STATE_TYPE_STATEINDEX) == 1; }));
        EXPECT_TRUE(waitFor([&] { return played() == 0x4u; }));
        EXPECT_TRUE(status(0x4));
        outputs(0xF, 0xA);
        EXPECT_EQ(played(), 0xAu);
    });
}

// SWITCH ends the state playing and the run goes on to the next: the next
// state of a sequence, the next step of an automatic AC ramp or of a ramping
// test; a steady AC output is sent again, with a record taken while it ran
// put in place whole, and only then.
TEST_F(RemoteRecordsSequence, SwitchGoesToTheNextStateAndPutsARecordTakenMidRunInPlace)
{
    switchOn();
    Pc pc;
    connectPc(pc);
    sim->plugIn(pages);
    auto switchTo = [&](size_t from, std::vector<double> expected) {
        EXPECT_EQ(pc.ask(switchRequest()), kOk);
        EXPECT_TRUE(waitFor([&] { return played(from) == expected; }, 10000)) << ::testing::PrintToString(played(from));
    };
    const auto stop = [&] {
        EXPECT_EQ(pc.ask(stopRequest()), kOk);
        ASSERT_TRUE(waitEnded());
    };
    // Every state or step lasts 1000 s: only a switch moves the run on.
    {
        SCOPED_TRACE("state sequence");
        for (uint32_t s = 0; s < 3; ++s)
            ASSERT_EQ(pc.ask(parameterRequest(kStateRecord, stateRecord(s, 0.5f * float(s + 1), 1000.0f, s == 1 ? 3 : 0))),
                      kOk);
        const size_t from = pages->amplitudes().size();
        const size_t mark = pc.frames.size();
        runToEnd(pc, [&] {
            ASSERT_TRUE(waitFor([&] { return played(from) == std::vector<double>{0.5}; }));
            switchTo(from, {0.5, 1.0});   // out of a time state
            ASSERT_TRUE(waitFor([&] { return state(RT::STATE_TYPE_STATEINDEX) == 1; }));
            switchTo(from, {0.5, 1.0, 1.5});   // out of a key-press state
            ASSERT_TRUE(waitFor([&] { return state(RT::STATE_TYPE_STATEINDEX) == 2; }));
            EXPECT_EQ(pc.ask(switchRequest()), kOk);   // the last: the run ends
        });
        EXPECT_EQ(played(from), (std::vector<double>{0.5, 1.0, 1.5}));
        // Each state's time, as the instrument played it: far below 1000 s.
        const auto actions = pc.pushed(pc::PushTrigger, kStateResult, mark, [](auto& got) { return got.size() >= 2; });
        ASSERT_GE(actions.size(), 2u);
        for (const Bytes& a : actions) {
            EXPECT_GT(a.f32(8), 0.0f) << a.u32(0);
            EXPECT_LT(a.f32(8), 50.0f) << a.u32(0);
        }
    }
    // Started from its record, the first page (IA 1 A) entered: the index of that page.
    auto startWith = [&](uint16_t subid, const Bytes& record) {
        EXPECT_EQ(pc.ask(parameterRequest(subid, record)), kOk);
        const size_t from = pages->amplitudes().size();
        const size_t mark = pc.frames.size();
        EXPECT_EQ(pc.ask(startRequest()), kOk);
        EXPECT_GE(pc.waitStatus(1, mark), 0);
        EXPECT_TRUE(waitFor([&] { return played(from) == std::vector<double>{1.0}; }));
        return from;
    };
    // An automatic AC ramp of IA from 1 A by 1 A per 1000 s to `to`.
    const auto acRamp = [](float to) {
        Bytes b = steadyAc();
        return ramp(b, AC_RAMP, 0, 8, 0, 0, to, 1.0f, 1.0f).f32(AC_FAULT_TIME, 1000.0f);
    };
    const struct
    {
        const char* name;
        uint16_t subid;
        Bytes record;
        double step;
    } ramps[] = {{"automatic AC ramp", kAcRecordId, acRamp(10.0f), 1.0},
                 {"ramping", kRampingRecord, iaRamp(1.0f, 0.5f, 1000.0f), 0.5}};
    for (const auto& r : ramps) {
        SCOPED_TRACE(r.name);
        const size_t from = startWith(r.subid, r.record);
        switchTo(from, {1.0, 1.0 + r.step});
        switchTo(from, {1.0, 1.0 + r.step, 1.0 + 2 * r.step});
        stop();
    }
    {
        // A switch in its end value moves past all of it: the run ends.
        SCOPED_TRACE("automatic AC ramp's last step");
        const size_t from = startWith(kAcRecordId, acRamp(2.0f));
        switchTo(from, {1.0, 2.0});
        const size_t entered = pages->amplitudes().size();
        EXPECT_EQ(pc.ask(switchRequest()), kOk);
        ASSERT_TRUE(waitEnded());
        EXPECT_EQ(pages->amplitudes().size(), entered);
    }
    {
        SCOPED_TRACE("steady AC");
        const size_t from = startWith(kAcRecordId, steadyAc());
        // Taken, and played only from the switch on, its debounce too: IA 2 A, UA 10 V, 30 ms.
        Bytes record = steadyAc();
        phase(record, AC_OUTPUTS, kIA, 2.0f, 0.0f, 50.0f);
        phase(record, AC_OUTPUTS, 0, 10.0f, 0.0f, 50.0f).f32(AC_DITHER, 0.03f);
        EXPECT_EQ(pc.ask(parameterRequest(kAcRecordId, record)), kOk);
        EXPECT_NE(ditherRegister(), 30000u);
        EXPECT_EQ(pc.ask(parameterRequest(kAcRecordId, Bytes(record).f32(AC_OUTPUTS + 12 * kIA, 1e3f))), kRefused);
        // An automatic ramp waits for no switch.
        Bytes automatic = record;
        EXPECT_EQ(pc.ask(parameterRequest(kAcRecordId, ramp(automatic, AC_RAMP, 0, 8, 0, 0, 10.0f, 1.0f, 1.0f))),
                  kRefused);
        idle(200);
        EXPECT_EQ(played(from), std::vector<double>{1.0});
        switchTo(from, {1.0, 2.0});
        EXPECT_NEAR(sim->outputs().page.channels[0].components[0].amplitude, 10.0, 1e-3);
        EXPECT_EQ(ditherRegister(), 30000u);
        // Sent again as it is: a page of its own.
        EXPECT_EQ(pc.ask(switchRequest()), kOk);
        EXPECT_TRUE(waitFor([&] { return pages->amplitudes().size() == from + 3; }, 10000));
        EXPECT_EQ(played(from), (std::vector<double>{1.0, 2.0}));
        // Held, and the run stopped before a switch: the next START runs it, with its debounce.
        EXPECT_EQ(pc.ask(parameterRequest(kAcRecordId, Bytes(record).f32(AC_DITHER, 0.04f))), kOk);
        stop();
        EXPECT_EQ(pc.ask(startRequest()), kOk);
        EXPECT_EQ(ditherRegister(), 40000u);
        stop();
    }
    // A ramping test's interval (1000 s) waits, the next ramp judged only as
    // it ends: the switch ends it, and the ramp after it plays (to its end,
    // where the relay trips), or, the relay still operated, is passed over
    // unplayed; the last interval follows.
    plugRelay(kIA, 1.9, 0.05);
    ModelRampingEntity& e = *testor().dataRamping;
    const struct
    {
        const char* name;
        float intervalIa;
        std::vector<double> played;
        bool passedOver;
    } rests[] = {{"relay reset", 0.0f, {1.0, 2.0, 0.0, 1.5, 2.5, 0.0}, false},
                 {"relay operated", 1.95f, {1.0, 2.0, 1.95}, true}};
    for (const auto& r : rests) {
        SCOPED_TRACE(r.name);
        Bytes points = rampingRecord();
        points.u8(RA_NORMAL_ENABLE, 0).f32(RA_INTERVAL_TIME, 1000.0f).f32(RA_END, 2.0f).f32(RA_END + 4, 2.5f);
        const size_t from = startWith(kRampingRecord, phase(points, RA_INTERVAL, kIA, r.intervalIa, 0.0f, 50.0f));
        ASSERT_TRUE(waitFor([&] { return played(from).size() == 3; }, 10000));
        switchTo(from, r.played);
        EXPECT_TRUE(waitFor([&] {
            return state(RT::STATE_TYPE_STATEINDEX) == 5
                   && read(e, [](auto& x) { return x.stateBeganUnreset[4]; }) == r.passedOver;
        }));
        EXPECT_EQ(played(from), r.played);
        stop();
    }
}

// SWITCH in a ramping test is refused where it would skip the judgement of
// a ramp: on a ramp's last step when the next ramp follows at once, and on
// the check page played for the debounce between a rest and the next ramp.
TEST_F(RemoteRecordsSequence, RampingSwitchIsRefusedWhereARampWouldGoUnjudged)
{
    switchOn();
    Pc pc;
    connectPc(pc);
    sim->plugIn(pages);
    // Two points, IA by 1 A per 1000 s: from 1 A to 2 A, then from 3 A to 4 A.
    Bytes twoRamps = iaRamp(1.0f, 1.0f, 1000.0f);
    twoRamps.u32(RA_POINTS, 2).f32(RA_END, 2.0f);
    phase(twoRamps, RA_FAULT + 96, kIA, 3.0f, 0.0f, 50.0f).f32(RA_STEP + 4, 1.0f).f32(RA_END + 4, 4.0f);
    twoRamps.f32(RA_TIME + 4, 1000.0f).u8(RA_VARIABLE + 1, kIA + 4).u8(RA_LINK + 1, 1).u8(RA_BI_STATE + 4, 1);
    const auto run = [&](const Bytes& record, const std::function<void(size_t)>& whileRunning) {
        ASSERT_EQ(pc.ask(parameterRequest(kRampingRecord, record)), kOk);
        const size_t from = pages->amplitudes().size();
        const size_t mark = pc.frames.size();
        ASSERT_EQ(pc.ask(startRequest()), kOk);
        ASSERT_GE(pc.waitStatus(1, mark), 0);
        whileRunning(from);
        EXPECT_EQ(pc.ask(stopRequest()), kOk);
        ASSERT_TRUE(waitEnded());
    };
    {
        SCOPED_TRACE("a ramp's last step, the next ramp at once");
        run(twoRamps, [&](size_t from) {
            ASSERT_TRUE(waitFor([&] { return played(from) == std::vector<double>{1.0}; }));
            EXPECT_EQ(pc.ask(switchRequest()), kOk);
            ASSERT_TRUE(waitFor([&] { return played(from) == std::vector<double>{1.0, 2.0}; }));
            EXPECT_EQ(pc.ask(switchRequest()), kRefused);
            idle(200);
            EXPECT_EQ(played(from), (std::vector<double>{1.0, 2.0}));
        });
    }
    {
        // A debounce of 2 s (an AC record's): the check page lasts it.
        SCOPED_TRACE("the check page after an interval");
        ASSERT_EQ(pc.ask(parameterRequest(kAcRecordId, Bytes(steadyAc()).f32(AC_DITHER, 2.0f))), kOk);
        Bytes rested = twoRamps;
        rested.u8(RA_INTERVAL_ENABLE, 1).f32(RA_INTERVAL_TIME, 1000.0f);
        phase(rested, RA_INTERVAL, kIA, 0.5f, 0.0f, 50.0f);
        run(rested, [&](size_t from) {
            ASSERT_TRUE(waitFor([&] { return played(from) == std::vector<double>{1.0}; }));
            EXPECT_EQ(pc.ask(switchRequest()), kOk);
            ASSERT_TRUE(waitFor([&] { return played(from) == std::vector<double>{1.0, 2.0}; }));
            EXPECT_EQ(pc.ask(switchRequest()), kOk);
            ASSERT_TRUE(waitFor([&] { return played(from) == std::vector<double>{1.0, 2.0, 0.5}; }));
            const size_t entered = pages->amplitudes().size();
            EXPECT_EQ(pc.ask(switchRequest()), kOk);   // into the check page
            ASSERT_TRUE(waitFor([&] { return pages->amplitudes().size() > entered; }));
            EXPECT_EQ(pc.ask(switchRequest()), kRefused);
            EXPECT_EQ(played(from), (std::vector<double>{1.0, 2.0, 0.5}));
            ASSERT_TRUE(waitFor(
                [&] {
                    pc.pump();
                    return played(from) == std::vector<double>{1.0, 2.0, 0.5, 3.0};
                },
                10000));
        });
    }
}
