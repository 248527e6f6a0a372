// ViewAlternateModel: the body of the AC parameter file and the report's result table.
//
// File body after the base keys (doubles with six significant digits):
//   outputs/port0..7/{range, angle, frequency}
//   autoRampEnabled, actionRampTime, faultActionType, faultActionPort,
//   faultActionItem, testState, rampUntested, notRun (0 or 1)
//   outputs/action0..3/{actionTime, actionValueList/{actionValue_portCnt,
//       actionValue_val0..portCnt-1}}
//   ramps/{beginRamp0 (empty), endRamp0/{range, angle, rrequency}, ...15}
//   steps/setp0..2
//   outputBILogicType, outputBIStates/bi0..3, outputBOStates/bo0..3
// A missing value keeps the field; a setting outside the page's limits reads
// as the nearest limit; an enumeration outside its range or an unreadable
// value refuses the file (ViewParameterSetting.h). A result no run gives
// reads as no result.

#include "ViewAlternateModel.h"

#include "BaseXmlUtilities.h"
#include "ViewParameterSetting.h"

#include <cmath>

namespace {

using Xml = BaseXmlUtilities;
using namespace PageLimits;

} // namespace

void ViewAlternateModel::serializeBody(bool save, QDomElement* root, QDomDocument* doc)
{
    QDomElement outputs;
    Xml::getElement(&outputs, root, doc, QStringLiteral("outputs"), save);
    mapShownOutputs(save, &outputs, doc);

    mapAutoRamp(save, root, doc, autoRampEnabled, actionRampTime);
    mapFaultActionType(save, root, doc);
    mapRampTarget(save, root, doc, faultActionPort, faultActionItem, RAMP_ITEM_TYPE_FREQUENCY);
    mapRampResults(save, root, &outputs, doc, true);

    const auto endRamp = [this, save, doc](QDomElement* end, int g) {
        const double rangeLimit = portRangeLimit(isVoltageGroup(g) ? AO_PORT_TYPE_UA : AO_PORT_TYPE_IA);
        mapSetting(save, end, doc, QStringLiteral("range"), endRampRanges[g], 0.0, rangeLimit);
        mapSetting(save, end, doc, QStringLiteral("angle"), endRampAngles[g], -kAngle, kAngle);
        mapSetting(save, end, doc, QStringLiteral("rrequency"), endRampFrequencies[g], kMinFrequency, kMaxFrequency);
    };
    mapRampTable(save, root, doc, endRamp, actionRampStep, 3);

    mapBinaryConditions(save, root, doc, outputBILogicType, outputBIStates, outputBOStates);
}

// ---- Report ------------------------------------------------------------------------------------

void ViewAlternateModel::appendTestResult(QDomDocument* doc, QDomElement* parent)
{
    ViewSourceTestModel::appendTestResult(doc, parent);
    static const char* const kPortNames[8] = {"UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"};
    const QString unit = unitText();
    const QString none = QStringLiteral("---");
    const auto number = [this](double value) { return doubleFormatToString(value, 3); };
    const double actionTime = getFaultActionTime(0);
    const double returnTime = getFaultActionTime(1);
    const QStringList factors = getFaultActionFactor().split(QStringLiteral("; "));
    const auto value = [this](int record, int k) {
        return testState == 1 ? faultActionValues[record].actionVal[k] : std::nan("");
    };

    QStringList rows[9];
    rows[0] = QStringList{tr("Variable port"), tr("Action value"), tr("Return value"), tr("Return Coefficient"),
                          tr("Action time"), tr("Return time")};
    int count = 1;
    for (int port = 0; port < 8; ++port) {
        // Values are recorded in the group's channel order (UCUA: UC, UA).
        const int k = groupIndexOf(faultActionPort, port);
        if (k < 0)
            continue;
        QStringList& row = rows[count++];
        row << QLatin1String(kPortNames[port]);
        if (autoRampEnabled && !std::isnan(returnTime)) {
            row << number(value(0, k)) + unit << number(value(1, k)) + unit
                << (k < factors.size() ? factors.at(k) : QString()) << number(actionTime) + QStringLiteral("s")
                << number(returnTime) + QStringLiteral("s");
        } else if (autoRampEnabled && !std::isnan(actionTime)) {
            row << number(value(0, k)) + unit << none << none << number(actionTime) + QStringLiteral("s") << none;
        } else if (!autoRampEnabled && (!std::isnan(actionTime) || !std::isnan(returnTime))) {
            const int record = std::isnan(returnTime) ? 0 : 1;
            row << number(value(record, k)) + unit << none << QString()
                << number(record == 0 ? actionTime : returnTime) + QStringLiteral("s") << none;
        } else {
            const QString untested = rampUntested ? getNoActionText() : none;
            row << untested << none << none << untested << none;
        }
    }
    appendTable(doc, parent, QStringLiteral("1"), QStringLiteral("16%"), QStringLiteral("center"),
                QStringLiteral("2"), QStringLiteral("Arial"), rows, count);
}
