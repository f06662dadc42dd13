#pragma once

// Which libretro core the game preview runs. A core named in the settings
// file is taken as it is. Otherwise on Linux it is the bsnes-mercury core
// Debian installs whose profile wrote the state, since a bsnes-mercury state
// loads only into its own profile; on Windows nothing is installed where we
// could know it, so the reason says what to name and where.

#include <functional>
#include <string>
#include <vector>

#include "core/Result.h"

namespace tintwright {

struct CoreChoice {
    std::string setting;   // [Settings] PreviewCore=, empty when unset
    std::string emulator;  // CoreState::emulator of the dropped state
    bool windows = false;
    std::string settingsFile;                  // named in the Windows reason
    std::vector<std::string> libretroFolders;  // where Debian puts cores, with a trailing slash
    std::function<bool(const std::string&)> exists;
};

Result<std::string> ChoosePreviewCore(const CoreChoice& choice);

}  // namespace tintwright
