// The file transfer with a PC over loopback: exports, imports that replace
// files whole, names from the network that must not reach outside their
// folder (the service's threads alone), and calibration files through the
// whole engine. Requests go through the service tests' PC.

#include "../remote/RemoteTestSupport.h"
#include "../remote_service/RemoteServiceSupport.h"
#include "BaseXmlFile.h"

#include "zocmn_net_file_transfer.h"
#include "zocmn_net_reject_log.h"
#include "zoplatform_datapaths.h"
#include "zoshc_testing_machine_file.h"

#include <QDir>
#include <QDirIterator>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QSemaphore>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <functional>
#include <map>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
static void PrintTo(const QByteArray& b, std::ostream* os) { *os << '"' << b.toStdString() << '"'; }

namespace {

using remoteservice::Pc;
using remoteservice::waitFor;

enum Sub : uint16_t { ExportHead = 0xF501, ExportChunk = 0xF502, Mode = 0xF503, Head = 0xF504, Chunk = 0xF505 };

QByteArray headRecord(const QByteArray& name, uint32_t size)
{
    pc::Bytes b(68);
    b.raw(0, name.constData(), std::min(64, name.size()));
    return b.u32(64, size).data;
}

QByteArray chunkRecord(const QByteArray& data, uint32_t length)
{
    pc::Bytes b(1028);
    b.raw(4, data.constData(), std::min(1024, data.size()));
    return b.u32(0, length).data;
}

// A request's status byte, or -1 without a reply.
int ask(Pc& pcSide, uint16_t subid, const QByteArray& payload)
{
    const size_t from = pcSide.frames.size();
    pcSide.send(pc::frame(pc::TransferFile, subid, payload));
    const auto reply =
        pcSide.waitFrame(pc::TransferFile, from, 5000, [subid](const pc::Frame& f) { return f.subid == subid; });
    return reply && reply->payload.size() == 1 ? uint8_t(reply->payload.at(0)) : -1;
}

int mode(Pc& pcSide, uint8_t value) { return ask(pcSide, Mode, QByteArray(1, char(value))); }
int head(Pc& pcSide, const QByteArray& name, uint32_t size) { return ask(pcSide, Head, headRecord(name, size)); }
int chunk(Pc& pcSide, const QByteArray& data)
{
    return ask(pcSide, Chunk, chunkRecord(data, uint32_t(data.size())));
}

// A whole file: its head, then chunks of 1024 bytes; the replies in order.
std::vector<int> sendFile(Pc& pcSide, const QByteArray& name, const QByteArray& bytes)
{
    std::vector<int> replies{head(pcSide, name, uint32_t(bytes.size()))};
    for (int at = 0; at < bytes.size(); at += 1024)
        replies.push_back(chunk(pcSide, bytes.mid(at, 1024)));
    return replies;
}

// What an export sent: the files by name, the chunk frames (each of 1028
// bytes, zero-padded after its length, or `padded` is false) and the count
// of "KS_END" (-1 when it did not come).
struct Export
{
    std::map<QByteArray, QByteArray> files;
    int chunks = 0;
    bool padded = true;
    int count = -1;
};

Export runExport(Pc& pcSide, uint8_t value)
{
    Export e;
    const size_t from = pcSide.frames.size();
    const auto isHead = [](const pc::Frame& f) { return f.subid == ExportHead && f.payload.size() == 68; };
    if (mode(pcSide, value) != 0 || !pcSide.waitFrame(pc::TransferFile, from, 20000, [&](const pc::Frame& f) {
            return isHead(f) && pc::Bytes(f.payload).text(0, 64) == "KS_END";
        }))
        return e;
    QByteArray name;
    for (size_t i = from; i < pcSide.frames.size() && e.count < 0; ++i) {
        const pc::Frame& f = pcSide.frames[i];
        const pc::Bytes b(f.payload);
        if (f.command == pc::TransferFile && isHead(f)) {
            name = b.text(0, 64);
            if (name == "KS_END")
                e.count = int(b.u32(64));
            else
                e.files[name];
        } else if (f.command == pc::TransferFile && f.subid == ExportChunk) {
            const int length = int(std::min(b.u32(0), 1024u));
            ++e.chunks;
            e.padded = e.padded && f.payload.size() == 1028 && b.u32(0) <= 1024
                && f.payload.mid(4 + length) == QByteArray(1024 - length, '\0');
            e.files[name].append(f.payload.mid(4, length));
        }
    }
    return e;
}

// Every file and folder ("<dir>") under a folder, hidden ones included.
std::map<QString, QByteArray> tree(const QString& root)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        files[QDir(root).relativeFilePath(path)] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<dir>");
    }
    return files;
}

QByteArray pattern(int size, int seed)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 7 + seed) & 0xFF);
    return b;
}

// The threads on free ports; the application root (also the data root: no
// SD card) a folder whose path is far beyond 128 bytes, holding temporaries
// a broken import left (the service start removes them).
class RemoteFiles : public remotetest::RemoteTest
{
protected:
    void SetUp() override
    {
        RemoteTest::SetUp();
        if (HasFatalFailure())
            return;
        sandbox.write(app("parameters_bk/AC/.g.par.part"), "left");
        sandbox.write(app("dat/temp/.calacamp.xml.part"), "left");
        oldCurrent = QDir::currentPath();
        QDir::setCurrent(app());
        const uint16_t port = remoteservice::freePort();
        zoplat::host::setServerPort(port);
        zoplat::host::setBeaconPort(remoteservice::freePort(SOCK_DGRAM));
        ASSERT_EQ(shc_machine_init_handle(), 0);   // the ports into the machine segment
        ASSERT_EQ(netCtrl_StartNetService(), 0);
        ASSERT_TRUE(pcSide.connectTo(port));
    }
    void TearDown() override
    {
        pcSide.closeSocket();
        netCtrl_StopNetService();
        QDir::setCurrent(oldCurrent);
        RemoteTest::TearDown();
    }
    QString app(const QString& name = {}) const
    {
        return sandbox.filePath("app/" + QString(100, 'd') + "/" + QString(100, 'e') + "/" + name);
    }

    QString oldCurrent;
    Pc pcSide;
};

