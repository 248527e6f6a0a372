#pragma once

// The view model of the energy-meter accuracy test ("ZOR.ViewEnergyModel"
// 1.0, module folder "Energy", test type TEST_ENERGY).
//
// A test point is one operating condition of the meter: voltage, current,
// frequency, the angle by which the currents lag (or its cos / sin), the
// whole number of meter pulses to count. From the point, the meter kind
// (active, reactive, apparent), its connection (single phase, three-phase
// four-wire, three-phase three-wire) and the secondary meter constant the
// model derives the power the outputs deliver, the energy the counted pulses
// stand for, the time they take and the output phasors. At a start every
// point becomes one state of the engine's ModelEnergyEntity; the engine
// counts the meter's pulses and measures the time they took and the energy
// delivered meanwhile. The meter's error is (registered - delivered) /
// delivered, signed, judged by its magnitude against `precision`.
//
// Power of a point, U = voltage, I = current, phi = powerAngle, with
// k = 1 (single phase), 3 (3P4W), sqrt(3) (3P3W):
//   active P = k U I cos phi, reactive Q = k U I sin phi, apparent S = k U I.
// In 3P3W the voltage is the meter's line-to-line voltage: UA at 0 deg and
// UC at 60 deg with UB at 0 V give three line voltages of that size, and the
// two measuring elements (UA and UC against B) see sqrt(3) U I cos phi.
//
// A point the instrument cannot run is refused when it is added and at
// start, with a message naming it and the limit: outputs beyond the
// device's largest voltage or current; nothing to count (no positive power,
// as a reactive meter at a capacitive angle, or no pulse); a count that
// cannot finish within the 2^32 ticks of 125 MHz (34.36 s) the period
// counter holds from the set-up (its pulses plus the one that opens the
// count, at its power).
//
// The list (ViewPointList, traits ViewPointLists::energy): at most 32
// points, one entity state per point, the edit point (tempPoint) that the
// point setters change and addPoint copies.
//
// Parameter file body and report tables: ViewEnergyModelFile.cpp.

#include "ModelEnergyEntity.h"
#include "ViewBaseModel.h"
#include "ViewPointList.h"

#include <memory>

class ViewEnergyModel : public ViewPointListModel
{
    Q_OBJECT

public:
    enum LoadType : qint32 {
        Perceptual = 0,
        Capacity = 1,
    };
    enum MeterType : qint32 {
        Power_Active = 0,
        Power_Reactive = 1,
        Power_Apparent = 2,
    };
    enum MeasureMeterType : qint32 {
        Measure_Four = 0,
        Measure_Three = 1,
    };
    enum OrientationType : qint32 {
        Import = 0,
        Export = 1,
        Import_export = 2,
    };
    enum PulseType : qint32 {
        Edge_Rising = 0,
        Edge_Falling = 1,
    };
    Q_ENUM(LoadType)
    Q_ENUM(MeterType)
    Q_ENUM(MeasureMeterType)
    Q_ENUM(OrientationType)
    Q_ENUM(PulseType)

    // Seconds the instrument can time one count: 2^32 ticks of 125 MHz.
    static constexpr double kMaxCountSeconds = ModelEnergyEntity::kPulseCountSeconds;
    // Pulses one count may ask for (the engine's 16-bit counter).
    static constexpr double kMaxPulses = 65535.0;

    // One test point.
    class ViewPointModel : public ViewPointRecord
    {
    public:
        ViewPointModel();
        // Every field, outputs, state and result included.
        void CopyFrom(const ViewPointModel& src);
        // Amplitudes and angles 0, every output frequency the point's.
        void initiate();
        // No pulses, energy, time or error measured.
        void clearResults() override;
        void setPowerFactor(MeterType meter, double pf);
        void setPowerAngle(MeterType meter, double angle);
        void setLoadKind(MeterType meter, int kind);
        void calculateOutput(MeasureMeterType measure, bool single);
        // The power of the point for a meter kind and connection (W, var, VA);
        // 0 at an angle that gives none, rounding aside.
        double power(MeterType meter, MeasureMeterType measure, bool single) const;
        void serialize(bool save, QDomElement* element, QDomDocument* doc) override;

        double outputRanges[8];
        double outputAngles[8];
        double outputFrequencies[8];
        double powerFactor = 1.0;
        double powerAngle = 0.0;
        LoadType loadKind = Perceptual;
        double voltage = 100.0;
        double current = 5.0;
        double frequency = 50.0;
        double settingPulse = 5.0;
        double settingEnergy = 0.0;
        double settingTime = 0.0;
        double actualPulse = 0.0;
        double actualEnergy = 0.0;
        double actualTime = 0.0;
        double givenCount = 0.0;
        double settingDev = 1.0;
        double actualDev = 0.0;
        AOTestResultType testResult = AO_Result_TYPE_NONE;

