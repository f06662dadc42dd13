// Every write the program makes — the save file and the settings file — either
// replaces the old file whole or leaves it byte for byte as it was, says why
// when it fails, and leaves no temporary file behind.

#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>

#include "app/RomFiles.h"
#include "core/RomImage.h"
#include "core/SafeFileWrite.h"
#include "settings/ProfileFile.h"
#include "tests/support/EditorFixture.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TempDir.h"
#include "window/ControlIds.h"

namespace tintwright {
namespace {

namespace fs = std::filesystem;
using testing::FaultyFileSystem;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::set<std::string> NamesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

std::vector<std::uint8_t> Pattern(std::size_t size, std::uint8_t seed) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + seed);
    return bytes;
}

// The two kinds of write, each replacing an existing file with new content.
struct WriteKind {
    const char* name;
    const char* file;
    std::vector<std::uint8_t> old;
    std::function<FileOutcome(const std::string&)> write;
};

std::vector<WriteKind> WriteKinds() {
    static const std::vector<std::uint8_t> rom = Pattern(300000, 3);  // several write steps
    const std::string settings = "[Patch]\r\nBoss=0001A000\r\n";
    return {
        {"ROM save", "save.smc", Pattern(1000, 9),
         [](const std::string& path) {
             return WriteRomFile(path, rom.data(), static_cast<std::uint32_t>(rom.size()));
         }},
        {"settings write",
         "tintwright.ini",
         {settings.begin(), settings.end()},
         [](const std::string& path) { return WriteProfileString(path, "Patch", "Intro", "00000100"); }},
    };
}

// Steps whose failure still leaves the new file in place: the permissions and
// the folder sync only make it better.
bool StepMayFail(const std::string& step) {
    return step == "permissions" || step == "sync folder";
}

TEST(SafeSave, EveryStepThatFailsLeavesTheOldFileWholeNoTemporaryFileAndAReason) {
    for (const WriteKind& kind : WriteKinds()) {
        SCOPED_TRACE(kind.name);
        TempDir dir;
        const std::string path = dir.File(kind.file);
        FaultyFileSystem faulty;
        const ScopedFileSystem scoped(faulty);
        WriteBytes(path, kind.old);
        ASSERT_TRUE(kind.write(path));
        const std::vector<std::uint8_t> fresh = ReadBytes(path);
        const std::vector<std::string> cleanRun = faulty.steps;
        ASSERT_EQ(cleanRun.back(), "sync folder") << "synced before the rename, the folder after it";
        EXPECT_EQ(*(cleanRun.end() - 2), "replace");
        EXPECT_EQ(*(cleanRun.end() - 4), "close");
        EXPECT_EQ(*(cleanRun.end() - 5), "sync");

        for (int step = 1; step <= static_cast<int>(cleanRun.size()); ++step) {
            const std::string& name = cleanRun[static_cast<std::size_t>(step - 1)];
            WriteBytes(path, kind.old);
            const std::set<std::string> before = NamesIn(dir.Path());
            faulty.steps.clear();
            faulty.failAtStep = step;
            const FileOutcome outcome = kind.write(path);
            faulty.failAtStep = 0;
            if (StepMayFail(name)) {
                EXPECT_TRUE(outcome) << name;
                EXPECT_EQ(ReadBytes(path), fresh) << name;
            } else {
                EXPECT_FALSE(outcome) << name;
                EXPECT_EQ(outcome.Reason(), "injected failure of " + name);
                EXPECT_EQ(ReadBytes(path), kind.old) << "after a failed " << name;
            }
            EXPECT_EQ(NamesIn(dir.Path()), before) << "after step " << step << ", " << name;
        }
    }
}

class FailedWriteTest : public testing::EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        faulty.failAtStep = 0;
    }
    // The next write's first step fails.
    void FailNextWrite() {
        faulty.steps.clear();
        faulty.failAtStep = 1;
    }
    std::string LastBoxText() { return fake.boxesShown.back().text; }

    FaultyFileSystem faulty;
    ScopedFileSystem scoped{faulty};
};

TEST_F(FailedWriteTest, EachFeatureTellsTheUserWhatFailedAndWhy) {
    StartEditor(testing::IndexedRomBytes(0x400), "[Patch]\r\nBoss=1\r\n");
    FailNextWrite();
    fake.ExpectMessageBox("File Save Error");
    Command(ids::kSave);
    EXPECT_NE(LastBoxText().find("injected failure of create"), std::string::npos) << LastBoxText();

    FailNextWrite();
    fake.SetText(ids::kOffsetBox, "8000");
    Command(ids::kAddAddress);
    const DialogHandle dialog = fake.dialogs.rbegin()->first;
    fake.dialogs[dialog].texts[ids::kDialogNameField] = "Cave";
    fake.ExpectMessageBox("Cave", box::kAnswerYes);
    fake.ExpectMessageBox("Location Book Error");
    window->OnLocationDialogCommand(dialog, ids::kDialogConfirmButton, 0);
    EXPECT_NE(LastBoxText().find("injected failure of lock"), std::string::npos) << LastBoxText();
    EXPECT_TRUE(fake.dialogs[dialog].open);

    FailNextWrite();
    fake.listSelection = 0;
    fake.ExpectMessageBox("Are you sure you want to delete this entry!", box::kAnswerYes);
    fake.ExpectMessageBox("Location Book Error");
    Command(ids::kRemoveAddress);
    EXPECT_NE(LastBoxText().find("injected failure of lock"), std::string::npos) << LastBoxText();
    EXPECT_EQ(fake.listRows, std::vector<std::string>{"Boss"});
    EXPECT_EQ(SettingsText(), "[Patch]\r\nBoss=1\r\n");
}

