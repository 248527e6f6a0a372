#include "TestSandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TestSandbox::TestSandbox()
    : dir(QDir::tempPath() + "/zor-test-XXXXXX")
{
}

QString TestSandbox::write(const QString& name, const QByteArray& bytes) const
{
    const QString full = QFileInfo(name).isAbsolute() ? name : filePath(name);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
    return full;
}

QByteArray TestSandbox::read(const QString& name) const
{
    QFile f(QFileInfo(name).isAbsolute() ? name : filePath(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QByteArray testData(const QString& name)
{
    QFile f(QString(ZOR_TEST_DATA_DIR) + "/data/" + name);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}
