// RetroArch's wrappings against the core's bytes they wrap: the input after
// two option bytes is a core's state, wrapped as RASTATE (with an ACHV block
// before MEM or not) and as RZIP of that (chunk size from the input), and as
// RZIP of the bare bytes as older RetroArch wrote them. Each is read exactly
// when the bare bytes read as a core's state, with the same colours, the core's
// bytes whole as the CoreState, and the bare format at the end of its own.

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "capture/Capture.h"
#include "fuzz/FuzzSupport.h"
#include "tests/support/CaptureFiles.h"

namespace {

using tintwright::test::ByteVector;

bool StartsWith(const ByteVector& bytes, std::string_view text) {
    return bytes.size() >= text.size() && std::equal(text.begin(), text.end(), bytes.begin());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tintwright;
    if (size < 2) return 0;
    const std::uint32_t chunkBytes = 1 + data[0] * 61u;
    const ByteVector achievements(data[1] % 11, data[1]);
    const ByteVector core(data + 2, data + size);
    // Bytes that are themselves RetroArch's would be read as such bare, but
    // are no core's state inside MEM.
    if (StartsWith(core, "RASTATE") || StartsWith(core, "#RZIPv")) return 0;
    const Result<Capture> bare = ReadCapture(core);
    const bool isCoreState = bare && bare.Value().coreState;
    const ByteVector wrapped = test::RetroArchState(
        core, achievements.empty() ? std::vector<test::RetroArchBlock>{}
                                   : std::vector<test::RetroArchBlock>{{"ACHV", achievements}});
    for (const ByteVector& file : {wrapped, test::Rzip(wrapped, chunkBytes), test::Rzip(core, chunkBytes)}) {
        const Result<Capture> reading = ReadCapture(file);
        FUZZ_REQUIRE(static_cast<bool>(reading) == isCoreState);
        if (!reading) {
            FUZZ_REQUIRE(!reading.Reason().empty());
            continue;
        }
        FUZZ_REQUIRE(reading.Value().colors == bare.Value().colors);
        FUZZ_REQUIRE(reading.Value().coreState && reading.Value().coreState->bytes == core);
        FUZZ_REQUIRE(reading.Value().coreState->cgramAt == bare.Value().coreState->cgramAt);
        FUZZ_REQUIRE(reading.Value().format.ends_with(bare.Value().format));
    }
    return 0;
}
