#pragma once

// The Qt side of the remote-control network service: a process-wide object
// on the GUI thread. Start-up prepares it and waits (bounded) for the
// driver; the engine's change notices and the interface's remote-control
// switch reach it through the engine facade. Switching remote control on
// starts the five network threads (zocmn_net_connect_handle); the PC's
// commands come back on the receive thread through CommNetCtrlBase.
//
// What the service does by module (which records are pushed, what a start
// prepares) is looked up through the engine's module table (NetModuleHooks),
// never by a switch over test types.

#include "CommNetCtrlBase.h"
#include "ControllerTestor.h"
#include "ModelStateSequenceEntity.h"
#include "NetParameterRecords.h"
#include "zobase_mytype.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QRecursiveMutex>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

class ControllerCenter;
class NetServiceBase;

// The service's part of a module, found through the module table's entry of
// the active test type: its pushed records and what a remote start prepares.
struct NetModuleHooks
{
    // The module's records for a change notice (GUI thread); null: none yet.
    void (*publish)(NetServiceBase& service, qint32 dataType, qint32 subType);
    // Whether the PC sent a record for the module since remote control was
    // switched on (receive thread).
    bool (*hasRecord)(NetServiceBase& service);
    // Before a remote start with such a record (receive thread): the record
    // the PC sent last for the module goes into its entity again, checked by
    // the start's own check; false (not a complete set, or refused by the
    // check: `why` says) refuses the start.
    bool (*beforeStart)(NetServiceBase& service, QString& why);
};
// The hooks of a test type, or null when the service has none for it.
const NetModuleHooks* netModuleHooks(qint32 testType);

class NetServiceBase : public QObject
{
    Q_OBJECT

public:
    // Start-up waits this long for the driver before it opens the window
    // anyway (ms of product time; each wait ends at the driver's set-up
    // notice, else after DRIVER_POLL_MS).
    static constexpr int DRIVER_WAIT_LIMIT_MS = 10000;
    static constexpr int DRIVER_POLL_MS = 1000;
    // A command handed to an engine thread is given up after this (real ms).
    static constexpr int ENGINE_WAIT_MS = 3000;

    // The machine's identity as the remote PC reads it: fixed-size
    // NUL-terminated texts (at most size - 1 bytes, no split UTF-8 sequence).
    struct DeviceAssemblyInfo
    {
        uint8_t device_guid[32] = {};
        uint8_t device_code[16] = {};
        uint8_t device_kind[16] = {};
        uint8_t device_date[16] = {};
        uint32_t device_version[16] = {};
    };

    // The service; the first call (start-up, GUI thread) creates it. It is
    // never destroyed.
    static NetServiceBase* getInstance();
    // The service when it was created, else null (never creates it).
    static NetServiceBase* existingInstance();

    // Start-up: prepares the shared segments and the machine defaults (a
    // failure is reported on the debug output and leaves the service unable
    // to start), then blocks its caller until the driver is initialised
    // (checked at each set-up notice of the configuration, and once a
    // second), but at most DRIVER_WAIT_LIMIT_MS; the caller's events are
    // handled meanwhile. Once initialised, the device information
    // is copied. When the limit passes first, the check goes on once a
    // second in the background and sigDriverInitialised() tells when it
    // succeeded. The remote service stays switched off; no thread is started.
    void netWorkServiceInit();

    // Whether the driver is initialised now (the configuration worker's flag).
    bool driverInitialised() const;
    // Whether the check of netWorkServiceInit has seen the driver initialised.
    bool driverReady() const { return driverSeen; }
    // Whether the shared segments are attached (netWorkServiceInit succeeded).
    bool segmentsReady() const;

    // Copies the device code, model, FPGA version text and software version
    // from the configuration into the device information and the machine
    // segment.
    void updateDeviceInfo();
    DeviceAssemblyInfo deviceAssemblyInfo() const { return assemblyInfo; }

