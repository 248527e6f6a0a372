#include "BaseModelUXDefine.h"

namespace {

// The sqrt(3) of the definitions, a single-precision constant.
constexpr double SQRT3 = double(1.732f);

BaseDataPhaseValue scaled(BaseDataPhaseValue value, double factor, bool reversed)
{
    value.dataRange *= factor;
    if (reversed)
        value.dataAngle += 180.0;
    return value;
}

} // namespace

void BaseModelUXDefine::setValue(const BaseModelUXDefine& src)
{
    Define = src.Define;
    Reference = src.Reference;
    CustomPhase = src.CustomPhase;
}

BaseDataPhaseValue BaseModelUXDefine::compute(BaseDataPhaseValue phaseUA, BaseDataPhaseValue phaseUB,
                                              BaseDataPhaseValue phaseUC, bool setCustomPhase)
{
    Q_UNUSED(setCustomPhase)
    BaseDataPhaseValue ux = phaseUA;
    if (Define == Custom)
        return ux;

    BaseDataPhaseValue u0;
    if (Define >= PU0 && Define <= N3G3U0)
        BaseDataPhaseValue::zeroSequence(phaseUA, phaseUB, phaseUC, u0);
    switch (Define) {
    case PU0:
        ux = u0;
        break;
    case NU0:
        ux = scaled(u0, 1.0, true);
        break;
    case PG3U0:
        ux = scaled(u0, SQRT3, false);
        break;
    case NG3U0:
        ux = scaled(u0, SQRT3, true);
        break;
    case P3U0:
        ux = scaled(u0, 3.0, false);
        break;
    case N3U0:
        ux = scaled(u0, 3.0, true);
        break;
    case P3G3U0:
        ux = scaled(scaled(u0, 3.0, false), SQRT3, false);
        break;
    case N3G3U0:
        ux = scaled(scaled(u0, 3.0, false), SQRT3, true);
        break;
    case CNVA:
        ux.setVector(phaseUA.dataRange, phaseUA.dataAngle);
        break;
    case CNVB:
        ux.setVector(phaseUB.dataRange, phaseUB.dataAngle);
        break;
    case CNVC:
        ux.setVector(phaseUC.dataRange, phaseUC.dataAngle);
        break;
    case CNVAB:
        BaseDataPhaseValue::interphase(phaseUA, phaseUB, ux);
        break;
    case CNVBC:
        BaseDataPhaseValue::interphase(phaseUB, phaseUC, ux);
        break;
    case CNVCA:
        BaseDataPhaseValue::interphase(phaseUC, phaseUA, ux);
        break;
    default:
        break; // unknown definition: the copy of UA
    }

    auto lineAngle = [](const BaseDataPhaseValue& from, const BaseDataPhaseValue& to) {
        BaseDataPhaseValue line;
        BaseDataPhaseValue::interphase(from, to, line);
        return line.dataAngle;
    };
    switch (Reference) {
    case UA:
        ux.dataAngle += phaseUA.dataAngle;
        break;
    case UB:
        ux.dataAngle += phaseUB.dataAngle;
        break;
    case UC:
        ux.dataAngle += phaseUC.dataAngle;
        break;
    case UAB:
        ux.dataAngle += lineAngle(phaseUA, phaseUB);
        break;
    case UBC:
        ux.dataAngle += lineAngle(phaseUB, phaseUC);
        break;
    case UCA:
        ux.dataAngle += lineAngle(phaseUC, phaseUA);
        break;
    default:
        break;
    }

    ux.dataFrequency = phaseUA.dataFrequency;
    ux.formatAngle();
    CustomPhase = ux;
    return ux;
}

void BaseModelUXDefine::compute(BaseDataPhaseValue* fault, bool setCustomPhase)
{
    if (!fault)
        return;
    fault[3] = compute(fault[0], fault[1], fault[2], setCustomPhase);
}
