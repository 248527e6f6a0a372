// The DC parameter file (golden file, reload, values a file must not be
// trusted with) and the DC report tables. The report tests' fixture names
// begin with "Report": the HTML5 parse of this folder runs them.

#include "DcModelSupport.h"
#include "ModelFileSupport.h"

#include <QDomDocument>

#include <functional>
#include <string>
#include <vector>

using namespace dctest;

namespace {

using filetest::path;

using filetest::setText;

// An automatic "From-to-From" test on IAIBIC that found its action and return,
// with settings that six significant digits change.
void fill(DcModel& vm)
{
    for (int p = 0; p < 8; ++p)
        vm.setOutputRange(port(p), 1.23456789 * (p % 4 + 1));
    vm.setAutoRampEnabled(true);
    vm.setFaultActionType(VM::ACTION_TYPE_RETURN);
    vm.setFaultActionPort(7);   // IAIBIC on a three-phase unit
    for (int g = 0; g < 16; ++g)
        vm.endRampRanges[g] = 0.5 + g / 4.0;
    vm.setRampStepValue(0.123456789);
    vm.setRampTimeValue(2.5);
    vm.setOutputBIState(0, 1, VM::AO_BI_STATE_NONE);
    vm.setOutputBIState(0, 2, VM::AO_BI_STATE_OFFON);
    vm.setOutputBOState(3, 1);
    vm.setOutputBILogic(0, VM::AO_BILOGIC_TYPE_AND);
    deliverResults(vm, Record{2, 0.0351234567, {1.2, 1.3, 1.4}}, Record{2, 1.5, {1.0, 1.1, 1.2}});
}

class DcFile : public DcModelTest
{
protected:
    QString parameterFile() const { return appRoot() + "/parameters/DC/parameter.xml"; }

    void editFile(const std::function<void(QDomDocument&, QDomElement&)>& fn)
    {
        filetest::editXml(sandbox, parameterFile(), fn);
    }
};

// The report's tables as cell texts, by the first cell of their first row.
class ReportDc : public DcModelTest
{
protected:
    std::vector<std::vector<std::string>> table(const QString& name, const std::string& firstCell)
    {
        const QString file = appRoot() + "/report/DC/" + name;
        vmtest::expectValidReport(file);
        return filetest::find(filetest::tables(sandbox.read(file)), firstCell);
    }
};

} // namespace

TEST_F(DcFile, GoldenFileAndItsReload)
{
    DcModel vm;
    vm.testActive();
    fill(vm);
    ASSERT_TRUE(vm.saveParameter());
    const QByteArray written = sandbox.read(parameterFile());
    vmtest::updateGoldenIfAsked("dcmodel/parameter.xml", written);
    EXPECT_EQ(QString::fromUtf8(written), QString::fromUtf8(testData("dcmodel/parameter.xml")));

    DcModel back;
    back.testActive();
    ASSERT_TRUE(back.loadParameter());
    EXPECT_EQ(back.getFaultActionValue(0), "1.200; 1.300; 1.400 A");
    EXPECT_EQ(back.getFaultActionFactor(), "0.833; 0.846; 0.857");
    EXPECT_EQ(back.getRampStepValue(), 0.123457);
    EXPECT_EQ(back.getFaultActionPort(), 7);
    EXPECT_EQ(back.getOutputBIState(0, 2), VM::AO_BI_STATE_OFFON);
}

