// tintwright-palette: Tintwright's palette tools for the command line and
// scripts. Each subcommand is one row of the table below.

#include <exception>
#include <iostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frontends/console/ConsoleCommand.h"
#include "frontends/console/FindCommand.h"
#include "frontends/console/PaletteCommands.h"
#include "frontends/console/PatchCommands.h"
#include "frontends/console/PreviewCommand.h"
#include "window/Version.h"

namespace {

using namespace tintwright;

struct Subcommand {
    std::string_view name;
    ConsoleCommand run;
    std::string_view usage;
    std::string_view example;
};

constexpr Subcommand kSubcommands[] = {
    {"export", RunExport,
     "export ROM OFFSET [--count N] [--format jasc|riff|gpl|act|bin] OUT.(pal|gpl|act|bin)",
     "tintwright-palette export game.smc $1A000 --count 16 level1.gpl"},
    {"import", RunImport, "import ROM OFFSET IN --output SAVE",
     "tintwright-palette import game.smc $1A000 level1.gpl --output game-edited.smc"},
    {"patch", RunPatch, "patch SOURCE EDITED OUT.(ips|bps)",
     "tintwright-palette patch game.smc game-edited.smc game-edited.ips"},
    {"apply", RunApply, "apply SOURCE PATCH --output OUT",
     "tintwright-palette apply game.smc game-edited.bps --output game-patched.smc"},
    {"find", RunFind,
     "find ROM CAPTURE [--tolerance T] [--mismatches K] [--min-run N] [--json] [--all] [--add-to-book "
     "SETTINGS]",
     "tintwright-palette find game.smc game.mc0 --tolerance 1 --add-to-book tintwright.ini"},
    {"preview", RunPreview,
     "preview ROM STATE --output FRAME.png [--edited EDITED] [--core CORE] [--frames N]",
     "tintwright-palette preview game.smc game.state --edited game-edited.smc --output frame.png"},
    {"live", RunLive,
     "live ROM STATE [--frames N] [--press BUTTON@FRAME[+COUNT]]... [--from-power-on] [--json] [--core CORE]",
     "tintwright-palette live game.smc game.state --press start@10 --frames 300"},
};

void PrintUsage(std::ostream& stream, const Subcommand& subcommand) {
    stream << "  tintwright-palette " << subcommand.usage << "\n      e.g. " << subcommand.example << '\n';
}

void PrintHelp(std::ostream& stream) {
    stream << "tintwright-palette: SNES palettes in and out of ROMs, and patches.\n\nUsage:\n";
    for (const Subcommand& subcommand : kSubcommands) PrintUsage(stream, subcommand);
    stream
        << "\nOffsets are hexadecimal, $0 to $FFFFFFFF, with or without $ or 0x. Ranges: --count 1 to\n"
           "256; --tolerance 0 to 3; --min-run 2 to 16; --mismatches 0 to 8 and fewer than --min-run\n"
           "(defaults 16, 0, 4, 0); patch --format ips or bps. \"--\" ends the options. An output \"-\" is\n"
           "refused: this program writes files, not standard output (./- names a file called -).\n"
           "Palette files are read whatever their name (JASC-PAL, RIFF PAL, Adobe ACT, GIMP GPL, raw\n"
           "BGR555); written by OUT's extension, .pal as JASC-PAL (--format riff for a RIFF palette).\n"
           "Patches are applied, IPS or BPS, by their content. Exit status: 0 done, 2 bad input or a file\n"
           "that could not be read or written.\n"
           "\nfind reads CAPTURE whatever its name: a save state of RetroArch (plain or compressed, with\n"
           "the bsnes-mercury, bsnes or snes9x core), mednafen, snes9x, bsnes, higan, Mesen2 or ZSNES, a\n"
           "CGRAM dump or a palette file. It exits 1 when no colours were found. Its table lists the\n"
           "hits that say something first and sums up the uniform ones in one line per colour; --all\n"
           "lists every hit. With --json it prints one array of every hit, best first, each\n"
           "  {\"offset\": 106496, \"bus_address\": \"$03:A000\" or null, \"row\": 2, \"first_index\": 0,\n"
           "   \"length\": 16, \"mismatches\": 0, \"sub_palette\": 0-3 or null, \"uniform\": false,\n"
           "   \"parts\": [{\"offset\", \"bus_address\", \"first_index\", \"length\", \"mismatches\"}, "
           "...]}\n"
           "where parts holds one run, or two when a row is stored in halves at separate places, and\n"
           "uniform hits (one colour, black and white, or one ROM word repeated) match almost anywhere.\n"
           "\npreview runs STATE in a libretro core (a RetroArch, bsnes-mercury, higan, bsnes or snes9x\n"
           "state) with EDITED (default: ROM) as the game, after writing EDITED's words where find places\n"
           "STATE's colours in ROM, and writes the frame drawn after N frames (1 to 36000, default 1) as\n"
           "a PNG. Without --core it takes the installed bsnes-mercury core of the state's profile.\n"
           "\nlive tells which of the places find reports for STATE the game really loads: it runs STATE\n"
           "N frames (1 to 36000, default 600) twice with the same pad input, once with every candidate\n"
           "place's colours replaced by colours of its own, and prints for each CGRAM row the place(s)\n"
           "the game loaded and at which frame (counted from 0), the candidates not used, or that the\n"
           "row was not reloaded in those frames or was computed. --press holds a button (b, y, select,\n"
           "start, up, down, left, right, a, x, l, r) from FRAME for COUNT frames (default 2); it may be\n"
           "given many times. --from-power-on runs the game from power-on instead of from STATE (for\n"
           "palettes loaded once, such as a title screen's). Exit 0 when some row was told, 1 when\n"
           "none. With --json it prints one\n"
           "array, an object per CGRAM row with candidates:\n"
           "  {\"row\": 3, \"status\": \"loaded\" | \"not reloaded\" | \"computed\",\n"
           "   \"live\": [{\"offset\": 106496, \"bus_address\": \"$03:A000\" or null, \"frame\": 11}],\n"
           "   \"not_loaded\": [offsets...]}\n"
           "where live is empty unless status is loaded.\n";
}

int Run(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        PrintHelp(std::cerr);
        return kExitBadInput;
    }
    const std::string& first = arguments[0];
    if (first == "--help" || first == "-h" || first == "help") {
        PrintHelp(std::cout);
        return kExitDone;
    }
    if (first == "--version") {
        std::cout << "tintwright-palette " << TINTWRIGHT_VERSION << '\n';
        return kExitDone;
    }
    for (const Subcommand& subcommand : kSubcommands) {
        if (subcommand.name != first) continue;
        const std::span<const std::string> rest = std::span(arguments).subspan(1);
        if (!rest.empty() && (rest[0] == "--help" || rest[0] == "-h")) {
            PrintUsage(std::cout, subcommand);
            return kExitDone;
        }
        return subcommand.run(rest, std::cout, std::cerr);
    }
    return Refuse(std::cerr, "unknown subcommand " + first + " (see --help)");
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& exception) {
        return Refuse(std::cerr, std::string("stopped: ") + exception.what());
    }
}
