// The colour being edited: the boxes, the sliders, "-" and "+", the swatch
// buttons, and the commands that write, undo and find colours in the ROM.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/support/EditorFixture.h"
#include "window/ControlIds.h"

namespace tintwright {
namespace {

using testing::EditorFixture;
using testing::IndexedRomBytes;
using Boxes = std::vector<std::string>;

class ColorEditingTest : public EditorFixture {};

TEST_F(ColorEditingTest, AKeyReleaseMakesTheBoxesCurrentModulo256OrChangesNothing) {
    StartEditor(IndexedRomBytes(0x400));
    const struct {
        const char* name;
        Boxes typed;
        std::optional<RgbColor> madeCurrent;  // nothing: the boxes and the colour stay
    } rows[] = {
        {"300 wraps to 44", {"300", "0", "0"}, MakeRgbColor(44, 0, 0)},
        {"signs and blanks", {"-1", " 8 ", "16"}, MakeRgbColor(255, 8, 16)},
        {"a plus sign is no number", {"1", "2", "+16"}, {}},
        {"an empty box", {"12", "", "5"}, {}},
        {"text after digits", {"12abc", "1", "2"}, {}},
        {"beyond 32 bits", {"1", "2", "4294967296"}, {}},
    };
    for (const auto& row : rows) {
        const RgbColor before = window->Colors().CurrentColor();
        const int swatchPaints = fake.Control(ids::kCurrentSwatch).invalidations;
        TypeRgb(row.typed[0], row.typed[1], row.typed[2]);
        window->OnEditKeyUp(ids::kGreenEdit);
        const RgbColor current = row.madeCurrent.value_or(before);
        EXPECT_EQ(window->Colors().CurrentColor(), current) << row.name;
        const std::vector<int> channels{RedOf(current), GreenOf(current), BlueOf(current)};
        EXPECT_EQ(SliderPositions(), channels) << row.name;
        if (row.madeCurrent) {
            EXPECT_EQ(RgbBoxes(), (Boxes{std::to_string(channels[0]), std::to_string(channels[1]),
                                         std::to_string(channels[2])}))
                << row.name;
        } else {
            EXPECT_EQ(RgbBoxes(), row.typed) << row.name;
        }
        EXPECT_EQ(fake.Control(ids::kCurrentSwatch).invalidations, swatchPaints + (row.madeCurrent ? 1 : 0));
    }
    EXPECT_EQ(StatusLine(), "Editing Offset : 00000120 - In Snes Rgb 0,0,0")
        << "the status line is left alone";
}

TEST_F(ColorEditingTest, MinusAndPlusStepEveryChannelByOneSnesStep) {
    StartEditor(IndexedRomBytes(0x400));
    const struct {
        int button;
        Boxes typed;
        Boxes shown;
    } rows[] = {
        {ids::kMinusButton, {"5", "8", "9"}, {"0", "0", "1"}},
        {ids::kPlusButton, {"246", "247", "255"}, {"254", "255", "255"}},
        {ids::kPlusButton, {"", "x", "-3"}, {"8", "8", "255"}},  // no number counts as 0; negatives go to 255
        {ids::kMinusButton, {"-3", "", "300"}, {"245", "0", "36"}},  // -11 and 292, then reduced
    };
    for (const auto& row : rows) {
        TypeRgb(row.typed[0], row.typed[1], row.typed[2]);
        Command(row.button);
        EXPECT_EQ(RgbBoxes(), row.shown) << row.typed[0] << "," << row.typed[1] << "," << row.typed[2];
        EXPECT_EQ(SliderPositions(), (std::vector<int>{std::stoi(row.shown[0]), std::stoi(row.shown[1]),
                                                       std::stoi(row.shown[2])}));
    }
}

TEST_F(ColorEditingTest, ASliderMovedByTheUserWritesItsBoxAndAppliesTheBoxes) {
    StartEditor(IndexedRomBytes(0x400));
    TypeRgb("10", "20", "30");
    fake.controls[ids::kGreenSlider].sliderPosition = 200;
    window->OnHScroll(ids::kGreenSlider);
    EXPECT_EQ(RgbBoxes(), (Boxes{"10", "200", "30"}));
    EXPECT_EQ(window->Colors().CurrentColor(), MakeRgbColor(10, 200, 30));
    window->OnHScroll(ids::kStrip);
    EXPECT_EQ(window->Colors().CurrentColor(), MakeRgbColor(10, 200, 30)) << "not a slider";
}

TEST_F(ColorEditingTest, TheSwatchButtonsStoreAndRecallTheCurrentColor) {
    StartEditor(IndexedRomBytes(0x400));
    TypeRgb("8", "16", "24");
    window->OnEditKeyUp(ids::kRedEdit);
    Command(ids::kStoreColorButton);
    EXPECT_EQ(window->Colors().StoredColor(), MakeRgbColor(8, 16, 24));
    EXPECT_EQ(window->SwatchColor(ids::kStoredSwatch), MakeRgbColor(8, 16, 24));
    EXPECT_EQ(fake.Control(ids::kStoredSwatch).invalidations, 1);
    TypeRgb("1", "2", "3");
    window->OnEditKeyUp(ids::kRedEdit);
    Command(ids::kRecallColorButton);
    EXPECT_EQ(RgbBoxes(), (Boxes{"8", "16", "24"}));
    EXPECT_EQ(window->SwatchColor(ids::kCurrentSwatch), MakeRgbColor(8, 16, 24));
}

TEST_F(ColorEditingTest, ApplyWritesTheSelectedWordAndTheUndoCommandsTakeItBack) {
    StartEditor(IndexedRomBytes(0x400));
    TypeRgb("255", "0", "0");
    window->OnEditKeyUp(ids::kRedEdit);
    Command(ids::kApplyButton);
    EXPECT_EQ(WorkingWord(0x120), 0x001F);
    EXPECT_EQ(window->View().ColorCache()[16], 0x0000F8u) << "the strip shows it at once";

    Command(ids::kUndoSelected);
    EXPECT_EQ(WorkingWord(0x120), 0x0090);
    Command(ids::kApplyButton);
    fake.ExpectMessageBox("Buffer Update", box::kAnswerNo);
    Command(ids::kUpdateUndoBuffer);
    Command(ids::kUndoViewArea);
    EXPECT_EQ(WorkingWord(0x120), 0x0090) << "No changes nothing";

    Command(ids::kApplyButton);
    fake.ExpectMessageBox("Buffer Update", box::kAnswerYes);
    Command(ids::kUpdateUndoBuffer);
    EXPECT_EQ(fake.boxesShown.back().text, "Update Undo Buffer?");
    EXPECT_EQ(fake.boxesShown.back().style, 0x24u);
    GoTo(0x200);
    Command(ids::kApplyButton);
    Command(ids::kUndoViewArea);
    EXPECT_EQ(WorkingWord(0x220), 0x0110);
    GoTo(0x100);
    Command(ids::kUndoSelected);
    EXPECT_EQ(WorkingWord(0x120), 0x001F) << "Yes made the applied colour the undo state";
}

TEST_F(ColorEditingTest, ApplyOutsideTheFileChangesNothingButRedraws) {
    StartEditor(IndexedRomBytes(0x110));
    TypeRgb("255", "255", "255");
    window->OnEditKeyUp(ids::kRedEdit);
    const std::vector<std::uint8_t> before(state.rom.WorkingBytes().begin(), state.rom.WorkingBytes().end());
    const int paints = fake.Control(ids::kStrip).invalidations;
    Command(ids::kApplyButton);
    EXPECT_EQ(std::vector<std::uint8_t>(state.rom.WorkingBytes().begin(), state.rom.WorkingBytes().end()),
              before);
    EXPECT_EQ(fake.Control(ids::kStrip).invalidations, paints + 1);
}

class FindTest : public EditorFixture {
protected:
    // A black ROM with one colour word at each offset given.
    void StartWithWordsAt(std::initializer_list<std::uint32_t> offsets, std::uint16_t word) {
        std::vector<std::uint8_t> rom(0x1000, 0);
        for (const std::uint32_t offset : offsets) {
            rom[offset] = static_cast<std::uint8_t>(word & 0xFF);
            rom[offset + 1] = static_cast<std::uint8_t>(word >> 8);
        }
        StartEditor(rom);
    }
};

TEST_F(FindTest, FindNextShowsEachMatchInCell16WithoutMovingTheSelection) {
    StartWithWordsAt({0x200, 0x300, 0x10}, 0x03E0);  // pure green, 0, 248, 0
    TypeRgb("0", "250", "0");
    Command(ids::kFindNextButton);
    EXPECT_EQ(window->View().ViewOffset(), 0x1E0);
    EXPECT_EQ(window->View().ColorCache()[16], 0x00F800u);
    EXPECT_EQ(StatusLine(), "Editing Offset : 00000200 - In Snes Rgb 0,0,0")
        << "searching makes nothing current";
    Command(ids::kFindNextButton);
    EXPECT_EQ(window->View().ViewOffset(), 0x2E0);
    EXPECT_EQ(window->View().Selection(), 16u);
    Command(ids::kFindFirstButton);
    EXPECT_EQ(window->View().ViewOffset(), 0x1E0) << "never below offset 34";
}

// Mended: a search that finds nothing used to leave the old cells on the
// strip while the commands acted on the words at offset 0.
TEST_F(FindTest, NothingFoundStartsOverFromTheTopAndShowsIt) {
    StartWithWordsAt({0x200}, 0x7C00);
    TypeRgb("0", "0", "0");
    fake.SetText(ids::kBlueEdit, "8");
    Command(ids::kFindNextButton);
    EXPECT_EQ(window->View().ViewOffset(), 0);
    EXPECT_EQ(StatusLine(), "Editing Offset : 00000020 - In Snes Rgb 0,0,0");
    EXPECT_EQ(window->View().ColorCache()[0], 0u) << "the view was re-read at offset 0";
    fake.SetText(ids::kBlueEdit, "255");
    Command(ids::kFindNextButton);
    EXPECT_EQ(window->View().ViewOffset(), 0x1E0) << "the next search starts from the top";
}

TEST_F(FindTest, BoxesWithoutANumberSearchNothing) {
    StartWithWordsAt({0x200}, 0x7C00);
    GoTo(0x400);
    TypeRgb("", "0", "0");
    Command(ids::kFindNextButton);
    EXPECT_EQ(window->View().ViewOffset(), 0x400);
    Command(ids::kFindFirstButton);
    EXPECT_EQ(window->View().ViewOffset(), 0);
    EXPECT_EQ(StatusLine(), "Editing Offset : 00000020 - In Snes Rgb 0,0,0") << "shown where it now is";
    EXPECT_TRUE(fake.boxesShown.empty());
}

}  // namespace
}  // namespace tintwright
