// The nine segments: keys, sizes, stale segments, a fresh IPC namespace,
// the two-flag lock and the Qt side's publication.

#include "RemoteTestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRegularExpression>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <functional>
#include <sched.h>
#include <sys/wait.h>
#include <thread>

using namespace remotetest;

namespace {

size_t pageRounded(size_t size)
{
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    return (size + page - 1) / page * page;
}

size_t segmentBytes(key_t key)
{
    shmid_ds ds{};
    const int id = shmget(key, 0, 0);
    return id >= 0 && shmctl(id, IPC_STAT, &ds) == 0 ? size_t(ds.shm_segsz) : 0;
}

const size_t kSizes[SHM_SEGMENT_COUNT] = {2576, 40292, 500, 532, 84, 52, 65564, 65564, 65564};

class RemoteSegments : public RemoteTest
{
};

TEST_F(RemoteSegments, NineSegmentsAtTheKeyBaseAndStaleOnesReplaced)
{
    for (int i = 0; i < SHM_SEGMENT_COUNT; ++i) {
        SCOPED_TRACE(i);
        const key_t key = key_t(uint32_t(testKeyBase()) + uint32_t(i) * 0x01000000u);
        EXPECT_EQ(shm_testing_key(i), key);
        EXPECT_EQ(segmentBytes(key), pageRounded(kSizes[i]));
        EXPECT_EQ(shm_testing_id(i), shmget(key, 0, 0));
    }

    // Stale segments of one page under every key, and one under a key the
    // service does not own: the large segments cannot attach, the service's
    // nine keys are removed through the runner's record, the retry succeeds.
    shm_release_testing_handle();
    removeTestKeys();
    const key_t foreign = key_t(uint32_t(testKeyBase()) + 9u * 0x01000000u);
    for (int i = 0; i <= SHM_SEGMENT_COUNT; ++i)
        ASSERT_GE(shmget(key_t(uint32_t(testKeyBase()) + uint32_t(i) * 0x01000000u), 1, IPC_CREAT | 0600), 0);
    zoplat::host::clearRecordedCommands();
    ASSERT_EQ(netCtrlInit(), 0);
    QStringList expected;
    for (int i = 0; i < SHM_SEGMENT_COUNT; ++i)
        expected << QString::asprintf("ipcrm -M 0x%x \n", unsigned(shm_testing_key(i)));
    expected << "ipcs";
    const QStringList commands = zoplat::host::recordedCommands().filter(QRegularExpression("^ipc"));
    EXPECT_EQ(commands, expected);
    for (int i = 0; i < SHM_SEGMENT_COUNT; ++i)
        EXPECT_EQ(segmentBytes(shm_testing_key(i)), pageRounded(kSizes[i])) << i;
    EXPECT_EQ(segmentBytes(foreign), 1u);   // left alone
}

// With the product keys in an IPC namespace of its own, where the first
// segment gets the id 0 (a valid id) and nothing is removed.
TEST_F(RemoteSegments, ProductKeysInAFreshIpcNamespace)
{
    int pipefd[2];
    ASSERT_EQ(pipe(pipefd), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipefd[0]);
        auto fail = [&](const QByteArray& why) {
            (void)!write(pipefd[1], why.constData(), size_t(why.size()));
            _exit(1);
        };
        // With the capability alone, else in a user namespace of its own
        // (refused to a process with threads, as under ThreadSanitizer).
        if (unshare(CLONE_NEWIPC) != 0 && unshare(CLONE_NEWUSER | CLONE_NEWIPC) != 0) {
            const QByteArray why = "unshare(CLONE_NEWUSER | CLONE_NEWIPC): " + QByteArray(strerror(errno));
            (void)!write(pipefd[1], why.constData(), size_t(why.size()));
            _exit(77);
        }
        shm_release_testing_handle();
        zoplat::host::setSharedMemoryKeyBase(key_t(0xA0A01234u));
        zoplat::host::clearRecordedCommands();
        if (netCtrlInit() != 0)
            fail("netCtrlInit failed");
        const int order[SHM_SEGMENT_COUNT] = {SHM_SEGMENT_MACHINE, SHM_SEGMENT_CAL,       SHM_SEGMENT_CONFIG,
                                              SHM_SEGMENT_STATUS,  SHM_SEGMENT_CONTROL,   SHM_SEGMENT_CLOCK,
                                              SHM_SEGMENT_PARAMETER, SHM_SEGMENT_RESULT, SHM_SEGMENT_PROCEDURE};
        for (int i = 0; i < SHM_SEGMENT_COUNT; ++i) {
            if (shm_testing_id(order[i]) != i)
                fail(QByteArray("segment ") + QByteArray::number(order[i]) + " has id "
                     + QByteArray::number(shm_testing_id(order[i])));
            if (uint32_t(shm_testing_key(i)) != 0xA0A01234u + uint32_t(i) * 0x01000000u)
                fail("not the product key");
        }
        for (const QString& c : zoplat::host::recordedCommands()) {
            if (c.startsWith("ipc"))
                fail("removed: " + c.toLatin1());
        }
        _exit(0);
    }
    close(pipefd[1]);
    QByteArray message;
    char buf[256];
    ssize_t n;
    while ((n = read(pipefd[0], buf, sizeof buf)) > 0)
        message.append(buf, int(n));
    close(pipefd[0]);
    int st = 0;
    ASSERT_EQ(waitpid(child, &st, 0), child);
    ASSERT_TRUE(WIFEXITED(st));
    if (WEXITSTATUS(st) == 77)
        GTEST_SKIP() << "IPC namespaces refused: " << message.constData();
    EXPECT_EQ(WEXITSTATUS(st), 0) << message.constData();
}

