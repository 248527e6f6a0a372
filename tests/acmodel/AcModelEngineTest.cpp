// The AC view model against the real engine and the simulated instrument:
// edits and steps reach the running output, the automatic ramp finds a
// relay's pick-up and drop-off, the settings come back after the run, a
// failed start restores nothing of an earlier run and frees the exit.
// Every TEST runs in a process of its own (see EngineFixture.h).

#include "../run_source/RunSourceSupport.h"
#include "AcModelSupport.h"
#include "../dcmodel/DcModelSupport.h"
#include "../harmonicmodel/HarmonicModelSupport.h"
#include "../rampingmodel/RampingModelSupport.h"

#include "BaseModelDataDistance.h"
#include "SimPacer.h"

#include <QDomDocument>

#include <cmath>
#include <vector>

using namespace actest;
using enginetest::waitFor;

namespace {

class AcModelEngine : public RunSourceTest
{
protected:
    // Component 0 of a channel in the page the instrument plays.
    zorsim::Component playing(int channel)
    {
        const zorsim::PageContent p = playingPage();
        const auto& components = p.channels[size_t(channel)].components;
        return components.empty() ? zorsim::Component{} : components[0];
    }
    bool waitPlaying(int channel, double amplitude)
    {
        return waitFor([&] {
            return sim->playerStatus().running
                && std::fabs(playing(channel).amplitude - amplitude) < 1e-3 * std::max(1.0, amplitude);
        });
    }
    bool waitRunning(ViewAlternateModel& vm, bool running)
    {
        return waitFor([&] { return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == (running ? 1 : 0); })
            && (running || waitEnded());
    }
    // One value of the parameter file as written.
    QString stored(const QStringList& names)
    {
        QDomDocument doc;
        doc.setContent(sandbox.read(QDir::currentPath() + "/parameters/AC/parameter.xml"));
        QDomElement e = doc.documentElement();
        for (const QString& n : names)
            e = e.firstChildElement(n);
        return e.text();
    }
};

} // namespace

