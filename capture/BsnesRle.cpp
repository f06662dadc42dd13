#include "capture/BsnesRle.h"

#include <algorithm>

namespace tintwright::capture {
namespace {

constexpr std::size_t kShortestRun = 4;

Result<std::vector<std::uint8_t>> CutAt(std::size_t at, std::size_t produced, std::size_t size) {
    return Result<std::vector<std::uint8_t>>::Failed("run-length data ends at byte " + std::to_string(at) +
                                                     " with " + std::to_string(produced) + " of " +
                                                     std::to_string(size) + " bytes decoded");
}

}  // namespace

Result<std::vector<std::uint8_t>> DecodeBsnesRle(Bytes input, std::size_t limit) {
    ByteReader reader(input);
    const auto size = reader.ReadLittle64();
    if (!size) return CutAt(input.size(), 0, 0);
    if (*size > limit) {
        return Result<std::vector<std::uint8_t>>::Failed("run-length data claims " + std::to_string(*size) +
                                                         " bytes, more than a state holds");
    }
    std::vector<std::uint8_t> decoded;
    decoded.reserve(static_cast<std::size_t>(*size));
    while (decoded.size() < *size) {
        const auto control = reader.ReadLittle(1);
        if (!control) return CutAt(reader.Position(), decoded.size(), *size);
        const std::size_t room = static_cast<std::size_t>(*size) - decoded.size();
        if (*control < 128) {
            const auto literal = reader.ReadBytes(*control + 1u);
            if (!literal) return CutAt(input.size(), decoded.size(), *size);
            // Output past the declared size is dropped, as bsnes drops it.
            decoded.insert(decoded.end(), literal->begin(),
                           literal->begin() + std::min(literal->size(), room));
        } else {
            const auto value = reader.ReadLittle(1);
            if (!value) return CutAt(reader.Position(), decoded.size(), *size);
            const std::size_t count = (*control & 127u) + kShortestRun;
            decoded.insert(decoded.end(), std::min(count, room), static_cast<std::uint8_t>(*value));
        }
    }
    return decoded;
}

}  // namespace tintwright::capture
