#pragma once

// The engine's reader of the instrument's live status. doQueryStart is an
// endless loop on the querying thread: it waits for the driver, then pass
// after pass reads the clock-sync status, the binary inputs and outputs, the
// temperatures and fan, the alarm word and, while a test runs, the state
// index and trips of the running module, and turns each change into a signal
// for the runtime store or the testor. It rests 300 ms a pass while no test
// runs and 1 ms a pass while one does; a start ends the rest at once, so the
// first running pass follows the start.
//
// State sequence: every pass reads where the instrument is
// (driverBaseFollowRing); every change of the page playing is reported with
// the time each page that ended since the pass before played, from the
// instrument's own figures (driverbase.h says what each is made of). Every
// action read is reported before the change past its page.
//
// The loop never returns to its event loop while it runs: its setters are
// called directly (or through direct connections) from other threads and
// only write atomic members. Every interval is measured on the monotonic
// clock (zoplat::monotonicMs), so a clock step of the synchronisation cannot
// stretch or shorten them; event time stamps are wall-clock.
//
// Energy test: a state's pulse measurement starts once the testor has written
// its pulse set-up (the output record's pulseInputEnable) and ends when the
// instrument has counted the set number of pulses, when the count window
// (pulseSampleTotalCount, from the start of the delay) runs out, or when a
// read fails. Only a completed count whose interval fits the 32-bit period
// register (34.36 s at 125 MHz) gives a result; otherwise the count is
// reported with a NaN period (no result).

#include "CommSOEEntity.h"
#include "ControllerTestor.h"
#include "zoplatform.h"

#include <QObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

class ControllerQuery : public QObject
{
    Q_OBJECT

public:
    explicit ControllerQuery(QObject* parent = nullptr);
    ~ControllerQuery() override;

    std::atomic<bool> queryEnable{false};                 // the loop keeps running
    std::atomic<bool> initFinishEnable{false};            // the driver has been initialised
    std::atomic<uint64_t> queryTempIntervalTime{10000};   // ms
    std::atomic<uint64_t> queryAlarmIntervalTime{1500};   // ms
    std::atomic<uint64_t> updateClockSyncIntervalTime{300};   // ms
    std::atomic<bool> runningEnable{false};               // a test runs
    std::atomic<bool> fanRunEnable{false};                // kept, not consulted
    std::atomic<bool> clkSyncEnable{false};               // clock-sync switch of the configuration
    std::atomic<ControllerTestor::TESTType> testType{ControllerTestor::TEST_NONE};   // selected module

    // The module of the run in progress: the one the run was started with,
    // kept until the run ends; with no run, the selected one.
    ControllerTestor::TESTType runTestType() const;

    // Wiring set by the facade before the threads start.
    // runTypeSource: the module a starting run captured (asked when the run
    // state turns on). driverInitialised: whether the driver is initialised;
    // a failed configuration send of an initialised driver then does not
    // stop the polling.
    void setRunTypeSource(std::function<ControllerTestor::TESTType()> source);
    void setDriverInitialisedSource(std::function<bool()> source);
    // sequenceReport: takes the state sequence's change reports (the seconds
    // each page that ended since the last report played, in order, NaN
    // where not known; how long the ring has held the page it holds ended,
    // us, -1 where it holds none) to the testor, in order with the signals
    // to it.
    using SequenceReport = std::function<void(const std::vector<double>& stateTimes, qint64 heldUs)>;
    void setSequenceReportSink(SequenceReport sink);

    // True while doQueryStart is inside its loop.
    bool isQueryRunning() const { return loopRunning.load(); }

public slots:
    void doQueryStart();
    void doQueryInterrupt();
    void updateInitState(bool initialised);
    void updateRunState(const CommSOEEntity& event, bool running);
    void updateClockSyncEnable(bool enable);
    void updateTestActive(qint32 type);

signals:
    void sigUpdateTestStateIndex(qint32 index);
    void sigUpdateTestStateAction(qint32 bi1flag, qint32 bi2flag, float actionTime, qint32 stateIndex, qint32 bi1state,
                                  qint32 bi2state);
    void sigUpdateTestStateAction(qint32 actionFlag, qint32 actionIndex, qint64 stampUs, qint32 stateIndex);
    void sigTestSwitch();
    void sigTestInterrupt();
    void sigUpdateTestStatePulse(qint32 count, double period);
    void sigUpdateBIState(const CommSOEEntity& event, qint32 bi1, qint32 bi2, qint32 bi3, qint32 bi4);
    void sigUpdateBOState(const CommSOEEntity& event, qint32 bo1, qint32 bo2, qint32 bo3, qint32 bo4);
    void sigUpdateAOTempState(qint32 t1, qint32 t2, qint32 t3, qint32 t4, qint32 fan);
    void sigUpdateAOTempSensor(qint32 s1, qint32 s2, qint32 s3, qint32 s4);
    void sigUpdateAlarmState(qint32 word);
    void sigUpdateSyncClock(bool synced, quint32 time);

private:
    struct LoopState;

    void pollClock(LoopState& loop, int64_t now);
    void pollBinaryInputs(LoopState& loop, int64_t wallMs);
    void pollBinaryOutputs(LoopState& loop, int64_t wallMs);
    void pollModule(LoopState& loop, ControllerTestor::TESTType type);
    // State sequence: trips, and every change of the page playing with the
    // times of the pages that ended.
    void pollSequence(LoopState& loop);
    // The modules the software switches from page to page (all but the
    // state sequence and energy): trips, and the state index and switch once
    // a state ended.
    void pollStepModule(LoopState& loop);
    // Energy: the pulse measurement of the state playing.
    void pollEnergy(LoopState& loop);
    void endPulseMeasurement(LoopState& loop);
    // After a run: the pulse output and counting off, once the testor's stop
    // has cleared them in the output record.
    void releasePulses(LoopState& loop);
    // The four-value trip reports, when the last action read found one: one
    // for each input the action changed.
    void reportAction();
    void pollTemperatures(LoopState& loop, int64_t now);
    void pollAlarms(LoopState& loop, int64_t now);

    std::atomic<ControllerTestor::TESTType> runType{ControllerTestor::TEST_NONE};
    std::atomic<bool> loopRunning{false};
    std::function<ControllerTestor::TESTType()> runTypeSource;
    std::function<bool()> driverInitialisedSource;
    SequenceReport sequenceReport;
    zoplat::Wakeup wakeup{10};   // ends the idle rest at a start or an interrupt
};
