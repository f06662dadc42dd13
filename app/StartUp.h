#pragma once

#include "app/ProgramState.h"
#include "window/WindowSystem.h"

namespace tintwright {

// The program's entry: finds the settings file, asks for the source ROM and
// the save path, writes the first save copy and runs the main window. Returns
// the process exit code: -1 when start-up is cancelled or the ROM cannot be read.
int StartUp(WindowSystem& windowSystem, ProgramState& state, MainWindowEvents& mainWindow);

}  // namespace tintwright
