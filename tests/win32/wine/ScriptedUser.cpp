#include "tests/win32/wine/ScriptedUser.h"

#include <gtest/gtest.h>

namespace tintwright::testing {

void ExpectBox(const BoxRequest& box, HWND owner, const std::string& text, const std::string& caption,
               unsigned style) {
    EXPECT_EQ(box.owner, owner);
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ(box.style, style);
}

std::optional<int> ScriptedUser::AnswerMessageBox(HWND owner, std::string_view text, std::string_view caption,
                                                  unsigned style) {
    boxes.push_back({owner, std::string(text), std::string(caption), style});
    if (showNextBox_) {
        showNextBox_ = false;
        return std::nullopt;
    }
    if (!boxAnswers_.empty()) {
        const int answer = boxAnswers_.front();
        boxAnswers_.pop_front();
        return answer;
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

std::optional<win32::ColorDialogAnswer> ScriptedUser::AnswerColorDialog(const ColorDialogRequest& request) {
    colorDialogs.push_back(request);
    if (showNextColorDialog_) {
        showNextColorDialog_ = false;
        return std::nullopt;
    }
    if (colorAnswers_.empty()) {
        ADD_FAILURE() << "unexpected colour dialog";
        return win32::ColorDialogAnswer{std::nullopt};
    }
    win32::ColorDialogAnswer answer{colorAnswers_.front()};
    colorAnswers_.pop_front();
    return answer;
}

}  // namespace tintwright::testing
