// The AC parameter file (golden file, reload to six significant digits,
// values a file must not be trusted with), the AC report tables, and no result on any page before a run.

#include "AcModelSupport.h"
#include "ModelFileSupport.h"
#include "ZorQmlTypes.h"

#include <QDomDocument>
#include <QQmlApplicationEngine>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

using namespace actest;

namespace {

double six(double value)
{
    return QString::number(value, 'g', 6).toDouble();
}

// Every stored field with a value that six significant digits change, each
// within the page's limits (a file's value is held to them).
void fill(AcModel& vm)
{
    for (int p = 0; p < 8; ++p) {
        vm.setOutputRange(port(p), p < 4 ? 57.7350269 + 1.1111111 * p : 1.23456789 + 1.1111111 * (p - 4));
        vm.setOutputAngle(port(p), -120.123456 + 45.5 * p);
        vm.setOutputFrequency(port(p), 987.654321 - 100.0 * p);
    }
    vm.setAutoRampEnabled(true);
    vm.setFaultActionType(VM::ACTION_TYPE_RETURN);
    vm.setFaultActionPort(5);   // UCUA on a three-phase unit
    for (int g = 0; g < 16; ++g) {
        vm.endRampRanges[g] = g < 8 ? 10.123456789 + g : 1.0123456789 + 0.5 * (g - 8);
        vm.endRampAngles[g] = 180.0 + g / 3.0;
        vm.endRampFrequencies[g] = 50.0 + 0.0123456 * g;
    }
    vm.actionRampStep[0] = 0.123456789;
    vm.actionRampStep[1] = 2.5;
    vm.actionRampStep[2] = 0.05;
    vm.actionRampTime = 1.23456789;
    const int bi[4] = {3, 1, 2, 0};
    for (int i = 0; i < 4; ++i) {
        vm.setOutputBIState(0, i, bi[i]);
        vm.setOutputBOState(i, i % 2 == 0);
    }
    vm.setOutputBILogic(0, VM::AO_BILOGIC_TYPE_AND);
    deliverResults(vm, Record{1, 0.123456789, {60.0000123, 57.7350269}}, Record{1, 2.0000049, {57.0, 55.5}});
}

// Field by field, the loaded model equals the saved one to six digits.
void expectSameToSixDigits(const AcModel& a, const AcModel& b)
{
    const auto same = [](double x, double y) { return (std::isnan(x) && std::isnan(y)) || six(x) == y; };
    for (int p = 0; p < 8; ++p) {
        EXPECT_TRUE(same(a.getOutputRange(port(p)), b.getOutputRange(port(p)))) << p;
        EXPECT_TRUE(same(a.getOutputAngle(port(p)), b.getOutputAngle(port(p)))) << p;
        EXPECT_TRUE(same(a.getOutputFrequency(port(p)), b.getOutputFrequency(port(p)))) << p;
    }
    for (int g = 0; g < 16; ++g) {
        EXPECT_TRUE(same(a.endRampRanges[g], b.endRampRanges[g])) << g;
        EXPECT_TRUE(same(a.endRampAngles[g], b.endRampAngles[g])) << g;
        EXPECT_TRUE(same(a.endRampFrequencies[g], b.endRampFrequencies[g])) << g;
    }
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(same(a.actionRampStep[i], b.actionRampStep[i])) << i;
    EXPECT_TRUE(same(a.actionRampTime, b.actionRampTime));
    EXPECT_EQ(a.getAutoRampEnabled(), b.getAutoRampEnabled());
    EXPECT_EQ(a.getFaultActionType(), b.getFaultActionType());
    EXPECT_EQ(a.faultActionPort, b.faultActionPort);
    EXPECT_EQ(a.getFaultActionItem(), b.getFaultActionItem());
    EXPECT_EQ(a.getTestState(), b.getTestState());
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(same(a.faultActionTimes[i], b.faultActionTimes[i])) << i;
        EXPECT_EQ(a.faultActionValues[i].portCnt, b.faultActionValues[i].portCnt) << i;
        for (int k = 0; k < a.faultActionValues[i].portCnt; ++k)
            EXPECT_TRUE(same(a.faultActionValues[i].actionVal[k], b.faultActionValues[i].actionVal[k])) << i << k;
        EXPECT_EQ(a.getOutputBIState(0, i), b.getOutputBIState(0, i)) << i;
        EXPECT_EQ(a.getOutputBOState(i), b.getOutputBOState(i)) << i;
    }
    EXPECT_EQ(a.getOutputBILogic(0), b.getOutputBILogic(0));
}

