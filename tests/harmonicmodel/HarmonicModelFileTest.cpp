// The harmonic parameter file (golden file, reload, missing parts, values a
// file must not be trusted with) and the report tables. The report tests'
// fixture names begin with "Report": the HTML5 parse of this folder runs them.

#include "HarmonicModelSupport.h"
#include "ModelFileSupport.h"

#include <QDomDocument>

#include <functional>
#include <string>
#include <vector>

using namespace hmtest;

namespace {

using filetest::Table;

using filetest::setText;

// An automatic ramp of the 5th harmonic of IBIC in percent that found its
// action on input 2, with settings that six significant digits change.
void fill(HarmonicModel& vm)
{
    for (int p = 0; p < 8; ++p)
        for (int s = 0; s < 4; ++s)
            vm.setSlot(p, s, 1.23456789 * (p + 1) / (s + 1), 10.0 * s + p);
    vm.setFaultActionPort(11);   // IBIC on a three-phase unit
    vm.setFaultActionOrder(3);
    vm.setAutoRampEnabled(true);
    vm.setShowRange(false);
    vm.setRampStepValue(12.3456789);
    vm.setRampTimeValue(2.5);
    vm.setSettingTime(0.75);
    vm.setDevTime(0.05);
    vm.setOutputBIState(0, 0, VM::AO_BI_STATE_NONE);
    vm.setOutputBOState(2, 1);
    vm.setOutputBILogic(0, VM::AO_BILOGIC_TYPE_AND);
    vm.testState = VM::AO_STATE_TYPE_COMPLETED;
    vm.setTrip(1, 0.7512345, {1.5, 1.25});
}

class HarmonicFile : public HarmonicModelTest
{
protected:
    QString parameterFile() const { return appRoot() + "/parameters/Harmonic/parameter.xml"; }

    void saveFilled()
    {
        HarmonicModel vm;
        vm.testActive();
        fill(vm);
        ASSERT_TRUE(vm.saveParameter());
    }
    void editFile(const std::function<void(QDomDocument&, QDomElement&)>& fn)
    {
        filetest::editXml(sandbox, parameterFile(), fn);
    }
};

class ReportHarmonic : public HarmonicModelTest
{
protected:
    // The report's tables as cell texts, by the first cell of their first row.
    Table table(const QString& name, const std::string& firstCell)
    {
        const QString file = appRoot() + "/report/Harmonic/" + name;
        vmtest::expectValidReport(file);
        return filetest::find(filetest::tables(sandbox.read(file)), firstCell);
    }
};

} // namespace

TEST_F(HarmonicFile, GoldenFileAndItsReload)
{
    saveFilled();
    const QByteArray written = sandbox.read(parameterFile());
    vmtest::updateGoldenIfAsked("harmonicmodel/parameter.xml", written);
    EXPECT_EQ(QString::fromUtf8(written), QString::fromUtf8(testData("harmonicmodel/parameter.xml")));

    HarmonicModel back;
    back.testActive();
    ASSERT_TRUE(back.loadParameter());
    EXPECT_EQ(back.getFaultActionPort(), 11);
    EXPECT_EQ(back.getFaultActionOrder(), 3);
    EXPECT_FALSE(back.getShowRange());
    EXPECT_EQ(back.outputRanges[5][3], 1.85185);
    EXPECT_EQ(back.getTestState(), VM::AO_STATE_TYPE_COMPLETED);
    EXPECT_EQ(back.getFaultActionValue(), "1.500; 1.250 A");
    EXPECT_EQ(back.getBinaryInputIndex(), 2);
    EXPECT_EQ(back.getTestResult(), VM::AO_Result_TYPE_SUCCESS);
    EXPECT_EQ(back.getOutputBIState(0, 0), VM::AO_BI_STATE_NONE);
}

