#include "core/WindowsCommandLine.h"

#include <string_view>

namespace tintwright {
namespace {

bool NeedsQuotes(std::string_view argument) {
    return argument.empty() || argument.find_first_of(" \t\n\v\"") != std::string_view::npos;
}

// Backslashes mean themselves unless a quote follows them; then each counts
// for half, so a run before a quote (or before the closing quote) is doubled.
void AppendQuoted(std::string& line, std::string_view argument) {
    line.push_back('"');
    std::size_t backslashes = 0;
    for (const char ch : argument) {
        if (ch == '\\') {
            ++backslashes;
            continue;
        }
        if (ch == '"') {
            line.append(2 * backslashes + 1, '\\');
        } else {
            line.append(backslashes, '\\');
        }
        backslashes = 0;
        line.push_back(ch);
    }
    line.append(2 * backslashes, '\\');
    line.push_back('"');
}

}  // namespace

std::string QuoteWindowsCommandLine(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty()) line.push_back(' ');
        if (NeedsQuotes(argument)) {
            AppendQuoted(line, argument);
        } else {
            line.append(argument);
        }
    }
    return line;
}

}  // namespace tintwright
