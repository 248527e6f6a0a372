#include "SimHostFactory.h"

#include "SimEnergyMeter.h"
#include "SimFixedDelayRelay.h"
#include "SimFrequencyRelay.h"
#include "SimInstrument.h"
#include "SimInverseTimeRelay.h"
#include "SimPacer.h"
#include "SimThresholdRelay.h"
#include "SimTimedRelay.h"
#include "SimVoltageRelay.h"
#include "serial/SimBatteryPack.h"
#include "serial/SimGnssReceiver.h"
#include "zoplatform.h"
#include "zoplatform_control_host.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QMap>
#include <QRegularExpression>

#include <cmath>
#include <functional>

namespace zorsim {

namespace {

// One key's setter: false when the value is not acceptable.
using Setter = std::function<bool(const QString&)>;

bool toNumber(const QString& text, double& out)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

bool toInteger(const QString& text, int lo, int hi, int& out)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 0);
    if (!ok || v < lo || v > hi)
        return false;
    out = v;
    return true;
}

bool toChannel(const QString& text, int& out)
{
    static const QStringList names = {"UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"};
    const int named = names.indexOf(text.trimmed().toUpper());
    if (named >= 0) {
        out = named;
        return true;
    }
    return toInteger(text, 0, 7, out);
}

bool toChannels(const QString& text, std::vector<int>& out)
{
    std::vector<int> list;
    for (const QString& part : text.split('+')) {
        int c = 0;
        if (!toChannel(part, c))
            return false;
        list.push_back(c);
    }
    out = list;
    return !out.empty();
}

Setter number(double& field, double lo, double hi, bool loOpen = false)
{
    return [&field, lo, hi, loOpen](const QString& v) {
        double x = 0.0;
        if (!toNumber(v, x) || x > hi || x < lo || (loOpen && x == lo))
            return false;
        field = x;
        return true;
    };
}

Setter channel(int& field)
{
    return [&field](const QString& v) { return toChannel(v, field); };
}

Setter channels(std::vector<int>& field)
{
    return [&field](const QString& v) { return toChannels(v, field); };
}

Setter input(int& field)
{
    return [&field](const QString& v) { return toInteger(v, 0, 3, field); };
}

Setter curve(InverseCurve& field)
{
    return [&field](const QString& v) {
        static const QMap<QString, InverseCurve> curves = {
            {"iec-si", InverseCurve::iecStandardInverse()},   {"iec-vi", InverseCurve::iecVeryInverse()},
            {"iec-ei", InverseCurve::iecExtremelyInverse()},  {"iec-lti", InverseCurve::iecLongTimeInverse()},
            {"ieee-mi", InverseCurve::ieeeModeratelyInverse()}, {"ieee-vi", InverseCurve::ieeeVeryInverse()},
            {"ieee-ei", InverseCurve::ieeeExtremelyInverse()}, {"dt", InverseCurve::definiteTime()},
        };
        const auto it = curves.find(v.trimmed().toLower());
        if (it == curves.end())
            return false;
        field = it.value();
        return true;
    };
}

constexpr double kBig = 1e9;

// Applies key=value pairs through the setters; the error text, empty when all applied.
QString apply(const QString& model, const QString& args, const QMap<QString, Setter>& setters)
{
    if (args.trimmed().isEmpty())
        return {};
    for (const QString& pair : args.split(',')) {
        const int eq = pair.indexOf('=');
        if (eq <= 0)
            return QStringLiteral("%1: \"%2\" is not key=value").arg(model, pair.trimmed());
        const QString key = pair.left(eq).trimmed().toLower();
        const QString value = pair.mid(eq + 1).trimmed();
        const auto it = setters.find(key);
        if (it == setters.end())
            return QStringLiteral("%1: unknown key \"%2\"").arg(model, key);
        if (!it.value()(value))
            return QStringLiteral("%1: bad value \"%2\" for %3").arg(model, value, key);
    }
    return {};
}

