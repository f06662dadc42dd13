#include "capture/BsnesSerializerState.h"

#include <array>
#include <optional>
#include <string>

namespace tintwright {
namespace {

using capture::Bytes;
using Field = std::optional<std::uint32_t>;

constexpr std::uint32_t kNtscCpuFrequency = 21477272;
constexpr std::uint32_t kPalCpuFrequency = 21281370;

bool IsCpuFrequency(Field frequency) {
    return frequency == kNtscCpuFrequency || frequency == kPalCpuFrequency;
}

bool IsFlag(Field byte) {
    return byte && *byte <= 1;
}

bool IsBelow(Field value, std::uint32_t limit) {
    return value && *value < limit;
}

// A reader of the part from at on, of exactly count bytes; nothing when the
// blob ends before it.
std::optional<ByteReader> PartAt(Bytes blob, std::size_t at, std::size_t count) {
    ByteReader reader(blob);
    if (!reader.Seek(at)) return std::nullopt;
    return reader.ReadPart(count);
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
constexpr std::size_t kV115ClockBytes = 8;
constexpr std::size_t kV115CounterAt = 6 + 4 + kV115ClockBytes;
constexpr std::size_t kV115CgramAt = kV115CounterAt + 26 + 20 + 209 + 65536;

bool IsVerticalPeriod(Field lines) {
    return lines == 262u || lines == 263u || lines == 312u || lines == 313u;
}
bool IsHorizontalPeriod(Field clocks) {
    return clocks == 1360u || clocks == 1364u || clocks == 1368u;
}

// PPUcounter of v115: interlace, field (1 byte each), then vperiod, hperiod,
// vcounter, hcounter, last.vperiod, last.hperiod (4 bytes each).
bool IsV115Counter(ByteReader& counter) {
    return IsFlag(counter.ReadLittle(1)) && IsFlag(counter.ReadLittle(1)) &&
           IsVerticalPeriod(counter.ReadLittle(4)) && IsHorizontalPeriod(counter.ReadLittle(4)) &&
           IsBelow(counter.ReadLittle(4), 314) && IsBelow(counter.ReadLittle(4), 1368) &&
           IsVerticalPeriod(counter.ReadLittle(4)) && IsHorizontalPeriod(counter.ReadLittle(4));
}

bool IsV115FastPpu(ByteReader ppu) {
    if (!IsFlag(ppu.ReadLittle(1)) || !IsFlag(ppu.ReadLittle(1))) return false;
    const Field visibleLines = ppu.ReadLittle(4);
    return (visibleLines == 225u || visibleLines == 240u) && IsCpuFrequency(ppu.ReadLittle(4)) &&
           ppu.Skip(kV115ClockBytes) && IsV115Counter(ppu);
}

std::optional<std::string> VersionText(Bytes blob) {
    const auto field = PartAt(blob, kVersionAt, kVersionBytes);
    if (!field) return std::nullopt;
    const auto text = ByteReader(*field).ReadZeroEnded();
    if (!text || text->empty()) return std::nullopt;
    for (const char c : *text)
        if ((c < '0' || c > '9') && c != '.' && c != 'r') return std::nullopt;
    return std::string(*text);
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
constexpr std::size_t kV094ClockBytes = 8;
constexpr std::size_t kV094CounterAt = 4 + kV094ClockBytes;
constexpr std::size_t kV094CounterBytes = 6 + kHistory * 5 + 4;

// The history's index is looked at before its 2048 entries, which only a
// real counter passes.
bool IsV094Counter(ByteReader& counter) {
    if (!IsFlag(counter.ReadLittle(1)) || !IsFlag(counter.ReadLittle(1)) ||
        !IsBelow(counter.ReadLittle(2), 314) || !IsBelow(counter.ReadLittle(2), 1368))
        return false;
    auto fields = counter.ReadPart(kHistory);
    auto lines = counter.ReadPart(2 * kHistory);
    auto clocks = counter.ReadPart(2 * kHistory);
    if (!fields || !lines || !clocks || !IsBelow(counter.ReadLittle(4), kHistory)) return false;
    for (std::size_t i = 0; i < kHistory; ++i) {
        if (!IsFlag(fields->ReadLittle(1)) || !IsBelow(lines->ReadLittle(2), 314) ||
            !IsBelow(clocks->ReadLittle(2), 1368))
            return false;
    }
    return true;
}

bool IsV094ThreadAndCounter(ByteReader ppu) {
    return IsCpuFrequency(ppu.ReadLittle(4)) && ppu.Skip(kV094ClockBytes) && IsV094Counter(ppu);
}

std::optional<std::string> ProfileName(Bytes blob) {
    const auto field = PartAt(blob, kProfileAt, kProfileBytes);
    if (!field) return std::nullopt;
    const auto text = ByteReader(*field).ReadZeroEnded();
    const std::string name(text ? *text : std::string_view());
    if (name == "Accuracy" || name == "Balanced" || name == "Performance") return name;
    return std::nullopt;
}

// --- reading ------------------------------------------------------------------

std::string Format(std::string_view container, const std::string& detail) {
    return std::string(container) + " (" + detail + ")";
}

Result<Capture> CgramAt(Bytes blob, std::size_t at, std::string format, std::string emulator) {
    auto cgram = PartAt(blob, at, capture::kCgramBytes);
    if (!cgram)
        return Result<Capture>::Failed(capture::Cut(format, "CGRAM", at, capture::kCgramBytes, blob.size()));
    return Capture{std::move(format), *cgram->ReadWords(capture::kCgramBytes / 2, ByteOrder::LittleEndian),
                   CoreState{std::move(emulator), {blob.begin(), blob.end()}, at, false}};
}

Result<Capture> ReadV115(Bytes blob, std::string_view container, const std::string& version) {
    const std::string format = Format(container, "bsnes " + version);
    const auto fastPpu = PartAt(blob, kFastPpuFlagAt, 1);
    if (!fastPpu) {
        return Result<Capture>::Failed(capture::Cut(format, "header", 0, kFastPpuFlagAt + 1, blob.size()));
    }
    if (ByteReader(*fastPpu).ReadLittle(1) != 1u) {
        return Result<Capture>::Failed(
            format +
            ": saved with the accurate PPU (Fast PPU off); only states of the fast "
            "PPU, bsnes's default, are read");
    }
    // The last match is the PPU's: the CPU's part, which comes first, has the same
    // thread and counter fields but not the display fields before them.
    std::optional<std::size_t> ppu;
    for (std::size_t at = kFastPpuFlagAt + 1;; ++at) {
        const auto part = PartAt(blob, at, kV115CgramAt + capture::kCgramBytes);
        if (!part) break;
        if (IsV115FastPpu(*part)) ppu = at;
    }
    if (!ppu) return Result<Capture>::Failed(format + ": no PPU part with its VRAM and CGRAM found");
    return CgramAt(blob, *ppu + kV115CgramAt, format, "bsnes v115");
}

Result<Capture> ReadV094(Bytes blob, std::string_view container, const std::string& profile) {
    const std::string format = Format(container, "higan v094 / bsnes-mercury, profile " + profile);
    const std::size_t vramBytes = profile == "Balanced" ? 128 * 1024 : 64 * 1024;
    const std::size_t cgramAt = kV094CounterAt + kV094CounterBytes + vramBytes + 544;
    // The CPU's part comes first with the same thread and counter fields; the
    // PPU's is the second.
    int matches = 0;
    for (std::size_t at = kProfileAt + kProfileBytes;; ++at) {
        const auto part = PartAt(blob, at, cgramAt + capture::kCgramBytes);
        if (!part) break;
        if (IsV094ThreadAndCounter(*part) && ++matches == 2)
            return CgramAt(blob, at + cgramAt, format, "bsnes-mercury " + profile);
    }
    return Result<Capture>::Failed(format + ": " +
                                   (matches == 0 ? "no CPU or PPU part found" : "no PPU part found"));
}

}  // namespace

bool IsBsnesSerializerState(Bytes bytes) {
    return capture::StartsWith(bytes, "BST1");
}

Result<Capture> ReadBsnesSerializerState(Bytes blob, std::string_view container) {
    if (!IsBsnesSerializerState(blob)) {
        return Result<Capture>::Failed(std::string(container) + ": the state does not start with BST1");
    }
    if (const auto version = VersionText(blob)) return ReadV115(blob, container, *version);
    if (const auto profile = ProfileName(blob)) return ReadV094(blob, container, *profile);
    return Result<Capture>::Failed(
        std::string(container) +
        ": a bsnes-family state of a layout not read here (known: bsnes v107 and later, higan "
        "v094 and bsnes-mercury)");
}

}  // namespace tintwright
