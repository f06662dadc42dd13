#pragma once

// The window system on Linux: the seam carried out with Qt 6 Widgets. Controls
// are found by their layout ids; posted messages and menu commands go through
// Qt's queue, so they arrive in order after the current event.

#include <QObject>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "window/WindowSystem.h"

class QTimer;
class QWidget;

namespace tintwright::qt {

class QtLocationDialog;
class QtMainWindow;
class QtPreviewWindow;
class X11Screen;

// Windows are handed to Qt for deletion once control is back in the event
// loop: they may be ended from inside one of their own event handlers.
struct DeleteLater {
    void operator()(QObject* object) const;
};

class QtWindowSystem final : public WindowSystem {
public:
    QtWindowSystem();
    ~QtWindowSystem() override;
    QtWindowSystem(const QtWindowSystem&) = delete;
    QtWindowSystem& operator=(const QtWindowSystem&) = delete;

    // Builds the main window around events, delivers OnInitDialog once every
    // control exists, then shows it. RunMainWindow does this before its loop;
    // tests call it to get the window without running a loop.
    void CreateMainWindow(MainWindowEvents& events);
    QtMainWindow* MainWindowWidget() const { return mainWindow_.get(); }  // nullptr when none
    QtLocationDialog* LocationDialog(DialogHandle dialog) const;
    QtPreviewWindow* PreviewWindow(PreviewHandle preview) const;  // nullptr when gone
    // Called after every paint of the palette strip.
    std::function<void()> onStripPainted;
    // How long the file dialogs were open: start-up time the user, not the program, spent.
    std::chrono::milliseconds TimeInFileDialogs() const { return timeInFileDialogs_; }

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
    QWidget* Control(int id) const;  // id 0 is the main window; nullptr when there is none
    template <typename Widget>
    Widget* ControlAs(int id) const;
    // Runs deliver later from the event loop, unless the main window is gone by then.
    void Post(std::function<void(MainWindowEvents&)> deliver);
    void ShowCentered();
    X11Screen* Screen();

    QObject postingContext_;  // queued deliveries die with the window system
    std::unique_ptr<MainWindowEvents> guardedEvents_;
    MainWindowEvents* events_ = nullptr;  // the guarded events, once there is a window
    std::unique_ptr<QtMainWindow, DeleteLater> mainWindow_;
    std::map<DialogHandle, std::unique_ptr<QtLocationDialog, DeleteLater>> dialogs_;
    DialogHandle nextDialog_ = 1;
    std::map<PreviewHandle, std::unique_ptr<QtPreviewWindow, DeleteLater>> previews_;
    PreviewHandle nextPreview_ = 1;
    std::map<int, std::unique_ptr<QTimer>> timers_;
    std::optional<int> quitCode_;
    std::unique_ptr<X11Screen> screen_;
    bool screenOpened_ = false;
    std::chrono::milliseconds timeInFileDialogs_{0};
};

}  // namespace tintwright::qt
