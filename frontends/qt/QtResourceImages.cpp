#include "frontends/qt/QtResourceImages.h"

#include <QPixmap>

#include "resources/IconImage.h"
#include "resources/PickerImage.h"

namespace tintwright::qt {
namespace {

QImage IconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const Rgba8 pixel = IconPixel(size, x, y);
            image.setPixel(x, y, qRgba(pixel.red, pixel.green, pixel.blue, pixel.alpha));
        }
    }
    return image;
}

}  // namespace

QImage PickerImage() {
    QImage image(kPickerWidth, kPickerHeight, QImage::Format_RGB32);
    for (int row = 0; row < kPickerHeight; ++row) {
        for (int column = 0; column < kPickerWidth; ++column) {
            const Rgb8 pixel = PickerPixel(column, row);
            image.setPixel(column, row, qRgb(pixel.red, pixel.green, pixel.blue));
        }
    }
    return image;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 32}) icon.addPixmap(QPixmap::fromImage(IconImage(size)));
    return icon;
}

}  // namespace tintwright::qt
