#include "QmlTestEnvironment.h"

#include "ViewBaseModelStub.h"
#include "ZorInterfaceResources.h"
#include "ZorQmlTypes.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QSGRendererInterface>

void zorPrepareQmlTestEngine(QQmlEngine* engine)
{
    zorInitInterfaceResources();
    zorRegisterQmlTypes();
    engine->addImportPath(QStringLiteral("qrc:/"));
    engine->rootContext()->setContextProperty(QStringLiteral("viewBaseModel"), new ViewBaseModelStub(engine));
}

void zorUseSoftwareRendering()
{
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
}
