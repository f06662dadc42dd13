#include "palette/TextLines.h"

#include "bytes/PrintableText.h"
#include "palette/ColorChannels.h"

namespace tintwright {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::optional<std::uint8_t> ReadChannel(std::string_view& text) {
    const std::size_t start = text.find_first_not_of(kBlanks);
    if (start == std::string_view::npos || !IsDigit(text[start])) return std::nullopt;
    unsigned value = 0;
    std::size_t at = start;
    for (; at < text.size() && IsDigit(text[at]); ++at) {
        value = value * 10 + static_cast<unsigned>(text[at] - '0');
        if (value > 255) return std::nullopt;
    }
    // "12x" is not a number followed by a name.
    if (at < text.size() && kBlanks.find(text[at]) == std::string_view::npos) return std::nullopt;
    text.remove_prefix(at);
    return static_cast<std::uint8_t>(value);
}

}  // namespace

std::vector<std::string_view> SplitLines(std::span<const std::uint8_t> bytes) {
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t start = text.find_first_not_of(kBlanks);
    if (start == std::string_view::npos) return {};
    return text.substr(start, text.find_last_not_of(kBlanks) - start + 1);
}

std::optional<std::uint16_t> ReadRgbTriplet(std::string_view& text) {
    std::string_view rest = text;
    const auto red = ReadChannel(rest);
    const auto green = red ? ReadChannel(rest) : std::nullopt;
    const auto blue = green ? ReadChannel(rest) : std::nullopt;
    if (!blue) return std::nullopt;
    text = rest;
    return FromRgb8({*red, *green, *blue});
}

std::string QuoteLine(std::string_view line) {
    constexpr std::size_t kShown = 40;
    std::string quoted = "\"";
    quoted += PrintableText(line.substr(0, kShown));
    if (line.size() > kShown) quoted += "...";
    return quoted + "\"";
}

}  // namespace tintwright
