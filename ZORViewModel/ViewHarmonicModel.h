#pragma once

// The view model of the harmonic test ("ZOR.ViewHarmonicModel" 1.0, module
// folder "Harmonic"). Each of the eight outputs UA UB UC UX IA IB IC IX
// carries a fundamental (slot 0) and three harmonics (slots 1..3, orders 2..60,
// distinct and ascending). The page edits one slot at a time (the active slot;
// index 4 is the summary page with RMS and THD), and one slot's amplitude or
// angle of one port group is stepped by hand while the output runs (manual
// mode) or ramped by the engine (auto mode) until the relay acts; the action
// time is judged against a setting time and a deviation.
//
// The entity is the engine's ModelHarmonicEntity (dataHarmonic): every edit
// goes into it at once and, while a test runs, switches the output. The
// entity gets the rated frequency for every port; the model's own per-slot
// frequencies are kept only; a start is refused while an order would play
// beyond the outputs' highest frequency. Amplitudes: the four slots of a port add up to
// at most 300 V or 20 A on every entry and on the ramp's end value; manual
// steps hold each stepped slot to the device limit. The frame
// (ViewSourceTestModel) gives the start, stop, snapshot (amplitudes and
// angles), file and ramp rules.
//
// Ports, slots, groups and items from QML are checked: a setter with a value
// outside its range changes nothing, a getter gives 0.
//
// Parameter file body and report tables: ViewHarmonicModelFile.cpp.

#include "ViewSourceTestModel.h"

class ViewHarmonicModel : public ViewSourceTestModel
{
    Q_OBJECT

public:
    static constexpr int kSlots = 4;
    static constexpr int kSummarySlot = 4;
    static constexpr int kMaxOrder = 60;
    static constexpr double kVoltageSum = 300.0;
    static constexpr double kCurrentSum = 20.0;

    explicit ViewHarmonicModel(QObject* parent = nullptr);
    ~ViewHarmonicModel() override;

    // ---- Outputs of the active slot ----------------------------------------------------
    // The amplitude is held to the room the port's other slots leave (300 V,
    // 20 A; with the automatic amplitude ramp the ramped slot counts with its
    // end value), at least 0. Pushed; switched while a test runs when the
    // value changed. Nothing is stored on the summary page, which reads 0.
    Q_INVOKABLE void setOutputRange(AOPortType port, double range);
    Q_INVOKABLE void setOutputAngle(AOPortType port, double angle);
    Q_INVOKABLE double getOutputRange(AOPortType port) const;
    Q_INVOKABLE double getOutputAngle(AOPortType port) const;
    // The amplitude in percent of the port's fundamental (0 when that is 0).
    Q_INVOKABLE void setOutputPercent(AOPortType port, double percent);
    Q_INVOKABLE double getOutputPercent(AOPortType port) const;

    // ---- Summary ------------------------------------------------------------------------
    // RMS of the four slots; distortion of the harmonics in percent of the
    // fundamental (0 when the fundamental is 0).
    Q_INVOKABLE double getOutputRMS(AOPortType port) const;
    Q_INVOKABLE double getOutputTHD(AOPortType port) const;

    // ---- Order slots ---------------------------------------------------------------------
    Q_INVOKABLE int getOrderCount() const { return kSlots; }
    Q_INVOKABLE int getOrderItemsCount() const { return kMaxOrder; }
    // The order of slot index (1 outside 0..3).
    Q_INVOKABLE int getOutputOrders(int index) const;
    // The orders the active harmonic slot may take, ascending: 2..60 without
    // those of the other harmonic slots ("1" alone for the fundamental, none
    // on the summary page). The page's chooser lists them.
    Q_INVOKABLE QList<int> getOrderChoices() const;
    // Takes choice itemIndex of that list for the active slot, keeps slots
    // 1..3 ascending (amplitudes and angles move with their order) and makes
    // the slot that now holds it active. Nothing on slot 0 or the summary page.
    Q_INVOKABLE void setOutputOrders(int itemIndex);
    Q_INVOKABLE void activePrevOrder();
    Q_INVOKABLE void activeNextOrder();
    Q_INVOKABLE int getActiveOrder() const;
    Q_INVOKABLE QString getActiveOrderText() const;

    // ---- Display mode ----------------------------------------------------------------------
    // true: harmonic amplitudes and the amplitude ramp's end and step in V or
    // A; false: in percent of the group's fundamental.
    Q_INVOKABLE void setShowRange(bool enable);
    Q_INVOKABLE bool getShowRange() const;

    // ---- Ramp settings ----------------------------------------------------------------------
    // End value and step of the current group and item, in percent with the
    // percent display; the end value is cut to the room left on every port
    // of the group with the automatic amplitude ramp.
    Q_INVOKABLE void setEndRampValue(double endRamp);
    Q_INVOKABLE double getEndRampValue() const;
    Q_INVOKABLE void setRampStepValue(double stepRamp);
    Q_INVOKABLE double getRampStepValue() const;
    // Turning the automatic ramp on makes the mode "From-to".
    Q_INVOKABLE void setAutoRampEnabled(bool autoRamp);
    Q_INVOKABLE bool getAutoRampEnabled() const;
    // The group as a row of the page's list (UX and IX left out on
    // three-phase units). A change of group or item clears the result.
    Q_INVOKABLE void setFaultActionPort(int index);
    Q_INVOKABLE int getFaultActionPort() const;
    // Amplitude or angle (the frequency is not ramped).
    Q_INVOKABLE void setFaultActionItem(RampItemType actionItem);
    Q_INVOKABLE int getFaultActionItem() const;
    // The ramped slot, 0..3.
    Q_INVOKABLE void setFaultActionOrder(int actionOrder);
    Q_INVOKABLE int getFaultActionOrder() const;
    Q_INVOKABLE void setFaultActionType(FaultActionType actionType);
    Q_INVOKABLE int getFaultActionType() const;

