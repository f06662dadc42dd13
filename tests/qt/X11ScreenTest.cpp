// The screen colour and the left Control key as the tracker reads them, on a
// real (virtual) X server: run under xvfb-run with QT_QPA_PLATFORM=xcb.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QTest>
#include <QWidget>
#include <cstdlib>

#include "frontends/qt/QtApplicationSetup.h"
#include "frontends/qt/QtWindowSystem.h"

namespace tintwright::qt {
namespace {

// Whether the key goes down at least once within the time, polling as the
// 50 ms tracking timer does.
bool SeesLeftControlWithin(QtWindowSystem& windowSystem, int milliseconds) {
    return QTest::qWaitFor([&] { return windowSystem.LeftControlPressedSinceLastCall(); }, milliseconds);
}

TEST(X11ScreenTest, ReadsTheColorUnderThePointerAndNothingOffTheScreen) {
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

// A key held down counts once, however many ticks it spans: a reader that
// asked whether the key is down at each tick, or took repeats for presses,
// would make the colour under the pointer current over and over.
TEST(X11ScreenTest, HeldLeftControlCountsOnce) {
    QtWindowSystem windowSystem;
    windowSystem.LeftControlPressedSinceLastCall();  // starts listening
    ASSERT_EQ(std::system("xdotool keydown Control_L"), 0);
    int polls = 0;
    int reported = 0;
    for (; polls < 12; ++polls) {  // 600 ms of 50 ms ticks
        QTest::qWait(50);
        reported += windowSystem.LeftControlPressedSinceLastCall() ? 1 : 0;
    }
    ASSERT_EQ(std::system("xdotool keyup Control_L"), 0);
    QTest::qWait(100);
    reported += windowSystem.LeftControlPressedSinceLastCall() ? 1 : 0;
    EXPECT_EQ(reported, 1) << "polls that saw a press out of " << polls + 1;
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
