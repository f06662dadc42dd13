// Every colour edit a user makes in the real window: selecting a cell, the
// boxes, the sliders and the step buttons, Apply, the picture, the colour
// dialog, the screen under the pointer, the strip's Tools menu with its
// gradient, Find First, Undo Selected, the swatches, and how cells outside the
// file look.

#include <colordlg.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <set>
#include <string>

#include "core/SnesColor.h"
#include "editor/PaletteView.h"
#include "frontends/win32/WindowDc.h"
#include "mainwindow/PaletteStrip.h"
#include "resources/PickerImage.h"
#include "tests/win32/wine/EditorSession.h"
#include "tests/win32/wine/WindowProbe.h"
#include "window/ControlIds.h"

namespace tintwright::testing {
namespace {

struct ChannelControls {
    int edit;
    int slider;
};
constexpr ChannelControls kChannels[] = {
    {ids::kRedEdit, ids::kRedSlider},
    {ids::kGreenEdit, ids::kGreenSlider},
    {ids::kBlueEdit, ids::kBlueSlider},
};

unsigned ChannelOf(RgbColor color, int channel) {
    return (color >> (8 * channel)) & 0xFFu;
}

// What the user sees of the current colour: the three boxes, the three
// sliders and the current swatch.
void ExpectCurrentColor(HWND window, RgbColor color) {
    for (int channel = 0; channel < 3; ++channel) {
        const unsigned value = ChannelOf(color, channel);
        EXPECT_EQ(ControlText(window, kChannels[channel].edit), std::to_string(value)) << "box " << channel;
        EXPECT_EQ(SendDlgItemMessageA(window, kChannels[channel].slider, TBM_GETPOS, 0, 0),
                  static_cast<LRESULT>(value))
            << "slider " << channel;
    }
    EXPECT_EQ(PaintedPixel(GetDlgItem(window, ids::kCurrentSwatch), 20, 20), color) << "current swatch";
}

// Red, green and blue typed into their boxes one after the other.
void TypeColor(HWND window, RgbColor color) {
    for (int channel = 0; channel < 3; ++channel) {
        TypeInto(GetDlgItem(window, kChannels[channel].edit), std::to_string(ChannelOf(color, channel)));
    }
}

// A key pressed and released on a control that has the keyboard.
void PressKey(HWND window, int id, WPARAM key) {
    SendDlgItemMessageA(window, id, WM_KEYDOWN, key, 1);
    SendDlgItemMessageA(window, id, WM_KEYUP, key, 0xC0000001);
}

// The picture's pixel under a main-window client point; its top-left corner
// lies at (276, 2).
RgbColor PictureColorAt(int x, int y) {
    const Rgb8 pixel = PickerPixel(x - 276, y - 2);
    return RGB(pixel.red, pixel.green, pixel.blue);
}

// The view starts at 0x100, so cell i holds the word at 0x100 + 2i.
constexpr std::uint32_t CellOffset(int cell) {
    return 0x100 + 2 * static_cast<std::uint32_t>(cell);
}

TEST(ColorEditingWindow, BoxesSlidersAndStepButtonsEditTheColorThatApplyPaintsAndWrites) {
    EditorSession session;
    session.Run([&](HWND window) {
        const RgbColor cell5 = RomColorAt(CellOffset(5));
        const struct {
            const char* name;
            std::function<void()> act;
            RgbColor current;
        } steps[] = {
            {"left release over cell 5", [&] { LeftClickAt(window, StripCellPoint(5)); }, cell5},
            // "300" becomes "44"; the Backspace after it takes back its last digit.
            {"300 typed in the red box, then Backspace",
             [&] { TypeInto(GetDlgItem(window, ids::kRedEdit), "300\b"); },
             MakeRgbColor(4, GreenOf(cell5), BlueOf(cell5))},
            {"-1 typed in the green box", [&] { TypeInto(GetDlgItem(window, ids::kGreenEdit), "-1"); },
             MakeRgbColor(4, 255, BlueOf(cell5))},
            {"77 typed in the blue box", [&] { TypeInto(GetDlgItem(window, ids::kBlueEdit), "77"); },
             MakeRgbColor(4, 255, 77)},
            // "7" alone is still the number shown, so the caret stays where the user is typing.
            {"the first 7 of 77 in the blue box deleted and 2 typed in its place",
             [&] { TypeInto(GetDlgItem(window, ids::kBlueEdit), "\b2", 0, 1); }, MakeRgbColor(4, 255, 27)},
            {"Right arrow on the red slider", [&] { PressKey(window, ids::kRedSlider, VK_RIGHT); },
             MakeRgbColor(5, 255, 27)},
            {"Home on the green slider", [&] { PressKey(window, ids::kGreenSlider, VK_HOME); },
             MakeRgbColor(5, 0, 27)},
            {"-", [&] { Click(window, ids::kMinusButton); }, MakeRgbColor(0, 0, 19)},
            {"+", [&] { Click(window, ids::kPlusButton); }, MakeRgbColor(8, 8, 27)},
        };
        for (const auto& step : steps) {
            SCOPED_TRACE(step.name);
            step.act();
            ExpectCurrentColor(window, step.current);
        }

        Click(window, ids::kApplyButton);
        const SnesColor applied = ToSnesColor(MakeRgbColor(8, 8, 27));
        EXPECT_EQ(session.WorkingWordAt(CellOffset(5)), applied);
        EXPECT_EQ(StripCellColor(window, 5), ToRgbColor(applied));
        EXPECT_EQ(StripCellColor(window, 6), RomColorAt(CellOffset(6)));
        EXPECT_EQ(ControlText(window, ids::kStatusLine),
                  FormatStatusLine(CellOffset(5), MakeRgbColor(8, 8, 27)));
    });
}

TEST(ColorEditingWindow, PressOnThePictureDraggedOntoTheStripPicksThenSelectsTheCell) {
    EditorSession session;
    session.Run([&](HWND window) {
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, PointParameter(300, 10));
        EXPECT_EQ(GetCapture(), window);
        ExpectCurrentColor(window, PictureColorAt(300, 10));

        SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, PointParameter(500, 100));
        ExpectCurrentColor(window, PictureColorAt(500, 100));
        // Off the picture the colour stays the last one picked.
        const Point cell3 = StripCellPoint(3);
        SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, PointParameter(cell3.x, cell3.y));
        ExpectCurrentColor(window, PictureColorAt(500, 100));

