#pragma once

// Puts the ROM's words where the game shows them: into the CGRAM inside a
// state, and into every copy of those rows in the game's work RAM, since many
// games upload a palette from WRAM to CGRAM in every vblank and would paint
// the state's old colours back otherwise.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "preview/PreviewProtocol.h"

namespace tintwright {

// The ROM's word at offset, or nothing when the word lies outside it.
std::optional<std::uint16_t> RomWord(std::span<const std::uint8_t> rom, std::uint32_t offset);

// Writes each mapped colour's ROM word into the 512 CGRAM bytes at cgramAt;
// does nothing when they do not lie inside the state.
void WriteMappedCgram(std::span<std::uint8_t> state, std::size_t cgramAt, bool bigEndian,
                      std::span<const MappedColor> colors, std::span<const std::uint8_t> rom);

// A place in WRAM that holds CGRAM colours first..last of one row as the
// state had them.
struct WramCopy {
    std::size_t at = 0;
    int first = 0;
    int last = 0;
};

// Every place in wram holding the state's words of a row's mapped colours,
// from its first mapped colour to its last, in the SNES's byte order. Rows
// whose words are all one value are left out: they match anywhere.
std::vector<WramCopy> FindWramCopies(std::span<const std::uint8_t> wram, std::span<const std::uint16_t> cgram,
                                     std::span<const MappedColor> colors);

void WriteMappedWram(std::span<std::uint8_t> wram, std::span<const WramCopy> copies,
                     std::span<const MappedColor> colors, std::span<const std::uint8_t> rom);

}  // namespace tintwright
