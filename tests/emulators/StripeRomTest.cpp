// The stripe ROMs run by the bsnes-mercury core, which the game preview's
// tests stand on: the state each leaves is one the core can take back, with
// the stored rows where the reader says CGRAM is, the frame the core draws
// shows every CGRAM colour exactly in the area StripeLayout.h gives, and only
// the WRAM build paints a change made to CGRAM alone over.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "capture/Capture.h"
#include "core/FileSystem.h"
#include "tests/emulators/PreviewPicture.h"
#include "tests/emulators/ProgramRun.h"
#include "tests/emulators/StripeLayout.h"
#include "tests/emulators/TestRomLayout.h"
#include "tests/support/TempDir.h"

namespace tintwright::test {
namespace {

using namespace stripes;

// A binary PPM as the libretro host writes it, as 0x00RRGGBB.
std::vector<std::uint32_t> ReadFrame(const std::vector<std::uint8_t>& file, int& width, int& height) {
    std::istringstream header(
        std::string(file.begin(), file.begin() + std::min<std::size_t>(file.size(), 32)));
    std::string magic;
    int maximum = 0;
    header >> magic >> width >> height >> maximum;
    const std::size_t at = static_cast<std::size_t>(header.tellg()) + 1;
    std::vector<std::uint32_t> pixels;
    if (magic != "P6" || maximum != 255 || file.size() != at + 3u * width * height) return pixels;
    for (std::size_t i = at; i < file.size(); i += 3)
        pixels.push_back(std::uint32_t{file[i]} << 16 | std::uint32_t{file[i + 1]} << 8 | file[i + 2]);
    return pixels;
}

class StripeRomTest : public ::testing::TestWithParam<const char*> {
protected:
    StripeRomTest() : layout_(GetParam(), {kStripeRowsLabel}) {}

    void SetUp() override { ASSERT_TRUE(layout_.Error().empty()) << layout_.Error(); }

    std::vector<std::uint16_t> StoredRows() const {
        return layout_.WordsAt(layout_.Place(kStripeRowsLabel).offset, kShownIndices);
    }

    bool UploadsFromWram() const { return std::string(GetParam()) == "stripes-wram"; }

    // The state the bsnes-mercury core left after 30 frames of the ROM, or
    // one RetroArch saved while running it.
    std::vector<std::uint8_t> StateFile(const std::string& emulator = "bsnes-mercury") const {
        const std::string path = TINTWRIGHT_STATE_DIR "/" + emulator + "." + GetParam() + ".state";
        std::vector<std::uint8_t> file;
        const FileOutcome read = ReadWholeFile(path, 64u << 20, file);
        EXPECT_TRUE(read) << path << ": " << read.Reason();
        return file;
    }

    // The frame the core draws after FRAMES frames, from reset or from a state.
    std::vector<std::uint32_t> DrawFrame(const char* frames,
                                         const std::vector<std::uint8_t>& start = {}) const {
        std::vector<std::string> command = {TINTWRIGHT_LIBRETRO_HOST};
        if (!start.empty()) {
            testing::WriteBytes(folder_.File("start.state"), start);
            command.insert(command.end(), {"--from", folder_.File("start.state")});
        }
        command.insert(command.end(), {TINTWRIGHT_BSNES_MERCURY_CORE, layout_.RomPath(), frames,
                                       folder_.File("game.state"), folder_.File("frame.ppm")});
        EXPECT_EQ(RunProgram(command).exitCode, 0);
        int width = 0;
        int height = 0;
        std::vector<std::uint32_t> frame =
            ReadFrame(testing::ReadBytes(folder_.File("frame.ppm")), width, height);
        EXPECT_EQ(width, kFrameWidth);
        EXPECT_EQ(height, kFrameHeight);
        if (frame.size() != std::size_t{kFrameWidth} * kFrameHeight) frame.clear();
        return frame;
    }

