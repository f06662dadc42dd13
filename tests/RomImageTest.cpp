#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>

#include "core/RomImage.h"
#include "tests/support/TempDir.h"

namespace tintwright {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

RomImage ImageOf(std::vector<std::uint8_t> bytes) {
    LoadedRom loaded;
    loaded.size = static_cast<std::uint32_t>(bytes.size());
    bytes.push_back(0);
    loaded.bytes = std::move(bytes);
    RomImage image;
    image.Install(std::move(loaded));
    return image;
}

std::vector<std::uint8_t> Counting(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{1});
    return bytes;
}

TEST(LoadRomFile, ReadsTheWholeFileAndKeepsOneZeroByteAfterIt) {
    TempDir dir;
    WriteBytes(dir.File("rom.smc"), {0x1F, 0x00, 0xE0, 0x03});
    const auto loaded = LoadRomFile(dir.File("rom.smc"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->size, 4u);
    EXPECT_EQ(loaded->bytes, (std::vector<std::uint8_t>{0x1F, 0x00, 0xE0, 0x03, 0x00}));
}

TEST(LoadRomFile, FailsCleanlyOnWhatIsNotAReadableFile) {
    TempDir dir;
    EXPECT_FALSE(LoadRomFile(dir.File("missing.smc")));
    EXPECT_FALSE(LoadRomFile(dir.File("no-folder/rom.smc")));
    EXPECT_FALSE(LoadRomFile(dir.Path().string()));  // a folder
    EXPECT_FALSE(LoadRomFile(""));
    WriteBytes(dir.File("empty.smc"), {});
    const auto empty = LoadRomFile(dir.File("empty.smc"));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->size, 0u);
}

// The editor words its message by the kind, so a too-large file must be
// told from one that cannot be read without looking at the file again.
TEST(LoadRomFile, SaysWhichKindOfFailureItWas) {
    TempDir dir;
    WriteBytes(dir.File("rom.smc"), {1, 2});
    WriteBytes(dir.File("huge.smc"), {});
    std::filesystem::resize_file(dir.File("huge.smc"), kMaxRomFileBytes + 1);  // sparse
    const struct {
        std::string path;
        RomLoadFailure failure;
    } rows[] = {
        {dir.File("rom.smc"), RomLoadFailure::None},
        {dir.File("missing.smc"), RomLoadFailure::Unreadable},
        {dir.Path().string(), RomLoadFailure::Unreadable},
        {dir.File("huge.smc"), RomLoadFailure::LargerThanAnyRom},
    };
    for (const auto& row : rows) {
        RomLoadFailure failure = RomLoadFailure::NoMemoryForCopies;
        const auto loaded = LoadRomFile(row.path, failure);
        EXPECT_EQ(failure, row.failure) << row.path;
        EXPECT_EQ(static_cast<bool>(loaded), row.failure == RomLoadFailure::None) << row.path;
    }
}

TEST(LoadRomFile, RefusesAFileTooLargeForA32BitSize) {
    TempDir dir;
    const std::string path = dir.File("huge.smc");
    WriteBytes(path, {1});
    std::error_code error;
    std::filesystem::resize_file(path, (std::uintmax_t{1} << 32) + 2, error);  // sparse
    if (error) GTEST_SKIP() << "cannot make a sparse 4 GiB file here: " << error.message();
    EXPECT_FALSE(LoadRomFile(path));
}

TEST(RomImage, EmptyFileHasNoColorsAndFindsNothing) {
    RomImage image = ImageOf({});
    EXPECT_EQ(image.Size(), 0u);
    EXPECT_EQ(image.ReadColor(0), kNoColor);
    EXPECT_EQ(image.FindColor(0, 0), RomImage::kNotFound);
    image.WriteColor(0, 0x00F8F8F8);
    EXPECT_EQ(image.ReadColor(0), kNoColor);
}

TEST(RomImage, ReadColorBoundaries) {
    const RomImage image = ImageOf({0x00, 0x00, 0x1F, 0x00, 0xFF, 0x7F, 0x1F});
    EXPECT_EQ(image.ReadColor(2), 0x000000F8u);
    EXPECT_EQ(image.ReadColor(4), 0x00F8F8F8u) << "size - 2 is the last whole word";
    EXPECT_EQ(image.ReadColor(6), 0x000000F8u) << "size - 1 reads the kept zero byte as its high byte";
    EXPECT_EQ(image.ReadColor(7), kNoColor);
    EXPECT_EQ(image.ReadColor(0xFFFFFFFEu), kNoColor) << "negative offsets count as unsigned";
    EXPECT_EQ(image.ReadColor(static_cast<std::uint32_t>(-16)), kNoColor);
}

TEST(RomImage, WriteColorAtOddOffsetsAndIntoTheKeptByte) {
    TempDir dir;
    RomImage image = ImageOf({0, 0, 0, 0, 0});
    image.WriteColor(1, 0x00F80000);  // 0x7C00 straddling bytes 1 and 2
    EXPECT_EQ(image.WorkingBytes()[1], 0x00);
    EXPECT_EQ(image.WorkingBytes()[2], 0x7C);
    image.WriteColor(4, 0x00F8F8F8);  // size - 1: high byte lands after the file
    EXPECT_EQ(image.ReadColor(4), 0x00F8F8F8u);
    image.WriteColor(5, 0x00F8F8F8);  // past the end: refused
    image.WriteColor(0xFFFFFFFF, 0x00F8F8F8);
    image.SavePath() = dir.File("out.smc");
    ASSERT_TRUE(image.WriteToSavePath());
    EXPECT_EQ(ReadBytes(dir.File("out.smc")), (std::vector<std::uint8_t>{0, 0, 0x7C, 0, 0xFF}))
        << "the kept byte is never saved";
}

