#pragma once

// Choosing, loading and saving whole ROM files.

#include <string_view>

#include "app/ProgramState.h"
#include "window/WindowSystem.h"

namespace tintwright {

inline constexpr std::string_view kOpenFailedText = "Fail to Open file for Reading";
inline constexpr std::string_view kOpenFailedCaption = "File Open Error";
inline constexpr std::string_view kSavePathSetCaption = "New saving rom set to ...";
inline constexpr std::string_view kSaveFailedCaption = "File Save Error";

FileDialogRequest OpenSourceRomRequest(const std::string& currentSourcePath);
FileDialogRequest ChooseSaveRomRequest(const std::string& currentSavePath);

class RomFiles {
public:
    RomFiles(WindowSystem& windowSystem, ProgramState& state)
        : windowSystem_(windowSystem), state_(state) {}

    // 1 when a new source ROM is loaded, -1 on cancel or failure.
    int OpenSourceRom();
    // -1 on cancel; otherwise the save path is changed and written.
    int ChooseSaveRom();

private:
    WindowSystem& windowSystem_;
    ProgramState& state_;
};

}  // namespace tintwright