// Mended: a file its user marked read-only was replaced, as the folder
// allowed it. Decided by the file's own bits, so this holds for root too.
TEST_F(FailedWriteTest, AFileMarkedReadOnlyIsRefusedWithThatReasonAndStaysAsItWas) {
    StartEditor(testing::IndexedRomBytes(0x400), "[Patch]\r\nBoss=1\r\n");
    const std::vector<std::uint8_t> oldSave = {1, 2, 3};
    WriteBytes(state.rom.SavePath(), oldSave);
    for (const std::string& path : {state.rom.SavePath(), state.settingsPath}) {
        fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }
    const std::set<std::string> before = NamesIn(dir.Path());
    const auto expectRefusal = [&](const char* caption, const std::function<void()>& act) {
        fake.ExpectMessageBox(caption);
        act();
        EXPECT_NE(LastBoxText().find("(the file is read-only)"), std::string::npos) << LastBoxText();
    };
    expectRefusal("File Save Error", [&] { Command(ids::kSave); });
    expectRefusal("File Save Error", [&] { RomFiles(fake, state).UseSaveRom(state.rom.SavePath()); });
    fake.listSelection = 0;
    fake.ExpectMessageBox("Are you sure you want to delete this entry!", box::kAnswerYes);
    expectRefusal("Location Book Error", [&] { Command(ids::kRemoveAddress); });
    EXPECT_EQ(ReadBytes(state.rom.SavePath()), oldSave);
    EXPECT_EQ(SettingsText(), "[Patch]\r\nBoss=1\r\n");
    EXPECT_EQ(fs::status(state.rom.SavePath()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    std::set<std::string> after = NamesIn(dir.Path());
    after.erase("tintwright.ini.lock");  // taken before the refusal, and kept as every lock file is
    EXPECT_EQ(after, before) << "no temporary file left";
}

// Mended: a save killed part-way left its temporary file for good. The next
// save to that target removes its own leftovers, and nothing else: not a link
// of such a name, nor a folder, nor another target's, nor one a live save
// still writes.
TEST(SafeSave, TheNextSaveRemovesItsTargetsAbandonedTemporaryFilesAndNothingElse) {
    TempDir dir;
    const std::string path = dir.File("save.smc");
    const auto temporary = [&](const std::string& target, int number) {
        return dir.File(target + ".tintwright-" + std::to_string(number) + ".tmp");
    };
    WriteBytes(path, {1});
    WriteBytes(temporary("save.smc", 0), Pattern(5000, 1));
    WriteBytes(dir.File("victim"), {7});
    fs::create_symlink("victim", temporary("save.smc", 1));
    fs::create_directory(temporary("save.smc", 2));
    WriteBytes(temporary("save.smc", 9), {2});  // beyond a gap, as two saves at once leave
    WriteBytes(temporary("other.smc", 0), {3});
    WriteBytes(dir.File("save.smc.tintwright-x.tmp"), {4});
    FileHandle live = kNoFile;
    ASSERT_TRUE(Files().CreateNew(temporary("save.smc", 4), live));
    const std::set<std::string> kept = {"save.smc",
                                        "victim",
                                        "save.smc.tintwright-1.tmp",
                                        "save.smc.tintwright-2.tmp",
                                        "save.smc.tintwright-4.tmp",
                                        "other.smc.tintwright-0.tmp",
                                        "save.smc.tintwright-x.tmp"};

    const std::vector<std::uint8_t> fresh = Pattern(3000, 2);
    ASSERT_TRUE(WriteRomFile(path, fresh.data(), static_cast<std::uint32_t>(fresh.size())));
    Files().Close(live);
    EXPECT_EQ(ReadBytes(path), fresh);
    EXPECT_EQ(NamesIn(dir.Path()), kept);
    EXPECT_EQ(ReadBytes(dir.File("victim")), std::vector<std::uint8_t>{7});
    EXPECT_TRUE(fs::is_symlink(temporary("save.smc", 1)));
}

// A real full disk: a small memory file system, where the system lets us mount one.
TEST(SafeSave, AFullDiskFailsTheSaveWithTheSystemsReasonAndKeepsTheOldFile) {
    TempDir dir;
    if (::mount("tintwright-test", dir.Path().c_str(), "tmpfs", 0, "size=256k") != 0) {
        GTEST_SKIP() << "cannot mount a small tmpfs here (" << std::strerror(errno) << "); nothing to fill";
    }
    const std::string path = dir.File("save.smc");
    const std::vector<std::uint8_t> old = Pattern(100000, 1);
    WriteBytes(path, old);
    const std::vector<std::uint8_t> fresh = Pattern(400000, 2);
    const FileOutcome outcome = WriteRomFile(path, fresh.data(), static_cast<std::uint32_t>(fresh.size()));
    EXPECT_FALSE(outcome);
    EXPECT_EQ(outcome.Reason(), std::generic_category().message(ENOSPC));
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(NamesIn(dir.Path()), std::set<std::string>{"save.smc"});
    ::umount(dir.Path().c_str());
}

TEST(SafeSave, ALinkIsWrittenThroughAtItsTargetAndStaysALink) {
    TempDir dir;
    fs::create_directory(dir.Path() / "roms");
    const std::string target = dir.File("roms/hack.smc");
    WriteBytes(target, {1, 2, 3});
    fs::create_symlink("roms/hack.smc", dir.Path() / "current.smc");
    fs::create_symlink("roms/new.smc", dir.Path() / "dangling.smc");
    const std::vector<std::uint8_t> fresh = {4, 5, 6, 7};
    ASSERT_TRUE(WriteRomFile(dir.File("current.smc"), fresh.data(), 4));
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "current.smc"));
    EXPECT_EQ(ReadBytes(target), fresh);
    ASSERT_TRUE(WriteRomFile(dir.File("dangling.smc"), fresh.data(), 4)) << "a link with no target yet";
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "dangling.smc"));
    EXPECT_EQ(NamesIn(dir.Path()), (std::set<std::string>{"current.smc", "dangling.smc", "roms"}));
    EXPECT_EQ(ReadBytes(dir.File("roms/new.smc")), fresh) << "written where the link points";
    EXPECT_EQ(NamesIn(dir.Path() / "roms"), (std::set<std::string>{"hack.smc", "new.smc"}));
}

