#pragma once

// The tidying of location names that the location dialog's "Clean" button and
// its "Ok" apply. A blank is a space or a tab.

#include <string>
#include <string_view>

namespace tintwright {

std::string TrimLeadingBlanks(std::string_view source);
std::string TrimTrailingBlanks(std::string_view source);
// Every letter A-Z lowered, then the first byte and every a-z right after a
// space raised. Only a space starts a word: "lost-cave" stays "Lost-cave".
// Bytes outside A-Z and a-z are kept as they are, whatever character set the
// name is in.
void ProperCase(std::string& text);

}  // namespace tintwright
