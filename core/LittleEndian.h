#pragma once

// Little-endian fields of the Windows picture formats, written byte by byte so
// the files come out the same on every machine.

#include <cstdint>
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

}  // namespace tintwright
