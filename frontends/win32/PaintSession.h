#pragma once

// One WM_PAINT: BeginPaint on construction, EndPaint on destruction, so the
// update region is validated even when painting stops early.

#include "frontends/win32/Win32Api.h"

namespace tintwright::win32 {

class PaintSession {
public:
    explicit PaintSession(HWND window) : window_(window) { dc_ = BeginPaint(window_, &paint_); }
    ~PaintSession() { EndPaint(window_, &paint_); }
    PaintSession(const PaintSession&) = delete;
    PaintSession& operator=(const PaintSession&) = delete;

    HDC Dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

}  // namespace tintwright::win32
