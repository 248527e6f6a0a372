// The four fault solvers of BaseModelDataDistance. Each solves one base loop
// with the vector arithmetic of BaseDataVector and maps it onto the other
// loops of its family by permuting the phases and turning every angle.

#include "BaseModelDataDistance.h"

#include <array>
#include <cmath>
#include <limits>

namespace {

using Model = BaseModelDataDistance;
using State = std::array<BaseDataPhaseValue, Model::PORT_COUNT>;

constexpr int UA = Model::PORT_EARTHPHASE_TYPE_UA;
constexpr int UB = Model::PORT_EARTHPHASE_TYPE_UB;
constexpr int UC = Model::PORT_EARTHPHASE_TYPE_UC;
constexpr int IA = Model::PORT_EARTHPHASE_TYPE_IA;
constexpr int IB = Model::PORT_EARTHPHASE_TYPE_IB;
constexpr int IC = Model::PORT_EARTHPHASE_TYPE_IC;

constexpr double PI = 3.141592653589793;
constexpr double DMAX = std::numeric_limits<double>::max();
// Results beyond this (V or A) are taken as no solution by the phase-earth and
// phase-phase solvers.
constexpr double GUARD = 500000.0;
// Each reduction pass takes 10 % off the held quantity; after this many passes
// (0.9^1000 is about 1e-46) it is as good as zero and the loop stops.
constexpr int MAX_CUTS = 1000;
// The vector quotient floors the squared divisor here, so below it there is
// no quotient at all.
constexpr double QUOTIENT_FLOOR = 1e-13;
// A sum smaller than this fraction of its terms is taken as cancelled.
constexpr double CANCEL_RATIO = 1e-12;

const BaseDataVector ONE(1.0, 0.0);
const BaseDataVector OP_A(1.0, 120.0);  // a
const BaseDataVector OP_A2(1.0, 240.0); // a^2
const BaseDataVector OP_M(1.0, 180.0);  // -1
const BaseDataVector OP_N(1.0, 300.0);

// Whether d can be divided by: finite, above the quotient floor and not a
// cancellation of terms whose magnitudes add up to scale.
bool usable(const BaseDataVector& d, double scale = 0.0)
{
    const double re = d.getReal();
    const double im = d.getImage();
    const double squared = re * re + im * im;
    if (!std::isfinite(squared) || squared <= QUOTIENT_FLOOR)
        return false;
    return std::sqrt(squared) > CANCEL_RATIO * scale;
}

State copyOf(const BaseDataPhaseValue* values)
{
    State state;
    for (int i = 0; i < Model::PORT_COUNT; ++i)
        state[i] = values[i];
    return state;
}

void store(const State& state, BaseDataPhaseValue* values)
{
    for (int i = 0; i < Model::PORT_COUNT; ++i)
        values[i] = state[i];
}

// Rated voltages at 0, 240, 120 degrees and the load currents turned by
// loadTurn from them, all at the rated frequency.
void setStart(State& s, const Model& m, double loadTurn)
{
    static const double turns[3] = {0.0, 240.0, 120.0};
    for (int i = 0; i < 3; ++i) {
        s[UA + i].setPhase(m.rateVoltage, turns[i], m.rateFrequency);
        s[IA + i].setPhase(m.loadCurrent, turns[i] + loadTurn, m.rateFrequency);
    }
}

// The fault impedance as the relay sees it: turned round for a reverse fault.
BaseDataVector faultImpedance(const Model& m)
{
    BaseDataVector z = m.shortImpedance;
    if (m.faultDirection == Model::DIRECTION_TYPE_NEGATIVE)
        z.setAngle(z.getAngle() + 180.0);
    return z;
}

// The angles and flags the earth-factor conversion needs, from the model.
void prepareFactor(BaseDataRepairFactor& factor, const Model& m)
{
    factor.dataSettingAngle = m.settingImpedance.getAngle();
    factor.dataShortAngle = m.shortImpedance.getAngle();
    factor.dataSeparateArcResistance = m.separateArcResistance;
    factor.dataCalcPerlXexlEnable = m.calcPerlXexlEnable;
}

double currentTurn(const Model& m)
{
    return m.ctPosition == Model::CT_POSITION_TYPE_BUS ? 180.0 : 0.0;
}

// The turn of the base loop onto the fault's own loop: 0 for the first kind
// of a fault type (A-E, A-B, B-C-E), 240 for the second, 120 for the third.
// False for a kind of another type.
bool loopShift(Model::FaultType kind, Model::FaultType first, Model::FaultType second, Model::FaultType third,
               double& shift)
{
    shift = kind == first ? 0.0 : kind == second ? 240.0 : kind == third ? 120.0 : -1.0;
    return shift >= 0.0;
}

// Moves the base loop's values onto the loop turned by shift (0, 120 or 240)
// and normalises them; currents are turned by currentExtra more. Stores
// them into values; true.
bool finishLoop(State& s, double shift, double currentExtra, BaseDataPhaseValue* values)
{
    if (shift == 240.0) { // A <- C, B <- A, C <- B
        s[UA].swapValue(s[UC]);
        s[UB].swapValue(s[UC]);
        s[IA].swapValue(s[IC]);
        s[IB].swapValue(s[IC]);
    } else if (shift == 120.0) { // A <- B, B <- C, C <- A
        s[UA].swapValue(s[UB]);
        s[UB].swapValue(s[UC]);
        s[IA].swapValue(s[IB]);
        s[IB].swapValue(s[IC]);
    }
    for (int i = 0; i < 3; ++i) {
        s[UA + i].formatAngle(shift);
        s[IA + i].formatAngle(shift + currentExtra);
    }
    store(s, values);
    return true;
}

} // namespace

