#pragma once

// What every subcommand of tintwright-palette reads from its arguments:
// positional arguments, "--name value" options and flags, hexadecimal offsets
// and counts.

#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tintwright {

class CommandArguments {
public:
    // Splits arguments into positional ones and options. valueOptions take the
    // next argument as their value ("--count 16" or "--count=16"); flags take
    // none. An unknown option, or one without its value, gives an error.
    static std::optional<CommandArguments> Parse(std::span<const std::string> arguments,
                                                 std::initializer_list<std::string_view> valueOptions,
                                                 std::initializer_list<std::string_view> flags,
                                                 std::string& error);

    const std::vector<std::string>& Positional() const { return positional_; }
    bool Has(std::string_view option) const { return options_.contains(std::string(option)); }
    // The option's value, or fallback when it was not given; the last one
    // when it was given more than once.
    std::string Value(std::string_view option, std::string_view fallback = {}) const;
    // Every value the option was given, in order.
    std::vector<std::string> Values(std::string_view option) const;

private:
    std::vector<std::string> positional_;
    std::map<std::string, std::string> options_;
    std::map<std::string, std::vector<std::string>> every_;
};

// An offset in hexadecimal, with or without "$" or "0x" before it.
std::optional<std::uint32_t> ParseHexOffset(std::string_view text);
// A decimal number from least to most.
std::optional<std::uint32_t> ParseDecimal(std::string_view text, std::uint32_t least, std::uint32_t most);
// The offset as the editor writes it: "$1A000".
std::string FormatOffset(std::uint64_t offset);
// The file name's extension in lower case with its dot (".pal"); empty when it has none.
std::string LowerExtension(std::string_view path);

}  // namespace tintwright