TEST_F(AcModelEngine, ManualRunPlaysEditsAndStepsThenTheSettingsComeBack)
{
    initialise();
    AcModel vm;
    vm.testActive();
    vm.updateDeviceConfig();
    vm.updateVMToEnt(ViewBaseModel::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
    std::vector<bool> exits;
    QObject::connect(&vm, &ViewSourceTestModel::sigExitEnable, [&](bool e) { exits.push_back(e); });

    ASSERT_TRUE(vm.testStart());
    EXPECT_FALSE(vm.getExitEnabled());
    ASSERT_TRUE(waitRunning(vm, true));
    EXPECT_TRUE(vm.getExitEnabled());
    EXPECT_EQ(exits, (std::vector<bool>{false, true}));
    EXPECT_EQ(vm.getTestState(), -1);
    ASSERT_TRUE(waitPlaying(0, 57.735));

    // An edit switches the running output.
    vm.setOutputRange(port(0), 60.0);
    ASSERT_TRUE(waitPlaying(0, 60.0));

    // A step of UA UB UC, within the device limit.
    vm.setFaultActionPort(6);
    vm.setRampStepValue(2.0);
    ASSERT_TRUE(vm.quickChange(true));
    EXPECT_EQ(vm.getOutputRange(port(0)), 62.0);
    ASSERT_TRUE(waitPlaying(1, 59.735));
    EXPECT_NEAR(playing(0).amplitude, 62.0, 0.062);

    // An angle step folds past 360.
    vm.setFaultActionPort(0);
    vm.setFaultActionItem(VM::RAMP_ITEM_TYPE_ANGLE);
    vm.setRampStepValue(5.0);
    vm.setOutputAngle(port(0), 358.0);
    ASSERT_TRUE(vm.quickChange(true));
    EXPECT_EQ(vm.getOutputAngle(port(0)), 3.0);
    ASSERT_TRUE(waitFor([&] { return std::fabs(angleError(playing(0).phaseDeg, 3.0)) < 1e-2; }));

    // The fault state of the shared fault model, while the output runs.
    BaseModelDataDistance* distance = BaseModelDataDistance::getInstance();
    distance->distanceKind = BaseModelDataDistance::DISTANCE_TYPE_ICONSTANT;
    distance->faultKind = BaseModelDataDistance::FAULT_TYPE_A_E;
    distance->faultCurrentRange = 5.0;
    distance->shortImpedance = BaseDataVector(2.0, 75.0);
    ASSERT_TRUE(vm.doComputerDistance());
    EXPECT_NEAR(vm.getOutputRange(port(4)), 5.0, 1e-9);
    ASSERT_TRUE(waitPlaying(4, 5.0));
    EXPECT_NEAR(playing(0).amplitude, vm.getOutputRange(port(0)), 1e-3 * vm.getOutputRange(port(0)));

    // Leaving the page saves before it stops: the file holds the settings
    // from before the run, the model keeps what is being output.
    ASSERT_TRUE(vm.saveParameter());
    EXPECT_EQ(stored({"outputs", "port0", "range"}), "57.735");
    EXPECT_EQ(stored({"outputs", "port0", "angle"}), "0");
    EXPECT_EQ(stored({"outputs", "port4", "range"}), "1");
    EXPECT_EQ(stored({"testState"}), "0");
    EXPECT_NEAR(vm.getOutputRange(port(4)), 5.0, 1e-9);

    vm.testInterrupt();
    ASSERT_TRUE(waitRunning(vm, false));
    const double before[8] = {57.735, 57.735, 57.735, 0, 1, 1, 1, 0};
    for (int p = 0; p < 8; ++p)
        EXPECT_EQ(vm.getOutputRange(port(p)), before[p]) << p;
    EXPECT_EQ(vm.getOutputAngle(port(0)), 0.0);
    EXPECT_EQ(vm.getTestState(), 0);
    {
        QMutexLocker lock(&entity().entityLock);
        EXPECT_EQ(entity().outputRanges[0], 57.735);
        EXPECT_EQ(entity().outputRanges[4], 1.0);
    }
    ASSERT_TRUE(vm.saveParameter());
    EXPECT_EQ(stored({"outputs", "port4", "range"}), "1");
}

TEST_F(AcModelEngine, AutoRampFindsPickupAndDropoffOfTheRelay)
{
    initialise();
    auto relay = plugTimedRelay(ModelEntity::AO_PORT_TYPE_IA, 4.5, 0.8);   // drops off below 4.275 A
    AcModel vm;
    vm.testActive();
    vm.setOutputRange(port(4), 0.0);
    vm.setAutoRampEnabled(true);
    vm.setFaultActionType(VM::ACTION_TYPE_RETURN);
    vm.setFaultActionPort(7);   // IA on a three-phase unit
    vm.setRampStepValue(1.0);
    vm.setRampTimeValue(2.0);
    vm.setEndRampValue(10.0);
    double largestShown = 0.0;
    QObject::connect(&vm, &ViewBaseModel::sigUpdateDataToView, [&](int type, int) {
        if (type == ViewBaseModel::DATA_TYPE_TEST_OUTPUTDATA)
            largestShown = std::max(largestShown, vm.getOutputRange(port(4)));
    });

    // Down from 0 A to 10 A would jump there in one step: refused.
    EXPECT_FALSE(vm.quickChange(false));
    EXPECT_FALSE(vm.getUserMessage().isEmpty());
    ASSERT_TRUE(vm.quickChange(true));
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitRunning(vm, true));
    {
        QMutexLocker lock(&entity().entityLock);
        EXPECT_EQ(entity().actionRampFactor, 1);
        EXPECT_EQ(entity().endRampValue, 10.0);
        EXPECT_EQ(entity().actionRampStep, 1.0);
        EXPECT_EQ(entity().stateCount, 13);
    }
    ASSERT_TRUE(waitRunning(vm, false));
    ASSERT_FALSE(relay->pickupTimes().empty());

    EXPECT_EQ(vm.getTestState(), 1);
    EXPECT_EQ(vm.getFaultActionValue(0), "5.000 A");
    EXPECT_EQ(vm.getFaultActionValue(1), "4.000 A");
    EXPECT_EQ(vm.getFaultActionFactor(), "0.800");
    EXPECT_GT(vm.getFaultActionTime(0), 0.0);
    EXPECT_GT(vm.getFaultActionTime(1), 0.0);
    EXPECT_GE(largestShown, 5.0);
    EXPECT_EQ(vm.getOutputRange(port(4)), 0.0);   // the ramp's start again

    ASSERT_TRUE(vm.saveReport("ramp.htm"));
    const QString report = QDir::currentPath() + "/report/AC/ramp.htm";
    vmtest::expectValidReport(report);
    const QString text = QString::fromUtf8(sandbox.read(report));
    for (const char* cell : {">IA<", ">5.000A<", ">4.000A<", ">0.800<"})
        EXPECT_TRUE(text.contains(cell)) << cell;
}

