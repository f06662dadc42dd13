// The settings-file store against a small model of the rules in
// docs/settings-file.md: random file bytes, then a random run of section
// reads, string reads, key checks, writes and deletes on a real file. After
// every step the file must hold exactly the bytes the model predicts (so every
// line the store did not change keeps its bytes), every read must give what
// the model reads, within the caller's capacity, and every value written must
// read back. A file in UTF-16 text is refused every write, saying so.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "settings/ProfileFile.h"

namespace tintwright::fuzz {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// ---- The model: the file as a list of lines, read the way the rules say ----

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";

std::string Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    for (char& ch : lowered) {
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch + ('a' - 'A'));
    }
    return lowered;
}

bool SameName(std::string_view inFile, std::string_view asked) {
    return Lowered(inFile) == Lowered(Trimmed(asked));
}

struct ModelLine {
    std::string text;
    std::string end;  // "\r\n", "\r", "\n", or nothing on a last line
};

struct ModelFile {
    std::string byteOrderMark;
    std::vector<ModelLine> lines;

    static ModelFile Parse(std::string_view bytes) {
        ModelFile file;
        if (bytes.starts_with(kByteOrderMark)) {
            file.byteOrderMark = kByteOrderMark;
            bytes.remove_prefix(kByteOrderMark.size());
        }
        ModelLine line;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] != '\r' && bytes[i] != '\n') {
                line.text += bytes[i];
                continue;
            }
            line.end = bytes.substr(i, 1);
            if (bytes.substr(i, 2) == "\r\n") line.end = "\r\n";
            i += line.end.size() - 1;
            file.lines.push_back(std::move(line));
            line = {};
        }
        if (!line.text.empty()) file.lines.push_back(std::move(line));
        return file;
    }

    std::string Bytes() const {
        std::string bytes = byteOrderMark;
        for (const ModelLine& line : lines) bytes += line.text + line.end;
        return bytes;
    }
};

enum class Kind { Blank, Comment, Header, Entry, Text };

struct Meaning {
    Kind kind = Kind::Blank;
    std::string name;  // a header's name, an entry's key or the plain text
    std::string value;
};

Meaning Classify(std::string_view rawLine) {
    const std::string line = Trimmed(rawLine);
    if (line.empty()) return {};
    if (line.front() == ';') return {Kind::Comment, {}, {}};
    const std::size_t close = line.find(']');
    if (line.front() == '[' && close != std::string::npos)
        return {Kind::Header, Trimmed(line.substr(1, close - 1)), {}};
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) return {Kind::Text, line, {}};
    return {Kind::Entry, Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1))};
}

// A section's header line and the end of the lines that follow it.
struct Section {
    std::size_t header;
    std::size_t end;
};

