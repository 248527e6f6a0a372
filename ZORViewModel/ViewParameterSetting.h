#pragma once

// Settings and results of a module page in the module's parameter file.
//
// A setting read from the file is held to the limits the page puts on its
// field (as the file writes numbers, to six significant digits, so that a
// value at a limit reads back): a finite number outside [low, high] reads as
// the limit nearest it and is noted in the open HeldValues, which the loader
// names to the user (files written under other ratings or by an earlier
// version). A value that is no finite number is refused: noted in the open
// ReadCheck (BaseXmlUtilities), which makes the loader refuse the whole file,
// and the field keeps its value. A missing value keeps the field. Written as
// it is.
//
// A result (a time or value a run measured) that no run can give reads as
// no result, without refusing the file. A list is as long as the entries the
// file holds; more than the page holds, or an entry twice, is refused.

#include "BaseXmlUtilities.h"
#include "ModelEntityCommon.h"

#include <QDomElement>
#include <QString>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <limits>
#include <vector>

// Limits the pages put on their fields (the amplitudes' are the device's
// maxima, ControllerConfiguration::maxVRange and maxIRange).
namespace PageLimits {
constexpr double kAngle = 360.0;           // degrees, both ways
constexpr double kMinFrequency = ModelEntity::kMinOutputFrequency;   // Hz, of an AC output
constexpr double kMaxFrequency = ModelEntity::kMaxOutputFrequency;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMaxRampStep = 300.0;     // a step of an automatic ramp
constexpr double kMaxRampTime = 300.0;     // s, the time per step of an automatic ramp
constexpr double kMaxStepTime = 300.0;     // s, a ramping state's step time
}   // namespace PageLimits

namespace ParameterRead {

// Whether the element key is there under parent.
inline bool present(const QDomElement* parent, const QString& key)
{
    return parent && !parent->firstChildElement(key).isNull();
}

// A value at a limit as the file writes it is within it.
inline bool withinLimits(double value, double low, double high)
{
    using Xml = BaseXmlUtilities;
    return std::isfinite(value) && value >= std::min(low, Xml::asStored(low))
        && value <= std::max(high, Xml::asStored(high));
}

// Notes a value read under parent as key that is refused.
inline void refuse(const QDomElement* parent, const QString& key, double value, double low, double high)
{
    using Note = BaseXmlUtilities::ReadNote;
    const bool number = std::isfinite(value);
    BaseXmlUtilities::ReadCheck::note({number ? Note::OUTSIDE_LIMITS : Note::UNREADABLE,
                                       BaseXmlUtilities::keyPath(parent, key), QString::number(value, 'g', 6), low,
                                       high});
}

// A finite setting outside its limits, as read and as held.
struct HeldValue
{
    QString key;
    double value;
    double held;
};

// The values held to their limits by the reads made while it is open on
// this thread (the innermost open one).
class HeldValues
{
public:
    HeldValues()
        : outer(open())
    {
        open() = this;
    }
    ~HeldValues() { open() = outer; }
    HeldValues(const HeldValues&) = delete;
    HeldValues& operator=(const HeldValues&) = delete;

    static void note(const HeldValue& value)
    {
        if (open())
            open()->values.append(value);
    }
    const QVector<HeldValue>& all() const { return values; }

private:
    static HeldValues*& open()
    {
        static thread_local HeldValues* innermost = nullptr;
        return innermost;
    }
    HeldValues* outer;
    QVector<HeldValue> values;
};

// value read under parent as key, finite and outside [low, high]: the limit
// nearest it, noted as held.
inline double hold(const QDomElement* parent, const QString& key, double value, double low, double high)
{
    const double held = std::max(low, std::min(value, high));
    HeldValues::note({BaseXmlUtilities::keyPath(parent, key), value, held});
    return held;
}

// The entries prefix0, prefix1, ... in a row under parent, in the order of
// their indices. More than limit are refused (noted with the number of
// entries prefix + index there are), and read as none; so is a list with an
// entry of one index twice (noted with its key). One pass over the children.
inline std::vector<QDomElement> entries(const QDomElement* parent, const QString& prefix, int limit)
{
    if (!parent || parent->isNull())
        return {};
    // Each index of the row (0 .. limit) by its own key, and how often it is there.
    std::vector<QDomElement> found(size_t(std::max(limit, 0)) + 1);
    std::vector<int> times(found.size(), 0);
    int all = 0;
    for (QDomElement e = parent->firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        BaseXmlUtilities::visitChild();
        const QString tag = e.tagName();
        if (!tag.startsWith(prefix))
            continue;
        bool isIndex = false;
        const QStringRef digits = tag.midRef(prefix.size());
        const uint index = digits.toUInt(&isIndex);
        if (!isIndex)
            continue;
        ++all;
        if (index < found.size() && digits == QString::number(index) && times[index]++ == 0)
            found[index] = e;
    }
    int count = 0;
    for (; count < int(found.size()) && times[size_t(count)] > 0; ++count) {
        if (times[size_t(count)] > 1) {
            BaseXmlUtilities::ReadCheck::note({BaseXmlUtilities::ReadNote::REPEATED,
                                               BaseXmlUtilities::keyPath(parent, prefix + QString::number(count)),
                                               QString(), 0.0, 0.0});
            return {};
        }
    }
    if (count > limit) {
        refuse(parent, prefix, all, 0, limit);
        return {};
    }
    found.resize(size_t(count));
    return found;
}

// The number of entries(parent, prefix, limit).
inline int countEntries(const QDomElement* parent, const QString& prefix, int limit)
{
    return int(entries(parent, prefix, limit).size());
}

}   // namespace ParameterRead

