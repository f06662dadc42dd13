// The file commands as a user meets them in the real window: Save, Reload
// Source and Show File Settings with their boxes, and Save and Run starting a
// real program that stands in for the emulator.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/Process.h"
#include "tests/win32/wine/EditorSession.h"
#include "tests/win32/wine/WindowProbe.h"
#include "window/ControlIds.h"

namespace tintwright::testing {
namespace {

constexpr int kEditedCell = 5;
constexpr std::uint32_t kEditedOffset = 0x100 + 2 * kEditedCell;  // the view starts at 0x100

// How the stand-in emulator was started, as it wrote it down.
struct StartRecord {
    std::string commandLine;             // as Windows handed it over
    std::string folder;                  // current while it ran
    std::vector<std::string> arguments;  // as the C run-time split them, the program's name left out
};

// A copy of the stand-in emulator (RecordArguments.cpp, built beside the
// tests) where users keep such programs: in a folder whose name has blanks.
std::filesystem::path InstallStandInEmulator(const EditorSession& session) {
    const std::filesystem::path emulator = session.directory / "stand in emulator" / "record arguments.exe";
    std::filesystem::create_directories(emulator.parent_path());
    std::filesystem::copy_file(session.settingsPath.parent_path() / "record_arguments.exe", emulator);
    return emulator;
}

// Waits for the stand-in's record, dispatching messages meanwhile; nothing
// when it never ran. The record appears whole, by a rename, but cannot be
// opened for a moment while the rename finishes.
std::optional<StartRecord> AwaitStartRecord(const std::filesystem::path& emulator) {
    const std::filesystem::path record = std::filesystem::path(emulator).replace_extension("txt");
    std::vector<std::uint8_t> bytes;
    if (!PumpUntil([&] { return !(bytes = FileBytes(record)).empty(); }, 20000)) return std::nullopt;
    std::istringstream text(std::string(bytes.begin(), bytes.end()));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    lines.resize(std::max<std::size_t>(lines.size(), 3));
    return StartRecord{lines[0], lines[1], {lines.begin() + 3, lines.end()}};
}

TEST(FileCommandsWindow, SaveWritesTheEditsReloadSourceUndoesThemAndShowFileSettingsNamesTheFiles) {
    EditorSession session;
    session.WriteSettings("[Settings]\r\nSnesPath=C:\\snes\\emulator.exe\r\n");
    session.Run([&](HWND window) {
        ApplyBlackTo(window, kEditedCell);
        ASSERT_EQ(session.WorkingWordAt(kEditedOffset), 0);
        const struct {
            const char* name;
            int command;
            std::string text;
            std::string caption;
            std::function<void()> expectAfterwards;
        } commands[] = {
            {"Save", ids::kSave, session.savePath.string(), "Saved",
             [&] {
                 EXPECT_EQ(FileBytes(session.savePath), session.WorkingCopy());
                 EXPECT_NE(FileBytes(session.savePath), session.romBytes);
             }},
            {"Reload Source", ids::kReloadSource, "Revert Successful", "Information",
             [&] {
                 EXPECT_EQ(session.WorkingCopy(), session.romBytes);
                 EXPECT_EQ(StripCellColor(window, kEditedCell), RomColorAt(kEditedOffset));
             }},
            {"Show File Settings", ids::kShowFileSettings,
             "Source Rom Filename: " + session.romPath.string() + "\r\nSave Rom Filename: " +
                 session.savePath.string() + "\r\n\r\nSnes Emulator: C:\\snes\\emulator.exe",
             "Filename Info", [] {}},
        };
        for (const auto& command : commands) {
            SCOPED_TRACE(command.name);
            session.user.boxes.clear();
            SendMessageA(window, WM_COMMAND, MAKEWPARAM(command.command, 0), 0);
            ASSERT_EQ(session.user.boxes.size(), 1u);
            ExpectBox(session.user.boxes[0], window, command.text, command.caption, MB_ICONINFORMATION);
            command.expectAfterwards();
        }
    });
}

// Mended: the Windows build was reported to refuse an empty ROM and one of
// exactly 64 MiB that the Linux build opens. Sparse files, so the large ones
// take no room on the disk.
TEST(FileCommandsWindow, OpensRomsFromEmptyToPastSixtyFourMebibytesAsLinuxDoes) {
    EditorSession session;
    session.Run([&](HWND window) {
        constexpr std::uintmax_t kMebibyte = std::uintmax_t{1} << 20;
        for (const std::uintmax_t size :
             {std::uintmax_t{0}, 64 * kMebibyte - 1, 64 * kMebibyte, 64 * kMebibyte + 1}) {
            SCOPED_TRACE(size);
            const std::filesystem::path rom = session.directory / ("size " + std::to_string(size) + ".smc");
            std::ofstream(rom, std::ios::binary).close();
            std::filesystem::resize_file(rom, size);
            session.user.AnswerFileDialog(rom.string());
            session.user.boxes.clear();
            SendMessageA(window, WM_COMMAND, MAKEWPARAM(ids::kOpen, 0), 0);
            EXPECT_TRUE(session.user.boxes.empty()) << session.user.boxes[0].text;
            EXPECT_EQ(session.state.rom.Size(), size);
        }
    });
}

// The save file lies in a folder whose name has blanks, as "My Documents" does.
TEST(FileCommandsWindow, SaveAndRunStartsTheEmulatorInTheSaveFolderWithTheSavePathAsOneArgument) {
    EditorSession session;
    const std::filesystem::path emulator = InstallStandInEmulator(session);
    const std::filesystem::path saveFolder = session.directory / "hack builds";
    std::filesystem::create_directories(saveFolder);
    session.savePath = saveFolder / "my hack.smc";
    session.WriteSettings("[Settings]\r\nSnesPath=" + emulator.string() + "\r\n");
    std::optional<StartRecord> started;
    session.Run([&](HWND window) {
        ApplyBlackTo(window, kEditedCell);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(ids::kSaveAndRun, 0), 0);
        EXPECT_TRUE(session.user.boxes.empty()) << "a save that worked and a start are not reported";
        EXPECT_EQ(FileBytes(session.savePath), session.WorkingCopy());
        started = AwaitStartRecord(emulator);
    });
    ASSERT_TRUE(started) << "the emulator did not run";
    EXPECT_EQ(started->arguments, std::vector<std::string>{session.savePath.string()})
        << started->commandLine;
    EXPECT_EQ(started->folder, saveFolder.string());
}

// Save and Run also makes the save folder this process's own, which would hide
// a start that ignored the folder it was given; so the start alone as well.
TEST(FileCommandsWindow, AStartedProgramGetsEveryArgumentWholeAndStartsInTheFolderGiven) {
    EditorSession session;
    const std::filesystem::path emulator = InstallStandInEmulator(session);
    const std::filesystem::path folder = session.directory / "start here";
    std::filesystem::create_directories(folder);
    const std::vector<std::string> arguments = {
        "C:\\roms with blanks\\", "say \"hi\"", "", "plain", "a\\\\b", "tab\there", "\\\"quoted\\\""};
    ASSERT_NE(std::filesystem::current_path(), folder);
    ASSERT_TRUE(SystemProcess().StartProgram(emulator.string(), arguments, folder.string() + "\\"));
    const std::optional<StartRecord> started = AwaitStartRecord(emulator);
    ASSERT_TRUE(started) << "the program did not run";
    EXPECT_EQ(started->arguments, arguments) << started->commandLine;
    EXPECT_EQ(started->folder, folder.string());
}

}  // namespace
}  // namespace tintwright::testing
