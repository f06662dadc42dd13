// File names beyond ASCII in the real window. A file dialog hands over 8-bit
// text in the process's code page: UTF-8 where the manifest's setting is
// honoured, the system's own (CP1252 on a Western system) where it is not.
// The program must give that text to the file calls unchanged. The test looks
// at the disk with the wide calls, where no code page stands between it and
// the names, so a name garbled anywhere on the way shows as a missing file or
// a stray one.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/win32/wine/EditorSession.h"
#include "tests/win32/wine/WindowProbe.h"
#include "window/ControlIds.h"

namespace tintwright::testing {
namespace {

// A folder of the test's own on drive Z:, which Wine maps to the Unix root,
// where the garbled names were first met. Removed afterwards.
class ScratchFolder {
public:
    ScratchFolder() : path(L"Z:\\tmp\\tintwright-names-" + std::to_wstring(GetCurrentProcessId())) {
        Remove();
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() { Remove(); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path path;

private:
    void Remove() const {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

// A file held open by another program, an emulator running the saved ROM
// say, which shares reading and writing but not the file's removal.
class OpenElsewhere {
public:
    explicit OpenElsewhere(const std::filesystem::path& file)
        : handle_(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~OpenElsewhere() {
        if (IsOpen()) CloseHandle(handle_);
    }
    OpenElsewhere(const OpenElsewhere&) = delete;
    OpenElsewhere& operator=(const OpenElsewhere&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// A path as an "A" file dialog hands it over, in the process's code page;
// nothing when that code page has no letters for it.
std::optional<std::string> AsDialogGivesIt(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    const UINT codePage = GetACP();
    // UTF-8 holds every letter, and the call refuses to be asked about lost ones for it.
    BOOL lost = FALSE;
    BOOL* const lostLetters = codePage == CP_UTF8 ? nullptr : &lost;
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int size = WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), nullptr,
                                         0, nullptr, lostLetters);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), text.data(), size,
                        nullptr, lostLetters);
    if (lost) return std::nullopt;
    return text;
}

void ChooseCommand(HWND window, int id) {
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

// The one box a command showed: its caption, and the path it must name.
void ExpectOneBoxNaming(EditorSession& session, const std::string& caption, const std::string& path) {
    ASSERT_EQ(session.user.boxes.size(), 1u);
    EXPECT_EQ(session.user.boxes[0].caption, caption) << session.user.boxes[0].text;
    EXPECT_NE(session.user.boxes[0].text.find(path), std::string::npos) << session.user.boxes[0].text;
    session.user.boxes.clear();
}

// The manifest linked into this very program, which the system read at its start.
std::string OwnManifest() {
    const HMODULE self = GetModuleHandleA(nullptr);
    const HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    if (found == nullptr) return {};
    return {static_cast<const char*>(LockResource(LoadResource(self, found))), SizeofResource(self, found)};
}

// The tests run twice, once with each manifest; Wine grants the setting as
// Windows does, so the names below are met in both code pages.
TEST(PathEncodingWindow, TheProcessRunsInUtf8ExactlyWhenItsManifestAsksForIt) {
    const std::string manifest = OwnManifest();
    ASSERT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos) << manifest;
    const bool asksForUtf8 = manifest.find(">UTF-8</activeCodePage>") != std::string::npos;
    EXPECT_EQ(GetACP() == CP_UTF8, asksForUtf8) << "code page " << GetACP();
}

const std::wstring kSavedName = L"Sauv\u00e9 \u00f6.smc";

// "Sauvé ö.smc" in the two code pages the program meets, byte for byte as
// the dialog gives it.
constexpr struct {
    UINT codePage;
    std::string_view bytes;
} kSavedNameBytes[] = {
    {1252, "Sauv\xE9 \xF6.smc"},
    {CP_UTF8, "Sauv\xC3\xA9 \xC3\xB6.smc"},
};

// Each save writes the whole file beside it under a temporary name first, so
// a failed one is the case that once left its temporary file behind.
TEST(PathEncodingWindow, SaveAsANameWithAccentsWritesThatFileAndAFailedSaveLeavesNoTemporaryFile) {
    const auto named = std::find_if(std::begin(kSavedNameBytes), std::end(kSavedNameBytes),
                                    [](const auto& row) { return row.codePage == GetACP(); });
    ASSERT_NE(named, std::end(kSavedNameBytes)) << "no bytes known for code page " << GetACP();
    ASSERT_EQ(AsDialogGivesIt(kSavedName), named->bytes);

    EditorSession session;
    const ScratchFolder scratch;
    const std::filesystem::path folder = scratch.path / L"my roms";
    std::filesystem::create_directories(folder);
    const std::filesystem::path savedFile = folder / kSavedName;
    const std::string savePath = *AsDialogGivesIt(folder) + "\\" + std::string(named->bytes);
    session.Run([&](HWND window) {
        session.user.AnswerFileDialog(savePath);
        ChooseCommand(window, ids::kSaveAs);
        ExpectOneBoxNaming(session, "New saving rom set to ...", savePath);
        EXPECT_EQ(FolderNames(folder), std::vector<std::wstring>{kSavedName});
        EXPECT_EQ(FileBytes(savedFile), session.romBytes);

        ApplyBlackTo(window, 3);
        ChooseCommand(window, ids::kSave);
        ExpectOneBoxNaming(session, "Saved", savePath);
        EXPECT_EQ(FolderNames(folder), std::vector<std::wstring>{kSavedName});
        EXPECT_EQ(FileBytes(savedFile), session.WorkingCopy()) << "the saved file was not replaced";

        // The last step of the save fails, after the temporary file has been
        // written whole: the system will not replace a file that is open.
        const std::vector<std::uint8_t> kept = FileBytes(savedFile);
        ApplyBlackTo(window, 4);
        {
            const OpenElsewhere emulator(savedFile);
            ASSERT_TRUE(emulator.IsOpen());
            ChooseCommand(window, ids::kSave);
        }
        ExpectOneBoxNaming(session, "File Save Error", savePath);
        EXPECT_EQ(FolderNames(folder), std::vector<std::wstring>{kSavedName});
        EXPECT_EQ(FileBytes(savedFile), kept);
    });
}

// Letters beyond the system's 8-bit code page are only within reach where the
// process runs in UTF-8; elsewhere a dialog could not give them at all.
TEST(PathEncodingWindow, ARomInAFolderWithLettersBeyondAsciiOpensAndSavesBesideItself) {
    const struct {
        std::wstring source;
        std::wstring save;
    } places[] = {
        {L"ROMs\\Pok\u00e9mon\\\u00e4.smc", L"ROMs\\Pok\u00e9mon\\\u00e4 hack.smc"},
        {L"ROMs\\\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac\\\u30dd\u30b1\u30e2\u30f3.smc",
         L"ROMs\\\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac\\\u0141\u00f3d\u017a.smc"},
    };
    EditorSession session;
    const ScratchFolder scratch;
    // Another ROM than the one the session starts with, so the open shows.
    const std::vector<std::uint8_t> rom(session.romBytes.rbegin(), session.romBytes.rend());
    int placesTried = 0;
    session.Run([&](HWND window) {
        for (const auto& place : places) {
            const std::filesystem::path source = scratch.path / place.source;
            const std::filesystem::path save = scratch.path / place.save;
            const std::optional<std::string> sourceGiven = AsDialogGivesIt(source);
            const std::optional<std::string> saveGiven = AsDialogGivesIt(save);
            if (!sourceGiven || !saveGiven) continue;
            SCOPED_TRACE(*sourceGiven);
            ++placesTried;
            std::filesystem::create_directories(source.parent_path());
            std::ofstream(source, std::ios::binary)
                .write(reinterpret_cast<const char*>(rom.data()), static_cast<std::streamsize>(rom.size()));
            ASSERT_EQ(FileBytes(source), rom);

            session.user.AnswerFileDialog(sourceGiven);
            ChooseCommand(window, ids::kOpen);
            EXPECT_TRUE(session.user.boxes.empty()) << session.user.boxes[0].caption;
            EXPECT_EQ(session.WorkingCopy(), rom);

            session.user.AnswerFileDialog(saveGiven);
            ChooseCommand(window, ids::kSaveAs);
            ExpectOneBoxNaming(session, "New saving rom set to ...", *saveGiven);
            EXPECT_EQ(FileBytes(save), rom);
            std::vector<std::wstring> both = {source.filename().native(), save.filename().native()};
            std::sort(both.begin(), both.end());
            EXPECT_EQ(FolderNames(save.parent_path()), both);
        }
    });
    EXPECT_EQ(placesTried, GetACP() == CP_UTF8 ? 2 : 1);
}

}  // namespace
}  // namespace tintwright::testing
