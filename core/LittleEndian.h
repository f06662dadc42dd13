#pragma once

// Little-endian fields, as the SNES stores its words and the Windows picture
// formats their numbers, read and written byte by byte so that files come out
// the same on every machine. These take offsets the caller has already
// checked (a ROM offset below its size); untrusted files are read through
// bytes/ByteReader, which checks every field.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tintwright {

inline void PutU16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFFu));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFFu));
}

inline void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    PutU16(out, value & 0xFFFFu);
    PutU16(out, value >> 16);
}

// The word at bytes[at] and bytes[at + 1].
inline std::uint16_t GetU16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

inline void SetU16(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value & 0xFFu);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

// Every whole word of bytes in order; a last odd byte is left out.
inline std::vector<std::uint16_t> LittleEndianWords(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint16_t> words(bytes.size() / 2);
    for (std::size_t i = 0; i < words.size(); ++i) words[i] = GetU16(bytes, 2 * i);
    return words;
}

}  // namespace tintwright
