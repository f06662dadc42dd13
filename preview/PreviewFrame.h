#pragma once

// Turns what a core hands to its video callback into the one frame the
// preview shows: 0x00RRGGBB, and doubled where the SNES drew at half
// resolution so its pixels stay square-ish: 256 wide becomes 512, up to 240
// lines become twice as many (256 × 224 → 512 × 448, 512 × 224 → 512 × 448,
// 256 × 478 → 512 × 478).

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/Result.h"
#include "preview/PreviewProtocol.h"

namespace tintwright {

// RETRO_PIXEL_FORMAT_* values.
enum class CorePixelFormat { Rgb1555 = 0, Xrgb8888 = 1, Rgb565 = 2 };

// The core's bytes are untrusted: a frame larger than kMaxFrameSide, a pitch
// shorter than a line or bytes that do not hold every line fail.
Result<FrameMessage> NormaliseFrame(std::span<const std::uint8_t> bytes, int width, int height,
                                    std::size_t pitch, CorePixelFormat format);

}  // namespace tintwright
