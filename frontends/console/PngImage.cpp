#include "frontends/console/PngImage.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace tintwright {
namespace {

void Append(void* context, void* data, int size) {
    auto* bytes = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* first = static_cast<const std::uint8_t*>(data);
    bytes->insert(bytes->end(), first, first + size);
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const FrameMessage& frame) {
    std::vector<std::uint8_t> rgb;
    rgb.reserve(frame.pixels.size() * 3);
    for (const std::uint32_t pixel : frame.pixels) {
        rgb.push_back(static_cast<std::uint8_t>(pixel >> 16));
        rgb.push_back(static_cast<std::uint8_t>(pixel >> 8));
        rgb.push_back(static_cast<std::uint8_t>(pixel));
    }
    std::vector<std::uint8_t> png;
    stbi_write_png_to_func(Append, &png, frame.width, frame.height, 3, rgb.data(), frame.width * 3);
    return png;
}

}  // namespace tintwright
