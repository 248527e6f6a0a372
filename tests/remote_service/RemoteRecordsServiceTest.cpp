// Parameter records from the PC through the service into the engine, and the
// procedure and trigger records pushed back while the test runs.

#include "RemoteServiceSupport.h"

#include "ModelAlternateEntity.h"
#include "ModelStateSequenceEntity.h"

using namespace remoteservice;
using namespace pc::rec;
using pc::Bytes;

namespace {

constexpr uint16_t kAcRecord = 0xB104;
constexpr uint16_t kStateRecord = 0xB102;
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
