// A PC's START with no record runs the test the active page shows, and that
// run is the page's: its result on the page, in its file and its report, as
// the panel's own Start leaves them, with the README's relays. What is pushed
// follows the module run: the same on a fresh instrument as after a ramping
// record of an earlier spell.

#include "../distancemodel/DistanceModelSupport.h"
#include "../harmonicmodel/HarmonicModelSupport.h"
#include "../overcurrentmodel/OvercurrentModelSupport.h"
#include "../rampingmodel/RampingModelSupport.h"
#include "../statesequencemodel/SequenceModelSupport.h"
#include "RemoteServiceSupport.h"

#include "SimDut.h"
#include "SimHostFactory.h"

#include <QRegularExpression>

using namespace remoteservice;

namespace {

// Project 7, module 3, one point: UA from 4 V by 1 V per 0.2 s towards 10 V
// until input 0 rises.
pc::Bytes rampingRecord()
{
    using namespace pc::rec;
    pc::Bytes b(RA_SIZE);
    b.u32(0, 7).u32(4, 3).u32(RA_POINTS, 1);
    for (int base : {RA_NORMAL, RA_INTERVAL, RA_FAULT})
        for (int k = 0; k < 8; ++k)
            phase(b, base, k, k == 0 && base == RA_FAULT ? 4.0f : 0.0f, 0.0f, 50.0f);
    b.f32(RA_STEP, 1.0f).f32(RA_END, 10.0f).f32(RA_TIME, 0.2f);
    return b.u8(RA_VARIABLE, 0).u8(RA_ITEM, 0).u8(RA_LINK, 1).u8(RA_BI_STATE, 1);
}

struct Row
{
    const char* name;
    const char* relay;                                      // the README's line for the module
    std::function<std::unique_ptr<ViewBaseModel>()> page;   // the page as the README sets it up
    std::function<QString(ViewBaseModel&)> shown;           // its result as the page shows it
    const char* expected;                                   // what the panel's Start shows
    uint16_t resultId;   // the sub-id of its pushed trip records, 0: the protocol has none
    size_t trips;        // how many a run pushes
};

void PrintTo(const Row& row, std::ostream* os)
{
    *os << row.name;
}

template <typename M>
M& as(ViewBaseModel& vm)
{
    return dynamic_cast<M&>(vm);
}

// The point list pages' first point: its trip time, word and verdict.
template <typename M>
QString firstPoint(ViewBaseModel& vm)
{
    M& m = as<M>(vm);
    return QStringLiteral("%1 s %2 %3")
        .arg(m.getActionTimes(0), 0, 'f', 3)
        .arg(m.getTripTimeWord(0))
        .arg(m.getTestResults(0));
}

const Row kRows[] = {
    {"AC", "threshold:channel=UA,pickup=50,delay=0.05,input=0",
     [] {
         auto vm = std::make_unique<actest::AcModel>();
         vm->testActive();
         vm->updateDeviceConfig();
         return std::unique_ptr<ViewBaseModel>(std::move(vm));
     },
     [](ViewBaseModel& vm) {
         auto& m = as<actest::AcModel>(vm);
         return QStringLiteral("%1 %2 s").arg(m.getFaultActionValue(0)).arg(m.getFaultActionTime(0), 0, 'f', 3);
     },
     "57.735 V 0.050 s", 0xC104, 1},
    {"harmonic", "threshold:channel=IA,pickup=0.9,delay=1,input=0",
     [] {
         auto vm = std::make_unique<hmtest::HarmonicModel>();
         vm->testActive();
         vm->updateDeviceConfig();
         return std::unique_ptr<ViewBaseModel>(std::move(vm));
     },
     [](ViewBaseModel& vm) {
         auto& m = as<hmtest::HarmonicModel>(vm);
         return QStringLiteral("%1 s %2").arg(m.getFaultActionTime(), 0, 'f', 3).arg(m.getTestResult());
     },
     "1.000 s 1", 0xC106, 1},
    {"ramping", "threshold:channel=UA,pickup=5,delay=0.95,input=0",
     [] {
         auto vm = std::make_unique<rmtest::RampingModel>();
         vm->testActive();
         vm->updateDeviceConfig();
         return std::unique_ptr<ViewBaseModel>(std::move(vm));
     },
     [](ViewBaseModel& vm) {
         return as<rmtest::RampingModel>(vm).getActionValue(0) + ' ' + firstPoint<rmtest::RampingModel>(vm);
     },
     "5.000 0.950 s  1", 0xC201, 1},
    {"states", "fixed:delay=0.2,input=0",
     [] {
         auto vm = std::make_unique<sstest::SeqModel>();
         vm->testActive();
         vm->updateDeviceConfig();
         return std::unique_ptr<ViewBaseModel>(std::move(vm));
     },
     [](ViewBaseModel& vm) {
         auto& m = as<sstest::SeqModel>(vm);
         QString times;
         for (int i = 0; i < m.getStateCount(); ++i)
             times += QString::number(m.getActionTimes(i, 0), 'f', 3) + ' ';
         return times;
     },
     "0.200 0.200 0.200 ", 0xC102, 3},
    {"O/C", "inverse:channels=IA+IB+IC,pickup=1,tms=1,curve=dt,input=0",
     [] {
         auto vm = std::make_unique<omtest::OvercurrentModel>();
         vm->testActive();
         vm->updateDeviceConfig();
         vm->setTestCurrent(2.0);
         vm->addPoint();
         return std::unique_ptr<ViewBaseModel>(std::move(vm));
     },
     firstPoint<omtest::OvercurrentModel>, "1.000 s  1", 0, 0},
    {"distance", "distance:reach1=5,time1=1,angle=75,kl=0.67,klangle=0,input=0",
     [] {
         auto vm = std::make_unique<dmtest::DistanceModel>();
         vm->testActive();
         vm->updateDeviceConfig();
         vm->setFaultZRange(4.0);
         vm->addPoint();
         return std::unique_ptr<ViewBaseModel>(std::move(vm));
     },
     firstPoint<dmtest::DistanceModel>, "1.000 s  1", 0, 0},
};

// What a run left: on the page, in its file, in its report; and what the PC
// was pushed of it (whether procedure records, which trip records).
struct Left
{
    QString page, file, report;
    bool procedures = false;
    std::vector<QByteArray> trips;
};

class RemotePageRun : public RemoteServiceTest, public ::testing::WithParamInterface<Row>
{
protected:
    void remoteOn()
    {
        service->netWorkServiceInit();
        center->testConfiguration->bNetConnect = true;
        service->updateViewConnectEnable(true);
        ASSERT_TRUE(service->isServiceEnabled());
    }
    void remoteOff()
    {
        service->updateViewConnectEnable(false);
        center->testConfiguration->bNetConnect = false;
    }
    void plugReadmeRelay(const char* relay = nullptr)
    {
        const zorsim::RelaySetup setup = zorsim::parseRelaySetup(QString::fromLatin1(relay ? relay : GetParam().relay));
        ASSERT_TRUE(setup.errors.isEmpty());
        sim->unplugAll();
        sim->setBinaryInput(0, false);
        for (const auto& model : setup.models)
            sim->plugIn(model);
    }
    // A run begun by `start` (none: no run) and ended, with what it left (pushes from `pc`).
    void run(ViewBaseModel& vm, Left& left, Pc* pc, const std::function<void()>& start)
    {
        plugReadmeRelay();
        const size_t mark = pc ? pc->frames.size() : 0;
        const int notices = runNotices();
        if (start) {
            start();
            ASSERT_TRUE(waitFor([&] { return runNotices() >= notices + 2; }));
        }
        ASSERT_TRUE(waitEnded());
        left.page = GetParam().shown(vm);
        static const QString folder = vm.getActiveTestDir();   // the page's, as at the panel's run
        QFile::remove(QDir::currentPath() + "/parameters/" + folder + "/parameter.xml");
        ASSERT_TRUE(vm.saveParameter());
        left.file = written("/parameters/" + folder + "/parameter.xml");
        ASSERT_TRUE(vm.saveReport("run.htm"));
        // The report's number and test time name the minute it was saved.
        left.report = written("/report/" + folder + "/run.htm")
                          .remove(QRegularExpression("NO:\\d{8} \\d{4}|Test time:[-\\d]+ [:\\d]+"));
        if (!pc)
            return;
        ASSERT_GE(pc->waitStatus(0, mark), 0);
        auto collect = [&] {
            pc->pump();
            left.procedures = false;
            left.trips.clear();
            for (size_t i = mark; i < pc->frames.size(); ++i) {
                const pc::Frame& f = pc->frames[i];
                left.procedures = left.procedures || f.command == pc::PushProcedure;
                if (f.command == pc::PushTrigger) {
                    EXPECT_EQ(f.subid, GetParam().resultId);
                    left.trips.push_back(f.payload);
                }
            }
            return left.trips.size() >= GetParam().trips;
        };
        waitFor(collect, 5000);
        idle(300);   // time for a record pushed once too often
        collect();
    }
    QString written(const QString& path) { return QString::fromUtf8(sandbox.read(QDir::currentPath() + path)); }
    QByteArray pcStart(Pc& pc) { return pc.ask(startRequest()).value_or("no answer"); }
};

}   // namespace

