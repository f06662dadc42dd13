#pragma once

// tintwright-palette preview as the tests run it, and the PNG it writes.

#include <cstdint>
#include <string>
#include <vector>

#include "tests/emulators/ProgramRun.h"

namespace tintwright::test {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB; empty when the file was no PNG
    // The preview doubles a 256 × 224 frame: the core's pixel (x, y).
    std::uint32_t AtCorePixel(int x, int y) const { return pixels.at((2 * y) * width + 2 * x); }
};

// The console's preview subcommand; output holds its standard error too.
ProgramRun RunPreview(const std::vector<std::string>& arguments);
Picture ReadPng(const std::string& path);

}  // namespace tintwright::test
