#pragma once

// The view model of the distance-protection test ("ZOR.ViewDistanceModel"
// 1.0, module folder "Distance", test type TEST_DISTANCE).
//
// The line and the fault calculation are set once (mode, CT and PT side,
// fault current or voltage, load, earth-return compensation, UX); the list
// holds impedance test points (loop, direction, impedance, setting time).
// The shared fault calculator (BaseModelDataDistance) turns a point into its
// eight fault phasors and the model's pre-fault phasors. At a start every
// point becomes three states of the engine's ModelDistanceEntity: pre-fault,
// fault (ended by a trip or its time, judged) and interval.
//
// The list (ViewPointListModel, traits ViewPointLists::distance, which also
// gives the start from the page): at most 32
// points, the edit point (tempPoint) that the point setters change and
// addPoint copies, the selection, progress and trips copied from the entity
// while its marks belong to this list. The trip inputs and outputs of the
// fault states: ViewTripListModel.
//
// A calculation that fails (a loop that cannot be solved, e.g. V-constant at
// |Z| 0) writes nothing: the entry is kept, the phasors stay as they were,
// addPoint appends no copy, and the page's message says why.
//
// Every read and write of the entity holds its entityLock. Values from QML
// or the file outside their enumerations keep the field's value.
//
// Parameter file body and report tables: ViewDistanceModelFile.cpp.

#include "ViewBaseModel.h"
#include "ViewTripListModel.h"

#include "BaseModelUXDefine.h"

#include <memory>

class BaseModelDataDistance;

class ViewDistanceModel : public ViewTripListModel
{
    Q_OBJECT

public:
    enum FaultType : qint32 {
        FAULT_TYPE_A_E = 0,
        FAULT_TYPE_B_E = 1,
        FAULT_TYPE_C_E = 2,
        FAULT_TYPE_A_B = 3,
        FAULT_TYPE_B_C = 4,
        FAULT_TYPE_C_A = 5,
        FAULT_TYPE_A_B_E = 6,
        FAULT_TYPE_B_C_E = 7,
        FAULT_TYPE_C_A_E = 8,
        FAULT_TYPE_A_B_C = 9,
    };
    enum DirectionType : qint32 {
        DIRECTION_TYPE_POSITIVE = 0,
        DIRECTION_TYPE_NEGATIVE = 1,
    };
    enum DistanceType : qint32 {
        DISTANCE_TYPE_ICONSTANT = 0,
        DISTANCE_TYPE_VCONSTANT = 1,
        DISTANCE_TYPE_ZCONSTANT = 2,
    };
    enum CTPositionType : qint32 {
        CT_POSITION_TYPE_BUS = 0,
        CT_POSITION_TYPE_LINE = 1,
    };
    enum PTPositionType : qint32 {
        PT_POSITION_TYPE_BUS = 0,
        PT_POSITION_TYPE_LINE = 1,
    };
    enum RepairType : qint32 {
        REPAIR_TYPE_KL = 0,
        REPAIR_TYPE_RERL_XEXL = 1,
        REPAIR_TYPE_Z0Z1 = 2,
    };
    Q_ENUM(FaultType)
    Q_ENUM(DirectionType)
    Q_ENUM(DistanceType)
    Q_ENUM(CTPositionType)
    Q_ENUM(PTPositionType)
    Q_ENUM(RepairType)

    // One test point.
    class ViewPointModel : public ViewPointRecord
    {
    public:
        ViewPointModel();
        // The settings of src (not its progress, results or verdict).
        void CopyFrom(const ViewPointModel& src);
        // No trip times, no inputs.
        void clearResults() override;
        void serialize(bool save, QDomElement* element, QDomDocument* doc) override;

        double outputRanges[8];
        double outputAngles[8];
        double outputFrequencies[8];
        double outputTime = 1.0;
        AOTriggerType outputTriggerType = AO_TRIGGER_TYPE_TIME_BINARY;
        FaultType faultKind = FAULT_TYPE_A_E;
        DirectionType faultDirection = DIRECTION_TYPE_POSITIVE;
        double zRange = 0.0;
        double zAngle = 75.0;
        double zReal = 0.0;
        double zImage = 0.0;
        double settingTime = 1.0;
        double devTime = 0.1;
        AOTestResultType testResult = AO_Result_TYPE_NONE;
        double actionTimes[4];
        qint32 actionBIStates[4];
        // The fault began with the relay not reset (not stored).
        bool relayNotReset = false;
    };

