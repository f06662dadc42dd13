#include "frontends/win32/GdiStripCanvas.h"

namespace tintwright::win32 {
namespace {

RECT ToRect(const PixelRect& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

GdiStripCanvas::GdiStripCanvas(HDC dc, StripBrushes& brushes) : dc_(dc), brushes_(brushes) {
    brushes_.StartPaint();
    SetBkMode(dc_, TRANSPARENT);
}

void GdiStripCanvas::FillRect(const PixelRect& rect, RgbColor color) {
    const RECT area = ToRect(rect);
    ::FillRect(dc_, &area, brushes_.For(color));
}

void GdiStripCanvas::DrawGlyph(char glyph, const PixelRect& rect, RgbColor color) {
    RECT area = ToRect(rect);
    SetTextColor(dc_, color);
    DrawTextA(dc_, &glyph, 1, &area, DT_CENTER);
}

}  // namespace tintwright::win32
