#include "bytes/ByteReader.h"

#include <algorithm>

namespace tintwright {

std::optional<std::uint32_t> ByteReader::ReadLittle(std::size_t width) {
    if (width > 4) return std::nullopt;
    const auto field = ReadBytes(width);
    if (!field) return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t index = width; index-- > 0;) value = value << 8 | (*field)[index];
    return value;
}

std::optional<std::uint32_t> ByteReader::ReadBig(std::size_t width) {
    if (width > 4) return std::nullopt;
    const auto field = ReadBytes(width);
    if (!field) return std::nullopt;
    std::uint32_t value = 0;
    for (const std::uint8_t byte : *field) value = value << 8 | byte;
    return value;
}

std::optional<std::span<const std::uint8_t>> ByteReader::ReadBytes(std::size_t count) {
    if (count > Remaining()) return std::nullopt;
    const auto field = bytes_.subspan(position_, count);
    position_ += count;
    return field;
}

bool ByteReader::Expect(std::string_view text) {
    if (text.size() > Remaining()) return false;
    if (!std::equal(
            text.begin(), text.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(position_),
            [](char expected, std::uint8_t byte) { return static_cast<std::uint8_t>(expected) == byte; }))
        return false;
    position_ += text.size();
    return true;
}

}  // namespace tintwright
