#pragma once

// Ramping view-model tests: a view of the model's states, the engine's
// ramping entity, and the fixture of the tests without an instrument.

#include "../viewmodel/ViewModelTestSupport.h"

#include "ModelRampingEntity.h"
#include "ViewRampingModel.h"

#include <QMutexLocker>

#include <initializer_list>

namespace rmtest {

using VM = ViewRampingModel;

class RampingModel : public ViewRampingModel
{
public:
    using ViewRampingModel::checkStart;
    using ViewRampingModel::tempState;
    using ViewRampingModel::testStates;

    ViewStateModel& state(int i) { return *testStates[size_t(i)]; }
    // A recorded action of state i on input b (0..3).
    void setAction(int i, int b, double time, std::initializer_list<double> values)
    {
        ViewStateModel& s = state(i);
        s.actionTimes[b] = time;
        s.actionValue[b].portCnt = int(values.size());
        int k = 0;
        for (double v : values)
            s.actionValue[b].actionVal[k++] = v;
    }
    // The buffer's ramp: list row, item, end, step, step time (the page's
    // default); then Add.
    void addRamp(int row, VM::RampItemType item, double end, double step, double time = 2.0)
    {
        setFaultActionPort(row);
        setFaultActionItem(item);
        setEndRampValue(end);
        setRampStepValue(step);
        setStepTimeValue(time);
        addState();
    }
};

inline ModelRampingEntity& entity()
{
    return *ControllerCenter::getInstance()->testTestor->dataRamping;
}

inline ViewBaseModel::AOPortType port(int p)
{
    return ViewBaseModel::AOPortType(p);
}

// Fixture without an instrument; the engine's module is the ramping test
// for the model's gated hooks, the configuration at its defaults (57.735 V,
// 1 A, 50 Hz, 265 V, 10 A, three phases).
class RampingModelTest : public vmtest::ViewModelTest
{
protected:
    void SetUp() override
    {
        ViewModelTest::SetUp();
        center->testActive(ControllerTestor::TEST_RAMPING);
    }
    void TearDown() override
    {
        config->volPhasesType = ControllerConfiguration::PHASES_TYPE_THREE;
        config->curPhasesType = ControllerConfiguration::PHASES_TYPE_THREE;
        ViewModelTest::TearDown();
    }
};

} // namespace rmtest
