// The network service end to end: the switch and its threads, a PC that
// runs the AC test through the engine, connections that end, the beacon and
// a network write.

#include "RemoteServiceSupport.h"
#include "../overcurrentmodel/OvercurrentModelSupport.h"
#include "../remote/RemoteTestSupport.h"

#include "zocmm_testing_confer_handle.h"
#include "zocmn_net_reject_log.h"
#include "zoshm_testing_share_handle.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>

#include <dirent.h>
#include <sys/time.h>

using namespace remoteservice;

namespace {

int entries(const char* folder)
{
    int n = 0;
    if (DIR* d = opendir(folder)) {
        while (readdir(d))
            ++n;
        closedir(d);
    }
    return n;
}
constexpr int kIA = 4;

int threadCount() { return entries("/proc/self/task"); }
int descriptorCount() { return entries("/proc/self/fd"); }

class RemoteService : public RemoteServiceTest
{
protected:
    // One value of a module page's parameter file as written.
    QString storedText(const QString& folder, const QStringList& names)
    {
        QDomDocument doc;
        doc.setContent(sandbox.read(QDir::currentPath() + "/parameters/" + folder + "/parameter.xml"));
        QDomElement e = doc.documentElement();
        for (const QString& n : names)
            e = e.firstChildElement(n);
        return e.text();
    }
};

TEST_F(RemoteService, SwitchRunsFiveThreadsAndTheTimerAndLeavesNothingBehind)
{
    switchOn();
    // Qt starts threads lazily: counted after a first on/off cycle.
    service->updateViewConnectEnable(false);
    const int threads = threadCount();
    const int descriptors = descriptorCount();
    for (int cycle = 0; cycle < 3; ++cycle) {
        SCOPED_TRACE(cycle);
        service->updateViewConnectEnable(true);
        ASSERT_TRUE(service->isServiceEnabled());
        EXPECT_EQ(threadCount(), threads + 5);
        itimerval timer{};
        ASSERT_EQ(getitimer(ITIMER_REAL, &timer), 0);
        EXPECT_EQ(timer.it_interval.tv_usec, 100000);
        Pc pc;   // ticked again at once: it serves
        connectPc(pc);
        service->updateViewConnectEnable(false);
        EXPECT_FALSE(service->isServiceEnabled());
        EXPECT_TRUE(pc.waitClosed(3000));
        pc.closeSocket();
        EXPECT_EQ(threadCount(), threads);
        EXPECT_EQ(descriptorCount(), descriptors);
    }

    // With the timer running, the product's waits are not cut short.
    zoplat::setTimeScale(1.0);
    for (int ms : {150, 450}) {
        QElapsedTimer t;
        t.start();
        zoplat::sleepMs(ms);
        EXPECT_GE(t.elapsed(), ms);
    }
}

TEST_F(RemoteService, PcRunsTheAcTestAndFollowsItsStatus)
{
    switchOn();
    actest::AcModel vm;
    setUpAc(vm);
    Pc pc;
    connectPc(pc);
    sendAc(pc);

    // Binary outputs reach the instrument.
    EXPECT_EQ(pc.ask(controlRequest(pc::control(0x400, 0, 0, 0, 0, 0x5, 0xF))), QByteArray(1, '\0'));
    EXPECT_EQ(sim->peekRegister(0x833C) & 0xF, 0x5);

    // POWERING puts the binary words into the next status frame.
    size_t mark = pc.frames.size();
    EXPECT_EQ(pc.ask(controlRequest(pc::control(0x80))), QByteArray(1, '\0'));
    EXPECT_TRUE(pc.waitFrame(pc::PushStatus, mark, 5000, [](const pc::Frame& f) {
        return pc::Bytes(f.payload).u32(44) == 0x5;
    }));

    // Stop and trigger reach the engine; a switch with no run switches
    // nothing and says so (the switch in a run: RemoteRecordsSequence).
    int stops = 0, keys = 0;
    QObject::connect(center, &ControllerCenter::sigTestInterrupt, &receiver, [&] { ++stops; });
    QObject::connect(center, &ControllerCenter::sigTestKeyPress, &receiver, [&] { ++keys; });
    EXPECT_EQ(pc.ask(controlRequest(pc::control(0x10, 0, 1))), QByteArray(1, '\0'));
    EXPECT_EQ(pc.ask(switchRequest()), kRefused);
    EXPECT_EQ(pc.ask(controlRequest(pc::control(0x20, 0, 0, 1))), QByteArray(1, '\0'));
    EXPECT_TRUE(waitFor([&] { return std::make_pair(stops, keys) == std::make_pair(1, 1); }));

    // A start runs the test; a start while it runs does nothing; the relay
    // trips (10 s of the instrument's clock, half a second here).
    auto relay = plugRelay(kIA, 0.9, 10.0);
    mark = pc.frames.size();
    const int runsBefore = texts(ConstTextUtility::TEST_AOSTART);
    EXPECT_EQ(pc.ask(startRequest()), QByteArray(1, '\0'));
    const int running = pc.waitStatus(1, mark);
    ASSERT_GE(running, 0);
    EXPECT_EQ(pc.ask(startRequest()), QByteArray(1, '\0'));
    ASSERT_GE(pc.waitStatus(0, size_t(running) + 1), 0);
    ASSERT_TRUE(waitEnded());
    EXPECT_EQ(texts(ConstTextUtility::TEST_AOSTART), runsBefore + 1);
    EXPECT_FALSE(std::isnan(testor().dataAlternate->faultActionTimes[0]));

    // Switching remote control off stops the test the PC started.
    sim->unplugAll();
    mark = pc.frames.size();
    EXPECT_EQ(pc.ask(startRequest()), QByteArray(1, '\0'));
    ASSERT_GE(pc.waitStatus(1, mark), 0);
    service->updateViewConnectEnable(false);
    EXPECT_TRUE(waitEnded());

    // Ticked again: the status says nothing runs.
    service->updateViewConnectEnable(true);
    Pc again;
    connectPc(again);
    mark = again.frames.size();
    EXPECT_EQ(again.ask(controlRequest(pc::control(0x80))), QByteArray(1, '\0'));
    const auto status = again.waitFrame(pc::PushStatus, mark);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(std::make_pair(pc::Bytes(status->payload).u32(4), pc::Bytes(status->payload).u32(8)),
              std::make_pair(0u, 1u));
}

// The binary-output command answers what the driver did.
TEST_F(RemoteService, BinaryOutputCommandAnswersTheDriversResult)
{
    switchOn(false);
    Pc pc;
    connectPc(pc);
    drv_mcasp_set_poll_limits(2000, 2000, 2000);   // a failing link answers at once
    for (bool linked : {true, false, true}) {
        SCOPED_TRACE(linked);
        sim->setLinkFault(linked ? zorsim::LinkFault::None : zorsim::LinkFault::NeverReady);
        EXPECT_EQ(pc.ask(controlRequest(pc::control(0x400, 0, 0, 0, 0, 0x2, 0x2))), QByteArray(1, linked ? '\0' : '\xFF'));
    }
    drv_mcasp_reset_poll_limits();
}

TEST_F(RemoteService, RemoteStartIsRefusedAsTheInterfaceRefusesIt)
{
    switchOn();
    actest::AcModel vm;
    vm.setOutputBIState(0, 0, ViewBaseModel::AO_BI_STATE_OFFON);
    setUpAc(vm);
    auto pc = std::make_unique<Pc>();
    connectPc(*pc);
    const quint32 resume = center->testConfiguration->tempThresholdResume;
    const struct
    {
        const char* name;
        bool driver;
        qint32 hottest;
        char status;
        bool record;    // the PC sends its AC record first
        bool respell;   // remote control switched off and on first
        bool powerFails = false;   // the instrument does not take the amplifiers' switch-on
    } rows[] = {
        {"no record since remote control went on: the page's set-up", true, qint32(resume) - 1, '\0', false, false},
        {"amplifier at the resume threshold", true, qint32(resume), '\xFF', true, false},
        {"driver not initialised", false, 0, '\xFF', true, false},
        {"cool and initialised", true, qint32(resume) - 1, '\0', true, false},
        {"only a record of the spell before: the page's set-up", true, qint32(resume) - 1, '\0', false, true},
        {"amplifiers not switched on", true, qint32(resume) - 1, '\xFF', true, false, true},
    };
    constexpr uint32_t kPolls = 2000;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        // The write after the auxiliary supply's word of the power-on fails.
        std::optional<runsource::LinkTap> tap;
        if (row.powerFails) {
            drv_mcasp_set_poll_limits(kPolls, kPolls, kPolls);
            tap.emplace(*sim);
            tap->onFrames({0x84020000u}, [&] { tap->failNextFrameOf(center->testorThread, kPolls); });
        }
        if (row.respell) {
            service->updateViewConnectEnable(false);
            ASSERT_TRUE(waitEnded());
            service->updateViewConnectEnable(true);
            pc = std::make_unique<Pc>();
            connectPc(*pc);
        }
        if (row.record)
            sendAc(*pc);
        center->testConfiguration->initDriverEnable = row.driver;
        center->testRuntime->dataLock();
        center->testRuntime->powerT[2] = row.hottest;
        center->testRuntime->dataUnlock();
        const int runs = texts(ConstTextUtility::TEST_AOSTART);
        EXPECT_EQ(pc->ask(startRequest()), QByteArray(1, row.status));
        if (row.status == '\0') {
            EXPECT_TRUE(waitFor([&] { return texts(ConstTextUtility::TEST_AOSTART) == runs + 1; }));
            ASSERT_TRUE(stopped());
        } else {
            EXPECT_TRUE(testorDone());
            EXPECT_FALSE(simRunning() || simPowered());
            EXPECT_EQ(texts(ConstTextUtility::TEST_AOSTART), runs);
        }
        if (tap) {
            EXPECT_TRUE(tap->failed());
            tap.reset();
            drv_mcasp_reset_poll_limits();
        }
    }
}

