#pragma once

// Control 1069: the colour picker picture, unscaled at the control's origin in
// layout pixels. On a scaled screen each of its pixels is repeated over the
// device pixels it covers, never smoothed, so every colour the user sees is
// one the picture holds; a pick reads the picture itself, at any scale.

#include <QImage>
#include <QWidget>

#include "window/WindowSystem.h"

namespace tintwright::qt {

class QtPickerPicture final : public QWidget {
    Q_OBJECT
public:
    // The control takes the picture's size.
    QtPickerPicture(const QImage& picture, QWidget* parent);

    // The picture's pixel at a point of the control, or kNoColor outside it.
    RgbColor PixelAt(QPoint point) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

}  // namespace tintwright::qt
