#pragma once

// The eight-port outputs UA UB UC UX IA IB IC IX (amplitude, angle,
// frequency) shared by the AC, DC and power-swing view models: the arrays,
// their setters and getters and the port quick-set keys. Registered nowhere
// itself: QML reaches these invokables on each registered module model.
//
// A module model decides which values it takes (acceptsOutputValue) and how
// the outputs reach its entity (pushOutputs). The frame also keeps what the
// three modules share around a run: the snapshot of the outputs, the
// engine's action and return records, and the writes and reads of the
// entity's outputs, binary settings and automatic ramp (E is the module's
// entity, its fields by name).

#include "ViewSourceTestModel.h"

#include <QMutexLocker>

#include <algorithm>
#include <iterator>
#include <limits>

class ViewPortOutputModel : public ViewSourceTestModel
{
    Q_OBJECT

public:
    ~ViewPortOutputModel() override;

    // ---- Outputs -------------------------------------------------------------------------
    // Stores the value; pushes the outputs into the entity and, when the value
    // changed and a test runs, switches the running output to them. A port
    // outside AOPortType or a value the module does not take changes nothing;
    // a getter gives 0 for such a port.
    Q_INVOKABLE void setOutputRange(AOPortType port, double range);
    Q_INVOKABLE void setOutputAngle(AOPortType port, double angle);
    Q_INVOKABLE void setOutputFrequency(AOPortType port, double frequency);
    Q_INVOKABLE double getOutputRange(AOPortType port) const;
    Q_INVOKABLE double getOutputAngle(AOPortType port) const;
    Q_INVOKABLE double getOutputFrequency(AOPortType port) const;

    // ---- Quick-set keys (each pushes, switching while a test runs) -----------------------
    // Rated amplitude of the port; its amplitude to the A, B, C phases of its
    // group (UX, IX never written); B and C (or the others) at -120/+120 from
    // the port (pos) or +120/-120; rated frequency of the port; its frequency
    // to all eight ports.
    Q_INVOKABLE void setRateRange(AOPortType port);
    Q_INVOKABLE void setBalanceRange(AOPortType port);
    Q_INVOKABLE void setPositiveAngle(AOPortType port, bool pos);
    Q_INVOKABLE void setRateFrequency(AOPortType port);
    Q_INVOKABLE void setBalanceFrequency(AOPortType port);

    // ---- Results ------------------------------------------------------------------------
    // -1 while a test runs without an action, 1 once an action was recorded,
    // 0 otherwise.
    Q_INVOKABLE int getTestState() const;
    // What a result without a record reads: "" while a run goes on and while
    // the results are no run's (no run has played since the page's last
    // start, nor in the file it read), else the module's word for a run that
    // ended without one (noActionWord).
    Q_INVOKABLE QString getNoActionText() const;

protected:
    ViewPortOutputModel(TESTType type, QObject* parent);

    // Whether the output setters take value (all values by default).
    virtual bool acceptsOutputValue(double value) const;
    // Pushes the outputs; switches the running output to them when `apply`.
    virtual void pushOutputs(bool apply);

    // The run's snapshot: the outputs to begin* (all three arrays).
    void takeSnapshot() override;
    void restoreSnapshot() override;
    void swapSnapshot() override;
    // A run has started: results cleared, state -1; it has ended: the state
    // 0 unless an action was recorded.
    void beginResults() override;
    void settleResults() override;
    // The page's start: the results give way at once and are no run's until
    // the engine reports the run begun (beginResults).
    void startResults() override;
    // Clears the result records and times; the state becomes 0 unless it is -1.
    void clearResults();
    // A run that ended without a record: "未动作" (no action).
    virtual QString noActionWord() const;

    // ---- Parameter file -------------------------------------------------------------------------
    // The eight outputs under `outputs` (port0..7) held to the page's fields:
    // amplitudes to the device's maxima, angles to +-360, frequencies from
    // kMinFrequency on a port with an amplitude (mapPorts).
    void mapShownOutputs(bool save, QDomElement* outputs, QDomDocument* doc);
    // The run's results: "testState" under root (-1 .. 1, else 0; saved
    // during a run, the state its stop will settle on; 1 read with a stored
    // action) and the records action0..3 under `outputs`, each time before
    // its values (timeFirst) or after them.
    void mapRunResults(bool save, QDomElement* root, QDomElement* outputs, QDomDocument* doc, bool timeFirst);
    // "notRun" under root (0 or 1), after the results: a result is a run's;
    // a file written before that key holds a run's results only where its
    // state is not 0.
    void mapNotRun(bool save, QDomElement* root, QDomDocument* doc);

