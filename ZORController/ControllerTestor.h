#pragma once

// The test run worker: lives on the engine's testor thread and receives its
// work as queued slot calls from the facade and the polling loop. It starts
// and stops runs, applies binary outputs, auxiliary DC, the battery switch
// and the manual trigger, and drives the output calibration.
//
// The selected module (testType) may change from any thread at any time. A
// run keeps the module it was started with until it ends: every step of the
// run, the stop included, works with activeTestType(), and the polling loop
// follows the same captured module.

#include "CommSOEEntity.h"
#include "ModelCalibrationEntity.h"

#include <QDateTime>
#include <QObject>

#include <atomic>

class ControllerTestor : public QObject
{
    Q_OBJECT

public:
    enum TESTType : qint32 {
        TEST_NONE = 0,
        TEST_CALIBRATION = 1,
        TEST_MULTITEST = 2,
        TEST_SEQUENCE = 3,
        TEST_FAULTTEST = 4,
        TEST_REMOTESIGNAL = 5,
        TEST_ALTERNATE = 6,
        TEST_HARMONIC = 7,
        TEST_STATESEQUENCE = 8,
        TEST_DISTANCE = 9,
        TEST_RAMPING = 10,
        TEST_OVERCURRENT = 11,
        TEST_DIRECT = 12,
        TEST_ENERGY = 13,
        TEST_SLIP_FREQUENCY = 14,
        TEST_SLIP_VOLTAGE = 15,
        TEST_OSCILLATE = 16,
        TEST_STDSOURCE = 17,
    };
    Q_ENUM(TESTType)

    static bool isValidTestType(qint32 type) { return type >= TEST_NONE && type <= TEST_STDSOURCE; }

    explicit ControllerTestor(QObject* parent = nullptr);
    ~ControllerTestor() override;

    ModelCalibrationEntity* dataCalibration;          // owned
    std::atomic<TESTType> testType{TEST_NONE};        // selected module (doTestActive)
    QDateTime startQTime;                             // local time of the last start
    QDateTime stopQTime;                              // local time of the last stop request
    std::atomic<bool> runEnable{false};               // a run is in progress
    std::atomic<qint32> historyMaxCurrent{0};         // A, kept by the high-current rule of the view

    // The module of the run being started or in progress, else the selected one.
    TESTType activeTestType() const;

    // Driver operations; each returns the driver's result, 0 for success.
    int setTestParameter(bool zeroValue, bool bocurrent);
    int getTestParameter();
    int setTestPower(bool on);
    int setTestRuning(bool on);
    int setTestAuxPower(bool on, qint32 level);
    int setTestAuxPower(bool on, double value);
    int setTestBattery(quint8 mos);
    int setTestPluseRuning(bool on);
    int setTestSwitch(bool on);
    int setTestBOState();
    // Largest current set point (component 0 of IA..IX), at least 0.
    double getTestCurrentMax();

public slots:
    void doTestActive(qint32 type);
    void doTestStart();
    void doTestInterrupt();
    void doTestSwitch();
    void doTestBOState();
    void doTestAuxPower(bool on, qint32 level);
    void doTestAuxPower(bool on, double value);
    void doSaveBattery(quint8 mos);
    void doTestKeyPress();
    void doTestMeasurerStop();
    void doUpdateTestStateIndex(qint32 index);
    void doUpdateTestStateAction(qint32 actionFlag, qint32 actionIndex, float actionTime, qint32 stateIndex);
    void doUpdateTestStateAction(qint32 bi1flag, qint32 bi2flag, float actionTime, qint32 stateIndex, qint32 bi1state,
                                 qint32 bi2state);
    void doUpdateTestStatePulse(qint32 count, double period);
    void doCalSave(qint32 type);
    void doCalLoad(qint32 type);
    void doCalReset(qint32 type, bool cursel);
    void doCalExport(qint32 type);
    void doCalImport(qint32 type);

signals:
    void sigUpdatePowerState(bool on);
    void sigUpdateAuxPowerState(bool on, qint32 value);
    void sigUpdateRunState(const CommSOEEntity& event, bool running);
    void sigUpdateCalState(qint32 type, bool flag);
    void sigUpdateSwitchState(const CommSOEEntity& event, qint32 testType);
    void sigUpdateBOState(const CommSOEEntity& event, qint32 bo1, qint32 bo2, qint32 bo3, qint32 bo4);
    void sigUpdateTestStateIndex(const CommSOEEntity& event, qint32 index);
    void sigUpdateTestStateAction();
    void sigUpdateBatterMosState(quint8 mos);
    void sigUpdateTestStatePulse();

private:
    // Writes the first pages of a module's run into the ring; false for a
    // module that has no output of its own (nothing is started).
    bool writeStartPages(TESTType type, int& errorSum);
    void startCalibration(CommSOEEntity& event);
    void releaseRunCapture();
    static bool validCalType(qint32 type);

    // Module captured by the start of a run, -1 while none is.
    std::atomic<qint32> runCapture{-1};
};
