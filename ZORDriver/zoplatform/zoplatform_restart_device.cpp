// Device platform: starting a detached process (the application's restart).

#include "zoplatform.h"

#include <QProcess>

namespace zoplat {

int startDetached(const QString& program, const QStringList& args, const QString& workingDir)
{
    if (program.isEmpty())
        return -1;
    qint64 pid = -1;
    if (!QProcess::startDetached(program, args, workingDir, &pid) || pid <= 0)
        return -1;
    return int(pid);
}

} // namespace zoplat
