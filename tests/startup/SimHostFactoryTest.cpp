// The simulated board of the host application: the relay description, where
// it comes from, and what the board puts behind the platform layer.

#include "SimEnergyMeter.h"
#include "SimFixedDelayRelay.h"
#include "SimFrequencyRelay.h"
#include "SimHostFactory.h"
#include "SimInstrument.h"
#include "SimInverseTimeRelay.h"
#include "SimThresholdRelay.h"
#include "SimTimedRelay.h"
#include "SimVoltageRelay.h"
#include "StartupTestSupport.h"
#include "serial/SimBatteryPack.h"
#include "serial/SimGnssReceiver.h"

#include <QDir>
#include <QFileInfo>

namespace {

using zorsim::parseRelaySetup;

std::vector<std::string> namesOf(const zorsim::RelaySetup& setup)
{
    std::vector<std::string> names;
    for (const auto& m : setup.models)
        names.push_back(m->name());
    return names;
}

TEST(SimRelaySetup, ModelsAndTheirSettingsAreReadFromTheText)
{
    {
        const auto setup = parseRelaySetup("threshold:channel=IA,pickup=5,delay=0.03,input=2");
        ASSERT_TRUE(setup.errors.isEmpty()) << setup.errors.join('\n').toStdString();
        ASSERT_EQ(1u, setup.models.size());
        auto* r = dynamic_cast<zorsim::ThresholdRelay*>(setup.models[0].get());
        ASSERT_NE(nullptr, r);
        EXPECT_EQ(4, r->settings().channel);
        EXPECT_DOUBLE_EQ(5.0, r->settings().pickup);
        EXPECT_DOUBLE_EQ(0.03, r->settings().pickupDelaySeconds);
        EXPECT_EQ(2, r->settings().binaryInput);
    }
    {
        const auto setup = parseRelaySetup(" Inverse : channels=ia+5+IC , curve=IEC-VI, tms=0.2, pickup=1.5, inst=20 ");
        ASSERT_TRUE(setup.errors.isEmpty()) << setup.errors.join('\n').toStdString();
        ASSERT_EQ(1u, setup.models.size());
        auto* r = dynamic_cast<zorsim::InverseTimeRelay*>(setup.models[0].get());
        ASSERT_NE(nullptr, r);
        EXPECT_EQ((std::vector<int>{4, 5, 6}), r->settings().channels);
        EXPECT_DOUBLE_EQ(13.5, r->settings().curve.a);
        EXPECT_DOUBLE_EQ(0.2, r->settings().tms);
        EXPECT_DOUBLE_EQ(20.0, r->settings().instantaneousAmps);
    }
    {
        const auto setup = parseRelaySetup("fixed:delay=0.1,pages=0x03,armed=1");
        ASSERT_EQ(1u, setup.models.size());
        auto* r = dynamic_cast<zorsim::FixedDelayRelay*>(setup.models[0].get());
        ASSERT_NE(nullptr, r);
        EXPECT_EQ(0x03, r->settings().pageMask);
        EXPECT_TRUE(r->settings().armedPagesOnly);
    }
    // Several entries, by ';' and by line; comments and blank entries skipped.
    const auto setup = parseRelaySetup("# bench\ntimed:pickup=2,dropdelay=0.5;frequency:pickup=49.5\n\n"
                                     "voltage:channels=UA+UB+UC,pickup=70;energy:constant=600,error=0.01");
    EXPECT_TRUE(setup.errors.isEmpty()) << setup.errors.join('\n').toStdString();
    EXPECT_EQ((std::vector<std::string>{"timed relay", "under-frequency relay", "under-voltage relay",
                                        "energy meter"}),
              namesOf(setup));
}

TEST(SimRelaySetup, FaultyEntriesAreLeftOutWithAReasonAndTheOthersKept)
{
    const char* faulty[] = {
        "threshold:channel=8",          // no such channel
        "threshold:input=4",            // no such binary input
        "threshold:pickup=0",           // never picks up
        "threshold:pickup=-1",
        "threshold:delay=-0.1",
        "threshold:dropoff=1.5",
        "threshold:pickup=nan",
        "threshold:pickup=5x",
        "threshold:colour=red",         // unknown key
        "threshold:pickup",             // not key=value
        "inverse:curve=steep",
        "inverse:channels=IA+",
        "fixed:pages=256",
        "energy:constant=0",
        "relay:pickup=1",               // unknown model
        "none:pickup=1",
    };
    for (const char* entry : faulty) {
        const auto setup = parseRelaySetup(QString::fromLatin1(entry) + ";threshold");
        EXPECT_EQ(1, setup.errors.size()) << entry;
        EXPECT_EQ((std::vector<std::string>{"threshold relay"}), namesOf(setup)) << entry;
    }
    const auto none = parseRelaySetup("none");
    EXPECT_TRUE(none.errors.isEmpty());
    EXPECT_TRUE(none.models.empty());
}

TEST(SimRelaySetup, EnvironmentComesBeforeTheSandboxFileWhichComesBeforeTheDefault)
{
    TestSandbox box;
    zoplat::host::reset();
    zoplat::host::setSandboxRoot(box.path());
    const QByteArray saved = qgetenv(zorsim::kRelaySetupEnv);
    qunsetenv(zorsim::kRelaySetupEnv);

    EXPECT_EQ(QString::fromLatin1(zorsim::kDefaultRelaySetup), zorsim::configuredRelaySetup());
    box.write(zorsim::kRelaySetupFile, "# wired on the bench\ntimed:pickup=2\n");
    EXPECT_EQ((std::vector<std::string>{"timed relay"}), namesOf(parseRelaySetup(zorsim::configuredRelaySetup())));
    qputenv(zorsim::kRelaySetupEnv, "none");
    EXPECT_EQ(QStringLiteral("none"), zorsim::configuredRelaySetup());

    if (saved.isNull())
        qunsetenv(zorsim::kRelaySetupEnv);
    else
        qputenv(zorsim::kRelaySetupEnv, saved);
    zoplat::host::reset();
}

TEST(SimHost, BoardSitsBehindThePlatformWhileItLivesAndIsGoneAfterwards)
{
    TestSandbox box;
    zoplat::host::reset();
    zoplat::host::setSandboxRoot(box.path());
    const QString defaultGnss = zoplat::gnssSerialDevice();
    const QString defaultBattery = zoplat::batterySerialDevice();
    {
        zorsim::SimHost::Options options;
        options.relaySetup = QStringLiteral("threshold:channel=UA,pickup=50;bogus");
        zorsim::SimHost board(options);
        EXPECT_TRUE(board.instrument().isAttached());
        ASSERT_EQ(1u, board.relays().size());
        EXPECT_EQ(1, board.relayErrors().size());
        ASSERT_NE(nullptr, board.gnssReceiver());
        ASSERT_NE(nullptr, board.batteryPack());
        EXPECT_EQ(board.gnssReceiver()->slavePath(), zoplat::gnssSerialDevice());
        EXPECT_EQ(board.batteryPack()->slavePath(), zoplat::batterySerialDevice());
        EXPECT_TRUE(QFileInfo::exists(zoplat::gnssSerialDevice()));
        // The pacer moves the instrument's clock while the thread's events run.
        const int64_t start = board.instrument().nowNs();
        EXPECT_TRUE(startuptest::waitFor([&] { return board.instrument().nowNs() > start; }));
    }
    EXPECT_EQ(defaultGnss, zoplat::gnssSerialDevice());
    EXPECT_EQ(defaultBattery, zoplat::batterySerialDevice());
    zoplat::host::reset();
}

TEST(RestartPlatform, HostStartsNoProgramButTheRunningApplication)
{
    EXPECT_EQ(-1, zoplat::startDetached(QStringLiteral("/bin/sh"), {"-c", "true"}, QDir::tempPath()));
    EXPECT_EQ(-1, zoplat::startDetached(QString(), {}, QDir::tempPath()));
}

} // namespace
