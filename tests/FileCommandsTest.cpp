// The File menu and the whole-file commands of the Tools and Help menus:
// saving, saving and starting the emulator, reloading the source, opening
// another ROM and the file-settings box.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/RomFiles.h"
#include "core/FileSystem.h"
#include "core/WindowsCommandLine.h"
#include "patch/PatchFile.h"
#include "tests/support/EditorFixture.h"
#include "tests/support/WindowsCommandLineSplit.h"
#include "window/ControlIds.h"

namespace tintwright {
namespace {

using testing::EditorFixture;
using testing::IndexedRomBytes;
using testing::ReadBytes;
using testing::SplitWindowsCommandLine;
using testing::WriteBytes;

class FileCommandsTest : public EditorFixture {
protected:
    void Edit() {
        TypeRgb("248", "0", "0");
        window->OnEditKeyUp(ids::kRedEdit);
        Command(ids::kApplyButton);  // the word at 0x120 becomes 0x001F
    }
    std::vector<std::uint8_t> Working() {
        const auto bytes = state.rom.WorkingBytes();
        return {bytes.begin(), bytes.begin() + state.rom.Size()};
    }
};

TEST_F(FileCommandsTest, SaveRewritesTheWholeFileEachTimeAndSaysSo) {
    StartEditor(IndexedRomBytes(0x400));
    for (int time = 0; time < 2; ++time) {
        Edit();
        fake.ExpectMessageBox("Saved");
        Command(ids::kSave);
        EXPECT_EQ(ReadBytes(state.rom.SavePath()), Working());
        EXPECT_EQ(fake.boxesShown.back().text, state.rom.SavePath());
        EXPECT_EQ(fake.boxesShown.back().style, 0x40u);
        TypeRgb("0", "0", "0");
    }
}

// Mended: a failed save used to be reported as "Saved", and Save and Run
// started the emulator on the old file.
TEST_F(FileCommandsTest, ASaveThatFailsSaysWhyKeepsTheOldFileAndStartsNothing) {
    StartEditor(IndexedRomBytes(0x400));
    state.emulatorPath = "/usr/bin/emulator";
    std::filesystem::create_directory(state.rom.SavePath());  // cannot be replaced by a file
    for (const int command : {ids::kSave, ids::kSaveAndRun}) {
        fake.ExpectMessageBox("File Save Error");
        Command(command);
        const std::string& text = fake.boxesShown.back().text;
        EXPECT_NE(text.find(state.rom.SavePath()), std::string::npos) << text;
        EXPECT_NE(text.find("unchanged"), std::string::npos) << text;
        EXPECT_EQ(fake.boxesShown.back().style, 0x30u);
    }
    EXPECT_TRUE(std::filesystem::is_directory(state.rom.SavePath()));
    EXPECT_TRUE(process.programsStarted.empty());
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()),
        2)
        << "no temporary file is left beside it";
}

TEST_F(FileCommandsTest, SaveAndRunStartsTheEmulatorOnTheSaveFileAsOneArgumentInItsFolder) {
    StartEditor(IndexedRomBytes(0x400));
    std::filesystem::create_directory(dir.File("my roms"));
    state.rom.SavePath() = dir.File("my roms/hack 1.smc");
    state.emulatorPath = "/opt/emu/snes emulator";
    Edit();
    Command(ids::kSaveAndRun);
    EXPECT_TRUE(fake.boxesShown.empty()) << "a started emulator needs no message";
    EXPECT_EQ(ReadBytes(state.rom.SavePath()), Working());
    const std::string folder = dir.File("my roms/");
    EXPECT_EQ(process.currentDirectory, folder);
    ASSERT_EQ(process.programsStarted.size(), 1u);
    EXPECT_EQ(process.programsStarted[0].file, "/opt/emu/snes emulator");
    EXPECT_EQ(process.programsStarted[0].arguments, std::vector<std::string>{state.rom.SavePath()});
    EXPECT_EQ(process.programsStarted[0].directory, folder);
}

