// The preview window beside the real main window: frames painted at their
// scale, the status line's characters beyond ASCII, keys down and up, its own
// timer, the close box handled by the editor, and the main window still
// answering while the preview is open.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tests/win32/wine/EditorSession.h"
#include "tests/win32/wine/WindowProbe.h"
#include "window/ControlIds.h"

namespace tintwright::testing {
namespace {

// Green, with the first pixel red and the last blue.
std::vector<std::uint32_t> Frame(int width, int height) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, 0x0000FF00u);
    pixels.front() = 0x00FF0000u;
    pixels.back() = 0x000000FFu;
    return pixels;
}

// The editor's status texts carry an en dash ("rows 0–15") and a
// multiplication sign (a frame's size): the window shows the same pixels as
// those words drawn over its status line in UTF-16, in the line's font and place.
void ExpectStatusShownAsWritten(Win32WindowSystem& windowSystem, PreviewHandle preview, int statusTop) {
    windowSystem.SetPreviewStatus(preview, "rows 0\u201315 follow the ROM; 640 \u00d7 480");
    EXPECT_TRUE(PreviewStatusShows(windowSystem.PreviewWindow(preview), statusTop,
                                   L"rows 0\u201315 follow the ROM; 640 \u00d7 480"))
        << "the status line shows other characters";
}

TEST(PreviewWindow, AFrameAtTheScaleForItsWidthAndTheStatusAsWrittenArePaintedBesideAWorkingMainWindow) {
    EditorSession session;
    session.Run([&](HWND window) {
        const PreviewHandle preview = session.windowSystem.CreatePreviewWindow("Game Preview");
        ASSERT_NE(preview, 0);
        const HWND shown = session.windowSystem.PreviewWindow(preview);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(GetWindow(shown, GW_OWNER), nullptr);
        EXPECT_EQ(WindowText(shown), "Game Preview");
        ExpectStatusShownAsWritten(session.windowSystem, preview, 224 * 2);  // under the first, blank frame
        // A status wider than the picture wraps onto more lines under it.
        RECT oneLine{};
        GetClientRect(shown, &oneLine);
        session.windowSystem.SetPreviewStatus(preview,
                                              "row 3 is loaded from $1A000 (live); row 4 is loaded from "
                                              "$2C000 (live); row 5 is loaded from $2E400 (live); $30000 "
                                              "is not used in this scene");
        RECT wrapped{};
        GetClientRect(shown, &wrapped);
        EXPECT_EQ(wrapped.right, oneLine.right);
        EXPECT_GT(wrapped.bottom, oneLine.bottom);
        struct Case {
            int width;
            int height;
            int scale;
        };
        for (const Case& c : {Case{256, 224, 2}, Case{512, 478, 1}}) {
            SCOPED_TRACE(c.width);
            const auto pixels = Frame(c.width, c.height);
            session.windowSystem.PresentPreviewFrame(preview, {c.width, c.height, pixels});
            const PixelRect client = ClientRect(shown);
            EXPECT_EQ(client.right - client.left, c.width * c.scale);
            EXPECT_GT(client.bottom - client.top, c.height * c.scale);  // the status line below
            EXPECT_EQ(PaintedPixel(shown, c.scale - 1, c.scale - 1), RGB(255, 0, 0));
            EXPECT_EQ(PaintedPixel(shown, c.scale, 0), RGB(0, 255, 0));
            EXPECT_EQ(PaintedPixel(shown, c.width * c.scale - 1, c.height * c.scale - 1), RGB(0, 0, 255));
        }
        // The main window keeps its own object and state with the preview open:
        // one word forward, the second cell's colour is the first's.
        const RgbColor second = StripCellColor(window, 1);
        Click(window, ids::kForwardOneButton);
        EXPECT_EQ(session.events.Count("OnCommand", {ids::kForwardOneButton, 0}), 1);
        EXPECT_EQ(StripCellColor(window, 0), second);
    });
}

TEST(PreviewWindow, KeysTicksAndTheCloseBoxReachTheEditorWhichDestroysTheWindow) {
    EditorSession session;
    session.Run([&](HWND) {
        const PreviewHandle preview = session.windowSystem.CreatePreviewWindow("Game Preview");
        const HWND shown = session.windowSystem.PreviewWindow(preview);
        ASSERT_NE(shown, nullptr);
        session.events.log.clear();
        SendMessageA(shown, WM_KEYDOWN, VK_SPACE, 0x00390001);
        SendMessageA(shown, WM_KEYDOWN, VK_SPACE, 0x40390001);  // held: a repeat
        SendMessageA(shown, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u));
        SendMessageA(shown, WM_KEYDOWN, VK_SHIFT, 0x00360001);  // the right one's scan code
        SendMessageA(shown, WM_KEYDOWN, VK_SHIFT, 0x002A0001);  // the left one's
        SendMessageA(shown, WM_KEYDOWN, 'F', 0x00210001);
        EXPECT_EQ(session.events.WithoutTicks(),
                  (std::vector<std::string>{RecordingEvents::KeyEntry(preview, PreviewKey::Space, true),
                                            RecordingEvents::KeyEntry(preview, PreviewKey::Space, false),
                                            RecordingEvents::KeyEntry(preview, PreviewKey::RightShift, true),
                                            RecordingEvents::KeyEntry(preview, PreviewKey::Other, true),
                                            RecordingEvents::KeyEntry(preview, PreviewKey::Other, true)}));

        session.windowSystem.StartPreviewTimer(preview, 10);
        EXPECT_TRUE(PumpUntil([&] { return session.events.Count("OnPreviewTimer", {preview}) >= 3; }));
        session.windowSystem.StopPreviewTimer(preview);
        Pump();
        const int ticks = session.events.Count("OnPreviewTimer", {preview});
        Pump(60);
        EXPECT_EQ(session.events.Count("OnPreviewTimer", {preview}), ticks);

        SendMessageA(shown, WM_CLOSE, 0, 0);
        EXPECT_EQ(session.events.Count("OnPreviewClose", {preview}), 1);
        EXPECT_FALSE(IsWindow(shown));
        EXPECT_EQ(session.windowSystem.PreviewWindow(preview), nullptr);
    });
}

}  // namespace
}  // namespace tintwright::testing
