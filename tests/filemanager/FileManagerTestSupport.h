#pragma once

// File-manager tests: the view-model fixture (a sandbox as application root
// and as device root, the engine's threads running without an instrument)
// with a USB stick: the folder <device root>/media/usb, "mounted" when the
// platform's mount check is scripted to succeed.

#include "../viewmodel/ViewModelTestSupport.h"

#include <QTextCodec>

namespace fmtest {

// Names a user may give or find on a stick: blanks, quotes, shell
// characters and non-ASCII text, all taken literally.
inline QStringList awkwardNames()
{
    return {QStringLiteral("plain.xml"),
            QStringLiteral("with blank.xml"),
            QStringLiteral("it's \"quoted\".xml"),
            QStringLiteral("x; reboot;.xml"),
            QStringLiteral("$(reboot) `id`.xml"),
            QString::fromUtf8("参数 备份.xml"),
            QString::fromUtf8("Überprüfung ñ.XML")};
}

// The smallest complete zip: no entries, only the end record, with the
// comment (fake upgrade packages tell themselves apart by it).
inline QByteArray emptyZip(const QByteArray& comment = QByteArray())
{
    QByteArray zip("PK\x05\x06", 4);
    zip.append(16, '\0');   // disks, entries, directory size and offset: 0
    zip.append(char(comment.size() & 0xFF)).append(char(comment.size() >> 8 & 0xFF));
    return zip + comment;
}

class FileManagerTest : public vmtest::ViewModelTest
{
protected:
    void SetUp() override
    {
        vmtest::ViewModelTest::SetUp();
        // As the application: file names are UTF-8.
        QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
        mountStick(true);
    }

    // The stick's folder exists either way; only the mount check tells.
    void mountStick(bool mounted)
    {
        QDir().mkpath(stick(QString()));
        zoplat::host::scriptCommand(QStringLiteral("mountpoint -q /media/usb"), {mounted ? 0 : 1, {}});
    }

    QString stick(const QString& rel) const
    {
        return deviceRoot() + QStringLiteral("/media/usb") + (rel.isEmpty() ? QString() : QLatin1Char('/') + rel);
    }

    QString app(const QString& rel) const { return appRoot() + QLatin1Char('/') + rel; }

    QString write(const QString& path, const QByteArray& bytes) const { return sandbox.write(path, bytes); }
    QByteArray read(const QString& path) const { return sandbox.read(path); }

    static bool exists(const QString& path) { return QFileInfo::exists(path); }

    // Commands that reached the runner other than the mount check and "sync".
    static QStringList shellFileCommands()
    {
        QStringList out;
        for (const QString& c : zoplat::host::recordedCommands()) {
            if (!c.startsWith(QStringLiteral("mountpoint -q ")) && c != QStringLiteral("sync"))
                out << c;
        }
        return out;
    }
};

} // namespace fmtest
