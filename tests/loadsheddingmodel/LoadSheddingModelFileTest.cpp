// The parameter files of both models (golden file, reload, lists a file may
// hold) and their reports. The report tests' fixture names begin with
// "Report": the HTML5 parse of this folder runs them.

#include "LoadSheddingModelSupport.h"

#include "ModelFileSupport.h"

#include <algorithm>
#include <limits>
#include <vector>

using namespace lstest;

namespace {

using VB = ViewBaseModel;

struct Module
{
    bool voltage;
    const char* folder;
    int lastItem;
};
const Module kModules[] = {{false, "SlipFrequency", UF::ITEM_V_LOCK}, {true, "SlipVoltage", UV::ITEM_LOW_I_LOCK}};

// Two points: an action-time point completed with a trip, and a point of the
// module's last item not run, the first selected; values that six
// significant digits change.
void fill(ViewLoadSheddingModel& vm, const Module& m)
{
    vm.setPreFaultTime(1.25);
    vm.setHoldTime(3.0);
    vm.setAfterFaultTime(0.75);
    add(vm, ViewLoadSheddingModel::kItemActionTime, 50.0, 45.0, 0.5, 0.123456789, 49.0);
    setResult(vm, 0, VB::AO_STATE_TYPE_COMPLETED, 48.9, 10.35);
    vm.setCurrentBegin(2.5);
    add(vm, m.lastItem, 49.5, 48.0, 0.2, 1.0);
    vm.setActiveIndex(0);
}

class LoadSheddingFile : public LoadSheddingModelTest
{
protected:
    QString parameterFile(const Module& m) const
    {
        return appRoot() + "/parameters/" + m.folder + "/parameter.xml";
    }
    // Writes the file, then a fresh model reads it.
    std::unique_ptr<ViewLoadSheddingModel> reload(const Module& m, const QByteArray& bytes)
    {
        sandbox.write(parameterFile(m), bytes);
        std::unique_ptr<ViewLoadSheddingModel> vm = makeModel(m.voltage);
        vm->testActive();
        EXPECT_TRUE(vm->loadParameter());
        return vm;
    }
};

class ReportLoadShedding : public LoadSheddingModelTest
{
};

} // namespace

TEST_F(LoadSheddingFile, GoldenFilesAndTheirReload)
{
    for (const Module& m : kModules) {
        SCOPED_TRACE(m.folder);
        {
            std::unique_ptr<ViewLoadSheddingModel> vm = makeModel(m.voltage);
            vm->testActive();
            fill(*vm, m);
            ASSERT_TRUE(vm->saveParameter());
        }
        const QByteArray written = sandbox.read(parameterFile(m));
        const QString golden = QStringLiteral("loadsheddingmodel/%1.xml").arg(m.folder);
        vmtest::updateGoldenIfAsked(golden, written);
        EXPECT_EQ(QString::fromUtf8(written), QString::fromUtf8(testData(golden)));

        std::unique_ptr<ViewLoadSheddingModel> back = reload(m, written);
        ASSERT_EQ(back->getPointsCount(), 2);
        EXPECT_EQ(back->getActiveIndex(), 0);
        EXPECT_EQ(back->getPreFaultTime(), 1.25);
        EXPECT_EQ(back->getHoldTime(), 3.0);
        EXPECT_EQ(back->getAfterFaultTime(), 0.75);
        EXPECT_EQ(back->getActiveTestItem(), ViewLoadSheddingModel::kItemActionTime);
        EXPECT_EQ(back->getTestStates(0), VB::AO_STATE_TYPE_COMPLETED);
        EXPECT_EQ(back->getActionTimeStr(0), "2.250s");   // 10.35 s less 1 / 0.123457 s (file precision)
        EXPECT_EQ(back->getTestStates(1), VB::AO_STATE_TYPE_INITING);
        EXPECT_EQ(back->getActionTime(1), -1.0);
        EXPECT_EQ(Probe::at(*back, 1).testItemType, m.lastItem);
        EXPECT_EQ(Probe::at(*back, 1).settings[0], 49.5);
        back->setActiveIndex(1);
        EXPECT_EQ(back->getCurrentBegin(), 2.5);
        // Angles are not stored; the ports show those the test outputs.
        const std::vector<double> angles{back->getOutputAngle(0), back->getOutputAngle(1), back->getOutputAngle(2)};
        EXPECT_EQ(angles, (std::vector<double>{0.0, 240.0, 120.0}));
    }
}

