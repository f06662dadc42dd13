#include "mainwindow/PaletteStrip.h"

#include "window/ControlIds.h"

namespace tintwright {
namespace {

constexpr int kCellHeight = 40;
constexpr RgbColor kBlack = 0x000000;
constexpr RgbColor kWhite = 0xFFFFFF;
constexpr int kSelectionGlyphTop = 1;
constexpr int kAnchorGlyphTop = 13;
constexpr int kTrackingGlyphTop = 25;

std::uint32_t Unsigned16(int value) {
    return static_cast<std::uint16_t>(value);
}

// A black copy, then a white copy one pixel right and two down, so the glyph
// reads on light and dark cells alike.
void DrawShadowedGlyph(StripCanvas& canvas, char glyph, int cell, int top) {
    const int left = kStripCellWidth * cell;
    canvas.DrawGlyph(glyph, {left + 1, top, left + 19, kCellHeight - 1}, kBlack);
    canvas.DrawGlyph(glyph, {left + 1, top + 2, left + 21, kCellHeight - 1}, kWhite);
}

// Both diagonals, two pixels wide, as runs of rows that share a column: the
// canvas only fills rectangles, which every window system draws to the same
// pixels, and a run is one fill.
void DrawNoColorCell(StripCanvas& canvas, const PixelRect& area) {
    canvas.FillRect(area, kNoColorCellFill);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const auto across = [&](int row) { return row * (width - 2) / (height - 1); };
    for (int first = 0; first < height;) {
        int end = first + 1;
        while (end < height && across(end) == across(first)) ++end;
        const int step = across(first);
        const int top = area.top + first;
        const int bottom = area.top + end;
        canvas.FillRect({area.left + step, top, area.left + step + 2, bottom}, kNoColorCellCross);
        canvas.FillRect({area.right - step - 2, top, area.right - step, bottom}, kNoColorCellCross);
        first = end;
    }
}

}  // namespace

PixelRect StripCellRect(int cell) {
    const int left = kStripCellWidth * cell;
    return {left, 0, left + kStripCellWidth, kCellHeight};
}

PixelRect StripColorArea(int cell) {
    const int left = kStripCellWidth * cell;
    return {left + 1, 1, left + kStripCellWidth - 1, kCellHeight - 1};
}

void PaintStrip(const PaletteView& view, StripCanvas& canvas) {
    for (int cell = 0; cell < kViewCells; ++cell) {
        canvas.FillRect(StripCellRect(cell), kBlack);
        const RgbColor color = view.ColorCache()[cell];
        if (color == kNoColor) {
            DrawNoColorCell(canvas, StripColorArea(cell));
        } else {
            canvas.FillRect(StripColorArea(cell), color);
        }
        const auto index = static_cast<std::uint32_t>(cell);
        if (index == view.Selection()) DrawShadowedGlyph(canvas, 'V', cell, kSelectionGlyphTop);
        if (index == view.Anchor()) DrawShadowedGlyph(canvas, '*', cell, kAnchorGlyphTop);
        if (index == view.TrackingMarker() && view.TrackingFlag()) {
            DrawShadowedGlyph(canvas, '?', cell, kTrackingGlyphTop);
        }
    }
}

bool IsInStripBand(Point client) {
    const std::uint32_t y = Unsigned16(client.y);
    return y > kStripBandTop && y < kStripBandBottom;
}

std::optional<std::uint32_t> StripCellAt(Point client) {
    if (!IsInStripBand(client)) return std::nullopt;
    const std::uint32_t index = (Unsigned16(client.x) - kStripLeft) / kStripCellWidth;
    if (index >= kViewCells) return std::nullopt;
    return index;
}

void PaletteStrip::SelectStripCell(Point client) {
    const std::optional<std::uint32_t> cell = StripCellAt(client);
    if (!cell) return;
    view_.SelectCell(*cell);
    windowSystem_.Invalidate(ids::kStrip, true);
    colors_.SetCurrentColor(rom_.ReadColor(view_.SelectedOffset()));
    view_.UpdateStatusLine();
    windowSystem_.SetFocus(ids::kStrip);
}

void PaletteStrip::ShowToolsMenu(Point client) {
    if (!IsInStripBand(client)) return;
    windowSystem_.ShowPopupMenu(ids::kToolsPopupIndex, windowSystem_.CursorScreenPosition());
}

}  // namespace tintwright
