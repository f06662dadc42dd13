#pragma once

// IPS: "PATCH", records of a 24-bit big-endian offset and a 16-bit size
// followed by the bytes, or by a 16-bit count and one byte to repeat when the
// size is 0, then "EOF" and, when the file shrinks, its new 24-bit size.

#include <cstdint>
#include <span>
#include <string_view>

#include "patch/PatchFile.h"

namespace tintwright {

inline constexpr std::string_view kIpsMagic = "PATCH";
// Offsets have three bytes, so a patch reaches only the first 16 MiB.
inline constexpr std::size_t kIpsReach = 0x1000000;

// Records the changed runs, repeated bytes as run records where that is
// shorter. Refuses a change at or past 16 MiB.
Result<std::vector<std::uint8_t>> CreateIpsPatch(std::span<const std::uint8_t> source,
                                                 std::span<const std::uint8_t> target);
Result<std::vector<std::uint8_t>> ApplyIpsPatch(std::span<const std::uint8_t> source,
                                                std::span<const std::uint8_t> patch,
                                                std::size_t maxOutputBytes);

}  // namespace tintwright
