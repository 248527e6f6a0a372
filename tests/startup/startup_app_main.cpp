#include "CustomApplication.h"

#include <gtest/gtest.h>

// The application object of the program, as in the product: the tests of
// its input reports and of the start-up pieces run under it.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    CustomApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
