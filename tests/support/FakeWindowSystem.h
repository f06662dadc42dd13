#pragma once

// A scripted window system for tests: it keeps every control's state by id,
// answers dialogs and message boxes from queues filled by the test, and fails
// the test loudly when the logic shows a box or dialog nobody expected.

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/support/FakeProcess.h"
#include "window/WindowSystem.h"

namespace tintwright::testing {

struct MessageBoxShown {
    std::string text;
    std::string caption;
    unsigned style = 0;
    bool ownedByMainWindow = false;
    DialogHandle ownerDialog = 0;
};

struct ExpectedMessageBox {
    std::string caption;
    int answer = box::kAnswerOk;
};

struct ControlState {
    std::string text;
    int sliderMax = 100;  // a new slider's range, before the logic sets it
    int sliderPosition = 0;
    bool checked = false;
    int invalidations = 0;
};

struct DialogState {
    LocationDialogForm form = LocationDialogForm::Add;
    std::uint32_t parameter = 0;
    std::map<int, std::string> texts;  // item 0 is the caption
    std::set<int> disabled;
    std::set<int> hidden;
    bool open = true;
};

struct PopupShown {
    int popupIndex;
    Point screen;
};

struct PreviewFrameShown {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

struct PreviewState {
    std::string title;
    std::string status;
    std::vector<PreviewFrameShown> frames;  // every frame presented, in order
    std::optional<int> timerPeriod;         // while its timer runs
    bool open = true;
};

enum class PostedKind { Command, ListChanged };

struct PostedMessage {
    PostedKind kind;
    int commandId = 0;
};

class FakeWindowSystem final : public WindowSystem {
public:
    static constexpr int kListRowHeight = 13;
    ~FakeWindowSystem() override;

    // --- Script -------------------------------------------------------------
    void ExpectMessageBox(std::string caption, int answer = box::kAnswerOk);
    void AnswerFileDialog(std::optional<std::string> path);
    void AnswerColorDialog(std::optional<RgbColor> color);
    void AnswerPopupMenu(int commandId);  // 0 closes the menu without a choice
    // Runs inside RunMainWindow after the window is initialised, standing in
    // for the user; the window should be closed by its end.
    std::function<void(MainWindowEvents&)> session;

    // Creates the main window around events, as RunMainWindow does, for tests
    // that drive the logic without start-up.
    void CreateMainWindow(MainWindowEvents& events);
    // Delivers every posted message, in order, including ones posted meanwhile.
    void DeliverPosted();
    // Files dropped onto the main window at a main-window client point, as a
    // user drags them from a file manager.
    void DropFiles(std::vector<std::string> paths, Point client);
    // What a user does to an open preview window: a key down or up, the close
    // box. A tick comes only while the preview's timer runs.
    void PressPreviewKey(PreviewHandle preview, PreviewKey key, bool pressed);
    void ClosePreviewBox(PreviewHandle preview);
    void TickPreview(PreviewHandle preview);

    // --- What the logic did ---------------------------------------------------
    std::map<int, ControlState> controls;
    std::vector<std::string> listRows;  // of the location list, in display order
    int listSelection = -1;
    std::vector<MessageBoxShown> boxesShown;
    std::vector<FileDialogRequest> fileDialogsShown;
    std::vector<ColorDialogRequest> colorDialogsShown;
    std::vector<PopupShown> popupsShown;
    std::deque<PostedMessage> posted;
    std::map<int, int> runningTimers;  // id -> period
    std::map<DialogHandle, DialogState> dialogs;
    std::map<PreviewHandle, PreviewState> previews;
    int focusedControl = 0;
    bool mouseCaptured = false;
    bool mainWindowExists = false;
    bool mainWindowDestroyed = false;
    std::optional<int> quitCode;
    int runMainWindowCalls = 0;

    // --- The world outside ------------------------------------------------------
    Point cursor;
    std::map<std::pair<int, int>, RgbColor> screenPixels;  // unlisted pixels read as 0
    std::function<RgbColor(int id, Point controlClient)> controlPixel;
    std::map<int, Point> controlOrigins;  // main-client origin of each control
    std::deque<bool> leftControlPresses;

    const ControlState& Control(int id) { return controls[id]; }
    std::string Text(int id) { return controls[id].text; }

    // --- WindowSystem ---------------------------------------------------------
    int RunMainWindow(MainWindowEvents& events) override;
    void DestroyMainWindow() override;
    void PostQuit(int exitCode) override { quitCode = exitCode; }
    void SetText(int id, std::string_view text) override { controls[id].text = std::string(text); }
    std::string GetText(int id, std::size_t maxChars) override;
    void SetNumber(int id, std::int32_t value, bool isSigned) override;
    std::optional<std::int32_t> GetSignedNumber(int id) override;
    void SetSliderRangeMax(int id, int maximum) override { controls[id].sliderMax = maximum; }
    void SetSliderPosition(int id, int position) override;
    int GetSliderPosition(int id) override { return controls[id].sliderPosition; }
    void ListReset(int id) override;
    void ListAddString(int id, std::string_view text) override;
    int ListSelection(int) override { return listSelection; }
    std::string ListRowText(int id, int row) override;
    void ListDeleteRow(int id, int row) override;
    void ListClickAt(int id, Point listClient) override;
    void Invalidate(int id, bool) override { ++controls[id].invalidations; }
    void SetFocus(int id) override { focusedControl = id; }
    bool IsChecked(int id) override { return controls[id].checked; }
    int ShowMessageBox(std::string_view text, std::string_view caption, unsigned style) override;
    std::optional<std::string> ShowFileDialog(const FileDialogRequest& request) override;
    std::optional<RgbColor> ShowColorDialog(const ColorDialogRequest& request) override;
    void SetMouseCapture(bool captured) override { mouseCaptured = captured; }
    Point CursorScreenPosition() override { return cursor; }
    Point MapMainClientToControl(int id, Point mainClient) override;
    RgbColor ScreenPixel(Point screen) override;
    RgbColor ControlPixel(int id, Point controlClient) override;
    bool LeftControlPressedSinceLastCall() override;
    void ShowPopupMenu(int popupIndex, Point screen) override;
    void PostCommand(int id) override { posted.push_back({PostedKind::Command, id}); }
    void PostListChanged() override { posted.push_back({PostedKind::ListChanged}); }
    void StartTimer(int id, int milliseconds) override { runningTimers[id] = milliseconds; }
    void StopTimer(int id) override { runningTimers.erase(id); }
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
    int AnswerBox(MessageBoxShown shown);
    DialogState& Dialog(DialogHandle dialog);
    // The open preview, or null for one that is gone; a handle never made
    // fails the test.
    PreviewState* Preview(PreviewHandle preview);

    MainWindowEvents* events_ = nullptr;
    std::deque<ExpectedMessageBox> expectedBoxes_;
    std::deque<std::optional<std::string>> fileAnswers_;
    std::deque<std::optional<RgbColor>> colorAnswers_;
    std::deque<int> popupAnswers_;
    DialogHandle nextDialog_ = 1;
    PreviewHandle nextPreview_ = 1;
};

}  // namespace tintwright::testing
