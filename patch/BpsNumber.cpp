#include "patch/BpsNumber.h"

namespace tintwright {
namespace {

// Nine bytes say any number below 2^63, far past every size a patch holds,
// and keep the sum below from overflowing.
constexpr int kMaxNumberBytes = 9;

}  // namespace

void PutBpsNumber(std::vector<std::uint8_t>& out, std::uint64_t value) {
    while (true) {
        const auto low = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
        if (value == 0) {
            out.push_back(0x80 | low);
            return;
        }
        out.push_back(low);
        --value;
    }
}

std::optional<std::uint64_t> ReadBpsNumber(ByteReader& reader) {
    std::uint64_t value = 0;
    std::uint64_t shift = 1;
    for (int count = 0; count < kMaxNumberBytes; ++count) {
        const auto byte = reader.ReadLittle(1);
        if (!byte) break;
        value += (*byte & 0x7F) * shift;
        if (*byte & 0x80) return value;
        shift <<= 7;
        value += shift;
    }
    return std::nullopt;
}

}  // namespace tintwright
