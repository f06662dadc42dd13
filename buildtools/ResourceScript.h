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

// The 8-bit code page the program's "A" calls work in.
enum class ManifestCodePage {
    Utf8,    // asked for; Windows 10 1903 and later grant it
    System,  // the system's own, as on older Windows; built only for the tests
};

// Asks for version 6 of the common controls, so the controls get the
// system's visual styles, and for UTF-8 as the process's 8-bit code page.
std::string MakeManifest(ManifestCodePage codePage = ManifestCodePage::Utf8);

}  // namespace tintwright
