#pragma once

// Harmonic view-model tests: a view of the model's fields, the engine's
// harmonic entity, and the fixture of the tests without an instrument.

#include "../viewmodel/ViewModelTestSupport.h"

#include "ModelHarmonicEntity.h"
#include "ViewHarmonicModel.h"

#include <QMutexLocker>

namespace hmtest {

using VM = ViewHarmonicModel;

class HarmonicModel : public ViewHarmonicModel
{
public:
    using ViewHarmonicModel::faultActionBiIndex;
    using ViewHarmonicModel::faultActionTimes;
    using ViewHarmonicModel::faultActionValues;
    using ViewHarmonicModel::outputAngles;
    using ViewHarmonicModel::outputRanges;
    using ViewHarmonicModel::testState;

    // Amplitude and angle of one slot, entered as the page enters them.
    void setSlot(int port, int slot, double range, double angle)
    {
        const int active = activeOrderIndex;
        activeOrderIndex = slot;
        setOutputRange(AOPortType(port), range);
        setOutputAngle(AOPortType(port), angle);
        activeOrderIndex = active;
    }
    // A trip as the model took it from the engine.
    void setTrip(int bi, double time, std::initializer_list<double> values)
    {
        faultActionBiIndex = bi;
        faultActionTimes[0] = time;
        faultActionValues[0].portCnt = int(values.size());
        int k = 0;
        for (double v : values)
            faultActionValues[0].actionVal[k++] = v;
    }
};

inline ModelHarmonicEntity& entity()
{
    return *ControllerCenter::getInstance()->testTestor->dataHarmonic;
}

inline ViewBaseModel::AOPortType port(int p)
{
    return ViewBaseModel::AOPortType(p);
}
// Fixture without an instrument; the engine's module is the harmonic test
// for the model's gated hooks, the configuration at its defaults (57.735 V,
// 1 A, 50 Hz, 265 V, 10 A).
class HarmonicModelTest : public vmtest::ViewModelTest
{
protected:
    void SetUp() override
    {
        ViewModelTest::SetUp();
        center->testActive(ControllerTestor::TEST_HARMONIC);
        ModelHarmonicEntity& e = entity();
        QMutexLocker lock(&e.entityLock);
        e.faultActionBiIndex = -1;
        e.actionRampFactor = 0;
        e.endRampValue = 0.0;
    }
    void TearDown() override
    {
        config->volPhasesType = ControllerConfiguration::PHASES_TYPE_THREE;
        config->curPhasesType = ControllerConfiguration::PHASES_TYPE_THREE;
        ViewModelTest::TearDown();
    }
};

} // namespace hmtest
