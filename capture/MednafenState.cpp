#include "capture/MednafenState.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace tintwright {
namespace {

using capture::Bytes;
using capture::Cut;
using capture::Fits;
using capture::LittleEndian32;

constexpr std::string_view kFormat = "mednafen state";
constexpr std::size_t kHeaderBytes = 32;
constexpr std::size_t kSectionNameBytes = 32;

// bsnes v0.059's System::serialize: signature, version, crc32 (4 bytes each),
// description[512]; then sBus::serialize writes WRAM (128 KiB), APU RAM
// (64 KiB), VRAM (64 KiB), OAM (544 bytes) and CGRAM, before any part whose
// size depends on the cartridge.
constexpr std::size_t kBsnesV059CgramOffset = 12 + 512 + 131072 + 65536 + 65536 + 544;

struct Entry {
    Bytes data;
    std::string error;  // set when the entry is missing or cut
};

std::string Text(Bytes name) {
    std::string text;
    for (const std::uint8_t byte : name) {
        if (byte == 0) break;
        text += static_cast<char>(byte);
    }
    return text;
}

// Finds an entry by name inside one section's data: a length byte, the name, a
// 32-bit little-endian size and the data.
Entry FindEntry(Bytes section, std::size_t sectionStart, std::string_view sectionName,
                std::string_view wanted) {
    std::size_t at = 0;
    while (at < section.size()) {
        const std::size_t nameBytes = section[at];
        if (!Fits(section.size(), at + 1, nameBytes + 4)) break;
        const std::string name = Text(section.subspan(at + 1, nameBytes));
        const std::size_t size = LittleEndian32(section, at + 1 + nameBytes);
        const std::size_t dataAt = at + 1 + nameBytes + 4;
        if (!Fits(section.size(), dataAt, size)) {
            return {{},
                    std::string(kFormat) + ": section " + std::string(sectionName) + " ends at " +
                        std::to_string(sectionStart + section.size()) + ", entry " + name + " needs " +
                        std::to_string(size) + " bytes from " + std::to_string(sectionStart + dataAt)};
        }
        if (name == wanted) return {section.subspan(dataAt, size), {}};
        at = dataAt + size;
    }
    return {{},
            std::string(kFormat) + ": section " + std::string(sectionName) + " has no entry " +
                std::string(wanted)};
}

struct Sections {
    std::optional<Entry> ppu;   // snes_faust
    std::optional<Entry> data;  // snes
    std::string error;
};

Sections WalkSections(Bytes bytes, std::size_t at, std::size_t end) {
    Sections found;
    while (at < end) {
        if (!Fits(end, at, kSectionNameBytes + 4)) {
            found.error = Cut(kFormat, "section header", at, kSectionNameBytes + 4, end);
            return found;
        }
        const std::string name = Text(bytes.subspan(at, kSectionNameBytes));
        const std::size_t size = LittleEndian32(bytes, at + kSectionNameBytes);
        const std::size_t dataAt = at + kSectionNameBytes + 4;
        if (!Fits(end, dataAt, size)) {
            found.error = Cut(kFormat, "section " + name, dataAt, size, end);
            return found;
        }
        const Bytes section = bytes.subspan(dataAt, size);
        if (name == "PPU") found.ppu = FindEntry(section, dataAt, name, "CGRAM");
        if (name == "DATA") found.data = FindEntry(section, dataAt, name, "OmniCat");
        at = dataAt + size;
    }
    return found;
}

CaptureReading FromFaustCgram(const Entry& entry, bool bigEndianHost) {
    if (!entry.error.empty()) return CaptureReading::Failed(entry.error);
    if (entry.data.size() != capture::kCgramBytes) {
        return CaptureReading::Failed(std::string(kFormat) + ": entry CGRAM of section PPU has " +
                                      std::to_string(entry.data.size()) + " bytes, not 512");
    }
    // Arrays of 16-bit values are written in the order of the host that saved them.
    return CaptureReading::Read(
        {"mednafen state (module snes_faust)",
         bigEndianHost ? capture::BigEndianWords(entry.data) : capture::LittleEndianWords(entry.data)});
}

CaptureReading FromBsnesBlob(const Entry& entry) {
    if (!entry.error.empty()) return CaptureReading::Failed(entry.error);
    if (!capture::StartsWith(entry.data, "BST1")) {
        return CaptureReading::Failed(std::string(kFormat) +
                                      ": entry OmniCat of section DATA is not a bsnes state");
    }
    if (!Fits(entry.data.size(), kBsnesV059CgramOffset, capture::kCgramBytes)) {
        return CaptureReading::Failed(Cut(std::string(kFormat) + " (module snes)", "CGRAM",
                                          kBsnesV059CgramOffset, capture::kCgramBytes, entry.data.size()));
    }
    return CaptureReading::Read(
        {"mednafen state (module snes)",
         capture::LittleEndianWords(entry.data.subspan(kBsnesV059CgramOffset, capture::kCgramBytes))});
}

}  // namespace

bool IsMednafenState(Bytes bytes) {
    return capture::StartsWith(bytes, "MDFNSVST") || capture::StartsWith(bytes, "MEDNAFENSVESTATE");
}

CaptureReading ReadMednafenState(Bytes bytes) {
    if (!Fits(bytes.size(), 0, kHeaderBytes)) {
        return CaptureReading::Failed(Cut(kFormat, "header", 0, kHeaderBytes, bytes.size()));
    }
    const std::uint32_t lengthWord = LittleEndian32(bytes, 20);
    const std::size_t total = lengthWord & 0x7FFFFFFFu;
    const std::uint64_t preview = std::uint64_t{LittleEndian32(bytes, 24)} * LittleEndian32(bytes, 28) * 3;
    if (total > bytes.size()) return CaptureReading::Failed(Cut(kFormat, "state", 0, total, bytes.size()));
    if (preview > total - std::min(total, kHeaderBytes)) {
        return CaptureReading::Failed(Cut(kFormat, "preview picture", kHeaderBytes, preview, total));
    }
    const Sections sections = WalkSections(bytes, kHeaderBytes + static_cast<std::size_t>(preview), total);
    if (!sections.error.empty()) return CaptureReading::Failed(sections.error);
    if (sections.ppu && (sections.ppu->error.empty() || !sections.data)) {
        return FromFaustCgram(*sections.ppu, (lengthWord & 0x80000000u) != 0);
    }
    if (sections.data) return FromBsnesBlob(*sections.data);
    return CaptureReading::Failed(
        std::string(kFormat) +
        ": no section PPU (module snes_faust) or DATA (module snes); not an SNES state");
}

}  // namespace tintwright
