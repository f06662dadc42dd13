// The two whole-ROM operations a user waits for, each beside the plain C
// library doing the same amount of work, so the ratio is what we watch.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "core/RomImage.h"

namespace {

using tintwright::RomImage;

constexpr std::uint32_t kRomBytes = 8u << 20;
// A colour word that the generated data never holds.
constexpr tintwright::SnesColor kAbsentWord = 0x7FFF;

std::vector<std::uint8_t> RomBytesWithoutWord() {
    std::vector<std::uint8_t> bytes(kRomBytes);
    std::mt19937 random(7);
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random() % 0x7F);  // never 0xFF
    return bytes;
}

std::string RomFilePath() {
    static const std::string path = [] {
        const auto file = std::filesystem::temp_directory_path() / "tintwright-bench.smc";
        const auto bytes = RomBytesWithoutWord();
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return file.string();
    }();
    return path;
}

RomImage& LoadedImage() {
    static RomImage image = [] {
        RomImage loaded;
        loaded.Install(*tintwright::LoadRomFile(RomFilePath()));
        return loaded;
    }();
    return image;
}

void FindColorNoMatch(benchmark::State& state) {
    const RomImage& image = LoadedImage();
    const tintwright::RgbColor color = tintwright::ToRgbColor(kAbsentWord);
    for (auto _ : state) benchmark::DoNotOptimize(image.FindColor(0, color));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kRomBytes);
}
BENCHMARK(FindColorNoMatch)->Unit(benchmark::kMicrosecond);

void MemchrNoMatch(benchmark::State& state) {
    const auto bytes = LoadedImage().WorkingBytes();
    for (auto _ : state) benchmark::DoNotOptimize(std::memchr(bytes.data(), 0xFF, kRomBytes));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kRomBytes);
}
BENCHMARK(MemchrNoMatch)->Unit(benchmark::kMicrosecond);

void LoadRomFile8MiB(benchmark::State& state) {
    const std::string path = RomFilePath();
    for (auto _ : state) benchmark::DoNotOptimize(tintwright::LoadRomFile(path));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kRomBytes);
}
BENCHMARK(LoadRomFile8MiB)->Unit(benchmark::kMicrosecond);

void PlainFread8MiB(benchmark::State& state) {
    const std::string path = RomFilePath();
    std::vector<std::uint8_t> buffer(kRomBytes);
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        benchmark::DoNotOptimize(std::fread(buffer.data(), 1, buffer.size(), file));
        std::fclose(file);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kRomBytes);
}
BENCHMARK(PlainFread8MiB)->Unit(benchmark::kMicrosecond);

}  // namespace
