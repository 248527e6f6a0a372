#include "ZorQmlTypes.h"

#include "ViewAlternateModel.h"
#include "ViewBaseModel.h"
#include "ViewCalibrationModel.h"
#include "ViewComputerDistanceModel.h"
#include "ViewDirectModel.h"
#include "ViewDistanceModel.h"
#include "ViewEnergyModel.h"
#include "ViewOvercurrentModel.h"
#include "ViewStdSourceModel.h"
#include "ViewHarmonicModel.h"
#include "ViewRampingModel.h"
#include "ViewStateSequenceModel.h"
#include "ViewOscillateModel.h"
#include "ViewOvercurrentCurvePainter.h"
#include "ViewSlipFrequencyModel.h"
#include "ViewSlipVoltageModel.h"
#include "ViewUtilityHelper.h"

#include <QQmlEngine>

namespace {

// Each type under a module URI of its own, "ZOR." and the type name, 1.0:
// the creatable types in the start-up order, then the singleton.
void registerTypes()
{
    qmlRegisterType<ViewBaseModel>("ZOR.ViewBaseModel", 1, 0, "ViewBaseModel");
    qmlRegisterType<ViewAlternateModel>("ZOR.ViewAlternateModel", 1, 0, "ViewAlternateModel");
    qmlRegisterType<ViewComputerDistanceModel>("ZOR.ViewComputerDistanceModel", 1, 0, "ViewComputerDistanceModel");
    qmlRegisterType<ViewDirectModel>("ZOR.ViewDirectModel", 1, 0, "ViewDirectModel");
    qmlRegisterType<ViewStdSourceModel>("ZOR.ViewStdSourceModel", 1, 0, "ViewStdSourceModel");
    qmlRegisterType<ViewHarmonicModel>("ZOR.ViewHarmonicModel", 1, 0, "ViewHarmonicModel");
    qmlRegisterType<ViewCalibrationModel>("ZOR.ViewCalibrationModel", 1, 0, "ViewCalibrationModel");
    qmlRegisterType<ViewRampingModel>("ZOR.ViewRampingModel", 1, 0, "ViewRampingModel");
    qmlRegisterType<ViewDistanceModel>("ZOR.ViewDistanceModel", 1, 0, "ViewDistanceModel");
    qmlRegisterType<ViewOvercurrentModel>("ZOR.ViewOvercurrentModel", 1, 0, "ViewOvercurrentModel");
    qmlRegisterType<ViewStateSequenceModel>("ZOR.ViewStateSequenceModel", 1, 0, "ViewStateSequenceModel");
    qmlRegisterType<ViewOscillateModel>("ZOR.ViewOscillateModel", 1, 0, "ViewOscillateModel");
    qmlRegisterType<ViewEnergyModel>("ZOR.ViewEnergyModel", 1, 0, "ViewEnergyModel");
    qmlRegisterType<ViewOvercurrentCurvePainter>("ZOR.ViewOvercurrentCurvePainter", 1, 0,
                                                 "ViewOvercurrentCurvePainter");
    qmlRegisterType<ViewSlipFrequencyModel>("ZOR.ViewSlipFrequencyModel", 1, 0, "ViewSlipFrequencyModel");
    qmlRegisterType<ViewSlipVoltageModel>("ZOR.ViewSlipVoltageModel", 1, 0, "ViewSlipVoltageModel");

    qmlRegisterSingletonType<ViewUtilityHelper>("ZOR.ViewUtilityHelper", 1, 0, "ViewUtilityHelper",
                                                viewUtilityHelperSingletonProvider);
}

} // namespace

void zorRegisterQmlTypes()
{
    // QML type registration is process-wide; the GUI thread is the only caller.
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    registerTypes();
}
