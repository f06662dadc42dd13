#pragma once

// Message boxes described by the seam's style values (icon and buttons) and
// answered with its answer values.

#include <string_view>

class QWidget;

namespace tintwright::qt {

// With an owner, the box disables only that window while it is open, as a box
// owned by one window does on the platform the logic was written for: the
// other windows of the program stay usable. Without one (during start-up) it
// is an ordinary application-modal box.
int ShowOwnedMessageBox(QWidget* owner, std::string_view text, std::string_view caption, unsigned style);

}  // namespace tintwright::qt
