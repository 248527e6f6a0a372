// The energy parameter file (golden file, reload, values a file must not be
// trusted with) and the report tables. The report tests' fixture names
// begin with "Report": the HTML5 parse of this folder runs them.

#include "EnergyModelSupport.h"
#include "ModelFileSupport.h"

#include <QDomDocument>

#include <string>
#include <vector>

using namespace emtest;

namespace {

using filetest::Table;

// A reactive meter behind CT 100/5 A; three points at 30 deg: the first
// passed, the second failed (0.8 % fast against a class 0.5), the third not
// run.
void fill(EnergyModel& vm)
{
    vm.setMeterKind(VM::Power_Reactive);
    vm.setPrimaryCT(100.0);
    vm.setSecondaryCT(5.0);
    vm.setPrecision(0.5);
    vm.setHotTime(3.0);
    vm.setStartTime(2.0);
    vm.setPulseConst(18000.0);
    vm.setLocalPulseEnable(true);
    vm.setPowerAngle(30.0);
    vm.setCurrent(1.23456789);
    for (int i = 0; i < 3; ++i)
        vm.addPoint();
    const double registered = vm.getSettingEnergy(0);
    vm.complete(0, 5, registered);
    vm.complete(1, 5, registered / 1.008);
}

class EnergyFile : public EnergyModelTest
{
protected:
    QString parameterFile() const { return appRoot() + "/parameters/Energy/parameter.xml"; }
};

class ReportEnergy : public EnergyModelTest
{
protected:
    // The report's tables as cell texts, in order.
    std::vector<Table> tables(const QString& name)
    {
        const QString file = appRoot() + "/report/Energy/" + name;
        vmtest::expectValidReport(file);
        return filetest::tables(sandbox.read(file));
    }
    // The table whose first row begins with cell.
    static Table table(const std::vector<Table>& all, const std::string& cell) { return filetest::find(all, cell); }
};

} // namespace

TEST_F(EnergyFile, GoldenFileAndItsReload)
{
    {
        EnergyModel vm;
        vm.testActive();
        fill(vm);
        ASSERT_TRUE(vm.saveParameter());
    }
    const QByteArray written = sandbox.read(parameterFile());
    vmtest::updateGoldenIfAsked("energymodel/parameter.xml", written);
    EXPECT_EQ(QString::fromUtf8(written), QString::fromUtf8(testData("energymodel/parameter.xml")));

    EnergyModel back;
    back.testActive();
    ASSERT_TRUE(back.loadParameter());
    EXPECT_EQ(back.getMeterKind(), VM::Power_Reactive);
    EXPECT_EQ(back.getPrimaryPulseKWH(), 180000.0);
    EXPECT_EQ(back.getPrecision(), 0.5);
    EXPECT_TRUE(back.getLocalPulseEnable());
    ASSERT_EQ(back.getPointsCount(), 3);
    EXPECT_EQ(back.getCurrent(2), 1.23457);
    EXPECT_EQ(back.getTestResults(0), VM::AO_Result_TYPE_SUCCESS);
    EXPECT_EQ(back.getTestResults(1), VM::AO_Result_TYPE_FAILED);
    EXPECT_EQ(back.getTestStates(2), VM::AO_STATE_TYPE_INITING);
    EXPECT_EQ(back.getActiveIndex(), 0);
}

// A point an earlier version saved at 1 Hz opens held to the lowest
// frequency, named, with the points around it as saved.
TEST_F(EnergyFile, AnOldPointBelowTheLowestFrequencyOpensHeldAndNamed)
{
    double frequency = 0.0;
    {
        EnergyModel vm;
        vm.testActive();
        fill(vm);
        frequency = vm.getFrequency(0);
        ASSERT_TRUE(vm.saveParameter());
    }
    filetest::editXml(sandbox, parameterFile(), [](QDomDocument& doc, QDomElement& root) {
        filetest::setText(doc, filetest::path(root, {"points", "point1", "frequency"}), "1");
    });
    EnergyModel vm;
    vm.testActive();
    ASSERT_TRUE(vm.loadParameter());
    EXPECT_TRUE(vm.takeParameterFileNotice().contains("第2点：Frequency = 1 "));
    ASSERT_EQ(vm.getPointsCount(), 3);
    EXPECT_EQ(vm.getFrequency(1), 10.0);
    EXPECT_EQ(vm.getFrequency(0), frequency);
    EXPECT_EQ(vm.getCurrent(2), 1.23457);
    EXPECT_EQ(vm.getTestResults(0), VM::AO_Result_TYPE_SUCCESS);
}

