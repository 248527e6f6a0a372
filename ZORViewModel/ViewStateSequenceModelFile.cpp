// ViewStateSequenceModel: the body of the state-sequence parameter file and
// the report tables.
//
// File body after the base keys (doubles with six significant digits):
//   testStates/{stateCount, state0..n-1/{outputTime, outputTriggerType,
//       outputLinkType, outputBILogicType, testState,
//       BI1..BI4/{actionBIState, actionTime},
//       ports/port0..7/{range, angle, frequency},
//       outputBOStates/bo0..3, outputBIStates/bi0..3}}
//   assessList/{assessCount, assess0..n-1/{stateStart, stateStop,
//       settingTime, devTime, actionTime, outputTriggerType (the verdict)}}
//   eventRecorderList/{eventRecorderCount, event0..n-1/{tripTime, tripType,
//       signalName, slope}}
// A state's trigger time is not stored. A list is as long as the entries
// the file holds (no state reads as no list: three rated states); more than
// the model keeps (32 states, 32 assessments, kMaxEvents events) or one
// index twice, an enumeration outside its values or an unreadable value
// refuses the file; a setting outside the page's limits reads as the nearest
// limit (ViewParameterSetting.h). A result no run gives reads as no result.

#include "ViewStateSequenceModel.h"

#include "BaseXmlUtilities.h"
#include "ConstTextUtility.h"
#include "ControllerCenter.h"
#include "ViewParameterSetting.h"

#include <algorithm>
#include <cmath>

namespace {

using Xml = BaseXmlUtilities;
using namespace PageLimits;

// A list of the body other than the states: written whole as new
// elements (the caller emptied it), read in one pass over its children.
template <class T>
void serializeList(bool save, QDomElement* root, QDomDocument* doc, const QString& listName, const QString& countName,
                   const char* entryName, int most, std::vector<T>& items)
{
    QDomElement list;
    Xml::getElement(&list, root, doc, listName, save);
    if (save) {
        qint32 count = qint32(items.size());
        Xml::map(save, &list, doc, countName, count, count);
        for (int i = 0; i < count; ++i) {
            QDomElement entry;
            Xml::newElement(&entry, &list, doc, indexed(entryName, i));
            items[size_t(i)].serialize(save, &entry, doc);
        }
    } else {
        std::vector<QDomElement> entries = ParameterRead::entries(&list, QLatin1String(entryName), most);
        items.assign(entries.size(), T());
        for (size_t i = 0; i < entries.size(); ++i)
            items[i].serialize(save, &entries[i], doc);
    }
}

// The children named `name` of parent, removed before a list is written
// anew (a saved file is merged into the one it replaces).
void removeChildren(QDomElement* parent, const QString& name)
{
    QDomElement stale = parent->firstChildElement(name);
    while (!stale.isNull()) {
        QDomElement next = stale.nextSiblingElement(name);
        parent->removeChild(stale);
        stale = next;
    }
}

} // namespace

// ---- Records ---------------------------------------------------------------------------------------