// START with no record of its spell starts the test the active page shows,
// as the page's Start does: the AC page's set-up, then the overcurrent
// page's, each tripping its relay, its trip on the page, in its file and
// pushed as the module's protocol has it. The record the PC sent in the
// spell before (UA 20 V) never plays again.
TEST_F(RemoteService, StartWithoutARecordRunsTheActivePageAndNothingOfAnEarlierSpell)
{
    switchOn();
    actest::AcModel vm;
    vm.setOutputBIState(0, 0, ViewBaseModel::AO_BI_STATE_OFFON);
    setUpAc(vm);
    auto pc = std::make_unique<Pc>();
    connectPc(*pc);
    pc::Bytes record = steadyAc();
    pc::rec::phase(record, pc::rec::AC_OUTPUTS, 0, 20.0f, 0.0f, 50.0f);
    ASSERT_EQ(pc->ask(parameterRequest(kAcRecordId, record)), kOk);
    ASSERT_EQ(pc->ask(startRequest()), kOk);
    ASSERT_TRUE(waitFor([this] { return simRunning(); }));
    EXPECT_NEAR(playingPage().channels[0].components.at(0).amplitude, 20.0, 1e-3);
    ASSERT_TRUE(stopped());

    service->updateViewConnectEnable(false);
    service->updateViewConnectEnable(true);
    pc = std::make_unique<Pc>();
    connectPc(*pc);
    auto relay = plugRelay(kIA, 0.9, 0.2);
    size_t mark = pc->frames.size();
    ASSERT_EQ(pc->ask(startRequest()), kOk);
    ASSERT_TRUE(waitFor([this] { return simRunning(); }));
    EXPECT_NEAR(playingPage().channels[0].components.at(0).amplitude, 57.735, 1e-3);
    ASSERT_TRUE(waitEnded());
    EXPECT_EQ(relay->pickupTimes().size(), 1u);
    const double acTrip = testor().dataAlternate->faultActionTimes[0];
    EXPECT_GT(acTrip, 0.0);
    EXPECT_EQ(vm.getFaultActionTime(0), acTrip);
    ASSERT_TRUE(vm.saveParameter());
    EXPECT_NEAR(storedText("AC", {"outputs", "action0", "actionTime"}).toDouble(), acTrip, 1e-6);
    const auto acPushed = pc->pushed(pc::PushTrigger, 0xC104, mark, [](auto& got) { return !got.empty(); });
    ASSERT_EQ(acPushed.size(), 1u);
    EXPECT_EQ(acPushed[0].f32(249), float(acTrip));
    // A run of the PC's record is the PC's: the page keeps its own outputs.
    ASSERT_EQ(pc->ask(parameterRequest(kAcRecordId, record)), kOk);
    ASSERT_EQ(pc->ask(startRequest()), kOk);
    ASSERT_TRUE(waitFor([this] { return simRunning(); }));
    EXPECT_NEAR(playingPage().channels[0].components.at(0).amplitude, 20.0, 1e-3);
    ASSERT_TRUE(stopped());
    EXPECT_EQ(vm.getOutputRange(actest::port(0)), 57.735);

    // The overcurrent page: one definite-time point of 3 A, tripped after
    // 0.5 s by a relay reset before it. It goes on by its own times and the
    // relay's trips: a switch in its pre-fault is refused and changes nothing.
    sim->unplugAll();
    sim->setBinaryInput(0, false);
    omtest::OvercurrentModel oc;
    oc.testActive();
    oc.updateDeviceConfig();
    oc.setNormalTime(10.0);
    oc.setIntervalTime(0.5);
    oc.setTdPickUp(omtest::VM::FUNCTION_TYPE_50, 0.5);
    oc.setMaxFaultTime(1.0);
    oc.addAt(3.0, omtest::VM::FUNCTION_TYPE_50, omtest::VM::FAULT_TYPE_A_E);
    relay = plugRelay(kIA, 1.0, 0.5);
    mark = pc->frames.size();
    ASSERT_EQ(pc->ask(startRequest()), kOk);
    ASSERT_TRUE(waitFor([this] { return simRunning(); }));
    EXPECT_EQ(pc->ask(switchRequest()), kRefused);
    ASSERT_TRUE(waitEnded());
    EXPECT_EQ(relay->pickupTimes().size(), 1u);
    ModelOvercurrentEntity& e = *testor().dataOvercurrent;
    double ocTrip = 0.0;
    {
        QMutexLocker lock(&e.entityLock);
        EXPECT_EQ(e.stateCount, 3);
        ocTrip = e.stateActionTimes[1][0];   // the fault's
    }
    EXPECT_GT(ocTrip, 0.0);
    EXPECT_EQ(oc.getActionTimes(0), ocTrip);
    EXPECT_EQ(oc.getTestResults(0), ViewBaseModel::AO_Result_TYPE_SUCCESS);
    ASSERT_TRUE(oc.saveParameter());
    EXPECT_NEAR(storedText("Overcurrent", {"testPoints", "point0", "BI1", "actionTime"}).toDouble(), ocTrip, 1e-6);
    // The protocol has no overcurrent records: the status says the run ended.
    ASSERT_GE(pc->waitStatus(0, mark), 0);
    idle(300);
    EXPECT_TRUE(pc->pushed(pc::PushTrigger, -1, mark, [](auto&) { return true; }).empty());
}

