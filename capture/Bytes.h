#pragma once

// Small readers of numbers and colours inside a byte span. Callers check the
// bounds first; these never do, so that every check stays visible where the
// length came from.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tintwright::capture {

using Bytes = std::span<const std::uint8_t>;

inline std::uint32_t LittleEndian16(Bytes bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8);
}

inline std::uint32_t LittleEndian32(Bytes bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

inline std::uint64_t LittleEndian64(Bytes bytes, std::size_t at) {
    return LittleEndian32(bytes, at) | static_cast<std::uint64_t>(LittleEndian32(bytes, at + 4)) << 32;
}

inline std::uint32_t BigEndian32(Bytes bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) << 24 | static_cast<std::uint32_t>(bytes[at + 1]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 8 | static_cast<std::uint32_t>(bytes[at + 3]);
}

inline bool StartsWith(Bytes bytes, std::string_view magic) {
    if (bytes.size() < magic.size()) return false;
    for (std::size_t i = 0; i < magic.size(); ++i) {
        if (bytes[i] != static_cast<std::uint8_t>(magic[i])) return false;
    }
    return true;
}

// True when count bytes from at lie inside a span of size bytes, without overflow.
inline bool Fits(std::size_t size, std::size_t at, std::size_t count) {
    return at <= size && count <= size - at;
}

// Words stored low byte first, as CGRAM holds them; a last odd byte is ignored.
inline std::vector<std::uint16_t> LittleEndianWords(Bytes bytes) {
    std::vector<std::uint16_t> words(bytes.size() / 2);
    for (std::size_t i = 0; i < words.size(); ++i)
        words[i] = static_cast<std::uint16_t>(LittleEndian16(bytes, 2 * i));
    return words;
}

inline std::vector<std::uint16_t> BigEndianWords(Bytes bytes) {
    std::vector<std::uint16_t> words(bytes.size() / 2);
    for (std::size_t i = 0; i < words.size(); ++i) {
        words[i] = static_cast<std::uint16_t>(bytes[2 * i] << 8 | bytes[2 * i + 1]);
    }
    return words;
}

// "format: section PPU ends at 812, entry CGRAM needs 512 bytes" reads better
// with plain numbers than with a stream of concatenations at every call.
inline std::string Cut(std::string_view format, std::string_view what, std::size_t at, std::size_t needed,
                       std::size_t size) {
    return std::string(format) + ": " + std::string(what) + " at byte " + std::to_string(at) + " needs " +
           std::to_string(needed) + " bytes, but the data ends at " + std::to_string(size);
}

// CGRAM is 512 bytes.
inline constexpr std::size_t kCgramBytes = 512;
// No save state of an SNES emulator comes near this once decompressed; a file
// that claims more is broken or hostile.
inline constexpr std::size_t kMaxStateBytes = 16u << 20;

}  // namespace tintwright::capture
