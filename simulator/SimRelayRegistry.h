#pragma once

// The relay models a relay description (SimHostFactory.h) can name: for
// each its name, its keys with a one-line meaning, and a factory. This is
// the one list of models and keys; README.md's table is checked against it.
//
// A model is one file: its class, and its entry built with relayModel()
// from its settings struct, one RelayField per key. relayModels() lists the
// entries (SimRelayRegistry.cpp), one line each.

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace zorsim {

class DutModel;

struct RelayKey
{
    QString name;
    QString meaning;
};

struct RelayModelEntry
{
    QString name;
    QString meaning;
    std::vector<RelayKey> keys;
    // The model for the text after "name:" (may be empty): null with error
    // set when the text is not acceptable, null without error for a model
    // that wires nothing.
    std::function<std::shared_ptr<DutModel>(const QString& settings, QString& error)> make;
};

const std::vector<RelayModelEntry>& relayModels();
// The entry of that name (lower case), or null.
const RelayModelEntry* findRelayModel(const QString& name);
// Every model with its keys and their meanings, one line each.
QString relayModelsHelp();

// ---- Building an entry -------------------------------------------------------------

// Sets one key's value in a settings struct; false when it is not acceptable.
template <class Settings>
using RelaySetter = std::function<bool(Settings&, const QString&)>;

template <class Settings>
struct RelayField
{
    const char* key;
    const char* meaning;
    RelaySetter<Settings> set;
};

namespace relayvalue {
bool number(const QString& text, double& out);                 // finite
bool integer(const QString& text, int lo, int hi, int& out);   // C notation (0x..)
bool channel(const QString& text, int& out);                   // 0..7 or UA..IX
bool channels(const QString& text, std::vector<int>& out);     // joined by '+'

// Applies "key=value,..." in order through set (which answers false for a
// bad value, nothing for an unknown key); the error text, empty when all applied.
QString apply(const QString& model, const QString& text,
              const std::function<std::optional<bool>(const QString& key, const QString& value)>& set);
}   // namespace relayvalue

template <class Settings>
RelaySetter<Settings> numberKey(double Settings::*field, double lo, double hi, bool loOpen = false)
{
    return [=](Settings& s, const QString& v) {
        double x = 0.0;
        if (!relayvalue::number(v, x) || x > hi || x < lo || (loOpen && x == lo))
            return false;
        s.*field = x;
        return true;
    };
}

template <class Settings>
RelaySetter<Settings> channelKey(int Settings::*field)
{
    return [=](Settings& s, const QString& v) { return relayvalue::channel(v, s.*field); };
}

template <class Settings>
RelaySetter<Settings> channelsKey(std::vector<int> Settings::*field)
{
    return [=](Settings& s, const QString& v) { return relayvalue::channels(v, s.*field); };
}

template <class Settings>
RelaySetter<Settings> inputKey(int Settings::*field)
{
    return [=](Settings& s, const QString& v) { return relayvalue::integer(v, 0, 3, s.*field); };
}

// Seconds and values with no useful upper limit.
constexpr double kRelayValueLimit = 1e9;

// The entry of a model built by build() from Settings (its defaults, then
// the keys given). A model without keys takes no settings.
template <class Settings>
RelayModelEntry relayModel(const char* name, const char* meaning, std::vector<RelayField<Settings>> fields,
                           std::function<std::shared_ptr<DutModel>(const Settings&)> build)
{
    RelayModelEntry entry;
    entry.name = QString::fromLatin1(name);
    entry.meaning = QString::fromUtf8(meaning);
    for (const RelayField<Settings>& f : fields)
        entry.keys.push_back(RelayKey{QString::fromLatin1(f.key), QString::fromUtf8(f.meaning)});
    entry.make = [model = entry.name, fields, build](const QString& text, QString& error) {
        Settings s;
        if (fields.empty() && !text.trimmed().isEmpty())
            error = QStringLiteral("%1: takes no settings").arg(model);
        else
            error = relayvalue::apply(model, text,
                                      [&](const QString& key, const QString& value) -> std::optional<bool> {
                                          for (const RelayField<Settings>& f : fields)
                                              if (key == QLatin1String(f.key))
                                                  return f.set(s, value);
                                          return std::nullopt;
                                      });
        return error.isEmpty() ? build(s) : std::shared_ptr<DutModel>();
    };
    return entry;
}

}   // namespace zorsim