bool ViewStateSequenceModel::ViewSequenceStateModel::serialize(bool save, QDomElement* element, QDomDocument* doc)
{
    if (!element || (!save && element->isNull()))
        return false;
    mapSetting(save, element, doc, QStringLiteral("outputTime"), outputTime, 0.0);
    mapChecked(save, element, doc, QStringLiteral("outputTriggerType"), outputTriggerType, AO_TRIGGER_TYPE_TIME,
               AO_TRIGGER_TYPE_GPS_IRIGB);
    mapChecked(save, element, doc, QStringLiteral("outputLinkType"), outputLinkType, AO_LINKSTATE_TYPE_CONTINUE,
               AO_LINKSTATE_TYPE_INITIATE);
    mapChecked(save, element, doc, QStringLiteral("outputBILogicType"), outputBILogicType, AO_BILOGIC_TYPE_OR,
               AO_BILOGIC_TYPE_AND);
    mapResultIndex(save, element, doc, QStringLiteral("testState"), testState, AO_STATE_TYPE_INITING,
                   AO_STATE_TYPE_COMPLETED, AO_STATE_TYPE_INITING);
    // Stored while it ran: the stop that followed left it completed.
    if (!save && testState == AO_STATE_TYPE_RUNNNING)
        testState = AO_STATE_TYPE_COMPLETED;
    for (int k = 0; k < 4; ++k) {
        QDomElement bi;
        Xml::getElement(&bi, element, doc, indexed("BI", k + 1), save);
        mapResultIndex(save, &bi, doc, QStringLiteral("actionBIState"), actionBIStates[k], -1, 3, -1);
        mapResultTime(save, &bi, doc, QStringLiteral("actionTime"), actionTimes[k]);
    }
    QDomElement ports;
    Xml::getElement(&ports, element, doc, QStringLiteral("ports"), save);
    const ControllerConfiguration* config = center()->testConfiguration;
    mapPorts(save, &ports, doc, outputRanges, outputAngles, outputFrequencies, config->maxVRange, config->maxIRange);
    QDomElement bos;
    Xml::getElement(&bos, element, doc, QStringLiteral("outputBOStates"), save);
    for (int k = 0; k < 4; ++k)
        mapChecked(save, &bos, doc, indexed("bo", k), outputBOStates[k], 0, 1);
    QDomElement bis;
    Xml::getElement(&bis, element, doc, QStringLiteral("outputBIStates"), save);
    for (int k = 0; k < 4; ++k)
        mapChecked(save, &bis, doc, indexed("bi", k), outputBIStates[k], AO_BI_STATE_NONE, AO_BI_STATE_ALL);
    return true;
}

bool ViewStateSequenceModel::ViewAssessModel::serialize(bool save, QDomElement* element, QDomDocument* doc)
{
    if (!element || (!save && element->isNull()))
        return false;
    mapChecked(save, element, doc, QStringLiteral("stateStart"), stateStart, 0, kMaxStates - 1);
    mapChecked(save, element, doc, QStringLiteral("stateStop"), stateStop, 0, kMaxStates - 1);
    mapSetting(save, element, doc, QStringLiteral("settingTime"), settingTime, 0.0);
    mapSetting(save, element, doc, QStringLiteral("devTime"), devTime, 0.0);
    mapResultTime(save, element, doc, QStringLiteral("actionTime"), actionTime);
    mapResultIndex(save, element, doc, QStringLiteral("outputTriggerType"), result, AO_Result_TYPE_NONE,
                   AO_Result_TYPE_FAILED, AO_Result_TYPE_NONE);
    return true;
}

bool ViewStateSequenceModel::ViewEventRecorderModel::serialize(bool save, QDomElement* element, QDomDocument* doc)
{
    if (!element || (!save && element->isNull()))
        return false;
    mapResultTime(save, element, doc, QStringLiteral("tripTime"), tripTime);
    mapResultIndex(save, element, doc, QStringLiteral("tripType"), tripType, 0, 1, -1);
    mapResultIndex(save, element, doc, QStringLiteral("signalName"), signalName, 1, 4, -1);
    Xml::map(save, element, doc, QStringLiteral("slope"), slope, slope);
    return true;
}

// ---- Body ----------------------------------------------------------------------------------------------

