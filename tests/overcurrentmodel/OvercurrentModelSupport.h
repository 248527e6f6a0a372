#pragma once

// Overcurrent view-model tests: a view of the model's fields, the engine's
// overcurrent entity, and the fixture of the tests without an instrument.

#include "../viewmodel/ViewModelTestSupport.h"

#include "ModelOvercurrentEntity.h"
#include "ViewOvercurrentModel.h"

#include <QMutexLocker>

#include <cfloat>
#include <cmath>

namespace omtest {

using VM = ViewOvercurrentModel;
constexpr double kNoTrip = DBL_MAX;

class OvercurrentModel : public ViewOvercurrentModel
{
public:
    using ViewOvercurrentModel::activePointIndex;
    using ViewOvercurrentModel::overcurrentCurves;
    using ViewOvercurrentModel::point;
    using ViewOvercurrentModel::tempPoint;

    // Appends one point of function fn at amps.
    void addAt(double amps, int fn = VM::FUNCTION_TYPE_51, int kind = VM::FAULT_TYPE_A_E)
    {
        setFunction(fn);
        setFaultKind(kind);
        setTestCurrent(amps);
        addPoint();
    }
    // A completed point with a trip as the model took it from the engine
    // (NaN: none).
    void complete(int index, double seconds, int input = 0)
    {
        point(index)->testState = AO_STATE_TYPE_COMPLETED;
        point(index)->actionTimes[input] = seconds;
        point(index)->actionBIStates[input] = std::isnan(seconds) ? -1 : 1;
    }
    // The point's fault began with the relay still operated.
    void markNotReset(int index) { point(index)->relayNotReset = true; }
};

inline ModelOvercurrentEntity& entity()
{
    return *ControllerCenter::getInstance()->testTestor->dataOvercurrent;
}

// Fixture without an instrument; the engine's module is the overcurrent
// test for the model's gated hooks.
class OvercurrentModelTest : public vmtest::ViewModelTest
{
protected:
    void SetUp() override
    {
        ViewModelTest::SetUp();
        center->testActive(ControllerTestor::TEST_OVERCURRENT);
    }
};

} // namespace omtest
