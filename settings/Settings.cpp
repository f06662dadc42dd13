#include "settings/Settings.h"

#include "settings/ProfileFile.h"

namespace tintwright {
namespace {

constexpr std::uint32_t kEmulatorPathBuffer = 261;
constexpr std::uint32_t kPatchFormatBuffer = 64;

}  // namespace

std::string SettingsPathFor(const std::string& executablePath) {
    // Only a dot in the file name itself starts the extension; dots in folder
    // names do not.
    const std::size_t nameStart = executablePath.find_last_of("\\/");
    const std::size_t dot = executablePath.rfind('.');
    const bool dotInName = dot != std::string::npos && (nameStart == std::string::npos || dot > nameStart);
    if (!dotInName) return executablePath + ".ini";
    return executablePath.substr(0, dot + 1) + "ini";
}

std::string ChooseSettingsPath(const SettingsPlaces& places) {
    if (places.fileBesideExecutable || places.executableFolderWritable) return places.besideExecutable;
    // A relative $XDG_CONFIG_HOME is to be ignored, as the base-directory rules say.
    const std::string configHome = !places.configHome.empty() && places.configHome.front() == '/'
                                       ? places.configHome
                                       : places.home + "/.config";
    return configHome + "/tintwright/tintwright.ini";
}

std::string ReadEmulatorPath(const std::string& settingsPath) {
    return ReadProfileString(settingsPath, kSettingsSection, kEmulatorPathKey, "", kEmulatorPathBuffer);
}

std::string ReadPatchFormat(const std::string& settingsPath) {
    return ReadProfileString(settingsPath, kSettingsSection, kPatchFormatKey, "", kPatchFormatBuffer);
}

}  // namespace tintwright
