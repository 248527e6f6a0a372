// The file transfer with a PC over loopback: exports, imports that replace
// files whole, and names from the network that must not reach outside their
// folder.

#include "RemoteFilesSupport.h"

#include "zocmn_net_file_transfer.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>

using namespace remotefiles;

namespace {

QByteArray pattern(int size, int seed)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 7 + seed) & 0xFF);
    return b;
}

class RemoteFiles : public RemoteFilesTest
{
protected:
    // Runs an export; the files by name, the count of "KS_END", or -1 when
    // it never came.
    int exportFiles(uint8_t mode, std::map<QByteArray, QByteArray>& files)
    {
        EXPECT_EQ(command(mode), 0);
        QByteArray current;
        uint32_t announced = 0;
        while (auto f = pcSide.nextOf(pc::TransferFile, {0xF501, 0xF502})) {
            const pc::Bytes b(f->payload);
            if (f->subid == 0xF501) {
                EXPECT_EQ(f->payload.size(), 68);
                current = b.text(0, 64);
                announced = b.u32(64);
                if (current == "KS_END")
                    return int(announced);
                EXPECT_EQ(files.count(current), 0u) << current.constData();
                files[current];
                continue;
            }
            EXPECT_EQ(f->payload.size(), 1028);
            const uint32_t length = b.u32(0);
            EXPECT_LE(length, 1024u);
            EXPECT_EQ(f->payload.mid(4 + int(length)), QByteArray(1024 - int(length), '\0'));   // zero padding
            files[current].append(f->payload.mid(4, int(length)));
            EXPECT_LE(uint32_t(files[current].size()), announced);
        }
        return -1;
    }
};