    // The amplitude of port back to its snapshot (reset), or grown by the
    // snapshot x factor, unclamped; with toDevice pushed (switched while running).
    void quickChangeRange(AOPortType port, bool reset, double factor, bool toDevice);
    // Records 0 (action) and 1 (return) of a group ramp: whether index (0..3)
    // holds one, its time (NaN unless the state is 1), and the return
    // coefficients "r1; r2" ("0" for an action value of 0; "" unless the
    // state is 1 and both records are held).
    static bool isRecordIndex(int index) { return index >= 0 && index < 4; }
    bool hasActionValue(int index) const;
    double actionTime(int index) const;
    QString actionFactorText() const;
    // A record's values of the channels of group, "; " between them, with
    // one decimal from 1000 up (as the first value is), else three; NaN
    // unless the state is 1.
    QString groupValuesText(const faultActionValStruct& record, int group) const;

    // ---- The module's entity E (each takes its lock) ---------------------------------------------
    // The entity's outputs into the arrays.
    template <typename E>
    void pullOutputsFrom(E* e);
    // The action and return of a group ramp: the records the entity's
    // faultActionBiIndex and faultActionReturnBiIndex name (when in 0..3);
    // an action makes the state 1.
    template <typename E>
    void pullRampResults(E* e);
    // The automatic ramp handed to the entity: direction (+1 up, -1 down)
    // and end value; and the ramp it holds.
    template <typename E>
    static void handRamp(E* e, int direction, double end);
    template <typename E>
    static void heldRamp(const E* e, int& direction, double& end);
    // A push of `type` into the entity, under its lock: the running binary
    // outputs (RT_BO); or (OUTPUTVI, OUTPUTDATA) the module's own settings
    // (settings(e)), then the outputs, the limits (vmax, imax), the
    // binary-input conditions, binary outputs and input logic. Other types
    // write nothing.
    template <typename E, typename Settings>
    void pushPortEntity(E* e, DATAType type, double vmax, double imax, Settings settings) const;

    double outputRanges[8];
    double outputAngles[8];
    double outputFrequencies[8];
    double beginRanges[8];
    double beginAngles[8];
    double beginFrequencies[8];
    faultActionValStruct faultActionValues[4];
    double faultActionTimes[4];
    qint32 testState = 0;
    // The results are no run's: none has played since the page's last start
    // (nor in the file read).
    bool notRun = true;

private:
    // Stores value into values[port] and pushes, switching when it changed
    // and a test runs.
    void setOutput(double values[8], AOPortType port, double value);
};

template <typename E>
void ViewPortOutputModel::pullOutputsFrom(E* e)
{
    QMutexLocker lock(&e->entityLock);
    std::copy(std::begin(e->outputRanges), std::end(e->outputRanges), outputRanges);
    std::copy(std::begin(e->outputAngles), std::end(e->outputAngles), outputAngles);
    std::copy(std::begin(e->outputFrequencies), std::end(e->outputFrequencies), outputFrequencies);
}

template <typename E>
void ViewPortOutputModel::pullRampResults(E* e)
{
    QMutexLocker lock(&e->entityLock);
    const int a = e->faultActionBiIndex;
    if (isRecordIndex(a)) {
        faultActionTimes[0] = e->faultActionTimes[a];
        takeRecord(faultActionValues[0], e->faultActionValues[a]);
        testState = 1;
    }
    const int r = e->faultActionReturnBiIndex;
    if (isRecordIndex(r)) {
        faultActionTimes[1] = e->faultActionReturnTimes[r];
        takeRecord(faultActionValues[1], e->faultActionReturnValues[r]);
    }
}

template <typename E>
void ViewPortOutputModel::handRamp(E* e, int direction, double end)
{
    QMutexLocker lock(&e->entityLock);
    e->actionRampFactor = direction;
    e->endRampValue = end;
}

template <typename E>
void ViewPortOutputModel::heldRamp(const E* e, int& direction, double& end)
{
    QMutexLocker lock(&e->entityLock);
    direction = e->actionRampFactor >= 1 ? 1 : -1;
    end = e->endRampValue;
}

template <typename E, typename Settings>
void ViewPortOutputModel::pushPortEntity(E* e, DATAType type, double vmax, double imax, Settings settings) const
{
    pushEntity(e, type, {DATA_TYPE_TEST_OUTPUTVI, DATA_TYPE_TEST_OUTPUTDATA}, [&](E* entity) {
        settings(entity);
        std::copy(std::begin(outputRanges), std::end(outputRanges), entity->outputRanges);
        std::copy(std::begin(outputAngles), std::end(outputAngles), entity->outputAngles);
        std::copy(std::begin(outputFrequencies), std::end(outputFrequencies), entity->outputFrequencies);
        writeBinarySettings(entity, vmax, imax);
    });
}
