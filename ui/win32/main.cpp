// tintwright.exe: the editor as a native Windows program.

#include <exception>
#include <string>

#include "app/ProgramState.h"
#include "app/StartUp.h"
#include "ui/MainWindow.h"
#include "ui/win32/Win32Api.h"
#include "ui/win32/Win32WindowSystem.h"
#include "window/Layout.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        tintwright::Win32WindowSystem windowSystem(instance);
        tintwright::ProgramState state;
        tintwright::MainWindow mainWindow(windowSystem, state);
        return tintwright::StartUp(windowSystem, state, mainWindow);
    } catch (const std::exception& error) {
        // Only start-up and the end can get here; the window procedures catch their own.
        MessageBoxA(nullptr, error.what(), std::string(tintwright::kMainWindowCaption).c_str(),
                    MB_OK | MB_ICONWARNING);
        return -1;
    }
}
