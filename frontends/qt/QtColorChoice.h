#pragma once

// The system colour dialog, as Qt's own colour dialog.

#include <optional>

#include "window/WindowSystem.h"

class QWidget;

namespace tintwright::qt {

// The chosen colour as 0x00BBGGRR, or nothing when the user cancels.
std::optional<RgbColor> AskColor(const ColorDialogRequest& request, QWidget* owner);

}  // namespace tintwright::qt
