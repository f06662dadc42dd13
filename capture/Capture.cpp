#include "capture/Capture.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "capture/BsnesSerializerState.h"
#include "capture/BsnesStateArchive.h"
#include "capture/BsnesV115State.h"
#include "capture/Inflate.h"
#include "capture/MednafenState.h"
#include "capture/MesenState.h"
#include "capture/RetroArchState.h"
#include "capture/Snes9xState.h"
#include "capture/ZipArchive.h"
#include "capture/ZsnesState.h"
#include "core/LittleEndian.h"
#include "palette/PaletteFile.h"

namespace tintwright {
namespace {

using capture::Bytes;

// A capture file this large is no capture: the largest states are a few MiB.
constexpr std::size_t kLargestFile = 64u << 20;

bool IsGzip(Bytes bytes) {
    return capture::StartsWith(bytes, "\x1F\x8B");
}

// Three bytes of magic could begin a CGRAM dump; a real Mesen2 state carries a
// picture and is always far larger than CGRAM.
bool IsLikelyMesenState(Bytes bytes) {
    return IsMesenState(bytes) && bytes.size() > capture::kCgramBytes;
}

// The formats that mednafen and snes9x write inside gzip, or bare when the
// emulator was told not to compress.
std::optional<Result<Capture>> ReadGzipContent(Bytes bytes) {
    if (IsMednafenState(bytes)) return ReadMednafenState(bytes);
    if (IsSnes9xState(bytes)) return ReadSnes9xState(bytes);
    return std::nullopt;
}

Result<Capture> ReadGzip(Bytes bytes) {
    const auto inflated = capture::Inflate(bytes, capture::DeflateWrapper::Gzip, capture::kMaxStateBytes);
    if (!inflated) return Result<Capture>::Failed("gzip file: " + inflated.Reason());
    if (auto reading = ReadGzipContent(*inflated)) return *reading;
    return Result<Capture>::Failed(
        "gzip file holding neither a mednafen state (MDFNSVST) nor a snes9x state (#!s9xsnp)");
}

std::optional<Result<Capture>> ReadState(Bytes bytes) {
    if (IsRetroArchState(bytes)) return ReadRetroArchState(bytes);
    if (IsGzip(bytes)) return ReadGzip(bytes);
    if (auto reading = ReadGzipContent(bytes)) return reading;
    if (IsBsnesV115State(bytes)) return ReadBsnesV115State(bytes);
    if (capture::IsZipArchive(bytes)) return ReadBsnesStateArchive(bytes);
    if (IsBsnesSerializerState(bytes)) return ReadBsnesSerializerState(bytes, "bsnes-family state");
    if (IsLikelyMesenState(bytes)) return ReadMesenState(bytes);
    if (IsZsnesState(bytes)) return ReadZsnesState(bytes);
    return std::nullopt;
}

// Palette files exported by image and tile editors, in a format of their own;
// nothing for other bytes. A raw BGR555 file is left to the CGRAM dump below,
// which has CGRAM's length rule.
std::optional<Result<PaletteFile>> ReadOwnFormatPalette(Bytes bytes) {
    Result<PaletteFile> reading = ReadPaletteFile(bytes);
    // A file that names its format and does not parse is a broken palette
    // file, not colour words.
    if (!reading && NamedPaletteFormat(bytes)) return reading;
    if (!reading || reading->format == PaletteFormat::RawBgr555) return std::nullopt;
    return reading;
}

std::optional<Result<Capture>> ReadPalette(Bytes bytes) {
    const auto palette = ReadOwnFormatPalette(bytes);
    if (!palette) return std::nullopt;
    if (!*palette) return Result<Capture>::Failed(palette->Reason());
    const PaletteFile& file = palette->Value();
    const std::string format(PaletteFormatName(file.format));
    if (file.colors.size() > capture::kCgramBytes / 2) {
        return Result<Capture>::Failed(format + " palette of " + std::to_string(file.colors.size()) +
                                       " colours; CGRAM holds 256");
    }
    return Result<Capture>({format + " palette", file.colors});
}

bool IsCgramDump(Bytes bytes) {
    return !bytes.empty() && bytes.size() % 2 == 0 && bytes.size() <= capture::kCgramBytes;
}

}  // namespace

Result<Capture> ReadCapture(Bytes bytes) {
    if (bytes.size() > kLargestFile) {
        return Result<Capture>::Failed("a file of " + std::to_string(bytes.size()) +
                                       " bytes is too large for a capture");
    }
    if (auto reading = ReadState(bytes)) return *reading;
    if (auto reading = ReadPalette(bytes)) return *reading;
    if (IsCgramDump(bytes)) return Capture{"CGRAM dump", LittleEndianWords(bytes)};
    return Result<Capture>::Failed(
        "not a capture: no save state header of RetroArch, mednafen, snes9x, bsnes, higan, Mesen2 or ZSNES, "
        "no palette file (JASC-PAL, RIFF PAL, Adobe ACT, GIMP GPL), and " +
        std::to_string(bytes.size()) + " bytes is not a CGRAM dump (an even length up to 512 bytes)");
}

Result<std::variant<PaletteFile, Capture>> ReadCaptureOrPalette(Bytes bytes, PaletteFileUse use) {
    using Content = std::variant<PaletteFile, Capture>;
    if (use == PaletteFileUse::WrittenWhole) {
        if (auto palette = ReadOwnFormatPalette(bytes); palette && *palette)
            return Content(std::move(**palette));
    }
    Result<Capture> capture = ReadCapture(bytes);
    if (!capture) return Result<Content>::Failed(capture.Reason());
    return Content(std::move(*capture));
}

std::optional<std::string> OneColorOnly(const Capture& capture) {
    const auto colorBits = [](std::uint16_t word) { return word & 0x7FFF; };
    if (capture.colors.empty()) return std::nullopt;
    const int first = colorBits(capture.colors.front());
    if (!std::all_of(capture.colors.begin(), capture.colors.end(),
                     [&](std::uint16_t word) { return colorBits(word) == first; }))
        return std::nullopt;
    char color[8];
    std::snprintf(color, sizeof color, "$%04X", first);
    return "the " + capture.format + " holds one colour only (" + color + " in all " +
           std::to_string(capture.colors.size()) +
           " entries), which matches almost anywhere: nothing to search for";
}

}  // namespace tintwright
