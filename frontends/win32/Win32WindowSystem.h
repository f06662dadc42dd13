#pragma once

// The window-system seam on Win32: each operation the logic asks for is the
// Win32 call of the same purpose, on the main window built from template 1000
// or on a location dialog built from template 8000.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "frontends/win32/ModalScript.h"
#include "frontends/win32/Win32Api.h"
#include "frontends/win32/Win32LocationDialogs.h"
#include "frontends/win32/Win32MainWindow.h"
#include "frontends/win32/Win32PreviewWindows.h"
#include "frontends/win32/WindowDc.h"
#include "window/GuardedEvents.h"
#include "window/WindowSystem.h"

namespace tintwright {

class Win32WindowSystem final : public WindowSystem {
public:
    // Registers the common control classes the sliders need.
    explicit Win32WindowSystem(HINSTANCE instance);
    ~Win32WindowSystem() override;
    Win32WindowSystem(const Win32WindowSystem&) = delete;
    Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

    // Tests only: lets a script answer boxes and dialogs instead of a person.
    void SetModalScript(win32::ModalScript* script) { script_ = script; }
    HWND MainWindowHandle() const { return mainWindow_.Handle(); }
    HWND LocationDialogWindow(DialogHandle dialog) const { return dialogs_.Window(dialog); }
    HWND PreviewWindow(PreviewHandle preview) const { return previews_.Window(preview); }
    std::size_t StripBrushCount() const { return mainWindow_.StripBrushCount(); }

    int RunMainWindow(MainWindowEvents& events) override;
    void DestroyMainWindow() override;
    void PostQuit(int exitCode) override;

    void SetText(int id, std::string_view text) override;
    std::string GetText(int id, std::size_t maxChars) override;
    void SetNumber(int id, std::int32_t value, bool isSigned) override;
    std::optional<std::int32_t> GetSignedNumber(int id) override;

    void SetSliderRangeMax(int id, int maximum) override;
    void SetSliderPosition(int id, int position) override;
    int GetSliderPosition(int id) override;

    void ListReset(int id) override;
    void ListAddString(int id, std::string_view text) override;
    int ListSelection(int id) override;
    std::string ListRowText(int id, int row) override;
    void ListDeleteRow(int id, int row) override;
    void ListClickAt(int id, Point listClient) override;

    void Invalidate(int id, bool erase) override;
    void SetFocus(int id) override;
    bool IsChecked(int id) override;

    int ShowMessageBox(std::string_view text, std::string_view caption, unsigned style) override;
    std::optional<std::string> ShowFileDialog(const FileDialogRequest& request) override;
    std::optional<RgbColor> ShowColorDialog(const ColorDialogRequest& request) override;

    void SetMouseCapture(bool captured) override;
    Point CursorScreenPosition() override;
    Point MapMainClientToControl(int id, Point mainClient) override;
    RgbColor ScreenPixel(Point screen) override;
    RgbColor ControlPixel(int id, Point controlClient) override;
    bool LeftControlPressedSinceLastCall() override;

    void ShowPopupMenu(int popupIndex, Point screen) override;
    void PostCommand(int id) override;
    void PostListChanged() override;

    void StartTimer(int id, int milliseconds) override;
    void StopTimer(int id) override;

    DialogHandle CreateLocationDialog(LocationDialogForm form, std::uint32_t parameter) override;
    void SetDialogText(DialogHandle dialog, int id, std::string_view text) override;
    std::string GetDialogText(DialogHandle dialog, int id, std::size_t maxChars) override;
    void EnableDialogItem(DialogHandle dialog, int id, bool enabled) override;
    void ShowDialogItem(DialogHandle dialog, int id, bool shown) override;
    int ShowDialogMessageBox(DialogHandle dialog, std::string_view text, std::string_view caption,
                             unsigned style) override;
    void EndLocationDialog(DialogHandle dialog) override;

    PreviewHandle CreatePreviewWindow(std::string_view title) override;
    void PresentPreviewFrame(PreviewHandle preview, const PreviewFrame& frame) override;
    void SetPreviewStatus(PreviewHandle preview, std::string_view text) override;
    void SetPreviewTitle(PreviewHandle preview, std::string_view title) override;
    void StartPreviewTimer(PreviewHandle preview, int milliseconds) override;
    void StopPreviewTimer(PreviewHandle preview) override;
    void DestroyPreviewWindow(PreviewHandle preview) override;

private:
    HWND Control(int id) const { return mainWindow_.Control(id); }
    int ShowBox(HWND owner, std::string_view text, std::string_view caption, unsigned style);

    HINSTANCE instance_;
    // The logic's events behind the exception barrier; outlives the windows
    // that deliver them.
    std::unique_ptr<GuardedEvents> guardedEvents_;
    // Declared before the main window so that the dialogs it owns are
    // forgotten after it is gone.
    win32::Win32LocationDialogs dialogs_;
    win32::Win32PreviewWindows previews_;
    win32::Win32MainWindow mainWindow_;
    win32::ModalScript* script_ = nullptr;
    // The whole screen's device context, borrowed once for the program's
    // life: the tracker reads a pixel every 50 ms, and borrowing and giving
    // back a context each time cost more than the read (under Wine most of
    // the idle editor's time).
    win32::WindowDc screenDc_{nullptr};
};

}  // namespace tintwright
