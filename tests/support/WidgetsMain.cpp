// Runs a test suite inside a QApplication that lives for the whole run,
// offscreen unless a display is asked for, on a screen the size of a
// desktop's (the offscreen default is 800x600).
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" ZB_OFFSCREEN_CONFIG);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
