#pragma once

#include "BaseDataComplex.h"
#include "BaseDataVector.h"

#include <QtGlobal>

// One phasor of an output or measured quantity: magnitude, angle in degrees
// and frequency in Hz. Arithmetic goes through BaseDataVector; a result that
// is a phase value carries the frequency of its left operand.
class BaseDataPhaseValue
{
public:
    BaseDataPhaseValue() = default;
    BaseDataPhaseValue(double range, double angle, double frequency);
    BaseDataPhaseValue(double range, double angle);
    BaseDataPhaseValue(const BaseDataVector& vector, double frequency);
    BaseDataPhaseValue(const BaseDataComplex& value, double frequency);
    BaseDataPhaseValue(const BaseDataPhaseValue&) = default;

    BaseDataPhaseValue& operator=(const BaseDataPhaseValue&) = default;
    // Range and angle from the operand, frequency 0.
    BaseDataPhaseValue& operator=(const BaseDataVector& vector);
    BaseDataPhaseValue& operator=(const BaseDataComplex& value);

    double getRange() const { return dataRange; }
    double getAngle() const { return dataAngle; }
    double getFrequency() const { return dataFrequency; }
    void setRange(double value) { dataRange = value; }
    void setAngle(double value) { dataAngle = value; }
    void setFrequency(double value) { dataFrequency = value; }

    // range * cos(angle), exactly 0 when the folded angle is +-90 or +-270.
    double getReal() const;
    // range * sin(angle), exactly 0 when the folded angle is +-180 or +-360.
    double getImage() const;
    // Replace one rectangular part; range and angle recomputed, frequency kept.
    void setReal(double value);
    void setImage(double value);

    BaseDataComplex getComplex() const;
    void setComplex(const BaseDataComplex& value);
    void setComplex(double real, double image);

    BaseDataVector getVector() const;
    void setVector(const BaseDataVector& vector);
    void setVector(double range, double angle);

    BaseDataPhaseValue getPhase() const { return *this; }
    void setPhase(const BaseDataPhaseValue& value);
    void setPhase(const BaseDataPhaseValue& value, double frequency);
    void setPhase(double range, double angle, double frequency);
    // Frequency kept.
    void setPhase(double range, double angle);

    void swapValue(BaseDataPhaseValue& src);
    // this = (range, angle, frequency) + this; the frequency becomes the argument's.
    void addValue(double range, double angle, double frequency);

    // Normalise (range, angle) in place with BaseDataUtility::formatVector,
    // after turning by offset; the frequency is untouched.
    void formatAngle();
    void formatAngle(double offset);

    // Line value phaseAB = A - B.
    static void interphase(BaseDataPhaseValue phaseA, BaseDataPhaseValue phaseB,
                           BaseDataPhaseValue& phaseAB);
    static void interphaseFromPhase(BaseDataPhaseValue phaseA, BaseDataPhaseValue phaseB,
                                    BaseDataPhaseValue phaseC, BaseDataPhaseValue& phaseAB,
                                    BaseDataPhaseValue& phaseBC, BaseDataPhaseValue& phaseCA);
    // Phase values without zero sequence from the three line values:
    // A = (UAB - UCA) / 3, B = (UBC - UAB) / 3, C = (UCA - UBC) / 3.
    static void phaseFromInterphase(BaseDataPhaseValue phaseUAB, BaseDataPhaseValue phaseUBC,
                                    BaseDataPhaseValue phaseUCA, BaseDataPhaseValue& phaseA,
                                    BaseDataPhaseValue& phaseB, BaseDataPhaseValue& phaseC);
    // A balanced set with line value UAB, each phase then shifted by U0.
    static void phaseFromInterphase(BaseDataPhaseValue phaseUAB, BaseDataPhaseValue phaseU0,
                                    BaseDataPhaseValue& phaseA, BaseDataPhaseValue& phaseB,
                                    BaseDataPhaseValue& phaseC);
    static void zeroSequence(BaseDataPhaseValue phaseA, BaseDataPhaseValue phaseB,
                             BaseDataPhaseValue phaseC, BaseDataPhaseValue& phase0);
    static void positiveSequence(BaseDataPhaseValue phaseA, BaseDataPhaseValue phaseB,
                                 BaseDataPhaseValue phaseC, BaseDataPhaseValue& phase1);
    static void negativeSequence(BaseDataPhaseValue phaseA, BaseDataPhaseValue phaseB,
                                 BaseDataPhaseValue phaseC, BaseDataPhaseValue& phase2);
    static void sequenceFromPhase(BaseDataPhaseValue phaseA, BaseDataPhaseValue phaseB,
                                  BaseDataPhaseValue phaseC, BaseDataPhaseValue& phase0,
                                  BaseDataPhaseValue& phase1, BaseDataPhaseValue& phase2);
    // Phases from the sequence components, frequency of phase0.
    static void phaseFromSequence(BaseDataPhaseValue phase0, BaseDataPhaseValue phase1,
                                  BaseDataPhaseValue phase2, BaseDataPhaseValue& phaseA,
                                  BaseDataPhaseValue& phaseB, BaseDataPhaseValue& phaseC);
    // Complex power U * conj(I), frequency of U.
    static void powerFromPhase(BaseDataPhaseValue phaseU, BaseDataPhaseValue phaseI,
                               BaseDataPhaseValue& power);
    // Current conj(S / U) with the frequency of S.
    static void currentFromPower(BaseDataPhaseValue power, BaseDataPhaseValue phaseU,
                                 BaseDataPhaseValue& phaseI);

