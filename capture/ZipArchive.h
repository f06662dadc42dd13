#pragma once

// Just enough of the zip format for bsnes's ".bsz" state archives: the
// central directory, and one member's bytes, stored or deflated, checked
// against its CRC-32.

#include <cstdint>
#include <string>
#include <vector>

#include "capture/Bytes.h"
#include "core/Result.h"

namespace tintwright::capture {

struct ZipMember {
    std::string name;
    std::uint16_t method = 0;  // 0 stored, 8 deflated
    std::uint32_t crc = 0;
    std::uint32_t compressedBytes = 0;
    std::uint32_t uncompressedBytes = 0;
    std::uint32_t localHeaderAt = 0;
};

// A zip starts with a member's local header, or, when it holds nothing, with
// its end record.
bool IsZipArchive(Bytes bytes);
// The members in the order of the central directory.
Result<std::vector<ZipMember>> ReadZipDirectory(Bytes archive);
Result<std::vector<std::uint8_t>> ExtractZipMember(Bytes archive, const ZipMember& member, std::size_t limit);

}  // namespace tintwright::capture
