#include "frontends/qt/QtStripCanvas.h"

#include <QPainter>

#include "frontends/qt/QtConversions.h"

namespace tintwright::qt {

QtStripCanvas::QtStripCanvas(QPainter& painter, const QFont& glyphFont)
    : painter_(painter), glyphFont_(glyphFont) {}

void QtStripCanvas::FillRect(const PixelRect& rect, RgbColor color) {
    painter_.fillRect(ToQRect(rect), ToQColor(color));
}

// Centred across the rectangle and top-aligned, clipped to it, with nothing
// painted behind the character: the cell's colour shows around it.
void QtStripCanvas::DrawGlyph(char glyph, const PixelRect& rect, RgbColor color) {
    painter_.save();
    painter_.setBackgroundMode(Qt::TransparentMode);
    painter_.setFont(glyphFont_);
    painter_.setPen(ToQColor(color));
    painter_.setClipRect(ToQRect(rect), Qt::IntersectClip);
    painter_.drawText(ToQRect(rect), Qt::AlignHCenter | Qt::AlignTop, QString(QLatin1Char(glyph)));
    painter_.restore();
}

}  // namespace tintwright::qt
