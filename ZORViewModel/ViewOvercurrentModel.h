#pragma once

// The view model of the overcurrent-protection test ("ZOR.ViewOvercurrentModel"
// 1.0, module folder "Overcurrent", test type TEST_OVERCURRENT).
//
// Two characteristics from the curve catalogue: function 50 (instantaneous
// or definite time, overcurrentCurves[0]) and function 51 (inverse time,
// overcurrentCurves[1]). A test point is a fault current on one fault loop
// aimed at one function; its window of acceptable trip times comes from the
// characteristic at the edges of the current band the current tolerance
// allows, widened by the time tolerance. A window whose upper end is the
// largest double expects no trip (both ends: no trip may occur).
//
// The list (ViewPointList, traits ViewPointLists::overcurrent): at most 32
// points, the edit point (tempPoint) that the point setters change and
// addPoint copies, the selection, progress and trips copied from the entity
// while its marks belong to this list. At a start every point becomes three
// states of the engine's ModelOvercurrentEntity: pre-fault, fault (ended by a
// trip or faultMaxTime, judged) and interval. With the interval box unticked,
// the interval outputs of a point followed by another play until the relay
// has reset (its trip inputs back), for at most faultMaxTime; a point whose
// fault began with the relay not reset reads so (getRelayNotReset) and fails.
// The trip inputs and outputs of the fault states: ViewTripListModel.
//
// Windows are recomputed by the characteristic, tolerance and edit-point
// setters named below, by addPoint and after the parameter file is read or
// written; a point keeps its window otherwise.
//
// Values from QML or the file outside their ranges (function, fault kind,
// curve family and row, curve index 0..1) keep the current value; getters
// of a bad curve index read 0. Every read and write of the entity holds its
// entityLock.
//
// Parameter file body and report tables: ViewOvercurrentModelFile.cpp.

#include "ViewBaseModel.h"
#include "ViewTripListModel.h"

#include "BaseModelDataOvercurrent.h"
#include "BaseOverCurrentHelper.h"

#include <memory>

class ModelOvercurrentEntity;

class ViewOvercurrentModel : public ViewTripListModel
{
    Q_OBJECT

public:
    enum FunctionType : qint32 {
        FUNCTION_TYPE_50 = 0,
        FUNCTION_TYPE_51 = 1,
    };
    // The values of BaseModelDataOvercurrent::FaultType.
    enum FaultType : qint32 {
        FAULT_TYPE_A_E = 0,
        FAULT_TYPE_B_E = 1,
        FAULT_TYPE_C_E = 2,
        FAULT_TYPE_A_B = 3,
        FAULT_TYPE_B_C = 4,
        FAULT_TYPE_C_A = 5,
        FAULT_TYPE_A_B_C = 6,
        FAULT_TYPE_2I = 7,
        FAULT_TYPE_3I0 = 8,
        FAULT_TYPE_A = 9,
        FAULT_TYPE_B = 10,
        FAULT_TYPE_C = 11,
    };
    // For QML; the model does not use it.
    enum IECCharType : qint32 {
        IEC_DEFINITE_TIME = 0,
        IEC_NORMAL_INVERSE = 1,
        IEC_VERY_INVERSE = 2,
        IEC_EXTREMELY_INVERSE = 3,
    };
    Q_ENUM(FunctionType)
    Q_ENUM(FaultType)
    Q_ENUM(IECCharType)

    // One test point.
    class ViewPointModel : public ViewPointRecord
    {
    public:
        // The edit point's defaults; zeroed() for a point read from a file.
        ViewPointModel();
        static std::unique_ptr<ViewPointModel> zeroed();
        // Every field, window, results and progress included.
        void CopyFrom(const ViewPointModel& src);
        // No trip times, no inputs.
        void clearResults() override;
        void serialize(bool save, QDomElement* element, QDomDocument* doc) override;

        FaultType faultKind = FAULT_TYPE_A_E;
        FunctionType functionType = FUNCTION_TYPE_50;
        double iTest = 0.0;
        double iAngle = -60.0;
        bool faultVPEnable = true;
        double faultVPNRange = 30.0;
        double tMin;
        double tMax;
        double settingTime = 1.0;
        double outputTime;
        AOTestResultType testResult = AO_Result_TYPE_NONE;
        double actionTimes[4];
        qint32 actionBIStates[4];
        // The fault began with the relay not reset (not stored).
        bool relayNotReset = false;
    };

    explicit ViewOvercurrentModel(QObject* parent = nullptr);
    ~ViewOvercurrentModel() override;

