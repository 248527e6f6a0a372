// ViewRampingModel: the body of the ramping parameter file and the report tables.
//
// File body after the base keys (doubles with six significant digits, NaN as
// its number text):
//   activeStateIndex
//   testStates/{stateCount, state0..n-1}
//   state: stepTime, activePointIndex, outputLinkType, testState, relayNotReset (0 or 1),
//       BI1..BI4/{actionBIState, actionTime, actionValueList/{portCnt, value0..portCnt-1}},
//       ports/port0..7/{range, angle, frequency},
//       points/{count, point0..m-1},
//       outputBILogicType, outputBIStates/bi0..3, outputBOStates/bo0..3
//   point: functionType, settingTime, devTime, faultActionPort, faultActionItem,
//       testResult, ramps/{beginRamp0 (empty), endRamp0/{range, angle, rrequency}, ... 15},
//       steps/setp0..2
// A list is as long as the entries the file holds: at most kMaxStates
// states and kMaxPoints points per state (more refuses the file); a
// state always gets a point (a default one when the file lists none). A
// setting outside the page's limits reads as the nearest limit; a selector
// or enumeration outside its range or an unreadable value refuses the file
// (ViewParameterSetting.h); a result no run gives reads as no result.

#include "ViewRampingModel.h"

#include "BaseXmlUtilities.h"
#include "ControllerCenter.h"
#include "ViewParameterSetting.h"

#include <cmath>

namespace {

using Xml = BaseXmlUtilities;
using namespace PageLimits;

// Removes every child element of element (a list rewritten in full).
void clearChildren(QDomElement* element)
{
    while (!element->firstChild().isNull())
        element->removeChild(element->firstChild());
}

} // namespace

bool ViewRampingModel::ViewPointModel::serialize(bool save, QDomElement* element, QDomDocument* doc)
{
    if (!element || (!save && element->isNull()))
        return false;
    qint32 function = functionType;
    Xml::map(save, element, doc, QStringLiteral("functionType"), function, function);
    functionType = function;
    mapSetting(save, element, doc, "settingTime", settingTime, 0.0);
    mapSetting(save, element, doc, "devTime", devTime, 0.0);
    mapChecked(save, element, doc, QStringLiteral("faultActionPort"), faultActionPort, RAMP_PORT_TYPE_UA,
              RAMP_PORT_TYPE_IAIBIC);
    mapChecked(save, element, doc, QStringLiteral("faultActionItem"), faultActionItem, RAMP_ITEM_TYPE_RANGE,
              RAMP_ITEM_TYPE_FREQUENCY);
    mapResultIndex(save, element, doc, QStringLiteral("testResult"), testResult, AO_Result_TYPE_NONE,
                   AO_Result_TYPE_FAILED, AO_Result_TYPE_NONE);
    // The page's end and step boxes: amplitudes within the device's maxima,
    // frequencies an output gives.
    const ControllerConfiguration* config = center()->testConfiguration;
    const auto rangeLimit = [config](int group) {
        return isVoltageGroup(group) ? config->maxVRange : config->maxIRange;
    };
    QDomElement ramps;
    Xml::getElement(&ramps, element, doc, QStringLiteral("ramps"), save);
    for (int r = 0; r < 16; ++r) {
        QDomElement begin;
        Xml::getElement(&begin, &ramps, doc, indexed("beginRamp", r), save);
        QDomElement end;
        Xml::getElement(&end, &ramps, doc, indexed("endRamp", r), save);
        mapSetting(save, &end, doc, "range", endRampRanges[r], 0.0, rangeLimit(r));
        mapSetting(save, &end, doc, "angle", endRampAngles[r], -kAngle, kAngle);
        mapSetting(save, &end, doc, "rrequency", endRampFrequencies[r], kMinFrequency, kMaxFrequency);
    }
    QDomElement steps;
    Xml::getElement(&steps, element, doc, QStringLiteral("steps"), save);
    const double stepLimits[3] = {rangeLimit(faultActionPort), kAngle, kMaxFrequency};
    for (int n = 0; n < 3; ++n)
        mapSetting(save, &steps, doc, indexed("setp", n), actionRampStep[n], -stepLimits[n], stepLimits[n]);
    return true;
}

