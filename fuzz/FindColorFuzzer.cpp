// RomImage::FindColor against the plain rule, one word at a time: from start + 2
// rounded down to even (0 when negative), the first word equal to the colour's
// word, never one that starts within the last four bytes. Random images and
// starts, often with a colour that is known to occur.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "core/RomImage.h"
#include "fuzz/FuzzSupport.h"

namespace {

// The colour's word: five bits of each channel, red lowest, bit 15 clear.
std::uint16_t ModelWord(std::uint32_t color) {
    const std::uint32_t red = (color & 0xFF) >> 3;
    const std::uint32_t green = ((color >> 8) & 0xFF) >> 3;
    const std::uint32_t blue = ((color >> 16) & 0xFF) >> 3;
    return static_cast<std::uint16_t>(red | green << 5 | blue << 10);
}

// A colour whose word is the given one, bit 15 aside.
std::uint32_t ColorOfWord(std::uint16_t word) {
    return (word & 0x1Fu) << 3 | ((word >> 5) & 0x1Fu) << 11 | ((word >> 10) & 0x1Fu) << 19;
}

std::int32_t ModelFind(const std::vector<std::uint8_t>& file, std::int32_t start, std::uint32_t color) {
    const std::uint16_t key = ModelWord(color);
    std::int64_t p = std::int64_t{start} + 2;
    if (p % 2 != 0) --p;
    if (p < 0) p = 0;
    for (; p + 4 < static_cast<std::int64_t>(file.size()); p += 2) {
        const auto word = static_cast<std::uint16_t>(file[p] | file[p + 1] << 8);
        if (word == key) return static_cast<std::int32_t>(p);
    }
    return tintwright::RomImage::kNotFound;
}

// Mostly starts around the image, where the edge cases are; now and then any.
std::int32_t StartNear(std::uint32_t raw, std::size_t size) {
    if ((raw & 0xF) == 0) return static_cast<std::int32_t>(raw);
    return static_cast<std::int32_t>((raw >> 4) % (size + 601)) - 300;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const auto repeats = data.ConsumeIntegralInRange<int>(1, 16);
    const auto colorChoice = data.ConsumeIntegral<std::uint32_t>();
    const auto colorAt = data.ConsumeIntegral<std::uint16_t>();
    std::vector<std::uint32_t> rawStarts(data.ConsumeIntegralInRange<std::size_t>(1, 8));
    for (std::uint32_t& raw : rawStarts) raw = data.ConsumeIntegral<std::uint32_t>();
    const std::vector<std::uint8_t> pattern = data.ConsumeRemainingBytes<std::uint8_t>();

    // Repeating the input makes images long enough for the block scan, with
    // the key in many places.
    std::vector<std::uint8_t> file;
    for (int i = 0; i < repeats; ++i) file.insert(file.end(), pattern.begin(), pattern.end());
    std::vector<std::int32_t> starts = {-100, 0};
    for (const std::uint32_t raw : rawStarts) starts.push_back(StartNear(raw, file.size()));

    std::uint32_t color = colorChoice;
    if (file.size() >= 2 && (colorChoice & 1) != 0) {
        const std::size_t at = colorAt % (file.size() - 1);
        color = ColorOfWord(static_cast<std::uint16_t>(file[at] | file[at + 1] << 8));
    }

    tintwright::LoadedRom loaded;
    loaded.size = static_cast<std::uint32_t>(file.size());
    loaded.bytes = file;
    loaded.bytes.push_back(0);
    tintwright::RomImage image;
    image.Install(std::move(loaded));
    for (const std::int32_t start : starts)
        FUZZ_REQUIRE(image.FindColor(start, color) == ModelFind(file, start, color));
    return 0;
}
