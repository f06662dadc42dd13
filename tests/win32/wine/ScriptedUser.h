#pragma once

// Answers the start-up file dialogs, the colour dialog and the message boxes
// the way a test tells it to, and remembers every one the program asked for.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "frontends/win32/ModalScript.h"

namespace tintwright::testing {

struct BoxRequest {
    HWND owner;
    std::string text;
    std::string caption;
    unsigned style;
};

// Checks a box the program asked for against what the user should have seen.
void ExpectBox(const BoxRequest& box, HWND owner, const std::string& text, const std::string& caption,
               unsigned style);

class ScriptedUser final : public win32::ModalScript {
public:
    void AnswerFileDialog(std::optional<std::string> path) { fileAnswers_.push_back(std::move(path)); }
    // The colour the user picks in the next colour dialog; nothing for Cancel.
    void AnswerColorDialog(std::optional<RgbColor> color) { colorAnswers_.push_back(color); }
    // The answer to the next message box (IDYES, IDNO, IDOK); without one a
    // question is answered No and any other box OK.
    void AnswerNextBox(int answer) { boxAnswers_.push_back(answer); }
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
    std::deque<int> boxAnswers_;
    bool showNextBox_ = false;
    bool showNextColorDialog_ = false;
};

}  // namespace tintwright::testing
