#pragma once

// Where the stripe ROMs (rom/StripeTestRom.s) show each CGRAM colour in the
// frame a core draws, 256 pixels wide and 224 lines high: colour c (1..15)
// of palette row r (0..7), CGRAM index 16 * r + c, fills 16 × 24 pixels from
// (16 * (c - 1), 24 * r); the rest of the frame shows the backdrop, index 0.
// The preview doubles the frame to 512 × 448, so its pixels are these times 2.
// The ROM's rows stand at the label kStripeRowsLabel, index i's word at
// 2 * i bytes after it.

#include <cstdint>
#include <optional>

namespace tintwright::test::stripes {

constexpr int kFrameWidth = 256;
constexpr int kFrameHeight = 224;
constexpr int kStripeWidth = 16;
constexpr int kStripeHeight = 24;
constexpr int kShownRows = 8;  // the BG palettes a 4bpp BG1 can use
constexpr int kShownIndices = 16 * kShownRows;
constexpr const char* kStripeRowsLabel = "StripeRows";

// Whether the frame shows CGRAM index: the backdrop, and colours 1..15 of
// rows 0..7 (colour 0 of a row is transparent).
constexpr bool IsShown(int index) {
    return index == 0 || (index > 0 && index < kShownIndices && index % 16 != 0);
}

// The CGRAM index the frame shows at (x, y).
constexpr int IndexAt(int x, int y) {
    const int column = x / kStripeWidth;
    const int row = y / kStripeHeight;
    if (column >= 15 || row >= kShownRows) return 0;
    return 16 * row + column + 1;
}

struct Pixel {
    int x = 0;
    int y = 0;
};

// A pixel in the middle of index's area, away from its edges; nothing for
// an index the frame does not show.
constexpr std::optional<Pixel> PixelOf(int index) {
    if (!IsShown(index)) return std::nullopt;
    if (index == 0) return Pixel{kFrameWidth - kStripeWidth / 2, kFrameHeight - kStripeHeight / 2};
    return Pixel{(index % 16 - 1) * kStripeWidth + kStripeWidth / 2,
                 index / 16 * kStripeHeight + kStripeHeight / 2};
}

// A word's colour as a core draws it in XRGB8888: each 5-bit channel widened
// by repeating its high bits.
constexpr std::uint32_t DrawnColor(std::uint16_t word) {
    const auto channel = [word](int shift) -> std::uint32_t {
        const std::uint32_t value = (word >> shift) & 31;
        return value << 3 | value >> 2;
    };
    return channel(0) << 16 | channel(5) << 8 | channel(10);
}

}  // namespace tintwright::test::stripes
