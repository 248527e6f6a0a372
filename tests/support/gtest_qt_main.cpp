#include <gtest/gtest.h>

#include <QCoreApplication>

#ifdef ZOR_TSAN_QT_SYNC
void zorTsanQtSyncInstall();
#endif

// Every test program gets a Qt application object, so tests may use
// event loops, timers and queued signals.
int main(int argc, char** argv)
{
#ifdef ZOR_TSAN_QT_SYNC
    zorTsanQtSyncInstall();
#endif
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
