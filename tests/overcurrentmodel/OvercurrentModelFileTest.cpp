// The overcurrent parameter file (golden file, reload, values a file must
// not be trusted with) and the report tables. The report tests' fixture
// names begin with "Report": the HTML5 parse of this folder runs them.

#include "OvercurrentModelSupport.h"
#include "ModelFileSupport.h"

#include <QBuffer>
#include <QDomDocument>
#include <QImage>

#include <functional>
#include <string>
#include <vector>

using namespace omtest;

namespace {

using filetest::Row;
using filetest::Table;

// Function 51 on IEC very inverse (Is 0.8 A, dial 0.2), function 50 at
// 0.3 s; points: 2 A A-N function 51 tripped on input 2 within its window,
// 0.5 A C-A below the pickup not run, 5 A B-N function 50 tripped late;
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
    // fill()'s file with the values at the given paths replaced.
    void save(const std::vector<std::pair<const char*, const char*>>& edits)
    {
        OvercurrentModel vm;
        vm.testActive();
        fill(vm);
        ASSERT_TRUE(vm.saveParameter());
        if (edits.empty())
            return;
        QDomDocument doc;
        ASSERT_TRUE(doc.setContent(sandbox.read(parameterFile())));
        for (const auto& edit : edits) {
            QDomElement e = doc.documentElement();
            for (const QString& key : QString::fromLatin1(edit.first).split('/'))
                e = e.firstChildElement(key);
            ASSERT_FALSE(e.isNull()) << edit.first;
            e.firstChild().setNodeValue(edit.second);
        }
        sandbox.write(parameterFile(), doc.toByteArray(4));
    }
};

using ReportOvercurrent = OvercurrentModelTest;

using filetest::tables;

// The position of the table whose first cell is `cell` (the end when none).
size_t find(const std::vector<Table>& all, const std::string& cell)
{
    size_t i = 0;
    while (i < all.size() && !(all[i].size() && all[i][0].size() && all[i][0][0] == cell))
        ++i;
    return i;
}

} // namespace

TEST_F(OvercurrentFile, GoldenFileAndItsReload)
{
    save({});
    const QByteArray written = sandbox.read(parameterFile());
    vmtest::updateGoldenIfAsked("overcurrentmodel/parameter.xml", written);
    EXPECT_EQ(QString::fromUtf8(written), QString::fromUtf8(testData("overcurrentmodel/parameter.xml")));

    OvercurrentModel back;
    back.testActive();
    ASSERT_TRUE(back.loadParameter());
    EXPECT_EQ(back.getCharIndex(), 1);
    EXPECT_EQ(back.getIPickUp(1), 0.8);
    EXPECT_EQ(back.getTdPickUp(0), 0.3);
    EXPECT_EQ(back.getCurrentTolAbs(), 0.0123457);
    EXPECT_EQ(back.getActiveIndex(), 1);
    EXPECT_EQ(back.getTestCurrent(-1), 0.5);
    EXPECT_EQ(back.getOutputBIState(0, 1), VM::AO_BI_STATE_NONE);
    EXPECT_EQ(back.getOutputBOState(2), 1);
    EXPECT_EQ(back.getOutputBILogic(0), VM::AO_BILOGIC_TYPE_AND);
    // current, function, kind, state, input, verdict (windows recomputed)
    const std::vector<double> points[] = {{2.0, 1, 0, 2, 2, 1}, {0.5, 1, 5, 0, -1, 0}, {5.0, 0, 1, 2, 1, 2}};
    ASSERT_EQ(back.getPointsCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ((std::vector<double>{back.getTestCurrent(i), double(back.getFunction(i)),
                                       double(back.getFaultKind(i)), double(back.getTestStates(i)),
                                       double(back.getBinaryInputIndex(i)), double(back.getTestResults(i))}),
                  points[i]) << i;
    }
    EXPECT_EQ(back.getActionTimes(0), 1.85123);
}

// Windows follow the settings read; values outside their ranges keep the
// model's own.
TEST_F(OvercurrentFile, ReadingTakesOnlyValuesInRange)
{
    // Rows without a check refuse the file, naming the value refused: the
    // model keeps its values.
    const struct
    {
        const char* what;
        std::vector<std::pair<const char*, const char*>> edits;
        std::function<void(OvercurrentModel&)> check;
        const char* refused;
    } rows[] = {
        {"dials", {{"overcurrentCurves/curve1/tdPickUp", "0.4"}, {"overcurrentCurves/curve0/tdPickUp", "1.5"}},
         [](OvercurrentModel& m) {
             EXPECT_NEAR(m.getSettingTimes(0), 0.4 * 13.5 / (2.0 / 0.8 - 1.0), 1e-9);
             EXPECT_NEAR(m.getMinTimes(2), 1.425, 1e-12);
             EXPECT_EQ(m.getMaxTimes(1), kNoTrip);
         }, nullptr},
        // The tolerance is held to the device's 10 A, not to the 1 A rated.
        {"tolerance 2 A", {{"currentTolabs", "2"}}, [](OvercurrentModel& m) { EXPECT_EQ(m.getCurrentTolAbs(), 2.0); },
         nullptr},
        {"tolerance 10.5 A", {{"currentTolabs", "10.5"}}, [](OvercurrentModel& m) { EXPECT_EQ(m.getCurrentTolAbs(), 10.0); },
         nullptr},
        {"function 2", {{"testPoints/point0/outputTriggerType", "2"}}, nullptr, "point0/outputTriggerType"},
        {"fault kind 12", {{"testPoints/point0/faultKind", "12"}}, nullptr, "point0/faultKind"},
        {"family 7", {{"overcurrentCurves/curve1/activeType", "7"}}, nullptr, "curve1/activeType"},
        {"standard row 111", {{"overcurrentCurves/curve1/activeIndex", "111"}}, nullptr, "curve1/activeIndex"},
        {"IAC row 15", {{"overcurrentCurves/curve1/activeType", "1"}, {"overcurrentCurves/curve1/activeIndex", "15"}},
         nullptr, "curve1/activeIndex"},
        {"IAC row 14", {{"overcurrentCurves/curve1/activeType", "1"}, {"overcurrentCurves/curve1/activeIndex", "14"}},
         [](OvercurrentModel& m) { EXPECT_EQ(m.getCharIndex(), 14); }, nullptr},
        {"function 50 row -1", {{"overcurrentCurves/curve0/activeIndex", "-1"}}, nullptr, "curve0/activeIndex"},
        {"pickup nan", {{"overcurrentCurves/curve1/iPickUp", "nan"}}, nullptr, "curve1/iPickUp"},
        {"pickup 12 A", {{"overcurrentCurves/curve1/iPickUp", "12"}}, [](OvercurrentModel& m) { EXPECT_EQ(m.getIPickUp(1), 10.0); },
         nullptr},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        save(r.edits);
        OvercurrentModel back;
        back.testActive();
        back.setCharIndex(20);   // a standard row the IAC family has not
        const QByteArray before = filetest::held(back, sandbox);
        ASSERT_EQ(back.loadParameter(), bool(r.check));
        if (r.check) {
            r.check(back);
        } else {
            EXPECT_EQ(filetest::held(back, sandbox), before);
            const QString notice = back.takeParameterFileNotice();
            EXPECT_TRUE(notice.contains(QLatin1String(r.refused) + " =")) << notice.toStdString();
        }
        EXPECT_FALSE(std::isnan(back.getMinTimes(0)));
    }
}

