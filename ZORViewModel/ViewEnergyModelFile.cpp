// ViewEnergyModel: the body of the energy parameter file and the report.
//
// File body after the base keys (doubles with six significant digits):
//   meterKind, measureMeterKind, singleEnable, orientationKind, pulseKind,
//   primaryCT, primaryPT, secondaryCT, secondaryPT, primaryPulseKWH,
//   secondaryPulseKWH, primaryKWHPulse, secondaryKWHPulse, holdTime,
//   pulseCount, precision, pulseConst, localPulseEnable, hotTime, startTime
//   points/{pointCount, point0..}
// A point: voltage, current, frequency, powerFactor, powerAngle, loadKind,
//   settingPulse, settingEnergy, settingTime, actualPulse, actualEnergy,
//   actualTime, givenCount, settingDev, actualDev, testState, testResult,
//   ports/port0..7/{range, angle, frequency}
// The four pulse constants are read as stored (no constant follows another).
// A missing value keeps the field; a setting outside the page's limits (the
// outputs within the device's maxima and at a frequency an output gives, a
// pulse count 0..65535) reads as the nearest limit; a pulse count that is no
// whole number, an enumeration outside its range or an unreadable value
// refuses the file (ViewParameterSetting.h). A measurement that is no finite
// number reads as none (0).

#include "ViewEnergyModel.h"

#include "BaseXmlUtilities.h"
#include "ControllerCenter.h"
#include "ViewParameterSetting.h"

#include <cmath>
#include <limits>
#include <vector>

namespace {

using Xml = BaseXmlUtilities;
using namespace PageLimits;

} // namespace

void ViewEnergyModel::ViewPointModel::serialize(bool save, QDomElement* element, QDomDocument* doc)
{
    const ControllerConfiguration* config = center()->testConfiguration;
    mapSetting(save, element, doc, QStringLiteral("voltage"), voltage, 0.0, config->maxVRange);
    mapSetting(save, element, doc, QStringLiteral("current"), current, 0.0, config->maxIRange);
    mapSetting(save, element, doc, QStringLiteral("frequency"), frequency, kMinFrequency, kMaxFrequency);
    mapSetting(save, element, doc, QStringLiteral("powerFactor"), powerFactor, -1.0, 1.0);
    mapSetting(save, element, doc, QStringLiteral("powerAngle"), powerAngle, -180.0, 180.0);
    mapChecked(save, element, doc, "loadKind", loadKind, Perceptual, Capacity);
    // The engine counts whole pulses in 16 bits (0 is what a negative power
    // factor leaves).
    double pulses = settingPulse;
    mapSetting(save, element, doc, QStringLiteral("settingPulse"), pulses, 0.0, kMaxPulses);
    if (!save && pulses != std::trunc(pulses))
        ParameterRead::refuse(element, QStringLiteral("settingPulse"), pulses, 0.0, kMaxPulses);
    else
        settingPulse = pulses;
    mapResult(save, element, doc, QStringLiteral("settingEnergy"), settingEnergy, 0.0);
    mapResult(save, element, doc, QStringLiteral("settingTime"), settingTime, 0.0);
    mapResult(save, element, doc, QStringLiteral("actualPulse"), actualPulse, 0.0);
    mapResult(save, element, doc, QStringLiteral("actualEnergy"), actualEnergy, 0.0);
    mapResult(save, element, doc, QStringLiteral("actualTime"), actualTime, 0.0);
    mapResult(save, element, doc, QStringLiteral("givenCount"), givenCount, 0.0);
    mapSetting(save, element, doc, QStringLiteral("settingDev"), settingDev, 0.0);
    mapResult(save, element, doc, QStringLiteral("actualDev"), actualDev, 0.0);
    mapResultIndex(save, element, doc, "testState", testState, AO_STATE_TYPE_INITING, AO_STATE_TYPE_COMPLETED,
                   qint32(AO_STATE_TYPE_INITING));
    mapResultIndex(save, element, doc, "testResult", testResult, AO_Result_TYPE_NONE, AO_Result_TYPE_FAILED,
                   AO_Result_TYPE_NONE);

    QDomElement ports;
    Xml::getElement(&ports, element, doc, QStringLiteral("ports"), save);
    mapPorts(save, &ports, doc, outputRanges, outputAngles, outputFrequencies, config->maxVRange, config->maxIRange);
}

