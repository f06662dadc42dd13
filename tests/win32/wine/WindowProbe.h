#pragma once

// Reads back what a user would see in a real window and sends what the
// window system would send, for the tests under Wine.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "frontends/win32/Win32Api.h"
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
// Whether a preview window's status line, its client area from statusTop
// down, shows text as the window writes it: in UTF-16, in the line's font and
// place. The line is no control whose text could be read, so the text is drawn
// over it and the pixels are compared.
bool PreviewStatusShows(HWND preview, int statusTop, std::wstring_view text);
LPARAM PointParameter(int x, int y);
POINT ScreenPointOf(HWND window, int x, int y);
// A left press and release at a client point of the window, as a click sends them.
void LeftClickAt(HWND window, Point client);
// Two clicks in quick succession, as the mouse sends them to a window whose
// class asks for double clicks: the second press arrives as WM_LBUTTONDBLCLK.
void DoubleClickAt(HWND window, Point client);
// The centre of a list box row, in the list's client pixels.
Point ListRowPoint(HWND list, int row);
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
// chooses the item at position (0 = the first) with the keyboard as a user would.
PopupSeen ChoosePopupItem(int position, const std::function<void()>& openMenu);

// What a real message box looked like while it was open.
struct BoxSeen {
    bool found = false;
    HWND owner = nullptr;
    std::vector<std::string> texts;  // of its controls: the message and the buttons
};
// Runs showBox, which shows a real message box with this caption and returns
// once it has closed; the box is answered by clicking the button given (IDOK,
// IDYES, ...) after whileOpen has looked at the windows around it.
BoxSeen AnswerRealBox(const std::string& caption, int button, const std::function<void()>& showBox,
                      const std::function<void(HWND box)>& whileOpen = {});

// A visible top-level window of this thread with the class and caption given.
HWND FindThreadWindow(const std::string& className, const std::string& caption);

}  // namespace tintwright::testing
