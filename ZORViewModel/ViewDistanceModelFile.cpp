// ViewDistanceModel: the body of the distance parameter file and the report.
//
// File body after the base keys (doubles with six significant digits):
//   distanceKind, ctPosition, ptPosition, faultCurrentRange,
//   faultVoltageRange, rateVoltage, rateFrequency, loadCurrent, loadAngle,
//   repairKind, repairFactor1, repairFactor2
//   loads/port0..7/{range, angle, frequency}
//   checkedFactors/{checkedFactor0..3/checkedFactor, pointCount, point0..}
//   activePointIndex, outputTimeFactor1, outputTimeFactor2, timeErrAbs,
//   timeErrRel, outputBILogicType, outputBIStates/bi0..3, outputBOStates/bo0..3
// A point: outputTime, zRange, zAngle, zReal, zImage, settingTime, devTime,
//   outputTriggerType, faultKind, faultDirection, testState, relayNotReset (0 or 1),
//   BI1..BI4/{actionBIState, actionTime}, ports/port0..7/{range, angle, frequency}
// A missing value keeps the field (a trip record reads as none); a setting
// outside the page's limits reads as the nearest limit; an enumeration
// outside its range or an unreadable value refuses the file
// (ViewParameterSetting.h); a result no run gives reads as no result.

#include "ViewDistanceModel.h"

#include "BaseXmlUtilities.h"
#include "ControllerCenter.h"
#include "ViewParameterSetting.h"

#include <cmath>
#include <limits>

namespace {

using Xml = BaseXmlUtilities;
using namespace PageLimits;

// The outputs a model works out under parent/group, within the device's maxima.
void mapPhasors(bool save, QDomElement* parent, QDomDocument* doc, const char* group, double (&ranges)[8],
                double (&angles)[8], double (&frequencies)[8], const ControllerConfiguration* config)
{
    QDomElement ports;
    Xml::getElement(&ports, parent, doc, QLatin1String(group), save);
    mapPorts(save, &ports, doc, ranges, angles, frequencies, config->maxVRange, config->maxIRange);
}

} // namespace

void ViewDistanceModel::ViewPointModel::serialize(bool save, QDomElement* element, QDomDocument* doc)
{
    mapSetting(save, element, doc, QStringLiteral("outputTime"), outputTime, 0.0);
    mapSetting(save, element, doc, QStringLiteral("zRange"), zRange, 0.0);
    mapSetting(save, element, doc, QStringLiteral("zAngle"), zAngle, -kAngle, kAngle);
    mapSetting(save, element, doc, QStringLiteral("zReal"), zReal);
    mapSetting(save, element, doc, QStringLiteral("zImage"), zImage);
    mapSetting(save, element, doc, QStringLiteral("settingTime"), settingTime, 0.0);
    mapSetting(save, element, doc, QStringLiteral("devTime"), devTime, 0.0);
    mapChecked(save, element, doc, "outputTriggerType", outputTriggerType, AO_TRIGGER_TYPE_TIME,
            AO_TRIGGER_TYPE_GPS_IRIGB);
    mapChecked(save, element, doc, "faultKind", faultKind, FAULT_TYPE_A_E, FAULT_TYPE_A_B_C);
    mapChecked(save, element, doc, "faultDirection", faultDirection, DIRECTION_TYPE_POSITIVE, DIRECTION_TYPE_NEGATIVE);
    mapResultIndex(save, element, doc, QStringLiteral("testState"), testState, AO_STATE_TYPE_INITING,
                   AO_STATE_TYPE_COMPLETED, qint32(AO_STATE_TYPE_INITING));
    mapResultFlag(save, element, doc, QStringLiteral("relayNotReset"), relayNotReset);
    for (int k = 0; k < 4; ++k) {
        QDomElement bi;
        Xml::getElement(&bi, element, doc, indexed("BI", k + 1), save);
        mapResultIndex(save, &bi, doc, QStringLiteral("actionBIState"), actionBIStates[k], -1, 3, -1);
        mapResultTime(save, &bi, doc, QStringLiteral("actionTime"), actionTimes[k]);
    }
    mapPhasors(save, element, doc, "ports", outputRanges, outputAngles, outputFrequencies, center()->testConfiguration);
}

