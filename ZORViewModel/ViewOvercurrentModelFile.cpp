// ViewOvercurrentModel: the body of the overcurrent parameter file and the
// report.
//
// File body after the base keys (doubles with six significant digits):
//   currentTolrel, currentTolabs, timeTolrel, timeTolabs, faultMaxTime,
//   faultMaxFactor
//   overcurrentCurves/curve0..1/{iPickUp, tdPickUp, activeIndex, activeType}
//   outputs/port0..7/{range, angle, frequency}
//   activePointIndex
//   testPoints/{pointCount, point0..}
//   outputBILogicType, outputBIStates/bi0..3, outputBOStates/bo0..3
// A point: faultKind, outputTriggerType (the function), outputTime, iTest,
//   faultVPEnable, faultVPNRange, iAngle, testState, relayNotReset (0 or 1),
//   BI1..BI4/{actionBIState, actionTime}
// Windows and verdicts are not stored: they are recomputed after reading.
// A missing value keeps the field (a point read starts at 0, a trip record
// reads as none); a setting outside the page's limits (the test current
// within the device's maximum) reads as the nearest limit; a curve outside
// the catalogue, an enumeration outside its range or an unreadable value
// refuses the file (ViewParameterSetting.h); a result no run gives reads as
// no result.

#include "ViewOvercurrentModel.h"

#include "BaseXmlUtilities.h"
#include "ControllerCenter.h"
#include "ViewParameterSetting.h"

#include <QBuffer>
#include <QImageReader>

#include <cfloat>
#include <cmath>
#include <limits>

namespace {

using Xml = BaseXmlUtilities;
using namespace PageLimits;

// The page's limits of the tolerances (% and s) and the longest fault, s.
constexpr double kMaxRelativeTolerance = 99.0;
constexpr double kMaxTimeTolerance = 1000.0;
constexpr double kMaxFaultTime = 1000.0;

// The size a chart image (a data URI of a PNG) was drawn at; the page's
// chart size when its header cannot be read. Scaled unevenly, the chart's
// labels would run together.
QSize drawnSize(const QString& dataUri)
{
    QByteArray png = QByteArray::fromBase64(dataUri.mid(dataUri.indexOf(QLatin1Char(',')) + 1).toLatin1());
    QBuffer buffer(&png);
    const QSize size = QImageReader(&buffer, "png").size();
    return size.isValid() ? size : QSize(732, 308);
}

} // namespace

void ViewOvercurrentModel::ViewPointModel::serialize(bool save, QDomElement* element, QDomDocument* doc)
{
    const ControllerConfiguration* config = center()->testConfiguration;
    mapChecked(save, element, doc, "faultKind", faultKind, FAULT_TYPE_A_E, FAULT_TYPE_C);
    mapChecked(save, element, doc, "outputTriggerType", functionType, FUNCTION_TYPE_50, FUNCTION_TYPE_51);
    mapSetting(save, element, doc, QStringLiteral("outputTime"), outputTime, 0.0);
    // The outputs give at most the device's current: a window worked out for
    // more would judge a trip of the current given.
    mapSetting(save, element, doc, QStringLiteral("iTest"), iTest, 0.0, config->maxIRange);
    Xml::map(save, element, doc, QStringLiteral("faultVPEnable"), faultVPEnable, faultVPEnable);
    mapSetting(save, element, doc, QStringLiteral("faultVPNRange"), faultVPNRange, 0.0, config->maxVRange);
    mapSetting(save, element, doc, QStringLiteral("iAngle"), iAngle, -kAngle, kAngle);
    mapResultIndex(save, element, doc, "testState", testState, AO_STATE_TYPE_INITING, AO_STATE_TYPE_COMPLETED,
                   qint32(AO_STATE_TYPE_INITING));
    mapResultFlag(save, element, doc, QStringLiteral("relayNotReset"), relayNotReset);
    for (int k = 0; k < 4; ++k) {
        QDomElement bi;
        Xml::getElement(&bi, element, doc, indexed("BI", k + 1), save);
        mapResultIndex(save, &bi, doc, QStringLiteral("actionBIState"), actionBIStates[k], -1, 3, -1);
        mapResultTime(save, &bi, doc, QStringLiteral("actionTime"), actionTimes[k]);
    }
}

