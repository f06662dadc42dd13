#include "app/RomFiles.h"

#include "app/PatchBesideSave.h"
#include "core/FileSystem.h"
#include "core/Process.h"
#include "settings/Settings.h"

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

// The save went well, so the user only needs to know what kept the emulator
// from starting and what to change.
std::string EmulatorFailedText(const std::string& emulator, const std::string& reason) {
    return "The ROM was saved, but the emulator could not be started:\r\n" + emulator + "\r\n(" + reason +
           ")";
}

std::string NoEmulatorText(const std::string& settingsPath) {
    return "The ROM was saved, but no emulator is set. To set one, put the line\r\n" +
           std::string(kEmulatorPathKey) + "=<the emulator's program>\r\nin the section [" +
           std::string(kSettingsSection) + "] of the settings file\r\n" + settingsPath;
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
    FileDialogRequest request =
        RomDialogRequest(FileDialogRequest::Kind::Save, std::string(kSaveRomTitle), currentSavePath);
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
    RomLoadFailure failure = RomLoadFailure::None;
    auto loaded = LoadRomFile(path, failure);
    if (!loaded) {
        ShowLoadFailure(loaded.Reason(), failure, kOpenFailedCaption);
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

// The README promises that the source is only replaced when the user says so;
// the dialog asks by itself, a path given on the command line is asked here.
int RomFiles::UseSaveRomAfterAsking(const std::string& path) {
    if (Files().SameFile(path, state_.rom.SourcePath())) {
        const int answer = windowSystem_.ShowMessageBox(path + std::string(kReplaceQuestionEnd),
                                                        kSaveRomTitle, box::kYesNo | box::kIconWarning);
        if (answer != box::kAnswerYes) return ChooseSaveRom();
    }
    return UseSaveRom(path);
}

void RomFiles::Save() {
    if (WriteSaveFile())
        windowSystem_.ShowMessageBox(state_.rom.SavePath(), kSavedCaption, box::kIconInformation);
}

// The emulator gets the save path as one argument, spaces and all. A folder
// is refused here because the Windows shell would open it in Explorer and
// call that a success.
void RomFiles::SaveAndRun() {
    if (!WriteSaveFile()) return;
    const std::string& emulator = state_.emulatorPath;
    if (emulator.empty()) {
        windowSystem_.ShowMessageBox(NoEmulatorText(state_.settingsPath), kEmulatorFailedCaption,
                                     box::kIconWarning);
        return;
    }
    const std::string folder = FolderOf(state_.rom.SavePath(), kPathSeparators);
    ThisProcess().SetCurrentDirectory(folder);
    const FileOutcome started = Files().Status(emulator).kind == PathStatus::Kind::Folder
                                    ? FileOutcome::Failed("it is a folder, not a program")
                                    : ThisProcess().StartProgram(emulator, {state_.rom.SavePath()}, folder);
    if (!started) {
        windowSystem_.ShowMessageBox(EmulatorFailedText(emulator, started.Reason()), kEmulatorFailedCaption,
                                     box::kIconWarning);
    }
}

int RomFiles::RevertToSource() {
    RomLoadFailure failure = RomLoadFailure::None;
    auto loaded = LoadRomFile(state_.rom.SourcePath(), failure);
    if (!loaded) {
        ShowLoadFailure(loaded.Reason(), failure, kRevertFailedCaption);
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

// A file too large for the memory, or larger than any ROM, is not a file
// that could not be read, and another try will not help, so it is said apart.
void RomFiles::ShowLoadFailure(const std::string& reason, RomLoadFailure failure, std::string_view caption) {
    const std::string& path = state_.rom.SourcePath();
    if (failure != RomLoadFailure::LargerThanAnyRom && failure != RomLoadFailure::NoMemoryForCopies) {
        windowSystem_.ShowMessageBox(kOpenFailedText, caption, box::kIconWarning);
        return;
    }
    const std::string problem = failure == RomLoadFailure::LargerThanAnyRom
                                    ? "This file is too large to be a SNES ROM:"
                                    : "This ROM is too large for the memory:";
    windowSystem_.ShowMessageBox(problem + "\r\n" + path + "\r\n(" + reason + ")", caption,
                                 box::kIconWarning);
}

// The patch's own trouble is a warning of its own; the save stays a success.
void RomFiles::WritePatchIfAsked() {
    const auto warning = WritePatchBesideSave(state_.settingsPath, state_.rom);
    if (warning) windowSystem_.ShowMessageBox(*warning, kPatchFailedCaption, box::kIconWarning);
}

// Both copies become the new file; the image's listeners show it afresh, so
// that nothing goes on working from the old file's colours.
void RomFiles::Install(LoadedRom loaded) {
    state_.rom.Install(std::move(loaded));
}

}  // namespace tintwright
