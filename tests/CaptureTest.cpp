#include <gtest/gtest.h>

#include <string>

#include "capture/BsnesRle.h"
#include "capture/Capture.h"
#include "capture/MesenState.h"
#include "tests/support/CaptureFiles.h"

namespace tintwright {
namespace {

using test::ByteVector;
using test::Palette;

// One file and what reading it must give: the format text contains format and
// the colours are Palette(), or the error contains error.
struct Row {
    const char* name;
    ByteVector bytes;
    const char* format = nullptr;
    const char* error = nullptr;
};

Row Good(const char* name, ByteVector bytes, const char* format) {
    return {name, std::move(bytes), format, nullptr};
}
Row Bad(const char* name, ByteVector bytes, const char* error) {
    return {name, std::move(bytes), nullptr, error};
}

ByteVector Text(std::string_view text) {
    return {text.begin(), text.end()};
}

// Little-endian UTF-16 with its byte-order mark, as Windows tools save text.
ByteVector Utf16(std::string_view text) {
    ByteVector bytes{0xFF, 0xFE};
    for (const char c : text) bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c), 0});
    return bytes;
}

ByteVector Cut(ByteVector bytes, std::size_t keep) {
    bytes.resize(keep);
    return bytes;
}

ByteVector Patched(ByteVector bytes, std::size_t at, std::uint8_t value) {
    bytes[at] = value;
    return bytes;
}

ByteVector Gzip(const ByteVector& bytes) {
    return test::Deflate(bytes, test::Wrapper::Gzip);
}

// A JASC-PAL file of colours, each channel's five bits moved to the top of a byte.
ByteVector JascPal(const std::vector<std::uint16_t>& colors) {
    std::string text = "JASC-PAL\r\n0100\r\n" + std::to_string(colors.size()) + "\r\n";
    for (const std::uint16_t color : colors) {
        text += std::to_string((color & 31) << 3) + " " + std::to_string((color >> 5 & 31) << 3) + " " +
                std::to_string((color >> 10 & 31) << 3) + "\r\n";
    }
    return ByteVector(text.begin(), text.end());
}

// Whenever a reader hands out a state for a core, CGRAM is where it says, in
// the byte order it says.
void ExpectCoreStateHoldsTheColors(const Row& row, const Capture& capture) {
    if (!capture.coreState) return;
    const CoreState& state = *capture.coreState;
    ASSERT_LE(state.cgramAt + 512, state.bytes.size()) << row.name;
    for (std::size_t i = 0; i < capture.colors.size(); ++i) {
        const int first = state.bytes[state.cgramAt + 2 * i], second = state.bytes[state.cgramAt + 2 * i + 1];
        EXPECT_EQ(state.cgramBigEndian ? first << 8 | second : second << 8 | first, capture.colors[i])
            << row.name << ", colour " << i;
    }
}

void Check(const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        const Result<Capture> reading = ReadCapture(row.bytes);
        if (row.format != nullptr) {
            ASSERT_TRUE(reading) << row.name << ": " << reading.Reason();
            EXPECT_NE(reading.Value().format.find(row.format), std::string::npos)
                << row.name << ": " << reading.Value().format;
            EXPECT_EQ(reading.Value().colors, Palette()) << row.name;
            ExpectCoreStateHoldsTheColors(row, reading.Value());
        } else {
            ASSERT_FALSE(reading) << row.name << " read as " << reading.Value().format;
            EXPECT_NE(reading.Reason().find(row.error), std::string::npos)
                << row.name << ": " << reading.Reason();
        }
    }
}

