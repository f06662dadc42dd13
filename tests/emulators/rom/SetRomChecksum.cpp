// Writes the checksum and its complement into the internal header of a LoROM
// whose size is a power of two: set_rom_checksum ROM. ld65 cannot sum the
// bytes it links, and emulators use the pair to decide how a ROM is mapped.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/FileSystem.h"
#include "core/SafeFileWrite.h"

namespace {

constexpr std::size_t kComplementOffset = 0x7FDC;
constexpr std::size_t kChecksumOffset = 0x7FDE;

void PutWord(std::vector<std::uint8_t>& rom, std::size_t offset, std::uint16_t word) {
    rom[offset] = static_cast<std::uint8_t>(word);
    rom[offset + 1] = static_cast<std::uint8_t>(word >> 8);
}

bool IsPowerOfTwo(std::size_t size) {
    return size != 0 && (size & (size - 1)) == 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s ROM\n", argv[0]);
        return 2;
    }
    const std::string path = argv[1];
    std::vector<std::uint8_t> rom;
    const tintwright::FileOutcome read = tintwright::ReadWholeFile(path, 16u << 20, rom);
    if (!read || rom.size() < 0x8000 || !IsPowerOfTwo(rom.size())) {
        std::fprintf(stderr, "%s: not a LoROM of a power-of-two size %s\n", path.c_str(),
                     read.Reason().c_str());
        return 1;
    }
    // The pair always adds up to $1FE in the sum, whatever the checksum is.
    PutWord(rom, kComplementOffset, 0xFFFF);
    PutWord(rom, kChecksumOffset, 0x0000);
    std::uint16_t checksum = 0;
    for (const std::uint8_t byte : rom) checksum = static_cast<std::uint16_t>(checksum + byte);
    PutWord(rom, kComplementOffset, static_cast<std::uint16_t>(checksum ^ 0xFFFF));
    PutWord(rom, kChecksumOffset, checksum);
    const tintwright::FileOutcome written = tintwright::WriteFileSafely(path, rom);
    if (!written) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), written.Reason().c_str());
        return 1;
    }
    return 0;
}
