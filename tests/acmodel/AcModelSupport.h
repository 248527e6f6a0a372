#pragma once

// AC view-model tests: a view of the model's stored fields, the engine's AC
// entity as the engine would leave its results, and the fixture of the tests
// without an instrument (vmtest::ViewModelTest: a sandbox as application and
// device root).

#include "../viewmodel/ViewModelTestSupport.h"

#include "ModelAlternateEntity.h"
#include "ViewAlternateModel.h"

#include <QMutexLocker>

#include <cmath>
#include <initializer_list>

namespace actest {

using VM = ViewAlternateModel;

// The model with its stored fields in reach of the tests.
class AcModel : public ViewAlternateModel
{
public:
    using ViewAlternateModel::actionRampStep;
    using ViewAlternateModel::actionRampTime;
    using ViewAlternateModel::beginRanges;
    using ViewAlternateModel::endRampAngles;
    using ViewAlternateModel::endRampFrequencies;
    using ViewAlternateModel::endRampRanges;
    using ViewAlternateModel::faultActionPort;
    using ViewAlternateModel::faultActionTimes;
    using ViewAlternateModel::faultActionValues;
    using ViewAlternateModel::outputBIStates;
    using ViewAlternateModel::outputBOStates;
    using ViewAlternateModel::testState;
    using ViewAlternateModel::testingPowerT;
};

inline ModelAlternateEntity& entity()
{
    return *ControllerCenter::getInstance()->testTestor->dataAlternate;
}

// One result record as the engine keeps it.
struct Record
{
    int bi = -1;   // binary input, -1: none
    double time = std::nan("");
    std::initializer_list<double> values;
};

// Puts an action and a return into the entity as the engine records them,
// then lets the model take them (the engine's action notice).
inline void deliverResults(ViewAlternateModel& vm, const Record& action, const Record& back = Record{})
{
    {
        ModelAlternateEntity& e = entity();
        QMutexLocker lock(&e.entityLock);
        for (int i = 0; i < 4; ++i) {
            e.faultActionTimes[i] = std::nan("");
            e.faultActionReturnTimes[i] = std::nan("");
            e.faultActionValues[i] = ModelEntity::faultActionValStruct{};
            e.faultActionReturnValues[i] = ModelEntity::faultActionValStruct{};
        }
        e.faultActionBiIndex = action.bi;
        e.faultActionReturnBiIndex = back.bi;
        auto fill = [](ModelEntity::faultActionValStruct& to, const Record& from) {
            to.portCnt = int(from.values.size());
            int k = 0;
            for (double v : from.values)
                to.actionVal[k++] = v;
        };
        if (action.bi >= 0) {
            e.faultActionTimes[action.bi] = action.time;
            fill(e.faultActionValues[action.bi], action);
        }
        if (back.bi >= 0) {
            e.faultActionReturnTimes[back.bi] = back.time;
            fill(e.faultActionReturnValues[back.bi], back);
        }
    }
    vm.updateEntToVM(ViewBaseModel::DATA_TYPE_TEST_ACTIONDATA, -1, false);
}

inline ViewBaseModel::AOPortType port(int p)
{
    return ViewBaseModel::AOPortType(p);
}

// Fixture without an instrument; the engine's module is AC for the model's
// gated hooks, the configuration at its defaults.
class AcModelTest : public vmtest::ViewModelTest
{
protected:
    void SetUp() override
    {
        ViewModelTest::SetUp();
        center->testActive(ControllerTestor::TEST_ALTERNATE);
        ModelAlternateEntity& e = entity();
        QMutexLocker lock(&e.entityLock);
        e.faultActionBiIndex = -1;
        e.faultActionReturnBiIndex = -1;
        e.actionRampFactor = 0;
        e.endRampValue = 0.0;
    }
    void TearDown() override
    {
        config->volPhasesType = ControllerConfiguration::PHASES_TYPE_THREE;
        config->curPhasesType = ControllerConfiguration::PHASES_TYPE_THREE;
        config->maxVRange = 265.0;
        config->maxIRange = 10.0;
        ViewModelTest::TearDown();
    }
};

} // namespace actest
