// Commands at the edges of a run: right after a stop, within the amplifiers'
// settle, at the instant a state ends.

#include "RemoteServiceSupport.h"

#include <unistd.h>

using namespace remoteservice;
using namespace pc::rec;
using pc::Bytes;

namespace {

constexpr uint16_t kStateRecord = 0xB102;
constexpr uint16_t kRampingRecord = 0xB301;
constexpr int kIA = 4;

// One state: IA, its time, its trigger (0 time, 3 key), the outputs it sets.
Bytes stateRecord(uint32_t index, float ia, float seconds, uint8_t trigger = 0, uint32_t bo = 0)
{
    Bytes b(ST_SIZE);
    b.u32(0, index).f32(ST_TIME, seconds).u8(ST_TRIGGER, trigger).u32(ST_BO, bo);
    for (int k = 0; k < 8; ++k)
        phase(b, ST_OUTPUTS, k, k == kIA ? ia : 0.0f, 0.0f, 50.0f);
    return b;
}

// A pre-fault of IA 0.5 A for `normal` s, then IA from 1 A by 1 A per `step` s to 5 A.
Bytes rampRecord(float normal, float step)
{
    Bytes b(RA_SIZE);
    for (int k = 0; k < 8; ++k) {
        phase(b, RA_NORMAL, k, k == kIA ? 0.5f : 0.0f, 0.0f, 50.0f);
        phase(b, RA_INTERVAL, k, 0.0f, 0.0f, 50.0f);
        phase(b, RA_FAULT, k, k == kIA ? 1.0f : 0.0f, 0.0f, 50.0f);
    }
    b.f32(RA_NORMAL_TIME, normal).u8(RA_NORMAL_ENABLE, 1).u32(RA_POINTS, 1);
    b.f32(RA_STEP, 1.0f).f32(RA_END, 5.0f).f32(RA_TIME, step);
    return b.u8(RA_VARIABLE, kIA + 4).u8(RA_ITEM, 0).u8(RA_LINK, 1).u8(RA_BI_STATE, 1);
}

// Each page the instrument enters: IA and its start on the instrument's
// clock. `onEdge`, when set, runs as the instrument enters a page (IA, false)
// or holds one that has ended (IA, true), under its lock: at the state's
// boundary, before the engine can know of it.
class Pages : public zorsim::DutModel
{
public:
    std::string name() const override { return "page log"; }
    void plugged(zorsim::DutContext& context) override { ctx = &context; }
    void unplugged() override { ctx = nullptr; }
    void outputsChanged() override
    {
        const zorsim::PlayedOutputs& out = ctx->outputs();
        if (!out.running)
            return;
        const auto& c = out.page.channels[size_t(kIA)].components;
        const double ia = c.empty() ? 0.0 : c[0].amplitude;
        const bool held = out.holdFromNs != std::numeric_limits<int64_t>::max();
        std::lock_guard<std::mutex> lock(mutex);
        const bool entered = out.pageStartNs != lastStartNs;
        if (entered)
            entries.emplace_back(ia, out.pageStartNs);
        if (onEdge && (entered || (held && !lastHeld)))
            onEdge(ia, !entered);
        lastStartNs = out.pageStartNs;
        lastHeld = held;
    }
    std::vector<std::pair<double, int64_t>> all() const
    {
        std::lock_guard<std::mutex> lock(mutex);
        return entries;
    }
    // A page of IA `ia` entered, from entry `from` on.
    bool entered(double ia, size_t from) const
    {
        const auto e = all();
        for (size_t i = from; i < e.size(); ++i)
            if (std::abs(e[i].first - ia) < 1e-3)
                return true;
        return false;
    }
    void setOnEdge(std::function<void(double, bool)> fn)
    {
        std::lock_guard<std::mutex> lock(mutex);
        onEdge = std::move(fn);
    }

private:
    zorsim::DutContext* ctx = nullptr;
    mutable std::mutex mutex;
    std::vector<std::pair<double, int64_t>> entries;
    std::function<void(double, bool)> onEdge;
    int64_t lastStartNs = -1;
    bool lastHeld = false;
};

class RemoteEdges : public RemoteServiceTest
{
protected:
    static QByteArray outputsRequest(uint32_t states)
    {
        return controlRequest(pc::control(0x400, 0, 0, 0, 0, states, 0xF));
    }

