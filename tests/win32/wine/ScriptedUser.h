#pragma once

// Answers the start-up file dialogs and the message boxes the way a test
// tells it to, and remembers every box the program asked for.

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
    // The next box is shown for real, so the test can look at it and close it.
    void ShowNextBoxForReal() { showNextBox_ = true; }

    std::vector<BoxRequest> boxes;
    std::vector<FileDialogRequest> fileDialogs;

    std::optional<int> AnswerMessageBox(HWND owner, std::string_view text, std::string_view caption,
                                        unsigned style) override;
    std::optional<win32::FileDialogAnswer> AnswerFileDialog(const FileDialogRequest& request) override;
    std::optional<RgbColor> AnswerColorDialog(const ColorDialogRequest&) override { return std::nullopt; }

private:
    std::deque<std::optional<std::string>> fileAnswers_;
    bool showNextBox_ = false;
};

}  // namespace tintwright::testing