bool ViewEnergyModel::serialize(bool save, QDomElement* element, QDomDocument* doc)
{
    if (!element || (!save && element->isNull()))
        return false;
    ViewBaseModel::serialize(save, element, doc);

    mapChecked(save, element, doc, "meterKind", meterKind, Power_Active, Power_Apparent);
    mapChecked(save, element, doc, "measureMeterKind", measureMeterKind, Measure_Four, Measure_Three);
    Xml::map(save, element, doc, QStringLiteral("singleEnable"), singleEnable, singleEnable);
    mapChecked(save, element, doc, "orientationKind", orientationKind, Import, Import_export);
    mapChecked(save, element, doc, "pulseKind", pulseKind, Edge_Rising, Edge_Falling);
    mapSetting(save, element, doc, QStringLiteral("primaryCT"), primaryCT, 0.0);
    mapSetting(save, element, doc, QStringLiteral("primaryPT"), primaryPT, 0.0);
    mapSetting(save, element, doc, QStringLiteral("secondaryCT"), secondaryCT, 0.0);
    mapSetting(save, element, doc, QStringLiteral("secondaryPT"), secondaryPT, 0.0);
    mapSetting(save, element, doc, QStringLiteral("primaryPulseKWH"), primaryPulseKWH, 0.0);
    mapSetting(save, element, doc, QStringLiteral("secondaryPulseKWH"), secondaryPulseKWH, 0.0);
    mapSetting(save, element, doc, QStringLiteral("primaryKWHPulse"), primaryKWHPulse, 0.0);
    mapSetting(save, element, doc, QStringLiteral("secondaryKWHPulse"), secondaryKWHPulse, 0.0);
    mapSetting(save, element, doc, QStringLiteral("holdTime"), holdTime, 0.0);
    mapSetting(save, element, doc, QStringLiteral("pulseCount"), pulseCount, 0.0);
    mapSetting(save, element, doc, QStringLiteral("precision"), precision, 0.0, 100.0);
    mapSetting(save, element, doc, QStringLiteral("pulseConst"), pulseConst, 0.0);
    Xml::map(save, element, doc, QStringLiteral("localPulseEnable"), localPulseEnable, localPulseEnable);
    mapSetting(save, element, doc, QStringLiteral("hotTime"), hotTime, 0.0, kInf);
    mapSetting(save, element, doc, QStringLiteral("startTime"), startTime, 0.0, kInf);

    QDomElement points;
    Xml::getElement(&points, element, doc, QStringLiteral("points"), save);
    if (!save && points.isNull()) {
        testPoints.clear();
        return true;
    }
    const int count = testPoints.serialize(save, &points, doc, [] { return std::make_unique<ViewPointModel>(); });
    if (!save && count > 0)
        setActiveIndex(0);
    return true;
}

// ---- Report -------------------------------------------------------------------------------------

QString ViewEnergyModel::unitWord() const
{
    return meterKind == Power_Active ? QStringLiteral("W") : meterKind == Power_Reactive ? QStringLiteral("Var")
                                                                                         : QStringLiteral("Va");
}

void ViewEnergyModel::appendTestSetting(QDomDocument* doc, QDomElement* body)
{
    ViewBaseModel::appendTestSetting(doc, body);
    const auto number = [this](double value, int decimals) { return doubleFormatToString(value, decimals); };
    const QString unit = unitWord();
    const QString meterName = meterKind == Power_Active     ? tr("Active Power")
                              : meterKind == Power_Reactive ? tr("Reactive Power")
                                                            : tr("Apparent Power");
    const QString measureName = singleEnable                     ? tr("Single")
                                : measureMeterKind == Measure_Four ? tr("3P4W")
                                                                   : tr("3P3W");
    const QString direction = orientationKind == Import   ? tr("Import")
                              : orientationKind == Export ? tr("Export")
                                                          : tr("Import/Export");
    QStringList rows[12];
    rows[0] = QStringList{tr("Meter type"), meterName, tr("Measure type"), measureName};
    rows[1] = QStringList{QString(), QString(), QString(), QString()};
    rows[2] = QStringList{QString(), tr("Secondary"), QString(), tr("Primary")};
    rows[3] = QStringList{tr("Pulse/Quantity"), number(secondaryPulseKWH, 0) + "imp/k" + unit + "h", QString(),
                          number(primaryPulseKWH, 0) + "imp/kk" + unit + "h"};
    rows[4] = QStringList{QStringLiteral("CT"), number(secondaryCT, 3) + "A", QString(), number(primaryCT, 3) + "A"};
    rows[5] = QStringList{QStringLiteral("PT"), number(secondaryPT, 3) + "V", QString(), number(primaryPT, 3) + "V"};
    rows[6] = rows[1];
    rows[7] = QStringList{tr("Heat time"), number(hotTime, 3) + "s", tr("Start time"), number(startTime, 3) + "s"};
    rows[8] = QStringList{tr("Pulse Count"), number(pulseCount, 0), tr("Settling time"), number(holdTime, 3) + "s"};
    rows[9] = QStringList{tr("Pulse type"), pulseKind == Edge_Rising ? tr("Rising") : tr("Falling"), tr("Direction"),
                          direction};
    rows[10] = QStringList{tr("Precision"), number(precision, 3) + "%", QString(), QString()};
    rows[11] = QStringList{tr("Pulse constant"), number(pulseConst, 0) + "imp/k" + unit + "h",
                           tr("Whether to send a local pulse"),
                           localPulseEnable ? tr("true") : tr("false")};
    appendTable(doc, body, QStringLiteral("0"), QStringLiteral("25%"), QStringLiteral("left"), QStringLiteral("2"),
                QStringLiteral("Arial"), rows, 12);
}

