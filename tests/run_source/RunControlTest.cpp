// Run control around a running output: switch, binary outputs, manual
// trigger, auxiliary DC, stop; and the starts that must not run.

#include "RunSourceSupport.h"

#include <functional>
#include <limits>

using namespace runsource;

namespace {

constexpr int kUA = ModelEntity::AO_PORT_TYPE_UA;
constexpr int kIA = ModelEntity::AO_PORT_TYPE_IA;
constexpr uint16_t kBinaryOutputsSet = 0x833C;
constexpr uint16_t kKeyTrigger = 0x8344;
constexpr uint16_t kAuxDc = 0x8402;
constexpr uint16_t kRunBits = 0x833E;

double playedIa(const zorsim::PageContent& p)
{
    return p.channels[size_t(kIA)].components.at(0).amplitude;
}

}   // namespace

TEST_F(RunSourceTest, RunningOutputTakesSwitchOutputsTriggerAuxDcAndStop)
{
    initialise();
    edit(*testor().dataAlternate, [](ModelAlternateEntity& e) { setSteady(e, 1.0); });
    ASSERT_TRUE(start(TT::TEST_ALTERNATE));

    // An edit while running goes into the next page, which the output switches to.
    edit(*testor().dataAlternate, [](ModelAlternateEntity& e) { setSteady(e, 2.5); });
    center->testSwitch();
    ASSERT_TRUE(waitFor([this] { return texts(ConstTextUtility::TEST_AOSWITCH) == 1; }));
    EXPECT_EQ(sim->playerStatus().currentPage, 1);
    EXPECT_NEAR(playedIa(playingPage()), 2.5, 1e-3);
    EXPECT_NEAR(testor().getTestCurrentMax(), 2.5, 1e-9);

    // Binary outputs from the entity: all on.
    edit(*testor().dataAlternate, [](ModelAlternateEntity& e) {
        for (qint32& bo : e.outputBOStates)
            bo = 1;
    });
    center->testBOState();
    ASSERT_TRUE(testorDone());
    EXPECT_EQ(sim->peekRegister(kBinaryOutputsSet), 0x800F);
    EXPECT_TRUE(waitFor([this] {
        return runtime([](RT& rt) { return std::vector<qint32>(rt.BO, rt.BO + 4); }) == std::vector<qint32>{1, 1, 1, 1};
    }));

    // The manual trigger.
    center->testKeyPress();
    ASSERT_TRUE(testorDone());
    EXPECT_EQ(sim->peekRegister(kKeyTrigger), 0x1234);
    EXPECT_EQ(globalTestStatusData->statusBIStateAction, 0);   // no trip

    // Auxiliary DC: the set point stays within [0, full scale] (350 V = 62500).
    struct AuxRow
    {
        double volts;
        uint16_t setPoint;
    };
    const AuxRow auxRows[] = {{100.6, 17857}, {-5.0, 0}, {1e6, 62500}, {std::nan(""), 0}, {350.0, 62500}};
    for (const AuxRow& row : auxRows) {
        SCOPED_TRACE(row.volts);
        const int before = gui.count(RT::DATA_TYPE_RT_STATE, RT::STATE_TYPE_AUXDCV);
        center->testAuxDC(true, row.volts);
        ASSERT_TRUE(waitFor([&] { return gui.count(RT::DATA_TYPE_RT_STATE, RT::STATE_TYPE_AUXDCV) > before; }));
        EXPECT_EQ(sim->peekRegister(kAuxDc), row.setPoint);
        EXPECT_EQ((sim->peekRegister(reg::kPower) & 0x4) != 0, row.setPoint != 0);
        EXPECT_EQ(sim->peekRegister(reg::kPower) & 0x3, 0x3);   // the amplifiers stay on
    }
    center->testAuxDC(false, 0.0);

    // Stop: event, output off, amplifiers off; a second stop does nothing.
    const int runs = runNotices() + 1;
    const int powers = powerNotices() + 1;
    center->testInterrupt();
    ASSERT_TRUE(waitEnded());
    EXPECT_EQ(sim->peekRegister(reg::kPower), 0);
    EXPECT_EQ(sim->peekRegister(kRunBits), 0);
    ASSERT_TRUE(waitFor(
        [&] { return texts(ConstTextUtility::TEST_STOP) == 1 && runNotices() == runs && powerNotices() == powers; }));
    const QStringList commands = zoplat::host::recordedCommands();
    center->testInterrupt();
    ASSERT_TRUE(settle());
    EXPECT_EQ(runNotices(), runs);
    EXPECT_EQ(powerNotices(), powers);
    EXPECT_EQ(texts(ConstTextUtility::TEST_STOP), 1);
    EXPECT_EQ(zoplat::host::recordedCommands(), commands);
}

