#pragma once

// The view model of the state-sequence test ("ZOR.ViewStateSequenceModel"
// 1.0, module folder "Sequence"): an ordered list of 1 to 32 output states,
// each with its eight outputs, binary outputs, binary-input condition and
// the trigger that ends it (time, binary input, both, key press, GPS/IRIG-B
// pulse). The whole list goes into the engine's ModelStateSequenceEntity at
// a start, and only then: no setter pushes, so an edit during a run reaches
// the outputs at the next start. While a run goes on the model takes back,
// per state, its mark (INITING, RUNNNING, COMPLETED), how long it lasted
// and when each binary input acted.
//
// Built on these results:
//  - assessments (at most 32): the time a span of states lasted against a
//    setting time and a deviation (ViewVerdict, to the instrument's stamp);
//  - the event recorder: the binary-input actions and binary-output changes
//    of a run, with their times from the start of the sequence (at most
//    kMaxEvents), emptied by a successful start and by a load.
//
// The frame (ViewSourceTestModel) gives the start, the messages and the file
// frame; this model takes no snapshot and restores nothing at the stop.
// Indexes from QML are checked: a setter with an index or a value outside
// its range changes nothing, a getter gives the neutral value.
//
// Assessments and events: ViewStateSequenceModelResults.cpp; parameter file
// body and report tables: ViewStateSequenceModelFile.cpp.

#include "ViewSourceTestModel.h"

#include <limits>
#include <vector>

class ViewStateSequenceModel : public ViewSourceTestModel
{
    Q_OBJECT

public:
    static constexpr int kMaxStates = 32;
    static constexpr int kMaxAssessments = 32;
    static constexpr int kMaxEvents = 1024;

    // One state of the list.
    class ViewSequenceStateModel
    {
    public:
        ViewSequenceStateModel();
        virtual ~ViewSequenceStateModel() = default;
        ViewSequenceStateModel(const ViewSequenceStateModel&) = default;
        ViewSequenceStateModel& operator=(const ViewSequenceStateModel&) = default;

        // Rated, balanced outputs (UX, IX only on four-phase units), 1.0 s,
        // trigger TIME, link INITIATE, no results.
        void Initialize(double voltage, double current, double frequency, PhasesType volPhases,
                        PhasesType curPhases);
        virtual bool serialize(bool save, QDomElement* element, QDomDocument* doc);

        double outputRanges[8];
        double outputAngles[8];
        double outputFrequencies[8];
        double outputTime;
        double triggerTime;       // how long the state lasted in the last run, s; NaN unknown
        qint32 outputBOStates[4];
        qint32 outputBIStates[4];
        AOTriggerType outputTriggerType;
        AOLinkStateType outputLinkType;
        AOBILogicType outputBILogicType;
        double actionTimes[4];    // s within the state, NaN none
        qint32 actionBIStates[4]; // bit 1 level before, bit 0 after; -1 none
        AOTestStateType testState;
    };

    // One assessment: the span from stateStart to stateStop against a time.
    class ViewAssessModel
    {
    public:
        virtual ~ViewAssessModel() = default;
        ViewAssessModel() = default;
        ViewAssessModel(const ViewAssessModel&) = default;
        ViewAssessModel& operator=(const ViewAssessModel&) = default;
        virtual bool serialize(bool save, QDomElement* element, QDomDocument* doc);

        qint32 stateStart = 0;
        qint32 stateStop = 0;
        double settingTime = 1.0;
        double devTime = 0.1;
        double actionTime = std::numeric_limits<double>::quiet_NaN();
        AOTestResultType result = AO_Result_TYPE_NONE;
    };

    // One event of the recorder.
    class ViewEventRecorderModel
    {
    public:
        virtual ~ViewEventRecorderModel() = default;
        ViewEventRecorderModel() = default;
        ViewEventRecorderModel(const ViewEventRecorderModel&) = default;
        ViewEventRecorderModel& operator=(const ViewEventRecorderModel&) = default;
        virtual bool serialize(bool save, QDomElement* element, QDomDocument* doc);

        double tripTime = 0.0;            // s from the start of the sequence
        qint32 tripType = -1;             // 0 binary input, 1 binary output
        qint32 signalName = -1;           // 1..4
        QString slope = QStringLiteral("0.1");
    };

    explicit ViewStateSequenceModel(QObject* parent = nullptr);
    ~ViewStateSequenceModel() override;

    // ---- Start -----------------------------------------------------------------------
    // Ends a running state whose trigger is the key.
    Q_INVOKABLE void testKeyPress();

