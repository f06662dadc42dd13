#pragma once

// The SNES's own colour words as the CGRAM holds them: little-endian BGR555,
// two bytes per colour, up to the 256 colours of the CGRAM. Bit 15 is kept as
// it is, so a dump read and written back is the same file.

#include <cstdint>
#include <span>
#include <vector>

#include "palette/PaletteFile.h"

namespace tintwright {

inline constexpr std::size_t kRawMaxColors = 256;

bool LooksLikeRawBgr555(std::span<const std::uint8_t> bytes);
Result<PaletteFile> ReadRawBgr555(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> WriteRawBgr555(std::span<const std::uint16_t> colors);

}  // namespace tintwright
