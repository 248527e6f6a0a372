// The power-swing parameter file (golden file, reload, values a file must not
// be trusted with) and report (golden report, result rows).

#include "OscillateModelSupport.h"
#include "ModelFileSupport.h"

#include <QDomDocument>

#include <functional>

using namespace osctest;

namespace {

void fill(OscModel& vm)
{
    for (int p = 0; p < 8; ++p) {
        vm.setOutputRange(port(p), 1.5 + p);
        vm.setOutputAngle(port(p), -30.25 + 45.5 * p);
        vm.setOutputFrequency(port(p), 50.0 + 0.5 * p);
    }
    vm.setOscillatePort(5);   // UCUA on a three-phase unit
    vm.setOscillatePercent(10);
    vm.setOscillateFrequency(48.0);
    vm.setOscillateAngle(-15.5);
    for (int i = 0; i < 4; ++i) {
        vm.setOutputBIState(0, i, (i + 1) % 4);
        vm.setOutputBOState(i, i % 2);
    }
    vm.setOutputBILogic(0, VM::AO_BILOGIC_TYPE_AND);
    deliverTrip(vm, 0.3125, {3.85, 1.65});
}

using filetest::path;

class OscFile : public OscModelTest
{
protected:
    QString parameterFile() const { return appRoot() + "/parameters/Oscillate/parameter.xml"; }
    QString reportFile(const QString& name) const { return appRoot() + "/report/Oscillate/" + name; }

    void editFile(const std::function<void(QDomDocument&, QDomElement&)>& fn)
    {
        filetest::editXml(sandbox, parameterFile(), fn);
    }
};

// The report tests (their reports are also parsed as HTML5).
class ReportOscillate : public OscFile
{
};

using filetest::setText;

} // namespace

TEST_F(OscFile, TheFileHoldsSettingsResultsAndStateAndComesBack)
{
    OscModel vm;
    vm.testActive();
    fill(vm);
    ASSERT_TRUE(vm.saveParameter());
    const QByteArray written = sandbox.read(parameterFile());
    vmtest::updateGoldenIfAsked("oscillatemodel/parameter.xml", written);
    EXPECT_EQ(QString::fromUtf8(written), QString::fromUtf8(testData("oscillatemodel/parameter.xml")));

    OscModel back;
    back.testActive();
    ASSERT_TRUE(back.loadParameter());
    for (int p = 0; p < 8; ++p) {
        EXPECT_EQ(back.getOutputRange(port(p)), vm.getOutputRange(port(p))) << p;
        EXPECT_EQ(back.getOutputAngle(port(p)), vm.getOutputAngle(port(p))) << p;
        EXPECT_EQ(back.getOutputFrequency(port(p)), vm.getOutputFrequency(port(p))) << p;
        EXPECT_EQ(back.getOutputBIState(0, p % 4), vm.getOutputBIState(0, p % 4));
        EXPECT_EQ(back.getOutputBOState(p % 4), vm.getOutputBOState(p % 4));
    }
    EXPECT_EQ(back.oscillatePercent, 0.1);
    EXPECT_EQ(back.getOscillatePort(), 5);
    EXPECT_EQ(back.getOscillateFrequency(), 48.0);
    EXPECT_EQ(back.getOscillateAngle(), -15.5);
    EXPECT_EQ(back.getOutputBILogic(0), VM::AO_BILOGIC_TYPE_AND);
    EXPECT_EQ(back.getTestState(), 1);
    EXPECT_EQ(back.getFaultActionValue(), "3.850; 1.650 V");
    EXPECT_EQ(back.getFaultActionTime(), 0.3125);
}

TEST_F(OscFile, ValuesAFileMustNotBeTrustedWithKeepTheField)
{
    {
        OscModel vm;
        vm.testActive();
        fill(vm);
        ASSERT_TRUE(vm.saveParameter());
    }
    // Taken: results no run gives read as none.
    editFile([](QDomDocument& doc, QDomElement& root) {
        setText(doc, root.firstChildElement("testState"), "5");
        setText(doc, path(root, {"outputs", "action0", "actionValueList", "actionValue_portCnt"}), "4");
        setText(doc, path(root, {"outputs", "action1", "actionValueList", "actionValue_portCnt"}), "-1");
    });
    {
        OscModel vm;
        vm.testActive();
        ASSERT_TRUE(vm.loadParameter());
        EXPECT_EQ(vm.getTestState(), 0);
        EXPECT_EQ(vm.faultActionValues[0].portCnt, 0);
        EXPECT_EQ(vm.faultActionValues[1].portCnt, 0);
        ASSERT_TRUE(vm.saveReport("r.htm"));
        vmtest::expectValidReport(reportFile("r.htm"));
    }

    // Refused, the model as it was: settings outside the page's limits.
    editFile([](QDomDocument& doc, QDomElement& root) {
        setText(doc, root.firstChildElement("oscillatePort"), "16");
        setText(doc, path(root, {"outputs", "port0", "range"}), "999");
        setText(doc, root.firstChildElement("oscillatePercent"), "2");
        setText(doc, root.firstChildElement("oscillateFrequency"), "-5");
        setText(doc, root.firstChildElement("oscillateAngle"), "nan");
        setText(doc, root.firstChildElement("outputBILogicType"), "2");
    });
    OscModel vm;
    vm.testActive();
    EXPECT_FALSE(vm.loadParameter());
    EXPECT_EQ(vm.oscillatePort, VM::RAMP_PORT_TYPE_UA);
    EXPECT_EQ(vm.getOutputBILogic(0), VM::AO_BILOGIC_TYPE_OR);
    EXPECT_EQ(vm.getOutputRange(port(0)), OscModel().getOutputRange(port(0)));
    EXPECT_EQ(vm.getOscillateFrequency(), OscModel().getOscillateFrequency());
}

TEST_F(ReportOscillate, TablesAndResultRows)
{
    const QString savedName = config->softwareName;
    config->softwareName = "ZOR Relay Test Set";
    {
        OscModel vm;
        vm.testActive();
        fill(vm);
        ASSERT_TRUE(vm.saveReport("osc.htm"));
        const QString file = reportFile("osc.htm");
        vmtest::expectValidReport(file);
        vmtest::updateGoldenIfAsked("oscillatemodel/report.htm", sandbox.read(file));
        EXPECT_EQ(vmtest::canonicalReport(sandbox.read(file)),
                  vmtest::canonicalReport(testData("oscillatemodel/report.htm")));
    }
    config->softwareName = savedName;

    // Started, no trip yet: a "---" pair per channel of IAIBIC, no value.
    OscModel vm;
    vm.testActive();
    vm.setOscillatePort(13);
    deliverTrip(vm, 0.5, {1.3, 1.3, 1.3});
    vm.doSwitchToStartState();
    ASSERT_TRUE(vm.saveReport("started.htm"));
    vmtest::expectValidReport(reportFile("started.htm"));
    const QString text = QString::fromUtf8(sandbox.read(reportFile("started.htm")));
    EXPECT_EQ(text.count(">---<"), 6);
    EXPECT_FALSE(text.contains("1.300"));
}