        SendMessageA(window, WM_LBUTTONUP, 0, PointParameter(cell3.x, cell3.y));
        EXPECT_EQ(GetCapture(), nullptr);
        ExpectCurrentColor(window, RomColorAt(CellOffset(3)));
        EXPECT_EQ(ControlText(window, ids::kStatusLine),
                  FormatStatusLine(CellOffset(3), RomColorAt(CellOffset(3))));
        EXPECT_EQ(GetFocus(), GetDlgItem(window, ids::kStrip));
    });
}

TEST(ColorEditingWindow, RightReleaseInTheStripBandOpensToolsAtThePointerAndFillsTheGradient) {
    EditorSession session;
    session.events.holdRightButtons = false;
    session.Run([&](HWND window) {
        // Black into cell 4, then SNES blue 31 into cell 8: the anchor ends on 4, the selection on 8.
        for (const auto& [cell, color] : {std::pair{4, RGB(0, 0, 0)}, {8, RGB(0, 0, 248)}}) {
            LeftClickAt(window, StripCellPoint(cell));
            TypeColor(window, color);
            Click(window, ids::kApplyButton);
        }
        // Left of the strip, yet in its band.
        const POINT pointer = ScreenPointOf(window, 57, 250);
        SetCursorPos(pointer.x, pointer.y);
        const PopupSeen popup =
            ChoosePopupItem(0, [&] { SendMessageA(window, WM_RBUTTONUP, 0, PointParameter(57, 250)); });
        Pump(50);
        EXPECT_TRUE(popup.shown);
        EXPECT_EQ(popup.menu, GetSubMenu(GetMenu(window), ids::kToolsPopupIndex));
        EXPECT_EQ(popup.rect.left, pointer.x);
        EXPECT_EQ(popup.rect.top, pointer.y);

        const SnesColor blend[] = {0x0000, 0x1C00, 0x3C00, 0x5C00, 0x7C00};
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(session.WorkingWordAt(CellOffset(4 + k)), blend[k]) << "cell " << 4 + k;
            EXPECT_EQ(StripCellColor(window, 4 + k), ToRgbColor(blend[k])) << "cell " << 4 + k;
        }
    });
}

