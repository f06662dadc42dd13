// The tagging run's logic without a core: presses read and laid out frame by
// frame, every candidate word tagged with a colour no run showed, and rows
// read back from two runs' CGRAM.

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "preview/LiveRun.h"

namespace tintwright {
namespace {

TEST(LiveRun, PressesAreReadByRetroArchsNamesAndLaidOutFrameByFrame) {
    const struct {
        const char* text;
        std::uint16_t button;
        std::uint32_t frame, count;
    } good[] = {{"start@10", 1u << 3, 10, 2}, {"a@0+5", 1u << 8, 0, 5}, {"r@35999+1", 1u << 11, 35999, 1}};
    for (const auto& c : good) {
        const Result<LivePress> press = ParseLivePress(c.text);
        ASSERT_TRUE(press) << c.text << ": " << press.Reason();
        EXPECT_EQ(press->button, c.button) << c.text;
        EXPECT_EQ(press->frame, c.frame) << c.text;
        EXPECT_EQ(press->count, c.count) << c.text;
    }
    const struct {
        const char* text;
        const char* why;
    } bad[] = {{"start", "no @FRAME"},
               {"jump@3", "no button is named \"jump\""},
               {"Start@3", "no button is named \"Start\""},
               {"a@-1", "the frame must be 0 to 35999"},
               {"a@36000", "the frame must be 0 to 35999"},
               {"a@3+0", "the count must be 1 to 36000"},
               {"a@3+x", "the count must be 1 to 36000"}};
    for (const auto& c : bad) {
        const Result<LivePress> press = ParseLivePress(c.text);
        ASSERT_FALSE(press) << c.text;
        EXPECT_NE(press.Reason().find(c.why), std::string::npos) << press.Reason();
        EXPECT_NE(press.Reason().find("start, up, down"), std::string::npos) << "lists the buttons";
    }

    const std::vector<std::uint16_t> buttons =
        LiveButtons({{1u << 3, 1, 2}, {1u << 8, 2, 5}, {1u << 0, 9, 9}}, 6);
    EXPECT_EQ(buttons, (std::vector<std::uint16_t>{0, 0x0008, 0x0108, 0x0100, 0x0100, 0x0100}));
}

// Row 1 at two places (A, B) and 15 of its words at a third (C); row 2 at D.
class LiveRows : public ::testing::Test {
protected:
    static PaletteHit Hit(int row, std::uint32_t offset, int length) {
        PaletteHit hit;
        hit.row = row;
        hit.length = length;
        hit.parts = {{offset, static_cast<std::uint8_t>(row), 0, static_cast<std::uint8_t>(length),
                      static_cast<std::uint16_t>((1u << length) - 1)}};
        return hit;
    }

    void SetUp() override {
        rom.assign(0x400, 0);
        for (std::size_t at = 1; at < rom.size(); at += 2) rom[at] = 0x80;  // bit 15 set everywhere
        candidates = {Hit(1, kA, 16), Hit(1, kB, 16), Hit(1, kC, 15), Hit(2, kD, 16)};
        state.assign(256, 0x0421);
        auto tagged = TagCandidates(rom, candidates, {0x1234, 0x0421});
        ASSERT_TRUE(tagged) << tagged.Reason();
        tags = *tagged;
    }

    // frames frames of the state's CGRAM.
    std::vector<std::uint16_t> Still(int frames) const {
        std::vector<std::uint16_t> trace;
        for (int f = 0; f < frames; ++f) trace.insert(trace.end(), state.begin(), state.end());
        return trace;
    }

    // From frame on, row's words are the tags of place's first count words.
    void Load(std::vector<std::uint16_t>& trace, int frame, int row, std::uint32_t place, int count) const {
        for (std::size_t f = static_cast<std::size_t>(frame); f < trace.size() / 256; ++f)
            for (int i = 0; i < count; ++i)
                trace[f * 256 + static_cast<std::size_t>(16 * row + i)] =
                    static_cast<std::uint16_t>(tags.rom[place + 2u * i] | tags.rom[place + 2u * i + 1] << 8);
    }

