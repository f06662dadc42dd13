#pragma once

// Uniform hits (one colour repeated, or only black and white) match almost
// anywhere, so one line per colour says what a list of them would: which rows
// and how many places.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "finder/PaletteHit.h"

namespace tintwright {

struct UniformHitGroup {
    std::optional<std::uint16_t> color;  // none: black and white
    std::vector<int> rows;               // ascending, each once
    std::size_t places = 0;

    bool operator==(const UniformHitGroup&) const = default;
};

// The result's uniform hits, one group per colour, ordered by their first row.
// The capture and the ROM are the ones searched: a hit's colour is the
// captured one, or the ROM word where a tolerance let several captured
// colours match one word.
std::vector<UniformHitGroup> GroupUniformHits(const SearchResult& result,
                                              std::span<const std::uint16_t> capture,
                                              std::span<const std::uint8_t> rom);

// "rows 0-2, 4, 6-15: all $0000 - matches 640 places"
std::string UniformHitGroupText(const UniformHitGroup& group);

// Each row's best hit that says something, best first: the uniform ones are
// left out. These are the places offered for the location book.
std::vector<PaletteHit> BestHitOfEachRow(const SearchResult& result);

}  // namespace tintwright
