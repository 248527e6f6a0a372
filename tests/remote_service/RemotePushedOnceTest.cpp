// What a PC hears of a run it started: each trip once, with its values and
// the instrument's times; no record pushed again for a notice repeated.

#include "RemoteServiceSupport.h"

using namespace remoteservice;
using namespace pc::rec;
using pc::Bytes;

namespace {

constexpr int kUA = ModelEntity::AO_PORT_TYPE_UA;
constexpr int kIA = ModelEntity::AO_PORT_TYPE_IA;

// Every port's phase at 50 Hz, `port` at `value`, the others at 0.
void outputs(Bytes& b, int base, int port, float value)
{
    for (int k = 0; k < 8; ++k)
        phase(b, base, k, k == port ? value : 0.0f, 0.0f, 50.0f);
}

// IA 1 A for 10 s, its trip on input 0 rising ending the run.
Bytes acRecord()
{
    Bytes b(AC_SIZE);
    outputs(b, AC_OUTPUTS, kIA, 1.0f);
    ramp(b, AC_RAMP, 1, 8, 0, 0, 0.0f, 0.0f, 1.0f);
    return b.f32(AC_FAULT_TIME, 10.0f).u32(AC_RISE, 0x1);
}

// The same with IA as the fundamental of a harmonic output.
Bytes harmonicRecord()
{
    Bytes b(HA_SIZE);
    for (int h = 0; h < 4; ++h)
        b.f32(HA_WAVE + 168 + 4 * h, 50.0f * float(h + 1));
    b.f32(HA_WAVE + 252 * kIA, 1.0f);
    ramp(b, HA_RAMP, 1, 8, 0, 0, 0.0f, 0.0f, 1.0f);
    return b.f32(HA_FAULT_TIME, 10.0f).u32(HA_RISE, 0x1);
}

// One point: UA from 4 V by 1 V per 0.2 s towards 10 V until input 0 rises,
// then an interval of 0.3 s.
Bytes rampingRecord()
{
    Bytes b(RA_SIZE);
    b.u32(RA_POINTS, 1).u8(RA_INTERVAL_ENABLE, 1).f32(RA_INTERVAL_TIME, 0.3f);
    outputs(b, RA_NORMAL, kUA, 0.0f);
    outputs(b, RA_INTERVAL, kUA, 0.0f);
    outputs(b, RA_FAULT, kUA, 4.0f);
    b.f32(RA_STEP, 1.0f).f32(RA_END, 10.0f).f32(RA_TIME, 0.2f);
    return b.u8(RA_VARIABLE, 0).u8(RA_ITEM, 0).u8(RA_LINK, 1).u8(RA_BI_STATE, 1);
}

// State 0: IA 1 A until input 0 rises (at most 1 s); state 1: 0.1 s of nothing.
Bytes stateRecord(uint32_t index)
{
    Bytes b(ST_SIZE);
    b.u32(0, index).f32(ST_TIME, index == 0 ? 1.0f : 0.1f).u32(ST_RISE, 0x1).u8(ST_TRIGGER, index == 0 ? 2 : 0);
    outputs(b, ST_OUTPUTS, kIA, index == 0 ? 1.0f : 0.0f);
    return b;
}

struct Module
{
    const char* name;
    std::vector<std::pair<uint16_t, Bytes>> sent;
    int relayChannel;
    double pickup;
    uint16_t result;   // sub-id of its pushed records
    int tripTime;      // offset of input 0's trip time in its trigger record
    size_t records;    // trigger records of a run: one per trip, or per state
};

const Module kModules[] = {
    {"AC", {{0xB104, acRecord()}}, kIA, 0.9, 0xC104, 249, 1},
    {"harmonic", {{0xB106, harmonicRecord()}}, kIA, 0.9, 0xC106, 25, 1},
    {"ramping", {{0xB301, rampingRecord()}}, kUA, 5.0, 0xC201, 12, 1},
    {"state sequence", {{0xB102, stateRecord(0)}, {0xB102, stateRecord(1)}}, kIA, 0.9, 0xC102, 16, 2},
};

// The start (simulator ns) of each page the instrument enters while it runs.
class PageStarts : public runsource::PageEntryModel
{
public:
    std::string name() const override { return "page starts"; }
    void pageEntered(const zorsim::PlayedOutputs& out) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        starts.push_back(out.pageStartNs);
    }
    // The start of the page that played at `ns`.
    int64_t playingAt(int64_t ns) const
    {
        std::lock_guard<std::mutex> lock(mutex);
        int64_t start = -1;
        for (int64_t s : starts)
            start = s <= ns ? s : start;
        return start;
    }

private:
    mutable std::mutex mutex;
    std::vector<int64_t> starts;
};

