#include "ViewComputerDistanceModel.h"

#include "BaseModelDataDistance.h"
#include "ControllerCenter.h"

namespace {

using Distance = BaseModelDataDistance;

Distance* shared()
{
    return Distance::getInstance();
}

// Outcome of the last computeFault(); GUI thread only.
bool lastComputeResult = true;

} // namespace

ViewComputerDistanceModel::ViewComputerDistanceModel(QObject* parent)
    : QObject(parent)
{
    const ControllerConfiguration::Ratings rated = ControllerCenter::getInstance()->testConfiguration->ratings();
    shared()->setDeviceRating(rated.rateVoltage, rated.rateFrequency, rated.maxVRange, rated.maxIRange);
}

ViewComputerDistanceModel::~ViewComputerDistanceModel() = default;

// ---- Fault parameters ----------------------------------------------------------

void ViewComputerDistanceModel::setDistanceType(int type)
{
    shared()->distanceKind = Distance::DistanceType(type);
}

void ViewComputerDistanceModel::setFaultType(int type)
{
    shared()->faultKind = Distance::FaultType(type);
}

void ViewComputerDistanceModel::setCTPosition(int position)
{
    shared()->ctPosition = Distance::CTPositionType(position);
}

void ViewComputerDistanceModel::setPTPosition(int position)
{
    shared()->ptPosition = Distance::PTPositionType(position);
}

void ViewComputerDistanceModel::setDirection(int direction)
{
    shared()->faultDirection = Distance::DirectionType(direction);
}

void ViewComputerDistanceModel::setFaultVoltage(double value) { shared()->faultVoltageRange = value; }
void ViewComputerDistanceModel::setFaultCurrent(double value) { shared()->faultCurrentRange = value; }
void ViewComputerDistanceModel::setLoadCurrent(double value) { shared()->loadCurrent = value; }
void ViewComputerDistanceModel::setLoadAngle(double value) { shared()->loadAngle = value; }

int ViewComputerDistanceModel::getDistanceType() const { return shared()->distanceKind; }
int ViewComputerDistanceModel::getFaultType() const { return shared()->faultKind; }
int ViewComputerDistanceModel::getCTPosition() const { return shared()->ctPosition; }
int ViewComputerDistanceModel::getPTPosition() const { return shared()->ptPosition; }
int ViewComputerDistanceModel::getDirection() const { return shared()->faultDirection; }
double ViewComputerDistanceModel::getFaultVoltage() const { return shared()->faultVoltageRange; }
double ViewComputerDistanceModel::getFaultCurrent() const { return shared()->faultCurrentRange; }
double ViewComputerDistanceModel::getLoadCurrent() const { return shared()->loadCurrent; }
double ViewComputerDistanceModel::getLoadAngle() const { return shared()->loadAngle; }

// ---- Fault impedance -----------------------------------------------------------

void ViewComputerDistanceModel::setShortRange(double value) { shared()->shortImpedance.setRange(value); }
void ViewComputerDistanceModel::setShortAngle(double value) { shared()->shortImpedance.setAngle(value); }
void ViewComputerDistanceModel::setShortReal(double value) { shared()->shortImpedance.setReal(value); }
void ViewComputerDistanceModel::setShortImage(double value) { shared()->shortImpedance.setImage(value); }

double ViewComputerDistanceModel::getShortRange() const { return shared()->shortImpedance.getRange(); }
double ViewComputerDistanceModel::getShortAngle() const { return shared()->shortImpedance.getAngle(); }
double ViewComputerDistanceModel::getShortReal() const { return shared()->shortImpedance.getReal(); }
double ViewComputerDistanceModel::getShortImage() const { return shared()->shortImpedance.getImage(); }

// ---- Earth-return factor -------------------------------------------------------

void ViewComputerDistanceModel::setShortFactorType(int type)
{
    // Convert at the angles and flags the calculation will use: the setting
    // impedance is the fault impedance then, so both angles are its angle.
    Distance* m = shared();
    BaseDataRepairFactor& factor = m->shortFactor;
    factor.dataSettingAngle = m->shortImpedance.getAngle();
    factor.dataShortAngle = m->shortImpedance.getAngle();
    factor.dataSeparateArcResistance = m->separateArcResistance;
    factor.dataCalcPerlXexlEnable = m->calcPerlXexlEnable;
    factor.updateTo(BaseDataRepairFactor::RepairType(type));
}

void ViewComputerDistanceModel::setShortFactorRange(double value) { shared()->shortFactor.dataFactor1 = value; }
void ViewComputerDistanceModel::setShortFactorAngle(double value) { shared()->shortFactor.dataFactor2 = value; }

int ViewComputerDistanceModel::getShortFactorType() const { return shared()->shortFactor.dataType; }
double ViewComputerDistanceModel::getShortFactorRange() const { return shared()->shortFactor.dataFactor1; }
double ViewComputerDistanceModel::getShortFactorAngle() const { return shared()->shortFactor.dataFactor2; }

// ---- Auxiliary voltage ---------------------------------------------------------

void ViewComputerDistanceModel::setUXDefineType(int type)
{
    shared()->uxDefine.Define = BaseModelUXDefine::DefineType(type);
}

void ViewComputerDistanceModel::setUXDefineRange(double value) { shared()->uxDefine.CustomPhase.setRange(value); }
void ViewComputerDistanceModel::setUXDefineAngle(double value) { shared()->uxDefine.CustomPhase.setAngle(value); }

int ViewComputerDistanceModel::getUXDefineType() const { return shared()->uxDefine.Define; }
double ViewComputerDistanceModel::getUXDefineRange() const { return shared()->uxDefine.CustomPhase.getRange(); }
double ViewComputerDistanceModel::getUXDefineAngle() const { return shared()->uxDefine.CustomPhase.getAngle(); }

int ViewComputerDistanceModel::getVoltagePhasesType() const
{
    return ControllerCenter::getInstance()->testConfiguration->ratings().volPhasesType;
}

// ---- Computation ---------------------------------------------------------------

bool ViewComputerDistanceModel::computeFault(BaseDataPhaseValue* fault)
{
    lastComputeResult = shared()->compute(fault);
    return lastComputeResult;
}

bool ViewComputerDistanceModel::getComputeResult() const
{
    return lastComputeResult;
}

QString ViewComputerDistanceModel::getComputeMessage() const
{
    if (lastComputeResult)
        return QString();
    return tr("故障无法计算，输出值未改变：请检查短路阻抗和计算模型。");
}
