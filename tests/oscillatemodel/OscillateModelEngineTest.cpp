// The power-swing view model against the real engine and the simulated
// instrument: live edits switch the running output once each, the stop
// restores the start's settings, an envelope relay trips on the swing, and a
// refused start keeps the settings and frees the exit. Every TEST runs in a
// process of its own (see EngineFixture.h).

#include "../run_source/RunSourceSupport.h"
#include "OscillateModelSupport.h"

#include "SimEnvelopeRelay.h"

#include <QDir>

#include <cmath>
#include <functional>
#include <mutex>
#include <vector>

using namespace osctest;
using enginetest::waitFor;

namespace {

// The components of one channel in every page the instrument enters.
class PageLog : public zorsim::DutModel
{
public:
    explicit PageLog(int channel) : channel(channel) {}
    std::string name() const override { return "page log"; }
    void plugged(zorsim::DutContext& context) override { ctx = &context; }
    void unplugged() override { ctx = nullptr; }
    void outputsChanged() override
    {
        const zorsim::PlayedOutputs& out = ctx->outputs();
        // A switch may enter its page at the instant the last one started.
        if (!out.running || (out.pageStartNs == lastStartNs && out.pageIndex == lastIndex))
            return;
        lastStartNs = out.pageStartNs;
        lastIndex = out.pageIndex;
        std::lock_guard<std::mutex> lock(mutex);
        pages.push_back(out.page.channels[size_t(channel)].components);
    }
    std::vector<std::vector<zorsim::Component>> entered() const
    {
        std::lock_guard<std::mutex> lock(mutex);
        return pages;
    }

private:
    int channel;
    zorsim::DutContext* ctx = nullptr;
    int64_t lastStartNs = -1;
    int lastIndex = -1;
    mutable std::mutex mutex;
    std::vector<std::vector<zorsim::Component>> pages;
};

class OscModelEngine : public RunSourceTest
{
protected:
    bool waitRunning(ViewOscillateModel& vm, bool running)
    {
        return waitFor([&] { return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == (running ? 1 : 0); })
            && (running || waitEnded());
    }
    void prepare(ViewOscillateModel& vm)
    {
        vm.testActive();
        vm.updateDeviceConfig();
        vm.updateVMToEnt(ViewBaseModel::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
    }
};

} // namespace

TEST_F(OscModelEngine, EachLiveEditSwitchesOnceAndTheStopRestoresTheStart)
{
    initialise();
    auto log = std::make_shared<PageLog>(ModelEntity::AO_PORT_TYPE_UA);
    sim->plugIn(log);
    OscModel vm;
    prepare(vm);
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitRunning(vm, true));
    ASSERT_TRUE(waitFor([&] { return log->entered().size() == 1; }));

    struct Edit
    {
        const char* name;
        std::function<void()> same, change;
        double swing, swingAngle, swingHz, steady;   // UA as the new page plays it
    };
    const Edit edits[] = {
        {"percent", [&] { vm.setOscillatePercent(10); }, [&] { vm.setOscillatePercent(20); }, 11.547, 0, 5, 57.735},
        {"swing angle", [&] { vm.setOscillateAngle(0); }, [&] { vm.setOscillateAngle(30); }, 11.547, 30, 5, 57.735},
        {"swing frequency", [&] { vm.setOscillateFrequency(5); }, [&] { vm.setOscillateFrequency(7); }, 11.547, 30,
         7, 57.735},
        {"amplitude", [&] { vm.setOutputRange(port(0), 57.735); }, [&] { vm.setOutputRange(port(0), 60); }, 12, 30,
         7, 60},
    };
    const auto switches = [&] { return texts(ConstTextUtility::TEST_AOSWITCH); };
    const auto plays = [](const std::vector<zorsim::Component>& c, const Edit& e) {
        return c.size() == 2 && std::fabs(c[0].amplitude - e.swing) < 2e-3
            && std::fabs(angleError(c[0].phaseDeg, e.swingAngle)) < 1e-2 && std::fabs(c[0].frequencyHz - e.swingHz) < 1e-4
            && std::fabs(c[1].amplitude - e.steady) < 2e-3 && std::fabs(c[1].frequencyHz - 50.0) < 1e-4;
    };
    for (const Edit& e : edits) {
        SCOPED_TRACE(e.name);
        const int before = switches();
        e.same();
        e.change();
        // A switch of the unchanged entry would have come first.
        EXPECT_TRUE(waitFor([&] { return switches() > before && plays(log->entered().back(), e); }));
        ASSERT_TRUE(settle());
        EXPECT_EQ(switches(), before + 1);
    }