// Mended: a missing emulator, a folder or an empty SnesPath used to save and
// then start nothing without a word (this test asserted that silence). The
// save still happens; the warning says which program and why, or how to set one.
TEST_F(FileCommandsTest, SaveAndRunWithAnEmulatorThatCannotStartSavesAndSaysWhy) {
    StartEditor(IndexedRomBytes(0x400));
    Edit();
    const struct {
        std::string emulator;
        std::string startFailure;
        std::vector<std::string> shown;
        std::size_t programsStarted;
    } rows[] = {
        {"/opt/emu/gone", "No such file or directory", {"/opt/emu/gone", "No such file or directory"}, 1},
        {dir.Path().string(), "", {dir.Path().string(), "folder"}, 0},
        {"", "", {"SnesPath=", "[Settings]", state.settingsPath}, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.emulator);
        state.emulatorPath = row.emulator;
        process.startProgramFailure = row.startFailure;
        process.programsStarted.clear();
        std::filesystem::remove(state.rom.SavePath());
        fake.ExpectMessageBox("Emulator Error");
        Command(ids::kSaveAndRun);
        EXPECT_EQ(ReadBytes(state.rom.SavePath()), Working());
        EXPECT_EQ(fake.boxesShown.back().style, 0x30u);
        for (const std::string& part : row.shown) {
            EXPECT_NE(fake.boxesShown.back().text.find(part), std::string::npos)
                << fake.boxesShown.back().text;
        }
        EXPECT_EQ(process.programsStarted.size(), row.programsStarted);
    }
}

class ReloadTest : public FileCommandsTest, public ::testing::WithParamInterface<int> {};

TEST_P(ReloadTest, TakesBackEveryEditAndShowsTheFileAgain) {
    StartEditor(IndexedRomBytes(0x400));
    Edit();
    fake.ExpectMessageBox("Information");
    Command(GetParam());
    EXPECT_EQ(fake.boxesShown.back().text, "Revert Successful");
    EXPECT_EQ(fake.boxesShown.back().style, 0x40u);
    EXPECT_EQ(Working(), IndexedRomBytes(0x400));
    const std::vector<std::uint8_t> undo(state.rom.UndoBytes().begin(), state.rom.UndoBytes().end());
    EXPECT_EQ(undo, IndexedRomBytes(0x400));
    // Mended: the strip used to keep the edited colours, which the gradient
    // and the tracker then went on using.
    EXPECT_EQ(window->View().ColorCache()[16], ToRgbColor(0x0090));
}

INSTANTIATE_TEST_SUITE_P(ReloadSourceAndUndoAll, ReloadTest,
                         ::testing::Values(ids::kReloadSource, ids::kUndoAll));

TEST_F(FileCommandsTest, AReloadThatFailsKeepsTheEdits) {
    StartEditor(IndexedRomBytes(0x400));
    Edit();
    std::filesystem::remove(state.rom.SourcePath());
    fake.ExpectMessageBox("Revert Failed");
    Command(ids::kReloadSource);
    EXPECT_EQ(fake.boxesShown.back().text, "Fail to Open file for Reading");
    EXPECT_EQ(fake.boxesShown.back().style, 0x30u);
    EXPECT_EQ(WorkingWord(0x120), 0x001F);
}

TEST_F(FileCommandsTest, OpenReplacesTheRomAndShowsItButKeepsTheSavePath) {
    StartEditor(IndexedRomBytes(0x400));
    const std::string savePath = state.rom.SavePath();
    const std::string other = dir.File("other.smc");
    WriteBytes(other, std::vector<std::uint8_t>(0x800, 0x42));
    fake.AnswerFileDialog(other);
    Command(ids::kOpen);
    EXPECT_EQ(state.rom.Size(), 0x800u);
    EXPECT_EQ(window->View().ColorCache()[0], ToRgbColor(0x4242)) << "shown at once";
    EXPECT_EQ(state.rom.SavePath(), savePath);

    fake.AnswerFileDialog(std::nullopt);
    Command(ids::kOpen);
    fake.AnswerFileDialog(dir.File("missing.smc"));
    fake.ExpectMessageBox("File Open Error");
    Command(ids::kOpen);
    EXPECT_EQ(state.rom.Size(), 0x800u) << "the old buffers stay";
    EXPECT_EQ(state.rom.SourcePath(), dir.File("missing.smc")) << "Reload tries the failed name again";
}