TEST_F(AcModelEngine, AFailedStartRestoresNothingOfAnEarlierRunAndFreesTheExit)
{
    initialise();
    AcModel vm;
    vm.testActive();
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitRunning(vm, true));
    ASSERT_TRUE(vm.quickChange(true));
    ASSERT_TRUE(waitPlaying(0, 58.735));
    vm.testInterrupt();
    ASSERT_TRUE(waitRunning(vm, false));
    ASSERT_EQ(vm.getOutputRange(port(0)), 57.735);

    // Values the engine refuses to output: the start fails, and the page is told why.
    vm.setOutputRange(port(0), 10.0);
    vm.setOutputAngle(port(1), std::nan(""));
    std::vector<bool> exits;
    QObject::connect(&vm, &ViewSourceTestModel::sigExitEnable, [&](bool e) { exits.push_back(e); });
    QStringList messages;
    QObject::connect(&vm, &ViewSourceTestModel::sigUserMessage, [&](const QString& t) { messages << t; });
    const int reports = runNotices();
    ASSERT_TRUE(vm.testStart());
    EXPECT_FALSE(vm.getExitEnabled());
    ASSERT_TRUE(waitFor([&] { return runNotices() > reports && vm.getExitEnabled(); }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(exits, (std::vector<bool>{false, true}));
    EXPECT_EQ(messages, QStringList{QString::fromUtf8("有输出值不是有效数值或超出范围，试验未开始。")});
    EXPECT_EQ(vm.getUserMessage(), messages.value(0));
    EXPECT_EQ(vm.getOutputRange(port(0)), 10.0);
    EXPECT_TRUE(std::isnan(vm.getOutputAngle(port(1))));
    EXPECT_EQ(vm.getTestState(), 0);
    EXPECT_EQ(state(RT::STATE_TYPE_POWERED), 0);
    EXPECT_FALSE(sim->playerStatus().running);

    // Mended, it starts; neither its run nor its stop brings a message.
    vm.setOutputAngle(port(1), 240.0);
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitRunning(vm, true));
    ASSERT_TRUE(waitPlaying(0, 10.0));
    vm.testInterrupt();
    ASSERT_TRUE(waitRunning(vm, false));
    EXPECT_EQ(vm.getOutputRange(port(0)), 10.0);
    EXPECT_EQ(messages.size(), 1);
}

// UA from 50 V to 60 V by 1 V every 15 ms, the debounce, and a relay that
// closes 25 ms after UA reaches 60 V: in the ramp's last step, too late for
// the instrument to confirm it within the step's time. The run plays its last
// step until the debounce has passed, and the trip is found, valued with the
// step the relay saw as the instrument played it (the page log). At real time
// and at the tests' scale.
class AcModelLastStep : public AcModelEngine, public ::testing::WithParamInterface<double>
{
};

