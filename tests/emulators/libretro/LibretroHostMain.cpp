// Runs a libretro core on a ROM for some frames and writes its save state,
// and with FRAME the last frame it drew as a binary PPM (8 bits a channel);
// with --from, the core first takes the save state START back:
//   tintwright_libretro_host [--from START] CORE ROM FRAMES STATE [FRAME]
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
    std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string startPath;
    if (arguments.size() >= 2 && arguments[0] == "--from") {
        startPath = arguments[1];
        arguments.erase(arguments.begin(), arguments.begin() + 2);
    }
    if (arguments.size() != 4 && arguments.size() != 5) {
        std::fprintf(stderr, "usage: %s [--from START] CORE ROM FRAMES STATE [FRAME]\n", argv[0]);
        return 2;
    }
    const std::string& romPath = arguments[1];
    const int frames = std::atoi(arguments[2].c_str());
    const std::string& statePath = arguments[3];
    std::vector<std::uint8_t> rom;
    std::vector<std::uint8_t> start;
    tintwright::FileOutcome read = tintwright::ReadWholeFile(romPath, 64u << 20, rom);
    if (!read) return Fail(romPath + ": " + read.Reason());
    if (!startPath.empty()) read = tintwright::ReadWholeFile(startPath, 64u << 20, start);
    if (!read) return Fail(startPath + ": " + read.Reason());

    const std::string folder = tintwright::FolderOf(statePath, tintwright::kPathSeparators);
    tintwright::test::LibretroCore core(arguments[0], folder.empty() ? std::string("./") : folder);
    if (!core.Error().empty()) return Fail(core.Error());
    if (!core.LoadGame(romPath, rom)) return Fail(core.Error());
    if (!startPath.empty() && !core.Unserialize(start)) return Fail(startPath + ": " + core.Error());
    core.RunFrames(frames);
    if (core.FramesShown() == 0) return Fail("the core showed no frame");

    std::vector<std::uint8_t> state;
    if (!core.Serialize(state)) return Fail(core.Error());
    const tintwright::FileOutcome written = tintwright::WriteFileSafely(statePath, state);
    if (!written) return Fail(statePath + ": " + written.Reason());
    if (arguments.size() == 5) {
        if (core.LastFrame().pixels.empty()) return Fail("the core drew no frame");
        const tintwright::FileOutcome drawn =
            tintwright::WriteFileSafely(arguments[4], PortablePixmap(core.LastFrame()));
        if (!drawn) return Fail(arguments[4] + ": " + drawn.Reason());
    }
    return 0;
}
