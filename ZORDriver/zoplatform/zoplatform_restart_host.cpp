// Host platform: starting a detached process, for the application's restart
// only. Restarting the running application itself is the product's own
// behaviour and leaves the machine as it was, so the host build does start
// it; any other program is refused. This is the one host source allowed to
// start a process (see the host source scan's allow-list).

#include "zoplatform.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

namespace zoplat {

int startDetached(const QString& program, const QStringList& args, const QString& workingDir)
{
    if (!QCoreApplication::instance() || program.isEmpty())
        return -1;
    const QString own = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    const QString wanted = QFileInfo(program).canonicalFilePath();
    if (own.isEmpty() || wanted != own)
        return -1;
    qint64 pid = -1;
    if (!QProcess::startDetached(program, args, workingDir, &pid) || pid <= 0)
        return -1;
    return int(pid);
}

} // namespace zoplat
