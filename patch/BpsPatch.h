#pragma once

// BPS: "BPS1", the source, target and metadata sizes as variable-length
// numbers, the metadata, then actions that build the target in order
// (SourceRead, TargetRead, SourceCopy, TargetCopy), and the CRC32s of the
// source, the target and the patch before that last one, little-endian.

#include <cstdint>
#include <span>
#include <string_view>

#include "patch/PatchFile.h"

namespace tintwright {

inline constexpr std::string_view kBpsMagic = "BPS1";

// Unchanged stretches as SourceRead, repeated bytes as TargetCopy from the
// byte before, everything else as TargetRead.
Result<std::vector<std::uint8_t>> CreateBpsPatch(std::span<const std::uint8_t> source,
                                                 std::span<const std::uint8_t> target);
// Refuses, making nothing, a source whose size or CRC32 is not the one the
// patch was made from, and a patch whose own CRC32 does not match.
Result<std::vector<std::uint8_t>> ApplyBpsPatch(std::span<const std::uint8_t> source,
                                                std::span<const std::uint8_t> patch,
                                                std::size_t maxOutputBytes);

}  // namespace tintwright
