// ViewLoadSheddingModel: the body of the parameter file and the report.
//
// File body after the base keys (doubles with six significant digits):
//   activePointIndex, preFaultTime, holdTime, afterFaultTime,
//   testPoints/{pointCount, point0..}
// A point: testItemType, the module's settings in order (Layout::keys),
//   actionValue, actionTime, testState, relayNotReset (0 or 1). Angles are not stored: a point read
//   takes those of the base's normal output, which the test plays.
// A file without a list holds one default point. A missing value
// keeps the field; a setting outside the page's limits (amplitudes within the
// device's maxima, frequencies an output gives) reads as the nearest limit;
// an item outside the module's enumeration or an unreadable value refuses
// the file (ViewParameterSetting.h); a result no run gives reads as no trip.

#include "ViewLoadSheddingModel.h"

#include "BaseXmlUtilities.h"
#include "ControllerCenter.h"
#include "ViewParameterSetting.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

using Xml = BaseXmlUtilities;
using namespace PageLimits;

// The page's limit of the three times, s.
constexpr double kMaxTime = 10000.0;

// The page's limits of a point's setting, by its file key: voltages and
// currents within the device's maxima, slips up to 1000 (Hz/s or V/s), the
// frequencies a slide begins and ends at those an output gives.
void settingLimits(const QString& key, const ControllerConfiguration* config, double& low, double& high)
{
    low = 0.0;
    high = kMaxFrequency;
    if (key.contains(QLatin1String("lip")))
        return;
    if (key.contains(QLatin1String("oltage")))
        high = config->maxVRange;
    else if (key.contains(QLatin1String("urrent")))
        high = config->maxIRange;
    else if (key.startsWith(QLatin1String("frequency")) && !key.endsWith(QLatin1String("Step")))
        low = kMinFrequency;
}

} // namespace

void ViewLoadSheddingModel::ViewSheddingPoint::serialize(bool save, QDomElement* element, QDomDocument* doc)
{
    mapChecked(save, element, doc, "testItemType", testItemType, 0, layout.itemCount - 1);
    for (int s = 0; s < layout.settingCount; ++s) {
        const QString key = QLatin1String(layout.keys[s]);
        double low = 0.0;
        double high = 0.0;
        settingLimits(key, center()->testConfiguration, low, high);
        mapSetting(save, element, doc, key, settings[s], low, high);
    }
    // No trip is -1 (clearResults).
    mapResult(save, element, doc, QStringLiteral("actionValue"), actionValue, -1.0);
    mapResultTime(save, element, doc, QStringLiteral("actionTime"), actionTime, -1.0);
    mapResultIndex(save, element, doc, QStringLiteral("testState"), testState, AO_STATE_TYPE_INITING,
                   AO_STATE_TYPE_COMPLETED, qint32(AO_STATE_TYPE_INITING));
    mapResultFlag(save, element, doc, QStringLiteral("relayNotReset"), relayNotReset);
}

bool ViewLoadSheddingModel::serialize(bool save, QDomElement* element, QDomDocument* doc)
{
    if (!element || (!save && element->isNull()))
        return false;
    ViewBaseModel::serialize(save, element, doc);

    Xml::map(save, element, doc, QStringLiteral("activePointIndex"), activePointIndex, activePointIndex);
    mapSetting(save, element, doc, QStringLiteral("preFaultTime"), preFaultTime, 0.0, kMaxTime);
    mapSetting(save, element, doc, QStringLiteral("holdTime"), holdTime, 0.0, kMaxTime);
    mapSetting(save, element, doc, QStringLiteral("afterFaultTime"), afterFaultTime, 0.0, kMaxTime);

    QDomElement list;
    Xml::getElement(&list, element, doc, QStringLiteral("testPoints"), save);
    const auto make = [this] {
        auto read = std::make_unique<ViewSheddingPoint>(layout);
        std::copy(std::begin(normalOutput.outputAngles), std::end(normalOutput.outputAngles), read->outputAngles);
        return read;
    };
    int count = testPoints.serialize(save, &list, doc, make);
    if (!save && count == 0 && !ParameterRead::present(&list, QStringLiteral("pointCount"))) {
        // A file without a list holds one point.
        testPoints.append(make());
        count = 1;
    }

    if (!save && count > 0)
        setActiveIndex(activePointIndex);
    return true;
}

// ---- Report -------------------------------------------------------------------------------------

void ViewLoadSheddingModel::appendTestSetting(QDomDocument* doc, QDomElement* body)
{
    const int count = testPoints.count();
    if (count == 0)
        return;
    // The points and their results open with the result heading.
    ViewBaseModel::appendTestResult(doc, body);
    std::vector<QStringList> rows(size_t(count) + 1);
    rows[0] = QStringList{tr("序号"), tr("测试项目"), tr("动作值"), tr("动作时间")};
    for (int i = 0; i < count; ++i) {
        QStringList& row = rows[size_t(i) + 1];
        row << QString::number(i + 1) << getTestItemName(i);
        if (getTestStates(i) != AO_STATE_TYPE_COMPLETED)
            row << tr("未测试") << tr("未测试");
        else if (getRelayNotReset(i))
            row << tr("未复归") << tr("未复归");
        else if (getActionTime(i) > 0.0)
            row << getActionValueStr(i) << getActionTimeStr(i);
        else
            row << tr("未动作") << tr("未动作");
    }
    appendTable(doc, body, QStringLiteral("1"), QStringLiteral("25%"), QStringLiteral("center"), QStringLiteral("2"),
                QStringLiteral("Arial"), rows.data(), count + 1);
}

void ViewLoadSheddingModel::appendTestResult(QDomDocument* doc, QDomElement* body)
{
    // With points the heading opens their table already.
    if (testPoints.count() == 0)
        ViewBaseModel::appendTestResult(doc, body);
}

// The labels of a list row's fields, as the page shows them.
QString ViewLoadSheddingModel::listFieldLabel(const QString& key) const
{
    static const FieldLabel labels[] = {
        {"frequencyBegin", QT_TR_NOOP("频率始值")},
        {"frequencyEnd", QT_TR_NOOP("频率终值")},
        {"frequencyStep", QT_TR_NOOP("频率步长")},
        {"frequencySlip", QT_TR_NOOP("频率滑差")},
        {"timingFrequency", QT_TR_NOOP("计时频率")},
        {"voltageBegin", QT_TR_NOOP("电压始值")},
        {"voltageEnd", QT_TR_NOOP("电压终值")},
        {"voltageStep", QT_TR_NOOP("电压步长")},
        {"voltageSlip", QT_TR_NOOP("电压滑差")},
        {"timingVoltage", QT_TR_NOOP("计时电压")},
        {"slipBegin", QT_TR_NOOP("滑差始值")},
        {"slipEnd", QT_TR_NOOP("滑差终值")},
        {"slipStep", QT_TR_NOOP("滑差步长")},
        {"currentBegin", QT_TR_NOOP("电流始值")},
        {"currentEnd", QT_TR_NOOP("电流终值")},
        {"currentStep", QT_TR_NOOP("电流步长")},
    };
    return fieldLabel(staticMetaObject, labels, key);
}
