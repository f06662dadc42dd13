#include "ui/PaletteStrip.h"

namespace tintwright {
namespace {

constexpr int kCellHeight = 40;
constexpr RgbColor kBlack = 0x000000;
constexpr RgbColor kWhite = 0xFFFFFF;
constexpr int kSelectionGlyphTop = 1;
constexpr int kAnchorGlyphTop = 13;
constexpr int kTrackingGlyphTop = 25;

std::uint32_t Unsigned16(int value) { return static_cast<std::uint16_t>(value); }

// A black copy, then a white copy one pixel right and two down, so the glyph
// reads on light and dark cells alike.
void DrawShadowedGlyph(StripCanvas& canvas, char glyph, int cell, int top) {
    const int left = kStripCellWidth * cell;
    canvas.DrawGlyph(glyph, {left + 1, top, left + 19, kCellHeight - 1}, kBlack);
    canvas.DrawGlyph(glyph, {left + 1, top + 2, left + 21, kCellHeight - 1}, kWhite);
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
        canvas.FillRect(StripColorArea(cell), view.ColorCache()[cell]);
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

}  // namespace tintwright
