// The game preview's messages come from a process running code we do not
// control: any bytes, fed in pieces of any size, give whole messages or one
// reason. A message handed out takes as many bytes as its encoding, and its
// encoding reads back as the same message.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "preview/PreviewProtocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace tintwright;
    FuzzedDataProvider data(bytes, size);
    PreviewMessageReader reader;
    std::size_t fed = 0;
    std::size_t handedOut = 0;
    bool failed = false;
    while (data.remaining_bytes() > 0 && !failed) {
        const std::vector<std::uint8_t> piece =
            data.ConsumeBytes<std::uint8_t>(data.ConsumeIntegralInRange<std::size_t>(1, 64));
        reader.Feed(piece);
        fed += piece.size();
        while (true) {
            auto next = reader.Next();
            if (!next) {
                FUZZ_REQUIRE(!next.Reason().empty());
                FUZZ_REQUIRE(!reader.Next());
                failed = true;
                break;
            }
            if (!*next) break;
            const std::vector<std::uint8_t> encoded = EncodePreviewMessage(**next);
            handedOut += encoded.size();
            PreviewMessageReader again;
            again.Feed(encoded);
            auto back = again.Next();
            FUZZ_REQUIRE(back && *back && **back == **next && again.Pending() == 0);
        }
        if (!failed) FUZZ_REQUIRE(handedOut + reader.Pending() == fed);
    }
    return 0;
}
