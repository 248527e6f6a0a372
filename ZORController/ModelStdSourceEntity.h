#pragma once

// Engine side of the standard-source test: eight steady phasors as a
// reference source, with no binary-input watch, no binary-output change and
// no trip recording.
//
// Locking and start checks as for ModelAlternateEntity: hold entityLock
// (recursive) across an edit and its formatLimitValue, and across a start or
// switch; checkOutputValues() false means the start fails (on an edit while
// running: end the run). updateToDriverValue never writes a non-finite value.

#include "ModelEntityCommon.h"

#include <QRecursiveMutex>

class ModelStdSourceEntity
{
public:
    using AOPortType = ModelEntity::AOPortType;

    static constexpr double kSteadyOutputTime = 36000.0;

    ModelStdSourceEntity() = default;
    ModelStdSourceEntity(const ModelStdSourceEntity&) = delete;
    ModelStdSourceEntity& operator=(const ModelStdSourceEntity&) = delete;

    mutable QRecursiveMutex entityLock;

    double outputRanges[8] = {};
    double outputAngles[8] = {};
    double outputFrequencies[8] = {};

    void switchToResetState();
    void updateToDriverValue();
    void updateToDriverStateCount();
    void updateFromDriverState();
    void formatLimitValue(double vmax, double imax);

    // False when an amplitude, angle or frequency is not finite.
    bool checkOutputValues() const;
    // Largest current amplitude of the channels IA..IX.
    double maxOutputCurrent() const;
};
