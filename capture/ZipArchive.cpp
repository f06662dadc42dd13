#include "capture/ZipArchive.h"

#include <zlib.h>

#include "capture/Inflate.h"

namespace tintwright::capture {
namespace {

constexpr std::uint32_t kEndSignature = 0x06054B50;
constexpr std::uint32_t kCentralSignature = 0x02014B50;
constexpr std::uint32_t kLocalSignature = 0x04034B50;
constexpr std::size_t kEndBytes = 22;
constexpr std::size_t kCentralBytes = 46;
constexpr std::size_t kLocalBytes = 30;
// The end record may be followed by a comment of up to 65535 bytes.
constexpr std::size_t kLongestComment = 0xFFFF;

std::optional<std::size_t> FindEndRecord(Bytes archive) {
    if (archive.size() < kEndBytes) return std::nullopt;
    const std::size_t last = archive.size() - kEndBytes;
    const std::size_t first = last > kLongestComment ? last - kLongestComment : 0;
    for (std::size_t at = last + 1; at-- > first;) {
        if (LittleEndian32(archive, at) == kEndSignature) return at;
    }
    return std::nullopt;
}

std::string NameAt(Bytes archive, std::size_t at, std::size_t length) {
    return std::string(reinterpret_cast<const char*>(archive.data() + at), length);
}

}  // namespace

bool IsZipArchive(Bytes bytes) {
    return bytes.size() >= 4 && LittleEndian32(bytes, 0) == kLocalSignature;
}

ZipDirectory ReadZipDirectory(Bytes archive) {
    const auto end = FindEndRecord(archive);
    if (!end) return {{}, "zip: no end of central directory record"};
    const std::size_t count = LittleEndian16(archive, *end + 10);
    std::size_t at = LittleEndian32(archive, *end + 16);
    ZipDirectory directory;
    for (std::size_t i = 0; i < count; ++i) {
        if (!Fits(*end, at, kCentralBytes) || LittleEndian32(archive, at) != kCentralSignature) {
            return {{}, Cut("zip", "central directory entry " + std::to_string(i), at, kCentralBytes, *end)};
        }
        const std::size_t nameBytes = LittleEndian16(archive, at + 28);
        const std::size_t skipped = LittleEndian16(archive, at + 30) + LittleEndian16(archive, at + 32);
        if (!Fits(*end, at + kCentralBytes, nameBytes + skipped)) {
            return {{},
                    Cut("zip", "central directory entry " + std::to_string(i), at, kCentralBytes + nameBytes,
                        *end)};
        }
        directory.members.push_back({NameAt(archive, at + kCentralBytes, nameBytes),
                                     static_cast<std::uint16_t>(LittleEndian16(archive, at + 10)),
                                     LittleEndian32(archive, at + 16), LittleEndian32(archive, at + 20),
                                     LittleEndian32(archive, at + 24), LittleEndian32(archive, at + 42)});
        at += kCentralBytes + nameBytes + skipped;
    }
    return directory;
}

ZipExtracted ExtractZipMember(Bytes archive, const ZipMember& member, std::size_t limit) {
    const std::size_t local = member.localHeaderAt;
    const std::string what = "zip member " + member.name;
    if (!Fits(archive.size(), local, kLocalBytes) || LittleEndian32(archive, local) != kLocalSignature) {
        return {{}, Cut("zip", what + " header", local, kLocalBytes, archive.size())};
    }
    const std::size_t dataAt =
        local + kLocalBytes + LittleEndian16(archive, local + 26) + LittleEndian16(archive, local + 28);
    if (!Fits(archive.size(), dataAt, member.compressedBytes)) {
        return {{}, Cut("zip", what, dataAt, member.compressedBytes, archive.size())};
    }
    if (member.uncompressedBytes > limit) return {{}, what + " is larger than a state can be"};
    const Bytes data = archive.subspan(dataAt, member.compressedBytes);
    ZipExtracted extracted;
    if (member.method == 0) {
        extracted.bytes.assign(data.begin(), data.end());
    } else if (member.method == 8) {
        Inflated inflated = Inflate(data, DeflateWrapper::Raw, member.uncompressedBytes);
        if (!inflated.error.empty()) return {{}, what + ": " + inflated.error};
        extracted.bytes = std::move(inflated.bytes);
    } else {
        return {
            {},
            what + " uses compression method " + std::to_string(member.method) + ", not stored or deflate"};
    }
    const auto crc = crc32(0L, extracted.bytes.data(), static_cast<uInt>(extracted.bytes.size()));
    if (extracted.bytes.size() != member.uncompressedBytes || crc != member.crc) {
        return {{}, what + " does not match its size and CRC-32"};
    }
    return extracted;
}

}  // namespace tintwright::capture
