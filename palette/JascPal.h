#pragma once

// JASC-PAL, Paint Shop Pro's text palette: "JASC-PAL", "0100", the number of
// colours, then one "R G B" line per colour, lines ended by CRLF.

#include <cstdint>
#include <span>
#include <vector>

#include "palette/PaletteFile.h"

namespace tintwright {

inline constexpr std::string_view kJascPalMagic = "JASC-PAL";

Result<PaletteFile> ReadJascPal(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> WriteJascPal(std::span<const std::uint16_t> colors);

}  // namespace tintwright
