// Qt Quick Test runner of the module pages: the real page against its real
// view model, the engine and the simulated instrument (ModulePageBench). One
// tst_*.qml file per process (ctest runs each on its own).

#include "ModulePageBench.h"

#include "ZorInterfaceResources.h"
#include "ZorQmlTypes.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QtQuickTest>

class ModulePageTestSetup : public QObject
{
    Q_OBJECT

public slots:
    void applicationAvailable()
    {
        // The device renders in software too.
        if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
            QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
        bench = new ModulePageBench(this);
        benchReady = bench->start();
    }

    void qmlEngineAvailable(QQmlEngine* engine)
    {
        zorInitInterfaceResources();
        zorRegisterQmlTypes();
        engine->addImportPath(QStringLiteral("qrc:/"));
        engine->rootContext()->setContextProperty(QStringLiteral("pageBench"), bench);
        engine->rootContext()->setContextProperty(QStringLiteral("pageBenchReady"), benchReady);
    }

    void cleanupTestCase()
    {
        if (bench)
            bench->stop();
    }

private:
    ModulePageBench* bench = nullptr;
    bool benchReady = false;
};

QUICK_TEST_MAIN_WITH_SETUP(zor_modulepage, ModulePageTestSetup)

#include "tst_modulepage_main.moc"
