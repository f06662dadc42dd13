#include "palette/RawBgr555.h"

#include <string>

#include "core/LittleEndian.h"

namespace tintwright {

bool LooksLikeRawBgr555(std::span<const std::uint8_t> bytes) {
    return !bytes.empty() && bytes.size() % 2 == 0 && bytes.size() <= 2 * kRawMaxColors;
}

Result<PaletteFile> ReadRawBgr555(std::span<const std::uint8_t> bytes) {
    if (!LooksLikeRawBgr555(bytes))
        return Result<PaletteFile>::Failed(
            "raw BGR555: expected an even number of bytes from 2 to 512, found " +
            std::to_string(bytes.size()));
    return PaletteFile{PaletteFormat::RawBgr555, LittleEndianWords(bytes)};
}

std::vector<std::uint8_t> WriteRawBgr555(std::span<const std::uint16_t> colors) {
    std::vector<std::uint8_t> out;
    for (const std::uint16_t word : colors) PutU16(out, word);
    return out;
}

}  // namespace tintwright
