#include "capture/Snes9xState.h"

#include <optional>
#include <string_view>

namespace tintwright {
namespace {

using capture::Bytes;

constexpr std::string_view kFormat = "snes9x state";
constexpr std::string_view kMagic = "#!s9xsnp:";
constexpr std::size_t kVersionDigits = 4;
constexpr std::size_t kFirstBlockAt = kMagic.size() + kVersionDigits + 1;
constexpr std::size_t kBlockHeaderBytes = 11;
// VMA (10 bytes), WRAM (4), BG[4] (11 each), BGMode, BG3Priority, CGFLIP,
// CGFLIPRead, CGADD (1 each).
constexpr std::size_t kCgdataAt = 63;
constexpr int kFirstVersionWithSavedByte = 11;

std::optional<int> Digits(Bytes digits) {
    int value = 0;
    for (const std::uint8_t digit : digits) {
        if (digit < '0' || digit > '9') return std::nullopt;
        value = value * 10 + (digit - '0');
    }
    return value;
}

// "PPU:", then six digits or "------" with the size big-endian in its last
// four bytes, then ":".
std::optional<std::size_t> BlockSize(ByteReader header) {
    header.Skip(3);
    const bool colon = header.Expect(":");
    const auto field = header.ReadBytes(6);
    if (!colon || !field || !header.Expect(":")) return std::nullopt;
    ByteReader size(*field);
    if (size.Expect("-")) return size.Skip(1) ? size.ReadBig(4) : std::nullopt;
    return Digits(*field);
}

Result<Capture> FromPpuBlock(Bytes state, ByteReader block, int version) {
    const std::size_t blockAt = block.FileOffset();
    const std::size_t cgdata = kCgdataAt + (version >= kFirstVersionWithSavedByte ? 1 : 0);
    const auto words = block.Seek(cgdata) ? block.ReadWords(256, ByteOrder::BigEndian) : std::nullopt;
    if (!words) {
        return Result<Capture>::Failed(
            std::string(kFormat) + ": block PPU ends at " + std::to_string(block.FileEnd()) +
            ", field CGDATA needs 512 bytes from " + std::to_string(blockAt + cgdata));
    }
    return Capture{std::string(kFormat) + " (version " + std::to_string(version) + ")", *words,
                   CoreState{"snes9x", {state.begin(), state.end()}, blockAt + cgdata, true}};
}

}  // namespace

bool IsSnes9xState(Bytes bytes) {
    return capture::StartsWith(bytes, kMagic);
}

Result<Capture> ReadSnes9xState(Bytes bytes) {
    ByteReader reader(bytes);
    const auto header = reader.ReadBytes(kFirstBlockAt);
    if (!header)
        return Result<Capture>::Failed(capture::Cut(kFormat, "header", 0, kFirstBlockAt, bytes.size()));
    const auto version = Digits(header->subspan(kMagic.size(), kVersionDigits));
    if (!version)
        return Result<Capture>::Failed(std::string(kFormat) + ": no version number after #!s9xsnp:");
    while (!reader.AtEnd()) {
        const std::size_t at = reader.Position();
        auto blockHeader = reader.ReadPart(kBlockHeaderBytes);
        if (!blockHeader) {
            return Result<Capture>::Failed(capture::Cut(kFormat, "block header", reader, kBlockHeaderBytes));
        }
        const auto nameField = *ByteReader(*blockHeader).ReadBytes(3);
        const std::string name(nameField.begin(), nameField.end());
        const auto size = BlockSize(*blockHeader);
        if (!size) {
            return Result<Capture>::Failed(std::string(kFormat) + ": broken block header at byte " +
                                           std::to_string(at));
        }
        auto block = reader.ReadPart(*size);
        if (!block) return Result<Capture>::Failed(capture::Cut(kFormat, "block " + name, reader, *size));
        if (name == "PPU") return FromPpuBlock(bytes, *block, *version);
    }
    return Result<Capture>::Failed(std::string(kFormat) + ": no block PPU");
}

}  // namespace tintwright
