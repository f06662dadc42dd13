#pragma once

// What a palette search reports: places in the ROM where captured colours are
// stored, best first, and the rows found nowhere.

#include <cstdint>
#include <vector>

#include "finder/SearchOptions.h"

namespace tintwright {

struct PaletteHit {
    int row = 0;
    int firstIndex = 0;    // the first colour of the row found
    int length = 0;        // colours from the first to the last found one
    int mismatches = 0;    // colours in between that did not match
    int subPalette = -1;   // 0..3 when the hit is one 4-colour sub-palette of the row
    bool uniform = false;  // one repeated colour, or only black and white: such runs match anywhere
    // Where the colours are: one run, or two when the row is stored in halves
    // at separate places.
    std::vector<PaletteRun> parts;

    std::uint32_t Offset() const { return parts.front().offset; }
    int Matched() const { return length - mismatches; }
    bool operator==(const PaletteHit&) const = default;
};

struct SearchResult {
    std::vector<PaletteHit> hits;  // best first
    int rows = 0;                  // rows the capture holds
    std::vector<int> rowsNotFound;
    bool tooManyRuns = false;  // the ROM matched so often that the weakest runs were dropped

    bool operator==(const SearchResult&) const = default;
};

}  // namespace tintwright