// What a flood of refused records and STARTs prints, on standard output and
// standard error together, is the service's budget while the clock stands:
// AC records the start's check refuses, STARTs of states that are not 0..n-1,
// and STARTs of the AC page whose ramp the engine refuses (steps of 1 ms
// against the debounce).
TEST_F(RemoteService, RefusedRecordsAndStartsStayWithinTheLogBudget)
{
    switchOn();
    Pc pc;
    connectPc(pc);
    pc::Bytes badAc = steadyAc();
    pc::rec::phase(badAc, pc::rec::AC_OUTPUTS, 0, 10.0f, 0.0f, 5000.0f);
    const pc::Bytes stateOne = pc::Bytes(pc::rec::ST_SIZE).u32(0, 1).f32(pc::rec::ST_TIME, 1.0f);
    const int64_t frozenMs = zoplat::monotonicMs();
    zoplat::setMonotonicClock([frozenMs] { return frozenMs; });
    const QByteArray log = remotetest::outputOf(sandbox.filePath("out"), [&] {
        for (int i = 0; i < 100; ++i)
            ASSERT_EQ(pc.ask(parameterRequest(kAcRecordId, badAc)), kRefused);
        actest::AcModel ac;
        ac.testActive();
        ac.setOutputRange(actest::port(0), 50.0);
        ac.setAutoRampEnabled(true);
        ac.setFaultActionPort(0);
        ac.setRampStepValue(1.0);
        ac.setRampTimeValue(0.001);
        ac.setEndRampValue(60.0);
        ASSERT_TRUE(ac.quickChange(true));
        for (int i = 0; i < 100; ++i)
            ASSERT_EQ(pc.ask(startRequest()), kRefused);
        ASSERT_EQ(pc.ask(parameterRequest(0xB102, stateOne)), kOk);
        for (int i = 0; i < 100; ++i)
            ASSERT_EQ(pc.ask(startRequest()), kRefused);
    });
    zoplat::setMonotonicClock({});
    EXPECT_LE(log.count('\n'), NET_LOG_BURST_LINES) << log.left(3000).constData();
    EXPECT_TRUE(log.contains("UA frequency 5000 Hz")) << log.left(3000).constData();
}

