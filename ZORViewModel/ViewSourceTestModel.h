#pragma once

// The frame shared by the source-test view models (AC, DC, harmonic, state
// sequence, ramping, standard source). A module model derives from it, names
// its own test type and fills in the module hooks below; the frame does the
// rest of the life of a test page:
//
//  - the eight ViewBaseModel hooks, gated on the module's own test type:
//    settings into the entity (pushToEntity), live outputs and results back
//    (pullOutputs, pullResults), start and stop of a run;
//  - a start from the page (testStart) that checks the module's settings
//    first, takes the snapshot of the settings for this run and disables the
//    page's exit until the engine reports the run state; the stop restores
//    only a snapshot taken for the run that ends, and puts it back into the
//    entity (a run started remotely and a second stop touch neither);
//  - the parameter-file frame: the base keys, then the module's body; while
//    a run holds its snapshot the body is written with the settings from
//    before the run, so leaving a page during a run does not store stepped
//    or ramped values;
//  - the binary-input conditions and binary outputs of a single-state page;
//  - one message text for the page (ViewBaseModel's getUserMessage,
//    sigUserMessage) when a request is refused, a start the engine refused
//    included (one text per ControllerTestor::StartRefusal);
//  - helpers for the port quick-set keys, the ramp-port list rows and the
//    stepping gate;
//  - the rule an automatic ramp must pass before the engine gets it, and the
//    start check of automatic mode (rampProblem, acceptRamp, checkRampStart).
//
// QML reaches a model only through Q_INVOKABLE methods, signals and the
// Q_ENUMs of ViewBaseModel. GUI thread only; nothing here blocks.

#include "ViewBaseModel.h"

#include "ModelEntityCommon.h"

#include <QMutexLocker>

#include <functional>
#include <initializer_list>
#include <iterator>

class ViewSourceTestModel : public ViewBaseModel, protected ViewBaseModel::BinaryTrigger
{
    Q_OBJECT

public:
    // The model's copy of an engine record of one action or return: portCnt
    // values in the group's channel order (UCUA: UC, UA).
    using faultActionValStruct = ModelEntity::faultActionValStruct;

    ~ViewSourceTestModel() override;

    // ---- Start and exit ---------------------------------------------------------
    // Start from the page. False, with nothing sent, when a run is in
    // progress, or (the message says why) when the module refuses its
    // settings, the driver is not initialised or the power stage is too hot.
    // On true the engine has been asked to start and the page's exit stays
    // disabled until the engine reports the run state; when that report says
    // the start did not run, the message says why (ViewBaseModel's page
    // exit and message).
    Q_INVOKABLE bool testStart();

    // ---- Binary inputs and outputs of a single-state page -------------------------
    // index selects a state in modules that have several; the single-state
    // modules ignore it; theirs follow BinaryTrigger's rules. No push: the
    // next push of the settings carries them.
    Q_INVOKABLE virtual void setOutputBIState(int index, int biindex, int bi);
    Q_INVOKABLE virtual int getOutputBIState(int index, int biindex) const;
    Q_INVOKABLE virtual void setOutputBILogic(int index, AOBILogicType logic);
    Q_INVOKABLE virtual int getOutputBILogic(int index) const;
    Q_INVOKABLE virtual void setOutputBOState(int boindex, int bo);
    Q_INVOKABLE virtual int getOutputBOState(int boindex) const;

    // ---- Automatic ramp of the stepping modules (no push) -------------------------------
    // Time per step, s; a number that is not finite is not taken.
    Q_INVOKABLE void setRampTimeValue(double timeRamp);
    Q_INVOKABLE double getRampTimeValue() const;

    // ---- ViewBaseModel hooks ---------------------------------------------------------
    void doTestActive() override;
    void doUpdateVMToEnt(DATAType type, int subType) override;
    void doUpdateEntToVM(DATAType type, int subType) override;
    void doSwitchToStopState() override;
    void doSwitchToStartState() override;
    bool serialize(bool save, QDomElement* element, QDomDocument* doc) override;

    TESTType ownTestType() const { return ownType; }

protected:
    ViewSourceTestModel(TESTType type, QObject* parent);

    // ---- Module hooks -------------------------------------------------------------
    // Settings into the entity for a push of `type` (RT_BO, OUTPUTVI,
    // OUTPUTPQ, OUTPUTDATA ...), called only while the engine's selected
    // module is this one. Holds the entity's lock for the edit and its clamp.
    virtual void pushToEntity(DATAType type) = 0;
    // The outputs being sent back from the entity (types 6, 7, 8).
    virtual void pullOutputs() = 0;
    // The results of the run from the entity (type 9).
    virtual void pullResults() = 0;
    // Whether the settings may be started; when not, sets the message.
    virtual bool checkStart() { return true; }
    // The run's snapshot of the settings: take it, put it back, exchange it
    // with the settings (used around the file body during a run).
    virtual void takeSnapshot() = 0;
    virtual void restoreSnapshot() = 0;
    virtual void swapSnapshot() = 0;
    // A run has started: clear the results and mark the test running.
    virtual void beginResults() = 0;
    // The page's start went to the engine, which settles its amplifiers
    // before it reports the run: the last run's results give way to the new
    // run's state at once, and the page hears of it. By default as when the
    // run has begun.
    virtual void startResults();
    // A run has ended: settle the test state from the results.
    virtual void settleResults() = 0;
    // The module's own parameter-file body, both directions.
    virtual void serializeBody(bool save, QDomElement* element, QDomDocument* doc) = 0;