bool ViewRampingModel::ViewStateModel::serialize(bool save, QDomElement* element, QDomDocument* doc)
{
    if (!element || (!save && element->isNull()))
        return false;
    mapSetting(save, element, doc, "stepTime", stepTime, 0.0, kMaxStepTime);
    Xml::map(save, element, doc, QStringLiteral("activePointIndex"), activePointIndex, activePointIndex);
    mapChecked(save, element, doc, QStringLiteral("outputLinkType"), outputLinkType, AO_LINKSTATE_TYPE_CONTINUE,
              AO_LINKSTATE_TYPE_INITIATE);
    mapResultIndex(save, element, doc, QStringLiteral("testState"), testState, AO_STATE_TYPE_INITING,
                   AO_STATE_TYPE_COMPLETED, AO_STATE_TYPE_INITING);
    mapResultFlag(save, element, doc, QStringLiteral("relayNotReset"), relayNotReset);

    for (int b = 0; b < 4; ++b) {
        QDomElement bi;
        Xml::getElement(&bi, element, doc, indexed("BI", b + 1), save);
        mapResultIndex(save, &bi, doc, QStringLiteral("actionBIState"), actionBIStates[b], -1, 3, -1);
        mapActionRecord(save, &bi, doc, true, actionTimes[b], actionValue[b], "actionValueList", "portCnt", "value");
    }

    QDomElement ports;
    Xml::getElement(&ports, element, doc, QStringLiteral("ports"), save);
    mapPorts(save, &ports, doc, outputRanges, outputAngles, outputFrequencies, owner->portRangeLimit(AO_PORT_TYPE_UA),
             owner->portRangeLimit(AO_PORT_TYPE_IA));

    QDomElement points;
    Xml::getElement(&points, element, doc, QStringLiteral("points"), save);
    if (save) {
        clearChildren(&points);
        qint32 count = qint32(testPoints.size());
        Xml::map(save, &points, doc, QStringLiteral("count"), count, count);
        for (size_t j = 0; j < testPoints.size(); ++j) {
            QDomElement point;
            Xml::getElement(&point, &points, doc, indexed("point", int(j)), true);
            testPoints[j]->serialize(true, &point, doc);
        }
    } else {
        testPoints.clear();
        // A state needs a point: one default point when the file lists none.
        const int count = std::max(1, ParameterRead::countEntries(&points, QStringLiteral("point"), kMaxPoints));
        for (int j = 0; j < count; ++j) {
            testPoints.emplace_back(new ViewPointModel(owner));
            QDomElement point;
            Xml::getElement(&point, &points, doc, indexed("point", j), false);
            testPoints.back()->serialize(false, &point, doc);
        }
        tempPoint->CopyFrom(*testPoints.front());
    }

    mapBinaryConditions(save, element, doc, outputBILogicType, outputBIStates, outputBOStates);
    return true;
}

void ViewRampingModel::serializeBody(bool save, QDomElement* element, QDomDocument* doc)
{
    Xml::map(save, element, doc, QStringLiteral("activeStateIndex"), activeStateIndex, activeStateIndex);
    QDomElement states;
    Xml::getElement(&states, element, doc, QStringLiteral("testStates"), save);
    if (save) {
        clearChildren(&states);
        qint32 count = qint32(testStates.size());
        Xml::map(true, &states, doc, QStringLiteral("stateCount"), count, count);
        for (size_t i = 0; i < testStates.size(); ++i) {
            QDomElement state;
            Xml::getElement(&state, &states, doc, indexed("state", int(i)), true);
            testStates[i]->serialize(true, &state, doc);
        }
        return;
    }
    testStates.clear();
    int count = ParameterRead::countEntries(&states, QStringLiteral("state"), kMaxStates);
    // A file without a list holds one default state.
    if (count == 0 && !ParameterRead::present(&states, QStringLiteral("stateCount")))
        count = 1;
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<ViewStateModel> state(new ViewStateModel(this));
        QDomElement element;
        Xml::getElement(&element, &states, doc, indexed("state", i), false);
        if (!state->serialize(false, &element, doc)) {
            // A missing state element: the defaults with one default point.
            state->testPoints.emplace_back(new ViewPointModel(this));
        }
        testStates.push_back(std::move(state));
    }
    if (!testStates.empty())
        setActiveIndex(activeStateIndex);
}

// ---- Report ------------------------------------------------------------------------------------