    // ---- Characteristics (index 0: function 50, 1: function 51) -----------------------
    Q_INVOKABLE void setIPickUp(int index, double value);
    Q_INVOKABLE double getIPickUp(int index) const;
    Q_INVOKABLE void setTdPickUp(int index, double value);
    Q_INVOKABLE double getTdPickUp(int index) const;
    // Function 51's family (CHAR_STAND or CHAR_IAC): the family's first
    // offered row (standard row 1, IAC row 0).
    Q_INVOKABLE void setCharType(int type);
    Q_INVOKABLE int getCharType() const;
    // Function 51's row as offered: standard rows count from row 1.
    Q_INVOKABLE void setCharIndex(int index);
    Q_INVOKABLE int getCharIndex() const;
    Q_INVOKABLE QStringList getCharNames() const;
    // The curve name of the edit point's function.
    Q_INVOKABLE QString getCurrentCharName() const;

    // ---- Edit point --------------------------------------------------------------------
    Q_INVOKABLE void setTestCurrent(double current);
    Q_INVOKABLE void setFunction(int kind);
    Q_INVOKABLE void setFaultKind(int kind);
    Q_INVOKABLE void setFaultVPNRange(double range);
    Q_INVOKABLE double getFaultVPNRange() const;
    Q_INVOKABLE void setFaultVPEnable(bool enable);
    Q_INVOKABLE bool getFaultVPEnable() const;
    Q_INVOKABLE void setTestAngle(double angle);
    Q_INVOKABLE double getTestAngle() const;

    // ---- Test-wide settings (each recomputes every window) ------------------------------
    Q_INVOKABLE void setMaxFaultTime(double time);
    Q_INVOKABLE double getMaxFaultTime() const;
    Q_INVOKABLE void setTimeTolRel(double percent);
    Q_INVOKABLE double getTimeTolRel() const;
    // In s.
    Q_INVOKABLE void setTimeTolAbs(double percent);
    Q_INVOKABLE double getTimeTolAbs() const;
    Q_INVOKABLE void setCurrentTolRel(double percent);
    Q_INVOKABLE double getCurrentTolRel() const;
    // In A.
    Q_INVOKABLE void setCurrentTolAbs(double percent);
    Q_INVOKABLE double getCurrentTolAbs() const;

    // ---- Point getters (an index outside the list reads the edit point) ------------------
    Q_INVOKABLE double getTestCurrent(int index) const;
    Q_INVOKABLE int getFunction(int index) const;
    Q_INVOKABLE int getFaultKind(int index) const;
    Q_INVOKABLE double getSettingTimes(int index) const;
    Q_INVOKABLE double getMinTimes(int index) const;
    Q_INVOKABLE double getMaxTimes(int index) const;
    // The trip of the lowest-numbered input that recorded one: its time
    // (NaN for none) and its number 1..4 (-1 for none).
    Q_INVOKABLE double getActionTimes(int index) const;
    Q_INVOKABLE int getBinaryInputIndex(int index) const;
    Q_INVOKABLE int getTestStates(int index) const;
    // A completed point whose fault began with the relay not reset.
    Q_INVOKABLE bool getRelayNotReset(int index) const;
    // The trip-time cell's word in place of a time (tripTimeWord).
    Q_INVOKABLE QString getTripTimeWord(int index) const;
    // The time the chart draws the point at: its trip time; +inf for a
    // completed point without a trip (drawn at the top); an untested one's
    // setting time (+inf for none); NaN, not drawn, for a point begun on a
    // relay not reset, which has no time.
    Q_INVOKABLE double getChartTime(int index);
    // Judges the point, then its verdict (the edit point's, always NONE,
    // for a bad index).
    Q_INVOKABLE int getTestResults(int index);

    // ---- List --------------------------------------------------------------------------------
    // A bad index selects point 0 (copied when the list has one).
    Q_INVOKABLE void setActiveIndex(int index);
    // A copy of the edit point, its window recomputed; selected.
    Q_INVOKABLE void addPoint();
    // Points from beginVal to endVal in steps of stepVal (one point at
    // beginVal for equal values or a step <= 0), while the list has room;
    // the last one selected.
    Q_INVOKABLE void addPoint(double beginVal, double endVal, double stepVal);
    // Removes the selected point; the same index (or the last) is selected.
    Q_INVOKABLE void removePoint();
    Q_INVOKABLE void clearPoint();

