#pragma once

// Energy-meter view-model tests: a view of the model's points, the engine's
// energy entity, and the fixture of the tests without an instrument.

#include "../viewmodel/ViewModelTestSupport.h"

#include "ModelEnergyEntity.h"
#include "ViewEnergyModel.h"

namespace emtest {

using VM = ViewEnergyModel;

class EnergyModel : public ViewEnergyModel
{
public:
    using ViewEnergyModel::point;
    using ViewEnergyModel::tempPoint;

    // Point index completed as the engine leaves it: pulses counted and the
    // energy delivered meanwhile (NaN: the count could not be timed).
    void complete(int index, double pulses, double wattHours)
    {
        point(index)->testState = AO_STATE_TYPE_COMPLETED;
        point(index)->actualPulse = pulses;
        point(index)->actualEnergy = wattHours;
        point(index)->actualTime = wattHours / point(index)->givenCount * 3600.0;
    }
};

inline ModelEnergyEntity& entity()
{
    return *ControllerCenter::getInstance()->testTestor->dataEnergy;
}

// Fixture without an instrument; the engine's module is the energy test for
// the model's gated hooks.
class EnergyModelTest : public vmtest::ViewModelTest
{
protected:
    void SetUp() override
    {
        ViewModelTest::SetUp();
        center->testActive(ControllerTestor::TEST_ENERGY);
    }
};

} // namespace emtest