    static constexpr std::uint32_t kA = 0x40, kB = 0x100, kC = 0x200, kD = 0x300;
    std::vector<std::uint8_t> rom;
    std::vector<PaletteHit> candidates;
    std::vector<std::uint16_t> state;
    LiveTags tags;
};

TEST_F(LiveRows, EveryCandidateWordGetsAColourOfItsOwnThatNoRunShowed) {
    std::set<std::uint16_t> seen;
    for (const auto& [tag, offset] : tags.offsetOfTag) {
        EXPECT_TRUE(tag != 0x1234 && tag != 0x0421 && tag < 0x8000) << tag;
        EXPECT_EQ(tags.rom[offset] | (tags.rom[offset + 1] & 0x7F) << 8, tag);
        EXPECT_EQ(tags.rom[offset + 1] & 0x80, 0x80) << "bit 15 kept";
        seen.insert(tag);
    }
    EXPECT_EQ(seen.size(), 16u + 16 + 15 + 16);
    EXPECT_EQ(tags.rom[kA - 2], rom[kA - 2]) << "nothing else changes";
    EXPECT_EQ(tags.rom[kC + 30], rom[kC + 30]) << "C's unmatched last word stays";

    std::vector<std::uint16_t> everyColour(0x8000);
    for (std::size_t i = 0; i < everyColour.size(); ++i) everyColour[i] = static_cast<std::uint16_t>(i);
    everyColour.resize(0x8000 - 10);
    const Result<LiveTags> tooMany = TagCandidates(rom, candidates, everyColour);
    ASSERT_FALSE(tooMany);
    EXPECT_EQ(tooMany.Reason(), "63 candidate words are more than the colours free to tag them");
}

TEST_F(LiveRows, ARowIsLoadedFromThePlaceWhoseTagsArriveElseComputedElseNotReloaded) {
    const auto loadedFromB = [&](std::vector<std::uint16_t>& trace) { Load(trace, 11, 1, kB, 16); };
    const auto computedRow2 = [&](std::vector<std::uint16_t>& trace) {
        for (std::size_t f = 3; f < trace.size() / 256; ++f) trace[f * 256 + 32] = 0x0001;
    };
    const auto strayTag = [&](std::vector<std::uint16_t>& trace) { Load(trace, 5, 1, kA, 1); };
    const auto bThenA = [&](std::vector<std::uint16_t>& trace) {
        Load(trace, 4, 1, kB, 16);
        Load(trace, 9, 1, kA, 16);
    };
    using Change = std::function<void(std::vector<std::uint16_t>&)>;
    using Status = LiveRow::Status;
    const struct {
        const char* name;
        Change reference, tagged;
        LiveRow row1, row2;
    } cases[] = {
        {"nothing changes",
         {},
         {},
         {1, Status::NotReloaded, {}, {kA, kB, kC}},
         {2, Status::NotReloaded, {}, {kD}}},
        {"B arrives, not C with 15 of its words",
         {},
         loadedFromB,
         {1, Status::Loaded, {{kB, 11}}, {kA, kC}},
         {2, Status::NotReloaded, {}, {kD}}},
        {"a fade in both runs",
         computedRow2,
         computedRow2,
         {1, Status::NotReloaded, {}, {kA, kB, kC}},
         {2, Status::Computed, {}, {kD}}},
        {"one stray tag names nothing",
         {},
         strayTag,
         {1, Status::Computed, {}, {kA, kB, kC}},
         {2, Status::NotReloaded, {}, {kD}}},
        {"B, then A",
         {},
         bThenA,
         {1, Status::Loaded, {{kB, 4}, {kA, 9}}, {kC}},
         {2, Status::NotReloaded, {}, {kD}}},
    };
    for (const auto& c : cases) {
        std::vector<std::uint16_t> reference = Still(20), tagged = Still(20);
        if (c.reference) c.reference(reference);
        if (c.tagged) c.tagged(tagged);
        EXPECT_EQ(ReadLiveRows(state, reference, tagged, candidates, tags),
                  (std::vector<LiveRow>{c.row1, c.row2}))
            << c.name;
    }
}

}  // namespace
}  // namespace tintwright