bool ViewDistanceModel::serialize(bool save, QDomElement* element, QDomDocument* doc)
{
    if (!element || (!save && element->isNull()))
        return false;
    ViewBaseModel::serialize(save, element, doc);

    const ControllerConfiguration* config = center()->testConfiguration;
    mapChecked(save, element, doc, "distanceKind", distanceKind, DISTANCE_TYPE_ICONSTANT, DISTANCE_TYPE_ZCONSTANT);
    mapChecked(save, element, doc, "ctPosition", ctPosition, CT_POSITION_TYPE_BUS, CT_POSITION_TYPE_LINE);
    mapChecked(save, element, doc, "ptPosition", ptPosition, PT_POSITION_TYPE_BUS, PT_POSITION_TYPE_LINE);
    mapSetting(save, element, doc, QStringLiteral("faultCurrentRange"), faultCurrentRange, 0.0, config->maxIRange);
    mapSetting(save, element, doc, QStringLiteral("faultVoltageRange"), faultVoltageRange, 0.0, config->maxVRange);
    mapSetting(save, element, doc, QStringLiteral("rateVoltage"), rateVoltage, 0.0, config->maxVRange);
    mapSetting(save, element, doc, QStringLiteral("rateFrequency"), rateFrequency, kMinFrequency, kMaxFrequency);
    mapSetting(save, element, doc, QStringLiteral("loadCurrent"), loadCurrent, 0.0, config->maxIRange);
    mapSetting(save, element, doc, QStringLiteral("loadAngle"), loadAngle, -kAngle, kAngle);
    mapChecked(save, element, doc, "repairKind", repairKind, REPAIR_TYPE_KL, REPAIR_TYPE_Z0Z1);
    mapSetting(save, element, doc, QStringLiteral("repairFactor1"), repairFactor1, 0.0);
    mapSetting(save, element, doc, QStringLiteral("repairFactor2"), repairFactor2, -kAngle, kAngle);

    mapPhasors(save, element, doc, "loads", loadRanges, loadAngles, loadFrequencies, config);

    QDomElement factors;
    Xml::getElement(&factors, element, doc, QStringLiteral("checkedFactors"), save);
    for (int k = 0; k < 4; ++k) {
        QDomElement factor;
        Xml::getElement(&factor, &factors, doc, indexed("checkedFactor", k), save);
        Xml::map(save, &factor, doc, QStringLiteral("checkedFactor"), checkedFactors[k], checkedFactors[k]);
    }
    const int count = testPoints.serialize(save, &factors, doc, [] { return std::make_unique<ViewPointModel>(); });

    Xml::map(save, element, doc, QStringLiteral("activePointIndex"), activePointIndex, activePointIndex);
    mapSetting(save, element, doc, QStringLiteral("outputTimeFactor1"), outputTimeFactor1, 0.0);
    mapSetting(save, element, doc, QStringLiteral("outputTimeFactor2"), outputTimeFactor2, 0.0);
    mapSetting(save, element, doc, QStringLiteral("timeErrAbs"), timeErrAbs, 0.0);
    mapSetting(save, element, doc, QStringLiteral("timeErrRel"), timeErrRel, 0.0);

    mapBinaryConditions(save, element, doc, outputBILogicType, outputBIStates, outputBOStates);

    if (!save && count > 0)
        setActiveIndex(activePointIndex);
    return true;
}

// ---- Report -------------------------------------------------------------------------------------

QString ViewDistanceModel::faultName(int kind)
{
    static const char* const kNames[10] = {"A-N", "B-N", "C-N", "A-B", "B-C", "C-A", "A-B-N", "B-C-N", "C-A-N", "A-B-C"};
    return kind >= 0 && kind < 10 ? QLatin1String(kNames[kind]) : QString();
}