bool BaseModelDataDistance::faultFromDistancePE(BaseModelDataDistance& m, BaseDataPhaseValue* fault)
{
    if (!fault)
        return false;
    double shift = 0.0;
    if (!loopShift(m.faultKind, FAULT_TYPE_A_E, FAULT_TYPE_B_E, FAULT_TYPE_C_E, shift))
        return true;

    const double E = m.rateVoltage;
    const double f = m.rateFrequency;
    const double Il = m.loadCurrent;
    const double loadTurn = -m.loadAngle;
    const double Imax = m.limitCurrentRange;

    State s = copyOf(fault);
    setStart(s, m, loadTurn);

    prepareFactor(m.systemFactor, m);
    const BaseDataVector kS = m.systemFactor.toKLVector();
    prepareFactor(m.shortFactor, m);
    const BaseDataVector kL = m.shortFactor.toKLVector();
    const BaseDataVector Zf = faultImpedance(m);
    const BaseDataVector Zs = m.systemImpedance;

    // Arc term: with a separate arc resistance Rf (Zf split into a part at the
    // line angle and a resistive part) the loop holds Rf once, not (1 + kL) times.
    BaseDataVector R(0.0, 0.0);
    if (m.separateArcResistance) {
        const double phi = m.settingImpedance.getAngle();
        const double a = std::abs(phi);
        double range = DMAX;
        if (!(a < 1e-7 || std::abs(a - 180.0) < 1e-7 || std::abs(a - 360.0) < 1e-7))
            range = kL.getRange() * Zf.getRange() * std::sin((phi - Zf.getAngle()) * PI / 180.0)
                / std::sin(phi * PI / 180.0);
        R.setVector(range, kL.getAngle() - 180.0);
    }
    const BaseDataVector lineLoop = (kL + ONE) * Zf + R;
    const double lineScale = (kL.getRange() + 1.0) * Zf.getRange() + std::abs(R.getRange());

    switch (m.distanceKind) {
    case DISTANCE_TYPE_ICONSTANT: {
        auto place = [&](double current) {
            s[IA].setVector(current, 360.0 - lineLoop.getAngle());
            s[UA].setVector(s[IA] * lineLoop);
        };
        double current = m.faultCurrentRange;
        place(current);
        if (s[UA].getRange() > GUARD) {
            s[IA].setRange(0.0);
            s[UA].setRange(E);
        } else {
            for (int cut = 0; cut < MAX_CUTS && s[UA].getRange() - 0.9 * E > 1e-7; ++cut) {
                current *= 0.9;
                place(current);
            }
        }
        s[IA].addValue(Il, loadTurn, f);
        break;
    }
    case DISTANCE_TYPE_VCONSTANT: {
        if (!usable(lineLoop, lineScale))
            return false;
        auto place = [&](double voltage) {
            s[UA].setVector(voltage, 0.0);
            s[IA].setVector(s[UA] / lineLoop);
            s[IA].addValue(Il, loadTurn, f);
        };
        double voltage = m.faultVoltageRange;
        place(voltage);
        if (s[IA].getRange() > GUARD) {
            s[IA].setRange(Imax);
            s[UA].setRange(0.0);
        } else if (s[IA].getRange() > Imax && Il < Imax) {
            // Lower the voltage until the current fits; pointless when the
            // load alone reaches the limit.
            for (int cut = 0; cut < MAX_CUTS && s[IA].getRange() - Imax > 1e-8; ++cut) {
                voltage *= 0.9;
                place(voltage);
            }
        }
        break;
    }
    case DISTANCE_TYPE_ZCONSTANT: {
        const BaseDataVector loop = lineLoop + (kS + ONE) * Zs;
        if (!usable(loop, lineScale + (kS.getRange() + 1.0) * Zs.getRange()))
            return false;
        s[IA].setVector(BaseDataVector(E, 0.0) / loop);
        if (s[IA].getRange() > Imax)
            s[IA].setRange(Imax);
        s[UA].setVector(s[IA] * lineLoop);
        const BaseDataVector drop = s[IA] * kS * Zs;
        s[UB].setVector(s[UB] - drop);
        s[UC].setVector(s[UC] - drop);
        s[IA].addValue(Il, loadTurn, f);
        break;
    }
    default:
        break;
    }

    return finishLoop(s, shift, currentTurn(m), fault);
}

