#pragma once

// The one place where palette files' 8-bit channels meet the SNES's 5-bit ones.
// Export repeats a channel's top bits into the bottom three, so 31 becomes 255
// as image editors expect for full brightness; import keeps the top five bits.
// Every SNES colour survives export then import unchanged. The editor's own
// display codec (core/SnesColor.h) truncates instead, on purpose: that is what
// its users see on the strip, and it is not a file format.

#include <cstdint>

namespace tintwright {

struct Rgb8 {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

constexpr std::uint8_t ExpandChannel(unsigned fiveBits) {
    return static_cast<std::uint8_t>((fiveBits << 3) | (fiveBits >> 2));
}

constexpr unsigned ReduceChannel(std::uint8_t eightBits) {
    return eightBits >> 3;
}

constexpr Rgb8 ToRgb8(std::uint16_t word) {
    return {ExpandChannel(word & 0x1Fu), ExpandChannel((word >> 5) & 0x1Fu),
            ExpandChannel((word >> 10) & 0x1Fu)};
}

constexpr std::uint16_t FromRgb8(Rgb8 color) {
    return static_cast<std::uint16_t>(ReduceChannel(color.red) | ReduceChannel(color.green) << 5 |
                                      ReduceChannel(color.blue) << 10);
}

}  // namespace tintwright