TEST(ColorEditingWindow, FindFirstShowsTheMatchInCellSixteenAndUndoSelectedRestoresIt) {
    constexpr std::uint32_t kMatch = 0x2468;
    EditorSession session;
    session.Run([&](HWND window) {
        TypeColor(window, RomColorAt(kMatch));
        Click(window, ids::kFindFirstButton);
        EXPECT_EQ(StripCellColor(window, 0), RomColorAt(kMatch - 32));
        EXPECT_EQ(StripCellColor(window, 16), RomColorAt(kMatch));
        EXPECT_EQ(ControlText(window, ids::kStatusLine), FormatStatusLine(kMatch, RomColorAt(kMatch)));

        Click(window, ids::kPlusButton);
        Click(window, ids::kApplyButton);
        ASSERT_NE(session.WorkingWordAt(kMatch), RomWordAt(kMatch));
        ASSERT_NE(StripCellColor(window, 16), RomColorAt(kMatch));
        // As the Tools menu sends it.
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(ids::kUndoSelected, 0), 0);
        EXPECT_EQ(session.WorkingWordAt(kMatch), RomWordAt(kMatch));
        EXPECT_EQ(StripCellColor(window, 16), RomColorAt(kMatch));
    });
}

// The system colour dialog as the user meets it, and how the user answers it.
struct SystemColorDialog {
    std::optional<RgbColor> answer;  // typed into its boxes and confirmed; nothing: Cancel
    bool found = false;
    HWND owner = nullptr;
    bool fullOpen = false;
};
SystemColorDialog systemDialog;

BOOL CALLBACK FindColorDialog(HWND window, LPARAM found) {
    if (!IsWindowVisible(window) || GetDlgItem(window, COLOR_RED) == nullptr) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// Runs inside the dialog's own message loop.
void CALLBACK AnswerSystemColorDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindColorDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) return;
    KillTimer(nullptr, timer);
    systemDialog.found = true;
    systemDialog.owner = GetWindow(dialog, GW_OWNER);
    // Fully open, the number boxes of the custom-colour half show from the start.
    systemDialog.fullOpen = IsWindowVisible(GetDlgItem(dialog, COLOR_RED));
    if (systemDialog.answer) {
        const int boxes[] = {COLOR_RED, COLOR_GREEN, COLOR_BLUE};
        for (int channel = 0; channel < 3; ++channel) {
            SetDlgItemInt(dialog, boxes[channel], ChannelOf(*systemDialog.answer, channel), FALSE);
        }
    }
    Click(dialog, systemDialog.answer ? IDOK : IDCANCEL);
}

TEST(ColorEditingWindow, ColorPickTakesTheChosenColorUnreducedAndCancelKeepsTheCurrentOne) {
    const struct {
        const char* name;
        bool systemDialogShown;  // or the script answers
        std::optional<RgbColor> answer;
        RgbColor current;
    } answers[] = {
        {"OK on red 13, green 200, blue 77", false, RGB(13, 200, 77), RGB(13, 200, 77)},
        {"Cancel", false, std::nullopt, RGB(13, 200, 77)},
        {"OK on red 90, green 40, blue 250 in the system dialog", true, RGB(90, 40, 250), RGB(90, 40, 250)},
        {"Cancel in the system dialog", true, std::nullopt, RGB(90, 40, 250)},
    };
    EditorSession session;
    session.Run([&](HWND window) {
        for (const auto& answer : answers) {
            SCOPED_TRACE(answer.name);
            UINT_PTR timer = 0;
            if (answer.systemDialogShown) {
                systemDialog = {answer.answer};
                session.user.ShowNextColorDialogForReal();
                timer = SetTimer(nullptr, 0, 30, AnswerSystemColorDialog);
            } else {
                session.user.AnswerColorDialog(answer.answer);
            }
            Click(window, ids::kColorPickButton);
            if (answer.systemDialogShown) {
                KillTimer(nullptr, timer);
                EXPECT_TRUE(systemDialog.found);
                EXPECT_EQ(systemDialog.owner, window);
                EXPECT_TRUE(systemDialog.fullOpen);
            }
            ExpectCurrentColor(window, answer.current);
        }
    });
}