bool BaseModelDataDistance::faultFromDistancePP(BaseModelDataDistance& m, BaseDataPhaseValue* fault)
{
    if (!fault)
        return false;
    double shift = 0.0;
    if (!loopShift(m.faultKind, FAULT_TYPE_A_B, FAULT_TYPE_B_C, FAULT_TYPE_C_A, shift))
        return true;

    const double E = m.rateVoltage;
    const double f = m.rateFrequency;
    const double Il = m.loadCurrent;
    const double loadTurn = -m.loadAngle;
    const double Imax = m.limitCurrentRange;

    State s = copyOf(fault);
    setStart(s, m, loadTurn);
    const BaseDataVector Zf = faultImpedance(m);
    const BaseDataVector Zs = m.systemImpedance;
    const BaseDataVector uab = s[UA] - s[UB].getVector();
    const BaseDataPhaseValue halfUC = s[UC] * 0.5;
    const double phi = uab.getAngle() - Zf.getAngle();

    // Faulted voltages: half the healthy line voltage each, plus the drop to the fault.
    auto faultedVoltages = [&]() {
        s[UA].setVector(s[IA] * Zf - halfUC);
        s[UB].setVector(s[IB] * Zf - halfUC);
    };

    switch (m.distanceKind) {
    case DISTANCE_TYPE_ICONSTANT: {
        auto place = [&](double current) {
            s[IA].setVector(current, phi);
            s[IB].setVector(current, phi + 180.0);
            faultedVoltages();
        };
        double current = m.faultCurrentRange;
        place(current);
        if (s[UA].getRange() > GUARD) {
            s[IA].setRange(0.0);
            s[IB].setRange(0.0);
            s[UA].setRange(E);
            s[UB].setRange(E);
        } else {
            for (int cut = 0; cut < MAX_CUTS
                 && (s[UA].getRange() - 0.9 * E > 1e-8 || s[UB].getRange() - 0.9 * E > 1e-8);
                 ++cut) {
                current *= 0.9;
                place(current);
            }
        }
        // The load flows on in all three phases, so the fault adds no
        // residual current to a loop without earth.
        s[IA].addValue(Il, loadTurn, f);
        s[IB].addValue(Il, 240.0 + loadTurn, f);
        break;
    }
    case DISTANCE_TYPE_VCONSTANT: {
        const double z = Zf.getRange() < 1e-6 ? 1e-6 : Zf.getRange();
        auto place = [&](double voltage) {
            s[IA].setVector(BaseDataVector(voltage, phi) * (0.5 / z));
        };
        double voltage = m.faultVoltageRange;
        place(voltage);
        if (s[IA].getRange() > GUARD) {
            s[IA].setRange(Imax);
        } else if (s[IA].getRange() > Imax) {
            for (int cut = 0; cut < MAX_CUTS && s[IA].getRange() - Imax > 1e-7; ++cut) {
                voltage *= 0.9;
                place(voltage);
            }
        }
        s[IB].setVector(s[IA].getRange(), s[IA].getAngle() + 180.0);
        s[IC].setVector(0.0, 0.0);
        faultedVoltages();
        break;
    }
    case DISTANCE_TYPE_ZCONSTANT: {
        const BaseDataVector loop = Zf + Zs;
        if (!usable(loop, Zf.getRange() + Zs.getRange()))
            return false;
        s[IA].setVector(uab / (loop * 2.0));
        if (s[IA].getRange() > Imax)
            s[IA].setRange(Imax);
        s[IB].setVector(s[IA].getRange(), s[IA].getAngle() + 180.0);
        s[IC].setVector(0.0, 0.0);
        s[UA].setVector(s[UA] - s[IA] * Zs);
        s[UB].setVector(s[UB] - s[IB] * Zs);
        break;
    }
    default:
        break;
    }

    return finishLoop(s, shift, currentTurn(m), fault);
}

