#pragma once

// The colour picker picture: a hue sweep across, fading to grey downward.
// Computed rather than stored so every front end shows exactly the same pixels.

#include <cstdint>
#include <vector>

namespace tintwright {

inline constexpr int kPickerWidth = 320, kPickerHeight = 120;

struct Rgb8 {
    std::uint8_t red, green, blue;
};

// Row 0 is the top row. Arguments outside the picture are clamped to its edge.
Rgb8 PickerPixel(int column, int row);

// The picture as a complete Windows .bmp file (24 bits per pixel, bottom-up).
std::vector<std::uint8_t> MakePickerBmp();

}  // namespace tintwright
