#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "finder/PaletteSearch.h"
#include "tests/support/PlainPaletteSearch.h"

namespace tintwright {
namespace {

// Every captured colour has each channel in 8..23, and the ROM around the
// planted words is this word, far from all of them at either alignment.
constexpr std::uint16_t kFiller = 0x7C00;
constexpr std::uint16_t kFar = 0x001F;

std::vector<std::uint16_t> DistinctCapture() {
    std::mt19937 random(14);
    std::set<std::uint16_t> used;
    std::vector<std::uint16_t> capture;
    while (capture.size() < 256) {
        const auto channel = [&] { return static_cast<std::uint16_t>(8 + random() % 16); };
        const auto color = static_cast<std::uint16_t>(channel() | channel() << 5 | channel() << 10);
        if (used.insert(color).second) capture.push_back(color);
    }
    return capture;
}

// A hit in one line: row, first colour + length, each part's offset, then mismatches,
// sub-palette and uniform when they apply.
std::string Describe(const PaletteHit& hit) {
    std::ostringstream text;
    text << "r" << hit.row << " " << hit.firstIndex << "+" << hit.length << std::uppercase << std::hex;
    for (const PaletteRun& part : hit.parts) text << " @" << part.offset;
    if (hit.mismatches > 0) text << " x" << hit.mismatches;
    if (hit.subPalette >= 0) text << " s" << hit.subPalette;
    if (hit.uniform) text << " uniform";
    return text.str();
}

struct SearchFixture {
    std::vector<std::uint16_t> capture = DistinctCapture();
    std::vector<std::uint8_t> rom;

