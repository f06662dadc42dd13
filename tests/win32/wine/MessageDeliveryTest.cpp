// The front end's half of the contract: real window messages arrive in the
// logic as the events the seam promises, with the right ids, codes and
// main-window client coordinates, and the seam's operations act on the real
// controls.

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/win32/wine/EditorSession.h"
#include "tests/win32/wine/WindowProbe.h"
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

}  // namespace
}  // namespace tintwright::testing
