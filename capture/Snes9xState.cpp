#include "capture/Snes9xState.h"

#include <optional>
#include <string_view>

namespace tintwright {
namespace {

using capture::Bytes;
using capture::Fits;

constexpr std::string_view kFormat = "snes9x state";
constexpr std::string_view kMagic = "#!s9xsnp:";
constexpr std::size_t kVersionDigits = 4;
constexpr std::size_t kFirstBlockAt = kMagic.size() + kVersionDigits + 1;
constexpr std::size_t kBlockHeaderBytes = 11;
// VMA (10 bytes), WRAM (4), BG[4] (11 each), BGMode, BG3Priority, CGFLIP,
// CGFLIPRead, CGADD (1 each).
constexpr std::size_t kCgdataAt = 63;
constexpr int kFirstVersionWithSavedByte = 11;

std::optional<int> Digits(Bytes bytes, std::size_t at, std::size_t count) {
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (bytes[i] < '0' || bytes[i] > '9') return std::nullopt;
        value = value * 10 + (bytes[i] - '0');
    }
    return value;
}

std::optional<std::size_t> BlockSize(Bytes bytes, std::size_t at) {
    if (bytes[at + 3] != ':' || bytes[at + 10] != ':') return std::nullopt;
    if (bytes[at + 4] == '-') return capture::BigEndian32(bytes, at + 6);
    const auto digits = Digits(bytes, at + 4, 6);
    if (!digits) return std::nullopt;
    return static_cast<std::size_t>(*digits);
}

CaptureReading FromPpuBlock(Bytes state, Bytes block, std::size_t blockAt, int version) {
    const std::size_t cgdata = kCgdataAt + (version >= kFirstVersionWithSavedByte ? 1 : 0);
    if (!Fits(block.size(), cgdata, capture::kCgramBytes)) {
        return CaptureReading::Failed(
            std::string(kFormat) + ": block PPU ends at " + std::to_string(blockAt + block.size()) +
            ", field CGDATA needs 512 bytes from " + std::to_string(blockAt + cgdata));
    }
    return CaptureReading::Read({std::string(kFormat) + " (version " + std::to_string(version) + ")",
                                 capture::BigEndianWords(block.subspan(cgdata, capture::kCgramBytes)),
                                 CoreState{"snes9x", {state.begin(), state.end()}, blockAt + cgdata, true}});
}

}  // namespace

bool IsSnes9xState(Bytes bytes) {
    return capture::StartsWith(bytes, kMagic);
}

CaptureReading ReadSnes9xState(Bytes bytes) {
    if (!Fits(bytes.size(), 0, kFirstBlockAt)) {
        return CaptureReading::Failed(capture::Cut(kFormat, "header", 0, kFirstBlockAt, bytes.size()));
    }
    const auto version = Digits(bytes, kMagic.size(), kVersionDigits);
    if (!version) return CaptureReading::Failed(std::string(kFormat) + ": no version number after #!s9xsnp:");
    std::size_t at = kFirstBlockAt;
    while (at < bytes.size()) {
        if (!Fits(bytes.size(), at, kBlockHeaderBytes)) {
            return CaptureReading::Failed(
                capture::Cut(kFormat, "block header", at, kBlockHeaderBytes, bytes.size()));
        }
        const std::string name(reinterpret_cast<const char*>(bytes.data() + at), 3);
        const auto size = BlockSize(bytes, at);
        if (!size)
            return CaptureReading::Failed(std::string(kFormat) + ": broken block header at byte " +
                                          std::to_string(at));
        const std::size_t dataAt = at + kBlockHeaderBytes;
        if (!Fits(bytes.size(), dataAt, *size)) {
            return CaptureReading::Failed(
                capture::Cut(kFormat, "block " + name, dataAt, *size, bytes.size()));
        }
        if (name == "PPU") return FromPpuBlock(bytes, bytes.subspan(dataAt, *size), dataAt, *version);
        at = dataAt + *size;
    }
    return CaptureReading::Failed(std::string(kFormat) + ": no block PPU");
}

}  // namespace tintwright