class AcFile : public AcModelTest
{
protected:
    QString parameterFile() const { return appRoot() + "/parameters/AC/parameter.xml"; }
    QString reportFile(const QString& name) const { return appRoot() + "/report/AC/" + name; }

    // Rewrites the saved parameter file through its DOM.
    void editFile(const std::function<void(QDomDocument&, QDomElement&)>& fn)
    {
        filetest::editXml(sandbox, parameterFile(), fn);
    }

    // The cell texts of the result table of a written report (the table
    // whose first cell is the header "Variable port").
    std::vector<std::vector<std::string>> resultTable(const QString& path)
    {
        return filetest::find(filetest::tables(sandbox.read(path)), "Variable port");
    }
};

using filetest::path;

using filetest::setText;

} // namespace

TEST_F(AcFile, EveryStoredFieldRoundTripsToSixDigits)
{
    AcModel vm;
    vm.testActive();
    fill(vm);
    ASSERT_EQ(vm.getTestState(), 1);
    ASSERT_TRUE(vm.saveParameter());
    const QByteArray written = sandbox.read(parameterFile());
    vmtest::updateGoldenIfAsked("acmodel/parameter.xml", written);
    EXPECT_EQ(QString::fromUtf8(written), QString::fromUtf8(testData("acmodel/parameter.xml")));

    AcModel back;
    back.testActive();
    ASSERT_TRUE(back.loadParameter());
    expectSameToSixDigits(vm, back);
    // The stored result is shown again, labelled as it was taken.
    EXPECT_EQ(back.getFaultActionValue(0), "60.000; 57.735 V");
    EXPECT_EQ(back.getFaultActionFactor(), "0.950; 0.961");

    // Saved again over the file: one element per value, records without
    // values keep none.
    deliverResults(back, Record{0, 0.5, {1.0}});
    ASSERT_TRUE(back.saveParameter());
    QDomDocument doc;
    ASSERT_TRUE(doc.setContent(sandbox.read(parameterFile())));
    const QDomElement list = path(doc.documentElement(), {"outputs", "action0", "actionValueList"});
    EXPECT_EQ(list.firstChildElement("actionValue_portCnt").text(), "1");
    EXPECT_TRUE(list.firstChildElement("actionValue_val1").isNull());
    EXPECT_EQ(path(doc.documentElement(), {"outputs"}).elementsByTagName("port0").size(), 1);
}

