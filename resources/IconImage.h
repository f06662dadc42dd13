#pragma once

// The program's icon: four small diamonds (red top, green left, blue right,
// yellow bottom) that together form one large diamond on a transparent ground.
// Computed rather than stored so every front end shows exactly the same pixels.

#include <cstdint>
#include <vector>

namespace tintwright {

struct Rgba8 {
    std::uint8_t red, green, blue, alpha;
};

// Pixel (x, y) of the square image of the given size (16 or 32), y = 0 at the
// top. Pixels outside the image are transparent.
Rgba8 IconPixel(int size, int x, int y);

// A complete Windows .ico file with a 16 x 16 and a 32 x 32 image, each a
// 256-colour DIB with its transparency mask.
std::vector<std::uint8_t> MakeIconFile();

}  // namespace tintwright