TEST(Capture, ReadsMednafenStatesOfBothSnesModules) {
    using test::MednafenModule;
    const ByteVector faust = test::MednafenState(MednafenModule::SnesFaust);
    const ByteVector snes = test::MednafenState(MednafenModule::Snes);
    Check({
        Good("snes_faust", Gzip(faust), "module snes_faust"),
        Good("snes_faust from a big-endian host", Gzip(test::MednafenState(MednafenModule::SnesFaust, true)),
             "snes_faust"),
        Good("snes, bsnes blob", Gzip(snes), "module snes)"),
        Good("not compressed", snes, "module snes)"),
        Bad("gzip cut", Cut(Gzip(faust), Gzip(faust).size() - 10), "gzip file: compressed data ends early"),
        Bad("state cut in CGRAM", Gzip(Cut(faust, faust.size() - 1)), "state at byte 0 needs"),
        Bad("entry longer than its section", Gzip(Patched(faust, faust.size() - 512 - 4 + 1, 0x10)),
            "section PPU ends at"),
        Bad("blob of another emulator", Gzip(Patched(snes, 138, 'X')),
            "OmniCat of section DATA is not a bsnes state"),
        Bad("no SNES section", Gzip(Patched(Patched(Cut(faust, 90), 20, 90), 21, 0)), "no section PPU"),
        Bad("gzip of something else", Gzip(ByteVector(600, 1)), "neither a mednafen state"),
    });
}

TEST(Capture, ReadsSnes9xSnapshotsWithBigEndianWords) {
    const ByteVector current = test::Snes9xState(12);
    Check({
        Good("version 12", Gzip(current), "snes9x state (version 12)"),
        Good("version 12, as the libretro core serializes it", current, "snes9x state (version 12)"),
        Good("version 10, before CGSavedByte", Gzip(test::Snes9xState(10)), "version 10"),
        Bad("cut in CGDATA", Gzip(Cut(current, current.size() - 100)), "block PPU at byte"),
        Bad("broken block header", Patched(current, 14 + 3, 'x'), "broken block header at byte 14"),
        Bad("no PPU block", Cut(current, 14 + 15), "no block PPU"),
    });
}

TEST(Capture, ReadsBsnesStatesInEveryWrapping) {
    const ByteVector blob = test::BsnesV115Blob(Palette());
    const ByteVector file = test::BsnesV115File(Palette());
    const ByteVector other = test::BsnesV115File(Palette(0x0777));
    Check({
        Good("v115 .bst", file, "bsnes .bst (bsnes 115)"),
        Good("serializer blob", blob, "bsnes-family state (bsnes 115)"),
        Good(".bsz, newest member last", test::Zip({{"Quick/Slot 1.bst", other}, {"Quick/Slot 2.bst", file}}),
             "Quick/Slot 2.bst in a .bsz"),
        Good(".bsz, stored member", test::Zip({{"Quick/Undo.bst", file, false}, {"notes.txt", {1, 2}}}),
             "Undo"),
        Good("mercury Balanced", test::BsnesV094Blob("Balanced"), "profile Balanced"),
        Good("higan Accuracy", test::BsnesV094Blob("Accuracy"), "profile Accuracy"),
        Bad("cut", Cut(file, file.size() - 3), "bsnes .bst: state at byte 12 needs"),
        Bad("accurate PPU", test::BsnesV115Blob(Palette(), false), "accurate PPU"),
        Bad("no PPU part", Cut(blob, blob.size() - 72000), "no PPU part"),
        Bad("v094 without its PPU", Cut(test::BsnesV094Blob("Accuracy"), 160000), "no PPU part found"),
        Bad("unknown layout", Patched(blob, 8, 'x'), "layout not read here"),
        Bad(".bsz without states", test::Zip({{"a.txt", {1, 2, 3}}}), "no bsnes state"),
        Bad(".bsz member corrupt", Patched(test::Zip({{"s.bst", file, false}}), 30 + 5 + 40, 0x77), "CRC-32"),
        Bad(".bsz cut", Cut(test::Zip({{"s.bst", file}}), 100), "no end of central directory"),
    });
}

