#include "editor/PaletteView.h"

#include <cstdio>

#include "window/ControlIds.h"

namespace tintwright {
namespace {

// View offsets wrap like the 32-bit numbers they are; doing the sum unsigned
// keeps that well defined.
std::int32_t AddWrapping(std::int32_t offset, std::int64_t bytes) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(offset) + static_cast<std::uint32_t>(bytes));
}

std::uint32_t HexDigit(unsigned char ch) {
    if (ch < 'A') return (ch - 0x30u) & 0xFu;
    if (ch < 0x57) return (ch - 0x37u) & 0xFu;
    return (ch - 0x57u) & 0xFu;
}

}  // namespace

std::uint32_t ParseHex(std::string_view text) {
    std::uint32_t value = 0;
    const std::size_t count = text.size();
    for (std::size_t k = 0; k < count; ++k) {
        const unsigned shift = static_cast<unsigned>((4 * (count - 1 - k)) % 32);
        value += HexDigit(static_cast<unsigned char>(text[k])) << shift;
    }
    return value;
}

std::string FormatStatusLine(std::uint32_t selectedOffset, RgbColor currentColor) {
    const SnesComponents components = DisplayComponents(currentColor);
    char line[256] = {};
    std::snprintf(line, sizeof line, "Editing Offset : %08lX - In Snes Rgb %lu,%lu,%lu",
                  static_cast<unsigned long>(selectedOffset), static_cast<unsigned long>(components.red),
                  static_cast<unsigned long>(components.green), static_cast<unsigned long>(components.blue));
    return line;
}

void PaletteView::RefreshView(std::int32_t offset) {
    for (int i = kViewCells - 1; i >= 0; --i) {
        colorCache_[i] = rom_.ReadColor(static_cast<std::uint32_t>(AddWrapping(offset, 2 * i)));
    }
    windowSystem_.Invalidate(ids::kStrip, true);
    UpdateStatusLine();
}

// A cell shows the word at its offset, which the view's wrapping arithmetic
// gives; it is touched when either of its two bytes was written.
void PaletteView::WorkingCopyChanged(std::uint32_t offset, std::uint32_t count) {
    const std::uint64_t end = std::uint64_t{offset} + count;
    for (int i = 0; i < kViewCells; ++i) {
        const std::uint64_t cell = static_cast<std::uint32_t>(AddWrapping(viewOffset_, 2 * i));
        if (cell < end && offset < cell + 2) {
            Refresh();
            return;
        }
    }
}

std::uint32_t PaletteView::SelectedOffset() const {
    return static_cast<std::uint32_t>(viewOffset_) + 2 * selection_;
}

bool PaletteView::SelectCell(std::uint32_t cell) {
    if (cell >= kViewCells) return false;
    anchor_ = selection_;
    selection_ = cell;
    return true;
}

bool PaletteView::SetTrackingMarker(std::uint32_t cell) {
    if (cell >= kViewCells) return false;
    trackingMarker_ = cell;
    return true;
}

void PaletteView::UpdateStatusLine() {
    windowSystem_.SetText(ids::kStatusLine, FormatStatusLine(SelectedOffset(), colors_.CurrentColor()));
}

void PaletteView::GoToOffset() {
    // Eight digits count, after a "$" if there is one; the rest of the box is
    // ignored.
    const std::string text = windowSystem_.GetText(ids::kOffsetBox, 9);
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '$') digits.remove_prefix(1);
    digits = digits.substr(0, 8);
    viewOffset_ = static_cast<std::int32_t>(ParseHex(digits));
    Refresh();
    UpdateStatusLine();
    windowSystem_.Invalidate(0, true);
}

void PaletteView::MoveView(std::int32_t bytes) {
    viewOffset_ = AddWrapping(viewOffset_, bytes);
    Refresh();
}

void PaletteView::OnMouseWheel(std::int16_t delta) {
    // Each whole notch of 120 moves one colour. Touchpads and smooth wheels send
    // small deltas; they are gathered until they make whole notches, since the
    // step arithmetic below would make a delta of 8 jump fifteen colours.
    pendingWheelDelta_ += delta;
    const std::int32_t whole = pendingWheelDelta_ / kWheelNotch * kWheelNotch;
    pendingWheelDelta_ -= whole;
    if (whole > 0) {
        const std::uint32_t steps = static_cast<std::uint32_t>(-(whole >> 3)) & 0xFu;
        MoveView(static_cast<std::int32_t>(2 * steps));
    } else if (whole < 0) {
        const std::uint32_t steps = (static_cast<std::uint32_t>(whole) >> 3) & 0xFu;
        MoveView(-static_cast<std::int32_t>(2 * steps));
    }
}

void PaletteView::OnXButtonUp(int button) {
    if (button == 1) MoveView(-2);
    if (button == 2) MoveView(2);
}

void PaletteView::ShowSelectedOffset() {
    char text[16] = {};
    std::snprintf(text, sizeof text, "%08lX", static_cast<unsigned long>(SelectedOffset()));
    windowSystem_.SetText(ids::kOffsetBox, text);
}

}  // namespace tintwright
