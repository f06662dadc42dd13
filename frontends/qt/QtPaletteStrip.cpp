#include "frontends/qt/QtPaletteStrip.h"

#include <QPainter>

#include "frontends/qt/QtStripCanvas.h"

namespace tintwright::qt {

// The markers are drawn in a bold face larger than the dialog font, as the
// system font is, and without smoothing: their black shadow and white copy
// stay crisp on any cell colour.
QFont StripGlyphFont(const QFont& base) {
    QFont font(base);
    font.setPixelSize(14);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

QtPaletteStrip::QtPaletteStrip(MainWindowEvents& events, QWidget* parent)
    : QWidget(parent), events_(events), glyphFont_(StripGlyphFont(font())) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void QtPaletteStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QtStripCanvas canvas(painter, glyphFont_);
    events_.PaintStrip(canvas);
    painter.end();
    if (onPainted) onPainted();
}

}  // namespace tintwright::qt
