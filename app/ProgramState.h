#pragma once

// What lives for the whole run, from start-up to the end of the process.

#include <cstdint>
#include <optional>
#include <string>

#include "core/RomImage.h"

namespace tintwright {

struct ProgramState {
    RomImage rom;
    std::string settingsPath;
    // The settings file is not beside the executable (an installed editor
    // keeps it in the user's configuration folder), so the user is told where.
    bool settingsElsewhere = false;
    std::string emulatorPath;
    std::uint32_t saveCounter = 0;  // completed save-path choices
    // Given on the command line: searched for once the main window is up.
    std::optional<std::string> stateToSearch;
};

}  // namespace tintwright
