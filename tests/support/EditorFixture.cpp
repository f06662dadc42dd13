#include "tests/support/EditorFixture.h"

#include <cstdio>
#include <fstream>

#include "core/RomImage.h"
#include "window/ControlIds.h"

namespace tintwright::testing {

std::vector<std::uint8_t> IndexedRomBytes(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint16_t word = static_cast<std::uint16_t>((i / 2) & 0x7FFF);
        bytes[i] = static_cast<std::uint8_t>(i % 2 == 0 ? word & 0xFF : word >> 8);
    }
    return bytes;
}

void EditorFixture::SetUp() {
    state.settingsPath = dir.File("tintwright.ini");
    state.rom.SourcePath() = dir.File("source.smc");
    state.rom.SavePath() = dir.File("save.smc");
}

void EditorFixture::StartEditor(const std::vector<std::uint8_t>& rom, const std::string& settings) {
    WriteBytes(state.rom.SourcePath(), rom);
    if (!settings.empty()) std::ofstream(state.settingsPath, std::ios::binary) << settings;
    auto loaded = LoadRomFile(state.rom.SourcePath());
    ASSERT_TRUE(loaded);
    state.rom.Install(std::move(*loaded));
    window = std::make_unique<MainWindow>(fake, state);
    fake.CreateMainWindow(*window);
}

void EditorFixture::TypeRgb(const std::string& red, const std::string& green, const std::string& blue) {
    fake.SetText(ids::kRedEdit, red);
    fake.SetText(ids::kGreenEdit, green);
    fake.SetText(ids::kBlueEdit, blue);
}

std::vector<std::string> EditorFixture::RgbBoxes() {
    return {fake.Text(ids::kRedEdit), fake.Text(ids::kGreenEdit), fake.Text(ids::kBlueEdit)};
}

std::vector<int> EditorFixture::SliderPositions() {
    return {fake.Control(ids::kRedSlider).sliderPosition, fake.Control(ids::kGreenSlider).sliderPosition,
            fake.Control(ids::kBlueSlider).sliderPosition};
}

void EditorFixture::GoTo(std::uint32_t offset) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", offset);
    fake.SetText(ids::kOffsetBox, text);
    Command(ids::kGotoButton);
}

void EditorFixture::ClickCell(int cell) {
    const Point middle{70 + 20 * cell, 250};
    window->OnLeftButtonDown(middle);
    window->OnLeftButtonUp(middle);
}

std::uint16_t EditorFixture::WorkingWord(std::uint32_t offset) {
    const auto bytes = state.rom.WorkingBytes();
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

std::string EditorFixture::SettingsText() {
    const std::vector<std::uint8_t> bytes = ReadBytes(state.settingsPath);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace tintwright::testing
