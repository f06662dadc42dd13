#pragma once

// The colour being edited and the one-slot stored colour. Both are black until
// the user makes a colour current.

#include "core/SnesColor.h"

namespace tintwright {

class ColorEditor {
public:
    RgbColor CurrentColor() const { return current_; }
    RgbColor StoredColor() const { return stored_; }

private:
    RgbColor current_ = 0;
    RgbColor stored_ = 0;
};

}  // namespace tintwright
