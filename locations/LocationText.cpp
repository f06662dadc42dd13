#include "locations/LocationText.h"

namespace tintwright {
namespace {

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t';
}
bool IsUpper(char ch) {
    return ch >= 'A' && ch <= 'Z';
}
bool IsLower(char ch) {
    return ch >= 'a' && ch <= 'z';
}

constexpr char kCaseBit = 0x20;

}  // namespace

std::string TrimLeadingBlanks(std::string_view source) {
    std::size_t start = 0;
    while (start < source.size() && IsBlank(source[start])) ++start;
    return std::string(source.substr(start));
}

std::string TrimTrailingBlanks(std::string_view source) {
    std::size_t end = source.size();
    while (end > 0 && IsBlank(source[end - 1])) --end;
    return std::string(source.substr(0, end));
}

void ProperCase(std::string& text) {
    for (char& ch : text) {
        if (IsUpper(ch)) ch = static_cast<char>(ch + kCaseBit);
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsWord = i == 0 || text[i - 1] == ' ';
        if (startsWord && IsLower(text[i])) text[i] = static_cast<char>(text[i] - kCaseBit);
    }
}

}  // namespace tintwright
