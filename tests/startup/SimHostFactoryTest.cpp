// The simulated board of the host application: the relay description, where
// it comes from, and what the board puts behind the platform layer.

#include "SimHostFactory.h"
#include "SimEnergyMeter.h"
#include "SimFixedDelayRelay.h"
#include "SimFrequencyRelay.h"
#include "SimInstrument.h"
#include "SimInverseTimeRelay.h"
#include "SimRelayRegistry.h"
#include "SimThresholdRelay.h"
#include "SimTimedRelay.h"
#include "SimVoltageRelay.h"
#include "StartupTestSupport.h"
#include "serial/SimBatteryPack.h"
#include "serial/SimGnssReceiver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <functional>

namespace {

using zorsim::parseRelaySetup;

std::vector<std::string> namesOf(const zorsim::RelaySetup& setup)
{
    std::vector<std::string> names;
    for (const auto& m : setup.models)
        names.push_back(m->name());
    return names;
}

template <class Model>
const Model* only(const zorsim::RelaySetup& setup)
{
    return setup.models.size() == 1 ? dynamic_cast<const Model*>(setup.models[0].get()) : nullptr;
}

TEST(SimRelaySetup, ModelsAndTheirSettingsAreReadFromTheText)
{
    // Every key of every model, each set away from its default.
    struct Row
    {
        const char* text;
        std::function<void(const zorsim::RelaySetup&)> check;
    };
    const Row rows[] = {
        {"threshold:channel=IA,pickup=5,delay=0.03,dropoff=0.9,input=2",
         [](const zorsim::RelaySetup& setup) {
             auto* r = only<zorsim::ThresholdRelay>(setup);
             ASSERT_NE(nullptr, r);
             EXPECT_EQ(4, r->settings().channel);
             EXPECT_DOUBLE_EQ(5.0, r->settings().pickup);
             EXPECT_DOUBLE_EQ(0.03, r->settings().pickupDelaySeconds);
             EXPECT_DOUBLE_EQ(0.9, r->settings().dropoffRatio);
             EXPECT_DOUBLE_EQ(0.0, r->settings().dropoffDelaySeconds);
             EXPECT_EQ(2, r->settings().binaryInput);
         }},
        {"timed:channel=UB,pickup=2,delay=0.1,dropoff=0.8,dropdelay=0.5,input=3",
         [](const zorsim::RelaySetup& setup) {
             auto* r = only<zorsim::TimedRelay>(setup);
             ASSERT_NE(nullptr, r);
             EXPECT_EQ(1, r->settings().channel);
             EXPECT_DOUBLE_EQ(2.0, r->settings().pickup);
             EXPECT_DOUBLE_EQ(0.1, r->settings().pickupDelaySeconds);
             EXPECT_DOUBLE_EQ(0.8, r->settings().dropoffRatio);
             EXPECT_DOUBLE_EQ(0.5, r->settings().dropoffDelaySeconds);
             EXPECT_EQ(3, r->settings().binaryInput);
         }},
        {" Inverse : channels=ia+5+IC , curve=IEC-VI, tms=0.2, pickup=1.5, inst=20, start=1.1, instdelay=0.05,"
         " dropoff=0.9, input=1 ",
         [](const zorsim::RelaySetup& setup) {
             auto* r = only<zorsim::InverseTimeRelay>(setup);
             ASSERT_NE(nullptr, r);
             EXPECT_EQ((std::vector<int>{4, 5, 6}), r->settings().channels);
             EXPECT_DOUBLE_EQ(13.5, r->settings().curve.a);
             EXPECT_DOUBLE_EQ(0.2, r->settings().tms);
             EXPECT_DOUBLE_EQ(1.5, r->settings().pickupAmps);
             EXPECT_DOUBLE_EQ(20.0, r->settings().instantaneousAmps);
             EXPECT_DOUBLE_EQ(1.1, r->settings().startRatio);
             EXPECT_DOUBLE_EQ(0.05, r->settings().instantaneousDelaySeconds);
             EXPECT_DOUBLE_EQ(0.9, r->settings().dropoffRatio);
             EXPECT_EQ(1, r->settings().binaryInput);
         }},
        {"fixed:delay=0.25,pages=0x03,armed=1,input=2",
         [](const zorsim::RelaySetup& setup) {
             auto* r = only<zorsim::FixedDelayRelay>(setup);
             ASSERT_NE(nullptr, r);
             EXPECT_DOUBLE_EQ(0.25, r->settings().delaySeconds);
             EXPECT_EQ(0x03, r->settings().pageMask);
             EXPECT_TRUE(r->settings().armedPagesOnly);
             EXPECT_EQ(2, r->settings().binaryInput);
         }},
        {"frequency:channel=UC,pickup=49.5,delay=0.3,minvolts=20,input=1",
         [](const zorsim::RelaySetup& setup) {
             auto* r = only<zorsim::FrequencyRelay>(setup);
             ASSERT_NE(nullptr, r);
             EXPECT_EQ(2, r->settings().channel);
             EXPECT_DOUBLE_EQ(49.5, r->settings().pickupHz);
             EXPECT_DOUBLE_EQ(0.3, r->settings().delaySeconds);
             EXPECT_DOUBLE_EQ(20.0, r->settings().minimumVolts);
             EXPECT_EQ(1, r->settings().binaryInput);
         }},
        {"voltage:channels=UA+UB,pickup=70,delay=0.4,input=3",
         [](const zorsim::RelaySetup& setup) {
             auto* r = only<zorsim::VoltageRelay>(setup);
             ASSERT_NE(nullptr, r);
             EXPECT_EQ((std::vector<int>{0, 1}), r->settings().channels);
             EXPECT_DOUBLE_EQ(70.0, r->settings().pickupVolts);
             EXPECT_DOUBLE_EQ(0.4, r->settings().delaySeconds);
             EXPECT_EQ(3, r->settings().binaryInput);
         }},
        {"energy:constant=600,error=0.01",
         [](const zorsim::RelaySetup& setup) {
             auto* r = only<zorsim::EnergyMeter>(setup);
             ASSERT_NE(nullptr, r);
             EXPECT_DOUBLE_EQ(600.0, r->settings().impulsesPerKwh);
             EXPECT_DOUBLE_EQ(0.01, r->settings().error);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const auto setup = parseRelaySetup(QString::fromLatin1(row.text));
        EXPECT_TRUE(setup.errors.isEmpty()) << setup.errors.join('\n').toStdString();
        row.check(setup);
    }
    // Several entries, by ';' and by line; comments and blank entries skipped.
    const auto setup = parseRelaySetup("# bench\ntimed:pickup=2,dropdelay=0.5;frequency:pickup=49.5\n\n"
                                       "voltage:channels=UA+UB+UC,pickup=70;energy:constant=600,error=0.01");
    EXPECT_TRUE(setup.errors.isEmpty()) << setup.errors.join('\n').toStdString();
    EXPECT_EQ((std::vector<std::string>{"timed relay", "under-frequency relay", "under-voltage relay", "energy meter"}),
              namesOf(setup));
}

TEST(SimRelaySetup, FaultyEntriesAreLeftOutWithAReasonAndTheOthersKept)
{
    const char* faulty[] = {
        "threshold:channel=8",   // no such channel
        "threshold:input=4",     // no such binary input
        "threshold:pickup=0",    // never picks up
        "threshold:pickup=-1",  "threshold:delay=-0.1", "threshold:dropoff=1.5", "threshold:pickup=nan",
        "threshold:pickup=5x",
        "threshold:colour=red",   // unknown key
        "threshold:pickup",       // not key=value
        "inverse:curve=steep",  "inverse:channels=IA+", "fixed:pages=256",       "energy:constant=0",
        "relay:pickup=1",   // unknown model
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

// The README's table of models and keys (section "The simulated instrument")
// lists exactly the registry's models and keys, in its order; a note in
// parentheses after a key, and a phrase in place of keys, are not keys.
TEST(SimRelaySetup, ReadmeTableListsTheRegisteredModelsAndKeys)
{
    QFile readme(QStringLiteral(ZOR_SOURCE_DIR "/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString text = QString::fromUtf8(readme.readAll());
    const int section = text.indexOf(QLatin1String("\n## The simulated instrument"));
    ASSERT_GE(section, 0);
    const int next = text.indexOf(QLatin1String("\n## "), section + 1);
    const QString body = text.mid(section, next < 0 ? -1 : next - section);

    QStringList documented;
    const QRegularExpression row(QStringLiteral("^\\|\\s*`([^`]+)`\\s*\\|(.*)\\|\\s*$"),
                                 QRegularExpression::MultilineOption);
    for (auto it = row.globalMatch(body); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QStringList keys;
        QString cell = m.captured(2);
        cell.remove(QRegularExpression(QStringLiteral("\\([^)]*\\)")));
        for (const QString& item : cell.split(','))
            if (QRegularExpression(QStringLiteral("^[a-z][a-z0-9]*$")).match(item.trimmed()).hasMatch())
                keys << item.trimmed();
        documented << m.captured(1) + QLatin1String(": ") + keys.join(' ');
    }
    QStringList registered;
    for (const zorsim::RelayModelEntry& entry : zorsim::relayModels()) {
        QStringList keys;
        for (const zorsim::RelayKey& key : entry.keys)
            keys << key.name;
        registered << entry.name + QLatin1String(": ") + keys.join(' ');
    }
    EXPECT_EQ(registered.join('\n').toStdString(), documented.join('\n').toStdString());
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
        options.ambientDegC = 33.0;
        zorsim::SimHost board(options);
        EXPECT_TRUE(board.instrument().isAttached());
        EXPECT_EQ(33 * 16, board.instrument().peekRegister(0x8416)) << "the amplifiers at the ambient";
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

}   // namespace