TEST_F(RemoteFiles, ExportSendsEachModeFilesWholeAndEndsWithTheirCount)
{
    const QByteArray odd = "a b 'q\" ;x \xC3\xA9t\xC3\xA9.par";
    const QByteArray e = "\xC3\xA9";   // "AC/x" and 31 of them: 66 bytes, not sent
    const std::map<QString, QByteArray> onDisk = {
        {"parameters_bk/AC/one.par", pattern(2500, 1)},
        {"parameters_bk/AC/empty.par", {}},
        {"parameters_bk/AC/x" + QString::fromUtf8(e.repeated(31)), "cut"},
        {"parameters_bk/DC/" + QString::fromUtf8(odd), pattern(1024, 2)},
        {"parameters_bk/DC/.hidden.par.part", "x"},
        {"parameters_bk/Unlisted/u.par", "u"},
        {"report/Distance/r.htm", pattern(3000, 3)},
        {"dat/calacamp.xml", pattern(100, 4)},
        {"dat/other.xml", "o"},
    };
    for (const auto& [name, bytes] : onDisk)
        sandbox.write(app(name), bytes);

    const struct
    {
        uint8_t mode;
        std::map<QByteArray, QByteArray> expected;
        int chunks;
    } rows[] = {
        {2,
         {{"AC/one.par", pattern(2500, 1)}, {"AC/empty.par", {}}, {"DC/" + odd, pattern(1024, 2)}},
         4},
        {1, {{"Distance/r.htm", pattern(3000, 3)}}, 3},
        {3, {{"calcoe/calacamp.xml", pattern(100, 4)}}, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mode);
        const Export sent = runExport(pcSide, row.mode);
        EXPECT_EQ(sent.count, int(row.expected.size()));
        EXPECT_EQ(sent.files, row.expected);
        EXPECT_EQ(sent.chunks, row.chunks);   // none for an empty file
        EXPECT_TRUE(sent.padded);
        EXPECT_TRUE(waitFor([] { return net_connect_transfer_mode().load() == 0; }));
    }
}