// Two-phase-earth loops from the symmetrical components of the base loop
// B-C-E. The constant-current and constant-voltage models find the source
// that gives the held quantity (with the line's earth factor); the loop is
// carried as its admittance Y = 1 / (Zf + source), so a held quantity that
// leaves no fault current needs no special case.
bool BaseModelDataDistance::faultFromDistancePPE(BaseModelDataDistance& m, BaseDataPhaseValue* fault)
{
    if (!fault)
        return false;
    double shift = 0.0;
    if (!loopShift(m.faultKind, FAULT_TYPE_B_C_E, FAULT_TYPE_C_A_E, FAULT_TYPE_A_B_E, shift))
        return true;

    const double Imax = m.limitCurrentRange;
    State s = copyOf(fault);
    setStart(s, m, 0.0);

    prepareFactor(m.systemFactor, m);
    const BaseDataVector kS = m.systemFactor.toKLVector();
    prepareFactor(m.shortFactor, m);
    const BaseDataVector kL = m.shortFactor.toKLVector();
    const BaseDataVector Zf = faultImpedance(m);
    const BaseDataVector Zs = m.systemImpedance;
    const BaseDataVector L(m.loadCurrent, -m.loadAngle);
    const BaseDataVector Ev(m.rateVoltage, 0.0);
    const double kLr = kL.getRange();

    const BaseDataVector K2 = kL * 2.0 + ONE;
    const BaseDataVector K3 = kL * 3.0 + ONE;
    const BaseDataVector K6 = kL * 6.0 + BaseDataVector(3.0, 0.0);
    const BaseDataVector P = (OP_A2 - OP_A) * K3 + OP_A2 - ONE;
    const BaseDataVector Q = (OP_A - OP_A2) * K3 + OP_A - ONE;
    const BaseDataVector S = (OP_N - OP_A2 + ONE) * K3 + ONE;

    auto heldOutputs = [&](const BaseDataVector& Y) {
        s[IA].setVector(L);
        s[IB].setVector(P * Y / K6 * Ev + L.rotate(240.0));
        s[IC].setVector(Q * Y / K6 * Ev + L.rotate(120.0));
        s[UA].setVector((K3 - kL * Zf * Y) / K2 * Ev + L * Zf);
        s[UB].setVector(S / K6 * Y * Zf * OP_A2 * Ev + L.rotate(-120.0) * Zf);
        s[UC].setVector(S / K6 * Y * Zf * OP_A * Ev + L.rotate(120.0) * Zf);
    };

    switch (m.distanceKind) {
    case DISTANCE_TYPE_ICONSTANT:
    case DISTANCE_TYPE_VCONSTANT:
        if (!usable(K6, 6.0 * kLr + 3.0) || !usable(K2, 2.0 * kLr + 1.0))
            return false;
        break;
    default:
        break;
    }

    switch (m.distanceKind) {
    case DISTANCE_TYPE_ICONSTANT: {
        // The held current is the whole current of the first faulted phase.
        const BaseDataVector F = P / K6;
        const BaseDataVector FE = F * Ev;
        if (!usable(FE))
            return false;
        const double currentAngle = F.getAngle() - Zf.getAngle();
        double current = m.faultCurrentRange;
        // One cut to 0.9 of the current that brings the faulted phases to
        // 0.9 E; a zero fault impedance never does.
        if (usable(Zf)) {
            const BaseDataVector bound = P / (S * Zf) * (L.rotate(60.0) * Zf + Ev * 0.9) + L * OP_A2;
            if (current - 0.9 * bound.getRange() > 1e-7)
                current = 0.9 * bound.getRange();
        }
        heldOutputs((BaseDataVector(current, currentAngle) - L.rotate(-120.0)) / FE);
        break;
    }
    case DISTANCE_TYPE_VCONSTANT: {
        // The held voltage is the line voltage between the faulted phases; a
        // zero fault impedance cannot hold one.
        const BaseDataVector G = (OP_A2 - OP_A) * S / K6;
        const BaseDataVector GZE = G * Zf * Ev;
        if (!usable(GZE))
            return false;
        const double voltageAngle = G.getAngle();
        const BaseDataVector loadTerm = (OP_A - OP_A2) * L * Zf;
        double voltage = m.faultVoltageRange;
        // One cut to 0.9 of the voltage that drives the current limit.
        if (std::isfinite(Imax) && Imax < DMAX && usable(P)) {
            const BaseDataVector bound =
                (BaseDataVector(Imax, voltageAngle) - L * OP_A) * K6 * G * Zf / P - loadTerm;
            if (voltage - 0.9 * bound.getRange() > 1e-7)
                voltage = 0.9 * bound.getRange();
        }
        heldOutputs((BaseDataVector(voltage, voltageAngle) + loadTerm) / GZE);
        break;
    }
    default: {
        // Constant source impedance Zs with its own earth factor kS.
        const BaseDataVector loop = Zf + Zs;
        if (!usable(loop, Zf.getRange() + Zs.getRange()))
            return false;
        const BaseDataVector km = (kL * Zf + kS * Zs) / loop;
        const double kmr = km.getRange();
        const BaseDataVector M2 = km * 2.0 + ONE;
        const BaseDataVector M3 = km * 3.0 + ONE;
        const BaseDataVector M6 = km * 6.0 + BaseDataVector(3.0, 0.0);
        const BaseDataVector Q3 = kS * 3.0 + ONE;
        if (!usable(M2, 2.0 * kmr + 1.0) || !usable(M6, 6.0 * kmr + 3.0))
            return false;
        const BaseDataVector Pm = (OP_A2 - OP_A) * M3 + OP_A2 - ONE;
        const BaseDataVector Qm = (OP_A - OP_A2) * M3 + OP_A - ONE;
        s[IA].setVector(L);
        s[IB].setVector(Pm / loop / M6 * Ev + L * OP_A2);
        s[IC].setVector(Qm / loop / M6 * Ev + L * OP_A);
        s[UA].setVector((K2 * Zf + Q3 * Zs) / loop / M2 * Ev);
        // Faulted phases: the drop along the line to the earthed fault.
        const BaseDataVector residual = s[IA] + s[IB].getVector() + s[IC].getVector();
        s[UB].setVector(Zf * (s[IB] + kL * residual));
        s[UC].setVector(Zf * (s[IC] + kL * residual));
        break;
    }
    }

    if (m.ctPosition == CT_POSITION_TYPE_BUS) {
        for (int i = IA; i <= IC; ++i)
            s[i].setVector(s[i] * OP_M);
    }
    return finishLoop(s, shift, 0.0, fault);
}

