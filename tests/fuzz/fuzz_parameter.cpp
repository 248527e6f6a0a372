// Module parameter files (the AC model's, the base keys included): a load,
// the merging save over the same file, and the next load of what was saved.

#include "FuzzSupport.h"
#include "ControllerCenter.h"
#include "ViewAlternateModel.h"

#include <cmath>
#include <vector>

namespace {

// The model with its stored fields in reach.
class Model : public ViewAlternateModel
{
public:
    using ViewAlternateModel::actionRampStep;
    using ViewAlternateModel::endRampAngles;
    using ViewAlternateModel::endRampFrequencies;
    using ViewAlternateModel::endRampRanges;
};

// The settings the page shows, each with the page's limits (device maxima
// of the default configuration: 265 V, 10 A).
std::vector<double> settings(const Model& vm, bool check)
{
    std::vector<double> values;
    const auto take = [&](double v, double low, double high) {
        if (check && !(v >= low && v <= high))
            fuzz::fail("a setting read from a parameter file is outside the page's limits",
                       QString::number(v) + QStringLiteral(" not in ") + QString::number(low) + QStringLiteral("..")
                           + QString::number(high));
        values.push_back(v);
    };
    for (int p = 0; p < 8; ++p) {
        const auto port = ViewBaseModel::AOPortType(p);
        take(vm.getOutputRange(port), 0.0, p < 4 ? 265.0 : 10.0);
        take(vm.getOutputAngle(port), -360.0, 360.0);
        take(vm.getOutputFrequency(port), p % 4 == 3 ? 0.0 : 10.0, 1000.0);
    }
    for (int g = 0; g < 16; ++g) {
        take(vm.endRampRanges[g], 0.0, g < 8 ? 265.0 : 10.0);
        take(vm.endRampAngles[g], -360.0, 360.0);
        take(vm.endRampFrequencies[g], 10.0, 1000.0);
    }
    for (double step : vm.actionRampStep)
        take(step, 0.0, 300.0);
    take(vm.getRampTimeValue(), 0.0, 300.0);
    values.push_back(vm.getAutoRampEnabled());
    values.push_back(vm.getFaultActionType());
    values.push_back(vm.getFaultActionPort());
    values.push_back(vm.getFaultActionItem());
    values.push_back(vm.getTestState());
    values.push_back(vm.getFaultActionTime(0));
    values.push_back(vm.getFaultActionTime(1));
    values.push_back(vm.getNormalTime());
    values.push_back(vm.getIntervalTime());
    return values;
}

bool same(const std::vector<double>& a, const std::vector<double>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const double rounded = QString::number(a[i], 'g', 6).toDouble();
        if (!(std::isnan(a[i]) && std::isnan(b[i])) && rounded != b[i])
            return false;
    }
    return true;
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
    fuzz::startInput();
    const QString path = fuzz::write(QStringLiteral("parameters/AC/parameter.xml"), fuzz::bytes(data, size));
    const QString root = QStringLiteral("DataRoot");

    Model vm;
    const bool read = vm.load(path, root, false);
    const std::vector<double> loaded = settings(vm, read);
    vm.getFaultActionValue(0);
    vm.getFaultActionFactor();
    if (!vm.save(path, root))
        fuzz::fail("a parameter file was not saved");
    fuzz::expectWellFormed(path);

    // What was saved is what the next load reads, to six digits.
    Model next;
    if (!next.load(path, root, false))
        fuzz::fail("a parameter file the instrument saved does not load");
    if (read && !same(loaded, settings(next, true)))
        fuzz::fail("a parameter file read back differs from what was saved");
    return 0;
}
