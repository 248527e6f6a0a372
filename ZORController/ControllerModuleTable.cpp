#include "ControllerModuleTable.h"

#include "ControllerRuntime.h"
#include "ModelEntityCommon.h"

#include <QtGlobal>

#include <algorithm>
#include <iterator>

namespace {

using TT = ControllerTestor;
using F = ModuleFamily;
using P = ModulePoll;
using S = ModuleStop;
namespace A = ModuleAdaptorSets;

constexpr qint32 kNoNotice = -1;
constexpr qint32 kOutputNotice = ControllerRuntime::DATA_TYPE_TEST_OUTPUTDATA;
constexpr qint32 kCalibrationNotice = ControllerRuntime::DATA_TYPE_SYSTEM_CAL;

// Each entry: type, folder, title (in the reports' translation context,
// "ViewBaseModel"); then family, poll, stop, announcesSwitch, switchNotice,
// clearsResultsFirst, turnsBackOnAnyTrip and the adaptors (ModuleEntry).
// clang-format off
constexpr ModuleEntry kModules[] = {
    {TT::TEST_NONE, "", "",
     F::None,        P::None,         S::Amplifiers,  false,     kNoNotice,          false,         false,            nullptr},
    {TT::TEST_CALIBRATION, "", "",
     F::Calibration, P::None,         S::Calibration, true,      kCalibrationNotice, false,         false,            nullptr},
    {TT::TEST_MULTITEST, "", "",
     F::None,        P::None,         S::Amplifiers,  false,     kNoNotice,          false,         false,            nullptr},
    {TT::TEST_SEQUENCE, "", "",
     F::None,        P::None,         S::Amplifiers,  false,     kNoNotice,          false,         false,            nullptr},
    {TT::TEST_FAULTTEST, "", "",
     F::None,        P::None,         S::Amplifiers,  false,     kNoNotice,          false,         false,            nullptr},
    {TT::TEST_REMOTESIGNAL, "", "",
     F::None,        P::None,         S::PulseRun,    false,     kNoNotice,          false,         false,            nullptr},
    {TT::TEST_ALTERNATE, "AC", QT_TRANSLATE_NOOP("ViewBaseModel", "AC Test"),
     F::SinglePage,  P::SinglePage,   S::Amplifiers,  true,      kOutputNotice,      false,         false,            &A::alternate},
    {TT::TEST_HARMONIC, "Harmonic", QT_TRANSLATE_NOOP("ViewBaseModel", "Harmonic Test"),
     F::SinglePage,  P::SinglePage,   S::Amplifiers,  true,      kOutputNotice,      true,          true,             &A::harmonic},
    {TT::TEST_STATESEQUENCE, "Sequence", QT_TRANSLATE_NOOP("ViewBaseModel", "State Sequence"),
     F::MultiState,  P::Sequence,     S::Amplifiers,  false,     kNoNotice,          false,         false,            &A::stateSequence},
    {TT::TEST_DISTANCE, "Distance", QT_TRANSLATE_NOOP("ViewBaseModel", "Distance Test"),
     F::MultiState,  P::StateIndex,   S::Amplifiers,  false,     kNoNotice,          false,         false,            &A::distance},
    {TT::TEST_RAMPING, "Ramping", QT_TRANSLATE_NOOP("ViewBaseModel", "Ramping Test"),
     F::MultiState,  P::StateIndex,   S::Amplifiers,  true,      kOutputNotice,      false,         false,            &A::ramping},
    {TT::TEST_OVERCURRENT, "Overcurrent", QT_TRANSLATE_NOOP("ViewBaseModel", "Overcurrent Test"),
     F::MultiState,  P::StateIndex,   S::Amplifiers,  false,     kNoNotice,          false,         false,            &A::overcurrent},
    {TT::TEST_DIRECT, "DC", QT_TRANSLATE_NOOP("ViewBaseModel", "DC Test"),
     F::SinglePage,  P::SinglePage,   S::Amplifiers,  true,      kOutputNotice,      false,         false,            &A::direct},
    {TT::TEST_ENERGY, "Energy", QT_TRANSLATE_NOOP("ViewBaseModel", "Energy Test"),
     F::MultiState,  P::EnergyPulses, S::PulsesFirst, false,     kNoNotice,          false,         false,            &A::energy},
    {TT::TEST_SLIP_FREQUENCY, "SlipFrequency", QT_TRANSLATE_NOOP("ViewBaseModel", "Slip Frequency"),
     F::MultiState,  P::StateIndex,   S::Amplifiers,  false,     kNoNotice,          false,         false,            &A::slipFrequency},
    {TT::TEST_SLIP_VOLTAGE, "SlipVoltage", QT_TRANSLATE_NOOP("ViewBaseModel", "Slip Voltage"),
     F::MultiState,  P::StateIndex,   S::Amplifiers,  false,     kNoNotice,          false,         false,            &A::slipVoltage},
    {TT::TEST_OSCILLATE, "Oscillate", QT_TRANSLATE_NOOP("ViewBaseModel", "Oscillate Test"),
     F::SinglePage,  P::SinglePage,   S::Amplifiers,  true,      kNoNotice,          false,         false,            &A::oscillate},
    {TT::TEST_STDSOURCE, "StdSource", QT_TRANSLATE_NOOP("ViewBaseModel", "Standard Source"),
     F::SinglePage,  P::None,         S::Amplifiers,  false,     kNoNotice,          false,         false,            &A::stdSource},
};
// clang-format on

constexpr std::size_t kModuleCount = sizeof(kModules) / sizeof(kModules[0]);
static_assert(kModuleCount == std::size_t(ControllerTestor::TEST_STDSOURCE) + 1, "one entry per test type");

constexpr bool entriesInTypeOrder()
{
    for (std::size_t i = 0; i < kModuleCount; ++i)
        if (std::size_t(kModules[i].type) != i)
            return false;
    return true;
}
static_assert(entriesInTypeOrder(), "entry i is the entry of test type i");

}   // namespace

const ModuleEntry& moduleEntry(qint32 type)
{
    if (type < 0 || std::size_t(type) >= kModuleCount)
        return kModules[ControllerTestor::TEST_NONE];
    return kModules[type];
}

const ModuleEntry* moduleEntries()
{
    return kModules;
}

std::size_t moduleEntryCount()
{
    return kModuleCount;
}

double moduleLargeCurrent(ControllerTestor& testor, qint32 type)
{
    const ModuleAdaptors* run = moduleEntry(type).adaptors;
    if (!run || !run->channelCurrent)
        return testor.getTestCurrentMax();
    double largest = 0.0;
    for (int ch = ModelEntity::AO_PORT_TYPE_IA; ch <= ModelEntity::AO_PORT_TYPE_IX; ++ch)
        largest = std::max(largest, run->channelCurrent(testor, ch));
    return largest;
}
