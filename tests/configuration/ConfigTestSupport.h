#pragma once

// A sandbox that is the application root for one test (the root is the
// working directory), the host platform reset around it, and a capture of
// the debug output.

#include "TestSandbox.h"
#include "zoplatform_control_host.h"

#include <QDir>
#include <QObject>
#include <QMutex>
#include <QStringList>
#include <QtGlobal>

#include <atomic>
#include <tuple>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

class AppRootSandbox
{
public:
    AppRootSandbox() : previous(QDir::currentPath())
    {
        zoplat::host::reset();
        zoplat::host::setSandboxRoot(box.filePath("sandbox"));
        QDir::setCurrent(box.path());
    }
    ~AppRootSandbox()
    {
        QDir::setCurrent(previous);
        zoplat::host::reset();
    }

    QString datFile(const QString& name) const { return box.filePath("dat/" + name); }
    void writeDat(const QString& name, const QByteArray& body) const { box.write("dat/" + name, body); }
    QByteArray readDat(const QString& name) const { return box.read("dat/" + name); }

    TestSandbox box;

private:
    QString previous;
};

// A key/value file with the given keys directly under the root.
inline QByteArray xmlFile(const QList<QPair<QString, QString>>& keys)
{
    QByteArray body = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n";
    for (const auto& k : keys)
        body += "    <" + k.first.toUtf8() + ">" + k.second.toUtf8() + "</" + k.first.toUtf8() + ">\n";
    body += "</root>\n";
    return body;
}

// Records every emission of one signal, on whatever thread it is emitted.
template <typename... Args>
class SignalLog
{
public:
    template <typename Sender, typename Signal>
    SignalLog(Sender* sender, Signal signal)
    {
        QObject::connect(sender, signal, &context, [this](Args... args) {
            QMutexLocker lock(&mutex);
            calls.push_back(std::make_tuple(std::decay_t<Args>(args)...));
        }, Qt::DirectConnection);
    }
    int count() const
    {
        QMutexLocker lock(&mutex);
        return int(calls.size());
    }
    std::tuple<std::decay_t<Args>...> at(int i) const
    {
        QMutexLocker lock(&mutex);
        return calls.at(size_t(i));
    }

private:
    QObject context;
    mutable QMutex mutex;
    std::vector<std::tuple<std::decay_t<Args>...>> calls;
};

// Collects qWarning/qDebug text while alive (thread-safe).
class MessageCapture
{
public:
    MessageCapture() { active = this; previousHandler = qInstallMessageHandler(&MessageCapture::handler); }
    ~MessageCapture()
    {
        qInstallMessageHandler(previousHandler);
        active = nullptr;
    }
    QStringList warnings() const
    {
        QMutexLocker lock(&mutex);
        return warningTexts;
    }
    bool anyWarningContains(const QString& part) const
    {
        const QStringList all = warnings();
        for (const QString& w : all)
            if (w.contains(part))
                return true;
        return false;
    }

private:
    static void handler(QtMsgType type, const QMessageLogContext&, const QString& text)
    {
        if (MessageCapture* self = active) {
            QMutexLocker lock(&self->mutex);
            if (type == QtWarningMsg || type == QtCriticalMsg)
                self->warningTexts << text;
        }
    }

    static inline std::atomic<MessageCapture*> active{nullptr};
    QtMessageHandler previousHandler = nullptr;
    mutable QMutex mutex;
    QStringList warningTexts;
};