    // The answers to the requests of one write, in order.
    std::vector<QByteArray> askInOneWrite(Pc& pcSide, const QByteArray& requests, size_t count)
    {
        const size_t mark = pcSide.frames.size();
        pcSide.send(requests);
        std::vector<QByteArray> answers;
        for (const Bytes& b : pcSide.pushed(pc::SetControl, -1, mark, [&](auto& got) { return got.size() >= count; }))
            answers.push_back(b.data);
        return answers;
    }

    // START answered, the run's output on and its start told.
    void started(Pc& pcSide)
    {
        const int runs = texts(ConstTextUtility::TEST_AOSTART);
        ASSERT_EQ(pcSide.ask(startRequest()), kOk);
        ASSERT_TRUE(waitFor([&] { return simRunning() && texts(ConstTextUtility::TEST_AOSTART) == runs + 1; }));
    }

    std::shared_ptr<Pages> pages = std::make_shared<Pages>();
};

}   // namespace

// START or a record right after STOP's answer, or STOP and START in one
// write: the run has ended by the answer, so what follows is taken and runs.
TEST_F(RemoteEdges, StartAndRecordRightAfterStopAreTakenAndRun)
{
    switchOn();
    Pc pc;
    connectPc(pc);
    const struct
    {
        const char* name;
        uint16_t subid;
        Bytes record;
    } modules[] = {{"AC", kAcRecordId, steadyAc()},
                   {"states", kStateRecord, stateRecord(0, 1.0f, 1000.0f)},
                   {"ramping", kRampingRecord, rampRecord(1000.0f, 1000.0f)}};
    for (const auto& m : modules) {
        ASSERT_EQ(pc.ask(parameterRequest(m.subid, m.record)), kOk);
        for (int round = 0; round < 6; ++round) {
            SCOPED_TRACE(std::string(m.name) + (round % 2 ? ": STOP, record, START" : ": STOP and START in one write"));
            ASSERT_NO_FATAL_FAILURE(started(pc));
            const int runs = texts(ConstTextUtility::TEST_AOSTART);
            if (round % 2) {
                EXPECT_EQ(pc.ask(stopRequest()), kOk);
                EXPECT_EQ(pc.ask(parameterRequest(m.subid, m.record)), kOk);
                EXPECT_EQ(pc.ask(startRequest()), kOk);
            } else {
                EXPECT_EQ(askInOneWrite(pc, stopRequest() + startRequest(), 2), (std::vector<QByteArray>{kOk, kOk}));
            }
            EXPECT_TRUE(
                waitFor([&] { return texts(ConstTextUtility::TEST_AOSTART) == runs + 1 && simRunning(); }, 5000));
            ASSERT_TRUE(stopped());
        }
    }
}

