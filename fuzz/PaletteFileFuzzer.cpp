// ReadPaletteFile on any bytes: it reads only what it is given, answers with a
// palette or a reason, and what it read survives being written in every
// format that holds that many colours and read again (bit 15 only in raw
// BGR555, the one format that carries it).

#include <algorithm>
#include <cstdint>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "palette/PaletteFile.h"

namespace {

using namespace tintwright;

constexpr PaletteFormat kAllFormats[] = {PaletteFormat::JascPal, PaletteFormat::RiffPal,
                                         PaletteFormat::AdobeAct, PaletteFormat::GimpGpl,
                                         PaletteFormat::RawBgr555};

void CheckRewrite(const PaletteFile& palette, PaletteFormat format) {
    const std::size_t count = std::min(palette.colors.size(), MaxPaletteColors(format));
    std::vector<std::uint16_t> colors(palette.colors.begin(), palette.colors.begin() + count);
    const auto written = WritePaletteFile(format, colors);
    FUZZ_REQUIRE(written);
    const Result<PaletteFile> reread = ReadPaletteFile(*written);
    FUZZ_REQUIRE(reread);
    FUZZ_REQUIRE(reread->format == format);
    if (format != PaletteFormat::RawBgr555)
        for (auto& word : colors) word &= 0x7FFF;
    FUZZ_REQUIRE(reread->colors == colors);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly the input's size, so a read past its end is caught.
    const std::vector<std::uint8_t> bytes(data, data + size);
    const Result<PaletteFile> read = ReadPaletteFile(bytes);
    FUZZ_REQUIRE(static_cast<bool>(read) == read.Reason().empty());
    if (!read) return 0;
    FUZZ_REQUIRE(!read->colors.empty());
    if (read->format != PaletteFormat::RawBgr555)
        FUZZ_REQUIRE(std::all_of(read->colors.begin(), read->colors.end(),
                                 [](std::uint16_t word) { return word < 0x8000; }));
    for (const PaletteFormat format : kAllFormats) CheckRewrite(*read, format);
    return 0;
}
