#pragma once

// Power-swing view-model tests: the model with its stored fields in reach,
// the engine's power-swing entity, a trip record delivered as the engine
// leaves it, and the fixture of the tests without an instrument.

#include "../viewmodel/ViewModelTestSupport.h"

#include "ModelOscillateEntity.h"
#include "ViewOscillateModel.h"

#include <QMutexLocker>

#include <cmath>
#include <vector>

namespace osctest {

using VM = ViewOscillateModel;

class OscModel : public ViewOscillateModel
{
public:
    using ViewOscillateModel::faultActionTimes;
    using ViewOscillateModel::faultActionValues;
    using ViewOscillateModel::oscillatePercent;
    using ViewOscillateModel::oscillatePort;
    using ViewOscillateModel::testState;
};

inline ModelOscillateEntity& entity()
{
    return *ControllerCenter::getInstance()->testTestor->dataOscillate;
}

inline ViewBaseModel::AOPortType port(int p)
{
    return ViewBaseModel::AOPortType(p);
}

// A trip in slot 0 of the entity as the engine records it, then the
// engine's action notice.
inline void deliverTrip(ViewOscillateModel& vm, double time, const std::vector<double>& values)
{
    {
        ModelOscillateEntity& e = entity();
        QMutexLocker lock(&e.entityLock);
        e.resetActionValues();
        e.faultActionTimes[0] = time;
        e.faultActionValues[0].portCnt = int(values.size());
        int k = 0;
        for (double v : values)
            e.faultActionValues[0].actionVal[k++] = v;
    }
    vm.updateEntToVM(ViewBaseModel::DATA_TYPE_TEST_ACTIONDATA, -1, false);
}

class OscModelTest : public vmtest::ViewModelTest
{
protected:
    void SetUp() override
    {
        ViewModelTest::SetUp();
        center->testActive(ControllerTestor::TEST_OSCILLATE);
        entity().resetActionValues();
    }
    void TearDown() override
    {
        config->volPhasesType = ControllerConfiguration::PHASES_TYPE_THREE;
        config->curPhasesType = ControllerConfiguration::PHASES_TYPE_THREE;
        config->maxVRange = 265.0;
        config->maxIRange = 10.0;
        ViewModelTest::TearDown();
    }
    void phases(bool volFour, bool curFour)
    {
        config->volPhasesType = volFour ? ControllerConfiguration::PHASES_TYPE_FOUR
                                        : ControllerConfiguration::PHASES_TYPE_THREE;
        config->curPhasesType = curFour ? ControllerConfiguration::PHASES_TYPE_FOUR
                                        : ControllerConfiguration::PHASES_TYPE_THREE;
    }
};

} // namespace osctest