// A STOP answered before the run has begun (within the amplifiers' settle)
// cancels the start, the page's as a record's: nothing plays, nothing of a
// run is pushed.
TEST_F(RemoteService, StopWithinTheSettleCancelsTheStart)
{
    switchOn();
    actest::AcModel vm;
    setUpAc(vm);
    Pc pc;
    connectPc(pc);
    const char* rows[] = {"the page's start: START and STOP in one write", "START and STOP in one write",
                          "STOP 0.2 s after START's answer, at real time"};
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(rows[row]);
        if (row == 1)
            sendAc(pc);
        auto pages = std::make_shared<runsource::PageRecorder>(kIA);
        sim->plugIn(pages);
        const int runs = texts(ConstTextUtility::TEST_AOSTART);
        const size_t mark = pc.frames.size();
        if (row < 2) {
            pc.send(startRequest() + stopRequest());
            const auto answers = pc.pushed(pc::SetControl, -1, mark, [](auto& got) { return got.size() >= 2; },
                                           enginetest::kDeadlineMs);
            EXPECT_EQ(answers.size(), 2u);
            for (const pc::Bytes& answer : answers)
                EXPECT_EQ(answer.data, kOk);
        } else {
            atRealTime();
            EXPECT_EQ(pc.ask(startRequest()), kOk);
            QElapsedTimer t;
            t.start();
            idle(200);
            EXPECT_EQ(pc.ask(stopRequest()), kOk);
            EXPECT_LT(t.elapsed(), 1500);
        }
        ASSERT_TRUE(testorDone());
        ASSERT_TRUE(settle());
        ASSERT_TRUE(waitEnded());
        // What a run would push has had its time.
        EXPECT_FALSE(pc.waitFrame(pc::PushProcedure, mark, 500).has_value());
        EXPECT_EQ(pc.waitStatus(1, mark, 1), -1);
        EXPECT_TRUE(pages->amplitudes().empty()) << ::testing::PrintToString(pages->amplitudes());
        EXPECT_EQ(texts(ConstTextUtility::TEST_AOSTART), runs);
        sim->unplugAll();
    }
    // The next START runs.
    const size_t mark = pc.frames.size();
    EXPECT_EQ(pc.ask(startRequest()), kOk);
    EXPECT_GE(pc.waitStatus(1, mark), 0);
}

