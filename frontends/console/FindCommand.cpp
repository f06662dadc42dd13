#include "frontends/console/FindCommand.h"

#include <cstdio>
#include <limits>
#include <ostream>

#include "capture/Capture.h"
#include "finder/PaletteSearch.h"
#include "finder/RomLayout.h"
#include "finder/UniformHits.h"
#include "frontends/console/CommandArguments.h"
#include "frontends/console/ConsoleCommand.h"
#include "settings/LocationEntry.h"
#include "settings/ProfileFile.h"
#include "settings/Settings.h"

namespace tintwright {
namespace {

// The table shows this many hits; --all and --json give all of them.
constexpr std::size_t kMostHitsShown = 40;

struct FindInputs {
    std::string romPath;
    std::vector<std::uint8_t> rom;
    Capture capture;
    SearchOptions options;
};

// One option's number in its range, or the reason it cannot be used.
bool ReadNumberOption(const CommandArguments& parsed, std::string_view option, int fallback, int& value,
                      std::string& error) {
    const std::string text = parsed.Value(option, std::to_string(fallback));
    // Any whole number is taken here, so that the range check says what is allowed.
    const auto number = ParseDecimal(text, 0, std::numeric_limits<int>::max());
    if (!number) error = std::string(option) + " takes a whole number, not " + text;
    value = number ? static_cast<int>(*number) : fallback;
    return static_cast<bool>(number);
}

std::optional<SearchOptions> ReadSearchOptions(const CommandArguments& parsed, std::string& error) {
    SearchOptions options;
    if (!ReadNumberOption(parsed, "--min-run", options.minimumRun, options.minimumRun, error) ||
        !ReadNumberOption(parsed, "--tolerance", options.tolerance, options.tolerance, error) ||
        !ReadNumberOption(parsed, "--mismatches", options.mismatches, options.mismatches, error))
        return std::nullopt;
    if (const auto problem = CheckSearchOptions(options)) {
        error = *problem;
        return std::nullopt;
    }
    return options;
}

std::optional<FindInputs> ReadInputs(const CommandArguments& parsed, std::ostream& err) {
    std::string error;
    FindInputs inputs;
    const auto options = ReadSearchOptions(parsed, error);
    if (parsed.Positional().size() != 2) error = "expected ROM CAPTURE (see --help)";
    if (!error.empty() || !options) {
        Refuse(err, error);
        return std::nullopt;
    }
    inputs.options = *options;
    inputs.romPath = parsed.Positional()[0];
    const std::string& capturePath = parsed.Positional()[1];
    if (parsed.Has("--add-to-book") && parsed.Value("--add-to-book").empty()) {
        Refuse(err, "--add-to-book needs the settings file's path; an empty one names no file");
        return std::nullopt;
    }
    if (parsed.Has("--add-to-book") &&
        !OutputIsNoInput(parsed.Value("--add-to-book"),
                         {{"the ROM", inputs.romPath}, {"the capture", capturePath}}, err))
        return std::nullopt;
    std::vector<std::uint8_t> captureBytes;
    if (!ReadInputFile(inputs.romPath, "the ROM", inputs.rom, err) ||
        !ReadInputFile(capturePath, "the capture", captureBytes, err))
        return std::nullopt;
    const Result<Capture> reading = ReadCapture(captureBytes);
    if (!reading) {
        Refuse(err, capturePath + ": " + reading.Reason());
        return std::nullopt;
    }
    inputs.capture = reading.Value();
    return inputs;
}

std::string ColorRange(int first, int length) {
    return length == 1 ? std::to_string(first)
                       : std::to_string(first) + "-" + std::to_string(first + length - 1);
}

std::string BusText(const RomLayout& layout, std::uint32_t offset) {
    return BusAddressText(layout, offset).value_or("-");
}

std::string HitNote(const PaletteHit& hit) {
    if (hit.uniform) return "  one colour or black and white: matches almost anywhere";
    if (hit.parts.size() > 1) return "  stored in " + std::to_string(hit.parts.size()) + " parts";
    if (hit.subPalette >= 0) return "  sub-palette " + std::to_string(hit.subPalette);
    return {};
}

void PrintHitLine(std::ostream& out, const PaletteHit& hit, const RomLayout& layout) {
    char line[128];
    std::snprintf(line, sizeof line, "%-10s %-10s %3d %6d %7d %11d", FormatOffset(hit.Offset()).c_str(),
                  BusText(layout, hit.Offset()).c_str(), hit.row, hit.firstIndex, hit.length, hit.mismatches);
    out << line << HitNote(hit) << '\n';
    if (hit.parts.size() == 1) return;
    for (const PaletteRun& part : hit.parts)
        out << "  part " << FormatOffset(part.offset) << " (" << BusText(layout, part.offset) << "): colours "
            << ColorRange(part.firstIndex, part.length) << '\n';
}

void PrintRowsNotFound(std::ostream& out, const SearchResult& result) {
    if (result.rowsNotFound.empty()) return;
    out << "\nRows found nowhere:";
    for (const int row : result.rowsNotFound) out << ' ' << row;
    out << ".\nTheir colours may be stored compressed, or computed by the game at run time (fades, colour\n"
           "cycling); a capture taken during a fade may need --tolerance 1 to 3.\n";
}

// Hits that say something first; uniform ones summed up one line per colour
// unless every hit is asked for.
void PrintHits(std::ostream& out, const FindInputs& inputs, const SearchResult& result,
               const RomLayout& layout, bool all) {
    std::size_t shown = 0, left = 0;
    for (const PaletteHit& hit : result.hits) {
        if (hit.uniform && !all) continue;
        if (shown < kMostHitsShown || all)
            PrintHitLine(out, hit, layout), ++shown;
        else
            ++left;
    }
    if (left > 0) out << "... and " << left << " more (--all lists them)\n";
    if (all) return;
    for (const UniformHitGroup& group : GroupUniformHits(result, inputs.capture.colors, inputs.rom))
        out << UniformHitGroupText(group) << " (--all lists them)\n";
}

void PrintTable(std::ostream& out, const FindInputs& inputs, const SearchResult& result,
                const RomLayout& layout, bool all) {
    out << inputs.capture.format << ", " << inputs.capture.colors.size() << " colours, in " << inputs.romPath
        << " (" << MappingName(layout.mapping) << (layout.copierHeaderBytes ? ", copier header" : "")
        << "): " << result.hits.size() << (result.hits.size() == 1 ? " place\n" : " places\n");
    if (!result.hits.empty()) out << "\noffset     bus        row  first  length  mismatches\n";
    PrintHits(out, inputs, result, layout, all);
    if (result.tooManyRuns) out << "The ROM matched so often that the weakest runs were left out.\n";
    PrintRowsNotFound(out, result);
}

std::string JsonBus(const RomLayout& layout, std::uint32_t offset) {
    const auto text = BusAddressText(layout, offset);
    return text ? "\"" + *text + "\"" : "null";
}

void PrintJsonPart(std::ostream& out, const PaletteRun& part, const RomLayout& layout) {
    out << "{\"offset\": " << part.offset << ", \"bus_address\": " << JsonBus(layout, part.offset)
        << ", \"first_index\": " << int{part.firstIndex} << ", \"length\": " << int{part.length}
        << ", \"mismatches\": " << part.length - MatchedWords(part) << '}';
}

void PrintJsonHit(std::ostream& out, const PaletteHit& hit, const RomLayout& layout) {
    out << "{\"offset\": " << hit.Offset() << ", \"bus_address\": " << JsonBus(layout, hit.Offset())
        << ", \"row\": " << hit.row << ", \"first_index\": " << hit.firstIndex
        << ", \"length\": " << hit.length << ", \"mismatches\": " << hit.mismatches
        << ", \"sub_palette\": " << (hit.subPalette >= 0 ? std::to_string(hit.subPalette) : "null")
        << ", \"uniform\": " << (hit.uniform ? "true" : "false") << ", \"parts\": [";
    for (std::size_t i = 0; i < hit.parts.size(); ++i) {
        if (i > 0) out << ", ";
        PrintJsonPart(out, hit.parts[i], layout);
    }
    out << "]}";
}

void PrintJson(std::ostream& out, const SearchResult& result, const RomLayout& layout) {
    out << '[';
    for (std::size_t i = 0; i < result.hits.size(); ++i) {
        out << (i > 0 ? ",\n " : "");
        PrintJsonHit(out, result.hits[i], layout);
    }
    out << "]\n";
}

// Each row's best hit that says something goes into the location book,
// named and written as the editor's own entries. A name already in the book
// keeps the value it has there, which the user may have corrected by hand;
// the count says how many were new.
bool AddToBook(const std::string& settingsPath, const SearchResult& result, std::ostream& out,
               std::ostream& err, bool quiet) {
    // A script would otherwise hang without a word while another program
    // holds the book; after the wait it stops with exit 2.
    const LockWait wait{.whileWaiting = [&] {
        err << "tintwright-palette: waiting for " << settingsPath << " (locked by another program)\n";
    }};
    std::size_t count = 0;
    for (const PaletteHit& hit : BestHitOfEachRow(result)) {
        const LocationEntry entry = FoundPlaceEntry(hit.row, hit.Offset());
        const Result<bool> added =
            AddProfileString(settingsPath, kLocationSection, entry.name, entry.offsetText, wait);
        if (!added) {
            Refuse(err, "cannot write the location book " + settingsPath + ": " + added.Reason());
            return false;
        }
        count += *added ? 1 : 0;
    }
    if (!quiet)
        out << "\nAdded " << count << (count == 1 ? " place" : " places") << " to the location book in "
            << settingsPath << '\n';
    return true;
}

}  // namespace

int RunFind(std::span<const std::string> arguments, std::ostream& out, std::ostream& err) {
    std::string error;
    const auto parsed = CommandArguments::Parse(
        arguments, {"--tolerance", "--mismatches", "--min-run", "--add-to-book"}, {"--json", "--all"}, error);
    if (!parsed) return Refuse(err, error);
    const auto inputs = ReadInputs(*parsed, err);
    if (!inputs) return kExitBadInput;
    if (const auto nothing = OneColorOnly(inputs->capture)) {
        if (parsed->Has("--json")) out << "[]\n";
        err << "tintwright-palette: " << *nothing << "\n";
        return kExitFoundNothing;
    }
    const SearchResult result = *SearchPalettes(inputs->rom, inputs->capture.colors, inputs->options);
    const RomLayout layout = DetectRomLayout(inputs->rom);
    const bool json = parsed->Has("--json");
    if (json)
        PrintJson(out, result, layout);
    else
        PrintTable(out, *inputs, result, layout, parsed->Has("--all"));
    if (parsed->Has("--add-to-book") && !AddToBook(parsed->Value("--add-to-book"), result, out, err, json))
        return kExitBadInput;
    return result.hits.empty() ? kExitFoundNothing : kExitDone;
}

}  // namespace tintwright
