// The distance parameter file (golden file, reload, values a file must not
// be trusted with) and the report tables. The report tests' fixture names
// begin with "Report": the HTML5 parse of this folder runs them.

#include "DistanceModelSupport.h"
#include "ModelFileSupport.h"

#include <QDomDocument>

#include <string>
#include <vector>

using namespace dmtest;

namespace {

using filetest::Table;

// Two points (C-A reverse, tripped on input 2 within its tolerance; A-N not
// run), the second selected, with values that six significant digits change.
void fill(DistanceModel& vm)
{
    vm.setLoadCurrent(0.123456789);
    vm.setLoadAngle(-20.0);
    vm.setRepairFactor(0, 0.75);
    vm.setOupputTimeFactor2(0.15);
    vm.setOutputBIState(0, 1, VM::AO_BI_STATE_NONE);
    vm.setOutputBOState(2, 1);
    vm.setOutputBILogic(0, VM::AO_BILOGIC_TYPE_AND);
    vm.tick({1});
    vm.setFaultKind(VM::FAULT_TYPE_C_A);
    vm.setFaultDirection(VM::DIRECTION_TYPE_NEGATIVE);
    vm.setFaultZRange(1.23456789);
    vm.setSettingTimes(-1, 0.5);
    vm.addPoint();
    vm.setFaultDirection(VM::DIRECTION_TYPE_POSITIVE);
    vm.addAt(2.0);
    vm.tick({1});
    vm.point(0)->testState = VM::AO_STATE_TYPE_COMPLETED;
    vm.setTrip(0, 1, 0.5312345);
    vm.setActiveIndex(1);
}

class DistanceFile : public DistanceModelTest
{
protected:
    QString parameterFile() const { return appRoot() + "/parameters/Distance/parameter.xml"; }
};

class ReportDistance : public DistanceModelTest
{
protected:
    // The report's tables as cell texts, in order.
    std::vector<Table> tables(const QString& name)
    {
        const QString file = appRoot() + "/report/Distance/" + name;
        vmtest::expectValidReport(file);
        return filetest::tables(sandbox.read(file));
    }
    // The table whose first row begins with cell.
    Table table(const std::vector<Table>& all, const std::string& cell) { return filetest::find(all, cell); }
};

} // namespace

TEST_F(DistanceFile, GoldenFileAndItsReload)
{
    {
        DistanceModel vm;
        vm.testActive();
        fill(vm);
        ASSERT_TRUE(vm.saveParameter());
    }
    const QByteArray written = sandbox.read(parameterFile());
    vmtest::updateGoldenIfAsked("distancemodel/parameter.xml", written);
    EXPECT_EQ(QString::fromUtf8(written), QString::fromUtf8(testData("distancemodel/parameter.xml")));

    QDomDocument doc;
    ASSERT_TRUE(doc.setContent(written));
    EXPECT_EQ(doc.documentElement().firstChildElement("checkedFactors").firstChildElement("pointCount").text(), "2");

    DistanceModel back;
    back.testActive();
    ASSERT_TRUE(back.loadParameter());
    EXPECT_EQ(back.getLoadCurrent(), 0.123457);
    EXPECT_EQ(back.getPointsCount(), 2);
    EXPECT_EQ(back.getFaultKind(0), VM::FAULT_TYPE_C_A);
    EXPECT_EQ(back.getFaultDirection(0), VM::DIRECTION_TYPE_NEGATIVE);
    EXPECT_EQ(back.getFaultZRange(0), 1.17284);
    EXPECT_EQ(back.getActionTimes(0), 0.531235);
    EXPECT_EQ(back.getBinaryInputIndex(0), 2);
    EXPECT_EQ(back.getTestResults(0), VM::AO_Result_TYPE_SUCCESS);
    EXPECT_EQ(back.getTestStates(1), VM::AO_STATE_TYPE_INITING);
    EXPECT_EQ(back.getActiveIndex(), 1);
    EXPECT_EQ(back.getFaultZRange(-1), 2.0);
    EXPECT_TRUE(back.getFactorChecked(1));
    EXPECT_EQ(back.getOutputBIState(0, 1), VM::AO_BI_STATE_NONE);
    EXPECT_EQ(back.getOutputBOState(2), 1);
    EXPECT_EQ(back.getOutputBILogic(0), VM::AO_BILOGIC_TYPE_AND);
    EXPECT_EQ(back.getOupputTimeFactor2(), 0.15);
}

