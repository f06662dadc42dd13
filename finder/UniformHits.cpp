#include "finder/UniformHits.h"

#include <algorithm>
#include <cstdio>

#include "finder/RunScanner.h"

namespace tintwright {
namespace {

bool AllSame(const std::vector<std::uint16_t>& list) {
    return std::all_of(list.begin(), list.end(), [&](std::uint16_t c) { return c == list.front(); });
}

std::optional<std::uint16_t> UniformColor(const PaletteHit& hit, std::span<const std::uint16_t> capture,
                                          std::span<const std::uint8_t> rom) {
    std::vector<std::uint16_t> colors, words;
    for (const PaletteRun& part : hit.parts) {
        for (int t = 0; t < part.length; ++t) {
            if (!((part.matchMask >> t) & 1u)) continue;
            colors.push_back(capture[static_cast<std::size_t>(part.row * kRowColors + part.firstIndex + t)]);
            words.push_back(ColorAt(rom, part.offset + 2u * static_cast<unsigned>(t)));
        }
    }
    if (colors.empty() || AllSame(colors)) return colors.empty() ? std::nullopt : std::optional(colors[0]);
    const bool blackAndWhite =
        std::all_of(colors.begin(), colors.end(), [](std::uint16_t c) { return c == kBlack || c == kWhite; });
    if (blackAndWhite) return std::nullopt;
    return AllSame(words) ? words[0] : colors[0];
}

// "0-2, 4, 6-15"
std::string RowRanges(const std::vector<int>& rows) {
    std::string text;
    for (std::size_t first = 0; first < rows.size();) {
        std::size_t last = first;
        while (last + 1 < rows.size() && rows[last + 1] == rows[last] + 1) ++last;
        if (!text.empty()) text += ", ";
        text += std::to_string(rows[first]);
        if (last > first) text.append(1, '-').append(std::to_string(rows[last]));
        first = last + 1;
    }
    return text;
}

}  // namespace

std::vector<UniformHitGroup> GroupUniformHits(const SearchResult& result,
                                              std::span<const std::uint16_t> capture,
                                              std::span<const std::uint8_t> rom) {
    std::vector<UniformHitGroup> groups;
    for (const PaletteHit& hit : result.hits) {
        if (!hit.uniform) continue;
        const std::optional<std::uint16_t> color = UniformColor(hit, capture, rom);
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const UniformHitGroup& g) { return g.color == color; });
        if (group == groups.end()) group = groups.insert(groups.end(), UniformHitGroup{color, {}, 0});
        const auto at = std::lower_bound(group->rows.begin(), group->rows.end(), hit.row);
        if (at == group->rows.end() || *at != hit.row) group->rows.insert(at, hit.row);
        ++group->places;
    }
    std::sort(groups.begin(), groups.end(),
              [](const UniformHitGroup& a, const UniformHitGroup& b) { return a.rows < b.rows; });
    return groups;
}

std::string UniformHitGroupText(const UniformHitGroup& group) {
    char color[16] = "black and white";
    if (group.color) std::snprintf(color, sizeof color, "all $%04X", *group.color);
    std::string text = group.rows.size() == 1 ? "row " : "rows ";
    text.append(RowRanges(group.rows)).append(": ").append(color).append(" - matches ");
    return text.append(std::to_string(group.places)).append(group.places == 1 ? " place" : " places");
}

std::vector<PaletteHit> BestHitOfEachRow(const SearchResult& result) {
    std::vector<PaletteHit> best;
    std::vector<bool> taken(kRowColors, false);
    for (const PaletteHit& hit : result.hits) {
        if (hit.uniform || taken[hit.row]) continue;
        taken[hit.row] = true;
        best.push_back(hit);
    }
    return best;
}

}  // namespace tintwright