void ViewEnergyModel::appendTestResult(QDomDocument* doc, QDomElement* body)
{
    ViewBaseModel::appendTestResult(doc, body);
    const auto number = [this](double value, int decimals) { return doubleFormatToString(value, decimals); };
    const QString unit = unitWord();
    const int count = testPoints.count();
    std::vector<QStringList> rows(size_t(count) + 1);
    rows[0] = QStringList{QString(),    tr("Voltage"), tr("Current"), tr("Frequency"), tr("Power"), tr("Angle"),
                          tr("Factor"), tr("Pulse"),   tr("Setting"), tr("Actual"),    tr("Dev"),   tr("Result")};
    for (int i = 0; i < count; ++i) {
        ViewPointModel* p = point(i);
        const bool measured = std::fabs(p->actualEnergy) > 0.0;
        QString verdict = tr("NoTest");
        if (p->testState == AO_STATE_TYPE_COMPLETED) {
            // Judged here: a point the page never showed has no verdict yet.
            calculate(p);
            verdict = p->testResult == AO_Result_TYPE_SUCCESS  ? tr("Passed")
                      : p->testResult == AO_Result_TYPE_FAILED ? tr("Failed")
                                                               : tr("No Action");
        }
        QStringList& row = rows[size_t(i) + 1];
        row << QString::number(i + 1) << number(p->voltage, 3) + "V" << number(p->current, 3) + "A"
            << number(p->frequency, 3) + "Hz" << number(p->givenCount, 3) + unit
            << number(p->powerAngle, 3) + QString::fromUtf8("°")
            << number(p->powerFactor, 3) + (p->loadKind == Perceptual ? tr("ind.") : tr("cap."))
            << (measured ? number(p->actualPulse, 0) : QStringLiteral("-")) << number(p->settingEnergy, 3) + unit + "h"
            << (measured ? number(p->actualEnergy, 3) + unit + "h" : QStringLiteral("-"))
            << (std::fabs(p->actualDev) > 0.0 ? number(p->actualDev, 3) + "%" : QStringLiteral("-")) << verdict;
    }
    const QStringList widths = {"5%", "9%", "9%", "9%", "9%", "9%", "9%", "9%", "9%", "9%", "5%", "9%"};
    appendTable(doc, body, QStringLiteral("1"), widths, QStringLiteral("center"), QStringLiteral("2"),
                QStringLiteral("Arial"), rows.data(), count + 1);
}

// The labels of a list row's fields, as the page shows them.
QString ViewEnergyModel::listFieldLabel(const QString& key) const
{
    static const FieldLabel labels[] = {
        {"voltage", QT_TR_NOOP("Voltage")},
        {"current", QT_TR_NOOP("Current")},
        {"frequency", QT_TR_NOOP("Frequency")},
        {"powerFactor", "Cos φ"},
        {"powerAngle", QT_TR_NOOP("Angle")},
        {"settingPulse", QT_TR_NOOP("Pulse")},
        {"settingDev", QT_TR_NOOP("Precision")},
    };
    return fieldLabel(staticMetaObject, labels, key);
}
