#include "frontends/win32/Win32PreviewWindows.h"

#include <algorithm>

namespace tintwright::win32 {
namespace {

constexpr char kPreviewClass[] = "TintwrightPreview";
constexpr UINT_PTR kPreviewTimerId = 1;
constexpr UINT kRightShiftScanCode = 0x36;

// GDI's "A" calls read text in the system's code page even where the manifest
// makes the process's own code page UTF-8, so the status line is widened from
// the process's code page, the one every other text of the program is in.
std::wstring WideText(std::string_view text) {
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    return wide;
}

// The status line wraps under the picture rather than cutting off the places
// it names: as many lines as the text needs at the window's width, at least one.
int StatusHeight(HWND window, const std::wstring& text, int width) {
    const HDC dc = GetDC(window);
    TEXTMETRICA metrics{};
    const HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    GetTextMetricsA(dc, &metrics);
    RECT needed{0, 0, std::max(width - 2 * kStatusMargin, 1), 0};
    if (!text.empty())
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, kStatusTextFlags | DT_CALCRECT);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return std::max(static_cast<int>(metrics.tmHeight), static_cast<int>(needed.bottom)) + 2;
}

// The window's DPI over 96; GetDpiForWindow is looked up, as Windows before 10 lacks it.
double DevicePixelRatio(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    const UINT dpi = getDpi != nullptr ? getDpi(window) : 96;
    return dpi == 0 ? 1.0 : dpi / 96.0;
}

// To the right of the main window, kept inside its monitor's working area.
void PlaceBeside(HWND window, HWND main) {
    RECT mainRect{};
    RECT own{};
    GetWindowRect(main, &mainRect);
    GetWindowRect(window, &own);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    const LONG x = std::clamp(mainRect.right + 8, area.left, std::max(area.left, area.right - width));
    const LONG y = std::clamp(mainRect.top, area.top, std::max(area.top, area.bottom - height));
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

PreviewKey PreviewKeyOf(WPARAM virtualKey, LPARAM keyData) {
    switch (virtualKey) {
        case VK_UP:
            return PreviewKey::Up;
        case VK_DOWN:
            return PreviewKey::Down;
        case VK_LEFT:
            return PreviewKey::Left;
        case VK_RIGHT:
            return PreviewKey::Right;
        case 'X':
            return PreviewKey::X;
        case 'Z':
            return PreviewKey::Z;
        case 'S':
            return PreviewKey::S;
        case 'A':
            return PreviewKey::A;
        case 'Q':
            return PreviewKey::Q;
        case 'W':
            return PreviewKey::W;
        case VK_RETURN:
            return PreviewKey::Enter;
        case VK_SHIFT:
            return ((keyData >> 16) & 0xFF) == kRightShiftScanCode ? PreviewKey::RightShift
                                                                   : PreviewKey::Other;
        case VK_RSHIFT:
            return PreviewKey::RightShift;
        case VK_SPACE:
            return PreviewKey::Space;
        case VK_BACK:
            return PreviewKey::Backspace;
        case 'L':
            return PreviewKey::L;
        default:
            return PreviewKey::Other;
    }
}

Win32PreviewWindows::~Win32PreviewWindows() {
    events_ = nullptr;
    DestroyAll();
}

void Win32PreviewWindows::RegisterWindowClass() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (GetClassInfoExA(instance_, kPreviewClass, &windowClass)) return;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance_;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.lpszClassName = kPreviewClass;
    RegisterClassExA(&windowClass);
}

PreviewHandle Win32PreviewWindows::Create(HWND main, std::string_view title) {
    if (main == nullptr) return 0;
    RegisterWindowClass();
    const PreviewHandle handle = nextHandle_++;
    auto& entry = open_[handle];
    entry = std::make_unique<OpenPreview>();
    entry->registry = this;
    entry->handle = handle;
    entry->pixels.assign(static_cast<std::size_t>(entry->width) * entry->height, 0);
    const std::string caption(title);
    // No owner: closing or minimising the editor's window leaves it alone.
    const HWND window = CreateWindowExA(
        0, kPreviewClass, caption.c_str(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
        CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr, nullptr, instance_, entry.get());
    if (window == nullptr) {
        open_.erase(handle);
        return 0;
    }
    Fit(*entry);
    PlaceBeside(window, main);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return handle;
}

Win32PreviewWindows::OpenPreview* Win32PreviewWindows::Find(PreviewHandle preview) const {
    const auto found = open_.find(preview);
    return found == open_.end() ? nullptr : found->second.get();
}

HWND Win32PreviewWindows::Window(PreviewHandle preview) const {
    const OpenPreview* found = Find(preview);
    return found == nullptr ? nullptr : found->window;
}

void Win32PreviewWindows::Fit(const OpenPreview& preview) {
    const int scale = PreviewScale(preview.width, DevicePixelRatio(preview.window));
    const int width = preview.width * scale;
    RECT rect{0, 0, width, preview.height * scale + StatusHeight(preview.window, preview.status, width)};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrA(preview.window, GWL_STYLE)), FALSE, 0);
    SetWindowPos(preview.window, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32PreviewWindows::Present(PreviewHandle handle, const PreviewFrame& frame) {
    OpenPreview* preview = Find(handle);
    if (preview == nullptr || !IsPresentable(frame)) return;
    const std::size_t count = static_cast<std::size_t>(frame.width) * frame.height;
    preview->pixels.assign(frame.pixels.begin(), frame.pixels.begin() + static_cast<std::ptrdiff_t>(count));
    const bool resized = frame.width != preview->width || frame.height != preview->height;
    preview->width = frame.width;
    preview->height = frame.height;
    if (resized) Fit(*preview);
    InvalidateRect(preview->window, nullptr, FALSE);
}

void Win32PreviewWindows::SetStatus(PreviewHandle handle, std::string_view text) {
    if (OpenPreview* preview = Find(handle)) {
        preview->status = WideText(text);
        Fit(*preview);
        InvalidateRect(preview->window, nullptr, FALSE);
    }
}

void Win32PreviewWindows::SetTitle(PreviewHandle handle, std::string_view title) {
    if (const HWND window = Window(handle)) SetWindowTextA(window, std::string(title).c_str());
}

void Win32PreviewWindows::StartTimer(PreviewHandle handle, int milliseconds) {
    if (const HWND window = Window(handle))
        SetTimer(window, kPreviewTimerId, static_cast<UINT>(milliseconds), nullptr);
}

void Win32PreviewWindows::StopTimer(PreviewHandle handle) {
    if (const HWND window = Window(handle)) KillTimer(window, kPreviewTimerId);
}

void Win32PreviewWindows::Destroy(PreviewHandle handle) {
    if (const HWND window = Window(handle)) DestroyWindow(window);
}

void Win32PreviewWindows::DestroyAll() {
    std::vector<HWND> windows;
    for (const auto& [handle, preview] : open_) windows.push_back(preview->window);
    for (const HWND window : windows) DestroyWindow(window);
}

// One StretchDIBits for the whole frame: a top-down 32-bit DIB is exactly 0x00RRGGBB.
void Win32PreviewWindows::Paint(OpenPreview& preview, HWND window) {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(window, &paint);
    const int scale = PreviewScale(preview.width, DevicePixelRatio(window));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = preview.width;
    info.bmiHeader.biHeight = -preview.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    StretchDIBits(dc, 0, 0, preview.width * scale, preview.height * scale, 0, 0, preview.width,
                  preview.height, preview.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    RECT client{};
    GetClientRect(window, &client);
    RECT status{0, preview.height * scale, client.right, client.bottom};
    FillRect(dc, &status, GetSysColorBrush(COLOR_BTNFACE));
    const HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    InflateRect(&status, -kStatusMargin, 0);
    status.top += 1;
    DrawTextW(dc, preview.status.c_str(), static_cast<int>(preview.status.size()), &status, kStatusTextFlags);
    SelectObject(dc, previous);
    EndPaint(window, &paint);
}

LRESULT CALLBACK Win32PreviewWindows::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                                      LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* entry = static_cast<OpenPreview*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        entry->window = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(entry));
    }
    auto* preview = reinterpret_cast<OpenPreview*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (preview == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    return preview->registry->Route(*preview, window, message, wParam, lParam);
}

// The logic may destroy the window inside any event, which frees the entry:
// nothing here touches it after the call.
LRESULT Win32PreviewWindows::Route(OpenPreview& preview, HWND window, UINT message, WPARAM wParam,
                                   LPARAM lParam) {
    const PreviewHandle handle = preview.handle;
    switch (message) {
        case WM_PAINT:
            Paint(preview, window);
            return 0;
        case WM_KEYDOWN:
        case WM_KEYUP: {
            // Bit 30 of a key down: the key was already down, an auto-repeat.
            const bool pressed = message == WM_KEYDOWN;
            if (pressed && (lParam & (LPARAM{1} << 30)) != 0) return 0;
            if (events_ != nullptr) events_->OnPreviewKey(handle, PreviewKeyOf(wParam, lParam), pressed);
            return 0;
        }
        case WM_TIMER:
            if (wParam == kPreviewTimerId && events_ != nullptr) events_->OnPreviewTimer(handle);
            return 0;
        case WM_CLOSE:
            if (events_ != nullptr) events_->OnPreviewClose(handle);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            open_.erase(handle);
            return DefWindowProcA(window, message, wParam, lParam);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace tintwright::win32
