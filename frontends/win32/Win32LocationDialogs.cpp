#include "frontends/win32/Win32LocationDialogs.h"

#include <vector>

#include "frontends/win32/PixelLayout.h"
#include "window/ControlIds.h"
#include "window/Layout.h"

namespace tintwright::win32 {

Win32LocationDialogs::~Win32LocationDialogs() {
    events_ = nullptr;
    std::vector<HWND> windows;
    for (const auto& [handle, dialog] : open_) windows.push_back(dialog->window);
    for (const HWND window : windows) DestroyWindow(window);
}

DialogHandle Win32LocationDialogs::Create(HWND owner, LocationDialogForm form, std::uint32_t parameter) {
    const DialogHandle handle = nextHandle_++;
    auto& entry = open_[handle];
    entry = std::make_unique<OpenDialog>(OpenDialog{this, handle, form, parameter, nullptr});
    const HWND window = CreateDialogParamA(instance_, MAKEINTRESOURCEA(ids::kLocationTemplate), owner,
                                           DialogProcedure, reinterpret_cast<LPARAM>(entry.get()));
    if (window == nullptr) {
        open_.erase(handle);
        return 0;
    }
    return handle;
}

HWND Win32LocationDialogs::Window(DialogHandle dialog) const {
    const auto found = open_.find(dialog);
    return found == open_.end() ? nullptr : found->second->window;
}

void Win32LocationDialogs::End(DialogHandle dialog) {
    if (const HWND window = Window(dialog)) DestroyWindow(window);
}

INT_PTR CALLBACK Win32LocationDialogs::DialogProcedure(HWND window, UINT message, WPARAM wParam,
                                                       LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrA(window, DWLP_USER, lParam);
    auto* dialog = reinterpret_cast<OpenDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (dialog == nullptr) return FALSE;  // messages before WM_INITDIALOG
    return dialog->registry->Route(*dialog, window, message, wParam);
}

// The logic may end the dialog inside any of these calls, which frees the
// entry: nothing here touches it after the call.
INT_PTR Win32LocationDialogs::Route(OpenDialog& dialog, HWND window, UINT message, WPARAM wParam) {
    const DialogHandle handle = dialog.handle;
    switch (message) {
        case WM_INITDIALOG:
            Initialise(dialog, window);
            return TRUE;  // the name field gets the focus
        case WM_COMMAND:
            // Buttons only; the fields' change notifications are not the logic's business.
            if (HIWORD(wParam) != 0) return FALSE;
            if (events_ != nullptr) events_->OnLocationDialogCommand(handle, LOWORD(wParam), 0);
            return TRUE;
        case WM_CLOSE:
            if (events_ != nullptr) events_->OnLocationDialogClose(handle);
            return TRUE;
        case WM_NCDESTROY:
            SetWindowLongPtrA(window, DWLP_USER, 0);
            open_.erase(handle);
            return FALSE;
        default:
            return FALSE;
    }
}

void Win32LocationDialogs::Initialise(OpenDialog& dialog, HWND window) {
    dialog.window = window;
    PlaceControls(window, LocationDialogControls());
    const DialogUnitRect& units = kLocationDialogUnits;
    SetClientSize(window, HorizontalUnitsToPixels(units.width), VerticalUnitsToPixels(units.height));
    PlaceAtOwnerClientPoint(window, GetWindow(window, GW_OWNER),
                            {HorizontalUnitsToPixels(units.x), VerticalUnitsToPixels(units.y)});
    if (events_ == nullptr) return;
    const DialogHandle handle = dialog.handle;
    const LocationDialogForm form = dialog.form;
    const std::uint32_t parameter = dialog.parameter;
    events_->OnLocationDialogInit(handle, form, parameter);
}

}  // namespace tintwright::win32
