#include "preview/PreviewCore.h"

#include <cctype>

namespace tintwright {

Result<std::string> ChoosePreviewCore(const CoreChoice& choice) {
    if (!choice.setting.empty()) return choice.setting;
    if (choice.windows)
        return Result<std::string>::Failed(
            "no libretro core is named: put PreviewCore=PATH to a core DLL from RetroArch's cores folder "
            "(such as "
            "bsnes_mercury_balanced_libretro.dll) in the [Settings] section of " +
            choice.settingsFile);
    const std::string prefix = "bsnes-mercury ";
    if (choice.emulator.rfind(prefix, 0) != 0)
        return Result<std::string>::Failed("no libretro core for " + choice.emulator +
                                           " states is known: name one as PreviewCore=PATH in the [Settings] "
                                           "section of " +
                                           choice.settingsFile);
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

}  // namespace tintwright
