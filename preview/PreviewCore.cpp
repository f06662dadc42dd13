#include "preview/PreviewCore.h"

#include <cctype>
#include <string_view>

namespace tintwright {

Result<std::string> ChoosePreviewCore(const CoreChoice& choice) {
    if (!choice.setting.empty()) return choice.setting;
    if (choice.windows)
        return Result<std::string>::Failed(
            "no libretro core is named: name a core DLL from RetroArch's cores folder (such as "
            "bsnes_mercury_balanced_libretro.dll, of the same width, 32- or 64-bit, as this program) as " +
            choice.howToName);
    const std::string prefix = "bsnes-mercury ";
    if (choice.emulator.rfind(prefix, 0) != 0)
        return Result<std::string>::Failed("no libretro core for " + choice.emulator +
                                           " states is known: name one as " + choice.howToName);
    std::string profile = choice.emulator.substr(prefix.size());
    for (char& c : profile) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string library = "bsnes_mercury_" + profile + "_libretro.so";
    for (const std::string& folder : choice.libretroFolders) {
        if (choice.exists && choice.exists(folder + library)) return folder + library;
    }
    return Result<std::string>::Failed("the state is bsnes-mercury's " + profile + " profile, and its core " +
                                       library + " is not installed (Debian package libretro-bsnes-mercury-" +
                                       profile + ")");
}

std::string NotRunnableReason(const std::string& format) {
    return "a " + format +
           " cannot be run by a libretro core; states of RetroArch, bsnes-mercury, higan, bsnes and snes9x "
           "can";
}

bool IsSaveStateFormat(const std::string& format) {
    return format.find("state") != std::string::npos || format.find(".bs") != std::string::npos;
}

std::string CoreSettingHint(const std::string& settingsFile) {
    return "PreviewCore=PATH in the [Settings] section of " + settingsFile;
}

bool IsWindowsExecutable(const std::string& executablePath) {
    const std::string_view end = ".exe";
    if (executablePath.size() < end.size()) return false;
    std::string tail = executablePath.substr(executablePath.size() - end.size());
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == end;
}

std::vector<std::string> DebianLibretroFolders() {
    return {"/usr/lib/x86_64-linux-gnu/libretro/", "/usr/lib/i386-linux-gnu/libretro/",
            "/usr/lib/aarch64-linux-gnu/libretro/", "/usr/lib/arm-linux-gnueabihf/libretro/",
            "/usr/lib/libretro/"};
}

}  // namespace tintwright
