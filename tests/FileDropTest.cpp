// Files dropped onto the main window: a palette file onto the strip is
// written at the view's first cell when the user says Yes; a save state, a
// CGRAM dump or a palette file elsewhere is searched for in the ROM, and the
// best places go into the location book on Yes; anything else is refused with
// the reader's reason.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "locations/LocationBook.h"
#include "mainwindow/CaptureSearch.h"
#include "mainwindow/FileDrop.h"
#include "palette/PaletteFile.h"
#include "tests/support/CaptureFiles.h"
#include "tests/support/EditorFixture.h"
#include "window/ControlIds.h"

namespace tintwright {
namespace {

using testing::EditorFixture;
using testing::IndexedRomBytes;

constexpr std::size_t kRomSize = 0x20000;
constexpr std::uint32_t kPlanted = 0x1A000;  // where row 2 of test::Palette() is stored
constexpr Point kOntoStrip{70 + 20 * 5, 250};
constexpr Point kOffTheStrip{400, 60};
// More ticks than any search here needs; a finished search makes the rest do nothing.
constexpr int kTicks = 20;

std::vector<std::uint16_t> Colors(std::uint16_t seed, std::size_t first, std::size_t count) {
    const std::vector<std::uint16_t> all = test::Palette(seed);
    const auto begin = all.begin() + static_cast<std::ptrdiff_t>(first);
    return {begin, begin + static_cast<std::ptrdiff_t>(count)};
}

const std::vector<std::uint16_t> kPlantedRow = Colors(0x1234, 32, 16);
const std::vector<std::uint16_t> kOtherColors = Colors(0x0999, 0, 16);

std::vector<std::uint8_t> RomWithPlantedRow() {
    std::vector<std::uint8_t> rom = IndexedRomBytes(kRomSize);
    const std::vector<std::uint8_t> row = test::LittleEndianCgram(kPlantedRow);
    std::copy(row.begin(), row.end(), rom.begin() + kPlanted);
    std::fill_n(rom.begin() + 0x10000, 64, 0x00);  // a blank stretch, which black rows match
    return rom;
}

std::vector<std::uint16_t> BlackRowsThenPlantedRow() {
    std::vector<std::uint16_t> colors(32, 0x0000);
    colors.insert(colors.end(), kPlantedRow.begin(), kPlantedRow.end());
    return colors;
}

std::vector<std::uint8_t> Jasc(const std::vector<std::uint16_t>& colors) {
    return *WritePaletteFile(PaletteFormat::JascPal, colors);
}

// More colours than CGRAM holds, the first 16 of them kOtherColors.
std::vector<std::uint8_t> JascLargerThanCgram() {
    std::vector<std::uint16_t> colors = kOtherColors;
    const std::vector<std::uint16_t> more = test::Palette(0x0777);
    colors.insert(colors.end(), more.begin(), more.end());
    return Jasc(colors);
}

struct DropRow {
    const char* name;
    std::optional<std::vector<std::uint8_t>> file;  // nothing: no such file
    const char* fileName;
    Point where;
    std::uint32_t viewBefore;
    std::string_view caption;
    int answer;
    const char* boxText;  // part of the box's text
    std::size_t wordsWritten;
    std::uint32_t viewAfter;
    const char* bookEntry;  // "" when the book stays empty
};

void PrintTo(const DropRow& row, std::ostream* out) {
    *out << row.name;
}

const DropRow kDropRows[] = {
    {"PaletteOntoStripYes", Jasc(kOtherColors), "colours.pal", kOntoStrip, 0x100, kPaletteFileCaption,
     box::kAnswerYes, "Write the 16 colours of colours.pal at 00000100?", 16, 0x100, ""},
    {"PaletteOntoStripNo", Jasc(kOtherColors), "colours.pal", kOntoStrip, 0x100, kPaletteFileCaption,
     box::kAnswerNo, "Write the 16 colours of colours.pal at 00000100?", 0, 0x100, ""},
    {"PaletteLongerThanTheRestOfTheRom", Jasc(kOtherColors), "colours.gpl", kOntoStrip, kRomSize - 0x11,
     kPaletteFileCaption, box::kAnswerYes, "at 0001FFEF?\r\nOnly the first 8 fit before the end of the ROM.",
     8, kRomSize - 0x11, ""},
    {"PaletteLargerThanCgramOntoStripIsWrittenWhole", JascLargerThanCgram(), "big.pal", kOntoStrip, 0x100,
     kPaletteFileCaption, box::kAnswerYes, "Write the 272 colours of big.pal at 00000100?", 272, 0x100, ""},
    {"PaletteLargerThanCgramOffTheStripIsNoCapture", JascLargerThanCgram(), "big.pal", kOffTheStrip, 0x100,
     kDroppedFileCaption, box::kAnswerOk,
     "big.pal is neither a save state nor a palette file:\r\nJASC-PAL palette of 272 colours; CGRAM holds "
     "256",
     0, 0x100, ""},
    {"PaletteOffTheStripIsSearchedFor", Jasc(kPlantedRow), "row.pal", kOffTheStrip, 0x100,
     kPaletteSearchCaption, box::kAnswerNo, "row.pal (JASC-PAL palette, 16 colours): 1 place", 0, kPlanted,
     ""},
    {"SaveStateYesAddsTheBestPlaces", test::MednafenState(test::MednafenModule::SnesFaust), "game.mc0",
     kOntoStrip, 0x100, kPaletteSearchCaption, box::kAnswerYes,
     "0001A000 (bus address unknown): row 2, 16 colours", 0, kPlanted, "Found row 2 @1A000"},
    {"SaveStateNoAddsNothing", test::MednafenState(test::MednafenModule::SnesFaust), "game.mc0", kOffTheStrip,
     0x100, kPaletteSearchCaption, box::kAnswerNo, "Add the best place of each row to the location book?", 0,
     kPlanted, ""},
    {"UniformPlacesSummedUpAfterTheRealOnes", test::LittleEndianCgram(BlackRowsThenPlantedRow()), "cgram.bin",
     kOffTheStrip, 0x100, kPaletteSearchCaption, box::kAnswerNo,
     "5 places in the ROM (unknown), best first:\r\n\r\n"
     "0001A000 (bus address unknown): row 2, 16 colours from colour 0\r\n"
     "rows 0-1: all $0000 - matches 4 places\r\n",
     0, kPlanted, ""},
    {"CgramDumpFoundNowhere", test::LittleEndianCgram(kOtherColors), "cgram.bin", kOntoStrip, 0x100,
     kPaletteSearchCaption, box::kAnswerOk,
     "No place in the ROM holds 4 or more colours in a row of cgram.bin", 0, 0x100, ""},
    {"UnreadableFile", std::nullopt, "missing.mc0", kOffTheStrip, 0x100, kDroppedFileCaption, box::kAnswerOk,
     "Could not read ", 0, 0x100, ""},
    {"NeitherStateNorPalette", std::vector<std::uint8_t>(513, 'x'), "notes.txt", kOntoStrip, 0x100,
     kDroppedFileCaption, box::kAnswerOk,
     "notes.txt is neither a save state nor a palette file:\r\nnot a capture", 0, 0x100, ""},
    {"OneColourOnlyIsNotSearched", std::vector<std::uint8_t>(512, 0), "zeros.bin", kOffTheStrip, 0x100,
     kDroppedFileCaption, box::kAnswerOk, "zeros.bin: the CGRAM dump holds one colour only ($0000", 0, 0x100,
     ""},
};

class FileDropTest : public EditorFixture, public ::testing::WithParamInterface<DropRow> {
protected:
    void Tick() {
        for (int i = 0; i < kTicks; ++i) window->OnTimer();
    }
};

TEST_P(FileDropTest, DecidesByContentAndDoesWhatTheUserAnswers) {
    const DropRow& row = GetParam();
    StartEditor(RomWithPlantedRow());
    GoTo(row.viewBefore);
    const std::string path = dir.File(row.fileName);
    if (row.file) testing::WriteBytes(path, *row.file);
    fake.ExpectMessageBox(std::string(row.caption), row.answer);

    fake.DropFiles({path}, row.where);
    Tick();

    ASSERT_EQ(fake.boxesShown.size(), 1u);
    EXPECT_NE(fake.boxesShown[0].text.find(row.boxText), std::string::npos) << fake.boxesShown[0].text;
    const std::vector<std::uint8_t> original = RomWithPlantedRow();
    for (std::uint32_t i = 0; i < 16; ++i) {
        const std::uint32_t at = row.viewBefore + 2 * i;
        if (at + 1 >= kRomSize) break;
        const auto before = static_cast<std::uint16_t>(original[at] | original[at + 1] << 8);
        EXPECT_EQ(WorkingWord(at), i < row.wordsWritten ? kOtherColors[i] : before) << "word " << i;
    }
    EXPECT_EQ(state.rom.WorkingBytes()[kRomSize], 0) << "the kept byte past the end is never written";
    EXPECT_EQ(window->View().ViewOffset(), static_cast<std::int32_t>(row.viewAfter));
    EXPECT_EQ(window->View().ColorCache()[0], state.rom.ReadColor(row.viewAfter)) << "the view is refreshed";
    EXPECT_EQ(StatusLine().rfind("Editing Offset : ", 0), 0u) << StatusLine();

    fake.DeliverPosted();
    const std::vector<std::string> expectedRows =
        *row.bookEntry ? std::vector<std::string>{row.bookEntry} : std::vector<std::string>{};
    EXPECT_EQ(fake.listRows, expectedRows) << "the list reloads through the list-changed message";
    if (*row.bookEntry) {
        EXPECT_NE(SettingsText().find(std::string(row.bookEntry) + "=0001A000"), std::string::npos);
    }

    if (row.wordsWritten > 0) {
        Command(ids::kUndoViewArea);
        EXPECT_EQ(WorkingWord(row.viewBefore),
                  static_cast<std::uint16_t>(original[row.viewBefore] | original[row.viewBefore + 1] << 8))
            << "Undo View Area takes the written colours back";
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, FileDropTest, ::testing::ValuesIn(kDropRows),
                         [](const ::testing::TestParamInfo<DropRow>& info) { return info.param.name; });

using FileDropSearchTest = EditorFixture;

// Mended: a place found again reset the offset the user had corrected by hand.
TEST_F(FileDropSearchTest, APlaceAlreadyInTheBookKeepsItsHandEditedOffset) {
    const std::string book = "[Patch]\r\nFound row 2 @1A000=0001A010\r\n";
    StartEditor(RomWithPlantedRow(), book);
    const std::string statePath = dir.File("game.mc0");
    testing::WriteBytes(statePath, test::MednafenState(test::MednafenModule::SnesFaust));
    fake.ExpectMessageBox(std::string(kPaletteSearchCaption), box::kAnswerYes);
    fake.DropFiles({statePath}, kOffTheStrip);
    for (int i = 0; i < kTicks; ++i) window->OnTimer();
    EXPECT_NE(fake.boxesShown.back().text.find("Found row 2 @1A000"), std::string::npos);
    EXPECT_EQ(SettingsText(), book);
}

// Mended: a UTF-16 book got an 8-bit [Patch] section appended to it.
TEST_F(FileDropSearchTest, ABookThatCannotBeWrittenIsLeftAsItIsAndTheBoxSaysWhy) {
    const std::string book("\xFF\xFE[\0P\0]\0\r\0\n\0", 12);
    StartEditor(RomWithPlantedRow(), book);
    const std::string statePath = dir.File("game.mc0");
    testing::WriteBytes(statePath, test::MednafenState(test::MednafenModule::SnesFaust));
    fake.ExpectMessageBox(std::string(kPaletteSearchCaption), box::kAnswerYes);
    fake.ExpectMessageBox(std::string(kLocationBookErrorCaption));
    fake.DropFiles({statePath}, kOffTheStrip);
    for (int i = 0; i < kTicks; ++i) window->OnTimer();
    EXPECT_EQ(
        fake.boxesShown.back().text,
        "Could not add \"Found row 2 @1A000\" to the location book in\r\n" + state.settingsPath +
            "\r\n(the file is UTF-16 text, and its entries are written in 8-bit text; save it as UTF-8 or "
            "ANSI).");
    EXPECT_EQ(SettingsText(), book);
}

// The search shows its progress in the status line until a click stops it;
// nothing is shown after that, and no second file may be dropped with the first.
TEST_F(FileDropSearchTest, AClickStopsTheSearchAndOneFileIsDroppedAtATime) {
    StartEditor(RomWithPlantedRow());
    const std::string statePath = dir.File("game.mc0");
    testing::WriteBytes(statePath, test::MednafenState(test::MednafenModule::SnesFaust));
    fake.DropFiles({statePath}, kOffTheStrip);
    EXPECT_EQ(StatusLine(), "Searching the ROM for the palettes of game.mc0: 0% - click here to stop");
    window->OnLeftButtonDown({380, 203});
    window->OnLeftButtonUp({380, 203});
    EXPECT_EQ(StatusLine().rfind("Editing Offset : ", 0), 0u) << StatusLine();
    for (int i = 0; i < kTicks; ++i) window->OnTimer();
    EXPECT_TRUE(fake.boxesShown.empty());

    fake.ExpectMessageBox(std::string(kDroppedFileCaption));
    fake.DropFiles({statePath, statePath}, kOffTheStrip);
    EXPECT_EQ(fake.boxesShown.back().text, "Drop one file at a time: 2 files were dropped.");
}

}  // namespace
}  // namespace tintwright
