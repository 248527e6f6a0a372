// The standard-source parameter file (six significant digits, missing port
// children, values a file must not be trusted with) and the report tables.
// The report tests' suite begins with "Report": check_html5.py parses what
// they write.

#include "StdSourceSupport.h"
#include "ModelFileSupport.h"

#include <QDomDocument>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

using namespace stdtest;

namespace {

using filetest::Table;

double six(double value)
{
    return QString::number(value, 'g', 6).toDouble();
}

class StdSourceFile : public StdSourceTest
{
protected:
    QString parameterFile() const { return appRoot() + "/parameters/StdSource/parameter.xml"; }
    QString reportFile(const QString& name) const { return appRoot() + "/report/StdSource/" + name; }

    void editFile(const std::function<void(QDomDocument&, QDomElement&)>& fn)
    {
        filetest::editXml(sandbox, parameterFile(), fn);
    }

    // The report written for vm, checked, as tables of cell texts.
    std::vector<Table> report(VM& vm, const QString& name)
    {
        EXPECT_TRUE(vm.saveReport(name));
        vmtest::expectValidReport(reportFile(name));
        return filetest::tables(sandbox.read(reportFile(name)));
    }
    // The table whose first row has `text` in cell `cell`.
    static Table find(const std::vector<Table>& tables, const std::string& text, size_t cell = 0)
    {
        return filetest::find(tables, text, cell);
    }
};

using ReportStdSource = StdSourceFile;

using filetest::setText;

const char* const kScalars[] = {"workMode",      "powerFactor",   "factorType",  "powerPhase",
                                "srcFrequency",  "componentSel",  "srcVoltageAmp", "srcCurrentAmp",
                                "activePower",   "reactivePower", "apprentPower",  "powerRadian"};

} // namespace

TEST_F(StdSourceFile, SettingsAndDerivedValuesRoundTripToSixDigits)
{
    StdModel vm;
    vm.testActive();
    configure(vm, VM::WORK_MODE_3COM_90_DEGREE_REACTIVE_POWER, 0.612345678, VM::POWER_FACTOR_TYPE_CAPACITIVE,
              VM::COMPONENT_SELECT_B);
    vm.setSrcFrequency(50.1234567);
    vm.setSrcVoltageAmp(57.7350269);
    vm.setSrcCurrentAmp(1.23456789);
    ASSERT_TRUE(vm.saveParameter());
    QDomDocument doc;
    ASSERT_TRUE(doc.setContent(sandbox.read(parameterFile())));
    const QDomElement root = doc.documentElement();
    for (const char* key : kScalars)
        EXPECT_FALSE(root.firstChildElement(key).isNull()) << key;
    EXPECT_EQ(root.firstChildElement("srcVoltageAmp").text(), "57.735");
    EXPECT_EQ(root.firstChildElement("componentSel").text(), "2");

    StdModel back;
    back.testActive();
    ASSERT_TRUE(back.loadParameter());
    EXPECT_EQ(back.getWorkMode(), vm.getWorkMode());
    EXPECT_EQ(back.getFactorType(), vm.getFactorType());
    EXPECT_EQ(back.getComponentSel(), vm.getComponentSel());
    const std::function<double(const VM&)> scalars[] = {
        &VM::getPowerFactor,   &VM::getPowerPhase,  &VM::getSrcFrequency, &VM::getSrcVoltageAmp,
        &VM::getSrcCurrentAmp, &VM::getActivePower, &VM::getReactivePower, &VM::getApprentPower,
    };
    for (const auto& get : scalars)
        EXPECT_EQ(get(back), six(get(vm)));
    EXPECT_EQ(back.powerRadian, six(vm.powerRadian));
    for (int p = 0; p < 6; ++p) {
        EXPECT_EQ(back.getOutputRange(port(p)), six(vm.getOutputRange(port(p)))) << p;
        EXPECT_EQ(back.getOutputPower(port(p)), six(vm.getOutputPower(port(p)))) << p;
        EXPECT_EQ(back.outputRadian[p], six(vm.outputRadian[p])) << p;
        EXPECT_EQ(back.outputPhase[p], six(vm.outputPhase[p])) << p;
    }
}

