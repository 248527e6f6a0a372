#include "zocmn_net_file_transfer.h"

#include "BaseUtilityHelper.h"
#include "BaseXmlFile.h"
#include "zocmm_testing_confer_records.h"
#include "zocmn_net_connect_handle.h"
#include "zocmn_net_connect_parse.h"
#include "zocmn_net_reject_log.h"
#include "zoplatform.h"
#include "zoplatform_datapaths.h"

#include <QDomDocument>
#include <QFile>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const char* const kEndName = "SEND_END";
const char* const kExportEndName = "KS_END";
const char* const kExportModules[] = {"AC",     "Sequence",    "Harmonic", "Distance",      "Ramping",     "Overcurrent",
                                      "DC",     "Energy",      "SlipFrequency", "SlipVoltage", "Oscillate"};
constexpr u32 kNameField = sizeof(confer_file_transfer_head::file_name);

// The largest file of each kind that the transfer takes in or sends; a
// larger one is none the instrument wrote. Calibration and parameter files
// as their readers take them (BaseXmlFile::bounds). A report holds a
// module's settings and results (at most 1,024 events and two chart images
// of the screen's size): a few megabytes.
const u32 kLargestCalibrationFile = u32(BaseXmlFile::bounds(BaseXmlFile::Kind::Calibration).bytes);
const u32 kLargestParameterFile = u32(BaseXmlFile::bounds(BaseXmlFile::Kind::Backup).bytes);
constexpr u32 kLargestReport = 16 * 1024 * 1024;

u32 largestFile(int mode)
{
    switch (mode) {
    case NET_FILE_MODE_EXPORT_CALIBRATION:
    case NET_FILE_MODE_IMPORT_CALIBRATION:
        return kLargestCalibrationFile;
    case NET_FILE_MODE_EXPORT_REPORT:
    case NET_FILE_MODE_IMPORT_REPORT:
        return kLargestReport;
    default:
        return kLargestParameterFile;
    }
}

std::atomic<bool (*)()> calibrationLoader{nullptr};
std::atomic<bool (*)()> calibrationCheck{nullptr};
std::atomic<void (*)(const char*)> exportOpenHook{nullptr};