// One entry "model[:args]": the model, or null with the error text set.
std::shared_ptr<DutModel> makeModel(const QString& entry, QString& error, bool& none)
{
    const int colon = entry.indexOf(':');
    const QString model = (colon < 0 ? entry : entry.left(colon)).trimmed().toLower();
    const QString args = colon < 0 ? QString() : entry.mid(colon + 1);
    none = false;

    if (model == QLatin1String("none")) {
        none = true;
        if (!args.trimmed().isEmpty())
            error = QStringLiteral("none: takes no settings");
        return nullptr;
    }
    if (model == QLatin1String("threshold")) {
        ThresholdRelaySettings s;
        error = apply(model, args,
                      {{"channel", channel(s.channel)},
                       {"pickup", number(s.pickup, 0.0, kBig, true)},
                       {"delay", number(s.pickupDelaySeconds, 0.0, kBig)},
                       {"dropoff", number(s.dropoffRatio, 0.0, 1.0, true)},
                       {"input", input(s.binaryInput)}});
        return error.isEmpty() ? std::make_shared<ThresholdRelay>(s) : nullptr;
    }
    if (model == QLatin1String("timed")) {
        TimedRelaySettings s;
        error = apply(model, args,
                      {{"channel", channel(s.channel)},
                       {"pickup", number(s.pickup, 0.0, kBig, true)},
                       {"delay", number(s.pickupDelaySeconds, 0.0, kBig)},
                       {"dropoff", number(s.dropoffRatio, 0.0, 1.0, true)},
                       {"dropdelay", number(s.dropoffDelaySeconds, 0.0, kBig)},
                       {"input", input(s.binaryInput)}});
        return error.isEmpty() ? std::make_shared<TimedRelay>(s) : nullptr;
    }
    if (model == QLatin1String("inverse")) {
        InverseTimeRelaySettings s;
        error = apply(model, args,
                      {{"channels", channels(s.channels)},
                       {"pickup", number(s.pickupAmps, 0.0, kBig, true)},
                       {"tms", number(s.tms, 0.0, kBig, true)},
                       {"curve", curve(s.curve)},
                       {"start", number(s.startRatio, 0.0, kBig, true)},
                       {"inst", number(s.instantaneousAmps, 0.0, kBig)},
                       {"instdelay", number(s.instantaneousDelaySeconds, 0.0, kBig)},
                       {"dropoff", number(s.dropoffRatio, 0.0, 1.0, true)},
                       {"input", input(s.binaryInput)}});
        return error.isEmpty() ? std::make_shared<InverseTimeRelay>(s) : nullptr;
    }
    if (model == QLatin1String("fixed")) {
        FixedDelayRelaySettings s;
        int pages = s.pageMask;
        int armed = s.armedPagesOnly ? 1 : 0;
        error = apply(model, args,
                      {{"delay", number(s.delaySeconds, 0.0, kBig)},
                       {"input", input(s.binaryInput)},
                       {"pages", [&pages](const QString& v) { return toInteger(v, 0, 255, pages); }},
                       {"armed", [&armed](const QString& v) { return toInteger(v, 0, 1, armed); }}});
        s.pageMask = uint8_t(pages);
        s.armedPagesOnly = armed != 0;
        return error.isEmpty() ? std::make_shared<FixedDelayRelay>(s) : nullptr;
    }
    if (model == QLatin1String("frequency")) {
        FrequencyRelaySettings s;
        error = apply(model, args,
                      {{"channel", channel(s.channel)},
                       {"pickup", number(s.pickupHz, 0.0, kBig, true)},
                       {"delay", number(s.delaySeconds, 0.0, kBig)},
                       {"minvolts", number(s.minimumVolts, 0.0, kBig)},
                       {"input", input(s.binaryInput)}});
        return error.isEmpty() ? std::make_shared<FrequencyRelay>(s) : nullptr;
    }
    if (model == QLatin1String("voltage")) {
        VoltageRelaySettings s;
        error = apply(model, args,
                      {{"channels", channels(s.channels)},
                       {"pickup", number(s.pickupVolts, 0.0, kBig, true)},
                       {"delay", number(s.delaySeconds, 0.0, kBig)},
                       {"input", input(s.binaryInput)}});
        return error.isEmpty() ? std::make_shared<VoltageRelay>(s) : nullptr;
    }
    if (model == QLatin1String("energy")) {
        EnergyMeterSettings s;
        error = apply(model, args,
                      {{"constant", number(s.impulsesPerKwh, 0.0, kBig, true)},
                       {"error", number(s.error, -0.5, 0.5)}});
        return error.isEmpty() ? std::make_shared<EnergyMeter>(s) : nullptr;
    }
    error = QStringLiteral("unknown model \"%1\"").arg(model);
    return nullptr;
}

} // namespace

