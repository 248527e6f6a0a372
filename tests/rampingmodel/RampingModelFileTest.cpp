// The ramping parameter file (golden file of a new model, reload of a
// non-default one, missing parts, values a file must not be trusted with)
// and the report tables. The report tests' fixture names begin with
// "Report": the HTML5 parse of this folder runs them.

#include "RampingModelSupport.h"
#include "ModelFileSupport.h"

#include <QCoreApplication>
#include <QDomDocument>
#include <QTranslator>

#include <functional>
#include <string>
#include <vector>

using namespace rmtest;

namespace {

using filetest::Table;

using filetest::setText;

class RampingFile : public RampingModelTest
{
protected:
    QString parameterFile() const { return appRoot() + "/parameters/Ramping/parameter.xml"; }

    void editFile(const std::function<void(QDomDocument&, QDomElement&)>& fn)
    {
        filetest::editXml(sandbox, parameterFile(), fn);
    }
};

class ReportRamping : public RampingModelTest
{
protected:
    // The report's tables whose first row begins with firstCell, as cell texts.
    std::vector<Table> tables(const QString& name, const std::string& firstCell)
    {
        const QString file = appRoot() + "/report/Ramping/" + name;
        vmtest::expectValidReport(file);
        return filetest::startingWith(filetest::tables(sandbox.read(file)), firstCell);
    }
};

} // namespace

TEST_F(RampingFile, GoldenFileOfANewModelAndAReloadedOne)
{
    {
        RampingModel vm;
        vm.testActive();
        ASSERT_TRUE(vm.saveParameter());
    }
    const QByteArray written = sandbox.read(parameterFile());
    vmtest::updateGoldenIfAsked("rampingmodel/parameter.xml", written);
    EXPECT_EQ(QString::fromUtf8(written), QString::fromUtf8(testData("rampingmodel/parameter.xml")));

    // A non-default model: two states, the second with a group ramp, results.
    {
        RampingModel vm;
        vm.testActive();
        vm.setOutputRange(port(4), 1.23456789);
        vm.setFunction(51);
        vm.setSettingTime(-1, 0.15);
        vm.addRamp(11, VM::RAMP_ITEM_TYPE_FREQUENCY, 45.5, -0.25, 0.3);   // IBIC
        vm.setOutputBIState(1, 3, VM::AO_BI_STATE_ONOFF);
        vm.setOutputBOState(1, 2, 1);
        vm.state(1).testState = VM::AO_STATE_TYPE_COMPLETED;
        vm.setAction(1, 1, 0.2, {47.0, 46.75});
        vm.setActiveIndex(0);
        ASSERT_TRUE(vm.saveParameter());
    }
    RampingModel back;
    back.testActive();
    back.removeState();
    ASSERT_TRUE(back.loadParameter());
    ASSERT_EQ(back.getStatesCount(), 2);
    EXPECT_EQ(back.getActiveIndex(), 0);
    EXPECT_EQ(back.state(0).outputRanges[4], 1.23457);
    EXPECT_EQ(back.getFunction(1), 51);
    EXPECT_EQ(back.getFaultActionPort(1), 11);
    EXPECT_EQ(back.getFaultActionItemByIndex(1), VM::RAMP_ITEM_TYPE_FREQUENCY);
    EXPECT_EQ(back.state(1).firstPoint().endValue(), 45.5);
    EXPECT_EQ(back.state(1).stepTime, 0.3);
    EXPECT_EQ(back.getOutputBIState(1, 3), VM::AO_BI_STATE_ONOFF);
    EXPECT_EQ(back.getOutputBOState(1, 2), 1);
    EXPECT_EQ(back.getSettingTimes(1), 0.15);
    EXPECT_EQ(back.getBinaryInputIndex(1), 2);
    EXPECT_EQ(back.getActionValue(1), "47.000; 46.750");
    EXPECT_EQ(back.getTestResults(1), VM::AO_Result_TYPE_SUCCESS);
    EXPECT_TRUE(std::isnan(back.getActionTimes(0)));
    back.setActiveIndex(1);
    EXPECT_EQ(back.getRampStepValue(), -0.25);
}

