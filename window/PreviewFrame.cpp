#include "window/PreviewFrame.h"

namespace tintwright {

bool IsPresentable(const PreviewFrame& frame) {
    if (frame.width < 1 || frame.width > kPreviewMaxWidth) return false;
    if (frame.height < 1 || frame.height > kPreviewMaxHeight) return false;
    return frame.pixels.size() >=
           static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height);
}

// Frames wider than 256 are high-resolution ones, already twice as wide.
int PreviewScale(int frameWidth, double devicePixelRatio) {
    const int base = frameWidth > 256 ? 1 : 2;
    // No screen comes near 16 device pixels to one; the bound keeps the cast defined.
    const int whole =
        devicePixelRatio >= 1.0 && devicePixelRatio < 16.0 ? static_cast<int>(devicePixelRatio) : 1;
    return base * whole;
}

}  // namespace tintwright