TEST_F(AcFile, ValuesAFileMustNotBeTrustedWithKeepTheField)
{
    // Taken: a missing value keeps the field, the results no run gives read
    // as none, what the reader does not read is left.
    {
        AcModel vm;
        vm.testActive();
        fill(vm);
        ASSERT_TRUE(vm.saveParameter());
    }
    editFile([](QDomDocument& doc, QDomElement& root) {
        setText(doc, root.firstChildElement("testState"), "2");
        setText(doc, path(root, {"outputs", "action0", "actionValueList", "actionValue_portCnt"}), "7");
        setText(doc, path(root, {"outputs", "action1", "actionValueList", "actionValue_portCnt"}), "-1");
        setText(doc, root.firstChildElement("autoRampEnabled"), "TRUE");
        root.removeChild(root.firstChildElement("actionRampTime"));
        QDomElement begin = path(root, {"ramps", "beginRamp0"});
        QDomElement range = doc.createElement("range");
        range.appendChild(doc.createTextNode("99"));
        begin.appendChild(range);
        setText(doc, path(root, {"ramps", "endRamp3", "rrequency"}), "61.5");
    });
    AcModel vm;
    vm.testActive();
    ASSERT_TRUE(vm.loadParameter());
    EXPECT_EQ(vm.getTestState(), 0);
    EXPECT_EQ(vm.faultActionValues[0].portCnt, 0);
    EXPECT_EQ(vm.faultActionValues[1].portCnt, 0);
    EXPECT_TRUE(vm.getAutoRampEnabled());
    EXPECT_EQ(vm.getRampTimeValue(), 1.0);
    EXPECT_EQ(vm.getBeginRampValue(), 0.0);
    EXPECT_EQ(vm.endRampFrequencies[3], 61.5);
    EXPECT_EQ(vm.getOutputRange(port(0)), 57.735);
    EXPECT_EQ(vm.getFaultActionValue(0), "NaN; NaN V");   // UCUA, no record

    // Refused, the model as it was: an index or enumeration outside its range.
    const struct {
        std::vector<const char*> path;
        const char* text;
    } refused[] = {
        {{"faultActionPort"}, "16"},  {{"faultActionItem"}, "3"},         {{"faultActionType"}, "-1"},
        {{"outputBILogicType"}, "2"}, {{"outputBIStates", "bi1"}, "4"}, {{"outputBOStates", "bo0"}, "2"},
    };
    for (const auto& row : refused) {
        SCOPED_TRACE(row.path.back());
        {
            AcModel saved;
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
        AcModel fresh;
        fresh.testActive();
        const QByteArray before = filetest::held(fresh, sandbox);
        EXPECT_FALSE(fresh.loadParameter());
        EXPECT_EQ(filetest::held(fresh, sandbox), before);
        EXPECT_TRUE(fresh.takeParameterFileNotice().contains(QLatin1String(row.path.back())));
    }

    // A return without the automatic ramp is taken as the page takes it: continue.
    {
        AcModel saved;
        saved.testActive();
        fill(saved);
        ASSERT_TRUE(saved.saveParameter());
    }
    editFile([](QDomDocument& doc, QDomElement& root) {
        setText(doc, root.firstChildElement("autoRampEnabled"), "false");
        setText(doc, root.firstChildElement("faultActionType"), "1");
    });
    AcModel manual;
    manual.testActive();
    ASSERT_TRUE(manual.loadParameter());
    EXPECT_EQ(manual.getFaultActionType(), VM::ACTION_TYPE_CONTINUE);
}

TEST_F(AcFile, SettingsFromAFileAreHeldToThePagesLimitsAndResultsKeptAsStored)
{
    using Get = double (*)(const AcModel&);
    struct Row {
        std::vector<const char*> path;
        const char* text;
        Get get;
        bool refused;     // the file is refused, the model keeps its values
        double expected;  // otherwise, a finite value held to the limit (device limits 265 V, 10 A; three-phase)
    };
    const Row rows[] = {
        {{"outputs", "port0", "range"}, "1e308", [](const AcModel& m) { return m.getOutputRange(port(0)); }, false, 265.0},
        {{"outputs", "port4", "range"}, "12", [](const AcModel& m) { return m.getOutputRange(port(4)); }, false, 10.0},
        {{"outputs", "port5", "range"}, "-5", [](const AcModel& m) { return m.getOutputRange(port(5)); }, false, 0.0},
        {{"outputs", "port1", "range"}, "nan", [](const AcModel& m) { return m.getOutputRange(port(1)); }, true, 0},
        {{"outputs", "port0", "angle"}, "-1e308", [](const AcModel& m) { return m.getOutputAngle(port(0)); }, false, -360.0},
        {{"outputs", "port2", "angle"}, "-inf", [](const AcModel& m) { return m.getOutputAngle(port(2)); }, true, 0},
        {{"outputs", "port0", "frequency"}, "0", [](const AcModel& m) { return m.getOutputFrequency(port(0)); }, false, 10.0},
        {{"outputs", "port1", "frequency"}, "inf", [](const AcModel& m) { return m.getOutputFrequency(port(1)); }, true, 0},
        {{"outputs", "port6", "frequency"}, "2e3", [](const AcModel& m) { return m.getOutputFrequency(port(6)); }, false, 1000.0},
        // UX has no field on a three-phase unit: its frequency may stay 0.
        {{"outputs", "port3", "frequency"}, "0", [](const AcModel& m) { return m.getOutputFrequency(port(3)); }, false, 0.0},
        {{"outputs", "port4", "range"}, "10", [](const AcModel& m) { return m.getOutputRange(port(4)); }, false, 10.0},
        {{"actionRampTime"}, "1e308", [](const AcModel& m) { return m.actionRampTime; }, false, 300.0},
        {{"steps", "setp0"}, "-1", [](const AcModel& m) { return m.actionRampStep[0]; }, false, 0.0},
        {{"steps", "setp1"}, "nan", [](const AcModel& m) { return m.actionRampStep[1]; }, true, 0},
        {{"ramps", "endRamp0", "range"}, "300", [](const AcModel& m) { return m.endRampRanges[0]; }, false, 265.0},
        {{"ramps", "endRamp8", "range"}, "50", [](const AcModel& m) { return m.endRampRanges[8]; }, false, 10.0},
        {{"ramps", "endRamp1", "angle"}, "-720", [](const AcModel& m) { return m.endRampAngles[1]; }, false, -360.0},
        {{"ramps", "endRamp2", "rrequency"}, "-inf", [](const AcModel& m) { return m.endRampFrequencies[2]; }, true, 0},
        {{"ramps", "endRamp3", "rrequency"}, "2", [](const AcModel& m) { return m.endRampFrequencies[3]; }, false, 10.0},
        // Results a run can give are what the file holds.
        {{"outputs", "action0", "actionTime"}, "1e308", [](const AcModel& m) { return m.faultActionTimes[0]; }, false, 1e308},
        {{"outputs", "action0", "actionValueList", "actionValue_val0"}, "-1e308",
         [](const AcModel& m) { return m.faultActionValues[0].actionVal[0]; }, false, -1e308},
        {{"outputs", "action1", "actionTime"}, "nan", [](const AcModel& m) { return m.faultActionTimes[1]; }, false, std::nan("")},
        // A stored action is a result, whatever state the file gives with it.
        {{"testState"}, "0", [](const AcModel& m) { return m.getFaultActionTime(0); }, false, 0.5},
    };
    const auto same = [](double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.path.back()) + " " + row.text);
        {
            AcModel vm;
            vm.testActive();
            deliverResults(vm, Record{0, 0.5, {60.0}}, Record{0, 1.5, {57.0}});
            ASSERT_TRUE(vm.saveParameter());
        }
        editFile([&row](QDomDocument& doc, QDomElement& root) {
            QDomElement e = root;
            for (const char* name : row.path)
                e = e.firstChildElement(name);
            ASSERT_FALSE(e.isNull()) << row.path.back();
            setText(doc, e, row.text);
        });
        AcModel vm;
        vm.testActive();
        const double before = row.get(vm);
        EXPECT_EQ(vm.loadParameter(), !row.refused);
        EXPECT_TRUE(same(row.get(vm), row.refused ? before : row.expected)) << row.get(vm);
        if (row.refused)
            continue;
        // What the model holds is what it saves.
        ASSERT_TRUE(vm.saveParameter());
        AcModel back;
        back.testActive();
        ASSERT_TRUE(back.loadParameter());
        EXPECT_TRUE(same(row.get(back), row.expected)) << row.get(back);
    }
}

