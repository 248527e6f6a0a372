#pragma once

// State-sequence view-model tests: a view of the model's lists, the engine's
// state-sequence entity as the engine leaves its marks and results, and the
// fixture of the tests without an instrument.

#include "../viewmodel/ViewModelTestSupport.h"

#include "ModelStateSequenceEntity.h"
#include "ViewStateSequenceModel.h"

#include <QMutexLocker>

#include <cmath>
#include <functional>
#include <limits>

namespace sstest {

using VM = ViewStateSequenceModel;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class SeqModel : public ViewStateSequenceModel
{
public:
    using ViewStateSequenceModel::activeStateIndex;
    using ViewStateSequenceModel::assessList;
    using ViewStateSequenceModel::eventRecorderList;
    using ViewStateSequenceModel::testStates;
};

inline ModelStateSequenceEntity& entity()
{
    return *ControllerCenter::getInstance()->testTestor->dataStateSequence;
}

inline ViewBaseModel::AOPortType port(int p)
{
    return ViewBaseModel::AOPortType(p);
}

// Edits the entity as the engine would, then hands the model the notice.
inline void deliver(ViewStateSequenceModel& vm, ViewBaseModel::DATAType type,
                    const std::function<void(ModelStateSequenceEntity&)>& fn)
{
    {
        ModelStateSequenceEntity& e = entity();
        QMutexLocker lock(&e.entityLock);
        fn(e);
    }
    vm.updateEntToVM(type, -1, false);
}

// The durations and marks of a run as the engine reports them (NaN: the
// state has no duration, and is then left INITING).
inline void deliverDurations(ViewStateSequenceModel& vm, std::initializer_list<double> seconds)
{
    deliver(vm, ViewBaseModel::DATA_TYPE_TEST_OUTPUTDATA, [&](ModelStateSequenceEntity& e) {
        e.stateCount = int(seconds.size());
        int s = 0;
        for (double t : seconds) {
            e.stateTriggerTimes[s] = t;
            e.stateTestStates[s++] = std::isnan(t) ? ModelEntity::AO_STATE_TYPE_INITING
                                                   : ModelEntity::AO_STATE_TYPE_COMPLETED;
        }
    });
}

// Fixture without an instrument; the engine's module is the state sequence
// for the model's gated hooks, the configuration at its defaults (57.735 V,
// 1 A, 50 Hz, 265 V, 10 A).
class SequenceModelTest : public vmtest::ViewModelTest
{
protected:
    void SetUp() override
    {
        ViewModelTest::SetUp();
        center->testActive(ControllerTestor::TEST_STATESEQUENCE);
        ModelStateSequenceEntity& e = entity();
        QMutexLocker lock(&e.entityLock);
        e.stateCount = 0;
        e.resetActionValues();
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

} // namespace sstest
