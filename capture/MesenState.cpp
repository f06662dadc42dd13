#include "capture/MesenState.h"

#include <string_view>

#include "bytes/PrintableText.h"
#include "capture/Inflate.h"

namespace tintwright {
namespace {

using capture::Bytes;

constexpr std::string_view kFormat = "Mesen2 state";
constexpr std::size_t kVersionsAt = 3;
// Format versions up to 3 kept a 40-byte SHA-1 text after the versions.
constexpr std::uint32_t kLastVersionWithHash = 3;
constexpr std::size_t kHashBytes = 40;
constexpr std::uint32_t kSnesConsole = 0;

// The preamble's fields one after another; the first that the file cuts short
// is the error, and every later read gives nothing.
struct Cursor {
    ByteReader reader;
    std::string error;

    void Fail(std::string_view what, std::size_t count) {
        if (error.empty()) error = capture::Cut(kFormat, what, reader, count);
    }
    std::optional<Bytes> Read(std::size_t count, std::string_view what) {
        const auto field = error.empty() ? reader.ReadBytes(count) : std::nullopt;
        if (!field) Fail(what, count);
        return field;
    }
    std::uint32_t Word(std::string_view what) {
        const auto word = error.empty() ? reader.ReadLittle(4) : std::nullopt;
        if (!word) Fail(what, 4);
        return word.value_or(0);
    }
    void Skip(std::size_t count, std::string_view what) { Read(count, what); }
};

// Steps over the console type, the picture and the ROM name.
void SkipPreamble(Cursor& cursor, std::uint32_t formatVersion) {
    if (formatVersion <= kLastVersionWithHash) cursor.Skip(kHashBytes, "SHA-1");
    const std::uint32_t console = cursor.Word("console type");
    if (cursor.error.empty() && console != kSnesConsole) {
        cursor.error =
            std::string(kFormat) + ": a state of console type " + std::to_string(console) + ", not the SNES";
    }
    cursor.Skip(16, "picture header");
    cursor.Skip(cursor.Word("picture size"), "picture");
    cursor.Skip(cursor.Word("ROM name size"), "ROM name");
}

}  // namespace

bool IsMesenState(Bytes bytes) {
    return capture::StartsWith(bytes, "MSS");
}

Result<Capture> ReadMesenState(Bytes bytes) {
    Cursor cursor{ByteReader(bytes), {}};
    cursor.Skip(kVersionsAt, "signature");
    cursor.Word("emulator version");
    SkipPreamble(cursor, cursor.Word("format version"));
    const auto packed = cursor.Read(1, "state");
    if (!packed) return Result<Capture>::Failed(cursor.error);
    if ((*packed)[0] != 1) return ReadMesenRecords(*cursor.Read(cursor.reader.Remaining(), "state"));
    const std::uint32_t unpackedBytes = cursor.Word("state size");
    const std::uint32_t packedBytes = cursor.Word("packed state size");
    const auto state = cursor.Read(packedBytes, "packed state");
    if (!state) return Result<Capture>::Failed(cursor.error);
    if (unpackedBytes > capture::kMaxStateBytes) {
        return Result<Capture>::Failed(std::string(kFormat) + ": claims a state of " +
                                       std::to_string(unpackedBytes) + " bytes, more than a state holds");
    }
    const auto records = capture::Inflate(*state, capture::DeflateWrapper::Zlib, unpackedBytes);
    if (!records) return Result<Capture>::Failed(std::string(kFormat) + ": " + records.Reason());
    return ReadMesenRecords(*records);
}

Result<Capture> ReadMesenRecords(Bytes records) {
    ByteReader reader(records);
    while (!reader.AtEnd()) {
        const std::size_t at = reader.Position();
        const auto key = reader.ReadZeroEnded();
        if (!key) {
            return Result<Capture>::Failed(std::string(kFormat) + ": record key at byte " +
                                           std::to_string(at) + " has no end");
        }
        const auto size = reader.ReadLittle(4);
        if (!size)
            return Result<Capture>::Failed(
                capture::Cut(kFormat, "size of record " + PrintableText(*key), reader, 4));
        const auto value = reader.ReadBytes(*size);
        if (!value)
            return Result<Capture>::Failed(
                capture::Cut(kFormat, "record " + PrintableText(*key), reader, *size));
        if (*key == "ppu.cgram") {
            if (*size != capture::kCgramBytes) {
                return Result<Capture>::Failed(std::string(kFormat) + ": record ppu.cgram has " +
                                               std::to_string(*size) + " bytes, not 512");
            }
            return Capture{std::string(kFormat), *ByteReader(*value).ReadWords(256, ByteOrder::LittleEndian)};
        }
    }
    return Result<Capture>::Failed(std::string(kFormat) + ": no record ppu.cgram");
}

}  // namespace tintwright