TEST_F(ReportOvercurrent, SettingCurveAndResultTables)
{
    OvercurrentModel vm;
    vm.testActive();
    fill(vm);
    ASSERT_TRUE(vm.saveReport("three.htm"));
    const QString three = appRoot() + "/report/Overcurrent/three.htm";
    vmtest::expectValidReport(three);
    const std::vector<Table> all = tables(sandbox.read(three));
    const size_t first = find(all, "Current Tol");
    ASSERT_LE(first + 2, all.size());
    ASSERT_LT(find(all, ""), all.size());
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
    const Table curves = {{"Function", "Curve", "Pick-up", "Dial Time"},
                          {"50", "Inst. Overcurrent", "1.000A", "0.300s"},
                          {"51", "IEC/BS142 VI", "0.800A", "0.200"}};
    const Table results = {
        {"", "故障类型", "绝对值", "功能", "整定时间", "最小时间", "最大时间", "动作时间", "开入", "结果"},
        {"1", "A-N", "2.000A", "51", "1.800s", "1.572s", "2.053s", "1.851s", "2", "通过"},
        {"2", "C-A", "0.500A", "51", "NaN", "INF", "INF", "---", "---", "未测试"},
        {"3", "B-N", "5.000A", "50", "0.300s", "0.260s", "0.340s", "0.400s", "1", "失败"},
    };
    EXPECT_EQ(all[first], settings);
    EXPECT_EQ(all[first + 1], curves);
    EXPECT_EQ(all[find(all, "")], results);
    // A point whose fault began on a relay not reset says so, not "失败",
    // and its time (not its trip) is not shown.
    vm.markNotReset(2);
    ASSERT_TRUE(vm.saveReport("unreset.htm"));
    const std::vector<Table> unreset = tables(sandbox.read(appRoot() + "/report/Overcurrent/unreset.htm"));
    EXPECT_EQ(unreset[find(unreset, "")].at(3),
              (std::vector<std::string>{"3", "B-N", "5.000A", "50", "0.300s", "0.260s", "0.340s", "未复归", "---", "未复归"}));

    // A stored definite-time row of function 51 is named by that row; an
    // empty list adds no result section.
    OvercurrentModel empty;
    empty.testActive();
    empty.overcurrentCurves[1].setActiveIndex(0);
    ASSERT_TRUE(empty.saveReport("empty.htm"));
    const QString file = appRoot() + "/report/Overcurrent/empty.htm";
    vmtest::expectValidReport(file);
    const std::vector<Table> none = tables(sandbox.read(file));
    const size_t curve = find(none, "Function");
    ASSERT_LT(curve, none.size());
    EXPECT_EQ(none[curve].at(2), (Row{"51", "IEC Definite Time", "1.000A", "1.000"}));
    EXPECT_EQ(find(none, ""), none.size());
    for (const Table& t : none)
        EXPECT_TRUE(t.empty() || t[0].empty() || t[0][0].rfind("Test Result", 0) != 0);
}

// The chart is shown at the size it was drawn at: scaled unevenly, its labels
// run together.
TEST_F(ReportOvercurrent, ChartAtItsDrawnSize)
{
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    ASSERT_TRUE(QImage(320, 140, QImage::Format_ARGB32).save(&buffer, "png"));
    OvercurrentModel vm;
    vm.testActive();
    vm.addAt(2.0);
    vm.saveImage(VM::FUNCTION_TYPE_51, QString::fromLatin1(png.toBase64()));
    ASSERT_TRUE(vm.saveReport("chart.htm"));
    vmtest::expectValidReport(appRoot() + "/report/Overcurrent/chart.htm");
    QDomDocument doc;
    ASSERT_TRUE(doc.setContent(sandbox.read(appRoot() + "/report/Overcurrent/chart.htm")));
    const QDomElement img = doc.elementsByTagName("img").at(0).toElement();
    EXPECT_EQ(img.attribute("width"), "320");
    EXPECT_EQ(img.attribute("height"), "140");
}
