// The state-sequence parameter file (golden file, round trip, what a file
// must not be trusted with) and the report tables. The report tests'
// fixture names begin with "Report": the HTML5 parse of this folder runs them.

#include "SequenceModelSupport.h"
#include "ModelFileSupport.h"
#include "BaseXmlUtilities.h"

#include <QDomDocument>
#include <QTextStream>

#include <string>
#include <vector>

using namespace sstest;

namespace {

using filetest::path;

// The document's elements as text, whatever the declaration's quoting.
QString body(const QByteArray& bytes)
{
    QDomDocument doc;
    doc.setContent(bytes);
    QString text;
    QTextStream out(&text);
    doc.documentElement().save(out, 1);
    return text;
}

using filetest::setText;

class SequenceFile : public SequenceModelTest
{
protected:
    QString parameterFile() const { return appRoot() + "/parameters/Sequence/parameter.xml"; }

    void editFile(const std::function<void(QDomDocument&, QDomElement&)>& fn)
    {
        filetest::editXml(sandbox, parameterFile(), fn);
    }
};

// Four states with every kind of setting changed, results of a run, one
// assessment and two events, saved.
void fill(SeqModel& vm)
{
    vm.testActive();
    vm.addState();
    for (int s = 0; s < 4; ++s) {
        for (int p = 0; p < 8; ++p) {
            vm.setOutputRange(s, port(p), 1.23456789 * (p % 4 + 1) + s);
            vm.setOutputAngle(s, port(p), 10.0 * p + s);
            vm.setOutputFrequency(s, port(p), 50.0 + s + p / 10.0);
        }
        vm.setOutputTime(s, 1234.567 + s);
        vm.setTriggerType(s, VM::AOTriggerType(s + 1));
        vm.setOutputBILogic(s, VM::AOBILogicType(s % 2));
        vm.setOutputBOState(s, s, 1);
        vm.setOutputBIState(s, s, s);
    }
    vm.setOutputLinkType(2, VM::AO_LINKSTATE_TYPE_INITIATE);
    deliverDurations(vm, {1.0, 2.0, kNaN, kNaN});
    deliver(vm, VM::DATA_TYPE_TEST_ACTIONDATA, [](ModelStateSequenceEntity& e) {
        e.stateActionTimes[1][1] = 0.125;
        e.stateActionBIStates[1][1] = 1;
    });
    vm.addAssess();
    vm.setAssessStart(0, 0);
    vm.setAssessStop(0, 2);
    vm.setSettingTime(0, 2.5);
    vm.setDevTime(0, 0.25);
    vm.getAssessCount();   // 3.0 s against 2.5 s: FAILED
    vm.addAssess();
    vm.setAssessStop(1, 3);
    vm.addBOEventRecord(0);
    vm.addBOEventRecord(1);
}

} // namespace

TEST_F(SequenceFile, GoldenFileOfTheDefaultStatesAndItsReload)
{
    {
        SeqModel vm;
        vm.testActive();
        ASSERT_TRUE(vm.saveParameter());
    }
    const QByteArray written = sandbox.read(parameterFile());
    vmtest::updateGoldenIfAsked("statesequencemodel/parameter.xml", written);
    EXPECT_EQ(QString::fromUtf8(written), QString::fromUtf8(testData("statesequencemodel/parameter.xml")));

    SeqModel back;
    back.testActive();
    back.testStates[1].actionTimes[2] = 0.5;
    back.testStates[1].actionBIStates[2] = 1;
    back.addAssess();
    ASSERT_TRUE(back.loadParameter());
    ASSERT_EQ(back.getStateCount(), 3);
    EXPECT_TRUE(std::isnan(back.getActionTimes(1, 2)));
    EXPECT_EQ(back.getActionBIStates(1, 2), -1);
    EXPECT_EQ(back.getOutputLinkType(1), VM::AO_LINKSTATE_TYPE_CONTINUE);
    EXPECT_EQ(back.getAssessCount(), 0);
}

