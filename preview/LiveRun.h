#pragma once

// Which of the places a palette search found the game really loads, told by
// running it: every candidate place's words are replaced by tags, colours no
// other place and no frame of the untagged run holds, and a row whose CGRAM
// turns into a place's tags was loaded from that place. The run itself is the
// host's (RunMessage); this is the tagging before it and the reading after.

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/Result.h"
#include "finder/PaletteHit.h"
#include "preview/PreviewProtocol.h"

namespace tintwright {

// The pad as RetroArch names its buttons, held from a frame (0 is the first
// frame run from the state) for a number of frames.
struct LivePress {
    std::uint16_t button = 0;  // the InputMessage bit
    std::uint32_t frame = 0;
    std::uint32_t count = 2;
};

// "start@10", "a@30+5"; the reason names what is wrong and lists the buttons.
Result<LivePress> ParseLivePress(const std::string& text);
// The buttons held in each of frames frames.
std::vector<std::uint16_t> LiveButtons(const std::vector<LivePress>& presses, std::uint32_t frames);

// Every place the search found that says something (no uniform runs), row by
// row: the candidates of a tagging run.
std::vector<PaletteHit> LiveCandidates(const SearchResult& result);

struct LiveTags {
    std::vector<std::uint8_t> rom;                       // every candidate's matched words tagged
    std::map<std::uint16_t, std::uint32_t> offsetOfTag;  // a tag's 15 bits to the ROM word it stands for
};

// Tags each matched word of every candidate with a colour of its own, none of
// which is in avoided (every colour the untagged run showed); bit 15 of each
// word stays as it was. Fails when there are more words than free colours.
Result<LiveTags> TagCandidates(std::span<const std::uint8_t> rom, const std::vector<PaletteHit>& candidates,
                               const std::vector<std::uint16_t>& avoided);

struct LiveRow {
    enum class Status { Loaded, NotReloaded, Computed };
    struct Live {
        std::uint32_t offset = 0;  // the candidate's first word
        std::uint32_t frame = 0;   // the first frame after which CGRAM held its tags
        bool operator==(const Live&) const = default;
    };
    int row = 0;
    Status status = Status::NotReloaded;
    std::vector<Live> live;                // loaded: the places the row came from, by frame
    std::vector<std::uint32_t> notLoaded;  // the row's candidates never seen
    bool operator==(const LiveRow&) const = default;
};

// Reads the two runs' CGRAM (256 words a frame, the same frames) against the
// state's own CGRAM: one row for each CGRAM row with candidates, in order. A
// row that shows a candidate's tags at a frame was loaded from it then (when
// several share the words, those with the most of them); one that changes in
// either run without tags was computed or came from elsewhere; one that never
// changes was not reloaded in these frames.
std::vector<LiveRow> ReadLiveRows(const std::vector<std::uint16_t>& stateCgram,
                                  const std::vector<std::uint16_t>& reference,
                                  const std::vector<std::uint16_t>& tagged,
                                  const std::vector<PaletteHit>& candidates, const LiveTags& tags);

// "loaded", "not reloaded", "computed"
const char* LiveStatusName(LiveRow::Status status);

// colors with every loaded row following the place it was last loaded from
// instead, its matched words only; other rows as they were.
std::vector<MappedColor> MapLiveRows(const std::vector<MappedColor>& colors, const std::vector<LiveRow>& rows,
                                     const std::vector<PaletteHit>& candidates);

// What the preview's status line says after a replay: "row 3 is loaded from
// $1A000 (live); $2C000 is not used in this scene", a clause per loaded row;
// empty when no row was loaded.
std::string LiveStatusText(const std::vector<LiveRow>& rows);

}  // namespace tintwright
