// The find subcommand as a script sees it: its table, its JSON, its exit
// codes and what it adds to the location book.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "frontends/console/FindCommand.h"
#include "settings/ProfileFile.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TempDir.h"

namespace tintwright {
namespace {

using testing::TempDir;
using testing::WriteBytes;

struct FindRun {
    int exitCode;
    std::string out;
    std::string err;
};

// A 128 KiB LoROM of filler words with row 2 of a CGRAM dump at $1A000 and
// row 5 in halves at $1C001 and $1E010. No captured colour is the filler at
// either alignment.
class FindCommand : public ::testing::Test {
protected:
    FindCommand() {
        std::vector<std::uint8_t> rom(0x20000);
        for (std::size_t at = 0; at < rom.size(); ++at) rom[at] = at % 2 ? 0x7C : 0x00;
        rom[0x7FD5] = 0x20, rom[0x7FDC] = 0xCB, rom[0x7FDD] = 0xED, rom[0x7FDE] = 0x34, rom[0x7FDF] = 0x12;
        for (std::size_t i = 0; i < 256; ++i) {
            const auto color = static_cast<std::uint16_t>(0x2000 + 17 * i);
            cgram_.push_back(static_cast<std::uint8_t>(color)), cgram_.push_back(color >> 8);
        }
        const auto put = [&](std::size_t at, std::size_t firstColor, std::size_t count) {
            std::copy_n(cgram_.begin() + 2 * firstColor, 2 * count, rom.begin() + at);
        };
        put(0x1A000, 2 * 16, 16);
        put(0x1C001, 5 * 16, 8);
        put(0x1E010, 5 * 16 + 8, 8);
        WriteBytes(dir_.File("game.smc"), rom);
        WriteBytes(dir_.File("cgram.bin"), cgram_);
    }

    FindRun Run(std::vector<std::string> arguments) const {
        for (std::string& argument : arguments)
            if (argument.find('.') != std::string::npos) argument = dir_.File(argument);
        std::ostringstream out, err;
        const int exitCode = RunFind(arguments, out, err);
        return {exitCode, out.str(), err.str()};
    }

