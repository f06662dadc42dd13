#pragma once

// What the two text formats (JASC-PAL and GIMP GPL) share: lines ended by LF
// or CRLF, and colours written as three decimal numbers 0-255.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tintwright {

// The file's lines without their line ends (a UTF-8 byte order mark before
// the first is dropped). A last line without an end counts as a line.
std::vector<std::string_view> SplitLines(std::span<const std::uint8_t> bytes);

std::string_view TrimBlanks(std::string_view text);

// Reads "R G B" from the start of text (blanks before and between), leaving in
// text what follows the third number. Nothing when a number is missing or
// outside 0-255.
std::optional<std::uint16_t> ReadRgbTriplet(std::string_view& text);

// A line quoted for an error message, shortened when long.
std::string QuoteLine(std::string_view line);

}  // namespace tintwright