RelaySetup parseRelaySetup(const QString& text)
{
    RelaySetup setup;
    for (const QString& raw : text.split(QRegularExpression(QStringLiteral("[;\\n]")))) {
        const QString entry = raw.trimmed();
        if (entry.isEmpty() || entry.startsWith('#'))
            continue;
        QString error;
        bool none = false;
        std::shared_ptr<DutModel> model = makeModel(entry, error, none);
        if (!error.isEmpty())
            setup.errors << error;
        else if (model)
            setup.models.push_back(std::move(model));
    }
    return setup;
}

QString configuredRelaySetup()
{
    const QByteArray env = qgetenv(kRelaySetupEnv);
    if (!env.trimmed().isEmpty())
        return QString::fromLocal8Bit(env);
    QFile file(zoplat::sandboxRoot() + QLatin1Char('/') + QLatin1String(kRelaySetupFile));
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        const QString text = QString::fromUtf8(file.read(64 * 1024));
        if (!text.trimmed().isEmpty())
            return text;
    }
    return QString::fromLatin1(kDefaultRelaySetup);
}

SimHost::Options SimHost::configuredOptions()
{
    Options options;
    options.relaySetup = configuredRelaySetup();
    return options;
}

SimHost::SimHost(const Options& options)
    : sim(std::make_unique<SimInstrument>())
{
    sim->attach();
    pacer = std::make_unique<SimPacer>(*sim, options.speed);
    pacer->start();

    if (options.serialDevices) {
        gnss = std::make_unique<SimGnssReceiver>(SimGnssReceiver::Family::Mtk, 9600);
        gnss->setUtcSeconds(QDateTime::currentSecsSinceEpoch());
        gnss->setSecondsPerEpoch(1);
        if (gnss->isOpen()) {
            gnss->start();
            zoplat::host::setGnssSerialDevice(gnss->slavePath());
        }
        battery = std::make_unique<SimBatteryPack>(SimBatteryPack::Protocol::Binary, 9600);
        if (battery->isOpen()) {
            battery->start();
            zoplat::host::setBatterySerialDevice(battery->slavePath());
        }
    }

    RelaySetup setup = parseRelaySetup(options.relaySetup);
    errors = setup.errors;
    for (const QString& e : errors)
        qWarning().noquote() << "simulator: relay description:" << e << "(left out)";
    for (const std::shared_ptr<DutModel>& model : setup.models) {
        sim->plugIn(model);
        qInfo().noquote() << "simulator:" << QString::fromStdString(model->name()) << "wired to the binary inputs";
    }
    plugged = std::move(setup.models);
}

SimHost::~SimHost()
{
    pacer->stop();
    sim->unplugAll();
    sim->detach();
    if (gnss) {
        gnss->stop();
        zoplat::host::setGnssSerialDevice(QString());
    }
    if (battery) {
        battery->stop();
        zoplat::host::setBatterySerialDevice(QString());
    }
}

} // namespace zorsim