// However the PC goes away, the test it started stops.
TEST_F(RemoteService, PcThatGoesAwayLeavesRunAndPowerOff)
{
    switchOn();
    actest::AcModel vm;
    setUpAc(vm);
    const struct
    {
        const char* name;
        void (*leave)(Pc&);
        int withinMs;   // after leaving
    } rows[] = {
        {"closes its socket", [](Pc& p) { p.closeSocket(); }, 5000},
        {"is killed", [](Pc& p) { p.reset(); }, 5000},
        {"goes silent", [](Pc&) {}, 8000 + 5000},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Pc pc;
        connectPc(pc);
        sendAc(pc);
        const size_t mark = pc.frames.size();
        ASSERT_EQ(pc.ask(startRequest()), QByteArray(1, '\0'));
        ASSERT_GE(pc.waitStatus(1, mark), 0);
        ASSERT_TRUE(waitFor([this] { return simRunning() && simPowered(); }));
        pc.ask(helloRequest());   // the beat starts anew
        row.leave(pc);
        QElapsedTimer t;
        t.start();
        EXPECT_TRUE(waitFor([this] { return !simRunning() && !simPowered(); }, row.withinMs)) << t.elapsed();
        ASSERT_TRUE(waitEnded());
        pc.closeSocket();
    }
}

TEST_F(RemoteService, SecondClientWaitsUnservedAndASilentOneIsDroppedAfterItsBeat)
{
    switchOn(false);
    Pc first;
    connectPc(first);
    Pc second;
    ASSERT_TRUE(second.connectTo(serverPort));   // in the backlog
    second.send(helloRequest());
    EXPECT_FALSE(second.waitFrame(pc::GetMachine, 0, 2000).has_value());
    first.closeSocket();
    EXPECT_TRUE(second.waitClosed(5000));
    EXPECT_TRUE(second.frames.empty());

    // The server drops every client waiting at the session's end, until none
    // is: one connecting within that drain goes with them.
    QThread::msleep(200);
    Pc silent;
    ASSERT_TRUE(silent.connectTo(serverPort));
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(silent.waitClosed(30000));
    EXPECT_GE(t.elapsed(), 15000);
    EXPECT_LE(t.elapsed(), 25000);
}

TEST_F(RemoteService, ClientWithARequestEveryFourSecondsStays)
{
    switchOn(false);
    Pc pc;
    connectPc(pc);
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 30000) {
        ASSERT_FALSE(pc.waitClosed(4000)) << t.elapsed();
        ASSERT_TRUE(pc.ask(helloRequest()).has_value()) << t.elapsed();
    }
}

