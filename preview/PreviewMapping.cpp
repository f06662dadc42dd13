#include "preview/PreviewMapping.h"

#include <algorithm>
#include <cstdio>

namespace tintwright {
namespace {

std::string Hex(std::uint32_t offset) {
    char text[16];
    std::snprintf(text, sizeof text, "$%X", static_cast<unsigned>(offset));
    return text;
}

// "0, 1, 3, 4, 6–15": a run of three or more rows as a range.
std::string RowList(const std::vector<int>& rows) {
    std::string text;
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t last = i;
        while (last + 1 < rows.size() && rows[last + 1] == rows[last] + 1) ++last;
        if (!text.empty()) text += ", ";
        if (last >= i + 2) {
            text += std::to_string(rows[i]) + "\u2013" + std::to_string(rows[last]);
            i = last + 1;
        } else {
            text += std::to_string(rows[i]);
            ++i;
        }
    }
    return text;
}

std::string Rows(const std::vector<int>& rows) {
    return (rows.size() == 1 ? "row " : "rows ") + RowList(rows);
}

}  // namespace

PreviewMapping MapCaptureToRom(const SearchResult& result) {
    PreviewMapping mapping;
    std::vector<const PaletteHit*> best(static_cast<std::size_t>(std::max(result.rows, 0)), nullptr);
    for (const PaletteHit& hit : result.hits) {
        if (hit.uniform || hit.row < 0 || hit.row >= result.rows) continue;
        if (best[static_cast<std::size_t>(hit.row)] == nullptr)
            best[static_cast<std::size_t>(hit.row)] = &hit;
    }
    std::vector<int> followed;
    std::vector<int> missing;
    std::string places;
    for (int row = 0; row < result.rows; ++row) {
        const PaletteHit* hit = best[static_cast<std::size_t>(row)];
        if (hit == nullptr) {
            missing.push_back(row);
            continue;
        }
        followed.push_back(row);
        std::string place;
        for (const PaletteRun& part : hit->parts) {
            for (int word = 0; word < part.length; ++word) {
                if ((part.matchMask >> word & 1) == 0) continue;
                const int index = row * kRowColors + part.firstIndex + word;
                if (index >= kMaxCaptureColors) continue;
                mapping.colors.push_back(MappedColor{static_cast<std::uint8_t>(index),
                                                     part.offset + 2u * static_cast<std::uint32_t>(word)});
            }
            place += (place.empty() ? "" : " + ") + Hex(part.offset);
        }
        places += (places.empty() ? "" : "; ") + place;
    }
    std::sort(mapping.colors.begin(), mapping.colors.end(),
              [](const MappedColor& a, const MappedColor& b) { return a.index < b.index; });
    mapping.colors.erase(
        std::unique(mapping.colors.begin(), mapping.colors.end(),
                    [](const MappedColor& a, const MappedColor& b) { return a.index == b.index; }),
        mapping.colors.end());
    if (followed.empty()) {
        mapping.status = "no row follows the ROM";
    } else {
        mapping.status =
            Rows(followed) + (followed.size() == 1 ? " follows" : " follow") + " the ROM (" + places + ")";
    }
    if (!missing.empty())
        mapping.status += "; " + Rows(missing) + (missing.size() == 1 ? " was not found" : " were not found");
    return mapping;
}

}  // namespace tintwright
