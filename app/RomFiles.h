#pragma once

// Choosing, loading and saving whole ROM files: the start-up choices, which
// are also File > Open and Save as, and the other file commands.

#include <string>
#include <string_view>

#include "app/ProgramState.h"
#include "window/WindowSystem.h"

namespace tintwright {

inline constexpr std::string_view kOpenFailedText = "Fail to Open file for Reading";
inline constexpr std::string_view kOpenFailedCaption = "File Open Error";
inline constexpr std::string_view kSavePathSetCaption = "New saving rom set to ...";
inline constexpr std::string_view kSaveFailedCaption = "File Save Error";
inline constexpr std::string_view kSavedCaption = "Saved";
inline constexpr std::string_view kRevertFailedCaption = "Revert Failed";
inline constexpr std::string_view kRevertSucceededText = "Revert Successful";
inline constexpr std::string_view kRevertSucceededCaption = "Information";
inline constexpr std::string_view kFileSettingsCaption = "Filename Info";
inline constexpr std::string_view kSaveRomTitle = "Save Rom as ...";
// The save dialog's own question before it overwrites a file; its title is
// the caption.
inline constexpr std::string_view kReplaceQuestionEnd = " already exists.\r\nDo you want to replace it?";
inline constexpr std::string_view kEmulatorFailedCaption = "Emulator Error";

FileDialogRequest OpenSourceRomRequest(const std::string& currentSourcePath);
FileDialogRequest ChooseSaveRomRequest(const std::string& currentSavePath);

// "Source Rom Filename: ...", "Save Rom Filename: ..." and "Snes Emulator: ...",
// then "Settings File: ..." when that is not beside the executable.
std::string FileSettingsText(const ProgramState& state);

class RomFiles {
public:
    // Whoever shows the ROM hears of a new one from the image's listeners.
    RomFiles(WindowSystem& windowSystem, ProgramState& state) : windowSystem_(windowSystem), state_(state) {}

    // 1 when a new source ROM is loaded, -1 on cancel or failure.
    int OpenSourceRom();
    // The same for a path given without the dialog (on the command line).
    int LoadSourceRom(const std::string& path);
    // -1 on cancel; otherwise the save path is changed and written.
    int ChooseSaveRom();
    // The same for a path given without the dialog.
    int UseSaveRom(const std::string& path);
    // A save path given without the dialog that names the source file itself:
    // asks the save dialog's question first, and No shows the dialog.
    // -1 on cancel, as ChooseSaveRom.
    int UseSaveRomAfterAsking(const std::string& path);
    // The working copy to the save path; "Saved" only when it was written.
    void Save();
    // Saves, then starts the emulator on the save file in the save file's
    // folder; an emulator that is not set or does not start is reported.
    void SaveAndRun();
    // The source ROM loaded again into both copies: 1, or -1 when it failed.
    int RevertToSource();
    void ShowFileSettings();

private:
    // Writes the save file; on failure the user is told why and false returned.
    bool WriteSaveFile();
    void ShowLoadFailure(const std::string& reason, RomLoadFailure failure, std::string_view caption);
    // After a successful save, the patch beside it when the settings ask for one.
    void WritePatchIfAsked();
    void Install(LoadedRom loaded);

    WindowSystem& windowSystem_;
    ProgramState& state_;
};

}  // namespace tintwright
