#pragma once

// What the probe's main windows ask about the start-up they were loaded by.

#include "ControllerCenter.h"
#include "NetServiceBase.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QObject>

#include <cstdio>
#include <cstdlib>
#include <sys/time.h>

class ProbeFacts : public QObject
{
    Q_OBJECT

public:
    // Prints one line "probe: {...}" on standard output with the state of
    // the engine as the main window finds it.
    Q_INVOKABLE void report(bool translatorSet, bool helperRegistered)
    {
        ControllerCenter* center = ControllerCenter::getInstance();
        QJsonObject facts;
        facts["driverInitialised"] = center->testConfiguration->initDriverEnable.load();
        facts["queryRunning"] = center->testQuery->isQueryRunning();
        facts["batteryRunning"] = center->testBattery->isQueryRunning();
        facts["translatorSet"] = translatorSet;
        facts["helperRegistered"] = helperRegistered;
        facts["timeZonesInstalled"] = QFileInfo::exists(QDir::currentPath() + "/dat/CUSTOM_TIMEZONES.XML");
        const QByteArray line = "probe: " + QJsonDocument(facts).toJson(QJsonDocument::Compact) + "\n";
        std::fputs(line.constData(), stdout);
        std::fflush(stdout);
    }

    // Prints one line "remote: {...}": the remote-control step, whether the
    // footer's box is ticked, the service and the switch setting, the
    // threads and descriptors of the process and the SIGALRM timer.
    Q_INVOKABLE void reportRemote(const QString& step, bool boxChecked)
    {
        ControllerCenter* center = ControllerCenter::getInstance();
        NetServiceBase* service = NetServiceBase::existingInstance();
        itimerval timer{};
        getitimer(ITIMER_REAL, &timer);
        QJsonObject facts;
        facts["step"] = step;
        facts["boxChecked"] = boxChecked;
        facts["serviceEnabled"] = service && service->isServiceEnabled();
        facts["netConnect"] = center->testConfiguration->bNetConnect;
        facts["threads"] = int(QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
        facts["descriptors"] = int(QDir("/proc/self/fd").entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size());
        facts["timerIntervalUs"] = int(timer.it_interval.tv_usec);
        const QByteArray line = "remote: " + QJsonDocument(facts).toJson(QJsonDocument::Compact) + "\n";
        std::fputs(line.constData(), stdout);
        std::fflush(stdout);
    }

    // The remote box's steps the window takes: 1 in mode "remote-on", else 4.
    Q_INVOKABLE int remoteSteps() const { return qgetenv("ZOR_PROBE_MODE") == "remote-on" ? 1 : 4; }

    // Prints "page: <seconds>" (the open page's first state's time); $ZOR_PROBE_MODE;
    // exit() from inside the event loop, as when the display goes away.
    Q_INVOKABLE void reportPage(double seconds) { std::printf("page: %g\n", seconds); std::fflush(stdout); }
    Q_INVOKABLE QString mode() const { return QString::fromLocal8Bit(qgetenv("ZOR_PROBE_MODE")); }
    Q_INVOKABLE void exitProcess(int code) { std::exit(code); }

    // Prints "notice: <text>" (its lines joined by " | "): what the main
    // window tells of the files read at the start.
    Q_INVOKABLE void reportNotice(const QString& text)
    {
        const QByteArray line = "notice: " + text.split(QLatin1Char('\n')).join(QStringLiteral(" | ")).toUtf8() + "\n";
        std::fputs(line.constData(), stdout);
        std::fflush(stdout);
    }

    // The exit code the window ends the program with ($ZOR_PROBE_EXIT, default 0).
    Q_INVOKABLE int exitCode() const { return qEnvironmentVariableIntValue("ZOR_PROBE_EXIT"); }
};
