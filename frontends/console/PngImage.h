#pragma once

#include <cstdint>
#include <vector>

#include "preview/PreviewProtocol.h"

namespace tintwright {

// The frame as a PNG file's bytes, 8 bits per channel, no alpha.
std::vector<std::uint8_t> EncodePng(const FrameMessage& frame);

}  // namespace tintwright
