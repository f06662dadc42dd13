#pragma once

// The patch a save leaves beside the save file when [Settings] PatchFormat
// asks for one, so every save is also something players can apply to their
// own copy of the source ROM.

#include <optional>
#include <string>
#include <string_view>

#include "core/RomImage.h"
#include "patch/PatchFile.h"

namespace tintwright {

inline constexpr std::string_view kPatchFailedCaption = "Patch Save Error";

// The save path with ".ips" or ".bps" added: the name mednafen looks for
// beside a ROM, and one no other ROM's patch shares.
std::string PatchPathFor(const std::string& savePath, PatchFormat format);

// After a successful save: the patch from the file as loaded to the saved
// bytes, written through the safe save. Returns the warning to show, or
// nothing when all went well or the settings ask for no patch.
std::optional<std::string> WritePatchBesideSave(const std::string& settingsPath, const RomImage& rom);

}  // namespace tintwright
