#pragma once

// What the preview window shows and hears, in portable terms: one frame of
// pixels handed over whole, the scale it is shown at, and the keys the
// preview uses.

#include <cstdint>
#include <span>

namespace tintwright {

using PreviewHandle = int;  // 0 never names a preview window

// The largest frame a SNES core draws: 512 pixels wide (high resolution),
// 478 lines high (interlaced with overscan).
inline constexpr int kPreviewMaxWidth = 512;
inline constexpr int kPreviewMaxHeight = 478;

// Pixels as 0x00RRGGBB, row after row from the top, width × height of them.
struct PreviewFrame {
    int width = 0;
    int height = 0;
    std::span<const std::uint32_t> pixels;
};

// Whether a window can show the frame: a size from 1 × 1 up to the largest,
// and at least width × height pixels. Front ends ignore any other frame.
bool IsPresentable(const PreviewFrame& frame);

// How many device pixels each frame pixel takes: 2 for a 256-wide frame and 1
// for a 512-wide one, times the whole part of the screen's device pixel
// ratio, so that every frame pixel stays a square of whole device pixels.
int PreviewScale(int frameWidth, double devicePixelRatio);

// The keys the preview uses: the SNES pad on RetroArch's default keys, and
// the preview's own. Any other key arrives as Other.
enum class PreviewKey {
    Up,
    Down,
    Left,
    Right,
    X,
    Z,
    S,
    A,
    Q,
    W,
    Enter,
    RightShift,
    Space,
    Backspace,
    L,
    Other,
};

}  // namespace tintwright
