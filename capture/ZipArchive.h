#pragma once

// Just enough of the zip format for bsnes's ".bsz" state archives: the
// central directory, and one member's bytes, stored or deflated, checked
// against its CRC-32.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "capture/Bytes.h"

namespace tintwright::capture {

struct ZipMember {
    std::string name;
    std::uint16_t method = 0;  // 0 stored, 8 deflated
    std::uint32_t crc = 0;
    std::uint32_t compressedBytes = 0;
    std::uint32_t uncompressedBytes = 0;
    std::uint32_t localHeaderAt = 0;
};

struct ZipDirectory {
    std::vector<ZipMember> members;  // in the order of the central directory
    std::string error;
};

struct ZipExtracted {
    std::vector<std::uint8_t> bytes;
    std::string error;
};

bool IsZipArchive(Bytes bytes);
ZipDirectory ReadZipDirectory(Bytes archive);
ZipExtracted ExtractZipMember(Bytes archive, const ZipMember& member, std::size_t limit);

}  // namespace tintwright::capture