TEST_P(AcModelLastStep, ATripInTheLastStepOfARampIsFoundValuedWithTheStepTheRelaySaw)
{
    zoplat::setTimeScale(GetParam());
    initialise();
    auto relay = plugRelay(ModelEntity::AO_PORT_TYPE_UA, 60.0, 0.025);
    auto pages = std::make_shared<runsource::PageRecorder>(0);
    sim->plugIn(pages);
    AcModel vm;
    vm.testActive();
    vm.setOutputRange(port(0), 50.0);
    vm.setAutoRampEnabled(true);
    vm.setFaultActionPort(0);
    vm.setRampStepValue(1.0);
    vm.setRampTimeValue(0.015);
    vm.setEndRampValue(60.0);
    ASSERT_TRUE(vm.quickChange(true));
    ASSERT_TRUE(runToEnd(vm));
    ASSERT_EQ(relay->pickupTimes().size(), 1u);
    EXPECT_NEAR(pages->playedAt(relay->pickupTimes()[0]), 60.0, 1e-3);
    EXPECT_EQ(vm.getTestState(), 1);
    EXPECT_EQ(vm.getFaultActionValue(0), "60.000 V");
    EXPECT_GT(vm.getFaultActionTime(0), 0.0);
}

INSTANTIATE_TEST_SUITE_P(Scales, AcModelLastStep, ::testing::Values(1.0, enginetest::kTimeScale));

// Ramps of 0.1 s steps at real time, each with a relay that closes 95 ms (or
// 99 ms) into the step it picks up on: the end value's, or one before it,
// whose contact the instrument confirms in the next step; or 150 ms into the
// end value's step, on its second page (the step held for the debounce). The
// trip reads the step the relay saw (the page log) and the time into it, in
// the instrument's ticks.
TEST_F(AcModelEngine, ARampTripReadsTheStepTheRelaySawAndTheTimeIntoIt)
{
    atRealTime();
    initialise();
    const double rate = sim->hardware().tickRate;
    enum Module { AC, DC, HARMONIC, RAMPING };
    const struct
    {
        Module module;
        double from, step, to, pickup, delay, value;
    } rows[] = {
        {AC, 50.0, 1.0, 60.0, 59.99, 0.095, 60.0},       {AC, 50.0, 1.0, 60.0, 59.99, 0.099, 60.0},
        {AC, 50.0, 1.0, 60.0, 58.99, 0.095, 59.0},       {AC, 50.0, 1.0, 60.0, 59.99, 0.150, 60.0},
        {DC, 8.0, 0.5, 12.0, 11.99, 0.095, 12.0},
        {DC, 8.0, 0.5, 12.0, 11.49, 0.095, 11.5},        {HARMONIC, 50.0, 1.0, 60.0, 59.99, 0.095, 60.0},
        {HARMONIC, 50.0, 1.0, 60.0, 58.99, 0.095, 59.0}, {RAMPING, 50.0, 1.0, 60.0, 59.99, 0.099, 60.0},
        {RAMPING, 50.0, 1.0, 60.0, 58.99, 0.095, 59.0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.module << " " << r.pickup << " " << r.delay);
        sim->unplugAll();
        auto pages = std::make_shared<runsource::PageRecorder>(0);
        sim->plugIn(pages);
        auto relay = plugRelay(ModelEntity::AO_PORT_TYPE_UA, r.pickup, r.delay);
        double time = std::nan(""), value = std::nan("");
        auto run = [&](auto& vm) {
            vm.setAutoRampEnabled(true);
            vm.setFaultActionPort(0);
            vm.setRampStepValue(r.step);
            vm.setRampTimeValue(0.1);
            vm.setEndRampValue(r.to);
            ASSERT_TRUE(vm.quickChange(true));
            ASSERT_TRUE(runToEnd(vm));
            time = vm.faultActionTimes[0];
            value = vm.faultActionValues[0].actionVal[0];
        };
        if (r.module == AC) {
            AcModel vm;
            vm.testActive();
            vm.setOutputRange(port(0), r.from);
            run(vm);
        } else if (r.module == DC) {
            dctest::DcModel vm;
            vm.testActive();
            vm.setOutputRange(port(0), r.from);
            run(vm);
        } else if (r.module == HARMONIC) {
            hmtest::HarmonicModel vm;
            vm.testActive();
            vm.setSlot(0, 0, r.from, 0.0);
            vm.setFaultActionOrder(0);
            vm.setSettingTime(0.05);   // a window the steps of 0.1 s reach
            vm.setDevTime(0.05);
            run(vm);
        } else {
            rmtest::RampingModel vm;
            vm.testActive();
            vm.removeState();
            vm.setSettingTime(-1, 0.05);   // a window the steps of 0.1 s reach
            vm.setDevTime(-1, 0.05);
            vm.addRamp(0, rmtest::VM::RAMP_ITEM_TYPE_RANGE, r.to, r.step, 0.1);
            vm.setOutputRange(port(0), r.from);
            ASSERT_TRUE(runToEnd(vm));
            time = vm.getActionTimes(0);
            value = vm.getActionValue(0).toDouble();
        }
        ASSERT_FALSE(relay->pickupTimes().empty());
        const int64_t moved = relay->pickupTimes()[0];
        EXPECT_NEAR(pages->playedAt(moved), r.value, 1e-3);
        EXPECT_NEAR(value, r.value, 1e-3);
        EXPECT_NEAR(std::llround(time * rate), std::llround(pages->shownTime(moved) * rate), 1);
    }
}