    // ---- Chart support --------------------------------------------------------------------------
    // The setting time of function `type` at I (NaN for another type); the
    // window of that evaluation from the two getters after it.
    Q_INVOKABLE double computerTime(int type, double I, int isForTest = 0);
    Q_INVOKABLE double getCurvePointMinTime() const;
    Q_INVOKABLE double getCurvePointMaxTime() const;
    // The current band a point is judged on.
    Q_INVOKABLE double getLeftI(double iTest) const;
    Q_INVOKABLE double getRightI(double iTest) const;
    // The current band drawn on the chart.
    Q_INVOKABLE double getCurvePointLeftI(double iTest) const;
    Q_INVOKABLE double getCurvePointRightI(double iTest) const;
    Q_INVOKABLE double getDevTimeUp(double maxTime) const;
    Q_INVOKABLE double getDevTimeDown(double miTime) const;
    // imgStr: base64 PNG of function `type`'s chart (ignored for another type).
    Q_INVOKABLE void saveImage(int type, QString imgStr);
    Q_INVOKABLE void releaseImage();

    // The trip inputs and outputs: ViewTripListModel.

    // ---- Start -------------------------------------------------------------------------------
    // False, with nothing sent, when a point's fault asks the outputs for
    // more than the device gives (the message names the point and the
    // limit) or cannot reach its window (faultReachRefusal); otherwise the
    // list models' start.
    Q_INVOKABLE bool testStart();

    // A point whose fault, of faultMaxTime, ends before a trip at the end of
    // its window would be confirmed (the window's end and the debounce): the
    // message, naming point `number` (0: the edit point) and the time its
    // fault needs; "" when it reaches. A window without an end (no trip
    // expected) needs nothing. The rule of addPoint and testStart.
    QString faultReachRefusal(int number, const ViewPointModel& p) const;

    // ---- ViewBaseModel hooks -----------------------------------------------------------------
    void doTestActive() override;
    void doUpdateVMToEnt(DATAType type, int subType) override;
    void appendTestSetting(QDomDocument* doc, QDomElement* body) override;
    void appendTestResult(QDomDocument* doc, QDomElement* body) override;
    bool serialize(bool save, QDomElement* element, QDomDocument* doc) override;
    QString listFieldLabel(const QString& key) const override;

    // The time tolerance at t: the larger of the relative and the absolute
    // one (the absolute one for NaN).
    double deviationOf(double t) const;

protected:
    ViewPointModel* point(int index) const;
    const ViewPointModel* pointOrEdit(int index) const;
    // The window and setting time of a point.
    void ComputerTime(ViewPointModel* target);
    // Point index, the edit point for any other index.
    void ComputerTime(int index);
    // The edit point, then every listed point.
    void ComputerTime();
    // The fault calculation of point index (the edit point for index < 0).
    BaseModelDataOvercurrent faultOf(int index) const;
    // The fault phasors of point index (the edit point for index < 0) into
    // outputRanges, outputAngles, outputFrequencies.
    void ComputerOutput(int index);
    // Appends a copy of the edit point (window recomputed, no results);
    // false, with the message shown, when its fault cannot reach its window.
    bool appendEditCopy();
    // The verdict of point index.
    void doCalculate(int index);
    // A test-wide setting: nothing when unchanged, else stored and every
    // window recomputed.
    void editTolerance(double& field, double value);
    // Keeps a characteristic read from the file within the catalogue:
    // a family or row outside it, or a non-finite pickup or dial, takes
    // the value `before` held.
    static void keepInCatalogue(BaseOverCurrentHelper& curve, const BaseOverCurrentHelper& before);
    void copyStatesFromEntity() override;
    void copyResultsFromEntity() override;
    void completeEntityStates(const std::vector<int>& states) override;
    void untestStoppedPoints() override;
    // The points' not-reset marks from the entity (its lock held).
    void copyResetMarks(const ModelOvercurrentEntity& e);
    void pushToEntity();
    static QString faultName(int kind);
    // "NaN", "INF" or the time with its unit.
    QString timeText(double t) const;

    BaseOverCurrentHelper overcurrentCurves[2];
    std::unique_ptr<ViewPointModel> tempPoint;
    std::unique_ptr<ViewPointModel> curvePoint;
    double currentTolrel = 5.0;
    double currentTolabs = 0.05;
    double timeTolrel = 5.0;
    double timeTolabs = 0.04;
    double faultMaxTime = 200.0;
    // Stored and kept; nothing uses it.
    double faultMaxFactor = 1.2;
    double outputRanges[8];
    double outputAngles[8];
    double outputFrequencies[8];
    QString curveImage[2];
};
