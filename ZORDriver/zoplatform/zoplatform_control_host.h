#pragma once

// Test control of the host platform (host build only): the command record and
// scripted command results, the sandbox root, the in-process clock and the
// settings. Everything is thread-safe; reset() returns to the defaults.

#include "zoplatform.h"

#include <QStringList>

#include <vector>

namespace zoplat {
namespace host {

// Every command line given to runCommand(), in order.
QStringList recordedCommands();
void clearRecordedCommands();

// From now on, a command line that starts with lineStart returns result
// (the longest matching lineStart wins; an equal one replaces the old script).
// A scripted command is only recorded, never carried out.
void scriptCommand(const QString& lineStart, const CommandResult& result);
void clearCommandScripts();

// Sandbox root: an empty text returns to $ZOR_SANDBOX_ROOT or <cwd>/sandbox.
void setSandboxRoot(const QString& root);

// Clock: systemTimeMs() = real time + offset. Requests are recorded in order.
int64_t clockOffsetMs();
std::vector<int64_t> recordedTimeSettings();    // seconds since the epoch
std::vector<int> recordedTimeZones();           // minutes west
int timeZoneMinutesWest();                      // last set, 0 at start
void resetClock();

// Settings (defaults: $ZOR_SHM_KEY_BASE or 0xA0A01234, "lo", "127.0.0.1",
// 10801, 10901). The serial devices default to devicePath("/dev/ttyO4") and
// devicePath("/dev/ttyO3"); a path set here (e.g. a pseudo-terminal) is used
// as it is; an empty one returns to the default.
void setSharedMemoryKeyBase(key_t base);
void setNetworkInterface(const QString& name);
void setBeaconDestination(const QString& address);
void setBeaconPort(uint16_t port);
void setServerPort(uint16_t port);
// Defaults: bind-to-device off, destination port beacon port + 1.
void setBindToDevice(bool bind);
void setBeaconDestinationPort(uint16_t port);   // 0: beacon port + 1
void setGnssSerialDevice(const QString& path);
void setBatterySerialDevice(const QString& path);

// Everything above back to its default, plus real time (scale 1, no custom
// sleeper or clock).
void reset();

} // namespace host
} // namespace zoplat
