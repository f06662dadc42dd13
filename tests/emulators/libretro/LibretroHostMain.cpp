// Runs a libretro core on a ROM for some frames and writes its save state,
// and with FRAME the last frame it drew as a binary PPM (8 bits a channel):
//   tintwright_libretro_host CORE ROM FRAMES STATE [FRAME]
// The core's system and save folder is the folder of STATE, so the core
// touches nothing outside the folder the test gave it.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/FileSystem.h"
#include "core/SafeFileWrite.h"
#include "tests/emulators/libretro/LibretroCore.h"

namespace {

int Fail(const std::string& what) {
    std::fprintf(stderr, "tintwright_libretro_host: %s\n", what.c_str());
    return 1;
}

std::vector<std::uint8_t> PortablePixmap(const tintwright::test::CoreFrame& frame) {
    const std::string header =
        "P6\n" + std::to_string(frame.width) + " " + std::to_string(frame.height) + "\n255\n";
    std::vector<std::uint8_t> bytes(header.begin(), header.end());
    for (const std::uint32_t pixel : frame.pixels) {
        for (const int shift : {16, 8, 0}) bytes.push_back(static_cast<std::uint8_t>(pixel >> shift));
    }
    return bytes;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: %s CORE ROM FRAMES STATE [FRAME]\n", argv[0]);
        return 2;
    }
    const std::string romPath = argv[2];
    const int frames = std::atoi(argv[3]);
    const std::string statePath = argv[4];
    std::vector<std::uint8_t> rom;
    const tintwright::FileOutcome read = tintwright::ReadWholeFile(romPath, 64u << 20, rom);
    if (!read) return Fail(romPath + ": " + read.Reason());

    const std::string folder = tintwright::FolderOf(statePath, tintwright::kPathSeparators);
    tintwright::test::LibretroCore core(argv[1], folder.empty() ? std::string("./") : folder);
    if (!core.Error().empty()) return Fail(core.Error());
    if (!core.LoadGame(romPath, rom)) return Fail(core.Error());
    core.RunFrames(frames);
    if (core.FramesShown() == 0) return Fail("the core showed no frame");

    std::vector<std::uint8_t> state;
    if (!core.Serialize(state)) return Fail(core.Error());
    const tintwright::FileOutcome written = tintwright::WriteFileSafely(statePath, state);
    if (!written) return Fail(statePath + ": " + written.Reason());
    if (argc == 6) {
        if (core.LastFrame().pixels.empty()) return Fail("the core drew no frame");
        const tintwright::FileOutcome drawn =
            tintwright::WriteFileSafely(argv[5], PortablePixmap(core.LastFrame()));
        if (!drawn) return Fail(std::string(argv[5]) + ": " + drawn.Reason());
    }
    return 0;
}
