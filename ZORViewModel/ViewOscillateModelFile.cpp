// ViewOscillateModel: the body of the power-swing parameter file and the
// report tables.
//
// File body after the base keys:
//   outputs/port0..7/{range, angle, frequency}
//   oscillatePort, oscillatePercent (the fraction), oscillateFrequency,
//   oscillateAngle, testState, notRun (0 or 1)
//   outputs/action0..3/{actionTime, actionValueList/{actionValue_portCnt,
//       actionValue_val0..portCnt-1}}
//   outputBILogicType, outputBIStates/bi0..3, outputBOStates/bo0..3
// A missing value keeps the field; a setting outside the page's limits reads
// as the nearest limit; a group or logic outside its range or an unreadable
// value refuses the file (ViewParameterSetting.h). A result no run gives
// reads as no result.

#include "ViewOscillateModel.h"

#include "BaseXmlUtilities.h"
#include "ModelOscillateEntity.h"
#include "ViewParameterSetting.h"

#include <cmath>

namespace {

using Xml = BaseXmlUtilities;

using namespace PageLimits;

// The page's limit of the swing.
constexpr double kMaxFraction = 1.0;   // 100 %

const char* const kPortNames[8] = {"UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"};
const char* const kGroupNames[16] = {"UA", "UB", "UC", "UX", "UAB", "UBC", "UCA", "UABC",
                                     "IA", "IB", "IC", "IX", "IAB", "IBC", "ICA", "IABC"};

} // namespace

void ViewOscillateModel::serializeBody(bool save, QDomElement* root, QDomDocument* doc)
{
    QDomElement outputs;
    Xml::getElement(&outputs, root, doc, QStringLiteral("outputs"), save);
    mapShownOutputs(save, &outputs, doc);

    mapChecked(save, root, doc, QStringLiteral("oscillatePort"), oscillatePort, RAMP_PORT_TYPE_UA,
               RAMP_PORT_TYPE_IAIBIC);
    mapSetting(save, root, doc, QStringLiteral("oscillatePercent"), oscillatePercent, 0.0, kMaxFraction);
    mapSetting(save, root, doc, QStringLiteral("oscillateFrequency"), oscillateFrequency,
               ModelOscillateEntity::kMinSwingFrequency, kMaxFrequency);
    mapSetting(save, root, doc, QStringLiteral("oscillateAngle"), oscillateAngle, -kAngle, kAngle);
    mapRunResults(save, root, &outputs, doc, true);
    mapNotRun(save, root, doc);

    mapBinaryConditions(save, root, doc, outputBILogicType, outputBIStates, outputBOStates);
}

// ---- Report ------------------------------------------------------------------------------------

void ViewOscillateModel::appendTestSetting(QDomDocument* doc, QDomElement* parent)
{
    ViewSourceTestModel::appendTestSetting(doc, parent);
    const auto number = [this](double value) { return doubleFormatToString(value, 3); };
    const QString degree = QString::fromUtf8("°");

    const QString inputs = setFlagList(outputBIStates);
    const QString outputs = setFlagList(outputBOStates);
    const QString group = isRampPort(oscillatePort) ? QLatin1String(kGroupNames[oscillatePort]) : QString();

    QStringList settings[7] = {
        {tr("Test mode"), tr("Manual"), tr("Mode"), tr("From-to")},
        {tr("Deglitch"), number(getDitherTime() * 1000.0) + QStringLiteral("ms"), QString(), QString()},
        {tr("Oscillate"), QString(), QString(), QString()},
        {tr("Port"), group, tr("Percent"), number(oscillatePercent * 100.0) + QStringLiteral("%")},
        {tr("Angle"), number(oscillateAngle) + degree, tr("Frequency"), number(oscillateFrequency) + QStringLiteral("Hz")},
        {tr("Logic"), outputBILogicType == AO_BILOGIC_TYPE_AND ? tr("And") : tr("Or"), tr("Bi Input"), inputs},
        {tr("Base"), QString(), tr("Bi Output"), outputs},
    };
    appendTable(doc, parent, QStringLiteral("0"), QStringLiteral("25%"), QStringLiteral("left"), QStringLiteral("2"),
                QStringLiteral("Arial"), settings, 7);

    QStringList rows[8];
    rows[0] = QStringList{tr("Port"), tr("Range"), tr("Angle"), tr("Frequency")};
    int count = 1;
    for (int p = 0; p < 7; ++p) {
        if (p == AO_PORT_TYPE_UX && volPhasesType != PHASES_TYPE_FOUR)
            continue;
        rows[count++] = QStringList{QLatin1String(kPortNames[p]),
                                    number(outputRanges[p]) + (isVoltagePort(p) ? QStringLiteral("V") : QStringLiteral("A")),
                                    number(outputAngles[p]) + degree, number(outputFrequencies[p]) + QStringLiteral("Hz")};
    }
    appendTable(doc, parent, QStringLiteral("1"), QStringLiteral("25%"), QStringLiteral("center"), QStringLiteral("2"),
                QStringLiteral("Arial"), rows, count);
}

void ViewOscillateModel::appendTestResult(QDomDocument* doc, QDomElement* parent)
{
    ViewSourceTestModel::appendTestResult(doc, parent);
    const auto number = [this](double value) { return doubleFormatToString(value, 3); };
    const QString none = QStringLiteral("---");
    const QString unit = isVoltageGroup(oscillatePort) ? QStringLiteral("V") : QStringLiteral("A");
    const double time = getFaultActionTime();

    // Row i shows value i of the record under its own channel: the rows
    // follow the group's channel order (UCUA: UC, UA), as the values do.
    int channels[3];
    const int channelCount = groupChannels(oscillatePort, channels);
    QStringList rows[4];
    rows[0] = QStringList{tr("Variable port"), tr("Action value"), tr("Action time")};
    for (int k = 0; k < channelCount; ++k) {
        QStringList& row = rows[k + 1];
        row << QLatin1String(kPortNames[channels[k]]);
        if (!std::isnan(time))
            row << number(faultActionValues[0].actionVal[k]) + unit << number(time) + QStringLiteral("s");
        else
            row << none << none;
    }
    appendTable(doc, parent, QStringLiteral("1"), QStringLiteral("25%"), QStringLiteral("center"), QStringLiteral("2"),
                QStringLiteral("Arial"), rows, channelCount + 1);
}
