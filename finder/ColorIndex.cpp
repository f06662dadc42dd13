#include "finder/ColorIndex.h"

#include <algorithm>

namespace tintwright {
namespace {

// Every colour whose channels are each within tolerance of this one's.
template <typename Visit>
void ForEachColorNear(std::uint16_t color, int tolerance, const Visit& visit) {
    const int red = color & 0x1F, green = (color >> 5) & 0x1F, blue = (color >> 10) & 0x1F;
    for (int b = std::max(0, blue - tolerance); b <= std::min(31, blue + tolerance); ++b)
        for (int g = std::max(0, green - tolerance); g <= std::min(31, green + tolerance); ++g)
            for (int r = std::max(0, red - tolerance); r <= std::min(31, red + tolerance); ++r)
                visit(static_cast<std::uint16_t>(r | g << 5 | b << 10));
}

}  // namespace

ColorIndex::ColorIndex(std::span<const std::uint16_t> capture, int tolerance)
    : tolerance_(static_cast<std::uint32_t>(tolerance)), firstPosition_(32768 + 1, 0) {
    for (const std::uint16_t word : capture.first(std::min<std::size_t>(capture.size(), 256))) {
        colors_.push_back(ColorBits(word));
        spread_.push_back(SpreadChannels(ColorBits(word)));
    }
    // Counted first, then filled from each list's end back to its start, so
    // that every list is one slice of one array.
    for (const std::uint16_t color : colors_)
        ForEachColorNear(color, Tolerance(), [&](std::uint16_t near) { ++firstPosition_[near]; });
    for (std::size_t color = 1; color <= 32768; ++color) firstPosition_[color] += firstPosition_[color - 1];
    positions_.resize(firstPosition_.back());
    for (std::size_t position = 0; position < colors_.size(); ++position) {
        ForEachColorNear(colors_[position], Tolerance(), [&](std::uint16_t near) {
            positions_[--firstPosition_[near]] = static_cast<std::uint8_t>(position);
            near_[near] = 1;
        });
    }
}

}  // namespace tintwright
