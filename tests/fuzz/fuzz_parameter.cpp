// Module parameter files, every module's (a stick may bring any of them):
// the first byte chooses the module, the rest is a named file that File >
// Load takes in. A file refused changes neither the page's file nor the
// model; a file taken is what the page's file then holds, and what the model
// holds lies within its page's limits. Then the merging save over the page's
// file and the next load of what was saved: it holds what the load took (a
// fresh save of either model writes the same file).

#include "FuzzSupport.h"
#include "ControllerCenter.h"
#include "ViewAlternateModel.h"
#include "ViewDirectModel.h"
#include "ViewDistanceModel.h"
#include "ViewEnergyModel.h"
#include "ViewHarmonicModel.h"
#include "ViewOscillateModel.h"
#include "ViewOvercurrentModel.h"
#include "ViewRampingModel.h"
#include "ViewSlipFrequencyModel.h"
#include "ViewSlipVoltageModel.h"
#include "ViewStateSequenceModel.h"
#include "ViewStdSourceModel.h"
#include "zoplatform_datapaths.h"

#include <QDir>
#include <QFile>

#include <cmath>
#include <limits>
#include <memory>

namespace {

using Port = ViewBaseModel::AOPortType;
constexpr double kInf = std::numeric_limits<double>::infinity();

// The AC and DC models with their stored fields and limits in reach.
class Alternate : public ViewAlternateModel
{
public:
    using ViewAlternateModel::actionRampStep;
    using ViewAlternateModel::endRampAngles;
    using ViewAlternateModel::endRampFrequencies;
    using ViewAlternateModel::endRampRanges;
    using ViewAlternateModel::portRangeLimit;
};

class Direct : public ViewDirectModel
{
public:
    using ViewDirectModel::channelLimit;
};

// The limits a page puts on what it shows; a value outside them is a finding
// that names the module and the setting.
class Limits
{
public:
    explicit Limits(const char* module) : module(module) {}

    void within(double v, double low, double high, const char* what, int index = -1) const
    {
        if (v >= low && v <= high && std::isfinite(v))
            return;
        fuzz::fail("a setting read from a parameter file is outside its page's limits",
                   QStringLiteral("%1 %2%3: %4 not in %5..%6")
                       .arg(QLatin1String(module), QLatin1String(what),
                            index < 0 ? QString() : QStringLiteral("[%1]").arg(index))
                       .arg(v)
                       .arg(low)
                       .arg(high));
    }
    void finite(double v, const char* what, int index = -1) const { within(v, -kInf, kInf, what, index); }

    // An output (named by index): its amplitude within 0..amplitude, its
    // angle within one turn either way, its frequency one the instrument
    // gives.
    void output(int index, double range, double angle, double frequency, double amplitude) const
    {
        within(range, 0.0, amplitude, "amplitude", index);
        within(angle, -360.0, 360.0, "angle", index);
        within(frequency, 0.0, 1000.0, "frequency", index);
    }

