// Module parameter files, every module's (a stick may bring any of them):
// the first byte chooses the module, the rest is its file. A load, the
// merging save over the same file, and the next load of what was saved:
// it holds what the first load took (a fresh save of either model writes
// the same file). The AC model's settings are held to its page's limits.

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

#include <QFile>

#include <memory>

namespace {

// The AC model with its stored fields in reach.
class Alternate : public ViewAlternateModel
{
public:
    using ViewAlternateModel::actionRampStep;
    using ViewAlternateModel::endRampAngles;
    using ViewAlternateModel::endRampFrequencies;
    using ViewAlternateModel::endRampRanges;
};

// The settings the AC page shows are within its limits (device maxima of
// the default configuration: 265 V, 10 A).
void expectAlternateLimits(const Alternate& vm)
{
    const auto check = [](double v, double low, double high) {
        if (!(v >= low && v <= high))
            fuzz::fail("a setting read from a parameter file is outside the page's limits",
                       QString::number(v) + QStringLiteral(" not in ") + QString::number(low) + QStringLiteral("..")
                           + QString::number(high));
    };
    for (int p = 0; p < 8; ++p) {
        const auto port = ViewBaseModel::AOPortType(p);
        check(vm.getOutputRange(port), 0.0, p < 4 ? 265.0 : 10.0);
        check(vm.getOutputAngle(port), -360.0, 360.0);
        check(vm.getOutputFrequency(port), p % 4 == 3 ? 0.0 : 10.0, 1000.0);
    }
    for (int g = 0; g < 16; ++g) {
        check(vm.endRampRanges[g], 0.0, g < 8 ? 265.0 : 10.0);
        check(vm.endRampAngles[g], -360.0, 360.0);
        check(vm.endRampFrequencies[g], 10.0, 1000.0);
    }
    for (double step : vm.actionRampStep)
        check(step, 0.0, 300.0);
    check(vm.getRampTimeValue(), 0.0, 300.0);
}

struct Module
{
    const char* folder;
    std::unique_ptr<ViewBaseModel> (*make)();
};

template <typename Model>
std::unique_ptr<ViewBaseModel> make()
{
    return std::make_unique<Model>();
}

const Module kModules[] = {
    {"AC", &make<Alternate>},
    {"DC", &make<ViewDirectModel>},
    {"Distance", &make<ViewDistanceModel>},
    {"Energy", &make<ViewEnergyModel>},
    {"Harmonic", &make<ViewHarmonicModel>},
    {"SlipFrequency", &make<ViewSlipFrequencyModel>},
    {"SlipVoltage", &make<ViewSlipVoltageModel>},
    {"Oscillate", &make<ViewOscillateModel>},
    {"Overcurrent", &make<ViewOvercurrentModel>},
    {"Ramping", &make<ViewRampingModel>},
    {"Sequence", &make<ViewStateSequenceModel>},
    {"StdSource", &make<ViewStdSourceModel>},
};
constexpr size_t kModuleCount = sizeof kModules / sizeof kModules[0];

const QString kRoot = QStringLiteral("DataRoot");

// What a model holds, as a save into a new file writes it.
QByteArray held(ViewBaseModel& vm, const QString& name)
{
    const QString path = fuzz::root() + QStringLiteral("/dat/") + name;
    if (!vm.save(path, kRoot))
        fuzz::fail("a parameter file was not saved", path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fuzz::fail("a saved parameter file cannot be read", path);
    return file.readAll();
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
    const QString path = fuzz::write(QStringLiteral("parameters/") + QLatin1String(module.folder)
                                         + QStringLiteral("/parameter.xml"),
                                     fuzz::bytes(data + 1, size - 1));

    const std::unique_ptr<ViewBaseModel> vm = module.make();
    const bool read = vm->load(path, kRoot, false);
    if (read && module.make == &make<Alternate>)
        expectAlternateLimits(static_cast<const Alternate&>(*vm));
    if (!vm->save(path, kRoot))
        fuzz::fail("a parameter file was not saved");
    fuzz::expectWellFormed(path);

    // What was saved is what the next load reads.
    const std::unique_ptr<ViewBaseModel> next = module.make();
    if (!next->load(path, kRoot, false))
        fuzz::fail("a parameter file the instrument saved does not load");
    if (held(*vm, QStringLiteral("first.xml")) != held(*next, QStringLiteral("next.xml")))
        fuzz::fail("a parameter file read back differs from what was saved", QLatin1String(module.folder));
    return 0;
}