TEST_F(RampingFile, MissingPartsAndValuesAFileMustNotBeTrustedWith)
{
    // Edits of the saved file of a new model: an element's path and its new
    // text (null: removed).
    using Edits = std::vector<std::pair<std::vector<const char*>, const char*>>;
    struct Row
    {
        const char* name;
        Edits edits;
        std::function<void(RampingModel&)> check;
        bool taken = true;   // else the file is refused and the model keeps its values
        std::pair<std::vector<const char*>, int> copied = {};   // an element <name>0 copied as <name>1..<name>n
    };
    const std::vector<const char*> point0 = {"testStates", "state0", "points", "point0"};
    const auto in = [](std::vector<const char*> path, std::initializer_list<const char*> more) {
        path.insert(path.end(), more);
        return path;
    };
    const auto defaultPoint = [](RampingModel& vm, int i) {
        ASSERT_EQ(vm.state(i).testPoints.size(), 1u);
        EXPECT_EQ(vm.getFunction(i), 50);
        EXPECT_EQ(vm.getSettingTimes(i), 1.0);
        EXPECT_EQ(vm.getDevTimes(i), 0.1);
    };
    const Row rows[] = {
        {"no points group: one default point",
         {{{"testStates", "state0", "points"}, nullptr}}, [&](RampingModel& vm) { defaultPoint(vm, 0); }},
        {"count 0: one default point",
         {{{"testStates", "state0", "points", "count"}, "0"}}, [&](RampingModel& vm) { defaultPoint(vm, 0); }},
        {"counts are the entries the file holds",
         {{{"testStates", "stateCount"}, "2000000000"}, {{"testStates", "state0", "points", "count"}, "2000000000"}},
         [&](RampingModel& vm) {
             EXPECT_EQ(vm.getStatesCount(), 1);
             defaultPoint(vm, 0);
         }},
        {"negative state count: the states held", {{{"testStates", "stateCount"}, "-5"}},
         [](RampingModel& vm) { EXPECT_EQ(vm.getStatesCount(), 1); }},
        {"no list: one default state", {{{"testStates"}, nullptr}},
         [&](RampingModel& vm) { defaultPoint(vm, 0); }},
        {"record counts outside 0..3: no result",
         {{{"testStates", "state0", "BI1", "actionValueList", "portCnt"}, "7"},
          {{"testStates", "state0", "BI2", "actionValueList", "portCnt"}, "-1"}},
         [](RampingModel& vm) {
             EXPECT_EQ(vm.state(0).actionValue[0].portCnt, 0);
             EXPECT_EQ(vm.state(0).actionValue[1].portCnt, 0);
         }},
        {"selectors and enumerations outside their ranges refuse the file",
         {{in(point0, {"faultActionPort"}), "16"}, {in(point0, {"faultActionItem"}), "3"},
          {in(point0, {"testResult"}), "9"}, {{"testStates", "state0", "outputLinkType"}, "2"},
          {{"testStates", "state0", "testState"}, "-1"}, {{"testStates", "state0", "outputBILogicType"}, "2"},
          {{"testStates", "state0", "outputBIStates", "bi1"}, "4"}, {{"testStates", "state0", "outputBOStates", "bo0"}, "5"},
          {in(point0, {"steps", "setp0"}), "nan"}},
         [](RampingModel& vm) {
             const VM::ViewPointModel& p = vm.state(0).firstPoint();
             EXPECT_EQ(p.faultActionPort, VM::RAMP_PORT_TYPE_UA);
             EXPECT_EQ(p.faultActionItem, VM::RAMP_ITEM_TYPE_RANGE);
             EXPECT_EQ(p.testResult, VM::AO_Result_TYPE_NONE);
             EXPECT_EQ(p.actionRampStep[0], 1.0);
             EXPECT_EQ(vm.getLinkStateType(), VM::AO_LINKSTATE_TYPE_INITIATE);
             EXPECT_EQ(vm.getTestStates(0), VM::AO_STATE_TYPE_INITING);
             EXPECT_EQ(vm.getOutputBILogic(0), VM::AO_BILOGIC_TYPE_OR);
             EXPECT_EQ(vm.getOutputBIState(0, 1), VM::AO_BI_STATE_ALL);
             EXPECT_EQ(vm.getOutputBOState(0, 0), 0);
         },
         false},
        // The reader takes what the page builds and runs, no more (the
        // largest file of eight states of eight points: XmlReadersTest).
        {"a ninth state refuses the file", {}, [](RampingModel& vm) { EXPECT_EQ(vm.getStatesCount(), 1); }, false,
         {{"testStates", "state0"}, VM::kMaxStates}},
        {"a ninth point refuses the file", {}, [](RampingModel& vm) { EXPECT_EQ(vm.state(0).testPoints.size(), 1u); },
         false, {point0, VM::kMaxPoints}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        {
            RampingModel vm;
            vm.testActive();
            ASSERT_TRUE(vm.saveParameter());
        }
        editFile([&row](QDomDocument& doc, QDomElement& root) {
            const auto at = [&root](const std::vector<const char*>& names) {
                QDomElement e = root;
                for (const char* n : names)
                    e = e.firstChildElement(n);
                return e;
            };
            for (const auto& [names, text] : row.edits) {
                QDomElement e = at(names);
                if (text)
                    setText(doc, e, text);
                else
                    e.parentNode().removeChild(e);
            }
            for (int i = 1; i <= row.copied.second; ++i) {
                QDomElement copy = at(row.copied.first).cloneNode(true).toElement();
                copy.setTagName(copy.tagName().chopped(1) + QString::number(i));
                at(row.copied.first).parentNode().appendChild(copy);
            }
        });
        RampingModel vm;
        vm.testActive();
        ASSERT_EQ(vm.loadParameter(), row.taken);
        row.check(vm);
    }
}

TEST_F(ReportRamping, SettingAndResultTables)
{
    RampingModel vm;
    vm.testActive();
    vm.removeState();
    ASSERT_TRUE(vm.saveReport("empty.htm"));
    const QString empty = QString::fromUtf8(sandbox.read(appRoot() + "/report/Ramping/empty.htm"));
    EXPECT_FALSE(empty.contains("Test Setting") || empty.contains("Test Result") || empty.contains(">State<"));

    vm.setOutputRange(port(4), 1.0);
    vm.addRamp(7, VM::RAMP_ITEM_TYPE_RANGE, 5.0, 0.5);   // IA to 5 A on a three-phase unit
    vm.setOutputBOState(0, 3, 1);
    vm.addRamp(0, VM::RAMP_ITEM_TYPE_ANGLE, 90.0, 10.0, 2.0);
    vm.setOutputBILogic(1, VM::AO_BILOGIC_TYPE_AND);
    vm.state(0).testState = VM::AO_STATE_TYPE_COMPLETED;
    vm.setAction(0, 1, 1.05, {4.5});
    vm.state(1).testState = VM::AO_STATE_TYPE_COMPLETED;
    vm.addRamp(0, VM::RAMP_ITEM_TYPE_RANGE, 60.0, 1.0);
    vm.state(2).testState = VM::AO_STATE_TYPE_COMPLETED;
    vm.state(2).relayNotReset = true;
    ASSERT_TRUE(vm.saveReport("report.htm"));
    const std::string n = "---";
    const std::vector<Table> expected = {
        {
            {"State", "Variable", "Test item", "End", "Step", "Time", "Logic", "Bi Input", "Bi Output"},
            {"State1", "IA", "Amplitude", "5.000A", "0.500A", "2.000s", "Or", "1;2;3;4;", "4;"},
            {"State2", "UA", "Phase", "90.000°", "10.000°", "2.000s", "And", "1;2;3;4;", "4;"},
            {"State3", "UA", "Amplitude", "60.000V", "1.000V", "2.000s", "And", "1;2;3;4;", "4;"},
        },
        {
            {"State", "Variable", "Function", "T.nom", "Dev", "Action Time", "Action value", "DI", "Result"},
            {"State1", "IA", "50", "1.000s", "0.100s", "1.050s", "4.500A", "2", "通过"},
            {"State2", "UA", "50", "1.000s", "0.100s", n, n, n, "失败"},
            {"State3", "UA", "50", "1.000s", "0.100s", "未复归", n, n, "未复归"},
        },
    };
    EXPECT_EQ(tables("report.htm", "State"), expected);
}

TEST_F(ReportRamping, StateCellsInChinese)
{
    RampingModel vm;
    vm.testActive();
    QTranslator chinese;
    if (!chinese.load(QStringLiteral(":/zh_cn.qm")))
        GTEST_SKIP() << "no compiled translations in this build";
    QCoreApplication::installTranslator(&chinese);
    const bool saved = vm.saveReport("chinese.htm");
    QCoreApplication::removeTranslator(&chinese);
    ASSERT_TRUE(saved);
    const std::vector<Table> zh = tables("chinese.htm", "状态");
    ASSERT_EQ(zh.size(), 2u);
    EXPECT_EQ(zh[0][1][0], "状态1");
    EXPECT_EQ(zh[0][1][2], "幅值");
    EXPECT_EQ(zh[1][1][0], "状态1");
}
