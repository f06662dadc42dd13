#pragma once

// Microsoft's RIFF palette: "RIFF", size, "PAL ", then chunks; the "data"
// chunk holds the version 0x0300, the number of colours and one R G B flags
// entry per colour, all numbers little-endian.

#include <cstdint>
#include <span>
#include <vector>

#include "palette/PaletteFile.h"

namespace tintwright {

bool LooksLikeRiffPal(std::span<const std::uint8_t> bytes);
Result<PaletteFile> ReadRiffPal(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> WriteRiffPal(std::span<const std::uint16_t> colors);

}  // namespace tintwright