void ViewStateSequenceModel::serializeBody(bool save, QDomElement* root, QDomDocument* doc)
{
    if (save) {
        for (const char* list : {"testStates", "assessList", "eventRecorderList"})
            removeChildren(root, QLatin1String(list));
    }

    // The lists were emptied above: each entry is a new element. A read
    // takes each list's entries in one pass over its children.
    QDomElement states;
    Xml::getElement(&states, root, doc, QStringLiteral("testStates"), save);
    if (save) {
        qint32 count = getStateCount();
        Xml::map(save, &states, doc, QStringLiteral("stateCount"), count, count);
        for (int i = 0; i < count; ++i) {
            QDomElement state;
            Xml::newElement(&state, &states, doc, indexed("state", i));
            testStates[size_t(i)].serialize(save, &state, doc);
        }
    } else {
        std::vector<QDomElement> list = ParameterRead::entries(&states, QStringLiteral("state"), kMaxStates);
        const bool noList = list.empty();
        testStates.clear();
        for (size_t i = 0; i < (noList ? 3 : list.size()); ++i) {
            testStates.push_back(initialisedState());
            if (!noList)
                testStates.back().serialize(save, &list[i], doc);
        }
        // The page edits the state the getter reports.
        if (!validState(activeStateIndex))
            activeStateIndex = 0;
    }

    serializeList(save, root, doc, QStringLiteral("assessList"), QStringLiteral("assessCount"), "assess",
                  kMaxAssessments, assessList);
    serializeList(save, root, doc, QStringLiteral("eventRecorderList"), QStringLiteral("eventRecorderCount"), "event",
                  kMaxEvents, eventRecorderList);
}

// ---- Report ------------------------------------------------------------------------------------------

namespace {

const char* const kPortNames[8] = {"UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"};

// A time of the results in seconds; one not measured (before a run, say) has none.
QString reportTime(const ViewBaseModel& model, double value)
{
    return std::isnan(value) ? QStringLiteral("---") : model.doubleFormatToString(value, 3) + QStringLiteral("s");
}

QDomElement addChild(QDomDocument* doc, QDomElement* parent, const QString& name)
{
    QDomElement e = doc->createElement(name);
    parent->appendChild(e);
    return e;
}

// A cell of the states' layout table; an empty one keeps an empty text so
// that it is written open and closed.
QDomElement layoutCell(QDomDocument* doc, QDomElement* row)
{
    using namespace ConstTextUtility;
    QDomElement td = addChild(doc, row, QStringLiteral("td"));
    td.setAttribute(QStringLiteral("height"), TD_HEIGHT);
    td.setAttribute(QStringLiteral("width"), QStringLiteral("50"));
    td.setAttribute(QStringLiteral("bgcolor"), BG_COLOR);
    td.setAttribute(QStringLiteral("align"), QStringLiteral("center"));
    return td;
}

void layoutTitle(QDomDocument* doc, QDomElement* row, const QString& text)
{
    using namespace ConstTextUtility;
    QDomElement td = layoutCell(doc, row);
    if (text.isEmpty()) {
        td.appendChild(doc->createTextNode(QString()));
        return;
    }
    QDomElement font = addChild(doc, &td, QStringLiteral("font"));
    font.setAttribute(QStringLiteral("size"), FONT_SIZE_2);
    font.setAttribute(QStringLiteral("face"), FONT_ARIAL);
    font.setAttribute(QStringLiteral("color"), FONT_COLOR);
    font.appendChild(doc->createTextNode(text));
}

} // namespace

void ViewStateSequenceModel::appendTestSetting(QDomDocument* doc, QDomElement* parent)
{
    using namespace ConstTextUtility;
    ViewSourceTestModel::appendTestSetting(doc, parent);
    if (!doc || !parent)
        return;
    QStringList summary{tr("Deglitch") + QStringLiteral("(ms)"), doubleFormatToString(getDitherTime() * 1000.0, 3),
                        tr("States"), QString::number(getStateCount())};
    appendTable(doc, parent, QStringLiteral("0"), QStringLiteral("25%"), QStringLiteral("left"), FONT_SIZE_2,
                FONT_ARIAL, &summary, 1);

    // The states two by two: a row of titles, a row of their tables.
    QDomElement layout = addChild(doc, parent, QStringLiteral("table"));
    layout.setAttribute(QStringLiteral("cellSpacing"), QStringLiteral("0"));
    layout.setAttribute(QStringLiteral("cellPadding"), QStringLiteral("0"));
    layout.setAttribute(QStringLiteral("width"), QStringLiteral("100%"));
    layout.setAttribute(QStringLiteral("align"), QStringLiteral("center"));
    layout.setAttribute(QStringLiteral("border"), QStringLiteral("2"));
    layout.setAttribute(QStringLiteral("bordercolor"), BORDER_COLOR);
    for (int i = 0; i < getStateCount(); i += 2) {
        const bool second = validState(i + 1);
        QDomElement titles = addChild(doc, &layout, QStringLiteral("tr"));
        layoutTitle(doc, &titles, tr("State ") + QString::number(i + 1));
        layoutTitle(doc, &titles, second ? tr("State ") + QString::number(i + 2) : QString());
        QDomElement tables = addChild(doc, &layout, QStringLiteral("tr"));
        for (int s : {i, i + 1}) {
            QDomElement cell = layoutCell(doc, &tables);
            if (validState(s))
                appendStateTables(doc, &cell, s);
            else
                cell.appendChild(doc->createTextNode(QString()));
        }
    }
    if (!layout.hasChildNodes())
        layout.appendChild(doc->createTextNode(QString()));
}

