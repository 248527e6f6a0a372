#pragma once

// Standard-source view-model tests: the model with its stored fields in
// reach, and the fixture of the tests without an instrument.

#include "../viewmodel/ViewModelTestSupport.h"

#include "ModelStdSourceEntity.h"
#include "ViewStdSourceModel.h"

namespace stdtest {

using VM = ViewStdSourceModel;

class StdModel : public ViewStdSourceModel
{
public:
    using ViewStdSourceModel::outputPhase;
    using ViewStdSourceModel::outputPower;
    using ViewStdSourceModel::outputRadian;
    using ViewStdSourceModel::outputRange;
    using ViewStdSourceModel::powerRadian;
};

inline VM::SinglePortType port(int p)
{
    return VM::SinglePortType(p);
}

inline ModelStdSourceEntity& entity()
{
    return *ControllerCenter::getInstance()->testTestor->dataStdSource;
}

// Mode, factor with its sense, selection, in the order a page sets them.
inline void configure(VM& vm, int mode, double factor, int type, int select)
{
    vm.setWorkMode(VM::WorkMode(mode));
    vm.setPowerFactor(factor);
    vm.setFactorType(VM::PowerFactorType(type));
    vm.setComponentSel(VM::ComponentSelect(select));
}

// The element selections a mode offers: all, then each element.
inline std::vector<int> selections(int mode)
{
    if (mode == VM::WORK_MODE_SINGLE_ACTIVE_POWER)
        return {VM::COMPONENT_SELECT_ALL};
    if (mode == VM::WORK_MODE_3P4W_Y_ACTIVE_POWER || mode == VM::WORK_MODE_3P4W_Y_REACTIVE_POWER
        || mode == VM::WORK_MODE_3COM_90_DEGREE_REACTIVE_POWER)
        return {VM::COMPONENT_SELECT_ALL, VM::COMPONENT_SELECT_A, VM::COMPONENT_SELECT_B, VM::COMPONENT_SELECT_C};
    return {VM::COMPONENT_SELECT_ALL, VM::COMPONENT_SELECT_A, VM::COMPONENT_SELECT_C};
}

class StdSourceTest : public vmtest::ViewModelTest
{
protected:
    void SetUp() override
    {
        ViewModelTest::SetUp();
        center->testActive(ControllerTestor::TEST_STDSOURCE);
    }
    void TearDown() override
    {
        config->maxVRange = 265.0;
        config->maxIRange = 10.0;
        ViewModelTest::TearDown();
    }
};

} // namespace stdtest