std::optional<Section> FindSection(const ModelFile& file, std::string_view name) {
    for (std::size_t i = 0; i < file.lines.size(); ++i) {
        const Meaning header = Classify(file.lines[i].text);
        if (header.kind != Kind::Header || !SameName(header.name, name)) continue;
        std::size_t end = i + 1;
        while (end < file.lines.size() && Classify(file.lines[end].text).kind != Kind::Header) ++end;
        return Section{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> FindEntry(const ModelFile& file, const Section& section, std::string_view key) {
    for (std::size_t i = section.header + 1; i < section.end; ++i) {
        const Meaning entry = Classify(file.lines[i].text);
        if (entry.kind == Kind::Entry && SameName(entry.name, key)) return i;
    }
    return std::nullopt;
}

std::optional<std::string> ModelValue(const ModelFile& file, std::string_view section, std::string_view key) {
    const auto span = FindSection(file, section);
    if (!span) return std::nullopt;
    const auto entry = FindEntry(file, *span, key);
    if (!entry) return std::nullopt;
    return Classify(file.lines[*entry].text).value;
}

std::string WithoutMatchingQuotes(const std::string& value) {
    const bool quoted =
        value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

// Every listed line with its NUL, without the listing's extra NUL.
std::string ModelListing(const ModelFile& file, std::string_view section) {
    const auto span = FindSection(file, section);
    if (!span) return {};
    std::string listing;
    for (std::size_t i = span->header + 1; i < span->end; ++i) {
        if (file.lines[i].text.find('\0') != std::string::npos) continue;
        const Meaning line = Classify(file.lines[i].text);
        if (line.kind == Kind::Entry) listing += line.name + "=" + line.value + '\0';
        if (line.kind == Kind::Text) listing += line.name + '\0';
    }
    return listing;
}

// The bytes a section read must put at the start of the buffer, and its result.
struct SectionRead {
    std::string bytes;
    std::uint32_t count = 0;
};

SectionRead ExpectedSectionRead(const std::string& listing, std::uint32_t capacity) {
    if (capacity == 0) return {};
    if (listing.empty() || capacity == 1) return {capacity == 1 ? "\0"s : "\0\0"s, 0};
    if (listing.size() < capacity) return {listing + '\0', static_cast<std::uint32_t>(listing.size())};
    return {listing.substr(0, capacity - 2) + "\0\0"s, capacity - 2};
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// The writes whose lines could not be read back as written.
bool ModelRefuses(std::string_view section, const std::optional<std::string>& key,
                  const std::optional<std::string>& value) {
    if (HasLineBreak(section) || section.find(']') != std::string_view::npos) return true;
    if (key) {
        const std::string name = Trimmed(*key);
        if (HasLineBreak(name) || name.find('=') != std::string::npos) return true;
        if (!name.empty() && (name.front() == ';' || name.front() == '[')) return true;
    }
    return value && HasLineBreak(*value);
}

// A file that starts with a UTF-16 byte-order mark, either byte order.
bool IsUtf16Text(std::string_view bytes) {
    return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

constexpr std::string_view kLineEnd = "\r\n";

// Inserts a line the store writes; a last line without a line end gets one first.
void InsertLine(ModelFile& file, std::size_t at, std::string text) {
    if (at > 0 && file.lines[at - 1].end.empty()) file.lines[at - 1].end = kLineEnd;
    file.lines.insert(file.lines.begin() + static_cast<std::ptrdiff_t>(at),
                      {std::move(text), std::string(kLineEnd)});
}

void ModelSet(ModelFile& file, std::string_view section, std::string_view key, std::string_view value) {
    const auto span = FindSection(file, section);
    if (!span) {
        InsertLine(file, file.lines.size(), "[" + Trimmed(section) + "]");
        InsertLine(file, file.lines.size(), Trimmed(key) + "=" + std::string(value));
        return;
    }
    if (const auto entry = FindEntry(file, *span, key)) {
        const std::string spelling = Classify(file.lines[*entry].text).name;
        file.lines[*entry] = {spelling + "=" + std::string(value), std::string(kLineEnd)};
        return;
    }
    std::size_t lastNonBlank = span->header;
    for (std::size_t i = span->header + 1; i < span->end; ++i) {
        if (Classify(file.lines[i].text).kind != Kind::Blank) lastNonBlank = i;
    }
    InsertLine(file, lastNonBlank + 1, Trimmed(key) + "=" + std::string(value));
}

// The file after a write that is not refused; nothing when there is no file.
std::optional<std::string> ModelWrite(const std::optional<std::string>& before, std::string_view section,
                                      const std::optional<std::string>& key,
                                      const std::optional<std::string>& value) {
    ModelFile file = ModelFile::Parse(before.value_or(""));
    if (key && value) {
        ModelSet(file, section, *key, *value);
        return file.Bytes();
    }
    const auto span = FindSection(file, section);
    if (!span) return before;
    std::size_t first = span->header;
    std::size_t end = span->end;
    if (key) {
        const auto entry = FindEntry(file, *span, *key);
        if (!entry) return before;
        first = *entry;
        end = *entry + 1;
    }
    file.lines.erase(file.lines.begin() + static_cast<std::ptrdiff_t>(first),
                     file.lines.begin() + static_cast<std::ptrdiff_t>(end));
    return file.Bytes();
}

// ---- The run: operations drawn from the input, each checked at once ----

class Session {
public:
    Session(FuzzedDataProvider& data, fs::path path)
        : data_(data), path_(std::move(path)), file_(path_.string()) {}

    void Start() {
        fs::remove(path_);
        if (data_.ConsumeBool()) {
            expected_ = data_.ConsumeRandomLengthString(2048);
            WriteFileBytes(path_, *expected_);
        }
    }

    void Step() {
        const int operation = data_.ConsumeIntegralInRange(0, 5);
        if (operation == 0) return ReadSection();
        if (operation == 1) return ReadString();
        if (operation == 2) return HasKey();
        // Drawn one after another, so that an input always means the same calls.
        const std::string section = Name();
        std::optional<std::string> key;
        std::optional<std::string> value;
        if (operation != 5) key = Name();
        if (operation == 3) value = Value();
        Write(section, key, value);
    }

private:
    // Names mostly from a few that files hold, in other cases and with blanks
    // around them, so that lookups hit as often as they miss.
    std::string Name() {
        static constexpr std::string_view kNames[] = {"Patch", "Settings", "SnesPath", "Alpha", "a", ""};
        const auto choice = data_.ConsumeIntegral<std::uint8_t>();
        if (choice >= 0xC0) return data_.ConsumeRandomLengthString(12);
        std::string name(kNames[choice % std::size(kNames)]);
        if (choice & 0x08) {
            for (char& ch : name) {
                if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - ('a' - 'A'));
            }
        }
        if (choice & 0x10) name.insert(0, " ");
        if (choice & 0x20) name += '\t';
        return name;
    }

    std::string Value() { return data_.ConsumeRandomLengthString(24); }

    std::uint32_t Capacity() {
        if (data_.ConsumeIntegral<std::uint8_t>() < 0xF0)
            return data_.ConsumeIntegralInRange<std::uint32_t>(0, 80);
        return data_.ConsumeIntegralInRange<std::uint32_t>(0, 5000);
    }

    ModelFile Model() const { return ModelFile::Parse(expected_.value_or("")); }

    // Reads leave the file alone; writes leave exactly the model's bytes and
    // no temporary file beside it (the lock file of the writes may stay).
    void CheckFile() const {
        FUZZ_REQUIRE(ReadFileBytes(path_) == expected_);
        const fs::path lockFile = path_.string() + ".lock";
        for (const auto& entry : fs::directory_iterator(path_.parent_path())) {
            if (entry.path() != path_ && entry.path() != lockFile) {
                std::fprintf(stderr, "left beside the settings file: %s\n", entry.path().c_str());
            }
            FUZZ_REQUIRE(entry.path() == path_ || entry.path() == lockFile);
        }
    }

    void ReadSection() {
        const std::string section = Name();
        const std::uint32_t capacity = Capacity();
        // Exactly the capacity, so ASan sees any byte written past it; filled
        // with something else than the NULs the read must write.
        const std::unique_ptr<char[]> buffer(new char[capacity]);
        std::fill_n(buffer.get(), capacity, '\x5A');
        const std::uint32_t count = GetProfileSection(file_, section, buffer.get(), capacity);
        const SectionRead expected = ExpectedSectionRead(ModelListing(Model(), section), capacity);
        FUZZ_REQUIRE(count == expected.count);
        FUZZ_REQUIRE(std::string_view(buffer.get(), expected.bytes.size()) == expected.bytes);
        CheckFile();
    }

    void ReadString() {
        const std::string section = Name();
        const std::string key = Name();
        const std::string fallback = Value();
        const std::uint32_t capacity = Capacity();
        const auto found = ModelValue(Model(), section, key);
        const std::string value = found ? WithoutMatchingQuotes(*found) : fallback;
        const std::uint32_t expectedCount =
            capacity == 0 ? 0 : static_cast<std::uint32_t>(std::min<std::size_t>(value.size(), capacity - 1));

        const std::unique_ptr<char[]> buffer(new char[capacity]);
        std::fill_n(buffer.get(), capacity, '\x5A');
        const std::uint32_t count = GetProfileString(file_, section, key, fallback, buffer.get(), capacity);
        FUZZ_REQUIRE(count == expectedCount);
        if (capacity > 0)
            FUZZ_REQUIRE(std::string_view(buffer.get(), count + 1) == value.substr(0, count) + '\0');
        FUZZ_REQUIRE(ReadProfileString(file_, section, key, fallback, capacity) ==
                     value.substr(0, expectedCount));
        CheckFile();
    }

    void HasKey() {
        const std::string section = Name();
        const std::string key = Name();
        FUZZ_REQUIRE(ProfileHasKey(file_, section, key) == ModelValue(Model(), section, key).has_value());
        CheckFile();
    }

    void Write(const std::string& section, const std::optional<std::string>& key,
               const std::optional<std::string>& value) {
        const std::optional<std::string_view> keyView =
            key ? std::optional<std::string_view>(*key) : std::nullopt;
        const std::optional<std::string_view> valueView =
            value ? std::optional<std::string_view>(*value) : std::nullopt;
        // A UTF-16 file is never written to, whatever the write; a write that
        // could not be read back is refused for that reason first.
        const bool unreadableWrite = ModelRefuses(section, key, value);
        const bool utf16 = expected_ && IsUtf16Text(*expected_);
        const bool refused = unreadableWrite || utf16;
        const auto outcome = WriteProfileString(file_, section, keyView, valueView);
        FUZZ_REQUIRE(static_cast<bool>(outcome) == !refused);
        if (utf16 && !unreadableWrite) FUZZ_REQUIRE(outcome.Reason().find("UTF-16") != std::string::npos);
        if (!refused) expected_ = ModelWrite(expected_, section, key, value);
        CheckFile();
        if (refused) return;

        const std::string sentinel = "\x01no such key";
        if (key && value) {
            // What was written reads back, trimmed and without a pair of quotes.
            const std::string readBack = ReadProfileString(file_, section, *key, sentinel, 0xFFFF);
            FUZZ_REQUIRE(readBack == WithoutMatchingQuotes(Trimmed(*value)));
        } else if (key) {
            // Only a second entry of the same key, which the first hid, is still there.
            const bool hidden = ModelValue(Model(), section, *key).has_value();
            FUZZ_REQUIRE(ProfileHasKey(file_, section, *key) == hidden);
        }
    }

    FuzzedDataProvider& data_;
    fs::path path_;
    std::string file_;
    std::optional<std::string> expected_;  // the file's bytes, or nothing when there is none
};

}  // namespace
}  // namespace tintwright::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace tintwright::fuzz;
    FuzzedDataProvider data(bytes, size);
    Session session(data, ScratchFolder::Path() / "tintwright.ini");
    session.Start();
    for (int step = 0; step < 48 && data.remaining_bytes() > 0; ++step) session.Step();
    return 0;
}
