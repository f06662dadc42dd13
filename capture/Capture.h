#pragma once

// The palette RAM (CGRAM) a user captured from a running game: a save state of
// their emulator, a debugger's CGRAM dump or a palette file. Readers are pure
// functions over the file's bytes; opening the file is the caller's business.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "core/Result.h"
#include "palette/PaletteFile.h"

namespace tintwright {

// A save state as a libretro core takes it back (retro_unserialize): the
// emulator's own bytes, out of any container and decompressed, and where its
// CGRAM stands in them, so that colours can be written into the state before
// a core loads it.
struct CoreState {
    // Which emulator's serializer wrote the bytes, for choosing a core:
    // "bsnes-mercury Accuracy", "bsnes-mercury Balanced", "bsnes-mercury
    // Performance" (also higan v094, which shares the layout), "bsnes v115",
    // "snes9x".
    std::string emulator;
    std::vector<std::uint8_t> bytes;
    std::size_t cgramAt = 0;      // 512 bytes from here
    bool cgramBigEndian = false;  // snes9x stores each word high byte first
};

struct Capture {
    std::string format;                 // what the bytes were, for the user: "mednafen state (module snes)"
    std::vector<std::uint16_t> colors;  // CGRAM words in CGRAM order, as the SNES stores them; at most 256
    // Only for states a libretro core can load; a palette file, a dump or a
    // state of mednafen, Mesen2 or ZSNES has none.
    std::optional<CoreState> coreState = std::nullopt;
};

// Reads any capture the program knows, recognised by its content alone, or
// says what was expected and where the file ended or went wrong.
Result<Capture> ReadCapture(std::span<const std::uint8_t> bytes);

// What a palette file in a format of its own (JASC-PAL, RIFF PAL, Adobe ACT,
// GIMP GPL) is taken for: a capture to search for, or, dropped onto the
// editor's strip, colours written whole at the view.
enum class PaletteFileUse { Searched, WrittenWhole };

// The one decision between a palette file and a capture. WrittenWhole gives
// such a palette file first, with every colour it lists (more than CGRAM's
// 256 too); anything else, raw colour words included, and every file under
// Searched, is read as ReadCapture reads it.
Result<std::variant<PaletteFile, Capture>> ReadCaptureOrPalette(std::span<const std::uint8_t> bytes,
                                                                PaletteFileUse use);

// Why a capture gives nothing to search for: all its colours are one, which
// matches at almost every place of any ROM. Nothing when it holds two or more.
std::optional<std::string> OneColorOnly(const Capture& capture);

}  // namespace tintwright
