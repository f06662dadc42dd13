#pragma once

// How a Windows program splits its command line into arguments (the C
// run-time's rules, as CommandLineToArgvW applies them after the program name).
// The file-command tests and the quoting fuzzer both check the quoting with it.

#include <string>
#include <vector>

namespace tintwright::testing {

inline std::vector<std::string> SplitWindowsCommandLine(const std::string& line) {
    std::vector<std::string> arguments;
    std::size_t at = 0;
    const auto blank = [&](std::size_t i) { return line[i] == ' ' || line[i] == '\t'; };
    while (true) {
        while (at < line.size() && blank(at)) ++at;
        if (at == line.size()) return arguments;
        std::string argument;
        bool quoted = false;
        while (at < line.size() && (quoted || !blank(at))) {
            std::size_t backslashes = 0;
            while (at < line.size() && line[at] == '\\') ++backslashes, ++at;
            if (at < line.size() && line[at] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    argument.push_back('"');
                } else if (quoted && at + 1 < line.size() && line[at + 1] == '"') {
                    argument.push_back('"');
                    ++at;
                } else {
                    quoted = !quoted;
                }
                ++at;
            } else {
                argument.append(backslashes, '\\');
                if (backslashes == 0) argument.push_back(line[at++]);
            }
        }
        arguments.push_back(argument);
    }
}

}  // namespace tintwright::testing
