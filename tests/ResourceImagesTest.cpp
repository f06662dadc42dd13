#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "resources/IconImage.h"
#include "resources/PickerImage.h"

namespace tintwright {
namespace {

std::uint32_t ReadU16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes.at(at) | static_cast<std::uint32_t>(bytes.at(at + 1)) << 8;
}

std::uint32_t ReadU32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return ReadU16(bytes, at) | ReadU16(bytes, at + 2) << 16;
}

int MaxChannel(Rgb8 c) {
    return std::max({c.red, c.green, c.blue});
}
int MinChannel(Rgb8 c) {
    return std::min({c.red, c.green, c.blue});
}

// Streamed rather than concatenated: GCC 12 raises a false -Wrestrict on
// chained std::string additions in optimised builds.
std::string Describe(Rgb8 c) {
    std::ostringstream text;
    text << '(' << int{c.red} << ", " << int{c.green} << ", " << int{c.blue} << ')';
    return text.str();
}

// ---- Picker picture ------------------------------------------------------

TEST(PickerPixel, TopRowPassesThroughTheSixHues) {
    struct Landmark {
        const char* hue;
        int column;
        Rgb8 expected;
    };
    const Landmark landmarks[] = {
        {"red", 0, {255, 0, 0}},          {"yellow", 53, {255, 255, 0}}, {"green", 107, {0, 255, 0}},
        {"cyan", 160, {0, 255, 255}},     {"blue", 213, {0, 0, 255}},    {"magenta", 267, {255, 0, 255}},
        {"bluish red", 319, {255, 0, 0}},
    };
    constexpr int kTolerance = 8;
    for (const Landmark& landmark : landmarks) {
        SCOPED_TRACE(testing::Message() << landmark.hue << " at column " << landmark.column);
        const Rgb8 got = PickerPixel(landmark.column, 0);
        EXPECT_NEAR(got.red, landmark.expected.red, kTolerance) << Describe(got);
        EXPECT_NEAR(got.green, landmark.expected.green, kTolerance) << Describe(got);
        EXPECT_NEAR(got.blue, landmark.expected.blue, kTolerance) << Describe(got);
    }
    // The sweep stops just short of pure red: the last column keeps a little blue.
    const Rgb8 last = PickerPixel(kPickerWidth - 1, 0);
    EXPECT_GT(last.blue, 0);
    EXPECT_EQ(last.green, 0);
}

TEST(PickerPixel, HueChangesSmoothlyAcrossTheRowAndWrapsAround) {
    for (int column = 0; column < kPickerWidth; ++column) {
        const Rgb8 here = PickerPixel(column, 0);
        const Rgb8 next = PickerPixel((column + 1) % kPickerWidth, 0);
        SCOPED_TRACE(testing::Message()
                     << "column " << column << " " << Describe(here) << " -> " << Describe(next));
        EXPECT_LE(std::abs(here.red - next.red), 5);
        EXPECT_LE(std::abs(here.green - next.green), 5);
        EXPECT_LE(std::abs(here.blue - next.blue), 5);
    }
}

TEST(PickerPixel, EveryColumnFadesFromSaturatedToNearGrey) {
    for (int column = 0; column < kPickerWidth; ++column) {
        SCOPED_TRACE(testing::Message() << "column " << column);
        const Rgb8 top = PickerPixel(column, 0);
        EXPECT_EQ(MaxChannel(top), 255) << Describe(top);
        EXPECT_EQ(MinChannel(top), 0) << Describe(top);

        const Rgb8 bottom = PickerPixel(column, kPickerHeight - 1);
        EXPECT_GE(MinChannel(bottom), 119) << Describe(bottom);
        EXPECT_LE(MaxChannel(bottom), 136) << Describe(bottom);

        for (int row = 1; row < kPickerHeight; ++row) {
            const Rgb8 above = PickerPixel(column, row - 1);
            const Rgb8 here = PickerPixel(column, row);
            const std::uint8_t Rgb8::*channels[] = {&Rgb8::red, &Rgb8::green, &Rgb8::blue};
            for (const auto channel : channels) {
                // Each channel only ever moves toward mid grey, and slowly.
                const double before = std::abs(above.*channel - 127.5);
                const double after = std::abs(here.*channel - 127.5);
                EXPECT_LE(after, before)
                    << "row " << row << " " << Describe(above) << " -> " << Describe(here);
                EXPECT_LE(std::abs(above.*channel - here.*channel), 2) << "row " << row;
            }
        }
    }
}

// ---- Picker .bmp file ------------------------------------------------------

