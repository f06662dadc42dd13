#pragma once

// The main window: class "DLGCLASS" built from dialog template 1000, its
// window procedure, and the replaced procedures of the location list, the
// palette strip and the three colour edits. Every message the logic cares
// about is turned into a MainWindowEvents call; the rest goes to
// DefWindowProcA or to the control's previous procedure.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "frontends/win32/GdiObject.h"
#include "frontends/win32/StripBrushes.h"
#include "frontends/win32/Win32Api.h"
#include "window/WindowSystem.h"

namespace tintwright::win32 {

// The list-changed message the location dialogs post.
inline constexpr UINT kListChangedMessage = WM_USER + 1;

class Win32MainWindow {
public:
    explicit Win32MainWindow(HINSTANCE instance) : instance_(instance) {}
    ~Win32MainWindow();
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    // Registers the class and builds the window around events; the logic's
    // OnInitDialog has run when this returns. Null when creation failed.
    HWND Create(MainWindowEvents& events);
    // Destroys the window; OnDestroy has been delivered when this returns.
    void Destroy();

    HWND Handle() const { return window_; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    // The brushes of the strip's last paint (one per colour shown).
    std::size_t StripBrushCount() const { return stripBrushes_.Count(); }

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK StripProcedure(HWND strip, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK EditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK UnusedDialogProcedure(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
    // Null before WM_INITDIALOG and after WM_NCDESTROY.
    static Win32MainWindow* FromWindow(HWND window);
    static Win32MainWindow* FromControl(HWND control);

    void RegisterWindowClass();
    void Initialise(HWND window);
    void ReplaceControlProcedures();
    // The message chain; nothing for a message the window leaves to DefWindowProcA.
    std::optional<LRESULT> Route(UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> RouteMouse(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT StaticColors(HDC dc, HWND control);
    void DeliverDestroy();
    void DeliverDrop(HDROP drop);
    void PaintStrip(HWND strip);

    HINSTANCE instance_;
    MainWindowEvents* events_ = nullptr;
    HWND window_ = nullptr;
    bool initialised_ = false;
    bool destroyDelivered_ = false;
    WNDPROC listPrevious_ = nullptr;
    WNDPROC stripPrevious_ = nullptr;
    Bitmap picker_;
    // Only one swatch brush exists: each swatch paint replaces the last one,
    // which its static has finished with by then.
    Brush swatchBrush_;
    StripBrushes stripBrushes_;
};

}  // namespace tintwright::win32