    explicit SearchFixture(std::size_t bytes = 0x1000) {
        for (std::size_t i = 0; i < bytes; ++i) rom.push_back(i % 2 == 0 ? kFiller & 0xFF : kFiller >> 8);
    }
    std::vector<std::uint16_t> Colors(int row, int first, int count) const {
        return {capture.begin() + row * 16 + first, capture.begin() + row * 16 + first + count};
    }
    void Put(std::size_t offset, const std::vector<std::uint16_t>& words) {
        for (const std::uint16_t word : words) {
            rom[offset++] = static_cast<std::uint8_t>(word);
            rom[offset++] = static_cast<std::uint8_t>(word >> 8);
        }
    }
    std::vector<std::string> Hits(const SearchOptions& options = {}) const {
        const std::optional<SearchResult> result = SearchPalettes(rom, capture, options);
        std::vector<std::string> described;
        for (const PaletteHit& hit : result->hits) described.push_back(Describe(hit));
        return described;
    }
};

struct PlantedRun {
    const char* name;
    std::size_t offset;
    int row, first, count;
    std::uint16_t romBit15, captureBit15;
    int minimumRun;
    std::vector<std::string> hits;
};

TEST(PaletteSearch, FindsExactRunsAtEvenAndOddOffsets) {
    const PlantedRun cases[] = {
        {"whole row at an even offset", 0x100, 2, 0, 16, 0, 0, 4, {"r2 0+16 @100"}},
        {"whole row at an odd offset", 0x101, 2, 0, 16, 0, 0, 4, {"r2 0+16 @101"}},
        {"bit 15 set in the ROM", 0x101, 2, 0, 16, 0x8000, 0, 4, {"r2 0+16 @101"}},
        {"bit 15 set in the capture", 0x100, 2, 0, 16, 0, 0x8000, 4, {"r2 0+16 @100"}},
        {"four colours make a run", 0x200, 5, 3, 4, 0, 0, 4, {"r5 3+4 @200"}},
        {"three do not", 0x200, 5, 3, 3, 0, 0, 4, {}},
        {"three do with a minimum run of three", 0x201, 5, 3, 3, 0, 0, 3, {"r5 3+3 @201"}},
        {"a run at the very start", 0, 1, 0, 8, 0, 0, 4, {"r1 0+8 @0"}},
        {"a run ending at the last word", 0xFF0, 1, 8, 8, 0, 0, 4, {"r1 8+8 @FF0"}},
        {"an odd run ending one byte before the end", 0xFF7, 1, 0, 4, 0, 0, 4, {"r1 0+4 @FF7 s0"}},
    };
    for (const PlantedRun& planted : cases) {
        SearchFixture fixture;
        std::vector<std::uint16_t> words = fixture.Colors(planted.row, planted.first, planted.count);
        for (std::uint16_t& word : words) word |= planted.romBit15;
        for (std::uint16_t& color : fixture.capture) color |= planted.captureBit15;
        fixture.Put(planted.offset, words);
        EXPECT_EQ(fixture.Hits({.minimumRun = planted.minimumRun}), planted.hits) << planted.name;
    }
}

struct ChangedColors {
    const char* name;
    int redStep;                 // added to every colour's red channel
    std::vector<int> farColors;  // colours replaced by one far from all
    SearchOptions options;
    std::vector<std::string> hits;
};

TEST(PaletteSearch, ToleratesChannelStepsAndSomeWrongColors) {
    const ChangedColors cases[] = {
        {"two steps off within tolerance two", 2, {}, {.tolerance = 2}, {"r2 0+16 @100"}},
        {"two steps down within tolerance two", -2, {}, {.tolerance = 2}, {"r2 0+16 @100"}},
        {"three steps off beyond it", 3, {}, {.tolerance = 2}, {}},
        {"one wrong colour allowed exactly", 0, {7}, {.mismatches = 1}, {"r2 0+16 @100 x1"}},
        {"one wrong colour not allowed cuts the row", 0, {7}, {}, {"r2 8+8 @110", "r2 0+7 @100"}},
        {"a fade with two wrong colours", 1, {5, 9}, {.tolerance = 1, .mismatches = 2}, {"r2 0+16 @100 x2"}},
        {"three wrong: the longest stretch with two, leftmost on a tie",
         0,
         {3, 8, 12},
         {.mismatches = 2},
         {"r2 0+12 @100 x2"}},
    };
    for (const ChangedColors& changed : cases) {
        SearchFixture fixture;
        std::vector<std::uint16_t> words = fixture.Colors(2, 0, 16);
        for (std::uint16_t& word : words) word = static_cast<std::uint16_t>(word + changed.redStep);
        for (const int index : changed.farColors) words[index] = kFar;
        fixture.Put(0x100, words);
        EXPECT_EQ(fixture.Hits(changed.options), changed.hits) << changed.name;
    }
}

TEST(PaletteSearch, RanksLongestFirstAndUniformRunsLastWithOneHitPerStretch) {
    SearchFixture fixture(0x2000);
    for (int i = 0; i < 16; ++i) fixture.capture[8 * 16 + i] = 0x0000;
    const std::vector<std::uint16_t> blackAndWhite = {0x0000, 0x7FFF, 0x0000, 0x7FFF};
    std::copy(blackAndWhite.begin(), blackAndWhite.end(), fixture.capture.begin() + 9 * 16);
    fixture.Put(0x400, fixture.Colors(4, 0, 6));
    fixture.Put(0x600, fixture.Colors(6, 2, 5));
    fixture.Put(0x800, fixture.Colors(3, 0, 16));
    fixture.Put(0x1000, std::vector<std::uint16_t>(128, 0x0000));
    fixture.Put(0x1800, blackAndWhite);
    EXPECT_EQ(fixture.Hits(),
              (std::vector<std::string>{"r3 0+16 @800", "r4 0+6 @400", "r6 2+5 @600", "r8 0+16 @1000 uniform",
                                        "r8 0+16 @1001 uniform", "r9 0+4 @1800 s0 uniform"}));
}

TEST(PaletteSearch, KeepsTheLongestRunAtEachPlaceAndEveryRowThatTies) {
    SearchFixture fixture;
    std::copy_n(fixture.capture.begin() + 3 * 16, 6, fixture.capture.begin() + 12 * 16);
    std::copy_n(fixture.capture.begin() + 3 * 16, 16, fixture.capture.begin() + 13 * 16);
    fixture.Put(0x800, fixture.Colors(3, 0, 16));
    EXPECT_EQ(fixture.Hits(), (std::vector<std::string>{"r3 0+16 @800", "r13 0+16 @800"}));
}

TEST(PaletteSearch, ReportsARowStoredInTwoHalvesAsOneHitWithTheNearestHalves) {
    SearchFixture fixture;
    fixture.Put(0x300, fixture.Colors(5, 0, 8));
    fixture.Put(0x900, fixture.Colors(5, 8, 8));
    EXPECT_EQ(fixture.Hits(), (std::vector<std::string>{"r5 0+16 @300 @900"}));
    fixture.Put(0xA00, fixture.Colors(5, 0, 8));
    EXPECT_EQ(fixture.Hits(), (std::vector<std::string>{"r5 0+16 @A00 @900", "r5 0+8 @300"}));
}

TEST(PaletteSearch, FindsFourColorSubPalettesOfRowsNotFoundWhole) {
    for (const int minimumRun : {4, 8}) {
        SearchFixture fixture;
        fixture.Put(0x200, fixture.Colors(7, 4, 4));
        fixture.Put(0x500, fixture.Colors(7, 12, 4));
        std::vector<std::uint16_t> oneWrong = fixture.Colors(7, 0, 4);
        oneWrong[2] = kFar;
        fixture.Put(0x700, oneWrong);
        EXPECT_EQ(fixture.Hits({.minimumRun = minimumRun}),
                  (std::vector<std::string>{"r7 4+4 @200 s1", "r7 12+4 @500 s3"}))
            << "minimum run " << minimumRun;
    }
}

TEST(PaletteSearch, NamesTheRowsFoundNowhereIncludingAShortLastRow) {
    SearchFixture fixture;
    fixture.capture.resize(20);
    fixture.Put(0x100, fixture.Colors(1, 0, 4));
    const SearchResult result = *SearchPalettes(fixture.rom, fixture.capture, {});
    ASSERT_EQ(result.hits.size(), 1u);
    EXPECT_EQ(Describe(result.hits[0]), "r1 0+4 @100");
    EXPECT_EQ(result.rows, 2);
    EXPECT_EQ(result.rowsNotFound, std::vector<int>{0});
}

TEST(PaletteSearch, ReportsProgressAfterEverySliceAndStopsWhenCancelled) {
    const SearchFixture fixture(4 * kSearchSliceBytes + 2);
    std::vector<std::uint64_t> seen;
    const auto recorded =
        SearchPalettes(fixture.rom, fixture.capture, {}, [&](std::uint64_t done, std::uint64_t total) {
            EXPECT_EQ(total, fixture.rom.size());
            seen.push_back(done);
            return true;
        });
    EXPECT_TRUE(recorded.has_value());
    EXPECT_EQ(seen,
              (std::vector<std::uint64_t>{kSearchSliceBytes, 2 * kSearchSliceBytes, 3 * kSearchSliceBytes,
                                          4 * kSearchSliceBytes, fixture.rom.size()}));
    int calls = 0;
    EXPECT_FALSE(SearchPalettes(fixture.rom, fixture.capture, {}, [&](auto, auto) { return ++calls < 2; }));
    EXPECT_EQ(calls, 2);
}

void PutWord(std::vector<std::uint8_t>& rom, std::uint16_t word) {
    rom.push_back(static_cast<std::uint8_t>(word));
    rom.push_back(static_cast<std::uint8_t>(word >> 8));
}

// Random pieces up to `bytes`: captured rows whole, in part, shifted by a
// channel step or with wrong colours, stretches of one word, black and white, noise.
void AddRandomPieces(std::mt19937& random, const std::vector<std::uint16_t>& capture, std::size_t bytes,
                     std::vector<std::uint8_t>& rom) {
    while (rom.size() < bytes) {
        const unsigned piece = random() % 5;
        const unsigned count = 1 + random() % 16;
        const unsigned start = random() % capture.size();
        if (piece == 4) rom.push_back(static_cast<std::uint8_t>(random()));
        for (unsigned i = 0; i < count; ++i) {
            const std::uint16_t color = capture[(start + i) % capture.size()];
            if (piece <= 1)
                PutWord(rom, static_cast<std::uint16_t>(color + (random() % 3 == 0 ? random() % 4 : 0)));
            if (piece == 2) PutWord(rom, random() % 2 ? 0x0000 : 0xFFFF);
            if (piece == 3) PutWord(rom, capture[start]);
            if (piece == 4) PutWord(rom, static_cast<std::uint16_t>(random()));
        }
    }
}

// Captures of any size with black, white and repeated colours, as real ones hold.
std::vector<std::uint16_t> RandomCapture(std::mt19937& random) {
    std::vector<std::uint16_t> capture = DistinctCapture();
    capture.resize(16 + random() % 241);
    for (int i = 0; i < 24; ++i) capture[random() % capture.size()] = random() % 2 ? 0x0000 : 0x7FFF;
    for (int i = 0; i < 24; ++i) capture[random() % capture.size()] = capture[random() % capture.size()];
    return capture;
}

SearchOptions RandomOptions(std::mt19937& random) {
    return {.minimumRun = static_cast<int>(2 + random() % 7),
            .tolerance = static_cast<int>(random() % 4),
            .mismatches = static_cast<int>(random() % 4)};
}

// The fast search cut into random slices, against the plain one.
void ExpectAgreesWithPlain(std::mt19937& random, const std::vector<std::uint8_t>& rom,
                           const std::vector<std::uint16_t>& capture, const SearchOptions& options,
                           int round) {
    PaletteSearch search(rom, capture, options);
    while (!search.Advance(1 + random() % 700)) {
    }
    ASSERT_EQ(search.Result(), PlainPaletteSearch(rom, capture, options))
        << "round " << round << ", N " << options.minimumRun << " T " << options.tolerance << " K "
        << options.mismatches;
}

TEST(PaletteSearch, AgreesWithThePlainSearchOnRandomRomsInAnySlices) {
    std::mt19937 random(2024);
    for (int round = 0; round < 40; ++round) {
        const std::vector<std::uint16_t> capture = RandomCapture(random);
        std::vector<std::uint8_t> rom;
        AddRandomPieces(random, capture, 3000, rom);
        ExpectAgreesWithPlain(random, rom, capture, RandomOptions(random), round);
    }
}

// Long stretches of one word between random pieces: zero padding, 0xFF, a
// captured colour (its word read at either alignment), two bytes that differ,
// words that differ only in bit 15, and a near-black colour a tolerance lets
// several captured ones match. Each begins and ends at an even or an odd
// offset; some lie inside a captured row that holds their colour in its
// middle, its first colours planted before them and its last after.
std::vector<std::uint8_t> RomWithLongStretches(std::mt19937& random, std::vector<std::uint16_t>& capture) {
    std::vector<std::uint8_t> rom;
    for (int stretch = 0; stretch < 3; ++stretch) {
        AddRandomPieces(random, capture, rom.size() + 200 + random() % 400, rom);
        if (random() % 2) rom.push_back(static_cast<std::uint8_t>(random()));
        const std::uint16_t captured = capture[random() % capture.size()];
        const std::uint16_t words[] = {
            0x0000, 0xFFFF, captured, static_cast<std::uint16_t>(captured | 0x8000), 0x3412, 0x0421};
        const std::uint16_t word = words[random() % std::size(words)];
        const std::size_t row = 16 * (random() % ((capture.size() + 15) / 16));
        const std::size_t rowEnd = std::min(capture.size(), row + 16);
        std::size_t before = row + random() % 17, after = row + random() % 17;
        if (before > after) std::swap(before, after);
        before = std::min(before, rowEnd), after = std::min(after, rowEnd);
        const bool inRow = random() % 2 == 0;
        if (inRow) {
            std::fill(capture.begin() + before, capture.begin() + after, word);
            for (std::size_t i = row; i < before; ++i) PutWord(rom, capture[i]);
        }
        const bool bit15Varies = random() % 4 == 0;
        for (unsigned i = 0, count = 40 + random() % 600; i < count; ++i)
            PutWord(rom, static_cast<std::uint16_t>(word | (bit15Varies && i % 3 == 0 ? 0x8000 : 0)));
        if (inRow)
            for (std::size_t i = after; i < rowEnd; ++i) PutWord(rom, capture[i]);
    }
    AddRandomPieces(random, capture, rom.size() + random() % 200, rom);
    // Dark greys a tolerance takes for black, beside black itself.
    for (int i = 0; i < 8; ++i) capture[random() % capture.size()] = random() % 2 ? 0x0421 : 0x0842;
    return rom;
}

TEST(PaletteSearch, AgreesWithThePlainSearchOnRomsWithLongStretchesOfOneWord) {
    std::mt19937 random(2025);
    for (int round = 0; round < 40; ++round) {
        std::vector<std::uint16_t> capture = RandomCapture(random);
        const std::vector<std::uint8_t> rom = RomWithLongStretches(random, capture);
        ExpectAgreesWithPlain(random, rom, capture, RandomOptions(random), round);
    }
}

// A row that holds the stretch's colour in all but its first or last colours
// runs out of the stretch by one colour or more, at each alignment and at
// stretch lengths that put the run's start on every sampled position.
TEST(PaletteSearch, AgreesWithThePlainSearchOnRowsThatLeaveAStretchOfOneWord) {
    std::mt19937 random(2027);
    const SearchOptions cases[] = {
        {}, {.minimumRun = 2}, {.minimumRun = 16}, {.tolerance = 2, .mismatches = 2}};
    for (int outside = 1; outside < 16; ++outside) {
        for (const bool outsideFirst : {false, true}) {
            SearchFixture fixture(0);
            fixture.capture.resize(16);
            const auto stretch = outsideFirst ? fixture.capture.begin() + outside : fixture.capture.begin();
            std::fill_n(stretch, 16 - outside, 0x0000);
            for (std::size_t bytes = 200; bytes < 216; ++bytes) {
                std::vector<std::uint8_t> rom(64 + bytes % 2, 0x7C);
                const auto put = [&](int first, int count) {
                    for (int i = first; i < first + count; ++i) PutWord(rom, fixture.capture[i]);
                };
                if (outsideFirst) put(0, outside);
                rom.resize(rom.size() + bytes, 0x00);
                if (!outsideFirst) put(16 - outside, outside);
                rom.resize(rom.size() + 64, 0x7C);
                for (const SearchOptions& options : cases)
                    ExpectAgreesWithPlain(random, rom, fixture.capture, options, outside);
            }
        }
    }
}

// Padding reports what it reported short: the runs at its start, however long
// it is, after data or from the ROM's first byte on.
TEST(PaletteSearch, ReportsARunOfOneWordOnceHoweverLongItIs) {
    std::mt19937 random(2026);
    std::vector<std::uint16_t> capture = RandomCapture(random);
    std::vector<std::uint8_t> data;
    AddRandomPieces(random, capture, 2001, data);
    for (std::size_t i = 16; i < 32 && i < capture.size(); ++i) capture[i] = 0x0000;
    capture[5] = 0x0421;
    capture[6] = 0x7FFF;
    const SearchOptions cases[] = {{}, {.tolerance = 2, .mismatches = 2}, {.minimumRun = 2, .tolerance = 3}};
    for (const SearchOptions& options : cases) {
        for (const std::uint8_t padding : {0x00, 0xFF}) {
            for (const std::size_t dataBytes : {data.size(), std::size_t{0}}) {
                std::vector<std::uint8_t> rom(data.begin(), data.begin() + dataBytes);
                rom.resize(dataBytes + 4096, padding);
                const SearchResult expected = PlainPaletteSearch(rom, capture, options);
                EXPECT_EQ(*SearchPalettes(rom, capture, options), expected) << int{padding};
                rom.resize(dataBytes + (16u << 20), padding);
                EXPECT_EQ(*SearchPalettes(rom, capture, options), expected) << int{padding};
            }
        }
    }
}

}  // namespace
}  // namespace tintwright
