#include "preview/StatePatch.h"

#include <algorithm>
#include <array>

namespace tintwright {
namespace {

constexpr int kCgramColors = 256;

// The ROM offset of each CGRAM colour, or nothing.
std::array<std::optional<std::uint32_t>, kCgramColors> ByIndex(std::span<const MappedColor> colors) {
    std::array<std::optional<std::uint32_t>, kCgramColors> offsets{};
    for (const MappedColor& color : colors) offsets[color.index] = color.romOffset;
    return offsets;
}

void PutWord(std::uint8_t* at, std::uint16_t word, bool bigEndian) {
    at[bigEndian ? 1 : 0] = static_cast<std::uint8_t>(word);
    at[bigEndian ? 0 : 1] = static_cast<std::uint8_t>(word >> 8);
}

}  // namespace

std::optional<std::uint16_t> RomWord(std::span<const std::uint8_t> rom, std::uint32_t offset) {
    if (rom.size() < 2 || offset > rom.size() - 2) return std::nullopt;
    return static_cast<std::uint16_t>(rom[offset] | rom[offset + 1] << 8);
}

void WriteMappedCgram(std::span<std::uint8_t> state, std::size_t cgramAt, bool bigEndian,
                      std::span<const MappedColor> colors, std::span<const std::uint8_t> rom) {
    if (state.size() < 2 * kCgramColors || cgramAt > state.size() - 2 * kCgramColors) return;
    for (const MappedColor& color : colors) {
        if (const auto word = RomWord(rom, color.romOffset))
            PutWord(state.data() + cgramAt + 2u * color.index, *word, bigEndian);
    }
}

std::vector<WramCopy> FindWramCopies(std::span<const std::uint8_t> wram, std::span<const std::uint16_t> cgram,
                                     std::span<const MappedColor> colors) {
    const auto offsets = ByIndex(colors);
    std::vector<WramCopy> copies;
    for (int row = 0; row < kCgramColors / 16; ++row) {
        int first = -1;
        int last = -1;
        for (int index = row * 16; index < row * 16 + 16; ++index) {
            if (!offsets[static_cast<std::size_t>(index)] || static_cast<std::size_t>(index) >= cgram.size())
                continue;
            if (first < 0) first = index;
            last = index;
        }
        if (first < 0) continue;
        std::vector<std::uint8_t> words;
        for (int index = first; index <= last; ++index) {
            words.push_back(static_cast<std::uint8_t>(cgram[static_cast<std::size_t>(index)]));
            words.push_back(static_cast<std::uint8_t>(cgram[static_cast<std::size_t>(index)] >> 8));
        }
        const bool oneValue =
            std::all_of(cgram.begin() + first, cgram.begin() + last + 1,
                        [&](std::uint16_t word) { return word == cgram[static_cast<std::size_t>(first)]; });
        if (oneValue) continue;
        for (auto found = std::search(wram.begin(), wram.end(), words.begin(), words.end());
             found != wram.end(); found = std::search(found + 1, wram.end(), words.begin(), words.end())) {
            copies.push_back(WramCopy{static_cast<std::size_t>(found - wram.begin()), first, last});
        }
    }
    return copies;
}

void WriteMappedWram(std::span<std::uint8_t> wram, std::span<const WramCopy> copies,
                     std::span<const MappedColor> colors, std::span<const std::uint8_t> rom) {
    const auto offsets = ByIndex(colors);
    for (const WramCopy& copy : copies) {
        const std::size_t bytes = 2u * static_cast<std::size_t>(copy.last - copy.first + 1);
        if (copy.at > wram.size() || bytes > wram.size() - copy.at) continue;
        for (int index = copy.first; index <= copy.last; ++index) {
            const auto offset = offsets[static_cast<std::size_t>(index)];
            if (!offset) continue;
            if (const auto word = RomWord(rom, *offset))
                PutWord(wram.data() + copy.at + 2u * static_cast<std::size_t>(index - copy.first), *word,
                        false);
        }
    }
}

}  // namespace tintwright