class RemotePushedOnce : public RemoteServiceTest
{
protected:
    // Each module run from its records, its relay tripping once.
    void runEveryModule()
    {
        switchOn();
        Pc pc;
        connectPc(pc);
        for (const Module& m : kModules) {
            SCOPED_TRACE(m.name);
            runOnce(pc, m);
            sim->unplugAll();
        }
    }

    // The run started twice (the second START during the settle).
    void runOnce(Pc& pc, const Module& m)
    {
        for (const auto& record : m.sent)
            ASSERT_EQ(pc.ask(parameterRequest(record.first, record.second)), QByteArray(1, '\0'));
        auto relay = plugRelay(m.relayChannel, m.pickup, 0.1);
        auto pages = std::make_shared<PageStarts>();
        sim->plugIn(pages);
        const size_t mark = pc.frames.size();
        ASSERT_EQ(pc.ask(startRequest()), QByteArray(1, '\0'));
        ASSERT_EQ(pc.ask(startRequest()), QByteArray(1, '\0'));
        // A run this short may end before the push side saw it running.
        ASSERT_TRUE(waitFor([&] { return !relay->pickupTimes().empty(); }));
        ASSERT_TRUE(waitEnded());
        // Long enough for a record repeated at the run's end to come.
        std::vector<Bytes> records, trips;
        waitFor(
            [&] {
                pc.pump();
                records.clear();
                for (size_t i = mark; i < pc.frames.size(); ++i) {
                    if (pc.frames[i].command == pc::PushTrigger && pc.frames[i].subid == m.result)
                        records.emplace_back(pc.frames[i].payload);
                }
                return records.size() > m.records;
            },
            1500);
        for (const Bytes& r : records) {
            if (r.f32(m.tripTime) > 0.0f)
                trips.push_back(r);
        }
        ASSERT_EQ(relay->pickupTimes().size(), 1u);
        EXPECT_EQ(records.size(), m.records);
        EXPECT_EQ(trips.size(), 1u);
        ASSERT_FALSE(trips.empty());
        // The time the relay took on the page it tripped on, to a tick
        // of the instrument's clock.
        const int64_t pickup = relay->pickupTimes()[0];
        EXPECT_NEAR(trips[0].f32(m.tripTime), double(pickup - pages->playingAt(pickup)) / 1e9, 1.0 / 28000);
        if (m.result == 0xC201) {
            // One port ramped: its value, the slots after it 0.
            EXPECT_EQ(trips[0].u32(28), 1u);
            EXPECT_EQ(trips[0].f32(32), 5.0f);
            EXPECT_EQ(trips[0].f32(36), 0.0f);
            EXPECT_EQ(trips[0].f32(40), 0.0f);
        }
        const pc::Frame* previous = nullptr;
        for (size_t i = mark; i < pc.frames.size(); ++i) {
            const pc::Frame& f = pc.frames[i];
            if (f.command != pc::PushProcedure)
                continue;
            if (previous) {
                EXPECT_NE(f.payload, previous->payload) << "procedure record " << i << " repeated";
            }
            previous = &f;
        }
    }
};

}   // namespace

TEST_F(RemotePushedOnce, EachTripOnceWithItsValues)
{
    runEveryModule();
}

TEST_F(RemotePushedOnce, EachTripOnceAtRealTime)
{
    zoplat::setTimeScale(1.0);
    runEveryModule();
}