// A child that runs work(), then lives on until *release is closed, or
// (release null) has ended and been reaped when this returns.
pid_t spawn(const std::function<void()>& work, int* release)
{
    int hold[2], ready[2];
    if (pipe(hold) != 0 || pipe(ready) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(hold[1]);
        work();
        char c;
        (void)!write(ready[1], "x", 1);
        (void)!read(hold[0], &c, release ? 1 : 0);
        _exit(0);
    }
    char c;
    (void)!read(ready[0], &c, 1);
    for (int fd : {hold[0], ready[0], ready[1]})
        close(fd);
    if (release) {
        *release = hold[1];
    } else {
        close(hold[1]);
        waitpid(pid, nullptr, 0);
    }
    return pid;
}

// A second start is told the process that holds the segments: their creator
// while it runs, else one that has them attached; never the last process to
// attach or detach when that one has ended.
TEST_F(RemoteSegments, HolderNamedIsARunningProcessThatHoldsTheSegments)
{
    shm_release_testing_handle();
    removeTestKeys();
    const key_t key = shm_testing_key(SHM_SEGMENT_MACHINE);
    for (const bool creatorRuns : {true, false}) {
        SCOPED_TRACE(creatorRuns ? "creator runs" : "creator ended, another attached");
        int release[2] = {-1, -1};
        const pid_t creator = spawn([key] { shmat(shmget(key, 4096, IPC_CREAT | 0600), nullptr, 0); },
                                    creatorRuns ? &release[0] : nullptr);
        const pid_t attached = creatorRuns ? 0 : spawn([key] { shmat(shmget(key, 0, 0), nullptr, 0); }, &release[1]);
        spawn([key] { shmdt(shmat(shmget(key, 0, 0), nullptr, 0)); }, nullptr);
        key_t held = 0;
        pid_t holder = 0;
        EXPECT_TRUE(shm_testing_held_elsewhere(&held, &holder));
        EXPECT_EQ(std::make_pair(held, holder), std::make_pair(key, creatorRuns ? creator : attached));
        for (int fd : release)
            close(fd);
        while (waitpid(-1, nullptr, 0) > 0) {
        }
        removeTestKeys();
    }
}