bool BaseModelDataDistance::faultFromDistancePPP(BaseModelDataDistance& m, BaseDataPhaseValue* fault)
{
    if (!fault)
        return false;
    if (m.faultKind != FAULT_TYPE_A_B_C)
        return true;

    const double Imax = m.limitCurrentRange;
    const double Vmax = m.limitVoltageRange;
    State s = copyOf(fault);
    setStart(s, m, 0.0);
    const BaseDataVector Zf = faultImpedance(m);
    const BaseDataVector Zs = m.systemImpedance;

    // The factor that brings a balanced fault within the device's current and
    // voltage limits, keeping the loop impedance.
    auto limitScale = [&](double current, double voltage) {
        double scale = 1.0;
        if (current > Imax)
            scale = Imax / current;
        if (voltage * scale > Vmax)
            scale = Vmax / voltage;
        return scale;
    };
    auto setBalanced = [&](double current, double voltage) {
        static const double turns[3] = {0.0, 240.0, 120.0};
        const double scale = limitScale(current, voltage);
        for (int i = 0; i < 3; ++i) {
            s[IA + i].setVector(current * scale, turns[i] - Zf.getAngle());
            s[UA + i].setVector(voltage * scale, turns[i]);
        }
    };

    switch (m.distanceKind) {
    case DISTANCE_TYPE_ICONSTANT:
        setBalanced(m.faultCurrentRange, m.faultCurrentRange * Zf.getRange());
        break;
    case DISTANCE_TYPE_VCONSTANT: {
        const double z = Zf.getRange() < 1e-8 ? 1e-8 : Zf.getRange();
        setBalanced(m.faultVoltageRange / z, m.faultVoltageRange);
        break;
    }
    case DISTANCE_TYPE_ZCONSTANT: {
        const BaseDataVector loop = Zf + Zs;
        if (!usable(loop, Zf.getRange() + Zs.getRange()))
            return false;
        const BaseDataVector share = Zf / loop;
        for (int i = 0; i < 3; ++i) {
            s[IA + i].setVector(s[UA + i] / loop);
            s[UA + i].setVector(s[UA + i] * share);
        }
        s[IB].setAngle(s[IA].getAngle() + 240.0);
        s[IC].setAngle(s[IA].getAngle() + 120.0);
        const double scale = limitScale(s[IA].getRange(), s[UA].getRange());
        for (int i = 0; i < 3; ++i) {
            s[IA + i].setRange(s[IA + i].getRange() * scale);
            s[UA + i].setRange(s[UA + i].getRange() * scale);
        }
        break;
    }
    default:
        break;
    }

    for (int i = 0; i < 3; ++i) {
        s[UA + i].formatAngle();
        s[IA + i].formatAngle(currentTurn(m));
    }
    store(s, fault);
    return true;
}
