// Save states written by real emulators running the test LoROM.

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/FileSystem.h"
#include "tests/emulators/TestRomLayout.h"

namespace tintwright::test {
namespace {

struct EmulatorState {
    const char* emulator;
    const char* rom;
    const char* magic;  // what the state starts with, after gzip where it has it
    bool gzipped;
};

const EmulatorState kStates[] = {
    {"mednafen-snes", "palette-test", "MDFNSVST", true},
    {"mednafen-snes", "palette-fade", "MDFNSVST", true},
    {"mednafen-snes_faust", "palette-test", "MDFNSVST", true},
    {"mednafen-snes_faust", "palette-fade", "MDFNSVST", true},
    {"bsnes-mercury", "palette-test", "BST1", false},
    {"bsnes-mercury", "palette-fade", "BST1", false},
};

void PrintTo(const EmulatorState& state, std::ostream* out) {
    *out << state.emulator << " on " << state.rom;
}

std::string StateName(const testing::TestParamInfo<EmulatorState>& info) {
    std::string name = std::string(info.param.emulator) + "_" + info.param.rom;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

std::vector<std::uint8_t> Gunzip(const std::vector<std::uint8_t>& packed) {
    std::vector<std::uint8_t> bytes(8u << 20);
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) return {};
    stream.next_in = const_cast<Bytef*>(packed.data());
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = bytes.data();
    stream.avail_out = static_cast<uInt>(bytes.size());
    const int result = inflate(&stream, Z_FINISH);
    bytes.resize(result == Z_STREAM_END ? stream.total_out : 0);
    inflateEnd(&stream);
    return bytes;
}

std::vector<std::uint8_t> AsBytes(const std::vector<std::uint16_t>& words) {
    std::vector<std::uint8_t> bytes;
    for (const std::uint16_t word : words) {
        bytes.push_back(static_cast<std::uint8_t>(word));
        bytes.push_back(static_cast<std::uint8_t>(word >> 8));
    }
    return bytes;
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

bool Contains(const std::vector<std::uint8_t>& haystack, const std::vector<std::uint8_t>& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

class EmulatorStateTest : public testing::TestWithParam<EmulatorState> {
protected:
    void SetUp() override {
        const EmulatorState& state = GetParam();
        ASSERT_TRUE(layout_.Error().empty()) << layout_.Error();
        statePath_ = std::string(TINTWRIGHT_STATE_DIR "/") + state.emulator + "." + state.rom + ".state";
        const FileOutcome read = ReadWholeFile(statePath_, 64u << 20, stateFile_);
        ASSERT_TRUE(read) << statePath_ << ": " << read.Reason();
    }

    TestRomLayout layout_{GetParam().rom};
    std::string statePath_;
    std::vector<std::uint8_t> stateFile_;
};

// The emulator wrote a state of its own format, and in it CGRAM holds the
// three rows the ROM loaded (darkened by one or two steps in the fading ROM).
TEST_P(EmulatorStateTest, HoldsTheRowsTheRomLoaded) {
    const EmulatorState& state = GetParam();
    const std::vector<std::uint8_t> bytes = state.gzipped ? Gunzip(stateFile_) : stateFile_;
    const std::string magic = state.magic;
    ASSERT_GE(bytes.size(), magic.size()) << statePath_;
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + magic.size()), magic) << statePath_;

    std::vector<std::uint16_t> rows;
    for (int row = 0; row < 3; ++row) {
        const std::vector<std::uint16_t> words = layout_.Row(row);
        rows.insert(rows.end(), words.begin(), words.end());
    }
    if (std::string(state.rom) == "palette-fade") {
        EXPECT_TRUE(Contains(bytes, AsBytes(Darkened(rows, 1))) ||
                    Contains(bytes, AsBytes(Darkened(rows, 2))))
            << statePath_;
    } else {
        EXPECT_TRUE(Contains(bytes, AsBytes(rows))) << statePath_;
    }
}

INSTANTIATE_TEST_SUITE_P(RealEmulators, EmulatorStateTest, testing::ValuesIn(kStates), StateName);

}  // namespace
}  // namespace tintwright::test
