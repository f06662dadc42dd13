#pragma once

// A device context borrowed with GetDC and given back with ReleaseDC. A null
// window borrows the whole screen's.

#include "frontends/win32/Win32Api.h"

namespace tintwright::win32 {

class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

}  // namespace tintwright::win32