void ViewStateSequenceModel::appendStateTables(QDomDocument* doc, QDomElement* cell, int index)
{
    using namespace ConstTextUtility;
    const ViewSequenceStateModel& s = testStates[size_t(index)];
    const auto number = [this](double value) { return doubleFormatToString(value, 3); };

    QStringList outputs[9];
    outputs[0] = QStringList{QString(), tr("Amplitude"), tr("Phase"), tr("Frequency")};
    int rows = 1;
    for (int p = 0; p < 8; ++p) {
        if ((p == AO_PORT_TYPE_UX && volPhasesType != PHASES_TYPE_FOUR)
            || (p == AO_PORT_TYPE_IX && curPhasesType != PHASES_TYPE_FOUR))
            continue;
        outputs[rows++] = QStringList{QLatin1String(kPortNames[p]),
                                      number(s.outputRanges[p]) + (isVoltagePort(p) ? QStringLiteral("V") : QStringLiteral("A")),
                                      number(s.outputAngles[p]) + QString::fromUtf8("°"),
                                      number(s.outputFrequencies[p]) + QStringLiteral("Hz")};
    }
    appendTable(doc, cell, QStringLiteral("1"), QStringList{"10%", "30%", "30%", "30%"}, QStringLiteral("center"),
                FONT_SIZE_2, FONT_ARIAL, outputs, rows);

    QStringList trigger{tr("Trip mode")};
    const QString stateTime = number(s.outputTime) + QStringLiteral("s");
    switch (s.outputTriggerType) {
    case AO_TRIGGER_TYPE_TIME: trigger << tr("Time") << tr("State time") << stateTime; break;
    case AO_TRIGGER_TYPE_BINARY: trigger << tr("Binary") << QString() << QString(); break;
    case AO_TRIGGER_TYPE_TIME_BINARY: trigger << tr("Time+Binary") << tr("State time") << stateTime; break;
    case AO_TRIGGER_TYPE_KEY_PRESS: trigger << tr("Key-Press") << QString() << QString(); break;
    case AO_TRIGGER_TYPE_GPS_IRIGB: trigger << tr("GPS/IRIG-B") << QString() << QString(); break;
    }
    const QString inputs = setFlagList(s.outputBIStates);
    const QString outputsOn = setFlagList(s.outputBOStates);
    QStringList table[3] = {
        trigger,
        {tr("Out.mode"), s.outputLinkType == AO_LINKSTATE_TYPE_INITIATE ? tr("Phase") : tr("Continuous"), tr("Logic"),
         s.outputBILogicType == AO_BILOGIC_TYPE_AND ? tr("And") : tr("Or")},
        {tr("Bi Input"), inputs, tr("Bi Output"), outputsOn},
    };
    appendTable(doc, cell, QStringLiteral("1"), QStringList{"25%", "25%", "25%", "25%"}, QStringLiteral("center"),
                FONT_SIZE_2, FONT_ARIAL, table, 3);
}

