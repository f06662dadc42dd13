#pragma once

#include <optional>
#include <string>

#include "app/ProgramState.h"
#include "window/WindowSystem.h"

namespace tintwright {

// What the front end's main() found out before start-up.
struct StartUpOptions {
    std::string settingsPath;  // empty: beside the executable
    // From the command line: a source ROM to load without the open dialog,
    // and with it a save path to use without the save dialog.
    std::optional<std::string> sourcePath;
    std::optional<std::string> savePath;
    // A save state to search for and preview once the window is up.
    std::optional<std::string> statePath = std::nullopt;
};

// The program's entry: finds the settings file, asks for the source ROM and
// the save path (unless they were given), writes the first save copy and runs
// the main window. A given source that cannot be loaded gets the dialog's
// message and then the dialog. Returns the process exit code: -1 when start-up
// is cancelled or the ROM cannot be read.
int StartUp(WindowSystem& windowSystem, ProgramState& state, MainWindowEvents& mainWindow,
            const StartUpOptions& options = {});

}  // namespace tintwright
