#pragma once

// The strip's drawing operations carried out with a QPainter.

#include <QFont>

#include "window/WindowSystem.h"

class QPainter;

namespace tintwright::qt {

class QtStripCanvas final : public StripCanvas {
public:
    QtStripCanvas(QPainter& painter, const QFont& glyphFont);
    QtStripCanvas(const QtStripCanvas&) = delete;
    QtStripCanvas& operator=(const QtStripCanvas&) = delete;

    void FillRect(const PixelRect& rect, RgbColor color) override;
    void DrawGlyph(char glyph, const PixelRect& rect, RgbColor color) override;

private:
    QPainter& painter_;
    QFont glyphFont_;
};

}  // namespace tintwright::qt
