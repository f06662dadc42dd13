// The preview window: frames at their scale, keys down and up, its own timer,
// the close box, on the offscreen platform (device pixel ratio 1).

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>
#include <cstdint>
#include <vector>

#include "frontends/qt/QtPreviewPicture.h"
#include "frontends/qt/QtPreviewWindow.h"
#include "tests/qt/QtEditorFixture.h"

namespace tintwright::qt::testing {
namespace {

class QtPreviewWindowTest : public QtEditorFixture {
protected:
    void SetUp() override {
        StartRecorderOnly();
        preview = windowSystem->CreatePreviewWindow("Game Preview");
        ASSERT_NE(preview, 0);
        window = windowSystem->PreviewWindow(preview);
        events->log.clear();
    }

    // Green, with the first pixel red and the last blue.
    static std::vector<std::uint32_t> Frame(int width, int height) {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, 0x0000FF00u);
        pixels.front() = 0x00FF0000u;
        pixels.back() = 0x000000FFu;
        return pixels;
    }

    PreviewHandle preview = 0;
    QtPreviewWindow* window = nullptr;
};

TEST_F(QtPreviewWindowTest, AFrameShowsItsPixelsAtTheScaleForItsWidth) {
    struct Case {
        int width;
        int height;
        int scale;
    };
    for (const Case& c : {Case{256, 224, 2}, Case{512, 478, 1}, Case{256, 239, 2}}) {
        SCOPED_TRACE(c.width);
        const auto pixels = Frame(c.width, c.height);
        windowSystem->PresentPreviewFrame(preview, {c.width, c.height, pixels});
        const QImage shown = window->Picture()->grab().toImage();
        ASSERT_EQ(shown.size(), QSize(c.width * c.scale, c.height * c.scale));
        EXPECT_EQ(shown.pixel(c.scale - 1, c.scale - 1) & 0xFFFFFFu, 0xFF0000u);
        EXPECT_EQ(shown.pixel(c.scale, 0) & 0xFFFFFFu, 0x00FF00u);
        EXPECT_EQ(shown.pixel(shown.width() - c.scale, shown.height() - 1) & 0xFFFFFFu, 0x0000FFu);
        EXPECT_EQ(window->height(), shown.height() + window->StatusLine()->height());
    }
    windowSystem->SetPreviewStatus(preview, "rows 2 follow the ROM");
    EXPECT_EQ(window->StatusLine()->text().toStdString(), "rows 2 follow the ROM");
}

TEST_F(QtPreviewWindowTest, KeysArriveDownAndUpWithoutRepeatsAndTheCloseBoxLeavesTheWindowToTheLogic) {
    QTest::keyPress(window, Qt::Key_Space);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(window, &repeat);
    QTest::keyRelease(window, Qt::Key_Space);
    QTest::keyClick(window, Qt::Key_Backspace);
    QTest::keyClick(window, Qt::Key_F);
    window->close();
    EXPECT_EQ(events->WithoutTicks(),
              (std::vector<std::string>{RecordingEvents::KeyEntry(preview, PreviewKey::Space, true),
                                        RecordingEvents::KeyEntry(preview, PreviewKey::Space, false),
                                        RecordingEvents::KeyEntry(preview, PreviewKey::Backspace, true),
                                        RecordingEvents::KeyEntry(preview, PreviewKey::Backspace, false),
                                        RecordingEvents::KeyEntry(preview, PreviewKey::Other, true),
                                        RecordingEvents::KeyEntry(preview, PreviewKey::Other, false),
                                        RecordingEvents::Entry("OnPreviewClose", {preview})}));
    EXPECT_EQ(windowSystem->PreviewWindow(preview), window);
    windowSystem->DestroyPreviewWindow(preview);
    EXPECT_EQ(windowSystem->PreviewWindow(preview), nullptr);
}

TEST_F(QtPreviewWindowTest, ItsTimerTicksUntilStoppedBesideTheMainWindowsOwn) {
    windowSystem->StartPreviewTimer(preview, 5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return events->Count("OnPreviewTimer", {preview}) >= 3; }, 5000));
    windowSystem->StopPreviewTimer(preview);
    const int ticks = events->Count("OnPreviewTimer", {preview});
    QTest::qWait(50);
    EXPECT_EQ(events->Count("OnPreviewTimer", {preview}), ticks);
    EXPECT_EQ(events->Count("OnTimer"), 0);
}

}  // namespace
}  // namespace tintwright::qt::testing
