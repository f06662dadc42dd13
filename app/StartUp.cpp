#include "app/StartUp.h"

#include "app/RomFiles.h"
#include "core/Process.h"
#include "settings/Settings.h"

namespace tintwright {

int StartUp(WindowSystem& windowSystem, ProgramState& state, MainWindowEvents& mainWindow,
            const StartUpOptions& options) {
    const std::string besideExecutable = SettingsPathFor(ThisProcess().ExecutablePath());
    state.settingsPath = options.settingsPath.empty() ? besideExecutable : options.settingsPath;
    state.settingsElsewhere = state.settingsPath != besideExecutable;
    state.emulatorPath = ReadEmulatorPath(state.settingsPath);
    state.stateToSearch = options.statePath;
    RomFiles files(windowSystem, state);
    const bool loaded = options.sourcePath && files.LoadSourceRom(*options.sourcePath) == 1;
    if (!loaded && files.OpenSourceRom() == -1) return -1;
    const int saveChosen =
        options.savePath ? files.UseSaveRomAfterAsking(*options.savePath) : files.ChooseSaveRom();
    if (saveChosen == -1) return -1;
    return windowSystem.RunMainWindow(mainWindow);
}

}  // namespace tintwright
