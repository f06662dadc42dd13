#include "window/DialogInteger.h"

#include <cstdint>

namespace tintwright {
namespace {

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t';
}

}  // namespace

std::optional<std::int32_t> ParseDialogInteger(std::string_view text, bool isSigned) {
    std::size_t at = 0;
    while (at < text.size() && IsBlank(text[at])) ++at;
    bool negative = false;
    if (isSigned && at < text.size() && text[at] == '-') {
        negative = true;
        ++at;
    }
    const std::size_t digitsStart = at;
    std::int64_t magnitude = 0;
    const std::int64_t limit = isSigned ? (negative ? 2147483648LL : 2147483647LL) : 4294967295LL;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        magnitude = magnitude * 10 + (text[at] - '0');
        if (magnitude > limit) return std::nullopt;
        ++at;
    }
    if (at == digitsStart) return std::nullopt;
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (at != text.size()) return std::nullopt;
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::string FormatDialogInteger(std::int32_t value, bool isSigned) {
    if (isSigned) return std::to_string(value);
    return std::to_string(static_cast<std::uint32_t>(value));
}

}  // namespace tintwright
