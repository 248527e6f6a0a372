#include "FuzzSupport.h"

#include "BaseXmlFile.h"
#include "zoplatform_control_host.h"

#include <QCoreApplication>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <ftw.h>
#include <string>
#include <sys/stat.h>
#include <vector>

// The fuzz targets do not wait for the disk: every flush to it (a file's, a
// file system's, all of them) returns at once, in these programs only.
extern "C" int fsync(int)
{
    return 0;
}

extern "C" int fdatasync(int)
{
    return 0;
}

extern "C" int syncfs(int)
{
    return 0;
}

extern "C" void sync()
{
}

namespace fuzz {

namespace {

void quiet(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "qFatal: %s\n", qPrintable(text));
        std::abort();
    }
}

} // namespace

int initialize(int* argc, char*** argv)
{
    static QCoreApplication* app = new QCoreApplication(*argc, *argv);
    (void)app;
    qInstallMessageHandler(&quiet);
    QDir here(QDir::currentPath());
    here.mkpath("fuzz-root");
    QDir::setCurrent(here.filePath("fuzz-root"));
    startInput();
    zoplat::host::reset();
    zoplat::host::setSandboxRoot(root() + QStringLiteral("/sandbox"));
    // The product's fixed waits (pacing, settling) hold nothing up here.
    zoplat::setSleeper([](int64_t) {});
    return 0;
}

QString root()
{
    return QDir::currentPath();
}

namespace {

// The folders of the root made at start, parents first.
const char* const kFolders[] = {"dat", "dat/temp", "sandbox"};

bool isFolderOfRoot(const std::string& path)
{
    for (const char* folder : kFolders) {
        if (path == folder)
            return true;
    }
    return false;
}

int removeEntry(const char* name, const struct stat*, int, FTW*)
{
    return remove(name);
}

// Removes path and everything under it; names are taken as bytes, whatever
// their encoding.
bool removeAll(const std::string& path)
{
    return nftw(path.c_str(), &removeEntry, 16, FTW_DEPTH | FTW_PHYS) == 0;
}

// Removes everything under root()/path but the root's own folders, which are
// emptied in turn: removing and making them again for every input would
// cost more than most inputs.
void empty(const std::string& root, const std::string& path)
{
    const std::string folder = path.empty() ? root : root + '/' + path;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        fail("a folder of the fuzz root cannot be read", QFile::decodeName(folder.c_str()));
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    }
    closedir(dir);
    for (const std::string& name : names) {
        const std::string inRoot = path.empty() ? name : path + '/' + name;
        struct stat st;
        if (isFolderOfRoot(inRoot) && lstat((root + '/' + inRoot).c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            empty(root, inRoot);
        else if (!removeAll(root + '/' + inRoot))
            fail("what an input left in the fuzz root cannot be removed",
                 QFile::decodeName((root + '/' + inRoot).c_str()));
    }
}

} // namespace

void startInput()
{
    empty(QFile::encodeName(root()).toStdString(), std::string());
    QDir dir(root());
    for (const char* folder : kFolders) {
        if (!dir.exists(QLatin1String(folder)) && !dir.mkpath(QLatin1String(folder)))
            fail("a folder of the fuzz root cannot be made", dir.filePath(QLatin1String(folder)));
    }
    zoplat::host::clearRecordedCommands();
}

QString write(const QString& name, const QByteArray& bytes)
{
    const QString path = root() + QLatin1Char('/') + name;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail("fuzz input not written", path);
    return path;
}

QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), int(size));
}

void fail(const char* what, const QString& detail)
{
    std::fprintf(stderr, "FINDING: %s %s\n", what, qPrintable(detail));
    std::fflush(stderr);
    std::abort();
}

void expectWellFormed(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail("a written file cannot be opened", path);
    const QByteArray content = file.readAll();
    QDomDocument doc;
    QString error;
    if (!doc.setContent(content, &error))
        fail("a written file does not parse again", path + QStringLiteral(": ") + error);
    if (!BaseXmlFile::isStorable(doc))
        fail("a written file holds characters no XML file can carry", path);
    // Qt's stream reader is strict about what the DOM parser lets pass
    // (characters, references, namespaces); another reader of the file would
    // be too. The instrument reads without namespaces, other readers with.
    QXmlStreamReader reader(content);
    reader.setNamespaceProcessing(true);
    while (!reader.atEnd())
        reader.readNext();
    if (reader.hasError())
        fail("a written file is not well-formed XML", path + QStringLiteral(": ") + reader.errorString());
}

} // namespace fuzz
