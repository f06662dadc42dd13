#include "tests/support/EditorFixture.h"

#include <fstream>

#include "core/RomImage.h"

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

}  // namespace tintwright::testing
