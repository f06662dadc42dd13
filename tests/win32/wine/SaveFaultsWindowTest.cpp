// Writes that fail part-way, in the real window: a file system in front of the
// system's makes one step fail, as a full disk, a pulled stick or a vanished
// folder would. The user must get the feature's warning with the reason, the
// previous file must stay byte for byte as it was, and no temporary file may
// be left beside it.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/FaultyFileSystem.h"
#include "tests/win32/wine/EditorSession.h"
#include "tests/win32/wine/WindowProbe.h"
#include "window/ControlIds.h"

namespace tintwright::testing {
namespace {

// Three pieces of the 64 KiB the save writes at a time, so that a write in
// the middle can fail too.
constexpr std::size_t kThreePieceRom = 2 * 0x10000 + 0x100;

// The steps of one save of that ROM. Failing permissions or the folder sync
// leaves the new bytes in place, so the save still counts as done.
const std::vector<std::string> kSaveSteps = {"create", "write",       "write",   "write",      "sync",
                                             "close",  "permissions", "replace", "sync folder"};
bool FailsTheSave(const std::string& step) {
    return step != "permissions" && step != "sync folder";
}

void ExpectWarning(const std::vector<BoxRequest>& boxes, HWND owner, const std::string& caption,
                   const std::vector<std::string>& mentions) {
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, owner);
    EXPECT_EQ(boxes[0].caption, caption);
    EXPECT_EQ(boxes[0].style, static_cast<unsigned>(MB_ICONWARNING));
    for (const std::string& mention : mentions) {
        EXPECT_NE(boxes[0].text.find(mention), std::string::npos) << boxes[0].text;
    }
}

bool HasTemporaryFile(const std::filesystem::path& folder) {
    const std::vector<std::wstring> names = FolderNames(folder);
    return std::any_of(names.begin(), names.end(), [](const std::wstring& name) {
        return name.find(L".tintwright-") != std::wstring::npos;
    });
}

TEST(SaveFaultsWindow, EachStepOfASaveThatFailsIsReportedAndLeavesThePreviousFileWhole) {
    EditorSession session(kThreePieceRom);
    FaultyFileSystem files;
    session.Run([&](HWND window) {
        const ScopedFileSystem inFront(files);
        ApplyBlackTo(window, 2);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(ids::kSave, 0), 0);
        ASSERT_EQ(files.steps, kSaveSteps);
        ASSERT_EQ(session.user.boxes.size(), 1u);
        EXPECT_EQ(session.user.boxes[0].caption, "Saved");

        ApplyBlackTo(window, 3);
        const std::vector<std::uint8_t> previous = FileBytes(session.savePath);
        ASSERT_NE(previous, session.WorkingCopy());
        for (std::size_t step = 0; step < kSaveSteps.size(); ++step) {
            if (!FailsTheSave(kSaveSteps[step])) continue;
            SCOPED_TRACE("step " + std::to_string(step + 1) + ": " + kSaveSteps[step]);
            files.failAtStep = static_cast<int>(step + 1);
            files.steps.clear();
            session.user.boxes.clear();
            SendMessageA(window, WM_COMMAND, MAKEWPARAM(ids::kSave, 0), 0);
            ExpectWarning(session.user.boxes, window, "File Save Error",
                          {session.savePath.string(), "(injected failure of " + kSaveSteps[step] + ")"});
            EXPECT_EQ(FileBytes(session.savePath), previous);
            EXPECT_EQ(FolderNames(session.directory), (std::vector<std::wstring>{L"rom.smc", L"save.smc"}));
        }
    });
}

// Mended: a save file the user marked read-only was replaced all the same.
TEST(SaveFaultsWindow, ASaveFileMarkedReadOnlyIsRefusedWithThatReasonAndStaysAsItWas) {
    EditorSession session;
    session.Run([&](HWND window) {
        const std::vector<std::uint8_t> previous = FileBytes(session.savePath);
        ASSERT_TRUE(SetFileAttributesA(session.savePath.string().c_str(), FILE_ATTRIBUTE_READONLY));
        ApplyBlackTo(window, 2);
        ASSERT_NE(previous, session.WorkingCopy());
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(ids::kSave, 0), 0);
        ExpectWarning(session.user.boxes, window, "File Save Error",
                      {session.savePath.string(), "the file is read-only"});
        EXPECT_EQ(FileBytes(session.savePath), previous);
        EXPECT_FALSE(HasTemporaryFile(session.directory));
        SetFileAttributesA(session.savePath.string().c_str(), FILE_ATTRIBUTE_NORMAL);
    });
}

TEST(SaveFaultsWindow, ASettingsWriteThatFailsIsReportedByTheLocationDialogAndLeavesTheBookWhole) {
    const std::string book = "[Patch]\r\nAlpha=00000800\r\n";
    EditorSession session;
    session.WriteSettings(book);
    FaultyFileSystem files;
    session.Run([&](HWND window) {
        const ScopedFileSystem inFront(files);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(ids::kAddAddress, 0), 0);
        const HWND dialog = FindThreadWindow("#32770", "Add new location");
        ASSERT_NE(dialog, nullptr);
        TypeInto(GetDlgItem(dialog, ids::kDialogNameField), "Boss");
        // Lock, create, write, sync, close, permissions, then the replace:
        // the temporary file is whole by then.
        files.failAtStep = 7;
        session.user.AnswerNextBox(IDYES);
        Click(dialog, ids::kDialogConfirmButton);
        ASSERT_EQ(session.user.boxes.size(), 2u) << "the question, then the warning";
        session.user.boxes.erase(session.user.boxes.begin());
        ExpectWarning(session.user.boxes, dialog, "Location Book Error",
                      {session.settingsPath.string(), "injected failure of replace"});
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(session.SettingsText(), book);
        EXPECT_FALSE(HasTemporaryFile(session.settingsPath.parent_path()));
    });
}

}  // namespace
}  // namespace tintwright::testing
