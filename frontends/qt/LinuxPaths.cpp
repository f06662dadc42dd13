#include "frontends/qt/LinuxPaths.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/FileSystem.h"
#include "settings/Settings.h"

namespace tintwright::qt {
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

std::string LinuxSettingsPath(const std::string& executablePath) {
    SettingsPlaces places;
    places.besideExecutable = SettingsPathFor(executablePath);
    places.fileBesideExecutable = ::access(places.besideExecutable.c_str(), F_OK) == 0;
    const std::string folder = FolderOf(executablePath, "/");
    places.executableFolderWritable = ::access(folder.empty() ? "." : folder.c_str(), W_OK) == 0;
    places.configHome = Environment("XDG_CONFIG_HOME");
    places.home = Environment("HOME");
    const std::string chosen = ChooseSettingsPath(places);
    if (chosen != places.besideExecutable) {
        // The file itself is made by the first write; its folder has to be there.
        std::error_code ignored;
        std::filesystem::create_directories(FolderOf(chosen, "/"), ignored);
    }
    return chosen;
}

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

}  // namespace tintwright::qt
