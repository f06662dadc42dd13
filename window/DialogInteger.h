#pragma once

// Numbers in edit controls read and written the way the Win32 dialog manager
// does it (GetDlgItemInt / SetDlgItemInt), so every front end agrees on what
// counts as a number in the colour boxes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tintwright {

// Leading and trailing blanks are allowed; a minus sign only when signed; at
// least one decimal digit; nothing else. A value outside 32 bits is no number.
std::optional<std::int32_t> ParseDialogInteger(std::string_view text, bool isSigned);

std::string FormatDialogInteger(std::int32_t value, bool isSigned);

}  // namespace tintwright
