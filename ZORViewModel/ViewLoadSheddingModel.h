#pragma once

// What the two load-shedding test models share: ViewSlipFrequencyModel
// (under frequency, 8 points, ModelSlipFrequencyEntity) and
// ViewSlipVoltageModel (under voltage, 32 points, ModelSlipVoltageEntity).
//
// A test point tests one item of a shedding relay (action value, action
// time, rate blocking, low-current blocking and, under frequency, voltage
// blocking) by a ramp of the slid quantity (frequency or voltage): begin,
// end, step, rate (slip) and, for the action time, the timing value from
// which the operate time counts. The blocking items step their own series
// (slip rates, currents, voltages) from cycle to cycle. All points share the
// pre-fault, hold and after-fault times. The points show the action value
// and the action time the engine recorded; the one verdict is a failure for
// an action-time trip before its timing value.
//
// A module's Layout says where the two differ: its list rules, its items
// (name, unit of the action value, which settings reach which entity
// arrays), its settings in file order, the settings the port display shows.
// The settings of a point are one array in that order; settings 0..4 are the
// slid quantity's begin, end, step, rate and timing value in both modules.
//
// The list (ViewPointList): points added as copies of the edit point
// (tempPoint), which the setters change; at most the entity's capacity. The
// settings reach the entity at a start and when a point is removed or the
// list cleared; progress and trips come back while the entity's marks belong
// to the list. Values from QML or the file outside the item enumeration keep
// the current item; a port outside 0..7 reads 0.
//
// Every read and write of an entity holds its entityLock. GUI thread only.
//
// Parameter file body and report: ViewLoadSheddingModelFile.cpp.

#include "ViewBaseModel.h"
#include "ViewPointList.h"

#include <memory>

class ViewLoadSheddingModel : public ViewPointListModel
{
    Q_OBJECT

public:
    static constexpr int kMaxSettings = 14;
    // Settings of the slid quantity, the same in both modules.
    enum SlideSetting : int {
        SLIDE_BEGIN = 0,
        SLIDE_END = 1,
        SLIDE_STEP = 2,
        SLIDE_RATE = 3,
        SLIDE_TIMING = 4,
    };
    // Items with the same value in both modules.
    static constexpr int kItemActionTime = 1;
    static constexpr int kItemLowCurrent = 3;
    // In an Item's entity columns: the entity takes 0 / the field is not written.
    static constexpr int kZero = -1;
    static constexpr int kKeep = -2;

    struct Item
    {
        const char* name;   // translated in the module's context
        const char* unit;   // of the action value; null: the item has none ("---")
        // Settings written per point into rampBeginValues, rampEndValues,
        // rampStepValues, slipValue and the slide's start, stop and timing
        // value (initFrequencyVal / initVoltageVal ...).
        int rampBegin, rampEnd, rampStep, slip, slideStart, slideStop, timing;
    };

    struct Layout
    {
        const ViewPointListTraits& list;
        int maxPoints;                   // the entity's capacity
        const Item* items;
        int itemCount;
        const char* const* keys;         // file keys of the settings, in order
        int settingCount;
        int slipBegin;                   // first of the slip series (begin, end, step)
        int currentBegin;                // first of the current series
        int voltageBegin;                // first of the voltages (slid or blocking), what UA..UC show for voltageItem
        int voltageItem;                 // -1: every item
        bool copiesAngles;               // a copy of a point takes its angles
    };

    // One test point.
    class ViewSheddingPoint : public ViewPointRecord
    {
    public:
        explicit ViewSheddingPoint(const Layout& layout);
        // The item, the settings and, where the module copies them, the angles.
        void CopyFrom(const ViewSheddingPoint& src);
        void serialize(bool save, QDomElement* element, QDomDocument* doc) override;
        // No trip.
        void clearResults() override
        {
            actionValue = actionTime = -1.0;
            relayNotReset = false;
        }

        const Layout& layout;
        double outputAngles[8] = {};   // shown only: never sent, never saved
        qint32 testItemType = 0;
        double settings[kMaxSettings] = {};
        double actionValue = -1.0;
        double actionTime = -1.0;      // s; NaN or at most 0: no trip
        bool relayNotReset = false;    // a fault began with the relay still operated
    };

    ~ViewLoadSheddingModel() override;

    // ---- Edit point ------------------------------------------------------------------
    // An item outside the module's enumeration keeps the current one.
    Q_INVOKABLE void setActiveTestItem(int item);
    Q_INVOKABLE int getActiveTestItem() const;
    Q_INVOKABLE void setSlipBegin(double value);
    Q_INVOKABLE double getSlipBegin() const;
    Q_INVOKABLE void setSlipEnd(double value);
    Q_INVOKABLE double getSlipEnd() const;
    Q_INVOKABLE void setSlipStep(double value);
    Q_INVOKABLE double getSlipStep() const;
    Q_INVOKABLE void setCurrentBegin(double value);
    Q_INVOKABLE double getCurrentBegin() const;
    Q_INVOKABLE void setCurrentEnd(double value);
    Q_INVOKABLE double getCurrentEnd() const;
    Q_INVOKABLE void setCurrentStep(double value);
    Q_INVOKABLE double getCurrentStep() const;
    Q_INVOKABLE void setVoltageBegin(double value);
    Q_INVOKABLE double getVoltageBegin() const;
    Q_INVOKABLE void setVoltageEnd(double value);
    Q_INVOKABLE double getVoltageEnd() const;
    Q_INVOKABLE void setVoltageStep(double value);
    Q_INVOKABLE double getVoltageStep() const;

