#include "tests/win32/wine/EditorSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "app/StartUp.h"
#include "core/Process.h"
#include "core/SnesColor.h"
#include "mainwindow/PaletteStrip.h"
#include "tests/win32/wine/WindowProbe.h"
#include "window/ControlIds.h"

namespace tintwright::testing {
namespace {

std::filesystem::path FreshDirectory() {
    static int counter = 0;
    const auto path =
        std::filesystem::temp_directory_path() /
        ("tintwright-win32-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter));
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    return path;
}

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A search through a folder's names, ended on every way out.
class FolderSearch {
public:
    FolderSearch(const std::filesystem::path& folder, WIN32_FIND_DATAW& found)
        : handle_(FindFirstFileW((folder / L"*").c_str(), &found)) {}
    ~FolderSearch() {
        if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
    }
    FolderSearch(const FolderSearch&) = delete;
    FolderSearch& operator=(const FolderSearch&) = delete;

    bool Started() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool Next(WIN32_FIND_DATAW& found) { return FindNextFileW(handle_, &found) != 0; }

private:
    HANDLE handle_;
};

std::vector<std::uint8_t> GeneratedRom(std::size_t size) {
    std::vector<std::uint8_t> rom(size);
    for (std::uint32_t offset = 0; offset + 1 < size; offset += 2) {
        const std::uint16_t word = RomWordAt(offset);
        rom[offset] = static_cast<std::uint8_t>(word & 0xFF);
        rom[offset + 1] = static_cast<std::uint8_t>(word >> 8);
    }
    return rom;
}

}  // namespace

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::wstring> FolderNames(const std::filesystem::path& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    FolderSearch search(folder, found);
    for (bool more = search.Started(); more; more = search.Next(found)) {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::uint16_t RomWordAt(std::uint32_t offset) {
    return static_cast<std::uint16_t>(((offset / 2) * 0x0C65u + 0x1234u) & 0x7FFFu);
}

RgbColor RomColorAt(std::uint32_t offset) {
    return ToRgbColor(RomWordAt(offset));
}

RgbColor StripCellColor(HWND window, int cell) {
    return PaintedPixel(GetDlgItem(window, ids::kStrip), kStripCellWidth * cell + 3, 37);
}

Point StripCellPoint(int cell) {
    return {kStripLeft + kStripCellWidth * cell + kStripCellWidth / 2,
            (kStripBandTop + kStripBandBottom) / 2};
}

void ApplyBlackTo(HWND window, int cell) {
    LeftClickAt(window, StripCellPoint(cell));
    for (const int edit : {ids::kRedEdit, ids::kGreenEdit, ids::kBlueEdit}) {
        TypeInto(GetDlgItem(window, edit), "0");
    }
    Click(window, ids::kApplyButton);
}

EditorSession* EditorSession::running_ = nullptr;

EditorSession::EditorSession(std::size_t romSize) : EditorSession(GeneratedRom(romSize)) {}

EditorSession::EditorSession(std::vector<std::uint8_t> rom)
    : directory(FreshDirectory()),
      romPath(directory / "rom.smc"),
      savePath(directory / "save.smc"),
      romBytes(std::move(rom)),
      windowSystem(GetModuleHandleA(nullptr)),
      logic(windowSystem, state),
      events(&logic),
      settingsPath(std::filesystem::path(SystemProcess().ExecutablePath()).replace_extension("ini")),
      startFolder_(std::filesystem::current_path()) {
    WriteFile(romPath, romBytes);
    // An older save file that start-up must replace.
    WriteFile(savePath, std::vector<std::uint8_t>(16, 0xEE));
    std::filesystem::remove(settingsPath);
    windowSystem.SetModalScript(&user);
    // Menus wait for a user; a test that answers them lets the events through.
    events.holdRightButtons = true;
}

EditorSession::~EditorSession() {
    std::error_code ignored;
    std::filesystem::current_path(startFolder_, ignored);
    std::filesystem::remove(settingsPath, ignored);
    std::filesystem::remove_all(directory, ignored);
}

void EditorSession::WriteSettings(const std::string& text) const {
    std::ofstream file(settingsPath, std::ios::binary | std::ios::trunc);
    file << text;
}

std::string EditorSession::SettingsText() const {
    const std::vector<std::uint8_t> bytes = FileBytes(settingsPath);
    return {bytes.begin(), bytes.end()};
}

std::uint16_t EditorSession::WorkingWordAt(std::uint32_t offset) const {
    const auto bytes = state.rom.WorkingBytes();
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

std::vector<std::uint8_t> EditorSession::WorkingCopy() const {
    const auto bytes = state.rom.WorkingBytes();
    return {bytes.begin(), bytes.begin() + state.rom.Size()};
}

int EditorSession::Run(std::function<void(HWND)> steps) {
    user.AnswerFileDialog(romPath.string());
    user.AnswerFileDialog(savePath.string());
    steps_ = std::move(steps);
    running_ = this;
    // A thread timer: its tick is the first thing the main loop dispatches.
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, RunSteps);
    StartUpOptions options;
    options.statePath = statePath;
    const int exitCode = StartUp(windowSystem, state, events, options);
    KillTimer(nullptr, timer);
    running_ = nullptr;
    return exitCode;
}

void CALLBACK EditorSession::RunSteps(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    EditorSession* session = running_;
    if (session == nullptr || !session->steps_) return;
    const HWND window = session->windowSystem.MainWindowHandle();
    auto steps = std::move(session->steps_);
    session->steps_ = nullptr;
    steps(window);
    // Whatever the steps did, the loop must end.
    if (IsWindow(window)) SendMessageA(window, WM_CLOSE, 0, 0);
}

}  // namespace tintwright::testing
