// The front end's half of the contract: real window messages arrive in the
// logic as the events the seam promises, with the right ids, codes and
// main-window client coordinates, and the seam's operations act on the real
// controls.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "tests/win32/wine/EditorSession.h"
#include "tests/win32/wine/WindowProbe.h"
// DROPFILES, after <windows.h>, which WindowProbe.h brings in.
#include <shlobj.h>

#include "window/ControlIds.h"

namespace tintwright::testing {
namespace {

TEST(MessageDelivery, MouseMessagesArriveInMainClientCoordinatesNegativeOnesIncluded) {
    EditorSession session;
    session.Run([&](HWND window) {
        const struct {
            UINT message;
            int x, y;
            const char* event;
        } sent[] = {
            {WM_LBUTTONDOWN, 277, 2, "OnLeftButtonDown"},
            {WM_MOUSEMOVE, 300, 50, "OnMouseMove"},
            {WM_LBUTTONUP, -5, 240, "OnLeftButtonUp"},
            {WM_RBUTTONUP, 57, 250, "OnRightButtonUp"},
        };
        std::vector<std::string> expected;
        for (const auto& message : sent) {
            SendMessageA(window, message.message, 0, PointParameter(message.x, message.y));
            expected.push_back(RecordingEvents::Entry(message.event, {message.x, message.y}));
        }
        EXPECT_TRUE(session.events.ContainsInOrder(expected));
        // The strip and the picker let the mouse through to the main window.
        for (const auto& [x, y] : {std::pair{100, 250}, {400, 60}}) {
            EXPECT_EQ(WindowFromPoint(ScreenPointOf(window, x, y)), window) << x << "," << y;
        }
    });
}

TEST(MessageDelivery, SliderEditTimerPostedMessagesAndSwatchPaintsReachTheLogic) {
    EditorSession session;
    session.Run([&](HWND window) {
        // The slider moved by its own keyboard handling notifies its parent.
        SendDlgItemMessageA(window, ids::kGreenSlider, WM_KEYDOWN, VK_END, 0);
        EXPECT_GE(session.events.Count("OnHScroll", {ids::kGreenSlider}), 1);

        // A released key reaches the logic, and the edit still types.
        const HWND blue = GetDlgItem(window, ids::kBlueEdit);
        SendMessageA(blue, WM_CHAR, '7', 1);
        SendMessageA(blue, WM_KEYUP, '7', 0xC0000001);
        EXPECT_EQ(session.events.Count("OnEditKeyUp", {ids::kBlueEdit}), 1);
        EXPECT_EQ(WindowText(blue), "7");

        session.windowSystem.PostListChanged();
        session.windowSystem.PostCommand(ids::kCurrentButton);
        Pump(250);
        EXPECT_EQ(session.events.Count("OnListChanged"), 1);
        EXPECT_EQ(session.events.Count("OnCommand", {ids::kCurrentButton, 0}), 1);
        EXPECT_EQ(ControlText(window, ids::kOffsetBox), "00000120");
        EXPECT_GE(session.events.Count("OnTimer"), 2) << "the 50 ms timer ticks";

        session.events.swatchColors = {{ids::kCurrentSwatch, RGB(0x30, 0x60, 0x90)},
                                       {ids::kStoredSwatch, RGB(0x30, 0x60, 0x90)}};
        for (const int swatch : {ids::kCurrentSwatch, ids::kStoredSwatch}) {
            InvalidateRect(GetDlgItem(window, swatch), nullptr, TRUE);
            EXPECT_EQ(PaintedPixel(GetDlgItem(window, swatch), 20, 30), RGB(0x30, 0x60, 0x90)) << swatch;
        }
        EXPECT_EQ(PaintedPixel(GetDlgItem(window, ids::kRedLabel), 1, 1), GetSysColor(COLOR_BTNFACE));
    });
}

TEST(MessageDelivery, LocationListFillsSortedSelectsByPointAndReloadsWhenTold) {
    EditorSession session;
    session.WriteSettings("[Patch]\r\nbeta=0002C000\r\nAlpha=$8000\r\nGamma=0001A000\r\n");
    session.Run([&](HWND window) {
        const HWND list = GetDlgItem(window, ids::kLocationList);
        ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
        const char* rows[] = {"Alpha", "beta", "Gamma"};
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(session.windowSystem.ListRowText(ids::kLocationList, row), rows[row]);
        }

        const auto rowHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
        session.windowSystem.ListClickAt(ids::kLocationList, {10, rowHeight + rowHeight / 2});
        EXPECT_EQ(session.windowSystem.ListSelection(ids::kLocationList), 1);
        EXPECT_EQ(session.events.Count("OnCommand", {ids::kLocationList, LBN_SELCHANGE}), 1);

        SendMessageA(list, WM_RBUTTONUP, 0, PointParameter(10, 5));
        EXPECT_EQ(session.events.log.back(), RecordingEvents::Entry("OnListRightButtonUp", {10, 5}));

        session.windowSystem.ListDeleteRow(ids::kLocationList, 0);
        EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 2);

        session.WriteSettings("[Patch]\r\nbeta=0002C000\r\nAlpha=$8000\r\nGamma=0001A000\r\nDelta=10\r\n");
        PostMessageA(window, WM_USER + 1, 0, 0);
        Pump(300);
        EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 4);
        EXPECT_EQ(session.windowSystem.ListSelection(ids::kLocationList), -1);
    });
}

