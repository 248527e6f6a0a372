#pragma once

// What the probe's main windows ask about the start-up they were loaded by.

#include "ControllerCenter.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QObject>

#include <cstdio>

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

    // The exit code the window ends the program with ($ZOR_PROBE_EXIT, default 0).
    Q_INVOKABLE int exitCode() const { return qEnvironmentVariableIntValue("ZOR_PROBE_EXIT"); }
};