// Ten points under frequency: all ten rows, the first eight in the entity;
// as many without "pointCount". An item outside the enumeration refuses the
// file.
TEST_F(LoadSheddingFile, ListsAFileMayHold)
{
    const Module& uf = kModules[0];
    const auto list = [](int badItemAt) {
        QString points;
        for (int i = 0; i < 10; ++i)
            points += QStringLiteral("<point%1><testItemType>%2</testItemType><frequencyBegin>%3</frequencyBegin>"
                                     "</point%1>")
                          .arg(i)
                          .arg(i == badItemAt ? 9 : 2)
                          .arg(40 + i);
        return points;
    };
    const auto file = [](const QString& list) {
        return QStringLiteral("<?xml version=\"1.0\"?><DataRoot><testPoints>%1</testPoints></DataRoot>").arg(list).toUtf8();
    };

    std::unique_ptr<ViewLoadSheddingModel> ten = reload(uf, file("<pointCount>10</pointCount>" + list(-1)));
    ASSERT_EQ(ten->getPointsCount(), 10);
    EXPECT_EQ(Probe::at(*ten, 9).settings[0], 49.0);
    EXPECT_EQ(Probe::at(*ten, 0).testItemType, UF::ITEM_FREQUENCY_SLIP);
    ten->updateVMToEnt(VB::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
    {
        QMutexLocker lock(&frequencyEntity().entityLock);
        EXPECT_EQ(frequencyEntity().pointCnt, 8);
    }

    std::unique_ptr<ViewLoadSheddingModel> uncounted = reload(uf, file(list(-1)));
    ASSERT_EQ(uncounted->getPointsCount(), 10);
    EXPECT_EQ(Probe::at(*uncounted, 0).settings[0], 40.0);

    sandbox.write(parameterFile(uf), file("<pointCount>10</pointCount>" + list(1)));
    std::unique_ptr<ViewLoadSheddingModel> refused = makeModel(uf.voltage);
    refused->testActive();
    EXPECT_FALSE(refused->loadParameter());
    EXPECT_EQ(refused->getPointsCount(), 0);
}

// Rows: a point that tripped, one that did not, one not run.
TEST_F(ReportLoadShedding, RowsByProgress)
{
    for (const Module& m : kModules) {
        SCOPED_TRACE(m.folder);
        std::unique_ptr<ViewLoadSheddingModel> vm = makeModel(m.voltage);
        vm->testActive();
        fill(*vm, m);
        add(*vm, 0, 50.0, 45.0, 1.0, 1.0);
        setResult(*vm, 2, VB::AO_STATE_TYPE_COMPLETED, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN());
        const QString name = QStringLiteral("%1.htm").arg(m.folder);
        ASSERT_TRUE(vm->saveReport(name));
        const QString path = appRoot() + "/report/" + m.folder + "/" + name;
        vmtest::expectValidReport(path);
        EXPECT_EQ(sandbox.read(path).count("Test Result"), 1);

        // The table of the points: its first cell is "序号".
        const filetest::Table rows = filetest::find(filetest::tables(sandbox.read(path)), "序号");
        ASSERT_EQ(rows.size(), 4u);
        const auto tail = [&](int r) { return filetest::Row(rows[r].begin() + std::min<size_t>(2, rows[r].size()), rows[r].end()); };
        EXPECT_EQ(rows[0], (filetest::Row{"序号", "测试项目", "动作值", "动作时间"}));
        EXPECT_EQ(rows[1], (filetest::Row{"1", "动作时间", "---", "2.250s"}));
        EXPECT_EQ(tail(2), (filetest::Row{"未测试", "未测试"}));
        EXPECT_EQ(tail(3), (filetest::Row{"未动作", "未动作"}));
    }
}
