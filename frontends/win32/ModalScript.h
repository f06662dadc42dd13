#pragma once

// A stand-in for the person at the keyboard, for tests only. When a script is
// set, Win32WindowSystem asks it before it shows a message box, a file dialog
// or the colour dialog, so a test can run the real window without anybody to
// click. The program itself never sets one.

#include <optional>
#include <string>
#include <string_view>

#include "frontends/win32/Win32Api.h"
#include "window/WindowSystem.h"

namespace tintwright::win32 {

struct FileDialogAnswer {
    std::optional<std::string> path;  // nothing: the user cancelled
};

struct ColorDialogAnswer {
    std::optional<RgbColor> color;  // nothing: the user cancelled
};

class ModalScript {
public:
    virtual ~ModalScript() = default;
    // The answer, or nothing to show the real box (a test can then inspect and
    // close it).
    virtual std::optional<int> AnswerMessageBox(HWND owner, std::string_view text, std::string_view caption,
                                                unsigned style) = 0;
    // The answer, or nothing to show the real dialog.
    virtual std::optional<FileDialogAnswer> AnswerFileDialog(const FileDialogRequest& request) = 0;
    // The answer, or nothing to show the real dialog.
    virtual std::optional<ColorDialogAnswer> AnswerColorDialog(const ColorDialogRequest& request) = 0;
};

}  // namespace tintwright::win32