TEST_F(RunSourceTest, SecondStartWhileRunningIsRefused)
{
    initialise();
    edit(*testor().dataAlternate, [](ModelAlternateEntity& e) { setSteady(e, 1.0); });
    ASSERT_TRUE(start(TT::TEST_ALTERNATE));
    const auto page0 = sim->pageWords(0);
    const zorsim::PlayerStatus before = sim->playerStatus();
    const int runs = runNotices();

    edit(*testor().dataAlternate, [](ModelAlternateEntity& e) { setSteady(e, 4.0); });
    center->testStart();
    ASSERT_TRUE(settle());
    // The ring and the run are untouched.
    EXPECT_EQ(sim->pageWords(0), page0);
    EXPECT_TRUE(sim->playerStatus().running);
    EXPECT_EQ(sim->playerStatus().pageStartNs, before.pageStartNs);
    EXPECT_EQ(runNotices(), runs);
    EXPECT_EQ(texts(ConstTextUtility::TEST_AOSTART), 1);
    EXPECT_TRUE(testor().runEnable.load());

    center->testInterrupt();
    EXPECT_TRUE(waitEnded());
}

TEST_F(RunSourceTest, EntityStaysLockedWhileItsPagesGoOut)
{
    initialise();
    ModelAlternateEntity& e = *testor().dataAlternate;
    edit(e, [](ModelAlternateEntity& x) { setSteady(x, 1.0); });

    // When the last word of a page goes out, can a writer take the entity?
    std::vector<bool> writerGotIn;
    LinkTap tap(*sim);
    auto probe = [&] {
        std::thread writer([&] {
            const bool got = e.entityLock.try_lock();
            if (got)
                e.entityLock.unlock();
            writerGotIn.push_back(got);
        });
        writer.join();
    };
    // Page 0 goes out at the start, page 1 at the switch of an edit.
    tap.onFrames(
        {pageTriggerFrame(0, COMM_TRIGGER_TYPE_TIME_BINARY), pageTriggerFrame(1, COMM_TRIGGER_TYPE_TIME_BINARY)},
        probe);
    ASSERT_TRUE(start(TT::TEST_ALTERNATE));
    center->testSwitch();
    ASSERT_TRUE(waitFor([this] { return texts(ConstTextUtility::TEST_AOSWITCH) == 1; }));
    EXPECT_EQ(writerGotIn, (std::vector<bool>{false, false}));

    center->testInterrupt();
    EXPECT_TRUE(waitEnded());
}

// Edits that come faster than the testor takes them are played as one page:
// more pages with the same values would restart the time a trip is measured from.
TEST_F(RunSourceTest, EditsQueuedBehindABusyTestorSwitchTheOutputOnce)
{
    initialise();
    edit(*testor().dataAlternate, [](ModelAlternateEntity& e) { setSteady(e, 1.0); });
    ASSERT_TRUE(start(TT::TEST_ALTERNATE));

    std::atomic<bool> release{false};
    QMetaObject::invokeMethod(
        center->testTestor, [&release] { while (!release.load()) QThread::msleep(1); }, Qt::QueuedConnection);
    for (const double ia : {1.5, 2.0, 2.5}) {
        edit(*testor().dataAlternate, [ia](ModelAlternateEntity& e) { setSteady(e, ia); });
        center->testSwitch();
    }
    release = true;
    ASSERT_TRUE(waitFor([this] { return texts(ConstTextUtility::TEST_AOSWITCH) >= 1; }));
    ASSERT_TRUE(testorDone());
    EXPECT_EQ(sim->playerStatus().currentPage, 1);
    EXPECT_NEAR(playedIa(playingPage()), 2.5, 1e-3);

    center->testInterrupt();
    EXPECT_TRUE(waitEnded());
}

