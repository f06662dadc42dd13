#pragma once

// The system's file and colour dialogs, shown from the requests the logic
// builds.

#include <optional>
#include <string>

#include "frontends/win32/Win32Api.h"
#include "window/WindowSystem.h"

namespace tintwright::win32 {

// Unowned, as the start-up dialogs come before any window; the save dialog
// keeps itself above other windows when the request asks for it.
std::optional<std::string> RunFileDialog(const FileDialogRequest& request);

std::optional<RgbColor> RunColorDialog(HWND owner, HINSTANCE instance, const ColorDialogRequest& request);

}  // namespace tintwright::win32