inline double& mapSetting(bool save, QDomElement* parent, QDomDocument* doc, const QString& key, double& field,
                          double low = -PageLimits::kInf, double high = PageLimits::kInf)
{
    double value = field;
    BaseXmlUtilities::map(save, parent, doc, key, value, field);
    if (save || !ParameterRead::present(parent, key))
        return field;
    if (ParameterRead::withinLimits(value, low, high))
        field = value;
    else if (std::isfinite(value))
        field = ParameterRead::hold(parent, key, value, low, high);
    else
        ParameterRead::refuse(parent, key, value, low, high);
    return field;
}

// A setting read back through `take` (a setter, or the model's own check),
// which says whether it took the value; a value it does not take is refused.
template <typename T>
void mapSetting(bool save, QDomElement* parent, QDomDocument* doc, const QString& key, T value,
                const std::function<bool(T)>& take)
{
    BaseXmlUtilities::map(save, parent, doc, key, value, value);
    if (save || !ParameterRead::present(parent, key) || take(value))
        return;
    BaseXmlUtilities::ReadCheck::note({BaseXmlUtilities::ReadNote::UNREADABLE, BaseXmlUtilities::keyPath(parent, key),
                                       parent->firstChildElement(key).text(), 0.0, 0.0});
}

// An int field that only takes values in [low, high] from a file.
template <typename T>
void mapChecked(bool save, QDomElement* parent, QDomDocument* doc, const QString& key, T& field, int low, int high)
{
    qint32 value = qint32(field);
    BaseXmlUtilities::map(save, parent, doc, key, value, value);
    if (save || !ParameterRead::present(parent, key))
        return;
    if (value >= low && value <= high)
        field = T(value);
    else
        ParameterRead::refuse(parent, key, value, low, high);
}

// The eight ports' "range", "angle" and "frequency" under ports/port0..7:
// amplitudes held to [0, vmax] (ports 0-3) and [0, imax] (4-7), angles to
// the pages' limits, frequencies to [lowest(p), fmax] (lowest is asked once
// the port's amplitude is read).
template <typename Lowest>
void mapPorts(bool save, QDomElement* ports, QDomDocument* doc, double (&ranges)[8], double (&angles)[8],
              double (&frequencies)[8], double vmax, double imax, Lowest lowest,
              double fmax = PageLimits::kMaxFrequency)
{
    for (int p = 0; p < 8; ++p) {
        QDomElement port;
        BaseXmlUtilities::getElement(&port, ports, doc, QStringLiteral("port") + QString::number(p), save);
        mapSetting(save, &port, doc, QStringLiteral("range"), ranges[p], 0.0, p < 4 ? vmax : imax);
        mapSetting(save, &port, doc, QStringLiteral("angle"), angles[p], -PageLimits::kAngle, PageLimits::kAngle);
        mapSetting(save, &port, doc, QStringLiteral("frequency"), frequencies[p], lowest(p), fmax);
    }
}

// As above, a port that gives an amplitude at least kMinFrequency. Not the
// phase setup: a port the unit lacks is written with amplitude and frequency
// 0, and a file stays readable when the setup changes.
inline void mapPorts(bool save, QDomElement* ports, QDomDocument* doc, double (&ranges)[8], double (&angles)[8],
                     double (&frequencies)[8], double vmax, double imax)
{
    mapPorts(save, ports, doc, ranges, angles, frequencies, vmax, imax,
             [&ranges](int p) { return ranges[p] > 0.0 ? PageLimits::kMinFrequency : 0.0; });
}

// A value a run measured: a finite number, else `none`.
inline double& mapResult(bool save, QDomElement* parent, QDomDocument* doc, const QString& key, double& field,
                         double none = std::numeric_limits<double>::quiet_NaN())
{
    if (save) {
        BaseXmlUtilities::setValue(parent, doc, key, field);
        return field;
    }
    const double value = BaseXmlUtilities::getValue(parent, key, none);
    field = std::isfinite(value) ? value : none;
    return field;
}

