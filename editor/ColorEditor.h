#pragma once

// The colour being edited and the one-slot stored colour, kept in step with
// the three number boxes, the three sliders and the two swatches. Both colours
// are black until the user makes a colour current.

#include <cstdint>
#include <optional>

#include "core/SnesColor.h"
#include "window/WindowSystem.h"

namespace tintwright {

class ColorEditor {
public:
    explicit ColorEditor(WindowSystem& windowSystem) : windowSystem_(windowSystem) {}

    RgbColor CurrentColor() const { return current_; }
    RgbColor StoredColor() const { return stored_; }

    // Makes c current: the current swatch repaints, each box shows its channel
    // unsigned and each slider moves there. The status line is left alone.
    void SetCurrentColor(RgbColor color);
    // The three boxes as a colour, each value taken modulo 256; nothing as
    // soon as one of them does not hold a signed decimal number.
    std::optional<RgbColor> ReadRgbEdits();
    // The boxes made current, which rewrites them with the reduced values.
    void ApplyRgbEdits();

    // A slider moved by the user: its box takes the position, then the boxes
    // are applied. Other controls are no slider of ours and change nothing.
    void OnSliderMoved(int sliderId);
    // "-" and "+": every channel one SNES step (8) down or up, then applied.
    void StepDown();
    void StepUp();
    // "<" and ">" beside the swatches.
    void StoreCurrentColor();
    void RecallStoredColor();

private:
    void StepChannels(std::int32_t (*step)(std::int32_t));
    void WriteBox(int edit, std::int32_t value, bool isSigned);

    WindowSystem& windowSystem_;
    RgbColor current_ = 0;
    RgbColor stored_ = 0;
};

}  // namespace tintwright
