#include "ModelBatteryEntity.h"

ModelBatteryEntity::ModelBatteryEntity(QObject* parent)
    : QObject(parent)
{
}

ModelBatteryEntity::ModelBatteryEntity(const ModelBatteryEntity& other, QObject* parent)
    : QObject(parent)
{
    copyFrom(other);
}

ModelBatteryEntity::~ModelBatteryEntity() = default;

void ModelBatteryEntity::copyFrom(const ModelBatteryEntity& other)
{
    infoVoltageTotal = other.infoVoltageTotal;
    infoCurrent = other.infoCurrent;
    infoVoltageAverage = other.infoVoltageAverage;
    infoVoltageMax = other.infoVoltageMax;
    infoVoltageMin = other.infoVoltageMin;
    infoVoltageDiff = other.infoVoltageDiff;
    infoLoopCount = other.infoLoopCount;
    infoRateCapacity = other.infoRateCapacity;
    infoResidualCapCapacity = other.infoResidualCapCapacity;
    infoBalanceState = other.infoBalanceState;
    infoProtectedState = other.infoProtectedState;
    infoSoftVersion = other.infoSoftVersion;
    infoCapacityPercent = other.infoCapacityPercent;
    infoFETState = other.infoFETState;
    infoProduceDate = other.infoProduceDate;
}

ModelBatteryEntity& ModelBatteryEntity::operator=(const ModelBatteryEntity& other)
{
    if (this != &other)
        copyFrom(other);
    return *this;
}

bool ModelBatteryEntity::CompareFrom(const ModelBatteryEntity& other) const
{
    return infoVoltageTotal != other.infoVoltageTotal
        || infoCurrent != other.infoCurrent
        || infoVoltageAverage != other.infoVoltageAverage
        || infoVoltageMax != other.infoVoltageMax
        || infoVoltageMin != other.infoVoltageMin
        || infoVoltageDiff != other.infoVoltageDiff
        || infoLoopCount != other.infoLoopCount
        || infoRateCapacity != other.infoRateCapacity
        || infoResidualCapCapacity != other.infoResidualCapCapacity
        || infoBalanceState != other.infoBalanceState
        || infoProtectedState != other.infoProtectedState
        || infoSoftVersion != other.infoSoftVersion
        || infoCapacityPercent != other.infoCapacityPercent
        || infoFETState != other.infoFETState
        || infoProduceDate != other.infoProduceDate;
}

ModelBatteryEntity* ModelBatteryEntity::clone() const
{
    return new ModelBatteryEntity(*this);
}