    static std::uint32_t ColorOf(const std::vector<std::uint32_t>& frame, int index) {
        const Pixel pixel = PixelOf(index).value();
        return frame.at(pixel.y * kFrameWidth + pixel.x);
    }

    const TestRomLayout layout_;
    const testing::TempDir folder_;
};

TEST_P(StripeRomTest, StateIsACoreStateWithTheStoredRowsInCgram) {
    const std::vector<std::uint8_t> file = StateFile();
    const Result<Capture> capture = ReadCapture(file);
    ASSERT_TRUE(capture) << capture.Reason();
    const std::vector<std::uint16_t>& cgram = capture.Value().colors;
    ASSERT_EQ(cgram.size(), 256u);
    EXPECT_EQ(std::vector<std::uint16_t>(cgram.begin(), cgram.begin() + kShownIndices), StoredRows());
    ASSERT_TRUE(capture.Value().coreState);
    const CoreState& state = *capture.Value().coreState;
    EXPECT_EQ(state.emulator, "bsnes-mercury Balanced");
    EXPECT_EQ(state.bytes, file);
    ASSERT_FALSE(state.cgramBigEndian);
    ASSERT_LE(state.cgramAt + 512, state.bytes.size());
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(state.bytes[state.cgramAt + 2 * i] | state.bytes[state.cgramAt + 2 * i + 1] << 8, cgram[i])
            << i;

    // The rows' bytes stand in CGRAM, and in the build that uploads them
    // every vblank also in its work-RAM copy.
    const std::vector<std::uint8_t>& rom = layout_.Rom();
    const auto rowsAt = rom.begin() + layout_.Place(kStripeRowsLabel).offset;
    const std::vector<std::uint8_t> rowBytes(rowsAt, rowsAt + 2 * kShownIndices);
    int copies = 0;
    for (auto at = file.begin();
         (at = std::search(at, file.end(), rowBytes.begin(), rowBytes.end())) != file.end(); ++at)
        ++copies;
    EXPECT_EQ(copies, UploadsFromWram() ? 2 : 1);
}

TEST_P(StripeRomTest, FrameShowsEachColourInItsOwnArea) {
    const std::vector<std::uint32_t> frame = DrawFrame("30");
    ASSERT_FALSE(frame.empty());
    const std::vector<std::uint16_t> rows = StoredRows();
    std::set<int> wrong;
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            const int index = IndexAt(x, y);
            if (frame[y * kFrameWidth + x] != DrawnColor(rows[index])) wrong.insert(index);
        }
    }
    EXPECT_TRUE(wrong.empty()) << "areas not in their colour: " << ::testing::PrintToString(wrong);
    for (int index = 0; index < kShownIndices; ++index) {
        const std::optional<Pixel> pixel = PixelOf(index);
        ASSERT_EQ(pixel.has_value(), IsShown(index)) << index;
        if (pixel) {
            EXPECT_EQ(ColorOf(frame, index), DrawnColor(rows[index])) << index;
        }
    }
}

// What the preview must patch: a colour changed in the state's CGRAM alone
// shows in the next frame of the ROM that loads its rows once, and is painted
// over from work RAM before that frame by the one that uploads every vblank.
TEST_P(StripeRomTest, ColourChangedInCgramAloneShowsOnlyWithoutTheWramUpload) {
    std::vector<std::uint8_t> state = StateFile();
    const Result<Capture> capture = ReadCapture(state);
    ASSERT_TRUE(capture && capture.Value().coreState) << capture.Reason();
    const std::size_t cgramAt = capture.Value().coreState->cgramAt;
    state.at(cgramAt + 2) = 0xFF;  // index 1 white, low byte first
    state.at(cgramAt + 3) = 0x7F;
    const std::vector<std::uint32_t> frame = DrawFrame("1", state);
    ASSERT_FALSE(frame.empty());
    const std::vector<std::uint16_t> rows = StoredRows();
    EXPECT_EQ(ColorOf(frame, 1), DrawnColor(UploadsFromWram() ? rows[1] : 0x7FFF));
    EXPECT_EQ(ColorOf(frame, 2), DrawnColor(rows[2]));
}

