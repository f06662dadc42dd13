// What the user sees of the palette view in the real window: the strip's
// painted colours, the status line, navigation, Goto and Current, the About
// box, and the ways the program ends.

#include <gtest/gtest.h>

#include <cstdio>

#include "mainwindow/MainWindow.h"
#include "tests/win32/wine/EditorSession.h"
#include "tests/win32/wine/WindowProbe.h"
#include "window/ControlIds.h"
#include "window/Layout.h"

namespace tintwright::testing {
namespace {

std::string StatusFor(std::uint32_t selectedOffset) {
    char text[64];
    std::snprintf(text, sizeof(text), "Editing Offset : %08X - In Snes Rgb 0,0,0", selectedOffset);
    return text;
}

void ExpectViewAt(HWND window, std::uint32_t viewOffset) {
    EXPECT_EQ(ControlText(window, ids::kStatusLine), StatusFor(viewOffset + 32));
    EXPECT_EQ(StripCellColor(window, 0), RomColorAt(viewOffset));
    EXPECT_EQ(StripCellColor(window, 31), RomColorAt(viewOffset + 62));
}

TEST(MainWindowView, StartUpPaintsTheRomColorsAndDescribesCellSixteen) {
    EditorSession session;
    session.Run([&](HWND window) {
        for (int cell = 0; cell < 32; ++cell) {
            EXPECT_EQ(StripCellColor(window, cell), RomColorAt(0x100 + 2u * static_cast<std::uint32_t>(cell)))
                << "cell " << cell;
        }
        // Frames are black, on every side of every cell.
        EXPECT_EQ(PaintedPixel(GetDlgItem(window, ids::kStrip), 20, 20), RGB(0, 0, 0));
        EXPECT_EQ(PaintedPixel(GetDlgItem(window, ids::kStrip), 19, 20), RGB(0, 0, 0));
        EXPECT_EQ(ControlText(window, ids::kStatusLine), "Editing Offset : 00000120 - In Snes Rgb 0,0,0");
        for (const int edit : {ids::kRedEdit, ids::kGreenEdit, ids::kBlueEdit}) {
            EXPECT_EQ(ControlText(window, edit), "");
        }
        for (const int slider : {ids::kRedSlider, ids::kGreenSlider, ids::kBlueSlider}) {
            EXPECT_EQ(SendDlgItemMessageA(window, slider, TBM_GETPOS, 0, 0), 0);
            EXPECT_EQ(SendDlgItemMessageA(window, slider, TBM_GETRANGEMAX, 0, 0), 255);
        }
        EXPECT_EQ(PaintedPixel(GetDlgItem(window, ids::kCurrentSwatch), 40, 30), RGB(0, 0, 0));
        EXPECT_EQ(PaintedPixel(GetDlgItem(window, ids::kStoredSwatch), 20, 30), RGB(0, 0, 0));
        // Brushes of old paints are released: one per colour shown, at most.
        InvalidateRect(GetDlgItem(window, ids::kStrip), nullptr, TRUE);
        UpdateWindow(GetDlgItem(window, ids::kStrip));
        EXPECT_LE(session.windowSystem.StripBrushCount(), 33u);
    });
    // The first save copy replaced the older file with the ROM's bytes.
    EXPECT_EQ(FileBytes(session.savePath), session.romBytes);
    ASSERT_EQ(session.user.fileDialogs.size(), 2u);
    EXPECT_EQ(session.user.fileDialogs[0].title, "Open Source Snes Rom ...");
    EXPECT_EQ(session.user.fileDialogs[1].title, "Save Rom as ...");
}

TEST(MainWindowView, ButtonsWheelAndSideButtonsMoveTheView) {
    struct Step {
        const char* name;
        UINT message;
        WPARAM wParam;
        std::uint32_t viewOffset;
    };
    const Step steps[] = {
        {">>", WM_COMMAND, MAKEWPARAM(ids::kForwardEightButton, BN_CLICKED), 0x110},
        {">", WM_COMMAND, MAKEWPARAM(ids::kForwardOneButton, BN_CLICKED), 0x112},
        {"<", WM_COMMAND, MAKEWPARAM(ids::kBackOneButton, BN_CLICKED), 0x110},
        {"<<", WM_COMMAND, MAKEWPARAM(ids::kBackEightButton, BN_CLICKED), 0x100},
        {"wheel one notch forward", WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0x102},
        {"wheel three notches back", WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-3 * WHEEL_DELTA)), 0xFC},
        {"forward side button", WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON2), 0xFE},
        {"back side button", WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON1), 0xFC},
    };
    EditorSession session;
    session.Run([&](HWND window) {
        for (const Step& step : steps) {
            SCOPED_TRACE(step.name);
            SendMessageA(window, step.message, step.wParam, PointParameter(300, 250));
            ExpectViewAt(window, step.viewOffset);
        }
    });
}

TEST(MainWindowView, CurrentWritesTheSelectedOffsetAndGotoJumps) {
    EditorSession session;
    session.Run([&](HWND window) {
        Click(window, ids::kCurrentButton);
        EXPECT_EQ(ControlText(window, ids::kOffsetBox), "00000120");
        SetDlgItemTextA(window, ids::kOffsetBox, "$1F00");
        Click(window, ids::kGotoButton);
        ExpectViewAt(window, 0x1F00);
        Click(window, ids::kCurrentButton);
        EXPECT_EQ(ControlText(window, ids::kOffsetBox), "00001F20");
    });
}

TEST(MainWindowView, AboutShowsAnInformationBoxOwnedByTheMainWindow) {
    EditorSession session;
    BoxSeen about;
    session.Run([&](HWND window) {
        session.user.ShowNextBoxForReal();
        about = AnswerRealBox(std::string(kMainWindowCaption), IDOK,
                              [&] { SendMessageA(window, WM_COMMAND, MAKEWPARAM(ids::kAbout, 0), 0); });
        EXPECT_TRUE(about.found);
        EXPECT_EQ(about.owner, window);
    });
    ASSERT_EQ(session.user.boxes.size(), 1u);
    EXPECT_EQ(session.user.boxes[0].caption, "Tintwright v1.6 - Snes Rom Pallette Editor");
    EXPECT_EQ(session.user.boxes[0].style, 0x40u);
    EXPECT_NE(std::find(about.texts.begin(), about.texts.end(), std::string(kAboutText)), about.texts.end());
}

TEST(MainWindowView, ExitCloseBoxAndSystemMenuEndTheProgramWithExitCodeZero) {
    struct Ending {
        const char* name;
        UINT message;
        WPARAM wParam;
    };
    const Ending endings[] = {
        {"File > Exit", WM_COMMAND, MAKEWPARAM(ids::kExit, 0)},
        {"WM_CLOSE", WM_CLOSE, 0},
        {"system menu Close", WM_SYSCOMMAND, SC_CLOSE},
    };
    for (const Ending& ending : endings) {
        SCOPED_TRACE(ending.name);
        EditorSession session;
        HWND closed = nullptr;
        const int exitCode = session.Run([&](HWND window) {
            closed = window;
            SendMessageA(window, ending.message, ending.wParam, 0);
            // Closing is synchronous: the window is gone when the message returns.
            EXPECT_FALSE(IsWindow(window));
        });
        EXPECT_EQ(exitCode, 0);
        EXPECT_NE(closed, nullptr);
        EXPECT_EQ(session.events.Count("OnDestroy"), 1);
        EXPECT_TRUE(session.user.boxes.empty()) << "closing asks nothing";
    }
}

}  // namespace
}  // namespace tintwright::testing