    // ---- States (no push) ---------------------------------------------------------------
    Q_INVOKABLE void setOutputRange(int index, AOPortType port, double range);
    Q_INVOKABLE void setOutputAngle(int index, AOPortType port, double angle);
    Q_INVOKABLE void setOutputFrequency(int index, AOPortType port, double frequency);
    Q_INVOKABLE double getOutputRange(int index, AOPortType port) const;
    Q_INVOKABLE double getOutputAngle(int index, AOPortType port) const;
    Q_INVOKABLE double getOutputFrequency(int index, AOPortType port) const;
    Q_INVOKABLE void setOutputTime(int index, double time);
    Q_INVOKABLE double getOutputTime(int index) const;
    // The frame's forms without a state index stay callable beside these.
    using ViewSourceTestModel::getOutputBOState;
    using ViewSourceTestModel::setOutputBOState;
    Q_INVOKABLE void setOutputBOState(int index, int boindex, int bo);
    Q_INVOKABLE int getOutputBOState(int index, int boindex) const;
    Q_INVOKABLE void setOutputBIState(int index, int biindex, int bi) override;
    Q_INVOKABLE int getOutputBIState(int index, int biindex) const override;
    Q_INVOKABLE void setOutputBILogic(int index, AOBILogicType logic) override;
    Q_INVOKABLE int getOutputBILogic(int index) const override;
    Q_INVOKABLE void setOutputLinkType(int index, AOLinkStateType linkType);
    Q_INVOKABLE int getOutputLinkType(int index) const;
    Q_INVOKABLE void setTriggerType(int index, AOTriggerType actionType);
    Q_INVOKABLE int getTriggerType(int index) const;
    Q_INVOKABLE int getTestStates(int index) const;
    Q_INVOKABLE double getActionTimes(int index, int biindex) const;
    Q_INVOKABLE int getActionBIStates(int index, int biindex) const;

    // ---- The list -------------------------------------------------------------------------
    Q_INVOKABLE int getStateCount() const;
    // The active state, 0 when it lies outside the list.
    Q_INVOKABLE int getActiveIndex() const;
    Q_INVOKABLE void setActiveIndex(int index);
    Q_INVOKABLE void activePrevState();
    Q_INVOKABLE void activeNextState();
    // A new state of amplitude 0 at the rated frequency, linked CONTINUE,
    // appended or put in place of state index (0 <= index < count), made
    // active; nothing at 32 states. Removing keeps at least one state. State
    // 0 is linked INITIATE after each; no other link is touched.
    Q_INVOKABLE void addState();
    Q_INVOKABLE void insertState(int index);
    Q_INVOKABLE void removeState(int index);

    // ---- Quick-set keys on the active state (no push) -----------------------------------------
    // As the frame's, except that the balance key also writes the fourth
    // channel (UX or IX) of the port's group.
    Q_INVOKABLE void setRateRange(AOPortType port);
    Q_INVOKABLE void setBalanceRange(AOPortType port);
    Q_INVOKABLE void setPositiveAngle(AOPortType port, bool pos);
    Q_INVOKABLE void setRateFrequency(AOPortType port);
    Q_INVOKABLE void setBalanceFrequency(AOPortType port);
    // Amplitudes and angles of the active state from the shared fault model;
    // false, with the state as it was and a message, when the fault cannot
    // be calculated.
    Q_INVOKABLE bool doComputerDistance();

    // ---- Assessments (ViewStateSequenceModelResults.cpp) ------------------------------------------
    Q_INVOKABLE bool addAssess();
    Q_INVOKABLE bool removeAssess(int index);
    Q_INVOKABLE bool clearAssess();
    Q_INVOKABLE void setAssessIndex(int index);
    Q_INVOKABLE int getAssessIndex();
    // Recomputes every verdict, then gives the count.
    Q_INVOKABLE int getAssessCount();
    Q_INVOKABLE void setAssessStart(int index, int stateIndex);
    Q_INVOKABLE void setAssessStop(int index, int stateIndex);
    Q_INVOKABLE void setSettingTime(int index, double time);
    Q_INVOKABLE void setDevTime(int index, double time);
    Q_INVOKABLE int getAssessStart(int index) const;
    Q_INVOKABLE int getAssessStop(int index) const;
    Q_INVOKABLE double getSettingTime(int index) const;
    Q_INVOKABLE double getDevTime(int index) const;
    Q_INVOKABLE double getActionTime(int index) const;
    Q_INVOKABLE int getAssessResult(int index) const;

