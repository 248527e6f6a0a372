// ViewHarmonicModel: the body of the harmonic parameter file and the report tables.
//
// File body after the base keys (doubles with six significant digits):
//   outputs/port0..7/order0..3/{range, angle}
//   outputs/order_list/order0..3/order_times
//   autoRampEnabled, actionRampTime, faultActionType, faultActionPort,
//   faultActionItem, faultActionOrder, showRange, testState, settingTime, devTime
//   action0..3/{actionTime, actionValueList/{actionValue_portCnt,
//       actionValue_val0..portCnt-1}}
//   actionBiIndex
//   ramps/{beginRamp0 (empty), endRamp0/{range, angle}, ... 15}
//   steps/setp0..1
//   outputBILogicType, outputBIStates/bi0..3, outputBOStates/bo0..3
// A missing value keeps the field; a setting outside the page's limits
// (amplitudes within the sum a port's slots may reach) reads as the nearest
// limit; orders of slots 1..3 that are no whole valid set, an enumeration
// outside its range or an unreadable value refuse the file
// (ViewParameterSetting.h). A result no run gives reads as no result (count
// 0, NaN time).

#include "ViewHarmonicModel.h"

#include "BaseXmlUtilities.h"
#include "ViewParameterSetting.h"

#include <cmath>
#include <functional>

namespace {

using Xml = BaseXmlUtilities;
using namespace PageLimits;

// The page's limit of the verdict's times.
constexpr double kMaxVerdictTime = 1000.0;

} // namespace

void ViewHarmonicModel::serializeBody(bool save, QDomElement* root, QDomDocument* doc)
{
    QDomElement outputs;
    Xml::getElement(&outputs, root, doc, QStringLiteral("outputs"), save);
    for (int p = 0; p < 8; ++p) {
        QDomElement port;
        Xml::getElement(&port, &outputs, doc, indexed("port", p), save);
        for (int s = 0; s < kSlots; ++s) {
            QDomElement slot;
            Xml::getElement(&slot, &port, doc, indexed("order", s), save);
            mapSetting(save, &slot, doc, QStringLiteral("range"), outputRanges[p][s], 0.0, sumLimit(p));
            mapSetting(save, &slot, doc, QStringLiteral("angle"), outputAngles[p][s], -kAngle, kAngle);
        }
    }
    QDomElement orderList;
    Xml::getElement(&orderList, &outputs, doc, QStringLiteral("order_list"), save);
    qint32 orders[kSlots];
    for (int s = 0; s < kSlots; ++s) {
        QDomElement slot;
        Xml::getElement(&slot, &orderList, doc, indexed("order", s), save);
        orders[s] = outputOrders[s];
        Xml::map(save, &slot, doc, QStringLiteral("order_times"), orders[s], orders[s]);
    }
    // The orders reach the engine as harmonic frequencies: a set of distinct
    // ascending orders in 2..60 or none; slot 0 is the fundamental.
    orders[0] = 1;
    if (!save && validOrders(orders))
        std::copy(std::begin(orders), std::end(orders), outputOrders);
    else if (!save)
        Xml::ReadCheck::note({Xml::ReadNote::UNREADABLE, Xml::keyPath(&outputs, QStringLiteral("order_list")),
                              QString::number(orders[1]) + QLatin1Char(' ') + QString::number(orders[2])
                                  + QLatin1Char(' ') + QString::number(orders[3]),
                              0.0, 0.0});

    mapAutoRamp(save, root, doc, autoRampEnabled, actionRampTime);
    mapChecked(save, root, doc, QStringLiteral("faultActionType"), faultActionType, ACTION_TYPE_STOP,
               ACTION_TYPE_CONTINUE);
    mapRampTarget(save, root, doc, faultActionPort, faultActionItem, RAMP_ITEM_TYPE_ANGLE);
    mapChecked(save, root, doc, QStringLiteral("faultActionOrder"), faultActionOrder, 0, kSlots - 1);
    Xml::map(save, root, doc, QStringLiteral("showRange"), showRange, showRange);
    // Saved during a run, the state is the one the stop will settle on; a
    // file holds a finished state or none (a run in progress is no file's).
    const qint32 state = save && runSnapshotHeld() && runBegun ? qint32(AO_STATE_TYPE_COMPLETED) : testState;
    mapSetting<qint32>(save, root, doc, QStringLiteral("testState"), state, [this](qint32 value) {
        if (value != AO_STATE_TYPE_INITING && value != AO_STATE_TYPE_COMPLETED)
            return false;
        testState = value;
        return true;
    });
    mapSetting(save, root, doc, QStringLiteral("settingTime"), settingTime, 0.0, kMaxVerdictTime);
    mapSetting(save, root, doc, QStringLiteral("devTime"), devTime, 0.0, kMaxVerdictTime);

    mapActionRecords(save, root, doc, true, faultActionTimes, faultActionValues);
    mapChecked(save, root, doc, QStringLiteral("actionBiIndex"), faultActionBiIndex, -1, 3);

    const auto endRamp = [this, save, doc](QDomElement* end, int g) {
        mapSetting(save, end, doc, QStringLiteral("range"), endRampRanges[g], 0.0,
                   sumLimit(isVoltageGroup(g) ? AO_PORT_TYPE_UA : AO_PORT_TYPE_IA));
        mapSetting(save, end, doc, QStringLiteral("angle"), endRampAngles[g], -kAngle, kAngle);
    };
    mapRampTable(save, root, doc, endRamp, actionRampStep, 2);

    mapBinaryConditions(save, root, doc, outputBILogicType, outputBIStates, outputBOStates);
}

// ---- Report ------------------------------------------------------------------------------------