// Each page with a result field shows none on a fresh install, after a start
// refused (no instrument here) and from a file an earlier version wrote without
// one; after a run without a trip, the run's. Its report stays as fresh.
TEST_F(AcFile, APageThatHasNeverRunShowsNoResult)
{
    zorRegisterQmlTypes();
    QQmlApplicationEngine qml;
    config->initDriverEnable = true;
    for (const QString row : {"Alternate:|||未动作", "Direct:|||未动作", "Oscillate:|||未动作", "Harmonic:|||",
                              "StateSequence:0|0|0|2", "Ramping:0|0|0|0", "Overcurrent:0|0|0|0", "Distance:0|0|0|0",
                              "SlipFrequency:0|0|0|0", "SlipVoltage:0|0|0|0", "Energy:0|0|0|0"}) {
        qml.loadData(QString("import ZOR.View%1Model 1.0\nView%1Model {}").arg(row.section(':', 0, 0)).toUtf8());
        ViewBaseModel& vm = *qobject_cast<ViewBaseModel*>(qml.rootObjects().last());   // as its page makes it
        const QString dir = vm.getActiveTestDir(), file = "/parameters/" + dir + "/parameter.xml";
        QStringList seen, reports;
        const auto look = [&] {   // the text of a missing result, else the first point's state (0: not tested)
            QString text = "?";
            int state = 0;
            if (!QMetaObject::invokeMethod(&vm, "getNoActionText", Q_RETURN_ARG(QString, text))
                && QMetaObject::invokeMethod(&vm, "getTestStates", Q_RETURN_ARG(int, state), Q_ARG(int, 0)))
                text = QString::number(state);
            seen << text;
            EXPECT_TRUE(vm.saveReport("r.htm"));
            reports << vmtest::canonicalReport(sandbox.read(appRoot() + "/report/" + dir + "/r.htm")).join("");
        };
        vm.testActive();
        QMetaObject::invokeMethod(&vm, "addPoint");   // a list page's "Add"
        look();
        QMetaObject::invokeMethod(&vm, "testStart");
        EXPECT_TRUE(vmtest::waitUntil([&] { return !vm.getUserMessage().isEmpty(); }));
        look();
        ASSERT_TRUE(vm.saveParameter());
        filetest::editXml(sandbox, appRoot() + file,
                          [](QDomDocument&, QDomElement& root) { root.removeChild(root.firstChildElement("notRun")); });
        EXPECT_TRUE(vm.loadParameter());
        look();
        reportRunning(vm, true);
        reportRunning(vm, false);
        look();
        EXPECT_EQ(row.section(':', 0, 0) + ":" + seen.join('|'), row);
        EXPECT_EQ(reports.removeDuplicates(), 3) << row.toStdString();
    }
    config->initDriverEnable = false;
}

