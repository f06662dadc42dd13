// The location dialog as the window system builds it from template 8000:
// modeless, owned by the main window, laid out in pixels beside the main
// window's client corner, and wired to the logic through the seam.

#include <gtest/gtest.h>

#include "tests/win32/wine/EditorSession.h"
#include "tests/win32/wine/WindowProbe.h"
#include "window/ControlIds.h"
#include "window/Layout.h"

namespace tintwright::testing {
namespace {

void ExpectBuiltFromTemplate(HWND main, HWND dialog) {
    EXPECT_EQ(ClassName(dialog), "#32770");
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), main);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_NE(GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    EXPECT_NE(GetWindowLongPtrA(dialog, GWL_STYLE) & WS_THICKFRAME, 0);
    EXPECT_EQ(ClientRect(dialog), (PixelRect{0, 0, 479, 104}));
    RECT frame{};
    GetWindowRect(dialog, &frame);
    POINT corner{9, 10};  // 6 x 6 dialog units into the main window's client area
    ClientToScreen(main, &corner);
    EXPECT_EQ(frame.left, corner.x);
    EXPECT_EQ(frame.top, corner.y);
    for (const ControlEntry& entry : LocationDialogControls()) {
        SCOPED_TRACE("control " + std::to_string(entry.id));
        const HWND control = GetDlgItem(dialog, entry.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(RectInParent(control), ControlPixelRect(entry));
        const LONG_PTR style = GetWindowLongPtrA(control, GWL_STYLE);
        if (entry.kind == ControlKind::Edit) {
            EXPECT_EQ(ClassName(control), "Edit");
            EXPECT_NE(GetWindowLongPtrA(control, GWL_EXSTYLE) & WS_EX_STATICEDGE, 0);
            EXPECT_EQ(style & ES_AUTOHSCROLL, 0);
        } else {
            EXPECT_EQ(WindowText(control), entry.caption);
            EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON) << "neither button is a default button";
        }
    }
}

TEST(LocationDialogWindow, IsBuiltFromItsTemplateOwnedByAndPlacedBesideTheMainWindow) {
    EditorSession session;
    session.Run([&](HWND window) {
        const DialogHandle first = session.windowSystem.CreateLocationDialog(LocationDialogForm::Add, 0);
        ASSERT_NE(first, 0);
        EXPECT_EQ(session.events.Count("OnLocationDialogInit", {first, 0, 0}), 1)
            << "set up inside the creation";
        const HWND dialog = session.windowSystem.LocationDialogWindow(first);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(WindowText(dialog), "Add new location");
        ExpectBuiltFromTemplate(window, dialog);
    });
}

TEST(LocationDialogWindow, SeamOperationsActOnTheDialogAndItsButtonsAndCloseBoxReachTheLogic) {
    EditorSession session;
    session.Run([&](HWND window) {
        auto& system = session.windowSystem;
        const DialogHandle handle = system.CreateLocationDialog(LocationDialogForm::Edit, 0);
        const HWND dialog = system.LocationDialogWindow(handle);
        ASSERT_NE(dialog, nullptr);

        system.SetDialogText(handle, ids::kDialogNameField, "Boss");
        EXPECT_EQ(system.GetDialogText(handle, ids::kDialogNameField, 255), "Boss");
        EXPECT_EQ(system.GetDialogText(handle, ids::kDialogNameField, 2), "Bo");
        system.SetDialogText(handle, 0, "Edit Patch Location");
        EXPECT_EQ(WindowText(dialog), "Edit Patch Location");
        system.EnableDialogItem(handle, ids::kDialogNameField, false);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, ids::kDialogNameField)));
        system.ShowDialogItem(handle, ids::kDialogCleanButton, false);
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, ids::kDialogCleanButton)));

        // Typing notifies with other codes, which the logic never hears of.
        EXPECT_EQ(session.events.CountNamed("OnLocationDialogCommand"), 0);
        Click(dialog, ids::kDialogCleanButton);
        EXPECT_EQ(session.events.CountNamed("OnLocationDialogCommand"), 1);
        EXPECT_EQ(session.events.Count("OnLocationDialogCommand", {handle, ids::kDialogCleanButton, 0}), 1);

        // The close box ends the dialog through the logic.
        SendMessageA(dialog, WM_CLOSE, 0, 0);
        EXPECT_FALSE(IsWindow(dialog));
        EXPECT_EQ(system.LocationDialogWindow(handle), nullptr);
        // Nothing of the ended dialog is reachable any more.
        EXPECT_EQ(system.GetDialogText(handle, ids::kDialogNameField, 255), "");
        EXPECT_NE(window, nullptr);
    });
}

TEST(LocationDialogWindow, SeveralDialogsAreIndependentAndGoWithTheMainWindow) {
    EditorSession session;
    HWND first = nullptr;
    HWND second = nullptr;
    session.Run([&](HWND) {
        auto& system = session.windowSystem;
        const DialogHandle a = system.CreateLocationDialog(LocationDialogForm::Add, 0);
        const DialogHandle b = system.CreateLocationDialog(LocationDialogForm::Add, 0);
        EXPECT_NE(a, b);
        first = system.LocationDialogWindow(a);
        second = system.LocationDialogWindow(b);
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        EXPECT_NE(first, second);
        system.SetDialogText(a, ids::kDialogOffsetField, "0001A2B4");
        EXPECT_EQ(system.GetDialogText(b, ids::kDialogOffsetField, 255), "");
    });
    // Closing the main window destroyed the dialogs it owned.
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(IsWindow(second));
}

}  // namespace
}  // namespace tintwright::testing
