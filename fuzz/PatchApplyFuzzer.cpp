// The IPS and BPS appliers on a random source and patch: they read only the
// patch and source they are given, never make more than the limit, refuse the
// patch cut by one byte, and what they made comes back through a patch of
// our own. Half the BPS inputs get correct CRC32s, so the actions are reached.

#include <fuzzer/FuzzedDataProvider.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "patch/PatchFile.h"

namespace {

using namespace tintwright;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kLimit = 1 << 20;

void PutCrc(Bytes& bytes, const Bytes& of) {
    const auto crc = static_cast<std::uint32_t>(crc32(0, of.data(), static_cast<uInt>(of.size())));
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(crc >> shift));
}

Bytes MakePatch(FuzzedDataProvider& input, const Bytes& source) {
    const int kind = input.ConsumeIntegralInRange(0, 2);
    const std::string magic = kind == 0 ? "PATCH" : kind == 1 ? "BPS1" : "";
    Bytes patch(magic.begin(), magic.end());
    const Bytes body = input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, 4096));
    patch.insert(patch.end(), body.begin(), body.end());
    if (kind == 1 && input.ConsumeBool()) {
        PutCrc(patch, source);
        const Bytes target = input.ConsumeRemainingBytes<std::uint8_t>();
        PutCrc(patch, target);
        PutCrc(patch, patch);
    }
    return patch;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const Bytes source = input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, 1024));
    const Bytes patch = MakePatch(input, source);

    const auto applied = ApplyPatch(source, patch, kLimit);
    FUZZ_REQUIRE(static_cast<bool>(applied) == applied.Reason().empty());
    if (!applied) return 0;
    FUZZ_REQUIRE(applied->size() <= kLimit);
    const Bytes cut(patch.begin(), patch.end() - 1);
    FUZZ_REQUIRE(!ApplyPatch(source, cut, kLimit));

    const auto format = *DetectPatchFormat(patch);
    const auto ours = CreatePatch(format, source, *applied);
    FUZZ_REQUIRE(ours);
    const auto again = ApplyPatch(source, *ours, kLimit);
    FUZZ_REQUIRE(again && *again == *applied);
    return 0;
}
