// bsnes's run-length decoder: any input decodes to the declared size or fails
// with a message, never past the limit; and any bytes, coded by the reference
// encoder of the tests, come back unchanged.

#include <cstdint>
#include <vector>

#include "capture/BsnesRle.h"
#include "fuzz/FuzzSupport.h"
#include "tests/support/CaptureFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tintwright;
    constexpr std::size_t kLimit = 1 << 16;
    const std::vector<std::uint8_t> bytes(data, data + size);
    const capture::RleDecoded decoded = capture::DecodeBsnesRle(bytes, kLimit);
    if (decoded.error.empty()) {
        FUZZ_REQUIRE(size >= 8 && decoded.bytes.size() == capture::LittleEndian64(bytes, 0));
    } else {
        FUZZ_REQUIRE(decoded.bytes.empty());
    }
    FUZZ_REQUIRE(decoded.bytes.size() <= kLimit);
    const capture::RleDecoded round = capture::DecodeBsnesRle(test::EncodeBsnesRle(bytes), kLimit);
    FUZZ_REQUIRE(round.error.empty() && round.bytes == bytes);
    return 0;
}