// The AC and DC automatic ramps stopped in their first step, no relay to
// trip: not tested (not "No Action"), on the page, in the report and read
// back.
TEST_F(AcModelEngine, ARampStoppedBeforeItRanOutIsNotTested)
{
    initialise();
    sim->unplugAll();
    auto stopEarly = [&](auto&& vm, const char* folder) {
        vm.testActive();
        vm.setOutputRange(port(0), 50.0);
        vm.setAutoRampEnabled(true);
        vm.setFaultActionPort(0);
        vm.setRampStepValue(1.0);
        vm.setRampTimeValue(2.0);
        vm.setEndRampValue(60.0);
        ASSERT_TRUE(vm.quickChange(true));
        ASSERT_TRUE(vm.testStart());
        ASSERT_TRUE(waitFor([&] { return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == 1; }));
        vm.testInterrupt();
        ASSERT_TRUE(waitFor([&] { return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == 0; }) && waitEnded());
        EXPECT_EQ(vm.getNoActionText(), QString::fromUtf8("未测试"));
        ASSERT_TRUE(vm.saveReport("stopped.htm"));
        const QString text = QString::fromUtf8(sandbox.read(QDir::currentPath() + "/report/" + folder + "/stopped.htm"));
        EXPECT_EQ(text.count(QString::fromUtf8(">未测试<")), 2);
        // And after a restart, from the page's own file.
        ASSERT_TRUE(vm.saveParameter());
        std::decay_t<decltype(vm)> back;
        back.testActive();
        ASSERT_TRUE(back.loadParameter());
        EXPECT_EQ(back.getNoActionText(), QString::fromUtf8("未测试"));
    };
    stopEarly(AcModel(), "AC");
    stopEarly(dctest::DcModel(), "DC");
}

