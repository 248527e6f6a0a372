// The overcurrent parameter file (golden file, reload, values a file must
// not be trusted with) and the report tables. The report tests' fixture
// names begin with "Report": the HTML5 parse of this folder runs them.

#include "OvercurrentModelSupport.h"

#include <QDomDocument>

#include <functional>
#include <string>
#include <vector>

using namespace omtest;

namespace {

using Table = std::vector<std::vector<std::string>>;

// Function 51 on IEC very inverse (Is 0.8 A, dial 0.2); points: 2 A A-N
// function 51 tripped on input 2 within its window, 0.5 A C-A below the
// pickup not run, 5 A B-N function 50 (definite time 0.3 s) tripped late;
// the second selected; values that six significant digits change.
void fill(OvercurrentModel& vm)
{
    vm.setCharIndex(1);
    vm.setIPickUp(VM::FUNCTION_TYPE_51, 0.8);
    vm.setTdPickUp(VM::FUNCTION_TYPE_51, 0.2);
    vm.setTdPickUp(VM::FUNCTION_TYPE_50, 0.3);
    vm.setCurrentTolAbs(0.0123456789);
    vm.setMaxFaultTime(4.0);
    vm.setOutputBIState(0, 1, VM::AO_BI_STATE_NONE);
    vm.setOutputBOState(2, 1);
    vm.setOutputBILogic(0, VM::AO_BILOGIC_TYPE_AND);
    vm.setTestAngle(-45.0);
    vm.addAt(2.0);
    vm.addAt(0.5, VM::FUNCTION_TYPE_51, VM::FAULT_TYPE_C_A);
    vm.setFaultVPEnable(false);
    vm.addAt(5.0, VM::FUNCTION_TYPE_50, VM::FAULT_TYPE_B_E);
    vm.complete(0, 1.8512345, 1);
    vm.complete(2, 0.4);
    vm.setActiveIndex(1);
}

class OvercurrentFile : public OvercurrentModelTest
{
protected:
    QString parameterFile() const { return appRoot() + "/parameters/Overcurrent/parameter.xml"; }
    // The saved file of fill() with edits applied, read into a new model.
    void reload(OvercurrentModel& back, const std::function<void(QDomElement&)>& edit)
    {
        {
            OvercurrentModel vm;
            vm.testActive();
            fill(vm);
            ASSERT_TRUE(vm.saveParameter());
        }
        QDomDocument doc;
        ASSERT_TRUE(doc.setContent(sandbox.read(parameterFile())));
        QDomElement root = doc.documentElement();
        edit(root);
        sandbox.write(parameterFile(), doc.toByteArray(4));
        back.testActive();
        ASSERT_TRUE(back.loadParameter());
    }
    static void set(QDomElement parent, const char* path, const char* text)
    {
        QDomElement e = parent;
        for (const QString& key : QString::fromLatin1(path).split('/'))
            e = e.firstChildElement(key);
        ASSERT_FALSE(e.isNull()) << path;
        e.firstChild().setNodeValue(text);
    }
};

class ReportOvercurrent : public OvercurrentModelTest
{
protected:
    // The report's tables as cell texts, in order.
    std::vector<Table> tables(const QString& name)
    {
        const QString file = appRoot() + "/report/Overcurrent/" + name;
        vmtest::expectValidReport(file);
        QDomDocument doc;
        doc.setContent(sandbox.read(file));
        std::vector<Table> all;
        const QDomNodeList list = doc.elementsByTagName("table");
        for (int t = 0; t < list.size(); ++t) {
            Table rows;
            const QDomNodeList trs = list.at(t).toElement().elementsByTagName("tr");
            for (int r = 0; r < trs.size(); ++r) {
                std::vector<std::string> cells;
                const QDomNodeList tds = trs.at(r).toElement().elementsByTagName("td");
                for (int c = 0; c < tds.size(); ++c)
                    cells.push_back(tds.at(c).toElement().text().toStdString());
                rows.push_back(cells);
            }
            all.push_back(rows);
        }
        return all;
    }
    // The table whose first row begins with cell.
    static Table table(const std::vector<Table>& all, const std::string& cell)
    {
        for (const Table& t : all)
            if (!t.empty() && !t.front().empty() && t.front().front() == cell)
                return t;
        return {};
    }
};

} // namespace

