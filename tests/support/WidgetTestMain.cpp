// Test runner for suites that need a QApplication (offscreen platform, no display).
#include "ErrorDisplay.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");   // real widgets, no display needed
    Application app(argc, argv);
    return RUN_ALL_TESTS();
}
