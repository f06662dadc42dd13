#pragma once

// Puts a template-built window into the pixel layout the fixed mouse numbers
// assume. The dialog manager converts dialog units with the base units of the
// font it actually finds, which differ between systems (Wine's "MS Sans Serif"
// gives 6 x 12 instead of 6 x 13), so the rectangles are set again in pixels.

#include <span>

#include "frontends/win32/Win32Api.h"
#include "window/Layout.h"

namespace tintwright::win32 {

// Moves every control to its ControlPixelRect.
void PlaceControls(HWND window, std::span<const ControlEntry> controls);

// Resizes the window so that its client area is exactly width x height,
// whatever its frame, caption and menu bar take.
void SetClientSize(HWND window, int width, int height);

// Centres the window on the working area of its monitor.
void CenterOnWorkArea(HWND window);

// Puts a top-level window at a point of its owner's client area.
void PlaceAtOwnerClientPoint(HWND window, HWND owner, POINT ownerClient);

}  // namespace tintwright::win32
