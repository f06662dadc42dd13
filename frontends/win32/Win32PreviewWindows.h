#pragma once

// The preview windows: top-level windows of class "TintwrightPreview", no
// one's dialog, each showing its last frame with StretchDIBits above a
// status that wraps onto as many lines as it needs. Each window finds its entry from its own GWLP_USERDATA,
// set at WM_NCCREATE from the CreateWindowExA parameter.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "frontends/win32/Win32Api.h"
#include "window/WindowSystem.h"

namespace tintwright::win32 {

// How the status under the picture is drawn: DrawTextW's flags and the
// margin on either side, in the window's DEFAULT_GUI_FONT.
inline constexpr UINT kStatusTextFlags = DT_WORDBREAK | DT_NOPREFIX;
inline constexpr int kStatusMargin = 4;

// The seam's key for a Win32 virtual key; Right Shift is told from the left
// one by its scan code, as WM_KEYDOWN reports only VK_SHIFT.
PreviewKey PreviewKeyOf(WPARAM virtualKey, LPARAM keyData);

class Win32PreviewWindows {
public:
    explicit Win32PreviewWindows(HINSTANCE instance) : instance_(instance) {}
    ~Win32PreviewWindows();
    Win32PreviewWindows(const Win32PreviewWindows&) = delete;
    Win32PreviewWindows& operator=(const Win32PreviewWindows&) = delete;

    void SetEvents(MainWindowEvents* events) { events_ = events; }

    // Shown beside main without taking its focus; 0 when creation failed.
    PreviewHandle Create(HWND main, std::string_view title);
    void Present(PreviewHandle preview, const PreviewFrame& frame);
    void SetStatus(PreviewHandle preview, std::string_view text);
    void SetTitle(PreviewHandle preview, std::string_view title);
    // SetTimer: Windows rounds the period up to its tick, about 10–16 ms.
    void StartTimer(PreviewHandle preview, int milliseconds);
    void StopTimer(PreviewHandle preview);
    void Destroy(PreviewHandle preview);
    void DestroyAll();
    HWND Window(PreviewHandle preview) const;  // null once destroyed

private:
    struct OpenPreview {
        Win32PreviewWindows* registry = nullptr;
        PreviewHandle handle = 0;
        HWND window = nullptr;
        int width = 256;
        int height = 224;
        std::vector<std::uint32_t> pixels;
        std::wstring status;
    };

    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Route(OpenPreview& preview, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void RegisterWindowClass();
    void Paint(OpenPreview& preview, HWND window);
    // The client area is the frame at its scale with the status line under it.
    void Fit(const OpenPreview& preview);
    OpenPreview* Find(PreviewHandle preview) const;

    HINSTANCE instance_;
    MainWindowEvents* events_ = nullptr;
    PreviewHandle nextHandle_ = 1;
    // Stable addresses: each window keeps a pointer to its entry.
    std::map<PreviewHandle, std::unique_ptr<OpenPreview>> open_;
};

}  // namespace tintwright::win32
