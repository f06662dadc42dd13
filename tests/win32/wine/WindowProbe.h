#pragma once

// Reads back what a user would see in a real window and sends what the
// window system would send, for the tests under Wine.

#include <functional>
#include <string>
#include <string_view>

#include "ui/win32/Win32Api.h"
#include "window/WindowSystem.h"

namespace tintwright::testing {

std::string WindowText(HWND window);
std::string ControlText(HWND parent, int id);
std::string ClassName(HWND window);
// The control's window rectangle in its parent's client coordinates.
PixelRect RectInParent(HWND control);
PixelRect ClientRect(HWND window);

// WM_COMMAND exactly as a button sends it when clicked.
void Click(HWND parent, int id);
// Dispatches everything queued, timer ticks included; a quit message stays queued.
void Pump(int milliseconds = 0);
// Dispatches until done() holds or the time is up; whether done() came to hold.
bool PumpUntil(const std::function<bool()>& done, int timeoutMilliseconds = 2000);
// The colour on screen at a client point of the window, after it has painted.
RgbColor PaintedPixel(HWND window, int x, int y);
LPARAM PointParameter(int x, int y);
POINT ScreenPointOf(HWND window, int x, int y);
// A left press and release at a client point of the window, as a click sends them.
void LeftClickAt(HWND window, Point client);
// Typing into an edit: the user clicks into it and selects characters from
// first to last (-1: the end), then types, each character as the keyboard
// delivers it, WM_CHAR and then the key's release.
void TypeInto(HWND edit, std::string_view text, int first = 0, int last = -1);

// What a popup menu looked like while it was open.
struct PopupSeen {
    bool shown = false;
    HMENU menu = nullptr;
    RECT rect{};
};
// Runs openMenu, which opens a popup menu and returns once it has closed, and
// chooses the menu's first item with the keyboard as a user would.
PopupSeen ChooseFirstPopupItem(const std::function<void()>& openMenu);

// A visible top-level window of this thread with the class and caption given.
HWND FindThreadWindow(const std::string& className, const std::string& caption);

}  // namespace tintwright::testing