namespace {

const char* const kGroupNames[16] = {"UA", "UB", "UC", "UX", "UAUB", "UBUC", "UCUA", "UAUBUC",
                                     "IA", "IB", "IC", "IX", "IAIB", "IBIC", "ICIA", "IAIBIC"};
const char* const kPortNames[8] = {"UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"};

} // namespace

QString ViewHarmonicModel::unitText() const
{
    if (faultActionItem == RAMP_ITEM_TYPE_ANGLE)
        return QString::fromUtf8("°");
    if (!showRange)
        return QStringLiteral("%");
    return isVoltageGroup(faultActionPort) ? QStringLiteral("V") : QStringLiteral("A");
}

void ViewHarmonicModel::appendTestSetting(QDomDocument* doc, QDomElement* parent)
{
    ViewSourceTestModel::appendTestSetting(doc, parent);
    const QString unit = unitText();
    const QString degree = QString::fromUtf8("°");
    const auto number = [this](double value) { return doubleFormatToString(value, 3); };

    const QString inputs = setFlagList(outputBIStates);
    const QString outputs = setFlagList(outputBOStates);
    QStringList rows[8] = {
        {tr("Test mode"), autoRampEnabled ? tr("Auto") : tr("Manual"), tr("Mode"),
         faultActionType == ACTION_TYPE_STOP ? tr("From-to") : tr("Continuous")},
        {tr("Deglitch") + QStringLiteral("(ms)"), number(getDitherTime() * 1000.0), tr("Auto time") + QStringLiteral("(s)"),
         autoRampEnabled ? number(actionRampTime) : QString()},
        {tr("Order"), QString::number(faultActionOrder), QStringLiteral("THD"),
         showRange ? tr("Amplitude") : tr("Percentage")},
        {tr("Variable"), QLatin1String(kGroupNames[faultActionPort]), tr("Test item"),
         faultActionItem == RAMP_ITEM_TYPE_ANGLE ? tr("Phase") : tr("Amplitude")},
        {tr("End"), number(getEndRampValue()) + unit},
        {tr("Step"), number(getRampStepValue()) + unit, tr("Rate Frequency"), number(rateFrequency) + QStringLiteral("Hz")},
        {tr("Logic"), outputBILogicType == AO_BILOGIC_TYPE_AND ? tr("And") : tr("Or"), tr("Bi Input"), inputs},
        {tr("Bi Output"), outputs},
    };
    appendTable(doc, parent, QStringLiteral("0"), QStringLiteral("25%"), QStringLiteral("left"), QStringLiteral("2"),
                QStringLiteral("Arial"), rows, 8);

    // The outputs: THD, RMS, the fundamental and the three harmonics.
    QStringList table[9];
    table[0] = QStringList{QString(), QStringLiteral("THD"), QStringLiteral("RMS"), tr("Base")};
    for (int s = 1; s < kSlots; ++s)
        table[0] << QString::number(outputOrders[s]) + QStringLiteral("th");
    int count = 1;
    for (int p = 0; p < 8; ++p) {
        if ((p == AO_PORT_TYPE_UX && volPhasesType != PHASES_TYPE_FOUR)
            || (p == AO_PORT_TYPE_IX && curPhasesType != PHASES_TYPE_FOUR))
            continue;
        const QString portUnit = isVoltagePort(p) ? QStringLiteral("V") : QStringLiteral("A");
        const QString slotUnit = showRange ? portUnit : QStringLiteral("%");
        QStringList& row = table[count++];
        row << QLatin1String(kPortNames[p]) << number(getOutputTHD(AOPortType(p))) + QStringLiteral("%")
            << number(getOutputRMS(AOPortType(p))) + portUnit
            << number(outputRanges[p][0]) + portUnit + QLatin1Char('\n') + number(outputAngles[p][0]) + degree;
        for (int s = 1; s < kSlots; ++s)
            row << number(getOutputValue(p, s)) + slotUnit + QLatin1Char('\n') + number(outputAngles[p][s]) + degree;
    }
    appendTable(doc, parent, QStringLiteral("1"),
                QStringList{"4%", "12%", "12%", "18%", "18%", "18%", "18%"}, QStringLiteral("center"),
                QStringLiteral("2"), QStringLiteral("Arial"), table, count);
}

void ViewHarmonicModel::appendTestResult(QDomDocument* doc, QDomElement* parent)
{
    ViewSourceTestModel::appendTestResult(doc, parent);
    const QString none = QStringLiteral("---");
    const auto number = [this](double value) { return doubleFormatToString(value, 3); };
    const double time = getFaultActionTime();
    const bool acted = !std::isnan(time);

    QString result = tr("未测试");                                   // no test
    if (testState == AO_STATE_TYPE_COMPLETED) {
        switch (getTestResult()) {
        case AO_Result_TYPE_SUCCESS: result = tr("通过"); break;     // passed
        case AO_Result_TYPE_FAILED: result = tr("失败"); break;      // failed
        default: result = tr("未动作"); break;                       // no action
        }
    }
    QStringList rows[2] = {
        {tr("Variable"), tr("T.nom"), tr("Dev"), tr("Action time"), tr("Action value"), tr("DI"),
         tr("Result")},
        {QLatin1String(kGroupNames[faultActionPort]), number(settingTime) + QStringLiteral("s"),
         number(devTime) + QStringLiteral("s"), acted ? number(time) + QStringLiteral("s") : none,
         acted ? getFaultActionValue() : none, acted ? QString::number(getBinaryInputIndex()) : none, result},
    };
    // Seven columns that fill the table: the action value and the verdict are the longest.
    appendTable(doc, parent, QStringLiteral("1"), QStringList{"14%", "14%", "14%", "14%", "16%", "12%", "16%"},
                QStringLiteral("center"), QStringLiteral("2"), QStringLiteral("Arial"), rows, 2);
}
