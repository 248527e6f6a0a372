// ViewBaseModel: device and software settings, auxiliary DC, remote control,
// the page access codes and the restart request.

#include "ViewBaseModel.h"

#include "BaseModelDataDistance.h"
#include "ControllerCenter.h"
#include "ModelEntityCommon.h"
#include "zoplatform.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

ControllerConfiguration* config()
{
    return ControllerCenter::getInstance()->testConfiguration;
}

// Access codes of the hardware-configuration and the output-calibration pages.
const QString kHardwarePageCode = QStringLiteral("47190263");
const QString kCalibrationPageCode = QStringLiteral("58302914");

// The wait between stopping the loops and ending the event loop on a restart.
constexpr int kRestartDelayMs = 2000;

// A rating as the outputs give it: held to the device's maximum.
double heldRating(double rating, double deviceMax)
{
    return deviceMax > 0.0 ? std::min(rating, deviceMax) : rating;
}

// Every setting is written through ControllerConfiguration::set, under the
// lock the saves and the driver records read it with.
using C = ControllerConfiguration;

} // namespace

double ViewBaseModel::getDitherTime() const { return config()->get(&C::ditherTime); }
void ViewBaseModel::setDitherTime(double value) { config()->set(&C::ditherTime, value); }
double ViewBaseModel::getRateVRange() const { return config()->ratings().rateVoltage; }
void ViewBaseModel::setRateVRange(double value) { config()->set(&C::rateVoltage, value); }
double ViewBaseModel::getRateIRange() const { return config()->ratings().rateCurrent; }
void ViewBaseModel::setRateIRange(double value) { config()->set(&C::rateCurrent, value); }
double ViewBaseModel::getRateFrequency() const { return config()->ratings().rateFrequency; }
double ViewBaseModel::minOutputFrequency() { return ModelEntity::kMinOutputFrequency; }
double ViewBaseModel::maxOutputFrequency() { return ModelEntity::kMaxOutputFrequency; }
void ViewBaseModel::setRateFrequency(double value) { config()->set(&C::rateFrequency, value); }

int ViewBaseModel::getSystemStyle() const { return config()->styleType; }
void ViewBaseModel::setSystemStyle(int style) { config()->set(&C::styleType, style); }
int ViewBaseModel::getLanuageType() const { return config()->ratings().language; }
void ViewBaseModel::setLanuageType(int type) { config()->set(&C::lanuageType, type); }

QString ViewBaseModel::getDeviceModel() const { return config()->deviceModel; }
void ViewBaseModel::setDeviceModel(QString model) { config()->set(&C::deviceModel, model); }
QString ViewBaseModel::getDeviceCode() const { return config()->deviceCode; }
void ViewBaseModel::setDeviceCode(QString code) { config()->set(&C::deviceCode, code); }

int ViewBaseModel::getDeviceTAlarm() const { return int(config()->tempThresholdAlarm); }
void ViewBaseModel::setDeviceTAlarm(int value) { config()->set(&C::tempThresholdAlarm, value); }
int ViewBaseModel::getDeviceTResume() const { return int(config()->tempThresholdResume); }
void ViewBaseModel::setDeviceTResume(int value) { config()->set(&C::tempThresholdResume, value); }

double ViewBaseModel::getDeviceAOVMaxRange() const { return config()->ratings().maxVRange; }
void ViewBaseModel::setDeviceAOVMaxRange(double value) { config()->set(&C::maxVRange, value); }
double ViewBaseModel::getDeviceAOIMaxRange() const { return config()->ratings().maxIRange; }
void ViewBaseModel::setDeviceAOIMaxRange(double value) { config()->set(&C::maxIRange, value); }
double ViewBaseModel::getDeviceAOVLevelSmallRange() const { return config()->levelVSmall; }
void ViewBaseModel::setDeviceAOVLevelSmallRange(double value) { config()->set(&C::levelVSmall, value); }
double ViewBaseModel::getDeviceAOILevelSmallRange() const { return config()->levelISmall; }
void ViewBaseModel::setDeviceAOILevelSmallRange(double value) { config()->set(&C::levelISmall, value); }

int ViewBaseModel::getVoltagePhasesType()
{
    volPhasesType = PhasesType(config()->ratings().volPhasesType);
    return volPhasesType;
}

void ViewBaseModel::setVoltagePhasesType(int type)
{
    volPhasesType = PhasesType(type);
    config()->set(&C::volPhasesType, type);
}

int ViewBaseModel::getCurrentPhasesType()
{
    curPhasesType = PhasesType(config()->ratings().curPhasesType);
    return curPhasesType;
}

void ViewBaseModel::setCurrentPhasesType(int type)
{
    curPhasesType = PhasesType(type);
    config()->set(&C::curPhasesType, type);
}

bool ViewBaseModel::getDeviceAuxDCEnable() const { return config()->auxdcEnable; }
void ViewBaseModel::setDeviceAuxDCEnable(bool enable) { config()->set(&C::auxdcEnable, enable); }
int ViewBaseModel::getDeviceAuxDCType() const { return config()->auxdcType; }
void ViewBaseModel::setDeviceAuxDCType(int type) { config()->set(&C::auxdcType, type); }
double ViewBaseModel::getDeviceAuxDCMaxValue() const { return config()->auxdcMaxValue; }
void ViewBaseModel::setDeviceAuxDCMaxValue(double value) { config()->set(&C::auxdcMaxValue, value); }
int ViewBaseModel::getDeviceAuxDCLevelType() const { return config()->auxdcLevelType; }
void ViewBaseModel::setDeviceAuxDCLevelType(int type) { config()->set(&C::auxdcLevelType, type); }
int ViewBaseModel::getDevicePowerAmpType() const { return config()->powerAmpType; }
void ViewBaseModel::setDevicePowerAmpType(int type) { config()->set(&C::powerAmpType, type); }

