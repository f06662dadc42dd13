// The edges of what the editor takes: ROMs from empty to 64 MiB, long paths,
// and location names longer than any buffer the windows use.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/RomImage.h"
#include "tests/support/EditorFixture.h"
#include "window/ControlIds.h"

namespace tintwright {
namespace {

using testing::EditorFixture;
using testing::ReadBytes;

class LimitsTest : public EditorFixture {};
class RomSizeTest : public EditorFixture, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(RomSizeTest, OpensTakesAnEditAndSavesWhole) {
    const std::size_t size = GetParam();
    StartEditor(testing::IndexedRomBytes(size));
    EXPECT_EQ(state.rom.Size(), size);
    GoTo(0);
    ClickCell(0);
    TypeRgb("248", "0", "0");
    window->OnEditKeyUp(ids::kRedEdit);
    Command(ids::kApplyButton);
    fake.ExpectMessageBox("Saved");
    Command(ids::kSave);
    const std::vector<std::uint8_t> saved = ReadBytes(state.rom.SavePath());
    ASSERT_EQ(saved.size(), size);
    std::vector<std::uint8_t> expected = testing::IndexedRomBytes(size);
    if (size >= 1) expected[0] = 0x1F;  // the applied word, low byte first
    if (size >= 2) expected[1] = 0x00;
    EXPECT_TRUE(saved == expected) << "the saved file is the edited ROM, byte for byte";
}

INSTANTIATE_TEST_SUITE_P(EmptyToSixtyFourMebibytes, RomSizeTest,
                         ::testing::Values(0, 1, 0x123, std::size_t{8} << 20, (std::size_t{64} << 20) + 1));

// Lets this process map only megabytes more than it has mapped now.
[[maybe_unused]] void LimitAddressSpaceToCurrentUsePlus(std::size_t megabytes) {
    std::size_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t limit = pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (rlim_t{megabytes} << 20);
    const rlimit both{limit, limit};
    ::setrlimit(RLIMIT_AS, &both);
}

// Mended: a ROM the memory cannot hold twice was reported as a file that
// could not be read. Opened in a child process with little address space to
// spare; the editor keeps the ROM it had. AddressSanitizer needs address
// space of its own, so that build leaves the test out.
TEST_F(LimitsTest, ARomTooLargeForTheMemoryIsReportedAsSuchAndTheOldOneStays) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address-space limit would starve AddressSanitizer";
#else
    StartEditor(testing::IndexedRomBytes(0x400));
    const std::string path = dir.File("large.smc");
    testing::WriteBytes(path, {1});
    std::filesystem::resize_file(path, kMaxRomFileBytes);  // sparse; three copies do not fit
    EXPECT_EXIT(
        {
            fake.AnswerFileDialog(path);
            fake.ExpectMessageBox("File Open Error");
            LimitAddressSpaceToCurrentUsePlus(256);
            Command(ids::kOpen);
            const std::string& text = fake.boxesShown.back().text;
            const bool said =
                text.find("memory") != std::string::npos && text.find(path) != std::string::npos;
            std::exit(said && state.rom.Size() == 0x400 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
#endif
}

// Mended: a 1 GiB file was opened, took three times its size in memory and
// was written back as the first save copy. Open names it and its size, Reload
// Source tries the same name again; the ROM that was open stays, unsaved.
TEST_F(LimitsTest, AFileLargerThanAnyRomIsRefusedNamingItsSizeAndTheOpenRomStays) {
    StartEditor(testing::IndexedRomBytes(0x400));
    const std::string path = dir.File("huge.smc");
    testing::WriteBytes(path, {});
    std::filesystem::resize_file(path, kMaxRomFileBytes + 1);  // sparse
    const struct {
        int command;
        const char* caption;
    } rows[] = {{ids::kOpen, "File Open Error"}, {ids::kReloadSource, "Revert Failed"}};
    fake.AnswerFileDialog(path);
    for (const auto& row : rows) {
        fake.ExpectMessageBox(row.caption);
        Command(row.command);
        EXPECT_EQ(fake.boxesShown.back().text,
                  "This file is too large to be a SNES ROM:\r\n" + path +
                      "\r\n(the file has 134217729 bytes, more than the 134217728 (128 MiB) allowed)");
        EXPECT_EQ(state.rom.Size(), 0x400u) << row.caption;
    }
    EXPECT_FALSE(std::filesystem::exists(state.rom.SavePath()));
}

TEST_F(LimitsTest, LongPathsWorkAndAMissingFolderIsReportedOnSave) {
    StartEditor(testing::IndexedRomBytes(0x400));
    for (const std::size_t length : {std::size_t{259}, std::size_t{260}}) {
        std::string path = dir.Path().string() + "/";
        path += std::string(length - path.size() - 4, 'r') + ".smc";
        ASSERT_EQ(path.size(), length);
        std::filesystem::copy_file(state.rom.SourcePath(), path);
        fake.AnswerFileDialog(path);
        Command(ids::kOpen);
        EXPECT_EQ(state.rom.SourcePath(), path);
        state.rom.SavePath() = path + ".out";
        fake.ExpectMessageBox("Saved");
        Command(ids::kSave);
        EXPECT_EQ(ReadBytes(path + ".out"), ReadBytes(path));
    }
    state.rom.SavePath() = dir.File("no such folder/hack.smc");
    fake.ExpectMessageBox("File Save Error");
    Command(ids::kSave);
    EXPECT_NE(fake.boxesShown.back().text.find("no such folder"), std::string::npos);
}

// Longer than the 1024-byte scratch text and the 255-character fields: the
// list shows it whole, its offset is found, Edit writes under the first 255
// characters (a new entry) and Remove removes the long one.
TEST_F(LimitsTest, NamesLongerThanEveryBufferPassThroughListDialogsAndRemove) {
    const std::string name(1500, 'n');
    StartEditor(testing::IndexedRomBytes(0x400), "[Patch]\r\n" + name + "=0001A000\r\n");
    ASSERT_EQ(fake.listRows, std::vector<std::string>{name});
    fake.listSelection = 0;
    window->OnCommand(ids::kLocationList, ids::kListSelectionChanged);
    EXPECT_EQ(fake.Text(ids::kOffsetBox), "0001A000");

    Command(ids::kEditAddress);
    const DialogHandle dialog = fake.dialogs.rbegin()->first;
    EXPECT_EQ(fake.dialogs[dialog].texts[ids::kDialogNameField], name);
    fake.ExpectMessageBox(name.substr(0, 255), box::kAnswerYes);
    window->OnLocationDialogCommand(dialog, ids::kDialogConfirmButton, 0);
    EXPECT_EQ(SettingsText(), "[Patch]\r\n" + name + "=0001A000\r\n" + name.substr(0, 255) + "=0001A000\r\n");

    fake.DeliverPosted();
    fake.listSelection = 1;
    fake.ExpectMessageBox("Are you sure you want to delete this entry!", box::kAnswerYes);
    Command(ids::kRemoveAddress);
    EXPECT_EQ(SettingsText(), "[Patch]\r\n" + name.substr(0, 255) + "=0001A000\r\n");
}

}  // namespace
}  // namespace tintwright
