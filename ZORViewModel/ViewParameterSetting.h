#pragma once

// A setting of a module page in the module's parameter file. Read from the
// file it passes the limits the page puts on its field, so that what the
// page shows is what the model holds, pushes and saves: a finite value is
// held to [low, high]; a non-finite, missing or unreadable one keeps the
// field's value. Written as it is. Results are no settings: they are mapped
// with BaseXmlUtilities::map and keep what the file holds, NaN included.

#include "BaseXmlUtilities.h"

#include <algorithm>
#include <cmath>
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
