#include "SimHostFactory.h"

#include "SimDut.h"
#include "SimInstrument.h"
#include "SimPacer.h"
#include "SimRelayRegistry.h"
#include "serial/SimBatteryPack.h"
#include "serial/SimGnssReceiver.h"
#include "zoplatform.h"
#include "zoplatform_control_host.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QRegularExpression>

namespace zorsim {

namespace {

// One entry "model[:settings]": the model, or null (with the error text set
// when the entry is not acceptable).
std::shared_ptr<DutModel> makeModel(const QString& entry, QString& error)
{
    const int colon = entry.indexOf(':');
    const QString name = (colon < 0 ? entry : entry.left(colon)).trimmed().toLower();
    const RelayModelEntry* model = findRelayModel(name);
    if (model == nullptr) {
        error = QStringLiteral("unknown model \"%1\"").arg(name);
        return nullptr;
    }
    return model->make(colon < 0 ? QString() : entry.mid(colon + 1), error);
}

}   // namespace

RelaySetup parseRelaySetup(const QString& text)
{
    RelaySetup setup;
    for (const QString& raw : text.split(QRegularExpression(QStringLiteral("[;\\n]")))) {
        const QString entry = raw.trimmed();
        if (entry.isEmpty() || entry.startsWith('#'))
            continue;
        QString error;
        std::shared_ptr<DutModel> model = makeModel(entry, error);
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
    const QByteArray ambient = qgetenv(kAmbientEnv).trimmed();
    if (!ambient.isEmpty()) {
        bool ok = false;
        const double degC = ambient.toDouble(&ok);
        if (ok && degC >= -40.0 && degC <= 85.0)
            options.ambientDegC = degC;
        else
            qWarning().noquote() << "simulator:" << kAmbientEnv
                                 << "is no temperature from -40 to 85 degC:" << QString::fromLocal8Bit(ambient)
                                 << "(25 taken)";
    }
    return options;
}

SimHost::SimHost(const Options& options)
    : sim(std::make_unique<SimInstrument>())
{
    sim->setAmbientTemperature(options.ambientDegC);
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
    if (!errors.isEmpty())
        qInfo().noquote() << "simulator: relay models and their keys:\n" + relayModelsHelp();
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

}   // namespace zorsim
