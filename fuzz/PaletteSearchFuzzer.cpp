// The fast palette search, cut into random slices, against the plain search
// that lays every row over every byte offset. Random small ROMs, captures
// whose colours are mostly taken from the ROM itself (some a channel step
// off, some black or white), and any options in range. A long stretch of one
// word (padding, blank data) may be laid into the ROM at any offset, which the
// fast search crosses in one step.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "finder/PaletteSearch.h"
#include "fuzz/FuzzSupport.h"
#include "tests/support/PlainPaletteSearch.h"

namespace {

struct CapturePick {
    std::uint8_t kind;  // what the colour is: a ROM word, one a step off, black, white or raw
    std::uint16_t value;
};

std::uint16_t CaptureColor(const CapturePick& pick, const std::vector<std::uint8_t>& rom) {
    const std::size_t at = rom.size() < 2 ? 0 : pick.value % (rom.size() - 1);
    const auto word = rom.size() < 2 ? pick.value : static_cast<std::uint16_t>(rom[at] | rom[at + 1] << 8);
    switch (pick.kind % 6) {
        case 0:
        case 1:
            return word;
        case 2:
            return static_cast<std::uint16_t>(word ^ (1u << (pick.value % 15)));
        case 3:
            return 0x0000;
        case 4:
            return 0x7FFF;
        default:
            return pick.value;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const tintwright::SearchOptions options{.minimumRun = data.ConsumeIntegralInRange(2, 16),
                                            .tolerance = data.ConsumeIntegralInRange(0, 3),
                                            .mismatches = data.ConsumeIntegralInRange(0, 8)};
    std::vector<CapturePick> picks(data.ConsumeIntegralInRange<std::size_t>(1, 256));
    for (CapturePick& pick : picks)
        pick = {data.ConsumeIntegral<std::uint8_t>(), data.ConsumeIntegral<std::uint16_t>()};
    const auto slice = data.ConsumeIntegralInRange<std::uint64_t>(1, 300);
    const auto repeats = data.ConsumeIntegralInRange(1, 4);
    const auto stretchWords = data.ConsumeIntegralInRange<std::size_t>(0, 600);
    const auto stretchWord = data.ConsumeIntegral<std::uint16_t>();
    const auto stretchAt = data.ConsumeIntegral<std::uint16_t>();
    // The plain search is slow; small ROMs keep thousands of inputs a second.
    const std::vector<std::uint8_t> pattern = data.ConsumeBytes<std::uint8_t>(400);

    // A repeated pattern holds the same runs at many places, as real ROMs do.
    std::vector<std::uint8_t> rom;
    for (int i = 0; i < repeats; ++i) rom.insert(rom.end(), pattern.begin(), pattern.end());
    std::vector<std::uint8_t> stretch;
    for (std::size_t i = 0; i < stretchWords; ++i)
        stretch.insert(stretch.end(),
                       {static_cast<std::uint8_t>(stretchWord), static_cast<std::uint8_t>(stretchWord >> 8)});
    rom.insert(rom.begin() + static_cast<std::ptrdiff_t>(stretchAt % (rom.size() + 1)), stretch.begin(),
               stretch.end());
    std::vector<std::uint16_t> capture;
    for (const CapturePick& pick : picks) capture.push_back(CaptureColor(pick, rom));

    tintwright::PaletteSearch search(rom, capture, options);
    while (!search.Advance(slice)) {
    }
    FUZZ_REQUIRE(search.ScannedBytes() == rom.size());
    FUZZ_REQUIRE(search.Result() == tintwright::PlainPaletteSearch(rom, capture, options));
    return 0;
}
