#include "tests/support/FakeWindowSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "window/ControlIds.h"
#include "window/DialogInteger.h"

namespace tintwright::testing {
namespace {

// The order a sorted list box keeps: without regard to case.
bool SortsBefore(const std::string& left, std::string_view right) {
    return std::lexicographical_compare(
        left.begin(), left.end(), right.begin(), right.end(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) < std::tolower(static_cast<unsigned char>(b));
        });
}

std::string Cut(std::string_view text, std::size_t maxChars) {
    return std::string(text.substr(0, std::min(text.size(), maxChars)));
}

}  // namespace

FakeWindowSystem::~FakeWindowSystem() {
    for (const ExpectedMessageBox& expected : expectedBoxes_) {
        ADD_FAILURE() << "expected a message box captioned \"" << expected.caption << "\" that never came";
    }
    for (std::size_t i = 0; i < fileAnswers_.size(); ++i)
        ADD_FAILURE() << "a file dialog answer was never used";
    for (std::size_t i = 0; i < colorAnswers_.size(); ++i)
        ADD_FAILURE() << "a colour dialog answer was never used";
}

void FakeWindowSystem::ExpectMessageBox(std::string caption, int answer) {
    expectedBoxes_.push_back({std::move(caption), answer});
}

void FakeWindowSystem::AnswerFileDialog(std::optional<std::string> path) {
    fileAnswers_.push_back(std::move(path));
}

void FakeWindowSystem::AnswerColorDialog(std::optional<RgbColor> color) {
    colorAnswers_.push_back(color);
}

void FakeWindowSystem::AnswerPopupMenu(int commandId) {
    popupAnswers_.push_back(commandId);
}

void FakeWindowSystem::CreateMainWindow(MainWindowEvents& events) {
    events_ = &events;
    mainWindowExists = true;
    events.OnInitDialog();
}

void FakeWindowSystem::DeliverPosted() {
    ASSERT_NE(events_, nullptr) << "no main window to deliver to";
    while (!posted.empty() && !mainWindowDestroyed) {
        const PostedMessage message = posted.front();
        posted.pop_front();
        if (message.kind == PostedKind::Command) events_->OnCommand(message.commandId, 0);
        if (message.kind == PostedKind::ListChanged) events_->OnListChanged();
    }
}

void FakeWindowSystem::DropFiles(std::vector<std::string> paths, Point client) {
    ASSERT_NE(events_, nullptr) << "no main window to drop onto";
    events_->OnFilesDropped(std::move(paths), client);
}

int FakeWindowSystem::RunMainWindow(MainWindowEvents& events) {
    ++runMainWindowCalls;
    CreateMainWindow(events);
    if (session) session(events);
    if (!quitCode) {
        ADD_FAILURE() << "the main window was still open when the session ended";
        return -999;
    }
    return *quitCode;
}

void FakeWindowSystem::DestroyMainWindow() {
    EXPECT_TRUE(mainWindowExists) << "destroying a main window that does not exist";
    mainWindowExists = false;
    mainWindowDestroyed = true;
    for (auto& [handle, dialog] : dialogs) dialog.open = false;  // owned windows go with it
    for (auto& [handle, preview] : previews) preview.open = false;
    if (events_ != nullptr) events_->OnDestroy();
}

std::string FakeWindowSystem::GetText(int id, std::size_t maxChars) {
    return Cut(controls[id].text, maxChars);
}

void FakeWindowSystem::SetNumber(int id, std::int32_t value, bool isSigned) {
    controls[id].text = FormatDialogInteger(value, isSigned);
}

std::optional<std::int32_t> FakeWindowSystem::GetSignedNumber(int id) {
    return ParseDialogInteger(controls[id].text, true);
}

void FakeWindowSystem::SetSliderPosition(int id, int position) {
    ControlState& slider = controls[id];
    slider.sliderPosition = std::clamp(position, 0, slider.sliderMax);
}

void FakeWindowSystem::ListReset(int) {
    listRows.clear();
    listSelection = -1;
}

void FakeWindowSystem::ListAddString(int, std::string_view text) {
    const auto at = std::upper_bound(
        listRows.begin(), listRows.end(), std::string(text),
        [](const std::string& value, const std::string& row) { return SortsBefore(value, row); });
    const int row = static_cast<int>(at - listRows.begin());
    listRows.insert(at, std::string(text));
    if (listSelection >= row) ++listSelection;
}

