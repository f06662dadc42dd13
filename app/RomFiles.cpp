#include "app/RomFiles.h"

namespace tintwright {
namespace {

std::vector<FileFilter> RomFilters() {
    return {{"Snes Rom (*.smc)", "*.smc"}, {"All Files (*.*)", "*.*"}};
}

}  // namespace

FileDialogRequest OpenSourceRomRequest(const std::string& currentSourcePath) {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.title = "Open Source Snes Rom ...";
    request.filters = RomFilters();
    request.initialPath = currentSourcePath;
    request.defaultExtension = "smc";
    request.fileMustExist = true;
    request.pathMustExist = true;
    return request;
}

FileDialogRequest ChooseSaveRomRequest(const std::string& currentSavePath) {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    request.title = "Save Rom as ...";
    request.filters = RomFilters();
    request.initialPath = currentSavePath;
    request.defaultExtension = "smc";
    request.pathMustExist = true;
    request.promptOverwrite = true;
    request.topmost = true;
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
