// What the simulated board does while nothing happens: the pacer sleeps
// until the next deadline unless pages play, and a serial device's thread
// wakes for the product's bytes and its own due times only.

#include "SimPacer.h"
#include "SimTestSupport.h"
#include "serial/SimBatteryPack.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

using simtest::waitFor;

namespace {

class IdlePacer : public simtest::AttachedSimTest
{
};

TEST_F(IdlePacer, TheTimerRunsOnlyForPagesAndDeadlines)
{
    zorsim::SimPacer pacer(sim, 1.0, 5);
    pacer.start();
    ASSERT_TRUE(waitFor([&] { return pacer.nextWakeMs() == -1; })) << "nothing pending, nothing played";
    const int64_t asleep = sim.nowNs();
    ASSERT_TRUE(waitFor([&] { return sim.nowNs() >= asleep + 20 * kMs; })) << "time follows when used";

    // A contact debounced for 200 ms: the timer fires that deadline unasked.
    write32(0x8404, 200000);
    sim.setBinaryInput(0, true);
    ASSERT_TRUE(waitFor([&] { return pacer.nextWakeMs() >= 0; }));
    EXPECT_LE(pacer.nextWakeMs(), 200);
    ASSERT_TRUE(waitFor([&] { return pacer.nextWakeMs() == -1; }));
    EXPECT_EQ(sim.peekRegister(0x8338), 0x0001);

    // Pages playing: every interval; stopped: asleep again.
    simtest::PageBuilder page;
    writePage(0, page.trigger(zorsim::TriggerType::Time).durationSeconds(100.0));
    write16(0x833E, 4);
    ASSERT_TRUE(waitFor([&] { return pacer.nextWakeMs() >= 0 && pacer.nextWakeMs() <= 5; }));
    write16(0x833E, 0);
    ASSERT_TRUE(waitFor([&] { return pacer.nextWakeMs() == -1; }));
}

TEST(IdleSerialDevice, WakesForTheRequestAndTheAnswerOnly)
{
    zorsim::SimBatteryPack pack(zorsim::SimBatteryPack::Protocol::Binary);
    pack.setResponseDelayMs(100);
    pack.start();
    const int fd = open(pack.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    const uint64_t before = pack.wakeUps();
    const QByteArray request = zorsim::SimBatteryPack::binaryFrame(0xA5, 0x03, QByteArray());
    ASSERT_EQ(ssize_t(request.size()), write(fd, request.constData(), size_t(request.size())));
    pollfd pfd{fd, POLLIN, 0};
    ASSERT_EQ(1, poll(&pfd, 1, 20000)) << "the answer, 100 ms later";
    EXPECT_LE(pack.wakeUps() - before, 4u) << "not woken every millisecond while the answer was due";
    close(fd);
}

} // namespace