TEST_F(HarmonicFile, MissingPartsAndValuesAFileMustNotBeTrustedWith)
{
    // Edits of the saved file: an element's path and its new text (null: removed).
    using Edits = std::vector<std::pair<std::vector<const char*>, const char*>>;
    struct Row
    {
        const char* name;
        Edits edits;
        std::function<void(HarmonicModel&)> check;
        bool taken = true;   // else the file is refused and the model keeps its values
    };
    const auto order = [](const char* slot) { return std::vector<const char*>{"outputs", "order_list", slot, "order_times"}; };
    const Row rows[] = {
        {"no action1..3: NaN times, no values", {{{"action1"}, nullptr}, {{"action2"}, nullptr}, {{"action3"}, nullptr}},
         [](HarmonicModel& vm) {
             for (int k = 1; k < 4; ++k)
                 EXPECT_TRUE(std::isnan(vm.faultActionTimes[k]) && vm.faultActionValues[k].portCnt == 0) << k;
             EXPECT_EQ(vm.faultActionValues[0].portCnt, 2);
         }},
        {"no outputs: the amplitudes stay", {{{"outputs"}, nullptr}},
         [](HarmonicModel& vm) {
             EXPECT_EQ(vm.outputRanges[0][0], 7.0);
             EXPECT_EQ(vm.getOutputOrders(3), 5);
         }},
        {"indexes outside their ranges",
         {{{"faultActionPort"}, "16"}, {{"faultActionItem"}, "2"}, {{"faultActionOrder"}, "4"},
          {{"faultActionType"}, "3"}, {{"actionBiIndex"}, "4"}, {{"testState"}, "1"},
          {{"action0", "actionValueList", "actionValue_portCnt"}, "5"},
          {{"outputs", "port0", "order1", "range"}, "-3"}, {{"outputs", "port0", "order1", "angle"}, "inf"}},
         [](HarmonicModel& vm) {
             EXPECT_EQ(vm.getFaultActionPort(), 0);
             EXPECT_EQ(vm.getFaultActionItem(), VM::RAMP_ITEM_TYPE_RANGE);
             EXPECT_EQ(vm.getFaultActionOrder(), 0);
             EXPECT_EQ(vm.getFaultActionType(), VM::ACTION_TYPE_STOP);
             EXPECT_EQ(vm.faultActionBiIndex, -1);
             EXPECT_EQ(vm.getTestState(), VM::AO_STATE_TYPE_INITING);
             EXPECT_EQ(vm.faultActionValues[0].portCnt, 0);
             EXPECT_EQ(vm.outputRanges[0][1], 9.0);
             EXPECT_EQ(vm.outputAngles[0][1], 8.0);
         },
         false},
        {"orders not ascending", {{order("order1"), "9"}}, [](HarmonicModel& vm) { EXPECT_EQ(vm.getOutputOrders(1), 2); },
         false},
        {"an order beyond 60", {{order("order3"), "61"}}, [](HarmonicModel& vm) { EXPECT_EQ(vm.getOutputOrders(3), 5); },
         false},
        {"a valid set, slot 0 stays the fundamental", {{order("order0"), "4"}, {order("order3"), "60"}},
         [](HarmonicModel& vm) { EXPECT_EQ(vm.getOutputOrders(0) * 100 + vm.getOutputOrders(3), 160); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        saveFilled();
        editFile([&row](QDomDocument& doc, QDomElement& root) {
            for (const auto& [names, text] : row.edits) {
                QDomElement e = root;
                for (const char* n : names)
                    e = e.firstChildElement(n);
                if (text)
                    setText(doc, e, text);
                else
                    e.parentNode().removeChild(e);
            }
        });
        HarmonicModel vm;
        vm.testActive();
        vm.setSlot(0, 0, 7.0, 0.0);
        vm.setSlot(0, 1, 9.0, 8.0);
        vm.faultActionTimes[1] = 0.3;   // a record the file has no element for is emptied
        vm.faultActionValues[1].portCnt = 1;
        ASSERT_EQ(vm.loadParameter(), row.taken);
        row.check(vm);
    }
}

TEST_F(ReportHarmonic, SettingOutputAndResultTables)
{
    HarmonicModel vm;
    vm.testActive();
    vm.setSlot(4, 2, 0.25, 30.0);
    vm.setShowRange(false);
    vm.setFaultActionPort(7);   // IA
    vm.setFaultActionOrder(2);
    vm.setOutputBOState(1, 1);
    ASSERT_TRUE(vm.saveReport("manual.htm"));
    const Table settings = {
        {"Test mode", "Manual", "Mode", "From-to"},
        {"Deglitch(ms)", "15.000", "Auto time(s)", ""},
        {"Order", "2", "THD", "Percentage"},
        {"Variable", "IA", "Test item", "Amplitude"},
        {"End", "100.000%"},
        {"Step", "100.000%", "Rate Frequency", "50.000Hz"},
        {"Logic", "Or", "Bi Input", "1;2;3;4;"},
        {"Bi Output", "2;"},
    };
    EXPECT_EQ(table("manual.htm", "Test mode"), settings);
    const Table outputs = table("manual.htm", "");
    ASSERT_EQ(outputs.size(), 7u);
    EXPECT_EQ(outputs[0], (std::vector<std::string>{"", "THD", "RMS", "Base", "2th", "3th", "5th"}));
    EXPECT_EQ(outputs[4], (std::vector<std::string>{"IA", "25.000%", "1.031A", "1.000A\n0.000°", "0.000%\n0.000°",
                                                    "25.000%\n30.000°", "0.000%\n0.000°"}));
    EXPECT_EQ(outputs[6].front(), "IC");
    const std::string n = "---";
    EXPECT_EQ(table("manual.htm", "Variable")[1],
              (std::vector<std::string>{"IA", "1.000s", "0.100s", n, n, n, "未测试"}));

    // Completed without a trip: failed.
    vm.testState = VM::AO_STATE_TYPE_COMPLETED;
    ASSERT_TRUE(vm.saveReport("failed.htm"));
    EXPECT_EQ(table("failed.htm", "Variable")[1], (std::vector<std::string>{"IA", "1.000s", "0.100s", n, n, n, "失败"}));
}

// The result columns fill the table: wider, the last one is squeezed
// against its borders.
TEST_F(ReportHarmonic, ResultColumnsAddUpToTheTable)
{
    HarmonicModel vm;
    vm.testActive();
    ASSERT_TRUE(vm.saveReport("widths.htm"));
    QDomDocument doc;
    ASSERT_TRUE(doc.setContent(sandbox.read(appRoot() + "/report/Harmonic/widths.htm")));
    const QDomNodeList tables = doc.elementsByTagName("table");
    for (int t = 0; t < tables.size(); ++t) {
        QDomElement cell = tables.at(t).firstChildElement("tr").firstChildElement("td");
        if (cell.text().trimmed() != "Variable")
            continue;
        double sum = 0.0;
        for (; !cell.isNull(); cell = cell.nextSiblingElement("td"))
            sum += cell.attribute("width").chopped(1).toDouble();
        EXPECT_EQ(sum, 100.0);
        return;
    }
    FAIL() << "no result table";
}