    // The device's largest amplitude on port p.
    static double device(int p)
    {
        const ControllerConfiguration* config = ControllerCenter::getInstance()->testConfiguration;
        return p < 4 ? config->maxVRange : config->maxIRange;
    }

private:
    const char* module;
};

void expectAlternate(ViewBaseModel& model, const Limits& l)
{
    auto& vm = static_cast<Alternate&>(model);
    for (int p = 0; p < 8; ++p) {
        const auto port = Port(p);
        l.output(p, vm.getOutputRange(port), vm.getOutputAngle(port), vm.getOutputFrequency(port),
                 vm.portRangeLimit(p));
        if (p % 4 != 3)
            l.within(vm.getOutputFrequency(port), 10.0, 1000.0, "frequency", p);
    }
    for (int g = 0; g < 16; ++g) {
        l.output(g, vm.endRampRanges[g], vm.endRampAngles[g], vm.endRampFrequencies[g],
                 vm.portRangeLimit(g < 8 ? 0 : 4));
        l.within(vm.endRampFrequencies[g], 10.0, 1000.0, "end frequency", g);
    }
    for (double step : vm.actionRampStep)
        l.within(step, 0.0, 300.0, "step");
    l.within(vm.getRampTimeValue(), 0.0, 300.0, "ramp time");
}

void expectDirect(ViewBaseModel& model, const Limits& l)
{
    auto& vm = static_cast<Direct&>(model);
    for (int p = 0; p < 8; ++p) {
        const auto port = Port(p);
        l.output(p, vm.getOutputRange(port), vm.getOutputAngle(port), vm.getOutputFrequency(port),
                 vm.channelLimit(p));
    }
    l.finite(vm.getBeginRampValue(), "ramp begin");
    l.finite(vm.getEndRampValue(), "ramp end");
    l.finite(vm.getRampStepValue(), "step");
    l.finite(vm.getRampTimeValue(), "ramp time");
}

void expectOscillate(ViewBaseModel& model, const Limits& l)
{
    auto& vm = static_cast<ViewOscillateModel&>(model);
    for (int p = 0; p < 8; ++p) {
        const auto port = Port(p);
        l.output(p, vm.getOutputRange(port), vm.getOutputAngle(port), vm.getOutputFrequency(port), Limits::device(p));
    }
    l.within(vm.getOscillatePercent(), 0.0, 100.0, "swing percent");
    l.within(vm.getOscillateFrequency(), 0.0, 1000.0, "swing frequency");
    l.within(vm.getOscillateAngle(), -360.0, 360.0, "swing angle");
}

void expectHarmonic(ViewBaseModel& model, const Limits& l)
{
    auto& vm = static_cast<ViewHarmonicModel&>(model);
    for (int p = 0; p < 8; ++p) {
        l.within(vm.getOutputRange(Port(p)), 0.0, Limits::device(p), "amplitude", p);
        l.within(vm.getOutputAngle(Port(p)), -360.0, 360.0, "angle", p);
    }
    l.finite(vm.getEndRampValue(), "ramp end");
    l.finite(vm.getRampStepValue(), "step");
    l.finite(vm.getRampTimeValue(), "ramp time");
    l.finite(vm.getSettingTime(), "setting time");
    l.finite(vm.getDevTime(), "deviation");
}

void expectRamping(ViewBaseModel& model, const Limits& l)
{
    auto& vm = static_cast<ViewRampingModel&>(model);
    for (int p = 0; p < 8; ++p) {
        const auto port = Port(p);
        l.output(p, vm.getOutputRange(port), vm.getOutputAngle(port), vm.getOutputFrequency(port), Limits::device(p));
    }
    l.finite(vm.getEndRampValue(), "ramp end");
    l.finite(vm.getRampStepValue(), "step");
    l.finite(vm.getStepTimeValue(), "step time");
}

void expectStateSequence(ViewBaseModel& model, const Limits& l)
{
    auto& vm = static_cast<ViewStateSequenceModel&>(model);
    for (int i = 0; i < vm.getStateCount(); ++i) {
        for (int p = 0; p < 8; ++p) {
            const auto port = Port(p);
            l.output(i * 8 + p, vm.getOutputRange(i, port), vm.getOutputAngle(i, port), vm.getOutputFrequency(i, port),
                     Limits::device(p));
        }
        l.finite(vm.getOutputTime(i), "state time", i);
    }
}

// The outputs of every point of a point list.
template <typename Model>
void expectPointOutputs(const Model& vm, const Limits& l)
{
    for (int i = 0; i < vm.getPointsCount(); ++i) {
        for (int p = 0; p < 8; ++p)
            l.output(i * 8 + p, vm.getOutputRange(i, p), vm.getOutputAngle(i, p), vm.getOutputFrequency(i, p),
                     Limits::device(p));
    }
}

void expectDistance(ViewBaseModel& model, const Limits& l)
{
    auto& vm = static_cast<ViewDistanceModel&>(model);
    expectPointOutputs(vm, l);
    for (int i = 0; i < vm.getPointsCount(); ++i) {
        l.finite(vm.getOutputTime(i), "fault time", i);
        l.finite(vm.getFaultZRange(i), "|Z|", i);
        l.finite(vm.getFaultZAngle(i), "Z angle", i);
    }
    l.finite(vm.getFaultCurrent(), "fault current");
    l.finite(vm.getFaultVoltage(), "fault voltage");
    l.finite(vm.getLoadCurrent(), "load current");
    l.finite(vm.getLoadAngle(), "load angle");
}

void expectEnergy(ViewBaseModel& model, const Limits& l)
{
    auto& vm = static_cast<ViewEnergyModel&>(model);
    expectPointOutputs(vm, l);
    for (int i = 0; i < vm.getPointsCount(); ++i) {
        l.within(vm.getPowerFactor(i), -1.0, 1.0, "power factor", i);
        l.within(vm.getSettingPulse(i), 0.0, ViewEnergyModel::kMaxPulses, "pulses", i);
    }
    l.within(vm.getPrecision(), 0.0, 100.0, "class");
}

void expectOvercurrent(ViewBaseModel& model, const Limits& l)
{
    auto& vm = static_cast<ViewOvercurrentModel&>(model);
    for (int i = 0; i < vm.getPointsCount(); ++i)
        l.within(vm.getTestCurrent(i), 0.0, kInf, "test current", i);
    l.finite(vm.getMaxFaultTime(), "longest fault");
}

void expectLoadShedding(ViewBaseModel& model, const Limits& l)
{
    auto& vm = static_cast<ViewLoadSheddingModel&>(model);
    for (int p = 0; p < 8; ++p) {
        l.within(vm.getOutputRange(p), 0.0, Limits::device(p), "amplitude", p);
        l.within(vm.getOutputAngle(p), -360.0, 360.0, "angle", p);
    }
    l.finite(vm.getSlipBegin(), "slip begin");
    l.finite(vm.getSlipEnd(), "slip end");
    l.finite(vm.getSlipStep(), "slip step");
}

void expectStdSource(ViewBaseModel& model, const Limits& l)
{
    auto& vm = static_cast<ViewStdSourceModel&>(model);
    l.within(vm.getPowerFactor(), -1.0, 1.0, "power factor");
    l.within(vm.getSrcFrequency(), 0.0, 1000.0, "frequency");
    l.within(vm.getSrcVoltageAmp(), 0.0, Limits::device(0), "voltage");
    l.within(vm.getSrcCurrentAmp(), 0.0, Limits::device(4), "current");
}

struct Module
{
    const char* folder;
    ViewBaseModel::TESTType type;
    std::unique_ptr<ViewBaseModel> (*make)();
    void (*expectLimits)(ViewBaseModel&, const Limits&);
};

template <typename Model>
std::unique_ptr<ViewBaseModel> make()
{
    return std::make_unique<Model>();
}

const Module kModules[] = {
    {"AC", ViewBaseModel::TEST_ALTERNATE, &make<Alternate>, &expectAlternate},
    {"DC", ViewBaseModel::TEST_DIRECT, &make<Direct>, &expectDirect},
    {"Distance", ViewBaseModel::TEST_DISTANCE, &make<ViewDistanceModel>, &expectDistance},
    {"Energy", ViewBaseModel::TEST_ENERGY, &make<ViewEnergyModel>, &expectEnergy},
    {"Harmonic", ViewBaseModel::TEST_HARMONIC, &make<ViewHarmonicModel>, &expectHarmonic},
    {"SlipFrequency", ViewBaseModel::TEST_SLIP_FREQUENCY, &make<ViewSlipFrequencyModel>, &expectLoadShedding},
    {"SlipVoltage", ViewBaseModel::TEST_SLIP_VOLTAGE, &make<ViewSlipVoltageModel>, &expectLoadShedding},
    {"Oscillate", ViewBaseModel::TEST_OSCILLATE, &make<ViewOscillateModel>, &expectOscillate},
    {"Overcurrent", ViewBaseModel::TEST_OVERCURRENT, &make<ViewOvercurrentModel>, &expectOvercurrent},
    {"Ramping", ViewBaseModel::TEST_RAMPING, &make<ViewRampingModel>, &expectRamping},
    {"Sequence", ViewBaseModel::TEST_STATESEQUENCE, &make<ViewStateSequenceModel>, &expectStateSequence},
    {"StdSource", ViewBaseModel::TEST_STDSOURCE, &make<ViewStdSourceModel>, &expectStdSource},
};
constexpr size_t kModuleCount = sizeof kModules / sizeof kModules[0];

const QString kRoot = QStringLiteral("DataRoot");

QByteArray read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fuzz::fail("a file cannot be read", path);
    return file.readAll();
}

