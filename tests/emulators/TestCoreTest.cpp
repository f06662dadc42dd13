// Our own libretro test core (testcore/TestCore.cpp), run through the
// libretro host as the game preview's host will run it: its state is a
// snes9x CoreState with the ROM's first words in CGRAM, it draws CGRAM, it
// takes its state back and uploads work RAM over CGRAM as a game would, it
// refuses any other state, and its fault builds crash, hang and exit.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "capture/Capture.h"
#include "core/Process.h"
#include "preview/PreviewSession.h"
#include "tests/emulators/PreviewPicture.h"
#include "tests/emulators/ProgramRun.h"
#include "tests/emulators/StripeLayout.h"
#include "tests/support/TempDir.h"

namespace tintwright::test {
namespace {

constexpr int kWidth = 256;
constexpr int kHeight = 224;

using stripes::DrawnColor;

// A ROM of 1 KiB whose first 256 words all differ.
std::vector<std::uint8_t> TestRom() {
    std::vector<std::uint8_t> rom(1024, 0xFF);
    for (int i = 0; i < 256; ++i) {
        const int word = (i * 0x0123 + 0x0421) & 0x7FFF;
        rom[2 * i] = static_cast<std::uint8_t>(word);
        rom[2 * i + 1] = static_cast<std::uint8_t>(word >> 8);
    }
    return rom;
}

std::uint16_t RomWord(int index) {
    const std::vector<std::uint8_t> rom = TestRom();
    return static_cast<std::uint16_t>(rom[2 * index] | rom[2 * index + 1] << 8);
}

class TestCoreTest : public ::testing::Test {
protected:
    void SetUp() override { testing::WriteBytes(RomPath(), TestRom()); }

    std::string RomPath() const { return folder_.File("game.sfc"); }

    // The host run on the ROM for one frame, writing STATE and its frame;
    // from a state with --from START, under a wrapper such as timeout.
    ProgramRun Host(const char* core, const std::string& state, const std::string& start = "",
                    std::vector<std::string> command = {}) const {
        command.push_back(TINTWRIGHT_LIBRETRO_HOST);
        if (!start.empty()) command.insert(command.end(), {"--from", folder_.File(start)});
        command.insert(command.end(), {core, RomPath(), "1", folder_.File(state), folder_.File("frame.ppm")});
        return RunProgram(command);
    }

    std::vector<std::uint8_t> State(const std::string& name) const {
        return testing::ReadBytes(folder_.File(name));
    }

    // The CGRAM colours the frame shows, one pixel from each block.
    std::vector<std::uint32_t> Blocks() const {
        const std::vector<std::uint8_t> ppm = testing::ReadBytes(folder_.File("frame.ppm"));
        const std::string header = "P6\n256 224\n255\n";
        std::vector<std::uint32_t> blocks;
        if (ppm.size() != header.size() + 3u * kWidth * kHeight ||
            !std::equal(header.begin(), header.end(), ppm.begin()))
            return blocks;
        for (int index = 0; index < 256; ++index) {
            const std::size_t at =
                header.size() + 3u * ((index / 16 * 14 + 7) * kWidth + index % 16 * 16 + 8);
            blocks.push_back(std::uint32_t{ppm[at]} << 16 | std::uint32_t{ppm[at + 1]} << 8 | ppm[at + 2]);
        }
        return blocks;
    }

