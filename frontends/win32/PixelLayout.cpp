#include "frontends/win32/PixelLayout.h"

namespace tintwright::win32 {
namespace {

constexpr UINT kKeepOrder = SWP_NOZORDER | SWP_NOACTIVATE;

SIZE FrameSizeFor(HWND window, int width, int height) {
    RECT rect{0, 0, width, height};
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
    AdjustWindowRectEx(&rect, style, GetMenu(window) != nullptr, exStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

void PlaceControls(HWND window, std::span<const ControlEntry> controls) {
    for (const ControlEntry& control : controls) {
        const PixelRect pixels = ControlPixelRect(control);
        SetWindowPos(GetDlgItem(window, control.id), nullptr, pixels.left, pixels.top,
                     pixels.right - pixels.left, pixels.bottom - pixels.top, kKeepOrder);
    }
}

void SetClientSize(HWND window, int width, int height) {
    const SIZE frame = FrameSizeFor(window, width, height);
    SetWindowPos(window, nullptr, 0, 0, frame.cx, frame.cy, SWP_NOMOVE | kKeepOrder);
    // A menu bar that wraps onto a second line takes more than the computed
    // frame allows for; correct by what the client area still lacks.
    RECT client{};
    GetClientRect(window, &client);
    const int missingWidth = width - (client.right - client.left);
    const int missingHeight = height - (client.bottom - client.top);
    if (missingWidth != 0 || missingHeight != 0) {
        SetWindowPos(window, nullptr, 0, 0, frame.cx + missingWidth, frame.cy + missingHeight,
                     SWP_NOMOVE | kKeepOrder);
    }
}

void CenterOnWorkArea(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    RECT frame{};
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = area.left + ((area.right - area.left) - width) / 2;
    const int top = area.top + ((area.bottom - area.top) - height) / 2;
    // Keep the caption reachable on a screen smaller than the window.
    SetWindowPos(window, nullptr, left > area.left ? left : area.left, top > area.top ? top : area.top, 0, 0,
                 SWP_NOSIZE | kKeepOrder);
}

void PlaceAtOwnerClientPoint(HWND window, HWND owner, POINT ownerClient) {
    ClientToScreen(owner, &ownerClient);
    SetWindowPos(window, nullptr, ownerClient.x, ownerClient.y, 0, 0, SWP_NOSIZE | kKeepOrder);
}

}  // namespace tintwright::win32