// A contact that moves as an edit replaces a steady output, confirmed on the
// new page or (the switch's write `lag` late, or a slow host) on the page
// replaced: timed on the page it moved on, not as if the output replaced had
// played its whole time (36000 s), and the run ends as its stop asks.
TEST_F(RunSourceTest, ATripAnEditOvertakesIsNotTimedWithTheReplacedOutputsTime)
{
    initialise();
    // IA `ia` A, DI 1 rising watched.
    auto steady = [](double ia) {
        return [ia](ModelAlternateEntity& e) {
            setSteady(e, ia);
            e.stateOutputBIStates[0] = 1;
        };
    };
    for (const int lagMs : {0, 50}) {
        SCOPED_TRACE(lagMs);
        sim->setBinaryInput(0, false);
        edit(*testor().dataAlternate, steady(1.0));
        ASSERT_TRUE(start(TT::TEST_ALTERNATE));
        LinkTap tap(*sim);
        tap.onFrames({(uint32_t(0x8302) << 16) | 0x8001}, [this, lagMs] {
            sim->setBinaryInput(0, true);
            QThread::msleep(lagMs);
        });
        edit(*testor().dataAlternate, steady(2.5));
        center->testSwitch();
        ASSERT_TRUE(waitEnded());
        ModelAlternateEntity& e = *testor().dataAlternate;
        QMutexLocker lock(&e.entityLock);
        EXPECT_EQ(e.faultActionBiIndex, 0);
        EXPECT_LE(e.faultActionTimes[0], 100.0);
    }
}

TEST_F(RunSourceTest, ValuesThatCannotBeOutputRefuseTheStart)
{
    // No polling: the testor is the link's only user, so a refused start
    // must not show a single frame.
    initialise(false);
    const double nan = std::nan("");
    const double inf = std::numeric_limits<double>::infinity();
    struct Row
    {
        const char* name;
        ControllerTestor::TESTType type;
        std::function<void(ControllerTestor&)> set;
    };
    const Row rows[] = {
        {"AC angle", TT::TEST_ALTERNATE,
         [&](ControllerTestor& t) {
             edit(*t.dataAlternate, [&](ModelAlternateEntity& e) {
                 setSteady(e, 1.0);
                 e.outputAngles[kIA] = nan;
             });
         }},
        {"AC ramp of more than 65534 states", TT::TEST_ALTERNATE,
         [&](ControllerTestor& t) {
             edit(*t.dataAlternate, [&](ModelAlternateEntity& e) {
                 setSteady(e, 0.0);
                 e.autoRampEnabled = true;
                 e.actionRampTime = 1.0;
                 e.actionRampStep = 0.001;
                 e.actionRampFactor = 1;
                 e.endRampValue = 100.0;
                 e.faultActionPort = ModelEntity::RAMP_PORT_TYPE_IA;
             });
         }},
        {"DC amplitude", TT::TEST_DIRECT,
         [&](ControllerTestor& t) { edit(*t.dataDirect, [&](ModelDirectEntity& e) { e.outputRanges[kIA] = inf; }); }},
        {"harmonic angle", TT::TEST_HARMONIC,
         [&](ControllerTestor& t) {
             edit(*t.dataHarmonic, [&](ModelHarmonicEntity& e) {
                 e.outputRanges[kIA][2] = 0.5;
                 e.outputAngles[kIA][2] = nan;
             });
         }},
        {"power swing angle", TT::TEST_OSCILLATE,
         [&](ControllerTestor& t) {
             edit(*t.dataOscillate, [&](ModelOscillateEntity& e) { e.oscillateAngle = inf; });
         }},
        {"standard source amplitude", TT::TEST_STDSOURCE,
         [&](ControllerTestor& t) {
             edit(*t.dataStdSource, [&](ModelStdSourceEntity& e) { e.outputRanges[kUA] = nan; });
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.set(testor());
        const uint64_t frames = sim->counters().frames;
        const int powers = powerNotices();
        ASSERT_FALSE(start(row.type));
        EXPECT_EQ(sim->counters().frames, frames);
        EXPECT_EQ(powerNotices(), powers);
        EXPECT_FALSE(testor().runEnable.load());
        EXPECT_TRUE(powerStageCommands().isEmpty());
    }
    EXPECT_EQ(texts(ConstTextUtility::TEST_AOSTART), 0);
}
