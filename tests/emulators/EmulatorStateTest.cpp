// Save states written by real emulators running the test LoROMs, read by the
// capture readers and searched by the console program as a user runs it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "capture/Capture.h"
#include "core/FileSystem.h"
#include "tests/emulators/ProgramRun.h"
#include "tests/emulators/TestRomLayout.h"

namespace tintwright::test {
namespace {

using nlohmann::json;

// Where the bytes a libretro core unserializes stand in an emulator's file.
enum class CoreBytes {
    None,          // mednafen's states are for no core
    WholeFile,     // the core's own retro_serialize bytes
    AfterRastate,  // RetroArch's plain state: after RASTATE and the MEM block's header
    InRzip,        // RetroArch's compressed state, whose RZIP header gives the inflated size
};

struct Emulator {
    const char* name;    // as make-state.sh knows it
    const char* format;  // what the capture reader calls its states
    CoreBytes coreBytes;
};

const Emulator kEmulators[] = {
    {"mednafen-snes", "mednafen state (module snes)", CoreBytes::None},
    {"mednafen-snes_faust", "mednafen state (module snes_faust)", CoreBytes::None},
    {"bsnes-mercury", "higan v094 / bsnes-mercury", CoreBytes::WholeFile},
    {"retroarch", "RetroArch state: bsnes-family state (higan v094 / bsnes-mercury", CoreBytes::AfterRastate},
    {"retroarch-compressed", "RetroArch state (compressed): bsnes-family state (higan v094 / bsnes-mercury",
     CoreBytes::InRzip},
};

void PrintTo(const Emulator& emulator, std::ostream* out) {
    *out << emulator.name;
}

std::string EmulatorName(const ::testing::TestParamInfo<Emulator>& info) {
    std::string name = info.param.name;
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

std::string BusText(std::uint32_t address) {
    char text[16];
    std::snprintf(text, sizeof text, "$%02X:%04X", address >> 16, address & 0xFFFF);
    return text;
}

class EmulatorStateTest : public ::testing::TestWithParam<Emulator> {
protected:
    explicit EmulatorStateTest(const char* rom) : rom_(rom), layout_(rom) {}

    void SetUp() override {
        ASSERT_TRUE(layout_.Error().empty()) << layout_.Error();
        statePath_ = std::string(TINTWRIGHT_STATE_DIR "/") + GetParam().name + "." + rom_ + ".state";
        const FileOutcome read = ReadWholeFile(statePath_, 64u << 20, stateFile_);
        ASSERT_TRUE(read) << statePath_ << ": " << read.Reason();
    }

    // CGRAM as the capture reader finds it in the state, after checking the
    // reader took the state for what it is.
    std::vector<std::uint16_t> Cgram() const {
        const Result<Capture> capture = ReadCapture(stateFile_);
        EXPECT_TRUE(capture) << statePath_ << ": " << capture.Reason();
        EXPECT_NE(capture.Value().format.find(GetParam().format), std::string::npos)
            << capture.Value().format;
        ExpectCoreStateHoldsCgram(capture.Value());
        return capture.Value().colors;
    }

    // A state of the libretro core is what the core unserializes, with the
    // capture's words where the reader says CGRAM is; mednafen's is none.
    void ExpectCoreStateHoldsCgram(const Capture& capture) const {
        const CoreBytes coreBytes = GetParam().coreBytes;
        if (coreBytes == CoreBytes::None) {
            EXPECT_FALSE(capture.coreState);
            return;
        }
        ASSERT_TRUE(capture.coreState);
        const CoreState& state = *capture.coreState;
        EXPECT_EQ(state.emulator, "bsnes-mercury Balanced");
        ASSERT_LE(state.cgramAt + 512, state.bytes.size());
        EXPECT_EQ(std::string(state.bytes.begin(), state.bytes.begin() + 4), "BST1");
        if (coreBytes == CoreBytes::WholeFile) {
            EXPECT_EQ(state.bytes, stateFile_);
        }
        if (coreBytes == CoreBytes::AfterRastate) {
            ASSERT_GE(stateFile_.size(), 16 + state.bytes.size());
            EXPECT_TRUE(std::equal(state.bytes.begin(), state.bytes.end(), stateFile_.begin() + 16));
        }
        if (coreBytes == CoreBytes::InRzip) {
            // RASTATE and the MEM block's header, the core's bytes padded to 8, END.
            std::uint64_t total = 0;
            for (int i = 7; i >= 0; --i) total = total << 8 | stateFile_.at(12 + i);
            EXPECT_EQ(total, 16 + (state.bytes.size() + 7) / 8 * 8 + 8);
        }
        for (std::size_t i = 0; i < capture.colors.size(); ++i)
            EXPECT_EQ(state.bytes[state.cgramAt + 2 * i] | state.bytes[state.cgramAt + 2 * i + 1] << 8,
                      capture.colors[i])
                << "colour " << i;
    }

    // CGRAM rows 0 to 2 as the ROM stores them.
    std::vector<std::uint16_t> StoredRows() const {
        std::vector<std::uint16_t> rows;
        for (int row = 0; row < 3; ++row) {
            const std::vector<std::uint16_t> words = layout_.Row(row);
            rows.insert(rows.end(), words.begin(), words.end());
        }
        return rows;
    }

    // The hits of `tintwright-palette find ROM STATE --json`, best first.
    json Find(std::vector<std::string> options = {}) const {
        std::vector<std::string> command = {TINTWRIGHT_PALETTE, "find", layout_.RomPath(), statePath_,
                                            "--json"};
        command.insert(command.end(), options.begin(), options.end());
        const ProgramRun run = RunProgram(command);
        EXPECT_TRUE(run.exitCode == 0 || run.exitCode == 1) << "exit " << run.exitCode;
        const json hits = json::parse(run.output, nullptr, false);
        EXPECT_TRUE(hits.is_array()) << run.output;
        EXPECT_EQ(run.exitCode == 0, hits.is_array() && !hits.empty());
        return hits.is_array() ? hits : json::array();
    }

    bool IsAt(const json& hit, int row, const std::string& label, std::uint32_t plus = 0) const {
        return hit["row"] == row && hit["offset"] == layout_.Place(label).offset + plus;
    }

    // Row 0 at its planted place ranks first, whole, with its bus address;
    // every hit at the decoy ranks below it and none is whole.
    void ExpectPlantedRowFirstAndDecoyBelow(const json& hits) const {
        ASSERT_FALSE(hits.empty());
        EXPECT_TRUE(IsAt(hits[0], 0, "PlantedRows")) << hits[0];
        EXPECT_EQ(hits[0]["length"], 16);
        EXPECT_EQ(hits[0]["mismatches"], 0);
        EXPECT_EQ(hits[0]["bus_address"], BusText(layout_.Place("PlantedRows").busAddress));
        const std::uint32_t decoy = layout_.Place("DecoyRow").offset;
        int decoyHits = 0;
        for (const json& hit : hits) {
            if (hit["offset"] < decoy || hit["offset"] >= decoy + 32) continue;
            ++decoyHits;
            EXPECT_FALSE(hit["length"] == 16 && hit["mismatches"] == 0) << hit;
        }
        EXPECT_GT(decoyHits, 0) << "the decoy is a near match and should be listed";
        ASSERT_GE(hits.size(), 2u);
        EXPECT_TRUE(IsAt(hits[1], 1, "PlantedRows", 32)) << hits[1];
    }

    // Row 2, stored as two halves, is one hit holding both.
    void ExpectSplitRowWhole(const json& hits) const {
        const auto isRow2 = [](const json& hit) { return hit["row"] == 2; };
        const auto best = std::find_if(hits.begin(), hits.end(), isRow2);
        ASSERT_NE(best, hits.end());
        EXPECT_EQ((*best)["length"], 16);
        ASSERT_EQ((*best)["parts"].size(), 2u) << *best;
        const json& parts = (*best)["parts"];
        EXPECT_EQ(parts[0]["offset"], layout_.Place("SplitFirst").offset);
        EXPECT_EQ(parts[0]["first_index"], 0);
        EXPECT_EQ(parts[1]["offset"], layout_.Place("SplitLast").offset);
        EXPECT_EQ(parts[1]["first_index"], 8);
        EXPECT_EQ(parts[1]["bus_address"], BusText(layout_.Place("SplitLast").busAddress));
        EXPECT_EQ(std::count_if(hits.begin(), hits.end(), isRow2), 1) << "the halves are reported once";
    }

    const std::string rom_;
    const TestRomLayout layout_;
    std::string statePath_;
    std::vector<std::uint8_t> stateFile_;
};

// The ROM that loads its rows once.
class LoadedStateTest : public EmulatorStateTest {
protected:
    LoadedStateTest() : EmulatorStateTest("palette-test") {}
};

// The ROM that shows its rows one or two steps darker, changing every 8 frames.
class FadedStateTest : public EmulatorStateTest {
protected:
    FadedStateTest() : EmulatorStateTest("palette-fade") {}
};

TEST_P(LoadedStateTest, CgramHoldsTheRowsAsStored) {
    const std::vector<std::uint16_t> cgram = Cgram();
    ASSERT_EQ(cgram.size(), 256u);
    EXPECT_EQ(std::vector<std::uint16_t>(cgram.begin(), cgram.begin() + 48), StoredRows());
    EXPECT_TRUE(std::all_of(cgram.begin() + 48, cgram.end(), [](std::uint16_t word) { return word == 0; }));
}

TEST_P(LoadedStateTest, FindRanksThePlantedPlacesFirst) {
    const json hits = Find();
    ExpectPlantedRowFirstAndDecoyBelow(hits);
    ExpectSplitRowWhole(hits);
}

TEST_P(FadedStateTest, CgramHoldsTheRowsOneOrTwoStepsDarker) {
    const std::vector<std::uint16_t> cgram = Cgram();
    ASSERT_EQ(cgram.size(), 256u);
    const std::vector<std::uint16_t> shown(cgram.begin(), cgram.begin() + 48);
    EXPECT_TRUE(shown == Darkened(StoredRows(), 1) || shown == Darkened(StoredRows(), 2));
}

TEST_P(FadedStateTest, FindNeedsToleranceThenRanksThePlantedPlacesFirst) {
    for (const json& hit : Find()) EXPECT_GT(hit["row"], 2) << "every faded colour differs from the ROM's";
    const json hits = Find({"--tolerance", "2", "--mismatches", "2"});
    ExpectPlantedRowFirstAndDecoyBelow(hits);
    ExpectSplitRowWhole(hits);
}

INSTANTIATE_TEST_SUITE_P(RealEmulators, LoadedStateTest, ::testing::ValuesIn(kEmulators), EmulatorName);
INSTANTIATE_TEST_SUITE_P(RealEmulators, FadedStateTest, ::testing::ValuesIn(kEmulators), EmulatorName);

}  // namespace
}  // namespace tintwright::test
