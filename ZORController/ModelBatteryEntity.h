#pragma once

// The battery pack's state as read by the battery worker: the fifteen detail
// words of the driver's battery record (units as there). Travels by const
// reference through queued signals (registered as meta type
// "ModelBatteryEntity").

#include <QMetaType>
#include <QObject>

class ModelBatteryEntity : public QObject
{
    Q_OBJECT

public:
    explicit ModelBatteryEntity(QObject* parent = nullptr);
    ModelBatteryEntity(const ModelBatteryEntity& other, QObject* parent = nullptr);
    ~ModelBatteryEntity() override;

    // Copies all fifteen fields (the QObject parent is not touched).
    void copyFrom(const ModelBatteryEntity& other);
    ModelBatteryEntity& operator=(const ModelBatteryEntity& other);
    // True when any field differs.
    bool CompareFrom(const ModelBatteryEntity& other) const;
    // A new heap copy without parent, owned by the caller.
    ModelBatteryEntity* clone() const;

    quint16 infoVoltageTotal = 0;
    qint16 infoCurrent = 0;
    quint16 infoVoltageAverage = 0;
    quint16 infoVoltageMax = 0;
    quint16 infoVoltageMin = 0;
    quint16 infoVoltageDiff = 0;
    quint16 infoLoopCount = 0;
    quint16 infoRateCapacity = 0;
    quint16 infoResidualCapCapacity = 0;
    quint32 infoBalanceState = 0;
    quint16 infoProtectedState = 0;
    quint8 infoSoftVersion = 0;
    quint8 infoCapacityPercent = 0;
    quint8 infoFETState = 0;
    quint16 infoProduceDate = 0;
};

Q_DECLARE_METATYPE(ModelBatteryEntity)
