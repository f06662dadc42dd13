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

bool PumpUntil(const std::function<bool()>& done, int timeoutMilliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMilliseconds);
    while (!done()) {
        if (static_cast<LONG>(GetTickCount() - end) >= 0) return false;
        Pump(10);
    }
    return true;
}

RgbColor PaintedPixel(HWND window, int x, int y) {
    UpdateWindow(window);
    const win32::WindowDc dc(window);
    return GetPixel(dc.Get(), x, y);
}

LPARAM PointParameter(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

POINT ScreenPointOf(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    return point;
}

void LeftClickAt(HWND window, Point client) {
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, PointParameter(client.x, client.y));
    SendMessageA(window, WM_LBUTTONUP, 0, PointParameter(client.x, client.y));
}

void TypeInto(HWND edit, std::string_view text, int first, int last) {
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(first), last);
    for (const char character : text) {
        const auto key = static_cast<WPARAM>(LOBYTE(VkKeyScanA(character)));
        SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(character)), 1);
        SendMessageA(edit, WM_KEYUP, key, 0xC0000001);
    }
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

PopupSeen seenPopup;
int ticksSinceChoice = 0;

// Runs inside the popup menu's own loop. Should the keys not close the menu,
// it is ended after a while, so a failing test still stops.
void CALLBACK ChooseFirstItemOfOpenPopup(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND menuWindow = FindWindowA("#32768", nullptr);
    if (menuWindow == nullptr || !IsWindowVisible(menuWindow)) return;
    if (seenPopup.shown) {
        if (++ticksSinceChoice > 100) {
            KillTimer(nullptr, timer);
            EndMenu();
        }
        return;
    }
    seenPopup.shown = true;
    seenPopup.menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    GetWindowRect(menuWindow, &seenPopup.rect);
    const HWND owner = GetActiveWindow();
    PostMessageA(owner, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(owner, WM_KEYDOWN, VK_RETURN, 0);
}

}  // namespace

PopupSeen ChooseFirstPopupItem(const std::function<void()>& openMenu) {
    seenPopup = {};
    ticksSinceChoice = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, ChooseFirstItemOfOpenPopup);
    openMenu();
    KillTimer(nullptr, timer);
    return seenPopup;
}

HWND FindThreadWindow(const std::string& className, const std::string& caption) {
    WindowSearch search{className, caption};
    EnumThreadWindows(GetCurrentThreadId(), MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace tintwright::testing
