#include <gtest/gtest.h>

#include <vector>

#include "mainwindow/PaletteStrip.h"
#include "tests/support/EditorFixture.h"
#include "window/ControlIds.h"

namespace tintwright {
namespace {

using testing::EditorFixture;
using testing::IndexedRomBytes;

// Paints into a pixel grid the size of the strip, as a window system would.
class PixelCanvas final : public StripCanvas {
public:
    static constexpr int kWidth = 641;
    static constexpr int kHeight = 46;

    PixelCanvas() : pixels_(kWidth * kHeight, 0x123456) {}

    void FillRect(const PixelRect& rect, RgbColor color) override {
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x) pixels_[y * kWidth + x] = color;
    }
    void DrawGlyph(char glyph, const PixelRect& rect, RgbColor color) override {
        glyphs.push_back({glyph, rect, color});
    }
    RgbColor At(int x, int y) const { return pixels_[y * kWidth + x]; }

    struct Glyph {
        char glyph;
        PixelRect rect;
        RgbColor color;
    };
    std::vector<Glyph> glyphs;

private:
    std::vector<RgbColor> pixels_;
};

class PaletteStripTest : public EditorFixture {
protected:
    PixelCanvas Paint() {
        PixelCanvas canvas;
        window->PaintStrip(canvas);
        return canvas;
    }
};

TEST_F(PaletteStripTest, EachCellIsFramedInBlackAndFilledWithItsColor) {
    StartEditor(IndexedRomBytes(0x400));
    const PixelCanvas canvas = Paint();
    for (int cell = 0; cell < 32; ++cell) {
        const int left = 20 * cell;
        const RgbColor color = window->View().ColorCache()[cell];
        EXPECT_EQ(canvas.At(left + 1, 1), color) << cell;
        EXPECT_EQ(canvas.At(left + 18, 38), color) << cell;
        EXPECT_EQ(canvas.At(left, 20), 0u) << "left frame of cell " << cell;
        EXPECT_EQ(canvas.At(left + 19, 20), 0u) << "right frame of cell " << cell;
        EXPECT_EQ(canvas.At(left + 10, 0), 0u);
        EXPECT_EQ(canvas.At(left + 10, 39), 0u);
        EXPECT_EQ(canvas.At(left + 10, 40), 0x123456u) << "nothing is painted below the cells";
    }
}

TEST_F(PaletteStripTest, StartUpDrawsSelectionAndAnchorTogetherInCell16WithShadows) {
    StartEditor(IndexedRomBytes(0x400));
    const PixelCanvas canvas = Paint();
    ASSERT_EQ(canvas.glyphs.size(), 4u) << "no tracking glyph while the flag is clear";
    const auto expectGlyph = [&](std::size_t at, char glyph, PixelRect rect, RgbColor color) {
        EXPECT_EQ(canvas.glyphs[at].glyph, glyph);
        EXPECT_EQ(canvas.glyphs[at].rect, rect) << glyph;
        EXPECT_EQ(canvas.glyphs[at].color, color) << glyph;
    };
    expectGlyph(0, 'V', {321, 1, 339, 39}, 0x000000);
    expectGlyph(1, 'V', {321, 3, 341, 39}, 0xFFFFFF);
    expectGlyph(2, '*', {321, 13, 339, 39}, 0x000000);
    expectGlyph(3, '*', {321, 15, 341, 39}, 0xFFFFFF);
}

TEST_F(PaletteStripTest, TrackingGlyphOnlyWithTheFlagSet) {
    StartEditor(IndexedRomBytes(0x400));
    auto& view = const_cast<PaletteView&>(window->View());
    view.SetTrackingMarker(3);
    EXPECT_EQ(Paint().glyphs.size(), 4u);
    view.SetTrackingFlag(true);
    const PixelCanvas canvas = Paint();
    ASSERT_EQ(canvas.glyphs.size(), 6u);
    EXPECT_EQ(canvas.glyphs[0].glyph, '?') << "cell 3 is painted before cell 16";
    EXPECT_EQ(canvas.glyphs[0].rect, (PixelRect{61, 25, 79, 39}));
    EXPECT_EQ(canvas.glyphs[1].rect, (PixelRect{61, 27, 81, 39}));
}

TEST_F(PaletteStripTest, CellsOutsideTheFileAreWhiteWithAGreyCrossNeverASolidRomColor) {
    StartEditor(IndexedRomBytes(0x110));  // cells 8 to 31 lie past the end
    const PixelCanvas canvas = Paint();
    const PixelRect area = StripColorArea(20);
    int white = 0;
    int grey = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const RgbColor pixel = canvas.At(x, y);
            white += pixel == kNoColorCellFill;
            grey += pixel == kNoColorCellCross;
            ASSERT_TRUE(pixel == kNoColorCellFill || pixel == kNoColorCellCross) << x << "," << y;
        }
    }
    EXPECT_GT(white, grey);
    EXPECT_GE(grey, 2 * (area.bottom - area.top)) << "two diagonals, a pixel in every row";
    for (const PixelRect corner : {PixelRect{401, 1, 403, 2}, PixelRect{417, 1, 419, 2},
                                   PixelRect{401, 38, 403, 39}, PixelRect{417, 38, 419, 39}}) {
        EXPECT_EQ(canvas.At(corner.left, corner.top), kNoColorCellCross) << "the cross reaches every corner";
    }
    EXPECT_NE(ToRgbColor(ToSnesColor(kNoColorCellFill)), kNoColorCellFill) << "no ROM word paints this white";
    EXPECT_EQ(canvas.At(20 * 7 + 5, 20), window->View().ColorCache()[7]) << "cells in the file are solid";
}

