#pragma once

// Engine side of the power-swing test: eight steady outputs, and on the
// channels of one channel or group a second sinusoid (amplitude a fraction of
// the steady amplitude, its own angle and frequency) that the driver
// superposes. Component 0 of the driver record carries the swing, component
// 1 the steady output. Runs until a complete trip or a stop; one action
// record (slot 0).
//
// Locking, start checks and the non-finite rule as for ModelAlternateEntity:
// hold entityLock (recursive) across an edit and its formatLimitValue, and
// across a start or switch; checkOutputValues() false means the start fails
// (on an edit while running: end the run).

#include "ModelEntityCommon.h"

#include <QRecursiveMutex>

class ModelOscillateEntity
{
public:
    using AOPortType = ModelEntity::AOPortType;
    using RampPortType = ModelEntity::RampPortType;
    using AOBILogicType = ModelEntity::AOBILogicType;
    using faultActionValStruct = ModelEntity::faultActionValStruct;

    static constexpr double kSteadyOutputTime = 36000.0;
    // The lowest swing frequency, Hz: a swing at 0 Hz is a DC offset.
    static constexpr double kMinSwingFrequency = 0.001;

    ModelOscillateEntity();
    ModelOscillateEntity(const ModelOscillateEntity&) = delete;
    ModelOscillateEntity& operator=(const ModelOscillateEntity&) = delete;

    mutable QRecursiveMutex entityLock;

    double outputRanges[8] = {};
    double outputAngles[8] = {};
    double outputFrequencies[8] = {};
    double oscillatePercent = 0.0;        // swing amplitude / steady amplitude (not clamped)
    double oscillateFrequency = 0.0;
    double oscillateAngle = 0.0;
    RampPortType oscillatePort = ModelEntity::RAMP_PORT_TYPE_UA;
    qint32 stateOutputBIStates[4] = {};
    qint32 stateOutputBOStates[4] = {};
    AOBILogicType stateBILogicTypes = ModelEntity::AO_BILOGIC_TYPE_OR;
    qint32 outputBOStates[4] = {};
    faultActionValStruct faultActionValues[4];
    double faultActionTimes[4];
    qint32 faultActionStates[4] = {-1, -1, -1, -1};   // two-bit change code
    bool lastState = false;

    void resetActionValues();
    void switchToResetState();
    void updateToDriverValue();
    void updateToDriverStateCount();
    void updateToDriverBOStates();
    void updateFromDriverState();
    // 0 when recorded (a complete report of input 0-3), -1 when ignored.
    int updateFromDriverAction(int statusTestStateIndex, int biflag, int index, float time);
    // Clamps the steady amplitudes only.
    void formatLimitValue(double vmax, double imax);
    // actionVal[k] = steady amplitude of channel k of the group x (percent + 1).
    void updateFaultActionValue(RampPortType portType, const double* outputArry,
                                faultActionValStruct& value) const;

    // False when a steady amplitude, angle or frequency, or the swing's
    // percent, angle or frequency (or a swing amplitude) is not finite, or
    // when a swing with an amplitude is slower than kMinSwingFrequency.
    bool checkOutputValues() const;
    // Largest current the channels IA..IX carry: steady plus swing amplitude
    // (the peak of the superposition) on the swinging channels.
    double maxOutputCurrent() const;
};