TEST_P(RemotePageRun, APcsStartLeavesThePagesResultAsItsOwnStartDoes)
{
    const Row& row = GetParam();
    initialise();
    std::unique_ptr<ViewBaseModel> vm = row.page();
    Left panel, fresh, later;
    ASSERT_NO_FATAL_FAILURE(run(*vm, panel, nullptr, [&] { ASSERT_TRUE(vm->testStart()); }));
    EXPECT_EQ(panel.page.toStdString(), row.expected);

    remoteOn();
    auto pc = std::make_unique<Pc>();
    connectPc(*pc);
    ASSERT_NO_FATAL_FAILURE(run(*vm, fresh, pc.get(), [&] { ASSERT_EQ(pcStart(*pc), kOk); }));

    // A PC's START of the page, the engine held until the page has asked it.
    size_t mark = 0;
    auto heldStart = [&](bool cancelled) {
        std::promise<void> hold;
        QMetaObject::invokeMethod(&testor(), [held = hold.get_future().share()] { held.wait(); });
        mark = pc->frames.size();
        pc->send(startRequest());
        EXPECT_TRUE(waitFor([&] { return !vm->getExitEnabled(); }));
        if (cancelled)
            center->testInterrupt();
        hold.set_value();
    };
    // One the engine never ran, then a record of each module run with the
    // page open: the page, its file and report stay as that start left them.
    heldStart(true);
    EXPECT_EQ(pc->waitFrame(pc::SetControl, mark).value_or(pc::Frame{}).payload, kRefused);
    Left cancelled;
    ASSERT_NO_FATAL_FAILURE(run(*vm, cancelled, nullptr, {}));
    using namespace pc::rec;
    const pc::Bytes ac = pc::Bytes(steadyAc()).f32(AC_OUTPUTS, 55.0f);   // tripped at once, as the harmonic one
    const std::pair<uint16_t, pc::Bytes> records[] = {
        {kAcRecordId, ac},
        {0xB106, pc::Bytes(HA_SIZE).u8(HA_RAMP, 1).f32(HA_WAVE, 55.0f).f32(HA_WAVE + 168, 50.0f).u32(HA_RISE, 1)},
        {0xB102, pc::Bytes(ST_SIZE).f32(ST_TIME, 0.3f)},
        {0xB301, rampingRecord()}};
    auto all = [](const Left& l) { return (l.page + l.file + l.report).toStdString(); };
    for (const auto& [subid, record] : records) {
        Left left;
        ASSERT_NO_FATAL_FAILURE(run(*vm, left, nullptr, [&] {
            plugReadmeRelay(kRows[0].relay);
            ASSERT_EQ(pc->ask(parameterRequest(subid, record)), kOk);
            ASSERT_EQ(pcStart(*pc), kOk);
        }));
        EXPECT_EQ(all(left), all(cancelled)) << subid;
    }

    // A new spell: an earlier spell's record decides nothing.
    remoteOff();
    remoteOn();
    pc = std::make_unique<Pc>();
    connectPc(*pc);
    ASSERT_NO_FATAL_FAILURE(run(*vm, later, pc.get(), [&] { ASSERT_EQ(pcStart(*pc), kOk); }));

    // The page's run, then an AC record's, both ended before the interface
    // heard of either: the page follows neither, the record's trip is pushed.
    ControllerRuntime& rt = *center->testRuntime;
    auto quietly = [&](const QByteArray& request, quint32 runs) {
        pc->send(request);
        for (int i = 0; i < 4000; ++i, usleep(2500)) {
            QMutexLocker lock(&rt.dataMutex);
            if (rt.runsBegun == runs && rt.STATE[RT::STATE_TYPE_POWERED] == 0 && !testor().runEnable.load())
                return;
        }
    };
    const quint32 runs = (QMutexLocker(&rt.dataMutex), rt.runsBegun);
    heldStart(false);
    const QString started = row.shown(*vm);
    quietly({}, runs + 1);
    plugReadmeRelay(kRows[0].relay);
    quietly(parameterRequest(kAcRecordId, ac) + startRequest(), runs + 2);
    EXPECT_FALSE(pc->pushed(pc::PushTrigger, 0xC104, mark, [](auto& got) { return !got.empty(); }).empty());
    ASSERT_TRUE(waitEnded());
    EXPECT_EQ(row.shown(*vm).toStdString(), started.toStdString());

    for (const Left* left : {&fresh, &later}) {
        SCOPED_TRACE(left == &fresh ? "fresh" : "after an earlier spell's record");
        EXPECT_EQ(left->page.toStdString(), panel.page.toStdString());
        EXPECT_EQ(left->file.toStdString(), panel.file.toStdString());
        EXPECT_EQ(left->report.toStdString(), panel.report.toStdString());
        EXPECT_EQ(left->procedures, row.resultId != 0);
        EXPECT_EQ(left->trips.size(), row.trips);
    }
    EXPECT_EQ(later.trips, fresh.trips);
}

INSTANTIATE_TEST_SUITE_P(, RemotePageRun, ::testing::ValuesIn(kRows), [](const ::testing::TestParamInfo<Row>& info) {
    QString name = QString::fromLatin1(info.param.name);
    return name.remove('/').toStdString();
});
