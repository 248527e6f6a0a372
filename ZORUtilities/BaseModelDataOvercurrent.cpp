#include "BaseModelDataOvercurrent.h"

#include <cmath>

namespace {

using M = BaseModelDataOvercurrent;
constexpr int UA = M::PORT_EARTHPHASE_TYPE_UA;
constexpr int UB = M::PORT_EARTHPHASE_TYPE_UB;
constexpr int UC = M::PORT_EARTHPHASE_TYPE_UC;
constexpr int UX = M::PORT_EARTHPHASE_TYPE_UX;
constexpr int IA = M::PORT_EARTHPHASE_TYPE_IA;
constexpr int IB = M::PORT_EARTHPHASE_TYPE_IB;
constexpr int IC = M::PORT_EARTHPHASE_TYPE_IC;
constexpr int IX = M::PORT_EARTHPHASE_TYPE_IX;

// The angle of the line value a - b.
double lineAngle(const BaseDataPhaseValue& a, const BaseDataPhaseValue& b)
{
    BaseDataPhaseValue line;
    BaseDataPhaseValue::interphase(a, b, line);
    return line.getAngle();
}

} // namespace

// Load currents first, then the balanced voltages.
void BaseModelDataOvercurrent::loadState(BaseDataPhaseValue* s) const
{
    const double f = rateFrequency;
    s[IA].setPhase(loadCurrent, 0.0 - loadAngle, f);
    s[IB].setPhase(loadCurrent, 240.0 - loadAngle, f);
    s[IC].setPhase(loadCurrent, 120.0 - loadAngle, f);
    s[IX].setPhase(0.0, 0.0, f);
    s[UA].setPhase(rateVoltage, 0.0, f);
    s[UB].setPhase(rateVoltage, 240.0, f);
    s[UC].setPhase(rateVoltage, 120.0, f);
    s[UX].setPhase(0.0, 0.0, f);
}

void BaseModelDataOvercurrent::compute(BaseDataPhaseValue* prefault, BaseDataPhaseValue* fault) const
{
    if (prefault)
        loadState(prefault);
    compute(fault);
}

void BaseModelDataOvercurrent::compute(BaseDataPhaseValue* s) const
{
    if (!s)
        return;
    computeDemand(s);
    // The limit holds for the magnitude: a negative range is a phasor turned
    // by 180 degrees and is cut as well, keeping its direction.
    for (int i : {IA, IB, IC}) {
        if (std::fabs(s[i].getRange()) > maxCurrent)
            s[i].setRange(std::copysign(maxCurrent, s[i].getRange()));
    }
}

void BaseModelDataOvercurrent::computeDemand(BaseDataPhaseValue* s) const
{
    if (!s)
        return;
    loadState(s);

    const double f = rateFrequency;
    const double E = rateVoltage;
    const double Ef = faultCurrent;
    const double phi = faultAngle;
    const double Vpn = faultVPNRange;
    const double Vpp = faultVPPRange;
    auto phase = [f](double range, double angle) { return BaseDataPhaseValue(range, angle, f); };
    // Two faulted voltages: the negated healthy phase plus and minus half the
    // line voltage at its balanced angle.
    auto halfSum = [&](double healthyAngle, double lineAngle) {
        return (phase(E, healthyAngle) + phase(Vpp, lineAngle)) / 2.0;
    };
    // Single-phase current on port p, returning in halves through q and r.
    auto singlePhase = [&](int p, int q, int r, double angle) {
        s[p].setVector(Ef, angle);
        s[q].setVector(Ef / 2.0, angle + 180.0);
        s[r].setVector(Ef / 2.0, angle + 180.0);
    };
    auto sequenceCurrents = [&](const BaseDataPhaseValue& zero, const BaseDataPhaseValue& negative) {
        BaseDataPhaseValue::phaseFromSequence(zero, phase(loadCurrent, loadAngle), negative, s[IA], s[IB], s[IC]);
    };

    switch (faultKind) {
    case FAULT_TYPE_A_E:
        s[UA].setRange(Vpn);
        s[IA].setVector(Ef, phi);
        s[IB].setRange(0.0);
        s[IC].setRange(0.0);
        break;
    case FAULT_TYPE_B_E:
        s[UB].setRange(Vpn);
        s[IA].setRange(0.0);
        s[IB].setVector(Ef, phi + 240.0);
        s[IC].setRange(0.0);
        break;
    case FAULT_TYPE_C_E:
        s[UC].setRange(Vpn);
        s[IA].setRange(0.0);
        s[IB].setRange(0.0);
        s[IC].setVector(Ef, phi + 120.0);
        break;
    case FAULT_TYPE_A_B: {
        const double theta = lineAngle(s[UA], s[UB]);
        s[UA] = halfSum(-60.0, 30.0);
        s[UB] = halfSum(-60.0, -150.0);
        s[IA].setVector(Ef, phi + theta);
        s[IB].setVector(Ef, phi + theta + 180.0);
        s[IC].setVector(0.0, theta);
        break;
    }
    case FAULT_TYPE_B_C: {
        const double theta = lineAngle(s[UB], s[UC]);
        s[UB] = halfSum(180.0, -90.0);
        s[UC] = halfSum(180.0, 90.0);
        s[IB].setVector(Ef, phi + theta);
        s[IC].setVector(Ef, phi + theta + 180.0);
        s[IA].setVector(0.0, theta);
        break;
    }
    case FAULT_TYPE_C_A: {
        const double theta = lineAngle(s[UC], s[UA]);
        s[UC] = halfSum(60.0, 150.0);
        s[UA] = halfSum(60.0, -30.0);
        s[IC].setVector(Ef, phi + theta);
        s[IA].setVector(Ef, phi + theta + 180.0);
        s[IB].setVector(0.0, theta);
        break;
    }
    case FAULT_TYPE_A_B_C:
        s[UA].setRange(Vpn);
        s[UB].setRange(Vpn);
        s[UC].setRange(Vpn);
        s[IA].setVector(Ef, phi);
        s[IB].setVector(Ef, phi + 240.0);
        s[IC].setVector(Ef, phi + 120.0);
        break;
    case FAULT_TYPE_2I:
        s[UA].setRange(Vpn);
        s[UB].setRange(Vpn);
        s[UC].setRange(Vpn);
        sequenceCurrents(phase(0.0, 0.0), phase(Ef, phi));
        break;
    case FAULT_TYPE_3I0:
        s[UA].setRange(Vpn);
        sequenceCurrents(phase(Ef / 3.0, phi), phase(0.0, 0.0));
        break;
    case FAULT_TYPE_A:
        s[UA].setRange(Vpn);
        singlePhase(IA, IB, IC, phi);
        break;
    case FAULT_TYPE_B:
        s[UB].setRange(Vpn);
        singlePhase(IB, IA, IC, phi + 240.0);
        break;
    case FAULT_TYPE_C:
        s[UC].setRange(Vpn);
        singlePhase(IC, IA, IB, phi + 120.0);
        break;
    default:
        break;
    }

    if (!faultVPEnable) {
        for (int u : {UA, UB, UC})
            s[u].setPhase(0.0, 0.0, f);
    }
}
