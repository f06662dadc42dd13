// The mednafen section walker on any bytes, bare and behind gzip: it answers
// with CGRAM or an error, never reads past its input (AddressSanitizer sees the
// exact-size buffer libFuzzer hands over) and reads the same either way.

#include <cstdint>
#include <vector>

#include "capture/Capture.h"
#include "capture/MednafenState.h"
#include "fuzz/FuzzSupport.h"
#include "tests/support/CaptureFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tintwright;
    const std::vector<std::uint8_t> bytes(data, data + size);
    const Result<Capture> bare = ReadMednafenState(bytes);
    FUZZ_REQUIRE(bare ? bare.Value().colors.size() == 256 : !bare.Reason().empty());
    if (!IsMednafenState(bytes)) return 0;
    const Result<Capture> packed = ReadCapture(test::Deflate(bytes, test::Wrapper::Gzip));
    FUZZ_REQUIRE(static_cast<bool>(packed) == static_cast<bool>(bare));
    FUZZ_REQUIRE(!bare || packed.Value().colors == bare.Value().colors);
    return 0;
}