TEST_F(RemoteService, BeaconAnnouncesTheConnectionToItsDestination)
{
    const int udp = boundSocket(SOCK_DGRAM);
    ASSERT_GE(udp, 0);
    zoplat::host::setBeaconDestinationPort(localPort(udp));
    fcntl(udp, F_SETFL, O_NONBLOCK);
    std::vector<QByteArray> beacons;
    auto beaconWith = [&](uint32_t state, int timeoutMs) {
        beacons.clear();
        return waitFor(
            [&] {
                char buf[512];
                ssize_t got;
                while ((got = recv(udp, buf, sizeof buf, 0)) > 0)
                    beacons.emplace_back(buf, int(got));
                return !beacons.empty() && pc::Bytes(beacons.back()).u32(14 + 172) == state;
            },
            timeoutMs);
    };

    switchOn(false);
    ASSERT_TRUE(beaconWith(0, 5000));
    ASSERT_TRUE(beaconWith(0, 5000));   // repeated
    const auto f = pc::decode(beacons.back());
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(beacons.back().size(), 198);
    EXPECT_EQ(std::make_tuple(f->command, f->subid), std::make_tuple(uint16_t(0xA010), uint16_t(0xE101)));

    Pc pc;
    connectPc(pc);
    EXPECT_TRUE(beaconWith(1, 5000));
    pc.closeSocket();
    EXPECT_TRUE(beaconWith(0, 5000));
    close(udp);
}

// On the host, where the restart is only recorded, the service then serves
// again with the switch still on.
TEST_F(RemoteService, NetworkWriteRepliesClosesAndRebootsTwoSecondsLater)
{
    const QString interfaces = zoplat::devicePath("/etc/network/interfaces");
    sandbox.write("root/etc/network/interfaces", "auto lo\niface lo inet static\n      address 127.0.0.1\n      netmask 255.0.0.0\n");
    switchOn(false);
    Pc pc;
    connectPc(pc);
    zoplat::host::clearRecordedCommands();
    EXPECT_EQ(pc.ask(pc::networkWrite("10.1.2.3", beaconPort, serverPort)), QByteArray(1, '\0'));
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(pc.waitClosed(3000));
    ASSERT_TRUE(waitFor([] { return zoplat::host::recordedCommands().contains("reboot &"); }, 6000));
    EXPECT_GE(t.elapsed(), 1500);
    EXPECT_LE(t.elapsed(), 4000);
    EXPECT_TRUE(sandbox.read(interfaces).contains("address 10.1.2.3"));
    EXPECT_TRUE(waitFor([] { return !cmm_machine_reboot_flag().load(); }, 6000));   // a new start clears it
    Pc again;
    connectPc(again);
    EXPECT_TRUE(service->isServiceEnabled() && center->testConfiguration->bNetConnect);
}

// The sockets bound to the interface, on "lo" (the namespace test does it on
// eth0): served as without the option, the hello names lo's address.
TEST_F(RemoteService, BoundToTheLoopbackDeviceItServes)
{
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    char lo[32] = "lo";
    const int refused = setsockopt(probe, SOL_SOCKET, SO_BINDTODEVICE, lo, sizeof lo) == 0 ? 0 : errno;
    close(probe);
    if (refused)
        GTEST_SKIP() << "setsockopt(SO_BINDTODEVICE, \"lo\"): " << strerror(refused);
    zoplat::host::setBindToDevice(true);
    switchOn(false);
    Pc pc;
    connectPc(pc);
    const auto hello = pc.ask(helloRequest());
    ASSERT_TRUE(hello.has_value());
    EXPECT_EQ(pc::Bytes(*hello).text(112, 16), "127.0.0.1");
}

