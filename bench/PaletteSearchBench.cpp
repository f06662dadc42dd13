// The palette search over an 8 MiB ROM with a full 256-colour capture, all
// rows, both alignments: memchr over the same bytes for scale, the plain
// word-by-word search it replaces, the exact search and the tolerant one.

#include <benchmark/benchmark.h>

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

const std::vector<std::uint8_t>& Rom() {
    static const std::vector<std::uint8_t> rom = MakeRom(false);
    return rom;
}

void SetBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(kRomBytes));
}

void PaletteMemchr(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(std::memchr(Rom().data(), 0xFF, kRomBytes));
    SetBytes(state);
}
BENCHMARK(PaletteMemchr)->Unit(benchmark::kMillisecond);

void PalettePlainScan(benchmark::State& state) {
    const SearchOptions options{.tolerance = static_cast<int>(state.range(0)),
                                .mismatches = static_cast<int>(state.range(1))};
    for (auto _ : state) benchmark::DoNotOptimize(tintwright::PlainPaletteRuns(Rom(), Capture(), options));
    SetBytes(state);
}
BENCHMARK(PalettePlainScan)->Args({0, 0})->Args({2, 2})->Iterations(1)->Unit(benchmark::kMillisecond);

void PaletteSearch(benchmark::State& state, const std::vector<std::uint8_t>& rom,
                   const std::vector<std::uint16_t>& capture = Capture()) {
    const SearchOptions options{.tolerance = static_cast<int>(state.range(0)),
                                .mismatches = static_cast<int>(state.range(1))};
    std::size_t hits = 0;
    for (auto _ : state) hits = tintwright::SearchPalettes(rom, capture, options)->hits.size();
    state.counters["hits"] = static_cast<double>(hits);
    SetBytes(state);
}

void PaletteSearchRandomRom(benchmark::State& state) {
    PaletteSearch(state, Rom());
}
BENCHMARK(PaletteSearchRandomRom)->Args({0, 0})->Args({2, 2})->Unit(benchmark::kMillisecond);

// Real captures hold black in every row's first colour, and some white.
void PaletteSearchRomWithBlankStretches(benchmark::State& state) {
    static const std::vector<std::uint8_t> rom = MakeRom(true);
    static const std::vector<std::uint16_t> capture = [] {
        std::vector<std::uint16_t> colors = Capture();
        for (std::size_t row = 4; row < 16; ++row) colors[16 * row] = colors[16 * row + 15] = 0x0000;
        for (std::size_t row = 4; row < 16; row += 3) colors[16 * row + 1] = 0x7FFF;
        return colors;
    }();
    PaletteSearch(state, rom, capture);
}
BENCHMARK(PaletteSearchRomWithBlankStretches)->Args({0, 0})->Args({2, 2})->Unit(benchmark::kMillisecond);

}  // namespace
