#pragma once

// The colour being edited and the one-slot stored colour, kept in step with
// the three number boxes, the three sliders and the two swatches.

#include <optional>

#include "core/SnesColor.h"
#include "ui/WindowSystem.h"

namespace tintwright {

class ColorEditor {
public:
    explicit ColorEditor(WindowSystem& windowSystem) : windowSystem_(windowSystem) {}

    RgbColor CurrentColor() const { return current_; }
    RgbColor StoredColor() const { return stored_; }

    // Makes c current and shows it in the swatch, the boxes and the sliders.
    // The status line is left alone.
    void SetCurrentColor(RgbColor color);
    // The three boxes as a colour, each value taken modulo 256, or nothing as
    // soon as one box does not hold a number.
    std::optional<RgbColor> ReadRgbEdits();
    void ApplyRgbEdits();

private:
    WindowSystem& windowSystem_;
    RgbColor current_ = 0;
    RgbColor stored_ = 0;
};

}  // namespace tintwright
