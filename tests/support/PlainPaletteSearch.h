#pragma once

// The palette search written the plain way, from its definition: every row laid
// over the ROM at every byte offset, every word compared. Slow; the tests, the
// fuzzer and the benchmark hold the fast search against it.

#include <cstdint>
#include <span>
#include <vector>

#include "finder/PaletteHit.h"
#include "finder/SearchOptions.h"

namespace tintwright {

std::vector<PaletteRun> PlainPaletteRuns(std::span<const std::uint8_t> rom,
                                         std::span<const std::uint16_t> capture,
                                         const SearchOptions& options);

// The runs above, made into hits by the same rules as the fast search.
SearchResult PlainPaletteSearch(std::span<const std::uint8_t> rom, std::span<const std::uint16_t> capture,
                                const SearchOptions& options);

}  // namespace tintwright
