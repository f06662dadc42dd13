#pragma once

// The picture of the palette view: 32 framed cells with the cursor glyphs, the
// fixed pixel numbers that map mouse positions onto them, and the strip's two
// mouse actions.

#include <cstdint>
#include <optional>

#include "core/RomImage.h"
#include "editor/ColorEditor.h"
#include "editor/PaletteView.h"
#include "window/WindowSystem.h"

namespace tintwright {

// In main-window client pixels, matching the strip's place in the layout.
inline constexpr int kStripLeft = 60;
inline constexpr int kStripBandTop = 228;     // exclusive: the cells' top frame row
inline constexpr int kStripBandBottom = 268;  // exclusive
inline constexpr int kStripCellWidth = 20;

// A cell outside the file: white, which no ROM word shows (its channels'
// low bits are never all set), crossed in grey, so it never passes for a
// colour the ROM holds.
inline constexpr RgbColor kNoColorCellFill = 0xFFFFFF;
inline constexpr RgbColor kNoColorCellCross = 0x808080;

// In strip client pixels.
PixelRect StripCellRect(int cell);
PixelRect StripColorArea(int cell);

void PaintStrip(const PaletteView& view, StripCanvas& canvas);

// The strip cell under a main-window client position, or nothing. Positions
// are taken as unsigned 16-bit numbers, as a captured mouse reports them.
std::optional<std::uint32_t> StripCellAt(Point client);
bool IsInStripBand(Point client);

class PaletteStrip {
public:
    PaletteStrip(WindowSystem& windowSystem, const RomImage& rom, PaletteView& view, ColorEditor& colors)
        : windowSystem_(windowSystem), rom_(rom), view_(view), colors_(colors) {}

    // A left release: the cell under it becomes the selection (the old one the
    // anchor) and its word, read afresh from the working copy, the current
    // colour; the keyboard focus moves to the strip.
    void SelectStripCell(Point client);
    // A right release anywhere in the strip band: the Tools menu at the pointer.
    void ShowToolsMenu(Point client);

private:
    WindowSystem& windowSystem_;
    const RomImage& rom_;
    PaletteView& view_;
    ColorEditor& colors_;
};

}  // namespace tintwright
