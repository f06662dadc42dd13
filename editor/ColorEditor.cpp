#include "editor/ColorEditor.h"

#include "ui/ControlIds.h"

namespace tintwright {
namespace {

struct Channel {
    int edit;
    int slider;
};

constexpr Channel kChannels[] = {
    {ids::kRedEdit, ids::kRedSlider},
    {ids::kGreenEdit, ids::kGreenSlider},
    {ids::kBlueEdit, ids::kBlueSlider},
};

}  // namespace

void ColorEditor::SetCurrentColor(RgbColor color) {
    current_ = color;
    windowSystem_.Invalidate(ids::kCurrentSwatch, true);
    const std::uint8_t values[] = {RedOf(color), GreenOf(color), BlueOf(color)};
    for (int i = 0; i < 3; ++i) {
        windowSystem_.SetNumber(kChannels[i].edit, values[i], false);
        windowSystem_.SetSliderPosition(kChannels[i].slider, values[i]);
    }
}

std::optional<RgbColor> ColorEditor::ReadRgbEdits() {
    const auto blue = windowSystem_.GetSignedNumber(ids::kBlueEdit);
    if (!blue) return std::nullopt;
    const auto green = windowSystem_.GetSignedNumber(ids::kGreenEdit);
    if (!green) return std::nullopt;
    const auto red = windowSystem_.GetSignedNumber(ids::kRedEdit);
    if (!red) return std::nullopt;
    return MakeRgbColor(static_cast<std::uint8_t>(*red), static_cast<std::uint8_t>(*green),
                        static_cast<std::uint8_t>(*blue));
}

void ColorEditor::ApplyRgbEdits() {
    if (const auto color = ReadRgbEdits()) SetCurrentColor(*color);
}

}  // namespace tintwright
