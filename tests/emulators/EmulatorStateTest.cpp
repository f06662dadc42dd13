// Save states written by real emulators running the test LoROM, read by the
// capture readers and searched by the console program.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "capture/Capture.h"
#include "core/FileSystem.h"
#include "tests/emulators/TestRomLayout.h"

namespace tintwright::test {
namespace {

struct EmulatorState {
    const char* emulator;
    const char* rom;
    const char* format;  // what the reader calls it
};

const EmulatorState kStates[] = {
    {"mednafen-snes", "palette-test", "mednafen state (module snes)"},
    {"mednafen-snes", "palette-fade", "mednafen state (module snes)"},
    {"mednafen-snes_faust", "palette-test", "mednafen state (module snes_faust)"},
    {"mednafen-snes_faust", "palette-fade", "mednafen state (module snes_faust)"},
    {"bsnes-mercury", "palette-test", "higan v094 / bsnes-mercury"},
    {"bsnes-mercury", "palette-fade", "higan v094 / bsnes-mercury"},
};

void PrintTo(const EmulatorState& state, std::ostream* out) {
    *out << state.emulator << " on " << state.rom;
}

std::string StateName(const ::testing::TestParamInfo<EmulatorState>& info) {
    std::string name = std::string(info.param.emulator) + "_" + info.param.rom;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

// Each channel lowered by step and stopped at 0, as the fading ROM does.
std::vector<std::uint16_t> Darkened(std::vector<std::uint16_t> words, int step) {
    for (std::uint16_t& word : words) {
        int result = 0;
        for (const int shift : {0, 5, 10}) result |= std::max(((word >> shift) & 31) - step, 0) << shift;
        word = static_cast<std::uint16_t>(result);
    }
    return words;
}

class EmulatorStateTest : public ::testing::TestWithParam<EmulatorState> {
protected:
    void SetUp() override {
        ASSERT_TRUE(layout_.Error().empty()) << layout_.Error();
        statePath_ =
            std::string(TINTWRIGHT_STATE_DIR "/") + GetParam().emulator + "." + GetParam().rom + ".state";
        const FileOutcome read = ReadWholeFile(statePath_, 64u << 20, stateFile_);
        ASSERT_TRUE(read) << statePath_ << ": " << read.Reason();
    }

    bool Fades() const { return std::string(GetParam().rom) == "palette-fade"; }

    // CGRAM rows 0 to 2 as the ROM stores them.
    std::vector<std::uint16_t> StoredRows() const {
        std::vector<std::uint16_t> rows;
        for (int row = 0; row < 3; ++row) {
            const std::vector<std::uint16_t> words = layout_.Row(row);
            rows.insert(rows.end(), words.begin(), words.end());
        }
        return rows;
    }

    const TestRomLayout layout_{GetParam().rom};
    std::string statePath_;
    std::vector<std::uint8_t> stateFile_;
};

// The reader knows the emulator's state, and CGRAM holds the three rows the
// ROM loaded (in the fading ROM, all one or all two steps darker).
TEST_P(EmulatorStateTest, CgramHoldsTheRowsTheRomLoaded) {
    const CaptureReading capture = ReadCapture(stateFile_);
    ASSERT_TRUE(capture) << statePath_ << ": " << capture.Error();
    EXPECT_NE(capture.Value().format.find(GetParam().format), std::string::npos) << capture.Value().format;
    const std::vector<std::uint16_t>& cgram = capture.Value().colors;
    ASSERT_EQ(cgram.size(), 256u);
    const std::vector<std::uint16_t> shown(cgram.begin(), cgram.begin() + 48);
    if (Fades()) {
        EXPECT_TRUE(shown == Darkened(StoredRows(), 1) || shown == Darkened(StoredRows(), 2));
    } else {
        EXPECT_EQ(shown, StoredRows());
    }
    EXPECT_TRUE(std::all_of(cgram.begin() + 48, cgram.end(), [](std::uint16_t word) { return word == 0; }));
}

INSTANTIATE_TEST_SUITE_P(RealEmulators, EmulatorStateTest, ::testing::ValuesIn(kStates), StateName);

}  // namespace
}  // namespace tintwright::test
