#include "app/CommandLine.h"

#include "window/Version.h"

namespace tintwright {
namespace {

constexpr std::size_t kMostPaths = 2;

CommandLine Misuse(std::string problem) {
    CommandLine line;
    line.action = CommandLine::Action::Misuse;
    line.problem = std::move(problem);
    return line;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    std::vector<std::string> paths;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!optionsEnded && argument == "--state") {
            if (i + 1 == arguments.size()) return Misuse("--state needs the path of a save state");
            line.statePath = arguments[++i];
        } else if (!optionsEnded && argument.starts_with("--state=")) {
            line.statePath = argument.substr(8);
        } else if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            line.action = CommandLine::Action::Help;
        } else if (!optionsEnded && argument == "--version") {
            if (line.action == CommandLine::Action::Run) line.action = CommandLine::Action::Version;
        } else if (!optionsEnded && argument.size() > 1 && argument.front() == '-') {
            return Misuse("unknown option " + argument);
        } else {
            paths.push_back(argument);
        }
    }
    if (paths.size() > kMostPaths) return Misuse("too many files: " + paths[kMostPaths]);
    if (!paths.empty()) line.sourcePath = paths[0];
    if (paths.size() > 1) line.savePath = paths[1];
    return line;
}

std::string UsageText(std::string_view programName) {
    const std::string name(programName);
    return "Usage: " + name +
           " [SOURCE [SAVE]] [--state STATE]\n"
           "Edits the colour palettes inside a Super Nintendo ROM image.\n"
           "\n"
           "  SOURCE     the ROM to open; without it a file dialog asks\n"
           "  SAVE       where the edited ROM is saved; without it a file dialog asks\n"
           "  --state STATE  a save state to search the ROM for and show in the game\n"
           "             preview, as if it were dropped onto the window\n"
           "  --help     show this text\n"
           "  --version  show the version\n";
}

std::string VersionText() {
    return std::string("Tintwright ") + TINTWRIGHT_VERSION + "\n";
}

}  // namespace tintwright
