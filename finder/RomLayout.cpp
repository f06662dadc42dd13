#include "finder/RomLayout.h"

#include <array>
#include <cstdio>

#include "core/LittleEndian.h"

namespace tintwright {
namespace {

constexpr std::uint32_t kCopierHeaderBytes = 512;

struct HeaderPlace {
    RomMapping mapping;
    std::uint32_t offset;  // of the internal header in the ROM without a copier header
};

constexpr std::array kHeaderPlaces = {HeaderPlace{RomMapping::LoRom, 0x7FC0},
                                      HeaderPlace{RomMapping::HiRom, 0xFFC0},
                                      HeaderPlace{RomMapping::ExHiRom, 0x40FFC0}};

// The map mode byte's low nibble says which wiring the board has; LoROM boards
// with a coprocessor (SDD-1, SA-1) and HiROM ones with an SPC7110 also count.
bool ModeFits(RomMapping mapping, std::uint8_t mode) {
    if ((mode & 0xE0) != 0x20) return false;
    const int wiring = mode & 0x0F;
    switch (mapping) {
        case RomMapping::LoRom:
            return wiring == 0x0 || wiring == 0x2 || wiring == 0x3;
        case RomMapping::HiRom:
            return wiring == 0x1 || wiring == 0xA;
        case RomMapping::ExHiRom:
            return wiring == 0x5;
        case RomMapping::Unknown:
            break;
    }
    return false;
}

// How much the bytes at a header place look like a header of that mapping;
// 0 when they cannot be one.
int HeaderScore(std::span<const std::uint8_t> rom, const HeaderPlace& place) {
    if (rom.size() < std::size_t{place.offset} + 0x40) return 0;
    const auto header = rom.subspan(place.offset, 0x40);
    if (!ModeFits(place.mapping, header[0x15])) return 0;
    const bool checksumPair = (GetU16(header, 0x1C) ^ GetU16(header, 0x1E)) == 0xFFFF;
    const bool resetInRom = GetU16(header, 0x3C) >= 0x8000;
    if (!checksumPair && !resetInRom) return 0;
    return 1 + (checksumPair ? 2 : 0) + (resetInRom ? 1 : 0);
}

std::optional<std::uint32_t> LoRomAddress(std::uint64_t offset) {
    if (offset >= 0x400000) return std::nullopt;
    std::uint32_t bank = static_cast<std::uint32_t>(offset >> 15);
    // Banks $7E and $7F are work RAM; their ROM is seen in the mirror at $FE and $FF.
    if (bank >= 0x7E) bank |= 0x80;
    return bank << 16 | 0x8000u | static_cast<std::uint32_t>(offset & 0x7FFF);
}

std::optional<std::uint32_t> HiRomAddress(std::uint64_t offset) {
    if (offset >= 0x400000) return std::nullopt;
    return static_cast<std::uint32_t>(0xC00000 + offset);
}

// The first 4 MiB sit at $C0-$FF, the rest at $40-$7D, and what falls under
// the work RAM at $7E-$7F only in the upper halves of $3E-$3F.
std::optional<std::uint32_t> ExHiRomAddress(std::uint64_t offset) {
    if (offset < 0x400000) return HiRomAddress(offset);
    if (offset < 0x7E0000) return static_cast<std::uint32_t>(offset);
    if (offset < 0x800000 && (offset & 0x8000) != 0) return static_cast<std::uint32_t>(offset - 0x400000);
    return std::nullopt;
}

}  // namespace

RomLayout DetectRomLayout(std::span<const std::uint8_t> file) {
    RomLayout layout;
    if (file.size() % 1024 == kCopierHeaderBytes) layout.copierHeaderBytes = kCopierHeaderBytes;
    const auto rom = file.subspan(layout.copierHeaderBytes);
    int bestScore = 0;
    bool tied = false;
    for (const HeaderPlace& place : kHeaderPlaces) {
        const int score = HeaderScore(rom, place);
        if (score == 0 || score < bestScore) continue;
        tied = score == bestScore;
        bestScore = score;
        layout.mapping = place.mapping;
    }
    if (tied) layout.mapping = RomMapping::Unknown;
    return layout;
}

std::optional<std::uint32_t> BusAddress(const RomLayout& layout, std::uint64_t fileOffset) {
    if (fileOffset < layout.copierHeaderBytes) return std::nullopt;
    const std::uint64_t offset = fileOffset - layout.copierHeaderBytes;
    switch (layout.mapping) {
        case RomMapping::LoRom:
            return LoRomAddress(offset);
        case RomMapping::HiRom:
            return HiRomAddress(offset);
        case RomMapping::ExHiRom:
            return ExHiRomAddress(offset);
        case RomMapping::Unknown:
            break;
    }
    return std::nullopt;
}

std::optional<std::string> BusAddressText(const RomLayout& layout, std::uint64_t fileOffset) {
    const auto address = BusAddress(layout, fileOffset);
    if (!address) return std::nullopt;
    char text[16];
    std::snprintf(text, sizeof text, "$%02X:%04X", *address >> 16, *address & 0xFFFF);
    return std::string(text);
}

const char* MappingName(RomMapping mapping) {
    switch (mapping) {
        case RomMapping::LoRom:
            return "LoROM";
        case RomMapping::HiRom:
            return "HiROM";
        case RomMapping::ExHiRom:
            return "ExHiROM";
        case RomMapping::Unknown:
            break;
    }
    return "unknown";
}

}  // namespace tintwright
