// The real main window, built from the compiled resources: its controls,
// pixel layout, class, menu bar and picker image.

#include <gtest/gtest.h>

#include "resources/PickerImage.h"
#include "tests/win32/wine/EditorSession.h"
#include "tests/win32/wine/WindowProbe.h"
#include "window/ControlIds.h"
#include "window/Layout.h"

namespace tintwright::testing {
namespace {

std::string ExpectedClass(ControlKind kind) {
    switch (kind) {
        case ControlKind::ListBox:
            return "ListBox";
        case ControlKind::PushButton:
        case ControlKind::CheckBox:
            return "Button";
        case ControlKind::Static:
        case ControlKind::BitmapStatic:
            return "Static";
        case ControlKind::Edit:
            return "Edit";
        case ControlKind::Slider:
            return "msctls_trackbar32";
    }
    return "";
}

// Each layout flag and the window style bit it must produce. WS_VSCROLL is
// left out: a list box clears it while its scroll bar is hidden.
struct FlagStyle {
    std::uint32_t flag;
    LONG_PTR bits;
    LONG_PTR mask;
};

constexpr FlagStyle kFlagStyles[] = {
    {style::kSorted, LBS_SORT, LBS_SORT},
    {style::kNotify, LBS_NOTIFY, LBS_NOTIFY},
    {style::kNoIntegralHeight, LBS_NOINTEGRALHEIGHT, LBS_NOINTEGRALHEIGHT},
    {style::kSunken, SS_SUNKEN, SS_SUNKEN},
    {style::kCentered, SS_CENTER, SS_TYPEMASK},
    {style::kCenterImage, SS_CENTERIMAGE, SS_CENTERIMAGE},
    {style::kDisabled, WS_DISABLED, WS_DISABLED},
    {style::kFlat, BS_FLAT, BS_FLAT},
};

void ExpectControlMatchesTable(HWND window, const ControlEntry& entry) {
    SCOPED_TRACE("control " + std::to_string(entry.id));
    const HWND control = GetDlgItem(window, entry.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(ClassName(control), ExpectedClass(entry.kind));
    EXPECT_TRUE(IsWindowVisible(control));
    const PixelRect expected = ControlPixelRect(entry);
    const PixelRect actual = RectInParent(control);
    if (entry.kind == ControlKind::BitmapStatic) {
        // The static takes the size of its image.
        EXPECT_EQ(actual, (PixelRect{expected.left, expected.top, expected.left + 320, expected.top + 120}));
    } else {
        EXPECT_EQ(actual, expected);
    }
    // The edits and the status line are filled in by the logic.
    if (entry.kind != ControlKind::Edit && entry.id != ids::kStatusLine) {
        EXPECT_EQ(WindowText(control), entry.caption);
    }
    const LONG_PTR windowStyle = GetWindowLongPtrA(control, GWL_STYLE);
    for (const FlagStyle& row : kFlagStyles) {
        if (entry.styles & row.flag) {
            EXPECT_EQ(windowStyle & row.mask, row.bits) << "flag " << row.flag;
        }
    }
    const bool clientEdge = (GetWindowLongPtrA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
    EXPECT_EQ(clientEdge, (entry.styles & style::kClientEdge) != 0);
    EXPECT_EQ(IsWindowEnabled(control) != 0, (entry.styles & style::kDisabled) == 0);
    if (entry.kind == ControlKind::Edit) {
        EXPECT_EQ(windowStyle & (ES_AUTOHSCROLL | ES_NUMBER), 0);
    }
    if (entry.kind == ControlKind::BitmapStatic) {
        EXPECT_EQ(windowStyle & SS_TYPEMASK, SS_BITMAP);
    }
    if (entry.kind == ControlKind::CheckBox) {
        EXPECT_EQ(windowStyle & BS_TYPEMASK, BS_AUTOCHECKBOX);
    }
}

TEST(MainWindowLayout, EveryControlSitsAtItsPixelRectangleWithItsIdClassCaptionAndStyles) {
    EditorSession session;
    const int exitCode = session.Run([](HWND window) {
        ASSERT_NE(window, nullptr);
        for (const ControlEntry& entry : MainWindowControls()) ExpectControlMatchesTable(window, entry);
        // The strip and the picker leave the mouse to the main window.
        EXPECT_EQ(GetWindowLongPtrA(GetDlgItem(window, ids::kStrip), GWL_STYLE) & SS_NOTIFY, 0);
        EXPECT_EQ(GetWindowLongPtrA(GetDlgItem(window, ids::kPickerImage), GWL_STYLE) & SS_NOTIFY, 0);
    });
    EXPECT_EQ(exitCode, 0);
}

TEST(MainWindowLayout, WindowHasTheClassCaptionFrameAndExactClientArea) {
    EditorSession session;
    session.Run([](HWND window) {
        EXPECT_EQ(ClassName(window), "DLGCLASS");
        EXPECT_EQ(WindowText(window), "Tintwright v1.6 - Snes Rom Pallette Editor");
        EXPECT_EQ(ClientRect(window), (PixelRect{0, 0, 758, 332}));
        const LONG_PTR windowStyle = GetWindowLongPtrA(window, GWL_STYLE);
        for (const LONG_PTR bit : {WS_CAPTION, WS_SYSMENU, WS_THICKFRAME, WS_MINIMIZEBOX, WS_VISIBLE}) {
            EXPECT_EQ(windowStyle & bit, bit);
        }
        EXPECT_EQ(windowStyle & WS_MAXIMIZEBOX, 0);
        EXPECT_EQ(GetClassLongPtrA(window, GCL_STYLE), CS_HREDRAW | CS_VREDRAW);
        EXPECT_GE(GetClassLongPtrA(window, GCL_CBWNDEXTRA), DLGWINDOWEXTRA);
        EXPECT_EQ(GetClassLongPtrA(window, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
        const auto icon = GetClassLongPtrA(window, GCLP_HICON);
        EXPECT_NE(icon, 0);
        EXPECT_EQ(GetClassLongPtrA(window, GCLP_HICONSM), icon);

        // Centred on the working area.
        RECT frame{};
        GetWindowRect(window, &frame);
        RECT work{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_NEAR(frame.left - work.left, work.right - frame.right, 1);
        EXPECT_NEAR(frame.top - work.top, work.bottom - frame.bottom, 1);
    });
}

TEST(MainWindowLayout, MenuBarHasEveryPopupItemIdAndSeparator) {
    EditorSession session;
    session.Run([](HWND window) {
        const HMENU bar = GetMenu(window);
        ASSERT_NE(bar, nullptr);
        const auto popups = MenuBar();
        ASSERT_EQ(GetMenuItemCount(bar), static_cast<int>(popups.size()));
        for (int index = 0; index < static_cast<int>(popups.size()); ++index) {
            const MenuPopupEntry& popupEntry = popups[static_cast<std::size_t>(index)];
            SCOPED_TRACE(std::string(popupEntry.caption));
            char text[128] = {};
            GetMenuStringA(bar, static_cast<UINT>(index), text, sizeof(text), MF_BYPOSITION);
            EXPECT_EQ(std::string(text), popupEntry.caption);
            MENUITEMINFOA info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_ID;
            GetMenuItemInfoA(bar, static_cast<UINT>(index), TRUE, &info);
            EXPECT_EQ(static_cast<int>(info.wID), popupEntry.id);

            const HMENU popup = GetSubMenu(bar, index);
            ASSERT_NE(popup, nullptr);
            ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(popupEntry.items.size()));
            for (int item = 0; item < static_cast<int>(popupEntry.items.size()); ++item) {
                const MenuItemEntry& itemEntry = popupEntry.items[static_cast<std::size_t>(item)];
                MENUITEMINFOA itemInfo{};
                itemInfo.cbSize = sizeof(itemInfo);
                itemInfo.fMask = MIIM_FTYPE | MIIM_STATE;
                GetMenuItemInfoA(popup, static_cast<UINT>(item), TRUE, &itemInfo);
                EXPECT_EQ((itemInfo.fType & MFT_SEPARATOR) != 0, itemEntry.IsSeparator()) << item;
                EXPECT_EQ(itemInfo.fState & (MFS_CHECKED | MFS_DISABLED), 0u) << item;
                if (itemEntry.IsSeparator()) continue;
                EXPECT_EQ(static_cast<int>(GetMenuItemID(popup, item)), itemEntry.id);
                GetMenuStringA(popup, static_cast<UINT>(item), text, sizeof(text), MF_BYPOSITION);
                EXPECT_EQ(std::string(text), itemEntry.caption);
            }
        }
    });
}

TEST(MainWindowLayout, PickerShowsTheImageUnscaledAtItsCorner) {
    EditorSession session;
    session.Run([](HWND window) {
        const HWND picker = GetDlgItem(window, ids::kPickerImage);
        for (const auto& [column, row] : {std::pair{1, 0}, {160, 60}, {319, 119}}) {
            const Rgb8 expected = PickerPixel(column, row);
            EXPECT_EQ(PaintedPixel(picker, column, row), RGB(expected.red, expected.green, expected.blue))
                << column << "," << row;
        }
    });
}

}  // namespace
}  // namespace tintwright::testing