// Within the amplifiers' settle no state plays: SWITCH is refused and a key
// changes nothing, so state 0 plays its time (its outputs shown); a binary
// output is set at once. No command waits for the output to come on: a STOP
// behind them, in their write or the next, ends the start and nothing plays.
TEST_F(RemoteEdges, CommandsWithinTheSettleWaitForNothingAndChangeNoState)
{
    switchOn();
    atRealTime();
    Pc pc;
    connectPc(pc);
    sim->plugIn(pages);
    // State 0: IA 1 A for 0.3 s (key rows: until the key), output 0 on; state 1: IA 2 A.
    const struct
    {
        const char* name;
        QByteArray command;
        QByteArray answer;
        uint8_t trigger;
        bool stop, oneWrite;
    } rows[] = {
        {"SWITCH", switchRequest(), kRefused, 0, false, false},
        {"TRIGGER", triggerRequest(), kOk, 3, false, false},
        {"SWITCH, STOP", switchRequest(), kRefused, 0, true, false},
        {"SWITCH and STOP in one write", switchRequest(), kRefused, 0, true, true},
        {"outputs, STOP", outputsRequest(0x2), kOk, 0, true, false},
        {"outputs and STOP in one write", outputsRequest(0x2), kOk, 0, true, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        for (uint32_t s : {0u, 1u})
            ASSERT_EQ(pc.ask(parameterRequest(
                          kStateRecord,
                          stateRecord(s, 1.0f + float(s), s ? 1000.0f : 0.3f, s ? 0 : row.trigger, s ? 0 : 0x1))),
                      kOk);
        const size_t from = pages->all().size();
        const int runs = texts(ConstTextUtility::TEST_AOSTART);
        ASSERT_EQ(pc.ask(startRequest()), kOk);
        if (row.oneWrite) {
            EXPECT_EQ(askInOneWrite(pc, row.command + stopRequest(), 2), (std::vector<QByteArray>{row.answer, kOk}));
        } else {
            EXPECT_EQ(pc.ask(row.command), row.answer);
            if (row.stop) {
                EXPECT_EQ(pc.ask(stopRequest()), kOk);
            }
        }
        EXPECT_FALSE(simRunning()) << "answered once the output was on";
        if (row.stop) {
            ASSERT_TRUE(waitEnded());
            EXPECT_EQ(pages->all().size(), from);
            EXPECT_EQ(texts(ConstTextUtility::TEST_AOSTART), runs);
            continue;
        }
        ASSERT_TRUE(waitFor([&] { return sim->peekRegister(zorsim::reg::kBinaryOutputsRead) & 0x1; }, 5000));
        if (row.trigger == 3) {
            EXPECT_EQ(pc.ask(triggerRequest()), kOk);
        }
        ASSERT_TRUE(waitFor([&] { return pages->all().size() >= from + 2; }, 5000));
        const auto all = pages->all();
        EXPECT_EQ(all[from].first, 1.0);
        if (row.trigger == 0) {
            EXPECT_NEAR(double(all[from + 1].second - all[from].second) / 1e9, 0.3, 1e-3);
        }
        ASSERT_TRUE(stopped());
    }
}

// A SWITCH sent the instant a state begins (from the instrument's clock,
// before the engine can have heard of it) ends that state, in every one of
// 20 runs: the sequence's state 1, the ramp's first step as it is entered,
// and as the pre-fault before it (played on for the debounce) is held ended
// (the step not yet entered).
TEST_F(RemoteEdges, SwitchAtAStatesBoundaryEndsTheStateThatBegan)
{
    switchOn();
    Pc pc;
    connectPc(pc);
    sim->plugIn(pages);
    const struct
    {
        const char* name;
        std::vector<std::pair<uint16_t, Bytes>> records;
        double at;   // IA of the page whose entry (or held end) sends the switch
        bool atEnd;
        int nth;     // ... the nth such edge
        double next;   // IA of the state after the one the switch ends
    } rows[] = {
        {"states",
         {{kStateRecord, stateRecord(0, 0.5f, 0.2f)},
          {kStateRecord, stateRecord(1, 1.0f, 1000.0f)},
          {kStateRecord, stateRecord(2, 2.0f, 1000.0f)}},
         1.0,
         false,
         1,
         2.0},
        {"ramping", {{kRampingRecord, rampRecord(0.2f, 1000.0f)}}, 1.0, false, 1, 2.0},
        {"ramping, the pre-fault held", {{kRampingRecord, rampRecord(0.2f, 1000.0f)}}, 0.5, true, 2, 2.0},
    };
    for (const auto& row : rows) {
        for (const auto& [subid, record] : row.records)
            ASSERT_EQ(pc.ask(parameterRequest(subid, record)), kOk);
        int ended = 0;
        for (int run = 0; run < 20; ++run) {
            SCOPED_TRACE(std::string(row.name) + " run " + std::to_string(run));
            const size_t mark = pc.frames.size();
            const size_t from = pages->all().size();
            const QByteArray request = switchRequest();
            const int fd = pc.fd;
            const double at = row.at;
            const bool atEnd = row.atEnd;
            auto seen = std::make_shared<int>(0);
            pages->setOnEdge([fd, request, at, atEnd, seen, nth = row.nth](double ia, bool end) {
                if (std::abs(ia - at) < 1e-3 && end == atEnd && ++*seen == nth)
                    (void)!::write(fd, request.constData(), size_t(request.size()));
            });
            ASSERT_NO_FATAL_FAILURE(started(pc));
            const auto answers = pc.pushed(pc::SetControl, -1, mark, [](auto& got) { return got.size() >= 2; });
            pages->setOnEdge({});
            ASSERT_EQ(answers.size(), 2u);   // START's, SWITCH's
            EXPECT_EQ(answers[1].data, kOk);
            ended += waitFor([&] { return pages->entered(row.next, from); }, 3000) ? 1 : 0;
            ASSERT_TRUE(stopped());
        }
        EXPECT_EQ(ended, 20) << row.name;
    }
}
