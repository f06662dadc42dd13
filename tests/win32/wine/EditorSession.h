#pragma once

// One run of the real editor in this process: a generated ROM, the real
// Win32WindowSystem built from the linked resources, the real main-window
// logic, and test steps that run inside the message loop once the window is
// up. The window is closed after the steps if they left it open.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/ProgramState.h"
#include "frontends/win32/Win32WindowSystem.h"
#include "mainwindow/MainWindow.h"
#include "tests/support/RecordingEvents.h"
#include "tests/win32/wine/ScriptedUser.h"

namespace tintwright::testing {

inline constexpr std::size_t kRomSize = 0x4000;

// The colour word the generated ROM holds at an even offset; no two words of
// a ROM of up to 64 KiB are equal, so a search finds each at one offset only,
// and none is black.
std::uint16_t RomWordAt(std::uint32_t offset);
RgbColor RomColorAt(std::uint32_t offset);

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path);
// The names in a folder as the system keeps them, read with the wide calls so
// that no code page stands between the test and the disk; "." and ".." left out.
std::vector<std::wstring> FolderNames(const std::filesystem::path& folder);

// The colour painted in a strip cell, at a point of its colour area clear of
// the glyphs at its top.
RgbColor StripCellColor(HWND window, int cell);
// A main-window client point over a strip cell, inside the strip band.
Point StripCellPoint(int cell);
// Black, which the generated ROM holds nowhere, typed in and applied to a
// cell, so that the working copy differs from the ROM and from any save before.
void ApplyBlackTo(HWND window, int cell);

class EditorSession {
public:
    explicit EditorSession(std::size_t romSize = kRomSize);
    // Another game, such as one a test core runs.
    explicit EditorSession(std::vector<std::uint8_t> rom);
    ~EditorSession();
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    // Start-up with both file dialogs answered, then steps(main window) inside
    // the message loop. Returns the program's exit code.
    int Run(std::function<void(HWND)> steps);

    void WriteSettings(const std::string& text) const;
    std::string SettingsText() const;
    // The colour word the editor's working copy holds at a byte offset.
    std::uint16_t WorkingWordAt(std::uint32_t offset) const;
    // The bytes a save writes now.
    std::vector<std::uint8_t> WorkingCopy() const;

    std::filesystem::path directory;
    std::filesystem::path romPath;
    std::filesystem::path savePath;
    std::vector<std::uint8_t> romBytes;
    // Given to start-up as the command line's --state STATE is.
    std::optional<std::string> statePath;

    Win32WindowSystem windowSystem;
    ScriptedUser user;
    ProgramState state;
    MainWindow logic;
    RecordingEvents events;
    // The settings file beside the executable, as the program finds it.
    std::filesystem::path settingsPath;

private:
    static void CALLBACK RunSteps(HWND, UINT, UINT_PTR timer, DWORD);

    // Save and Run makes the save folder current; later tests must not run
    // there, and the folder could not be removed while it is.
    std::filesystem::path startFolder_;

    std::function<void(HWND)> steps_;
    static EditorSession* running_;
};

}  // namespace tintwright::testing
