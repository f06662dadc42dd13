#include "frontends/qt/QtPickerPicture.h"

#include <QPainter>

#include "frontends/qt/QtConversions.h"

namespace tintwright::qt {

// Presses over the picture belong to the client area, where the pick rectangle is.
QtPickerPicture::QtPickerPicture(const QImage& picture, QWidget* parent)
    : QWidget(parent), picture_(picture) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(picture_.size());
}

RgbColor QtPickerPicture::PixelAt(QPoint point) const {
    return picture_.valid(point) ? FromQColor(picture_.pixelColor(point)) : kNoColor;
}

// Qt smooths pictures it scales for a scaled screen, which would show blends
// the picture does not hold.
void QtPickerPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(QPoint(0, 0), picture_.size()), picture_);
}

}  // namespace tintwright::qt
