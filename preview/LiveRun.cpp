#include "preview/LiveRun.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <set>
#include <utility>

namespace tintwright {
namespace {

constexpr std::size_t kCgramWords = 256;
constexpr int kRowWords = 16;

// RetroArch's names, at their RETRO_DEVICE_ID_JOYPAD_* numbers.
constexpr std::array<const char*, 12> kButtonNames = {"b",    "y",     "select", "start", "up", "down",
                                                      "left", "right", "a",      "x",     "l",  "r"};

std::optional<std::uint32_t> Number(std::string_view text, std::uint32_t least, std::uint32_t most) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < least ||
        value > most)
        return std::nullopt;
    return value;
}

// Where each of a candidate's matched words goes in CGRAM, and where it is in the ROM.
std::vector<std::pair<std::size_t, std::uint32_t>> WordsOf(const PaletteHit& hit) {
    std::vector<std::pair<std::size_t, std::uint32_t>> words;
    for (const PaletteRun& part : hit.parts)
        for (int t = 0; t < part.length; ++t)
            if ((part.matchMask >> t) & 1u)
                words.emplace_back(static_cast<std::size_t>(part.row * kRowWords + part.firstIndex + t),
                                   part.offset + 2u * static_cast<std::uint32_t>(t));
    return words;
}

std::string Hex(std::uint32_t offset) {
    char text[16];
    std::snprintf(text, sizeof text, "$%X", static_cast<unsigned>(offset));
    return text;
}

const PaletteHit* CandidateAt(const std::vector<PaletteHit>& candidates, int row, std::uint32_t offset) {
    for (const PaletteHit& hit : candidates)
        if (hit.row == row && hit.Offset() == offset) return &hit;
    return nullptr;
}

}  // namespace

Result<LivePress> ParseLivePress(const std::string& text) {
    const auto refuse = [&text](const std::string& why) {
        std::string names;
        for (const char* name : kButtonNames) names += std::string(names.empty() ? "" : ", ") + name;
        return Result<LivePress>::Failed("--press " + text + ": " + why +
                                         " (BUTTON@FRAME or BUTTON@FRAME+COUNT; " + "buttons " + names + ")");
    };
    const std::size_t at = text.find('@');
    if (at == std::string::npos) return refuse("no @FRAME");
    const std::string name = text.substr(0, at);
    const auto button = std::find(kButtonNames.begin(), kButtonNames.end(), name);
    if (button == kButtonNames.end()) return refuse("no button is named \"" + name + "\"");
    const std::string when = text.substr(at + 1);
    const std::size_t plus = when.find('+');
    LivePress press;
    press.button = static_cast<std::uint16_t>(1u << (button - kButtonNames.begin()));
    const auto frame = Number(std::string_view(when).substr(0, plus), 0, kMostRunFrames - 1);
    if (!frame) return refuse("the frame must be 0 to " + std::to_string(kMostRunFrames - 1));
    press.frame = *frame;
    if (plus != std::string::npos) {
        const auto count = Number(std::string_view(when).substr(plus + 1), 1, kMostRunFrames);
        if (!count) return refuse("the count must be 1 to " + std::to_string(kMostRunFrames));
        press.count = *count;
    }
    return press;
}

std::vector<std::uint16_t> LiveButtons(const std::vector<LivePress>& presses, std::uint32_t frames) {
    std::vector<std::uint16_t> buttons(frames, 0);
    for (const LivePress& press : presses)
        for (std::uint64_t f = press.frame;
             f < std::min<std::uint64_t>(frames, std::uint64_t{press.frame} + press.count); ++f)
            buttons[static_cast<std::size_t>(f)] |= press.button;
    return buttons;
}

std::vector<PaletteHit> LiveCandidates(const SearchResult& result) {
    std::vector<PaletteHit> candidates;
    for (const PaletteHit& hit : result.hits)
        if (!hit.uniform) candidates.push_back(hit);
    return candidates;
}

Result<LiveTags> TagCandidates(std::span<const std::uint8_t> rom, const std::vector<PaletteHit>& candidates,
                               const std::vector<std::uint16_t>& avoided) {
    std::set<std::uint32_t> offsets;
    for (const PaletteHit& hit : candidates)
        for (const auto& [index, offset] : WordsOf(hit))
            if (offset + 1u < rom.size()) offsets.insert(offset);
    std::vector<bool> taken(0x8000, false);
    for (const std::uint16_t color : avoided) taken[color & 0x7FFF] = true;
    LiveTags tags;
    tags.rom.assign(rom.begin(), rom.end());
    // An odd step walks every 15-bit value once, spread over the colour space.
    std::uint32_t value = 0x1234;
    std::size_t tried = 0;
    for (const std::uint32_t offset : offsets) {
        while (tried < taken.size() && taken[value]) value = (value + 0x2A5) & 0x7FFF, ++tried;
        if (tried == taken.size())
            return Result<LiveTags>::Failed(std::to_string(offsets.size()) +
                                            " candidate words are more than the colours free to tag them");
        taken[value] = true;
        const auto tag = static_cast<std::uint16_t>(value);
        tags.offsetOfTag[tag] = offset;
        tags.rom[offset] = static_cast<std::uint8_t>(tag);
        tags.rom[offset + 1] = static_cast<std::uint8_t>((tag >> 8) | (rom[offset + 1] & 0x80));
    }
    return tags;
}