// A creator that has ended but is not reaped yet still holds its segment,
// but is no copy that runs: none is named.
TEST_F(RemoteSegments, AnEndedCreatorIsNotNamed)
{
    shm_release_testing_handle();
    removeTestKeys();
    const key_t key = shm_testing_key(SHM_SEGMENT_MACHINE);
    const pid_t creator = fork();
    if (creator == 0) {
        shmat(shmget(key, 4096, IPC_CREAT | 0600), nullptr, 0);
        _exit(0);
    }
    ASSERT_GT(creator, 0);
    siginfo_t ended{};
    ASSERT_EQ(waitid(P_PID, id_t(creator), &ended, WEXITED | WNOWAIT), 0);   // ended, not reaped
    key_t held = 0;
    pid_t holder = -1;
    EXPECT_TRUE(shm_testing_held_elsewhere(&held, &holder));
    EXPECT_EQ(holder, 0);
    waitpid(creator, nullptr, 0);
    removeTestKeys();
}

std::atomic<int> naps{0};
void countedNap()
{
    naps.fetch_add(1);
    std::this_thread::yield();
}

TEST_F(RemoteSegments, LockKeepsTheSidesApart)
{
    // Two client threads (they share the client flag) and the server side
    // take the status segment for a fixed number of rounds; never two at once.
    // After a tie the client side waits for the server side's next round, as
    // the product's publications wait for their timer: on one CPU two sides
    // that retry at once can stay in step for ever.
    shm_set_lock_nap(countedNap);
    constexpr int kRounds = 1000;
    std::atomic<int> inside{0};
    std::atomic<int> overlaps{0};
    std::atomic<int> serverRounds{0};
    uint32_t counter = 0;   // plain: guarded by the segment lock alone
    std::atomic<int> ready{0};
    auto side = [&](ShmSide s) {
        ready.fetch_add(1);
        while (ready.load() < 3)
            std::this_thread::yield();
        for (int done = 0; done < kRounds;) {
            const int seen = serverRounds.load();
            ShmAccess access(s, SHM_SEGMENT_STATUS);
            if (!access.held()) {
                while (s == ShmSide::Client && serverRounds.load() == seen && seen < kRounds)
                    std::this_thread::yield();
                continue;
            }
            if (inside.fetch_add(1) != 0)
                overlaps.fetch_add(1);
            ++counter;
            std::this_thread::yield();   // a holder keeps the segment for a while
            global_shm_status->status.resulted_input_binary_state = counter;
            inside.fetch_sub(1);
            ++done;
            if (s == ShmSide::Server)
                serverRounds.fetch_add(1);
        }
    };
    std::thread gui(side, ShmSide::Client);
    std::thread receive(side, ShmSide::Client);
    std::thread push(side, ShmSide::Server);
    gui.join();
    receive.join();
    push.join();
    EXPECT_EQ(overlaps.load(), 0);
    EXPECT_EQ(counter, 3u * kRounds);
    EXPECT_EQ(global_shm_status->ctrl.client_locked, 0u);
    EXPECT_EQ(global_shm_status->ctrl.server_locked, 0u);
}

