#pragma once

// Turns the runs a scan found into the hits a person reads: the longest run at
// each place, rows stored in two halves joined into one hit, 4-colour
// sub-palettes of rows not found whole, best first, and the rows found nowhere.

#include <cstdint>
#include <span>
#include <vector>

#include "finder/ColorIndex.h"
#include "finder/PaletteHit.h"
#include "finder/SearchOptions.h"

namespace tintwright {

// The ROM is the one the runs were found in: whether a hit is uniform depends on its words.
SearchResult BuildSearchResult(const std::vector<PaletteRun>& runs, std::span<const std::uint8_t> rom,
                               const ColorIndex& colors, const SearchOptions& options);

// Uniform hits last, then the most matching colours, one place before two,
// the fewest mismatches, the lowest offset, the lowest row.
bool RanksBefore(const PaletteHit& a, const PaletteHit& b);

// The fewest matching colours a scan must report so that the result can be
// built: a 4-colour sub-palette is looked for even when longer runs are asked.
int ScanMinimumMatched(const SearchOptions& options);

}  // namespace tintwright
