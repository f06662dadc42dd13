#pragma once

// What the program was asked to do on its command line:
//   tintwright [SOURCE [SAVE]] [--state STATE]
// With SOURCE the ROM is loaded without the open dialog, with SAVE as well the
// first copy is written there without the save dialog. This is how a file
// manager's "Open with", or a ROM dropped onto the program, starts it. STATE
// is searched for and previewed as if it were dropped onto the window.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tintwright {

struct CommandLine {
    enum class Action { Run, Help, Version, Misuse };
    Action action = Action::Run;
    std::optional<std::string> sourcePath;
    std::optional<std::string> savePath;
    std::optional<std::string> statePath;
    std::string problem;  // for Misuse: what was wrong
};

// The arguments after the program's name. "--help" ("-h") and "--version" ask
// for text; any other word starting with "-" is an unknown option, except "-"
// itself and anything after "--", which are paths. More than two paths is a
// misuse too.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

std::string UsageText(std::string_view programName);
std::string VersionText();

}  // namespace tintwright
