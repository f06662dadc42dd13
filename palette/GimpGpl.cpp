#include "palette/GimpGpl.h"

#include <cstdio>
#include <string>

#include "palette/ColorChannels.h"
#include "palette/TextLines.h"

namespace tintwright {
namespace {

Result<PaletteFile> Failure(std::size_t lineIndex, const std::string& why) {
    return Result<PaletteFile>::Failed("GIMP GPL: line " + std::to_string(lineIndex + 1) + ": " + why);
}

bool IsHeaderOrComment(std::string_view line) {
    const std::string_view trimmed = TrimBlanks(line);
    return trimmed.empty() || trimmed.starts_with('#') || line.starts_with("Name:") ||
           line.starts_with("Columns:");
}

}  // namespace

Result<PaletteFile> ReadGimpGpl(std::span<const std::uint8_t> bytes) {
    const std::vector<std::string_view> lines = SplitLines(bytes);
    if (lines.empty() || TrimBlanks(lines[0]) != kGimpGplMagic)
        return Failure(0, "expected \"GIMP Palette\"");
    PaletteFile palette{PaletteFormat::GimpGpl, {}};
    for (std::size_t index = 1; index < lines.size(); ++index) {
        if (IsHeaderOrComment(lines[index])) continue;
        std::string_view rest = lines[index];
        const auto color = ReadRgbTriplet(rest);
        if (!color)
            return Failure(index, "expected \"R G B name\" (0-255), found " + QuoteLine(lines[index]));
        palette.colors.push_back(*color);
    }
    if (palette.colors.empty()) return Failure(lines.size() - 1, "the file ends before its first colour");
    return palette;
}

std::vector<std::uint8_t> WriteGimpGpl(std::span<const std::uint16_t> colors) {
    std::string text = "GIMP Palette\nName: Tintwright\nColumns: 16\n#\n";
    for (const std::uint16_t word : colors) {
        const Rgb8 color = ToRgb8(word);
        // GIMP's own column layout; the name is the SNES word, as the editor shows it.
        char line[32];
        std::snprintf(line, sizeof line, "%3u %3u %3u\t$%04X\n", color.red, color.green, color.blue,
                      static_cast<unsigned>(word));
        text += line;
    }
    return {text.begin(), text.end()};
}

}  // namespace tintwright
