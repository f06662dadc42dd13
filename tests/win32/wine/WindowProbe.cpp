#include "tests/win32/wine/WindowProbe.h"

#include <vector>

#include "ui/win32/WindowDc.h"

namespace tintwright::testing {

std::string WindowText(HWND window) {
    std::vector<char> text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1);
    const int length = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    return std::string(text.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string ControlText(HWND parent, int id) {
    return WindowText(GetDlgItem(parent, id));
}

std::string ClassName(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

PixelRect RectInParent(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

PixelRect ClientRect(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void Click(HWND parent, int id) {
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(parent, id)));
}

void Pump(int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        MSG message{};
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (milliseconds > 0) Sleep(5);
    } while (static_cast<LONG>(GetTickCount() - end) < 0);
}

RgbColor PaintedPixel(HWND window, int x, int y) {
    UpdateWindow(window);
    const win32::WindowDc dc(window);
    return GetPixel(dc.Get(), x, y);
}

LPARAM PointParameter(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

namespace {

struct WindowSearch {
    std::string className;
    std::string caption;
    HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<WindowSearch*>(parameter);
    if (IsWindowVisible(window) && ClassName(window) == search.className &&
        WindowText(window) == search.caption) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindThreadWindow(const std::string& className, const std::string& caption) {
    WindowSearch search{className, caption};
    EnumThreadWindows(GetCurrentThreadId(), MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace tintwright::testing