TEST_F(RemoteFiles, ImportReplacesAFileWholeOnceComplete)
{
    const QByteArray name = "AC/f.par";
    const QString stored = app("parameters_bk/AC/f.par");
    const QByteArray first = pattern(2500, 5);
    const QByteArray second = pattern(1500, 6);
    ASSERT_EQ(mode(pcSide, 5), 0);
    EXPECT_EQ(mode(pcSide, 2), 0xFF);   // a transfer is pending
    EXPECT_EQ(sendFile(pcSide, name, first), (std::vector<int>{0, 0, 0, 0}));   // 1024, 1024, 452
    EXPECT_EQ(chunk(pcSide, "more"), 0xFF);                                    // past the announced size
    EXPECT_EQ(sandbox.read(stored), first);
    EXPECT_EQ(sendFile(pcSide, name, second), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(sandbox.read(stored), second);
    EXPECT_EQ(head(pcSide, "AC/empty.par", 0), 0);   // complete at its head
    EXPECT_TRUE(QFile::exists(app("parameters_bk/AC/empty.par")));

    // packet_length 0 writes nothing, above 1024 is refused.
    EXPECT_EQ(head(pcSide, name, 5), 0);
    EXPECT_EQ(ask(pcSide, Chunk, chunkRecord("zzzz", 0)), 0);
    for (uint32_t length : {1025u, 0xFFFFFFFFu})
        EXPECT_EQ(ask(pcSide, Chunk, chunkRecord("zzzz", length)), 0xFF) << length;
    EXPECT_EQ(chunk(pcSide, "12345"), 0);
    EXPECT_EQ(sandbox.read(stored), "12345");

    // A parameter file replaces the old one at "SEND_END".
    sandbox.write(app("parameters_bk/AC/p.xml"), "old");
    EXPECT_EQ(sendFile(pcSide, "AC/p.xml", "<parameter/>"), (std::vector<int>{0, 0}));
    EXPECT_EQ(sandbox.read(app("parameters_bk/AC/p.xml")), "old");
    EXPECT_EQ(head(pcSide, "SEND_END", 0), 0);
    EXPECT_EQ(sandbox.read(app("parameters_bk/AC/p.xml")), "<parameter/>");
    ASSERT_EQ(mode(pcSide, 5), 0);

    // The connection ends mid-file: the old file stays, no temporary.
    EXPECT_EQ(head(pcSide, name, 10), 0);
    EXPECT_EQ(chunk(pcSide, "ab"), 0);
    pcSide.closeSocket();
    ASSERT_TRUE(waitFor([] { return net_connect_ended_count() >= 1; }));
    const std::map<QString, QByteArray> left = {{"dat", "<dir>"}, {"dat/temp", "<dir>"}, {"parameters_bk", "<dir>"},
                                                {"parameters_bk/AC", "<dir>"}, {"parameters_bk/AC/f.par", "12345"},
                                                {"parameters_bk/AC/empty.par", ""},
                                                {"parameters_bk/AC/p.xml", "<parameter/>"}};
    EXPECT_EQ(tree(app()), left);
}

// A file that ends short of its announced size (at the next head or
// "SEND_END") or runs past it replaces nothing: the old file stays byte for
// byte and the PC is answered 0xFF there. So do the parameter files of an
// import when one of them is no file File > Load reads: "SEND_END" is
// answered 0xFF and none is stored.
TEST_F(RemoteFiles, AnImportCutShortKeepsTheOldFile)
{
    const QByteArray old = pattern(3013, 9);
    const auto h = [this](const QByteArray& name, uint32_t size) { return head(pcSide, name, size); };
    const auto c = [this] { return chunk(pcSide, pattern(1024, 10)); };
    // A whole file: the worst reply of its head and chunks.
    const auto whole = [this](const QByteArray& name, const QByteArray& bytes) {
        const std::vector<int> replies = sendFile(pcSide, name, bytes);
        return *std::max_element(replies.begin(), replies.end());
    };
    const QByteArray readable = "<parameter a=\"1\"/>";
    QByteArray attributeLaden = "<parameter";
    for (int i = 0; i < 50000; ++i)
        attributeLaden += " a" + QByteArray::number(i) + "=\"1\"";
    attributeLaden += "/>";
    const QByteArray deep = "<p>" + QByteArray("<a>").repeated(5000) + QByteArray("</a>").repeated(5000) + "</p>";
    const int elements = BaseXmlFile::bounds(BaseXmlFile::Kind::Backup).elements;
    const QByteArray many = "<p>" + QByteArray("<a/>").repeated(elements) + "</p>";
    ASSERT_LE(many.size(), BaseXmlFile::bounds(BaseXmlFile::Kind::Backup).bytes);
    const struct
    {
        const char* cut;
        std::function<std::vector<int>()> send;
        std::vector<int> replies;
        uint8_t mode = 5;
    } rows[] = {
        {"next head", [&] { return std::vector<int>{h("AC/f.par", 5000), c(), c(), h("AC/g.par", 4), h("SEND_END", 0)}; },
         {0, 0, 0, 0xFF, 0}},
        {"SEND_END", [&] { return std::vector<int>{h("AC/f.par", 5000), c(), h("SEND_END", 0)}; }, {0, 0, 0xFF}},
        {"no data", [&] { return std::vector<int>{h("AC/new.par", 9), h("SEND_END", 0)}; }, {0, 0xFF}},
        {"past the size", [&] { return std::vector<int>{h("AC/f.par", 1000), c(), h("SEND_END", 0)}; }, {0, 0xFF, 0}},
        {"50,000 attributes", [&] { return std::vector<int>{whole("AC/attr.xml", attributeLaden), h("SEND_END", 0)}; },
         {0, 0xFF}},
        {"50,000 attributes, mode 4",
         [&] { return std::vector<int>{whole("AC/attr.xml", attributeLaden), h("SEND_END", 0)}; }, {0, 0xFF}, 4},
        {"nested 5,000 deep", [&] { return std::vector<int>{whole("AC/deep.XML", deep), h("SEND_END", 0)}; },
         {0, 0xFF}},
        {"one element over the bound", [&] { return std::vector<int>{whole("AC/many.xml", many), h("SEND_END", 0)}; },
         {0, 0xFF}},
        {"a readable one beside",
         [&] {
             return std::vector<int>{whole("AC/good.xml", readable), whole("AC/deep.xml", deep), h("SEND_END", 0)};
         },
         {0, 0, 0xFF}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.cut);
        sandbox.write(app("parameters_bk/AC/f.par"), old);
        ASSERT_EQ(mode(pcSide, row.mode), 0);
        EXPECT_EQ(row.send(), row.replies);
        EXPECT_EQ(tree(app("parameters_bk")), (std::map<QString, QByteArray>{{"AC", "<dir>"}, {"AC/f.par", old}}));
    }

    // A folder where the third file goes: none of the three is stored, and
    // a line names it.
    sandbox.write(app("parameters_bk/AC/a.xml"), "old");
    ASSERT_TRUE(QDir().mkpath(app("parameters_bk/AC/c.xml")));
    const auto before = tree(app("parameters_bk"));
    ASSERT_EQ(mode(pcSide, 4), 0);
    for (const char* name : {"AC/a.xml", "AC/b.xml", "AC/c.xml"})
        EXPECT_EQ(whole(name, readable), 0) << name;
    const QByteArray log = remotetest::stdoutOf(sandbox.filePath("out"), [&] { EXPECT_EQ(h("SEND_END", 0), 0xFF); });
    EXPECT_EQ(tree(app("parameters_bk")), before);
    EXPECT_TRUE(log.contains("AC/c.xml not stored: a folder")) << log.constData();
}

// A head announcing more than any file of its kind can hold is refused and
// nothing is staged.
TEST_F(RemoteFiles, AFileLargerThanAnyOfItsKindIsRefusedAtItsHead)
{
    const struct
    {
        uint8_t mode;
        const char* name;
        uint32_t size;
    } rows[] = {
        {6, "calacamp.xml", 1u << 20},
        {6, "calacamp.xml", uint32_t(BaseXmlFile::bounds(BaseXmlFile::Kind::Calibration).bytes) + 1},
        {5, "AC/p.xml", 0xFFFFFFFFu},
        {5, "AC/p.xml", uint32_t(BaseXmlFile::bounds(BaseXmlFile::Kind::Backup).bytes) + 1},
        {4, "r.htm", 0xFFFFFFFFu},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(mode(pcSide, row.mode), 0);
        const auto before = tree(app());
        // One line names the file, its size and the bound.
        const QByteArray log = remotetest::outputOf(sandbox.filePath("head"),
                                                    [&] { EXPECT_EQ(head(pcSide, row.name, row.size), 0xFF); });
        EXPECT_EQ(log.count('\n'), 1) << log.constData();
        EXPECT_TRUE(
            log.contains(QByteArray(row.name) + " refused: " + QByteArray::number(row.size) + " bytes, more than "))
            << log.constData();
        EXPECT_EQ(chunk(pcSide, "data"), 0xFF);
        EXPECT_EQ(tree(app()), before);
        head(pcSide, "SEND_END", 0);
    }
}

// The export's "KS_END" sent, the PC asks at once for the next export (here
// the moment its frame is sent): the request is taken and that export runs.
std::atomic<int> askedAtEnd{-2};
QString exportRoot;
int sendThenAskAtEnd(const u8* frame, u32 length)
{
    const int sent = net_connect_send_export_frame(frame, length);
    const pc::Bytes f(QByteArray(reinterpret_cast<const char*>(frame), int(length)));
    if (askedAtEnd == -2 && f.u16(12) == ExportHead && f.text(14, 64) == "KS_END")
        askedAtEnd = net_file_command(NET_FILE_MODE_EXPORT_PARAMETERS);
    return sent;
}

TEST_F(RemoteFiles, AnExportAskedForAsSoonAsTheLastEndedRuns)
{
    sandbox.write(app("parameters_bk/AC/a.par"), "a");
    exportRoot = app();
    net_connect_set_export_handler(
        [](int exportMode) { net_export_files(exportMode, {exportRoot, exportRoot}, sendThenAskAtEnd, 0); });
    const size_t from = pcSide.frames.size();
    ASSERT_EQ(mode(pcSide, NET_FILE_MODE_EXPORT_PARAMETERS), 0);
    const auto ends = [&] {
        pcSide.pump();
        return std::count_if(pcSide.frames.begin() + long(from), pcSide.frames.end(), [](const pc::Frame& f) {
            return f.subid == ExportHead && pc::Bytes(f.payload).text(0, 64) == "KS_END";
        });
    };
    EXPECT_TRUE(waitFor([&] { return ends() == 2; }, 20000));
    EXPECT_EQ(askedAtEnd, 0);
    EXPECT_TRUE(waitFor([] { return net_connect_transfer_mode().load() == 0; }));
}

// Links planted in the transfer's folders lead nowhere outside: an import
// through a planted temporary or a linked module folder is refused, exports
// skip linked files and folders, and nothing outside changes.
TEST_F(RemoteFiles, LinksOutOfTheFoldersAreNeitherWrittenNorSent)
{
    const QString outside = sandbox.filePath("outside");
    sandbox.write("outside/victim.xml", "victim");
    sandbox.write("outside/dir/secret.xml", "secret");
    const std::pair<const char*, const char*> links[] = {
        {"parameters_bk/AC/.tmpl.xml.part", "victim.xml"},   // an import's temporary
        {"parameters_bk/DC", "dir"},                         // an import's module folder
        {"parameters_bk/Harmonic/leak.xml", "victim.xml"},
        {"report/AC", "dir"},
    };
    for (const auto& [link, target] : links) {
        QDir().mkpath(QFileInfo(app(link)).absolutePath());
        ASSERT_TRUE(QFile::link(outside + "/" + target, app(link))) << link;
    }
    const auto before = tree(outside);
    ASSERT_EQ(mode(pcSide, 5), 0);
    for (const char* name : {"AC/tmpl.xml", "DC/new.xml"}) {
        EXPECT_EQ(head(pcSide, name, 4), 0xFF) << name;
        EXPECT_EQ(chunk(pcSide, "data"), 0xFF) << name;
    }
    EXPECT_EQ(head(pcSide, "SEND_END", 0), 0);
    EXPECT_FALSE(QFileInfo(app("parameters_bk/AC/tmpl.xml")).isSymLink());
    for (uint8_t exportMode : {2, 1}) {
        const Export sent = runExport(pcSide, exportMode);
        EXPECT_EQ(sent.count, 0) << int(exportMode);
        EXPECT_EQ(sent.files, (std::map<QByteArray, QByteArray>{})) << int(exportMode);
    }
    EXPECT_EQ(tree(outside), before);
}

// The module folder moved aside and a link to an outside folder put in its
// place after a file's head and first chunk: however the file ends (its last
// chunk, "SEND_END", a cut connection), nothing outside is renamed or removed.
TEST_F(RemoteFiles, AFolderSwappedForALinkMidImportLeavesOutsideAlone)
{
    const QString outside = sandbox.filePath("outside");
    const std::map<QString, QByteArray> before = {{".victim.xml.part", "decoy"}};
    const QString folder = app("parameters_bk/SwapMod");
    const std::pair<const char*, std::function<void()>> ends[] = {
        {"last chunk", [&] {
             chunk(pcSide, pattern(1024, 12));
             head(pcSide, "SEND_END", 0);   // idle again for the next row
         }},
        {"SEND_END", [&] { head(pcSide, "SEND_END", 0); }},
        {"cut connection", [&] {
             pcSide.closeSocket();
             ASSERT_TRUE(waitFor([] { return net_connect_ended_count() >= 1; }));
         }},
    };
    for (const auto& [end, finish] : ends) {
        SCOPED_TRACE(end);
        QDir(outside).removeRecursively();
        sandbox.write("outside/.victim.xml.part", "decoy");
        ASSERT_EQ(mode(pcSide, 5), 0);
        ASSERT_EQ(head(pcSide, "SwapMod/victim.xml", 2048), 0);
        ASSERT_EQ(chunk(pcSide, pattern(1024, 11)), 0);
        ASSERT_TRUE(QDir().rename(folder, folder + ".aside"));
        ASSERT_TRUE(QFile::link(outside, folder));
        finish();
        EXPECT_EQ(tree(outside), before);
        QFile::remove(folder);
        QDir(folder + ".aside").removeRecursively();
    }
}

// What saves cut short leave beside reports and calibration files is never
// sent; the service start removes the reports' (as the module's next report
// save does).
TEST_F(RemoteFiles, TemporariesOfCutSavesAreNotSentAndReportsLoseThem)
{
    sandbox.write(app("report/AC/r.htm"), "report");
    sandbox.write(app("report/AC/r.htm.AbCdEf"), "cut");
    sandbox.write(app("report/StdSource/s.htm.QwErTy"), "cut");
    sandbox.write(app("dat/calacamp.xml.XyZabc"), "cut");
    EXPECT_EQ(runExport(pcSide, 1).files, (std::map<QByteArray, QByteArray>{{"AC/r.htm", "report"}}));
    EXPECT_EQ(runExport(pcSide, 3).count, 0);
    netCtrl_StopNetService();
    ASSERT_EQ(netCtrl_StartNetService(), 0);
    EXPECT_EQ(tree(app("report")),
              (std::map<QString, QByteArray>{{"AC", "<dir>"}, {"AC/r.htm", "report"}, {"StdSource", "<dir>"}}));
}

// The clean-ups (cut imports at the service's start, the staging folder
// at a calibration import, cut report saves) take the folders they clean
// held open: a folder swapped for a link to an outside one is left alone.
TEST_F(RemoteFiles, CleanUpsLeaveTheTargetOfAFolderSwappedForALinkAlone)
{
    netCtrl_StopNetService();
    for (const char* name : {".a.par.part", "r.htm.AbCdEf", "calacamp.xml", "AC/.b.par.part"})
        sandbox.write(QStringLiteral("outside/") + name, "cut");
    const auto outside = tree(sandbox.filePath("outside"));
    for (const char* folder : {"parameters_bk", "dat/temp", "report/AC", "report/DC"}) {
        QDir(app(folder)).removeRecursively();
        QDir().mkpath(QFileInfo(app(folder)).absolutePath());
        ASSERT_TRUE(QFile::link(sandbox.filePath("outside"), app(folder))) << folder;
    }
    ASSERT_EQ(netCtrl_StartNetService(), 0);
    ASSERT_TRUE(pcSide.connectTo(zoplat::serverPort()));
    EXPECT_EQ(mode(pcSide, 6), 0xFF);
    EXPECT_EQ(zoplat::removeSaveTemporaries(app("report/DC")), 0);
    EXPECT_EQ(tree(sandbox.filePath("outside")), outside);
}

TEST_F(RemoteFiles, NamesAreRefusedOutsideTheirFolderAndStoredAsGivenInside)
{
    sandbox.write("canary", "canary");
    sandbox.write(app("parameters_bk/AC/keep.par"), "keep");
    const QByteArray shell = "a b;$(rm -rf x)`q`'\"";
    const struct
    {
        uint8_t mode;
        QByteArray name;
        QString stored;   // under the application root; empty: refused
    } rows[] = {
        {5, "AC/../../canary", {}}, {5, "../canary", {}}, {5, "/canary", {}}, {5, "./a", {}},
        {5, "../a", {}}, {5, "AC/.keep.par", {}}, {5, ".x/a", {}}, {5, "AC/x/y", {}},
        {5, "plain", {}}, {5, "AC/", {}}, {5, QByteArray(32, 'm') + "/a", {}}, {5, "AC/" + QByteArray(61, 'a'), {}},
        {5, "AC/a\nb", {}}, {5, "AC/a\x1b", {}}, {5, "AC/a\x7f", {}}, {5, "\xFF/a", {}},
        {5, "AC/a..b", {}}, {4, "../canary", {}}, {4, "AC/../canary", {}}, {4, "..", {}},
        {4, "AC/x/y", {}}, {4, "a\\b", {}}, {4, ".a", {}}, {4, "a\xC3", {}},
        {4, "DC/r.par", {}},   // mode 4 makes no module folder
        {6, "AC/calacamp.xml", {}}, {6, "../calacamp.xml", {}}, {6, ".calacamp.xml", {}}, {6, "..", {}},
        {5, "AC/" + shell, "parameters_bk/AC/" + shell},
        {5, QByteArray(31, 'm') + "/a", "parameters_bk/" + QString(31, 'm') + "/a"},
        {5, "\xC3\xA9/\xC3\xA9", QString::fromUtf8("parameters_bk/\xC3\xA9/\xC3\xA9")},
        {4, "AC/r.par", "parameters_bk/AC/r.par"},
        {4, shell, "parameters_bk/" + shell},
        {0, "p.par", "parameters_bk/p.par"},
        {6, "notes.txt", "dat/temp/notes.txt"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name.toStdString() + " mode " + std::to_string(row.mode));
        ASSERT_EQ(mode(pcSide, row.mode), 0);
        auto expected = tree(sandbox.path());
        const int taken = row.stored.isEmpty() ? 0xFF : 0;
        EXPECT_EQ(head(pcSide, row.name, 4), taken);
        EXPECT_EQ(chunk(pcSide, "file"), taken);
        // A calibration import with a file refused loads nothing.
        EXPECT_EQ(head(pcSide, "SEND_END", 0), row.mode == 6 ? taken : 0);
        if (!row.stored.isEmpty()) {
            const QString path = QDir(sandbox.path()).relativeFilePath(app(row.stored));
            for (int at = path.indexOf('/'); at > 0; at = path.indexOf('/', at + 1))
                expected.emplace(path.left(at), "<dir>");
            expected[path] = "file";
        }
        EXPECT_EQ(tree(sandbox.path()), expected);
    }
    for (const QString& command : zoplat::host::recordedCommands())
        EXPECT_FALSE(command.contains("parameters_bk") || command.contains("dat/temp")) << command.toStdString();
}

// ---- The transfer's calls alone ----------------------------------------------------

int sendCalls = 0;
int failSendAt = -1;
int countSend(const u8*, u32) { return sendCalls++ == failSendAt ? -1 : 0; }

TEST(FileTransferAlone, ExportStopsAtTheFirstFailedSend)
{
    TestSandbox sandbox;
    sandbox.write("parameters_bk/AC/x.par", pattern(1500, 7));   // head, two chunks, then KS_END
    const struct
    {
        int failAt;
        int result;
        int calls;
    } rows[] = {{0, -1, 1}, {1, -1, 2}, {3, -1, 4}, {4, 1, 4}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.failAt);
        sendCalls = 0;
        failSendAt = row.failAt;
        EXPECT_EQ(net_export_files(2, {sandbox.path(), sandbox.path()}, countSend, 0), row.result);
        EXPECT_EQ(sendCalls, row.calls);   // nothing tried after a failure
    }
}

