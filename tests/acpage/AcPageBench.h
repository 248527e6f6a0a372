#pragma once

// The AC page tests' bench: the whole engine on the simulated instrument with
// a threshold relay on IA wired to binary input 1, in a sandbox of its own.
// The QML tests reach it as the context property "acBench" (observation and
// the simulator's back door only: the page itself is driven through its
// controls).
//
// The engine is a process-wide singleton that is never destroyed, so every
// test file runs in a process of its own (one ctest test per file). Time: the
// product's waits run at kTimeScale of real time and the simulator's clock is
// paced from real time by the same factor; tests wait on conditions.

#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace zorsim {
class SimInstrument;
class SimRealTimePacer;
class ThresholdRelay;
} // namespace zorsim

class ControllerCenter;

class AcPageBench : public QObject
{
    Q_OBJECT

public:
    static constexpr double kTimeScale = 0.05;
    static constexpr int kDeadlineMs = 60000;
    // The relay under test: picks up at 4.5 A on IA after 0.2 s, drops off
    // below 4.275 A, closes binary input 1 (index 0).
    static constexpr double kRelayPickup = 4.5;
    static constexpr double kRelayDelaySeconds = 0.2;

    explicit AcPageBench(QObject* parent = nullptr);
    ~AcPageBench() override;

    // Sandbox, instrument, relay, engine; the driver initialised and the
    // polling loop running. False (with a warning) when any of it failed.
    bool start();
    // Ends the engine's threads, then the instrument.
    void stop();

    // ---- For the QML tests ------------------------------------------------------------
    Q_INVOKABLE double relayPickupValue() const { return kRelayPickup; }
    // Times the relay's contact closed / opened so far.
    Q_INVOKABLE int relayPickups() const;
    Q_INVOKABLE int relayDropoffs() const;
    // The instrument plays an output page.
    Q_INVOKABLE bool outputPlaying() const;
    // RMS on the terminals of channel 0..7 (UA..IX), 0 while not energised.
    Q_INVOKABLE double measuredRms(int channel) const;
    // All four amplifier temperature sensors, degC.
    Q_INVOKABLE void setAmplifierTemperature(double degC);
    // A file under the sandbox (absolute path); empty when missing or outside.
    Q_INVOKABLE QString readFile(const QString& path) const;
    Q_INVOKABLE bool fileExists(const QString& path) const;
    // Protocol violations of the product's link code (empty when none).
    Q_INVOKABLE QString violationText() const;

private:
    bool insideSandbox(const QString& path) const;

    QTemporaryDir sandbox;
    QString previousDir;
    std::unique_ptr<zorsim::SimInstrument> sim;
    std::unique_ptr<zorsim::SimRealTimePacer> pacer;
    std::shared_ptr<zorsim::ThresholdRelay> relay;
    ControllerCenter* center = nullptr;
};