    // ---- Helpers for the modules ------------------------------------------------------
    // The engine's selected module is this model's.
    bool isOwnEngineType() const;
    // A snapshot of the settings is held for the run being started or in progress.
    bool runSnapshotHeld() const { return snapshotHeld; }
    // The engine has begun a run since the page's last start (a start it
    // refused begins none), one so short that it had ended before its report
    // was read included. False before any start from the page.
    bool runBegunSinceStart() const;
    // The entity's results and marks are those of a run the page follows:
    // not while its last start has begun none (a start the engine refused
    // leaves what it wrote before, or what the last run left). Results are
    // taken only then.
    bool entityFollowsRun() const { return !startAwaited || runBegunSinceStart(); }
    // Stepping gate: false when the power stage is too hot and no test runs.
    bool steppingAllowed() const;

    static bool isPort(int port) { return port >= AO_PORT_TYPE_UA && port <= AO_PORT_TYPE_IX; }
    static bool isVoltagePort(int port) { return port >= AO_PORT_TYPE_UA && port <= AO_PORT_TYPE_UX; }
    static bool isRampPort(int group) { return group >= RAMP_PORT_TYPE_UA && group <= RAMP_PORT_TYPE_IAIBIC; }
    static bool isVoltageGroup(int group) { return group >= RAMP_PORT_TYPE_UA && group <= RAMP_PORT_TYPE_UAUBUC; }
    static bool isRampItem(int item) { return item >= RAMP_ITEM_TYPE_RANGE && item <= RAMP_ITEM_TYPE_FREQUENCY; }
    // Channels of a port group in the engine's group order (UCUA: UC, UA);
    // returns the count, 0 for an unknown group.
    static int groupChannels(int group, int channels[3]);
    // Position of a port in the group's channel order, -1 when not in it.
    static int groupIndexOf(int group, int port);
    // An angle folded into [0, 360); non-finite angles pass unchanged.
    static double foldAngle(double angle);
    // The array of a ramp item among an item's three (null for an unknown item).
    template <typename T>
    static T* itemArray(int item, T* ranges, T* angles, T* frequencies)
    {
        switch (item) {
        case RAMP_ITEM_TYPE_RANGE: return ranges;
        case RAMP_ITEM_TYPE_ANGLE: return angles;
        case RAMP_ITEM_TYPE_FREQUENCY: return frequencies;
        default: return nullptr;
        }
    }
    // No record (no values, NaN); the portCnt values (held to 0..3) of an
    // engine record, NaN after them.
    static void clearRecord(faultActionValStruct& record);
    static void takeRecord(faultActionValStruct& to, const faultActionValStruct& from);

    // The default outputs of a new page: rated, balanced (A 0, B 240, C 120),
    // UX and IX only on four-phase units (frequency 0 otherwise).
    void defaultOutputs(double ranges[8], double angles[8], double frequencies[8]) const;
    // Amplitude limit of a port from the device configuration (V or A).
    double portRangeLimit(int port) const;

    // Port quick-set keys on a module's eight-port arrays; an invalid port
    // changes nothing.
    void quickSetRateRange(double ranges[8], int port) const;
    static void quickSetBalanceRange(double ranges[8], int port);
    static void quickSetPositiveAngle(double angles[8], int port, bool positive);
    void quickSetRateFrequency(double frequencies[8], int port) const;
    static void quickSetBalanceFrequency(double frequencies[8], int port);

    // The page's list of the sixteen port groups leaves out UX and IX on
    // three-phase units: list row to group (an unknown row gives `current`)
    // and group to list row.
    RampPortType rampPortFromRow(int row, RampPortType current) const;
    int rowFromRampPort(RampPortType port) const;