TEST_F(AcFile, ReportHoldsTheSettingsAndResultTables)
{
    const QString savedName = config->softwareName;
    config->softwareName = "ZOR Relay Test Set";
    AcModel vm;
    vm.testActive();
    fill(vm);
    ASSERT_TRUE(vm.saveReport("ac.htm"));
    const QString file = reportFile("ac.htm");
    vmtest::expectValidReport(file);
    vmtest::updateGoldenIfAsked("acmodel/report.htm", sandbox.read(file));
    EXPECT_EQ(vmtest::canonicalReport(sandbox.read(file)), vmtest::canonicalReport(testData("acmodel/report.htm")));
    const QString text = QString::fromUtf8(sandbox.read(file));
    for (const char* part : {"Deglitch(ms)", "15.000", "Auto time(s)", "1.235", "From-to-From", "0.123V", "16.123V",
                             "1;2;3;", "1;3;", "And"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;
    config->softwareName = savedName;
}

TEST_F(AcFile, ResultRowsFollowTheGroupAndTheMode)
{
    struct Row
    {
        const char* name;
        bool autoMode;
        int group;
        Record action, back;
        std::vector<std::vector<std::string>> expected;   // without the header
    };
    const std::string n = "---";
    const Row rows[] = {
        // Recorded in group order (UC, UA); printed UA first, each port its own values.
        {"auto return UCUA", true, VM::RAMP_PORT_TYPE_UCUA, {0, 0.5, {60.0, 57.7}}, {0, 1.5, {57.0, 55.0}},
         {{"UA", "57.700V", "55.000V", "0.953", "0.500s", "1.500s"},
          {"UC", "60.000V", "57.000V", "0.950", "0.500s", "1.500s"}}},
        {"auto return ICIA, currents", true, VM::RAMP_PORT_TYPE_ICIA, {0, 0.5, {3.0, 2.0}}, {0, 1.5, {2.7, 1.0}},
         {{"IA", "2.000A", "1.000A", "0.500", "0.500s", "1.500s"}, {"IC", "3.000A", "2.700A", "0.900", "0.500s", "1.500s"}}},
        {"auto action only", true, VM::RAMP_PORT_TYPE_UAUBUC, {2, 0.25, {1.0, 2.0, 3.0}}, {},
         {{"UA", "1.000V", n, n, "0.250s", n}, {"UB", "2.000V", n, n, "0.250s", n}, {"UC", "3.000V", n, n, "0.250s", n}}},
        {"auto no action", true, VM::RAMP_PORT_TYPE_IX, {}, {}, {{"IX", n, n, n, n, n}}},
        {"manual action", false, VM::RAMP_PORT_TYPE_UA, {0, 0.25, {57.7}}, {}, {{"UA", "57.700V", n, "", "0.250s", n}}},
        {"manual no action", false, VM::RAMP_PORT_TYPE_UBUC, {}, {}, {{"UB", n, n, n, n, n}, {"UC", n, n, n, n, n}}},
    };
    int serial = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AcModel vm;
        vm.testActive();
        vm.setAutoRampEnabled(row.autoMode);
        vm.faultActionPort = VM::RampPortType(row.group);
        deliverResults(vm, row.action, row.back);
        const QString name = QString("r%1.htm").arg(++serial);
        ASSERT_TRUE(vm.saveReport(name));
        vmtest::expectValidReport(reportFile(name));
        std::vector<std::vector<std::string>> table = resultTable(reportFile(name));
        ASSERT_FALSE(table.empty());
        EXPECT_EQ(table.front(), (std::vector<std::string>{"Variable port", "Action value", "Return value",
                                                          "Return Coefficient", "Action time", "Return time"}));
        table.erase(table.begin());
        EXPECT_EQ(table, row.expected);
    }
}
