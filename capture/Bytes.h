#pragma once

// What the capture readers share. Every field is read through ByteReader,
// which checks what is left before each read, so a reader cannot look past
// the end of a cut or hostile file.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bytes/ByteReader.h"

namespace tintwright::capture {

using Bytes = std::span<const std::uint8_t>;

inline bool StartsWith(Bytes bytes, std::string_view magic) {
    return ByteReader(bytes).Expect(magic);
}

// The one wording of a field that the data ends inside, so that every reader
// says it alike: "mednafen state: section PPU at byte 812 needs 1024 bytes,
// but the data ends at 1000".
inline std::string Cut(std::string_view format, std::string_view what, std::size_t at, std::size_t needed,
                       std::size_t size) {
    return std::string(format) + ": " + std::string(what) + " at byte " + std::to_string(at) + " needs " +
           std::to_string(needed) + " bytes, but the data ends at " + std::to_string(size);
}

// The same, for a field that reader has yet to read at its position.
inline std::string Cut(std::string_view format, std::string_view what, const ByteReader& reader,
                       std::size_t needed) {
    return Cut(format, what, reader.FileOffset(), needed, reader.FileEnd());
}

// CGRAM is 512 bytes.
inline constexpr std::size_t kCgramBytes = 512;
// No save state of an SNES emulator comes near this once decompressed; a file
// that claims more is broken or hostile.
inline constexpr std::size_t kMaxStateBytes = 16u << 20;

}  // namespace tintwright::capture
