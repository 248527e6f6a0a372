// Every module's time verdict at the edges of its window: a trip the
// instrument stamped on a limit, one microsecond (its stamp) inside it and
// one outside, each time as the engine hands it over (a float of seconds;
// the state sequence's a sum of state durations).

#include "../distancemodel/DistanceModelSupport.h"
#include "../harmonicmodel/HarmonicModelSupport.h"
#include "../overcurrentmodel/OvercurrentModelSupport.h"
#include "../rampingmodel/RampingModelSupport.h"
#include "../statesequencemodel/SequenceModelSupport.h"

#include <functional>
#include <map>
#include <string>

namespace {

constexpr int kPass = ViewBaseModel::AO_Result_TYPE_SUCCESS;
constexpr int kFail = ViewBaseModel::AO_Result_TYPE_FAILED;
constexpr int kDone = ViewBaseModel::AO_STATE_TYPE_COMPLETED;

double asRecorded(double seconds)
{
    return double(float(seconds));
}

using TimeWindowVerdict = vmtest::ViewModelTest;

}   // namespace

TEST_F(TimeWindowVerdict, ALimitLiesInTheWindowInEveryModule)
{
    // Each module's verdict of one trip time, its window 0.950 .. 1.050 s
    // (overcurrent, definite time 1 s at 5 %) or 1 +- 0.1 s.
    const std::map<std::string, std::function<int(double)>> verdictOf = {
        {"overcurrent",
         [this](double t) {
             center->testActive(ControllerTestor::TEST_OVERCURRENT);
             omtest::OvercurrentModel vm;
             vm.addAt(5.0, omtest::VM::FUNCTION_TYPE_50);
             vm.complete(0, asRecorded(t));
             return vm.getTestResults(0);
         }},
        {"distance",
         [this](double t) {
             center->testActive(ControllerTestor::TEST_DISTANCE);
             dmtest::DistanceModel vm;
             vm.addAt(1.0);
             vm.setSettingTimes(0, 1.0);
             vm.setDevTimes(0, 0.1);
             vm.point(0)->testState = kDone;
             vm.setTrip(0, 0, asRecorded(t));
             return vm.getTestResults(0);
         }},
        {"ramping",
         [this](double t) {
             center->testActive(ControllerTestor::TEST_RAMPING);
             rmtest::RampingModel vm;
             vm.setSettingTime(0, 1.0);
             vm.setDevTime(0, 0.1);
             vm.state(0).testState = rmtest::VM::AOTestStateType(kDone);
             vm.setAction(0, 0, asRecorded(t), {57.0});
             return vm.getTestResults(0);
         }},
        {"harmonic",
         [this](double t) {
             center->testActive(ControllerTestor::TEST_HARMONIC);
             hmtest::HarmonicModel vm;
             vm.setSettingTime(1.0);
             vm.setDevTime(0.1);
             vm.setTrip(0, asRecorded(t), {1.0});
             vm.testState = kDone;
             return vm.getTestResult();
         }},
        {"state sequence",
         [this](double t) {
             center->testActive(ControllerTestor::TEST_STATESEQUENCE);
             {
                 ModelStateSequenceEntity& e = sstest::entity();
                 QMutexLocker lock(&e.entityLock);
                 e.resetActionValues();
             }
             sstest::SeqModel vm;
             vm.testActive();
             sstest::deliverDurations(vm, {0.3, t - 0.3, 1.0});
             vm.addAssess();
             vm.setAssessStart(0, 0);
             vm.setAssessStop(0, 2);
             vm.setSettingTime(0, 1.0);
             vm.setDevTime(0, 0.1);
             vm.getAssessCount();   // judges the list, as the page's refresh does
             return vm.getAssessResult(0);
         }},
    };
    const struct
    {
        const char* module;
        double trip;
        int result;
    } rows[] = {
        {"overcurrent", 0.949999, kFail},    {"overcurrent", 0.95, kPass},   {"overcurrent", 0.950001, kPass},
        {"overcurrent", 1.049999, kPass},    {"overcurrent", 1.05, kPass},   {"overcurrent", 1.050001, kFail},
        {"distance", 0.899999, kFail},       {"distance", 0.9, kPass},       {"distance", 0.900001, kPass},
        {"distance", 1.099999, kPass},       {"distance", 1.1, kPass},       {"distance", 1.100001, kFail},
        {"ramping", 0.899999, kFail},        {"ramping", 0.9, kPass},        {"ramping", 0.900001, kPass},
        {"ramping", 1.099999, kPass},        {"ramping", 1.1, kPass},        {"ramping", 1.100001, kFail},
        {"harmonic", 0.899999, kFail},       {"harmonic", 0.9, kPass},       {"harmonic", 0.900001, kPass},
        {"harmonic", 1.099999, kPass},       {"harmonic", 1.1, kPass},       {"harmonic", 1.100001, kFail},
        {"state sequence", 0.899999, kFail}, {"state sequence", 0.9, kPass}, {"state sequence", 0.900001, kPass},
        {"state sequence", 1.099999, kPass}, {"state sequence", 1.1, kPass}, {"state sequence", 1.100001, kFail},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.module << " trip " << row.trip);
        EXPECT_EQ(verdictOf.at(row.module)(row.trip), row.result);
    }
}
