// The module table: every test type has its entry, every module a complete
// one wired to its own entity, under the folder and title its files and
// reports have always had.

#include "ControllerModuleTable.h"
#include "ModelAlternateEntity.h"
#include "ModelDirectEntity.h"
#include "ModelDistanceEntity.h"
#include "ModelEnergyEntity.h"
#include "ModelHarmonicEntity.h"
#include "ModelOscillateEntity.h"
#include "ModelOvercurrentEntity.h"
#include "ModelRampingEntity.h"
#include "ModelSlipFrequencyEntity.h"
#include "ModelSlipVoltageEntity.h"
#include "ModelStateSequenceEntity.h"
#include "ModelStdSourceEntity.h"
#include "ViewBaseModel.h"

#include <gtest/gtest.h>

#include <QSet>

#include <iterator>

namespace {

using TT = ControllerTestor;
using Lock = QRecursiveMutex& (*)(ControllerTestor&);

template <auto Member>
QRecursiveMutex& lockOf(ControllerTestor& testor)
{
    return (testor.*Member)->entityLock;
}

struct Module
{
    TT::TESTType type;
    const char* folder;   // parameter and report folder
    const char* title;    // report title
    Lock lock;            // the lock of the testor's entity of the module
};

const Module kModules[] = {
    {TT::TEST_ALTERNATE, "AC", "AC Test", &lockOf<&TT::dataAlternate>},
    {TT::TEST_HARMONIC, "Harmonic", "Harmonic Test", &lockOf<&TT::dataHarmonic>},
    {TT::TEST_STATESEQUENCE, "Sequence", "State Sequence", &lockOf<&TT::dataStateSequence>},
    {TT::TEST_DISTANCE, "Distance", "Distance Test", &lockOf<&TT::dataDistance>},
    {TT::TEST_RAMPING, "Ramping", "Ramping Test", &lockOf<&TT::dataRamping>},
    {TT::TEST_OVERCURRENT, "Overcurrent", "Overcurrent Test", &lockOf<&TT::dataOvercurrent>},
    {TT::TEST_DIRECT, "DC", "DC Test", &lockOf<&TT::dataDirect>},
    {TT::TEST_ENERGY, "Energy", "Energy Test", &lockOf<&TT::dataEnergy>},
    {TT::TEST_SLIP_FREQUENCY, "SlipFrequency", "Slip Frequency", &lockOf<&TT::dataSlipFrequency>},
    {TT::TEST_SLIP_VOLTAGE, "SlipVoltage", "Slip Voltage", &lockOf<&TT::dataSlipVoltage>},
    {TT::TEST_OSCILLATE, "Oscillate", "Oscillate Test", &lockOf<&TT::dataOscillate>},
    {TT::TEST_STDSOURCE, "StdSource", "Standard Source", &lockOf<&TT::dataStdSource>},
};

}   // namespace

TEST(ModuleTable, EveryModuleHasACompleteEntryOfItsOwn)
{
    ControllerTestor testor;
    QSet<QString> folders;
    QSet<QString> titles;
    QSet<const void*> adaptors;
    for (const Module& m : kModules) {
        SCOPED_TRACE(m.folder);
        const ModuleEntry& entry = moduleEntry(m.type);
        EXPECT_EQ(entry.type, m.type);
        EXPECT_EQ(ViewBaseModel::testDirOf(m.type), QString::fromLatin1(m.folder));
        EXPECT_EQ(ViewBaseModel::testTitleOf(m.type), QString::fromLatin1(m.title));
        folders.insert(QString::fromLatin1(entry.folder));
        titles.insert(QString::fromLatin1(entry.title));

        const ModuleAdaptors* run = entry.adaptors;
        ASSERT_NE(run, nullptr);
        adaptors.insert(run);
        EXPECT_TRUE(entry.family == ModuleFamily::SinglePage || entry.family == ModuleFamily::MultiState);
        ASSERT_TRUE(run->entityLock && run->start && run->switchState);
        EXPECT_EQ(&run->entityLock(testor), &m.lock(testor)) << "wired to another module's entity";

        // What the polling loop reports for the module must reach its entity
        // (the state sequence's reports, with their times, through
        // ModuleAdaptorSets::followSequence); a single-page module's ramp
        // may follow the pages that ended too.
        const bool followsStates = entry.poll == ModulePoll::Sequence || entry.poll == ModulePoll::StateIndex
            || entry.poll == ModulePoll::EnergyPulses;
        if (entry.poll != ModulePoll::SinglePage) {
            EXPECT_EQ(run->followState != nullptr, followsStates && entry.poll != ModulePoll::Sequence);
        }
        EXPECT_EQ(followsStates, entry.family == ModuleFamily::MultiState);
        const bool reportsTrips = entry.poll == ModulePoll::SinglePage || entry.poll == ModulePoll::Sequence
            || entry.poll == ModulePoll::StateIndex;
        EXPECT_TRUE(run->trip || !reportsTrips);
        EXPECT_EQ(run->pulse != nullptr, entry.poll == ModulePoll::EnergyPulses);
        EXPECT_EQ(entry.stop == ModuleStop::PulsesFirst, entry.poll == ModulePoll::EnergyPulses);
    }
    EXPECT_EQ(folders.size(), int(std::size(kModules)));
    EXPECT_EQ(titles.size(), int(std::size(kModules)));
    EXPECT_EQ(adaptors.size(), int(std::size(kModules)));

    // The types without an entity, and values that are no type.
    for (qint32 type : {-1, 0, 1, 2, 3, 4, 5, 18}) {
        SCOPED_TRACE(type);
        const ModuleEntry& entry = moduleEntry(type);
        EXPECT_EQ(entry.adaptors, nullptr);
        EXPECT_TRUE(ViewBaseModel::testDirOf(type).isEmpty());
        EXPECT_TRUE(ViewBaseModel::testTitleOf(type).isEmpty());
        EXPECT_EQ(entry.family == ModuleFamily::Calibration, type == TT::TEST_CALIBRATION);
    }
    EXPECT_EQ(moduleEntry(18).type, TT::TEST_NONE);
    EXPECT_EQ(moduleEntryCount(), size_t(TT::TEST_STDSOURCE) + 1);
}
