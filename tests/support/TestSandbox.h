#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh, private folder for one test; removed with the object.
class TestSandbox
{
public:
    TestSandbox();

    bool isValid() const { return dir.isValid(); }
    QString path() const { return dir.path(); }
    QString filePath(const QString& name) const { return dir.filePath(name); }

    // Writes bytes to a file under the sandbox, creating folders; returns its path.
    QString write(const QString& name, const QByteArray& bytes) const;
    // Reads a file under the sandbox (or an absolute path); empty when missing.
    QByteArray read(const QString& name) const;

private:
    QTemporaryDir dir;
};

// Reads a file of tests/data.
QByteArray testData(const QString& name);
