#include "tests/win32/wine/ScriptedUser.h"

#include <gtest/gtest.h>

namespace tintwright::testing {

std::optional<int> ScriptedUser::AnswerMessageBox(HWND owner, std::string_view text, std::string_view caption,
                                                  unsigned style) {
    boxes.push_back({owner, std::string(text), std::string(caption), style});
    if (showNextBox_) {
        showNextBox_ = false;
        return std::nullopt;
    }
    return (style & MB_YESNO) ? IDNO : IDOK;
}

std::optional<win32::FileDialogAnswer> ScriptedUser::AnswerFileDialog(const FileDialogRequest& request) {
    fileDialogs.push_back(request);
    if (fileAnswers_.empty()) {
        ADD_FAILURE() << "unexpected file dialog \"" << request.title << "\"";
        return win32::FileDialogAnswer{std::nullopt};
    }
    win32::FileDialogAnswer answer{fileAnswers_.front()};
    fileAnswers_.pop_front();
    return answer;
}

}  // namespace tintwright::testing