    std::vector<std::uint8_t> cgram_;
    TempDir dir_;
};

TEST_F(FindCommand, RefusesBadInputWithExitTwoAndSaysWhy) {
    WriteBytes(dir_.File("empty.bin"), {});
    const struct {
        std::vector<std::string> arguments;
        const char* error;
    } cases[] = {
        {{}, "expected ROM CAPTURE"},
        {{"missing.smc", "cgram.bin"}, "cannot read the ROM"},
        {{"game.smc", "empty.bin"}, "empty.bin: "},
        {{"game.smc", "cgram.bin", "--tolerance", "4"},
         "the tolerance must be 0 to 3 steps per channel, not 4"},
        {{"game.smc", "cgram.bin", "--min-run", "1"}, "the minimum run must be 2 to 16 colours, not 1"},
        {{"game.smc", "cgram.bin", "--mismatches", "two"}, "--mismatches takes a whole number, not two"},
        {{"game.smc", "cgram.bin", "--mismatches", "17"}, "the mismatches allowed must be 0 to 8, not 17"},
        {{"game.smc", "cgram.bin", "--mismatches", "8", "--min-run", "2"},
         "the mismatches allowed (8) must be fewer than the minimum run (2)"},
        {{"game.smc", "--", "--tolerance"}, "cannot read the capture --tolerance"},
        {{"game.smc", "cgram.bin", "--colours"}, "unknown option --colours"},
        {{"game.smc", "cgram.bin", "--add-to-book", ""}, "--add-to-book needs the settings file's path"},
    };
    for (const auto& bad : cases) {
        const FindRun run = Run(bad.arguments);
        EXPECT_EQ(run.exitCode, 2) << bad.error;
        EXPECT_NE(run.err.find(bad.error), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "") << bad.error;
    }
    EXPECT_FALSE(std::filesystem::exists(".lock")) << "the empty path made a lock file here";
}

TEST_F(FindCommand, PrintsATableWithBusAddressesHalvesAndTheRowsFoundNowhere) {
    const FindRun run = Run({"game.smc", "cgram.bin"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::string table =
        "offset     bus        row  first  length  mismatches\n"
        "$1A000     $03:A000     2      0      16           0\n"
        "$1C001     $03:C001     5      0      16           0  stored in 2 parts\n"
        "  part $1C001 ($03:C001): colours 0-7\n"
        "  part $1E010 ($03:E010): colours 8-15\n"
        "\nRows found nowhere: 0 1 3 4 6 7 8 9 10 11 12 13 14 15.\n";
    EXPECT_NE(run.out.find("CGRAM dump, 256 colours, in "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("(LoROM): 2 places\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(table), std::string::npos) << run.out;
}

TEST_F(FindCommand, PrintsOneJsonArrayOfHitsAndExitsOneWhenNothingIsFound) {
    const FindRun found = Run({"game.smc", "cgram.bin", "--json"});
    EXPECT_EQ(found.exitCode, 0);
    EXPECT_EQ(
        found.out,
        "[{\"offset\": 106496, \"bus_address\": \"$03:A000\", \"row\": 2, \"first_index\": 0, \"length\": "
        "16, "
        "\"mismatches\": 0, \"sub_palette\": null, \"uniform\": false, \"parts\": [{\"offset\": 106496, "
        "\"bus_address\": \"$03:A000\", \"first_index\": 0, \"length\": 16, \"mismatches\": 0}]},\n"
        " {\"offset\": 114689, \"bus_address\": \"$03:C001\", \"row\": 5, \"first_index\": 0, \"length\": "
        "16, "
        "\"mismatches\": 0, \"sub_palette\": null, \"uniform\": false, \"parts\": [{\"offset\": 114689, "
        "\"bus_address\": \"$03:C001\", \"first_index\": 0, \"length\": 8, \"mismatches\": 0}, {\"offset\": "
        "122896, \"bus_address\": \"$03:E010\", \"first_index\": 8, \"length\": 8, \"mismatches\": 0}]}]\n");
    cgram_.resize(128);
    for (std::uint8_t& byte : cgram_) byte ^= 0x40;
    WriteBytes(dir_.File("other.bin"), cgram_);
    const FindRun none = Run({"game.smc", "other.bin", "--json"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out, "[]\n");
    EXPECT_NE(Run({"game.smc", "other.bin"}).out.find("Rows found nowhere: 0 1 2 3.\n"), std::string::npos);
}

// Uniform hits come after the real ones, one line per colour ($1234 read at
// the odd offset is $3412, so row 7 has one place); --all lists
// each, as --json always does.
TEST_F(FindCommand, SumsUpUniformHitsInOneLinePerColourAfterTheRealOnes) {
    for (const int row : {0, 1, 4}) std::fill_n(cgram_.begin() + 32 * row, 32, 0x00);
    for (std::size_t i = 0; i < 16; ++i) cgram_[32 * 7 + 2 * i] = 0x34, cgram_[32 * 7 + 2 * i + 1] = 0x12;
    WriteBytes(dir_.File("cgram.bin"), cgram_);
    std::vector<std::uint8_t> rom = testing::ReadBytes(dir_.File("game.smc"));
    std::fill_n(rom.begin() + 0x10000, 64, 0x00);
    for (std::size_t i = 0; i < 32; ++i) rom[0x12000 + 2 * i] = 0x34, rom[0x12001 + 2 * i] = 0x12;
    WriteBytes(dir_.File("game.smc"), rom);
    const auto count = [](const std::string& text, const std::string& part) {
        std::size_t found = 0;
        for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
        return found;
    };
    const FindRun summed = Run({"game.smc", "cgram.bin"});
    EXPECT_EQ(summed.exitCode, 0) << summed.err;
    EXPECT_NE(summed.out.find("  part $1E010 ($03:E010): colours 8-15\n"
                              "rows 0-1, 4: all $0000 - matches 6 places (--all lists them)\n"
                              "row 7: all $1234 - matches 1 place (--all lists them)\n"),
              std::string::npos)
        << summed.out;
    EXPECT_EQ(count(summed.out, "matches almost anywhere"), 0u) << summed.out;
    const FindRun all = Run({"game.smc", "cgram.bin", "--all"});
    EXPECT_EQ(count(all.out, "one colour or black and white: matches almost anywhere\n"), 7u) << all.out;
    EXPECT_EQ(count(Run({"game.smc", "cgram.bin", "--json"}).out, "\"uniform\": true"), 7u);
    EXPECT_NE(summed.out.find(" 9 places\n"), std::string::npos) << summed.out;
}

// Such a capture would match at nearly every place of the ROM.
TEST_F(FindCommand, ACaptureOfOneColourOnlyFindsNothingAndSaysWhy) {
    const struct {
        const char* file;
        std::vector<std::uint8_t> bytes;
        const char* said;
    } cases[] = {
        {"zeros.bin", std::vector<std::uint8_t>(512, 0), "one colour only ($0000 in all 256 entries)"},
        {"white.bin", {0xFF, 0x7F, 0xFF, 0xFF}, "one colour only ($7FFF in all 2 entries)"},
    };
    for (const auto& capture : cases) {
        WriteBytes(dir_.File(capture.file), capture.bytes);
        const FindRun run = Run({"game.smc", capture.file});
        EXPECT_EQ(run.exitCode, 1) << capture.file;
        EXPECT_EQ(run.out, "") << capture.file;
        EXPECT_NE(run.err.find(capture.said), std::string::npos) << run.err;
    }
    EXPECT_EQ(Run({"game.smc", "zeros.bin", "--json"}).out, "[]\n");
}

TEST_F(FindCommand, AddsEachRowsBestHitToTheLocationBookKeepingWhatIsThere) {
    const std::string book = dir_.File("tintwright.ini");
    WriteBytes(book, {'[', 'P', 'a', 't', 'c', 'h', ']', '\n', 'T', 'i', 't', 'l', 'e', '=', '1', '\n'});
    const FindRun run = Run({"game.smc", "cgram.bin", "--add-to-book", "tintwright.ini"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Added 2 places to the location book in " + book), std::string::npos) << run.out;
    EXPECT_EQ(ReadProfileString(book, "Patch", "Found row 2 @1A000", "", 64), "0001A000");
    EXPECT_EQ(ReadProfileString(book, "Patch", "Found row 5 @1C001", "", 64), "0001C001");
    EXPECT_EQ(ReadProfileString(book, "Patch", "Title", "", 64), "1");
    // Mended: a second run reset a hand-corrected entry and said "Added 2 places".
    ASSERT_TRUE(WriteProfileString(book, "Patch", "Found row 2 @1A000", "0001A010"));
    ASSERT_TRUE(WriteProfileString(book, "Patch", "Found row 5 @1C001", std::nullopt));
    const struct {
        const char* said;
    } again[] = {{"Added 1 place to the location book"}, {"Added 0 places to the location book"}};
    for (const auto& run : again) {
        const FindRun rerun = Run({"game.smc", "cgram.bin", "--add-to-book", "tintwright.ini"});
        EXPECT_NE(rerun.out.find(run.said), std::string::npos) << rerun.out;
        EXPECT_EQ(ReadProfileString(book, "Patch", "Found row 2 @1A000", "", 64), "0001A010");
        EXPECT_EQ(ReadProfileString(book, "Patch", "Found row 5 @1C001", "", 64), "0001C001");
    }
}

// Mended: a UTF-16 book got an 8-bit [Patch] section appended to it.
TEST_F(FindCommand, ABookThatCannotBeWrittenIsLeftAsItIsSayingWhy) {
    const std::vector<std::uint8_t> utf16 = {0xFF, 0xFE, '[', 0, 'P', 0, ']', 0, '\r', 0, '\n', 0};
    WriteBytes(dir_.File("utf16.ini"), utf16);
    const struct {
        std::string path;
        std::string said;
    } rows[] = {
        {dir_.Path().string(), "cannot write the location book " + dir_.Path().string() + ": "},
        {dir_.File("utf16.ini"), "cannot write the location book " + dir_.File("utf16.ini") +
                                     ": the file is UTF-16 text, and its entries are written in 8-bit text; "
                                     "save it as UTF-8 or ANSI"},
    };
    for (const auto& row : rows) {
        const FindRun refused = Run({"game.smc", "cgram.bin", "--add-to-book", row.path});
        EXPECT_EQ(refused.exitCode, 2) << row.path;
        EXPECT_NE(refused.err.find(row.said), std::string::npos) << refused.err;
    }
    EXPECT_EQ(testing::ReadBytes(dir_.File("utf16.ini")), utf16);
    EXPECT_FALSE(std::filesystem::exists(dir_.File("utf16.ini.lock")));
}

// Mended: a book another program held locked made find wait without a word
// for as long as it was held. The real wait is LockWait's; here the lock is
// held by the fake, which gives up at once.
TEST_F(FindCommand, ABookAnotherProgramHoldsIsWaitedForSayingSoThenGivenUp) {
    const std::string book = dir_.File("tintwright.ini");
    WriteBytes(book, {'[', 'P', 'a', 't', 'c', 'h', ']', '\n'});
    testing::FaultyFileSystem files;
    files.locksHeldElsewhere = true;
    const ScopedFileSystem scope(files);
    const FindRun run = Run({"game.smc", "cgram.bin", "--add-to-book", "tintwright.ini"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("tintwright-palette: waiting for " + book + " (locked by another program)\n"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("cannot write the location book " + book + ": another program has kept " + book +
                           ".lock locked for 10 s"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(testing::ReadBytes(book), (std::vector<std::uint8_t>{'[', 'P', 'a', 't', 'c', 'h', ']', '\n'}));
}

}  // namespace
}  // namespace tintwright