void ViewDistanceModel::appendTestSetting(QDomDocument* doc, QDomElement* body)
{
    ViewBaseModel::appendTestSetting(doc, body);
    const auto number = [this](double value) { return doubleFormatToString(value, 3); };
    const QString degree = QString::fromUtf8("°");

    QStringList rows[8];
    rows[0] = QStringList{tr("Pre-Fault"), number(normalTime) + "s", tr("Fault-Interval"), number(intervalTime) + "s"};
    rows[1] = QStringList{tr("Mode")};
    if (distanceKind == DISTANCE_TYPE_ICONSTANT)
        rows[1] << tr("Const Current") << tr("Fault-Current") << number(faultCurrentRange) + "A";
    else if (distanceKind == DISTANCE_TYPE_VCONSTANT)
        rows[1] << tr("Const Voltage") << tr("Fault-Voltage") << number(faultVoltageRange) + "V";
    rows[2] = QStringList{tr("CT Dir"), ctPosition == CT_POSITION_TYPE_BUS ? tr("指向母线") : tr("指向线路"), tr("PT Dir"),
               ptPosition == PT_POSITION_TYPE_BUS ? tr("在母线上") : tr("在线路上")};
    rows[3] = QStringList{tr("Load-Current"), number(loadCurrent) + "A", tr("Load-Angle"), number(loadAngle) + degree};
    static const char* const kForms[3] = {"KL", "Re/RL & XE/XL", "Z0/Z1"};
    rows[4] = QStringList{tr("Grounding"), QLatin1String(kForms[repairKind]), QString(), QString()};
    switch (repairKind) {
    case REPAIR_TYPE_KL:
        rows[5] = QStringList{tr("KL Range"), number(repairFactor1), tr("KL Angle"), number(repairFactor2) + degree};
        break;
    case REPAIR_TYPE_RERL_XEXL:
        rows[5] = QStringList{QStringLiteral("Re/RL"), number(repairFactor1), QStringLiteral("XE/XL"), number(repairFactor2)};
        break;
    default:
        rows[5] = QStringList{tr("Z0/Z1 Range"), number(repairFactor1), tr("Z0/Z1 Angle"), number(repairFactor2) + degree};
        break;
    }
    int count = 6;
    if (volPhasesType == PHASES_TYPE_FOUR) {
        static const char* const kUX[9] = {"", "+U0", "-U0", "+√3U0", "-√3U0", "+3U0", "-3U0", "+√3*3U0", "-√3*3U0"};
        const int define = uxDefine.Define;
        const bool custom = define == BaseModelUXDefine::Custom;
        const QString name = custom ? tr("Custom") : QString::fromUtf8(kUX[define]);
        rows[6] = QStringList{QStringLiteral("V AUX"), name, QString(), QString()};
        rows[7] = QStringList{tr("Range"), number(custom ? uxDefine.CustomPhase.getRange() : 0.0), tr("Angle"),
                   number(custom ? uxDefine.CustomPhase.getAngle() : 0.0) + degree};
        count = 8;
    }
    appendTable(doc, body, QStringLiteral("0"), QStringLiteral("25%"), QStringLiteral("left"), QStringLiteral("2"),
                QStringLiteral("Arial"), rows, count);

    const QString inputs = setFlagList(outputBIStates);
    const QString outputs = setFlagList(outputBOStates);
    QStringList logic[2] = {
        {tr("Logic"), outputBILogicType == AO_BILOGIC_TYPE_AND ? tr("And") : tr("Or"), tr("Bi Input"), inputs},
        {tr("Bi Output"), outputs},
    };
    appendTable(doc, body, QStringLiteral("0"), QStringLiteral("25%"), QStringLiteral("left"), QStringLiteral("2"),
                QStringLiteral("Arial"), logic, 2);
}

void ViewDistanceModel::appendTestResult(QDomDocument* doc, QDomElement* body)
{
    ViewBaseModel::appendTestResult(doc, body);
    const auto number = [this](double value) { return doubleFormatToString(value, 3); };
    const int count = testPoints.count();
    std::vector<QStringList> rows(size_t(count) + 1);
    rows[0] = QStringList{QString(), tr("Fault Kind"), tr("Fault Dir"), tr("ZRange"), tr("ZAngle"), tr("T.nom"), tr("Dev"),
               tr("Action Time"), tr("DI"), tr("Result")};
    for (int i = 0; i < count; ++i) {
        ViewPointModel* p = point(i);
        // Judged here: a point the page never showed has no verdict yet.
        judge(p);
        QStringList& row = rows[size_t(i) + 1];
        row << QString::number(i + 1) << faultName(p->faultKind)
            << (p->faultDirection == DIRECTION_TYPE_POSITIVE ? tr("Forward") : tr("Reverse"))
            << number(p->zRange) + QString::fromUtf8("Ω") << number(p->zAngle) + QString::fromUtf8("°")
            << number(p->settingTime) + "s" << number(p->devTime) + "s";
        const double trip = getActionTimes(i);
        if (getRelayNotReset(i))
            row << tr("未复归") << QStringLiteral("---");
        else if (std::isnan(trip))
            row << QStringLiteral("---") << QStringLiteral("---");
        else
            row << number(trip) + "s" << QString::number(getBinaryInputIndex(i));
        QString verdict = tr("未测试");
        if (getRelayNotReset(i)) {
            verdict = tr("未复归");
        } else if (p->testState == AO_STATE_TYPE_COMPLETED) {
            verdict = p->testResult == AO_Result_TYPE_SUCCESS  ? tr("通过")
                      : p->testResult == AO_Result_TYPE_FAILED ? tr("失败")
                                                               : tr("未动作");
        }
        row << verdict;
    }
    const QStringList widths = {"5%", "11%", "11%", "11%", "11%", "11%", "11%", "11%", "5%", "11%"};
    appendTable(doc, body, QStringLiteral("1"), widths, QStringLiteral("center"), QStringLiteral("2"),
                QStringLiteral("Arial"), rows.data(), count + 1);
}

// The labels of a list row's fields, as the page shows them.
QString ViewDistanceModel::listFieldLabel(const QString& key) const
{
    static const FieldLabel labels[] = {
        {"zRange", "|Z|"},
        {"zAngle", QT_TR_NOOP("阻抗角")},
        {"zReal", "R"},
        {"zImage", "X"},
        {"settingTime", QT_TR_NOOP("T.nom")},
        {"devTime", QT_TR_NOOP("Dev")},
        {"outputTime", QT_TR_NOOP("故障时间")},
    };
    return fieldLabel(staticMetaObject, labels, key);
}
