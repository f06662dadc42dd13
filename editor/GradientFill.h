#pragma once

// "Gradient Fill": a straight-line blend from the lower cursor's colour to the
// higher cursor's, written into the working copy. The only place the editor
// computes colours; its fixed-point truncation decides every colour in between.

#include <cstdint>
#include <vector>

#include "core/RomImage.h"
#include "editor/PaletteView.h"

namespace tintwright {

// The colours of the cells from the lower end up to, but not including, the
// higher end of a blend over steps cells: the start colour itself, then one
// colour per step. Each channel runs in its own fixed-point field with seven
// fraction bits, its step truncated toward zero, so no channel carries into
// its neighbour.
std::vector<RgbColor> GradientColors(RgbColor start, RgbColor end, std::uint32_t steps);

// Blends between the anchor and the selection cursor from the cached colours
// in one write, which the view hears of and redraws; nothing when both
// cursors name one cell or either names a cell outside the file.
void FillGradient(PaletteView& view, RomImage& rom);

}  // namespace tintwright
