// Build-time tool: writes the program's icon as PNG files laid out like the
// hicolor icon theme, for desktop menus and file managers on Linux.
//
//   make_theme_icons <output-dir> <size>...   ->   <output-dir>/<size>x<size>/apps/tintwright.png
//
// Only the 16 and 32 pixel pictures are drawn; every other size repeats the
// pixels of the 32 pixel one (nearest neighbour), so no colour is blended and
// the edges stay sharp. At 48 pixels that doubles every other row and column
// of the 32 pixel picture: its outlines come out one or two pixels wide, which
// still looks crisper than the 16 pixel picture tripled, whose coarse steps
// and three-pixel dark rims make the diamonds look blocky and dim.

#include <QDir>
#include <QImage>
#include <QString>
#include <cstdio>

#include "resources/IconImage.h"

namespace {

constexpr int kLargestDrawnSize = 32;

// The drawn pixel under the top left corner of pixel `index` of `size`.
int NearestDrawnPixel(int index, int size) {
    return index * kLargestDrawnSize / size;
}

tintwright::Rgba8 ThemeIconPixel(int size, int x, int y) {
    if (size == 16 || size == kLargestDrawnSize) return tintwright::IconPixel(size, x, y);
    return tintwright::IconPixel(kLargestDrawnSize, NearestDrawnPixel(x, size), NearestDrawnPixel(y, size));
}

QImage ThemeIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const tintwright::Rgba8 pixel = ThemeIconPixel(size, x, y);
            image.setPixel(x, y, qRgba(pixel.red, pixel.green, pixel.blue, pixel.alpha));
        }
    }
    return image;
}

bool WriteThemeIcon(const QString& outputDir, int size) {
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(outputDir).arg(size);
    const QString path = folder + QStringLiteral("/tintwright.png");
    if (QDir().mkpath(folder) && ThemeIcon(size).save(path, "PNG")) return true;
    std::fprintf(stderr, "make_theme_icons: cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_theme_icons <output-dir> <size>...\n");
        return 2;
    }
    const QString outputDir = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    for (int index = 2; index < argc; ++index) {
        bool isNumber = false;
        const int size = QString::fromLocal8Bit(argv[index]).toInt(&isNumber);
        if (!isNumber || size < 1) {
            std::fprintf(stderr, "make_theme_icons: %s is not a size\n", argv[index]);
            return 2;
        }
        ok = WriteThemeIcon(outputDir, size) && ok;
    }
    return ok ? 0 : 1;
}