    // ---- Stepping ------------------------------------------------------------------------------
    // Manual mode: the ramped slot of the group's ports steps by the item's
    // step; only those are held (amplitude 0 .. device maximum, angle folded
    // into [0, 360)); pushed, switched while a test runs. Auto mode: hands
    // the direction and the end value to the engine; refused with a message
    // by the frame's ramp rule (from the ramped slot's values). False when
    // refused or gated (power stage too hot and no test running).
    Q_INVOKABLE bool quickChange(bool toAdd);

    // ---- Verdict and results -------------------------------------------------------------------
    Q_INVOKABLE void setSettingTime(double value);
    Q_INVOKABLE double getSettingTime() const;
    Q_INVOKABLE void setDevTime(double value);
    Q_INVOKABLE double getDevTime() const;
    // AO_STATE_TYPE_INITING until a run begins, RUNNNING once it plays,
    // COMPLETED after it.
    Q_INVOKABLE int getTestState() const;
    // Failed for a completed run without an action or with a time outside
    // the deviation (ViewVerdict), success within it, none before.
    Q_INVOKABLE int getTestResult();
    Q_INVOKABLE double getFaultActionTime() const;
    // The group's values at the action with the unit (" V", " A", " °").
    Q_INVOKABLE QString getFaultActionValue() const;
    // The binary input (1..4) that acted, -1 without an action.
    Q_INVOKABLE int getBinaryInputIndex() const;
    // What a result without an action reads: "未动作" (no action) after a
    // completed run, else "" (no run has played, or it was not tested).
    Q_INVOKABLE QString getNoActionText() const;

    // ---- Reports and file (ViewHarmonicModelFile.cpp) ------------------------------------------
    void appendTestSetting(QDomDocument* doc, QDomElement* parent) override;
    void appendTestResult(QDomDocument* doc, QDomElement* parent) override;

protected:
    void pushToEntity(DATAType type) override;
    void pullOutputs() override;
    void pullResults() override;
    bool checkStart() override;
    QString heldRampProblem() const override;
    void takeSnapshot() override;
    void restoreSnapshot() override;
    void swapSnapshot() override;
    void beginResults() override;
    void startResults() override;
    void settleResults() override;
    void serializeBody(bool save, QDomElement* element, QDomDocument* doc) override;

    static bool isSlot(int slot) { return slot >= 0 && slot < kSlots; }
    static double sumLimit(int port) { return isVoltagePort(port) ? kVoltageSum : kCurrentSum; }
    // The orders of slots 1..3 are distinct, ascending and in 2..60.
    static bool validOrders(const qint32 orders[kSlots]);

    // Amplitude of slot `slot` of a port for the report: absolute, or in
    // percent of the fundamental without showRange.
    double getOutputValue(int port, int slot) const;
    // End amplitude of the ramp for a member port of the current group, else 0.
    double getRampEndRange(int port) const;
    // The room the port's slots other than `slot` leave under the sum limit
    // (with the automatic amplitude ramp, the ramped slot at its end value).
    double slotRoom(int port, int slot) const;
    // Cuts the amplitude end value to the room on every port of the group.
    void updateEndRange();
    // The fundamental of the current group (its percent base).
    double groupBase() const;
    bool percentShown() const { return !showRange && faultActionItem == RAMP_ITEM_TYPE_RANGE; }
    double fromShown(double value) const;
    double toShown(double value) const;
    // The ramped slot's values of the current item, one per port.
    void rampedSlotValues(double values[8]) const;
    QString groupRampProblem(int direction, double end) const;
    // The outputs into the entity, switched with apply; an edit that the
    // channels cannot give ends the run, and the message says why.
    void pushOutputs(bool apply);
    // Clears the results; the state becomes INITING unless a run is in progress.
    void clearResults();
    // Unit of the end value and step as the report writes them.
    QString unitText() const;

    double outputRanges[8][kSlots];
    double outputAngles[8][kSlots];
    double outputFrequencies[8][kSlots];
    qint32 outputOrders[kSlots];
    double beginRanges[8][kSlots];
    double beginAngles[8][kSlots];
    qint32 activeOrderIndex;
    bool showRange;
    qint32 testState;
    double endRampRanges[16];
    double endRampAngles[16];
    double actionRampStep[2];
    bool autoRampEnabled;
    faultActionValStruct faultActionValues[4];
    double faultActionTimes[4];
    qint32 faultActionBiIndex;
    RampPortType faultActionPort;
    RampItemType faultActionItem;
    qint32 faultActionOrder;
    FaultActionType faultActionType;
    double settingTime;
    double devTime;
    qint32 testResult;
    // A run's start hook ran and its stop has not been settled.
    bool runBegun = false;
};
