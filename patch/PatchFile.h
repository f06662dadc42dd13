#pragma once

// Patches that turn one ROM into another, as players apply them: IPS and BPS.
// Pure functions over bytes; the caller reads and writes the files.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Result.h"

namespace tintwright {

enum class PatchFormat { Ips, Bps };

// No patched file grows past this unless the caller says otherwise: far above
// any SNES ROM, far below what would exhaust memory.
inline constexpr std::size_t kMaxPatchedBytes = 128u << 20;

// The bytes made (a patch, or a patched file), or the reason there are none.
Result<std::vector<std::uint8_t>> CreatePatch(PatchFormat format, std::span<const std::uint8_t> source,
                                              std::span<const std::uint8_t> target);

// The format told by the patch's first bytes ("PATCH", "BPS1").
std::optional<PatchFormat> DetectPatchFormat(std::span<const std::uint8_t> patch);

// Applies an IPS or BPS patch to source, making at most maxOutputBytes bytes.
Result<std::vector<std::uint8_t>> ApplyPatch(std::span<const std::uint8_t> source,
                                             std::span<const std::uint8_t> patch,
                                             std::size_t maxOutputBytes = kMaxPatchedBytes);

std::string_view PatchFormatName(PatchFormat format);
// The format named "ips" or "bps" in any case, as a user types it in a setting.
std::optional<PatchFormat> PatchFormatNamed(std::string_view name);

}  // namespace tintwright
