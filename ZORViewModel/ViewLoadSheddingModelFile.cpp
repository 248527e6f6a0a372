// ViewLoadSheddingModel: the body of the parameter file and the report.
//
// File body after the base keys (doubles with six significant digits):
//   activePointIndex, preFaultTime, holdTime, afterFaultTime,
//   testPoints/{pointCount, point0..}
// A point: testItemType, the module's settings in order (Layout::keys),
//   actionValue, actionTime, testState. Angles are not stored: a point read
//   takes those of the base's normal output, which the test plays.
// A file without "pointCount" holds one point, "point0". A missing or
// non-finite setting keeps the field, an item outside the module's
// enumeration keeps the point's item.

#include "ViewLoadSheddingModel.h"

#include "BaseXmlUtilities.h"
#include "ViewParameterSetting.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

using Xml = BaseXmlUtilities;

// The page's limit of the three times, s.
constexpr double kMaxTime = 10000.0;

} // namespace

void ViewLoadSheddingModel::ViewSheddingPoint::serialize(bool save, QDomElement* element, QDomDocument* doc)
{
    mapChecked(save, element, doc, "testItemType", testItemType, 0, layout.itemCount - 1);
    for (int s = 0; s < layout.settingCount; ++s)
        mapSetting(save, element, doc, QLatin1String(layout.keys[s]), settings[s]);
    Xml::map(save, element, doc, QStringLiteral("actionValue"), actionValue, actionValue);
    Xml::map(save, element, doc, QStringLiteral("actionTime"), actionTime, actionTime);
    Xml::map(save, element, doc, QStringLiteral("testState"), testState, testState);
    if (!save && (testState < AO_STATE_TYPE_INITING || testState > AO_STATE_TYPE_COMPLETED))
        testState = AO_STATE_TYPE_INITING;
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
    int count = 0;
    if (!save && list.firstChildElement(QStringLiteral("pointCount")).isNull()) {
        // Without a count the file holds one point.
        testPoints.clear();
        std::unique_ptr<ViewSheddingPoint> only = make();
        QDomElement first;
        Xml::getElement(&first, &list, doc, QStringLiteral("point0"), false);
        only->serialize(false, &first, doc);
        if (only->testState == AO_STATE_TYPE_RUNNNING)
            only->testState = AO_STATE_TYPE_COMPLETED;
        testPoints.append(std::move(only));
        count = 1;
    } else {
        count = testPoints.serialize(save, &list, doc, make);
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
    ViewBaseModel::appendTestResult(doc, body);
}
