#include "palette/AdobeAct.h"

#include <string>

#include "palette/ColorChannels.h"

namespace tintwright {
namespace {

constexpr std::uint32_t kNoTransparentIndex = 0xFFFF;

}  // namespace

Result<PaletteFile> ReadAdobeAct(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kActSize && bytes.size() != kActSizeWithCount)
        return Result<PaletteFile>::Failed("Adobe ACT: expected 768 or 772 bytes, found " +
                                           std::to_string(bytes.size()));
    std::size_t count = kActColors;
    if (bytes.size() == kActSizeWithCount) {
        count = static_cast<std::size_t>(bytes[768]) << 8 | bytes[769];
        if (count == 0 || count > kActColors)
            return Result<PaletteFile>::Failed("Adobe ACT: the count at 768 is " + std::to_string(count) +
                                               ", expected 1-256");
    }
    PaletteFile palette{PaletteFormat::AdobeAct, {}};
    for (std::size_t index = 0; index < count; ++index)
        palette.colors.push_back(FromRgb8({bytes[3 * index], bytes[3 * index + 1], bytes[3 * index + 2]}));
    return palette;
}

std::vector<std::uint8_t> WriteAdobeAct(std::span<const std::uint16_t> colors) {
    std::vector<std::uint8_t> out(kActSize, 0);
    for (std::size_t index = 0; index < colors.size() && index < kActColors; ++index) {
        const Rgb8 color = ToRgb8(colors[index]);
        out[3 * index] = color.red;
        out[3 * index + 1] = color.green;
        out[3 * index + 2] = color.blue;
    }
    if (colors.size() == kActColors) return out;
    for (const std::uint32_t field : {static_cast<std::uint32_t>(colors.size()), kNoTransparentIndex}) {
        out.push_back(static_cast<std::uint8_t>(field >> 8));
        out.push_back(static_cast<std::uint8_t>(field & 0xFF));
    }
    return out;
}

}  // namespace tintwright
