#pragma once

// Where the settings file lives and what start-up reads from it.

#include <string>
#include <string_view>

namespace tintwright {

inline constexpr std::string_view kSettingsSection = "Settings";
inline constexpr std::string_view kEmulatorPathKey = "SnesPath";
inline constexpr std::string_view kLocationSection = "Patch";
// "ips" or "bps": every save also writes a patch of that format beside the save file.
inline constexpr std::string_view kPatchFormatKey = "PatchFormat";
// The libretro core the game preview runs.
inline constexpr std::string_view kPreviewCoreKey = "PreviewCore";

// The executable's path with its extension replaced by "ini"; a name without
// an extension gets ".ini" appended, so a Linux binary finds its file too.
std::string SettingsPathFor(const std::string& executablePath);

// What decides where the settings file lives on a system where the program
// may be installed into a folder its user cannot write.
struct SettingsPlaces {
    std::string besideExecutable;       // SettingsPathFor the executable
    bool fileBesideExecutable = false;  // a settings file is there already
    bool executableFolderWritable = false;
    std::string configHome;  // $XDG_CONFIG_HOME, empty when unset
    std::string home;        // $HOME
};

// Beside the executable when a settings file is already there or that folder
// can be written (a build tree, a portable folder); otherwise
// tintwright/tintwright.ini in the user's configuration folder
// ($XDG_CONFIG_HOME, else ~/.config), so an installed editor keeps its book.
std::string ChooseSettingsPath(const SettingsPlaces& places);

// "Settings" / "SnesPath", or empty text when the file or key is missing.
std::string ReadEmulatorPath(const std::string& settingsPath);
// "Settings" / "PatchFormat" as written, or empty text when the file or key is missing.
std::string ReadPatchFormat(const std::string& settingsPath);

}  // namespace tintwright