// The four constants are read as stored, none derived from another; a
// pulse count is taken only as a whole number 0..65535.
TEST_F(EnergyFile, StoredConstantsAndPulseCountsAsTheFileHoldsThem)
{
    {
        EnergyModel vm;
        vm.testActive();
        fill(vm);
        ASSERT_TRUE(vm.saveParameter());
    }
    QDomDocument doc;
    ASSERT_TRUE(doc.setContent(sandbox.read(parameterFile())));
    QDomElement root = doc.documentElement();
    const auto set = [](QDomElement e, const char* text) { e.firstChild().setNodeValue(text); };
    set(root.firstChildElement("secondaryPulseKWH"), "1234");
    set(root.firstChildElement("secondaryKWHPulse"), "0.5");
    QDomElement points = root.firstChildElement("points");
    const auto pulse = [&points](int i) { return points.firstChildElement(QString("point%1").arg(i)).firstChildElement("settingPulse"); };
    set(pulse(2), "0");
    sandbox.write(parameterFile(), doc.toByteArray(4));

    EnergyModel vm;
    vm.testActive();
    ASSERT_TRUE(vm.loadParameter());
    EXPECT_EQ(vm.getSecondaryPulseKWH(), 1234.0);
    EXPECT_EQ(vm.getSecondaryKWHPulse(), 0.5);
    EXPECT_EQ(vm.getPrimaryPulseKWH(), 180000.0);
    EXPECT_EQ(vm.getSettingPulse(0), 5.0);
    EXPECT_EQ(vm.getSettingPulse(2), 0.0);

    // A count of no whole pulses refuses the file; more than the engine
    // counts is held to its most.
    set(pulse(0), "2.5");
    sandbox.write(parameterFile(), doc.toByteArray(4));
    EnergyModel other;
    other.testActive();
    EXPECT_FALSE(other.loadParameter());
    EXPECT_EQ(other.getPointsCount(), 0);
    set(pulse(0), "70000");
    sandbox.write(parameterFile(), doc.toByteArray(4));
    EnergyModel held;
    held.testActive();
    EXPECT_TRUE(held.loadParameter());
    EXPECT_EQ(held.getSettingPulse(0), 65535.0);

    // A file without a list leaves none.
    root.removeChild(points);
    sandbox.write(parameterFile(), doc.toByteArray(4));
    EnergyModel listed;
    listed.testActive();
    listed.addPoint();
    ASSERT_TRUE(listed.loadParameter());
    EXPECT_EQ(listed.getPointsCount(), 0);
}

TEST_F(ReportEnergy, SettingAndResultTables)
{
    EnergyModel vm;
    vm.testActive();
    fill(vm);
    ASSERT_TRUE(vm.saveReport("energy.htm"));
    const std::vector<Table> all = tables("energy.htm");
    const Table settings = {
        {"Meter type", "Reactive Power", "Measure type", "3P4W"},
        {"", "", "", ""},
        {"", "Secondary", "", "Primary"},
        {"Pulse/Quantity", "3600imp/kVarh", "", "180000imp/kkVarh"},
        {"CT", "5.000A", "", "100.000A"},
        {"PT", "110.000V", "", "110.000V"},
        {"", "", "", ""},
        {"Heat time", "3.000s", "Start time", "2.000s"},
        {"Pulse Count", "1", "Settling time", "10.000s"},
        {"Pulse type", "Rising", "Direction", "Import/Export"},
        {"Precision", "0.500%", "", ""},
        {"Pulse constant", "18000imp/kVarh", "Whether to send a local pulse", "true"},
    };
    EXPECT_EQ(table(all, "Meter type"), settings);
    const Table results = table(all, "");
    ASSERT_EQ(results.size(), 4u);
    EXPECT_EQ(results[0], (std::vector<std::string>{"", "Voltage", "Current", "Frequency", "Power", "Angle", "Factor",
                                                    "Pulse", "Setting", "Actual", "Dev", "Result"}));
    EXPECT_EQ(results[1], (std::vector<std::string>{"1", "100.000V", "1.235A", "50.000Hz", "185.185Var", "30.000°",
                                                    "0.500ind.", "5", "1.389Varh", "1.389Varh", "-", "Passed"}));
    EXPECT_EQ(results[2][9], "1.378Varh");
    EXPECT_EQ(results[2][10], "0.800%");
    EXPECT_EQ(results[2][11], "Failed");
    EXPECT_EQ(results[3], (std::vector<std::string>{"3", "100.000V", "1.235A", "50.000Hz", "185.185Var", "30.000°",
                                                    "0.500ind.", "-", "1.389Varh", "-", "-", "NoTest"}));
}
