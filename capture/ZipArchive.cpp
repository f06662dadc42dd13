#include "capture/ZipArchive.h"

#include <zlib.h>

#include <optional>

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

bool SignatureAt(Bytes bytes, std::size_t at, std::uint32_t signature) {
    ByteReader reader(bytes);
    return reader.Seek(at) && reader.ReadLittle(4) == signature;
}

std::optional<std::size_t> FindEndRecord(Bytes archive) {
    if (archive.size() < kEndBytes) return std::nullopt;
    const std::size_t last = archive.size() - kEndBytes;
    const std::size_t first = last > kLongestComment ? last - kLongestComment : 0;
    for (std::size_t at = last + 1; at-- > first;) {
        if (SignatureAt(archive, at, kEndSignature)) return at;
    }
    return std::nullopt;
}

Result<std::vector<ZipMember>> Failed(std::string reason) {
    return Result<std::vector<ZipMember>>::Failed(std::move(reason));
}

// The fixed fields of a central directory entry (46 bytes: signature,
// versions, flags, method, time, date, CRC-32, both sizes, the lengths of the
// name, extra field and comment, disk, attributes, the local header's offset),
// then the name, the extra field and the comment. The fields are read from a
// part of exactly that size, so none of them can be missing.
std::optional<ZipMember> ReadCentralEntry(ByteReader& directory) {
    auto fixed = directory.ReadPart(kCentralBytes);
    if (!fixed || fixed->ReadLittle(4) != kCentralSignature) return std::nullopt;
    fixed->Skip(6);
    ZipMember member;
    member.method = static_cast<std::uint16_t>(*fixed->ReadLittle(2));
    fixed->Skip(4);
    member.crc = *fixed->ReadLittle(4);
    member.compressedBytes = *fixed->ReadLittle(4);
    member.uncompressedBytes = *fixed->ReadLittle(4);
    const std::size_t nameBytes = *fixed->ReadLittle(2);
    const std::size_t skipped = *fixed->ReadLittle(2) + *fixed->ReadLittle(2);
    fixed->Skip(8);
    member.localHeaderAt = *fixed->ReadLittle(4);
    const auto name = directory.ReadBytes(nameBytes);
    if (!name || !directory.Skip(skipped)) return std::nullopt;
    member.name.assign(name->begin(), name->end());
    return member;
}

}  // namespace

bool IsZipArchive(Bytes bytes) {
    return SignatureAt(bytes, 0, kLocalSignature) || SignatureAt(bytes, 0, kEndSignature);
}

Result<std::vector<ZipMember>> ReadZipDirectory(Bytes archive) {
    const auto end = FindEndRecord(archive);
    if (!end) return Failed("zip: no end of central directory record");
    // Signature, disk numbers, entries on this disk, all entries, the
    // directory's size and its offset, inside the 22 bytes found above.
    ByteReader record(archive.subspan(*end, kEndBytes), *end);
    record.Skip(10);
    const std::size_t count = *record.ReadLittle(2);
    record.Skip(4);
    const std::size_t directoryAt = *record.ReadLittle(4);
    // The directory lies before the end record.
    ByteReader directory(archive.first(*end));
    std::vector<ZipMember> members;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = i == 0 ? directoryAt : directory.Position();
        auto member = directory.Seek(at) ? ReadCentralEntry(directory) : std::nullopt;
        if (!member)
            return Failed(
                Cut("zip", "central directory entry " + std::to_string(i), at, kCentralBytes, *end));
        members.push_back(std::move(*member));
    }
    return members;
}

// The local header's fixed 30 bytes end in the lengths of the name and the
// extra field, which the data follows.
Result<std::vector<std::uint8_t>> ExtractZipMember(Bytes archive, const ZipMember& member,
                                                   std::size_t limit) {
    using Extracted = Result<std::vector<std::uint8_t>>;
    const std::string what = "zip member " + member.name;
    ByteReader reader(archive);
    const std::size_t local = member.localHeaderAt;
    auto header = reader.Seek(local) ? reader.ReadPart(kLocalBytes) : std::nullopt;
    if (!header || header->ReadLittle(4) != kLocalSignature)
        return Extracted::Failed(Cut("zip", what + " header", local, kLocalBytes, archive.size()));
    header->Skip(22);
    const std::size_t skipped = *header->ReadLittle(2) + *header->ReadLittle(2);
    const std::size_t dataAt = local + kLocalBytes + skipped;
    const auto data = reader.Skip(skipped) ? reader.ReadBytes(member.compressedBytes) : std::nullopt;
    if (!data) return Extracted::Failed(Cut("zip", what, dataAt, member.compressedBytes, archive.size()));
    if (member.uncompressedBytes > limit) return Extracted::Failed(what + " is larger than a state can be");
    std::vector<std::uint8_t> extracted;
    if (member.method == 0) {
        extracted.assign(data->begin(), data->end());
    } else if (member.method == 8) {
        auto inflated = Inflate(*data, DeflateWrapper::Raw, member.uncompressedBytes);
        if (!inflated) return Extracted::Failed(what + ": " + inflated.Reason());
        extracted = std::move(*inflated);
    } else {
        return Extracted::Failed(what + " uses compression method " + std::to_string(member.method) +
                                 ", not stored or deflate");
    }
    const auto crc = crc32(0L, extracted.data(), static_cast<uInt>(extracted.size()));
    if (extracted.size() != member.uncompressedBytes || crc != member.crc)
        return Extracted::Failed(what + " does not match its size and CRC-32");
    return extracted;
}

}  // namespace tintwright::capture