    const size_t played = log->entered().size();
    vm.testInterrupt();
    ASSERT_TRUE(waitRunning(vm, false));
    EXPECT_EQ(log->entered().size(), played);
    EXPECT_EQ(vm.getOscillatePercent(), 10.0);
    EXPECT_EQ(vm.getOscillateAngle(), 0.0);
    EXPECT_EQ(vm.getOscillateFrequency(), 5.0);
    EXPECT_EQ(vm.getOutputRange(port(0)), 57.735);
    EXPECT_EQ(vm.getTestState(), 1);   // the action notice of the start
    EXPECT_FALSE(vm.isExistFaultActionValue());
    QMutexLocker lock(&entity().entityLock);
    EXPECT_EQ(entity().oscillatePercent, 0.1);
    EXPECT_EQ(entity().oscillateAngle, 0.0);
    EXPECT_EQ(entity().oscillateFrequency, 5.0);
    EXPECT_EQ(entity().outputRanges[0], 57.735);
}

TEST_F(OscModelEngine, AnEnvelopeRelayTripsOnTheSwingOfItsChannel)
{
    initialise();
    // IA 1 A with a 30 % swing at 48 Hz starting in opposition: the envelope
    // beats from 0.7 A to 1.3 A; A (1 + p/2) is reached at 0.1567 s.
    struct Row
    {
        double pickup;
        bool trips;
    };
    for (const Row& r : {Row{1.15, true}, Row{1.02 * 1.3, false}}) {
        SCOPED_TRACE(r.pickup);
        sim->unplugAll();
        zorsim::EnvelopeRelaySettings s;
        s.channel = ModelEntity::AO_PORT_TYPE_IA;
        s.pickup = r.pickup;
        auto relay = std::make_shared<zorsim::EnvelopeRelay>(s);
        sim->plugIn(relay);
        OscModel vm;
        prepare(vm);
        vm.setOutputRange(port(4), 1.0);
        vm.setOscillatePort(7);   // IA on a three-phase unit
        vm.setOscillatePercent(30);
        vm.setOscillateFrequency(48);
        vm.setOscillateAngle(180);
        ASSERT_TRUE(vm.testStart());
        ASSERT_TRUE(waitRunning(vm, true));
        if (!r.trips) {
            const int64_t from = sim->nowNs();
            ASSERT_TRUE(waitFor([&] { return sim->nowNs() - from > 1500000000; }));
            EXPECT_TRUE(relay->pickupTimes().empty());
            vm.testInterrupt();
            ASSERT_TRUE(waitRunning(vm, false));
            EXPECT_FALSE(vm.isExistFaultActionValue());
            continue;
        }
        ASSERT_TRUE(waitRunning(vm, false));
        ASSERT_EQ(relay->pickupTimes().size(), 1u);
        EXPECT_EQ(vm.getTestState(), 1);
        EXPECT_EQ(vm.getFaultActionValue(), "1.300 A");
        EXPECT_NEAR(vm.getFaultActionTime(), std::acos(-0.3875) / (4.0 * M_PI), 2e-3);
        ASSERT_TRUE(vm.saveReport("swing.htm"));
        const QString report = QDir::currentPath() + "/report/Oscillate/swing.htm";
        vmtest::expectValidReport(report);
        EXPECT_TRUE(QString::fromUtf8(sandbox.read(report)).contains(">1.300A<"));
    }
}

TEST_F(OscModelEngine, ARefusedStartKeepsTheSettingsAndFreesTheExit)
{
    initialise();
    OscModel vm;
    prepare(vm);
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitRunning(vm, true));
    vm.testInterrupt();
    ASSERT_TRUE(waitRunning(vm, false));

    // A swing angle the engine refuses: the start fails and says why.
    vm.setOscillatePercent(25);
    vm.setOscillateAngle(std::nan(""));
    std::vector<bool> exits;
    QObject::connect(&vm, &ViewSourceTestModel::sigExitEnable, [&](bool e) { exits.push_back(e); });
    const int reports = runNotices();
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitFor([&] { return runNotices() > reports && vm.getExitEnabled(); }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(exits, (std::vector<bool>{false, true}));
    EXPECT_FALSE(vm.getUserMessage().isEmpty());
    EXPECT_EQ(vm.getOscillatePercent(), 25.0);
    EXPECT_TRUE(std::isnan(vm.getOscillateAngle()));
    EXPECT_FALSE(sim->playerStatus().running);
}