// The service takes its ports from the machine data, as the PC wrote them;
// ports the segment holds that no port can be (written there by another
// local process) fall back to the platform's. The beacon comes from the UDP
// port in use and announces the two ports in use.
TEST_F(RemoteService, MachineDataPortsServeAndTheBeaconAnnouncesThePortsInUse)
{
    const int udp = boundSocket(SOCK_DGRAM);
    zoplat::host::setBeaconDestinationPort(localPort(udp));
    const uint16_t udpChosen = freePort(SOCK_DGRAM);
    const uint16_t tcpChosen = freePort();
    switchOn(false);
    const struct
    {
        uint32_t port0, port1;   // into the segment: by the PC when usable
        uint16_t udpInUse, tcpInUse;
    } rows[] = {{udpChosen, tcpChosen, udpChosen, tcpChosen}, {0, 0, beaconPort, serverPort},
                {70000, 3902009650u, beaconPort, serverPort}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.port0);
        if (row.port0 == udpChosen) {
            Pc pc;
            connectPc(pc);
            pc::Bytes ex(*pc.ask(pc::frame(pc::GetMachine, pc::NetworkEx)));
            ex.u32(32 + 82, row.port0).u32(32 + 86, row.port1);
            EXPECT_EQ(pc.ask(pc::frame(pc::SetMachine, pc::NetworkEx, ex.data)), QByteArray(1, '\0'));
        } else {
            ShmAccess access(ShmSide::Client, SHM_SEGMENT_MACHINE);
            global_shm_machine->mchset.network.device_connect_port0 = row.port0;
            global_shm_machine->mchset.network.device_connect_port1 = row.port1;
        }
        service->updateViewConnectEnable(false);
        service->updateViewConnectEnable(true);
        pc::Bytes hello(0);
        EXPECT_TRUE(waitFor([&] {   // the first beacon from the port in use
            char buf[512];
            sockaddr_in from{};
            socklen_t n = sizeof from;
            const ssize_t got = recvfrom(udp, buf, sizeof buf, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &n);
            hello = pc::Bytes(got == 198 && ntohs(from.sin_port) == row.udpInUse ? QByteArray(buf + 14, 184) : "");
            return hello.data.size() == 184;
        }));
        EXPECT_EQ(std::make_pair(hello.u32(160), hello.u32(164)), std::make_pair(uint32_t(row.udpInUse), uint32_t(row.tcpInUse)));
        Pc pc;
        ASSERT_TRUE(pc.connectTo(row.tcpInUse));
        EXPECT_TRUE(pc.ask(helloRequest()).has_value());
    }
    close(udp);
}

// A port of the service in use (held here, as another copy's service holds
// it): switching remote control on is refused before the switch returns, the
// box unticked and the interface told the port and the reason, said once on
// the log; the port freed is not taken behind the interface's back;
// switching on again does take it.
TEST_F(RemoteService, PortInUseRefusesRemoteControlAndSaysWhichOnce)
{
    initialise(false);
    service->netWorkServiceInit();
    actest::AcModel vm;   // the view model the start page asks
    QStringList told;
    QObject::connect(&vm, &ViewBaseModel::sigNetServiceRefused, &receiver, [&](const QString& m) { told << m; });
    for (const auto& [type, port, name] : {std::make_tuple(SOCK_STREAM, serverPort, "TCP"),
                                           std::make_tuple(SOCK_DGRAM, beaconPort, "UDP")}) {
        SCOPED_TRACE(name);
        told.clear();
        const int held = boundSocket(type, port);
        ASSERT_GE(held, 0);
        center->testConfiguration->bNetConnect = true;
        const QByteArray log =
            remotetest::stdoutOf(sandbox.filePath("out"), [&] { service->updateViewConnectEnable(true); });
        close(held);
        EXPECT_FALSE(service->isServiceEnabled() || center->testConfiguration->bNetConnect
                     || NetServiceBase::threadsRunning());
        ASSERT_EQ(told.size(), 1);
        EXPECT_TRUE(told[0].contains(QStringLiteral("%1 %2").arg(name).arg(port))
                    && told[0].contains(QString::fromLocal8Bit(strerror(EADDRINUSE))))
            << told[0].toStdString();
        EXPECT_EQ(log.count("bind failed"), 1) << log.constData();
        const int free = boundSocket(type, port);   // nobody took it meanwhile
        EXPECT_GE(free, 0);
        close(free);
        center->testConfiguration->bNetConnect = true;
        service->updateViewConnectEnable(true);
        ASSERT_TRUE(service->isServiceEnabled());
        Pc pc;
        connectPc(pc);
        service->updateViewConnectEnable(false);
    }
}

TEST_F(RemoteService, RefusedStartLeavesTheServiceOffAndTellsTheInterface)
{
    initialise(false);
    int refusals = 0;
    QObject::connect(center, &ControllerCenter::sigNetServiceRefused, &receiver, [&] { ++refusals; });
    // The segments were never prepared.
    center->testConfiguration->bNetConnect = true;
    service->updateViewConnectEnable(true);
    EXPECT_FALSE(service->isServiceEnabled());
    EXPECT_FALSE(center->testConfiguration->bNetConnect);
    EXPECT_EQ(refusals, 1);
    EXPECT_FALSE(NetServiceBase::threadsRunning());
}