TEST(SafeSave, KeepsPermissionBitsRefusesAFolderAndCreatesNewAndEmptyFiles) {
    TempDir dir;
    const std::string path = dir.File("save.smc");
    WriteBytes(path, {9, 9, 9});
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const std::vector<std::uint8_t> data = {1, 2, 3};
    EXPECT_TRUE(WriteRomFile(path, data.data(), 3));
    EXPECT_EQ(ReadBytes(path), data);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    fs::create_directory(dir.Path() / "folder.smc");
    EXPECT_EQ(WriteRomFile(dir.File("folder.smc"), data.data(), 3).Reason(),
              "there is a folder of that name");
    EXPECT_EQ(WriteRomFile(dir.File("missing/save.smc"), data.data(), 3).Reason(),
              std::generic_category().message(ENOENT))
        << "the system's own words";
    EXPECT_TRUE(WriteFileSafely(dir.File("new.smc"), {}));
    EXPECT_TRUE(ReadBytes(dir.File("new.smc")).empty());
    EXPECT_EQ(NamesIn(dir.Path()), (std::set<std::string>{"folder.smc", "new.smc", "save.smc"}));
}

// Two editors adding entries at the same moment: every read-modify-replace
// holds the lock, so neither loses the other's entries, and a reader never
// sees a torn file.
TEST(SettingsFile, TwoProcessesAddingAtOnceLoseNothing) {
    TempDir dir;
    const std::string path = dir.File("tintwright.ini");
    const std::string program = TINTWRIGHT_ADD_SETTINGS_ENTRIES;
    const std::string done = dir.File("done");
    const std::string writers = "('" + program + "' '" + path + "' first 500 & '" + program + "' '" + path +
                                "' second 500 & wait; touch '" + done + "') &";
    ASSERT_EQ(std::system(writers.c_str()), 0);
    int reads = 0;
    while (!fs::exists(done)) {
        std::ifstream file(path, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        ASSERT_TRUE(text.empty() || (text.rfind("[Patch]\r\n", 0) == 0 && text.ends_with("\r\n"))) << text;
        ++reads;
    }
    EXPECT_GT(reads, 0);
    std::vector<char> block(1 << 20);
    GetProfileSection(path, "Patch", block.data(), static_cast<std::uint32_t>(block.size()));
    int entries = 0;
    for (std::size_t at = 0; block[at] != '\0'; at += std::strlen(&block[at]) + 1) ++entries;
    EXPECT_EQ(entries, 1000);
    EXPECT_EQ(ReadProfileString(path, "Patch", "first499", "", 16), "499");
    EXPECT_EQ(ReadProfileString(path, "Patch", "second0", "", 16), "0");
}

}  // namespace
}  // namespace tintwright
