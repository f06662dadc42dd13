#include "settings/ProfileFile.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

#include "core/SafeFileWrite.h"

namespace tintwright {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";
// A settings file is text a person edits; anything larger is not one.
constexpr std::uint64_t kLargestSettingsFile = 256u << 20;

// One line of the file as offsets into its bytes: the text is [begin, end), the
// line end (CR, LF, CRLF or nothing on the last line) is [end, next).
struct Line {
    std::size_t begin;
    std::size_t end;
    std::size_t next;
};

enum class LineKind { Blank, Comment, Header, Entry, Text };

// The meaning of a line once it is trimmed: for a header its name, for an entry
// its name and value (both trimmed), for plain text the trimmed line.
struct LineMeaning {
    LineKind kind;
    std::string_view name;
    std::string_view value;
};

// The lines of a section: its header and the half-open run of lines after it.
struct SectionSpan {
    std::size_t header;
    std::size_t end;
};

struct ProfileText {
    std::string bytes;
    std::size_t bodyStart = 0;  // after a byte-order mark, which is kept but never parsed
    std::vector<Line> lines;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char FoldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

LineMeaning Interpret(std::string_view rawLine) {
    const std::string_view line = Trim(rawLine);
    if (line.empty()) return {LineKind::Blank, {}, {}};
    if (line.front() == ';') return {LineKind::Comment, {}, {}};
    if (line.front() == '[') {
        const std::size_t close = line.find(']');
        // A "[" without "]" is no header; the line is read like any other.
        if (close != std::string_view::npos) {
            return {LineKind::Header, Trim(line.substr(1, close - 1)), {}};
        }
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return {LineKind::Text, line, {}};
    return {LineKind::Entry, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

std::vector<Line> SplitLines(std::string_view bytes, std::size_t start) {
    std::vector<Line> lines;
    std::size_t pos = start;
    while (pos < bytes.size()) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n", pos), bytes.size());
        std::size_t next = end;
        if (end < bytes.size()) {
            const bool crlf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
            next = end + (crlf ? 2 : 1);
        }
        lines.push_back({pos, end, next});
        pos = next;
    }
    return lines;
}

ProfileText ParseProfile(std::string bytes) {
    ProfileText text;
    text.bytes = std::move(bytes);
    if (std::string_view(text.bytes).starts_with(kByteOrderMark)) {
        text.bodyStart = kByteOrderMark.size();
    }
    text.lines = SplitLines(text.bytes, text.bodyStart);
    return text;
}

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadSettingsFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, kLargestSettingsFile, bytes)) return std::nullopt;
    return std::string(bytes.begin(), bytes.end());
}

std::string_view LineText(const ProfileText& text, const Line& line) {
    return std::string_view(text.bytes).substr(line.begin, line.end - line.begin);
}

// The first section of that name; a later section of the same name is ignored.
std::optional<SectionSpan> FindSection(const ProfileText& text, std::string_view name) {
    const std::string_view wanted = Trim(name);
    std::optional<SectionSpan> found;
    for (std::size_t i = 0; i < text.lines.size(); ++i) {
        const LineMeaning meaning = Interpret(LineText(text, text.lines[i]));
        if (meaning.kind != LineKind::Header) continue;
        if (found) {
            found->end = i;
            return found;
        }
        if (SameProfileName(meaning.name, wanted)) found = SectionSpan{i, text.lines.size()};
    }
    return found;
}

// The index of the first entry line of that name in the section.
std::optional<std::size_t> FindEntry(const ProfileText& text, const SectionSpan& section,
                                     std::string_view name) {
    const std::string_view wanted = Trim(name);
    for (std::size_t i = section.header + 1; i < section.end; ++i) {
        const LineMeaning meaning = Interpret(LineText(text, text.lines[i]));
        if (meaning.kind == LineKind::Entry && SameProfileName(meaning.name, wanted)) return i;
    }
    return std::nullopt;
}

std::optional<std::string_view> FindValue(const ProfileText& text, std::string_view section,
                                          std::string_view key) {
    const auto span = FindSection(text, section);
    if (!span) return std::nullopt;
    const auto entry = FindEntry(text, *span, key);
    if (!entry) return std::nullopt;
    return Interpret(LineText(text, text.lines[*entry])).value;
}

std::string_view WithoutQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Copies text cut to capacity - 1 characters and NUL-ended; returns the characters copied.
std::uint32_t CopyCut(std::string_view text, char* buffer, std::uint32_t capacity) {
    if (buffer == nullptr || capacity == 0) return 0;
    const std::size_t count = std::min<std::size_t>(text.size(), capacity - 1);
    if (count > 0) std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<std::uint32_t>(count);
}

// Fills a caller's buffer with NUL-ended entries, keeping count of what the
// whole listing needs so the caller learns whether it fitted.
class SectionListing {
public:
    SectionListing(char* buffer, std::uint32_t capacity) : buffer_(buffer), capacity_(capacity) {}

