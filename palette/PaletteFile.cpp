#include "palette/PaletteFile.h"

#include <optional>
#include <string>
#include <vector>

#include "palette/AdobeAct.h"
#include "palette/GimpGpl.h"
#include "palette/JascPal.h"
#include "palette/RawBgr555.h"
#include "palette/RiffPal.h"
#include "palette/TextLines.h"

namespace tintwright {
namespace {

// The text formats are told by their first line, so a blank or a byte order
// mark before it does not hide them.
bool FirstLineIs(std::span<const std::uint8_t> bytes, std::string_view magic) {
    const std::vector<std::string_view> lines =
        SplitLines(bytes.first(std::min<std::size_t>(bytes.size(), 64)));
    return !lines.empty() && TrimBlanks(lines[0]) == magic;
}

// The largest count the text formats accept, as RIFF's 16-bit count.
constexpr std::size_t kMaxListedColors = 0xFFFF;

// Text behind a UTF-16 byte-order mark, its code units below 0x100 taken as
// bytes: enough to read a first line of ASCII.
std::optional<std::vector<std::uint8_t>> Utf16Narrowed(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2) return std::nullopt;
    const bool little = bytes[0] == 0xFF && bytes[1] == 0xFE;
    if (!little && !(bytes[0] == 0xFE && bytes[1] == 0xFF)) return std::nullopt;
    std::vector<std::uint8_t> narrowed;
    for (std::size_t at = 2; at + 1 < bytes.size() && narrowed.size() < 64; at += 2) {
        const std::uint8_t low = little ? bytes[at] : bytes[at + 1];
        const std::uint8_t high = little ? bytes[at + 1] : bytes[at];
        narrowed.push_back(high == 0 ? low : 0xFF);
    }
    return narrowed;
}

std::optional<PaletteFormat> TextFormatNamed(std::span<const std::uint8_t> bytes) {
    if (FirstLineIs(bytes, kJascPalMagic)) return PaletteFormat::JascPal;
    if (FirstLineIs(bytes, kGimpGplMagic)) return PaletteFormat::GimpGpl;
    return std::nullopt;
}

Result<PaletteFile> ReadNamed(PaletteFormat format, std::span<const std::uint8_t> bytes) {
    switch (format) {
        case PaletteFormat::RiffPal:
            return ReadRiffPal(bytes);
        case PaletteFormat::JascPal:
            return ReadJascPal(bytes);
        case PaletteFormat::GimpGpl:
            return ReadGimpGpl(bytes);
        default:
            return Result<PaletteFile>::Failed("no reader for a named " +
                                               std::string(PaletteFormatName(format)));
    }
}

}  // namespace

std::optional<PaletteFormat> NamedPaletteFormat(std::span<const std::uint8_t> bytes) {
    if (LooksLikeRiffPal(bytes)) return PaletteFormat::RiffPal;
    if (const auto format = TextFormatNamed(bytes)) return format;
    if (const auto narrowed = Utf16Narrowed(bytes)) return TextFormatNamed(*narrowed);
    return std::nullopt;
}

Result<PaletteFile> ReadPaletteFile(std::span<const std::uint8_t> bytes) {
    if (const auto format = NamedPaletteFormat(bytes)) {
        const std::string name(PaletteFormatName(*format));
        if (Utf16Narrowed(bytes))
            return Result<PaletteFile>::Failed(name + ": the file is UTF-16 text; save it as UTF-8 or ASCII");
        Result<PaletteFile> read = ReadNamed(*format, bytes);
        if (read && read->colors.size() > kMaxListedColors) {
            return Result<PaletteFile>::Failed(
                name + ": the file lists " + std::to_string(read->colors.size()) +
                " colours, more than the " + std::to_string(kMaxListedColors) + " a palette file holds");
        }
        return read;
    }
    if (bytes.size() == kActSize || bytes.size() == kActSizeWithCount) return ReadAdobeAct(bytes);
    if (LooksLikeRawBgr555(bytes)) return ReadRawBgr555(bytes);
    return Result<PaletteFile>::Failed(
        "not a palette file (" + std::to_string(bytes.size()) +
        " bytes): expected JASC-PAL or GIMP Palette text, a RIFF PAL, a 768- or "
        "772-byte Adobe ACT, or 2 to 512 bytes of BGR555 colour words");
}

Result<std::vector<std::uint8_t>> WritePaletteFile(PaletteFormat format,
                                                   std::span<const std::uint16_t> colors) {
    const std::size_t most = MaxPaletteColors(format);
    if (colors.empty() || colors.size() > most)
        return Result<std::vector<std::uint8_t>>::Failed(std::string(PaletteFormatName(format)) +
                                                         " holds 1 to " + std::to_string(most) +
                                                         " colours, not " + std::to_string(colors.size()));
    switch (format) {
        case PaletteFormat::JascPal:
            return WriteJascPal(colors);
        case PaletteFormat::RiffPal:
            return WriteRiffPal(colors);
        case PaletteFormat::AdobeAct:
            return WriteAdobeAct(colors);
        case PaletteFormat::GimpGpl:
            return WriteGimpGpl(colors);
        case PaletteFormat::RawBgr555:
            return WriteRawBgr555(colors);
    }
    return Result<std::vector<std::uint8_t>>::Failed("unknown palette format");
}

std::size_t MaxPaletteColors(PaletteFormat format) {
    switch (format) {
        case PaletteFormat::AdobeAct:
            return kActColors;
        case PaletteFormat::RawBgr555:
            return kRawMaxColors;
        default:
            return kMaxListedColors;
    }
}

std::string_view PaletteFormatName(PaletteFormat format) {
    switch (format) {
        case PaletteFormat::JascPal:
            return "JASC-PAL";
        case PaletteFormat::RiffPal:
            return "RIFF PAL";
        case PaletteFormat::AdobeAct:
            return "Adobe ACT";
        case PaletteFormat::GimpGpl:
            return "GIMP GPL";
        case PaletteFormat::RawBgr555:
            return "raw BGR555";
    }
    return "unknown";
}

}  // namespace tintwright
