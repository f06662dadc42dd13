#include "finder/SearchOptions.h"

#include <bit>

namespace tintwright {

std::optional<std::string> CheckSearchOptions(const SearchOptions& options) {
    if (options.minimumRun < 2 || options.minimumRun > kRowColors)
        return "the minimum run must be 2 to 16 colours, not " + std::to_string(options.minimumRun);
    if (options.tolerance < 0 || options.tolerance > 3)
        return "the tolerance must be 0 to 3 steps per channel, not " + std::to_string(options.tolerance);
    if (options.mismatches < 0 || options.mismatches > 8)
        return "the mismatches allowed must be 0 to 8, not " + std::to_string(options.mismatches);
    // A run that may be all mismatches matches at every offset of the ROM.
    if (options.mismatches >= options.minimumRun)
        return "the mismatches allowed (" + std::to_string(options.mismatches) +
               ") must be fewer than the minimum run (" + std::to_string(options.minimumRun) + ")";
    return std::nullopt;
}

int MatchedWords(const PaletteRun& run) {
    return std::popcount(run.matchMask);
}

}  // namespace tintwright
