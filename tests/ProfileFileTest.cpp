#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "settings/ProfileFile.h"
#include "tests/support/TempDir.h"

namespace tintwright {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

using testing::TempDir;

void WriteText(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

// The file's bytes, or nothing when there is no file.
std::optional<std::string> FileText(const std::string& path) {
    if (!fs::exists(path)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const std::optional<std::string> kNoFile = std::nullopt;
const std::string kBom = "\xEF\xBB\xBF";
constexpr std::uint32_t kGuardBytes = 16;
constexpr char kGuard = '\x5A';

enum class Operation { ReadString, ReadSection, Write, Add };

// One row: the file before, one call, and what it must give.
struct Row {
    std::string name{};
    std::optional<std::string> before{};
    Operation operation = Operation::ReadString;
    std::string section{};
    std::optional<std::string> key{};
    std::optional<std::string> value{};  // the value written, or the default of a string read
    std::uint32_t capacity = 0;
    std::string expectedBuffer{};     // reads: every byte the read must write, NULs included
    std::uint32_t expectedCount = 0;  // for an addition: 1 when the entry was added
    bool expectedOk = true;
    std::optional<std::string> after{};  // the file afterwards; reads must leave it as before
};

// Failures name the row instead of dumping its bytes.
void PrintTo(const Row& row, std::ostream* out) {
    *out << row.name;
}

Row StringRow(std::string name, std::optional<std::string> before, std::string section, std::string key,
              std::string fallback, std::uint32_t capacity, std::string expectedValue) {
    const auto count = static_cast<std::uint32_t>(expectedValue.size());
    return {.name = std::move(name),
            .before = before,
            .operation = Operation::ReadString,
            .section = std::move(section),
            .key = std::move(key),
            .value = std::move(fallback),
            .capacity = capacity,
            .expectedBuffer = expectedValue + '\0',
            .expectedCount = count,
            .after = before};
}

Row SectionRow(std::string name, std::optional<std::string> before, std::string section,
               std::uint32_t capacity, std::string expectedBuffer, std::uint32_t count) {
    return {.name = std::move(name),
            .before = before,
            .operation = Operation::ReadSection,
            .section = std::move(section),
            .capacity = capacity,
            .expectedBuffer = std::move(expectedBuffer),
            .expectedCount = count,
            .after = before};
}

Row WriteRow(std::string name, std::optional<std::string> before, std::string section,
             std::optional<std::string> key, std::optional<std::string> value,
             std::optional<std::string> after, bool ok = true) {
    return {.name = std::move(name),
            .before = std::move(before),
            .operation = Operation::Write,
            .section = std::move(section),
            .key = std::move(key),
            .value = std::move(value),
            .expectedOk = ok,
            .after = std::move(after)};
}

// An addition, which keeps an entry of that name that is there already.
Row AddRow(std::string name, std::optional<std::string> before, std::string key, std::string value,
           std::optional<std::string> after, bool added) {
    Row row = WriteRow(std::move(name), std::move(before), "Patch", std::move(key), std::move(value),
                       std::move(after));
    row.operation = Operation::Add;
    row.expectedCount = added ? 1 : 0;
    return row;
}

std::vector<Row> Rows() {
    const std::string patch = "[Patch]\r\nbeta=0002C000\r\nAlpha=$8000\r\nGamma=0001A000\r\n";
    return {
        // String read: lookup.
        StringRow("StringFound", patch, "Patch", "Alpha", "", 256, "$8000"),
        StringRow("StringNamesIgnoreCase", patch, "pAtCh", "ALPHA", "", 256, "$8000"),
        StringRow("StringRequestedNamesTrimmed", patch, " Patch\t", " gamma ", "", 256, "0001A000"),
        StringRow("StringMissingFileGivesDefault", kNoFile, "Patch", "a", "dflt", 256, "dflt"),
        StringRow("StringMissingSectionGivesDefault", patch, "Other", "beta", "dflt", 256, "dflt"),
        StringRow("StringMissingKeyGivesDefault", patch, "Patch", "Delta", "", 256, ""),
        StringRow("StringDefaultCut", kNoFile, "Patch", "a", "abcdef", 4, "abc"),
        StringRow("StringValueCut", patch, "Patch", "beta", "", 5, "0002"),
        StringRow("StringValueWithEquals", "[Patch]\r\nIntro=12=34\r\n", "Patch", "Intro", "", 256, "12=34"),
        StringRow("StringEmptyKey", "[S]\r\n=v\r\n", "S", "", "d", 256, "v"),
        StringRow("StringEmptyValue", "[S]\r\nk=\r\n", "S", "k", "d", 256, ""),
        // String read: what hand edits may bring.
        StringRow("StringBlanksTrimmed", "  [S]  \r\n \t key \t=\t a value \t\r\n", "S", "key", "", 256,
                  "a value"),
        StringRow("StringDoubleQuotesRemoved", "[S]\r\nk = \"a b\" \r\n", "S", "k", "", 256, "a b"),
        StringRow("StringSingleQuotesRemoved", "[S]\r\nk='a b'\r\n", "S", "k", "", 256, "a b"),
        StringRow("StringMismatchedQuotesKept", "[S]\r\nk=\"a b'\r\n", "S", "k", "", 256, "\"a b'"),
        StringRow("StringLoneQuoteKept", "[S]\r\nk=\"\r\n", "S", "k", "", 256, "\""),
        StringRow("StringEmptyQuotes", "[S]\r\nk=''\r\n", "S", "k", "d", 256, ""),
        StringRow("StringInnerQuotesKept", "[S]\r\nk=\"a\"b\"\r\n", "S", "k", "", 256, "a\"b"),
        StringRow("StringCommentIsNoKey", "[S]\r\n;k=1\r\n  ; k=2\r\n", "S", "k", "d", 256, "d"),
        StringRow("StringCommentSkipped", "[S]\r\n;k=1\r\nk=2\r\n", "S", "k", "", 256, "2"),
        StringRow("StringFirstOfTwoKeysWins", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "", 256, "1"),
        StringRow("StringFirstOfTwoSectionsWins", "[S]\r\na=1\r\n[T]\r\n[s]\r\nb=2\r\n", "S", "b", "d", 256,
                  "d"),
        StringRow("StringOtherSectionNotSearched", "[A]\r\nk=1\r\n[B]\r\n", "B", "k", "d", 256, "d"),
        StringRow("StringCrEndsLine", "[S]\rk=1\ro=2", "S", "o", "", 256, "2"),
        StringRow("StringLfEndsLine", "[S]\nk=1\no=2\n", "S", "k", "", 256, "1"),
        StringRow("StringMixedLineEnds", "[S]\n\rk=1\r\n\no=2\r", "S", "o", "", 256, "2"),
        StringRow("StringByteOrderMarkIgnored", kBom + "[S]\r\nk=1", "S", "k", "", 256, "1"),
        StringRow("StringHeaderTextAfterBracketIgnored", "[S] ; note\r\nk=1\r\n", "S", "k", "", 256, "1"),
        StringRow("StringHeaderEndsAtFirstBracket", "[S]x]\r\nk=1\r\n", "S", "k", "", 256, "1"),
        StringRow("StringBlanksInsideBracketsIgnored", "[ S ]\r\nk=1\r\n", "s", "k", "", 256, "1"),
        StringRow("StringBracketWithoutCloseIsNoHeader", "[S]\r\n[x=1\r\n", "S", "[x", "", 256, "1"),
        StringRow("StringLinesBeforeFirstHeaderInNoSection", "k=0\r\n[S]\r\nk=1\r\n", "S", "k", "", 256, "1"),
        StringRow("StringLinesBeforeFirstHeaderNotFound", "k=0\r\n[T]\r\n", "S", "k", "d", 256, "d"),
        StringRow("StringLineWithoutEqualsIsNoKey", "[S]\r\nk\r\n", "S", "k", "d", 256, "d"),

        // Section read.
        SectionRow("SectionInFileOrder", patch, "Patch", 256,
                   "beta=0002C000\0Alpha=$8000\0Gamma=0001A000\0\0"s, 41),
        SectionRow("SectionNameIgnoresCase", "[PATCH]\r\na=1\r\n", "patch", 256, "a=1\0\0"s, 4),
        SectionRow("SectionMissingFile", kNoFile, "Patch", 256, "\0\0"s, 0),
        SectionRow("SectionMissingSection", patch, "Other", 256, "\0\0"s, 0),
        SectionRow("SectionEmpty", "[S]\r\n\r\n; only a note\r\n[T]\r\na=1\r\n", "S", 256, "\0\0"s, 0),
        SectionRow("SectionEndsAtNextHeader", "[S]\r\na=1\r\n[T]\r\nb=2", "S", 256, "a=1\0\0"s, 4),
        SectionRow("SectionHandEditedLines",
                   "[S]\r\n; note\r\n\r\n  a = 1 \r\n\t loose text \r\nq = \"x\" \r\n=e\r\n", "S", 256,
                   "a=1\0loose text\0q=\"x\"\0=e\0\0"s, 24),
        SectionRow("SectionListsEqualKeysBoth", "[S]\r\na=1\r\nA=2\r\n", "S", 256, "a=1\0A=2\0\0"s, 8),
        SectionRow("SectionMixedLineEnds", "[S]\ra=1\nb=2\r\n\rc=3", "S", 256, "a=1\0b=2\0c=3\0\0"s, 12),
        SectionRow("SectionByteOrderMark", kBom + "[S]\r\na=1\r\n", "S", 256, "a=1\0\0"s, 4),
        SectionRow("SectionBeforeFirstHeaderNotListed", "a=1\r\n[S]\r\nb=2\r\n", "S", 256, "b=2\0\0"s, 4),
        SectionRow("SectionOnlyFirstOfSameName", "[S]\r\na=1\r\n[s]\r\nb=2\r\n", "S", 256, "a=1\0\0"s, 4),
        SectionRow("SectionLineWithNulLeftOut", "[S]\r\na=1\r\n\0b=2\r\nc=\0\r\nd=3"s, "S", 256,
                   "a=1\0d=3\0\0"s, 8),
        SectionRow("SectionCutToCapacity", "[S]\r\na=1\r\nbbbb=2222\r\n", "S", 8, "a=1\0bb\0\0"s, 6),
        SectionRow("SectionExactFit", "[S]\r\na=1\r\nb=2\r\n", "S", 9, "a=1\0b=2\0\0"s, 8),
        SectionRow("SectionOneShort", "[S]\r\na=1\r\nb=2\r\n", "S", 8, "a=1\0b=\0\0"s, 6),

        // Write: setting a key.
        WriteRow("WriteNewKeyAppended", "[S]\r\na=1\r\n", "S", "b", "2", "[S]\r\na=1\r\nb=2\r\n"),
        WriteRow("WriteNewKeyBeforeTrailingBlanks", "[S]\r\na=1\r\n\r\n  \r\n[T]\r\nc=3\r\n", "S", "b", "2",
                 "[S]\r\na=1\r\nb=2\r\n\r\n  \r\n[T]\r\nc=3\r\n"),
        WriteRow("WriteNewKeyAfterComment", "[S]\r\na=1\r\n; note\r\n\r\n", "S", "b", "2",
                 "[S]\r\na=1\r\n; note\r\nb=2\r\n\r\n"),
        WriteRow("WriteNewKeyInEmptySection", "[S]\r\n\r\n[T]", "S", "b", "2", "[S]\r\nb=2\r\n\r\n[T]"),
        WriteRow("WriteNewKeyAfterLastLineWithoutEnd", "[S]\r\na=1", "S", "b", "2", "[S]\r\na=1\r\nb=2\r\n"),
        WriteRow("WriteExistingKeyReplacedInPlace", "[S]\r\nAlpha=1\r\nz=9\r\n", "s", "ALPHA", "2",
                 "[S]\r\nAlpha=2\r\nz=9\r\n"),
        WriteRow("WriteReplacedLineLosesBlanks", "[S]\r\n  a = 1  \r\nz=9", "S", "a", "2",
                 "[S]\r\na=2\r\nz=9"),
        WriteRow("WriteReplacesQuotedValue", "[S]\r\na=\"1\"\r\n", "S", "a", "2", "[S]\r\na=2\r\n"),
        WriteRow("WriteReplacesFirstOfTwoKeys", "[S]\r\na=1\r\nA=2\r\n", "S", "a", "3",
                 "[S]\r\na=3\r\nA=2\r\n"),
        WriteRow("WriteReplacedLineGetsCrLf", "[S]\na=1\n", "S", "a", "1", "[S]\na=1\r\n"),
        WriteRow("WriteMissingSectionAppended", "[T]\r\nc=3\r\n", "S", "a", "1",
                 "[T]\r\nc=3\r\n[S]\r\na=1\r\n"),
        WriteRow("WriteMissingSectionAfterLineWithoutEnd", "[T]\nc=3", "S", "a", "1",
                 "[T]\nc=3\r\n[S]\r\na=1\r\n"),
        WriteRow("WriteMissingFileCreated", kNoFile, "Patch", "Alpha", "$8000", "[Patch]\r\nAlpha=$8000\r\n"),
        WriteRow("WriteEmptyFile", "", "S", "a", "1", "[S]\r\na=1\r\n"),
        WriteRow("WriteNamesTrimmed", kNoFile, " S\t", " a ", "1", "[S]\r\na=1\r\n"),
        WriteRow("WriteValueKeptAsGiven", "[S]\r\n", "S", "a", " 12=34 \"", "[S]\r\na= 12=34 \"\r\n"),
        WriteRow("WriteEmptyKeyAndValue", "[S]\r\n", "S", "", "", "[S]\r\n=\r\n"),
        WriteRow("WriteOtherLinesKeptByteForByte", "x\r\r\n[S]\na=1\n[T]\rb=2\r", "S", "a", "5",
                 "x\r\r\n[S]\na=5\r\n[T]\rb=2\r"),
        WriteRow("WriteByteOrderMarkKept", kBom + "[S]\r\na=1\r\n", "S", "b", "2",
                 kBom + "[S]\r\na=1\r\nb=2\r\n"),
        WriteRow("WriteByteOrderMarkOnlyFile", kBom, "S", "a", "1", kBom + "[S]\r\na=1\r\n"),
        WriteRow("WriteCommentIsNotReplaced", "[S]\r\n;a=1\r\n", "S", "a", "2", "[S]\r\n;a=1\r\na=2\r\n"),
        WriteRow("WriteTextLineIsNotReplaced", "[S]\r\na\r\n", "S", "a", "2", "[S]\r\na\r\na=2\r\n"),
        WriteRow("WriteLineBeforeFirstHeaderNotReplaced", "a=0\r\n[S]\r\n", "S", "a", "1",
                 "a=0\r\n[S]\r\na=1\r\n"),
        WriteRow("WriteHeaderWithTrailingText", "[S] x\r\n", "S", "a", "1", "[S] x\r\na=1\r\n"),
        WriteRow("WriteIntoFirstOfTwoSections", "[S]\r\na=1\r\n[S]\r\nb=2\r\n", "S", "b", "3",
                 "[S]\r\na=1\r\nb=3\r\n[S]\r\nb=2\r\n"),

        // Write: deleting.
        WriteRow("DeleteKey", "[S]\r\na=1\r\nb=2\r\n", "S", "A", std::nullopt, "[S]\r\nb=2\r\n"),
        WriteRow("DeleteLastLineWithoutEnd", "[S]\r\na=1\r\nb=2", "S", "b", std::nullopt, "[S]\r\na=1\r\n"),
        WriteRow("DeleteFirstOfTwoKeys", "[S]\nk=1\nK=2\n", "S", "k", std::nullopt, "[S]\nK=2\n"),
        WriteRow("DeleteMissingKeyLeavesFile", "[S]\na=1", "S", "b", std::nullopt, "[S]\na=1"),
        WriteRow("DeleteInMissingFileCreatesNothing", kNoFile, "S", "b", std::nullopt, kNoFile),
        WriteRow("DeleteSection", "x=0\r\n[S]\r\na=1\r\n; c\r\n\r\n[T]\r\nb=2\r\n", "s", std::nullopt,
                 std::nullopt, "x=0\r\n[T]\r\nb=2\r\n"),
        WriteRow("DeleteSectionIgnoresValue", "[S]\r\na=1\r\n", "S", std::nullopt, "v", ""),
        WriteRow("DeleteOnlyFirstOfTwoSections", "[S]\na=1\n[S]\nb=2\n", "S", std::nullopt, std::nullopt,
                 "[S]\nb=2\n"),
        WriteRow("DeleteMissingSectionLeavesFile", "[T]\na=1\n", "S", std::nullopt, std::nullopt,
                 "[T]\na=1\n"),

        // Add: what is there already stays, even with another value.
        AddRow("AddNewKeyAppended", "[Patch]\r\na=1\r\n", "b", "2", "[Patch]\r\na=1\r\nb=2\r\n", true),
        AddRow("AddKeepsAHandEditedValue", "[Patch]\r\nFound row 2 @1A000 = 0001A010\r\n",
               "found ROW 2 @1A000", "0001A000", "[Patch]\r\nFound row 2 @1A000 = 0001A010\r\n", false),
        AddRow("AddSameValueChangesNothing", "[Patch]\na=1", "a", "1", "[Patch]\na=1", false),
        AddRow("AddIntoMissingFile", kNoFile, "a", "1", "[Patch]\r\na=1\r\n", true),
        AddRow("AddBesideACommentOfThatName", "[Patch]\r\n;a=1\r\n", "a", "2", "[Patch]\r\n;a=1\r\na=2\r\n",
               true),

        // Write: names that could not be read back are refused.
        WriteRow("RefuseKeyWithEquals", "[S]\r\n", "S", "a=b", "1", "[S]\r\n", false),
        WriteRow("RefuseKeyWithLineBreak", "[S]\r\n", "S", "a\nb", "1", "[S]\r\n", false),
        WriteRow("RefuseKeyStartingAsComment", "[S]\r\n", "S", " ;a", "1", "[S]\r\n", false),
        WriteRow("RefuseKeyStartingAsHeader", "[S]\r\n", "S", "[a]", "1", "[S]\r\n", false),
        WriteRow("RefuseValueWithLineBreak", "[S]\r\n", "S", "a", "1\r[T]", "[S]\r\n", false),
        WriteRow("RefuseSectionWithBracket", kNoFile, "S]x", "a", "1", kNoFile, false),
        WriteRow("RefuseSectionWithLineBreak", kNoFile, "S\r\n", "a", "1", kNoFile, false),
        WriteRow("RefuseUtf16LittleEndian", std::string("\xFF\xFE[\0S\0]\0", 8), "S", "a", "1",
                 std::string("\xFF\xFE[\0S\0]\0", 8), false),
        [] {
            Row row = AddRow("RefuseUtf16BigEndian", std::string("\xFE\xFF\0[", 4), "a", "1",
                             std::string("\xFE\xFF\0[", 4), false);
            row.expectedOk = false;
            return row;
        }(),
    };
}

// The name=value entries of the whole listing, read with room to spare.
std::vector<ProfileEntry> EntriesListed(const std::string& path, std::string_view section) {
    std::vector<char> block(1 << 20);
    GetProfileSection(path, section, block.data(), static_cast<std::uint32_t>(block.size()));
    std::vector<ProfileEntry> entries;
    for (const char* at = block.data(); *at != '\0'; at += std::strlen(at) + 1) {
        const std::string_view entry(at);
        const std::size_t equals = entry.find('=');
        if (equals != std::string_view::npos) {
            entries.push_back({std::string(entry.substr(0, equals)), std::string(entry.substr(equals + 1))});
        }
    }
    return entries;
}

class ProfileFileRows : public ::testing::TestWithParam<Row> {};

TEST_P(ProfileFileRows, GivesExpectedResultAndFile) {
    const Row& row = GetParam();
    TempDir folder;
    const std::string path = folder.File("settings.ini");
    if (row.before) WriteText(path, *row.before);

    std::vector<char> buffer(row.capacity + kGuardBytes, kGuard);
    switch (row.operation) {
        case Operation::ReadString:
            EXPECT_EQ(GetProfileString(path, row.section, *row.key, *row.value, buffer.data(), row.capacity),
                      row.expectedCount);
            EXPECT_EQ(ReadProfileString(path, row.section, *row.key, *row.value, row.capacity),
                      row.expectedBuffer.substr(0, row.expectedCount));
            break;
        case Operation::ReadSection:
            EXPECT_EQ(GetProfileSection(path, row.section, buffer.data(), row.capacity), row.expectedCount);
            EXPECT_EQ(ReadProfileSection(path, row.section), EntriesListed(path, row.section));
            break;
        case Operation::Write: {
            std::optional<std::string_view> key, value;
            if (row.key) key = *row.key;
            if (row.value) value = *row.value;
            EXPECT_EQ(static_cast<bool>(WriteProfileString(path, row.section, key, value)), row.expectedOk);
            break;
        }
        case Operation::Add: {
            const Result<bool> added = AddProfileString(path, row.section, *row.key, *row.value);
            ASSERT_EQ(static_cast<bool>(added), row.expectedOk) << added.Reason();
            if (added) {
                EXPECT_EQ(*added, row.expectedCount == 1);
            }
            break;
        }
    }
    EXPECT_EQ(std::string(buffer.data(), row.expectedBuffer.size()), row.expectedBuffer);
    EXPECT_EQ(std::string(buffer.data() + row.capacity, kGuardBytes), std::string(kGuardBytes, kGuard))
        << "written past the capacity";
    EXPECT_EQ(FileText(path), row.after);
    // The lock file beside the settings file stays for the next writer.
    const auto files =
        std::count_if(fs::directory_iterator(fs::path(path).parent_path()), fs::directory_iterator(),
                      [](const fs::directory_entry& entry) { return entry.path().extension() != ".lock"; });
    EXPECT_EQ(files, row.after ? 1 : 0) << "a temporary file was left behind";
}

INSTANTIATE_TEST_SUITE_P(Rules, ProfileFileRows, ::testing::ValuesIn(Rows()),
                         [](const ::testing::TestParamInfo<Row>& info) { return info.param.name; });

// The same section at every capacity from 0 to more than enough.
TEST(ProfileFileCapacity, SectionReadAtEveryCapacity) {
    TempDir folder;
    const std::string path = folder.File("settings.ini");
    WriteText(path, "[S]\r\nbeta=0002C000\r\nAlpha=$8000\r\nx\r\n=\r\n");
    const std::string full = "beta=0002C000\0Alpha=$8000\0x\0=\0\0"s;
    const auto length = static_cast<std::uint32_t>(full.size() - 1);

    for (std::uint32_t capacity = 0; capacity <= full.size() + 2; ++capacity) {
        SCOPED_TRACE("capacity " + std::to_string(capacity));
        std::vector<char> buffer(capacity + kGuardBytes, kGuard);
        const std::uint32_t got = GetProfileSection(path, "S", buffer.data(), capacity);
        EXPECT_EQ(std::string(buffer.data() + capacity, kGuardBytes), std::string(kGuardBytes, kGuard));
        if (capacity == 0) {
            EXPECT_EQ(got, 0u);
            EXPECT_EQ(buffer[0], kGuard);
        } else if (capacity == 1) {
            EXPECT_EQ(got, 0u);
            EXPECT_EQ(buffer[0], '\0');
        } else if (capacity >= full.size()) {
            EXPECT_EQ(got, length);
            EXPECT_EQ(std::string(buffer.data(), full.size()), full);
        } else {
            EXPECT_EQ(got, capacity - 2);
            EXPECT_EQ(std::string(buffer.data(), capacity - 2), full.substr(0, capacity - 2));
            EXPECT_EQ(buffer[capacity - 2], '\0');
            EXPECT_EQ(buffer[capacity - 1], '\0');
        }
    }
}

TEST(ProfileFileCapacity, EmptySectionAtSmallCapacities) {
    TempDir folder;
    const std::string path = folder.File("settings.ini");
    WriteText(path, "[S]\r\n; nothing listed\r\n");
    for (std::uint32_t capacity = 0; capacity <= 3; ++capacity) {
        SCOPED_TRACE("capacity " + std::to_string(capacity));
        std::vector<char> buffer(capacity + kGuardBytes, kGuard);
        EXPECT_EQ(GetProfileSection(path, "S", buffer.data(), capacity), 0u);
        const std::uint32_t nuls = std::min<std::uint32_t>(capacity, 2);
        EXPECT_EQ(std::string(buffer.data(), nuls), std::string(nuls, '\0'));
        EXPECT_EQ(buffer[nuls], kGuard);
    }
}

TEST(ProfileFileCapacity, StringReadAtEveryCapacity) {
    TempDir folder;
    const std::string path = folder.File("settings.ini");
    WriteText(path, "[S]\r\nk=\"0123456789\"\r\n");
    const std::string value = "0123456789";
    const std::string fallback = "fallback";

    for (std::uint32_t capacity = 0; capacity <= value.size() + 2; ++capacity) {
        SCOPED_TRACE("capacity " + std::to_string(capacity));
        for (const auto& [key, expected] : {std::pair{"k", value}, std::pair{"none", fallback}}) {
            std::vector<char> buffer(capacity + kGuardBytes, kGuard);
            const std::uint32_t got = GetProfileString(path, "S", key, fallback, buffer.data(), capacity);
            const std::uint32_t want =
                capacity == 0 ? 0 : std::min<std::uint32_t>(expected.size(), capacity - 1);
            EXPECT_EQ(got, want);
            if (capacity > 0) {
                EXPECT_EQ(std::string(buffer.data(), want + 1), expected.substr(0, want) + '\0');
            }
            EXPECT_EQ(std::string(buffer.data() + capacity, kGuardBytes), std::string(kGuardBytes, kGuard));
            EXPECT_EQ(ReadProfileString(path, "S", key, fallback, capacity), expected.substr(0, want));
        }
    }
}

TEST(ProfileFileCapacity, NullBufferAndHugeCapacityAreSafe) {
    TempDir folder;
    const std::string path = folder.File("settings.ini");
    WriteText(path, "[S]\r\nk=v\r\n");
    EXPECT_EQ(GetProfileSection(path, "S", nullptr, 0), 0u);
    EXPECT_EQ(GetProfileSection(path, "S", nullptr, 100), 0u);
    EXPECT_EQ(GetProfileString(path, "S", "k", "", nullptr, 0), 0u);
    EXPECT_EQ(GetProfileString(path, "S", "k", "", nullptr, 100), 0u);
    EXPECT_EQ(ReadProfileString(path, "S", "k", "", UINT32_MAX), "v");
}

// Bytes the store never writes itself must neither break it nor be lost.
TEST(ProfileFileRobustness, BinaryBytesAndNulBytes) {
    TempDir folder;
    const std::string path = folder.File("settings.ini");
    std::string binary;
    for (int byte = 0; byte < 256; ++byte) {
        if (byte != '\r' && byte != '\n') binary += static_cast<char>(byte);
    }
    const std::string before =
        "\0\xFF\r\n[S]\r\nbin=x"s + binary + "x\r\n\0key\0=1\r\na=1\r\n"s + "[T\0]\r\nt=1\r\n"s;
    WriteText(path, before);

    EXPECT_EQ(ReadProfileString(path, "S", "bin", "", 1000), "x" + binary + "x");
    EXPECT_EQ(ReadProfileString(path, "S", "\0key\0"s, "", 100), "1");
    EXPECT_EQ(ReadProfileString(path, "T\0"s, "t", "", 100), "1");
    std::vector<char> buffer(1000, kGuard);
    EXPECT_EQ(GetProfileSection(path, "S", buffer.data(), 1000), 4u);
    EXPECT_EQ(std::string(buffer.data(), 5), "a=1\0\0"s);

    ASSERT_TRUE(WriteProfileString(path, "S", "a", "2"));
    std::string after = before;
    after.replace(after.find("a=1"), 3, "a=2");
    EXPECT_EQ(FileText(path), after);
    ASSERT_TRUE(WriteProfileString(path, "S", "bin", std::nullopt));
    EXPECT_EQ(ReadProfileString(path, "S", "bin", "gone", 100), "gone");
    EXPECT_EQ(ReadProfileString(path, "S", "\0key\0"s, "", 100), "1");
}

TEST(ProfileFileRobustness, LinesOfAHundredThousandCharacters) {
    TempDir folder;
    const std::string path = folder.File("settings.ini");
    const std::string name(100000, 'n');
    const std::string value(100000, 'v');
    ASSERT_TRUE(WriteProfileString(path, "S", "first", "1"));
    ASSERT_TRUE(WriteProfileString(path, "S", name, value));
    ASSERT_TRUE(WriteProfileString(path, "S", "last", "2"));

    EXPECT_EQ(ReadProfileString(path, "S", name, "", 256), value.substr(0, 255));
    EXPECT_EQ(ReadProfileString(path, "S", name, "", 200000), value);
    EXPECT_EQ(ReadProfileString(path, "S", "last", "", 256), "2");

    std::vector<char> block(0x7FFF + kGuardBytes, kGuard);
    EXPECT_EQ(GetProfileSection(path, "S", block.data(), 0x7FFF), 0x7FFDu);
    EXPECT_EQ(std::string(block.data(), 8), "first=1\0"s);
    EXPECT_EQ(std::string(block.data() + 8, 0x7FFD - 8), name.substr(0, 0x7FFD - 8));
    EXPECT_EQ(std::string(block.data() + 0x7FFD, 2 + kGuardBytes),
              "\0\0"s + std::string(kGuardBytes, kGuard));

    const std::string full = "first=1\0"s + name + "=" + value + "\0last=2\0\0"s;
    std::vector<char> big(full.size());
    EXPECT_EQ(GetProfileSection(path, "S", big.data(), static_cast<std::uint32_t>(big.size())),
              full.size() - 1);
    EXPECT_EQ(std::string(big.data(), big.size()), full);
}

TEST(ProfileFileRobustness, ThousandsOfEntriesReadFastAndInOrder) {
    TempDir folder;
    const std::string path = folder.File("settings.ini");
    constexpr int kEntries = 50000;
    std::string file = "[Other]\r\nz=0\r\n[Patch]\r\n";
    std::string listing;
    for (int i = 0; i < kEntries; ++i) {
        const std::string entry = "name" + std::to_string(i) + "=" + std::to_string(i * 7);
        file += entry + "\r\n";
        listing += entry + '\0';
    }
    WriteText(path, file + "[After]\r\nz=1\r\n");

    std::vector<char> buffer(listing.size() + 1);
    const auto started = std::chrono::steady_clock::now();
    for (int round = 0; round < 5; ++round) {
        ASSERT_EQ(GetProfileSection(path, "patch", buffer.data(), static_cast<std::uint32_t>(buffer.size())),
                  listing.size());
    }
    const auto elapsed = std::chrono::steady_clock::now() - started;
    EXPECT_LT(elapsed, std::chrono::seconds(5)) << "five reads of 50000 entries took too long";
    EXPECT_EQ(std::string(buffer.data(), listing.size() + 1), listing + '\0');
    const std::vector<ProfileEntry> entries = ReadProfileSection(path, "Patch");
    ASSERT_EQ(entries.size(), static_cast<std::size_t>(kEntries)) << "every entry, far past 32 KiB";
    EXPECT_EQ(entries.back(), (ProfileEntry{"name49999", std::to_string(49999 * 7)}));

    ASSERT_TRUE(WriteProfileString(path, "Patch", "added", "1"));
    EXPECT_EQ(ReadProfileString(path, "Patch", "name0", "", 256), "0");
    EXPECT_EQ(ReadProfileString(path, "Patch", "NAME49999", "", 256), std::to_string(49999 * 7));
    EXPECT_EQ(FileText(path), file + "added=1\r\n[After]\r\nz=1\r\n");
}

TEST(ProfileFileRobustness, ManyWritesKeepEveryEntry) {
    TempDir folder;
    const std::string path = folder.File("settings.ini");
    constexpr int kEntries = 1000;
    std::string listing;
    for (int i = 0; i < kEntries; ++i) {
        const std::string number = std::to_string(i);
        ASSERT_TRUE(WriteProfileString(path, i % 2 ? "Patch" : "Other", "n" + number, "v"));
        if (i % 2) listing += "n" + number + "=v" + '\0';
    }
    for (int i = 1; i < kEntries; i += 100) {
        const std::string number = std::to_string(i);
        ASSERT_TRUE(WriteProfileString(path, "PATCH", "N" + number, "w"));
        const std::size_t at = listing.find("n" + number + "=v");
        ASSERT_NE(at, std::string::npos);
        listing[at + number.size() + 2] = 'w';
    }
    std::vector<char> buffer(listing.size() + 1);
    EXPECT_EQ(GetProfileSection(path, "Patch", buffer.data(), static_cast<std::uint32_t>(buffer.size())),
              listing.size());
    EXPECT_EQ(std::string(buffer.data(), buffer.size()), listing + '\0');
}

TEST(ProfileFileRobustness, FailedWritesLeaveEverythingAsItWas) {
    TempDir folder;
    const std::string missingFolder = folder.File("no-such-folder") + "/settings.ini";
    EXPECT_FALSE(WriteProfileString(missingFolder, "S", "a", "1"));
    EXPECT_FALSE(fs::exists(folder.File("no-such-folder")));

    // A path that exists but cannot be read as a file is never replaced.
    const std::string folderPath = folder.File("settings.ini");
    fs::create_directory(folderPath);
    WriteText(folderPath + "/inside", "keep");
    EXPECT_FALSE(WriteProfileString(folderPath, "S", "a", "1"));
    EXPECT_FALSE(WriteProfileString(folderPath, "S", std::nullopt, std::nullopt));
    EXPECT_TRUE(fs::is_directory(folderPath));
    EXPECT_EQ(FileText(folderPath + "/inside"), "keep");

    std::vector<char> buffer(8, kGuard);
    EXPECT_EQ(GetProfileSection(folderPath, "S", buffer.data(), 8), 0u);
    EXPECT_EQ(std::string(buffer.data(), 2), "\0\0"s);
    EXPECT_EQ(ReadProfileString(folderPath, "S", "a", "d", 8), "d");
}

}  // namespace
}  // namespace tintwright
