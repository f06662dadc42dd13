#pragma once

// What a palette search looks for, and the raw run it finds before ranking.

#include <cstdint>
#include <optional>
#include <string>

namespace tintwright {

struct SearchOptions {
    int minimumRun = 4;  // matching words a run needs, 2..16
    int tolerance = 0;   // each channel may differ by this much, 0..3
    int mismatches = 0;  // colours of a run that may differ by more, 0..8
};

// Why the options cannot be used, or nothing when they can.
std::optional<std::string> CheckSearchOptions(const SearchOptions& options);

// Colours of one captured row (16 words of CGRAM) found in a row of ROM words.
struct PaletteRun {
    std::uint32_t offset = 0;     // ROM byte offset of the first matching word
    std::uint8_t row = 0;         // CGRAM row, 0..15
    std::uint8_t firstIndex = 0;  // the row's colour the first word matches
    std::uint8_t length = 0;      // words from the first to the last matching one
    std::uint16_t matchMask = 0;  // bit t set: word t of the run matches

    bool operator==(const PaletteRun&) const = default;
};

int MatchedWords(const PaletteRun& run);

// CGRAM holds 256 colours in rows of 16; a capture may hold fewer.
inline constexpr int kRowColors = 16;
inline constexpr int kSubPaletteColors = 4;
inline constexpr int kMaxCaptureColors = 256;

}  // namespace tintwright
