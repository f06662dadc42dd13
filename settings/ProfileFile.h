#pragma once

// Our own portable profile (INI) file store, giving the settings file the
// behaviour the program relies on from the Windows profile functions. Both
// front ends use it, so the book of locations behaves the same everywhere.
// How it reads hand-edited files (blanks, comments, quotes, line ends, repeated
// names) and where it puts new lines is written down in docs/settings-file.md.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/FileSystem.h"

namespace tintwright {

struct ProfileEntry {
    std::string name;
    std::string value;
    friend bool operator==(const ProfileEntry&, const ProfileEntry&) = default;
};

// Every name=value entry of a section, in file order, names and values
// trimmed as GetProfileSection lists them, with no limit on their number or
// length. Lines without "=" are no entries. A missing file or section gives none.
std::vector<ProfileEntry> ReadProfileSection(const std::string& filePath, std::string_view section);

// Copies every entry of a section, in file order, into buffer as name=value
// NUL-separated with one more NUL at the end. Returns the characters copied
// without that last NUL; when the entries do not fit, copies what fits and
// returns capacity - 2. A missing file or section gives 0.
std::uint32_t GetProfileSection(const std::string& filePath, std::string_view section, char* buffer,
                                std::uint32_t capacity);

// Copies a key's value, cut to capacity - 1 characters and NUL-ended, or the
// default when there is no such key. Returns the characters copied.
std::uint32_t GetProfileString(const std::string& filePath, std::string_view section, std::string_view key,
                               std::string_view defaultValue, char* buffer, std::uint32_t capacity);

// The same, for callers that do not need the buffer.
std::string ReadProfileString(const std::string& filePath, std::string_view section, std::string_view key,
                              std::string_view defaultValue, std::uint32_t capacity);

// Whether two names are one in the file: capitals A to Z match their small
// letters, every other byte only itself.
bool SameProfileName(std::string_view first, std::string_view second);

// Whether the section holds an entry with that key, whatever its value.
bool ProfileHasKey(const std::string& filePath, std::string_view section, std::string_view key);

// Sets a key (appended at the end of its section when new, replaced in place
// otherwise), creating the section and the file when missing. A null value
// deletes the key; a null key deletes the whole section. When the file could
// not be written, or the names cannot be kept in it, the old file is unchanged
// and the outcome says why. The write holds the lock on "<file>.lock", waiting
// for it as wait says while another program holds it.
FileOutcome WriteProfileString(const std::string& filePath, std::string_view section,
                               std::optional<std::string_view> key, std::optional<std::string_view> value,
                               const LockWait& wait = {});

// Adds key=value as WriteProfileString does, unless the section already holds
// an entry of that name: then its value stays as the file has it, since the
// user may have edited it by hand. True when the entry was added.
Result<bool> AddProfileString(const std::string& filePath, std::string_view section, std::string_view key,
                              std::string_view value, const LockWait& wait = {});

}  // namespace tintwright
