// The test-point list frame, one row per model that carries it: the point
// cap, the selection rules, removing and clearing, the list in the parameter
// file, and when the entity's progress marks belong to the list. The list
// operations are called by name, as the pages call them.

#include "DistanceModelSupport.h"

#include "../energymodel/EnergyModelSupport.h"
#include "../loadsheddingmodel/LoadSheddingModelSupport.h"
#include "../overcurrentmodel/OvercurrentModelSupport.h"

#include <QDomDocument>

#include <functional>
#include <iterator>
#include <memory>
#include <vector>

using namespace dmtest;

namespace {

int call(ViewBaseModel& vm, const char* method, int arg = -1000);

// One model of the frame: how to make it, give its edit point a value that
// tells the points apart and read it back, remove a point, and mark an
// entity state; and where its rules differ.
struct FrameModel
{
    const char* name;
    ControllerTestor::TESTType type;
    QString folder;
    int statesPerPoint;
    int cap;
    bool addSelectsNew;
    int badIndexState;        // getTestStates of an index outside the list (-2: the edit point's)
    int emptyActive;          // getActiveIndex of an empty list
    bool removeSelectsLast;   // removing the last point selects the new last one (else a stale 0)
    double editAfterLoad;     // the edit point after loading {3, 4, 5} saved with point 1 selected
    std::function<std::unique_ptr<ViewBaseModel>()> make;
    std::function<void(ViewBaseModel&, double)> setValue;
    std::function<double(ViewBaseModel&, int)> value;
    std::function<void(int state, int mark)> markEntity;
    // Overcurrent removes the selected point: removePoint() after setActiveIndex(index).
    bool removesSelected = false;
    // A point the stop ends with no trip recorded has not been tested.
    bool stopUntestsUntripped = false;
};

template <typename Entity>
void mark(Entity& e, int state, int value)
{
    QMutexLocker lock(&e.entityLock);
    if (state < int(std::size(e.stateTestStates)))   // the under-frequency entity holds 8
        e.stateTestStates[state] = ModelEntity::AOTestStateType(value);
}

double sheddingValue(ViewBaseModel& vm, int i)
{
    auto& m = static_cast<ViewLoadSheddingModel&>(vm);
    return (i < 0 ? lstest::Probe::edit(m) : lstest::Probe::at(m, i)).settings[ViewLoadSheddingModel::SLIDE_BEGIN];
}

void setSheddingValue(ViewBaseModel& vm, double v)
{
    lstest::Probe::set(static_cast<ViewLoadSheddingModel&>(vm), ViewLoadSheddingModel::SLIDE_BEGIN, v);
}

const FrameModel kModels[] = {
    {"distance", ControllerTestor::TEST_DISTANCE, "Distance", 3, 32, false, 0, -1, false, 4.0,
     [] { return std::make_unique<DistanceModel>(); },
     [](ViewBaseModel& vm, double v) { static_cast<VM&>(vm).setFaultZRange(v); },
     [](ViewBaseModel& vm, int i) { return static_cast<VM&>(vm).getFaultZRange(i); },
     [](int s, int m) { mark(entity(), s, m); }, false, true},
    {"overcurrent", ControllerTestor::TEST_OVERCURRENT, "Overcurrent", 3, 32, true, -2, 0, true, 4.0,
     [] { return std::make_unique<omtest::OvercurrentModel>(); },
     [](ViewBaseModel& vm, double v) { static_cast<omtest::VM&>(vm).setTestCurrent(v); },
     [](ViewBaseModel& vm, int i) { return static_cast<omtest::VM&>(vm).getTestCurrent(i); },
     [](int s, int m) { mark(omtest::entity(), s, m); }, true, true},
    {"energy", ControllerTestor::TEST_ENERGY, "Energy", 1, 32, false, -2, -1, false, 3.0,
     [] { return std::make_unique<emtest::EnergyModel>(); },
     // The frequency, 40 Hz up: a current beyond the device's largest is
     // refused, and so is a frequency no output gives.
     [](ViewBaseModel& vm, double v) { static_cast<emtest::VM&>(vm).setFrequency(v + 40.0); },
     [](ViewBaseModel& vm, int i) { return static_cast<emtest::VM&>(vm).getFrequency(i) - 40.0; },
     [](int s, int m) { mark(emtest::entity(), s, m); }, false, true},
    // Frequencies an output gives: the values 40 Hz up.
    {"under-frequency", ControllerTestor::TEST_SLIP_FREQUENCY, "SlipFrequency", 1, 8, true, -2, -1, true, 4.0,
     [] { return lstest::makeModel(false); }, [](ViewBaseModel& vm, double v) { setSheddingValue(vm, v + 40.0); },
     [](ViewBaseModel& vm, int i) { return sheddingValue(vm, i) - 40.0; },
     [](int s, int m) { mark(lstest::frequencyEntity(), s, m); }, false, true},
    {"under-voltage", ControllerTestor::TEST_SLIP_VOLTAGE, "SlipVoltage", 1, 32, true, -2, -1, true, 4.0,
     [] { return lstest::makeModel(true); }, setSheddingValue, sheddingValue,
     [](int s, int m) { mark(lstest::voltageEntity(), s, m); }, false, true},
};

void removePoint(ViewBaseModel& vm, const FrameModel& m, int index)
{
    if (m.removesSelected) {
        call(vm, "setActiveIndex", index);
        call(vm, "removePoint");
    } else {
        call(vm, "removePoint", index);
    }
}

int call(ViewBaseModel& vm, const char* method, int arg)
{
    int result = -1000;
    bool ok = arg == -1000 ? QMetaObject::invokeMethod(&vm, method, Qt::DirectConnection, Q_RETURN_ARG(int, result))
                           : QMetaObject::invokeMethod(&vm, method, Qt::DirectConnection, Q_RETURN_ARG(int, result),
                                                       Q_ARG(int, arg));
    if (!ok)
        ok = arg == -1000 ? QMetaObject::invokeMethod(&vm, method, Qt::DirectConnection)
                          : QMetaObject::invokeMethod(&vm, method, Qt::DirectConnection, Q_ARG(int, arg));
    EXPECT_TRUE(ok) << method;
    return result;
}

class PointListFrame : public DistanceModelTest
{
protected:
    std::vector<double> values(ViewBaseModel& vm, const FrameModel& m)
    {
        std::vector<double> list;
        for (int i = 0; i < call(vm, "getPointsCount"); ++i)
            list.push_back(m.value(vm, i));
        return list;
    }
    std::vector<int> states(ViewBaseModel& vm)
    {
        std::vector<int> list;
        for (int i = 0; i < call(vm, "getPointsCount"); ++i)
            list.push_back(call(vm, "getTestStates", i));
        return list;
    }
    void fill(ViewBaseModel& vm, const FrameModel& m, std::initializer_list<double> list)
    {
        for (double v : list) {
            m.setValue(vm, v);
            call(vm, "addPoint");
        }
    }
};

} // namespace

