#pragma once

// The test run worker: lives on the engine's testor thread and receives its
// work as queued slot calls from the facade and the polling loop. It owns the
// module entities and the calibration engine, starts and stops runs, steps
// them when the polling loop reports a state change, records trips through
// the entities, applies binary outputs, auxiliary DC, the battery switch and
// the manual trigger, and drives the output calibration.
//
// The selected module (testType) may change from any thread at any time. A
// run keeps the module it was started with until it ends: every step of the
// run, the stop included, works with activeTestType(), and the polling loop
// follows the same captured module.
//
// Entities: the view models (GUI thread) and the network service write an
// entity's settings under its entityLock; the testor holds the same lock
// while it checks and encodes a state and sends its pages, so a start or a
// switch never sees half an edit. The current maxima below may be called
// from any thread.
//
// Modules: every slot reaches the active module through the module table
// (ControllerModuleTable.h): its family, its stop, and the adaptors of its
// entity. The single-page modules' adaptors (AC, DC, harmonic, power swing,
// standard source) are in ControllerTestorSource.cpp, the multi-state
// modules' (state sequence, distance, ramping, overcurrent, energy, load
// shedding) in ControllerTestorProtection.cpp. A start counts the result of
// every driver write, the state count included.
//
// A start the entity's settings cannot run (a count beyond its arrays or the
// 16-bit count register, a non-finite value, a pulse period beyond the 32-bit
// register, a search that never ends) sends nothing and reports the run
// state false; so does a start the instrument does not take. Before that
// report lastStartRefusalReason() and lastStartRefusal() say why (any
// thread); the facade clears them when it asks for a start.

#include "CommSOEEntity.h"
#include "ModelCalibrationEntity.h"

