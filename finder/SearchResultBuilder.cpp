#include "finder/SearchResultBuilder.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <optional>
#include <tuple>

#include "finder/RunScanner.h"

namespace tintwright {
namespace {

// Only so many halves of one row are paired up; a row that matches in
// thousands of places is uniform, and its best pair is among its best halves.
constexpr std::size_t kMaxHalvesPaired = 64;

int RowLength(const ColorIndex& colors, int row) {
    return std::min(kRowColors, colors.ColorCount() - row * kRowColors);
}

PaletteHit HitFromParts(std::vector<PaletteRun> parts, std::span<const std::uint8_t> rom,
                        const ColorIndex& colors) {
    PaletteHit hit;
    hit.row = parts.front().row;
    std::uint32_t found = 0;
    hit.uniform = true;
    for (const PaletteRun& part : parts) {
        found |= std::uint32_t{part.matchMask} << part.firstIndex;
        hit.uniform = hit.uniform && IsUniformRun(part, rom, colors);
    }
    hit.firstIndex = std::countr_zero(found);
    hit.length = 32 - std::countl_zero(found) - hit.firstIndex;
    hit.mismatches = hit.length - std::popcount(found);
    hit.parts = std::move(parts);
    return hit;
}

bool IsWholeRow(const PaletteHit& hit, const ColorIndex& colors) {
    return hit.firstIndex == 0 && hit.length == RowLength(colors, hit.row);
}

std::vector<bool> RowsFoundWhole(const std::vector<PaletteHit>& hits, const ColorIndex& colors) {
    std::vector<bool> whole(kRowColors, false);
    for (const PaletteHit& hit : hits) whole[hit.row] = whole[hit.row] || IsWholeRow(hit, colors);
    return whole;
}

// When longer runs are asked for, a row not found whole may still be stored as
// 4-colour sub-palettes: each one whose four colours all match inside a shorter run.
void AddSubPaletteHits(const std::vector<PaletteRun>& shortRuns, const std::vector<bool>& whole,
                       std::span<const std::uint8_t> rom, const ColorIndex& colors,
                       std::vector<PaletteHit>& hits) {
    for (const PaletteRun& run : shortRuns) {
        if (whole[run.row]) continue;
        for (int group = 0; group < kRowColors / kSubPaletteColors; ++group) {
            const int shift = group * kSubPaletteColors - run.firstIndex;
            if (shift < 0 || shift + kSubPaletteColors > run.length) continue;
            if (((run.matchMask >> shift) & 0xFu) != 0xFu) continue;
            PaletteRun part = run;
            part.offset = run.offset + 2u * static_cast<std::uint32_t>(shift);
            part.firstIndex = static_cast<std::uint8_t>(group * kSubPaletteColors);
            part.length = kSubPaletteColors;
            part.matchMask = 0xF;
            hits.push_back(HitFromParts({part}, rom, colors));
            hits.back().subPalette = group;
        }
    }
}

void LabelSubPalettes(const std::vector<bool>& whole, std::vector<PaletteHit>& hits) {
    for (PaletteHit& hit : hits) {
        if (!whole[hit.row] && hit.length == kSubPaletteColors && hit.firstIndex % kSubPaletteColors == 0)
            hit.subPalette = hit.firstIndex / kSubPaletteColors;
    }
}

// At each offset only the longest runs stay; runs of several rows that match
// there equally well all stay.
std::vector<PaletteHit> KeepBestAtEachPlace(std::vector<PaletteHit> hits) {
    const auto key = [](const PaletteHit& hit) {
        return std::tuple(hit.Offset(), -hit.Matched(), hit.mismatches);
    };
    std::sort(hits.begin(), hits.end(), [&](const PaletteHit& a, const PaletteHit& b) {
        return std::tuple(key(a), a.row, a.firstIndex) < std::tuple(key(b), b.row, b.firstIndex);
    });
    std::vector<PaletteHit> best;
    for (PaletteHit& hit : hits) {
        if (!best.empty() && best.back().Offset() == hit.Offset() && key(best.back()) != key(hit)) continue;
        best.push_back(std::move(hit));
    }
    return best;
}

// The best halves of one row: those that start at its first colour, or those
// that end at its last.
std::vector<std::size_t> RowHalves(const std::vector<PaletteHit>& hits, int row, int rowLength, bool first) {
    std::vector<std::size_t> halves;
    for (std::size_t i = 0; i < hits.size(); ++i) {
        const PaletteHit& hit = hits[i];
        if (hit.row != row || hit.parts.size() != 1) continue;
        if (first ? hit.firstIndex == 0 : hit.firstIndex > 0 && hit.firstIndex + hit.length == rowLength)
            halves.push_back(i);
    }
    std::sort(halves.begin(), halves.end(),
              [&](std::size_t a, std::size_t b) { return RanksBefore(hits[a], hits[b]); });
    if (halves.size() > kMaxHalvesPaired) halves.resize(kMaxHalvesPaired);
    return halves;
}

// Whether a joined row is better than another: the halves that match best,
// then the halves closest together, since a game keeps a row's halves near.
bool BetterJoin(const PaletteHit& a, const PaletteHit& b) {
    const auto key = [](const PaletteHit& hit) {
        return std::tuple(hit.uniform, -hit.Matched(), hit.mismatches,
                          std::llabs(std::int64_t{hit.parts[0].offset} - std::int64_t{hit.parts[1].offset}));
    };
    if (key(a) != key(b)) return key(a) < key(b);
    return RanksBefore(a, b);
}

// A row stored in two halves at separate places becomes one hit with both.
void JoinRowHalves(int row, std::span<const std::uint8_t> rom, const ColorIndex& colors,
                   std::vector<PaletteHit>& hits) {
    const int rowLength = RowLength(colors, row);
    std::optional<PaletteHit> best;
    std::size_t bestFirst = 0, bestSecond = 0;
    for (const std::size_t first : RowHalves(hits, row, rowLength, true)) {
        for (const std::size_t second : RowHalves(hits, row, rowLength, false)) {
            const PaletteRun& a = hits[first].parts[0];
            const PaletteRun& b = hits[second].parts[0];
            const bool sameDiagonal = a.offset + 2u * b.firstIndex == b.offset;
            if (b.firstIndex > a.length || sameDiagonal) continue;
            PaletteHit joined = HitFromParts({a, b}, rom, colors);
            if (!best || BetterJoin(joined, *best)) {
                best = std::move(joined);
                bestFirst = first;
                bestSecond = second;
            }
        }
    }
    if (!best) return;
    hits.erase(hits.begin() + static_cast<std::ptrdiff_t>(std::max(bestFirst, bestSecond)));
    hits.erase(hits.begin() + static_cast<std::ptrdiff_t>(std::min(bestFirst, bestSecond)));
    hits.push_back(std::move(*best));
}

std::vector<int> RowsNotFound(const std::vector<PaletteHit>& hits, int rows) {
    std::vector<bool> found(static_cast<std::size_t>(rows), false);
    for (const PaletteHit& hit : hits) found[hit.row] = true;
    std::vector<int> missing;
    for (int row = 0; row < rows; ++row)
        if (!found[row]) missing.push_back(row);
    return missing;
}

}  // namespace

SearchResult BuildSearchResult(const std::vector<PaletteRun>& runs, std::span<const std::uint8_t> rom,
                               const ColorIndex& colors, const SearchOptions& options) {
    std::vector<PaletteHit> hits;
    std::vector<PaletteRun> shortRuns;
    for (const PaletteRun& run : runs) {
        if (MatchedWords(run) >= options.minimumRun)
            hits.push_back(HitFromParts({run}, rom, colors));
        else
            shortRuns.push_back(run);
    }
    const std::vector<bool> whole = RowsFoundWhole(hits, colors);
    AddSubPaletteHits(shortRuns, whole, rom, colors, hits);
    LabelSubPalettes(whole, hits);
    hits = KeepBestAtEachPlace(std::move(hits));

    SearchResult result;
    result.rows = (colors.ColorCount() + kRowColors - 1) / kRowColors;
    for (int row = 0; row < result.rows; ++row)
        if (!whole[row]) JoinRowHalves(row, rom, colors, hits);
    std::sort(hits.begin(), hits.end(), RanksBefore);
    result.rowsNotFound = RowsNotFound(hits, result.rows);
    result.hits = std::move(hits);
    return result;
}

bool RanksBefore(const PaletteHit& a, const PaletteHit& b) {
    return std::tuple(a.uniform, -a.Matched(), a.parts.size(), a.mismatches, a.Offset(), a.row,
                      a.firstIndex) <
           std::tuple(b.uniform, -b.Matched(), b.parts.size(), b.mismatches, b.Offset(), b.row, b.firstIndex);
}

int ScanMinimumMatched(const SearchOptions& options) {
    return std::min(options.minimumRun, kSubPaletteColors);
}

}  // namespace tintwright
