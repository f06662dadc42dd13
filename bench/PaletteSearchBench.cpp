// The palette search with a full 256-colour capture, all rows, both
// alignments, on ROMs of four shapes: random data, data with blank stretches,
// 1 MiB of data padded with 16 MiB of zeros as expanded ROMs are, and nothing
// but 0xFF. For each shape, memchr over the same bytes for scale, then the
// exact search and the tolerant one; on the random ROM also the plain
// word-by-word search it replaces.

#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <random>
#include <set>
#include <vector>

#include "finder/PaletteSearch.h"
#include "tests/support/PlainPaletteSearch.h"

namespace {

using tintwright::SearchOptions;

constexpr std::size_t kRomBytes = 8u << 20;

std::vector<std::uint16_t> RandomCapture() {
    std::mt19937 random(11);
    std::set<std::uint16_t> used;
    std::vector<std::uint16_t> capture;
    while (capture.size() < 256)
        if (const auto color = static_cast<std::uint16_t>(random() & 0x7FFF); used.insert(color).second)
            capture.push_back(color);
    return capture;
}

const std::vector<std::uint16_t>& Capture() {
    static const std::vector<std::uint16_t> capture = RandomCapture();
    return capture;
}

// Real captures hold black in every row's first colour, and some white.
const std::vector<std::uint16_t>& CaptureWithBlack() {
    static const std::vector<std::uint16_t> capture = [] {
        std::vector<std::uint16_t> colors = Capture();
        for (std::size_t row = 4; row < 16; ++row) colors[16 * row] = colors[16 * row + 15] = 0x0000;
        for (std::size_t row = 4; row < 16; row += 3) colors[16 * row + 1] = 0x7FFF;
        return colors;
    }();
    return capture;
}

// Random bytes that never hold 0xFF, so memchr has to read them all; four
// captured rows planted, one of them at an odd offset.
std::vector<std::uint8_t> MakeRom(bool blankStretches) {
    std::vector<std::uint8_t> rom(kRomBytes);
    std::mt19937 random(7);
    for (auto& byte : rom) byte = static_cast<std::uint8_t>(random() % 0x7F);
    // Real ROMs hold long stretches of zeros and padding that a capture's black matches.
    for (std::size_t at = 0; blankStretches && at + 4096 < kRomBytes; at += 16384)
        std::memset(rom.data() + at, at % 32768 == 0 ? 0x00 : 0x7F, 4096);
    for (int row = 0; row < 4; ++row) {
        const std::size_t at = 0x10000 + 0x123457 * static_cast<std::size_t>(row) + (row == 2 ? 1 : 0);
        std::memcpy(rom.data() + at, Capture().data() + 16 * row, 32);
    }
    return rom;
}

std::vector<std::uint8_t> ZeroPaddedRom() {
    std::vector<std::uint8_t> rom = MakeRom(false);
    rom.resize(1u << 20);
    rom.resize(17u << 20, 0x00);
    return rom;
}

struct Shape {
    std::vector<std::uint8_t> rom;
    const std::vector<std::uint16_t>& capture;
    std::uint8_t absentByte;  // what memchr looks for, so that it reads every byte
};

enum ShapeName { kRandom, kBlankStretches, kZeroPadding, kAllFF };

const Shape& Shapes(ShapeName name) {
    static const std::array<Shape, 4> shapes = {
        Shape{MakeRom(false), Capture(), 0xFF},
        Shape{MakeRom(true), CaptureWithBlack(), 0xFF},
        Shape{ZeroPaddedRom(), CaptureWithBlack(), 0xFF},
        Shape{std::vector<std::uint8_t>(kRomBytes, 0xFF), CaptureWithBlack(), 0x00},
    };
    return shapes[name];
}

void SetBytes(benchmark::State& state, const Shape& shape) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(shape.rom.size()));
}

SearchOptions Options(const benchmark::State& state) {
    return {.tolerance = static_cast<int>(state.range(0)), .mismatches = static_cast<int>(state.range(1))};
}

void PaletteMemchr(benchmark::State& state, ShapeName name) {
    const Shape& shape = Shapes(name);
    for (auto _ : state)
        benchmark::DoNotOptimize(std::memchr(shape.rom.data(), shape.absentByte, shape.rom.size()));
    SetBytes(state, shape);
}

void PalettePlainScan(benchmark::State& state, ShapeName name) {
    const Shape& shape = Shapes(name);
    for (auto _ : state)
        benchmark::DoNotOptimize(tintwright::PlainPaletteRuns(shape.rom, shape.capture, Options(state)));
    SetBytes(state, shape);
}

void PaletteSearch(benchmark::State& state, ShapeName name) {
    const Shape& shape = Shapes(name);
    std::size_t hits = 0;
    for (auto _ : state)
        hits = tintwright::SearchPalettes(shape.rom, shape.capture, Options(state))->hits.size();
    state.counters["hits"] = static_cast<double>(hits);
    SetBytes(state, shape);
}

#define PALETTE_SHAPE(name, shape)                                                \
    BENCHMARK_CAPTURE(PaletteMemchr, name, shape)->Unit(benchmark::kMillisecond); \
    BENCHMARK_CAPTURE(PaletteSearch, name, shape)->Args({0, 0})->Args({2, 2})->Unit(benchmark::kMillisecond)

PALETTE_SHAPE(random, kRandom);
BENCHMARK_CAPTURE(PalettePlainScan, random, kRandom)
    ->Args({0, 0})
    ->Args({2, 2})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
PALETTE_SHAPE(blank_stretches, kBlankStretches);
PALETTE_SHAPE(zero_padding, kZeroPadding);
PALETTE_SHAPE(all_ff, kAllFF);

}  // namespace
