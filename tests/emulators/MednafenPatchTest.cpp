// mednafen as a real consumer of the IPS patches the console program writes:
// it applies GAME.sfc.ips when it loads GAME.sfc.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/Capture.h"
#include "tests/emulators/ProgramRun.h"
#include "tests/emulators/TestRomLayout.h"
#include "tests/support/TempDir.h"

namespace tintwright::test {
namespace {

TEST(MednafenPatchTest, ShowsTheEditedColorWhenItLoadsTheRomWithThePatchBeside) {
    const TestRomLayout layout("palette-test");
    ASSERT_TRUE(layout.Error().empty()) << layout.Error();
    const tintwright::testing::TempDir folder;
    // The user's edit: colour 3 of row 0 made magenta.
    const int editedIndex = 3;
    const std::uint16_t magenta = 0x7C1F;
    std::vector<std::uint8_t> edited = layout.Rom();
    const std::uint32_t offset = layout.Place("PlantedRows").offset + 2 * editedIndex;
    edited[offset] = static_cast<std::uint8_t>(magenta);
    edited[offset + 1] = static_cast<std::uint8_t>(magenta >> 8);
    tintwright::testing::WriteBytes(folder.File("edited.sfc"), edited);

    const std::string patch = folder.File("edited.ips");
    ASSERT_EQ(RunProgram({TINTWRIGHT_PALETTE, "patch", layout.RomPath(), folder.File("edited.sfc"), patch})
                  .exitCode,
              0);
    const std::string state = folder.File("patched.mca");
    ASSERT_EQ(RunProgram({TINTWRIGHT_MAKE_STATE, "mednafen-snes", layout.RomPath(), state, patch}).exitCode,
              0);

    const std::vector<std::uint8_t> stateBytes = tintwright::testing::ReadBytes(state);
    const Result<Capture> capture = ReadCapture(stateBytes);
    ASSERT_TRUE(capture) << capture.Reason();
    const std::vector<std::uint16_t>& cgram = capture.Value().colors;
    ASSERT_GE(cgram.size(), 16u);
    std::vector<std::uint16_t> expected = layout.Row(0);
    expected[editedIndex] = magenta;
    EXPECT_EQ(std::vector<std::uint16_t>(cgram.begin(), cgram.begin() + 16), expected);
}

}  // namespace
}  // namespace tintwright::test
