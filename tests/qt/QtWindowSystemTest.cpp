// The window system's own services: posted messages, timers, the loop and
// closing, text and numbers, pixels, and starting another program.

#include <QDir>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "frontends/qt/QtMainWindow.h"
#include "resources/PickerImage.h"
#include "tests/qt/QtEditorFixture.h"
#include "window/ControlIds.h"

namespace tintwright::qt::testing {
namespace {

using QtWindowSystemTest = QtEditorFixture;

TEST_F(QtWindowSystemTest, PostedMessagesArriveLaterInOrderAndNotAfterTheWindowIsGone) {
    StartRecorderOnly();
    events->log.clear();
    windowSystem->PostCommand(ids::kGotoButton);
    windowSystem->PostListChanged();
    windowSystem->PostCommand(ids::kForwardOneButton);
    EXPECT_TRUE(events->WithoutTicks().empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(events->WithoutTicks(),
              (std::vector<std::string>{"OnCommand 1010 0", "OnListChanged", "OnCommand 1005 0"}));

    windowSystem->PostCommand(ids::kGotoButton);
    windowSystem->DestroyMainWindow();
    QCoreApplication::processEvents();
    EXPECT_EQ(events->Count("OnCommand", {1010, 0}), 1);
}

// A command that throws (here from the recorder, before the logic) is shown
// in a box, and the editor goes on with the next event.
TEST_F(QtWindowSystemTest, AnEventThatThrowsIsReportedAndTheEditorGoesOn) {
    StartRecorderOnly();
    events->onEvent = [](const std::string& entry) {
        if (entry == "OnCommand 4242 0") throw std::runtime_error("the disk caught fire");
    };
    answerer.Expect([](QWidget* shown) {
        auto* box = qobject_cast<QMessageBox*>(shown);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text().toStdString(),
                  "Tintwright could not finish this action:\nthe disk caught fire");
        ClickButton(shown, "OK");
    });
    windowSystem->PostCommand(4242);
    windowSystem->PostCommand(ids::kGotoButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return events->Count("OnCommand", {1010, 0}) == 1; }, 5000));
    EXPECT_TRUE(answerer.AllAnswered());
}

TEST_F(QtWindowSystemTest, TimerTicksUntilStopped) {
    StartRecorderOnly();
    windowSystem->StartTimer(ids::kTrackingTimer, 5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return events->Count("OnTimer") >= 3; }, 5000));
    windowSystem->StopTimer(ids::kTrackingTimer);
    const int ticks = events->Count("OnTimer");
    QTest::qWait(50);
    EXPECT_EQ(events->Count("OnTimer"), ticks);
}

TEST_F(QtWindowSystemTest, CloseBoxAndExitEndTheLoopWithCodeZero) {
    for (const bool viaMenu : {false, true}) {
        SCOPED_TRACE(viaMenu ? "File > Exit" : "close box");
        windowSystem = std::make_unique<QtWindowSystem>();
        logic = std::make_unique<MainWindow>(*windowSystem, state);
        events = std::make_unique<RecordingEvents>(logic.get());
        events->onInitDialog = [&] {
            QTimer::singleShot(0, windowSystem->MainWindowWidget(), [&] {
                QtMainWindow* window = windowSystem->MainWindowWidget();
                if (viaMenu) {
                    window->menuBar()->actions()[0]->menu()->actions().last()->trigger();
                } else {
                    window->close();
                }
            });
        };
        EXPECT_EQ(windowSystem->RunMainWindow(*events), 0);
        EXPECT_EQ(events->Count("OnClose"), viaMenu ? 0 : 1);
        EXPECT_EQ(events->Count("OnCommand", {ids::kExit, 0}), viaMenu ? 1 : 0);
        EXPECT_EQ(events->Count("OnDestroy"), 1);
        EXPECT_EQ(windowSystem->MainWindowWidget(), nullptr);
    }
}

TEST_F(QtWindowSystemTest, QuitAskedForBeforeTheLoopReturnsAtOnce) {
    windowSystem = std::make_unique<QtWindowSystem>();
    events = std::make_unique<RecordingEvents>();
    events->onInitDialog = [&] { windowSystem->PostQuit(3); };
    EXPECT_EQ(windowSystem->RunMainWindow(*events), 3);
    // The quit stays pending until a loop takes it, and until then every
    // nested loop (menus, boxes) would end at once in the tests that follow
    // in this process; one short application loop takes it.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

TEST_F(QtWindowSystemTest, TextIsCutToTheBufferWithoutSplittingCharacters) {
    StartRecorderOnly();
    windowSystem->SetNumber(ids::kRedEdit, -5, true);
    EXPECT_EQ(windowSystem->GetSignedNumber(ids::kRedEdit), -5);
    windowSystem->SetText(ids::kBlueEdit, "12a");
    EXPECT_EQ(windowSystem->GetSignedNumber(ids::kBlueEdit), std::nullopt);
    windowSystem->SetText(ids::kOffsetBox, "$001F0000");
    EXPECT_EQ(windowSystem->GetText(ids::kOffsetBox, 8), "$001F000");
    windowSystem->SetText(ids::kOffsetBox, "Grün");
    EXPECT_EQ(windowSystem->GetText(ids::kOffsetBox, 3), "Gr");
    windowSystem->SetText(ids::kStatusLine, "<b>Editing</b>");
    EXPECT_EQ(windowSystem->GetText(ids::kStatusLine, 255), "<b>Editing</b>");
}

TEST_F(QtWindowSystemTest, PixelsOfControlsAreReadAndTheScreenIsUnreadableOffscreen) {
    StartRecorderOnly();
    const Point inPicker = windowSystem->MapMainClientToControl(ids::kPickerImage, Point{286, 7});
    EXPECT_EQ(inPicker, (Point{10, 5}));
    const Rgb8 expected = PickerPixel(10, 5);
    EXPECT_EQ(windowSystem->ControlPixel(ids::kPickerImage, inPicker),
              MakeRgbColor(expected.red, expected.green, expected.blue));
    EXPECT_EQ(windowSystem->ControlPixel(ids::kPickerImage, Point{320, 0}), kNoColor);
    EXPECT_EQ(windowSystem->ScreenPixel(windowSystem->CursorScreenPosition()), kNoColor);
    EXPECT_FALSE(windowSystem->LeftControlPressedSinceLastCall());
}

}  // namespace
}  // namespace tintwright::qt::testing