// Whether the tracking marker's "?" shows in a cell: the only white there is
// its glyph's, as no colour word is white.
bool ShowsTrackingGlyph(HWND window, int cell) {
    const HWND strip = GetDlgItem(window, ids::kStrip);
    const PixelRect area = StripColorArea(cell);
    for (int y = 25; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (PaintedPixel(strip, x, y) == RGB(255, 255, 255)) return true;
        }
    }
    return false;
}

void PressLeftControl() {
    INPUT keys[2]{};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = VK_LCONTROL;
    keys[1] = keys[0];
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

TEST(ColorEditingWindow, ScreenTrackerFollowsThePointerAndLeftControlTakesThePixelUnderIt) {
    EditorSession session;
    session.Run([&](HWND window) {
        SendDlgItemMessageA(window, ids::kTrackCheckBox, BM_CLICK, 0, 0);
        const Point cell3 = StripCellPoint(3);
        const POINT pointer = ScreenPointOf(window, cell3.x, cell3.y);
        SetCursorPos(pointer.x, pointer.y);
        EXPECT_TRUE(PumpUntil([&] { return ShowsTrackingGlyph(window, 3); }));

        PressLeftControl();
        const HWND swatch = GetDlgItem(window, ids::kCurrentSwatch);
        PumpUntil([&] { return PaintedPixel(swatch, 20, 20) == RomColorAt(CellOffset(3)); });
        ExpectCurrentColor(window, RomColorAt(CellOffset(3)));
        // Away from the window, so that the trackers of later tests find nothing.
        SetCursorPos(0, 0);
    });
}

TEST(ColorEditingWindow, SwatchesPaintTheCurrentAndStoredColorWithOneSwatchBrushAtATime) {
    EditorSession session;
    session.Run([&](HWND window) {
        const HWND stored = GetDlgItem(window, ids::kStoredSwatch);
        TypeColor(window, RGB(13, 200, 77));
        Click(window, ids::kStoreColorButton);
        TypeColor(window, RGB(1, 2, 3));
        ExpectCurrentColor(window, RGB(1, 2, 3));
        EXPECT_EQ(PaintedPixel(stored, 10, 20), RGB(13, 200, 77));
        Click(window, ids::kRecallColorButton);
        ExpectCurrentColor(window, RGB(13, 200, 77));

        // Each swatch's colour request deletes the brush handed out before.
        const win32::WindowDc dc(stored);
        const auto requestBrush = [&](int id) {
            return reinterpret_cast<HBRUSH>(SendMessageA(window, WM_CTLCOLORSTATIC,
                                                         reinterpret_cast<WPARAM>(dc.Get()),
                                                         reinterpret_cast<LPARAM>(GetDlgItem(window, id))));
        };
        const HBRUSH first = requestBrush(ids::kCurrentSwatch);
        const HBRUSH second = requestBrush(ids::kStoredSwatch);
        EXPECT_EQ(GetObjectType(first), 0u);
        LOGBRUSH brush{};
        ASSERT_EQ(GetObjectA(second, sizeof(brush), &brush), static_cast<int>(sizeof(brush)));
        EXPECT_EQ(brush.lbColor, RGB(13, 200, 77));
    });
}

TEST(ColorEditingWindow, CellsOutsideTheFileArePaintedWhiteWithAGreyCrossNeverBlack) {
    EditorSession session;
    session.Run([&](HWND window) {
        // Cells 16 onwards lie past the end of the 0x4000-byte file.
        SetDlgItemTextA(window, ids::kOffsetBox, "3FE0");
        Click(window, ids::kGotoButton);
        EXPECT_EQ(StripCellColor(window, 15), RomColorAt(0x3FFE));

        const HWND strip = GetDlgItem(window, ids::kStrip);
        const PixelRect area = StripColorArea(20);
        std::set<RgbColor> painted;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) painted.insert(PaintedPixel(strip, x, y));
        }
        EXPECT_EQ(painted, (std::set<RgbColor>{kNoColorCellFill, kNoColorCellCross}));

        // Selected, it shows as white in the boxes, the sliders and the swatch.
        LeftClickAt(window, StripCellPoint(20));
        ExpectCurrentColor(window, RGB(255, 255, 255));
    });
}

}  // namespace
}  // namespace tintwright::testing
