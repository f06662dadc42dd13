#pragma once

// The ROM's 16-bit colour word and the 0x00BBGGRR colour the window system
// paints with. The conversions truncate on purpose: a colour applied to the ROM
// and read back loses the low three bits of each channel, and users see that.

#include <cstdint>

namespace tintwright {

using SnesColor = std::uint16_t;  // bits 0-4 red, 5-9 green, 10-14 blue; bit 15 ignored
using RgbColor = std::uint32_t;   // 0x00BBGGRR

// What ReadColor gives for an offset outside the file. Not a real colour.
inline constexpr RgbColor kNoColor = 0xFFFFFFFFu;
// What the window system gives for a pixel it cannot read, such as one off the
// screen. It shares the no-colour value on purpose: the screen tracker compares
// it with the cells like any colour, and it equals the cells outside the file.
inline constexpr RgbColor kUnreadablePixel = kNoColor;

constexpr RgbColor ToRgbColor(SnesColor word) {
    const RgbColor red = static_cast<RgbColor>(word & 0x1Fu) << 3;
    const RgbColor green = static_cast<RgbColor>((word >> 5) & 0x1Fu) << 3;
    const RgbColor blue = static_cast<RgbColor>((word >> 10) & 0x1Fu) << 3;
    return blue << 16 | green << 8 | red;
}

constexpr SnesColor ToSnesColor(RgbColor color) {
    const unsigned red5 = (color & 0xFFu) >> 3;
    const unsigned green5 = ((color >> 8) & 0xFFu) >> 3;
    const unsigned blue5 = ((color >> 16) & 0xFFu) >> 3;
    return static_cast<SnesColor>(red5 | green5 << 5 | blue5 << 10);
}

constexpr std::uint8_t RedOf(RgbColor color) {
    return static_cast<std::uint8_t>(color & 0xFFu);
}
constexpr std::uint8_t GreenOf(RgbColor color) {
    return static_cast<std::uint8_t>((color >> 8) & 0xFFu);
}
constexpr std::uint8_t BlueOf(RgbColor color) {
    return static_cast<std::uint8_t>((color >> 16) & 0xFFu);
}

constexpr RgbColor MakeRgbColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<RgbColor>(blue) << 16 | static_cast<RgbColor>(green) << 8 | red;
}

// The colour's channels in SNES units (0..31), as the status line shows them.
struct SnesComponents {
    unsigned red;
    unsigned green;
    unsigned blue;
};

constexpr SnesComponents DisplayComponents(RgbColor color) {
    return {static_cast<unsigned>(RedOf(color)) >> 3, static_cast<unsigned>(GreenOf(color)) >> 3,
            static_cast<unsigned>(BlueOf(color)) >> 3};
}

}  // namespace tintwright