TEST_F(DistanceFile, EnumerationsOutsideTheirRangesKeepTheField)
{
    {
        DistanceModel vm;
        vm.testActive();
        fill(vm);
        ASSERT_TRUE(vm.saveParameter());
    }
    QDomDocument doc;
    ASSERT_TRUE(doc.setContent(sandbox.read(parameterFile())));
    QDomElement root = doc.documentElement();
    const auto set = [](QDomElement e, const char* text) { e.firstChild().setNodeValue(text); };
    set(root.firstChildElement("distanceKind"), "3");
    set(root.firstChildElement("repairKind"), "-1");
    set(root.firstChildElement("outputBILogicType"), "2");
    QDomElement point0 = root.firstChildElement("checkedFactors").firstChildElement("point0");
    set(point0.firstChildElement("faultKind"), "10");
    set(point0.firstChildElement("faultDirection"), "2");
    sandbox.write(parameterFile(), doc.toByteArray(4));

    DistanceModel vm;
    vm.testActive();
    vm.setDistanceKind(VM::DISTANCE_TYPE_ZCONSTANT);
    // The file is refused: every field keeps its value.
    EXPECT_FALSE(vm.loadParameter());
    EXPECT_EQ(vm.getDistanceKind(), VM::DISTANCE_TYPE_ZCONSTANT);
    EXPECT_EQ(vm.getRepairKind(), VM::REPAIR_TYPE_KL);
    EXPECT_EQ(vm.getOutputBILogic(0), VM::AO_BILOGIC_TYPE_OR);
    EXPECT_EQ(vm.getFaultKind(0), VM::FAULT_TYPE_A_E);
    EXPECT_EQ(vm.getFaultDirection(0), VM::DIRECTION_TYPE_POSITIVE);
}

TEST_F(ReportDistance, SettingAndResultTables)
{
    DistanceModel vm;
    vm.testActive();
    fill(vm);
    ASSERT_TRUE(vm.saveReport("three.htm"));
    const std::vector<Table> three = tables("three.htm");
    const Table settings = {
        {"Pre-Fault", "3.000s", "Fault-Interval", "1.000s"},
        {"Mode", "Const Current", "Fault-Current", "1.000A"},
        {"CT Dir", "指向线路", "PT Dir", "在线路上"},
        {"Load-Current", "0.123A", "Load-Angle", "-20.000°"},
        {"Grounding", "KL", "", ""},
        {"KL Range", "0.750", "KL Angle", "0.000°"},
    };
    EXPECT_EQ(table(three, "Pre-Fault"), settings);
    EXPECT_EQ(table(three, "Logic"), (Table{{"Logic", "And", "Bi Input", "1;3;4;"}, {"Bi Output", "3;"}}));
    // Judged for the report, though no page asked for the row.
    const Table results = table(three, "");
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[1], (std::vector<std::string>{"1", "C-A", "Reverse", "1.173Ω", "75.000°", "0.500s", "0.100s",
                                                    "0.531s", "2", "通过"}));
    EXPECT_EQ(results[2], (std::vector<std::string>{"2", "A-N", "Forward", "2.000Ω", "75.000°", "0.500s", "0.100s",
                                                    "---", "---", "未测试"}));
    // A point whose fault began on a relay not reset says so, not "失败".
    vm.point(1)->testState = VM::AO_STATE_TYPE_COMPLETED;
    vm.point(1)->relayNotReset = true;
    ASSERT_TRUE(vm.saveReport("unreset.htm"));
    EXPECT_EQ(table(tables("unreset.htm"), "").at(2), (std::vector<std::string>{"2", "A-N", "Forward", "2.000Ω", "75.000°",
                                                                               "0.500s", "0.100s", "未复归", "---", "未复归"}));

    config->volPhasesType = ControllerConfiguration::PHASES_TYPE_FOUR;
    DistanceModel four;
    four.testActive();
    four.setUXDefineType(4);
    ASSERT_TRUE(four.saveReport("four.htm"));
    const Table withUX = table(tables("four.htm"), "Pre-Fault");
    ASSERT_EQ(withUX.size(), 8u);
    EXPECT_EQ(withUX[6], (std::vector<std::string>{"V AUX", "-√3U0", "", ""}));
    EXPECT_EQ(withUX[7], (std::vector<std::string>{"Range", "0.000", "Angle", "0.000°"}));
}