    private:
        // A negative factor leaves nothing to count.
        void afterFactorChange();
    };

    explicit ViewEnergyModel(QObject* parent = nullptr);
    ~ViewEnergyModel() override;

    // ---- Start -----------------------------------------------------------------------
    // Every point evaluated first. False, with nothing sent, while a run is
    // in progress, with an empty list, when a point cannot be run (see the
    // head of this file; the message names it and the limit), or (the
    // message says why) when the driver is not initialised or the power
    // stage is too hot. On true
    // the page's exit stays disabled until the engine reports the run state.
    Q_INVOKABLE bool testStart();

    // ---- Edit point (each does nothing for an unchanged value) ---------------------------
    Q_INVOKABLE void setCurrent(double value);
    Q_INVOKABLE void setFrequency(double value);
    // Whole numbers 1..65535 only; anything else keeps the value.
    Q_INVOKABLE void setSettingPulse(double value);
    Q_INVOKABLE void setSettingDev(double value);
    // L-N and L-L as the connection shows them: in 3P3W the stored voltage
    // is the line-to-line one, elsewhere the line-to-neutral one.
    Q_INVOKABLE void setVoltageLN(double value);
    Q_INVOKABLE void setVoltageLL(double value);
    // -1..1 only.
    Q_INVOKABLE void setPowerFactor(double value);
    Q_INVOKABLE void setPowerAngle(double value);
    Q_INVOKABLE void setLoadKind(int kind);

    // ---- Meter and transformer set-up -----------------------------------------------------
    Q_INVOKABLE void setMeterKind(int kind);
    Q_INVOKABLE int getMeterKind() const;
    Q_INVOKABLE void setMeasureMeterKind(int kind);
    Q_INVOKABLE int getMeasureMeterKind() const;
    Q_INVOKABLE void setSingleEnable(bool enable);
    Q_INVOKABLE bool getSingleEnable() const;
    Q_INVOKABLE void setOrientationKind(int kind);
    Q_INVOKABLE int getOrientations() const;
    Q_INVOKABLE void setPulseKind(int kind);
    Q_INVOKABLE int getPulseKinds() const;
    // The constants and ratings follow one another (see the rules in the .cpp).
    Q_INVOKABLE void setPrimaryPulseKWH(double value);
    Q_INVOKABLE void setSecondaryPulseKWH(double value);
    Q_INVOKABLE void setPrimaryCT(double value);
    Q_INVOKABLE void setPrimaryPT(double value);
    Q_INVOKABLE void setSecondaryCT(double value);
    Q_INVOKABLE void setSecondaryPT(double value);
    Q_INVOKABLE double getPrimaryPulseKWH() const;
    Q_INVOKABLE double getSecondaryPulseKWH() const;
    Q_INVOKABLE double getPrimaryKWHPulse() const;
    Q_INVOKABLE double getSecondaryKWHPulse() const;
    Q_INVOKABLE double getPrimaryCT() const;
    Q_INVOKABLE double getPrimaryPT() const;
    Q_INVOKABLE double getSecondaryCT() const;
    Q_INVOKABLE double getSecondaryPT() const;
    Q_INVOKABLE void setHoldTime(double value);
    Q_INVOKABLE double getHoldTime() const;
    Q_INVOKABLE void setPulseCount(double value);
    Q_INVOKABLE double getPulseCount() const;
    Q_INVOKABLE void setPrecision(double value);
    Q_INVOKABLE double getPrecision() const;
    Q_INVOKABLE void setPulseConst(double value);
    Q_INVOKABLE double getPulseConst() const;
    Q_INVOKABLE void setStartTime(double value);
    Q_INVOKABLE double getStartTime() const;
    Q_INVOKABLE void setHotTime(double value);
    Q_INVOKABLE double getHotTime() const;
    Q_INVOKABLE void setLocalPulseEnable(bool enable);
    Q_INVOKABLE bool getLocalPulseEnable() const;
    // The largest voltage the "L-N" and "L-L" boxes take: the device's
    // largest output as the connection shows it.
    Q_INVOKABLE double getMaxVoltageLN() const;
    Q_INVOKABLE double getMaxVoltageLL() const;
    // False when the edit point's angle is exactly 0, 90 or 180 degrees.
    Q_INVOKABLE bool getLoadKindEnable() const;

