#pragma once

// The Windows resource script of the program, written from the layout tables
// so the dialog templates and the menu are never typed a second time.

#include <string>

namespace tintwright {

// Files the script embeds by name; they lie beside it when it is compiled.
inline constexpr const char* kPickerBitmapFile = "picker.bmp";
inline constexpr const char* kIconFile = "tintwright.ico";
inline constexpr const char* kManifestFile = "tintwright.manifest";

// Dialogs 1000 and 8000, menu 10000, bitmap 500, icon 501 and manifest 1.
std::string MakeResourceScript();

// Asks for version 6 of the common controls, so the controls get the
// system's visual styles.
std::string MakeManifest();

}  // namespace tintwright
