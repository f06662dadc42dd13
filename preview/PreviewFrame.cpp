#include "preview/PreviewFrame.h"

#include <algorithm>
#include <string>

namespace tintwright {
namespace {

std::uint32_t Expand5(std::uint32_t v) {
    return v << 3 | v >> 2;
}

std::uint32_t PixelAt(const std::uint8_t* p, CorePixelFormat format) {
    switch (format) {
        case CorePixelFormat::Xrgb8888:
            return (std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16) & 0xFFFFFFu;
        case CorePixelFormat::Rgb565: {
            const std::uint32_t v = std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8;
            const std::uint32_t g = v >> 5 & 0x3F;
            return Expand5(v >> 11 & 0x1F) << 16 | (g << 2 | g >> 4) << 8 | Expand5(v & 0x1F);
        }
        case CorePixelFormat::Rgb1555:
        default: {
            const std::uint32_t v = std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8;
            return Expand5(v >> 10 & 0x1F) << 16 | Expand5(v >> 5 & 0x1F) << 8 | Expand5(v & 0x1F);
        }
    }
}

}  // namespace

Result<FrameMessage> NormaliseFrame(std::span<const std::uint8_t> bytes, int width, int height,
                                    std::size_t pitch, CorePixelFormat format) {
    const std::size_t pixelBytes = format == CorePixelFormat::Xrgb8888 ? 4 : 2;
    const std::string size = std::to_string(width) + " × " + std::to_string(height);
    if (width <= 0 || height <= 0 || width > kMaxFrameSide || height > kMaxFrameSide)
        return Result<FrameMessage>::Failed("the core drew a frame of " + size + " pixels");
    const auto lineBytes = static_cast<std::size_t>(width) * pixelBytes;
    if (pitch < lineBytes || (static_cast<std::size_t>(height) - 1) * pitch + lineBytes > bytes.size())
        return Result<FrameMessage>::Failed("the core's frame of " + size +
                                            " pixels does not fit its pitch of " + std::to_string(pitch) +
                                            " bytes");
    const int across = width <= 256 ? 2 : 1;
    const int down = height <= 240 ? 2 : 1;
    FrameMessage frame;
    frame.width = width * across;
    frame.height = height * down;
    frame.pixels.resize(static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height));
    std::size_t out = 0;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* line = bytes.data() + static_cast<std::size_t>(y) * pitch;
        const std::size_t lineStart = out;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel = PixelAt(line + static_cast<std::size_t>(x) * pixelBytes, format);
            for (int i = 0; i < across; ++i) frame.pixels[out++] = pixel;
        }
        for (int i = 1; i < down; ++i) {
            std::copy_n(frame.pixels.begin() + static_cast<std::ptrdiff_t>(lineStart), frame.width,
                        frame.pixels.begin() + static_cast<std::ptrdiff_t>(out));
            out += static_cast<std::size_t>(frame.width);
        }
    }
    return frame;
}

}  // namespace tintwright
