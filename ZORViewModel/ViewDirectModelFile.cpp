// ViewDirectModel: the body of the DC parameter file and the report's result table.
//
// File body after the base keys (doubles with six significant digits):
//   outputs/port0..7/{range, angle, frequency}
//   autoRampEnabled, actionRampTime, faultActionType, faultActionPort,
//   faultActionItem, testState, rampUntested, notRun (0 or 1)
//   outputs/action0..3/{actionValueList/{actionValue_portCnt,
//       actionValue_val0..portCnt-1}, actionTime}
//   ramps/{beginRamp0 (empty), endRamp0/range, ... 15}
//   steps/setp0
//   outputBILogicType, outputBIStates/bi0..3, outputBOStates/bo0..3
// A missing value keeps the field; a setting outside the page's limits (an
// output's frequency is 0) reads as the nearest limit; an enumeration
// outside its range or an unreadable value refuses the file
// (ViewParameterSetting.h). A result no run gives reads as no result (count
// 0, NaN time).

#include "ViewDirectModel.h"

#include "BaseXmlUtilities.h"
#include "ViewParameterSetting.h"

#include <cmath>
#include <functional>

namespace {

using Xml = BaseXmlUtilities;

} // namespace

void ViewDirectModel::serializeBody(bool save, QDomElement* root, QDomDocument* doc)
{
    QDomElement outputs;
    Xml::getElement(&outputs, root, doc, QStringLiteral("outputs"), save);
    // A DC output has no frequency.
    const auto none = [](int) { return 0.0; };
    mapPorts(save, &outputs, doc, outputRanges, outputAngles, outputFrequencies, channelLimit(AO_PORT_TYPE_UA),
             channelLimit(AO_PORT_TYPE_IA), none, 0.0);

    mapAutoRamp(save, root, doc, autoRampEnabled, actionRampTime);
    mapFaultActionType(save, root, doc);
    mapRampTarget(save, root, doc, faultActionPort, faultActionItem, RAMP_ITEM_TYPE_RANGE);
    mapRampResults(save, root, &outputs, doc, false);

    const auto endRamp = [this, save, doc](QDomElement* end, int g) {
        mapSetting(save, end, doc, QStringLiteral("range"), endRampRanges[g], 0.0,
                   channelLimit(isVoltageGroup(g) ? AO_PORT_TYPE_UA : AO_PORT_TYPE_IA));
    };
    mapRampTable(save, root, doc, endRamp, actionRampStep, 1);

    mapBinaryConditions(save, root, doc, outputBILogicType, outputBIStates, outputBOStates);
}

// ---- Report ------------------------------------------------------------------------------------

void ViewDirectModel::appendTestResult(QDomDocument* doc, QDomElement* parent)
{
    ViewSourceTestModel::appendTestResult(doc, parent);
    static const char* const kPortNames[8] = {"UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"};
    const QString unit = isCurrentGroup() ? QStringLiteral("A") : QStringLiteral("V");
    const QString none = QStringLiteral("---");
    const auto number = [this](double value) { return doubleFormatToString(value, 3); };
    const double actionTime = getFaultActionTime(0);
    const double returnTime = getFaultActionTime(1);
    const bool actionKnown = !std::isnan(actionTime);
    const bool returnKnown = !std::isnan(returnTime);
    const QString factor = getFaultActionFactor();
    const QStringList factors = factor.split(QStringLiteral("; "));

    // The rows: the three phases of UAUBUC and IAIBIC, else one channel.
    const bool threePhase = faultActionPort == RAMP_PORT_TYPE_UAUBUC || faultActionPort == RAMP_PORT_TYPE_IAIBIC;
    int channels[3] = {AO_PORT_TYPE_IX, 0, 0};
    int count = 1;
    if (threePhase) {
        count = groupChannels(faultActionPort, channels);
    } else if (faultActionPort <= RAMP_PORT_TYPE_UX || (faultActionPort >= RAMP_PORT_TYPE_IA && faultActionPort <= RAMP_PORT_TYPE_IC)) {
        groupChannels(faultActionPort, channels);
    }

    QStringList rows[4];
    rows[0] = QStringList{tr("Variable port"), tr("Action value"), tr("Return value"), tr("Return Coefficient"),
                          tr("Action time"), tr("Return time")};
    for (int k = 0; k < count; ++k) {
        // v(record): the record's value of this row's phase.
        const int phase = threePhase ? k : 0;
        const auto v = [&](int record) { return number(faultActionValues[record].actionVal[phase]) + unit; };
        QStringList& row = rows[k + 1];
        row << QLatin1String(kPortNames[channels[k]]);
        if (autoRampEnabled && returnKnown) {
            const QString part = !threePhase ? factor : (k < factors.size() ? factors.at(k) : QString());
            row << v(0) << v(1) << part << number(actionTime) + QStringLiteral("s")
                << number(returnTime) + QStringLiteral("s");
        } else if (autoRampEnabled && actionKnown) {
            row << v(0) << none << none << number(actionTime) + QStringLiteral("s") << none;
        } else if (!autoRampEnabled && (actionKnown || returnKnown)) {
            const int record = returnKnown ? 1 : 0;
            row << (threePhase ? v(record) : getFaultActionValue(record)) << none << none
                << number(record == 0 ? actionTime : returnTime) + QStringLiteral("s") << none;
        } else {
            const QString untested = rampUntested ? getNoActionText() : none;
            row << untested << none << none << untested << none;
        }
    }
    appendTable(doc, parent, QStringLiteral("1"), QStringLiteral("16%"), QStringLiteral("center"),
                QStringLiteral("2"), QStringLiteral("Arial"), rows, 1 + count);
}
