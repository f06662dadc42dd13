// Every capture reader behind ReadCapture on any bytes: a capture of at most
// 256 colours with a format text, or an error; never a crash or a read past
// the input. The seeds are one small file of each format.

#include <cstdint>
#include <vector>

#include "capture/Capture.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tintwright;
    const std::vector<std::uint8_t> bytes(data, data + size);
    const Result<Capture> reading = ReadCapture(bytes);
    if (reading) {
        FUZZ_REQUIRE(!reading.Value().format.empty());
        FUZZ_REQUIRE(!reading.Value().colors.empty() && reading.Value().colors.size() <= 256);
    } else {
        FUZZ_REQUIRE(!reading.Reason().empty());
    }
    return 0;
}
