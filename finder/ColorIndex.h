#pragma once

// The captured colours indexed by their 15-bit value, so that a ROM word that
// is near none of them is turned away with one table look-up, and a word that is
// near some of them leads straight to which ones.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tintwright {

// Bit 15 of a colour word is not part of the colour; CGRAM ignores it.
constexpr std::uint16_t ColorBits(std::uint16_t word) {
    return word & 0x7FFFu;
}

// The three five-bit channels of a colour, one per byte, so that all three
// can be compared at once.
constexpr std::uint32_t SpreadChannels(std::uint16_t color) {
    return (color & 0x1Fu) | (color & 0x3E0u) << 3 | (color & 0x7C00u) << 6;
}

// Whether each channel of one colour is within tolerance (0..31) of the
// other's. Each byte of the difference is biased to stay positive, so no byte
// borrows from the next.
constexpr bool SpreadWithin(std::uint32_t a, std::uint32_t b, std::uint32_t tolerance) {
    constexpr std::uint32_t kOnes = 0x010101, kHighBits = 0x808080;
    const std::uint32_t atLeast =
        a + (0x80 - 32 + tolerance) * kOnes + 32 * kOnes - b;  // 0x80 + difference + tolerance
    if ((atLeast & kHighBits) != kHighBits) return false;
    return ((atLeast - kHighBits + (0x7F - 2 * tolerance) * kOnes) & kHighBits) == 0;
}

constexpr bool ColorsWithin(std::uint16_t a, std::uint16_t b, int tolerance) {
    return SpreadWithin(SpreadChannels(a), SpreadChannels(b), static_cast<std::uint32_t>(tolerance));
}

class ColorIndex {
public:
    ColorIndex(std::span<const std::uint16_t> capture, int tolerance);

    // Whether the colour is within tolerance of any captured colour.
    bool IsNearCapture(std::uint16_t color) const { return near_[color] != 0; }

    // The capture positions (0..255) whose colour is within tolerance.
    std::span<const std::uint8_t> CapturePositionsNear(std::uint16_t color) const {
        return {positions_.data() + firstPosition_[color], positions_.data() + firstPosition_[color + 1u]};
    }

    bool Matches(std::uint16_t color, int capturePosition) const {
        return tolerance_ == 0 ? color == colors_[capturePosition]
                               : SpreadWithin(SpreadChannels(color), spread_[capturePosition], tolerance_);
    }

    std::uint16_t Color(int capturePosition) const { return colors_[capturePosition]; }
    int ColorCount() const { return static_cast<int>(colors_.size()); }
    int Tolerance() const { return static_cast<int>(tolerance_); }

private:
    std::uint32_t tolerance_;
    std::vector<std::uint16_t> colors_;
    std::vector<std::uint32_t> spread_;
    // One byte per colour rather than one bit: the scan tests two words per
    // sample, and a byte is one load where a bit is a load and two shifts.
    std::array<std::uint8_t, 32768> near_{};
    // For each 15-bit colour, its capture positions are
    // positions_[firstPosition_[colour] .. firstPosition_[colour + 1]).
    std::vector<std::uint32_t> firstPosition_;
    std::vector<std::uint8_t> positions_;
};

}  // namespace tintwright