TEST_F(RemoteSegments, AttemptAgainstAHeldFlagGivesUpAndThePublicationFollows)
{
    shm_set_lock_nap(countedNap);
    const struct
    {
        int segment;
        ShmSide side;
        int tries;
    } rows[] = {
        {SHM_SEGMENT_STATUS, ShmSide::Client, SHM_LOCK_TRIES},
        {SHM_SEGMENT_PROCEDURE, ShmSide::Server, SHM_LOCK_TRIES},
        {SHM_SEGMENT_CONTROL, ShmSide::Server, SHM_CONTROL_LOCK_TRIES},
    };
    EXPECT_EQ(SHM_LOCK_TRIES, 20);
    EXPECT_EQ(SHM_CONTROL_LOCK_TRIES, 10);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.segment);
        shm_shmem_datctrl* h = shm_testing_header(row.segment);
        const bool client = row.side == ShmSide::Client;
        (client ? h->server_locked : h->client_locked) = 1;   // the other side holds it
        naps = 0;
        ShmAccess access(row.side, row.segment, row.tries);
        EXPECT_FALSE(access.held());
        EXPECT_EQ(naps.load(), row.tries);
        EXPECT_EQ(client ? h->client_locked : h->server_locked, 0u);
        (client ? h->server_locked : h->client_locked) = 0;
    }

    // A publication that times out is written after the release, never before.
    global_shm_status->ctrl.server_locked = 1;
    netCtrl_updateBIState(0x9);
    EXPECT_EQ(global_shm_status->ctrl.client_locked, 0u);
    EXPECT_EQ(global_shm_status->status.resulted_input_binary_state, 0u);
    EXPECT_EQ(global_shm_status->ctrl.server_changes, 0u);
    netCtrl_updateBOState(0x2);   // another part of the status: kept with it
    netCtrl_updateBIState(0x3);   // the newer input word replaces the older
    QCoreApplication::processEvents();
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 50)
        QCoreApplication::processEvents();
    EXPECT_EQ(global_shm_status->status.resulted_input_binary_state, 0u);
    global_shm_status->ctrl.server_locked = 0;
    t.restart();
    while (global_shm_status->ctrl.server_changes == 0 && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    const std::vector<pc::Frame> frames = pushedFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(pc::Bytes(frames[0].payload).u32(60), 0x3u);
    EXPECT_EQ(pc::Bytes(frames[0].payload).u32(44), 0x2u);
}

TEST_F(RemoteSegments, PreparationClearsWhatAKilledProcessLeft)
{
    for (int i = 0; i < SHM_SEGMENT_COUNT; ++i) {
        shm_shmem_datctrl* h = shm_testing_header(i);
        h->server_locked = h->client_locked = 1;
        h->server_changes = 0x14;
    }
    ASSERT_EQ(netCtrlInit(), 0);
    for (int i = 0; i < SHM_SEGMENT_COUNT; ++i) {
        SCOPED_TRACE(i);
        const shm_shmem_datctrl* h = shm_testing_header(i);
        EXPECT_EQ(h->server_locked, 0u);
        EXPECT_EQ(h->client_locked, 0u);
        const bool pushed = i == SHM_SEGMENT_STATUS || i == SHM_SEGMENT_PROCEDURE || i == SHM_SEGMENT_RESULT;
        EXPECT_EQ(h->server_changes, pushed ? 0u : 0x14u);
    }
}

// PREPARE clears the pushed records' type, length and change mark, under the
// client lock: never while the push side holds the segment, never its flags.
TEST_F(RemoteSegments, PrepareClearsOnlyThePushedRecordsAndNotUnderThePushSide)
{
    shm_set_lock_nap(countedNap);
    const QByteArray prepare = pc::frame(pc::SetControl, 0x0000, pc::control(0x4).data);
    for (bool pushSideHolds : {true, false}) {
        SCOPED_TRACE(pushSideHolds);
        for (shm_share_record* r : {global_shm_procedure, global_shm_result}) {
            r->data_type = 0xC104;
            r->data_length = 377;
            r->buffer[0] = 0x5A;
            r->ctrl.server_changes = 1;
            r->ctrl.server_locked = pushSideHolds ? 1 : 0;
        }
        EXPECT_EQ(answer(prepare), QByteArray(1, '\0'));
        for (shm_share_record* r : {global_shm_procedure, global_shm_result}) {
            EXPECT_EQ(r->data_type, pushSideHolds ? 0xC104u : 0u);
            EXPECT_EQ(r->data_length, pushSideHolds ? 377u : 0u);
            EXPECT_EQ(r->ctrl.server_changes, pushSideHolds ? 1u : 0u);
            EXPECT_EQ(r->ctrl.server_locked, pushSideHolds ? 1u : 0u);
            EXPECT_EQ(r->ctrl.client_locked, 0u);
            EXPECT_EQ(r->buffer[0], 0x5A);
            r->ctrl.server_locked = 0;
        }
    }
}

} // namespace