TEST_F(OvercurrentFile, GoldenFileAndItsReload)
{
    {
        OvercurrentModel vm;
        vm.testActive();
        fill(vm);
        ASSERT_TRUE(vm.saveParameter());
    }
    const QByteArray written = sandbox.read(parameterFile());
    vmtest::updateGoldenIfAsked("overcurrentmodel/parameter.xml", written);
    EXPECT_EQ(QString::fromUtf8(written), QString::fromUtf8(testData("overcurrentmodel/parameter.xml")));

    OvercurrentModel back;
    back.testActive();
    ASSERT_TRUE(back.loadParameter());
    EXPECT_EQ(back.getPointsCount(), 3);
    EXPECT_EQ(back.getCharIndex(), 1);
    EXPECT_EQ(back.getIPickUp(1), 0.8);
    EXPECT_EQ(back.getTdPickUp(0), 0.3);
    EXPECT_EQ(back.getCurrentTolAbs(), 0.0123457);
    EXPECT_EQ(back.getMaxFaultTime(), 4.0);
    const struct
    {
        double amps;
        int fn, kind, state, input, result;
    } points[] = {
        {2.0, VM::FUNCTION_TYPE_51, VM::FAULT_TYPE_A_E, VM::AO_STATE_TYPE_COMPLETED, 2, VM::AO_Result_TYPE_SUCCESS},
        {0.5, VM::FUNCTION_TYPE_51, VM::FAULT_TYPE_C_A, VM::AO_STATE_TYPE_INITING, -1, VM::AO_Result_TYPE_NONE},
        {5.0, VM::FUNCTION_TYPE_50, VM::FAULT_TYPE_B_E, VM::AO_STATE_TYPE_COMPLETED, 1, VM::AO_Result_TYPE_FAILED},
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(back.getTestCurrent(i), points[i].amps);
        EXPECT_EQ(back.getFunction(i), points[i].fn);
        EXPECT_EQ(back.getFaultKind(i), points[i].kind);
        EXPECT_EQ(back.getTestStates(i), points[i].state);
        EXPECT_EQ(back.getBinaryInputIndex(i), points[i].input);
        EXPECT_EQ(back.getTestResults(i), points[i].result);
    }
    EXPECT_EQ(back.getActionTimes(0), 1.85123);
    EXPECT_EQ(back.getTestAngle(), -45.0);
    EXPECT_EQ(back.getActiveIndex(), 1);
    EXPECT_EQ(back.getTestCurrent(-1), 0.5);
    EXPECT_EQ(back.getOutputBIState(0, 1), VM::AO_BI_STATE_NONE);
    EXPECT_EQ(back.getOutputBOState(2), 1);
    EXPECT_EQ(back.getOutputBILogic(0), VM::AO_BILOGIC_TYPE_AND);
}

// The windows come from the settings read, not from the file.
TEST_F(OvercurrentFile, WindowsAreRecomputedFromTheSettingsRead)
{
    OvercurrentModel back;
    reload(back, [](QDomElement& root) {
        set(root, "overcurrentCurves/curve1/tdPickUp", "0.4");
        set(root, "overcurrentCurves/curve0/tdPickUp", "1.5");
    });
    EXPECT_NEAR(back.getSettingTimes(0), 0.4 * 13.5 / (2.0 / 0.8 - 1.0), 1e-9);
    EXPECT_NEAR(back.getSettingTimes(2), 1.5, 1e-12);
    EXPECT_NEAR(back.getMinTimes(2), 1.425, 1e-12);
    EXPECT_EQ(back.getMaxTimes(1), kNoTrip);
    EXPECT_EQ(back.getTestResults(2), VM::AO_Result_TYPE_FAILED);
    EXPECT_EQ(back.getMaxTimes(-1), kNoTrip);
}

