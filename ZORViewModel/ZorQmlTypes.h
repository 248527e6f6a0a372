#pragma once

// Registers every C++ type the QML interface uses, each under its own module
// "ZOR.<type>" 1.0 (the utility singleton as "ZOR.ViewUtilityHelper" 1.0).
// The application calls it before loading "qrc:/Main.qml", the QML tests from
// their engine set-up. The types are registered once per process; further
// calls do nothing. GUI thread.
void zorRegisterQmlTypes();