    const testing::TempDir folder_;
};

TEST_F(TestCoreTest, StateIsASnes9xCoreStateAndTheFrameShowsCgram) {
    ASSERT_EQ(Host(TINTWRIGHT_TEST_CORE, "first.state").exitCode, 0);
    const std::vector<std::uint8_t> file = State("first.state");
    const Result<Capture> capture = ReadCapture(file);
    ASSERT_TRUE(capture) << capture.Reason();
    EXPECT_EQ(capture.Value().format, "snes9x state (version 11)");
    ASSERT_TRUE(capture.Value().coreState);
    const CoreState& state = *capture.Value().coreState;
    EXPECT_EQ(state.emulator, "snes9x");
    EXPECT_EQ(state.bytes, file);
    EXPECT_TRUE(state.cgramBigEndian);
    ASSERT_EQ(capture.Value().colors.size(), 256u);
    const std::vector<std::uint32_t> blocks = Blocks();
    ASSERT_EQ(blocks.size(), 256u);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(capture.Value().colors[i], RomWord(i)) << i;
        EXPECT_EQ(blocks[i], DrawnColor(RomWord(i))) << i;
    }
}

// A word of CGRAM and one of WRAM changed in the state: after one frame the
// WRAM word shows, and the CGRAM word is painted over by WRAM's.
TEST_F(TestCoreTest, TakesItsStateBackAndUploadsWorkRamOverCgram) {
    ASSERT_EQ(Host(TINTWRIGHT_TEST_CORE, "first.state").exitCode, 0);
    std::vector<std::uint8_t> state = State("first.state");
    const std::size_t cgramAt = ReadCapture(state).Value().coreState->cgramAt;
    const std::string ramHeader = "RAM:131072:";
    const auto ram = std::search(state.begin(), state.end(), ramHeader.begin(), ramHeader.end());
    ASSERT_NE(ram, state.end());
    state[cgramAt + 2 * 5] = 0x7C;  // colour 5 blue, high byte first
    state[cgramAt + 2 * 5 + 1] = 0x00;
    *(ram + ramHeader.size() + 2 * 7) = 0x1F;  // colour 7 red, low byte first
    *(ram + ramHeader.size() + 2 * 7 + 1) = 0x00;
    testing::WriteBytes(folder_.File("edited.state"), state);

    ASSERT_EQ(Host(TINTWRIGHT_TEST_CORE, "second.state", "edited.state").exitCode, 0);
    const std::vector<std::uint32_t> blocks = Blocks();
    ASSERT_EQ(blocks.size(), 256u);
    EXPECT_EQ(blocks[7], DrawnColor(0x001F));
    EXPECT_EQ(blocks[5], DrawnColor(RomWord(5)));
    const std::vector<std::uint16_t> cgram = ReadCapture(State("second.state")).Value().colors;
    ASSERT_EQ(cgram.size(), 256u);
    EXPECT_EQ(cgram[7], 0x001F);
    EXPECT_EQ(cgram[5], RomWord(5));
}

TEST_F(TestCoreTest, RefusesEveryOtherState) {
    ASSERT_EQ(Host(TINTWRIGHT_TEST_CORE, "first.state").exitCode, 0);
    const std::vector<std::uint8_t> good = State("first.state");
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } broken[] = {
        {"one byte short", {good.begin(), good.end() - 1}},
        {"one byte more",
         [&] {
             auto bytes = good;
             bytes.push_back(0);
             return bytes;
         }()},
        {"another version",
         [&] {
             auto bytes = good;
             bytes[12] = '2';
             return bytes;
         }()},
        {"a PPU block of another size",
         [&] {
             auto bytes = good;
             bytes[14 + 9] = '7';
             return bytes;
         }()},
        {"empty", {}},
    };
    for (const auto& state : broken) {
        testing::WriteBytes(folder_.File("broken.state"), state.bytes);
        EXPECT_EQ(Host(TINTWRIGHT_TEST_CORE, "after.state", "broken.state").exitCode, 1) << state.name;
    }
}

TEST_F(TestCoreTest, FaultBuildsCrashHangAndExit) {
    ASSERT_EQ(Host(TINTWRIGHT_TEST_CORE, "first.state").exitCode, 0);
    const ProgramRun crashed = Host(TINTWRIGHT_TEST_CORE_CRASH, "after.state", "first.state");
    EXPECT_EQ(crashed.signal, SIGSEGV) << "exit " << crashed.exitCode;
    EXPECT_EQ(Host(TINTWRIGHT_TEST_CORE_HANG, "after.state", "", {"timeout", "1"}).exitCode, 124);
    EXPECT_EQ(Host(TINTWRIGHT_TEST_CORE_EXIT, "after.state").exitCode, 3);
}