void ViewStateSequenceModel::appendTestResult(QDomDocument* doc, QDomElement* parent)
{
    using namespace ConstTextUtility;
    ViewSourceTestModel::appendTestResult(doc, parent);
    if (!doc || !parent)
        return;
    // The four inputs, as the page gives them.
    std::vector<QStringList> rows(1, QStringList{tr("State")});
    for (int k = 0; k < 4; ++k)
        rows[0] << tr("DI") + QStringLiteral(" ") + QString::number(k + 1);
    for (int i = 0; i < getStateCount(); ++i) {
        QStringList row{QString::number(i + 1)};
        for (int k = 0; k < 4; ++k)
            row << reportTime(*this, getActionTimes(i, k));
        rows.push_back(row);
    }
    appendTable(doc, parent, QStringLiteral("1"), QStringLiteral("20%"), QStringLiteral("center"), FONT_SIZE_2,
                FONT_ARIAL, rows.data(), int(rows.size()));
    appendAssessmenResult(doc, parent);
    appendEventRecorder(doc, parent);
}

void ViewStateSequenceModel::appendAssessmenResult(QDomDocument* doc, QDomElement* parent)
{
    using namespace ConstTextUtility;
    if (assessList.empty())
        return;
    QStringList caption{tr("Assessment Result") + QStringLiteral(":")};
    appendTable(doc, parent, QStringLiteral("0"), QStringLiteral("100%"), QStringLiteral("left"), FONT_SIZE_2,
                FONT_ARIAL_BLACK, &caption, 1);
    std::vector<QStringList> rows;
    rows.push_back({QString(), tr("开始"), tr("停止"), tr("整定时间"), tr("偏差"), tr("实际时间"), tr("结果")});
    for (size_t i = 0; i < assessList.size(); ++i) {
        const ViewAssessModel& a = assessList[i];
        QString verdict = tr("未测试");
        if (a.result == AO_Result_TYPE_SUCCESS)
            verdict = tr("通过");
        else if (a.result == AO_Result_TYPE_FAILED)
            verdict = tr("失败");
        rows.push_back({QString::number(i + 1), tr("State") + QString::number(qint64(a.stateStart) + 1),
                        tr("State") + QString::number(qint64(a.stateStop) + 1), reportTime(*this, a.settingTime),
                        reportTime(*this, a.devTime), reportTime(*this, a.actionTime), verdict});
    }
    appendTable(doc, parent, QStringLiteral("1"), QStringList{"10%", "15%", "15%", "15%", "15%", "15%", "15%"},
                QStringLiteral("center"), FONT_SIZE_2, FONT_ARIAL, rows.data(), int(rows.size()));
}

void ViewStateSequenceModel::appendEventRecorder(QDomDocument* doc, QDomElement* parent)
{
    using namespace ConstTextUtility;
    if (eventRecorderList.empty())
        return;
    QStringList caption{tr("Event Recorder") + QStringLiteral(":")};
    appendTable(doc, parent, QStringLiteral("0"), QStringLiteral("100%"), QStringLiteral("left"), FONT_SIZE_2,
                FONT_ARIAL_BLACK, &caption, 1);
    std::vector<QStringList> rows;
    rows.push_back({tr("Time"), tr("Type"), tr("Signal Name"), tr("Slope")});
    for (const ViewEventRecorderModel& e : eventRecorderList) {
        rows.push_back({reportTime(*this, e.tripTime), e.tripType == 0 ? QStringLiteral("BI") : QStringLiteral("BO"),
                        QString::number(e.signalName), e.slope});
    }
    appendTable(doc, parent, QStringLiteral("1"), QStringList{"25%", "25%", "25%", "25%"}, QStringLiteral("center"),
                FONT_SIZE_2, FONT_ARIAL, rows.data(), int(rows.size()));
}

// The labels of a list row's fields, as the page shows them.
QString ViewStateSequenceModel::listFieldLabel(const QString& key) const
{
    static const FieldLabel labels[] = {
        {"outputTime", QT_TR_NOOP("时间")},
        {"settingTime", QT_TR_NOOP("整定时间")},
        {"devTime", QT_TR_NOOP("偏差")},
    };
    return fieldLabel(staticMetaObject, labels, key);
}
