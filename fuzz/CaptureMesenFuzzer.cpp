// Mesen2's record walker on any bytes: CGRAM or an error, never a read past
// the input. Then against a model: records made of the input's pieces followed
// by a ppu.cgram record always give exactly that record's colours.

#include <cstdint>
#include <vector>

#include "capture/MesenState.h"
#include "fuzz/FuzzSupport.h"
#include "tests/support/CaptureFiles.h"

namespace {

// Keys of printable bytes from the input, each followed by a short value.
std::vector<std::uint8_t> RecordsFrom(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> records;
    for (std::size_t at = 0; at + 2 <= size; at += 2) {
        records.push_back(static_cast<std::uint8_t>('a' + data[at] % 26));
        records.push_back(0);
        tintwright::test::AppendLittleEndian(records, data[at + 1] % 5, 4);
        records.insert(records.end(), data[at + 1] % 5, data[at]);
    }
    return records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tintwright;
    const std::vector<std::uint8_t> bytes(data, data + size);
    for (const Result<Capture>& reading : {ReadMesenRecords(bytes), ReadMesenState(bytes)}) {
        FUZZ_REQUIRE(reading ? reading.Value().colors.size() == 256 : !reading.Reason().empty());
    }
    std::vector<std::uint16_t> colors(256);
    for (std::size_t i = 0; i < colors.size(); ++i) colors[i] = static_cast<std::uint16_t>(size * 31 + i);
    std::vector<std::uint8_t> records = RecordsFrom(data, size);
    const std::vector<std::uint8_t> cgram = test::MesenRecords(colors);
    records.insert(records.end(), cgram.begin(), cgram.end());
    const Result<Capture> model = ReadMesenRecords(records);
    FUZZ_REQUIRE(model && model.Value().colors == colors);
    return 0;
}
