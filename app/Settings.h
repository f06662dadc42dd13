#pragma once

// Where the settings file lives and what start-up reads from it.

#include <string>
#include <string_view>

namespace tintwright {

inline constexpr std::string_view kSettingsSection = "Settings";
inline constexpr std::string_view kEmulatorPathKey = "SnesPath";
inline constexpr std::string_view kLocationSection = "Patch";

// The executable's path with its extension replaced by "ini"; a name without
// an extension gets ".ini" appended, so a Linux binary finds its file too.
std::string SettingsPathFor(const std::string& executablePath);

// "Settings" / "SnesPath", or empty text when the file or key is missing.
std::string ReadEmulatorPath(const std::string& settingsPath);

}  // namespace tintwright
