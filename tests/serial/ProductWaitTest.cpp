// Waits that another thread or input on a port ends (zoplat::Wakeup), on the
// scaled real clock and on a test's sleeper.

#include "SerialTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

TEST(ProductWait, EndsOnInputOnAChangeOrWhenItsTimeIsUp)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(0, grantpt(master));
    ASSERT_EQ(0, unlockpt(master));
    const int port = open(ptsname(master), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(port, 0);
    termios raw{};
    ASSERT_EQ(0, tcgetattr(port, &raw));
    cfmakeraw(&raw);   // a byte is input at once, not at the end of a line
    ASSERT_EQ(0, tcsetattr(port, TCSANOW, &raw));
    constexpr int64_t kHourMs = 3600000;   // never waited out while the wait works

    for (const bool sleeper : {false, true}) {
        SCOPED_TRACE(sleeper ? "a test's sleeper" : "real-time waits");
        zoplat::host::reset();
        zoplat::setTimeScale(0.01);
        if (sleeper)
            zoplat::setSleeper(serialtest::settledSleep);
        zoplat::Wakeup wakeup(10);

        const int64_t start = zoplat::monotonicMs();
        EXPECT_EQ(0, wakeup.waitReadable(port, 500, {}));
        EXPECT_GE(zoplat::monotonicMs() - start, 500);

        ASSERT_EQ(1, write(master, "x", 1));
        EXPECT_EQ(1, wakeup.waitReadable(port, kHourMs, {}));
        char byte = 0;
        EXPECT_EQ(1, read(port, &byte, 1));

        std::atomic<bool> stop{false};
        std::thread other([&] {
            stop = true;
            wakeup.wake();
        });
        EXPECT_TRUE(wakeup.sleepMs(kHourMs, [&] { return stop.load(); }));
        EXPECT_EQ(-1, wakeup.waitReadable(port, kHourMs, [&] { return stop.load(); }));
        other.join();
    }
    zoplat::host::reset();
    close(port);
    close(master);
}