TEST_F(StdSourceFile, ValuesAFileMustNotBeTrustedWithKeepTheField)
{
    const auto saveFile = [] {
        VM vm;
        vm.testActive();
        configure(vm, VM::WORK_MODE_3P3W_V_ACTIVE_POWER, 0.5, VM::POWER_FACTOR_TYPE_INDUCTIVE, VM::COMPONENT_SELECT_C);
        return vm.saveParameter();
    };
    struct Row
    {
        const char* name;
        std::vector<std::pair<const char*, const char*>> texts;
        int mode, type, select;   // as read back
        double factor;
        double ic;   // IC once the page has recomputed
        bool taken = true;   // else the file is refused and the model keeps its values
    };
    const Row rows[] = {
        {"as saved: C in a two-element mode", {}, 2, VM::POWER_FACTOR_TYPE_INDUCTIVE, 2, 0.5, 1.0},
        {"outside the enumerations", {{"workMode", "9"}, {"factorType", "3"}, {"componentSel", "4"}}, 0,
         VM::POWER_FACTOR_TYPE_NONE, 0, 0.5, 0.0, false},
        {"B in a two-element mode", {{"componentSel", "2"}}, 2, VM::POWER_FACTOR_TYPE_INDUCTIVE, 2, 0.5, 1.0, false},
        {"factor above 1", {{"powerFactor", "1.5"}}, 2, VM::POWER_FACTOR_TYPE_INDUCTIVE, 2, 1.0, 1.0, false},
        {"factor NaN", {{"powerFactor", "nan"}}, 2, VM::POWER_FACTOR_TYPE_INDUCTIVE, 2, 1.0, 1.0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(saveFile());
        editFile([&row](QDomDocument& doc, QDomElement& root) {
            for (const auto& t : row.texts)
                setText(doc, root.firstChildElement(t.first), t.second);
        });
        VM vm;
        vm.testActive();
        const QByteArray before = filetest::held(vm, sandbox);
        ASSERT_EQ(vm.loadParameter(), row.taken);
        if (!row.taken) {
            EXPECT_EQ(filetest::held(vm, sandbox), before);
            continue;
        }
        EXPECT_EQ(vm.getWorkMode(), row.mode);
        EXPECT_EQ(vm.getFactorType(), row.type);
        EXPECT_EQ(vm.getComponentSel(), row.select);
        EXPECT_EQ(vm.getPowerFactor(), row.factor);
        vm.updateSetting();
        EXPECT_EQ(vm.getOutputRange(port(VM::SINGLE_PORT_IC)), row.ic);
    }

    // Without the port children the arrays stay as they were.
    ASSERT_TRUE(saveFile());
    editFile([](QDomDocument& doc, QDomElement& root) {
        for (int p = 0; p < 6; ++p)
            root.removeChild(root.firstChildElement(QString("port%1").arg(p)));
        setText(doc, root.firstChildElement("workMode"), "1");
    });
    StdModel vm;
    vm.testActive();
    const StdModel fresh;
    ASSERT_TRUE(vm.loadParameter());
    EXPECT_EQ(vm.getWorkMode(), 1);
    for (int p = 0; p < 6; ++p) {
        EXPECT_EQ(vm.outputRange[p], fresh.outputRange[p]) << p;
        EXPECT_EQ(vm.outputPower[p], fresh.outputPower[p]) << p;
    }
}

TEST_F(ReportStdSource, SettingsTable)
{
    struct Row
    {
        double factor;
        int type;
        const char* cell;
    };
    const Row rows[] = {{0.5, VM::POWER_FACTOR_TYPE_CAPACITIVE, "0.500000C"},
                        {0.5, VM::POWER_FACTOR_TYPE_INDUCTIVE, "0.500000L"},
                        {1.0, VM::POWER_FACTOR_TYPE_NONE, "1.000000"}};
    int serial = 0;
    for (const Row& row : rows) {
        VM vm;
        vm.testActive();
        configure(vm, VM::WORK_MODE_3P4W_Y_ACTIVE_POWER, row.factor, row.type, VM::COMPONENT_SELECT_A);
        const Table table = find(report(vm, QString("s%1.htm").arg(++serial)), "工作方式");
        ASSERT_EQ(table.size(), 6u);
        EXPECT_EQ(table[0], (std::vector<std::string>{"工作方式", "三相四线(Y型接法)有功功率"}));
        EXPECT_EQ(table[1][1], row.cell);
        EXPECT_EQ(table[2], (std::vector<std::string>{"分元选择", "A元件", "频率", "50.000Hz"}));
        EXPECT_EQ(table[3], (std::vector<std::string>{"电压幅值", "57.735V", "电流幅值", "1.000A"}));
        EXPECT_EQ(table[5].size(), 2u);
    }
}

TEST_F(ReportStdSource, ResultRowsFollowTheMode)
{
    struct Row
    {
        int mode;
        std::vector<std::string> labels;   // first cells after the header, "" for an empty row
    };
    const Row rows[] = {
        {0, {"Ua", "Ia", "", "", "", ""}},
        {1, {"Ua", "Ub", "Uc", "Ia", "Ib", "Ic"}},
        {6, {"Uab", "Ucb", "Ia", "Ic", "", ""}},
        {7, {"Ubc", "Uca", "Uab", "Ia", "Ib", "Ic"}},
        {8, {"Ubc", "Uab", "Ia", "Ic", "", ""}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mode);
        VM vm;
        vm.testActive();
        vm.setWorkMode(VM::WorkMode(row.mode));
        const Table table = find(report(vm, QString("r%1.htm").arg(row.mode)), "幅值", 1);
        ASSERT_EQ(table.size(), 7u);
        ASSERT_EQ(table[0].size(), 5u);
        EXPECT_EQ(table[0][2], "相位");
        EXPECT_EQ(table[0][4], "功率");
        for (size_t r = 0; r < row.labels.size(); ++r)
            EXPECT_EQ(table[r + 1].empty() ? "" : table[r + 1][0], row.labels[r]) << r;
        if (row.mode == 0) {
            EXPECT_EQ(table[2], (std::vector<std::string>{"Ia", "1.000A", "0.000°", "Qa", "0.000Var"}));
        } else if (row.mode == 6) {
            EXPECT_EQ(table[2], (std::vector<std::string>{"Ucb", "57.735V", "60.000°", "Pb", "28.867W"}));
        }
    }
}
