// Runs the real start-up with a main window of its own, chosen by
// $ZOR_PROBE_MODE:
//   report  (default) Report.qml: reports what it finds, exits with $ZOR_PROBE_EXIT
//   restart the first start exits with the restart code; the copy it starts
//           stays open (Stay.qml) until it is ended. Every start appends its
//           process id to "probe-starts.txt" in the working directory.
//   stay    Stay.qml: stays open until it is ended
//   missing a main window that does not exist
//   broken  a main window that does not compile
//   remote  the real main window, its remote box ticked and unticked twice
//           (Remote.qml; ports $ZOR_PROBE_SERVER_PORT, $ZOR_PROBE_BEACON_PORT)
//   remote-on  the same, its remote box ticked once; stays open until ended
//   page-edit, page-exit, page-read  the real main window with the state-
//           sequence page open (Page.qml): edited and left open, edited and
//           ended with exit(1), or read and ended
//   notice  Notice.qml: reports the start-up notice of damaged files, exits 0

#include "ProbeFacts.h"
#include "ZorStartup.h"
#include "zoplatform_control_host.h"

#include <QFile>
#include <QQmlEngine>

#include <unistd.h>

int main(int argc, char** argv)
{
    const QByteArray mode = qgetenv("ZOR_PROBE_MODE");
    QString page = QStringLiteral("Report.qml");
    if (mode == "restart") {
        QFile starts(QStringLiteral("probe-starts.txt"));
        if (!starts.open(QIODevice::Append | QIODevice::Text))
            return 2;
        page = starts.size() == 0 ? QStringLiteral("Restart.qml") : QStringLiteral("Stay.qml");
        starts.write(QByteArray::number(qint64(getpid())) + "\n");
    } else if (mode == "stay") {
        page = QStringLiteral("Stay.qml");
    } else if (mode == "missing") {
        page = QStringLiteral("Missing.qml");
    } else if (mode == "broken") {
        page = QStringLiteral("Broken.qml");
    } else if (mode == "notice") {
        page = QStringLiteral("Notice.qml");
    } else if (mode.startsWith("page-")) {
        page = QStringLiteral("Page.qml");
    } else if (mode == "remote" || mode == "remote-on") {
        // The service listens and announces on the ports the test chose.
        page = QStringLiteral("Remote.qml");
        zoplat::host::setServerPort(uint16_t(qEnvironmentVariableIntValue("ZOR_PROBE_SERVER_PORT")));
        zoplat::host::setBeaconPort(uint16_t(qEnvironmentVariableIntValue("ZOR_PROBE_BEACON_PORT")));
    }

    qmlRegisterSingletonType<ProbeFacts>("ZorProbe", 1, 0, "ZorProbe",
                                         [](QQmlEngine*, QJSEngine*) -> QObject* { return new ProbeFacts(); });
    ZorStartupOptions options;
    options.mainUrl = QUrl(QStringLiteral("qrc:/startup-probe/") + page);
    return zorRunApplication(argc, argv, options);
}