// What a model holds, as a save into a new file writes it.
QByteArray held(ViewBaseModel& vm, const QString& name)
{
    const QString path = fuzz::root() + QStringLiteral("/dat/") + name;
    if (!vm.save(path, kRoot))
        fuzz::fail("a parameter file was not saved", path);
    return read(path);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    const int r = fuzz::initialize(argc, argv);
    ControllerCenter::getInstance();
    return r;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    fuzz::startInput();
    const Module& module = kModules[data[0] % kModuleCount];
    const QString folder = QLatin1String(module.folder);
    const Limits limits(module.folder);
    // The page of the module is open: File > Load works in its folders.
    ControllerCenter::getInstance()->testActive(module.type);
    const std::unique_ptr<ViewBaseModel> vm = module.make();
    const QString root = zoplat::dataRootPath();
    QDir().mkpath(root + QStringLiteral("/parameters/") + folder);
    if (!vm->saveParameter())
        fuzz::fail("a page's parameter file was not saved", folder);
    const QString live = root + QStringLiteral("/parameters/") + folder + QStringLiteral("/parameter.xml");
    const QByteArray liveBefore = read(live);
    const QByteArray heldBefore = held(*vm, QStringLiteral("before.xml"));

    const QString named = root + QStringLiteral("/parameters_bk/") + folder;
    QDir().mkpath(named);
    QFile in(named + QStringLiteral("/in.xml"));
    if (!in.open(QIODevice::WriteOnly) || in.write(fuzz::bytes(data + 1, size - 1)) != qint64(size - 1))
        fuzz::fail("a fuzz input was not written", in.fileName());
    in.close();
    if (!vm->loadParmFromFile(QStringLiteral("in.xml"))) {
        if (read(live) != liveBefore)
            fuzz::fail("a parameter file that was refused replaced the page's file", folder);
        if (held(*vm, QStringLiteral("after.xml")) != heldBefore)
            fuzz::fail("a parameter file that was refused changed the page's settings", folder);
        return 0;
    }
    module.expectLimits(*vm, limits);
    {
        // The page's file holds what was taken.
        const std::unique_ptr<ViewBaseModel> reader = module.make();
        if (!reader->loadParameter() || held(*reader, QStringLiteral("live.xml")) != held(*vm, QStringLiteral("taken.xml")))
            fuzz::fail("the page's file holds another setting than the one taken", folder);
    }

    // The merging save over the page's file; what was saved is what the next
    // load reads.
    if (!vm->saveParameter())
        fuzz::fail("a parameter file was not saved", folder);
    fuzz::expectWellFormed(live);
    const std::unique_ptr<ViewBaseModel> next = module.make();
    if (!next->loadParameter())
        fuzz::fail("a parameter file the instrument saved does not load", folder);
    if (held(*vm, QStringLiteral("first.xml")) != held(*next, QStringLiteral("next.xml")))
        fuzz::fail("a parameter file read back differs from what was saved", folder);
    return 0;
}
