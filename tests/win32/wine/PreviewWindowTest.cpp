// The preview window beside the real main window: frames painted at their
// scale, the status line's characters beyond ASCII, keys down and up, its own
// timer, the close box handled by the editor, and the main window still
// answering while the preview is open.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "frontends/win32/GdiObject.h"
#include "frontends/win32/WindowDc.h"
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

// A part of a window as the screen shows it, top-down 0x00RRGGBB.
std::vector<std::uint32_t> ScreenPixels(HWND window, const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const win32::WindowDc screen(window);
    const HDC memory = CreateCompatibleDC(screen.Get());
    const win32::Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    const HGDIOBJ previous = SelectObject(memory, bitmap.Get());
    BitBlt(memory, 0, 0, width, height, screen.Get(), area.left, area.top, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    GetDIBits(memory, bitmap.Get(), 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    DeleteDC(memory);
    return pixels;
}

// The editor's status texts carry an en dash ("rows 0–15") and a
// multiplication sign (a frame's size): the window shows the same pixels as
// those words drawn over its status line in UTF-16, in the line's font and place.
void ExpectStatusShownAsWritten(Win32WindowSystem& windowSystem, PreviewHandle preview, int statusTop) {
    const HWND shown = windowSystem.PreviewWindow(preview);
    windowSystem.SetPreviewStatus(preview, "rows 0\u201315 follow the ROM; 640 \u00d7 480");
    UpdateWindow(shown);
    RECT status{};
    GetClientRect(shown, &status);
    status.top = statusTop;
    const std::vector<std::uint32_t> painted = ScreenPixels(shown, status);
    {
        const win32::WindowDc dc(shown);
        FillRect(dc.Get(), &status, GetSysColorBrush(COLOR_BTNFACE));
        SelectObject(dc.Get(), GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc.Get(), TRANSPARENT);
        SetTextColor(dc.Get(), GetSysColor(COLOR_BTNTEXT));
        RECT text = status;
        text.left += 4;
        DrawTextW(dc.Get(), L"rows 0\u201315 follow the ROM; 640 \u00d7 480", -1, &text,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    EXPECT_TRUE(ScreenPixels(shown, status) == painted) << "the status line shows other characters";
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
