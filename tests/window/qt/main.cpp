// The widget tests' program: one application for every test, set up as the program sets up its own.

#include <gtest/gtest.h>

#include <QApplication>

#include "window/qt/application.h"

int main(int argc, char* argv[]) {
    // Widget tests need no display; the offscreen platform also keeps the cursor to itself. The
    // few that need a real X server's primary selection run again under Xvfb.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    hexorin::prepareEnvironment();
    QApplication application(argc, argv);
    hexorin::prepareApplication(application);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