std::string FakeWindowSystem::ListRowText(int, int row) {
    if (row < 0 || row >= static_cast<int>(listRows.size())) {
        ADD_FAILURE() << "reading list row " << row << " of " << listRows.size();
        return {};
    }
    return listRows[row];
}

void FakeWindowSystem::ListDeleteRow(int, int row) {
    if (row < 0 || row >= static_cast<int>(listRows.size())) return;
    listRows.erase(listRows.begin() + row);
    if (listSelection == row)
        listSelection = -1;
    else if (listSelection > row)
        --listSelection;
}

void FakeWindowSystem::ListClickAt(int id, Point listClient) {
    const int row = listClient.y / kListRowHeight;
    if (listClient.y < 0 || row >= static_cast<int>(listRows.size())) return;
    const bool changed = row != listSelection;
    listSelection = row;
    if (changed && events_ != nullptr) events_->OnCommand(id, ids::kListSelectionChanged);
}

int FakeWindowSystem::AnswerBox(MessageBoxShown shown) {
    boxesShown.push_back(shown);
    if (expectedBoxes_.empty()) {
        ADD_FAILURE() << "unexpected message box \"" << shown.caption << "\": " << shown.text;
        return box::kAnswerOk;
    }
    const ExpectedMessageBox expected = expectedBoxes_.front();
    expectedBoxes_.pop_front();
    EXPECT_EQ(shown.caption, expected.caption) << "message box text: " << shown.text;
    return expected.answer;
}

int FakeWindowSystem::ShowMessageBox(std::string_view text, std::string_view caption, unsigned style) {
    return AnswerBox({std::string(text), std::string(caption), style, mainWindowExists, 0});
}

std::optional<std::string> FakeWindowSystem::ShowFileDialog(const FileDialogRequest& request) {
    fileDialogsShown.push_back(request);
    if (fileAnswers_.empty()) {
        ADD_FAILURE() << "unexpected file dialog \"" << request.title << "\"";
        return std::nullopt;
    }
    auto answer = fileAnswers_.front();
    fileAnswers_.pop_front();
    return answer;
}

std::optional<RgbColor> FakeWindowSystem::ShowColorDialog(const ColorDialogRequest& request) {
    colorDialogsShown.push_back(request);
    if (colorAnswers_.empty()) {
        ADD_FAILURE() << "unexpected colour dialog";
        return std::nullopt;
    }
    const auto answer = colorAnswers_.front();
    colorAnswers_.pop_front();
    return answer;
}

Point FakeWindowSystem::MapMainClientToControl(int id, Point mainClient) {
    const Point origin = controlOrigins[id];
    return {mainClient.x - origin.x, mainClient.y - origin.y};
}

RgbColor FakeWindowSystem::ScreenPixel(Point screen) {
    const auto found = screenPixels.find({screen.x, screen.y});
    return found == screenPixels.end() ? 0 : found->second;
}

RgbColor FakeWindowSystem::ControlPixel(int id, Point controlClient) {
    if (!controlPixel) {
        ADD_FAILURE() << "control " << id << " read without a picture";
        return 0;
    }
    return controlPixel(id, controlClient);
}

bool FakeWindowSystem::LeftControlPressedSinceLastCall() {
    if (leftControlPresses.empty()) return false;
    const bool pressed = leftControlPresses.front();
    leftControlPresses.pop_front();
    return pressed;
}

void FakeWindowSystem::ShowPopupMenu(int popupIndex, Point screen) {
    popupsShown.push_back({popupIndex, screen});
    if (popupAnswers_.empty()) {
        ADD_FAILURE() << "unexpected popup menu " << popupIndex;
        return;
    }
    const int chosen = popupAnswers_.front();
    popupAnswers_.pop_front();
    if (chosen != 0) PostCommand(chosen);
}

DialogHandle FakeWindowSystem::CreateLocationDialog(LocationDialogForm form, std::uint32_t parameter) {
    const DialogHandle handle = nextDialog_++;
    DialogState& dialog = dialogs[handle];
    dialog.form = form;
    dialog.parameter = parameter;
    dialog.texts[0] = "Add new location";
    dialog.texts[ids::kDialogConfirmButton] = "Ok";
    dialog.texts[ids::kDialogCleanButton] = "Clean";
    if (events_ != nullptr) events_->OnLocationDialogInit(handle, form, parameter);
    return handle;
}

