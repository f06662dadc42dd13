// bsnes's run-length decoder: any input decodes to the declared size or fails
// with a message, never past the limit; and any bytes, coded by the reference
// encoder of the tests, come back unchanged.

#include <cstdint>
#include <vector>

#include "bytes/ByteReader.h"
#include "capture/BsnesRle.h"
#include "fuzz/FuzzSupport.h"
#include "tests/support/CaptureFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tintwright;
    constexpr std::size_t kLimit = 1 << 16;
    const std::vector<std::uint8_t> bytes(data, data + size);
    const auto decoded = capture::DecodeBsnesRle(bytes, kLimit);
    if (decoded) {
        FUZZ_REQUIRE(decoded->size() == ByteReader(bytes).ReadLittle64());
        FUZZ_REQUIRE(decoded->size() <= kLimit);
    } else {
        FUZZ_REQUIRE(!decoded.Reason().empty());
    }
    const auto round = capture::DecodeBsnesRle(test::EncodeBsnesRle(bytes), kLimit);
    FUZZ_REQUIRE(round && *round == bytes);
    return 0;
}