TEST(RomImage, RestoreFromUndoCopiesOnlyBytesInsideTheFile) {
    RomImage image = ImageOf(Counting(7));
    for (std::uint32_t offset = 0; offset < 7; ++offset) image.WriteColor(offset, 0);
    image.WriteColor(6, 0x00F8F8F8);  // sets byte 6 and the kept byte
    image.RestoreFromUndo(6, 1);      // a word at size - 1 restores its low byte only
    EXPECT_EQ(image.WorkingBytes()[6], 7);
    EXPECT_EQ(image.WorkingBytes()[7], 0x7F) << "the kept byte is not part of the undo copy";
    image.RestoreFromUndo(2, 32);  // runs past the end: the rest is skipped
    EXPECT_EQ(std::vector<std::uint8_t>(image.WorkingBytes().begin() + 2, image.WorkingBytes().begin() + 7),
              (std::vector<std::uint8_t>{3, 4, 5, 6, 7}));
    EXPECT_EQ(image.WorkingBytes()[0], 0);
    image.RestoreFromUndo(0xFFFFFFF8u, 4);  // 32-bit offsets wrap: these four lie past the end
    EXPECT_EQ(image.WorkingBytes()[0], 0);
    image.RestoreFromUndo(0xFFFFFFF8u, 5);  // and the fifth is the word at 0
    EXPECT_EQ(image.WorkingBytes()[0], 1);
    EXPECT_EQ(image.WorkingBytes()[1], 2);
}

TEST(RomImage, RefreshUndoCopyRemakesItAtTheNewSizeBeforeCopying) {
    RomImage image = ImageOf(Counting(4));
    image.WriteColor(0, 0);
    image.RefreshUndoCopy();
    image.RestoreFromUndo(0, 1);
    EXPECT_EQ(image.ReadColor(0), 0u) << "undo restores the refreshed state";
    image.Install([] {
        LoadedRom larger{Counting(10), 10, {}, {}};
        larger.bytes.push_back(0);
        return larger;
    }());
    ASSERT_EQ(image.UndoBytes().size(), 10u);
    EXPECT_EQ(std::vector<std::uint8_t>(image.UndoBytes().begin(), image.UndoBytes().end()), Counting(10));
}

struct FindRow {
    const char* name;
    std::int32_t start;
    std::int32_t expected;
};

TEST(RomImage, FindColorStartStepAndEndRules) {
    // Key 0x7FFF at offsets 0, 5 (odd), 8, 12 and 16 of a 20-byte file.
    std::vector<std::uint8_t> bytes(20, 0);
    for (int at : {0, 5, 8, 12, 16}) {
        bytes[at] = 0xFF;
        bytes[at + 1] = 0x7F;
    }
    const RomImage image = ImageOf(bytes);
    const FindRow rows[] = {
        {"start itself never examined", 0, 8},
        {"odd start 5 begins at 6, never odd offsets", 5, 8},
        {"start 6 begins at 8", 6, 8},
        {"start 8 skips to the next", 8, 12},
        {"nothing at or after size - 4 is examined", 12, RomImage::kNotFound},
        {"negative start begins at 0", -100, 0},
        {"start -2 begins at 0", -2, 0},
        {"start -1 begins at 0", -1, 0},
        {"far past the end", 0x7FFFFFF0, RomImage::kNotFound},
    };
    for (const FindRow& row : rows) {
        EXPECT_EQ(image.FindColor(row.start, 0x00F8F8F8), row.expected) << row.name;
    }
}

TEST(RomImage, FindColorMatchesAllSixteenBitsAndTinyFilesFindNothing) {
    const RomImage withBit15 = ImageOf({0, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0, 0});
    EXPECT_EQ(withBit15.FindColor(0, 0x00F8F8F8), RomImage::kNotFound) << "bit 15 set never matches";
    EXPECT_EQ(ImageOf({0, 0, 0, 0}).FindColor(-100, 0), RomImage::kNotFound);
    EXPECT_EQ(ImageOf({0, 0, 0, 0, 0, 0}).FindColor(0, 0), RomImage::kNotFound);
    EXPECT_EQ(ImageOf({0, 0, 0, 0, 0, 0, 0}).FindColor(0, 0), 2);
}

TEST(RomImage, FindColorAgreesWithAWordByWordScanAcrossBlockEdges) {
    std::vector<std::uint8_t> bytes(1000);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>((i * 37) % 251);
    for (std::size_t at : {62u, 127u, 190u, 254u, 257u, 509u, 512u, 767u, 994u, 995u}) {
        bytes[at] = 0x34;
        bytes[at + 1] = 0x12;
    }
    const RomImage image = ImageOf(bytes);
    const RgbColor color = ToRgbColor(0x1234);
    for (std::int32_t start = -3; start < 1000; ++start) {
        std::int32_t expected = RomImage::kNotFound;
        for (std::int64_t p = std::max<std::int64_t>(0, (start + 2) & ~1LL); p + 4 < 1000; p += 2) {
            if (bytes[p] == 0x34 && bytes[p + 1] == 0x12) {
                expected = static_cast<std::int32_t>(p);
                break;
            }
        }
        ASSERT_EQ(image.FindColor(start, color), expected) << "start " << start;
    }
}

}  // namespace
}  // namespace tintwright
