#pragma once

// A running editor around the scripted fake: a generated ROM loaded, the main
// window created and initialised, as after a normal start-up.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/ProgramState.h"
#include "mainwindow/MainWindow.h"
#include "tests/support/FakeWindowSystem.h"
#include "tests/support/TempDir.h"

namespace tintwright::testing {

// Bytes whose word at every even offset o is (o / 2) & 0x7FFF, so a colour
// read anywhere tells where it came from.
std::vector<std::uint8_t> IndexedRomBytes(std::size_t size);

class EditorFixture : public ::testing::Test {
protected:
    void SetUp() override;
    // Writes the ROM file and the settings file, loads the ROM and opens the window.
    void StartEditor(const std::vector<std::uint8_t>& rom, const std::string& settings = "");

    std::string StatusLine() { return fake.Text(1006); }
    void Command(int id) { window->OnCommand(id, 0); }

    // What a user types into the red, green and blue boxes, and what they show.
    void TypeRgb(const std::string& red, const std::string& green, const std::string& blue);
    std::vector<std::string> RgbBoxes();
    std::vector<int> SliderPositions();
    // Goto with the offset typed in hexadecimal.
    void GoTo(std::uint32_t offset);
    // A left press and release over the middle of a strip cell.
    void ClickCell(int cell);
    // The 16-bit word of the working copy at an offset, bit 15 included.
    std::uint16_t WorkingWord(std::uint32_t offset);
    // The settings file as it is on disk now.
    std::string SettingsText();

    TempDir dir;
    FakeWindowSystem fake;
    FakeProcess process;
    ScopedProcess processScope{process};
    ProgramState state;
    std::unique_ptr<MainWindow> window;
};

}  // namespace tintwright::testing
