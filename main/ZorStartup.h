#pragma once

// Start-up of the front panel, its restart and the small pieces it is made
// of. Everything here runs on the main thread.

#include <QString>
#include <QUrl>

class ControllerCenter;

struct ZorStartupOptions
{
    QUrl mainUrl = QUrl(QStringLiteral("qrc:/Main.qml"));
};

// Brings the instrument up in order (Qt runtime, application object,
// engine, language and translator, queued loads, driver set-up, the bounded
// wait for the driver, QML types, the main window), runs the event loop and
// returns its exit code. On EXEC_CODE_REBOOT (1024) a detached copy of the
// program has been started first, after this one let go of its shared-memory
// segments. The main window not created: -1. The shared-memory segments of
// the key base held by another running process: 1, said on standard error,
// before anything is started.
int zorRunApplication(int& argc, char** argv, const ZorStartupOptions& options = ZorStartupOptions());

// Translation resource for a language setting (unknown values: Chinese).
QString zorTranslationFile(int lanuageType);

// Copies the data files shipped with the program into <appRoot>/dat where
// they are missing (an existing file is never replaced). Returns how many
// were copied, -1 when one could not be.
int zorInstallShippedData(const QString& appRoot);

// Starts a detached copy of the running program: same file, the same
// arguments (without the program name) and the current working directory.
// Returns the copy's process id, or -1.
int zorStartDetachedCopy();

// Loads the stored calibration into the driver again when the driver first
// reports itself initialised: the load queued at start-up may run before the
// driver records exist and then never reaches them.
void zorReloadCalibrationOnDriverInit(ControllerCenter* center);