// A listed file swapped for a link to an outside file just before the
// export opens it: the link is not followed, the file not sent.
QString swapTarget;
QString swapFolder;
QByteArray exported;
int collectSend(const u8* frame, u32 length)
{
    exported.append(reinterpret_cast<const char*>(frame), int(length));
    return 0;
}

TEST(FileTransferAlone, ExportDoesNotFollowALinkSwappedInBeforeTheOpen)
{
    TestSandbox sandbox;
    sandbox.write("outside/secret.par", "secret");
    sandbox.write("app/parameters_bk/AC/a.par", "mine");
    swapTarget = sandbox.filePath("outside/secret.par");
    swapFolder = sandbox.filePath("app/parameters_bk/AC/");
    exported.clear();
    net_file_set_export_open_hook([](const char* name) {
        QFile::remove(swapFolder + name);
        QFile::link(swapTarget, swapFolder + name);
    });
    const QString root = sandbox.filePath("app");
    EXPECT_EQ(net_export_files(2, {root, root}, collectSend, 0), 0);
    net_file_set_export_open_hook(nullptr);
    EXPECT_FALSE(exported.contains("secret"));
}

// Only regular files are sent: a pipe and a folder are left out, and the
// pipe's open does not wait for a writer.
TEST(FileTransferAlone, ExportSendsOnlyRegularFilesAndAPipeDoesNotHoldItUp)
{
    TestSandbox sandbox;
    sandbox.write("parameters_bk/AC/a.par", "mine");
    const QByteArray folder = QFile::encodeName(sandbox.filePath("parameters_bk/AC/"));
    ASSERT_EQ(mkfifo(folder + "pipe.par", 0600), 0);
    ASSERT_EQ(mkdir(folder + "folder.par", 0700), 0);
    exported.clear();
    auto sent = std::async(std::launch::async, [&] { return net_export_files(2, {sandbox.path(), sandbox.path()}, collectSend, 0); });
    if (sent.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
        close(open(folder + "pipe.par", O_RDWR | O_CLOEXEC));   // lets the export go on
        ADD_FAILURE() << "the export waits for the pipe's writer";
    }
    EXPECT_EQ(sent.get(), 1);
    EXPECT_TRUE(exported.contains("AC/a.par"));
    for (const char* left : {"pipe.par", "folder.par"})
        EXPECT_FALSE(exported.contains(left)) << left;
}

