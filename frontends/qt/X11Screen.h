#pragma once

// The screen and keyboard as the colour tracker needs them on X11: the colour
// of any screen pixel and whether the left Control key went down since the
// last look. The only place that speaks Xlib; its headers stay in the .cpp.

#include <memory>
#include <optional>

#include "window/WindowSystem.h"

// Xlib's own declaration, repeated so that this header needs no X11 header.
typedef struct _XDisplay Display;

namespace tintwright::qt {

class X11Screen {
public:
    // A connection of its own to the display the application shows on, or
    // nullptr when the application does not run on X11 (offscreen, Wayland).
    static std::unique_ptr<X11Screen> OpenForApplication();

    // Uses a display the caller keeps open for this object's lifetime.
    explicit X11Screen(Display* display);
    ~X11Screen();
    X11Screen(const X11Screen&) = delete;
    X11Screen& operator=(const X11Screen&) = delete;

    // The colour at a position in physical screen pixels as 0x00BBGGRR, or
    // kUnreadablePixel when it cannot be read (for example off the screen).
    RgbColor PixelAt(Point physical);
    // The pixel the pointer is on, in the same physical pixels PixelAt reads,
    // or nothing when the pointer is on another screen of the display.
    std::optional<Point> PointerPosition();
    bool LeftControlPressedSinceLastCall();

private:
    void ListenForLeftControl();
    int CountLeftControlPresses();

    Display* display_;
    bool ownsDisplay_ = false;
    int inputExtensionOpcode_ = -1;  // -1 when XInput 2 is missing
    unsigned leftControlKeycode_ = 0;
};

}  // namespace tintwright::qt
