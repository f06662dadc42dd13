// The game preview in the real windows: the editor started on our test
// core's game with --state, the host beside the tests running the core DLL
// the settings file names, an Apply and an Undo in the main window showing in
// the preview's frame, and no host left once the editor is closed.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/Process.h"
#include "core/SnesColor.h"
#include "tests/win32/wine/EditorSession.h"
#include "tests/win32/wine/WindowProbe.h"
#include "window/ControlIds.h"

// The process list, which needs the <windows.h> of the headers above.
#include <tlhelp32.h>

namespace tintwright::testing {
namespace {

constexpr int kCgramWords = 256;

std::uint16_t GameWord(int index) {
    return static_cast<std::uint16_t>((index * 0x123 + 0x421) & 0x7FFF);
}

// The test core's game: 256 words that all differ, so the search finds each
// colour of the state at one place only, then 512 bytes of padding.
std::vector<std::uint8_t> GameRom() {
    std::vector<std::uint8_t> rom(1024, 0xFF);
    for (int i = 0; i < kCgramWords; ++i) {
        rom[2 * i] = static_cast<std::uint8_t>(GameWord(i) & 0xFF);
        rom[2 * i + 1] = static_cast<std::uint8_t>(GameWord(i) >> 8);
    }
    return rom;
}

void Append(std::vector<std::uint8_t>& bytes, const char* text) {
    bytes.insert(bytes.end(), text, text + std::strlen(text));
}

// The state the test core serializes of that game: a snes9x freeze file whose
// PPU block holds CGRAM 64 bytes in, each word high byte first, and whose RAM
// block starts with the palette the game keeps in work RAM.
std::vector<std::uint8_t> GameState(const std::vector<std::uint8_t>& rom) {
    std::vector<std::uint8_t> state;
    Append(state, "#!s9xsnp:0011\nPPU:000576:");
    state.resize(state.size() + 64);
    for (int i = 0; i < kCgramWords; ++i) {
        state.push_back(static_cast<std::uint8_t>(GameWord(i) >> 8));
        state.push_back(static_cast<std::uint8_t>(GameWord(i) & 0xFF));
    }
    Append(state, "RAM:131072:");
    state.insert(state.end(), rom.begin(), rom.begin() + 2 * kCgramWords);
    state.resize(state.size() + 131072 - 2 * kCgramWords);
    return state;
}

// A word as the test core draws it: XRGB8888, each 5-bit channel widened by
// repeating its high bits.
RgbColor CoreColor(SnesColor word) {
    const auto widened = [&](int shift) {
        const unsigned channel = (word >> shift) & 31u;
        return static_cast<std::uint8_t>(channel << 3 | channel >> 2);
    };
    return MakeRgbColor(widened(0), widened(5), widened(10));
}

// Colour 7's block: the core draws colour i at block column i % 16 of band
// i / 16, 16 × 14 pixels each, and the host hands the window the frame doubled.
RgbColor Block7(HWND preview) {
    constexpr int kFrameWidth = 512;
    const int scale = ClientRect(preview).right / kFrameWidth;
    return PaintedPixel(preview, (7 * 16 + 8) * 2 * scale, 7 * 2 * scale);
}

std::string Hex(RgbColor color) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%06lX", static_cast<unsigned long>(color));
    return text;
}

// The preview hosts this process started, opened so that the test can tell
// when each has ended.
std::vector<HANDLE> OpenPreviewHosts() {
    std::vector<HANDLE> hosts;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return hosts;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID != GetCurrentProcessId() ||
            _wcsicmp(entry.szExeFile, L"tintwright-preview.exe") != 0)
            continue;
        if (const HANDLE host = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, entry.th32ProcessID))
            hosts.push_back(host);
    }
    CloseHandle(snapshot);
    return hosts;
}

// How many of the hosts still ran; each is ended, so that a failing test
// leaves nothing running either.
int EndRunningHosts(const std::vector<HANDLE>& hosts) {
    int running = 0;
    for (const HANDLE host : hosts) {
        if (WaitForSingleObject(host, 0) != WAIT_OBJECT_0) {
            ++running;
            TerminateProcess(host, 1);
            WaitForSingleObject(host, 5000);
        }
        CloseHandle(host);
    }
    return running;
}

// A key as the keyboard delivers it to the preview window: its scan code in
// bits 16-23, and on release the previous-state and transition bits.
void SendKey(HWND preview, WPARAM key, unsigned scanCode, bool pressed) {
    const auto data = static_cast<LPARAM>(1u | scanCode << 16 | (pressed ? 0u : 0xC0000000u));
    SendMessageA(preview, pressed ? WM_KEYDOWN : WM_KEYUP, key, data);
}

void TapKey(HWND preview, WPARAM key, unsigned scanCode) {
    SendKey(preview, key, scanCode, true);
    SendKey(preview, key, scanCode, false);
}

constexpr unsigned kSpaceScanCode = 0x39;
constexpr unsigned kEnterScanCode = 0x1C;
constexpr unsigned kLScanCode = 0x26;

