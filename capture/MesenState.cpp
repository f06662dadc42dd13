#include "capture/MesenState.h"

#include <string_view>

#include "capture/Inflate.h"

namespace tintwright {
namespace {

using capture::Bytes;
using capture::Fits;
using capture::LittleEndian32;

constexpr std::string_view kFormat = "Mesen2 state";
constexpr std::size_t kVersionsAt = 3;
// Format versions up to 3 kept a 40-byte SHA-1 text after the versions.
constexpr std::uint32_t kLastVersionWithHash = 3;
constexpr std::size_t kHashBytes = 40;
constexpr std::uint32_t kSnesConsole = 0;

struct Cursor {
    Bytes bytes;
    std::size_t at = 0;
    std::string error;

    bool Need(std::size_t count, std::string_view what) {
        if (!error.empty()) return false;
        if (Fits(bytes.size(), at, count)) return true;
        error = capture::Cut(kFormat, what, at, count, bytes.size());
        return false;
    }
    std::uint32_t Word(std::string_view what) {
        if (!Need(4, what)) return 0;
        at += 4;
        return LittleEndian32(bytes, at - 4);
    }
    void Skip(std::size_t count, std::string_view what) {
        if (Need(count, what)) at += count;
    }
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

CaptureReading ReadMesenState(Bytes bytes) {
    Cursor cursor{bytes, kVersionsAt, {}};
    cursor.Word("emulator version");
    SkipPreamble(cursor, cursor.Word("format version"));
    if (!cursor.Need(1, "state")) return CaptureReading::Failed(cursor.error);
    const bool packed = bytes[cursor.at++] == 1;
    if (!packed) return ReadMesenRecords(bytes.subspan(cursor.at));
    const std::uint32_t unpackedBytes = cursor.Word("state size");
    const std::uint32_t packedBytes = cursor.Word("packed state size");
    if (!cursor.Need(packedBytes, "packed state")) return CaptureReading::Failed(cursor.error);
    if (unpackedBytes > capture::kMaxStateBytes) {
        return CaptureReading::Failed(std::string(kFormat) + ": claims a state of " +
                                      std::to_string(unpackedBytes) + " bytes, more than a state holds");
    }
    const capture::Inflated state =
        capture::Inflate(bytes.subspan(cursor.at, packedBytes), capture::DeflateWrapper::Zlib, unpackedBytes);
    if (!state.error.empty()) return CaptureReading::Failed(std::string(kFormat) + ": " + state.error);
    return ReadMesenRecords(state.bytes);
}

CaptureReading ReadMesenRecords(Bytes records) {
    std::size_t at = 0;
    while (at < records.size()) {
        std::size_t end = at;
        while (end < records.size() && records[end] != 0) ++end;
        if (end == records.size())
            return CaptureReading::Failed(std::string(kFormat) + ": record key at byte " +
                                          std::to_string(at) + " has no end");
        const std::string_view key(reinterpret_cast<const char*>(records.data() + at), end - at);
        if (!Fits(records.size(), end + 1, 4)) {
            return CaptureReading::Failed(
                capture::Cut(kFormat, "size of record " + std::string(key), end + 1, 4, records.size()));
        }
        const std::size_t size = LittleEndian32(records, end + 1);
        const std::size_t valueAt = end + 5;
        if (!Fits(records.size(), valueAt, size)) {
            return CaptureReading::Failed(
                capture::Cut(kFormat, "record " + std::string(key), valueAt, size, records.size()));
        }
        if (key == "ppu.cgram") {
            if (size != capture::kCgramBytes) {
                return CaptureReading::Failed(std::string(kFormat) + ": record ppu.cgram has " +
                                              std::to_string(size) + " bytes, not 512");
            }
            return CaptureReading::Read(
                {std::string(kFormat), capture::LittleEndianWords(records.subspan(valueAt, size))});
        }
        at = valueAt + size;
    }
    return CaptureReading::Failed(std::string(kFormat) + ": no record ppu.cgram");
}

}  // namespace tintwright
