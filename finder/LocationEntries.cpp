#include "finder/LocationEntries.h"

#include <cstdio>

namespace tintwright {

std::vector<LocationEntry> LocationEntriesFor(const SearchResult& result) {
    std::vector<LocationEntry> entries;
    std::vector<bool> named(kRowColors, false);
    for (const PaletteHit& hit : result.hits) {
        if (hit.uniform || named[hit.row]) continue;
        named[hit.row] = true;
        char name[40];
        char offsetText[16];
        std::snprintf(name, sizeof name, "Found row %d @%X", hit.row, hit.Offset());
        std::snprintf(offsetText, sizeof offsetText, "%08X", hit.Offset());
        entries.push_back({name, offsetText, hit.Offset()});
    }
    return entries;
}

}  // namespace tintwright