// The game preview through the real core: an edited ROM word changes exactly
// its stripe, in the build that uploads from work RAM too, and a row the
// search does not find in the ROM stays as the state has it.
TEST_P(StripeRomTest, ThePreviewShowsAnEditedWordInItsStripeOnlyAndLeavesUnfoundRowsAlone) {
    const std::vector<std::uint16_t> rows = StoredRows();
    const std::uint32_t rowsAt = layout_.Place(kStripeRowsLabel).offset;
    const auto withWords = [&](const std::string& name, int first, int count, std::uint16_t change) {
        std::vector<std::uint8_t> rom = layout_.Rom();
        for (int index = first; index < first + count; ++index) {
            const std::uint16_t word = change == 0x001F ? change : rows[index] ^ change;
            rom.at(rowsAt + 2 * index) = static_cast<std::uint8_t>(word);
            rom.at(rowsAt + 2 * index + 1) = static_cast<std::uint8_t>(word >> 8);
        }
        testing::WriteBytes(folder_.File(name), rom);
        return folder_.File(name);
    };
    const std::string edited = withWords("edited.sfc", 17, 1, 0x001F);
    const std::string unfound = withWords("unfound.sfc", 48, 16, 0x2108);
    const struct {
        std::string rom, edited;
        int changed;  // the index whose word the frame shows changed, or -1
        const char* said;
        const char* emulator;
    } runs[] = {
        {layout_.RomPath(), edited, 17, "rows 0–7 follow the ROM", "bsnes-mercury"},
        {unfound, unfound, -1, "rows 3, 8–15 were not found", "bsnes-mercury"},
        {layout_.RomPath(), edited, 17, "rows 0–7 follow the ROM", "retroarch"},
        {layout_.RomPath(), edited, 17, "rows 0–7 follow the ROM", "retroarch-compressed"},
    };
    for (const auto& run : runs) {
        if (std::string(run.emulator) != "bsnes-mercury" && !UploadsFromWram()) continue;
        const std::string state = folder_.File("game.state");
        testing::WriteBytes(state, StateFile(run.emulator));
        const std::string picture = folder_.File("frame.png");
        const ProgramRun drawn = RunPreview({run.rom, state, "--edited", run.edited, "--output", picture});
        ASSERT_EQ(drawn.exitCode, 0) << drawn.output;
        EXPECT_NE(drawn.output.find(run.said), std::string::npos) << drawn.output;
        const Picture frame = ReadPng(picture);
        ASSERT_EQ(frame.width, 2 * kFrameWidth);
        for (int index = 0; index < kShownIndices; ++index) {
            if (!IsShown(index)) continue;
            const Pixel pixel = PixelOf(index).value();
            EXPECT_EQ(frame.AtCorePixel(pixel.x, pixel.y),
                      DrawnColor(index == run.changed ? 0x001F : rows[index]))
                << run.emulator << " " << run.edited << " index " << index;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BsnesMercury, StripeRomTest, ::testing::Values("stripes", "stripes-wram"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param) == "stripes" ? "LoadedOnce" : "UploadedFromWram";
                         });

// tintwright-palette live on the stripe ROM that keeps row 1 at copies A and
// B (loaded at reset and while Start is held) beside a decoy with 15 of its
// colours, and fades row 2 by code from frame 60 of the run on; switched on,
// it loads row 1 from A.
TEST(LiveRun, TellsTheCopyTheGameLoadsAndARowItComputes) {
    const TestRomLayout layout("stripes-live", {kStripeRowsLabel, "LiveCopyA", "LiveCopyB", "LiveDecoy"});
    ASSERT_TRUE(layout.Error().empty()) << layout.Error();
    const auto place = [&layout](const char* label) {
        std::ostringstream text;
        text << '$' << std::uppercase << std::hex << layout.Place(label).offset;
        return text.str();
    };
    const std::string a = place("LiveCopyA"), b = place("LiveCopyB"), decoy = place("LiveDecoy");
    const std::string state = TINTWRIGHT_STATE_DIR "/bsnes-mercury.stripes-live.state";
    const auto live = [&](std::vector<std::string> options) {
        std::string command = "exec '" TINTWRIGHT_PALETTE "' live '" + layout.RomPath() + "' '" + state + "'";
        for (const std::string& option : options) command += " '" + option + "'";
        return RunProgram({"sh", "-c", command + " 2>&1"});
    };
    const struct {
        std::vector<std::string> options;
        int exitCode;
        std::string row1, row2;
        std::string neverLive;  // a place no line may name as loaded
    } runs[] = {
        {{},
         1,
         "row 1: not reloaded in 600 frames: the game loaded it before the state was saved",
         "row 2: computed",
         a},
        {{"--press", "start@10", "--frames", "120"},
         0,
         "row 1: loaded from " + b + " ($03:A1A0) at frame 11; ",
         "row 2: computed",
         a},
        // Switched on, the game loads row 1 from its first copy.
        {{"--from-power-on", "--frames", "60"},
         0,
         "row 1: loaded from " + a + " ($03:A120) at frame 0; ",
         "row 2: loaded from",
         b},
    };
    for (const auto& run : runs) {
        const ProgramRun ran = live(run.options);
        EXPECT_EQ(ran.exitCode, run.exitCode) << ran.output;
        EXPECT_NE(ran.output.find(run.row1), std::string::npos) << ran.output;
        EXPECT_NE(ran.output.find(run.row2), std::string::npos) << ran.output;
        EXPECT_EQ(ran.output.find("loaded from " + run.neverLive), std::string::npos) << ran.output;
        EXPECT_EQ(ran.output.find("loaded from " + decoy), std::string::npos) << ran.output;
    }
    const ProgramRun json = live({"--press", "start@10", "--frames", "120", "--json"});
    EXPECT_EQ(json.exitCode, 0) << json.output;
    EXPECT_NE(json.output.find("{\"row\": 1, \"status\": \"loaded\", \"live\": [{\"offset\": " +
                               std::to_string(layout.Place("LiveCopyB").offset) +
                               ", \"bus_address\": \"$03:A1A0\", \"frame\": 11}], \"not_loaded\": [" +
                               std::to_string(layout.Place("LiveCopyA").offset) + ", " +
                               std::to_string(layout.Place("LiveDecoy").offset) + "]}"),
              std::string::npos)
        << json.output;
    EXPECT_NE(json.output.find("{\"row\": 2, \"status\": \"computed\", \"live\": []"), std::string::npos)
        << json.output;

    const struct {
        std::vector<std::string> options;
        const char* said;
    } refused[] = {
        {{"--frames", "0"}, "--frames must be 1 to 36000, not 0"},
        {{"--frames", "99999999999"}, "--frames must be 1 to 36000, not 99999999999"},
        {{"--press", "jump@3"}, "no button is named \"jump\""},
    };
    for (const auto& c : refused) {
        const ProgramRun ran = live(c.options);
        EXPECT_EQ(ran.exitCode, 2) << ran.output;
        EXPECT_NE(ran.output.find(c.said), std::string::npos) << ran.output;
    }
    const std::string mednafen = TINTWRIGHT_STATE_DIR "/mednafen-snes.palette-test.state";
    const ProgramRun other =
        RunProgram({"sh", "-c",
                    "exec '" TINTWRIGHT_PALETTE "' live '" + layout.RomPath() + "' '" + mednafen + "' 2>&1"});
    EXPECT_EQ(other.exitCode, 2) << other.output;
    EXPECT_NE(other.output.find("cannot be run by a libretro core"), std::string::npos) << other.output;
}

}  // namespace
}  // namespace tintwright::test
