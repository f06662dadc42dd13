// The location dialog in its Add and Edit forms, and the tidying of names.

#include <gtest/gtest.h>

#include <filesystem>

#include "locations/LocationText.h"
#include "tests/support/EditorFixture.h"
#include "window/ControlIds.h"

namespace tintwright {
namespace {

using testing::DialogState;
using testing::EditorFixture;
using testing::IndexedRomBytes;

TEST(LocationText, TrimmingAndProperCaseKeepEverythingButBlanksAndLetterCase) {
    const struct {
        std::string typed;
        std::string cleaned;  // trimmed at both ends, then proper-cased
    } rows[] = {
        {"tHE  lost-cave level 2", "The  Lost-cave Level 2"},
        {"2nd boss", "2nd Boss"},
        {" \t boss\tfight \t", "Boss\tfight"},  // a tab starts no word
        {"", ""},
        {" \t ", ""},
        {"\xC9"
         "cole \xE9"
         "T\xC9",
         "\xC9"
         "cole \xE9"
         "t\xC9"},  // bytes above 0x7F are left alone
        {"x", "X"},
    };
    for (const auto& row : rows) {
        std::string name = TrimTrailingBlanks(TrimLeadingBlanks(row.typed));
        ProperCase(name);
        EXPECT_EQ(name, row.cleaned) << '"' << row.typed << '"';
        std::string again = name;
        ProperCase(again);
        EXPECT_EQ(again, name) << "cleaning twice changes nothing";
    }
    EXPECT_EQ(TrimLeadingBlanks("  a b  "), "a b  ");
    EXPECT_EQ(TrimTrailingBlanks("  a b  "), "  a b");
}

class LocationDialogTest : public EditorFixture {
protected:
    // The dialog opened last.
    DialogHandle Last() { return fake.dialogs.rbegin()->first; }
    DialogState& Dialog(DialogHandle dialog) { return fake.dialogs[dialog]; }
    void Type(DialogHandle dialog, const std::string& name, const std::string& offsetText) {
        Dialog(dialog).texts[ids::kDialogNameField] = name;
        Dialog(dialog).texts[ids::kDialogOffsetField] = offsetText;
    }
    void Press(DialogHandle dialog, int button) { window->OnLocationDialogCommand(dialog, button, 0); }
    DialogHandle OpenAdd(const std::string& offsetBox) {
        fake.SetText(ids::kOffsetBox, offsetBox);
        Command(ids::kAddAddress);
        return Last();
    }
};

TEST_F(LocationDialogTest, TheAddFormStartsWithTheOffsetBoxsText) {
    StartEditor(IndexedRomBytes(0x400));
    for (const std::string offsetBox : {"0001A2B4", ""}) {
        const DialogHandle dialog = OpenAdd(offsetBox);
        EXPECT_EQ(Dialog(dialog).form, LocationDialogForm::Add);
        EXPECT_EQ(Dialog(dialog).parameter, offsetBox.size());
        EXPECT_EQ(Dialog(dialog).texts[ids::kDialogOffsetField], offsetBox);
        EXPECT_EQ(Dialog(dialog).texts[ids::kDialogNameField], "");
        EXPECT_EQ(Dialog(dialog).texts[0], "Add new location");
    }
}

TEST_F(LocationDialogTest, AddAsksWithTheTrimmedNameAndWritesOnlyOnYes) {
    StartEditor(IndexedRomBytes(0x400), "[Patch]\r\nboss=1\r\n");
    const DialogHandle dialog = OpenAdd("");
    Type(dialog, "  Boss \t", "0001A000 ");
    fake.ExpectMessageBox("Boss", box::kAnswerNo);
    Press(dialog, ids::kDialogConfirmButton);
    EXPECT_EQ(fake.boxesShown.back().text, "0001A000 ");
    EXPECT_EQ(fake.boxesShown.back().ownerDialog, dialog);
    EXPECT_EQ(fake.boxesShown.back().style, 0x24u);
    EXPECT_TRUE(Dialog(dialog).open);
    EXPECT_EQ(Dialog(dialog).texts[ids::kDialogNameField], "  Boss \t") << "the field keeps what was typed";
    EXPECT_EQ(SettingsText(), "[Patch]\r\nboss=1\r\n");

    fake.ExpectMessageBox("Boss", box::kAnswerYes);
    Press(dialog, ids::kDialogConfirmButton);
    EXPECT_FALSE(Dialog(dialog).open);
    EXPECT_EQ(SettingsText(), "[Patch]\r\nboss=0001A000 \r\n") << "the same entry, whatever its capitals";
    EXPECT_EQ(fake.listRows, std::vector<std::string>{"boss"}) << "reloaded only when the message comes";
    fake.DeliverPosted();
    EXPECT_EQ(fake.listRows, std::vector<std::string>{"boss"});
    EXPECT_EQ(process.sleeps.size(), 2u) << "the list was filled again";
}

TEST_F(LocationDialogTest, CleanTidiesTheNameInTheAddFormOnly) {
    StartEditor(IndexedRomBytes(0x400), "[Patch]\r\nBoss=\r\n");
    const DialogHandle add = OpenAdd("");
    Type(add, "  tHE  lost-cave level 2 ", "");
    Press(add, ids::kDialogCleanButton);
    EXPECT_EQ(Dialog(add).texts[ids::kDialogNameField], "The  Lost-cave Level 2");
    EXPECT_TRUE(fake.boxesShown.empty()) << "nothing asked, nothing written";
    EXPECT_EQ(SettingsText(), "[Patch]\r\nBoss=\r\n");

    // An entry with an empty offset text opens an Edit form that is not set
    // up: it looks like the Add form, and its buttons act as the Edit form's.
    fake.listSelection = 0;
    Command(ids::kEditAddress);
    const DialogHandle edit = Last();
    EXPECT_EQ(Dialog(edit).parameter, 0u);
    EXPECT_EQ(Dialog(edit).texts[0], "Add new location");
    EXPECT_EQ(Dialog(edit).texts[ids::kDialogConfirmButton], "Ok");
    EXPECT_TRUE(Dialog(edit).disabled.empty());
    EXPECT_TRUE(Dialog(edit).hidden.empty());
    Type(edit, " tHE end ", " 12 ");
    Press(edit, ids::kDialogCleanButton);
    EXPECT_EQ(Dialog(edit).texts[ids::kDialogNameField], " tHE end ");
    fake.ExpectMessageBox(" tHE end ", box::kAnswerYes);
    Press(edit, ids::kDialogConfirmButton);
    EXPECT_EQ(fake.boxesShown.back().text, "Are you sure you want to update this entry!");
    EXPECT_EQ(SettingsText(), "[Patch]\r\nBoss=\r\ntHE end= 12 \r\n") << "written as typed";
}

TEST_F(LocationDialogTest, EditChangesTheOffsetTextOfTheSelectedEntryInPlace) {
    StartEditor(IndexedRomBytes(0x400),
                "[Settings]\r\nSnesPath=\r\n\r\n[Patch]\r\nBoss=0001A000\r\nZed=1\r\n");
    Command(ids::kEditAddress);
    EXPECT_TRUE(fake.dialogs.empty()) << "no row selected, no dialog";

    fake.listSelection = 0;
    Command(ids::kEditAddress);
    const DialogHandle dialog = Last();
    DialogState& shown = Dialog(dialog);
    EXPECT_EQ(shown.form, LocationDialogForm::Edit);
    EXPECT_EQ(shown.parameter, 8u);
    EXPECT_EQ(shown.texts[0], "Edit Patch Location");
    EXPECT_EQ(shown.texts[ids::kDialogNameField], "Boss");
    EXPECT_EQ(shown.texts[ids::kDialogOffsetField], "0001A000");
    EXPECT_EQ(shown.texts[ids::kDialogConfirmButton], "Update");
    EXPECT_EQ(shown.disabled, std::set<int>{ids::kDialogNameField});
    EXPECT_EQ(shown.hidden, std::set<int>{ids::kDialogCleanButton});

    shown.texts[ids::kDialogOffsetField] = "0001A100";
    fake.ExpectMessageBox("Boss", box::kAnswerYes);
    Press(dialog, ids::kDialogConfirmButton);
    EXPECT_EQ(SettingsText(), "[Settings]\r\nSnesPath=\r\n\r\n[Patch]\r\nBoss=0001A100\r\nZed=1\r\n");
    EXPECT_FALSE(Dialog(dialog).open);
}

TEST_F(LocationDialogTest, DialogsAreIndependentAndTheCloseBoxWritesNothing) {
    StartEditor(IndexedRomBytes(0x400));
    const DialogHandle first = OpenAdd("100");
    const DialogHandle second = OpenAdd("200");
    const DialogHandle third = OpenAdd("300");
    Type(second, "Two", "200");
    fake.ExpectMessageBox("Two", box::kAnswerYes);
    Press(second, ids::kDialogConfirmButton);
    Type(first, "One", "100");
    fake.ExpectMessageBox("One", box::kAnswerYes);
    Press(first, ids::kDialogConfirmButton);
    window->OnLocationDialogClose(third);
    EXPECT_FALSE(Dialog(third).open);
    EXPECT_EQ(SettingsText(), "[Patch]\r\nTwo=200\r\nOne=100\r\n");
    EXPECT_EQ(fake.posted.size(), 2u) << "one reload per confirmed write, none for the close box";
}

// Mended: a write that failed used to close the dialog as if it had worked.
TEST_F(LocationDialogTest, AWriteThatFailsKeepsTheDialogOpenWithWhatWasTypedAndSaysWhy) {
    StartEditor(IndexedRomBytes(0x400));
    const DialogHandle dialog = OpenAdd("8000");
    Type(dialog, "a=b", "8000");
    fake.ExpectMessageBox("a=b", box::kAnswerYes);
    fake.ExpectMessageBox("Location Book Error");
    Press(dialog, ids::kDialogConfirmButton);
    EXPECT_NE(fake.boxesShown.back().text.find("cannot hold \"=\""), std::string::npos);
    EXPECT_EQ(fake.boxesShown.back().ownerDialog, dialog);
    EXPECT_EQ(fake.boxesShown.back().style, 0x30u);

    const std::string utf16("\xFF\xFE[\0P\0]\0", 8);  // entries would stand in two encodings
    testing::WriteBytes(state.settingsPath, std::vector<std::uint8_t>(utf16.begin(), utf16.end()));
    Type(dialog, "Boss", "8000");
    fake.ExpectMessageBox("Boss", box::kAnswerYes);
    fake.ExpectMessageBox("Location Book Error");
    Press(dialog, ids::kDialogConfirmButton);
    EXPECT_NE(fake.boxesShown.back().text.find("(the file is UTF-16 text"), std::string::npos);
    EXPECT_EQ(SettingsText(), utf16);

    std::filesystem::remove(state.settingsPath);
    std::filesystem::create_directory(state.settingsPath);  // not a file that can be written
    fake.ExpectMessageBox("Boss", box::kAnswerYes);
    fake.ExpectMessageBox("Location Book Error");
    Press(dialog, ids::kDialogConfirmButton);
    EXPECT_NE(fake.boxesShown.back().text.find(state.settingsPath), std::string::npos);
    EXPECT_TRUE(Dialog(dialog).open);
    EXPECT_EQ(Dialog(dialog).texts[ids::kDialogNameField], "Boss");
    EXPECT_TRUE(fake.posted.empty()) << "nothing to reload";
}

}  // namespace
}  // namespace tintwright
