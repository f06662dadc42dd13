#include "editor/GradientFill.h"

#include <array>

namespace tintwright {
namespace {

// Each channel shifted left by seven bits, where it keeps its own field.
constexpr std::array<std::uint32_t, 3> kChannelFields{0x00007F80u, 0x007F8000u, 0x7F800000u};
constexpr int kFractionBits = 7;

std::int32_t Field(RgbColor color, std::uint32_t field) {
    return static_cast<std::int32_t>((color << kFractionBits) & field);
}

}  // namespace

std::vector<RgbColor> GradientColors(RgbColor start, RgbColor end, std::uint32_t steps) {
    std::vector<RgbColor> colors;
    if (steps == 0) return colors;
    colors.push_back(start);
    std::array<std::int32_t, 3> accumulator{};
    std::array<std::int32_t, 3> step{};
    for (std::size_t channel = 0; channel < kChannelFields.size(); ++channel) {
        accumulator[channel] = Field(start, kChannelFields[channel]);
        // Signed division truncates toward zero, for falling channels too.
        step[channel] =
            (Field(end, kChannelFields[channel]) - accumulator[channel]) / static_cast<std::int32_t>(steps);
    }
    // Every accumulator stays between its start and end field, so none overflows.
    for (std::uint32_t k = 1; k < steps; ++k) {
        std::uint32_t fields = 0;
        for (std::size_t channel = 0; channel < kChannelFields.size(); ++channel) {
            accumulator[channel] += step[channel];
            fields |= static_cast<std::uint32_t>(accumulator[channel]) & kChannelFields[channel];
        }
        colors.push_back(fields >> kFractionBits);
    }
    return colors;
}

void FillGradient(PaletteView& view, RomImage& rom) {
    if (view.Selection() == view.Anchor()) return;
    // A cell outside the file has no colour to blend from or towards; taken
    // as one, its bits would paint the cells inside the file white.
    const auto& cache = view.ColorCache();
    if (cache[view.Anchor()] == kNoColor || cache[view.Selection()] == kNoColor) return;
    // The blend always runs upwards; the cursors go back where the user put
    // them afterwards.
    const bool swapped = view.Selection() < view.Anchor();
    if (swapped) view.SwapCursors();
    const std::uint32_t low = view.Anchor();
    const std::uint32_t high = view.Selection();
    const std::vector<RgbColor> colors =
        GradientColors(view.ColorCache()[low], view.ColorCache()[high], high - low);
    // One write, so the view and any other listener hear of the blend once.
    // The view redraws before the cursors go back: the status line then
    // describes the higher cell until it is next rewritten, while the strip,
    // painted later, shows the cursors where they were.
    rom.WriteColors(static_cast<std::uint32_t>(view.ViewOffset()) + 2 * low, colors);
    if (swapped) view.SwapCursors();
}

}  // namespace tintwright