    double dataRange = 0.0;
    double dataAngle = 0.0;
    double dataFrequency = 0.0;
};

BaseDataPhaseValue operator+(BaseDataPhaseValue left, BaseDataPhaseValue right);
BaseDataPhaseValue operator-(BaseDataPhaseValue left, BaseDataPhaseValue right);
BaseDataPhaseValue operator*(BaseDataPhaseValue left, BaseDataPhaseValue right);
BaseDataPhaseValue operator/(BaseDataPhaseValue left, BaseDataPhaseValue right);
BaseDataPhaseValue operator+(BaseDataPhaseValue left, double right);
BaseDataPhaseValue operator-(BaseDataPhaseValue left, double right);
BaseDataPhaseValue operator*(BaseDataPhaseValue left, double right);
BaseDataPhaseValue operator/(BaseDataPhaseValue left, double right);
BaseDataVector operator+(BaseDataPhaseValue left, BaseDataVector right);
BaseDataVector operator-(BaseDataPhaseValue left, BaseDataVector right);
BaseDataVector operator*(BaseDataPhaseValue left, BaseDataVector right);
BaseDataVector operator/(BaseDataPhaseValue left, BaseDataVector right);
BaseDataVector operator+(BaseDataVector left, BaseDataPhaseValue right);
BaseDataVector operator-(BaseDataVector left, BaseDataPhaseValue right);
BaseDataVector operator*(BaseDataVector left, BaseDataPhaseValue right);
BaseDataVector operator/(BaseDataVector left, BaseDataPhaseValue right);

// The eight phasors of a state the fault models compute, by port.
struct BaseModelPorts
{
    enum AOPortType : qint32 {
        PORT_EARTHPHASE_TYPE_UA = 0,
        PORT_EARTHPHASE_TYPE_UB = 1,
        PORT_EARTHPHASE_TYPE_UC = 2,
        PORT_EARTHPHASE_TYPE_UX = 3,
        PORT_EARTHPHASE_TYPE_IA = 4,
        PORT_EARTHPHASE_TYPE_IB = 5,
        PORT_EARTHPHASE_TYPE_IC = 6,
        PORT_EARTHPHASE_TYPE_IX = 7,
    };
    static constexpr int PORT_COUNT = 8;
};

// Per-phase extra settings (superimposed harmonic, magnitude and frequency
// ramps). Carried only; nothing here interprets the fields.
class BaseDataPhaseProperty
{
public:
    BaseDataPhaseProperty() = default;
    explicit BaseDataPhaseProperty(quint32 enables);
    BaseDataPhaseProperty(const BaseDataPhaseProperty&) = default;
    BaseDataPhaseProperty& operator=(const BaseDataPhaseProperty&) = default;

    void setValue(const BaseDataPhaseProperty& src);

    quint32 dataEnables = 0;
    double dataHarmRange = 0.0;
    double dataHarmAngle = 0.0;
    double dataHarmFrequency = 0.0;
    double dataDrdtSlipValue = 0.0;
    double dataDrdtStopValue = 0.0;
    double dataDfdtSlipValue = 0.0;
    double dataDfdtStopValue = 0.0;
};