TEST(PickerBmp, HeaderDescribesAnUncompressedBottomUp24BitImage) {
    const std::vector<std::uint8_t> bmp = MakePickerBmp();
    ASSERT_EQ(bmp.size(), 54u + 115200u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');

    struct Field {
        const char* name;
        std::size_t offset;
        int bytes;
        std::uint32_t expected;
    };
    const Field fields[] = {
        {"file size", 2, 4, 54 + 115200}, {"pixel offset", 10, 4, 54},
        {"info header size", 14, 4, 40},  {"width", 18, 4, 320},
        {"height", 22, 4, 120},           {"planes", 26, 2, 1},
        {"bits per pixel", 28, 2, 24},    {"compression", 30, 4, 0},
    };
    for (const Field& field : fields) {
        const std::uint32_t got = field.bytes == 2 ? ReadU16(bmp, field.offset) : ReadU32(bmp, field.offset);
        EXPECT_EQ(got, field.expected) << field.name;
    }
}

TEST(PickerBmp, EveryPixelReadsBackThroughTheBottomUpLayout) {
    const std::vector<std::uint8_t> bmp = MakePickerBmp();
    ASSERT_EQ(bmp.size(), 54u + 115200u);
    int mismatches = 0;
    for (int row = 0; row < kPickerHeight; ++row) {
        for (int column = 0; column < kPickerWidth; ++column) {
            const std::size_t at = 54 + static_cast<std::size_t>(kPickerHeight - 1 - row) * 960 + column * 3;
            const Rgb8 want = PickerPixel(column, row);
            if (bmp[at] != want.blue || bmp[at + 1] != want.green || bmp[at + 2] != want.red) {
                if (++mismatches <= 5) ADD_FAILURE() << "pixel (" << column << ", " << row << ") differs";
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// ---- Icon .ico file ------------------------------------------------------

struct DecodedPixel {
    Rgb8 color;
    bool transparent;
};

// Reads pixel (x, y), y = 0 at the top, of the DIB image starting at `image`.
DecodedPixel DecodeIconPixel(const std::vector<std::uint8_t>& ico, std::size_t image, int size, int x,
                             int y) {
    const std::size_t palette = image + 40;
    const std::size_t xorRows = palette + 256 * 4;
    const std::size_t xorRowBytes = (size * 8 + 31) / 32 * 4;
    const std::size_t andRows = xorRows + xorRowBytes * size;
    const std::size_t andRowBytes = (size + 31) / 32 * 4;
    const int storedRow = size - 1 - y;

    const std::uint8_t index = ico.at(xorRows + storedRow * xorRowBytes + x);
    const std::size_t entry = palette + index * 4u;
    const Rgb8 color{ico.at(entry + 2), ico.at(entry + 1), ico.at(entry)};
    const std::uint8_t maskByte = ico.at(andRows + storedRow * andRowBytes + x / 8);
    return {color, (maskByte & (0x80u >> (x % 8))) != 0};
}

struct IconEntry {
    int size;
    std::size_t offset;
};

std::vector<IconEntry> ParseIconDirectory(const std::vector<std::uint8_t>& ico) {
    std::vector<IconEntry> entries;
    EXPECT_EQ(ReadU16(ico, 0), 0u) << "reserved";
    EXPECT_EQ(ReadU16(ico, 2), 1u) << "type icon";
    const std::uint32_t count = ReadU16(ico, 4);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t at = 6 + 16 * i;
        const int size = ico.at(at);
        EXPECT_EQ(ico.at(at + 1), size) << "square";
        EXPECT_EQ(ico.at(at + 2), 0) << "0 stands for 256 colours";
        EXPECT_EQ(ReadU16(ico, at + 4), 1u) << "planes";
        EXPECT_EQ(ReadU16(ico, at + 6), 8u) << "bit count";
        const std::uint32_t bytes = ReadU32(ico, at + 8);
        const std::uint32_t offset = ReadU32(ico, at + 12);
        EXPECT_LE(std::size_t{offset} + bytes, ico.size()) << "entry " << i << " inside the file";
        const std::size_t expectedBytes = 40 + 1024 + size * size + (size + 31) / 32 * 4 * size;
        EXPECT_EQ(bytes, expectedBytes) << "entry " << i;
        entries.push_back({size, offset});
    }
    return entries;
}

TEST(IconFile, DirectoryHoldsA16AndA32Pixel256ColorImage) {
    const std::vector<std::uint8_t> ico = MakeIconFile();
    const std::vector<IconEntry> entries = ParseIconDirectory(ico);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].size, 16);
    EXPECT_EQ(entries[1].size, 32);
    for (const IconEntry& entry : entries) {
        SCOPED_TRACE(testing::Message() << "size " << entry.size);
        EXPECT_EQ(ReadU32(ico, entry.offset), 40u) << "BITMAPINFOHEADER";
        EXPECT_EQ(ReadU32(ico, entry.offset + 4), static_cast<std::uint32_t>(entry.size));
        EXPECT_EQ(ReadU32(ico, entry.offset + 8), static_cast<std::uint32_t>(2 * entry.size))
            << "doubled height";
        EXPECT_EQ(ReadU16(ico, entry.offset + 12), 1u) << "planes";
        EXPECT_EQ(ReadU16(ico, entry.offset + 14), 8u) << "bits per pixel";
        EXPECT_EQ(ReadU32(ico, entry.offset + 16), 0u) << "uncompressed";
    }
}

enum class Dominant { Red, Green, Blue, Yellow };

bool Shows(Rgb8 c, Dominant hue) {
    constexpr int kMargin = 80;
    switch (hue) {
        case Dominant::Red:
            return c.red > c.green + kMargin && c.red > c.blue + kMargin;
        case Dominant::Green:
            return c.green > c.red + kMargin && c.green > c.blue + kMargin;
        case Dominant::Blue:
            return c.blue > c.red + kMargin && c.blue > c.green + kMargin;
        case Dominant::Yellow:
            return c.red > c.blue + kMargin && c.green > c.blue + kMargin &&
                   std::abs(c.red - c.green) < kMargin;
    }
    return false;
}

TEST(IconFile, EachImageShowsFourColoredDiamondsOnATransparentGround) {
    const std::vector<std::uint8_t> ico = MakeIconFile();
    const std::vector<IconEntry> entries = ParseIconDirectory(ico);
    ASSERT_EQ(entries.size(), 2u);
    for (const IconEntry& entry : entries) {
        const int n = entry.size;
        SCOPED_TRACE(testing::Message() << "size " << n);
        struct Spot {
            const char* name;
            int x, y;
            Dominant hue;
        };
        const Spot diamonds[] = {
            {"top", n / 2, n / 4, Dominant::Red},
            {"left", n / 4, n / 2, Dominant::Green},
            {"right", 3 * n / 4, n / 2, Dominant::Blue},
            {"bottom", n / 2, 3 * n / 4, Dominant::Yellow},
        };
        for (const Spot& spot : diamonds) {
            const DecodedPixel pixel = DecodeIconPixel(ico, entry.offset, n, spot.x, spot.y);
            EXPECT_FALSE(pixel.transparent) << spot.name;
            EXPECT_TRUE(Shows(pixel.color, spot.hue)) << spot.name << " " << Describe(pixel.color);
        }
        const int corners[][2] = {{0, 0}, {n - 1, 0}, {0, n - 1}, {n - 1, n - 1}};
        for (const auto& corner : corners) {
            EXPECT_TRUE(DecodeIconPixel(ico, entry.offset, n, corner[0], corner[1]).transparent)
                << "corner (" << corner[0] << ", " << corner[1] << ")";
        }
    }
}

TEST(IconFile, EveryPixelAndMaskBitReadsBackAsDrawn) {
    const std::vector<std::uint8_t> ico = MakeIconFile();
    for (const IconEntry& entry : ParseIconDirectory(ico)) {
        const int n = entry.size;
        int mismatches = 0;
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                const Rgba8 drawn = IconPixel(n, x, y);
                const DecodedPixel read = DecodeIconPixel(ico, entry.offset, n, x, y);
                // The mask is one bit: partial alpha would be silently lost.
                const bool clear = drawn.alpha == 0;
                const bool opaque = drawn.alpha == 255;
                // Under a transparent pixel the colour must be black, or the
                // XOR step would tint the screen behind the icon.
                const Rgb8 want = clear ? Rgb8{0, 0, 0} : Rgb8{drawn.red, drawn.green, drawn.blue};
                const bool same = (clear || opaque) && read.transparent == clear &&
                                  read.color.red == want.red && read.color.green == want.green &&
                                  read.color.blue == want.blue;
                if (!same && ++mismatches <= 5) {
                    ADD_FAILURE() << "size " << n << " pixel (" << x << ", " << y << ") reads "
                                  << Describe(read.color) << (read.transparent ? " clear" : " opaque");
                }
            }
        }
        EXPECT_EQ(mismatches, 0) << "size " << n;
    }
}

}  // namespace
}  // namespace tintwright
