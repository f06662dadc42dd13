#include "palette/PaletteFile.h"

#include <string>

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

// The largest count the text formats' writers accept, as RIFF's 16-bit count.
constexpr std::size_t kMaxListedColors = 0xFFFF;

}  // namespace

Result<PaletteFile> ReadPaletteFile(std::span<const std::uint8_t> bytes) {
    if (LooksLikeRiffPal(bytes)) return ReadRiffPal(bytes);
    if (FirstLineIs(bytes, kJascPalMagic)) return ReadJascPal(bytes);
    if (FirstLineIs(bytes, kGimpGplMagic)) return ReadGimpGpl(bytes);
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
