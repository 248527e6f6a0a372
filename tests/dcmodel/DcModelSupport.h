#pragma once

// DC view-model tests: a view of the model's stored fields, the engine's DC
// entity as the engine would leave its results, and the fixture of the tests
// without an instrument (vmtest::ViewModelTest: a sandbox as application and
// device root).

#include "../viewmodel/ViewModelTestSupport.h"

#include "ModelDirectEntity.h"
#include "ViewDirectModel.h"

#include <QMutexLocker>

#include <cmath>
#include <initializer_list>
#include <mutex>

namespace dctest {

using VM = ViewDirectModel;

class DcModel : public ViewDirectModel
{
public:
    using ViewDirectModel::endRampRanges;
    using ViewDirectModel::faultActionPort;
    using ViewDirectModel::faultActionTimes;
    using ViewDirectModel::faultActionValues;
    using ViewDirectModel::testState;
};

inline ModelDirectEntity& entity()
{
    return *ControllerCenter::getInstance()->testTestor->dataDirect;
}

inline ViewBaseModel::AOPortType port(int p)
{
    return ViewBaseModel::AOPortType(p);
}

// One result record as the engine keeps it (bi -1: none).
struct Record
{
    int bi = -1;
    double time = std::nan("");
    std::initializer_list<double> values;
};

// Puts an action and a return into the entity as the engine records them,
// then lets the model take them (the engine's action notice).
inline void deliverResults(ViewDirectModel& vm, const Record& action, const Record& back = Record{})
{
    {
        ModelDirectEntity& e = entity();
        // Not QMutexLocker: GCC 12 at -O3 follows its test of the lock's
        // address (the entity's first member) down a null path and warns of
        // the copies below there.
        std::lock_guard<QRecursiveMutex> lock(e.entityLock);
        e.faultActionBiIndex = action.bi;
        e.faultActionReturnBiIndex = back.bi;
        auto fill = [](ModelEntity::faultActionValStruct& to, const Record& from) {
            to = ModelEntity::faultActionValStruct{};
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

// Fixture without an instrument; the engine's module is DC for the model's
// gated hooks, the configuration at its defaults (57.735 V, 1 A, 265 V, 10 A).
class DcModelTest : public vmtest::ViewModelTest
{
protected:
    void SetUp() override
    {
        ViewModelTest::SetUp();
        center->testActive(ControllerTestor::TEST_DIRECT);
        ModelDirectEntity& e = entity();
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

} // namespace dctest
