#include <gtest/gtest.h>

#include "core/SnesColor.h"

namespace tintwright {
namespace {

struct DecodeRow {
    const char* name;
    SnesColor word;
    RgbColor rgb;
};

TEST(SnesColor, DecodesEachChannelWithLowBitsClear) {
    const DecodeRow rows[] = {
        {"white", 0x7FFF, 0x00F8F8F8},         {"bit 15 alone is black", 0x8000, 0x00000000},
        {"full red", 0x001F, 0x000000F8},      {"full green", 0x03E0, 0x0000F800},
        {"full blue", 0x7C00, 0x00F80000},     {"bit 15 ignored with colour", 0x801F, 0x000000F8},
        {"one step each", 0x0421, 0x00080808},
    };
    for (const DecodeRow& row : rows) EXPECT_EQ(ToRgbColor(row.word), row.rgb) << row.name;
}

struct EncodeRow {
    const char* name;
    RgbColor rgb;
    SnesColor word;
};

TEST(SnesColor, EncodesByTruncatingEachChannel) {
    const EncodeRow rows[] = {
        {"full white", 0x00FFFFFF, 0x7FFF},
        {"decoded white", 0x00F8F8F8, 0x7FFF},
        {"near white", 0x00FCFCFC, 0x7FFF},
        {"below one step", 0x00070707, 0x0000},
        {"no-colour value", 0xFFFFFFFF, 0x7FFF},
        {"high byte ignored", 0xAB0000F8, 0x001F},
        {"red 13 green 200 blue 77", 0x004DC80D, static_cast<SnesColor>(1 | 25 << 5 | 9 << 10)},
    };
    for (const EncodeRow& row : rows) EXPECT_EQ(ToSnesColor(row.rgb), row.word) << row.name;
}

TEST(SnesColor, RoundTripsEveryWordAndEveryChannelValue) {
    for (std::uint32_t word = 0; word <= 0xFFFF; ++word) {
        ASSERT_EQ(ToSnesColor(ToRgbColor(static_cast<SnesColor>(word))), word & 0x7FFF) << word;
    }
    for (std::uint32_t value = 0; value < 256; ++value) {
        const RgbColor color =
            MakeRgbColor(static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(255 - value),
                         static_cast<std::uint8_t>(value ^ 0x5A));
        ASSERT_EQ(ToRgbColor(ToSnesColor(color)), color & 0x00F8F8F8) << value;
    }
}

TEST(SnesColor, DisplayComponentsOfNoColorAreAllThirtyOne) {
    const SnesComponents components = DisplayComponents(kNoColor);
    EXPECT_EQ(components.red, 31u);
    EXPECT_EQ(components.green, 31u);
    EXPECT_EQ(components.blue, 31u);
    const SnesComponents mixed = DisplayComponents(0x00100820);
    EXPECT_EQ(mixed.red, 4u);
    EXPECT_EQ(mixed.green, 1u);
    EXPECT_EQ(mixed.blue, 2u);
}

}  // namespace
}  // namespace tintwright
