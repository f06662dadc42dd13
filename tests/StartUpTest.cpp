#include <gtest/gtest.h>

#include <fstream>

#include "app/CommandLine.h"
#include "app/RomFiles.h"
#include "app/StartUp.h"
#include "mainwindow/MainWindow.h"
#include "settings/Settings.h"
#include "tests/support/EditorFixture.h"
#include "window/ControlIds.h"

namespace tintwright {
namespace {

using testing::FakeProcess;
using testing::FakeWindowSystem;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

class StartUpTest : public ::testing::Test {
protected:
    StartUpTest() {
        process.executablePath = dir.File("tintwright.exe");
        WriteBytes(romPath, testing::IndexedRomBytes(0x400));
    }

    int Run(const StartUpOptions& options = {}) { return StartUp(fake, state, window, options); }
    // The user closes the window as soon as it appears.
    void CloseRightAway() {
        fake.session = [](MainWindowEvents& events) { events.OnCommand(ids::kExit, 0); };
    }

    TempDir dir;
    std::string romPath = dir.File("game.smc");
    std::string savePath = dir.File("hack.smc");
    FakeWindowSystem fake;
    FakeProcess process;
    ScopedProcess processScope{process};
    ProgramState state;
    MainWindow window{fake, state};
};

TEST_F(StartUpTest, CancelInEitherDialogEndsWithMinusOneAndNoBox) {
    fake.AnswerFileDialog(std::nullopt);
    EXPECT_EQ(Run(), -1);
    EXPECT_EQ(fake.fileDialogsShown.size(), 1u);

    fake.AnswerFileDialog(romPath);
    fake.AnswerFileDialog(std::nullopt);
    EXPECT_EQ(Run(), -1);
    EXPECT_TRUE(fake.boxesShown.empty());
    EXPECT_EQ(fake.runMainWindowCalls, 0);
    EXPECT_FALSE(std::filesystem::exists(savePath));
}

TEST_F(StartUpTest, UnreadableRomIsReportedThenEndsWithMinusOne) {
    fake.AnswerFileDialog(dir.File("missing.smc"));
    fake.ExpectMessageBox("File Open Error");
    EXPECT_EQ(Run(), -1);
    ASSERT_EQ(fake.boxesShown.size(), 1u);
    EXPECT_EQ(fake.boxesShown[0].text, "Fail to Open file for Reading");
    EXPECT_EQ(fake.boxesShown[0].style, 0x30u);
    EXPECT_FALSE(fake.boxesShown[0].ownedByMainWindow) << "no window exists to own it yet";
    EXPECT_EQ(state.rom.SourcePath(), dir.File("missing.smc")) << "kept for Reload Source";
    EXPECT_EQ(fake.runMainWindowCalls, 0);
}

TEST_F(StartUpTest, SuccessWritesTheFirstCopySilentlyAndRunsTheWindowToExitCodeZero) {
    fake.AnswerFileDialog(romPath);
    fake.AnswerFileDialog(savePath);
    CloseRightAway();
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(fake.boxesShown.empty());
    EXPECT_EQ(ReadBytes(savePath), ReadBytes(romPath));
    EXPECT_EQ(state.saveCounter, 1u);
    EXPECT_EQ(fake.runMainWindowCalls, 1);
    EXPECT_TRUE(fake.mainWindowDestroyed);
    EXPECT_FALSE(state.rom.IsLoaded()) << "closing releases both copies";
}

TEST_F(StartUpTest, SameFileAsSourceAndSaveIsRewrittenWithIdenticalBytes) {
    const auto before = ReadBytes(romPath);
    fake.AnswerFileDialog(romPath);
    fake.AnswerFileDialog(romPath);
    CloseRightAway();
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(ReadBytes(romPath), before);
}

TEST_F(StartUpTest, FirstCopyThatCannotBeWrittenIsReportedWithItsPath) {
    const std::string unwritable = dir.File("no-such-folder/hack.smc");
    fake.AnswerFileDialog(romPath);
    fake.AnswerFileDialog(unwritable);
    fake.ExpectMessageBox(std::string(kSaveFailedCaption));
    CloseRightAway();
    EXPECT_EQ(Run(), 0) << "the editor still opens; Save as can choose another path";
    ASSERT_EQ(fake.boxesShown.size(), 1u);
    EXPECT_NE(fake.boxesShown[0].text.find(unwritable), std::string::npos);
    EXPECT_EQ(fake.boxesShown[0].style, 0x30u);
}

TEST_F(StartUpTest, DialogsAreDescribedAsUsersKnowThem) {
    fake.AnswerFileDialog(romPath);
    fake.AnswerFileDialog(savePath);
    CloseRightAway();
    Run();
    ASSERT_EQ(fake.fileDialogsShown.size(), 2u);
    const FileDialogRequest& open = fake.fileDialogsShown[0];
    const FileDialogRequest& save = fake.fileDialogsShown[1];
    const std::vector<FileFilter> filters = {{"Snes Rom (*.smc)", "*.smc"}, {"All Files (*.*)", "*.*"}};

    EXPECT_EQ(open.kind, FileDialogRequest::Kind::Open);
    EXPECT_EQ(open.title, "Open Source Snes Rom ...");
    EXPECT_EQ(open.filters, filters);
    EXPECT_EQ(open.selectedFilter, 1);
    EXPECT_EQ(open.defaultExtension, "smc");
    EXPECT_TRUE(open.fileMustExist && open.pathMustExist && open.hideReadOnly);
    EXPECT_FALSE(open.topmost);
    EXPECT_EQ(open.initialPath, "");

    EXPECT_EQ(save.kind, FileDialogRequest::Kind::Save);
    EXPECT_EQ(save.title, "Save Rom as ...");
    EXPECT_EQ(save.filters, filters);
    EXPECT_EQ(save.defaultExtension, "smc");
    EXPECT_TRUE(save.promptOverwrite && save.pathMustExist && save.hideReadOnly && save.topmost);
    EXPECT_FALSE(save.fileMustExist);
}

TEST_F(StartUpTest, EmulatorPathComesFromTheSettingsFileBesideTheExecutable) {
    std::ofstream(dir.File("tintwright.ini"), std::ios::binary)
        << "[Settings]\r\nSnesPath=C:\\Emu\\snes9x.exe\r\n";
    fake.AnswerFileDialog(romPath);
    fake.AnswerFileDialog(savePath);
    CloseRightAway();
    Run();
    EXPECT_EQ(state.settingsPath, dir.File("tintwright.ini"));
    EXPECT_EQ(state.emulatorPath, "C:\\Emu\\snes9x.exe");
    EXPECT_FALSE(state.settingsElsewhere);

    std::filesystem::create_directory(dir.File("config"));
    std::ofstream(dir.File("config/tintwright.ini"), std::ios::binary)
        << "[Settings]\r\nSnesPath=/usr/games/snes9x\r\n";
    fake.AnswerFileDialog(romPath);
    fake.AnswerFileDialog(savePath);
    state.saveCounter = 0;  // a second start of the program
    Run({dir.File("config/tintwright.ini"), std::nullopt, std::nullopt});
    EXPECT_EQ(state.emulatorPath, "/usr/games/snes9x") << "read from the file start-up was given";
    EXPECT_TRUE(state.settingsElsewhere);
}

// "Open with", or a ROM dropped onto the program, names the files up front.
TEST_F(StartUpTest, FilesGivenOnTheCommandLineReplaceTheirDialogs) {
    const std::string huge = dir.File("huge.smc");
    WriteBytes(huge, {});
    std::filesystem::resize_file(huge, kMaxRomFileBytes + 1);  // sparse
    const struct {
        const char* name;
        std::optional<std::string> source;
        std::optional<std::string> save;
        std::vector<std::string> dialogs;  // the titles shown, in order
        std::vector<std::string> boxes;
    } rows[] = {
        {"source only", romPath, std::nullopt, {"Save Rom as ..."}, {}},
        {"source and save", romPath, savePath, {}, {}},
        {"a source that cannot be read",
         dir.File("missing.smc"),
         savePath,
         {"Open Source Snes Rom ..."},
         {"File Open Error"}},
        {"a save that cannot be written", romPath, dir.File("no-folder/hack.smc"), {}, {"File Save Error"}},
        {"a source larger than any ROM", huge, savePath, {"Open Source Snes Rom ..."}, {"File Open Error"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FakeWindowSystem fresh;
        ProgramState freshState;
        MainWindow freshWindow{fresh, freshState};
        for (const std::string& title : row.dialogs)
            fresh.AnswerFileDialog(title == "Save Rom as ..." ? savePath : romPath);
        for (const std::string& caption : row.boxes) fresh.ExpectMessageBox(caption);
        fresh.session = [](MainWindowEvents& events) { events.OnCommand(ids::kExit, 0); };
        EXPECT_EQ(StartUp(fresh, freshState, freshWindow, {"", row.source, row.save}), 0);
        std::vector<std::string> titles;
        for (const FileDialogRequest& request : fresh.fileDialogsShown) titles.push_back(request.title);
        EXPECT_EQ(titles, row.dialogs);
        EXPECT_EQ(freshState.rom.SourcePath(), romPath);
        EXPECT_EQ(freshState.rom.SavePath(), row.save.value_or(savePath));
        EXPECT_EQ(fresh.runMainWindowCalls, 1);
    }
    EXPECT_EQ(ReadBytes(savePath), ReadBytes(romPath)) << "the first copy went to the save path given";
}

// Mended: the source named again as the save file was replaced without the
// question the save dialog asks; No now shows that dialog.
TEST_F(StartUpTest, TheSourceGivenAgainAsTheSaveFileIsReplacedOnlyAfterTheSaveDialogsQuestion) {
    const std::vector<std::uint8_t> source = ReadBytes(romPath);
    const std::string sameFile = dir.File("./game.smc");  // spelt otherwise, still the source
    const struct {
        int answer;
        std::string savedTo;
        std::size_t saveDialogs;
    } rows[] = {{box::kAnswerYes, sameFile, 0}, {box::kAnswerNo, savePath, 1}};
    for (const auto& row : rows) {
        FakeWindowSystem fresh;
        ProgramState freshState;
        MainWindow freshWindow{fresh, freshState};
        fresh.ExpectMessageBox("Save Rom as ...", row.answer);
        if (row.saveDialogs > 0) fresh.AnswerFileDialog(savePath);
        fresh.session = [](MainWindowEvents& events) { events.OnCommand(ids::kExit, 0); };
        EXPECT_EQ(StartUp(fresh, freshState, freshWindow, {"", romPath, sameFile}), 0);
        ASSERT_FALSE(fresh.boxesShown.empty());
        EXPECT_EQ(fresh.boxesShown[0].text, sameFile + " already exists.\r\nDo you want to replace it?");
        EXPECT_EQ(fresh.boxesShown[0].style, 0x34u);
        EXPECT_EQ(fresh.fileDialogsShown.size(), row.saveDialogs);
        EXPECT_EQ(freshState.rom.SavePath(), row.savedTo);
    }
    EXPECT_EQ(ReadBytes(romPath), source);
    EXPECT_EQ(ReadBytes(savePath), source) << "No chose another file in the dialog";
}

TEST(CommandLine, PathsOptionsAndMisuse) {
    using Action = CommandLine::Action;
    const struct {
        std::vector<std::string> arguments;
        Action action;
        std::optional<std::string> source;
        std::optional<std::string> save;
        std::optional<std::string> state = {};
    } rows[] = {
        {{}, Action::Run, {}, {}},
        {{"game.smc"}, Action::Run, "game.smc", {}},
        {{"game.smc", "hack.smc"}, Action::Run, "game.smc", "hack.smc"},
        {{"--help"}, Action::Help, {}, {}},
        {{"game.smc", "-h"}, Action::Help, "game.smc", {}},
        {{"--version"}, Action::Version, {}, {}},
        {{"--", "--help", "-"}, Action::Run, "--help", "-"},
        {{"--frobnicate"}, Action::Misuse, {}, {}},
        {{"a", "b", "c"}, Action::Misuse, {}, {}},
        {{"game.smc", "--state", "game.state1", "hack.smc"},
         Action::Run,
         "game.smc",
         "hack.smc",
         "game.state1"},
        {{"--state=a b.state", "game.smc"}, Action::Run, "game.smc", {}, "a b.state"},
        {{"game.smc", "--state"}, Action::Misuse, {}, {}},
    };
    for (const auto& row : rows) {
        const CommandLine line = ParseCommandLine(row.arguments);
        EXPECT_EQ(line.action, row.action) << row.arguments.size();
        if (row.action == Action::Misuse) {
            EXPECT_FALSE(line.problem.empty());
            continue;
        }
        EXPECT_EQ(line.sourcePath, row.source);
        EXPECT_EQ(line.savePath, row.save);
        EXPECT_EQ(line.statePath, row.state);
    }
    EXPECT_NE(UsageText("tintwright").find("tintwright [SOURCE [SAVE]]"), std::string::npos);
}

TEST(SettingsPath, BesideTheProgramWhenItCanBeElseInTheUsersConfigurationFolder) {
    const struct {
        const char* name;
        SettingsPlaces places;
        const char* chosen;
    } rows[] = {
        {"writable folder",
         {"/opt/t/tintwright.ini", false, true, "/x", "/home/me"},
         "/opt/t/tintwright.ini"},
        {"file already there",
         {"/usr/bin/tintwright.ini", true, false, "/x", "/home/me"},
         "/usr/bin/tintwright.ini"},
        {"read-only folder",
         {"/usr/bin/tintwright.ini", false, false, "/home/me/.cfg", "/home/me"},
         "/home/me/.cfg/tintwright/tintwright.ini"},
        {"XDG_CONFIG_HOME unset",
         {"/usr/bin/tintwright.ini", false, false, "", "/home/me"},
         "/home/me/.config/tintwright/tintwright.ini"},
        {"relative XDG_CONFIG_HOME ignored",
         {"/usr/bin/tintwright.ini", false, false, "cfg", "/home/me"},
         "/home/me/.config/tintwright/tintwright.ini"},
    };
    for (const auto& row : rows) EXPECT_EQ(ChooseSettingsPath(row.places), row.chosen) << row.name;
}

TEST(SettingsPath, ReplacesOnlyTheExtensionOfTheFileName) {
    const std::pair<const char*, const char*> rows[] = {
        {"C:\\Tools\\snes\\editor.exe", "C:\\Tools\\snes\\editor.ini"},
        {"C:\\my.tools\\v1.6\\editor.exe", "C:\\my.tools\\v1.6\\editor.ini"},
        {"/opt/tintwright-1.6/tintwright", "/opt/tintwright-1.6/tintwright.ini"},
        {"/home/a.b/bin/tintwright", "/home/a.b/bin/tintwright.ini"},
        {"editor.", "editor.ini"},
    };
    for (const auto& [executable, settings] : rows)
        EXPECT_EQ(SettingsPathFor(executable), settings) << executable;
}

TEST(SettingsPath, MissingFileOrKeyGivesAnEmptyEmulatorPath) {
    TempDir dir;
    EXPECT_EQ(ReadEmulatorPath(dir.File("none.ini")), "");
    std::ofstream(dir.File("other.ini")) << "[Settings]\nOther=1\n";
    EXPECT_EQ(ReadEmulatorPath(dir.File("other.ini")), "");
}

}  // namespace
}  // namespace tintwright
