// The screen colour and the left Control key as the tracker reads them, on a
// real (virtual) X server: run under xvfb-run with QT_QPA_PLATFORM=xcb.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QTest>
#include <QWidget>
#include <cstdlib>

#include "ui/qt/QtApplicationSetup.h"
#include "ui/qt/QtWindowSystem.h"

namespace tintwright::qt {
namespace {

// Whether the key goes down at least once within the time, polling as the
// 50 ms tracking timer does.
bool SeesLeftControlWithin(QtWindowSystem& windowSystem, int milliseconds) {
    return QTest::qWaitFor([&] { return windowSystem.LeftControlPressedSinceLastCall(); }, milliseconds);
}

TEST(X11ScreenTest, ReadsTheColourUnderThePointerAndNothingOffTheScreen) {
    QWidget patch(nullptr, Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
    patch.setStyleSheet(QStringLiteral("background-color: rgb(248, 16, 96);"));
    patch.setGeometry(100, 120, 60, 40);
    patch.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&patch));
    QTest::qWait(100);

    QtWindowSystem windowSystem;
    QCursor::setPos(130, 140);
    QTRY_COMPARE(windowSystem.CursorScreenPosition(), (Point{130, 140}));
    EXPECT_EQ(windowSystem.ScreenPixel(windowSystem.CursorScreenPosition()), 0x006010F8u);  // 0x00BBGGRR
    EXPECT_EQ(windowSystem.ScreenPixel(Point{-1, 5}), 0xFFFFFFFFu);
    EXPECT_EQ(windowSystem.ScreenPixel(Point{100000, 5}), 0xFFFFFFFFu);
}

TEST(X11ScreenTest, CountsLeftControlPressesSinceTheLastLook) {
    QtWindowSystem windowSystem;
    windowSystem.LeftControlPressedSinceLastCall();  // starts listening
    ASSERT_EQ(std::system("xdotool key Control_L"), 0);
    EXPECT_TRUE(SeesLeftControlWithin(windowSystem, 3000));
    EXPECT_FALSE(windowSystem.LeftControlPressedSinceLastCall()) << "each press is reported once";
    ASSERT_EQ(std::system("xdotool key shift+a"), 0);
    EXPECT_FALSE(SeesLeftControlWithin(windowSystem, 300));
}

}  // namespace
}  // namespace tintwright::qt

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    tintwright::qt::ConfigureApplication(application);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
