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
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument == "--") {
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
           " [SOURCE [SAVE]]\n"
           "Edits the colour palettes inside a Super Nintendo ROM image.\n"
           "\n"
           "  SOURCE     the ROM to open; without it a file dialog asks\n"
           "  SAVE       where the edited ROM is saved; without it a file dialog asks\n"
           "  --help     show this text\n"
           "  --version  show the version\n";
}

std::string VersionText() {
    return std::string("Tintwright ") + TINTWRIGHT_VERSION + "\n";
}

}  // namespace tintwright
