#include "capture/BsnesRle.h"

#include <algorithm>

namespace tintwright::capture {
namespace {

constexpr std::size_t kSizeBytes = 8;
constexpr std::size_t kShortestRun = 4;

std::string CutAt(std::size_t at, std::size_t produced, std::size_t size) {
    return "run-length data ends at byte " + std::to_string(at) + " with " + std::to_string(produced) +
           " of " + std::to_string(size) + " bytes decoded";
}

}  // namespace

RleDecoded DecodeBsnesRle(Bytes input, std::size_t limit) {
    if (input.size() < kSizeBytes) return {{}, CutAt(input.size(), 0, 0)};
    const std::uint64_t size = LittleEndian64(input, 0);
    if (size > limit)
        return {{}, "run-length data claims " + std::to_string(size) + " bytes, more than a state holds"};
    RleDecoded decoded;
    decoded.bytes.reserve(static_cast<std::size_t>(size));
    std::size_t at = kSizeBytes;
    while (decoded.bytes.size() < size) {
        if (at >= input.size()) return {{}, CutAt(at, decoded.bytes.size(), size)};
        const std::uint8_t control = input[at++];
        const std::size_t room = static_cast<std::size_t>(size) - decoded.bytes.size();
        if (control < 128) {
            const std::size_t count = control + 1u;
            if (!Fits(input.size(), at, count)) return {{}, CutAt(input.size(), decoded.bytes.size(), size)};
            // Output past the declared size is dropped, as bsnes drops it.
            const auto literal = input.subspan(at, std::min(count, room));
            decoded.bytes.insert(decoded.bytes.end(), literal.begin(), literal.end());
            at += count;
        } else {
            if (at >= input.size()) return {{}, CutAt(at, decoded.bytes.size(), size)};
            const std::size_t count = (control & 127u) + kShortestRun;
            decoded.bytes.insert(decoded.bytes.end(), std::min(count, room), input[at++]);
        }
    }
    return decoded;
}

}  // namespace tintwright::capture