TEST_F(OvercurrentFile, ValuesOutsideTheirRangesKeepTheField)
{
    const struct
    {
        const char* what;
        const char* path;
        const char* text;
        std::function<void(OvercurrentModel&)> check;
        const char* path2 = nullptr;
        const char* text2 = nullptr;
    } rows[] = {
        {"function 2", "testPoints/point0/outputTriggerType", "2",
         [](OvercurrentModel& m) { EXPECT_EQ(m.getFunction(0), VM::FUNCTION_TYPE_50); }},
        {"fault kind 12", "testPoints/point0/faultKind", "12",
         [](OvercurrentModel& m) { EXPECT_EQ(m.getFaultKind(0), VM::FAULT_TYPE_A_E); }},
        {"family 7", "overcurrentCurves/curve1/activeType", "7",
         [](OvercurrentModel& m) {
             EXPECT_EQ(m.getCharType(), OperatingCurves::CHAR_STAND);
             EXPECT_EQ(m.getCharNames().size(), 110);
         }},
        {"standard row 111", "overcurrentCurves/curve1/activeIndex", "111",
         [](OvercurrentModel& m) { EXPECT_EQ(m.overcurrentCurves[1].getActiveIndex(), 1); }},
        {"IAC row 15", "overcurrentCurves/curve1/activeType", "1",
         [](OvercurrentModel& m) {
             // The family is read; the row keeps the model's (row 1).
             EXPECT_EQ(m.getCharType(), OperatingCurves::CHAR_IAC);
             EXPECT_EQ(m.overcurrentCurves[1].getActiveIndex(), 1);
         },
         "overcurrentCurves/curve1/activeIndex", "15"},
        {"IAC row 14", "overcurrentCurves/curve1/activeType", "1",
         [](OvercurrentModel& m) {
             EXPECT_EQ(m.getCharType(), OperatingCurves::CHAR_IAC);
             EXPECT_EQ(m.getCharIndex(), 14);
         },
         "overcurrentCurves/curve1/activeIndex", "14"},
        {"function 50 row -1", "overcurrentCurves/curve0/activeIndex", "-1",
         [](OvercurrentModel& m) { EXPECT_EQ(m.overcurrentCurves[0].getActiveIndex(), 0); }},
        {"pickup nan", "overcurrentCurves/curve1/iPickUp", "nan",
         [](OvercurrentModel& m) { EXPECT_EQ(m.getIPickUp(1), 1.0); }},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        OvercurrentModel back;
        reload(back, [&r](QDomElement& root) {
            set(root, r.path, r.text);
            if (r.path2)
                set(root, r.path2, r.text2);
        });
        r.check(back);
        // Every window is one of the catalogue's (no index read unchecked).
        EXPECT_FALSE(std::isnan(back.getMinTimes(0)));
    }
}

TEST_F(ReportOvercurrent, SettingCurveAndResultTables)
{
    OvercurrentModel vm;
    vm.testActive();
    fill(vm);
    ASSERT_TRUE(vm.saveReport("three.htm"));
    const std::vector<Table> three = tables("three.htm");
    const Table settings = {
        {"Current Tol", "5.000%", "故障前时间", "0.500s"},
        {"电流允许绝对偏差", "0.012A", "仅输出一次", "False"},
        {"Time Tol", "5.000%", "OC Directional", "Enable"},
        {"时间允许绝对偏差", "0.040s", "Fault VPN", "30.000V"},
        {"Max Fault Time", "4.000s", "I-Angle", "-45.000°"},
        {"间隔时间", "0.200s", "", ""},
        {"Logic", "And", "Bi Input", "1;3;4;"},
        {"Bi Output", "3;"},
    };
    EXPECT_EQ(table(three, "Current Tol"), settings);
    EXPECT_EQ(table(three, "Function"), (Table{{"Function", "Curve", "Pick-up", "Dial Time"},
                                               {"50", "Inst. Overcurrent", "1.000A", "0.300s"},
                                               {"51", "IEC/BS142 VI", "0.800A", "0.200"}}));
    const Table results = table(three, "");
    ASSERT_EQ(results.size(), 4u);
    EXPECT_EQ(results[1], (std::vector<std::string>{"1", "A-N", "2.000A", "51", "1.800s", "1.572s", "2.053s",
                                                    "1.851s", "2", "通过"}));
    EXPECT_EQ(results[2], (std::vector<std::string>{"2", "C-A", "0.500A", "51", "NaN", "INF", "INF", "---", "---",
                                                    "未测试"}));
    EXPECT_EQ(results[3], (std::vector<std::string>{"3", "B-N", "5.000A", "50", "0.300s", "0.260s", "0.340s",
                                                    "0.400s", "1", "失败"}));

    // A stored definite-time row for function 51 is named by that row; an
    // empty list adds no result section.
    OvercurrentModel empty;
    empty.testActive();
    empty.overcurrentCurves[1].setActiveIndex(0);
    ASSERT_TRUE(empty.saveReport("empty.htm"));
    const std::vector<Table> none = tables("empty.htm");
    EXPECT_EQ(table(none, "Function").at(2).at(1), "IEC Definite Time");
    EXPECT_TRUE(table(none, "").empty());
    EXPECT_FALSE(sandbox.read(appRoot() + "/report/Overcurrent/empty.htm").contains("结果"));
}
