#include "palette/JascPal.h"

#include <charconv>
#include <string>

#include "palette/ColorChannels.h"
#include "palette/TextLines.h"

namespace tintwright {
namespace {

Result<PaletteFile> Failure(std::size_t lineIndex, const std::string& why) {
    return Result<PaletteFile>::Failed("JASC-PAL: line " + std::to_string(lineIndex + 1) + ": " + why);
}

std::optional<std::size_t> ParseCount(std::string_view text) {
    text = TrimBlanks(text);
    std::size_t count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (error != std::errc() || end != text.data() + text.size() || count == 0) return std::nullopt;
    return count;
}

void AppendText(std::vector<std::uint8_t>& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

}  // namespace

Result<PaletteFile> ReadJascPal(std::span<const std::uint8_t> bytes) {
    const std::vector<std::string_view> lines = SplitLines(bytes);
    if (lines.empty() || TrimBlanks(lines[0]) != kJascPalMagic) return Failure(0, "expected \"JASC-PAL\"");
    if (lines.size() < 2 || TrimBlanks(lines[1]) != "0100")
        return Failure(1, "expected the version \"0100\"");
    const auto count = lines.size() < 3 ? std::nullopt : ParseCount(lines[2]);
    if (!count) return Failure(2, "expected the number of colours");
    PaletteFile palette{PaletteFormat::JascPal, {}};
    std::size_t index = 3;
    for (; palette.colors.size() < *count; ++index) {
        const std::string expected =
            "colour " + std::to_string(palette.colors.size() + 1) + " of " + std::to_string(*count);
        if (index >= lines.size()) return Failure(index, "the file ends before " + expected);
        std::string_view rest = lines[index];
        const auto color = ReadRgbTriplet(rest);
        if (!color || !TrimBlanks(rest).empty())
            return Failure(index, expected + " as \"R G B\" (0-255), found " + QuoteLine(lines[index]));
        palette.colors.push_back(*color);
    }
    for (; index < lines.size(); ++index)
        if (!TrimBlanks(lines[index]).empty())
            return Failure(index, "more colours than the " + std::to_string(*count) + " the header declares");
    return palette;
}

std::vector<std::uint8_t> WriteJascPal(std::span<const std::uint16_t> colors) {
    std::vector<std::uint8_t> out;
    AppendText(out, "JASC-PAL\r\n0100\r\n" + std::to_string(colors.size()) + "\r\n");
    for (const std::uint16_t word : colors) {
        const Rgb8 color = ToRgb8(word);
        AppendText(out, std::to_string(color.red) + " " + std::to_string(color.green) + " " +
                            std::to_string(color.blue) + "\r\n");
    }
    return out;
}

}  // namespace tintwright
