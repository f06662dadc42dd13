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
    // How the user names a core, for the reasons: "PreviewCore=PATH in the
    // [Settings] section of FILE" (CoreSettingHint) or a console option.
    std::string howToName;
    std::vector<std::string> libretroFolders;  // where Debian puts cores, with a trailing slash
    std::function<bool(const std::string&)> exists;
};

Result<std::string> ChoosePreviewCore(const CoreChoice& choice);

std::string CoreSettingHint(const std::string& settingsFile);

// Why a capture read from format cannot be run by a core: "a mednafen state
// (module snes) cannot be run by a libretro core; states of ... can".
std::string NotRunnableReason(const std::string& format);
// Whether the capture came from an emulator's state, rather than a palette
// file or a CGRAM dump, which nobody expects to run.
bool IsSaveStateFormat(const std::string& format);

// Whether the program runs on Windows, told by its executable's name.
bool IsWindowsExecutable(const std::string& executablePath);

// The folders Debian's libretro packages install cores into, by architecture.
std::vector<std::string> DebianLibretroFolders();

}  // namespace tintwright
