#pragma once

// Adobe Color Table: 256 RGB triples (768 bytes), optionally followed by the
// number of colours in use and the transparent index, both big-endian (772).

#include <cstdint>
#include <span>
#include <vector>

#include "palette/PaletteFile.h"

namespace tintwright {

inline constexpr std::size_t kActColors = 256;
inline constexpr std::size_t kActSize = 768;
inline constexpr std::size_t kActSizeWithCount = 772;

Result<PaletteFile> ReadAdobeAct(std::span<const std::uint8_t> bytes);
// 768 bytes for 256 colours; 772 with the count for fewer, unused entries black.
std::vector<std::uint8_t> WriteAdobeAct(std::span<const std::uint16_t> colors);

}  // namespace tintwright