bool ViewBaseModel::getDevicePowerAmpEnabled() const
{
    return config()->systemPowerType == ControllerConfiguration::SYSTEM_POWER_TYPE_PAO;
}

void ViewBaseModel::setDevicePowerAmpEnabled(bool enable)
{
    config()->set(&C::systemPowerType, enable ? C::SYSTEM_POWER_TYPE_PAO : C::SYSTEM_POWER_TYPE_LLO);
}

bool ViewBaseModel::getDeviceEnergyEnabled() const { return config()->deviceEnergyEnable; }
void ViewBaseModel::setDeviceEnergyEnabled(bool enable) { config()->set(&C::deviceEnergyEnable, enable); }
bool ViewBaseModel::getDevicePaoOnEnabled() const { return config()->devicePaoOnEnable; }
void ViewBaseModel::setDevicePaoOnEnabled(bool enable) { config()->set(&C::devicePaoOnEnable, enable); }
bool ViewBaseModel::getConnectedEnabled() const { return config()->bNetConnect; }

void ViewBaseModel::setConnectedEnabled(bool enable)
{
    config()->bNetConnect = enable;
    emit sigUpdateViewConnectEnable(enable);
}

void ViewBaseModel::updateDeviceConfig()
{
    const auto [maxV, maxI] = takeRatings();
    for (int p = 0; p < 8; ++p) {
        if (p < 4)
            normalOutput.outputRanges[p] = rateVoltage;
        normalOutput.outputFrequencies[p] = rateFrequency;
    }
    BaseModelDataDistance::getInstance()->setDeviceRating(rateVoltage, rateFrequency, maxV, maxI);
}

std::pair<double, double> ViewBaseModel::takeRatings()
{
    const ControllerConfiguration::Ratings rated = config()->ratings();
    rateVoltage = heldRating(rated.rateVoltage, rated.maxVRange);
    rateCurrent = heldRating(rated.rateCurrent, rated.maxIRange);
    rateFrequency = rated.rateFrequency;
    volPhasesType = PhasesType(rated.volPhasesType);
    curPhasesType = PhasesType(rated.curPhasesType);
    return {rated.maxVRange, rated.maxIRange};
}

QString ViewBaseModel::getSoftwareName() const { return config()->softwareName; }
bool ViewBaseModel::getSoftwareType(int type) const { return config()->softwareType == type; }

QString ViewBaseModel::getSoftwareVersion() const
{
    QString version = config()->softwareVersion;
    if (version.startsWith(QLatin1Char('V')) || version.startsWith(QLatin1Char('v')))
        version.remove(0, 1);
    return version;
}

QString ViewBaseModel::getFpgaVersion() const { return config()->getFpgaVersionText(); }

QString ViewBaseModel::getAuxDCLevelName(int index) const
{
    return index == 0 || index == 1 ? config()->getAuxDCLevelName(index) : QString();
}

bool ViewBaseModel::getAuxDCLevelVisible(int index) const
{
    return (index == 0 || index == 1) && config()->getAuxDCLevelVisible(index);
}

void ViewBaseModel::setAuxDCVSwitch(AuxDCSwitchType type) { testingAuxDCVSwitch = type; }
int ViewBaseModel::getAuxDCVSwitch() const { return testingAuxDCVSwitch; }
void ViewBaseModel::setAuxDCVSwitchValue(double value) { testintAuxDCValue = value; }
double ViewBaseModel::getAuxDCVSwitchValue() const { return testintAuxDCValue; }

void ViewBaseModel::testAuxDC(bool enable)
{
    ControllerConfiguration* c = config();
    const bool adjustable = c->auxdcType != ControllerConfiguration::AUXDC_TYPE_CONSTANT;
    if (!enable) {
        if (adjustable)
            center()->testAuxDC(false, 0.0);
        else
            center()->testAuxDC(false, qint32(0));
        return;
    }
    if (adjustable) {
        center()->testAuxDC(true, testintAuxDCValue);
        return;
    }
    // Level 1 is the higher voltage of the configured pair.
    const bool high = c->auxdcLevelType != 0 ? testingAuxDCVSwitch == AUXDC_SWITCH_220V
                                             : testingAuxDCVSwitch == AUXDC_SWITCH_48V;
    center()->testAuxDC(true, qint32(high ? 1 : 0));
}

bool ViewBaseModel::checkSettingPwd(QString text, int pageType) const
{
    return text == (pageType == 1 ? kHardwarePageCode : kCalibrationPageCode);
}

void ViewBaseModel::reboot()
{
    if (rebootPending)
        return;
    rebootPending = true;
    center()->saveConfig(CONFIG_TYPE_SOFTWARE_DATA, true);
    center()->queryInterrupt();
    center()->batteryInterrupt();
    // The loops finish their pass and the settings reach the file meanwhile;
    // the GUI thread keeps running.
    const int delay = int(std::lround(kRestartDelayMs * zoplat::timeScale()));
    QTimer::singleShot(delay, this, [] { QCoreApplication::exit(EXEC_CODE_REBOOT); });
}
