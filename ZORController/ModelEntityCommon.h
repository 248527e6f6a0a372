#pragma once

#include <QtGlobal>

#include <cmath>
#include <limits>

// Enumerations shared by the module entities (same values as the driver's
// COMMTriggerType, COMMLinkStateType and COMMBILogicType) and small numeric
// helpers. Entities bring the type names in with `using X = ModelEntity::X;`;
// the enumerators are reached as ModelEntity::NAME. The underlying type is
// fixed, so a value outside the list (from a file or the network) is a valid
// value that the entities treat as unknown rather than undefined behaviour.
namespace ModelEntity {

// Channels 0-3 are voltages, 4-7 currents.
enum AOPortType : qint32 {
    AO_PORT_TYPE_UA = 0,
    AO_PORT_TYPE_UB = 1,
    AO_PORT_TYPE_UC = 2,
    AO_PORT_TYPE_UX = 3,
    AO_PORT_TYPE_IA = 4,
    AO_PORT_TYPE_IB = 5,
    AO_PORT_TYPE_IC = 6,
    AO_PORT_TYPE_IX = 7
};

// How a state ends.
enum AOTriggerType : qint32 {
    AO_TRIGGER_TYPE_TIME = 0,
    AO_TRIGGER_TYPE_BINARY = 1,
    AO_TRIGGER_TYPE_TIME_BINARY = 2,
    AO_TRIGGER_TYPE_KEY_PRESS = 3,
    AO_TRIGGER_TYPE_GPS = 4
};

// Progress of a state or point.
enum AOTestStateType : qint32 {
    AO_STATE_TYPE_INITING = 0,
    AO_STATE_TYPE_RUNNNING = 1,
    AO_STATE_TYPE_COMPLETED = 2
};

// How a state joins the previous one.
enum AOLinkStateType : qint32 {
    AO_LINKSTATE_TYPE_CONTINUE = 0,
    AO_LINKSTATE_TYPE_INITIATE = 1
};

// How binary inputs combine.
enum AOBILogicType : qint32 {
    AO_BILOGIC_TYPE_OR = 0,
    AO_BILOGIC_TYPE_AND = 1
};

// What a trip does (AC, DC, harmonic).
enum FaultActionType : qint32 {
    ACTION_TYPE_STOP = 0,
    ACTION_TYPE_RETURN = 1,
    ACTION_TYPE_CONTINUE = 2
};

enum RampItemType : qint32 {
    RAMP_ITEM_TYPE_RANGE = 0,
    RAMP_ITEM_TYPE_ANGLE = 1,
    RAMP_ITEM_TYPE_FREQUENCY = 2
};

// Port groups a ramp moves.
enum RampPortType : qint32 {
    RAMP_PORT_TYPE_UA = 0,
    RAMP_PORT_TYPE_UB = 1,
    RAMP_PORT_TYPE_UC = 2,
    RAMP_PORT_TYPE_UX = 3,
    RAMP_PORT_TYPE_UAUB = 4,
    RAMP_PORT_TYPE_UBUC = 5,
    RAMP_PORT_TYPE_UCUA = 6,
    RAMP_PORT_TYPE_UAUBUC = 7,
    RAMP_PORT_TYPE_IA = 8,
    RAMP_PORT_TYPE_IB = 9,
    RAMP_PORT_TYPE_IC = 10,
    RAMP_PORT_TYPE_IX = 11,
    RAMP_PORT_TYPE_IAIB = 12,
    RAMP_PORT_TYPE_IBIC = 13,
    RAMP_PORT_TYPE_ICIA = 14,
    RAMP_PORT_TYPE_IAIBIC = 15
};

// Channels of a channel or channel group, in group order (UCUA is 2, 0;
// ICIA is 6, 4). Returns the count, 0 for a value outside the enumeration.
inline int rampPortChannels(int portType, int channels[3])
{
    static const int table[16][4] = {
        {1, 0, 0, 0}, {1, 1, 0, 0}, {1, 2, 0, 0}, {1, 3, 0, 0},
        {2, 0, 1, 0}, {2, 1, 2, 0}, {2, 2, 0, 0}, {3, 0, 1, 2},
        {1, 4, 0, 0}, {1, 5, 0, 0}, {1, 6, 0, 0}, {1, 7, 0, 0},
        {2, 4, 5, 0}, {2, 5, 6, 0}, {2, 6, 4, 0}, {3, 4, 5, 6},
    };
    if (portType < 0 || portType > 15)
        return 0;
    const int count = table[portType][0];
    for (int k = 0; k < count; ++k)
        channels[k] = table[portType][k + 1];
    return count;
}

// Action values of the channels of one ramped group (AC, DC, harmonic, power
// swing): portCnt valid entries in group order, 0 = nothing recorded.
struct faultActionValStruct
{
    qint32 portCnt = 0;
    double actionVal[3] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::quiet_NaN()};
};

// Folds an angle into [0, 360) arithmetically, so any finite magnitude
// takes constant time. A non-finite angle comes back unchanged; callers
// that must not output it check with isFiniteValue first.
inline double foldAngle360(double angle)
{
    if (!std::isfinite(angle))
        return angle;
    double value = std::fmod(angle, 360.0);
    if (value < 0.0)
        value += 360.0;
    if (value >= 360.0) // a tiny negative remainder rounds up to 360
        value = 0.0;
    return value + 0.0;
}

// The folded angle as the driver record holds it: in [0, 360) after the
// rounding to float too; a non-finite angle gives 0.
inline float foldAngle360f(double angle)
{
    if (!std::isfinite(angle))
        return 0.0f;
    const float value = float(foldAngle360(angle));
    return value >= 360.0f ? 0.0f : value;
}

inline bool isFiniteValue(double value)
{
    return std::isfinite(value);
}

// Finite and representable in the driver record's float fields.
inline bool isFiniteFloat(double value)
{
    return std::isfinite(value) && std::fabs(value) <= double(std::numeric_limits<float>::max());
}

} // namespace ModelEntity
