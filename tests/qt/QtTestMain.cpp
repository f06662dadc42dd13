// The Qt tests run in one QApplication, set up as the program sets up its own,
// on the offscreen platform unless the environment names another.

#include <gtest/gtest.h>

#include <QApplication>

#include "frontends/qt/QtApplicationSetup.h"

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    tintwright::qt::ConfigureApplication(application);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
