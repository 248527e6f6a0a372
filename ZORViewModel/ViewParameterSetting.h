#pragma once

// A setting of a module page in the module's parameter file. Read from the
// file it passes the limits the page puts on its field, so that what the
// page shows is what the model holds, pushes and saves: a finite value is
// held to [low, high]; a non-finite, missing or unreadable one keeps the
// field's value. Written as it is. Results are no settings: they are mapped
// with BaseXmlUtilities::map and keep what the file holds, NaN included.

#include "BaseXmlUtilities.h"

#include <QDomElement>
#include <QString>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

inline double& mapSetting(bool save, QDomElement* parent, QDomDocument* doc, const QString& key, double& field,
                          double low = -std::numeric_limits<double>::infinity(),
                          double high = std::numeric_limits<double>::infinity())
{
    double value = field;
    BaseXmlUtilities::map(save, parent, doc, key, value, field);
    if (!save && std::isfinite(value))
        field = std::max(low, std::min(value, high));
    return field;
}

// A setting read back through `take` (a setter, or the model's own check).
template <typename T>
void mapSetting(bool save, QDomElement* parent, QDomDocument* doc, const QString& key, T value,
                const std::function<void(T)>& take)
{
    BaseXmlUtilities::map(save, parent, doc, key, value, value);
    if (!save)
        take(value);
}

// An int field that only takes values in [low, high] from a file.
template <typename T>
void mapChecked(bool save, QDomElement* parent, QDomDocument* doc, const QString& key, T& field, int low, int high)
{
    qint32 value = qint32(field);
    BaseXmlUtilities::map(save, parent, doc, key, value, value);
    if (!save && value >= low && value <= high)
        field = T(value);
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
