// The program's main window (qrc:/Main.qml) on the whole engine and the
// simulated instrument, with the network service and a PC on 127.0.0.1
// (RemoteServiceSupport.h). Each TEST runs in a process of its own.

#include "../remote_service/RemoteServiceSupport.h"

#include "ZorInterfaceResources.h"
#include "ZorQmlTypes.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>

using namespace remoteservice;
using namespace pc::rec;

class MainWindow : public RemoteServiceTest
{
protected:
    void TearDown() override
    {
        engine.reset();
        RemoteServiceTest::TearDown();
    }

    // Loaded as the start-up loads it: the window's content ("mainWindow").
    QObject* load()
    {
        zorInitInterfaceResources();
        zorRegisterQmlTypes();
        engine = std::make_unique<QQmlApplicationEngine>();
        engine->addImportPath(QStringLiteral("qrc:/"));
        engine->load(QUrl(QStringLiteral("qrc:/Main.qml")));
        QObject* root = engine->rootObjects().value(0);
        return root ? root->findChild<QObject*>("mainWindow") : nullptr;
    }

    static int builtPages(QObject* window)
    {
        int built = 0;
        for (const QVariant& slot : window->property("allSlots").toList())
            built += slot.value<QObject*>()->property("item").value<QObject*>() ? 1 : 0;
        return built;
    }

    std::unique_ptr<QQmlApplicationEngine> engine;
};

// The engine announced the temperature before the window existed.
TEST_F(MainWindow, HeaderShowsTheTemperatureFromTheFirstFrame)
{
    for (int sensor = 0; sensor < 4; ++sensor)
        sim->setTemperature(sensor, 37.0);
    initialise();
    ASSERT_TRUE(waitFor([this] { return runtime([](ControllerRuntime& rt) { return rt.powerT[3]; }) == 37; }));
    ASSERT_TRUE(settle());
    QObject* window = load();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->findChild<QObject*>("temperatureLabel")->property("text").toString(), QStringLiteral("37℃"));
}

// Remote control ticked on the start page; a PC runs its AC test (1 A in IA,
// trip on input 0) to the relay's trip, and no module page is built for it.
TEST_F(MainWindow, PcRunsItsAcTestBeforeAnyPageIsOpened)
{
    initialise();
    service->netWorkServiceInit();
    QObject* window = load();
    ASSERT_TRUE(window);
    EXPECT_EQ(builtPages(window), 0);
    QObject* box = window->findChild<QObject*>("remoteCheckBox");
    QMetaObject::invokeMethod(box, "toggle");
    QMetaObject::invokeMethod(box, "clicked");
    ASSERT_TRUE(waitFor([this] { return service->isServiceEnabled(); }));
    Pc pc;
    connectPc(pc);
    pc::Bytes record(AC_SIZE);
    for (int k = 0; k < 8; ++k)
        phase(record, AC_OUTPUTS, k, k == 4 ? 1.0f : 0.0f, 0.0f, 50.0f);
    ramp(record, AC_RAMP, 1, 8, 0, 0, 0.0f, 0.0f, 1.0f).f32(AC_FAULT_TIME, 10.0f).u32(AC_RISE, 0x1);
    ASSERT_EQ(pc.ask(parameterRequest(0xB104, record)), QByteArray(1, '\0'));

    auto relay = plugRelay(4, 0.9, 0.5);
    const size_t mark = pc.frames.size();
    EXPECT_EQ(pc.ask(startRequest()), QByteArray(1, '\0'));
    ASSERT_GE(pc.waitStatus(1, mark), 0);
    const auto trip = pc.waitFrame(pc::PushTrigger, mark, 10000);
    ASSERT_TRUE(trip.has_value());
    ASSERT_TRUE(waitEnded());
    EXPECT_FLOAT_EQ(pc::Bytes(trip->payload).f32(241 + 8), float(testor().dataAlternate->faultActionTimes[0]));
    EXPECT_GT(pc::Bytes(trip->payload).f32(241 + 8), 0.0f);
    EXPECT_EQ(builtPages(window), 0);
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
