#include "frontends/qt/QtPreviewPicture.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace tintwright::qt {

QtPreviewPicture::QtPreviewPicture(QWidget* parent)
    : QWidget(parent), pixels_(static_cast<std::size_t>(frameWidth_) * frameHeight_, 0xFF000000u) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    FitSize();
}

bool QtPreviewPicture::Show(const PreviewFrame& frame) {
    const std::size_t count = static_cast<std::size_t>(frame.width) * frame.height;
    pixels_.resize(count);
    std::transform(frame.pixels.begin(), frame.pixels.begin() + static_cast<std::ptrdiff_t>(count),
                   pixels_.begin(), [](std::uint32_t pixel) { return pixel | 0xFF000000u; });
    const bool resized = frame.width != frameWidth_ || frame.height != frameHeight_;
    frameWidth_ = frame.width;
    frameHeight_ = frame.height;
    const bool refitted = FitSize();
    update();
    return resized || refitted;
}

// Logical pixels are device pixels divided by the ratio; at a fractional
// ratio the size is rounded up and the frame drawn into its exact share.
bool QtPreviewPicture::FitSize() {
    const double ratio = devicePixelRatioF();
    const int scale = PreviewScale(frameWidth_, ratio);
    const QSize size(static_cast<int>(std::ceil(frameWidth_ * scale / ratio)),
                     static_cast<int>(std::ceil(frameHeight_ * scale / ratio)));
    if (scale == scale_ && size == this->size()) return false;
    scale_ = scale;
    setFixedSize(size);
    return true;
}

void QtPreviewPicture::paintEvent(QPaintEvent*) {
    const QImage image(reinterpret_cast<const uchar*>(pixels_.data()), frameWidth_, frameHeight_,
                       frameWidth_ * static_cast<int>(sizeof(std::uint32_t)), QImage::Format_RGB32);
    const double ratio = devicePixelRatioF();
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    // Without smoothing each frame pixel becomes a square of scale device pixels.
    painter.drawImage(QRectF(0, 0, frameWidth_ * scale_ / ratio, frameHeight_ * scale_ / ratio), image);
}

}  // namespace tintwright::qt