bool ViewOvercurrentModel::serialize(bool save, QDomElement* element, QDomDocument* doc)
{
    if (!element || (!save && element->isNull()))
        return false;
    ViewBaseModel::serialize(save, element, doc);

    const ControllerConfiguration* config = center()->testConfiguration;
    mapSetting(save, element, doc, QStringLiteral("currentTolrel"), currentTolrel, 0.0, kMaxRelativeTolerance);
    // Held to the device's current, not the rated one a later setting may lower.
    mapSetting(save, element, doc, QStringLiteral("currentTolabs"), currentTolabs, 0.0, config->maxIRange);
    mapSetting(save, element, doc, QStringLiteral("timeTolrel"), timeTolrel, 0.0, kMaxRelativeTolerance);
    mapSetting(save, element, doc, QStringLiteral("timeTolabs"), timeTolabs, 0.0, kMaxTimeTolerance);
    mapSetting(save, element, doc, QStringLiteral("faultMaxTime"), faultMaxTime, 0.0, kMaxFaultTime);
    mapSetting(save, element, doc, QStringLiteral("faultMaxFactor"), faultMaxFactor, 0.0);

    QDomElement curves;
    Xml::getElement(&curves, element, doc, QStringLiteral("overcurrentCurves"), save);
    for (int i = 0; i < 2; ++i) {
        QDomElement curve;
        Xml::getElement(&curve, &curves, doc, indexed("curve", i), save);
        const BaseOverCurrentHelper before = overcurrentCurves[i];
        overcurrentCurves[i].serialize(save, &curve, doc);
        if (save)
            continue;
        // A pick-up the outputs cannot reach, or a curve the catalogue has not.
        const BaseOverCurrentHelper read = overcurrentCurves[i];
        keepInCatalogue(overcurrentCurves[i], before);
        const BaseOverCurrentHelper& kept = overcurrentCurves[i];
        if (std::isfinite(read.getIPickUp()) && !ParameterRead::withinLimits(read.getIPickUp(), 0.0, config->maxIRange))
            overcurrentCurves[i].setIPickUp(ParameterRead::hold(&curve, QStringLiteral("iPickUp"), read.getIPickUp(),
                                                                0.0, config->maxIRange));
        if (!std::isfinite(read.getIPickUp()))
            ParameterRead::refuse(&curve, QStringLiteral("iPickUp"), read.getIPickUp(), 0.0, config->maxIRange);
        else if (!ParameterRead::withinLimits(read.getTdPickUp(), 0.0, kInf))
            ParameterRead::refuse(&curve, QStringLiteral("tdPickUp"), read.getTdPickUp(), 0.0, kInf);
        else if (read.getCharNames().isEmpty())   // a family the catalogue has no rows of
            Xml::ReadCheck::note({Xml::ReadNote::UNREADABLE, Xml::keyPath(&curve, QStringLiteral("activeType")),
                                  QString::number(read.getActiveType()), 0.0, 0.0});
        else if (kept.getActiveType() != read.getActiveType() || kept.getActiveIndex() != read.getActiveIndex())
            Xml::ReadCheck::note({Xml::ReadNote::UNREADABLE, Xml::keyPath(&curve, QStringLiteral("activeIndex")),
                                  QString::number(read.getActiveIndex()), 0.0, 0.0});
    }

    QDomElement ports;
    Xml::getElement(&ports, element, doc, QStringLiteral("outputs"), save);
    mapPorts(save, &ports, doc, outputRanges, outputAngles, outputFrequencies, config->maxVRange, config->maxIRange);

    Xml::map(save, element, doc, QStringLiteral("activePointIndex"), activePointIndex, activePointIndex);
    QDomElement list;
    Xml::getElement(&list, element, doc, QStringLiteral("testPoints"), save);
    const int count = testPoints.serialize(save, &list, doc, [] { return ViewPointModel::zeroed(); });

    mapBinaryConditions(save, element, doc, outputBILogicType, outputBIStates, outputBOStates);

    if (!save && count > 0)
        setActiveIndex(activePointIndex);
    ComputerTime();
    return true;
}

// ---- Report -------------------------------------------------------------------------------------

QString ViewOvercurrentModel::faultName(int kind)
{
    static const char* const kNames[12] = {"A-N", "B-N", "C-N", "A-B", "B-C", "C-A",
                                           "A-B-C", "I2", "3I0", "A", "B", "C"};
    return kind >= 0 && kind < 12 ? QLatin1String(kNames[kind]) : QString();
}

QString ViewOvercurrentModel::timeText(double t) const
{
    if (std::isnan(t))
        return QStringLiteral("NaN");
    if (std::isinf(t) || t == DBL_MAX)
        return QStringLiteral("INF");
    return doubleFormatToString(t, 3) + "s";
}