#include <QDateTime>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QRecursiveMutex>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class ModelAlternateEntity;
class ModelDirectEntity;
class ModelHarmonicEntity;
class ModelStateSequenceEntity;
class ModelDistanceEntity;
class ModelRampingEntity;
class ModelOvercurrentEntity;
class ModelEnergyEntity;
class ModelSlipVoltageEntity;
class ModelSlipFrequencyEntity;
class ModelOscillateEntity;
class ModelStdSourceEntity;
struct ModuleEntry;
struct ModuleSwitch;

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

    // Why the last requested start did not run.
    enum StartRefusal : qint32 {
        REFUSAL_NONE = 0,
        REFUSAL_VALUES = 1,           // a value to output is not finite or out of range
        REFUSAL_COUNT = 2,            // a state or point count beyond what the module holds
        REFUSAL_REGISTER = 3,         // more pages or states than the 16-bit count register takes
        REFUSAL_PULSE_RATE = 4,       // a power and meter constant that give no pulse rate
        REFUSAL_PULSE_PERIOD = 5,     // a pulse period the 32-bit period register cannot hold
        REFUSAL_SLIDE_RATE = 6,       // a value not finite, or a slide rate not positive
        REFUSAL_ENDLESS_SEARCH = 7,   // a search step of 0 that never reaches the end value
        REFUSAL_INSTRUMENT = 8,       // the instrument did not take the pages or the switch-on
        REFUSAL_RING_LAP = 9,         // states too short together for the ring to be refilled in time
        REFUSAL_RANGE = 10,           // an output, or a ramp, to a value beyond what it gives
        REFUSAL_STEP_DEBOUNCE = 11,   // a ramp's steps shorter than the binary inputs' debounce
        REFUSAL_TRIGGER_TIME = 12,    // a state ends on a GPS/IRIG-B trigger time, and none is set
    };
    Q_ENUM(StartRefusal)

    static bool isValidTestType(qint32 type) { return type >= TEST_NONE && type <= TEST_STDSOURCE; }

    // What a start came to, told once on the testor's thread. Begun: the
    // instrument took the first pages and switched the amplifiers on; the
    // output comes on after their settle unless a stop comes first.
    // Running: a run was in progress, nothing was done. NotRun: refused,
    // failed or stopped before anything played (lastStartRefusal says why,
    // empty for a stop).
    enum class StartOutcome { Begun, Running, NotRun };
    using StartDecided = std::function<void(StartOutcome)>;

    explicit ControllerTestor(QObject* parent = nullptr);
    ~ControllerTestor() override;

    ModelCalibrationEntity* dataCalibration;   // owned
    ModelAlternateEntity* dataAlternate;       // owned, as every entity below
    ModelDirectEntity* dataDirect;
    ModelHarmonicEntity* dataHarmonic;
    ModelStateSequenceEntity* dataStateSequence;
    ModelDistanceEntity* dataDistance;
    ModelRampingEntity* dataRamping;
    ModelOvercurrentEntity* dataOvercurrent;
    ModelEnergyEntity* dataEnergy;
    ModelSlipVoltageEntity* dataSlipVoltage;
    ModelSlipFrequencyEntity* dataSlipFrequency;
    ModelOscillateEntity* dataOscillate;
    ModelStdSourceEntity* dataStdSource;
    std::atomic<TESTType> testType{TEST_NONE};   // selected module (doTestActive)
    QDateTime startQTime;                        // local time of the last start
    QDateTime stopQTime;                         // local time of the last stop request
    std::atomic<bool> runEnable{false};          // a run is in progress
    // A switch of a single-page module's edited output is queued and not yet
    // begun (ControllerCenter::testSwitch); it will take every edit made so far.
    std::atomic<bool> outputSwitchQueued{false};
    std::atomic<qint32> historyMaxCurrent{0};    // A, kept by the high-current rule of the view

    // The module of the run being started or in progress, else the selected one.
    TESTType activeTestType() const;

    // Driver operations; each returns the driver's result, 0 for success.
    int setTestParameter(bool zeroValue, bool bocurrent);
    int getTestParameter();
    int setTestPower(bool on);
    int setTestRuning(bool on);
    int setTestAuxPower(bool on, qint32 level);
    // value in volts, held to [0, the configured auxiliary DC full scale].
    int setTestAuxPower(bool on, double value);
    int setTestBattery(quint8 mos);
    int setTestPluseRuning(bool on);
    int setTestSwitch(bool on);
    int setTestBOState();
    // Binary outputs from outside the module (testor thread): each output i
    // whose bit is set in `mask` takes bit i of `states`, the others stay as
    // they are. While a run plays its states' outputs, the outputs played now
    // change so until the next state begins, which sets its own. The
    // driver's result.
    int setBinaryOutputs(quint32 mask, quint32 states);

    // Current maxima (any thread). getTestCurrentMax: the largest current
    // the active module's output carries, peaks of superposed components
    // included, at least 0. getHarmonicCurrentMax: the largest RMS value of
    // the harmonic entity's current channels. getCurrentOutputRange: the
    // current of one channel (the harmonic test's RMS value).
    double getTestCurrentMax();
    double getHarmonicCurrentMax();
    double getCurrentOutputRange(qint32 ch);

    // Why the last start did not run, in detail (empty after a start that
    // ran), and as a reason (REFUSAL_NONE after a start that ran).
    QString lastStartRefusal() const;
    StartRefusal lastStartRefusalReason() const;
    // The numbers the reason's message names (REFUSAL_RING_LAP: the first and
    // the last of the states, from 1, and the least time they must last
    // together, ms; REFUSAL_RANGE: the channel (AOPortType), the ramped item
    // (RampItemType), the value and the lowest and highest the output gives,
    // in thousandths of their unit, and a sixth of 1 where the output itself
    // is set to the value, not ramped to it; REFUSAL_STEP_DEBOUNCE: the step
    // time and the debounce in thousandths of a millisecond;
    // REFUSAL_TRIGGER_TIME: the state, from 1); empty for the other reasons.
    QList<qint32> lastStartRefusalNumbers() const;
    // Both back to none; the facade calls it when it asks for a start.
    void clearStartRefusal();
    // Where a refused start is told, one line each (any thread): the debug
    // output, or `line` while one is set (null: the debug output again).
    static void setRefusalLog(void (*line)(const QString&));

    // Starts and stops asked of the testor (any thread), in the order they
    // are queued to it: `post` queues the start. A stop cancels every start
    // asked before it that has not begun to play: one still queued sends
    // nothing, one in the amplifiers' settle switches them off again.
    void askStart(const std::function<void()>& post);
    void cancelAskedStarts();
    // A start has switched the amplifiers on and waits for their settle
    // before the output comes on (any thread). The testor takes its other
    // work meanwhile: no state plays yet, a stop ends the start at once.
    bool amplifiersSettling() const { return settlingStart.load() != 0; }

    // The calibration files ("calacamp.xml", "calacfrq.dat") the last full
    // load found damaged: what could not be read of them runs on the
    // defaults. Any thread.
    QStringList calibrationFilesOnDefaults() const;
    // The import of the staging files (all or nothing, ModelCalibrationEntity::Import)
    // run on the testor thread, from any other thread; returns once the
    // calibration in use is the one imported (true), or the import refused
    // (also while a test runs) or failed (false). When the testor has not begun it within startWaitMs
    // it never runs (false). The entity's warnings go to warningLine.
    bool importCalWaited(qint32 mask, int startWaitMs, void (*warningLine)(const QString&));

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
    // The state sequence's change report: the seconds each page that ended
    // since the last report played, in order (NaN where the instrument gave
    // none), and how long the ring has held the page it holds ended (us, -1:
    // none).
    void doUpdateSequenceState(const std::vector<double>& stateTimes, qint64 heldUs);
    void doUpdateTestStateAction(qint32 actionFlag, qint32 actionIndex, qint64 stampUs, qint32 stateIndex);
    void doUpdateTestStateAction(qint32 bi1flag, qint32 bi2flag, float actionTime, qint32 stateIndex, qint32 bi1state,
                                 qint32 bi2state);
    void doUpdateTestStatePulse(qint32 count, double period);
    void doCalSave(qint32 type);
    void doCalLoad(qint32 type);
    void doCalReset(qint32 type, bool cursel);
    void doCalExport(qint32 type);
    void doCalImport(qint32 type);

