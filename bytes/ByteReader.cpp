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

std::optional<std::uint64_t> ByteReader::ReadLittle64() {
    if (Remaining() < 8) return std::nullopt;
    const std::uint64_t low = *ReadLittle(4);
    return low | std::uint64_t{*ReadLittle(4)} << 32;
}

std::optional<std::span<const std::uint8_t>> ByteReader::ReadBytes(std::size_t count) {
    if (count > Remaining()) return std::nullopt;
    const auto field = bytes_.subspan(position_, count);
    position_ += count;
    return field;
}

std::optional<std::vector<std::uint16_t>> ByteReader::ReadWords(std::size_t count, ByteOrder order) {
    if (count > Remaining() / 2) return std::nullopt;
    std::vector<std::uint16_t> words(count);
    for (std::uint16_t& word : words)
        word = static_cast<std::uint16_t>(order == ByteOrder::LittleEndian ? *ReadLittle(2) : *ReadBig(2));
    return words;
}

std::optional<ByteReader> ByteReader::ReadPart(std::size_t count) {
    const std::size_t start = FileOffset();
    const auto part = ReadBytes(count);
    if (!part) return std::nullopt;
    return ByteReader(*part, start);
}

std::optional<std::string_view> ByteReader::ReadZeroEnded() {
    const auto rest = bytes_.subspan(position_);
    const auto zero = std::find(rest.begin(), rest.end(), std::uint8_t{0});
    if (zero == rest.end()) return std::nullopt;
    const auto length = static_cast<std::size_t>(zero - rest.begin());
    const std::string_view text(reinterpret_cast<const char*>(rest.data()), length);
    position_ += length + 1;
    return text;
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

bool ByteReader::Seek(std::size_t position) {
    if (position > bytes_.size()) return false;
    position_ = position;
    return true;
}

bool ByteReader::Skip(std::size_t count) {
    return ReadBytes(count).has_value();
}

}  // namespace tintwright
