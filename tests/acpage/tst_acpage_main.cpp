// Qt Quick Test runner of the AC page: the real page against its real view
// model, the engine and the simulated instrument (AcPageBench). One
// tst_acpage_*.qml file per process (ctest runs each on its own).

#include "AcPageBench.h"

#include "ZorInterfaceResources.h"
#include "ZorQmlTypes.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QtQuickTest>

class AcPageTestSetup : public QObject
{
    Q_OBJECT

public slots:
    void applicationAvailable()
    {
        // The device renders in software too.
        if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
            QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
        bench = new AcPageBench(this);
        benchReady = bench->start();
    }

    void qmlEngineAvailable(QQmlEngine* engine)
    {
        zorInitInterfaceResources();
        zorRegisterQmlTypes();
        engine->addImportPath(QStringLiteral("qrc:/"));
        engine->rootContext()->setContextProperty(QStringLiteral("acBench"), bench);
        engine->rootContext()->setContextProperty(QStringLiteral("acBenchReady"), benchReady);
    }

    void cleanupTestCase()
    {
        if (bench)
            bench->stop();
    }

private:
    AcPageBench* bench = nullptr;
    bool benchReady = false;
};

QUICK_TEST_MAIN_WITH_SETUP(zor_acpage, AcPageTestSetup)

#include "tst_acpage_main.moc"