std::string local(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// The folders a transfer may reach: the application's and the roots.
QStringList transferFolders(const NetFileRoots& roots)
{
    return {BaseUtilityHelper::getAppRootPath(), roots.dataRoot, roots.calibrationRoot};
}

// Whether path, its links followed (its last component's only with
// followLast), stays in the transfer's folders: no link takes a transfer
// anywhere else.
bool staysInside(const std::string& path, const NetFileRoots& roots, bool followLast)
{
    return zoplat::localPathInside(QByteArray::fromStdString(path), transferFolders(roots), followLast);
}

using zoplat::HeldFolder;

bool sameFolder(const HeldFolder& a, const HeldFolder& b)
{
    struct stat sa;
    struct stat sb;
    return fstat(a.descriptor(), &sa) == 0 && fstat(b.descriptor(), &sb) == 0 && sa.st_dev == sb.st_dev
        && sa.st_ino == sb.st_ino;
}

// A folder of the transfer under its path, held open; not open when it is a
// link, missing, or outside the transfer's folders.
HeldFolder openTransferFolder(const std::string& path, const NetFileRoots& roots)
{
    return HeldFolder(QByteArray::fromStdString(path), transferFolders(roots));
}

std::string tempName(const std::string& name)
{
    return "." + name + ".part";
}

bool isTempName(const std::string& name)
{
    const std::string suffix = ".part";
    return name.size() > 1 + suffix.size() && name[0] == '.'
        && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// A parameter file of an import, whole under its temporary until "SEND_END"
// (in the import's folder, or its module folder there).
struct Staged
{
    std::string name;   // as the PC sent it
    std::string module;
    std::string target;
    std::string temporary;
};

// The file being imported (receive thread; the end of a connection comes
// from the listener). Its folder is held open from the head on and every
// name is taken relative to it: a link swapped in for the folder later
// leads nowhere.
struct Import
{
    std::mutex mutex;
    HeldFolder folder;
    int fd = -1;
    std::string name;        // as the PC sent it
    std::string module;      // its module folder, or none
    std::string target;      // the file it replaces
    std::string temporary;   // where it is written
    bool staging = false;    // kept under its temporary until "SEND_END"
    u32 announced = 0;
    u32 received = 0;
    bool failed = false;     // a file of this import was cut short or refused
    // Held from the first staged file on: one folder for all (however many
    // files an import stages, it holds one descriptor).
    HeldFolder stagingFolder;
    std::vector<Staged> staged;
    bool stagedLost = false; // staged files were dropped before "SEND_END"
};
Import& import()
{
    static Import state;
    return state;
}

void release(Import& s)
{
    s.folder = HeldFolder();
    s.name.clear();
    s.module.clear();
    s.target.clear();
    s.temporary.clear();
    s.staging = false;
}

// A parameter file File > Load lists: its name ends in ".xml", in any case.
bool isParameterFileName(const std::string& name)
{
    return QFile::decodeName(name.c_str()).endsWith(QLatin1String(".xml"), Qt::CaseInsensitive);
}

// The folder a staged file is in (not through a link).
HeldFolder folderOf(const Import& s, const Staged& file)
{
    return HeldFolder(s.stagingFolder, file.module.empty() ? "." : file.module.c_str());
}

void dropStaged(Import& s)
{
    for (const Staged& file : s.staged)
        folderOf(s, file).removeFile(file.temporary.c_str());
    s.staged.clear();
    s.stagingFolder = HeldFolder();
}

// Whether the staged file passes File > Load's parse: a regular file (not
// through a link) that parses within a parameter file's bounds. A log line
// says why not (the name is a plain one).
bool readable(const HeldFolder& folder, const Staged& file)
{
    const int fd = folder.openRegular(file.temporary.c_str());
    QFile f;
    if (fd < 0 || !f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0)
            close(fd);
        net_log_line("file import: %s not stored: not read", file.name.c_str());
        return false;
    }
    QDomDocument doc;
    QString error;
    if (BaseXmlFile::parse(doc, &f, BaseXmlFile::Kind::Backup, &error))
        return true;
    QByteArray why = error.toUtf8();   // one line, whatever the file declared
    for (char& c : why) {
        if (u8(c) < 0x20u || u8(c) == 0x7Fu)
            c = '?';
    }
    net_log_line("file import: %s not stored: %s", file.name.c_str(), why.constData());
    return false;
}

void abandon(Import& s)
{
    if (s.fd >= 0) {
        close(s.fd);
        unlinkat(s.folder.descriptor(), s.temporary.c_str(), 0);
    }
    s.fd = -1;
    release(s);
}

// The temporary, with all the announced bytes, synced, closed and renamed
// over the target, the folder flushed after (a parameter file is kept under
// its temporary for "SEND_END"); false (the temporary removed, the old file
// kept) on a failure.
bool complete(Import& s)
{
    if (s.fd < 0)
        return true;
    const bool synced = fsync(s.fd) == 0;
    const bool closed = close(s.fd) == 0;
    s.fd = -1;
    if (synced && closed && s.staging) {
        s.staged.push_back({s.name, s.module, s.target, s.temporary});
        release(s);
        return true;
    }
    const bool ok = synced && closed && s.folder.renameOver(s.temporary.c_str(), s.target.c_str());
    if (!ok)
        unlinkat(s.folder.descriptor(), s.temporary.c_str(), 0);
    release(s);
    return ok;
}

bool writeAll(int fd, const u8* data, u32 length)
{
    while (length > 0) {
        const ssize_t n = write(fd, data, length);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        length -= u32(n);
    }
    return true;
}

bool isSaveTemporary(const std::string& name)
{
    return zoplat::isSaveTemporaryName(QFile::decodeName(name.c_str()));
}

// Removes the files that match from a folder held open and, depth levels
// down, from its subfolders (never through a link).
void removeMatching(const HeldFolder& folder, int depth, bool (*matches)(const std::string&))
{
    for (const QByteArray& entry : folder.entries()) {
        const std::string name = entry.toStdString();
        struct stat st;
        if (fstatat(folder.descriptor(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            if (depth > 0)
                removeMatching(HeldFolder(folder, name.c_str()), depth - 1, matches);
        } else if (matches(name)) {
            unlinkat(folder.descriptor(), name.c_str(), 0);
        }
    }
}

// Says once for each name (in the program's run) why an exported file is
// not sent, within the service's log budget; bytes outside printable ASCII
// as "\xNN", so that the name stays on its line.
void tellLeftOut(const std::string& name, const char* why)
{
    static std::mutex mutex;
    static std::set<std::string> told;
    std::lock_guard<std::mutex> lock(mutex);
    if (!told.insert(name).second)
        return;
    std::string shown;
    for (const char c : name) {
        if (u8(c) >= 0x20u && u8(c) < 0x7Fu && c != '\\') {
            shown += c;
        } else {
            char escaped[5];
            snprintf(escaped, sizeof escaped, "\\x%02X", unsigned(u8(c)));
            shown += escaped;
        }
    }
    net_log_line("file export: %s not sent: %s", shown.c_str(), why);
}

} // namespace

bool net_file_plain_name(const char* name)
{
    if (!name)
        return false;
    for (const char* c = name; *c; ++c) {
        if (u8(*c) < 0x20u || u8(*c) == 0x7Fu)
            return false;
    }
    // Valid UTF-8 only: the file manager shows and opens the name it reads.
    const QString text = QString::fromUtf8(name);
    return text.toUtf8() == QByteArray(name) && zoplat::isPlainFileName(text);
}

bool net_file_import_name_valid(int mode, const char* name)
{
    if (!name)
        return false;
    const char* slash = std::strchr(name, '/');
    if (!slash)
        return mode != NET_FILE_MODE_IMPORT_PARAMETERS && net_file_plain_name(name);
    if (mode == NET_FILE_MODE_IMPORT_CALIBRATION)
        return false;
    const std::string module(name, size_t(slash - name));
    return module.size() <= size_t(NET_FILE_MODULE_MAX) && net_file_plain_name(module.c_str())
        && net_file_plain_name(slash + 1);
}

int net_file_command(u8 mode)
{
    int idle = NET_FILE_MODE_IDLE;
    if (mode == NET_FILE_MODE_IDLE)
        return net_connect_transfer_mode().load() == NET_FILE_MODE_IDLE ? 0 : -1;
    if (mode == NET_FILE_MODE_IMPORT_CALIBRATION && net_connect_transfer_mode().load() == NET_FILE_MODE_IDLE
        && !zoplat::clearCalibrationStaging())
        return -1;
    if (!net_connect_transfer_mode().compare_exchange_strong(idle, mode))
        return -1;
    Import& s = import();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.failed = false;
    s.stagedLost = false;
    return 0;
}

namespace {

// The name a stored file is kept under while an import replaces it: a
// temporary (".<name>.kept.part"), so a start after a crash removes it.
std::string keptName(const std::string& target)
{
    return "." + target + ".kept.part";
}

// The staged files renamed over their targets, all or none: a target that
// is there is kept under a second name (a hard link) until every rename is
// done, and put back when one fails; one that was not there is removed
// again. Something other than a file (or a link) in a target's place
// refuses the import before anything is renamed. A line names the file.
bool storeAll(Import& s)
{
    for (const Staged& file : s.staged) {
        struct stat st;
        if (fstatat(folderOf(s, file).descriptor(), file.target.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0
            && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) {
            net_log_line("file import: %s not stored: %s stands in its place", file.name.c_str(),
                         S_ISDIR(st.st_mode) ? "a folder" : "something other than a file");
            return false;
        }
    }
    struct Renamed
    {
        const Staged* file;
        bool kept;
    };
    std::vector<Renamed> renamed;
    bool stored = true;
    for (const Staged& file : s.staged) {
        const HeldFolder folder = folderOf(s, file);
        const std::string kept = keptName(file.target);
        unlinkat(folder.descriptor(), kept.c_str(), 0);
        const bool there = linkat(folder.descriptor(), file.target.c_str(), folder.descriptor(), kept.c_str(), 0) == 0;
        if ((!there && errno != ENOENT) || !folder.renameOver(file.temporary.c_str(), file.target.c_str())) {
            net_log_line("file import: %s not stored: %s", file.name.c_str(), strerror(errno));
            if (there)
                unlinkat(folder.descriptor(), kept.c_str(), 0);
            stored = false;
            break;
        }
        renamed.push_back({&file, there});
    }
    for (auto it = renamed.rbegin(); it != renamed.rend(); ++it) {
        const HeldFolder folder = folderOf(s, *it->file);
        const std::string kept = keptName(it->file->target);
        if (stored)
            unlinkat(folder.descriptor(), kept.c_str(), 0);
        else if (it->kept)
            renameat(folder.descriptor(), kept.c_str(), folder.descriptor(), it->file->target.c_str());
        else
            unlinkat(folder.descriptor(), it->file->target.c_str(), 0);
        folder.sync();
    }
    return stored;
}

// "SEND_END". The calibration files of an import are loaded together or not
// at all, before the answer: after a file cut short or refused, or with one
// the check or the loader finds unreadable, nothing is loaded and the staged
// files are removed. The parameter files of an import are stored together
// at "SEND_END", or none when one of them fails File > Load's parse or the
// connection ended after they came.
int endImport(Import& s, bool cutShort)
{
    bool taken = !cutShort;
    if (net_connect_transfer_mode().load() == NET_FILE_MODE_IMPORT_CALIBRATION) {
        taken = taken && !s.failed;
        if (taken) {
            if (bool (*check)() = calibrationCheck.load())
                taken = check();
        }
        if (taken) {
            if (bool (*loader)() = calibrationLoader.load())
                taken = loader();
        }
        if (!taken)
            zoplat::clearCalibrationStaging();
    } else if (!s.staged.empty() || s.stagedLost) {
        taken = taken && !s.stagedLost;
        if (taken) {
            // Each one checked, so that the log names every file refused.
            for (const Staged& file : s.staged)
                taken = readable(folderOf(s, file), file) && taken;
        }
        if (taken)
            taken = storeAll(s);
    }
    dropStaged(s);
    s.failed = false;
    s.stagedLost = false;
    net_connect_transfer_mode() = NET_FILE_MODE_IDLE;
    return taken ? 0 : -1;
}

// A file's head: its temporary made in its folder, held open.
int startFile(Import& s, const char* name, u32 fileSize, const NetFileRoots& roots)
{
    const int mode = net_connect_transfer_mode().load();
    if (!net_file_import_name_valid(mode, name))
        return -1;
    if (fileSize > largestFile(mode)) {
        net_log_line("file import: %s refused: %u bytes, more than the %u its reader takes", name, unsigned(fileSize),
                     unsigned(largestFile(mode)));
        return -1;
    }

    const std::string base = mode == NET_FILE_MODE_IMPORT_CALIBRATION ? local(zoplat::calibrationStagingFolder())
                                                                       : local(roots.dataRoot) + "/parameters_bk";
    if (!staysInside(base, roots, true) || zoplat::makeDir(QFile::decodeName(base.c_str())) != 0)
        return -1;
    // From here on the folder is held open and names are taken in it.
    HeldFolder folder = openTransferFolder(base, roots);
    if (!folder.isOpen())
        return -1;
    std::string file = name;
    std::string module;
    const bool staging = mode != NET_FILE_MODE_IMPORT_CALIBRATION && isParameterFileName(name);
    if (staging) {
        // The files an import stages lie in one folder.
        if (!s.stagingFolder.isOpen())
            s.stagingFolder = HeldFolder(folder, ".");
        if (!sameFolder(s.stagingFolder, folder))
            return -1;
    }
    if (const char* slash = std::strchr(name, '/')) {
        module.assign(name, size_t(slash - name));
        file = slash + 1;
        // Only mode 5 creates a module folder.
        if (mode == NET_FILE_MODE_IMPORT_PARAMETERS && mkdirat(folder.descriptor(), module.c_str(), 0777) != 0
            && errno != EEXIST)
            return -1;
        folder = HeldFolder(folder, module.c_str());
        if (!folder.isOpen())
            return -1;
    }
    // The same name again in this import replaces the earlier file.
    const auto earlier =
        std::find_if(s.staged.begin(), s.staged.end(), [name](const Staged& f) { return f.name == name; });
    if (earlier != s.staged.end()) {
        folder.removeFile(earlier->temporary.c_str());
        s.staged.erase(earlier);
    }
    // A new temporary, never one through a name that is there.
    const std::string temporary = tempName(file);
    s.fd = openat(folder.descriptor(), temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (s.fd < 0)
        return -1;
    s.folder = std::move(folder);
    s.name = name;
    s.module = module;
    s.target = file;
    s.temporary = temporary;
    s.staging = staging;
    s.announced = fileSize;
    if (fileSize == 0 && !complete(s))
        return -1;
    return 0;
}

int receiveData(Import& s, const u8* data, u32 length)
{
    if (s.fd < 0 || length > CONFER_FILE_PACKET_SIZE || (length > 0 && !data) || s.received >= s.announced)
        return -1;
    if (length == 0)
        return 0;
    // More than announced is not the file announced: it replaces nothing.
    if (length > s.announced - s.received || !writeAll(s.fd, data, length)) {
        abandon(s);
        return -1;
    }
    s.received += length;
    if (s.received == s.announced && !complete(s))
        return -1;
    return 0;
}

} // namespace

int net_file_head(const char* name, u32 fileSize, const NetFileRoots& roots)
{
    Import& s = import();
    std::lock_guard<std::mutex> lock(s.mutex);
    // A file still open at the next head (or "SEND_END") was cut short: it
    // replaces nothing, and this head is refused.
    const bool cutShort = s.fd >= 0;
    abandon(s);
    s.announced = 0;
    s.received = 0;
    const bool named = name && strnlen(name, kNameField) < kNameField;
    if (named && std::strcmp(name, kEndName) == 0)
        return endImport(s, cutShort);
    const int result = named && !cutShort ? startFile(s, name, fileSize, roots) : -1;
    if (result != 0)
        s.failed = true;
    return result;
}

int net_file_data(const u8* data, u32 length)
{
    Import& s = import();
    std::lock_guard<std::mutex> lock(s.mutex);
    const int result = receiveData(s, data, length);
    if (result != 0)
        s.failed = true;
    return result;
}

void net_file_connection_ended()
{
    Import& s = import();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.fd >= 0)
        s.failed = true;   // cut short
    abandon(s);
    if (!s.staged.empty())
        s.stagedLost = true;
    dropStaged(s);
    s.announced = 0;
    s.received = 0;
}

void net_file_remove_leftovers(const NetFileRoots& roots)
{
    {
        // The service starts idle: nothing of an earlier import is kept.
        Import& s = import();
        std::lock_guard<std::mutex> lock(s.mutex);
        abandon(s);
        dropStaged(s);
        s.failed = false;
        s.stagedLost = false;
    }
    removeMatching(openTransferFolder(local(roots.dataRoot) + "/parameters_bk", roots), 1, isTempName);
    removeMatching(openTransferFolder(local(zoplat::calibrationStagingFolder()), roots), 0, isTempName);
    // What report saves cut short left in the module folders.
    const HeldFolder reports = openTransferFolder(local(roots.dataRoot) + "/report", roots);
    for (const QByteArray& module : reports.entries())
        removeMatching(HeldFolder(reports, module.constData()), 0, isSaveTemporary);
}

void net_file_set_calibration_loader(bool (*loader)())
{
    calibrationLoader = loader;
}

void net_file_set_calibration_check(bool (*check)())
{
    calibrationCheck = check;
}

void net_file_set_export_open_hook(void (*hook)(const char* name))
{
    exportOpenHook = hook;
}

int net_export_files(int mode, const NetFileRoots& roots, NetFileSend send, int chunkDelayMs)
{
    if (mode < NET_FILE_MODE_EXPORT_REPORT || mode > NET_FILE_MODE_EXPORT_CALIBRATION || !send)
        return 0;
    struct Folder
    {
        std::string path;
        std::string prefix;   // of the names sent
        std::string shown;    // on the log
    };
    std::vector<Folder> folders;
    if (mode == NET_FILE_MODE_EXPORT_CALIBRATION) {
        folders.push_back({local(roots.calibrationRoot) + "/dat", "calcoe", "dat"});
    } else {
        const std::string kind = mode == NET_FILE_MODE_EXPORT_REPORT ? "report" : "parameters_bk";
        for (const char* module : kExportModules)
            folders.push_back({local(roots.dataRoot) + "/" + kind + "/" + module, module, kind + "/" + module});
    }
    // Idle again before the end frame goes (or the export stops): a PC may
    // ask for the next transfer as soon as it has that frame.
    const auto becomeIdle = [mode] {
        int exporting = mode;
        net_connect_transfer_mode().compare_exchange_strong(exporting, NET_FILE_MODE_IDLE);
    };

    std::vector<u8> frame(CONFER_FRAME_PAYLOAD_AT + sizeof(confer_file_transfer_data));
    u8 chunk[CONFER_FILE_PACKET_SIZE];
    u32 sent = 0;
    auto sendHead = [&](const std::string& name, u32 size) {
        u32 length = 0;
        return net_pack_protocol_file_info(size, name.c_str(), frame.data(), &length, u32(frame.size())) == 0
            && send(frame.data(), length) == 0;
    };

    for (const Folder& folder : folders) {
        // The folder held open: its files are opened in it, whatever its
        // path leads to later.
        const HeldFolder dir = openTransferFolder(folder.path, roots);
        for (const QByteArray& entry : dir.entries()) {
            const std::string name = entry.toStdString();
            if (name.empty() || name[0] == '.')
                continue;
            if (mode == NET_FILE_MODE_EXPORT_CALIBRATION && name.compare(0, 3, "cal") != 0)
                continue;
            // Reports and calibration files are saved through a temporary beside them.
            if (mode != NET_FILE_MODE_EXPORT_PARAMETERS && isSaveTemporary(name))
                continue;
            if (void (*hook)(const char*) = exportOpenHook.load())
                hook(name.c_str());
            // Only a file, checked on what was opened: a link in its place is
            // not followed, a pipe planted there does not block.
            const int fd = dir.openRegular(name.c_str());
            if (fd < 0)
                continue;
            struct stat st;
            if (fstat(fd, &st) != 0) {
                close(fd);
                continue;
            }
            // What an import of its kind refuses is not sent either: the PC
            // would keep it under another name, or could not send it back.
            const std::string sentName = folder.prefix + "/" + name;
            const char* why = sentName.size() >= kNameField       ? "its name does not fit the name field"
                              : !net_file_plain_name(name.c_str()) ? "an import refuses its name"
                              : st.st_size > off_t(largestFile(mode)) ? "larger than any file of its kind"
                                                                      : nullptr;
            if (why) {
                tellLeftOut(folder.shown + "/" + name, why);
                close(fd);
                continue;
            }
            const u32 size = u32(st.st_size);
            if (!sendHead(sentName, size)) {
                close(fd);
                becomeIdle();
                return -1;
            }
            ++sent;
            u32 done = 0;
            while (done < size) {
                const ssize_t n = read(fd, chunk, std::min<u32>(size - done, CONFER_FILE_PACKET_SIZE));
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0)
                    break;   // the file shrank: the PC gets what is there
                if (chunkDelayMs > 0)
                    zoplat::sleepMs(chunkDelayMs);
                u32 length = 0;
                if (net_pack_protocol_file_content(chunk, u32(n), frame.data(), &length, u32(frame.size())) != 0
                    || send(frame.data(), length) != 0) {
                    close(fd);
                    becomeIdle();
                    return -1;
                }
                done += u32(n);
            }
            close(fd);
        }
    }
    becomeIdle();
    if (!sendHead(kExportEndName, sent))
        return -1;
    return int(sent);
}
