// Qt's headers come before X11's: Xlib defines macros (Bool, None, Status...)
// that break Qt's headers when they come first.
#include "frontends/qt/X11Screen.h"

#include <QGuiApplication>
#include <bit>
#include <cstdint>

// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>
// clang-format on

namespace tintwright::qt {
namespace {

// Reading a pixel can fail (the screen changed size, the server refused);
// Xlib's default answer to an error is to end the process.
class IgnoredXErrors {
public:
    IgnoredXErrors() : previous_(XSetErrorHandler(&Ignore)) {}
    ~IgnoredXErrors() { XSetErrorHandler(previous_); }
    IgnoredXErrors(const IgnoredXErrors&) = delete;
    IgnoredXErrors& operator=(const IgnoredXErrors&) = delete;

private:
    static int Ignore(Display*, XErrorEvent*) { return 0; }
    int (*previous_)(Display*, XErrorEvent*);
};

struct DestroyXImage {
    void operator()(XImage* image) const { XDestroyImage(image); }
};

// One channel of a true-colour pixel, scaled to 8 bits whatever its width.
std::uint32_t Channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const int width = std::popcount(mask);
    const unsigned long value = (pixel & mask) >> shift;
    if (width >= 8) return static_cast<std::uint32_t>(value >> (width - 8));
    return static_cast<std::uint32_t>(value * 255 / ((1ul << width) - 1));
}

bool OnScreen(Display* display, Point point) {
    const int screen = DefaultScreen(display);
    return point.x >= 0 && point.y >= 0 && point.x < DisplayWidth(display, screen) &&
           point.y < DisplayHeight(display, screen);
}

}  // namespace

std::unique_ptr<X11Screen> X11Screen::OpenForApplication() {
    const auto* x11 =
        qGuiApp == nullptr ? nullptr : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr) return nullptr;
    Display* own = XOpenDisplay(x11->display() != nullptr ? DisplayString(x11->display()) : nullptr);
    if (own == nullptr) return nullptr;
    auto screen = std::make_unique<X11Screen>(own);
    screen->ownsDisplay_ = true;
    return screen;
}

X11Screen::X11Screen(Display* display) : display_(display) {
    leftControlKeycode_ = XKeysymToKeycode(display_, XK_Control_L);
    ListenForLeftControl();
}

X11Screen::~X11Screen() {
    if (ownsDisplay_) XCloseDisplay(display_);
}

RgbColor X11Screen::PixelAt(Point physical) {
    if (!OnScreen(display_, physical)) return kUnreadablePixel;
    const IgnoredXErrors ignored;
    const std::unique_ptr<XImage, DestroyXImage> image(
        XGetImage(display_, DefaultRootWindow(display_), physical.x, physical.y, 1, 1, AllPlanes, ZPixmap));
    if (!image) return kUnreadablePixel;
    const unsigned long pixel = XGetPixel(image.get(), 0, 0);
    return Channel(pixel, image->red_mask) | Channel(pixel, image->green_mask) << 8 |
           Channel(pixel, image->blue_mask) << 16;
}

std::optional<Point> X11Screen::PointerPosition() {
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned buttons = 0;
    if (!XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &rootX, &rootY, &windowX,
                       &windowY, &buttons)) {
        return std::nullopt;
    }
    return Point{rootX, rootY};
}

bool X11Screen::LeftControlPressedSinceLastCall() {
    return CountLeftControlPresses() > 0;
}

// Raw key events reach every client that selects them on the root window,
// whichever window has the focus, and without grabbing the keyboard. Polling
// the key map instead would miss a tap between two looks.
void X11Screen::ListenForLeftControl() {
    int event = 0;
    int error = 0;
    if (!XQueryExtension(display_, "XInputExtension", &inputExtensionOpcode_, &event, &error)) {
        inputExtensionOpcode_ = -1;
        return;
    }
    int major = 2;
    int minor = 2;
    if (XIQueryVersion(display_, &major, &minor) != Success) {
        inputExtensionOpcode_ = -1;
        return;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(display_, DefaultRootWindow(display_), &mask, 1);
    XFlush(display_);
}

int X11Screen::CountLeftControlPresses() {
    if (inputExtensionOpcode_ < 0) return 0;
    int presses = 0;
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        XGenericEventCookie* cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != inputExtensionOpcode_) continue;
        if (!XGetEventData(display_, cookie)) continue;
        if (cookie->evtype == XI_RawKeyPress &&
            static_cast<unsigned>(static_cast<XIRawEvent*>(cookie->data)->detail) == leftControlKeycode_) {
            ++presses;
        }
        XFreeEventData(display_, cookie);
    }
    return presses;
}

}  // namespace tintwright::qt
