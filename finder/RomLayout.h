#pragma once

// Where a ROM file's bytes appear on the SNES bus, so that an offset found in
// the file can be given as the address a disassembly or a debugger shows.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tintwright {

enum class RomMapping { Unknown, LoRom, HiRom, ExHiRom };

struct RomLayout {
    RomMapping mapping = RomMapping::Unknown;
    std::uint32_t copierHeaderBytes = 0;  // 512 when a copier's header comes first
};

// Decides the mapping from the internal header (checksum and complement, map
// mode byte, reset vector) at the place each mapping keeps it; Unknown when no
// place, or more than one, looks right. The copier header is decided by the
// file's size: 512 bytes over a whole number of kilobytes.
RomLayout DetectRomLayout(std::span<const std::uint8_t> file);

// The bus address ($BBAAAA as a 24-bit number) of a file offset, or nothing
// when the mapping is unknown or the offset is not on the bus.
std::optional<std::uint32_t> BusAddress(const RomLayout& layout, std::uint64_t fileOffset);

// The same as text, such as "$03:A000".
std::optional<std::string> BusAddressText(const RomLayout& layout, std::uint64_t fileOffset);

// "LoROM", "HiROM", "ExHiROM" or "unknown".
const char* MappingName(RomMapping mapping);

}  // namespace tintwright