TEST_F(RemoteFiles, ExportSendsEachModeFilesWholeAndEndsWithTheirCount)
{
    const QByteArray odd = "a b 'q\" ;x \xC3\xA9t\xC3\xA9.par";
    const std::map<QString, QByteArray> onDisk = {
        {"parameters_bk/AC/one.par", pattern(2500, 1)},
        {"parameters_bk/AC/empty.par", {}},
        {"parameters_bk/DC/" + QString::fromUtf8(odd), pattern(1024, 2)},
        {"parameters_bk/DC/.hidden.par.part", "x"},
        {"parameters_bk/Unlisted/u.par", "u"},
        {"report/Distance/r.htm", pattern(3000, 3)},
        {"dat/calacamp.xml", pattern(100, 4)},
        {"dat/other.xml", "o"},
    };
    for (const auto& [name, bytes] : onDisk)
        sandbox.write("app/" + name, bytes);

    const struct
    {
        uint8_t mode;
        std::map<QByteArray, QByteArray> expected;
    } rows[] = {
        {2, {{"AC/one.par", pattern(2500, 1)}, {"AC/empty.par", {}}, {"DC/" + odd, pattern(1024, 2)}}},
        {1, {{"Distance/r.htm", pattern(3000, 3)}}},
        {3, {{"calcoe/calacamp.xml", pattern(100, 4)}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mode);
        std::map<QByteArray, QByteArray> files;
        EXPECT_EQ(exportFiles(row.mode, files), int(row.expected.size()));
        EXPECT_EQ(files, row.expected);
        EXPECT_TRUE(waitFor([] { return net_connect_transfer_mode().load() == 0; }));
    }
}

TEST_F(RemoteFiles, ImportReplacesFilesWholeOrKeepsTheOldOne)
{
    const QByteArray first = pattern(2500, 5);
    ASSERT_EQ(command(5), 0);
    EXPECT_EQ(command(2), 0xFF);   // pending transfer
    EXPECT_EQ(sendFile("AC/a b;$(x).par", first), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(chunk("more"), 0xFF);   // past the announced size
    const QString stored = app("parameters_bk/AC/a b;$(x).par");
    EXPECT_EQ(sandbox.read(stored), first);

    const QByteArray second = pattern(1500, 6);
    EXPECT_EQ(sendFile("AC/a b;$(x).par", second), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(sandbox.read(stored), second);

    // packet_length 0 writes nothing; above 1024 refused.
    EXPECT_EQ(head("AC/a b;$(x).par", 10), 0);
    EXPECT_EQ(pcSide.ask(0xF505, chunkRecord("zzzz", 0)), 0);
    for (uint32_t length : {1025u, 0xFFFFFFFFu})
        EXPECT_EQ(pcSide.ask(0xF505, chunkRecord("zzzz", length)), 0xFF) << length;
    EXPECT_EQ(chunk("12345"), 0);
    // The connection ends mid-file: the old file stays, no temporary.
    pcSide.closeSocket();
    ASSERT_TRUE(waitFor([] { return net_connect_ended_count() >= 1; }));
    EXPECT_EQ(tree(app("parameters_bk")), (std::map<QString, QByteArray>{{"AC", "<dir>"}, {"AC/a b;$(x).par", second}}));
    EXPECT_TRUE(zoplat::host::recordedCommands().filter("$(x)").isEmpty());

    // The mode lasts across connections; mode 4 writes only into an existing module folder.
    ASSERT_TRUE(pcSide.connectTo(serverPort));
    EXPECT_EQ(head("SEND_END", 0), 0);
    ASSERT_EQ(command(4), 0);
    EXPECT_EQ(sendFile("AC/r.par", "r"), (std::vector<int>{0, 0}));
    EXPECT_EQ(head("DC/r.par", 1), 0xFF);
    EXPECT_EQ(sendFile("plain.par", ""), (std::vector<int>{0}));
    EXPECT_EQ(tree(app("parameters_bk")), (std::map<QString, QByteArray>{{"AC", "<dir>"},
                                                                         {"AC/a b;$(x).par", second},
                                                                         {"AC/r.par", "r"},
                                                                         {"plain.par", ""}}));
}

TEST_F(RemoteFiles, NamesThatLeaveTheirFolderAreRefusedAndTouchNothing)
{
    sandbox.write("canary", "canary");
    sandbox.write("app/parameters_bk/AC/keep.par", "keep");
    const auto before = tree(sandbox.path());
    const struct
    {
        uint8_t mode;
        QByteArray name;
    } rows[] = {
        {5, "AC/../../canary"}, {5, "../canary"},       {5, "/canary"},       {5, "AC/.keep.par"},
        {5, ".x/a"},            {5, "AC/x/y"},          {5, "/a"},            {5, "./a"},
        {5, "../a"},            {5, "plain"},           {5, QByteArray(32, 'm') + "/a"},
        {5, "AC/a\nb"},         {5, "AC/a\x1b"},        {5, QByteArray(64, 'a')},
        {4, "../canary"},       {4, "AC/../canary"},    {4, ".."},            {4, "AC/x/y"},
        {6, "calacamp.xml/x"},  {6, "../calacamp.xml"}, {6, ".calacamp.xml"}, {4, "a\\b"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name.toStdString() + " mode " + std::to_string(row.mode));
        ASSERT_EQ(command(row.mode), 0);
        EXPECT_EQ(head(row.name, 4), 0xFF);
        EXPECT_EQ(chunk("evil"), 0xFF);
        EXPECT_EQ(head("SEND_END", 0), 0);
        auto after = tree(sandbox.path());
        after.erase("app/dat");
        after.erase("app/dat/temp");
        EXPECT_EQ(after, before);
    }
    // A module part of 31 bytes is taken (the folder made in mode 5).
    ASSERT_EQ(command(5), 0);
    EXPECT_EQ(sendFile(QByteArray(31, 'm') + "/a", "a"), (std::vector<int>{0, 0}));
    EXPECT_EQ(sandbox.read(app("parameters_bk/" + QString(31, 'm') + "/a")), "a");
}

TEST_F(RemoteFiles, CalibrationImportClearsTheStagingFolderAndLoadsOnEnd)
{
    sandbox.write("app/dat/temp/caldcamp.xml", "stale");
    sandbox.write("app/dat/temp/notes.txt", "mine");
    netCtrl_clearRecordedCalls();
    ASSERT_EQ(command(6), 0);
    EXPECT_EQ(sendFile("calacamp.xml", "new"), (std::vector<int>{0, 0}));
    EXPECT_TRUE(netCtrl_recordedCalls().isEmpty());
    EXPECT_EQ(head("SEND_END", 0), 0);
    EXPECT_EQ(netCtrl_recordedCalls(), QStringList{"LoadAllCalFile"});
    EXPECT_EQ(tree(app("dat/temp")),
              (std::map<QString, QByteArray>{{"calacamp.xml", "new"}, {"notes.txt", "mine"}}));
    EXPECT_EQ(net_connect_transfer_mode().load(), 0);
}

// ---- Without a connection --------------------------------------------------------

class FileTransferAlone : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sandbox.isValid());
        zoplat::host::reset();
        zoplat::host::setSandboxRoot(sandbox.filePath("root"));
        oldCurrent = QDir::currentPath();
        // A root far beyond 128 bytes.
        deep = sandbox.filePath(QString(3, 'r') + "/" + QString(100, 'd') + "/" + QString(100, 'e'));
        ASSERT_TRUE(QDir().mkpath(deep));
        QDir::setCurrent(deep);
        net_connect_transfer_mode() = 0;
    }
    void TearDown() override
    {
        net_file_connection_ended();
        QDir::setCurrent(oldCurrent);
        zoplat::host::reset();
    }
    NetFileRoots roots() const { return {deep, deep}; }

    TestSandbox sandbox;
    QString oldCurrent;
    QString deep;
};