DialogState& FakeWindowSystem::Dialog(DialogHandle dialog) {
    const auto found = dialogs.find(dialog);
    if (found == dialogs.end() || !found->second.open) ADD_FAILURE() << "dialog " << dialog << " is not open";
    return dialogs[dialog];
}

void FakeWindowSystem::SetDialogText(DialogHandle dialog, int id, std::string_view text) {
    Dialog(dialog).texts[id] = std::string(text);
}

std::string FakeWindowSystem::GetDialogText(DialogHandle dialog, int id, std::size_t maxChars) {
    return Cut(Dialog(dialog).texts[id], maxChars);
}

void FakeWindowSystem::EnableDialogItem(DialogHandle dialog, int id, bool enabled) {
    if (enabled)
        Dialog(dialog).disabled.erase(id);
    else
        Dialog(dialog).disabled.insert(id);
}

void FakeWindowSystem::ShowDialogItem(DialogHandle dialog, int id, bool shown) {
    if (shown)
        Dialog(dialog).hidden.erase(id);
    else
        Dialog(dialog).hidden.insert(id);
}

int FakeWindowSystem::ShowDialogMessageBox(DialogHandle dialog, std::string_view text,
                                           std::string_view caption, unsigned style) {
    Dialog(dialog);
    return AnswerBox({std::string(text), std::string(caption), style, false, dialog});
}

void FakeWindowSystem::EndLocationDialog(DialogHandle dialog) {
    Dialog(dialog).open = false;
}

PreviewState* FakeWindowSystem::Preview(PreviewHandle preview) {
    const auto found = previews.find(preview);
    if (found == previews.end()) {
        ADD_FAILURE() << "preview " << preview << " was never created";
        return nullptr;
    }
    return found->second.open ? &found->second : nullptr;
}

void FakeWindowSystem::PressPreviewKey(PreviewHandle preview, PreviewKey key, bool pressed) {
    ASSERT_TRUE(Preview(preview) != nullptr && events_ != nullptr) << "no open preview " << preview;
    events_->OnPreviewKey(preview, key, pressed);
}

void FakeWindowSystem::ClosePreviewBox(PreviewHandle preview) {
    ASSERT_TRUE(Preview(preview) != nullptr && events_ != nullptr) << "no open preview " << preview;
    events_->OnPreviewClose(preview);
}

void FakeWindowSystem::TickPreview(PreviewHandle preview) {
    const PreviewState* state = Preview(preview);
    ASSERT_TRUE(state != nullptr && state->timerPeriod) << "preview " << preview << " has no timer running";
    events_->OnPreviewTimer(preview);
}

PreviewHandle FakeWindowSystem::CreatePreviewWindow(std::string_view title) {
    if (!mainWindowExists) return 0;
    const PreviewHandle handle = nextPreview_++;
    previews[handle].title = std::string(title);
    return handle;
}

// The logic must never hand over a frame no window could show.
void FakeWindowSystem::PresentPreviewFrame(PreviewHandle preview, const PreviewFrame& frame) {
    PreviewState* state = Preview(preview);
    if (state == nullptr) return;
    if (!IsPresentable(frame)) {
        ADD_FAILURE() << "a frame of " << frame.width << " x " << frame.height << " with "
                      << frame.pixels.size() << " pixels";
        return;
    }
    const auto pixels = frame.pixels.first(static_cast<std::size_t>(frame.width) * frame.height);
    state->frames.push_back({frame.width, frame.height, {pixels.begin(), pixels.end()}});
}

void FakeWindowSystem::SetPreviewStatus(PreviewHandle preview, std::string_view text) {
    if (PreviewState* state = Preview(preview)) state->status = std::string(text);
}

void FakeWindowSystem::SetPreviewTitle(PreviewHandle preview, std::string_view title) {
    if (PreviewState* state = Preview(preview)) state->title = std::string(title);
}

void FakeWindowSystem::StartPreviewTimer(PreviewHandle preview, int milliseconds) {
    if (PreviewState* state = Preview(preview)) state->timerPeriod = milliseconds;
}

void FakeWindowSystem::StopPreviewTimer(PreviewHandle preview) {
    if (PreviewState* state = Preview(preview)) state->timerPeriod.reset();
}

void FakeWindowSystem::DestroyPreviewWindow(PreviewHandle preview) {
    if (PreviewState* state = Preview(preview)) {
        state->open = false;
        state->timerPeriod.reset();
    }
}

}  // namespace tintwright::testing
