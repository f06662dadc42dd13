#include <gtest/gtest.h>

#include "editor/PaletteView.h"
#include "tests/support/EditorFixture.h"
#include "window/ControlIds.h"

namespace tintwright {
namespace {

using testing::EditorFixture;
using testing::IndexedRomBytes;

TEST(ParseHex, UsualDigitsAndTheForgivingDigitRule) {
    const std::pair<const char*, std::uint32_t> rows[] = {
        {"1F00", 0x1F00},
        {"1f00", 0x1F00},
        {"001F000", 0x1F000},
        {"FFFFFFFF", 0xFFFFFFFF},
        {"", 0},
        {"xyz", 0x123},
        {"G", 0},
        {"g", 0},
        {" ", 0},
        {"8000", 0x8000},
        {"123456789", 0x2345678A},  // the ninth digit from the right shifts by 32 mod 32 = 0
    };
    for (const auto& [text, value] : rows) EXPECT_EQ(ParseHex(text), value) << '"' << text << '"';
}

TEST(StatusLine, FormatsTheOffsetAndTheSnesComponents) {
    EXPECT_EQ(FormatStatusLine(0x120, 0), "Editing Offset : 00000120 - In Snes Rgb 0,0,0");
    EXPECT_EQ(FormatStatusLine(0xFFFFFFE0u, kNoColor), "Editing Offset : FFFFFFE0 - In Snes Rgb 31,31,31");
    EXPECT_EQ(FormatStatusLine(0xABCDEF, 0x004DC80D), "Editing Offset : 00ABCDEF - In Snes Rgb 1,25,9");
}

class PaletteViewTest : public EditorFixture {
protected:
    const PaletteView& View() { return window->View(); }
    // The word index each cell shows, from the indexed ROM.
    RgbColor WordAt(std::uint32_t offset) { return ToRgbColor(static_cast<SnesColor>(offset / 2)); }
    void TypeOffset(const std::string& text) { fake.SetText(ids::kOffsetBox, text); }
};

TEST_F(PaletteViewTest, StartUpShowsOffsets0x100To0x13EWithCell16Described) {
    StartEditor(IndexedRomBytes(0x1000));
    EXPECT_EQ(View().ViewOffset(), 0x100);
    for (int cell = 0; cell < 32; ++cell)
        EXPECT_EQ(View().ColorCache()[cell], WordAt(0x100 + 2 * cell)) << cell;
    EXPECT_EQ(StatusLine(), "Editing Offset : 00000120 - In Snes Rgb 0,0,0");
    EXPECT_GE(fake.Control(ids::kStrip).invalidations, 1);
}

TEST_F(PaletteViewTest, NavigationButtonsMoveByEightOrOneColor) {
    StartEditor(IndexedRomBytes(0x1000));
    const std::pair<int, std::int32_t> steps[] = {
        {ids::kForwardEightButton, 0x110},
        {ids::kForwardOneButton, 0x112},
        {ids::kBackOneButton, 0x110},
        {ids::kBackEightButton, 0x100},
    };
    for (const auto& [button, offset] : steps) {
        Command(button);
        EXPECT_EQ(View().ViewOffset(), offset);
        EXPECT_EQ(View().ColorCache()[0], WordAt(offset));
    }
    EXPECT_EQ(StatusLine(), "Editing Offset : 00000120 - In Snes Rgb 0,0,0");
}

TEST_F(PaletteViewTest, BackBeforeTheStartShowsNoColorForOffsetsBelowZero) {
    StartEditor(IndexedRomBytes(0x200));
    TypeOffset("0");
    Command(ids::kGotoButton);
    Command(ids::kBackEightButton);
    EXPECT_EQ(View().ViewOffset(), -16);
    for (int cell = 0; cell < 8; ++cell) EXPECT_EQ(View().ColorCache()[cell], kNoColor) << cell;
    for (int cell = 8; cell < 32; ++cell)
        EXPECT_EQ(View().ColorCache()[cell], WordAt(2 * (cell - 8))) << cell;
    EXPECT_EQ(StatusLine(), "Editing Offset : 00000010 - In Snes Rgb 0,0,0");
}

TEST_F(PaletteViewTest, CellsPastTheEndOfTheFileHoldNoColor) {
    StartEditor(IndexedRomBytes(0x111));
    EXPECT_EQ(View().ColorCache()[8], ToRgbColor(0x0088)) << "offset 0x110 = size - 1 reads the kept byte";
    for (int cell = 9; cell < 32; ++cell) EXPECT_EQ(View().ColorCache()[cell], kNoColor) << cell;
}

// Mended: "$" and eight digits used to lose the last digit, so $0001A000, as
// location entries are written, went to 0x1A00.
TEST_F(PaletteViewTest, GotoReadsEightDigitsAfterAnOptionalDollar) {
    StartEditor(IndexedRomBytes(0x40000));
    const std::pair<const char*, std::int32_t> rows[] = {
        {"$1F00", 0x1F00},
        {"1f00", 0x1F00},
        {"$001F0000", 0x1F0000},
        {"$0001A000", 0x1A000},
        {"xyz", 0x123},
        {"", 0},
        {"$", 0},
        {"12345678", 0x12345678},
        {"123456789", 0x12345678},
        {"$123456789", 0x12345678},
        {"$$12", 0x412},  // a second "$" is a digit by the forgiving rule
    };
    for (const auto& [text, offset] : rows) {
        TypeOffset(text);
        const int repaintsBefore = fake.Control(0).invalidations;
        Command(ids::kGotoButton);
        EXPECT_EQ(View().ViewOffset(), offset) << text;
        EXPECT_EQ(fake.Control(0).invalidations, repaintsBefore + 1) << "the whole window is repainted";
    }
    EXPECT_TRUE(fake.boxesShown.empty()) << "nonsense is never reported";
}

TEST_F(PaletteViewTest, OddOffsetsShowStraddlingWordsAndStayOdd) {
    StartEditor(IndexedRomBytes(0x400));
    TypeOffset("101");
    Command(ids::kGotoButton);
    EXPECT_EQ(View().ColorCache()[0], ToRgbColor(0x8100)) << "low byte from 0x101, high byte from 0x102";
    Command(ids::kForwardOneButton);
    EXPECT_EQ(View().ViewOffset(), 0x103);
    EXPECT_EQ(StatusLine(), "Editing Offset : 00000123 - In Snes Rgb 0,0,0");
}

TEST_F(PaletteViewTest, WheelNotchesAndXButtonsStepByColors) {
    StartEditor(IndexedRomBytes(0x400));
    const std::pair<std::int16_t, std::int32_t> wheel[] = {
        {120, 0x102}, {360, 0x108}, {-120, 0x106}, {-240, 0x102}, {1800, 0x120}, {0, 0x120}, {-1800, 0x102},
    };
    for (const auto& [delta, offset] : wheel) {
        window->OnMouseWheel(delta);
        EXPECT_EQ(View().ViewOffset(), offset) << "delta " << delta;
    }
    window->OnXButtonUp(1);
    EXPECT_EQ(View().ViewOffset(), 0x100);
    window->OnXButtonUp(2);
    window->OnXButtonUp(2);
    EXPECT_EQ(View().ViewOffset(), 0x104);
    window->OnXButtonUp(3);
    EXPECT_EQ(View().ViewOffset(), 0x104);
}

TEST_F(PaletteViewTest, SmallWheelDeltasAreGatheredIntoWholeNotches) {
    StartEditor(IndexedRomBytes(0x400));
    const std::pair<std::int16_t, std::int32_t> touchpad[] = {
        {8, 0x100},   {-8, 0x100},   {60, 0x100},  {59, 0x100},   {1, 0x102},   // 8 - 8 + 60 + 59 + 1 = 120
        {-30, 0x102}, {-100, 0x100}, {130, 0x102}, {-120, 0x100}, {20, 0x100},  // -130 leaves -10 pending
        {100, 0x102},
    };
    for (const auto& [delta, offset] : touchpad) {
        window->OnMouseWheel(delta);
        EXPECT_EQ(View().ViewOffset(), offset) << "delta " << delta;
    }
}

TEST_F(PaletteViewTest, CurrentWritesTheSelectedOffsetIntoTheBoxWithoutMovingTheView) {
    StartEditor(IndexedRomBytes(0x400));
    Command(ids::kCurrentButton);
    EXPECT_EQ(fake.Text(ids::kOffsetBox), "00000120");
    TypeOffset("FFFFFFF0");
    Command(ids::kGotoButton);
    Command(ids::kCurrentButton);
    EXPECT_EQ(fake.Text(ids::kOffsetBox), "00000010") << "32-bit arithmetic wraps";
    EXPECT_EQ(View().ViewOffset(), -16);
}

}  // namespace
}  // namespace tintwright