// A result held in an int (a state of progress, a verdict, an input): a
// value in [low, high], else `none`.
template <typename T>
void mapResultIndex(bool save, QDomElement* parent, QDomDocument* doc, const QString& key, T& field, int low, int high,
                    T none)
{
    if (save) {
        BaseXmlUtilities::setValue(parent, doc, key, qint32(field));
        return;
    }
    const qint32 value = BaseXmlUtilities::getValue(parent, key, qint32(none));
    field = value >= low && value <= high ? T(value) : none;
}

// A flag a run set, stored as 0 or 1; anything else, or none, reads as not set.
inline void mapResultFlag(bool save, QDomElement* parent, QDomDocument* doc, const QString& key, bool& field)
{
    qint32 value = field ? 1 : 0;
    mapResultIndex(save, parent, doc, key, value, 0, 1, 0);
    field = value == 1;
}

// A time a run measured, s: finite and not negative, else no result, `none`.
inline double& mapResultTime(bool save, QDomElement* parent, QDomDocument* doc, const QString& key, double& field,
                             double none = std::numeric_limits<double>::quiet_NaN())
{
    mapResult(save, parent, doc, key, field, none);
    if (!save && !(field >= 0.0))
        field = none;
    return field;
}

// The key of an indexed element: "port" and 3 give "port3".
inline QString indexed(const char* word, int index)
{
    return QLatin1String(word) + QString::number(index);
}

// Removes the children named name + index for every index from `from` up to
// the three values an action record holds (left from a longer record).
inline void removeIndexedFrom(QDomElement* element, const char* name, int from)
{
    for (int j = from; j < 3; ++j) {
        QDomElement stale = element->firstChildElement(indexed(name, j));
        while (!stale.isNull()) {
            QDomElement next = stale.nextSiblingElement(indexed(name, j));
            element->removeChild(stale);
            stale = next;
        }
    }
}

// One action record of a ramp under `action` (the engine's record of an
// action or a return): its time `timeKey` and, in the child `listKey`, the
// count `countKey` and the values valueKey + 0.. count - 1 (Record: portCnt
// and actionVal[3]). The time is mapped before the list (timeFirst) or after
// it. Read, the record is no result (no values, NaN time) unless its time is
// one a run gives, its count 0..3 and each of its values a finite number; a
// record with no values keeps such a time.
template <typename Record>
void mapActionRecord(bool save, QDomElement* action, QDomDocument* doc, bool timeFirst, double& time, Record& record,
                     const char* listKey, const char* countKey, const char* valueKey)
{
    if (timeFirst)
        mapResultTime(save, action, doc, QStringLiteral("actionTime"), time);
    QDomElement list;
    BaseXmlUtilities::getElement(&list, action, doc, QLatin1String(listKey), save);
    if (save) {
        BaseXmlUtilities::setValue(&list, doc, QLatin1String(countKey), record.portCnt);
        removeIndexedFrom(&list, valueKey, record.portCnt);   // left from a longer record
        for (int j = 0; j < record.portCnt && j < 3; ++j)
            BaseXmlUtilities::setValue(&list, doc, indexed(valueKey, j), record.actionVal[j]);
    } else {
        const qint32 count = BaseXmlUtilities::getValue(&list, QLatin1String(countKey), qint32(0));
        bool whole = count >= 0 && count <= 3;
        std::fill(std::begin(record.actionVal), std::end(record.actionVal), std::numeric_limits<double>::quiet_NaN());
        for (int j = 0; whole && j < count; ++j)
            whole = std::isfinite(mapResult(false, &list, doc, indexed(valueKey, j), record.actionVal[j]));
        record.portCnt = whole ? count : 0;
    }
    if (!timeFirst)
        mapResultTime(save, action, doc, QStringLiteral("actionTime"), time);
    if (!save && (record.portCnt == 0 || std::isnan(time))) {
        record.portCnt = 0;
        std::fill(std::begin(record.actionVal), std::end(record.actionVal), std::numeric_limits<double>::quiet_NaN());
    }
}

// The four records of a ramp's actions and returns, action0..3 under parent,
// each as above with the list "actionValueList", the count
// "actionValue_portCnt" and the values "actionValue_val0..".
template <typename Record>
void mapActionRecords(bool save, QDomElement* parent, QDomDocument* doc, bool timeFirst, double (&times)[4],
                      Record (&records)[4])
{
    for (int i = 0; i < 4; ++i) {
        QDomElement action;
        BaseXmlUtilities::getElement(&action, parent, doc, indexed("action", i), save);
        mapActionRecord(save, &action, doc, timeFirst, times[i], records[i], "actionValueList", "actionValue_portCnt",
                        "actionValue_val");
    }
}
