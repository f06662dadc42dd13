#include "frontends/console/PaletteCommands.h"

#include <ostream>

#include "core/LittleEndian.h"
#include "frontends/console/CommandArguments.h"
#include "frontends/console/ConsoleCommand.h"
#include "palette/PaletteFile.h"

namespace tintwright {
namespace {

constexpr std::uint32_t kDefaultCount = 16;
constexpr std::uint32_t kMostExported = 256;

// Which format a written file gets. ".pal" means JASC-PAL, the one tile
// editors read; "--format riff" writes the RIFF palette instead.
struct FormatChoice {
    std::string_view key;
    std::string_view extension;
    PaletteFormat format;
};
constexpr FormatChoice kFormatChoices[] = {
    {"jasc", ".pal", PaletteFormat::JascPal},  {"riff", ".pal", PaletteFormat::RiffPal},
    {"gpl", ".gpl", PaletteFormat::GimpGpl},   {"act", ".act", PaletteFormat::AdobeAct},
    {"bin", ".bin", PaletteFormat::RawBgr555},
};

std::optional<PaletteFormat> ChooseFormat(const CommandArguments& parsed, const std::string& path) {
    const std::string key = parsed.Value("--format");
    const std::string extension = LowerExtension(path);
    for (const FormatChoice& choice : kFormatChoices)
        if (parsed.Has("--format") ? key == choice.key : extension == choice.extension) return choice.format;
    return std::nullopt;
}

// How many colour words fit from offset before the end of a file of size bytes.
std::uint64_t ColorsThatFit(std::uint64_t size, std::uint64_t offset) {
    return offset >= size ? 0 : (size - offset) / 2;
}

std::string FitMessage(const std::string& rom, std::size_t size, std::uint32_t offset, std::uint64_t wanted) {
    return rom + " has " + std::to_string(size) + " bytes: from " + FormatOffset(offset) + " it holds " +
           std::to_string(ColorsThatFit(size, offset)) + " colours, not " + std::to_string(wanted);
}

// The positional arguments ROM OFFSET FILE, checked; nothing when err was told why.
std::optional<CommandArguments> ParseRomOffsetFile(std::span<const std::string> arguments,
                                                   std::initializer_list<std::string_view> valueOptions,
                                                   std::uint32_t& offset, std::ostream& err) {
    std::string error;
    auto parsed = CommandArguments::Parse(arguments, valueOptions, {}, error);
    if (parsed && parsed->Positional().size() != 3)
        error = "expected ROM OFFSET FILE (see --help)";
    else if (parsed && !ParseHexOffset(parsed->Positional()[1]))
        error = "the offset " + parsed->Positional()[1] +
                " is not a hexadecimal number from $0 to $FFFFFFFF, such as $1A000";
    if (!error.empty()) {
        Refuse(err, error);
        return std::nullopt;
    }
    offset = *ParseHexOffset(parsed->Positional()[1]);
    return parsed;
}

}  // namespace

int RunExport(std::span<const std::string> arguments, std::ostream& out, std::ostream& err) {
    std::uint32_t offset = 0;
    const auto parsed = ParseRomOffsetFile(arguments, {"--count", "--format"}, offset, err);
    if (!parsed) return kExitBadInput;
    const std::string& rom = parsed->Positional()[0];
    const std::string& target = parsed->Positional()[2];
    const auto count =
        ParseDecimal(parsed->Value("--count", std::to_string(kDefaultCount)), 1, kMostExported);
    if (!count) return Refuse(err, "--count takes a number of colours from 1 to 256");
    const auto format = ChooseFormat(*parsed, target);
    if (!format)
        return Refuse(err,
                      "cannot tell which palette format to write: name the file .pal, .gpl, .act or .bin, "
                      "or give --format jasc, riff, gpl, act or bin");
    if (!OutputIsNoInput(target, {{"the ROM", rom}}, err)) return kExitBadInput;
    std::vector<std::uint8_t> bytes;
    if (!ReadInputFile(rom, "the ROM", bytes, err)) return kExitBadInput;
    if (ColorsThatFit(bytes.size(), offset) < *count)
        return Refuse(err, FitMessage(rom, bytes.size(), offset, *count));
    const std::vector<std::uint16_t> colors =
        LittleEndianWords(std::span(bytes).subspan(offset, 2 * static_cast<std::size_t>(*count)));
    const auto written = WritePaletteFile(*format, colors);
    if (!written) return Refuse(err, written.Reason());
    if (!WriteOutputFile(target, *written, err)) return kExitBadInput;
    out << "Wrote " << colors.size() << " colours from " << FormatOffset(offset) << " of " << rom << " to "
        << target << " (" << PaletteFormatName(*format) << ")\n";
    return kExitDone;
}

int RunImport(std::span<const std::string> arguments, std::ostream& out, std::ostream& err) {
    std::uint32_t offset = 0;
    const auto parsed = ParseRomOffsetFile(arguments, {"--output"}, offset, err);
    if (!parsed) return kExitBadInput;
    if (!parsed->Has("--output")) return Refuse(err, "import needs --output SAVE, the ROM file to write");
    const std::string& rom = parsed->Positional()[0];
    const std::string& source = parsed->Positional()[2];
    const std::string save = parsed->Value("--output");
    if (!OutputIsNoInput(save, {{"the ROM", rom}, {"the palette file", source}}, err)) return kExitBadInput;
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint8_t> paletteBytes;
    if (!ReadInputFile(rom, "the ROM", bytes, err) ||
        !ReadInputFile(source, "the palette file", paletteBytes, err))
        return kExitBadInput;
    const Result<PaletteFile> read = ReadPaletteFile(paletteBytes);
    if (!read) return Refuse(err, source + ": " + read.Reason());
    const std::vector<std::uint16_t>& colors = read->colors;
    if (ColorsThatFit(bytes.size(), offset) < colors.size())
        return Refuse(err, FitMessage(rom, bytes.size(), offset, colors.size()) + " (" + source + " has " +
                               std::to_string(colors.size()) + ")");
    // Only raw BGR555 carries bit 15, which the SNES ignores; from the other
    // formats each word keeps the ROM's, so an unchanged colour is unchanged bytes.
    const std::uint16_t fileBits = read->format == PaletteFormat::RawBgr555 ? 0xFFFF : 0x7FFF;
    for (std::size_t index = 0; index < colors.size(); ++index) {
        const std::size_t at = offset + 2 * index;
        SetU16(bytes, at,
               static_cast<std::uint16_t>((colors[index] & fileBits) | (GetU16(bytes, at) & ~fileBits)));
    }
    if (!WriteOutputFile(save, bytes, err)) return kExitBadInput;
    out << "Wrote the " << colors.size() << " colours of " << source << " ("
        << PaletteFormatName(read->format) << ") at " << FormatOffset(offset) << " into " << save << '\n';
    return kExitDone;
}

}  // namespace tintwright
