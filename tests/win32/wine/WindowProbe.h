#pragma once

// Reads back what a user would see in a real window and sends what the
// window system would send, for the tests under Wine.

#include <string>

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
// The colour on screen at a client point of the window, after it has painted.
RgbColor PaintedPixel(HWND window, int x, int y);
LPARAM PointParameter(int x, int y);

// A visible top-level window of this thread with the class and caption given.
HWND FindThreadWindow(const std::string& className, const std::string& caption);

}  // namespace tintwright::testing