    // Once the data reaches the capacity the listing cannot fit, so the rest need not be read.
    bool Full() const { return needed_ >= capacity_; }

    void Append(std::string_view piece) {
        if (!piece.empty() && needed_ < capacity_) {
            const std::size_t room = static_cast<std::size_t>(capacity_ - needed_);
            std::memcpy(buffer_ + needed_, piece.data(), std::min(room, piece.size()));
        }
        needed_ += piece.size();
    }

    void EndEntry() {
        Append(std::string_view("\0", 1));
        ++entries_;
    }

    // Ends the listing with its extra NUL, or with two NULs when it was cut.
    std::uint32_t Finish() {
        if (capacity_ == 0) return 0;
        if (entries_ == 0) {
            buffer_[0] = '\0';
            if (capacity_ >= 2) buffer_[1] = '\0';
            return 0;
        }
        if (needed_ < capacity_) {
            buffer_[needed_] = '\0';
            return static_cast<std::uint32_t>(needed_);
        }
        if (capacity_ < 2) {
            buffer_[0] = '\0';
            return 0;
        }
        buffer_[capacity_ - 2] = '\0';
        buffer_[capacity_ - 1] = '\0';
        return static_cast<std::uint32_t>(capacity_ - 2);
    }

private:
    char* buffer_;
    std::uint64_t capacity_;
    std::uint64_t needed_ = 0;
    std::size_t entries_ = 0;
};

// Lines the section read cannot list: a NUL byte inside would split the entry
// and could end the whole listing early.
bool Listable(const LineMeaning& meaning) {
    if (meaning.kind != LineKind::Entry && meaning.kind != LineKind::Text) return false;
    return meaning.name.find('\0') == std::string_view::npos &&
           meaning.value.find('\0') == std::string_view::npos;
}

// Hands each listable line of a section to visit, in file order, until visit
// returns false.
template <typename Visit>
void ForEachListedLine(const std::string& filePath, std::string_view section, Visit visit) {
    auto bytes = ReadSettingsFile(filePath);
    if (!bytes) return;
    const ProfileText text = ParseProfile(std::move(*bytes));
    const auto span = FindSection(text, section);
    if (!span) return;
    for (std::size_t i = span->header + 1; i < span->end; ++i) {
        const LineMeaning meaning = Interpret(LineText(text, text.lines[i]));
        if (Listable(meaning) && !visit(meaning)) return;
    }
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// Names and values that would read back as something else once written: why
// not, or nothing when they can be written.
std::optional<std::string> WhyNotWritable(std::string_view section, std::optional<std::string_view> key,
                                          std::optional<std::string_view> value) {
    if (HasLineBreak(section) || section.find(']') != std::string_view::npos) {
        return "a section name cannot hold \"]\" or a line break";
    }
    if (key) {
        const std::string_view name = Trim(*key);
        if (HasLineBreak(name) || name.find('=') != std::string_view::npos) {
            return "a name cannot hold \"=\" or a line break";
        }
        if (!name.empty() && (name.front() == ';' || name.front() == '[')) {
            return "a name cannot begin with \";\" or \"[\"";
        }
    }
    if (value && HasLineBreak(*value)) return "a value cannot hold a line break";
    return std::nullopt;
}

// Builds the new file from kept runs of the old bytes and new lines.
class Rewrite {
public:
    explicit Rewrite(const ProfileText& text) : text_(text) {
        out_.reserve(text.bytes.size() + 256);
        out_.append(text.bytes, 0, text.bodyStart);
    }

    void KeepLines(std::size_t first, std::size_t end) {
        if (first >= end) return;
        const std::size_t from = text_.lines[first].begin;
        const std::size_t to = text_.lines[end - 1].next;
        out_.append(text_.bytes, from, to - from);
    }

    void NewLine(std::string_view a, std::string_view b = {}, std::string_view c = {}) {
        // The old last line may lack a line end; it needs one before anything follows it.
        if (out_.size() > text_.bodyStart && out_.back() != '\n' && out_.back() != '\r') {
            out_.append(kLineEnd);
        }
        out_.append(a).append(b).append(c).append(kLineEnd);
    }

    std::string& Bytes() { return out_; }

private:
    const ProfileText& text_;
    std::string out_;
};

std::string Entry(std::string_view key, std::string_view value) {
    std::string line(Trim(key));
    line += '=';
    line.append(value);
    return line;
}

std::string SetEntry(const ProfileText& text, std::string_view section, std::string_view key,
                     std::string_view value) {
    const std::size_t lineCount = text.lines.size();
    Rewrite rewrite(text);
    const auto span = FindSection(text, section);
    if (!span) {
        rewrite.KeepLines(0, lineCount);
        rewrite.NewLine("[", Trim(section), "]");
        rewrite.NewLine(Entry(key, value));
        return std::move(rewrite.Bytes());
    }
    if (const auto entry = FindEntry(text, *span, key)) {
        // The name keeps the spelling the file already gives it.
        const LineMeaning old = Interpret(LineText(text, text.lines[*entry]));
        rewrite.KeepLines(0, *entry);
        rewrite.NewLine(Entry(old.name, value));
        rewrite.KeepLines(*entry + 1, lineCount);
        return std::move(rewrite.Bytes());
    }
    std::size_t last = span->header;
    for (std::size_t i = span->header + 1; i < span->end; ++i) {
        if (Interpret(LineText(text, text.lines[i])).kind != LineKind::Blank) last = i;
    }
    rewrite.KeepLines(0, last + 1);
    rewrite.NewLine(Entry(key, value));
    rewrite.KeepLines(last + 1, lineCount);
    return std::move(rewrite.Bytes());
}

std::string WithoutLines(const ProfileText& text, std::size_t first, std::size_t end) {
    Rewrite rewrite(text);
    rewrite.KeepLines(0, first);
    rewrite.KeepLines(end, text.lines.size());
    return std::move(rewrite.Bytes());
}

// One change asked of the file: a key set or deleted, or a whole section
// deleted. An addition (keepExisting) leaves an entry already there alone.
struct ProfileEdit {
    std::string_view section;
    std::optional<std::string_view> key;
    std::optional<std::string_view> value;
    bool keepExisting = false;
};

// The new bytes, or nothing when the file stays as it is.
std::optional<std::string> Edited(const ProfileText& text, const ProfileEdit& edit) {
    const auto& [section, key, value, keepExisting] = edit;
    const auto span = FindSection(text, section);
    if (key && value && keepExisting && span && FindEntry(text, *span, *key)) return std::nullopt;
    if (key && value) return SetEntry(text, section, *key, *value);
    if (!span) return std::nullopt;
    if (!key) return WithoutLines(text, span->header, span->end);
    const auto entry = FindEntry(text, *span, *key);
    if (!entry) return std::nullopt;
    return WithoutLines(text, *entry, *entry + 1);
}

// The file's current bytes; empty for a missing file, nothing when it exists
// but cannot be read (rewriting it then would lose what it holds).
std::optional<std::string> CurrentBytes(const std::string& filePath) {
    if (Files().Status(filePath).kind == PathStatus::Kind::Missing) return std::string();
    return ReadSettingsFile(filePath);
}

// Reads the file as it is now and works out the edit; when write is set and
// the edit changes the file, writes it.
FileOutcome EditFile(const std::string& filePath, const ProfileEdit& edit, bool& changes, bool write) {
    auto bytes = CurrentBytes(filePath);
    if (!bytes) return FileOutcome::Failed("the file exists but cannot be read");
    // An 8-bit entry appended to UTF-16 text would leave a file of two encodings.
    if (bytes->starts_with("\xFF\xFE") || bytes->starts_with("\xFE\xFF"))
        return FileOutcome::Failed(
            "the file is UTF-16 text, and its entries are written in 8-bit text; save "
            "it as UTF-8 or ANSI");
    const ProfileText text = ParseProfile(std::move(*bytes));
    const auto edited = Edited(text, edit);
    changes = edited && *edited != text.bytes;
    if (!changes || !write) return FileOutcome::Done();
    const auto* data = reinterpret_cast<const std::uint8_t*>(edited->data());
    return WriteFileSafely(filePath, std::span<const std::uint8_t>(data, edited->size()));
}

// Held around each read-modify-replace of the settings file, so that two
// editors (or an editor and a script) writing at once never lose each other's
// entries.
class SettingsLock {
public:
    SettingsLock(const std::string& filePath, const LockWait& wait) {
        locked_ = Files().Lock(filePath + ".lock", lock_, wait);
    }
    SettingsLock(const SettingsLock&) = delete;
    SettingsLock& operator=(const SettingsLock&) = delete;
    ~SettingsLock() { Files().Unlock(lock_); }
    const FileOutcome& Locked() const { return locked_; }

private:
    FileHandle lock_ = kNoFile;
    FileOutcome locked_;
};

// Whether the file changed; a change that would leave it as it is touches
// nothing, not even the lock file.
Result<bool> ChangeFile(const std::string& filePath, const ProfileEdit& edit, const LockWait& wait) {
    // An empty name would put the lock file, "NAME.lock", in the current folder.
    if (filePath.empty()) return Result<bool>::Failed("the settings file has no name");
    if (auto why = WhyNotWritable(edit.section, edit.key, edit.value)) return Result<bool>::Failed(*why);
    bool changes = false;
    if (FileOutcome planned = EditFile(filePath, edit, changes, false); !planned)
        return Result<bool>::Failed(planned.Reason());
    if (!changes) return false;
    const SettingsLock lock(filePath, wait);
    if (!lock.Locked()) return Result<bool>::Failed(lock.Locked().Reason());
    // Read again under the lock: another writer may have changed the file since.
    if (FileOutcome written = EditFile(filePath, edit, changes, true); !written)
        return Result<bool>::Failed(written.Reason());
    return changes;
}

}  // namespace

std::vector<ProfileEntry> ReadProfileSection(const std::string& filePath, std::string_view section) {
    std::vector<ProfileEntry> entries;
    ForEachListedLine(filePath, section, [&](const LineMeaning& meaning) {
        if (meaning.kind == LineKind::Entry)
            entries.push_back({std::string(meaning.name), std::string(meaning.value)});
        return true;
    });
    return entries;
}

std::uint32_t GetProfileSection(const std::string& filePath, std::string_view section, char* buffer,
                                std::uint32_t capacity) {
    if (buffer == nullptr) capacity = 0;
    SectionListing listing(buffer, capacity);
    ForEachListedLine(filePath, section, [&](const LineMeaning& meaning) {
        listing.Append(meaning.name);
        if (meaning.kind == LineKind::Entry) {
            listing.Append("=");
            listing.Append(meaning.value);
        }
        listing.EndEntry();
        return !listing.Full();
    });
    return listing.Finish();
}

std::uint32_t GetProfileString(const std::string& filePath, std::string_view section, std::string_view key,
                               std::string_view defaultValue, char* buffer, std::uint32_t capacity) {
    const std::string value = ReadProfileString(filePath, section, key, defaultValue, capacity);
    return CopyCut(value, buffer, capacity);
}

std::string ReadProfileString(const std::string& filePath, std::string_view section, std::string_view key,
                              std::string_view defaultValue, std::uint32_t capacity) {
    std::string_view found = defaultValue;
    std::optional<ProfileText> text;
    if (auto bytes = ReadSettingsFile(filePath)) {
        text = ParseProfile(std::move(*bytes));
        if (const auto value = FindValue(*text, section, key)) found = WithoutQuotes(*value);
    }
    if (capacity == 0) return {};
    return std::string(found.substr(0, capacity - 1));
}

bool SameProfileName(std::string_view first, std::string_view second) {
    if (first.size() != second.size()) return false;
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (FoldCase(first[i]) != FoldCase(second[i])) return false;
    }
    return true;
}

bool ProfileHasKey(const std::string& filePath, std::string_view section, std::string_view key) {
    auto bytes = ReadSettingsFile(filePath);
    if (!bytes) return false;
    const ProfileText text = ParseProfile(std::move(*bytes));
    return FindValue(text, section, key).has_value();
}

FileOutcome WriteProfileString(const std::string& filePath, std::string_view section,
                               std::optional<std::string_view> key, std::optional<std::string_view> value,
                               const LockWait& wait) {
    const Result<bool> changed = ChangeFile(filePath, {section, key, value}, wait);
    return changed ? FileOutcome::Done() : FileOutcome::Failed(changed.Reason());
}

Result<bool> AddProfileString(const std::string& filePath, std::string_view section, std::string_view key,
                              std::string_view value, const LockWait& wait) {
    return ChangeFile(filePath, {section, key, value, true}, wait);
}

}  // namespace tintwright
