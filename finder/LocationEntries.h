#pragma once

// The places a palette search found, as entries of the location book: the
// console program's --add-to-book and the editor's drop write the same ones.

#include <cstdint>
#include <string>
#include <vector>

#include "finder/PaletteHit.h"

namespace tintwright {

struct LocationEntry {
    std::string name;        // "Found row 2 @1A000"
    std::string offsetText;  // "0001A000", as the editor writes its own entries
    std::uint32_t offset = 0;

    bool operator==(const LocationEntry&) const = default;
};

// Each row's best hit that says something: a run of one colour, or of only
// black and white, matches almost anywhere and is left out.
std::vector<LocationEntry> LocationEntriesFor(const SearchResult& result);

}  // namespace tintwright