// The editor started on the test core's game with --state STATE and the core
// named in its settings; the steps get the main window and the Game Preview,
// and once the editor has closed no host of it may run.
class GamePreviewWindow : public ::testing::Test {
protected:
    void RunPreview(const std::function<void(HWND window, HWND preview)>& steps) {
        const std::filesystem::path statePath = session.directory / "game.state";
        const std::vector<std::uint8_t> state = GameState(rom);
        std::ofstream(statePath, std::ios::binary)
            .write(reinterpret_cast<const char*>(state.data()), static_cast<std::streamsize>(state.size()));
        const std::filesystem::path core =
            std::filesystem::path(SystemProcess().ExecutablePath()).parent_path() / TINTWRIGHT_TEST_CORE_NAME;
        session.WriteSettings("[Settings]\r\nPreviewCore=" + core.string() + "\r\n");
        session.statePath = statePath.string();

        std::vector<HANDLE> hosts;
        session.Run([&](HWND window) {
            HWND preview = nullptr;
            ASSERT_TRUE(PumpUntil(
                [&] {
                    return (preview = FindThreadWindow("TintwrightPreview", "game.state - Game Preview")) !=
                           nullptr;
                },
                5000))
                << "no Game Preview window within 5 s; the search said: "
                << (session.user.boxes.empty() ? "nothing" : session.user.boxes.back().text);
            hosts = OpenPreviewHosts();
            EXPECT_EQ(hosts.size(), 1u);
            steps(window, preview);
        });
        EXPECT_EQ(EndRunningHosts(hosts), 0) << "the preview host still ran after the editor closed";
        EXPECT_EQ(EndRunningHosts(OpenPreviewHosts()), 0)
            << "another preview host ran after the editor closed";
    }

    const std::vector<std::uint8_t> rom = GameRom();
    EditorSession session{rom};
};

TEST_F(GamePreviewWindow, TheTestCoreShowsEachApplyAndUndoAndItsHostEndsWithTheEditor) {
    RunPreview([&](HWND window, HWND preview) {
        const auto expectBlock7 = [&](SnesColor word, const char* after) {
            const RgbColor expected = CoreColor(word);
            EXPECT_TRUE(PumpUntil([&] { return Block7(preview) == expected; }, 5000))
                << "after " << after << ", colour 7's block shows " << Hex(Block7(preview)) << ", not "
                << Hex(expected) << " within 5 s";
        };
        expectBlock7(GameWord(7), "the state was loaded");

        TypeInto(GetDlgItem(window, ids::kOffsetBox), "0");
        Click(window, ids::kGotoButton);
        LeftClickAt(window, StripCellPoint(7));
        const RgbColor typed = MakeRgbColor(200, 40, 120);
        TypeInto(GetDlgItem(window, ids::kRedEdit), "200");
        TypeInto(GetDlgItem(window, ids::kGreenEdit), "40");
        TypeInto(GetDlgItem(window, ids::kBlueEdit), "120");
        Click(window, ids::kApplyButton);
        ASSERT_EQ(session.WorkingWordAt(14), ToSnesColor(typed));
        expectBlock7(ToSnesColor(typed), "Apply");

        Click(window, ids::kUndoSelected);
        expectBlock7(GameWord(7), "Undo Selected");
        EXPECT_EQ(session.WorkingCopy(), rom);
    });
}

// Play, hold Start a moment, pause, L: while Start is held the test core loads
// its whole palette from the ROM again, so every row is told to come from its
// own place, and Yes in the box puts each into the location book.
TEST_F(GamePreviewWindow, LAfterPlayWithStartHeldNamesEachRowsPlaceAndYesBooksThem) {
    RunPreview([&](HWND, HWND preview) {
        TapKey(preview, VK_SPACE, kSpaceScanCode);
        Pump(200);
        SendKey(preview, VK_RETURN, kEnterScanCode, true);
        Pump(400);
        SendKey(preview, VK_RETURN, kEnterScanCode, false);
        Pump(200);
        TapKey(preview, VK_SPACE, kSpaceScanCode);

        std::string live;
        for (int row = 0; row < 16; ++row) {
            char clause[48];
            std::snprintf(clause, sizeof clause, "%srow %d is loaded from $%X (live)", row == 0 ? "" : "; ",
                          row, 32 * row);
            live += clause;
        }
        const auto askedAboutTheBook = [&] {
            return !session.user.boxes.empty() && session.user.boxes.back().caption == "Game Preview";
        };
        session.user.ShowNextBoxForReal();
        const BoxSeen question = AnswerRealBox("Game Preview", IDYES, [&] {
            TapKey(preview, 'L', kLScanCode);
            PumpUntil(askedAboutTheBook, 10000);
        });
        ASSERT_TRUE(question.found) << "no Game Preview box within 10 s of L";
        EXPECT_EQ(session.user.boxes.back().text.rfind(live + ".\r\n\r\nAdd the live places", 0), 0u)
            << session.user.boxes.back().text;
        const int statusTop = ClientRect(preview).right / 512 * 448;
        EXPECT_TRUE(PreviewStatusShows(preview, statusTop, std::wstring(live.begin(), live.end())))
            << "the status line shows something other than " << live;

        const std::string book = session.SettingsText();
        std::string missing;
        for (int row = 0; row < 16; ++row) {
            char entry[48];
            std::snprintf(entry, sizeof entry, "Live row %d @%X=%08X\r\n", row, 32 * row, 32 * row);
            if (book.find(entry) == std::string::npos) missing += entry;
        }
        EXPECT_EQ(missing, "") << "the settings file holds\n" << book;
        EXPECT_EQ(session.WorkingCopy(), rom);
    });
}

}  // namespace
}  // namespace tintwright::testing
