#include "capture/BsnesSerializerState.h"

#include <array>
#include <optional>
#include <string>

namespace tintwright {
namespace {

using capture::Bytes;
using capture::Fits;
using capture::LittleEndian16;
using capture::LittleEndian32;

constexpr std::uint32_t kNtscCpuFrequency = 21477272;
constexpr std::uint32_t kPalCpuFrequency = 21281370;

bool IsCpuFrequency(std::uint32_t frequency) {
    return frequency == kNtscCpuFrequency || frequency == kPalCpuFrequency;
}

bool IsFlag(std::uint8_t byte) {
    return byte <= 1;
}

// --- bsnes v107 and later -------------------------------------------------

// signature, size (4 bytes each), version[16], description[512], then the
// flags synchronize and fastPPU.
constexpr std::size_t kVersionAt = 8;
constexpr std::size_t kVersionBytes = 16;
constexpr std::size_t kFastPpuFlagAt = 537;

// PPU::serialize: display.interlace, display.overscan (1 byte each),
// display.vdisp (4); with the fast PPU then Thread (frequency 4, clock 8),
// PPUcounter (26), Latch (20), IO (209), and VRAM of 32 K 16-bit words.
constexpr std::size_t kV115ThreadAt = 6;
constexpr std::size_t kV115CounterAt = kV115ThreadAt + 12;
constexpr std::size_t kV115CgramAt = kV115CounterAt + 26 + 20 + 209 + 65536;

bool IsVerticalPeriod(std::uint32_t lines) {
    return lines == 262 || lines == 263 || lines == 312 || lines == 313;
}
bool IsHorizontalPeriod(std::uint32_t clocks) {
    return clocks == 1360 || clocks == 1364 || clocks == 1368;
}

// PPUcounter of v115: interlace, field (1 byte each), then vperiod, hperiod,
// vcounter, hcounter, last.vperiod, last.hperiod (4 bytes each).
bool IsV115Counter(Bytes blob, std::size_t at) {
    return IsFlag(blob[at]) && IsFlag(blob[at + 1]) && IsVerticalPeriod(LittleEndian32(blob, at + 2)) &&
           IsHorizontalPeriod(LittleEndian32(blob, at + 6)) && LittleEndian32(blob, at + 10) <= 313 &&
           LittleEndian32(blob, at + 14) < 1368 && IsVerticalPeriod(LittleEndian32(blob, at + 18)) &&
           IsHorizontalPeriod(LittleEndian32(blob, at + 22));
}

bool IsV115FastPpu(Bytes blob, std::size_t at) {
    const std::uint32_t visibleLines = LittleEndian32(blob, at + 2);
    return IsFlag(blob[at]) && IsFlag(blob[at + 1]) && (visibleLines == 225 || visibleLines == 240) &&
           IsCpuFrequency(LittleEndian32(blob, at + kV115ThreadAt)) &&
           IsV115Counter(blob, at + kV115CounterAt);
}

std::optional<std::string> VersionText(Bytes blob) {
    if (blob.size() < kVersionAt + kVersionBytes) return std::nullopt;
    std::string text;
    std::size_t at = kVersionAt;
    for (; at < kVersionAt + kVersionBytes && blob[at] != 0; ++at) {
        const char c = static_cast<char>(blob[at]);
        if ((c < '0' || c > '9') && c != '.' && c != 'r') return std::nullopt;
        text += c;
    }
    if (text.empty() || at == kVersionAt + kVersionBytes) return std::nullopt;
    return text;
}

// --- higan v094 and bsnes-mercury -------------------------------------------

// signature, version (4 bytes each), hash[64], description[512], profile[16].
constexpr std::size_t kProfileAt = 8 + 64 + 512;
constexpr std::size_t kProfileBytes = 16;

// PPU::serialize: Thread (frequency 4, clock 8), PPUcounter: interlace, field
// (1 byte each), vcounter, hcounter (2 each), history.field[2048] (1 each),
// history.vcounter[2048], history.hcounter[2048] (2 each), history.index (4);
// then VRAM, OAM (544) and CGRAM.
constexpr std::size_t kHistory = 2048;
constexpr std::size_t kV094CounterAt = 12;
constexpr std::size_t kV094CounterBytes = 6 + kHistory * 5 + 4;

bool IsV094Counter(Bytes blob, std::size_t at) {
    if (!IsFlag(blob[at]) || !IsFlag(blob[at + 1]) || LittleEndian16(blob, at + 2) > 313 ||
        LittleEndian16(blob, at + 4) >= 1368 || LittleEndian32(blob, at + 6 + kHistory * 5) >= kHistory) {
        return false;
    }
    const std::size_t fields = at + 6;
    const std::size_t lines = fields + kHistory;
    const std::size_t clocks = lines + 2 * kHistory;
    for (std::size_t i = 0; i < kHistory; ++i) {
        if (!IsFlag(blob[fields + i]) || LittleEndian16(blob, lines + 2 * i) > 313 ||
            LittleEndian16(blob, clocks + 2 * i) >= 1368) {
            return false;
        }
    }
    return true;
}

bool IsV094ThreadAndCounter(Bytes blob, std::size_t at) {
    return IsCpuFrequency(LittleEndian32(blob, at)) && IsV094Counter(blob, at + kV094CounterAt);
}

std::optional<std::string> ProfileName(Bytes blob) {
    if (blob.size() < kProfileAt + kProfileBytes) return std::nullopt;
    std::string name;
    for (std::size_t at = kProfileAt; at < kProfileAt + kProfileBytes && blob[at] != 0; ++at) {
        name += static_cast<char>(blob[at]);
    }
    if (name == "Accuracy" || name == "Balanced" || name == "Performance") return name;
    return std::nullopt;
}

// --- reading ------------------------------------------------------------------

std::string Format(std::string_view container, const std::string& detail) {
    return std::string(container) + " (" + detail + ")";
}

CaptureReading CgramAt(Bytes blob, std::size_t at, std::string format, std::string emulator) {
    return CaptureReading::Read({std::move(format),
                                 capture::LittleEndianWords(blob.subspan(at, capture::kCgramBytes)),
                                 CoreState{std::move(emulator), {blob.begin(), blob.end()}, at, false}});
}

CaptureReading ReadV115(Bytes blob, std::string_view container, const std::string& version) {
    const std::string format = Format(container, "bsnes " + version);
    if (blob.size() <= kFastPpuFlagAt) {
        return CaptureReading::Failed(capture::Cut(format, "header", 0, kFastPpuFlagAt + 1, blob.size()));
    }
    if (blob[kFastPpuFlagAt] != 1) {
        return CaptureReading::Failed(format +
                                      ": saved with the accurate PPU (Fast PPU off); only states of the fast "
                                      "PPU, bsnes's default, are read");
    }
    // The last match is the PPU's: the CPU's part, which comes first, has the same
    // thread and counter fields but not the display fields before them.
    std::optional<std::size_t> ppu;
    for (std::size_t at = kFastPpuFlagAt + 1; Fits(blob.size(), at, kV115CgramAt + capture::kCgramBytes);
         ++at) {
        if (IsV115FastPpu(blob, at)) ppu = at;
    }
    if (!ppu) return CaptureReading::Failed(format + ": no PPU part with its VRAM and CGRAM found");
    return CgramAt(blob, *ppu + kV115CgramAt, format, "bsnes v115");
}

CaptureReading ReadV094(Bytes blob, std::string_view container, const std::string& profile) {
    const std::string format = Format(container, "higan v094 / bsnes-mercury, profile " + profile);
    const std::size_t vramBytes = profile == "Balanced" ? 128 * 1024 : 64 * 1024;
    const std::size_t cgramAt = kV094CounterAt + kV094CounterBytes + vramBytes + 544;
    // The CPU's part comes first with the same thread and counter fields; the
    // PPU's is the second.
    int matches = 0;
    for (std::size_t at = kProfileAt + kProfileBytes; Fits(blob.size(), at, cgramAt + capture::kCgramBytes);
         ++at) {
        if (IsV094ThreadAndCounter(blob, at) && ++matches == 2)
            return CgramAt(blob, at + cgramAt, format, "bsnes-mercury " + profile);
    }
    return CaptureReading::Failed(format + ": " +
                                  (matches == 0 ? "no CPU or PPU part found" : "no PPU part found"));
}

}  // namespace

bool IsBsnesSerializerState(Bytes bytes) {
    return capture::StartsWith(bytes, "BST1");
}

CaptureReading ReadBsnesSerializerState(Bytes blob, std::string_view container) {
    if (!IsBsnesSerializerState(blob)) {
        return CaptureReading::Failed(std::string(container) + ": the state does not start with BST1");
    }
    if (const auto version = VersionText(blob)) return ReadV115(blob, container, *version);
    if (const auto profile = ProfileName(blob)) return ReadV094(blob, container, *profile);
    return CaptureReading::Failed(
        std::string(container) +
        ": a bsnes-family state of a layout not read here (known: bsnes v107 and later, higan "
        "v094 and bsnes-mercury)");
}

}  // namespace tintwright
