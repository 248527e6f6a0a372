#include <gtest/gtest.h>

#include <QCoreApplication>

// Every test program gets a Qt application object, so tests may use
// event loops, timers and queued signals.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
