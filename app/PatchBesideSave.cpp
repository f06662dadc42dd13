#include "app/PatchBesideSave.h"

#include "core/SafeFileWrite.h"
#include "settings/Settings.h"

namespace tintwright {
namespace {

// Names the patch and the reason, and that the ROM itself is saved, so the
// warning is never read as a failed save.
std::string PatchFailedText(const std::string& path, const std::string& reason) {
    return "The ROM was saved, but its patch could not be written:\r\n" + path + "\r\n(" + reason + ")";
}

// A value we do not know is said once per save rather than ignored: the user
// asked for patches and would otherwise believe they were being written.
std::string UnknownFormatText(const std::string& value, const std::string& settingsPath) {
    return "The ROM was saved, but no patch was written: " + std::string(kPatchFormatKey) + "=" + value +
           " in [" + std::string(kSettingsSection) + "] of\r\n" + settingsPath +
           "\r\nis neither ips nor bps.";
}

}  // namespace

std::string PatchPathFor(const std::string& savePath, PatchFormat format) {
    return savePath + (format == PatchFormat::Ips ? ".ips" : ".bps");
}

std::optional<std::string> WritePatchBesideSave(const std::string& settingsPath, const RomImage& rom) {
    const std::string value = ReadPatchFormat(settingsPath);
    if (value.empty()) return std::nullopt;
    const std::optional<PatchFormat> format = PatchFormatNamed(value);
    if (!format) return UnknownFormatText(value, settingsPath);
    const std::string path = PatchPathFor(rom.SavePath(), *format);
    const auto patch = CreatePatch(*format, rom.SourceBytes(), rom.WorkingBytes().first(rom.Size()));
    if (!patch) return PatchFailedText(path, patch.Reason());
    const FileOutcome written = WriteFileSafely(path, *patch);
    if (!written) return PatchFailedText(path, written.Reason());
    return std::nullopt;
}

}  // namespace tintwright
