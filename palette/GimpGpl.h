#pragma once

// GIMP's text palette: "GIMP Palette", optional "Name:" and "Columns:" lines,
// "#" comments, then one "R G B<blanks>name" line per colour.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "palette/PaletteFile.h"

namespace tintwright {

inline constexpr std::string_view kGimpGplMagic = "GIMP Palette";

Result<PaletteFile> ReadGimpGpl(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> WriteGimpGpl(std::span<const std::uint16_t> colors);

}  // namespace tintwright
