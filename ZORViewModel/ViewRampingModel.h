#pragma once

// The view model of the ramping test ("ZOR.ViewRampingModel" 1.0, module
// folder "Ramping"): a list of up to eight states. In each state one
// quantity (amplitude, angle or frequency) of one port or port group steps
// from the state's output towards an end value, one step per step time,
// until the binary inputs act; the action time is judged against a setting
// time and a deviation. At Start every state becomes three engine states:
// the pre-fault output, the ramp and the interval output (the base's blocks).
//
// The page edits a buffer (tempState). Output edits reach the buffer and the
// active state at once; the ramp settings (variable, item, end, step, step
// time, link, function) reach the list only through addState(); selecting a
// state loads it into the buffer. Nothing is pushed on an edit: the states
// reach the entity (dataRamping) at Start. While a test runs the buffer
// shows the ramped outputs; after the stop it shows the active state again.
//
// Every state holds at least one point (a file that lists none gives it a
// default one); the per-state values the page shows are those of the
// state's first point. A state index outside the list means the buffer.
//
// Parameter file body and report tables: ViewRampingModelFile.cpp.

#include "ViewSourceTestModel.h"

#include <memory>
#include <vector>

class ViewRampingModel : public ViewSourceTestModel
{
    Q_OBJECT

public:
    // States and points run, built by the page and read from a file.
    static constexpr int kMaxStates = 8;
    static constexpr int kMaxPoints = 8;

    // One ramp of a state.
    class ViewPointModel
    {
    public:
        explicit ViewPointModel(const ViewRampingModel* owner);
        virtual ~ViewPointModel();
        void CopyFrom(const ViewPointModel& other);
        // The end value of the point's item at its port.
        double endValue() const;
        double* endItem(int item);
        virtual bool serialize(bool save, QDomElement* element, QDomDocument* doc);

        double endRampRanges[16];
        double endRampAngles[16];
        double endRampFrequencies[16];
        double actionRampStep[3];
        RampPortType faultActionPort;
        RampItemType faultActionItem;
        int functionType;
        double settingTime;
        double devTime;
        AOTestResultType testResult;
    };

    // One state: its outputs, ramp timing, binary settings, points and results.
    class ViewStateModel
    {
    public:
        explicit ViewStateModel(const ViewRampingModel* owner);
        virtual ~ViewStateModel();
        // The settings and results; the points too when withPoints.
        void CopyFrom(const ViewStateModel& other, bool withPoints);
        void clearResults();
        double* outputItem(int item);
        const double* outputItem(int item) const;
        // The first point (the state's tempPoint while it holds none).
        ViewPointModel& firstPoint();
        const ViewPointModel& firstPoint() const;
        virtual bool serialize(bool save, QDomElement* element, QDomDocument* doc);

        double outputRanges[8];
        double outputAngles[8];
        double outputFrequencies[8];
        double actionTimes[4];
        faultActionValStruct actionValue[4];
        qint32 actionBIStates[4];
        // The ramp began with the relay still operated (not stored).
        bool relayNotReset = false;
        AOTestStateType testState;
        AOLinkStateType outputLinkType;
        double stepTime;
        qint32 outputBIStates[4];
        qint32 outputBOStates[4];
        AOBILogicType outputBILogicType;
        std::vector<std::unique_ptr<ViewPointModel>> testPoints;
        qint32 activePointIndex;
        std::unique_ptr<ViewPointModel> tempPoint;

    private:
        const ViewRampingModel* owner;
    };

    explicit ViewRampingModel(QObject* parent = nullptr);
    ~ViewRampingModel() override;

    // ---- Ramp settings of the buffer ---------------------------------------------------
    // The end value of the buffer point's item at its port; its step; the
    // step time, s. No check here: the start refuses what cannot run.
    Q_INVOKABLE void setEndRampValue(double endRamp);
    Q_INVOKABLE double getEndRampValue() const;
    Q_INVOKABLE void setRampStepValue(double stepRamp);
    Q_INVOKABLE double getRampStepValue() const;
    Q_INVOKABLE void setStepTimeValue(double time);
    Q_INVOKABLE double getStepTimeValue() const;
    // The ramped group as a row of the page's list (rows leave out UX and IX
    // on three-phase units); an unknown row changes nothing.
    Q_INVOKABLE void setFaultActionPort(int port);
    Q_INVOKABLE int getFaultActionPort() const;
    Q_INVOKABLE void setFaultActionItem(RampItemType actionItem);
    Q_INVOKABLE int getFaultActionItem() const;
    Q_INVOKABLE void setLinkStateType(AOLinkStateType linkType);
    Q_INVOKABLE int getLinkStateType() const;
    Q_INVOKABLE void setFunction(int function);

