#include "capture/MednafenState.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "bytes/PrintableText.h"

namespace tintwright {
namespace {

using capture::Bytes;
using capture::Cut;

constexpr std::string_view kFormat = "mednafen state";
constexpr std::size_t kHeaderBytes = 32;
constexpr std::size_t kLengthAt = 20;
constexpr std::size_t kSectionNameBytes = 32;
constexpr std::size_t kSectionHeaderBytes = kSectionNameBytes + 4;

// bsnes v0.059's System::serialize: signature, version, crc32 (4 bytes each),
// description[512]; then sBus::serialize writes WRAM (128 KiB), APU RAM
// (64 KiB), VRAM (64 KiB), OAM (544 bytes) and CGRAM, before any part whose
// size depends on the cartridge.
constexpr std::size_t kBsnesV059CgramOffset = 12 + 512 + 131072 + 65536 + 65536 + 544;

// An entry's data, or why it is missing or cut.
using Entry = Result<Bytes>;

// A section or entry name as a message shows it.
std::string Text(Bytes name) {
    const auto end = std::find(name.begin(), name.end(), std::uint8_t{0});
    return PrintableText(std::string(name.begin(), end));
}

// Finds an entry by name inside one section's data: a length byte, the name, a
// 32-bit little-endian size and the data.
Entry FindEntry(ByteReader section, std::string_view sectionName, std::string_view wanted) {
    while (!section.AtEnd()) {
        const auto nameBytes = section.ReadLittle(1);
        const auto nameField = nameBytes ? section.ReadBytes(*nameBytes) : std::nullopt;
        const auto size = nameField ? section.ReadLittle(4) : std::nullopt;
        if (!size) break;
        const std::string name = Text(*nameField);
        const std::size_t dataAt = section.FileOffset();
        const auto data = section.ReadBytes(*size);
        if (!data) {
            return Entry::Failed(std::string(kFormat) + ": section " + std::string(sectionName) +
                                 " ends at " + std::to_string(section.FileEnd()) + ", entry " + name +
                                 " needs " + std::to_string(*size) + " bytes from " + std::to_string(dataAt));
        }
        if (name == wanted) return *data;
    }
    return Entry::Failed(std::string(kFormat) + ": section " + std::string(sectionName) + " has no entry " +
                         std::string(wanted));
}

struct Sections {
    std::optional<Entry> ppu;   // snes_faust
    std::optional<Entry> data;  // snes
};

// Sections from at to end: a 32-byte name, a 32-bit little-endian size, the data.
Result<Sections> WalkSections(Bytes bytes, std::size_t at, std::size_t end) {
    ByteReader reader(bytes.first(end));
    reader.Seek(at);
    Sections found;
    while (!reader.AtEnd()) {
        auto header = reader.ReadPart(kSectionHeaderBytes);
        if (!header)
            return Result<Sections>::Failed(Cut(kFormat, "section header", reader, kSectionHeaderBytes));
        const std::string name = Text(*header->ReadBytes(kSectionNameBytes));
        const std::size_t size = *header->ReadLittle(4);
        auto section = reader.ReadPart(size);
        if (!section) return Result<Sections>::Failed(Cut(kFormat, "section " + name, reader, size));
        if (name == "PPU") found.ppu = FindEntry(*section, name, "CGRAM");
        if (name == "DATA") found.data = FindEntry(*section, name, "OmniCat");
    }
    return found;
}

Result<Capture> FromFaustCgram(const Entry& entry, bool bigEndianHost) {
    if (!entry) return Result<Capture>::Failed(entry.Reason());
    if (entry->size() != capture::kCgramBytes) {
        return Result<Capture>::Failed(std::string(kFormat) + ": entry CGRAM of section PPU has " +
                                       std::to_string(entry->size()) + " bytes, not 512");
    }
    // Arrays of 16-bit values are written in the order of the host that saved them.
    const ByteOrder order = bigEndianHost ? ByteOrder::BigEndian : ByteOrder::LittleEndian;
    return Capture{"mednafen state (module snes_faust)", *ByteReader(*entry).ReadWords(256, order)};
}

Result<Capture> FromBsnesBlob(const Entry& entry) {
    if (!entry) return Result<Capture>::Failed(entry.Reason());
    if (!capture::StartsWith(*entry, "BST1")) {
        return Result<Capture>::Failed(std::string(kFormat) +
                                       ": entry OmniCat of section DATA is not a bsnes state");
    }
    ByteReader blob(*entry);
    const auto cgram =
        blob.Seek(kBsnesV059CgramOffset) ? blob.ReadWords(256, ByteOrder::LittleEndian) : std::nullopt;
    if (!cgram) {
        return Result<Capture>::Failed(Cut(std::string(kFormat) + " (module snes)", "CGRAM",
                                           kBsnesV059CgramOffset, capture::kCgramBytes, entry->size()));
    }
    return Capture{"mednafen state (module snes)", *cgram};
}

}  // namespace

bool IsMednafenState(Bytes bytes) {
    return capture::StartsWith(bytes, "MDFNSVST") || capture::StartsWith(bytes, "MEDNAFENSVESTATE");
}

// The header ends in the state's length (its top bit set when a big-endian
// host saved it) and the preview picture's width and height.
Result<Capture> ReadMednafenState(Bytes bytes) {
    auto header = ByteReader(bytes).ReadPart(kHeaderBytes);
    if (!header) return Result<Capture>::Failed(Cut(kFormat, "header", 0, kHeaderBytes, bytes.size()));
    header->Seek(kLengthAt);
    const std::uint32_t lengthWord = *header->ReadLittle(4);  // inside the 32 bytes just read
    const std::uint64_t width = *header->ReadLittle(4);
    const std::uint64_t preview = width * *header->ReadLittle(4) * 3;
    const std::size_t total = lengthWord & 0x7FFFFFFFu;
    if (total > bytes.size()) return Result<Capture>::Failed(Cut(kFormat, "state", 0, total, bytes.size()));
    if (preview > total - std::min(total, kHeaderBytes)) {
        return Result<Capture>::Failed(Cut(kFormat, "preview picture", kHeaderBytes, preview, total));
    }
    const auto sections = WalkSections(bytes, kHeaderBytes + static_cast<std::size_t>(preview), total);
    if (!sections) return Result<Capture>::Failed(sections.Reason());
    if (sections->ppu && (*sections->ppu || !sections->data)) {
        return FromFaustCgram(*sections->ppu, (lengthWord & 0x80000000u) != 0);
    }
    if (sections->data) return FromBsnesBlob(*sections->data);
    return Result<Capture>::Failed(
        std::string(kFormat) +
        ": no section PPU (module snes_faust) or DATA (module snes); not an SNES state");
}

}  // namespace tintwright