TEST_F(DcFile, ValuesAFileMustNotBeTrustedWithKeepTheField)
{
    // Taken: a missing value keeps the field, results no run gives read as none.
    {
        DcModel vm;
        vm.testActive();
        fill(vm);
        ASSERT_TRUE(vm.saveParameter());
    }
    editFile([](QDomDocument& doc, QDomElement& root) {
        setText(doc, root.firstChildElement("testState"), "2");
        setText(doc, path(root, {"outputs", "action0", "actionValueList", "actionValue_portCnt"}), "7");
        QDomElement outputs = root.firstChildElement("outputs");
        outputs.removeChild(outputs.firstChildElement("action1"));
        root.removeChild(root.firstChildElement("steps"));
    });
    DcModel vm;
    vm.testActive();
    vm.setRampStepValue(0.25);
    deliverResults(vm, Record{0, 0.5, {7.0}}, Record{0, 0.6, {6.0}});
    vm.testState = 0;
    ASSERT_TRUE(vm.loadParameter());
    EXPECT_EQ(vm.getTestState(), 0);
    EXPECT_EQ(vm.getOutputRange(port(2)), 3.7037);
    EXPECT_EQ(vm.getRampStepValue(), 0.25);
    // A count no record holds is no result; a missing record is empty.
    EXPECT_EQ(vm.faultActionValues[0].portCnt, 0);
    EXPECT_TRUE(std::isnan(vm.faultActionValues[0].actionVal[0]));
    EXPECT_EQ(vm.faultActionValues[1].portCnt, 0);
    EXPECT_TRUE(std::isnan(vm.faultActionTimes[1]));

    // Refused, the model as it was.
    const struct {
        std::vector<const char*> path;
        const char* text;
    } refused[] = {
        {{"faultActionPort"}, "16"},          {{"faultActionItem"}, "1"},
        {{"outputs", "port0", "range"}, "nan"}, {{"outputs", "port1", "range"}, "inf"},
        {{"outputBIStates", "bi0"}, "4"},
    };
    for (const auto& row : refused) {
        SCOPED_TRACE(row.path.back());
        {
            DcModel saved;
            saved.testActive();
            fill(saved);
            ASSERT_TRUE(saved.saveParameter());
        }
        editFile([&row](QDomDocument& doc, QDomElement& root) {
            QDomElement e = root;
            for (const char* name : row.path)
                e = e.firstChildElement(name);
            setText(doc, e, row.text);
        });
        DcModel fresh;
        fresh.testActive();
        const QByteArray before = filetest::held(fresh, sandbox);
        EXPECT_FALSE(fresh.loadParameter());
        EXPECT_EQ(filetest::held(fresh, sandbox), before);
    }
}

TEST_F(ReportDc, SettingsTableOfAManualTest)
{
    DcModel vm;
    vm.testActive();
    vm.setOutputBIState(0, 1, VM::AO_BI_STATE_ONOFF);
    vm.setOutputBOState(1, 1);
    vm.setOutputBOState(2, 1);
    ASSERT_TRUE(vm.saveReport("manual.htm"));
    const std::vector<std::vector<std::string>> expected = {
        {"Test mode", "Manual", "Mode", "From-to"},
        {"Deglitch(ms)", "15.000", "Auto time(s)", ""},
        {"Test item", "Amplitude", "Step", "1.000V"},
        {"End", "57.735V"},
        {"Logic", "Or", "Bi Input", "1;2;3;4;"},
        {"Bi Output", "2;3;"},
    };
    EXPECT_EQ(table("manual.htm", "Test mode"), expected);
}

TEST_F(ReportDc, ResultRowsFollowTheModeAndTheGroup)
{
    struct Row
    {
        const char* name;
        bool autoMode;
        int row;   // list row, three-phase unit
        Record action, back;
        std::vector<std::vector<std::string>> expected;   // without the header
    };
    const std::string n = "---";
    const Row rows[] = {
        {"manual UA", false, 0, {0, 0.035, {10.0}}, {}, {{"UA", "10.000 V", n, n, "0.035s", n}}},
        {"auto return UAUBUC", true, 3, {0, 0.5, {10.0, 20.0, 0.0}}, {0, 1.5, {9.5, 19.0, 1.0}},
         {{"UA", "10.000V", "9.500V", "0.950", "0.500s", "1.500s"},
          {"UB", "20.000V", "19.000V", "0.950", "0.500s", "1.500s"},
          {"UC", "0.000V", "1.000V", "0", "0.500s", "1.500s"}}},
        {"a coefficient without its part", true, 7, {0, 0.5, {1.0, 1.0, 1.0}}, {0, 1.5, {0.9}},
         {{"IA", "1.000A", "0.900A", "0.900", "0.500s", "1.500s"},
          {"IB", "1.000A", "NaNA", "", "0.500s", "1.500s"},
          {"IC", "1.000A", "NaNA", "", "0.500s", "1.500s"}}},
        {"manual IB, no action", false, 5, {}, {}, {{"IB", n, n, n, n, n}}},
    };
    int serial = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DcModel vm;
        vm.testActive();
        vm.setAutoRampEnabled(row.autoMode);
        vm.setFaultActionPort(row.row);
        deliverResults(vm, row.action, row.back);
        const QString name = QString("r%1.htm").arg(++serial);
        ASSERT_TRUE(vm.saveReport(name));
        std::vector<std::vector<std::string>> result = table(name, "Variable port");
        ASSERT_FALSE(result.empty());
        EXPECT_EQ(result.front(), (std::vector<std::string>{"Variable port", "Action value", "Return value",
                                                           "Return Coefficient", "Action time", "Return time"}));
        result.erase(result.begin());
        EXPECT_EQ(result, row.expected);
    }
}
