#pragma once

// Palette files of image and tile editors, read and written as SNES colour
// words. Pure functions over bytes: the caller reads and writes the files. The
// format is told by the content alone, never by a file name.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Result.h"

namespace tintwright {

enum class PaletteFormat { JascPal, RiffPal, AdobeAct, GimpGpl, RawBgr555 };

// The colours of a palette file in file order, as SNES words (bits 0-4 red,
// 5-9 green, 10-14 blue), and the format they were found in.
struct PaletteFile {
    PaletteFormat format = PaletteFormat::RawBgr555;
    std::vector<std::uint16_t> colors;
};

// Reads a JASC-PAL, RIFF PAL, Adobe ACT, GIMP GPL or raw little-endian BGR555
// file, or says where in the file and why it cannot. Bytes that are none of
// them get a reason naming the formats expected.
Result<PaletteFile> ReadPaletteFile(std::span<const std::uint8_t> bytes);

// The palette format the file's first bytes name (a RIFF PAL header, a first
// line "JASC-PAL" or "GIMP Palette", in UTF-16 text too), whether or not the
// rest parses: such a file is that format or broken, never raw colour words.
std::optional<PaletteFormat> NamedPaletteFormat(std::span<const std::uint8_t> bytes);

// The file's bytes, or the reason it cannot be written (no colours, or more
// than the format holds).
Result<std::vector<std::uint8_t>> WritePaletteFile(PaletteFormat format,
                                                   std::span<const std::uint16_t> colors);

// The most colours a file of the format holds.
std::size_t MaxPaletteColors(PaletteFormat format);
// "JASC-PAL", "RIFF PAL", "Adobe ACT", "GIMP GPL", "raw BGR555".
std::string_view PaletteFormatName(PaletteFormat format);

}  // namespace tintwright