TEST_F(PaletteStripTest, ALeftReleaseSelectsTheCellAndMakesItsWordReadAfreshCurrent) {
    StartEditor(IndexedRomBytes(0x400));
    state.rom.WriteColor(0x10A, 0x0000F8);  // cell 5, not yet re-read into the strip
    window->OnLeftButtonUp({165, 240});
    EXPECT_EQ(window->View().Selection(), 5u);
    EXPECT_EQ(window->View().Anchor(), 16u);
    EXPECT_EQ(window->Colors().CurrentColor(), 0x0000F8u) << "from the working copy, not the cache";
    EXPECT_EQ(RgbBoxes(), (std::vector<std::string>{"248", "0", "0"}));
    EXPECT_EQ(StatusLine(), "Editing Offset : 0000010A - In Snes Rgb 31,0,0");
    EXPECT_EQ(fake.focusedControl, ids::kStrip);

    fake.focusedControl = ids::kRedEdit;
    for (const Point outside : {Point{59, 250}, Point{700, 250}, Point{165, 228}, Point{165, 268}}) {
        window->OnLeftButtonUp(outside);
    }
    EXPECT_EQ(window->View().Selection(), 5u);
    EXPECT_EQ(fake.focusedControl, ids::kRedEdit) << "a release that selects nothing keeps the focus";

    window->OnLeftButtonUp({265, 240});
    window->OnLeftButtonUp({265, 240});
    const PixelCanvas canvas = Paint();
    int cell10 = 0;
    for (const auto& glyph : canvas.glyphs) cell10 += glyph.rect.left == 201;
    EXPECT_EQ(cell10, 4) << "selecting cell 10 twice puts \"V\" and \"*\" both there";
}

TEST_F(PaletteStripTest, ARightReleaseInTheBandOpensToolsAtThePointerWhoseChoiceRunsAsACommand) {
    StartEditor(IndexedRomBytes(0x400));
    ClickCell(4);
    ClickCell(8);
    TypeRgb("0", "0", "248");
    window->OnEditKeyUp(ids::kBlueEdit);
    Command(ids::kApplyButton);  // cell 8 pure blue, cell 4 holds 0x0084
    fake.cursor = {900, 600};
    fake.AnswerPopupMenu(ids::kGradientFill);
    window->OnRightButtonUp({57, 250});
    ASSERT_EQ(fake.popupsShown.size(), 1u);
    EXPECT_EQ(fake.popupsShown[0].popupIndex, 1);
    EXPECT_EQ(fake.popupsShown[0].screen, (Point{900, 600}));
    EXPECT_EQ(window->View().Selection(), 8u) << "a right release moves no cursor";
    fake.DeliverPosted();
    EXPECT_EQ(WorkingWord(0x10A), 0x1C63) << "the blend ran: red and green 3, blue 7";

    window->OnRightButtonUp({57, 228});
    window->OnRightButtonUp({400, 268});
    EXPECT_EQ(fake.popupsShown.size(), 1u) << "outside the band nothing opens";
}

TEST(StripHitTest, FixedPixelNumbersMapReleasesToCells) {
    const std::pair<Point, std::optional<std::uint32_t>> rows[] = {
        {{60, 229}, 0u}, {{79, 267}, 0u},  {{80, 240}, 1u},  {{699, 250}, 31u},
        {{59, 250}, {}}, {{700, 250}, {}}, {{727, 250}, {}}, {{65, 228}, {}},
        {{65, 268}, {}}, {{-5, 250}, {}},  {{65, -30}, {}},  {{65536 + 60, 240}, 0u},
    };
    for (const auto& [point, cell] : rows) {
        EXPECT_EQ(StripCellAt(point), cell) << point.x << "," << point.y;
    }
    EXPECT_TRUE(IsInStripBand({57, 250}));
    EXPECT_FALSE(IsInStripBand({57, 228}));
}

}  // namespace
}  // namespace tintwright
