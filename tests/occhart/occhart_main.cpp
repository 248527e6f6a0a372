#include <gtest/gtest.h>

#include <QGuiApplication>

// The chart's axis labels are drawn with fonts, which need a GUI application;
// the offscreen platform needs no display.
int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
