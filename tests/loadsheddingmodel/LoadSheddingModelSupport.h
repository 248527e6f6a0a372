#pragma once

// Load-shedding view-model tests: both models with their protected parts
// in reach, their entities, and the fixture of the tests without an
// instrument (configuration at its defaults: 57.735 V, 1 A, 50 Hz).

#include "../viewmodel/ViewModelTestSupport.h"

#include "ModelSlipFrequencyEntity.h"
#include "ModelSlipVoltageEntity.h"
#include "ViewSlipFrequencyModel.h"
#include "ViewSlipVoltageModel.h"

#include <QMutexLocker>

#include <cmath>
#include <memory>

namespace lstest {

using UF = ViewSlipFrequencyModel;
using UV = ViewSlipVoltageModel;

using Point = ViewLoadSheddingModel::ViewSheddingPoint;

// The protected parts of either model.
struct Probe : ViewLoadSheddingModel
{
    static Point& at(const ViewLoadSheddingModel& m, int i) { return *(m.*&Probe::point)(i); }
    static Point& edit(ViewLoadSheddingModel& m) { return *(m.*&Probe::tempPoint); }
    static void set(ViewLoadSheddingModel& m, int setting, double value) { (m.*&Probe::setSetting)(setting, value); }
};

inline std::unique_ptr<ViewLoadSheddingModel> makeModel(bool voltage)
{
    if (voltage)
        return std::make_unique<UV>();
    return std::make_unique<UF>();
}

// Appends a point of item with the slid quantity's ramp.
inline void add(ViewLoadSheddingModel& vm, int item, double begin, double end, double step, double rate,
                double timing = 0.0)
{
    vm.setActiveTestItem(item);
    Probe::set(vm, ViewLoadSheddingModel::SLIDE_BEGIN, begin);
    Probe::set(vm, ViewLoadSheddingModel::SLIDE_END, end);
    Probe::set(vm, ViewLoadSheddingModel::SLIDE_STEP, step);
    Probe::set(vm, ViewLoadSheddingModel::SLIDE_RATE, rate);
    Probe::set(vm, ViewLoadSheddingModel::SLIDE_TIMING, timing);
    vm.addPoint();
}

// The engine's record of point i.
inline void setResult(ViewLoadSheddingModel& vm, int i, int state, double value, double seconds)
{
    Point& p = Probe::at(vm, i);
    p.testState = state;
    p.actionValue = value;
    p.actionTime = seconds;
}

inline ModelSlipFrequencyEntity& frequencyEntity()
{
    return *ControllerCenter::getInstance()->testTestor->dataSlipFrequency;
}

inline ModelSlipVoltageEntity& voltageEntity()
{
    return *ControllerCenter::getInstance()->testTestor->dataSlipVoltage;
}

class LoadSheddingModelTest : public vmtest::ViewModelTest
{
protected:
    void activate(ControllerTestor::TESTType type) { center->testActive(type); }
};

} // namespace lstest