    // ---- Per state (index outside the list: the buffer) ---------------------------------
    Q_INVOKABLE int getFunction(int index) const;
    // Write the buffer and, for a valid index, that state's first point.
    Q_INVOKABLE void setSettingTime(int index, double time);
    Q_INVOKABLE void setDevTime(int index, double time);
    Q_INVOKABLE double getSettingTimes(int index) const;
    Q_INVOKABLE double getDevTimes(int index) const;
    // List row of the state's ramped group, 0 for an invalid index.
    Q_INVOKABLE int getFaultActionPort(int rowIndex) const;
    Q_INVOKABLE int getFaultActionItemByIndex(int index) const;
    Q_INVOKABLE int getTestStates(int index) const;
    // A completed state whose ramp began with the relay still operated (it
    // fails).
    Q_INVOKABLE bool getRelayNotReset(int index) const;
    // The action time's and value's word in place of them (tripTimeWord).
    Q_INVOKABLE QString getTripTimeWord(int index) const;
    // Runs the verdict of the state, then gives its result.
    Q_INVOKABLE int getTestResults(int index);
    // The first recorded action time in input order (NaN when none), the
    // value text of that input's record, and the input (1..4, -1 when none).
    Q_INVOKABLE double getActionTimes(int index) const;
    Q_INVOKABLE QString getActionValue(int index) const;
    Q_INVOKABLE int getBinaryInputIndex(int index) const;
    // Unit of the state's ramped item and group: "V", "A", "°" or "Hz".
    Q_INVOKABLE QString getUnitText(int index) const;
    // portCnt values, "; " between them, 1 decimal from 1000 up, else 3.
    QString getActionValueStr(const faultActionValStruct& actionValue) const;

    // ---- Binary inputs and outputs of a state --------------------------------------------
    void setOutputBIState(int index, int biindex, int bi) override;
    int getOutputBIState(int index, int biindex) const override;
    void setOutputBILogic(int index, AOBILogicType logic) override;
    int getOutputBILogic(int index) const override;
    // The two-argument forms act on the active state (the buffer while the
    // list is empty).
    Q_INVOKABLE void setOutputBOState(int boindex, int bo) override;
    Q_INVOKABLE int getOutputBOState(int boindex) const override;
    Q_INVOKABLE void setOutputBOState(int index, int boindex, int bo);
    Q_INVOKABLE int getOutputBOState(int index, int boindex) const;

    // ---- List ------------------------------------------------------------------------------
    Q_INVOKABLE int getStatesCount() const;
    // The active state, -1 when the list is empty.
    Q_INVOKABLE int getActiveIndex() const;
    // Selects a state (0 for an invalid index) and loads it into the buffer.
    Q_INVOKABLE void setActiveIndex(int index);
    // A new state from the buffer with one point, the buffer's; nothing at
    // eight, nor (the message shown) when its steps cannot reach its window.
    Q_INVOKABLE void addState();
    Q_INVOKABLE void removeState();

    // ---- Outputs of the buffer (and the active state) -------------------------------------
    Q_INVOKABLE void setOutputRange(AOPortType port, double range);
    Q_INVOKABLE void setOutputAngle(AOPortType port, double angle);
    Q_INVOKABLE void setOutputFrequency(AOPortType port, double frequency);
    Q_INVOKABLE double getOutputRange(AOPortType port) const;
    Q_INVOKABLE double getOutputAngle(AOPortType port) const;
    Q_INVOKABLE double getOutputFrequency(AOPortType port) const;
    // False for the item (0 amplitude, 1 angle, 2 frequency) of a port the
    // buffer's point ramps: the ramp sets it.
    Q_INVOKABLE bool getOutputEnable(AOPortType port, int index) const;
    // Quick-set keys; the balance copies within the four ports of the kind.
    Q_INVOKABLE void setRateRange(AOPortType port);
    Q_INVOKABLE void setBalanceRange(AOPortType port);
    Q_INVOKABLE void setPositiveAngle(AOPortType port, bool pos);
    Q_INVOKABLE void setRateFrequency(AOPortType port);
    Q_INVOKABLE void setBalanceFrequency(AOPortType port);

    // ---- Reports (ViewRampingModelFile.cpp) -------------------------------------------------
    void appendTestSetting(QDomDocument* doc, QDomElement* parent) override;
    void appendTestResult(QDomDocument* doc, QDomElement* parent) override;

    // The begin value the entity counts a slot's steps from: of the group's
    // channels in `values`, the one farthest from the end.
    static double slotBeginValue(int group, const double values[8], double end);

protected:
    void doUpdateEntToVM(DATAType type, int subType) override;
    void pushToEntity(DATAType type) override;
    void pullOutputs() override;
    void pullResults() override;
    bool checkStart() override;
    // The states are never changed by a run: nothing to keep.
    void takeSnapshot() override {}
    void restoreSnapshot() override {}
    void swapSnapshot() override {}
    void beginResults() override;
    void startResults() override;
    void settleResults() override;
    void serializeBody(bool save, QDomElement* element, QDomDocument* doc) override;
    QString listFieldLabel(const QString& key) const override;

    bool validState(int index) const { return index >= 0 && index < int(testStates.size()); }
    // State `index`, the buffer for an invalid index; its first point, the
    // buffer's point being edited for an invalid index.
    ViewStateModel& stateAt(int index);
    const ViewStateModel& stateAt(int index) const;
    ViewPointModel& pointAt(int index);
    const ViewPointModel& pointAt(int index) const;
    // The input whose action time comes first in input order, -1 when none.
    int firstActionInput(const ViewStateModel& state) const;
    // The verdict of a state into its first point's testResult.
    void doCalculate(ViewStateModel& state);
    // States and live outputs from the entity (types 3, 6, 8).
    void pullStates();
    // Applies an output edit to the buffer and the active state.
    template <typename Edit>
    void editOutputs(Edit edit);
    static QString unitOf(int group, int item);

    std::vector<std::unique_ptr<ViewStateModel>> testStates;
    std::unique_ptr<ViewStateModel> tempState;
    qint32 activeStateIndex;
};