// What an import would refuse is not sent: a name that does not fit the
// head's 63 bytes whole (the PC would keep two long names under one cut
// name), a name with a control character, a file larger than any of its
// kind. One log line names each.
TEST(FileTransferAlone, ExportLeavesOutWhatAnImportWouldRefuse)
{
    TestSandbox sandbox;
    const QByteArray fits = "report/AC/" + QByteArray(60, 'f');   // sent as "AC/" and 60 bytes
    const QByteArray left[] = {"report/AC/" + QByteArray(61, 'e'), "report/AC/" + QByteArray(64, 'r') + "_1.htm",
                               "report/AC/" + QByteArray(64, 'r') + "_2.htm",
                               "report/AC/" + QByteArray(196, 'n') + ".htm", "report/AC/a\nb.htm", "dat/calacamp.xml"};
    sandbox.write(fits, "f");
    for (const QByteArray& file : left)
        sandbox.write(file, file.startsWith("dat/") ? QByteArray(1 << 20, 'x') : QByteArray("x"));
    exported.clear();
    std::vector<int> sent;
    const QByteArray log = remotetest::stdoutOf(sandbox.filePath("log"), [&] {
        for (int exportMode : {1, 3})
            sent.push_back(net_export_files(exportMode, {sandbox.path(), sandbox.path()}, collectSend, 0));
    });
    EXPECT_EQ(sent, (std::vector<int>{1, 0}));
    EXPECT_TRUE(exported.contains("AC/" + QByteArray(60, 'f') + '\0'));
    const QList<QByteArray> lines = log.trimmed().split('\n');
    EXPECT_EQ(lines.size(), int(std::size(left)));
    for (QByteArray file : left) {
        file.replace("\n", "\\x0A");
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [&](const QByteArray& l) { return l.contains(file + ' '); }), 1)
            << file.toStdString();
    }
}