public:
    // doTestStart(), telling `decided` what the start came to.
    void doTestStart(const StartDecided& decided);
    // The switch asked from outside the run (the PC's): the state playing
    // ends now and the run goes on to the next one (an automatic ramp to its
    // next step), or a steady output is sent again from the entity's
    // settings; modules of one page without such a switch take their own
    // (doTestSwitch). Why it changed nothing (no run plays, among others);
    // empty when it was made.
    QString doTestNextState();

signals:
    void sigUpdatePowerState(bool on);
    void sigUpdateAuxPowerState(bool on, qint32 value);
    void sigUpdateRunState(const CommSOEEntity& event, bool running);
    void sigUpdateCalState(qint32 type, bool flag);
    // Results of the calibration file operations, on the testor thread: a save
    // of kind `type`; an export (direction 0) or import (direction 1) through
    // the staging folder, which the USB copy waits for.
    void sigCalSaveFinished(qint32 type, bool ok);
    void sigCalExchangeFinished(qint32 direction, bool ok);
    void sigUpdateSwitchState(const CommSOEEntity& event, qint32 testType);
    void sigUpdateBOState(const CommSOEEntity& event, qint32 bo1, qint32 bo2, qint32 bo3, qint32 bo4);
    void sigUpdateTestStateIndex(const CommSOEEntity& event, qint32 index);
    void sigUpdateTestStateAction();
    void sigUpdateBatterMosState(quint8 mos);
    void sigUpdateTestStatePulse();

private:
    // Logs the damaged kinds of a load; defaultsFirst: a full load, which
    // set every default before it read the files.
    void reportDamagedCalibration(bool defaultsFirst);
    // Import(mask), the driver's factors and the loaded state: true when
    // taken. Refused, changing nothing, while a test runs.
    bool importCalibration(qint32 mask);

    void reportFailedStart(CommSOEEntity& event, bool switchedOn, bool powerReported);
    void startCalibration(CommSOEEntity& event);
    void switchCalibration();
    void switchCalibrationOff(bool auxdc, bool powerReported);
    void finishCalibration();
    void releaseRunCapture();
    static bool validCalType(qint32 type);

    void setStartRefusal(StartRefusal reason, const QString& text, const QList<qint32>& numbers = {});
    // A state of the run began (testor thread): outputs held by
    // setBinaryOutputs in an earlier state go back to the pages; announced.
    void announceStateBegun(qint32 state);
    // doTestSwitch's work; the driver's result sum (0 when nothing was to switch).
    int switchRunningOutput();
    // A switch's outcome carried out: the states it began announced, the run
    // ended after its last, the switch announced. Its driver result sum.
    int takeSwitch(const ModuleEntry& module, TESTType type, const ModuleSwitch& outcome);

    // The settle of start `start` is over (testor thread): the output comes
    // on, unless that start was stopped meanwhile.
    void endSettle(quint64 start);
    // Ends the start in its settle (testor thread): amplifiers off, the
    // start reported as not run.
    void cancelSettle();

    // The start in its amplifiers' settle (0: none), the event it reports,
    // and the wait for the settle, on a thread of its own.
    std::atomic<quint64> settlingStart{0};
    CommSOEEntity settlingEvent;
    struct SettleWait;
    std::unique_ptr<SettleWait> settleWait;

    // Starts asked (askStart), the last of them a stop cancelled, and the
    // starts the testor took, counted alike.
    QRecursiveMutex askLock;
    std::atomic<quint64> startsAsked{0};
    std::atomic<quint64> startsCancelled{0};
    quint64 startsTaken = 0;   // testor thread
    bool startCancelled(quint64 start) const { return start <= startsCancelled.load(); }

    // Module captured by the start of a run, -1 while none is.
    std::atomic<qint32> runCapture{-1};
    // Of the run (testor thread): the state that began last, and whether
    // setBinaryOutputs holds the outputs over the pages, since state boHeldIn.
    qint32 runState = 0;
    // The state (from 0) the instrument reached before it was written, told
    // with the stop that ends the run; -1: none.
    qint32 unwrittenState = -1;
    bool boHeld = false;
    qint32 boHeldIn = -1;

    mutable QMutex refusalLock;
    QString refusalText;
    StartRefusal refusalReason = REFUSAL_NONE;
    QList<qint32> refusalNumbers;

    mutable QMutex calibrationLock;   // guards filesOnDefaults only
    QStringList filesOnDefaults;
    QStringList damageToldLast;   // the lines the last load logged (testor thread)
};