    // ---- Event recorder (ViewStateSequenceModelResults.cpp) ------------------------------------------
    Q_INVOKABLE int getEventRecorderCnt() const;
    Q_INVOKABLE void clearEventRecorder();
    Q_INVOKABLE double getEventRecorderTime(int index) const;
    Q_INVOKABLE int getEventRecorderType(int index) const;
    Q_INVOKABLE QString getEventRecorderSignalName(int index) const;
    Q_INVOKABLE QString getEventRecorderSlop(int index) const;
    // The sequence has moved to state stateIndex: the binary-output changes
    // of every state since the last one logged in this run, each logged
    // once (a repeated or older index logs nothing), as the last start sent
    // them (an edit during the run changes no output).
    Q_INVOKABLE void addBOEventRecord(int stateIndex);

    // ---- Hooks -----------------------------------------------------------------------------
    void doUpdateEntToVM(DATAType type, int subType) override;
    void appendTestSetting(QDomDocument* doc, QDomElement* parent) override;
    void appendTestResult(QDomDocument* doc, QDomElement* parent) override;

protected:
    void pushToEntity(DATAType type) override;
    // A state ended by GPS / IRIG-B while no trigger time is set would never
    // end; an assessment its states cannot reach (assessReachProblem).
    bool checkStart() override;
    // Assessment `number` (1..) whose span cannot last a time within its
    // window: states that end on their time alone last their times, a state
    // a trip may end at most its time (with the debounce, as its duration
    // reads), one ended by an input, key or pulse any time. Spans a trip may
    // end must reach the window's end; spans none may end, lie in it. The
    // message, "" when it reaches or the span lies outside the list.
    QString assessReachProblem(int number, const ViewAssessModel& a) const;
    void pullOutputs() override;
    void pullResults() override;
    void takeSnapshot() override {}
    void restoreSnapshot() override {}
    void swapSnapshot() override {}
    void beginResults() override;
    // Also each state's action times and duration and the event list.
    void startResults() override;
    void settleResults() override;
    void serializeBody(bool save, QDomElement* element, QDomDocument* doc) override;
    QString listFieldLabel(const QString& key) const override;

    void appendAssessmenResult(QDomDocument* doc, QDomElement* parent);
    // The outputs and the trigger table of state `index` into a layout cell.
    void appendStateTables(QDomDocument* doc, QDomElement* cell, int index);
    void appendEventRecorder(QDomDocument* doc, QDomElement* parent);

    // Verdicts of all assessments, of one.
    void Calculation();
    void Calculation(int index);
    // The binary-input actions of the states up to the active one that are
    // not logged yet (each action once), earliest first; false when none of
    // these states has an action. Only for a run this model followed from
    // its start.
    bool addBIEventRecord();
    // Logs one event at its place in time order.
    void addEventItem(double time, int type, int signal, const QString& slope);
    static QString getSlopeStr(int level);
    // Binary output boindex in state s as the run plays it.
    int runBOState(int s, int boindex) const;
    QString getBISlopeStr(int stateIndex, int biindex) const;

    bool validState(int index) const { return index >= 0 && index < int(testStates.size()); }
    bool validAssess(int index) const { return index >= 0 && index < int(assessList.size()); }
    bool validEvent(int index) const { return index >= 0 && index < int(eventRecorderList.size()); }
    // A new state of the list operations: amplitude 0, rated frequency, CONTINUE.
    ViewSequenceStateModel newState() const;
    ViewSequenceStateModel initialisedState() const;
    // Start of state s in the sequence: the durations of the states before it.
    double stateBeginTime(int s) const;
    // The trigger times and marks of the run from the entity (while it
    // follows the run, entityFollowsRun).
    void pullMarks();

    std::vector<ViewSequenceStateModel> testStates;
    std::vector<ViewAssessModel> assessList;
    std::vector<ViewEventRecorderModel> eventRecorderList;
    qint32 activeStateIndex;
    qint32 activeAssessIndex;
    // The last state whose binary-output changes were logged in this run.
    qint32 lastBOEventState;
    // The binary outputs of the states the last start sent (runStateCount of them).
    qint32 runBOStates[kMaxStates][4] = {};
    int runStateCount = 0;
    // The run's binary-input actions as logged, per state and input (NaN none).
    double loggedActionTimes[kMaxStates][4];
    // A run was started since this model exists: its actions are logged.
    bool followingRun = false;
};