    explicit ViewDistanceModel(QObject* parent = nullptr);
    ~ViewDistanceModel() override;

    // ---- Line and fault set-up (each recalculates the edit point) ---------------------
    Q_INVOKABLE void setDistanceKind(int type);
    Q_INVOKABLE int getDistanceKind() const;
    Q_INVOKABLE void setCTPosition(int type);
    Q_INVOKABLE int getCTPosition() const;
    Q_INVOKABLE void setPTPosition(int type);
    Q_INVOKABLE int getPTPosition() const;
    Q_INVOKABLE void setFaultCurrent(double value);
    Q_INVOKABLE double getFaultCurrent() const;
    Q_INVOKABLE void setFaultVoltage(double value);
    Q_INVOKABLE double getFaultVoltage() const;
    Q_INVOKABLE void setLoadCurrent(double value);
    Q_INVOKABLE double getLoadCurrent() const;
    Q_INVOKABLE void setLoadAngle(double value);
    Q_INVOKABLE double getLoadAngle() const;

    // ---- Compensation ------------------------------------------------------------------
    // A form change converts both values at the edit point's impedance angle.
    Q_INVOKABLE void setRepairKind(int type);
    Q_INVOKABLE int getRepairKind() const;
    // index < 1: the first value, else the second.
    Q_INVOKABLE void setRepairFactor(int index, double factor);
    Q_INVOKABLE double getRepairFactor(int index) const;

    // ---- Edit point --------------------------------------------------------------------
    Q_INVOKABLE void setFaultKind(int kind);
    Q_INVOKABLE void setFaultDirection(int type);
    Q_INVOKABLE void setFaultZRange(double value);
    Q_INVOKABLE void setFaultZAngle(double value);
    // R (X) with the edit point's own X (R).
    Q_INVOKABLE void setFaultZReal(double value);
    Q_INVOKABLE void setFaultZImage(double value);
    // Also the selected point's; recalculates nothing.
    Q_INVOKABLE void setOutputTime(double time);

    // ---- Times --------------------------------------------------------------------------
    Q_INVOKABLE void setSettingTimes(int index, double time);
    Q_INVOKABLE double getSettingTimes(int index) const;
    Q_INVOKABLE void setDevTimes(int index, double time);
    Q_INVOKABLE double getDevTimes(int index) const;
    Q_INVOKABLE void setOupputTimeFactor1(double value);
    Q_INVOKABLE double getOupputTimeFactor1() const;
    Q_INVOKABLE void setOupputTimeFactor2(double value);
    Q_INVOKABLE double getOupputTimeFactor2() const;
    Q_INVOKABLE void setTimeErrAbs(double value);
    Q_INVOKABLE double getTimeErrAbs() const;
    Q_INVOKABLE void setTimeErrRel(double value);
    Q_INVOKABLE double getTimeErrRel() const;

    // ---- Point getters (an index outside the list reads the edit point) ------------------
    // port outside 0..7 reads 0.
    Q_INVOKABLE double getOutputRange(int index, int port) const;
    Q_INVOKABLE double getOutputAngle(int index, int port) const;
    Q_INVOKABLE double getOutputFrequency(int index, int port) const;
    Q_INVOKABLE double getOutputTime(int index) const;
    Q_INVOKABLE int getFaultKind(int index) const;
    Q_INVOKABLE int getFaultDirection(int index) const;
    Q_INVOKABLE double getFaultZRange(int index) const;
    Q_INVOKABLE double getFaultZAngle(int index) const;
    Q_INVOKABLE double getFaultZReal(int index) const;
    Q_INVOKABLE double getFaultZImage(int index) const;
    // The trip of the lowest-numbered input that recorded one: its time
    // (NaN for none) and its number 1..4 (-1 for none).
    Q_INVOKABLE double getActionTimes(int index) const;
    Q_INVOKABLE int getBinaryInputIndex(int index) const;

    // ---- Progress and verdict ----------------------------------------------------------------
    // A bad index reads 0.
    Q_INVOKABLE int getTestStates(int index) const;
    // A completed point whose fault began with the relay not reset (it fails).
    Q_INVOKABLE bool getRelayNotReset(int index) const;
    // The trip-time cell's word in place of a time (tripTimeWord).
    Q_INVOKABLE QString getTripTimeWord(int index) const;
    // Judges the point (the edit point for a bad index), then its verdict.
    Q_INVOKABLE int getTestResults(int index);

