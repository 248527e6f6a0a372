#include "ZorStartup.h"

#include "BaseUtilityHelper.h"
#include "ControllerCenter.h"
#include "CustomApplication.h"
#include "HostInstrument.h"
#include "NetServiceBase.h"
#include "ViewBaseModel.h"
#include "ZorInterfaceResources.h"
#include "ZorQmlTypes.h"
#include "zoplatform.h"
#include "zoshm_testing_share_handle.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMetaType>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QTextCodec>
#include <QThread>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>

// Q_INIT_RESOURCE must stand outside any namespace.
static void initShippedData()
{
    Q_INIT_RESOURCE(shipped_data);
}

namespace {

Q_LOGGING_CATEGORY(lcStartup, "zor.startup")

const char* const kShippedDat = ":/shipped/dat";

} // namespace

QString zorTranslationFile(int lanuageType)
{
    switch (lanuageType) {
    case ControllerConfiguration::LANGUAGE_TYPE_ENGLISH:
        return QStringLiteral(":/us_en.qm");
    case ControllerConfiguration::LANGUAGE_TYPE_PORTUGUESE:
        return QStringLiteral(":/pt_pt.qm");
    case ControllerConfiguration::LANGUAGE_TYPE_RUSSIAN:
        return QStringLiteral(":/ru_ru.qm");
    case ControllerConfiguration::LANGUAGE_TYPE_JAPANESE:
        return QStringLiteral(":/ja_jp.qm");
    default:
        return QStringLiteral(":/zh_cn.qm");
    }
}

int zorInstallShippedData(const QString& appRoot)
{
    initShippedData();
    int copied = 0;
    QDirIterator it(QString::fromLatin1(kShippedDat), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString relative = from.mid(int(qstrlen(kShippedDat)) + 1);
        const QString to = appRoot + QStringLiteral("/dat/") + relative;
        if (QFileInfo::exists(to))
            continue;
        QDir().mkpath(QFileInfo(to).absolutePath());
        if (!QFile::copy(from, to)) {
            qCWarning(lcStartup) << "could not install" << to;
            return -1;
        }
        // Copies out of the resources are read-only; the program's own files are not.
        QFile::setPermissions(to, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                      QFileDevice::ReadOther);
        ++copied;
    }
    return copied;
}

int zorStartDetachedCopy()
{
    // arguments() begins with the program name, which the program gets anyway.
    const QStringList args = QCoreApplication::arguments().mid(1);
    return zoplat::startDetached(QCoreApplication::applicationFilePath(), args, QDir::currentPath());
}

void zorReloadCalibrationOnDriverInit(ControllerCenter* center)
{
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(
        center, &ControllerCenter::sigUpdateDataToView, center, [center, connection](qint32 type, qint32 sub) {
            if (type != ControllerRuntime::DATA_TYPE_RT_STATE || sub != ControllerRuntime::STATE_TYPE_INIT)
                return;
            ControllerRuntime* runtime = center->testRuntime;
            runtime->dataLock();
            const bool initialised = runtime->STATE[ControllerRuntime::STATE_TYPE_INIT] != 0;
            runtime->dataUnlock();
            if (!initialised)
                return;
            QObject::disconnect(*connection);
            qCInfo(lcStartup, "driver initialised: loading the stored calibration into it");
            center->loadCal(0);
        });
}

namespace {

// Whether the network service's segments are free for this start; if not,
// says so on standard error.
bool segmentsFree()
{
    key_t key = 0;
    pid_t holder = 0;
    if (!shm_testing_held_elsewhere(&key, &holder))
        return true;
    const QByteArray by = holder > 0 ? QByteArray("by process ") + QByteArray::number(holder)
                                           + ", another copy of this application"
                                     : QByteArray("by another process");
    std::fprintf(stderr,
                 "The shared-memory segments under key 0x%08x are in use %s. This copy does not start, so as to "
                 "leave them alone. To run a second copy on this machine, give it a key base of its own with "
                 "ZOR_SHM_KEY_BASE.\n",
                 unsigned(key), by.constData());
    return false;
}

// The main window while the event loop runs, null before and after: a
// process ended from inside the loop (the display going away ends it with
// exit()) writes the open page's parameters on its way out.
QObject* loopMainWindow = nullptr;

void saveOpenPage(QObject* mainWindow)
{
    if (mainWindow && QMetaObject::invokeMethod(mainWindow, "saveOpenPage"))
        qCInfo(lcStartup, "open page's parameters saved");
}

void saveOpenPageAtExit()
{
    QObject* mainWindow = loopMainWindow;
    loopMainWindow = nullptr;
    if (mainWindow && QThread::currentThread() == mainWindow->thread())
        saveOpenPage(mainWindow);
}

QObject* findMainWindow(const QQmlApplicationEngine& engine)
{
    const QList<QObject*> roots = engine.rootObjects();
    return roots.isEmpty() ? nullptr : roots.first()->findChild<QObject*>(QStringLiteral("mainWindow"));
}

} // namespace