// However the PC's writes cut its requests (inside a header, inside a body,
// several in one write), each is answered once, whole and in order.
TEST_F(RemoteService, RequestsAreAnsweredHoweverTheirBytesArrive)
{
    switchOn(false);
    Pc pc;
    connectPc(pc);
    const QByteArray echo = pc::frame(pc::GetMeasure, 0x0001, QByteArray(3000, 'e'));
    const QByteArray stream = helloRequest() + echo + helloRequest();
    const struct
    {
        const char* name;
        std::vector<int> cuts;   // where one write ends and the next begins
    } rows[] = {
        {"all in one write", {}},
        {"cut inside a header and inside a body", {5, 14 + 1000}},
        {"a request and the start of the next, then the rest", {14 + 7, 14 + int(echo.size()) + 3}},
        {"the first header a byte a write", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const size_t mark = pc.frames.size();
        int at = 0;
        for (int cut : row.cuts) {
            pc.send(stream.mid(at, cut - at));
            at = cut;
            usleep(20000);   // the PC's pace: the piece is read before the next comes
        }
        pc.send(stream.mid(at));
        std::vector<pc::Frame> replies;
        EXPECT_TRUE(waitFor([&] {
            pc.pump();
            replies.clear();
            for (size_t i = mark; i < pc.frames.size(); ++i) {
                if (pc.frames[i].command != pc::PushStatus)
                    replies.push_back(pc.frames[i]);
            }
            return replies.size() >= 3 || pc.closed;
        }));
        ASSERT_EQ(replies.size(), 3u);
        EXPECT_EQ(std::make_tuple(replies[0].command, replies[0].payload.size()), std::make_tuple(uint16_t(pc::GetMachine), 184));
        EXPECT_EQ(std::make_tuple(replies[1].command, replies[1].payload), std::make_tuple(uint16_t(pc::GetMeasure), QByteArray(3000, 'e')));
        EXPECT_EQ(std::make_tuple(replies[2].command, replies[2].payload.size()), std::make_tuple(uint16_t(pc::GetMachine), 184));
    }
}

// A record published after the PC has been silent a while (the push thread
// asleep) is pushed all the same.
TEST_F(RemoteService, RecordPublishedAfterASilentSpellIsPushed)
{
    switchOn(false);
    Pc pc;
    connectPc(pc);
    for (uint32_t word : {0x5u, 0xAu}) {
        EXPECT_FALSE(pc.waitClosed(1500));   // silent; the connection stays
        const size_t mark = pc.frames.size();
        netCtrl_updateBOState(word);
        EXPECT_TRUE(pc.waitFrame(pc::PushStatus, mark, 5000, [word](const pc::Frame& f) {
            return pc::Bytes(f.payload).u32(44) == word;
        })) << word;
    }
}

// Connections that each end on a frame the service cannot parse print,
// together, no more than the service's budget while the clock stands.
TEST_F(RemoteService, ConnectionsEndedByABadFrameKeepTheLogBounded)
{
    switchOn(false);
    const int64_t frozenMs = zoplat::monotonicMs();
    zoplat::setMonotonicClock([frozenMs] { return frozenMs; });
    const QByteArray badFrame = pc::rawFrame(0xFFFF7A4E, pc::kVersion, pc::GetMachine, 2, pc::Bytes(2).data);
    const QByteArray log = remotetest::stdoutOf(sandbox.filePath("out"), [&] {
        for (int i = 0; i < 12; ++i) {
            Pc pc;
            connectPc(pc);
            pc.send(badFrame);
            EXPECT_TRUE(pc.waitClosed(5000)) << i;
        }
    });
    zoplat::setMonotonicClock({});
    EXPECT_LE(log.count('\n'), NET_LOG_BURST_LINES) << log.constData();
}

// Connects, commands and disconnects for the ThreadSanitizer stage.
TEST_F(RemoteService, ConnectsCommandsAndDisconnectsRunClean)
{
    switchOn();
    actest::AcModel vm;
    setUpAc(vm);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        Pc pc;
        connectPc(pc);
        sendAc(pc);
        const size_t mark = pc.frames.size();
        EXPECT_EQ(pc.ask(controlRequest(pc::control(0x400, 0, 0, 0, 0, uint32_t(round), 0xF))), QByteArray(1, '\0'));
        EXPECT_EQ(pc.ask(startRequest()), QByteArray(1, '\0'));
        EXPECT_GE(pc.waitStatus(1, mark), 0);
        EXPECT_EQ(pc.ask(controlRequest(pc::control(0x4))), QByteArray(1, '\0'));
        EXPECT_EQ(pc.ask(controlRequest(pc::control(0x80))), QByteArray(1, '\0'));
        EXPECT_EQ(pc.ask(controlRequest(pc::control(0x10, 0, 1))), QByteArray(1, '\0'));
        ASSERT_TRUE(waitEnded());
        if (round == 1) {
            service->updateViewConnectEnable(false);
            service->updateViewConnectEnable(true);
        }
    }
}

} // namespace
