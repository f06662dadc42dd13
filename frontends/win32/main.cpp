// tintwright.exe: the editor as a native Windows program.

#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "app/ProgramState.h"
#include "app/StartUp.h"
#include "frontends/win32/ComApartment.h"
#include "frontends/win32/Win32Api.h"
#include "frontends/win32/Win32WindowSystem.h"
#include "mainwindow/MainWindow.h"
#include "window/Layout.h"

namespace {

// The path in the system's 8-bit text, made absolute against the current folder.
std::string FullPath(const char* path) {
    std::vector<char> full(MAX_PATH);
    DWORD length = GetFullPathNameA(path, static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length + 1);
        length = GetFullPathNameA(path, static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    return length == 0 || length >= full.size() ? std::string(path) : std::string(full.data(), length);
}

// A ROM dropped onto the program, or "Open with", arrives as the first
// argument; a second one names the save file. A window program has no
// console for options, so every argument is a path, except that --state and
// the argument after it name a save state to preview.
tintwright::StartUpOptions CommandLineOptions() {
    tintwright::StartUpOptions options;
    std::vector<std::string> paths;
    for (int i = 1; i < __argc; ++i) {
        if (std::string(__argv[i]) == "--state" && i + 1 < __argc)
            options.statePath = FullPath(__argv[++i]);
        else
            paths.push_back(__argv[i]);
    }
    if (paths.size() > 0) options.sourcePath = FullPath(paths[0].c_str());
    if (paths.size() > 1) options.savePath = FullPath(paths[1].c_str());
    return options;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Without COM only a start through a shell extension fails; the editor itself runs on.
    const tintwright::win32::ComApartment apartment;
    try {
        tintwright::Win32WindowSystem windowSystem(instance);
        tintwright::ProgramState state;
        tintwright::MainWindow mainWindow(windowSystem, state);
        return tintwright::StartUp(windowSystem, state, mainWindow, CommandLineOptions());
    } catch (const std::exception& error) {
        // Only start-up and the end can get here; the window procedures catch their own.
        MessageBoxA(nullptr, error.what(), std::string(tintwright::kMainWindowCaption).c_str(),
                    MB_OK | MB_ICONWARNING);
        return -1;
    }
}
