#pragma once

#include "BaseDataVector.h"

// Earth-return compensation factor of a line in one of three forms: the
// complex KL, the real ratios RE/RL and XE/XL, or the ratio Z0/Z1, with the
// setting and fault-loop impedance angles that the conversions need.
//
// With dataCalcPerlXexlEnable set and dataSeparateArcResistance clear
// ("mode A") the RE/RL and XE/XL ratios are properties of the line taken at
// the setting angle, and KL is re-evaluated at the fault-loop angle. Every
// other flag combination converts directly ("mode B").
class BaseDataRepairFactor
{
public:
    enum RepairType {
        REPAIR_TYPE_KL = 0,
        REPAIR_TYPE_RERL_XEXL = 1,
        REPAIR_TYPE_Z0Z1 = 2,
    };

    BaseDataRepairFactor() = default;
    BaseDataRepairFactor(const BaseDataRepairFactor&) = default;
    BaseDataRepairFactor& operator=(const BaseDataRepairFactor&) = default;

    void setValue(const BaseDataRepairFactor& src);

    // Copies in the target form; flags and angles unchanged.
    BaseDataRepairFactor toKL() const;
    BaseDataRepairFactor toRERLXEXL() const;
    BaseDataRepairFactor toZ0Z1() const;
    // Converts in place; a value outside the three forms changes nothing.
    void updateTo(RepairType type);
    // The KL form as (magnitude, angle).
    BaseDataVector toKLVector() const;

    // Conversions between the forms, angles in degrees. XE/XL is the largest
    // finite double when tan(faultAngle) is within 1e-7 of zero. Angles of
    // KL and Z0/Z1 results lie in (-180, 180]; a zero value has angle 0.
    static void repairKLToRERLXEXL(double faultAngle, double klRange, double klAngle,
                                   double& rxReRl, double& rxXeXl);
    static void repairRERLXEXLToKL(double faultAngle, double rxReRl, double rxXeXl,
                                   double& klRange, double& klAngle);
    static void repairKLToZ0Z1(double klRange, double klAngle, double& z0z1Range,
                               double& z0z1Angle);
    static void repairZ0Z1ToKL(double z0z1Range, double z0z1Angle, double& klRange,
                               double& klAngle);

    RepairType dataType = REPAIR_TYPE_KL;
    bool dataCalcPerlXexlEnable = false;
    bool dataSeparateArcResistance = false;
    double dataFactor1 = 1.0;
    double dataFactor2 = 0.0;
    double dataSettingAngle = 75.0;
    double dataShortAngle = 75.0;

private:
    bool modeA() const { return dataCalcPerlXexlEnable && !dataSeparateArcResistance; }
    // The factor in KL form: mode B converts directly, mode A takes the
    // ratios at the setting angle and re-evaluates KL at the fault angle.
    void klForm(double& range, double& angle) const;
    // A copy in form type: unless already in it, the KL form converted by
    // fromKL(klRange, klAngle, factor1, factor2).
    template <typename FromKL>
    BaseDataRepairFactor inForm(RepairType type, FromKL fromKL) const;
};
