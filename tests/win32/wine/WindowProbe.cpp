#include "tests/win32/wine/WindowProbe.h"

#include <cstdint>
#include <vector>

#include "frontends/win32/GdiObject.h"
#include "frontends/win32/Win32PreviewWindows.h"
#include "frontends/win32/WindowDc.h"

namespace tintwright::testing {
namespace {

// A part of a window as the screen shows it, top-down 0x00RRGGBB.
std::vector<std::uint32_t> ScreenPixels(HWND window, const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const win32::WindowDc screen(window);
    const HDC memory = CreateCompatibleDC(screen.Get());
    const win32::Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    const HGDIOBJ previous = SelectObject(memory, bitmap.Get());
    BitBlt(memory, 0, 0, width, height, screen.Get(), area.left, area.top, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    GetDIBits(memory, bitmap.Get(), 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    DeleteDC(memory);
    return pixels;
}

}  // namespace

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

bool PreviewStatusShows(HWND preview, int statusTop, std::wstring_view text) {
    UpdateWindow(preview);
    RECT status{};
    GetClientRect(preview, &status);
    status.top = statusTop;
    const std::vector<std::uint32_t> painted = ScreenPixels(preview, status);
    {
        const win32::WindowDc dc(preview);
        FillRect(dc.Get(), &status, GetSysColorBrush(COLOR_BTNFACE));
        SelectObject(dc.Get(), GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc.Get(), TRANSPARENT);
        SetTextColor(dc.Get(), GetSysColor(COLOR_BTNTEXT));
        RECT line = status;
        InflateRect(&line, -win32::kStatusMargin, 0);
        line.top += 1;
        DrawTextW(dc.Get(), text.data(), static_cast<int>(text.size()), &line, win32::kStatusTextFlags);
    }
    const bool same = ScreenPixels(preview, status) == painted;
    InvalidateRect(preview, nullptr, FALSE);  // the window's own drawing back
    return same;
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

void DoubleClickAt(HWND window, Point client) {
    LeftClickAt(window, client);
    SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, PointParameter(client.x, client.y));
    SendMessageA(window, WM_LBUTTONUP, 0, PointParameter(client.x, client.y));
}

Point ListRowPoint(HWND list, int row) {
    RECT rect{};
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
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
int positionToChoose = 0;
int ticksSinceChoice = 0;

// Runs inside the popup menu's own loop. Should the keys not close the menu,
// it is ended after a while, so a failing test still stops.
void CALLBACK ChooseItemOfOpenPopup(HWND, UINT, UINT_PTR timer, DWORD) {
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
    // The first Down arrow highlights the first item.
    const HWND owner = GetActiveWindow();
    for (int step = 0; step <= positionToChoose; ++step) PostMessageA(owner, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(owner, WM_KEYDOWN, VK_RETURN, 0);
}

struct BoxToAnswer {
    std::string caption;
    int button = IDOK;
    std::function<void(HWND)> whileOpen;
    BoxSeen seen;
    int ticks = 0;
};
BoxToAnswer* boxToAnswer = nullptr;

BOOL CALLBACK CollectBoxText(HWND child, LPARAM) {
    boxToAnswer->seen.texts.push_back(WindowText(child));
    return TRUE;
}

// Runs inside the box's own message loop. A box with another caption would
// wait for a user for ever: after a while it gets the same answer, so a
// failing test still stops.
void CALLBACK InspectAndAnswerBox(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND box = FindThreadWindow("#32770", boxToAnswer->caption);
    if (box == nullptr) {
        if (++boxToAnswer->ticks > 200) {
            KillTimer(nullptr, timer);
            if (const HWND other = GetActiveWindow(); ClassName(other) == "#32770") {
                Click(other, boxToAnswer->button);
            }
        }
        return;
    }
    KillTimer(nullptr, timer);
    boxToAnswer->seen.found = true;
    boxToAnswer->seen.owner = GetWindow(box, GW_OWNER);
    EnumChildWindows(box, CollectBoxText, 0);
    if (boxToAnswer->whileOpen) boxToAnswer->whileOpen(box);
    Click(box, boxToAnswer->button);
}

}  // namespace

BoxSeen AnswerRealBox(const std::string& caption, int button, const std::function<void()>& showBox,
                      const std::function<void(HWND box)>& whileOpen) {
    BoxToAnswer answer{caption, button, whileOpen, {}, 0};
    boxToAnswer = &answer;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, InspectAndAnswerBox);
    showBox();
    KillTimer(nullptr, timer);
    boxToAnswer = nullptr;
    return answer.seen;
}

PopupSeen ChoosePopupItem(int position, const std::function<void()>& openMenu) {
    seenPopup = {};
    positionToChoose = position;
    ticksSinceChoice = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, ChooseItemOfOpenPopup);
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