void ViewOvercurrentModel::appendTestSetting(QDomDocument* doc, QDomElement* body)
{
    ViewBaseModel::appendTestSetting(doc, body);
    const auto number = [this](double value) { return doubleFormatToString(value, 3); };

    const QString inputs = setFlagList(outputBIStates);
    const QString outputs = setFlagList(outputBOStates);
    QStringList rows[8] = {
        {tr("Current Tol"), number(currentTolrel) + "%", tr("故障前时间"), number(normalTime) + "s"},
        {tr("电流允许绝对偏差"), number(currentTolabs) + "A", tr("仅输出一次"),
         outputOnceOnly ? tr("True") : tr("False")},
        {tr("Time Tol"), number(timeTolrel) + "%", tr("OC Directional"),
         tempPoint->faultVPEnable ? tr("Enable") : tr("Disable")},
        {tr("时间允许绝对偏差"), number(timeTolabs) + "s", tr("Fault VPN"), number(tempPoint->faultVPNRange) + "V"},
        {tr("Max Fault Time"), number(faultMaxTime) + "s", tr("I-Angle"),
         number(tempPoint->iAngle) + QString::fromUtf8("°")},
        {tr("间隔时间"), number(intervalTime) + "s", QString(), QString()},
        {tr("Logic"), outputBILogicType == AO_BILOGIC_TYPE_AND ? tr("And") : tr("Or"), tr("Bi Input"), inputs},
        {tr("Bi Output"), outputs},
    };
    appendTable(doc, body, QStringLiteral("0"), QStringLiteral("25%"), QStringLiteral("left"), QStringLiteral("2"),
                QStringLiteral("Arial"), rows, 8);

    const BaseOverCurrentHelper& f50 = overcurrentCurves[FUNCTION_TYPE_50];
    const BaseOverCurrentHelper& f51 = overcurrentCurves[FUNCTION_TYPE_51];
    // By the selected row itself: a stored standard row 0 lies before the
    // offered names.
    QStringList curves[3] = {
        {tr("Function"), tr("Curve"), tr("Pick-up"), tr("Dial Time")},
        {QStringLiteral("50"), tr("Inst. Overcurrent"), number(f50.getIPickUp()) + "A", number(f50.getTdPickUp()) + "s"},
        {QStringLiteral("51"), f51.getSingleCharNames(), number(f51.getIPickUp()) + "A", number(f51.getTdPickUp())},
    };
    appendTable(doc, body, QStringLiteral("1"), QStringLiteral("25%"), QStringLiteral("left"), QStringLiteral("2"),
                QStringLiteral("Arial"), curves, 3);
}

void ViewOvercurrentModel::appendTestResult(QDomDocument* doc, QDomElement* body)
{
    const int count = testPoints.count();
    if (count == 0)
        return;
    ViewBaseModel::appendTestResult(doc, body);
    std::vector<QStringList> rows(size_t(count) + 1);
    rows[0] = QStringList{QString(), tr("故障类型"), tr("绝对值"), tr("功能"), tr("整定时间"), tr("最小时间"),
                          tr("最大时间"), tr("动作时间"), tr("开入"), tr("结果")};
    for (int i = 0; i < count; ++i) {
        const ViewPointModel* p = point(i);
        // Judged here: a point the page never showed has no verdict yet.
        const int verdict = getTestResults(i);
        QStringList& row = rows[size_t(i) + 1];
        row << QString::number(i + 1) << faultName(p->faultKind) << doubleFormatToString(p->iTest, 3) + "A"
            << (p->functionType == FUNCTION_TYPE_50 ? QStringLiteral("50") : QStringLiteral("51"))
            << timeText(p->settingTime) << timeText(p->tMin) << timeText(p->tMax);
        const double trip = getActionTimes(i);
        if (getRelayNotReset(i))
            row << tr("未复归") << QStringLiteral("---");
        else if (std::isnan(trip))
            row << QStringLiteral("---") << QStringLiteral("---");
        else
            row << doubleFormatToString(trip, 3) + "s" << QString::number(getBinaryInputIndex(i));
        QString text = tr("未测试");
        if (p->testState == AO_STATE_TYPE_COMPLETED && p->relayNotReset) {
            text = tr("未复归");
        } else if (p->testState == AO_STATE_TYPE_COMPLETED) {
            text = verdict == AO_Result_TYPE_SUCCESS  ? tr("通过")
                   : verdict == AO_Result_TYPE_FAILED ? tr("失败")
                                                      : tr("未动作");
        }
        row << text;
    }
    appendTable(doc, body, QStringLiteral("1"), QStringLiteral("9%"), QStringLiteral("center"), QStringLiteral("2"),
                QStringLiteral("Arial"), rows.data(), count + 1);

    for (int f = 0; f < 2; ++f) {
        if (curveImage[f].isEmpty())
            continue;
        const QSize size = drawnSize(curveImage[f]);
        appendImage(doc, body, curveImage[f], QString::number(size.width()), QString::number(size.height()),
                    tr("Time-current curve") + (f == FUNCTION_TYPE_50 ? " 50" : " 51"));
    }
}

// The labels of a list row's fields, as the page shows them.
QString ViewOvercurrentModel::listFieldLabel(const QString& key) const
{
    static const FieldLabel labels[] = {
        {"iTest", QT_TR_NOOP("I test")},
        {"faultVPNRange", QT_TR_NOOP("Fault VPN")},
        {"iAngle", QT_TR_NOOP("I-Angle")},
        {"outputTime", QT_TR_NOOP("Max Fault Time")},
    };
    return fieldLabel(staticMetaObject, labels, key);
}