    // ---- List --------------------------------------------------------------------------------
    Q_INVOKABLE void setActiveIndex(int index);
    // One copy of the edit point per ticked factor (0.70, 0.95, 1.05, 1.20;
    // one unchanged copy when none is ticked), while the list has room.
    Q_INVOKABLE void addPoint();
    Q_INVOKABLE void removePoint(int index);
    Q_INVOKABLE void clearPoint();

    // ---- Impedance factors (index clamped to 0..3) -------------------------------------------
    Q_INVOKABLE void setFactorChecked(int index, bool checked);
    Q_INVOKABLE bool getFactorChecked(int index) const;

    // ---- Auxiliary voltage UX (each recalculates every point) --------------------------------
    // Type 0..8 (custom, the multiples of U0).
    Q_INVOKABLE void setUXDefineType(int type);
    Q_INVOKABLE void setUXDefineRange(double value);
    Q_INVOKABLE void setUXDefineAngle(double value);
    Q_INVOKABLE int getUXDefineType() const;
    Q_INVOKABLE double getUXDefineRange() const;
    Q_INVOKABLE double getUXDefineAngle() const;

    // The trip inputs and outputs: ViewTripListModel.

    Q_INVOKABLE void setUpdateEnabled(bool enabled);
    Q_INVOKABLE bool getUpdateEnabled() const;

    // The base's refresh; on a new rated voltage or frequency every point is
    // recalculated, and a new rated frequency becomes the frequency of the
    // pre-fault, edit and list phasors.
    Q_INVOKABLE void updateDeviceConfig();

    // ---- ViewBaseModel hooks -----------------------------------------------------------------
    void doTestActive() override;
    void doUpdateVMToEnt(DATAType type, int subType) override;
    void appendTestSetting(QDomDocument* doc, QDomElement* body) override;
    void appendTestResult(QDomDocument* doc, QDomElement* body) override;
    bool serialize(bool save, QDomElement* element, QDomDocument* doc) override;
    QString listFieldLabel(const QString& key) const override;

    // The deviation a setting time allows: the larger of the relative and
    // the absolute tolerance (the absolute one on a tie).
    double deviationOf(double settingTime) const;
    // How long a point's fault plays: its fault time (setting time x factor 1
    // + factor 2), at least to the end of its window and the debounce after
    // it, so that a trip at the window's end is confirmed while it plays.
    double faultTimeOf(const ViewPointModel& p) const;

protected:
    ViewPointModel* point(int index) const;
    // The point at index, the edit point for any other index.
    const ViewPointModel* pointOrEdit(int index) const;
    // Calculates a point: its R and X, its fault phasors and the pre-fault
    // phasors. False (message shown, nothing written) when it cannot be solved.
    bool doComputer(ViewPointModel* target);
    // The edit point, then every point; false when one failed.
    bool recalculateAll();
    // A set-up or edit-point field: nothing when unchanged, else stored and
    // the edit point recalculated.
    template <typename T>
    void editSetting(T& field, T value);
    // The verdict of one point.
    void judge(ViewPointModel* target) const;
    void copyStatesFromEntity() override;
    void copyResultsFromEntity() override;
    void copyResetMarks();
    void completeEntityStates(const std::vector<int>& states) override;
    void untestStoppedPoints() override;
    void pushToEntity();
    static QString faultName(int kind);

    std::unique_ptr<ViewPointModel> tempPoint;

    double loadRanges[8];
    double loadAngles[8];
    double loadFrequencies[8];
    bool checkedFactors[4];
    DistanceType distanceKind = DISTANCE_TYPE_ICONSTANT;
    CTPositionType ctPosition = CT_POSITION_TYPE_LINE;
    PTPositionType ptPosition = PT_POSITION_TYPE_LINE;
    double faultCurrentRange;
    double faultVoltageRange;
    // The model's own copy of the rated values (hides the base's, which
    // updateDeviceConfig refreshes and compares with it).
    double rateVoltage;
    double rateFrequency;
    double loadCurrent = 0.0;
    double loadAngle = 0.0;
    RepairType repairKind = REPAIR_TYPE_KL;
    double repairFactor1 = 0.67;
    double repairFactor2 = 0.0;
    double outputTimeFactor1 = 1.0;
    double outputTimeFactor2 = 0.1;
    double timeErrAbs = 0.1;
    double timeErrRel = 5.0;
    bool updateEnabled = false;
    BaseModelUXDefine uxDefine;
};
