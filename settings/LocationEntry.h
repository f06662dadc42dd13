#pragma once

// An entry of the location book (the section "Patch"), as the console
// program's --add-to-book and the editor's drop name a place a search found:
// both write the same entries.

#include <cstdint>
#include <string>

namespace tintwright {

struct LocationEntry {
    std::string name;        // "Found row 2 @1A000"
    std::string offsetText;  // "0001A000", as the editor writes its own entries

    bool operator==(const LocationEntry&) const = default;
};

// The entry for a place where a capture's row was found.
LocationEntry FoundPlaceEntry(int row, std::uint32_t offset);
// The entry for the place a replay saw the game load a row from.
LocationEntry LivePlaceEntry(int row, std::uint32_t offset);

}  // namespace tintwright
