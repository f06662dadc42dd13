#pragma once

// The search for captured palettes in a ROM, in slices: the editor advances it
// a little at a time between events and can drop it whenever the user cancels;
// the console program runs it through to the end.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "finder/ColorIndex.h"
#include "finder/PaletteHit.h"
#include "finder/RunScanner.h"
#include "finder/SearchOptions.h"

namespace tintwright {

class PaletteSearch {
public:
    // The ROM's bytes must outlive the search. The capture holds up to 256
    // CGRAM words; options out of range are brought into it (CheckSearchOptions
    // says what is wrong with them).
    PaletteSearch(std::span<const std::uint8_t> rom, std::span<const std::uint16_t> capture,
                  const SearchOptions& options);
    PaletteSearch(const PaletteSearch&) = delete;
    PaletteSearch& operator=(const PaletteSearch&) = delete;

    // Scans up to `bytes` more of the ROM. Returns whether the whole ROM is scanned.
    bool Advance(std::uint64_t bytes);
    bool Finished() const { return scanned_ >= rom_.size(); }
    std::uint64_t ScannedBytes() const { return scanned_; }
    std::uint64_t TotalBytes() const { return rom_.size(); }

    // The hits in the part scanned so far; all of them once Finished().
    SearchResult Result() const;

private:
    void DropWeakestRuns();

    std::span<const std::uint8_t> rom_;
    SearchOptions options_;
    ColorIndex colors_;
    RunScanner scanner_;
    std::uint64_t scanned_ = 0;
    std::vector<PaletteRun> runs_;
    bool tooManyRuns_ = false;
};

// How much of the ROM one slice scans: a few milliseconds of work.
inline constexpr std::uint64_t kSearchSliceBytes = 256u << 10;

// Told the bytes scanned and the total after every slice; returning false cancels.
using SearchProgress = std::function<bool(std::uint64_t scanned, std::uint64_t total)>;

// The whole search in one call, or nothing when the progress callback cancelled it.
std::optional<SearchResult> SearchPalettes(std::span<const std::uint8_t> rom,
                                           std::span<const std::uint16_t> capture,
                                           const SearchOptions& options, const SearchProgress& progress = {});

}  // namespace tintwright
