#pragma once

#include <string>
#include <string_view>

namespace tintwright {

// Text taken from a file, as a message may show it: control codes and DEL
// become '?', so a hostile file cannot drive the terminal that prints it.
inline std::string PrintableText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        shown += byte >= 0x20 && byte != 0x7F ? c : '?';
    }
    return shown;
}

}  // namespace tintwright