namespace {

const char* const kGroupNames[16] = {"UA", "UB", "UC", "UX", "UAUB", "UBUC", "UCUA", "UAUBUC",
                                     "IA", "IB", "IC", "IX", "IAIB", "IBIC", "ICIA", "IAIBIC"};

} // namespace

void ViewRampingModel::appendTestSetting(QDomDocument* doc, QDomElement* parent)
{
    if (testStates.empty())
        return;
    ViewSourceTestModel::appendTestSetting(doc, parent);
    const auto number = [this](double value) { return doubleFormatToString(value, 3); };
    QStringList header{tr("State"), tr("Variable"), tr("Test item"), tr("End"), tr("Step"), tr("Time"), tr("Logic"),
                       tr("Bi Input"), tr("Bi Output")};
    std::vector<QStringList> rows{header};
    for (size_t i = 0; i < testStates.size(); ++i) {
        const ViewStateModel& state = *testStates[i];
        const QString inputs = setFlagList(state.outputBIStates);
        const QString outputs = setFlagList(state.outputBOStates);
        for (const auto& point : state.testPoints) {
            const int item = point->faultActionItem;
            const QString unit = unitOf(point->faultActionPort, item);
            const QString itemText = item == RAMP_ITEM_TYPE_ANGLE       ? tr("Phase")
                                     : item == RAMP_ITEM_TYPE_FREQUENCY ? tr("Frequency")
                                                                        : tr("Amplitude");
            rows.push_back({tr("State") + QString::number(i + 1), QLatin1String(kGroupNames[point->faultActionPort]),
                            itemText, number(point->endValue()) + unit, number(point->actionRampStep[item]) + unit,
                            number(state.stepTime) + QStringLiteral("s"),
                            state.outputBILogicType == AO_BILOGIC_TYPE_AND ? tr("And") : tr("Or"), inputs,
                            outputs});
        }
    }
    appendTable(doc, parent, QStringLiteral("1"), QStringLiteral("11%"), QStringLiteral("center"),
                QStringLiteral("2"), QStringLiteral("Arial"), rows.data(), int(rows.size()));
}

void ViewRampingModel::appendTestResult(QDomDocument* doc, QDomElement* parent)
{
    if (testStates.empty())
        return;
    ViewSourceTestModel::appendTestResult(doc, parent);
    const QString none = QStringLiteral("---");
    const auto number = [this](double value) { return doubleFormatToString(value, 3); };
    std::vector<QStringList> rows{{tr("State"), tr("Variable"), tr("Function"), tr("T.nom"), tr("Dev"),
                                   tr("Action Time"), tr("Action value"), tr("DI"), tr("Result")}};
    for (size_t n = 0; n < testStates.size(); ++n) {
        const int i = int(n);
        const ViewStateModel& state = *testStates[n];
        QString result = tr("未测试");   // no test
        if (getRelayNotReset(i))
            result = tr("未复归");   // relay not reset
        else if (state.testState == AO_STATE_TYPE_COMPLETED)
            result = getTestResults(i) == AO_Result_TYPE_SUCCESS ? tr("通过") : tr("失败");   // passed, failed
        const double time = getActionTimes(i);
        for (const auto& point : state.testPoints) {
            QStringList row{tr("State") + QString::number(i + 1), QLatin1String(kGroupNames[point->faultActionPort]),
                            QString::number(getFunction(i)), number(getSettingTimes(i)) + QStringLiteral("s"),
                            number(getDevTimes(i)) + QStringLiteral("s")};
            if (getRelayNotReset(i))
                row << tr("未复归") << none << none;
            else if (std::isnan(time))
                row << none << none << none;
            else
                row << number(time) + QStringLiteral("s") << getActionValue(i) + getUnitText(i)
                    << QString::number(getBinaryInputIndex(i));
            row << result;
            rows.push_back(row);
        }
    }
    appendTable(doc, parent, QStringLiteral("1"), QStringLiteral("11%"), QStringLiteral("center"),
                QStringLiteral("2"), QStringLiteral("Arial"), rows.data(), int(rows.size()));
}

// The labels of a list row's fields, as the page shows them.
QString ViewRampingModel::listFieldLabel(const QString& key) const
{
    static const FieldLabel labels[] = {
        {"stepTime", QT_TR_NOOP("步长时间")},
        {"settingTime", QT_TR_NOOP("T.nom")},
        {"devTime", QT_TR_NOOP("Dev")},
    };
    return fieldLabel(staticMetaObject, labels, key);
}