TEST_F(SequenceFile, EverySettingAndResultRoundTripsToSixDigits)
{
    {
        SeqModel vm;
        fill(vm);
        ASSERT_TRUE(vm.saveParameter());
    }
    const QByteArray first = sandbox.read(parameterFile());
    QDomDocument doc;
    ASSERT_TRUE(doc.setContent(first));
    EXPECT_EQ(path(doc.documentElement(), {"assessList", "assess0", "outputTriggerType"}).text(), "2");

    SeqModel back;
    back.testActive();
    back.setActiveIndex(2);
    ASSERT_TRUE(back.loadParameter());
    EXPECT_EQ(back.getStateCount(), 4);
    EXPECT_EQ(back.getActiveIndex(), 2);
    EXPECT_EQ(back.getOutputTime(0), 1234.57);
    EXPECT_EQ(back.getOutputRange(3, port(7)), 7.93827);
    EXPECT_EQ(back.getTriggerType(3), VM::AO_TRIGGER_TYPE_GPS_IRIGB);
    EXPECT_EQ(back.getOutputLinkType(2), VM::AO_LINKSTATE_TYPE_INITIATE);
    EXPECT_EQ(back.getActionTimes(1, 1), 0.125);
    EXPECT_EQ(back.getTestStates(1), VM::AO_STATE_TYPE_COMPLETED);
    EXPECT_EQ(back.getAssessResult(0), VM::AO_Result_TYPE_FAILED);
    EXPECT_EQ(back.getEventRecorderCnt(), 3);
    EXPECT_EQ(back.getEventRecorderTime(1), 1.0);
    // Written again, the same file.
    ASSERT_TRUE(back.saveParameter());
    EXPECT_EQ(body(sandbox.read(parameterFile())), body(first));

    // A shorter list leaves no state of the longer one in the file.
    back.removeState(3);
    ASSERT_TRUE(back.saveParameter());
    ASSERT_TRUE(doc.setContent(sandbox.read(parameterFile())));
    EXPECT_TRUE(path(doc.documentElement(), {"testStates", "state3"}).isNull());
    EXPECT_FALSE(path(doc.documentElement(), {"testStates", "state2"}).isNull());
}

// A load looks at the children of the file in proportion to its entries:
// twice the events, less than twice the children looked at (each event
// looked up by name among its siblings made it four times).
TEST_F(SequenceFile, ALoadLooksAtChildrenInProportionToTheEvents)
{
    const auto visits = [this](int events) {
        {
            SeqModel vm;
            vm.testActive();
            vm.eventRecorderList.assign(size_t(events), SeqModel::ViewEventRecorderModel());
            EXPECT_TRUE(vm.saveParameter());
        }
        SeqModel back;
        back.testActive();
        const quint64 before = BaseXmlUtilities::visitedChildren();
        EXPECT_TRUE(back.loadParameter());
        EXPECT_EQ(back.getEventRecorderCnt(), events);
        return BaseXmlUtilities::visitedChildren() - before;
    };
    const quint64 half = visits(SeqModel::kMaxEvents / 2);
    EXPECT_LT(visits(SeqModel::kMaxEvents), 2 * half);
}