    // ---- Commands of the PC (receive thread) -----------------------------------
    // For each binary output i = 0..3 whose bit is set in mask: output i :=
    // bit i of states, the others as they are (during a run: as the state
    // playing sets them, until the next state sets its own;
    // ControllerTestor::setBinaryOutputs). Done on the engine's testor
    // thread, which writes the same record: the driver's result, -1 when the
    // records do not exist or the engine did not answer.
    int setBOState(uint mask, uint states);
    // Starts the active test unless one runs or is being started (then
    // nothing, 0). With a record of the module taken since remote control was
    // switched on, the last one runs, held to the start's own check again;
    // with none, the page that shows the module's set-up is started as its
    // Start button starts it (its settings into the entity, held to the
    // start's check). Either way it returns with what the start came to: 0
    // when the instrument took the first pages and switched the amplifiers
    // on (the output follows their settle; a stop meanwhile cancels it).
    // Refused (-1, nothing plays, one line on the log saying why) as the
    // interface refuses it (driver not initialised, hottest amplifier at or
    // above the resume threshold), when the record's states are not 0..n-1,
    // when the start's check refuses, when no page shows the module, when
    // the page or the engine refuses its start, or when the instrument fails
    // it or the engine does not take it in time (then cancelled).
    int setTestStart();
    void setTestStop();
    // The PC's switch (ControllerCenter::testNextState), a record held for
    // it put in place first; 0 once made (or with no run), else -1 and one
    // line on the log saying why it changed nothing. One the engine does
    // not take in time is not made.
    int setTestSwitch();
    void setManualTrigger();
    // Parameter records (exact sizes): converted into the module's entity,
    // which becomes the active module. 0 taken; -1 refused before anything
    // changed: a record the start would not run as sent (NetParameterRecords:
    // the start's own check, e.g. a state number of 32 or more, a value not
    // finite or beyond the device, a port, item or trigger that does not
    // exist), a record for the module while it runs or between its start
    // and the run's begin, or the configuration not answering. A refusal is
    // logged in one line.
    int setAlternateParameter(const u8* record, u32 length);
    int setStateSequenceParameter(const u8* record, u32 length);
    int setHarmonicParameter(const u8* record, u32 length);
    int setSimpleRampingParameter(const u8* record, u32 length);
    // The received states as the start plays them: their count when they
    // are exactly 0..n-1 (n >= 1), else -1.
    int receivedStateCount();
    // Before a remote state-sequence start: the entity's state count becomes
    // the received states' count and the first state is linked; false (the
    // entity unchanged) when the received states are not 0..n-1.
    bool setLastStateForSequence();
    // Before a remote start of the module: the last record the PC sent for it
    // since remote control was switched on goes into its entity again, so
    // that the start runs what the PC sent, not what a run before it or the
    // module's page left there; false (nothing done, `why` says why) when
    // none was sent, or the start's own check refuses it under the
    // conditions in force (states: unless they are exactly 0..n-1 and pass
    // as a sequence).
    bool retakeAlternate(QString* why = nullptr);
    bool retakeHarmonic(QString* why = nullptr);
    bool retakeStates(QString* why = nullptr);
    bool retakeRamping(QString* why = nullptr);
    // Whether a record of the module was taken since remote control was switched on.
    bool hasAlternate();
    bool hasHarmonic();
    bool hasStates();
    bool hasRamping();

    // ---- Pushed records of the remote modules (GUI thread) ----------------------
    // A change notice of the running module turned into its procedure or
    // result records (`dataType` a ControllerRuntime::DATAType).
    void publishAlternate(qint32 dataType, qint32 subType);
    void publishHarmonic(qint32 dataType, qint32 subType);
    void publishStateSequence(qint32 dataType, qint32 subType);
    void publishRamping(qint32 dataType, qint32 subType);

    // The binary inputs, then outputs, into the status segment (on the GUI thread).
    void getBIBOState();
    // The state-sequence bookkeeping, and the record and change mark of the
    // result and procedure segments.
    void clearStateSequenceParemeter();
    // A connection ended (listener thread): a test it started is stopped.
    void connectionEnded();

    // The process ends (GUI thread, after the event loop): the threads are
    // stopped and joined when they run. Nothing else of the switch-off is
    // done (no test interrupted, no setting restored).
    void stopForExit();

    // The threads ended for the device's restart after a network write (GUI
    // thread): while the switch is on they start again, with the machine
    // data's ports; when they cannot, the switch turns off and the
    // interface is told why, as at a refused start.
    void restartAfterReboot();

    bool isServiceEnabled() const { return netServiceEnable.load(); }
    // Whether the five threads run (false while a stop joins them).
    static bool threadsRunning();

    std::atomic<qint32> testingSTATE[16] = {};    // copy of the runtime's state words
    std::atomic<bool> netServiceEnable{false};    // notices are handled only while true
    std::atomic<bool> bControlEnable{true};       // no parameter record is being converted
    // A remote start is being handled, for the module pendingType, until the
    // engine's start is done: its number (startsMade), 0 while none is.
    std::atomic<quint64> startPending{0};
    std::atomic<quint64> startsMade{0};
    std::atomic<qint32> pendingType{-1};
    std::atomic<qint32> protocolVersion{0};   // of the last record taken: 1 ramping, else 0
    // Project and module numbers of the last ramping record, echoed back.
    std::atomic<quint32> currentProjectId{0};
    std::atomic<quint32> currentModuleId{0};
    // The configuration's dither time and rated frequency at service start
    // (saved and restored on the configuration's thread).
    double oldDitherTime = 0.0;
    double oldRateFrequency = 0.0;

public slots:
    // The engine's change notices (GUI thread).
    void updateDataToNet(qint32 dataType, qint32 subType);
    // The interface's remote-control switch. On: the service's ports are
    // bound and the threads start; when they cannot (segments missing, a port
    // in use, a thread not created) the service stays off, the
    // configuration's bNetConnect is set back to false and
    // sigNetServiceRefused() is emitted, all before this returns; switching
    // on again tries again. Off: a
    // running test is interrupted, the rated settings restored, the threads
    // joined, then interrupt and restore once more (a start handled meanwhile).
    void updateViewConnectEnable(bool enable);

signals:
    // The driver was found initialised by the check of netWorkServiceInit
    // (emitted once).
    void sigDriverInitialised();
    // Remote control could not be switched on: the port that could not be
    // used ("TCP 10901") and the system's reason, both empty when no port was
    // at fault.
    void sigNetServiceRefused(const QString& port, const QString& reason);

private:
    NetServiceBase();
    ~NetServiceBase() override;