TEST(MessageDelivery, PopupMenuOpensAtTheScreenPointAndReportsTheChosenCommand) {
    EditorSession session;
    session.Run([&](HWND window) {
        const PopupSeen popup = ChoosePopupItem(0, [&] {
            session.windowSystem.ShowPopupMenu(ids::kToolsPopupIndex, {200, 150});
        });
        Pump(50);
        EXPECT_TRUE(popup.shown);
        EXPECT_EQ(popup.menu, GetSubMenu(GetMenu(window), ids::kToolsPopupIndex));
        EXPECT_EQ(popup.rect.left, 200);
        EXPECT_EQ(popup.rect.top, 150);
        EXPECT_EQ(session.events.Count("OnCommand", {ids::kGradientFill, 0}), 1);
    });
}

// A drop as the shell hands it over: a DROPFILES block followed by the names,
// each ended by a NUL and the list by one more. DragFinish in the window frees it.
HGLOBAL DropHandle(const std::vector<std::string>& paths, POINT point, bool nonClient) {
    std::size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& path : paths) size += path.size() + 1;
    const HGLOBAL memory = GlobalAlloc(GHND, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = point;
    drop->fNC = nonClient;
    drop->fWide = FALSE;
    char* name = reinterpret_cast<char*>(drop + 1);
    for (const std::string& path : paths) {
        std::memcpy(name, path.data(), path.size());
        name += path.size() + 1;
    }
    GlobalUnlock(memory);
    return memory;
}

TEST(MessageDelivery, DroppedFilesReachTheLogicWithTheirNamesAndClientPoint) {
    EditorSession session;
    const std::string palette = (session.directory / "colours.pal").string();
    std::ofstream(palette, std::ios::binary) << "JASC-PAL\r\n0100\r\n2\r\n255 0 0\r\n0 0 248\r\n";
    const std::string missing = (session.directory / "no state.mc0").string();
    session.Run([&](HWND window) {
        EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
        const Point onStrip = StripCellPoint(3);
        session.user.AnswerNextBox(IDYES);
        PostMessageA(window, WM_DROPFILES,
                     reinterpret_cast<WPARAM>(DropHandle({palette}, {onStrip.x, onStrip.y}, false)), 0);
        Pump(100);
        EXPECT_TRUE(session.events.ContainsInOrder({RecordingEvents::DropEntry({palette}, onStrip)}));
        ASSERT_EQ(session.user.boxes.size(), 1u);
        EXPECT_EQ(session.user.boxes[0].text, "Write the 2 colours of colours.pal at 00000100?");
        EXPECT_EQ(session.WorkingWordAt(0x100), 0x001F);
        EXPECT_EQ(session.WorkingWordAt(0x102), 0x7C00);

        // Dropped on the caption: the shell gives a screen point.
        const POINT screen = ScreenPointOf(window, 20, -10);
        PostMessageA(window, WM_DROPFILES,
                     reinterpret_cast<WPARAM>(DropHandle({missing, palette}, screen, true)), 0);
        Pump(100);
        EXPECT_TRUE(
            session.events.ContainsInOrder({RecordingEvents::DropEntry({palette}, onStrip),
                                            RecordingEvents::DropEntry({missing, palette}, {20, -10})}));
        ASSERT_EQ(session.user.boxes.size(), 2u);
        EXPECT_EQ(session.user.boxes[1].text, "Drop one file at a time: 2 files were dropped.");
    });
}

}  // namespace
}  // namespace tintwright::testing
