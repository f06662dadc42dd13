// "Gradient Fill": the fixed-point blend and what it writes into the ROM.

#include <gtest/gtest.h>

#include <algorithm>

#include "editor/GradientFill.h"
#include "tests/support/EditorFixture.h"
#include "window/ControlIds.h"

namespace tintwright {
namespace {

using testing::EditorFixture;

std::vector<SnesColor> AsWords(const std::vector<RgbColor>& colors) {
    std::vector<SnesColor> words;
    for (const RgbColor color : colors) words.push_back(ToSnesColor(color));
    return words;
}

TEST(GradientColors, EachChannelBlendsInItsOwnTruncatedFixedPointField) {
    const struct {
        const char* name;
        RgbColor start;
        RgbColor end;
        std::uint32_t steps;
        std::vector<SnesColor> words;
    } rows[] = {
        {"rising blue", 0x000000, 0xF80000, 4, {0x0000, 0x1C00, 0x3C00, 0x5C00}},
        {"falling red truncates toward zero", 0x0000F8, 0x000000, 3, {0x001F, 0x0014, 0x000A}},
        {"one step is the start alone", 0x00F8F8, 0x000000, 1, {0x03FF}},
        {"channels never carry", 0x00F800, 0xF800F8, 2, {0x03E0, 0x3DEF}},
        {"no colour blends as the bits it is", 0xFFFFFFFF, 0x000000, 2, {0x7FFF, 0x3DEF}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(AsWords(GradientColors(row.start, row.end, row.steps)), row.words) << row.name;
    }
}

class GradientFillTest : public EditorFixture {
protected:
    // An all-black ROM with the words given at the cells of the view at 0x100.
    void StartWithCells(std::initializer_list<std::pair<int, std::uint16_t>> cells,
                        std::size_t size = 0x400) {
        std::vector<std::uint8_t> rom(size, 0);
        for (const auto& [cell, word] : cells) {
            rom[0x100 + 2 * cell] = static_cast<std::uint8_t>(word & 0xFF);
            rom[0x101 + 2 * cell] = static_cast<std::uint8_t>(word >> 8);
        }
        StartEditor(rom);
    }
    std::vector<std::uint16_t> CellWords(int first, int last) {
        std::vector<std::uint16_t> words;
        for (int cell = first; cell <= last; ++cell) words.push_back(WorkingWord(0x100 + 2 * cell));
        return words;
    }
};

class GradientDirectionTest : public GradientFillTest, public ::testing::WithParamInterface<bool> {};

TEST_P(GradientDirectionTest, FillsFromTheLowerCursorUpToTheHigherWhicheverWasSelectedFirst) {
    const bool selectionBelowAnchor = GetParam();
    StartWithCells({{8, 0x7C00}});
    ClickCell(selectionBelowAnchor ? 8 : 4);
    ClickCell(selectionBelowAnchor ? 4 : 8);
    Command(ids::kGradientFill);
    EXPECT_EQ(CellWords(4, 8), (std::vector<std::uint16_t>{0x0000, 0x1C00, 0x3C00, 0x5C00, 0x7C00}));
    EXPECT_EQ(window->View().ColorCache()[6], ToRgbColor(0x3C00)) << "redrawn";
    EXPECT_EQ(window->View().Anchor(), selectionBelowAnchor ? 8u : 4u) << "cursors where the user put them";
    EXPECT_EQ(window->View().Selection(), selectionBelowAnchor ? 4u : 8u);
    // The refresh ran while the cursors were exchanged: the higher cell is described.
    EXPECT_EQ(StatusLine().substr(0, 25), "Editing Offset : 00000110");
}

INSTANTIATE_TEST_SUITE_P(AnchorBelowOrAbove, GradientDirectionTest, ::testing::Bool());

TEST_F(GradientFillTest, EqualCursorsWriteNothingAndAdjacentOnesOnlyReencodeTheLowerCell) {
    StartWithCells({{4, 0x801F}, {5, 0x7FFF}, {10, 0x03E0}});
    ClickCell(10);
    ClickCell(10);
    const int paints = fake.Control(ids::kStrip).invalidations;
    Command(ids::kGradientFill);
    EXPECT_EQ(fake.Control(ids::kStrip).invalidations, paints) << "not even redrawn";
    EXPECT_EQ(WorkingWord(0x100 + 20), 0x03E0);

    ClickCell(4);
    ClickCell(5);
    Command(ids::kGradientFill);
    EXPECT_EQ(CellWords(4, 5), (std::vector<std::uint16_t>{0x001F, 0x7FFF})) << "bit 15 cleared";
}

// Mended: the no-colour value of a cell outside the file was blended as if it
// were white, and every cell inside the file was painted with it.
TEST_F(GradientFillTest, AnEndCellOutsideTheFileWritesNothing) {
    StartWithCells({{4, 0x1234}}, 0x110);  // cells 0..7 in the file, from cell 8 on no colour
    const std::vector<std::uint8_t> before(state.rom.WorkingBytes().begin(), state.rom.WorkingBytes().end());
    const std::pair<int, int> clicks[] = {{4, 20}, {20, 4}};
    for (const auto& [first, second] : clicks) {
        ClickCell(first);
        ClickCell(second);
        Command(ids::kGradientFill);
        EXPECT_TRUE(std::equal(before.begin(), before.end(), state.rom.WorkingBytes().begin(),
                               state.rom.WorkingBytes().end()))
            << "from cell " << first << " to " << second;
    }
}

}  // namespace
}  // namespace tintwright