    // ---- Times shared by all points, s -------------------------------------------------
    Q_INVOKABLE void setPreFaultTime(double time);
    Q_INVOKABLE double getPreFaultTime() const;
    Q_INVOKABLE void setHoldTime(double time);
    Q_INVOKABLE double getHoldTime() const;
    Q_INVOKABLE void setAfterFaultTime(double time);
    Q_INVOKABLE double getAfterFaultTime() const;

    // ---- List --------------------------------------------------------------------------
    // A bad index leaves -1 selected and the edit point as it is.
    Q_INVOKABLE void setActiveIndex(int index);
    // A copy of the edit point, selected; nothing at the module's capacity,
    // or for a point timingRefusal refuses (said to the user).
    Q_INVOKABLE void addPoint();
    // Removing the last point selects the one before.
    Q_INVOKABLE void removePoint(int index);
    Q_INVOKABLE void clearPoint();

    // ---- Points (an index outside the list: the edit point's state, "" and -1.0) ---------
    Q_INVOKABLE int getTestStates(int index) const;
    Q_INVOKABLE QString getTestItemName(int index) const;
    // Three decimals and the item's unit; "---" for the action-time item,
    // "未动作" for a search that found no trip.
    Q_INVOKABLE QString getActionValueStr(int index) const;
    // The operate time counted from the timing value ("350.000ms",
    // "2.500s"), "未动作" without a trip; a trip before the timing value
    // fails and says by how much; "---" for the other items.
    Q_INVOKABLE QString getActionTimeStr(int index) const;
    Q_INVOKABLE double getActionTime(int index) const;
    // A completed point one of whose faults began with the relay still
    // operated (no trip credited to it).
    Q_INVOKABLE bool getRelayNotReset(int index) const;
    // The first point among the entity's whose last state index is at least
    // stateId; 0 when none is.
    Q_INVOKABLE int getPointsIndexOfState(int stateId) const;

    // ---- Port display of the edit point (port UA 0 .. IX 7; others read 0) ---------------
    Q_INVOKABLE double getOutputRange(int port) const;
    Q_INVOKABLE double getOutputAngle(int port) const;

    // The operate time of an action-time point counted from the moment the
    // ramp reaches the timing value: the recorded time less the ramp's time
    // from its begin to the timing value at the rate as set (0 when the rate
    // is within 1e-4 of 0); 0 for a trip within a tick of the instrument's
    // synthesiser before that time; negative for a trip before it. NaN when
    // there is none: another item, a timing value outside the ramp, or no
    // trip.
    double operateTime(int index) const;

    // An action-time point whose ramp never reaches its timing value has no
    // moment to count its operate time from: the message naming point
    // `number` (0: the edit point) and the ramp; "" otherwise. The rule of
    // addPoint and testStart.
    QString timingRefusal(int number, const ViewSheddingPoint& p) const;
    // False, with nothing sent, when timingRefusal refuses a point (said to
    // the user); otherwise the list models' start.
    Q_INVOKABLE bool testStart();

    // ---- ViewBaseModel hooks -----------------------------------------------------------------
    void doTestActive() override;
    void doUpdateVMToEnt(DATAType type, int subType) override;
    void appendTestSetting(QDomDocument* doc, QDomElement* body) override;
    void appendTestResult(QDomDocument* doc, QDomElement* body) override;
    bool serialize(bool save, QDomElement* element, QDomDocument* doc) override;
    QString listFieldLabel(const QString& key) const override;

protected:
    // The edit point's port display starts balanced (A 0, B 240, C 120).
    ViewLoadSheddingModel(const Layout& layout, QObject* parent);

    ViewSheddingPoint* point(int index) const;
    const ViewSheddingPoint* pointOrEdit(int index) const;
    // Points that reach the entity.
    int entityCount() const;
    bool validItem(int item) const;
    // An edit-point setting: stored when it differs.
    void setSetting(int setting, double value);
    double setting(int setting) const { return tempPoint->settings[setting]; }
    QString itemText(const char* source) const;
    // Below 1 s in ms, else in s, three decimals.
    QString durationText(double seconds) const;
    void pushToEntity();
    void copyStatesFromEntity() override;
    void copyResultsFromEntity() override;
    void completeEntityStates(const std::vector<int>& states) override;
    void untestStoppedPoints() override;
    void copyResetMarks();

    const Layout& layout;
    double preFaultTime = 2.0;
    double holdTime = 5.0;
    double afterFaultTime = 0.5;
    std::unique_ptr<ViewSheddingPoint> tempPoint;
};
