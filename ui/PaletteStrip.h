#pragma once

// The picture of the palette view: 32 framed cells with the cursor glyphs, and
// the fixed pixel numbers that map mouse positions onto them.

#include <cstdint>
#include <optional>

#include "editor/PaletteView.h"
#include "window/WindowSystem.h"

namespace tintwright {

// In main-window client pixels, matching the strip's place in the layout.
inline constexpr int kStripLeft = 60;
inline constexpr int kStripBandTop = 228;     // exclusive: the cells' top frame row
inline constexpr int kStripBandBottom = 268;  // exclusive
inline constexpr int kStripCellWidth = 20;

// In strip client pixels.
PixelRect StripCellRect(int cell);
PixelRect StripColorArea(int cell);

void PaintStrip(const PaletteView& view, StripCanvas& canvas);

// The strip cell under a main-window client position, or nothing. Positions
// are taken as unsigned 16-bit numbers, as a captured mouse reports them.
std::optional<std::uint32_t> StripCellAt(Point client);
bool IsInStripBand(Point client);

}  // namespace tintwright
