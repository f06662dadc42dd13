#pragma once

// The captured colours indexed by their 15-bit value, so that a ROM word that
// is near none of them is turned away with one bit test, and a word that is
// near some of them leads straight to which ones.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tintwright {

// Bit 15 of a colour word is not part of the colour; CGRAM ignores it.
constexpr std::uint16_t ColourBits(std::uint16_t word) {
    return word & 0x7FFFu;
}

// Whether each of the two colours' five-bit channels is within tolerance of
// the other's.
constexpr bool ColoursWithin(std::uint16_t a, std::uint16_t b, int tolerance) {
    for (int shift = 0; shift < 15; shift += 5) {
        const int difference = ((a >> shift) & 0x1F) - ((b >> shift) & 0x1F);
        if (difference > tolerance || difference < -tolerance) return false;
    }
    return true;
}

class ColourIndex {
public:
    ColourIndex(std::span<const std::uint16_t> capture, int tolerance);

    // Whether the colour is within tolerance of any captured colour.
    bool IsNearCapture(std::uint16_t colour) const { return (near_[colour >> 6] >> (colour & 63)) & 1u; }

    // The capture positions (0..255) whose colour is within tolerance.
    std::span<const std::uint8_t> CapturePositionsNear(std::uint16_t colour) const {
        return {positions_.data() + firstPosition_[colour], positions_.data() + firstPosition_[colour + 1u]};
    }

    bool Matches(std::uint16_t colour, int capturePosition) const {
        return tolerance_ == 0 ? colour == colours_[capturePosition]
                               : ColoursWithin(colour, colours_[capturePosition], tolerance_);
    }

    std::uint16_t Colour(int capturePosition) const { return colours_[capturePosition]; }
    int ColourCount() const { return static_cast<int>(colours_.size()); }
    int Tolerance() const { return tolerance_; }

private:
    int tolerance_;
    std::vector<std::uint16_t> colours_;
    std::array<std::uint64_t, 32768 / 64> near_{};
    // For each 15-bit colour, its capture positions are
    // positions_[firstPosition_[colour] .. firstPosition_[colour + 1]).
    std::vector<std::uint32_t> firstPosition_;
    std::vector<std::uint8_t> positions_;
};

}  // namespace tintwright