TEST(FileTransferAlone, FailedWriteLeavesTheOldFileAndNoTemporary)
{
    TestSandbox sandbox;
    sandbox.write("parameters_bk/AC/f.par", "old");
    // A file-size limit of 2000 bytes in a child: the second chunk fails,
    // the third is refused.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{2000, 2000};
        setrlimit(RLIMIT_FSIZE, &limit);
        net_connect_transfer_mode() = 5;
        const QByteArray bytes = pattern(1024, 8);
        const auto* data = reinterpret_cast<const u8*>(bytes.constData());
        const bool ok = net_file_head("AC/f.par", 2500, {sandbox.path(), sandbox.path()}) == 0
            && net_file_data(data, 1024) == 0 && net_file_data(data, 1024) == -1 && net_file_data(data, 452) == -1;
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(tree(sandbox.filePath("parameters_bk")),
              (std::map<QString, QByteArray>{{"AC", "<dir>"}, {"AC/f.par", "old"}}));
}

// ---- Through the whole engine ---------------------------------------------------

class RemoteCalibrationFiles : public remoteservice::RemoteServiceTest
{
protected:
    int calLoaded() { return gui.count(ControllerRuntime::DATA_TYPE_RT_STATE, ControllerRuntime::STATE_TYPE_CALLOADED); }
};

TEST_F(RemoteCalibrationFiles, ImportReloadsTheDriverAndAnExportImportsAgain)
{
    switchOn();
    Pc pcSide;
    connectPc(pcSide);
    QByteArray golden = testData("calibration/calacamp.xml");
    ASSERT_TRUE(golden.contains("<AMP_P0_FACTOR>1.01</AMP_P0_FACTOR>"));
    golden.replace("<AMP_P0_FACTOR>1.01</AMP_P0_FACTOR>", "<AMP_P0_FACTOR>1.0625</AMP_P0_FACTOR>");

    // The staging folder holds a kind an earlier USB import left: the import
    // removes it first, and loads only at "SEND_END".
    sandbox.write("app/dat/temp/caldcamp.xml", "stale");
    sandbox.write("app/dat/temp/notes.txt", "mine");
    int loads = calLoaded();
    netCtrl_clearRecordedCalls();
    ASSERT_EQ(mode(pcSide, 6), 0);
    const std::vector<int> replies = sendFile(pcSide, "calacamp.xml", golden);
    EXPECT_EQ(replies, std::vector<int>(replies.size(), 0));
    EXPECT_FALSE(netCtrl_recordedCalls().contains("LoadAllCalFile"));
    EXPECT_EQ(head(pcSide, "SEND_END", 0), 0);
    ASSERT_TRUE(waitFor([&] { return calLoaded() > loads; }));
    EXPECT_TRUE(netCtrl_recordedCalls().contains("LoadAllCalFile"));
    ASSERT_NE(globalConfigureCalData, nullptr);
    EXPECT_FLOAT_EQ(globalConfigureCalData->acampAmpFactors[0][0][0], 1.0625f);
    EXPECT_EQ(tree(sandbox.filePath("app/dat/temp")),
              (std::map<QString, QByteArray>{{"calacamp.xml", golden}, {"notes.txt", "mine"}}));

    // Mode 3 sends what the engine stored; sent back under plain names it loads the same.
    Export sent = runExport(pcSide, 3);
    ASSERT_GT(sent.count, 0);
    EXPECT_TRUE(sent.files["calcoe/calacamp.xml"].contains("1.0625"));
    globalConfigureCalData->acampAmpFactors[0][0][0] = 2.0f;
    loads = calLoaded();
    ASSERT_EQ(mode(pcSide, 6), 0);
    for (const auto& [name, bytes] : sent.files) {
        ASSERT_TRUE(name.startsWith("calcoe/")) << name.constData();
        const std::vector<int> back = sendFile(pcSide, name.mid(7), bytes);
        EXPECT_EQ(back, std::vector<int>(back.size(), 0));
    }
    EXPECT_EQ(head(pcSide, "SEND_END", 0), 0);
    ASSERT_TRUE(waitFor([&] { return calLoaded() > loads; }));
    EXPECT_FLOAT_EQ(globalConfigureCalData->acampAmpFactors[0][0][0], 1.0625f);
}