    // ---- Automatic ramp (stepping modules) --------------------------------------------------
    // The engine ramps the channels of a group from their present values
    // towards an end value, one step per time, and sets a value at or beyond
    // the end to the end. The refusal text for such a ramp, empty when it may
    // run: the step and the time must be above 0, the end finite, and the
    // end on the side of `direction` (+1 up, -1 down) of every channel's
    // value values[channels[k]] (k < count), not between them. A group
    // already on its end runs (nothing jumps). Per-slot models pass the
    // values of the ramped slot.
    static QString rampProblem(const double* values, const int* channels, int count, int direction, double end,
                               double step, double time);
    // The automatic ramp's time per step, s.
    double actionRampTime = 1.0;
    // "+" or "-" in automatic mode with the rule's answer for it: a refusal
    // is shown; remembers whether the engine was handed a ramp. True when the
    // module hands the ramp to its entity.
    bool acceptRamp(const QString& problem);
    // The start check of automatic mode: false, with a message, before a
    // ramp was handed over, after a refused "+" or "-" (the entity still
    // holds the ramp before it), or when the ramp the entity holds no longer
    // fits the outputs (heldRampProblem).
    bool checkRampStart();
    // The rule's answer for the ramp the entity holds, from the present outputs.
    virtual QString heldRampProblem() const { return QString(); }
    // A trip is timed from the start of the step its contact moved on: steps
    // that end before the window judged does (setting time plus deviation)
    // would read a relay acting late in it on the next step. The message
    // (the step and the time it needs), "" when they reach. The rule of the
    // ramping items (Add and Start) and the harmonic automatic ramp (Start).
    QString stepReachProblem(double stepTime, double settingTime, double deviation) const;
    // The ramp a "+" or "-" handed to the entity (direction +1 up, -1 down,
    // and end value), written again with every push of the settings while
    // it stands: what a PC's record left in the entity never plays from the page.
    void noteHandedRamp(int direction, double end);
    template <typename E>
    void writeHandedRamp(E* e) const
    {
        if (!rampHandedOver)
            return;
        e->actionRampFactor = handedDirection;
        e->endRampValue = handedEnd;
    }
    // In the parameter file: "autoRampEnabled" and "actionRampTime" (the
    // time per step) under root; "ramps" under root, with beginRamp0..15
    // kept empty and endRamp0..15, whose values endRamp(element, group)
    // maps, then "steps" with setp0 .. the `count` steps. The time and the
    // steps are held to the page's limits.
    static void mapAutoRamp(bool save, QDomElement* root, QDomDocument* doc, bool& enabled, double& time);
    // "faultActionPort" (the group itself, not a list row) and
    // "faultActionItem" (one of the module's items, up to lastItem) under
    // root; a load keeps the result the model holds.
    static void mapRampTarget(bool save, QDomElement* root, QDomDocument* doc, RampPortType& port,
                              RampItemType& item, RampItemType lastItem);
    static void mapRampTable(bool save, QDomElement* root, QDomDocument* doc,
                             const std::function<void(QDomElement*, int)>& endRamp, double* steps, int count);

    // ---- The module's entity E (its fields by name) ----------------------------------------
    // A push of `type` into the entity, under its lock: the running binary
    // outputs (RT_BO), or the module's settings (settings(e)) for a push of
    // one of `settingTypes`. Other types write nothing.
    template <typename E, typename Settings>
    void pushEntity(E* e, DATAType type, std::initializer_list<DATAType> settingTypes, Settings settings) const;
    // Into an entity held locked: the limits (vmax, imax), then the
    // binary-input conditions, binary outputs and input logic of a
    // single-state page.
    template <typename E>
    void writeBinarySettings(E* e, double vmax, double imax) const;

private:
    // The runtime's count of runs begun.
    quint32 runsBegun() const;

    TESTType ownType;
    bool snapshotHeld = false;
    // A start from the page went to the engine; the engine has not reported
    // its run begun; the runtime's count of runs begun at that start.
    bool pageStarted = false;
    bool startAwaited = false;
    quint32 runsAtStart = 0;
    // The last "+" or "-" in automatic mode handed a ramp to the entity.
    bool rampHandedOver = false;
    int handedDirection = 1;
    double handedEnd = 0.0;
};

template <typename E, typename Settings>
void ViewSourceTestModel::pushEntity(E* e, DATAType type, std::initializer_list<DATAType> settingTypes,
                                     Settings settings) const
{
    QMutexLocker lock(&e->entityLock);
    if (type == DATA_TYPE_RT_BO) {
        // Element by element, as ModuleAdaptorParts::boStates copies them: no
        // memmove for GCC 12 at -O3 to warn of on a null path of its own making.
        for (size_t i = 0; i < std::size(testingBO); ++i)
            e->outputBOStates[i] = testingBO[i];
        return;
    }
    if (std::find(settingTypes.begin(), settingTypes.end(), type) != settingTypes.end())
        settings(e);
}

template <typename E>
void ViewSourceTestModel::writeBinarySettings(E* e, double vmax, double imax) const
{
    e->formatLimitValue(vmax, imax);
    std::copy(std::begin(outputBIStates), std::end(outputBIStates), e->stateOutputBIStates);
    std::copy(std::begin(outputBOStates), std::end(outputBOStates), e->stateOutputBOStates);
    e->stateBILogicTypes = static_cast<typename E::AOBILogicType>(outputBILogicType);
}