std::vector<QByteArray> sentFrames;
int sendCalls = 0;
int failSendAt = -1;   // this call and every later one fail (a dead connection)
int recordSend(const u8* frame, u32 length)
{
    if (failSendAt >= 0 && sendCalls++ >= failSendAt)
        return -1;
    sentFrames.emplace_back(reinterpret_cast<const char*>(frame), int(length));
    return 0;
}

TEST_F(FileTransferAlone, ExportTakesLongRootsCutsNamesWholeAndStopsAtTheFirstFailedSend)
{
    const QByteArray e = "\xC3\xA9";
    sandbox.write(deep + "/parameters_bk/AC/x" + QString::fromUtf8(e.repeated(31)), pattern(1500, 7));
    const struct
    {
        int failAt;
        int result;
        size_t frames;
    } rows[] = {
        {0, -1, 0},
        {1, -1, 1},
        {3, -1, 3},
        {-1, 1, 4},   // head, two chunks, KS_END
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.failAt);
        sentFrames.clear();
        sendCalls = 0;
        failSendAt = row.failAt;
        EXPECT_EQ(net_export_files(2, roots(), recordSend, 0), row.result);
        ASSERT_EQ(sentFrames.size(), row.frames);
        if (row.failAt >= 0) {
            EXPECT_EQ(sendCalls, row.failAt + 1);   // nothing tried after the failure
        }
    }
    const pc::Bytes head(pc::decode(sentFrames.front())->payload);
    EXPECT_EQ(head.text(0, 64), "AC/x" + e.repeated(29));
    EXPECT_EQ(pc::Bytes(pc::decode(sentFrames.back())->payload).text(0, 64), "KS_END");
}

TEST_F(FileTransferAlone, FailedWriteOrLeftoversLeaveTheOldFileAndNoTemporary)
{
    sandbox.write(deep + "/parameters_bk/AC/f.par", "old");
    sandbox.write(deep + "/parameters_bk/AC/.g.par.part", "left");
    sandbox.write(deep + "/parameters_bk/.h.part", "left");
    net_file_remove_leftovers(roots());
    const auto expected = std::map<QString, QByteArray>{{"AC", "<dir>"}, {"AC/f.par", "old"}};
    EXPECT_EQ(tree(deep + "/parameters_bk"), expected);

    // A file-size limit of 2000 bytes in a child: the second chunk fails.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{2000, 2000};
        setrlimit(RLIMIT_FSIZE, &limit);
        net_connect_transfer_mode() = 5;
        const QByteArray bytes = pattern(1024, 8);
        const bool ok = net_file_head("AC/f.par", 2500, roots()) == 0
            && net_file_data(reinterpret_cast<const u8*>(bytes.constData()), 1024) == 0
            && net_file_data(reinterpret_cast<const u8*>(bytes.constData()), 1024) == -1
            && net_file_data(reinterpret_cast<const u8*>(bytes.constData()), 452) == -1;
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(tree(deep + "/parameters_bk"), expected);
}

TEST(FileTransferNames, ModeDecidesTheFormOfANameFromThePc)
{
    const struct
    {
        int mode;
        const char* name;
        bool valid;
    } rows[] = {
        {5, "AC/a.par", true},      {5, "a.par", false},         {5, "AC/b/a.par", false},
        {5, "/a.par", false},       {5, "AC/", false},           {5, "../a", false},
        {6, "calacamp.xml", true},  {6, "AC/a.par", false},      {6, "..", false},
        {4, "a.par", true},         {4, "AC/a.par", true},       {0, "a;$(rm -rf x)`q`'\"", true},
        {4, "a\tb", false},         {4, "a\x7f", false},         {4, ".a", false},
        {5, "AC/a..b", false},      {5, "\xC3\xA9/\xC3\xA9", true},  {4, "a\xC3", false},
        {5, "\xFF/a", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(net_file_import_name_valid(row.mode, row.name), row.valid) << row.mode << " " << row.name;
}

} // namespace
