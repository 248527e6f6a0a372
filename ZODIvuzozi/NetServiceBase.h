#pragma once

// The Qt side of the remote-control network service: a process-wide object
// on the GUI thread. Start-up prepares it and waits (bounded) for the
// driver; the engine's change notices and the interface's remote-control
// switch reach it through the engine facade. Start-up prepares the shared
// segments and the machine data (CommNetCtrlBase); the network threads are
// not built yet: switching remote control on only marks the service enabled.

#include <QObject>
#include <QTimer>

#include <cstdint>

class ControllerCenter;

class NetServiceBase : public QObject
{
    Q_OBJECT

public:
    // Start-up waits this long for the driver before it opens the window
    // anyway (ms of product time, checked every DRIVER_POLL_MS).
    static constexpr int DRIVER_WAIT_LIMIT_MS = 10000;
    static constexpr int DRIVER_POLL_MS = 1000;

    // The machine's identity as the remote PC reads it (fixed-size, NUL padded).
    struct DeviceAssemblyInfo
    {
        uint8_t device_guid[32] = {};
        uint8_t device_code[16] = {};
        uint8_t device_kind[16] = {};
        uint8_t device_date[16] = {};
        uint32_t device_version[16] = {};
    };

    // The service; the first call (start-up, GUI thread) creates it. It is
    // never destroyed.
    static NetServiceBase* getInstance();

    // Start-up: prepares the shared segments and the machine defaults, then
    // blocks its caller, checking once a second, until the driver
    // is initialised, but at most DRIVER_WAIT_LIMIT_MS; the caller's events
    // are handled meanwhile. Once initialised, the device information is
    // copied. When the limit passes first, the check goes on once a second
    // in the background and sigDriverInitialised() tells when it succeeded.
    // The remote service stays switched off; no thread is started.
    void netWorkServiceInit();

    // Whether the driver is initialised now (the configuration worker's flag).
    bool driverInitialised() const;
    // Whether the check of netWorkServiceInit has seen the driver initialised.
    bool driverReady() const { return driverSeen; }

    // Copies the device code, model, FPGA version text and software version
    // from the configuration into the device information and the machine
    // segment.
    void updateDeviceInfo();
    DeviceAssemblyInfo deviceAssemblyInfo() const { return assemblyInfo; }

    // For each binary output i = 0..3 whose bit is set in mask: output i :=
    // bit i of states; then sends the outputs. Nothing while the driver
    // records do not exist.
    void setBOState(uint mask, uint states);

    bool isServiceEnabled() const { return netServiceEnable; }

    qint32 testingSTATE[16] = {};   // copy of the runtime's state words
    bool netServiceEnable = false;  // notices are handled only while true
    bool bControlEnable = true;     // no parameter record is being converted
    double oldDitherTime = 0.0;     // the configuration's dither time at service start

public slots:
    // The engine's change notices (GUI thread).
    void updateDataToNet(qint32 dataType, qint32 subType);
    // The interface's remote-control switch.
    void updateViewConnectEnable(bool enable);

signals:
    // The driver was found initialised by the check of netWorkServiceInit
    // (emitted once).
    void sigDriverInitialised();

private:
    NetServiceBase();
    ~NetServiceBase() override;

    void waitProductMs(int ms);
    void checkDriver();
    void driverFound();

    ControllerCenter* center;
    bool driverSeen = false;
    QTimer driverCheck;
    DeviceAssemblyInfo assemblyInfo;
};