// The automatic ramps with steps shorter than the debounce (1 ms against
// 15 ms), which the pages and a file or a PC may set: refused at the start,
// saying why; the instrument plays nothing.
TEST_F(AcModelEngine, ARampOfStepsShorterThanTheDebounceIsRefusedAtTheStart)
{
    initialise();
    auto recorder = std::make_shared<runsource::PageRecorder>(0);
    sim->plugIn(recorder);
    const QString refusal = QString::fromUtf8("步长时间1 ms短于防抖时间15 ms：动作要到其后数步才被确认，无法确定动作值，试验未开始。");
    // UA (the fundamental, for the harmonic test) up by `step` every
    // millisecond to `to`, on the page's model made active and set first.
    auto refused = [&](auto& vm, double step, double to) {
        vm.setAutoRampEnabled(true);
        vm.setFaultActionPort(0);
        vm.setRampStepValue(step);
        vm.setRampTimeValue(0.001);
        vm.setEndRampValue(to);
        EXPECT_TRUE(vm.quickChange(true));
        EXPECT_EQ(refusedStart(vm), refusal) << to;
    };
    AcModel ac;
    ac.testActive();
    ac.setOutputRange(port(0), 50.0);
    refused(ac, 1.0, 60.0);
    dctest::DcModel dc;
    dc.testActive();
    dc.setOutputRange(port(0), 8.0);
    refused(dc, 0.5, 12.0);
    hmtest::HarmonicModel harmonic;
    harmonic.testActive();
    harmonic.setSlot(0, 0, 50.0, 0.0);
    harmonic.setFaultActionOrder(0);
    harmonic.setSettingTime(0.0);   // no window: the steps against the debounce alone
    harmonic.setDevTime(0.0);
    refused(harmonic, 1.0, 60.0);
    EXPECT_TRUE(recorder->amplitudes().empty());
}

// Ramps to a value the outputs cannot give, as a file or a PC may set them
// (the page's boxes are limited): refused at the start, naming the channel,
// the value and its output's range; the instrument plays nothing.
TEST_F(AcModelEngine, ARampBeyondWhatTheOutputsGiveIsRefusedAtTheStart)
{
    initialise();
    auto recorder = std::make_shared<runsource::PageRecorder>(0);
    sim->plugIn(recorder);
    struct Row
    {
        int row;   // list row of the ramped group (three-phase unit)
        VM::RampItemType item;
        double from, step, to;
        const char* refusal;
    };
    const Row rows[] = {
        {0, VM::RAMP_ITEM_TYPE_RANGE, 255.0, 5.0, 275.0, "递变将使UA达到275 V，超出其输出范围0 V至265 V，试验未开始。"},
        {7, VM::RAMP_ITEM_TYPE_RANGE, 8.0, 1.0, 12.0, "递变将使IA达到12 A，超出其输出范围0 A至10 A，试验未开始。"},
        {0, VM::RAMP_ITEM_TYPE_FREQUENCY, 50.0, 10.0, 0.0,
         "递变将使UA达到0 Hz，超出其输出范围10 Hz至1000 Hz，试验未开始。"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.refusal);
        AcModel vm;
        vm.testActive();
        vm.setAutoRampEnabled(true);
        vm.setFaultActionPort(r.row);
        vm.setFaultActionItem(r.item);
        const ViewBaseModel::AOPortType ramped = port(r.row == 0 ? 0 : 4);
        if (r.item == VM::RAMP_ITEM_TYPE_FREQUENCY)
            vm.setOutputFrequency(ramped, r.from);
        else
            vm.setOutputRange(ramped, r.from);
        vm.setRampStepValue(r.step);
        vm.setRampTimeValue(0.1);
        vm.setEndRampValue(r.to);
        ASSERT_TRUE(vm.quickChange(r.to > r.from));
        EXPECT_EQ(refusedStart(vm), QString::fromUtf8(r.refusal));
    }
    // DC: half the configured current.
    dctest::DcModel dc;
    dc.testActive();
    dc.setAutoRampEnabled(true);
    dc.setFaultActionPort(7);
    dc.setOutputRange(port(4), 3.0);
    dc.setRampStepValue(1.0);
    dc.setRampTimeValue(0.1);
    dc.setEndRampValue(7.0);
    ASSERT_TRUE(dc.quickChange(true));
    EXPECT_EQ(refusedStart(dc), QString::fromUtf8("递变将使IA达到7 A，超出其输出范围0 A至5 A，试验未开始。"));
    EXPECT_TRUE(recorder->amplitudes().empty());
}
