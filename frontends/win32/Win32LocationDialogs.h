#pragma once

// The open location dialogs (template 8000): modeless windows owned by the
// main window, any number at once, each named to the logic by a DialogHandle.
// Their procedure hands initialisation, button clicks and the close box to
// the logic and leaves everything else to the dialog manager.

#include <cstdint>
#include <map>
#include <memory>

#include "frontends/win32/Win32Api.h"
#include "window/WindowSystem.h"

namespace tintwright::win32 {

class Win32LocationDialogs {
public:
    explicit Win32LocationDialogs(HINSTANCE instance) : instance_(instance) {}
    ~Win32LocationDialogs();
    Win32LocationDialogs(const Win32LocationDialogs&) = delete;
    Win32LocationDialogs& operator=(const Win32LocationDialogs&) = delete;

    void SetEvents(MainWindowEvents* events) { events_ = events; }

    // OnLocationDialogInit has run when this returns; 0 when creation failed.
    DialogHandle Create(HWND owner, LocationDialogForm form, std::uint32_t parameter);
    // Null once the dialog has ended (or its owner was destroyed).
    HWND Window(DialogHandle dialog) const;
    void End(DialogHandle dialog);

private:
    struct OpenDialog {
        Win32LocationDialogs* registry;
        DialogHandle handle;
        LocationDialogForm form;
        std::uint32_t parameter;
        HWND window;
    };

    static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Route(OpenDialog& dialog, HWND window, UINT message, WPARAM wParam);
    void Initialise(OpenDialog& dialog, HWND window);

    HINSTANCE instance_;
    MainWindowEvents* events_ = nullptr;
    DialogHandle nextHandle_ = 1;
    // Stable addresses: each dialog's window keeps a pointer to its entry.
    std::map<DialogHandle, std::unique_ptr<OpenDialog>> open_;
};

}  // namespace tintwright::win32
