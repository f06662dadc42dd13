#pragma once

// The solid brushes of the strip's last paint. They stay alive until the next
// paint starts, one per colour, so a repaint never draws with a deleted brush
// and the number of brushes stays bounded however often the strip repaints.

#include <map>

#include "frontends/win32/GdiObject.h"
#include "frontends/win32/Win32Api.h"
#include "window/WindowSystem.h"

namespace tintwright::win32 {

class StripBrushes {
public:
    void StartPaint() { brushes_.clear(); }

    HBRUSH For(RgbColor color) {
        auto [entry, added] = brushes_.try_emplace(color);
        if (added) entry->second.Reset(CreateSolidBrush(color));
        return entry->second.Get();
    }

    std::size_t Count() const { return brushes_.size(); }

private:
    std::map<RgbColor, Brush> brushes_;
};

}  // namespace tintwright::win32
