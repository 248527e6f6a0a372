#pragma once

// Engine side of the DC test: steady DC outputs on the eight channels, or an
// automatic ramp of the amplitude of one channel or group, with the trip
// recording and the STOP / RETURN / CONTINUE behaviour of the AC entity. Only
// amplitudes are sent (angle 90, frequency 0); with a digital power amplifier
// the IA current is driven on IA and IC in opposition (IB off). Fields,
// locking and start checks: ModelActionRampEntity (amplitude only: angles and
// frequencies are not sent nor checked).

#include "ModelActionRampEntity.h"

class ModelDirectEntity : public ModelActionRampEntity
{
public:
    ModelDirectEntity();

    qint32 faultActionReturnStates[4] = {-1, -1, -1, -1};   // kept; not used

    void updateToDriverValue();
    // Largest current amplitude of the state being output, as the channels
    // carry it (digital amplifier: IA on IA and IC, IB off).
    double maxOutputCurrent() const;
};
