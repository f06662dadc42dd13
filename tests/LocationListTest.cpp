// The location book as the list shows it: the names of the settings file's
// section "Patch", what selecting and double-clicking them do, "Remove
// Address" and the list's right click.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "locations/LocationBook.h"
#include "settings/LocationEntry.h"
#include "tests/support/EditorFixture.h"
#include "window/ControlIds.h"

namespace tintwright {
namespace {

using testing::EditorFixture;
using testing::IndexedRomBytes;

constexpr const char* kBook = "[Patch]\r\nbeta=0002C000\r\nAlpha=$8000\r\nGamma=0001A000\r\n";

// Books already hold these names; a second search must find them again.
TEST(FoundPlaceEntry, NamesThePlaceByRowAndOffsetAsBooksHoldThem) {
    const struct {
        int row;
        std::uint32_t offset;
        LocationEntry entry;
    } rows[] = {
        {3, 0x1A000, {"Found row 3 @1A000", "0001A000"}},
        {0, 0, {"Found row 0 @0", "00000000"}},
        {15, 0xFFFFFFFF, {"Found row 15 @FFFFFFFF", "FFFFFFFF"}},
    };
    for (const auto& row : rows) EXPECT_EQ(FoundPlaceEntry(row.row, row.offset), row.entry) << row.entry.name;
}

class LocationListTest : public EditorFixture {
protected:
    void Select(int row, int code = ids::kListSelectionChanged) {
        fake.listSelection = row;
        EXPECT_EQ(window->OnCommand(ids::kLocationList, code), 1);
    }
};

TEST_F(LocationListTest, SelectingShowsTheOffsetTextAndADoubleClickGoesThere) {
    StartEditor(IndexedRomBytes(0x40000),
                "[Patch]\r\nbeta=0002C000\r\nAlpha=$8000\r\nIntro=12=34\r\n=0100\r\n"
                "no equals here\r\nGamma=0001A000\r\n");
    ASSERT_EQ(fake.listRows, (std::vector<std::string>{"", "Alpha", "beta", "Gamma", "Intro"}));
    const std::pair<int, const char*> rows[] = {{1, "$8000"}, {4, "12=34"}, {0, "0100"}, {3, "0001A000"}};
    for (const auto& [row, offsetText] : rows) {
        Select(row);
        EXPECT_EQ(fake.Text(ids::kOffsetBox), offsetText) << fake.listRows[row];
    }
    EXPECT_TRUE(fake.posted.empty()) << "a single click goes nowhere";
    EXPECT_EQ(window->View().ViewOffset(), 0x100);

    Select(1, ids::kListDoubleClicked);
    fake.SetText(ids::kOffsetBox, "$2000");  // Goto runs later and reads the box as it then is
    fake.DeliverPosted();
    EXPECT_EQ(window->View().ViewOffset(), 0x2000);

    fake.SetText(ids::kOffsetBox, "kept");
    Select(-1, ids::kListDoubleClicked);
    EXPECT_EQ(fake.Text(ids::kOffsetBox), "kept") << "no selection, no change";
    EXPECT_TRUE(fake.posted.empty());
}

// Mended: the list used to stop after the first 32767 characters of the
// section, so an entry added to a large book never appeared.
TEST_F(LocationListTest, EveryEntryOfAHugeBookIsListedAndAnAddedOneAppears) {
    constexpr int kEntries = 100000;
    std::string settings = "[Patch]\r\n";
    for (int i = 0; i < kEntries; ++i) settings += "Entry" + std::to_string(100000 + i) + "=0001A000\r\n";
    StartEditor(IndexedRomBytes(0x400), settings);
    ASSERT_EQ(fake.listRows.size(), static_cast<std::size_t>(kEntries));
    EXPECT_EQ(fake.listRows.back(), "Entry199999");

    fake.SetText(ids::kOffsetBox, "8000");
    Command(ids::kAddAddress);
    const DialogHandle dialog = fake.dialogs.rbegin()->first;
    fake.dialogs[dialog].texts[ids::kDialogNameField] = "Zebra";
    fake.ExpectMessageBox("Zebra", box::kAnswerYes);
    window->OnLocationDialogCommand(dialog, ids::kDialogConfirmButton, 0);
    fake.DeliverPosted();
    ASSERT_EQ(fake.listRows.size(), static_cast<std::size_t>(kEntries + 1));
    EXPECT_EQ(fake.listRows.back(), "Zebra") << "listed, in its sorted place";
}

TEST_F(LocationListTest, RemoveAddressAsksWithTheEntryAndOnlyYesRemovesLineAndRow) {
    StartEditor(IndexedRomBytes(0x400), kBook);
    Command(ids::kRemoveAddress);
    EXPECT_TRUE(fake.boxesShown.empty()) << "nothing selected, nothing asked";

    Select(0);
    fake.ExpectMessageBox("Are you sure you want to delete this entry!", box::kAnswerNo);
    Command(ids::kRemoveAddress);
    EXPECT_EQ(fake.boxesShown.back().text, "Name :Alpha\r\nOffset :$8000");
    EXPECT_EQ(fake.boxesShown.back().style, 0x24u);
    EXPECT_EQ(SettingsText(), kBook);
    EXPECT_EQ(fake.listRows.size(), 3u);

    fake.ExpectMessageBox("Are you sure you want to delete this entry!", box::kAnswerYes);
    Command(ids::kRemoveAddress);
    EXPECT_EQ(SettingsText(), "[Patch]\r\nbeta=0002C000\r\nGamma=0001A000\r\n");
    EXPECT_EQ(fake.listRows, (std::vector<std::string>{"beta", "Gamma"}));
    EXPECT_EQ(fake.Text(ids::kOffsetBox), "$8000") << "the box keeps its text";
}

// Mended: with a name twice in a hand-edited file, one line went, the user
// was told nothing had, and the list kept both rows.
TEST_F(LocationListTest, ARemoveReloadsTheListFromTheFileAndSaysWhatHappened) {
    StartEditor(IndexedRomBytes(0x400), "[Patch]\r\nAlpha=1\r\nbeta=2\r\nALPHA=3\r\n");
    Select(0);
    fake.ExpectMessageBox("Are you sure you want to delete this entry!", box::kAnswerYes);
    fake.ExpectMessageBox("Location Book Error");
    Command(ids::kRemoveAddress);
    EXPECT_NE(fake.boxesShown.back().text.find("Removed one of the 2 entries named \"Alpha\""),
              std::string::npos)
        << fake.boxesShown.back().text;
    EXPECT_NE(fake.boxesShown.back().text.find("1 left"), std::string::npos);
    EXPECT_EQ(SettingsText(), "[Patch]\r\nbeta=2\r\nALPHA=3\r\n");
    EXPECT_EQ(fake.listRows, (std::vector<std::string>{"ALPHA", "beta"}));
    Select(0);
    EXPECT_EQ(fake.Text(ids::kOffsetBox), "3") << "the row left is the entry left";

    std::filesystem::remove(state.settingsPath);
    std::filesystem::create_directory(state.settingsPath);  // a file that can no longer be rewritten
    fake.ExpectMessageBox("Are you sure you want to delete this entry!", box::kAnswerYes);
    fake.ExpectMessageBox("Location Book Error");
    Command(ids::kRemoveAddress);
    const std::string& warning = fake.boxesShown.back().text;
    EXPECT_NE(warning.find("Could not remove \"ALPHA\""), std::string::npos) << warning;
    EXPECT_NE(warning.find(state.settingsPath), std::string::npos);
    EXPECT_EQ(fake.boxesShown.back().style, 0x30u);
    EXPECT_EQ(fake.listRows.size(), 2u);
}

TEST_F(LocationListTest, ARightClickSelectsTheRowUnderThePointerAndOpensLocationsThere) {
    StartEditor(IndexedRomBytes(0x400), kBook);
    fake.cursor = {333, 444};
    fake.AnswerPopupMenu(ids::kRemoveAddress);
    window->OnListRightButtonUp({10, 2 * testing::FakeWindowSystem::kListRowHeight + 3});
    EXPECT_EQ(fake.listSelection, 2);
    EXPECT_EQ(fake.Text(ids::kOffsetBox), "0001A000") << "the click notified the selection";
    ASSERT_EQ(fake.popupsShown.size(), 1u);
    EXPECT_EQ(fake.popupsShown[0].popupIndex, 2);
    EXPECT_EQ(fake.popupsShown[0].screen, (Point{333, 444}));
    fake.ExpectMessageBox("Are you sure you want to delete this entry!", box::kAnswerYes);
    fake.DeliverPosted();
    EXPECT_EQ(fake.listRows, (std::vector<std::string>{"Alpha", "beta"}));
}

}  // namespace
}  // namespace tintwright