TEST_F(SequenceFile, CountsAndEnumerationsAreHeldToWhatTheModelKeeps)
{
    struct Row
    {
        const char* name;
        std::function<void(QDomDocument&, QDomElement&)> edit;
        // Null: the file is refused, the model keeps its values.
        std::function<void(SeqModel&)> check;
    };
    const auto removeStates = [](QDomElement& r, int from) {
        QDomElement states = r.firstChildElement("testStates");
        for (int s = from; s < 4; ++s)
            states.removeChild(states.firstChildElement(QStringLiteral("state%1").arg(s)));
    };
    const Row rows[] = {
        {"five states counted, three stored",
         [&](QDomDocument& d, QDomElement& r) {
             setText(d, path(r, {"testStates", "stateCount"}), "5");
             removeStates(r, 3);
         },
         [](SeqModel& vm) {
             ASSERT_EQ(vm.getStateCount(), 3);
             EXPECT_EQ(vm.getOutputTime(2), 1236.57);
         }},
        {"two thousand million states counted",
         [](QDomDocument& d, QDomElement& r) { setText(d, path(r, {"testStates", "stateCount"}), "2000000000"); },
         [](SeqModel& vm) { EXPECT_EQ(vm.getStateCount(), 4); }},
        {"ten thousand states",
         [](QDomDocument& d, QDomElement& r) {
             QDomElement states = r.firstChildElement("testStates");
             for (int s = 4; s < 10000; ++s)
                 states.appendChild(d.createElement(QStringLiteral("state%1").arg(s)));
         },
         nullptr},
        {"no state",
         [&](QDomDocument& d, QDomElement& r) {
             setText(d, path(r, {"testStates", "stateCount"}), "0");
             removeStates(r, 0);
         },
         [](SeqModel& vm) {
             ASSERT_EQ(vm.getStateCount(), 3);
             EXPECT_EQ(vm.getOutputTime(0), 1.0);
             EXPECT_EQ(vm.getOutputRange(0, port(0)), 57.735);
         }},
        {"a shorter list moves the active state into it", [&](QDomDocument&, QDomElement& r) { removeStates(r, 1); },
         [](SeqModel& vm) { EXPECT_EQ(vm.activeStateIndex, 0); }},
        {"huge assessment and event counts",
         [](QDomDocument& d, QDomElement& r) {
             setText(d, path(r, {"assessList", "assessCount"}), "2000000000");
             setText(d, path(r, {"eventRecorderList", "eventRecorderCount"}), "2000000000");
         },
         [](SeqModel& vm) {
             EXPECT_EQ(vm.getAssessCount(), 2);
             EXPECT_EQ(vm.getEventRecorderCnt(), 3);
         }},
        {"results outside what a run gives",
         [](QDomDocument& d, QDomElement& r) {
             const QDomElement s1 = path(r, {"testStates", "state1"});
             setText(d, s1.firstChildElement("testState"), "3");
             setText(d, path(s1, {"BI2", "actionBIState"}), "9");
             setText(d, path(s1, {"BI2", "actionTime"}), "-5");
             setText(d, path(r, {"eventRecorderList", "event1", "tripType"}), "2");
             setText(d, path(r, {"assessList", "assess0", "outputTriggerType"}), "3");
         },
         [](SeqModel& vm) {
             EXPECT_EQ(vm.getOutputTime(1), 1235.57);
             EXPECT_EQ(vm.getTestStates(1), VM::AO_STATE_TYPE_INITING);
             EXPECT_EQ(vm.getActionBIStates(1, 1), -1);
             EXPECT_TRUE(std::isnan(vm.getActionTimes(1, 1)));
             EXPECT_EQ(vm.getEventRecorderType(1), -1);
             EXPECT_EQ(vm.assessList[0].result, VM::AO_Result_TYPE_NONE);
         }},
        {"a state stored while it ran reads as its stop left it",
         [](QDomDocument& d, QDomElement& r) {
             setText(d, path(r, {"testStates", "state1", "testState"}), "1");
         },
         [](SeqModel& vm) { EXPECT_EQ(vm.getTestStates(1), VM::AO_STATE_TYPE_COMPLETED); }},
        {"settings outside their values",
         [](QDomDocument& d, QDomElement& r) {
             const QDomElement s1 = path(r, {"testStates", "state1"});
             setText(d, s1.firstChildElement("outputTriggerType"), "7");
             setText(d, s1.firstChildElement("outputLinkType"), "-1");
             setText(d, s1.firstChildElement("outputBILogicType"), "2");
             setText(d, path(s1, {"outputBOStates", "bo0"}), "2");
             setText(d, path(s1, {"outputBIStates", "bi1"}), "4");
         },
         nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        {
            SeqModel vm;
            fill(vm);
            ASSERT_TRUE(vm.saveParameter());
        }
        editFile(row.edit);
        SeqModel vm;
        vm.testActive();
        vm.setActiveIndex(2);
        const QByteArray before = filetest::held(vm, sandbox);
        ASSERT_EQ(vm.loadParameter(), bool(row.check));
        if (row.check)
            row.check(vm);
        else
            EXPECT_EQ(filetest::held(vm, sandbox), before);
    }
}

namespace {

// The report's tables as cell texts, by the first cell of their first row.
class ReportSequence : public SequenceModelTest
{
protected:
    using Table = std::vector<std::vector<std::string>>;

    std::vector<Table> tables(const QString& name)
    {
        const QString file = appRoot() + "/report/Sequence/" + name;
        vmtest::expectValidReport(file);
        QDomDocument doc;
        doc.setContent(sandbox.read(file));
        std::vector<Table> all;
        const QDomNodeList list = doc.elementsByTagName("table");
        for (int t = 0; t < list.size(); ++t) {
            Table rows;
            // Rows of this table only, not of the tables nested in its cells.
            for (QDomElement tr = list.at(t).firstChildElement("tr"); !tr.isNull(); tr = tr.nextSiblingElement("tr")) {
                std::vector<std::string> cells;
                for (QDomElement td = tr.firstChildElement("td"); !td.isNull(); td = td.nextSiblingElement("td"))
                    cells.push_back(td.firstChildElement("table").isNull() ? td.text().toStdString() : "<tables>");
                rows.push_back(cells);
            }
            all.push_back(rows);
        }
        return all;
    }
    static Table find(const std::vector<Table>& all, const std::string& firstCell, int skip = 0)
    {
        for (const Table& t : all) {
            if (!t.empty() && !t.front().empty() && t.front().front() == firstCell && skip-- == 0)
                return t;
        }
        return {};
    }
};

} // namespace

TEST_F(ReportSequence, StatesInBandsOfTwoWithTheirTables)
{
    config->curPhasesType = ControllerConfiguration::PHASES_TYPE_FOUR;
    SeqModel vm;
    vm.testActive();
    vm.addState();
    vm.addState();
    vm.setOutputRange(4, port(7), 2.5);
    vm.setOutputAngle(4, port(7), 12.5);
    vm.setTriggerType(1, VM::AO_TRIGGER_TYPE_BINARY);
    vm.setTriggerType(2, VM::AO_TRIGGER_TYPE_TIME_BINARY);
    vm.setTriggerType(3, VM::AO_TRIGGER_TYPE_KEY_PRESS);
    vm.setTriggerType(4, VM::AO_TRIGGER_TYPE_GPS_IRIGB);
    vm.setOutputBILogic(4, VM::AO_BILOGIC_TYPE_AND);
    vm.setOutputBIState(4, 0, VM::AO_BI_STATE_NONE);
    vm.setOutputBIState(4, 2, VM::AO_BI_STATE_NONE);
    vm.setOutputBOState(4, 1, 1);
    vm.setOutputBOState(4, 3, 1);
    ASSERT_TRUE(vm.saveReport("states.htm"));
    const std::vector<Table> all = tables("states.htm");

    EXPECT_EQ(find(all, "Deglitch(ms)"), (Table{{"Deglitch(ms)", "15.000", "States", "5"}}));
    const Table layout = find(all, "State 1");
    EXPECT_EQ(layout, (Table{{"State 1", "State 2"},
                             {"<tables>", "<tables>"},
                             {"State 3", "State 4"},
                             {"<tables>", "<tables>"},
                             {"State 5", ""},
                             {"<tables>", ""}}));
    // Three-phase voltage, four-phase current: no UX, an IX row.
    const Table outputs = find(all, "", 4);
    ASSERT_EQ(outputs.size(), 8u);
    EXPECT_EQ(outputs[0], (std::vector<std::string>{"", "Amplitude", "Phase", "Frequency"}));
    EXPECT_EQ(outputs[4][0], "IA");
    EXPECT_EQ(outputs[7], (std::vector<std::string>{"IX", "2.500A", "12.500°", "50.000Hz"}));
    const char* modes[5][4] = {{"Time", "State time", "1.000s"},
                               {"Binary", "", ""},
                               {"Time+Binary", "State time", "1.000s"},
                               {"Key-Press", "", ""},
                               {"GPS/IRIG-B", "", ""}};
    for (int s = 0; s < 5; ++s) {
        SCOPED_TRACE(s);
        const Table trigger = find(all, "Trip mode", s);
        ASSERT_EQ(trigger.size(), 3u);
        EXPECT_EQ(trigger[0], (std::vector<std::string>{"Trip mode", modes[s][0], modes[s][1], modes[s][2]}));
    }
    EXPECT_EQ(find(all, "Trip mode", 0)[1], (std::vector<std::string>{"Out.mode", "Phase", "Logic", "Or"}));
    EXPECT_EQ(find(all, "Trip mode", 1)[1], (std::vector<std::string>{"Out.mode", "Continuous", "Logic", "Or"}));
    EXPECT_EQ(find(all, "Trip mode", 4)[1], (std::vector<std::string>{"Out.mode", "Continuous", "Logic", "And"}));
    EXPECT_EQ(find(all, "Trip mode", 4)[2], (std::vector<std::string>{"Bi Input", "2;4;", "Bi Output", "2;4;"}));

    // No assessment, no event: neither caption nor table.
    EXPECT_TRUE(find(all, "Assessment Result:").empty());
    EXPECT_TRUE(find(all, "Event Recorder:").empty());
    EXPECT_EQ(find(all, "State", 0).size(), 6u);
}

TEST_F(ReportSequence, ActionTimesAssessmentsAndEvents)
{
    SeqModel vm;
    fill(vm);
    // A relay on DI 3 trips 40 ms into every state: the page's four inputs.
    deliver(vm, VM::DATA_TYPE_TEST_ACTIONDATA, [](ModelStateSequenceEntity& e) {
        for (int s = 0; s < 4; ++s)
            e.stateActionTimes[s][2] = 0.04;
    });
    vm.addBOEventRecord(3);   // state 4 begins at a time not measured
    ASSERT_TRUE(vm.saveReport("results.htm"));
    const std::vector<Table> all = tables("results.htm");
    EXPECT_EQ(find(all, "State"), (Table{{"State", "DI 1", "DI 2", "DI 3", "DI 4"},
                                         {"1", "---", "---", "0.040s", "---"},
                                         {"2", "---", "0.125s", "0.040s", "---"},
                                         {"3", "---", "---", "0.040s", "---"},
                                         {"4", "---", "---", "0.040s", "---"}}));
    EXPECT_EQ(find(all, "Assessment Result:"), (Table{{"Assessment Result:"}}));
    const Table assessments = find(all, "", 4);   // after the outputs of four states
    EXPECT_EQ(assessments, (Table{{"", "开始", "停止", "整定时间", "偏差", "实际时间", "结果"},
                                  {"1", "State1", "State3", "2.500s", "0.250s", "3.000s", "失败"},
                                  {"2", "State1", "State4", "1.000s", "0.100s", "---", "未测试"}}));
    EXPECT_EQ(find(all, "Time"), (Table{{"Time", "Type", "Signal Name", "Slope"},
                                        {"0.000s", "BO", "1", "0->1"},
                                        {"1.000s", "BO", "1", "1->0"},
                                        {"1.000s", "BO", "2", "0->1"},
                                        {"3.000s", "BO", "2", "1->0"},
                                        {"3.000s", "BO", "3", "0->1"},
                                        {"---", "BO", "3", "1->0"},
                                        {"---", "BO", "4", "0->1"}}));
}