    // Waits until the configuration reports a driver set-up, at most
    // realWaitMs; false when the caller's event loop was ended meanwhile.
    bool waitDriverNotice(int realWaitMs);
    void checkDriver();
    void driverFound();
    void updateBaseDataToNet(qint32 dataType, qint32 subType);
    // The runtime's state words into testingSTATE; whether a test runs.
    bool takeRuntimeState();
    void publishModule(qint32 dataType, qint32 subType);
    void publishStateAction(qint32 state);
    // Marks a state's action record as pushed in this run; false when it was.
    bool firstStateAction(qint32 state);
    void revertRateSetting();
    // A procedure (trigger false) or trigger record into its segment, unless
    // it is the same as the last of its kind pushed in this run: a notice
    // repeated (the run's end after its trip, the start's output notice after
    // its running state) is no news.
    void pushRecord(bool trigger, u32 type, const void* record, u32 length);
    template <typename R>
    void pushProcedure(u32 type, const R& record) { pushRecord(false, type, &record, sizeof record); }
    template <typename R>
    void pushResult(u32 type, const R& record) { pushRecord(true, type, &record, sizeof record); }
    // A run begins: nothing of it pushed yet (GUI thread).
    void beginRunPushes();
    // The entity writes of a taken record (its entity's lock held inside).
    void applyAlternate(const NetAlternateSettings& s, const NetRecordLimits& limits);
    void applyState(const NetStateSettings& s, const NetRecordLimits& limits);
    void applyHarmonic(const NetHarmonicSettings& s, const NetRecordLimits& limits);
    // The record's rated frequency (if it brings one) into the configuration.
    void applyRatedFrequency(const NetHarmonicSettings& s);
    void applyRamping(const NetRampingSettings& s, const NetRecordLimits& limits);
    bool startAllowed() const;
    // A remote start with no record: the page of the module `type` started
    // on the GUI thread, its start telling `decided` what it came to. 0 once
    // the page asked the engine, or -1 with `why`.
    int startPage(qint32 type, const ControllerTestor::StartDecided& decided, QString& why);
    // A record of the module `type` while it runs or is being started:
    // logged and true (refused); with `running` given, a record while the
    // module runs (not while it is started) is not refused: *running true.
    bool recordRefused(qint32 type, const char* name, bool* running = nullptr);
    // A record taken while its module runs waits for the next switch only
    // while a steady output runs and the record keeps it steady; else logged
    // and false.
    static bool steadyRunTakes(QRecursiveMutex& entityLock, const bool& runningRamp, bool recordRamp,
                               const char* name);
    // The records held for the running module (taken from the hold), put in
    // place by the function returned, on the testor's thread before its
    // switch; empty when none is held.
    std::function<void()> heldRecordsPlacement();
    static void logRefusedRecord(const char* name, const QString& why);
    bool readLimits(NetRecordLimits& limits);
    // The conditions in force at a start (readLimits), with the ranges a
    // record was taken with; false (`why` says) when the configuration did
    // not answer.
    bool startLimits(const NetRecordLimits& taken, NetRecordLimits& limits, QString* why);
    // The record's dither time (if it brings one) into the configuration and
    // the instrument, before the record is answered; false when the
    // configuration did not answer.
    bool applyDither(double ditherTime);
    void refuseService(const NetServiceStartFailure& failure = {});

    ControllerCenter* center;
    bool driverSeen = false;
    QTimer driverCheck;
    DeviceAssemblyInfo assemblyInfo;

    // State-sequence bookkeeping of the remote records (receive thread and
    // stop), and the records taken last; actionSendFlag: the state's action
    // record was pushed in this run.
    QMutex recordMutex;
    QList<qint32> stateIdList;
    qint32 actionSendFlag[ModelStateSequenceEntity::kMaxStates] = {};
    qint32 actionId = 0;
    struct TakenRecords;
    std::unique_ptr<TakenRecords> taken;
    // The module of the run being pushed, or of the last one:
    // noted at the first running 1 of a run and kept until the next run's
    // (type -1: no run since the service started).
    qint32 runTestType = -1;
    bool runNoted = false;
    quint32 runsBegunSeen = 0;   // the runtime's count of runs begun, as last noted
    quint32 runsBegun() const;
    // The last state index of the state-sequence run pushed (GUI thread).
    qint32 advancedState = -1;
    // Of the run being pushed (GUI thread): the last procedure and trigger
    // record pushed (type and bytes), and the ramping points whose trip was.
    QByteArray lastProcedure;
    QByteArray lastTrigger;
    quint64 rampTripsPushed = 0;
};
