#pragma once

// What every subcommand of tintwright-palette shares: how it is called, what
// its exit codes mean, and how it reads and writes files.

#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tintwright {

// The habits of tools people script: 0 done, 1 looked and found nothing,
// 2 bad input or a file that could not be read or written.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFoundNothing = 1;
inline constexpr int kExitBadInput = 2;

// A subcommand: its arguments (after its name), results to out, errors to err.
using ConsoleCommand = int (*)(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);

// Reads a whole file of at most kMaxRomFileBytes, the editor's own limit; on
// failure tells err which file (called what) and the reason, and gives false.
bool ReadInputFile(const std::string& path, std::string_view what, std::vector<std::uint8_t>& bytes,
                   std::ostream& err);
// Replaces the file through the safe save; on failure the old file is as it
// was, err hears why, and the result is false.
bool WriteOutputFile(const std::string& path, std::span<const std::uint8_t> bytes, std::ostream& err);
// An input file of a subcommand, as the user named it, and what it is for
// them ("the ROM").
struct NamedInput {
    std::string_view what;
    const std::string& path;
};
// False, after telling err, when output is the same file as one of the inputs
// however either is spelt (a link, another case on Windows): writing it would
// destroy the input. Asked before anything is read or written.
bool OutputIsNoInput(const std::string& output, std::initializer_list<NamedInput> inputs, std::ostream& err);
// Writes "tintwright-palette: <message>" and gives kExitBadInput.
int Refuse(std::ostream& err, const std::string& message);

}  // namespace tintwright
