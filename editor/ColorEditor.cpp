#include "editor/ColorEditor.h"

#include <array>
#include <cstdint>
#include <string>

#include "window/ControlIds.h"
#include "window/DialogInteger.h"

namespace tintwright {
namespace {

struct ChannelControls {
    int edit;
    int slider;
    int shift;  // of the channel's byte within 0x00BBGGRR
};

// Red, green, blue: the order the boxes are written and stepped in.
constexpr std::array<ChannelControls, 3> kChannels{{
    {ids::kRedEdit, ids::kRedSlider, 0},
    {ids::kGreenEdit, ids::kGreenSlider, 8},
    {ids::kBlueEdit, ids::kBlueSlider, 16},
}};

constexpr std::int32_t kSnesStep = 8;  // one step of a 5-bit channel in 8-bit units
constexpr std::int32_t kChannelMax = 255;

// Box values are whatever the user typed; the arithmetic wraps as the 32-bit
// numbers they are rather than overflowing.
std::int32_t MinusStep(std::int32_t value) {
    if (value >= 0 && value < kSnesStep) return 0;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) - kSnesStep);
}

std::int32_t PlusStep(std::int32_t value) {
    if (value >= 0 && value < kChannelMax - kSnesStep) return value + kSnesStep;
    return kChannelMax;
}

}  // namespace

void ColorEditor::SetCurrentColor(RgbColor color) {
    current_ = color;
    windowSystem_.Invalidate(ids::kCurrentSwatch, true);
    for (const ChannelControls& channel : kChannels) {
        const auto value = static_cast<std::int32_t>((color >> channel.shift) & 0xFFu);
        WriteBox(channel.edit, value, false);
        windowSystem_.SetSliderPosition(channel.slider, value);
    }
}

std::optional<RgbColor> ColorEditor::ReadRgbEdits() {
    // Blue first, then green, then red: the first box that is no number ends it.
    RgbColor color = 0;
    for (auto channel = kChannels.rbegin(); channel != kChannels.rend(); ++channel) {
        const std::optional<std::int32_t> value = windowSystem_.GetSignedNumber(channel->edit);
        if (!value) return std::nullopt;
        color |= (static_cast<RgbColor>(*value) & 0xFFu) << channel->shift;
    }
    return color;
}

void ColorEditor::ApplyRgbEdits() {
    if (const std::optional<RgbColor> color = ReadRgbEdits()) SetCurrentColor(*color);
}

void ColorEditor::OnSliderMoved(int sliderId) {
    for (const ChannelControls& channel : kChannels) {
        if (channel.slider != sliderId) continue;
        WriteBox(channel.edit, windowSystem_.GetSliderPosition(sliderId), true);
        ApplyRgbEdits();
        return;
    }
}

void ColorEditor::StepDown() {
    StepChannels(MinusStep);
}

void ColorEditor::StepUp() {
    StepChannels(PlusStep);
}

// A box that holds no number counts as 0; the boxes are applied once, after
// all three are written.
void ColorEditor::StepChannels(std::int32_t (*step)(std::int32_t)) {
    for (const ChannelControls& channel : kChannels) {
        const std::int32_t value = windowSystem_.GetSignedNumber(channel.edit).value_or(0);
        WriteBox(channel.edit, step(value), true);
    }
    ApplyRgbEdits();
}

// The boxes are rewritten at every key release; a box that already shows the
// number is left alone, so the cursor and the selection of the one the user
// is typing in stay where they are.
void ColorEditor::WriteBox(int edit, std::int32_t value, bool isSigned) {
    const std::string text = FormatDialogInteger(value, isSigned);
    if (windowSystem_.GetText(edit, text.size() + 1) != text) windowSystem_.SetNumber(edit, value, isSigned);
}

void ColorEditor::StoreCurrentColor() {
    stored_ = current_;
    windowSystem_.Invalidate(ids::kStoredSwatch, true);
}

void ColorEditor::RecallStoredColor() {
    SetCurrentColor(stored_);
}

}  // namespace tintwright