// A calibration import that ends with a file cut short, or with a file no
// calibration file can be (larger than any, or nested deeper than any),
// loads nothing: dat/ stays byte for byte, the calibration in use stays, and
// the staged calibration files are gone.
TEST_F(RemoteCalibrationFiles, AnImportWithAFileCutShortOrRefusedChangesNothing)
{
    switchOn();
    Pc pcSide;
    connectPc(pcSide);
    QByteArray amp = testData("calibration/calacamp.xml");
    amp.replace("<AMP_P0_FACTOR>1.01</AMP_P0_FACTOR>", "<AMP_P0_FACTOR>1.0234</AMP_P0_FACTOR>");
    ASSERT_TRUE(amp.contains("1.0234"));
    const auto nested = [](int depth) {
        return "<root>" + QByteArray("<a>").repeated(depth) + QByteArray("</a>").repeated(depth) + "</root>";
    };
    const auto randomBytes = [](int size) {
        std::mt19937 bits{unsigned(size)};
        QByteArray b(size, '\0');
        for (char& c : b)
            c = char(bits() & 0xFF);
        return b;
    };
    QByteArray unknownEncoding = testData("calibration/calacpha.xml");
    unknownEncoding.replace("encoding=\"UTF-8\"", "encoding=\"x-unknown\"");
    ASSERT_TRUE(unknownEncoding.contains("x-unknown"));
    const struct
    {
        const char* what;
        QByteArray pha;   // sent after a whole calacamp.xml
        int sent;         // bytes of it sent
        QByteArray name = "calacpha.xml";
        bool running = false;   // while a test the PC started runs
    } rows[] = {
        {"cut short", pattern(1260, 13), 200},
        {"nested 25,000 deep", nested(25000), -1},
        {"nested 5,000 deep", nested(5000), -1},
        {"an encoding the reader does not know", unknownEncoding, -1},
        {"no bytes in the older form", randomBytes(0), -1, "calacfrq.dat"},
        {"1 random byte in the older form", randomBytes(1), -1, "calacfrq.dat"},
        {"7 random bytes in the older form", randomBytes(7), -1, "calacfrq.dat"},
        {"100 random bytes in the older form", randomBytes(100), -1, "calacfrq.dat"},
        {"65,536 random bytes in the older form", randomBytes(65536), -1, "calacfrq.dat"},
        {"100 random bytes", randomBytes(100), -1, "calacfrq.xml"},
        {"readable, while a test runs", testData("calibration/calacpha.xml"), -1, "calacpha.xml", true},
    };
    const auto dat = [this] {
        auto files = tree(sandbox.filePath("app/dat"));
        for (auto it = files.begin(); it != files.end();)
            it = it->first.startsWith("temp") ? files.erase(it) : std::next(it);
        return files;
    };
    const auto inUse = [this] {
        QMutexLocker lock(&testor().dataCalibration->entityLock);
        return std::make_pair(testor().dataCalibration->acampAmpFactors[0][0][0],
                              globalConfigureCalData->acampAmpFactors[0][0][0]);
    };
    const auto datBefore = dat();
    const auto inUseBefore = inUse();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const int loads = calLoaded();
        netCtrl_clearRecordedCalls();
        if (row.running) {
            sendAc(pcSide);
            const size_t mark = pcSide.frames.size();
            ASSERT_EQ(pcSide.ask(remoteservice::startRequest()), QByteArray(1, '\0'));
            ASSERT_GE(pcSide.waitStatus(1, mark), 0);
        }
        ASSERT_EQ(mode(pcSide, 6), 0);
        sendFile(pcSide, "calacamp.xml", amp);
        if (row.sent < 0) {
            sendFile(pcSide, row.name, row.pha);
        } else {
            head(pcSide, row.name, uint32_t(row.pha.size()));
            chunk(pcSide, row.pha.left(row.sent));
        }
        EXPECT_EQ(head(pcSide, "SEND_END", 0), 0xFF);
        // Still running, then stopped; or a reload asked for all the same done: then the files are compared.
        if (row.running) {
            EXPECT_TRUE(testor().runEnable.load());
            EXPECT_EQ(pcSide.ask(remoteservice::controlRequest(pc::control(0x10, 0, 1))), QByteArray(1, '\0'));
            ASSERT_TRUE(waitEnded());
        } else if (netCtrl_recordedCalls().contains("LoadAllCalFile")) {
            ASSERT_TRUE(waitFor([&] { return calLoaded() > loads; }));
        }
        EXPECT_EQ(dat(), datBefore);
        EXPECT_EQ(inUse(), inUseBefore);
        for (const QString& name : zoplat::calibrationFileNames())
            EXPECT_FALSE(QFile::exists(sandbox.filePath("app/dat/temp/" + name + ".xml"))) << name.toStdString();
    }

    // An import of no file, then one whose files cannot all be written (a
    // folder where the last one goes): refused, and no file rewritten (the
    // stored file's comment would not survive).
    sandbox.write("app/dat/calacamp.xml", sandbox.read("app/dat/calacamp.xml") + "<!-- as stored -->\n");
    auto stored = dat();
    ASSERT_EQ(mode(pcSide, 6), 0);
    EXPECT_EQ(head(pcSide, "SEND_END", 0), 0xFF);
    EXPECT_EQ(dat(), stored);
    ASSERT_TRUE(QDir().mkpath(sandbox.filePath("app/dat/calllodc.xml")));
    stored["calllodc.xml"] = "<dir>";
    ASSERT_EQ(mode(pcSide, 6), 0);
    sendFile(pcSide, "calacamp.xml", amp);
    EXPECT_EQ(head(pcSide, "SEND_END", 0), 0xFF);
    EXPECT_EQ(dat(), stored);
    EXPECT_EQ(inUse(), inUseBefore);
}