// The game preview on our own core, which uploads work RAM over CGRAM every
// frame: an edited word shows in its block, and a core that crashes, hangs
// or exits ends only the host, each with its reason, and nothing is written.
TEST_F(TestCoreTest, ThePreviewShowsTheEditedWordAndAFaultyCoreCostsNothing) {
    ASSERT_EQ(Host(TINTWRIGHT_TEST_CORE, "first.state").exitCode, 0);
    std::vector<std::uint8_t> edited = TestRom();
    edited[2 * 7] = 0x1F;  // colour 7 red
    edited[2 * 7 + 1] = 0x00;
    testing::WriteBytes(folder_.File("edited.sfc"), edited);
    const std::string picture = folder_.File("frame.png");
    const auto preview = [&](const char* core) {
        return RunPreview({RomPath(), folder_.File("first.state"), "--edited", folder_.File("edited.sfc"),
                           "--core", core, "--output", picture});
    };
    const ProgramRun drawn = preview(TINTWRIGHT_TEST_CORE);
    ASSERT_EQ(drawn.exitCode, 0) << drawn.output;
    EXPECT_NE(drawn.output.find("rows 0–15 follow the ROM ($0; $20;"), std::string::npos) << drawn.output;
    const Picture frame = ReadPng(picture);
    ASSERT_EQ(frame.width, 512);
    ASSERT_EQ(frame.height, 448);
    for (int index = 0; index < 256; ++index)
        EXPECT_EQ(frame.AtCorePixel(index % 16 * 16 + 8, index / 16 * 14 + 7),
                  DrawnColor(index == 7 ? 0x001F : RomWord(index)))
            << index;

    std::filesystem::remove(picture);
    const struct {
        const char* core;
        const char* reason;
    } faults[] = {
        {TINTWRIGHT_TEST_CORE_CRASH, "The game preview stopped: tintwright-preview was ended by signal 11"},
        {TINTWRIGHT_TEST_CORE_HANG, "The game preview stopped: the core did not answer within 2 seconds"},
        {TINTWRIGHT_TEST_CORE_EXIT, "The game preview stopped: tintwright-preview exited with status 3"},
    };
    for (const auto& fault : faults) {
        const ProgramRun run = preview(fault.core);
        EXPECT_EQ(run.exitCode, 2) << fault.core;
        EXPECT_NE(run.output.find(fault.reason), std::string::npos) << run.output;
        EXPECT_FALSE(std::filesystem::exists(picture)) << fault.core;
    }
    EXPECT_EQ(testing::ReadBytes(folder_.File("edited.sfc")), edited);
}

// Playing runs the game on the working copy: a word no row maps stays as the
// state has it in a still frame, and arrives once the game loads its palette
// from the ROM again (Start, here) — the host must have handed the core the
// edited bytes, with the running state carried across.
TEST_F(TestCoreTest, PlayingRunsTheGameOnTheEditedRom) {
    ASSERT_EQ(Host(TINTWRIGHT_TEST_CORE, "first.state").exitCode, 0);
    const std::vector<std::uint8_t> state = State("first.state");
    Process& process = ThisProcess();
    const std::string host =
        (std::filesystem::path(TINTWRIGHT_PALETTE).parent_path() / "tintwright-preview").string();
    const auto now = [] {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    };
    auto started = PreviewSession::Start(
        process, host,
        {.corePath = TINTWRIGHT_TEST_CORE,
         .rom = TestRom(),
         .state = state,
         .cgramAt = static_cast<std::uint32_t>(ReadCapture(state).Value().coreState->cgramAt),
         .cgramBigEndian = true,
         .colors = {}},  // no row follows the ROM in a still frame
        now());
    ASSERT_TRUE(started) << started.Reason();
    PreviewSession& session = **started;
    // Colour index's block in the next frame that arrives.
    const auto nextFrame = [&] {
        for (;;) {
            PreviewUpdate update = session.Poll(now());
            if (update.stopped) return std::optional<FrameMessage>();
            if (update.frame) return update.frame;
            process.Sleep(1);
        }
    };
    const auto block = [](const FrameMessage& frame, int index) {
        return frame.pixels.at(
            static_cast<std::size_t>(2 * (index / 16 * 14 + 7) * frame.width + 2 * (index % 16 * 16 + 8)));
    };
    ASSERT_TRUE(nextFrame());
    session.Send(RomChangedMessage{.offset = 2 * 7, .bytes = {0x1F, 0x00}}, now());
    session.Send(DrawMessage{1}, now());
    const auto still = nextFrame();
    ASSERT_TRUE(still);
    EXPECT_EQ(block(*still, 7), DrawnColor(RomWord(7)));

    session.Send(InputMessage{1u << 3}, now());  // RETRO_DEVICE_ID_JOYPAD_START
    session.Send(PlayMessage{true}, now());
    std::optional<FrameMessage> played;
    for (int frame = 0; frame < 30 && (!played || block(*played, 7) != DrawnColor(0x001F)); ++frame)
        played = nextFrame();
    ASSERT_TRUE(played);
    EXPECT_EQ(block(*played, 7), DrawnColor(0x001F));
    EXPECT_EQ(block(*played, 5), DrawnColor(RomWord(5)));
}

}  // namespace
}  // namespace tintwright::test
