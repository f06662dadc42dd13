#pragma once

// Answers the start-up file dialogs, the colour dialog and the message boxes
// the way a test tells it to, and remembers every one the program asked for.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/win32/ModalScript.h"

namespace tintwright::testing {

struct BoxRequest {
    HWND owner;
    std::string text;
    std::string caption;
    unsigned style;
};

class ScriptedUser final : public win32::ModalScript {
public:
    void AnswerFileDialog(std::optional<std::string> path) { fileAnswers_.push_back(std::move(path)); }
    // The colour the user picks in the next colour dialog; nothing for Cancel.
    void AnswerColorDialog(std::optional<RgbColor> color) { colorAnswers_.push_back(color); }
    // The next box or colour dialog is shown for real, so the test can look at it and close it.
    void ShowNextBoxForReal() { showNextBox_ = true; }
    void ShowNextColorDialogForReal() { showNextColorDialog_ = true; }

    std::vector<BoxRequest> boxes;
    std::vector<FileDialogRequest> fileDialogs;
    std::vector<ColorDialogRequest> colorDialogs;

    std::optional<int> AnswerMessageBox(HWND owner, std::string_view text, std::string_view caption,
                                        unsigned style) override;
    std::optional<win32::FileDialogAnswer> AnswerFileDialog(const FileDialogRequest& request) override;
    std::optional<win32::ColorDialogAnswer> AnswerColorDialog(const ColorDialogRequest& request) override;

private:
    std::deque<std::optional<std::string>> fileAnswers_;
    std::deque<std::optional<RgbColor>> colorAnswers_;
    bool showNextBox_ = false;
    bool showNextColorDialog_ = false;
};

}  // namespace tintwright::testing
