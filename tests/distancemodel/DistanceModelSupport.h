#pragma once

// Distance view-model tests: a view of the model's fields, the engine's
// distance entity, and the fixture of the tests without an instrument.

#include "../viewmodel/ViewModelTestSupport.h"

#include "ModelDistanceEntity.h"
#include "ViewDistanceModel.h"

#include <QMutexLocker>

#include <cmath>

namespace dmtest {

using VM = ViewDistanceModel;

class DistanceModel : public ViewDistanceModel
{
public:
    using ViewDistanceModel::activePointIndex;
    using ViewDistanceModel::loadFrequencies;
    using ViewDistanceModel::loadRanges;
    using ViewDistanceModel::point;
    using ViewDistanceModel::tempPoint;
    using ViewDistanceModel::uxDefine;

    // Ticks exactly the factors given (0..3).
    void tick(std::initializer_list<int> factors)
    {
        for (int k = 0; k < 4; ++k)
            setFactorChecked(k, false);
        for (int k : factors)
            setFactorChecked(k, true);
    }
    // Appends one unfactored copy of the edit point at |Z| ohms.
    void addAt(double ohms, int kind = VM::FAULT_TYPE_A_E)
    {
        tick({});
        setFaultKind(kind);
        setFaultZRange(ohms);
        addPoint();
    }
    // A trip as the model took it from the engine.
    void setTrip(int index, int input, double seconds)
    {
        point(index)->actionTimes[input] = seconds;
        point(index)->actionBIStates[input] = 1;
    }
};

inline ModelDistanceEntity& entity()
{
    return *ControllerCenter::getInstance()->testTestor->dataDistance;
}

// Fixture without an instrument; the engine's module is the distance test
// for the model's gated hooks, the configuration at its defaults (57.735 V,
// 1 A, 50 Hz).
class DistanceModelTest : public vmtest::ViewModelTest
{
protected:
    void SetUp() override
    {
        ViewModelTest::SetUp();
        center->testActive(ControllerTestor::TEST_DISTANCE);
    }
    void TearDown() override
    {
        config->volPhasesType = ControllerConfiguration::PHASES_TYPE_THREE;
        config->rateFrequency = 50.0;
        ViewModelTest::TearDown();
    }
    // Marks entity state s as the engine would.
    static void markState(int s, int state)
    {
        ModelDistanceEntity& e = entity();
        QMutexLocker lock(&e.entityLock);
        e.stateTestStates[s] = ModelEntity::AOTestStateType(state);
    }
};

} // namespace dmtest
