#include "SimRelayRegistry.h"

#include "SimDistanceRelay.h"
#include "SimDut.h"
#include "SimEnergyMeter.h"
#include "SimEnvelopeRelay.h"
#include "SimFixedDelayRelay.h"
#include "SimFrequencyRelay.h"
#include "SimHarmonicRelay.h"
#include "SimInverseTimeRelay.h"
#include "SimThresholdRelay.h"
#include "SimTimedRelay.h"
#include "SimVoltageRelay.h"

#include <QStringList>

#include <cmath>

namespace zorsim {

namespace {

struct NoSettings
{
};

RelayModelEntry noRelayModel()
{
    return relayModel<NoSettings>("none", "nothing wired to the binary inputs", {},
                                  [](const NoSettings&) { return std::shared_ptr<DutModel>(); });
}

}   // namespace

const std::vector<RelayModelEntry>& relayModels()
{
    static const std::vector<RelayModelEntry> models = {
        thresholdRelayModel(), timedRelayModel(),   inverseTimeRelayModel(), fixedDelayRelayModel(),
        frequencyRelayModel(), voltageRelayModel(), harmonicRelayModel(),    distanceRelayModel(),
        envelopeRelayModel(),  energyMeterModel(),  noRelayModel(),
    };
    return models;
}

const RelayModelEntry* findRelayModel(const QString& name)
{
    for (const RelayModelEntry& entry : relayModels())
        if (entry.name == name)
            return &entry;
    return nullptr;
}

QString relayModelsHelp()
{
    QStringList lines;
    for (const RelayModelEntry& entry : relayModels()) {
        lines << QStringLiteral("%1: %2").arg(entry.name, entry.meaning);
        for (const RelayKey& key : entry.keys)
            lines << QStringLiteral("    %1: %2").arg(key.name, key.meaning);
    }
    return lines.join(QLatin1Char('\n'));
}

namespace relayvalue {

bool number(const QString& text, double& out)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

bool integer(const QString& text, int lo, int hi, int& out)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 0);
    if (!ok || v < lo || v > hi)
        return false;
    out = v;
    return true;
}

bool channel(const QString& text, int& out)
{
    static const QStringList names = {"UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"};
    const int named = names.indexOf(text.trimmed().toUpper());
    if (named >= 0) {
        out = named;
        return true;
    }
    return integer(text, 0, 7, out);
}

bool channels(const QString& text, std::vector<int>& out)
{
    std::vector<int> list;
    for (const QString& part : text.split('+')) {
        int c = 0;
        if (!channel(part, c))
            return false;
        list.push_back(c);
    }
    out = list;
    return !out.empty();
}

QString apply(const QString& model, const QString& text,
              const std::function<std::optional<bool>(const QString& key, const QString& value)>& set)
{
    if (text.trimmed().isEmpty())
        return {};
    for (const QString& pair : text.split(',')) {
        const int eq = pair.indexOf('=');
        if (eq <= 0)
            return QStringLiteral("%1: \"%2\" is not key=value").arg(model, pair.trimmed());
        const QString key = pair.left(eq).trimmed().toLower();
        const QString value = pair.mid(eq + 1).trimmed();
        const std::optional<bool> applied = set(key, value);
        if (!applied)
            return QStringLiteral("%1: unknown key \"%2\"").arg(model, key);
        if (!*applied)
            return QStringLiteral("%1: bad value \"%2\" for %3").arg(model, value, key);
    }
    return {};
}

}   // namespace relayvalue

}   // namespace zorsim
