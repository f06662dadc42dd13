// Palette files: every SNES colour through every format, one hand-worked file
// per format to the byte, the readers against broken files, and GIMP's own
// palettes as Debian ships them.

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include <string>

#include "palette/PaletteFile.h"
#include "tests/support/TempDir.h"

namespace tintwright {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr PaletteFormat kAllFormats[] = {PaletteFormat::JascPal, PaletteFormat::RiffPal,
                                         PaletteFormat::AdobeAct, PaletteFormat::GimpGpl,
                                         PaletteFormat::RawBgr555};

Bytes Text(std::string_view text) {
    return {text.begin(), text.end()};
}

TEST(PaletteFile, EverySnesColorSurvivesExportAndImportInEveryFormat) {
    for (const PaletteFormat format : kAllFormats) {
        for (unsigned first = 0; first < 0x8000; first += 256) {
            std::vector<std::uint16_t> colors(256);
            std::iota(colors.begin(), colors.end(), static_cast<std::uint16_t>(first));
            const auto written = WritePaletteFile(format, colors);
            ASSERT_TRUE(written) << written.Reason();
            const Result<PaletteFile> read = ReadPaletteFile(*written);
            ASSERT_TRUE(read) << PaletteFormatName(format) << ": " << read.Reason();
            EXPECT_EQ(read->format, format);
            ASSERT_EQ(read->colors, colors) << PaletteFormatName(format) << " from " << first;
        }
    }
}

// White, full red and a middle grey: 31 becomes 255, 16 becomes 132.
TEST(PaletteFile, HandWorkedFilesMatchTheirPublishedLayoutToTheByte) {
    const std::vector<std::uint16_t> colors = {0x7FFF, 0x001F, 0x4210};
    Bytes act(772, 0);
    for (const auto& [at, value] : std::initializer_list<std::pair<int, std::uint8_t>>{{0, 255},
                                                                                       {1, 255},
                                                                                       {2, 255},
                                                                                       {3, 255},
                                                                                       {6, 132},
                                                                                       {7, 132},
                                                                                       {8, 132},
                                                                                       {769, 3},
                                                                                       {770, 255},
                                                                                       {771, 255}})
        act[at] = value;
    const struct {
        PaletteFormat format;
        Bytes bytes;
    } cases[] = {
        {PaletteFormat::JascPal, Text("JASC-PAL\r\n0100\r\n3\r\n255 255 255\r\n255 0 0\r\n132 132 132\r\n")},
        {PaletteFormat::GimpGpl, Text("GIMP Palette\nName: Tintwright\nColumns: 16\n#\n255 255 255\t$7FFF\n"
                                      "255   0   0\t$001F\n132 132 132\t$4210\n")},
        {PaletteFormat::RiffPal,
         {'R', 'I', 'F', 'F', 28, 0, 0,   0,   'P', 'A', 'L', ' ', 'd', 'a', 't', 'a', 16,  0,
          0,   0,   0,   3,   3,  0, 255, 255, 255, 0,   255, 0,   0,   0,   132, 132, 132, 0}},
        {PaletteFormat::AdobeAct, act},
        {PaletteFormat::RawBgr555, {0xFF, 0x7F, 0x1F, 0x00, 0x10, 0x42}},
    };
    for (const auto& c : cases) {
        const auto written = WritePaletteFile(c.format, colors);
        ASSERT_TRUE(written) << written.Reason();
        EXPECT_EQ(*written, c.bytes) << PaletteFormatName(c.format);
        const Result<PaletteFile> read = ReadPaletteFile(c.bytes);
        ASSERT_TRUE(read) << read.Reason();
        EXPECT_EQ(read->colors, colors) << PaletteFormatName(c.format);
    }
}

// What other programs write and we must read too: LF line ends, a 768-byte
// ACT, a RIFF with another chunk before "data", GIMP names and comments.
TEST(PaletteFile, ReadsTheVariantsOtherProgramsWrite) {
    Bytes act(768, 0);
    act[767] = 255;
    Bytes riff = {'R', 'I', 'F', 'F', 30,  0,   0,   0, 'P', 'A', 'L', ' ', 'o', 'f', 'f', 'l', 1,  0,  0,
                  0,   9,   0,   'd', 'a', 't', 'a', 8, 0,   0,   0,   0,   3,   1,   0,   8,   16, 24, 0};
    const struct {
        Bytes bytes;
        PaletteFormat format;
        std::size_t count;
        std::uint16_t last;
    } cases[] = {
        {Text("JASC-PAL\n0100\n2\n0 0 0\n8 16 248\n"), PaletteFormat::JascPal, 2, 0x7C41},
        {act, PaletteFormat::AdobeAct, 256, 0x7C00},
        {riff, PaletteFormat::RiffPal, 1, 0x0C41},
        {Text("GIMP Palette\r\nName: Sky\r\nColumns: 4\r\n# comment\r\n\r\n  8  16 248 deep blue\r\n"),
         PaletteFormat::GimpGpl, 1, 0x7C41},
    };
    for (const auto& c : cases) {
        const Result<PaletteFile> read = ReadPaletteFile(c.bytes);
        ASSERT_TRUE(read) << read.Reason();
        EXPECT_EQ(read->format, c.format);
        EXPECT_EQ(read->colors.size(), c.count);
        EXPECT_EQ(read->colors.back(), c.last) << PaletteFormatName(c.format);
    }
}

Bytes RiffWithData(std::uint32_t riffSize, Bytes data) {
    Bytes bytes = {'R', 'I', 'F', 'F', static_cast<std::uint8_t>(riffSize), 0, 0, 0, 'P', 'A', 'L', ' '};
    for (const std::uint8_t byte : data) bytes.push_back(byte);
    return bytes;
}

TEST(PaletteFile, BrokenFilesAreRefusedSayingWhereAndWhy) {
    Bytes actZeroCount(772, 0);
    Bytes actTooMany(772, 0);
    actTooMany[768] = 1;
    actTooMany[769] = 44;
    std::string manyLines = "JASC-PAL\n0100\n65536\n";
    for (int i = 0; i < 65536; ++i) manyLines += "1 2 3\n";
    const Bytes jascOverLimit = Text(manyLines);
    Bytes utf16Jasc{0xFE, 0xFF};  // big-endian
    for (const char c : std::string_view("JASC-PAL\n0100\n1\n0 0 0\n"))
        utf16Jasc.insert(utf16Jasc.end(), {0, static_cast<std::uint8_t>(c)});
    const struct {
        const char* name;
        Bytes bytes;
        std::string error;
    } cases[] = {
        {"empty", {}, "not a palette file (0 bytes)"},
        {"odd length", {1, 2, 3}, "not a palette file (3 bytes)"},
        {"raw too long", Bytes(514, 0), "not a palette file (514 bytes)"},
        {"JASC version", Text("JASC-PAL\n0200\n1\n0 0 0\n"), "JASC-PAL: line 2: expected the version"},
        {"JASC no count", Text("JASC-PAL\n0100\n0\n"), "JASC-PAL: line 3: expected the number of colours"},
        {"JASC cut", Text("JASC-PAL\r\n0100\r\n2\r\n1 2 3\r\n"),
         "line 5: the file ends before colour 2 of 2"},
        {"JASC value", Text("JASC-PAL\n0100\n1\n0 256 0\n"), "line 4: colour 1 of 1 as \"R G B\" (0-255)"},
        {"JASC extra", Text("JASC-PAL\n0100\n1\n0 0 0\n1 1 1\n"), "line 5: more colours than the 1"},
        {"JASC over the limit", jascOverLimit, "JASC-PAL: the file lists 65536 colours, more than the 65535"},
        {"JASC in UTF-16", utf16Jasc, "JASC-PAL: the file is UTF-16 text"},
        {"GPL empty", Text("GIMP Palette\nName: x\n"),
         "GIMP GPL: line 2: the file ends before its first colour"},
        {"GPL two numbers", Text("GIMP Palette\n1 2\n"), "GIMP GPL: line 2: expected \"R G B name\""},
        {"RIFF cut", RiffWithData(40, {'d', 'a', 't', 'a'}),
         "RIFF PAL: at byte 4: the file says it has 48 bytes"},
        {"RIFF chunk cut", RiffWithData(12, {'d', 'a', 't', 'a', 9, 0, 0, 0}),
         "the chunk needs 9 bytes, 0 are left"},
        {"RIFF short count", RiffWithData(16, {'d', 'a', 't', 'a', 4, 0, 0, 0, 0, 3, 3, 0}),
         "holds 0 colours, its count says 3"},
        {"RIFF version", RiffWithData(16, {'d', 'a', 't', 'a', 4, 0, 0, 0, 0, 1, 1, 0}),
         "expected the version 0x0300"},
        {"RIFF no data", RiffWithData(12, {'o', 'f', 'f', 'l', 0, 0, 0, 0}), "there is no \"data\" chunk"},
        {"ACT count 0", actZeroCount, "Adobe ACT: the count at 768 is 0"},
        {"ACT count 300", actTooMany, "Adobe ACT: the count at 768 is 300"},
    };
    for (const auto& c : cases) {
        const Result<PaletteFile> read = ReadPaletteFile(c.bytes);
        EXPECT_FALSE(read) << c.name;
        EXPECT_NE(read.Reason().find(c.error), std::string::npos) << c.name << ": " << read.Reason();
    }
    EXPECT_EQ(WritePaletteFile(PaletteFormat::AdobeAct, std::vector<std::uint16_t>(257)).Reason(),
              "Adobe ACT holds 1 to 256 colours, not 257");
    EXPECT_FALSE(WritePaletteFile(PaletteFormat::JascPal, {}));
}

// Counted independently of the reader: GIMP's colour lines are the only ones
// that start with a digit.
std::size_t CountColorLines(const Bytes& bytes) {
    std::size_t count = 0;
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::size_t first = text.find_first_not_of(" \t", start);
        if (first < end && text[first] >= '0' && text[first] <= '9') ++count;
        start = end + 1;
    }
    return count;
}

TEST(PaletteFile, EveryGimpPaletteDebianShipsImportsWithAllItsColors) {
    const std::filesystem::path folder = "/usr/share/gimp/2.0/palettes";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".gpl") continue;
        const Bytes bytes = testing::ReadBytes(entry.path().string());
        const Result<PaletteFile> read = ReadPaletteFile(bytes);
        ASSERT_TRUE(read) << entry.path() << ": " << read.Reason();
        EXPECT_EQ(read->format, PaletteFormat::GimpGpl);
        EXPECT_EQ(read->colors.size(), CountColorLines(bytes)) << entry.path();
        ++files;
    }
    EXPECT_GE(files, 30) << "gimp-data is installed by scripts/install-deps";
}

}  // namespace
}  // namespace tintwright
