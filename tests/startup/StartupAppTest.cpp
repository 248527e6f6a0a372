// The application object's input reports and the pieces start-up is made of:
// the translation choice, the shipped data files and the calibration that
// must reach the driver after its initialisation.

#include "StartupTestSupport.h"

#include "CommDriverData.h"
#include "CustomApplication.h"
#include "ModelCalibrationEntity.h"
#include "ZorStartup.h"

#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTimerEvent>
#include <QTouchEvent>

#include <memory>
#include <vector>

namespace {

CustomApplication* application()
{
    return qobject_cast<CustomApplication*>(QCoreApplication::instance());
}

// Records each event it receives with the number of input reports seen by then.
class Recorder : public QObject
{
public:
    bool event(QEvent* e) override
    {
        received.push_back({e->type(), *reports});
        return QObject::event(e);
    }
    int* reports = nullptr;
    std::vector<std::pair<QEvent::Type, int>> received;
};

TEST(CustomApplication, UserInputIsReportedOnceBeforeItIsDeliveredAndOtherEventsAreNot)
{
    CustomApplication* app = application();
    ASSERT_NE(nullptr, app);
    int reports = 0;
    Recorder target;
    target.reports = &reports;
    QObject::connect(app, &CustomApplication::sigMouseEvent, &target, [&reports] { ++reports; });

    const QPointF at(10, 10);
    std::vector<std::unique_ptr<QEvent>> inputs;
    inputs.emplace_back(new QMouseEvent(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    inputs.emplace_back(new QMouseEvent(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    inputs.emplace_back(new QMouseEvent(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    inputs.emplace_back(new QMouseEvent(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier));
    inputs.emplace_back(new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier));
    inputs.emplace_back(new QKeyEvent(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier));
    for (const auto& e : inputs) {
        const int before = reports;
        QCoreApplication::sendEvent(&target, e.get());
        EXPECT_EQ(before + 1, reports) << e->type();
        ASSERT_FALSE(target.received.empty());
        EXPECT_EQ(e->type(), target.received.back().first);
        EXPECT_EQ(before + 1, target.received.back().second) << "reported before delivery: " << e->type();
    }

    std::vector<std::unique_ptr<QEvent>> others;
    others.emplace_back(new QPaintEvent(QRect(0, 0, 4, 4)));
    others.emplace_back(new QTimerEvent(1));
    others.emplace_back(new QTouchEvent(QEvent::TouchBegin));
    others.emplace_back(new QEvent(QEvent::User));
    for (const auto& e : others) {
        const int before = reports;
        const size_t delivered = target.received.size();
        QCoreApplication::sendEvent(&target, e.get());
        EXPECT_EQ(before, reports) << e->type();
        ASSERT_EQ(delivered + 1, target.received.size());
        EXPECT_EQ(e->type(), target.received.back().first);
    }
}

TEST(StartupPieces, TranslationFollowsTheLanguageAndFallsBackToChinese)
{
    const struct
    {
        int language;
        const char* file;
    } rows[] = {
        {0, ":/zh_cn.qm"}, {1, ":/us_en.qm"}, {2, ":/pt_pt.qm"}, {3, ":/ru_ru.qm"},
        {4, ":/ja_jp.qm"}, {5, ":/zh_cn.qm"}, {19, ":/zh_cn.qm"}, {-1, ":/zh_cn.qm"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(QString::fromLatin1(row.file), zorTranslationFile(row.language)) << row.language;
}

TEST(StartupPieces, ShippedDataIsInstalledWhenMissingAndAnExistingFileIsKept)
{
    TestSandbox box;
    QFile shipped(QStringLiteral(ZOR_SOURCE_DIR "/resources/dat/CUSTOM_TIMEZONES.XML"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    const QByteArray original = shipped.readAll();

    EXPECT_EQ(1, zorInstallShippedData(box.path()));
    EXPECT_EQ(original, box.read("dat/CUSTOM_TIMEZONES.XML"));
    EXPECT_TRUE(QFileInfo(box.filePath("dat/CUSTOM_TIMEZONES.XML")).isWritable());

    box.write("dat/CUSTOM_TIMEZONES.XML", "<TimeZones/>");   // the user's own table
    EXPECT_EQ(0, zorInstallShippedData(box.path()));
    EXPECT_EQ(QByteArray("<TimeZones/>"), box.read("dat/CUSTOM_TIMEZONES.XML"));
}

class CalibrationAtStartup : public StartupEngineTest
{
};

TEST_F(CalibrationAtStartup, StoredCalibrationReachesTheDriverAlthoughItWasLoadedBeforeTheDriverExisted)
{
    // A stored factor that differs from every default.
    {
        ModelCalibrationEntity stored;
        stored.acampAmpFactors[4][0][0] = 1.2345;
        ASSERT_TRUE(stored.save(ModelCalibrationEntity::CAL_TYPE_ACAMP));
    }

    ControllerCenter* center = engine();
    zorReloadCalibrationOnDriverInit(center);
    int calLoaded = 0;
    QObject receiver;
    QObject::connect(center, &ControllerCenter::sigUpdateDataToView, &receiver, [&](qint32 type, qint32 sub) {
        if (type == ControllerRuntime::DATA_TYPE_RT_STATE && sub == ControllerRuntime::STATE_TYPE_CALLOADED)
            ++calLoaded;
    });

    // The worst order start-up can meet: the queued calibration load is
    // finished before the driver is set up.
    center->initiate();
    ASSERT_TRUE(startuptest::waitFor([&] { return calLoaded == 1; }));
    center->testConfig();
    ASSERT_TRUE(startuptest::waitFor([&] { return calLoaded == 2; }));
    ASSERT_NE(nullptr, globalConfigureCalData);
    EXPECT_FLOAT_EQ(1.2345f, globalConfigureCalData->acampAmpFactors[4][0][0]);
}

} // namespace
