#pragma once

// The module page tests' bench: the whole engine on the simulated instrument,
// in a sandbox of its own, with the relays of a description in the
// ZOR_SIM_RELAY syntax wired to the binary inputs. The QML tests reach it as
// the context property "pageBench" (observation and the simulator's back
// door only: a page itself is driven through its controls).
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
} // namespace zorsim

class ControllerCenter;
class QQuickItem;

class ModulePageBench : public QObject
{
    Q_OBJECT

public:
    static constexpr double kTimeScale = 0.05;
    static constexpr int kDeadlineMs = 60000;

    explicit ModulePageBench(QObject* parent = nullptr);
    ~ModulePageBench() override;

    // Sandbox, instrument, engine; the driver initialised and the polling
    // loop running, nothing wired yet. False (with a warning) when any of it
    // failed.
    bool start();
    // Ends the engine's threads, then the instrument.
    void stop();

    // ---- For the QML tests ------------------------------------------------------------
    // Wires the relays of a description ("model:key=value,...;...") in place
    // of those before, every binary-input contact open first. False, with
    // nothing changed and the errors in relayErrors(), when an entry does
    // not parse.
    Q_INVOKABLE bool setRelays(const QString& description);
    Q_INVOKABLE QString relayErrors() const { return errors; }
    // Times the contact at binary input 0..3 closed / opened so far, whoever
    // moved it.
    Q_INVOKABLE int contactCloses(int input) const;
    Q_INVOKABLE int contactOpens(int input) const;
    // The folder of a module's files ("AC", ...) for a TESTType.
    Q_INVOKABLE QString moduleFolder(int testType) const;
    // The instrument plays an output page.
    Q_INVOKABLE bool outputPlaying() const;
    // RMS on the terminals of channel 0..7 (UA..IX), 0 while not energised.
    Q_INVOKABLE double measuredRms(int channel) const;
    // The DC value on the terminals of channel 0..7, 0 while not energised.
    Q_INVOKABLE double measuredDc(int channel) const;
    // All four amplifier temperature sensors, degC.
    Q_INVOKABLE void setAmplifierTemperature(double degC);
    // The IRIG-B signal at the clock block's input: present (a fixed UTC
    // second running on from now) or lost.
    Q_INVOKABLE void setIrigbSignal(bool present);
    // A file under the sandbox (absolute path); empty when missing or outside.
    Q_INVOKABLE QString readFile(const QString& path) const;
    Q_INVOKABLE bool fileExists(const QString& path) const;
    // Protocol violations of the product's link code (empty when none).
    Q_INVOKABLE QString violationText() const;
    // The platform's mount check of the USB stick says it is (not) mounted.
    Q_INVOKABLE void setUsbStickMounted(bool mounted);
    // The sandbox file of a device path ("/media/usb/...") and of a path
    // below the application root ("dat/calacamp.xml").
    Q_INVOKABLE QString devicePath(const QString& path) const;
    Q_INVOKABLE QString appPath(const QString& relative) const;
    // A folder put in the place of a file (under the sandbox), so that the
    // file cannot be written there; and taken away again.
    Q_INVOKABLE bool blockFile(const QString& path, bool blocked);
    // What `item` shows in a frame drawn now
    // as ZOR_SCREENSHOT_DIR/modulepages/<language>/<name>.png, the language
    // being that of the translation the run installed ("-translation
    // :/us_en.qm"; zh_cn without one). False when nothing could be taken.
    Q_INVOKABLE bool savePicture(QQuickItem* item, const QString& name) const;
    // AC amplitude coefficients in the driver's calibration record.
    Q_INVOKABLE double driverAcampFactor(int port, int level, int point) const;
    Q_INVOKABLE double driverAcampOffset(int port, int level, int point) const;

private:
    bool insideSandbox(const QString& path) const;

    QTemporaryDir sandbox;
    QString previousDir;
    QString errors;
    std::unique_ptr<zorsim::SimInstrument> sim;
    std::unique_ptr<zorsim::SimRealTimePacer> pacer;
    ControllerCenter* center = nullptr;
};
