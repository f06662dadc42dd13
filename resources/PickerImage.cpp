#include "resources/PickerImage.h"

#include <algorithm>

#include "core/LittleEndian.h"

namespace tintwright {

namespace {

constexpr int kBmpHeaderBytes = 14 + 40;
constexpr int kBmpRowBytes = kPickerWidth * 3;  // already a multiple of 4: no padding

// Fully saturated colour at the column's hue, hue = 360 * column / width.
// Integer arithmetic keeps the pixels identical on every compiler.
Rgb8 SaturatedHue(int column) {
    const int scaled = 6 * column;  // sixths of the hue circle, in units of 1/width
    const int sector = scaled / kPickerWidth;
    const int rising = (255 * (scaled % kPickerWidth) + kPickerWidth / 2) / kPickerWidth;
    const auto up = static_cast<std::uint8_t>(rising);
    const auto down = static_cast<std::uint8_t>(255 - rising);
    switch (sector) {
        case 0:
            return {255, up, 0};  // red to yellow
        case 1:
            return {down, 255, 0};  // yellow to green
        case 2:
            return {0, 255, up};  // green to cyan
        case 3:
            return {0, down, 255};  // cyan to blue
        case 4:
            return {up, 0, 255};  // blue to magenta
        default:
            return {255, 0, down};  // magenta back toward red
    }
}

// Moves a channel toward mid grey so the extremes 0 and 255 each travel exactly
// one level per row: c * (1 - 2r/255) + r, rounded.
std::uint8_t FadeTowardGrey(std::uint8_t channel, int row) {
    const int value = (channel * (255 - 2 * row) + 255 * row + 127) / 255;
    return static_cast<std::uint8_t>(value);
}

}  // namespace

Rgb8 PickerPixel(int column, int row) {
    column = std::clamp(column, 0, kPickerWidth - 1);
    row = std::clamp(row, 0, kPickerHeight - 1);
    const Rgb8 pure = SaturatedHue(column);
    return {FadeTowardGrey(pure.red, row), FadeTowardGrey(pure.green, row), FadeTowardGrey(pure.blue, row)};
}

std::vector<std::uint8_t> MakePickerBmp() {
    const std::uint32_t pixelBytes = kBmpRowBytes * kPickerHeight;
    std::vector<std::uint8_t> out;
    out.reserve(kBmpHeaderBytes + pixelBytes);

    // BITMAPFILEHEADER
    out.push_back('B');
    out.push_back('M');
    PutU32(out, kBmpHeaderBytes + pixelBytes);
    PutU32(out, 0);  // two reserved words
    PutU32(out, kBmpHeaderBytes);

    // BITMAPINFOHEADER; a positive height means the rows are stored bottom-up.
    PutU32(out, 40);
    PutU32(out, kPickerWidth);
    PutU32(out, kPickerHeight);
    PutU16(out, 1);   // planes
    PutU16(out, 24);  // bits per pixel
    PutU32(out, 0);   // BI_RGB
    PutU32(out, pixelBytes);
    PutU32(out, 3780);  // 96 dots per inch, in pixels per metre
    PutU32(out, 3780);
    PutU32(out, 0);  // no colour table
    PutU32(out, 0);

    for (int row = kPickerHeight - 1; row >= 0; --row) {
        for (int column = 0; column < kPickerWidth; ++column) {
            const Rgb8 pixel = PickerPixel(column, row);
            out.push_back(pixel.blue);
            out.push_back(pixel.green);
            out.push_back(pixel.red);
        }
    }
    return out;
}

}  // namespace tintwright
