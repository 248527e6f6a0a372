// Qt Quick Test runner of the interface controls: every tst_*.qml file gets
// an engine prepared like the application's (types, resources, import path)
// with a stub system view model.

#include "QmlTestEnvironment.h"

#include <QObject>
#include <QQmlEngine>
#include <QtQuickTest>

class ZorQmlTestSetup : public QObject
{
    Q_OBJECT

public slots:
    void applicationAvailable() { zorUseSoftwareRendering(); }
    void qmlEngineAvailable(QQmlEngine* engine) { zorPrepareQmlTestEngine(engine); }
};

QUICK_TEST_MAIN_WITH_SETUP(zor_qml, ZorQmlTestSetup)

#include "tst_qml_main.moc"