// Imports of a file whose every value the reader refuses print, on both
// streams together, no more than the service's budget while the clock stands.
TEST_F(RemoteCalibrationFiles, RefusedImportsKeepTheLogBounded)
{
    switchOn();
    Pc pcSide;
    connectPc(pcSide);
    const QByteArray fac = QString::fromUtf8(testData("calibration/calacfac.xml"))
                               .replace(QRegularExpression("<(ACFAC_P\\d_FACTOR)>[^<]*</"), "<\\1>1e300</")
                               .toUtf8();
    ASSERT_EQ(fac.count(">1e300<"), 160);
    const int64_t frozenMs = zoplat::monotonicMs();
    zoplat::setMonotonicClock([frozenMs] { return frozenMs; });
    const auto imports = [&](int count) {
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(mode(pcSide, 6), 0);
            sendFile(pcSide, "calacfac.xml", fac);
            EXPECT_EQ(head(pcSide, "SEND_END", 0), 0xFF);
        }
    };
    // One line for the file, then the rest of the budget for twice its lines.
    const QByteArray one = remotetest::outputOf(sandbox.filePath("one"), [&] { imports(1); });
    EXPECT_EQ(one.count('\n'), 1) << one.constData();
    const QByteArray log = remotetest::outputOf(sandbox.filePath("out"), [&] { imports(2 * NET_LOG_BURST_LINES); });
    zoplat::setMonotonicClock({});
    EXPECT_LE(log.count('\n'), NET_LOG_BURST_LINES - 1) << log.left(2000).constData();
}

// "SEND_END" is answered once the calibration sent is in use: the PC's next
// mode command, which empties the staging folder, takes nothing away.
TEST_F(RemoteCalibrationFiles, AnAnsweredImportIsInUseWhateverTheNextCommandDoes)
{
    switchOn();
    Pc pcSide;
    connectPc(pcSide);
    QByteArray amp = testData("calibration/calacamp.xml");
    amp.replace("<AMP_P0_FACTOR>1.01</AMP_P0_FACTOR>", "<AMP_P0_FACTOR>1.0625</AMP_P0_FACTOR>");
    ASSERT_TRUE(amp.contains("1.0625"));
    const auto inUse = [this] {
        QMutexLocker lock(&testor().dataCalibration->entityLock);
        return std::make_pair(testor().dataCalibration->acampAmpFactors[0][0][0],
                              double(globalConfigureCalData->acampAmpFactors[0][0][0]));
    };
    for (int i = 0; i < 100; ++i) {
        SCOPED_TRACE(i);
        {
            QMutexLocker lock(&testor().dataCalibration->entityLock);
            testor().dataCalibration->acampAmpFactors[0][0][0] = 2.0;
            testor().dataCalibration->updateToDriverFactor();
        }
        ASSERT_EQ(mode(pcSide, 6), 0);
        sendFile(pcSide, "calacamp.xml", amp);
        ASSERT_EQ(head(pcSide, "SEND_END", 0), 0);
        ASSERT_EQ(mode(pcSide, 6), 0);
        EXPECT_EQ(inUse(), std::make_pair(1.0625, 1.0625));
        head(pcSide, "SEND_END", 0);
        // Whatever the engine still had queued has run.
        QSemaphore idle;
        QMetaObject::invokeMethod(&testor(), [&idle] { idle.release(); }, Qt::QueuedConnection);
        ASSERT_TRUE(idle.tryAcquire(1, 10000));
        ASSERT_EQ(inUse(), std::make_pair(1.0625, 1.0625));
    }
}

// A staged file swapped for a link to an outside calibration file before
// "SEND_END": the files are read through the staging folder held open, the
// link is an unreadable file and the import loads nothing, least of all the
// link's target.
TEST_F(RemoteCalibrationFiles, ALinkInPlaceOfAStagedFileIsNotReloaded)
{
    switchOn();
    Pc pcSide;
    connectPc(pcSide);
    QByteArray amp = testData("calibration/calacamp.xml");
    amp.replace("<AMP_P0_FACTOR>1.01</AMP_P0_FACTOR>", "<AMP_P0_FACTOR>1.0625</AMP_P0_FACTOR>");
    QByteArray outside = testData("calibration/calauxdc.xml");
    outside.replace("<AUXDC_P0_FACTOR>1.06</AUXDC_P0_FACTOR>", "<AUXDC_P0_FACTOR>7.77</AUXDC_P0_FACTOR>");
    ASSERT_TRUE(outside.contains("7.77"));
    sandbox.write("outside/calauxdc.xml", outside);
    const double auxdc = testor().dataCalibration->auxdcFactors[0][0][0];
    const int loads = calLoaded();
    ASSERT_EQ(mode(pcSide, 6), 0);
    const std::vector<int> replies = sendFile(pcSide, "calacamp.xml", amp);
    EXPECT_EQ(replies, std::vector<int>(replies.size(), 0));
    ASSERT_TRUE(QFile::link(sandbox.filePath("outside/calauxdc.xml"), sandbox.filePath("app/dat/temp/calauxdc.xml")));
    EXPECT_EQ(head(pcSide, "SEND_END", 0), 0xFF);
    if (netCtrl_recordedCalls().contains("LoadAllCalFile")) {
        ASSERT_TRUE(waitFor([&] { return calLoaded() > loads; }));
    }
    EXPECT_NE(globalConfigureCalData->acampAmpFactors[0][0][0], 1.0625f);
    EXPECT_EQ(testor().dataCalibration->auxdcFactors[0][0][0], auxdc);
    EXPECT_FALSE(sandbox.read("app/dat/calauxdc.xml").contains("7.77"));
}

} // namespace
