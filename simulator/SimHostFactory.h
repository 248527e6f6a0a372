#pragma once

// The simulated board of the host application, built in one place: the
// instrument attached to the register link and paced from real time, a GNSS
// receiver and a battery pack on pseudo-terminals with the platform's serial
// paths pointed at them, and the relays (or meter) wired to the binary
// inputs as a relay description names them.
//
// Relay description: entries separated by ';' or new lines, each
// "model" or "model:key=value,key=value,...". Channels are 0..7 or
// UA UB UC UX IA IB IC IX; channel lists join channels with '+'; binary
// inputs are 0..3; times are in seconds. The models and their keys are
// those of the relay model registry (SimRelayRegistry.h, relayModels()).
// Example: "threshold:channel=IA,pickup=5,delay=0.03,input=0".
// The description comes from $ZOR_SIM_RELAY, else from the file
// "sim-relay.conf" in the sandbox root (lines starting with '#' ignored),
// else kDefaultRelaySetup. An entry with an error is left out and reported.
// The amplifiers' ambient temperature (degC) comes from $ZOR_SIM_AMBIENT,
// else it is 25.

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace zorsim {

class DutModel;
class SimBatteryPack;
class SimGnssReceiver;
class SimInstrument;
class SimPacer;

constexpr const char* kDefaultRelaySetup = "threshold:channel=IA,pickup=5,delay=0.03,input=0";
constexpr const char* kRelaySetupEnv = "ZOR_SIM_RELAY";
constexpr const char* kRelaySetupFile = "sim-relay.conf";
constexpr const char* kAmbientEnv = "ZOR_SIM_AMBIENT";

struct RelaySetup
{
    std::vector<std::shared_ptr<DutModel>> models;
    QStringList errors;   // one text per entry left out
};

RelaySetup parseRelaySetup(const QString& text);

// The description text in force (environment, sandbox file or default).
QString configuredRelaySetup();

class SimHost
{
public:
    struct Options
    {
        QString relaySetup = QString::fromLatin1(kDefaultRelaySetup);
        double speed = 1.0;          // virtual seconds per real second
        bool serialDevices = true;   // GNSS receiver and battery pack
        double ambientDegC = 25.0;   // around the amplifiers
    };

    // Options with the configured relay description and ambient.
    static Options configuredOptions();

    // Builds and starts everything; the pacer's timer runs in the calling thread.
    explicit SimHost(const Options& options);
    ~SimHost();   // stops, unplugs and detaches; the serial paths return to their defaults
    SimHost(const SimHost&) = delete;
    SimHost& operator=(const SimHost&) = delete;

    SimInstrument& instrument() { return *sim; }
    SimGnssReceiver* gnssReceiver() { return gnss.get(); }
    SimBatteryPack* batteryPack() { return battery.get(); }
    const std::vector<std::shared_ptr<DutModel>>& relays() const { return plugged; }
    const QStringList& relayErrors() const { return errors; }

private:
    std::unique_ptr<SimInstrument> sim;
    std::unique_ptr<SimPacer> pacer;
    std::unique_ptr<SimGnssReceiver> gnss;
    std::unique_ptr<SimBatteryPack> battery;
    std::vector<std::shared_ptr<DutModel>> plugged;
    QStringList errors;
};

}   // namespace zorsim
