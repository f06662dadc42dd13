#include "app/RomFiles.h"

#include "app/PatchBesideSave.h"
#include "core/Process.h"

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

// Names the file and the system's reason, and says that nothing was lost.
std::string SaveFailedText(const std::string& path, const std::string& reason) {
    return "Could not write the save file:\r\n" + path + "\r\n(" + reason +
           ")\r\nWhatever was there before is unchanged. Choose another path with File > Save as.";
}

}  // namespace

std::string FileSettingsText(const ProgramState& state) {
    std::string text = "Source Rom Filename: " + state.rom.SourcePath() + "\r\n" +
                       "Save Rom Filename: " + state.rom.SavePath() + "\r\n\r\n" +
                       "Snes Emulator: " + state.emulatorPath;
    if (state.settingsElsewhere) text += "\r\nSettings File: " + state.settingsPath;
    return text;
}

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
    return LoadSourceRom(*chosen);
}

int RomFiles::LoadSourceRom(const std::string& path) {
    // The name is kept even when the load fails, so Reload Source tries it again.
    state_.rom.SourcePath() = path;
    auto loaded = LoadRomFile(path);
    if (!loaded) {
        windowSystem_.ShowMessageBox(kOpenFailedText, kOpenFailedCaption, box::kIconWarning);
        return -1;
    }
    Install(std::move(*loaded));
    return 1;
}

int RomFiles::ChooseSaveRom() {
    const auto chosen = windowSystem_.ShowFileDialog(ChooseSaveRomRequest(state_.rom.SavePath()));
    if (!chosen) return -1;
    return UseSaveRom(*chosen);
}

// Without the warning the user would edit for an hour and only then find the
// path unwritable; Save as can choose another one.
int RomFiles::UseSaveRom(const std::string& path) {
    state_.rom.SavePath() = path;
    if (WriteSaveFile() && state_.saveCounter != 0) {
        windowSystem_.ShowMessageBox(path, kSavePathSetCaption, box::kIconInformation);
    }
    ++state_.saveCounter;
    return static_cast<int>(state_.saveCounter);
}

void RomFiles::Save() {
    if (WriteSaveFile())
        windowSystem_.ShowMessageBox(state_.rom.SavePath(), kSavedCaption, box::kIconInformation);
}

// The emulator gets the save path as one argument, spaces and all; whether it
// starts is its own business and not reported.
void RomFiles::SaveAndRun() {
    if (!WriteSaveFile()) return;
    const std::string folder = FolderOf(state_.rom.SavePath(), kPathSeparators);
    ThisProcess().SetCurrentDirectory(folder);
    ThisProcess().StartProgram(state_.emulatorPath, {state_.rom.SavePath()}, folder);
}

int RomFiles::RevertToSource() {
    auto loaded = LoadRomFile(state_.rom.SourcePath());
    if (!loaded) {
        windowSystem_.ShowMessageBox(kOpenFailedText, kRevertFailedCaption, box::kIconWarning);
        return -1;
    }
    Install(std::move(*loaded));
    windowSystem_.ShowMessageBox(kRevertSucceededText, kRevertSucceededCaption, box::kIconInformation);
    return 1;
}

void RomFiles::ShowFileSettings() {
    windowSystem_.ShowMessageBox(FileSettingsText(state_), kFileSettingsCaption, box::kIconInformation);
}

bool RomFiles::WriteSaveFile() {
    const FileOutcome outcome = state_.rom.WriteToSavePath();
    if (!outcome) {
        windowSystem_.ShowMessageBox(SaveFailedText(state_.rom.SavePath(), outcome.Reason()),
                                     kSaveFailedCaption, box::kIconWarning);
    } else {
        WritePatchIfAsked();
    }
    return static_cast<bool>(outcome);
}

// The patch's own trouble is a warning of its own; the save stays a success.
void RomFiles::WritePatchIfAsked() {
    const auto warning = WritePatchBesideSave(state_.settingsPath, state_.rom);
    if (warning) windowSystem_.ShowMessageBox(*warning, kPatchFailedCaption, box::kIconWarning);
}

// Both copies become the new file; the view is shown afresh so that nothing
// goes on working from the old file's colours.
void RomFiles::Install(LoadedRom loaded) {
    state_.rom.Install(std::move(loaded));
    if (afterLoad_) afterLoad_();
}

}  // namespace tintwright
