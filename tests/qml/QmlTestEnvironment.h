#pragma once

class QQmlEngine;

// What the QML tests and the screenshot program need before a QML file of the
// interface can load: the QML types and the interface resources registered,
// "qrc:/" on the import path, and a stub system view model as the context
// property "viewBaseModel" (owned by the engine). Call once per engine.
void zorPrepareQmlTestEngine(QQmlEngine* engine);

// Chooses the software scene graph (the device renders in software too)
// unless QT_QUICK_BACKEND says otherwise. Call before the first window.
void zorUseSoftwareRendering();
