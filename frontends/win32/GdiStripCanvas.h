#pragma once

// The strip's StripCanvas on a GDI device context: solid fills and one-letter
// glyphs on a transparent background, in the context's own font.

#include "frontends/win32/StripBrushes.h"
#include "frontends/win32/Win32Api.h"
#include "window/WindowSystem.h"

namespace tintwright::win32 {

class GdiStripCanvas final : public StripCanvas {
public:
    // Starts a new paint: the brushes of the previous one are released here.
    GdiStripCanvas(HDC dc, StripBrushes& brushes);

    void FillRect(const PixelRect& rect, RgbColor color) override;
    void DrawGlyph(char glyph, const PixelRect& rect, RgbColor color) override;

private:
    HDC dc_;
    StripBrushes& brushes_;
};

}  // namespace tintwright::win32
