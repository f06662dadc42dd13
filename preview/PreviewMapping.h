#pragma once

// Which CGRAM colours the game preview takes from the ROM: for every row the
// palette search found, its best hit that is not one repeated colour, each of
// its parts, and only the words that matched. What is left stays as the state
// has it, and the status line says which rows follow the ROM.

#include <string>
#include <vector>

#include "finder/PaletteHit.h"
#include "preview/PreviewProtocol.h"

namespace tintwright {

struct PreviewMapping {
    std::vector<MappedColor> colors;  // by CGRAM index
    // "rows 2, 5 follow the ROM ($1A000; $2C000 + $2E400); rows 0, 1, 3, 4,
    // 6–15 were not found"
    std::string status;
};

PreviewMapping MapCaptureToRom(const SearchResult& result);

}  // namespace tintwright