std::vector<LiveRow> ReadLiveRows(const std::vector<std::uint16_t>& stateCgram,
                                  const std::vector<std::uint16_t>& reference,
                                  const std::vector<std::uint16_t>& tagged,
                                  const std::vector<PaletteHit>& candidates, const LiveTags& tags) {
    const std::size_t frames = std::min(reference.size(), tagged.size()) / kCgramWords;
    std::map<int, std::vector<std::size_t>> byRow;
    std::vector<std::vector<std::pair<std::size_t, std::uint32_t>>>
        wordsOf;  // worked out once, read every frame
    for (std::size_t c = 0; c < candidates.size(); ++c) {
        byRow[candidates[c].row].push_back(c);
        wordsOf.push_back(WordsOf(candidates[c]));
    }

    std::vector<LiveRow> rows;
    for (const auto& [row, ofRow] : byRow) {
        LiveRow result;
        result.row = row;
        const std::size_t first = static_cast<std::size_t>(row) * kRowWords;
        std::map<std::size_t, std::uint32_t> seenAt;  // candidate to its first frame
        bool changed = false;
        for (std::size_t f = 0; f < frames; ++f) {
            const std::size_t at = f * kCgramWords + first;
            for (int i = 0; i < kRowWords && first + static_cast<std::size_t>(i) < stateCgram.size(); ++i)
                changed = changed || (reference[at + i] & 0x7FFF) != (stateCgram[first + i] & 0x7FFF) ||
                          (tagged[at + i] & 0x7FFF) != (reference[at + i] & 0x7FFF);
            std::size_t most = 0;
            std::vector<std::pair<std::size_t, std::size_t>> arrived;  // candidate, words
            for (const std::size_t c : ofRow) {
                const auto& words = wordsOf[c];
                std::size_t count = 0;
                for (const auto& [index, offset] : words) {
                    const auto tag = tags.offsetOfTag.find(tagged[f * kCgramWords + index] & 0x7FFF);
                    count += tag != tags.offsetOfTag.end() && tag->second == offset;
                }
                // Half its words at least, so one stray tag names nothing.
                if (count > 0 && 2 * count >= words.size()) arrived.emplace_back(c, count);
                most = std::max(most, count);
            }
            for (const auto& [c, count] : arrived)
                if (count == most && !seenAt.contains(c)) seenAt[c] = static_cast<std::uint32_t>(f);
        }
        for (const std::size_t c : ofRow) {
            if (const auto seen = seenAt.find(c); seen != seenAt.end())
                result.live.push_back({candidates[c].Offset(), seen->second});
            else
                result.notLoaded.push_back(candidates[c].Offset());
        }
        std::stable_sort(result.live.begin(), result.live.end(),
                         [](const LiveRow::Live& a, const LiveRow::Live& b) { return a.frame < b.frame; });
        result.status = !result.live.empty() ? LiveRow::Status::Loaded
                        : changed            ? LiveRow::Status::Computed
                                             : LiveRow::Status::NotReloaded;
        rows.push_back(std::move(result));
    }
    return rows;
}

const char* LiveStatusName(LiveRow::Status status) {
    switch (status) {
        case LiveRow::Status::Loaded:
            return "loaded";
        case LiveRow::Status::Computed:
            return "computed";
        case LiveRow::Status::NotReloaded:
            break;
    }
    return "not reloaded";
}

std::vector<MappedColor> MapLiveRows(const std::vector<MappedColor>& colors, const std::vector<LiveRow>& rows,
                                     const std::vector<PaletteHit>& candidates) {
    std::map<std::uint8_t, std::uint32_t> mapped;
    for (const MappedColor& color : colors) mapped[color.index] = color.romOffset;
    for (const LiveRow& row : rows) {
        if (row.status != LiveRow::Status::Loaded) continue;
        const PaletteHit* place = CandidateAt(candidates, row.row, row.live.back().offset);
        if (place == nullptr) continue;
        for (auto it = mapped.begin(); it != mapped.end();)
            it = it->first / kRowWords == row.row ? mapped.erase(it) : std::next(it);
        for (const auto& [index, offset] : WordsOf(*place))
            if (index < kCgramWords) mapped[static_cast<std::uint8_t>(index)] = offset;
    }
    std::vector<MappedColor> live;
    for (const auto& [index, offset] : mapped) live.push_back({index, offset});
    return live;
}

std::string LiveStatusText(const std::vector<LiveRow>& rows) {
    std::string text;
    for (const LiveRow& row : rows) {
        if (row.status != LiveRow::Status::Loaded) continue;
        std::string clause =
            "row " + std::to_string(row.row) + " is loaded from " + Hex(row.live.back().offset) + " (live)";
        std::vector<std::uint32_t> unused = row.notLoaded;
        for (std::size_t i = 0; i + 1 < row.live.size(); ++i) unused.push_back(row.live[i].offset);
        for (std::size_t i = 0; i < unused.size(); ++i) clause += (i == 0 ? "; " : ", ") + Hex(unused[i]);
        if (!unused.empty())
            clause += unused.size() == 1 ? " is not used in this scene" : " are not used in this scene";
        text += (text.empty() ? "" : "; ") + clause;
    }
    return text;
}

}  // namespace tintwright
