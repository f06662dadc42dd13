#include "editor/ColorCommands.h"

#include <cstdint>

namespace tintwright {
namespace {

// The words of the view, and the 32 bytes to cell 16, as 32-bit offsets that
// wrap rather than overflow.
constexpr std::uint32_t kViewWords = 32;
constexpr std::uint32_t kCell16Bytes = 32;

std::int32_t Wrapping(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

}  // namespace

// The view hears of each write from the working copy. Outside the file
// nothing is written and nobody is told, but these commands have always
// redrawn the strip and the status line, so they still do.
void ColorCommands::Apply() {
    if (!rom_.WriteColor(view_.SelectedOffset(), colors_.CurrentColor())) view_.Refresh();
}

void ColorCommands::UndoSelected() {
    if (!rom_.RestoreFromUndo(view_.SelectedOffset(), 1)) view_.Refresh();
}

void ColorCommands::UndoViewArea() {
    if (!rom_.RestoreFromUndo(static_cast<std::uint32_t>(view_.ViewOffset()), kViewWords)) view_.Refresh();
}

void ColorCommands::UpdateUndoBuffer() {
    const int answer =
        windowSystem_.ShowMessageBox(kUpdateUndoText, kUpdateUndoCaption, box::kYesNo | box::kIconQuestion);
    if (answer == box::kAnswerYes) rom_.RefreshUndoCopy();
}

// The view moves to the start before the search; when nothing is searched
// for, it is still redrawn there, so the strip shows the words that "Apply"
// and the undo commands now act on.
void ColorCommands::FindFirst() {
    view_.SetViewOffset(0);
    if (!SearchFromView()) view_.Refresh();
}

void ColorCommands::FindNext() {
    SearchFromView();
}

bool ColorCommands::SearchFromView() {
    const std::optional<RgbColor> color = colors_.ReadRgbEdits();
    if (!color) return false;
    const std::int32_t found =
        rom_.FindColor(Wrapping(std::int64_t{view_.ViewOffset()} + kCell16Bytes), *color);
    if (found == RomImage::kNotFound) {
        // Back to the start, so the next search begins at the top; redrawn so
        // the strip never shows other words than the commands act on.
        view_.SetViewOffset(0);
        view_.Refresh();
        return true;
    }
    view_.SetViewOffset(Wrapping(std::int64_t{found} - kCell16Bytes));
    view_.UpdateStatusLine();
    view_.Refresh();
    return true;
}

}  // namespace tintwright
