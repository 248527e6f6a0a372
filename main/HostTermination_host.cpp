// Host build: a termination signal ends the event loop instead of the process.
// The handler only writes the signal's number into a socket pair; the read
// side, on the main thread, leaves the event loop.

#include "HostInstrument.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

Q_LOGGING_CATEGORY(lcTermination, "zor.startup")

int signalPipe[2] = {-1, -1};
int takenSignal = 0;   // main thread only

extern "C" void writeSignal(int number)
{
    const unsigned char byte = static_cast<unsigned char>(number);
    const ssize_t written = ::write(signalPipe[0], &byte, 1);
    (void)written;   // a full pipe already holds a pending end
}

} // namespace

void zorEndEventLoopOnTerminationSignals()
{
    if (signalPipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier] {
        unsigned char number = 0;
        if (::read(signalPipe[1], &number, 1) != 1)
            return;
        notifier->setEnabled(false);
        takenSignal = number;
        qCInfo(lcTermination, "signal %d: ending the event loop", int(number));
        QCoreApplication::exit(128 + number);
    });
    struct sigaction action {};
    action.sa_handler = writeSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(number, &action, nullptr);
    qCInfo(lcTermination, "termination signals end the event loop");
}

int zorTerminationSignal()
{
    return takenSignal;
}