int zorRunApplication(int& argc, char** argv, const ZorStartupOptions& options)
{
    // Two copies on one set of segments would overwrite each other's machine
    // data and records, and the first to end would remove them under the other.
    if (!segmentsFree())
        return EXIT_FAILURE;

    // Qt runtime.
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    qRegisterMetaType<int>("qint32");
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);

    CustomApplication app(argc, argv);
    qCInfo(lcStartup, "application object created");
    zorEndEventLoopOnTerminationSignals();

    // What the board provides (the simulated one in the host build), and the
    // data files the program ships with, before the engine reads anything.
    zorSetUpInstrument();
    const int installed = zorInstallShippedData(BaseUtilityHelper::getAppRootPath());
    if (installed > 0)
        qCInfo(lcStartup, "installed %d shipped data file(s) into dat", installed);

    ControllerCenter* center = ControllerCenter::getInstance();
    zorReloadCalibrationOnDriverInit(center);
    qCInfo(lcStartup, "engine built");

    // The language is part of the software configuration, whose ratings rest
    // on the hardware's ranges: load both here, before anything is queued to
    // the configuration thread (its first loads and the main page's take
    // these reads).
    const int language = center->testConfiguration->loadStartupConfig();
    auto* translator = new QTranslator();
    const QString translation = zorTranslationFile(language);
    translator->load(translation);
    qCInfo(lcStartup) << "software configuration loaded; language" << language << "translation" << translation;

    center->initiate();
    center->testConfig();
    center->queryStart();
    center->batteryStart();
    qCInfo(lcStartup, "loads, driver set-up and polling queued");

    NetServiceBase* service = NetServiceBase::getInstance();
    service->netWorkServiceInit();
    qCInfo(lcStartup, "network service ready; driver %s",
           service->driverInitialised() ? "initialised" : "NOT initialised");

    app.installTranslator(translator);
    zorInitInterfaceResources();
    auto* engine = new QQmlApplicationEngine(&app);
    engine->addImportPath(QStringLiteral("qrc:/"));
    engine->rootContext()->setContextProperty(QStringLiteral("translator"), translator);
    zorRegisterQmlTypes();
    qCInfo(lcStartup, "QML engine created, types registered");

    const QUrl mainUrl = options.mainUrl;
    QObject::connect(
        engine, &QQmlApplicationEngine::objectCreated, &app,
        [mainUrl](QObject* object, const QUrl& url) {
            if (!object && url == mainUrl)
                QCoreApplication::exit(-1);
        },
        Qt::QueuedConnection);
    qCInfo(lcStartup) << "loading" << mainUrl.toString();
    engine->load(mainUrl);
    engine->retranslate();

    // Registered after everything the save needs has been set up, so that
    // exit() runs it first.
    static std::once_flag atExitRegistered;
    std::call_once(atExitRegistered, [] { std::atexit(saveOpenPageAtExit); });
    const int signal = zorTerminationSignal();
    loopMainWindow = findMainWindow(*engine);
    const int exitCode = signal ? 128 + signal : app.exec();
    qCInfo(lcStartup, "event loop ended with %d", exitCode);
    // Every clean end keeps what the user set on the open page.
    loopMainWindow = nullptr;
    saveOpenPage(findMainWindow(*engine));
    // Whatever ended the loop (the window, a signal, a restart): the remote
    // service's threads end while the application still exists.
    service->stopForExit();

    app.removeTranslator(translator);
    if (exitCode == ViewBaseModel::EXEC_CODE_REBOOT) {
        // The copy must find the segments free.
        shm_leave_testing_handle();
        const int pid = zorStartDetachedCopy();
        qCInfo(lcStartup, "restart: copy started as process %d", pid);
    }
    translator->deleteLater();
    engine->deleteLater();
    // Carry the releases out while the application object still exists.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return exitCode;
}