TEST_F(PointListFrame, ListRulesStorageAndProgressByModel)
{
    constexpr int kInit = ViewBaseModel::AO_STATE_TYPE_INITING;
    constexpr int kRun = ViewBaseModel::AO_STATE_TYPE_RUNNNING;
    constexpr int kDone = ViewBaseModel::AO_STATE_TYPE_COMPLETED;
    for (const FrameModel& m : kModels) {
        SCOPED_TRACE(m.name);
        center->testActive(m.type);
        auto vm = m.make();
        vm->testActive();
        const auto judged = [&m](int i) { return m.statesPerPoint == 3 ? 3 * i + 1 : i; };

        // Empty list; the cap; what adding selects.
        EXPECT_EQ(call(*vm, "getActiveIndex"), m.emptyActive);
        for (int i = 0; i <= m.cap; ++i)
            fill(*vm, m, {1.0 + i});
        EXPECT_EQ(call(*vm, "getPointsCount"), m.cap);
        EXPECT_EQ(values(*vm, m).back(), double(m.cap));
        EXPECT_EQ(call(*vm, "getActiveIndex"), m.addSelectsNew ? m.cap - 1 : 0);
        if (m.badIndexState != -2) {
            EXPECT_EQ(call(*vm, "getTestStates", 40), m.badIndexState);
        }

        // Removing: a bad index does nothing; the last point leaves the
        // selection on the new last one or stale (read as 0).
        if (!m.removesSelected) {
            call(*vm, "removePoint", -1);
            call(*vm, "removePoint", m.cap);
            EXPECT_EQ(call(*vm, "getPointsCount"), m.cap);
        }
        call(*vm, "setActiveIndex", m.cap - 1);
        removePoint(*vm, m, m.cap - 1);
        EXPECT_EQ(call(*vm, "getActiveIndex"), m.removeSelectsLast ? m.cap - 2 : 0);
        // The selected point in the middle: the selection stays on the
        // point that takes its place.
        call(*vm, "clearPoint");
        fill(*vm, m, {3.0, 4.0, 5.0});
        call(*vm, "setActiveIndex", 1);
        removePoint(*vm, m, 1);
        EXPECT_EQ(values(*vm, m), (std::vector<double>{3.0, 5.0}));
        EXPECT_EQ(call(*vm, "getActiveIndex"), 1);
        call(*vm, "clearPoint");
        EXPECT_EQ(call(*vm, "getPointsCount"), 0);
        EXPECT_EQ(call(*vm, "getActiveIndex"), m.emptyActive);

        // Stored as "pointCount" and "point" + i, read back in order with
        // the stored selection in the edit point.
        fill(*vm, m, {3.0, 4.0, 5.0});
        call(*vm, "setActiveIndex", 1);
        m.setValue(*vm, 9.0);
        ASSERT_TRUE(vm->saveParameter());
        QDomDocument doc;
        ASSERT_TRUE(doc.setContent(sandbox.read(appRoot() + "/parameters/" + m.folder + "/parameter.xml")));
        const QDomElement countElement = doc.elementsByTagName("pointCount").at(0).toElement();
        EXPECT_EQ(countElement.text(), "3");
        const QDomElement list = countElement.parentNode().toElement();
        EXPECT_FALSE(list.firstChildElement("point2").isNull());
        EXPECT_TRUE(list.firstChildElement("point3").isNull());
        {
            auto back = m.make();
            back->testActive();
            ASSERT_TRUE(back->loadParameter());
            EXPECT_EQ(values(*back, m), (std::vector<double>{3.0, 4.0, 5.0}));
            EXPECT_EQ(m.value(*back, -1), m.editAfterLoad);
        }

        // Progress: marks left in the entity (a refused start, another
        // list) are not copied before the start hook; from there on they
        // are, and the stop closes the running point (not tested where the
        // model judges an absence of trip), also in the entity.
        for (int s = 0; s < 9; ++s)
            m.markEntity(s, kDone);
        vm->updateEntToVM(ViewBaseModel::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
        EXPECT_EQ(states(*vm), (std::vector<int>{kInit, kInit, kInit}));
        reportRunning(*vm, true);
        m.markEntity(judged(0), kDone);
        m.markEntity(judged(1), kRun);
        m.markEntity(judged(2), kInit);
        vm->updateEntToVM(ViewBaseModel::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
        EXPECT_EQ(states(*vm), (std::vector<int>{kDone, kRun, kInit}));
        reportRunning(*vm, false);
        call(*vm, "setActiveIndex", 2);
        EXPECT_EQ(states(*vm), (std::vector<int>{kDone, m.stopUntestsUntripped ? kInit : kDone, kInit}));

        // Once the list changed the entity's marks are another list's: new
        // points keep their own, also when a row is selected.
        call(*vm, "clearPoint");
        fill(*vm, m, {6.0, 7.0});
        m.markEntity(judged(0), kDone);
        m.markEntity(judged(1), kDone);
        call(*vm, "setActiveIndex", 1);
        EXPECT_EQ(states(*vm), (std::vector<int>{kInit, kInit}));
    }
}

TEST_F(PointListFrame, ReadingStopsAt32PointsAndARunningPointLoadsCompleted)
{
    for (const FrameModel& m : kModels) {
        SCOPED_TRACE(m.name);
        center->testActive(m.type);
        const QString file = appRoot() + "/parameters/" + m.folder + "/parameter.xml";
        auto vm = m.make();
        vm->testActive();
        fill(*vm, m, {1.0, 2.0});
        ASSERT_TRUE(vm->saveParameter());
        QDomDocument doc;
        ASSERT_TRUE(doc.setContent(sandbox.read(file)));
        QDomElement count = doc.elementsByTagName("pointCount").at(0).toElement();
        count.firstChild().setNodeValue("2147483647");
        QDomElement state = count.parentNode().firstChildElement("point1").firstChildElement("testState");
        state.firstChild().setNodeValue(QString::number(ViewBaseModel::AO_STATE_TYPE_RUNNNING));
        sandbox.write(file, doc.toByteArray(4));

        auto back = m.make();
        back->testActive();
        ASSERT_TRUE(back->loadParameter());
        // The points the file holds, whatever its count says.
        EXPECT_EQ(call(*back, "getPointsCount"), 2);
        EXPECT_EQ(m.value(*back, 1), 2.0);
        EXPECT_EQ(call(*back, "getTestStates", 1), ViewBaseModel::AO_STATE_TYPE_COMPLETED);

        // A file may hold more points than the under-frequency list takes
        // by adding (its entity's 8); more than 32 refuse it.
        QDomElement list = count.parentNode().toElement();
        for (int i = 2; i <= 32; ++i)
            list.appendChild(list.firstChildElement("point1").cloneNode()).toElement().setTagName(QStringLiteral("point%1").arg(i));
        sandbox.write(file, doc.toByteArray(4));
        auto over = m.make();
        over->testActive();
        EXPECT_FALSE(over->loadParameter());
        EXPECT_EQ(call(*over, "getPointsCount"), 0);
        EXPECT_TRUE(over->takeParameterFileNotice().contains(QStringLiteral("/point = 33")));
    }
}