TEST_F(FileCommandsTest, SaveAsWritesTheNewPathAndSaysSo) {
    StartEditor(IndexedRomBytes(0x400));
    state.saveCounter = 1;  // start-up chose the first one
    fake.AnswerFileDialog(dir.File("second.smc"));
    fake.ExpectMessageBox("New saving rom set to ...");
    Command(ids::kSaveAs);
    EXPECT_EQ(fake.boxesShown.back().text, dir.File("second.smc"));
    EXPECT_EQ(ReadBytes(dir.File("second.smc")), Working());
    fake.AnswerFileDialog(std::nullopt);
    Command(ids::kSaveAs);
    EXPECT_EQ(state.rom.SavePath(), dir.File("second.smc"));
}

// [Settings] PatchFormat: which patch every save leaves beside the save file,
// and what the user is told.
struct PatchSettingRow {
    const char* name;
    const char* settings;
    const char* patchExtension;  // nothing: no patch file at all
    const char* warning;         // nothing: only "Saved" is shown
};

void PrintTo(const PatchSettingRow& row, std::ostream* out) {
    *out << row.name;
}

class PatchBesideSaveTest : public FileCommandsTest, public ::testing::WithParamInterface<PatchSettingRow> {};

TEST_P(PatchBesideSaveTest, TurnsTheFileAsLoadedIntoTheSavedRom) {
    const PatchSettingRow& row = GetParam();
    StartEditor(IndexedRomBytes(0x400), row.settings);
    Edit();
    fake.ExpectMessageBox("Buffer Update", box::kAnswerYes);
    Command(ids::kUpdateUndoBuffer);  // the patch still starts from the file as loaded
    fake.boxesShown.clear();
    if (row.warning) fake.ExpectMessageBox("Patch Save Error");
    fake.ExpectMessageBox("Saved");
    Command(ids::kSave);
    EXPECT_EQ(ReadBytes(state.rom.SavePath()), Working());
    for (const std::string extension : {".ips", ".bps"}) {
        const std::string path = state.rom.SavePath() + extension;
        if (row.patchExtension == nullptr || extension != row.patchExtension) {
            EXPECT_FALSE(std::filesystem::exists(path)) << path;
            continue;
        }
        const auto applied = ApplyPatch(IndexedRomBytes(0x400), ReadBytes(path));
        ASSERT_TRUE(applied) << applied.Reason();
        EXPECT_EQ(*applied, Working());
        EXPECT_EQ(DetectPatchFormat(ReadBytes(path)), PatchFormatNamed(extension.substr(1)));
    }
    if (row.warning) {
        EXPECT_NE(fake.boxesShown.front().text.find(row.warning), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, PatchBesideSaveTest,
    ::testing::Values(PatchSettingRow{"Ips", "[Settings]\r\nPatchFormat=ips\r\n", ".ips", nullptr},
                      PatchSettingRow{"BpsInCapitals", "[Settings]\r\nPatchFormat=BPS\r\n", ".bps", nullptr},
                      PatchSettingRow{"NoKey", "[Settings]\r\nSnesPath=/usr/bin/emulator\r\n", nullptr,
                                      nullptr},
                      PatchSettingRow{"UnknownValue", "[Settings]\r\nPatchFormat=ups\r\n", nullptr,
                                      "PatchFormat=ups in [Settings]"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FileCommandsTest, APatchThatCannotBeWrittenIsReportedAndTheRomIsStillSaved) {
    StartEditor(IndexedRomBytes(0x400), "[Settings]\r\nPatchFormat=ips\r\n");
    const std::string patch = state.rom.SavePath() + ".ips";
    std::filesystem::create_directory(patch);  // cannot be replaced by a file
    Edit();
    fake.ExpectMessageBox("Patch Save Error");
    fake.ExpectMessageBox("Saved");
    Command(ids::kSave);
    EXPECT_EQ(ReadBytes(state.rom.SavePath()), Working());
    const std::string& warning = fake.boxesShown.front().text;
    EXPECT_NE(warning.find(patch), std::string::npos) << warning;
    EXPECT_NE(warning.find("The ROM was saved"), std::string::npos) << warning;
    EXPECT_EQ(fake.boxesShown.front().style, 0x30u);
    EXPECT_TRUE(std::filesystem::is_directory(patch));
}

TEST_F(FileCommandsTest, ShowFileSettingsListsTheFilesInUse) {
    StartEditor(IndexedRomBytes(0x400));
    const std::string files =
        "Source Rom Filename: " + state.rom.SourcePath() + "\r\nSave Rom Filename: " + state.rom.SavePath();
    const struct {
        const char* emulator;
        bool settingsElsewhere;
        std::string text;
    } rows[] = {
        {"", false, files + "\r\n\r\nSnes Emulator: "},
        {"C:\\Emu\\snes9x.exe", false, files + "\r\n\r\nSnes Emulator: C:\\Emu\\snes9x.exe"},
        {"", true, files + "\r\n\r\nSnes Emulator: \r\nSettings File: " + state.settingsPath},
    };
    for (const auto& row : rows) {
        state.emulatorPath = row.emulator;
        state.settingsElsewhere = row.settingsElsewhere;
        fake.ExpectMessageBox("Filename Info");
        Command(ids::kShowFileSettings);
        EXPECT_EQ(fake.boxesShown.back().text, row.text);
        EXPECT_EQ(fake.boxesShown.back().style, 0x40u);
    }
}

TEST(FolderOf, IsThePathUpToItsLastSeparator) {
    const struct {
        const char* path;
        const char* separators;
        const char* folder;
    } rows[] = {
        {"C:\\roms\\hack.smc", "\\/", "C:\\roms\\"},
        {"C:/roms\\sub/hack.smc", "\\/", "C:/roms\\sub/"},
        {"/home/me/my roms/a.smc", "/", "/home/me/my roms/"},
        {"C:\\roms\\hack.smc", "/", ""},
        {"hack.smc", "\\/", ""},
    };
    for (const auto& row : rows) EXPECT_EQ(FolderOf(row.path, row.separators), row.folder) << row.path;
}

TEST(WindowsCommandLine, EveryListSplitsBackIntoItself) {
    const struct {
        std::vector<std::string> arguments;
        const char* line;  // nothing: only the round trip is checked
    } rows[] = {
        {{"C:\\roms\\my hack.smc"}, "\"C:\\roms\\my hack.smc\""},
        {{"C:\\roms\\hack.smc"}, "C:\\roms\\hack.smc"},
        {{""}, "\"\""},
        {{"say \"hi\""}, "\"say \\\"hi\\\"\""},
        {{"C:\\Program Files\\"}, "\"C:\\Program Files\\\\\""},
        {{"a\\\\\"b", "tab\there"}, "\"a\\\\\\\\\\\"b\" \"tab\there\""},
        {{"\\\\server\\share\\", "x", "", "\"", "\\"}, nullptr},
        {{"line\nbreak", "trailing space "}, nullptr},
    };
    for (const auto& row : rows) {
        const std::string line = QuoteWindowsCommandLine(row.arguments);
        if (row.line != nullptr) {
            EXPECT_EQ(line, row.line);
        }
        EXPECT_EQ(SplitWindowsCommandLine(line), row.arguments) << line;
    }
}

}  // namespace
}  // namespace tintwright
