#include "app/RomFiles.h"

namespace tintwright {
namespace {

// What both ROM dialogs share: the filters, the extension and the hidden
// read-only box, with the previous choice filled in.
FileDialogRequest RomDialogRequest(FileDialogRequest::Kind kind, std::string title, const std::string& path) {
    FileDialogRequest request;
    request.kind = kind;
    request.title = std::move(title);
    request.filters = {{"Snes Rom (*.smc)", "*.smc"}, {"All Files (*.*)", "*.*"}};
    request.initialPath = path;
    request.defaultExtension = "smc";
    request.pathMustExist = true;
    return request;
}

}  // namespace

FileDialogRequest OpenSourceRomRequest(const std::string& currentSourcePath) {
    FileDialogRequest request =
        RomDialogRequest(FileDialogRequest::Kind::Open, "Open Source Snes Rom ...", currentSourcePath);
    request.fileMustExist = true;
    return request;
}

FileDialogRequest ChooseSaveRomRequest(const std::string& currentSavePath) {
    FileDialogRequest request = RomDialogRequest(FileDialogRequest::Kind::Save, "Save Rom as ...", currentSavePath);
    request.promptOverwrite = true;
    request.topmost = true;  // kept above the editor and anything else
    return request;
}

int RomFiles::OpenSourceRom() {
    const auto chosen = windowSystem_.ShowFileDialog(OpenSourceRomRequest(state_.rom.SourcePath()));
    if (!chosen) return -1;
    // The chosen name is kept even when the load fails, so Reload Source tries it again.
    state_.rom.SourcePath() = *chosen;
    auto loaded = LoadRomFile(*chosen);
    if (!loaded) {
        windowSystem_.ShowMessageBox(kOpenFailedText, kOpenFailedCaption, box::kIconWarning);
        return -1;
    }
    state_.rom.Install(std::move(*loaded));
    return 1;
}

int RomFiles::ChooseSaveRom() {
    const auto chosen = windowSystem_.ShowFileDialog(ChooseSaveRomRequest(state_.rom.SavePath()));
    if (!chosen) return -1;
    state_.rom.SavePath() = *chosen;
    if (!state_.rom.WriteToSavePath()) {
        // Without this the user would edit for an hour and only then find the
        // path unwritable; Save as can choose another one.
        windowSystem_.ShowMessageBox("Could not write the save file:\r\n" + *chosen +
                                         "\r\nChoose another path with File > Save as.",
                                     kSaveFailedCaption, box::kIconWarning);
    } else if (state_.saveCounter != 0) {
        windowSystem_.ShowMessageBox(*chosen, kSavePathSetCaption, box::kIconInformation);
    }
    ++state_.saveCounter;
    return static_cast<int>(state_.saveCounter);
}

}  // namespace tintwright
