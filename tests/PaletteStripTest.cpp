#include <gtest/gtest.h>

#include <vector>

#include "tests/support/EditorFixture.h"
#include "ui/PaletteStrip.h"

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

TEST_F(PaletteStripTest, EachCellIsFramedInBlackAndFilledWithItsColour) {
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

TEST(StripHitTest, FixedPixelNumbersMapReleasesToCells) {
    const std::pair<Point, std::optional<std::uint32_t>> rows[] = {
        {{60, 229}, 0u},  {{79, 267}, 0u},  {{80, 240}, 1u},  {{699, 250}, 31u},
        {{59, 250}, {}},  {{700, 250}, {}}, {{727, 250}, {}}, {{65, 228}, {}},
        {{65, 268}, {}},  {{-5, 250}, {}},  {{65, -30}, {}},  {{65536 + 60, 240}, 0u},
    };
    for (const auto& [point, cell] : rows) {
        EXPECT_EQ(StripCellAt(point), cell) << point.x << "," << point.y;
    }
    EXPECT_TRUE(IsInStripBand({57, 250}));
    EXPECT_FALSE(IsInStripBand({57, 228}));
}

}  // namespace
}  // namespace tintwright
