#include "tests/support/PlainPaletteSearch.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "finder/ColorIndex.h"
#include "finder/SearchResultBuilder.h"

namespace tintwright {
namespace {

struct Plain {
    std::span<const std::uint8_t> rom;
    std::vector<std::uint16_t> colors;
    SearchOptions options;
    int minimumMatched;

    bool HasWord(std::int64_t offset) const {
        return offset >= 0 && offset + 1 < static_cast<std::int64_t>(rom.size());
    }
    std::uint16_t Word(std::int64_t offset) const { return (rom[offset] | rom[offset + 1] << 8) & 0x7FFF; }
    bool Near(std::uint16_t word, std::uint16_t color) const {
        for (int shift : {0, 5, 10})
            if (std::abs((word >> shift & 31) - (color >> shift & 31)) > options.tolerance) return false;
        return true;
    }
};

// The stretch with the most matches (then fewest misses, then leftmost) among
// those allowed, then the same either side of it.
void SelectPlain(const std::array<int, 16>& match, int lo, int hi, const Plain& plain,
                 std::vector<std::pair<int, int>>& out) {
    int bestFirst = -1, bestLast = -1, bestMatched = 0, bestMissed = 0;
    for (int first = lo; first < hi; ++first)
        for (int last = first; last < hi; ++last) {
            if (match[first] != 1 || match[last] != 1) continue;
            int matched = 0;
            for (int t = first; t <= last; ++t) matched += match[t] == 1;
            const int missed = last - first + 1 - matched;
            if (missed > plain.options.mismatches) continue;
            if (matched > bestMatched || (matched == bestMatched && missed < bestMissed)) {
                bestFirst = first, bestLast = last, bestMatched = matched, bestMissed = missed;
            }
        }
    if (bestMatched < plain.minimumMatched) return;
    out.emplace_back(bestFirst, bestLast);
    SelectPlain(match, lo, bestFirst, plain, out);
    SelectPlain(match, bestLast + 1, hi, plain, out);
}

// A run of one colour, of black and white only, or over one ROM word
// repeated, that the word before it continues.
bool ContinuesUniform(const PaletteRun& run, const Plain& plain) {
    std::vector<std::uint16_t> matched, words;
    for (int t = 0; t < run.length; ++t) {
        if (!(run.matchMask >> t & 1)) continue;
        matched.push_back(plain.colors[run.row * 16 + run.firstIndex + t]);
        words.push_back(plain.Word(std::int64_t{run.offset} + 2 * t));
    }
    const auto allSame = [](const std::vector<std::uint16_t>& list) {
        return std::all_of(list.begin(), list.end(), [&](auto c) { return c == list[0]; });
    };
    const bool blackWhite =
        std::all_of(matched.begin(), matched.end(), [](auto c) { return c == 0 || c == 0x7FFF; });
    if (!(allSame(matched) || blackWhite || allSame(words)) || !plain.HasWord(std::int64_t{run.offset} - 2))
        return false;
    const std::uint16_t before = plain.Word(std::int64_t{run.offset} - 2);
    return std::any_of(matched.begin(), matched.end(), [&](auto c) { return plain.Near(before, c); });
}

void RunsOnDiagonal(const Plain& plain, int row, int rowLength, std::int64_t base,
                    std::vector<PaletteRun>& runs) {
    std::array<int, 16> match;
    match.fill(-1);  // off the ROM
    int lo = rowLength, hi = 0, matches = 0;
    for (int i = 0; i < rowLength; ++i) {
        if (!plain.HasWord(base + 2 * i)) continue;
        match[i] = plain.Near(plain.Word(base + 2 * i), plain.colors[row * 16 + i]);
        matches += match[i];
        lo = std::min(lo, i);
        hi = i + 1;
    }
    if (matches < plain.minimumMatched) return;
    std::vector<std::pair<int, int>> spans;
    SelectPlain(match, lo, hi, plain, spans);
    for (const auto& [first, last] : spans) {
        PaletteRun run;
        run.offset = static_cast<std::uint32_t>(base + 2 * first);
        run.row = static_cast<std::uint8_t>(row);
        run.firstIndex = static_cast<std::uint8_t>(first);
        run.length = static_cast<std::uint8_t>(last - first + 1);
        for (int t = first; t <= last; ++t)
            run.matchMask |= static_cast<std::uint16_t>((match[t] == 1) << (t - first));
        if (!ContinuesUniform(run, plain)) runs.push_back(run);
    }
}

}  // namespace

std::vector<PaletteRun> PlainPaletteRuns(std::span<const std::uint8_t> rom,
                                         std::span<const std::uint16_t> capture,
                                         const SearchOptions& options) {
    Plain plain{rom, {}, options, std::min(options.minimumRun, 4)};
    for (std::size_t i = 0; i < capture.size() && i < 256; ++i) plain.colors.push_back(capture[i] & 0x7FFF);
    const int colorCount = static_cast<int>(plain.colors.size());
    std::vector<PaletteRun> runs;
    for (int row = 0; row * 16 < colorCount; ++row) {
        const int rowLength = std::min(16, colorCount - row * 16);
        for (std::int64_t base = -2 * rowLength; base < static_cast<std::int64_t>(rom.size()); ++base)
            RunsOnDiagonal(plain, row, rowLength, base, runs);
    }
    return runs;
}

SearchResult PlainPaletteSearch(std::span<const std::uint8_t> rom, std::span<const std::uint16_t> capture,
                                const SearchOptions& options) {
    const ColorIndex colors(capture.first(std::min<std::size_t>(capture.size(), 256)), options.tolerance);
    return BuildSearchResult(PlainPaletteRuns(rom, capture, options), rom, colors, options);
}

}  // namespace tintwright
