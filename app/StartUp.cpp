#include "app/StartUp.h"

#include "app/RomFiles.h"
#include "app/Settings.h"

namespace tintwright {

int StartUp(WindowSystem& windowSystem, ProgramState& state, MainWindowEvents& mainWindow) {
    state.settingsPath = SettingsPathFor(windowSystem.ExecutablePath());
    state.emulatorPath = ReadEmulatorPath(state.settingsPath);
    RomFiles files(windowSystem, state);
    if (files.OpenSourceRom() == -1) return -1;
    if (files.ChooseSaveRom() == -1) return -1;
    return windowSystem.RunMainWindow(mainWindow);
}

}  // namespace tintwright
