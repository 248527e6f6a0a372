#pragma once

// The one entry point into the test engine: a process-wide singleton that
// owns the five workers, gives each a thread of its own and wires them
// together. Its operations may be called from any thread (the GUI, the
// network service); nearly all of them only emit a signal that reaches a
// worker's slot queued, so the caller never waits for the hardware.
//
// The runtime store's two notices are relayed: every listener of the
// facade's sigUpdateSOEToView / sigUpdateDataToView receives them on the
// thread the facade lives on (the main thread).

#include "ControllerBattery.h"
#include "ControllerConfiguration.h"
#include "ControllerQuery.h"
#include "ControllerRuntime.h"
#include "ControllerTestor.h"

#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QThread>

#include <atomic>

class ControllerCenter : public QObject
{
    Q_OBJECT

public:
    // The instance; the first call creates the engine and starts its threads.
    // It is never destroyed while the process runs.
    static ControllerCenter* getInstance();

    ControllerRuntime* testRuntime;
    ControllerTestor* testTestor;
    ControllerConfiguration* testConfiguration;
    ControllerQuery* testQuery;
    ControllerBattery* testBattery;
    QThread* configThread;
    QThread* runtimeThread;
    QThread* testorThread;
    QThread* queryingThread;
    QThread* batteryThread;

    // Signal connections made between the facade and the workers.
    int connectionCount() const { return connections; }

    // As testStart(); `decided` is told on the testor's thread what the start
    // came to (ControllerTestor::StartOutcome).
    void testStart(const ControllerTestor::StartDecided& decided);
    // Runs `asks` on this thread; the start it asks through testStart()
    // tells `decided` what it came to, as above. Whether it asked one.
    bool startTelling(const ControllerTestor::StartDecided& decided, const std::function<void()>& asks);
    // The state playing ends and the run goes on to the next, or a steady
    // output is sent again (ControllerTestor::doTestNextState), queued;
    // `first`, when given, runs on the testor's thread right before, and
    // nothing is done when it says no. `told`, when given, is told there why
    // it changed nothing (empty: it was made).
    void testNextState(const std::function<bool()>& first = {},
                       const std::function<void(const QString&)>& told = {});

    // The module page the user has open (GUI thread): the view model that
    // last made its module (`type`) the active one, while it lives. A remote
    // start with no record of its spell is made through its Start, as the
    // page's own button makes it (its invokable testStart()).
    void setActivePage(QObject* page, qint32 type);
    QObject* activePage(qint32 type) const;
    // The module of that page made the active one again (GUI thread).
    void activatePageModule();

public slots:
    void initiate();
    void testAuxDC(bool enable, qint32 level);
    void testAuxDC(bool enable, double value);
    void saveBattery(quint8 mos);
    void setBatteryInfoEnable(bool enable);
    void testConfig();
    void testActive(qint32 type);
    void testStart();
    // A stop also cancels the starts asked before it that have not begun to
    // play (ControllerTestor::cancelAskedStarts).
    void testInterrupt();
    void testSwitch();
    void testBOState();
    void testRelease();
    void testKeyPress();
    void emptySOEList();
    void queryStart();
    void batteryStart();
    void saveBatteryConfig();
    void loadBatteryConfig();
    void updateClockSyncConfig();
    void saveConfig(qint32 type, bool hwChecked);
    void loadConfig(qint32 type);
    void saveCal(qint32 type);
    void loadCal(qint32 type);
    void resetCal(qint32 type, bool cursel);
    void exportCal(qint32 type);
    void importCal(qint32 type);
    void queryInterrupt();
    void batteryInterrupt();

signals:
    void sigTestAuxDC(bool enable, qint32 swdata);
    void sigTestAuxDC(bool enable, double swvalue);
    void sigTestConfig();
    void sigTestBOState();
    void sigTestStart();
    void sigTestInterrupt();
    void sigTestSwitch();
    void sigTestRelease();
    void sigEmptySOEList();
    void sigSaveBattery(quint8 mosdata);
    void sigTestKeyPress();
    void sigUpdateViewConnectEnable(bool enable);
    // Relayed from the network service: remote control could not be switched
    // on; port ("TCP 10901") and reason name the port that could not be
    // used, both empty when no port was at fault.
    void sigNetServiceRefused(const QString& port, const QString& reason);
    void sigQueryStart();
    void sigBatteryStart();
    void sigSaveConfig(qint32 type, bool hwChecked);
    void sigLoadConfig(qint32 type);
    void sigSaveBatteryConfig();
    void sigLoadBatteryConfig();
    void sigSaveCal(qint32 type);
    void sigLoadCal(qint32 type);
    void sigResetCal(qint32 type, bool cursel);
    void sigUpdateSOEToView(const QString& text);
    void sigUpdateDataToView(qint32 dataType, qint32 subType);
    void sigExportCal(qint32 type);
    void sigImportCal(qint32 type);
    void sigUpdateClockSyncConfig();

private:
    // At process exit: the polling loops and worker threads end before the
    // statics they use are torn down (the engine itself is never destroyed).
    static void endThreadsAtExit();
    ControllerCenter();
    ~ControllerCenter() override;

    void link(const QObject* sender, const char* signal, const QObject* receiver, const char* method,
              Qt::ConnectionType type = Qt::AutoConnection);

    static std::atomic<ControllerCenter*> instance;

    int connections = 0;
    QMutex activeMutex;   // keeps the testor's and the loop's selection in step
    QPointer<QObject> page;
    qint32 pageType = -1;
};