ByteVector PatchedLittleEndian(ByteVector bytes, std::size_t at, std::uint64_t value, int count) {
    for (int i = 0; i < count; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return bytes;
}

TEST(Capture, ReadsRetroArchStatesPlainCompressedAndInEveryCoreLayout) {
    using test::RetroArchState;
    using test::Rzip;
    const ByteVector mercury = test::BsnesV094Blob("Balanced");
    const ByteVector snes9x = test::Snes9xState(12);
    const ByteVector plain = RetroArchState(mercury);
    const ByteVector compressed = Rzip(plain);  // three chunks
    const ByteVector rastateHeader = Cut(plain, 8);
    const std::size_t total = plain.size();
    const std::string endsEarly =
        "the chunks end after " + std::to_string(total) + " of the " + std::to_string(total + 1) + " bytes";
    ByteVector endFirst = rastateHeader;
    test::AppendText(endFirst, "END ");
    test::AppendLittleEndian(endFirst, 0, 4);
    Check({
        Good("plain", plain,
             "RetroArch state: bsnes-family state (higan v094 / bsnes-mercury, profile Balanced)"),
        Good("compressed", compressed, "RetroArch state (compressed): bsnes-family state (higan v094"),
        Good("compressed in small chunks", Rzip(plain, 4096), "RetroArch state (compressed)"),
        Good("achievements and a replay before MEM",
             RetroArchState(mercury, {{"ACHV", {1, 2, 3}}, {"RPLY", ByteVector(13, 7)}}),
             "RetroArch state: "),
        Good("snes9x core", RetroArchState(snes9x), "RetroArch state: snes9x state (version 12)"),
        Good("bsnes v115 core, compressed", Rzip(RetroArchState(test::BsnesV115Blob(Palette()))),
             "RetroArch state (compressed): bsnes-family state (bsnes 115)"),
        Good("older RetroArch: the core's bytes compressed bare", Rzip(mercury),
             "(compressed, without RASTATE)"),
        Bad("cut in MEM", Cut(plain, 1000), "RetroArch state: block MEM at byte 16 needs"),
        Bad("cut in a block header", Cut(plain, 12), "block header at byte 8 needs 8 bytes"),
        Bad("no MEM", Cut(RetroArchState({}, {{"ACHV", {1}}}), 24), "no block MEM before the end at byte 24"),
        Bad("END first", endFirst, "block END at byte 8 before any block MEM"),
        Bad("RASTATE version 2", Patched(plain, 7, 2), "RASTATE version 2"),
        Bad("hostile MEM size", Patched(plain, 15, 0xFF), "block MEM at byte 16 needs"),
        Bad("hostile size of a skipped block",
            PatchedLittleEndian(RetroArchState(mercury, {{"ACHV", {1}}}), 12, 0xFFFFFFFF, 4),
            "block ACHV at byte 16 needs 4294967295 bytes"),
        Bad("a core of another layout", RetroArchState(ByteVector(1000, 9)),
            "the core's state (block MEM, 1000 bytes) is none of"),
        Bad("the core's reader refuses it", RetroArchState(Cut(mercury, 160000)),
            "RetroArch state: bsnes-family state (higan v094 / bsnes-mercury, profile Balanced): no PPU "
            "part"),
        Bad("RZIP header cut", Cut(compressed, 15), "RZIP header at byte 0 needs 20 bytes"),
        Bad("RZIP version 2", Patched(compressed, 6, 2), "RZIP version 2"),
        Bad("RZIP chunks of 0 bytes", PatchedLittleEndian(compressed, 8, 0, 4), "chunks of 0 bytes"),
        Bad("RZIP total beyond any state", Patched(compressed, 19, 1), "more than a state holds"),
        Bad("RZIP chunk broken", Patched(compressed, 24, 0),
            "RZIP chunk 1 at byte 20 (at most 131072 bytes): compressed data broken"),
        Bad("RZIP chunk cut", Cut(compressed, compressed.size() - 10), "RZIP chunk 3 at byte"),
        Bad("RZIP chunk larger than the header says", PatchedLittleEndian(Rzip(plain, 4096), 8, 2048, 4),
            "(at most 2048 bytes): compressed data inflates past 2048 bytes"),
        Bad("RZIP total larger than the chunks", PatchedLittleEndian(compressed, 12, total + 1, 8),
            endsEarly.c_str()),
        Bad("RZIP total smaller than the chunks", PatchedLittleEndian(compressed, 12, total - 1, 8),
            "inflates past"),
        Bad("RZIP of something else", Rzip(ByteVector(600, 1)), "(the whole file, 600 bytes) is none of"),
        Bad("RASTATE signature alone", rastateHeader, "no block MEM before the end at byte 8"),
    });
    // A core unserializes the MEM block alone, exactly as the core wrote it.
    for (const auto& [file, core] :
         {std::pair{compressed, mercury}, std::pair{RetroArchState(snes9x), snes9x}}) {
        const Result<Capture> reading = ReadCapture(file);
        ASSERT_TRUE(reading && reading.Value().coreState) << reading.Reason();
        EXPECT_EQ(reading.Value().coreState->bytes, core);
    }
}

TEST(Capture, ReadsMesenZsnesPaletteFilesAndRawDumps) {
    const ByteVector mesen = test::MesenState(true);
    const ByteVector zsnes = test::ZsnesState();
    const ByteVector raw = test::LittleEndianCgram(Palette());
    Check({
        Good("Mesen2 packed", mesen, "Mesen2 state"),
        Good("Mesen2 unpacked", test::MesenState(false), "Mesen2 state"),
        Good("ZSNES", zsnes, "ZSNES state"),
        Good("raw CGRAM dump", raw, "CGRAM dump"),
        Good("JASC-PAL palette file", JascPal(Palette()), "JASC-PAL palette"),
        Bad("palette larger than CGRAM", JascPal(std::vector<std::uint16_t>(300, 0x1234)), "CGRAM holds 256"),
        Bad("Mesen2 cut", Cut(mesen, mesen.size() - 1), "Mesen2 state: packed state at byte"),
        Bad("Mesen2 of the NES", Patched(mesen, 11, 2), "console type 2"),
        Bad("ZSNES cut", Cut(zsnes, 0x618 + 100), "CGRAM at byte 1560 needs 512"),
        Bad("odd length", Cut(raw, 511), "not a CGRAM dump"),
        Bad("too long for CGRAM", ByteVector(514, 0), "not a capture"),
        // A file that names its palette format is that format, never colour words.
        Bad("JASC channel of 256", Text("JASC-PAL\n0100\n1\n0 256 0\n"), "JASC-PAL: line 4: colour 1 of 1"),
        Bad("JASC count 0", Text("JASC-PAL\n0100\n0\n"), "JASC-PAL: line 3: expected the number"),
        Bad("GPL in UTF-16", Utf16("GIMP Palette\nName: x\n1 2 3\n"), "GIMP GPL: the file is UTF-16 text"),
        Bad("empty", {}, "0 bytes is not a CGRAM dump"),
    });
    const Result<Capture> part = ReadCapture(Cut(raw, 32));
    const auto palette = Palette();
    ASSERT_TRUE(part);
    EXPECT_EQ(part.Value().colors, std::vector<std::uint16_t>(palette.begin(), palette.begin() + 16));
}

TEST(Capture, MesenRecordWalkerNamesTheCutRecord) {
    const ByteVector records = test::MesenRecords(Palette());
    EXPECT_EQ(ReadMesenRecords(records).Value().colors, Palette());
    EXPECT_NE(ReadMesenRecords(Cut(records, 24)).Reason().find("size of record ppu.cgram"),
              std::string::npos);
    EXPECT_NE(ReadMesenRecords(Cut(records, 3)).Reason().find("has no end"), std::string::npos);
    // A record name of escape codes reaches the message as plain text.
    const ByteVector hostile = {0x1B, '[', '2', 'J', 0x07, 0, 0xFF, 0xFF, 0, 0};
    EXPECT_NE(ReadMesenRecords(hostile).Reason().find("record ?[2J? at byte"), std::string::npos)
        << ReadMesenRecords(hostile).Reason();
    EXPECT_NE(ReadMesenRecords(test::MesenRecords({1, 2})).Reason().find("4 bytes, not 512"),
              std::string::npos);
}

TEST(Capture, BsnesRunLengthCodeRoundTripsAndRefusesCutOrHugeInput) {
    ByteVector bytes(3000, 0);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i % 7 == 0 ? i : 0);
    const ByteVector coded = test::EncodeBsnesRle(bytes);
    const auto decoded = capture::DecodeBsnesRle(coded, 1 << 20);
    ASSERT_TRUE(decoded) << decoded.Reason();
    EXPECT_EQ(*decoded, bytes);
    EXPECT_NE(capture::DecodeBsnesRle(Cut(coded, coded.size() - 1), 1 << 20).Reason().find("ends at byte"),
              std::string::npos);
    EXPECT_NE(capture::DecodeBsnesRle(coded, 2999).Reason().find("more than a state holds"),
              std::string::npos);
}

}  // namespace
}  // namespace tintwright