    // ---- Point getters (an index outside the list reads the edit point) ------------------
    Q_INVOKABLE double getCurrent(int index) const;
    Q_INVOKABLE double getFrequency(int index) const;
    Q_INVOKABLE double getVoltageLN(int index) const;
    Q_INVOKABLE double getVoltageLL(int index) const;
    Q_INVOKABLE double getPowerFactor(int index) const;
    Q_INVOKABLE double getPowerAngle(int index) const;
    Q_INVOKABLE double getSettingPulse(int index) const;
    Q_INVOKABLE double getSettingEnergy(int index) const;
    Q_INVOKABLE double getSettingTime(int index) const;
    Q_INVOKABLE double getActualPulse(int index) const;
    Q_INVOKABLE double getActualEnergy(int index) const;
    Q_INVOKABLE double getActualTime(int index) const;
    Q_INVOKABLE double getGivenCount(int index) const;
    Q_INVOKABLE double getSettingDev(int index) const;
    Q_INVOKABLE double getActualDev(int index) const;
    Q_INVOKABLE int getLoadKind(int index) const;
    // port outside 0..7 reads 0.
    Q_INVOKABLE double getOutputRange(int index, int port) const;
    Q_INVOKABLE double getOutputAngle(int index, int port) const;
    Q_INVOKABLE double getOutputFrequency(int index, int port) const;

    // ---- Progress and verdict ----------------------------------------------------------------
    Q_INVOKABLE int getTestStates(int index) const;
    // Evaluates the point (the edit point for a bad index), then its verdict.
    Q_INVOKABLE int getTestResults(int index);
    // Evaluates the edit point and every point.
    Q_INVOKABLE void doComputer();

    // ---- List --------------------------------------------------------------------------------
    Q_INVOKABLE void setActiveIndex(int index);
    // A copy of the edit point, evaluated, with nothing measured; refused
    // (message) when it cannot be run (see the head of this file).
    Q_INVOKABLE void addPoint();
    Q_INVOKABLE void removePoint(int index);
    Q_INVOKABLE void clearPoint();

    // ---- ViewBaseModel hooks -----------------------------------------------------------------
    void doTestActive() override;
    // Clears what the last run measured, then the frame's start.
    void doSwitchToStartState() override;
    void doUpdateVMToEnt(DATAType type, int subType) override;
    void appendTestSetting(QDomDocument* doc, QDomElement* body) override;
    void appendTestResult(QDomDocument* doc, QDomElement* body) override;
    bool serialize(bool save, QDomElement* element, QDomDocument* doc) override;
    QString listFieldLabel(const QString& key) const override;

    // Seconds from the set-up of a point's count to its end: its pulses and
    // the one that opens the count, at its power (0 without power).
    static double countSeconds(const ViewPointModel& p);

protected:
    ViewPointModel* point(int index) const;
    const ViewPointModel* pointOrEdit(int index) const;
    // Power, setting energy and time, error, verdict and phasors of one point.
    void calculate(ViewPointModel* target) const;
    // actualDev from the point's setting and measured energy; whether
    // anything was measured.
    static bool measureError(ViewPointModel* target);
    // Why an evaluated point cannot be run (number from 1; 0 for the edit
    // point), or an empty text.
    QString pointRefusal(int number, const ViewPointModel& p) const;
    // The message for a point whose count cannot be timed.
    QString countLimitText(int number, const ViewPointModel& p) const;
    void applyPulseRules();
    // A CT or PT rating: stored, then the primary constant derived again.
    void setRating(double& field, double value);
    double transformerRatio() const;
    bool threeWire() const;
    QString unitWord() const;
    void pushToEntity();
    void copyStatesFromEntity() override;
    void completeEntityStates(const std::vector<int>& states) override;
    void untestStoppedPoints() override;

    MeterType meterKind = Power_Active;
    double primaryCT = 1.0;
    double primaryPT = 110.0;
    double secondaryCT = 1.0;
    double secondaryPT = 110.0;
    double primaryPulseKWH = 0.0;
    double secondaryPulseKWH = 0.0;
    double primaryKWHPulse = 0.0;
    double secondaryKWHPulse = 0.0;
    MeasureMeterType measureMeterKind = Measure_Four;
    bool singleEnable = false;
    OrientationType orientationKind = Import_export;
    PulseType pulseKind = Edge_Rising;
    double holdTime = 10.0;
    double pulseCount = 1.0;
    double precision = 1.0;
    double pulseConst = 3600.0;
    bool localPulseEnable = false;
    double startTime = 5.0;
    double hotTime = 10.0;
    std::unique_ptr<ViewPointModel> tempPoint;
};
