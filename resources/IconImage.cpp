#include "resources/IconImage.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <stdexcept>

#include "core/LittleEndian.h"

namespace tintwright {

namespace {

constexpr int kPaletteEntries = 256;
constexpr Rgba8 kTransparent{0, 0, 0, 0};

struct DiamondColors {
    Rgba8 fill;
    Rgba8 outline;
};

constexpr DiamondColors kTop{{232, 48, 40, 255}, {120, 16, 12, 255}};      // red
constexpr DiamondColors kLeft{{52, 184, 64, 255}, {18, 90, 26, 255}};      // green
constexpr DiamondColors kRight{{48, 96, 232, 255}, {16, 36, 124, 255}};    // blue
constexpr DiamondColors kBottom{{248, 212, 40, 255}, {128, 100, 8, 255}};  // yellow

bool SameColor(const Rgba8& a, const Rgba8& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// Rows of a DIB are padded to whole 32-bit words.
int PaddedRowBytes(int bitsPerRow) {
    return (bitsPerRow + 31) / 32 * 4;
}

// One image reduced to palette indices; index 0 is black, the colour Windows
// expects under transparent pixels so the XOR step leaves the screen alone.
struct IndexedImage {
    int size = 0;
    std::vector<Rgba8> palette{kTransparent};
    std::vector<std::uint8_t> indices;  // top-down, size * size
    std::vector<bool> transparent;      // top-down, size * size
};

std::uint8_t PaletteIndex(std::vector<Rgba8>& palette, const Rgba8& color) {
    const auto found = std::find_if(palette.begin(), palette.end(),
                                    [&](const Rgba8& entry) { return SameColor(entry, color); });
    if (found != palette.end()) return static_cast<std::uint8_t>(found - palette.begin());
    if (palette.size() == kPaletteEntries) throw std::logic_error("icon uses more than 256 colours");
    palette.push_back(color);
    return static_cast<std::uint8_t>(palette.size() - 1);
}

IndexedImage IndexImage(int size) {
    IndexedImage image;
    image.size = size;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const Rgba8 pixel = IconPixel(size, x, y);
            const bool clear = pixel.alpha == 0;
            image.transparent.push_back(clear);
            image.indices.push_back(clear ? 0 : PaletteIndex(image.palette, pixel));
        }
    }
    return image;
}

// BITMAPINFOHEADER, palette, XOR (colour) rows and AND (mask) rows, as one
// icon directory entry points at them.
std::vector<std::uint8_t> ImageBytes(const IndexedImage& image) {
    const int size = image.size;
    const int xorRow = PaddedRowBytes(size * 8);
    const int andRow = PaddedRowBytes(size);
    std::vector<std::uint8_t> out;

    PutU32(out, 40);
    PutU32(out, size);
    PutU32(out, 2 * size);  // colour rows plus mask rows
    PutU16(out, 1);         // planes
    PutU16(out, 8);         // bits per pixel
    PutU32(out, 0);         // BI_RGB
    PutU32(out, (xorRow + andRow) * size);
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, 0);  // 0 = the full 256-entry palette
    PutU32(out, 0);

    for (int i = 0; i < kPaletteEntries; ++i) {
        const Rgba8 entry = i < static_cast<int>(image.palette.size()) ? image.palette[i] : kTransparent;
        out.push_back(entry.blue);
        out.push_back(entry.green);
        out.push_back(entry.red);
        out.push_back(0);
    }

    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) out.push_back(image.indices[y * size + x]);
        out.resize(out.size() + (xorRow - size), 0);
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(andRow, 0);
        for (int x = 0; x < size; ++x) {
            if (image.transparent[y * size + x]) row[x / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

Rgba8 IconPixel(int size, int x, int y) {
    if (x < 0 || y < 0 || x >= size || y >= size) return kTransparent;
    // Twice the offset from the image centre; odd for an even size, so pixels
    // never sit exactly on the centre lines.
    const int a = 2 * x + 1 - size;
    const int b = 2 * y + 1 - size;
    // Diagonal coordinates: the large diamond is a square in (u, v), and the
    // four small diamonds are its quadrants.
    const int u = (a + b) / 2;
    const int v = (a - b) / 2;
    const int radius = size / 2;
    if (std::max(std::abs(u), std::abs(v)) > radius) return kTransparent;

    const DiamondColors& diamond = u < 0 ? (v > 0 ? kTop : kLeft) : (v > 0 ? kRight : kBottom);
    // The dividing diagonals and the rim are drawn dark so the diamonds stay
    // apart at 16 pixels.
    const bool edge = u == 0 || v == 0 || std::max(std::abs(u), std::abs(v)) == radius;
    return edge ? diamond.outline : diamond.fill;
}

std::vector<std::uint8_t> MakeIconFile() {
    constexpr std::array<int, 2> kSizes{16, 32};
    constexpr std::size_t kDirectoryBytes = 6 + 16 * kSizes.size();

    std::vector<std::uint8_t> out;
    PutU16(out, 0);  // reserved
    PutU16(out, 1);  // icon, not cursor
    PutU16(out, kSizes.size());

    std::vector<std::vector<std::uint8_t>> images;
    for (int size : kSizes) images.push_back(ImageBytes(IndexImage(size)));

    std::size_t offset = kDirectoryBytes;
    for (std::size_t i = 0; i < kSizes.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(kSizes[i]));
        out.push_back(static_cast<std::uint8_t>(kSizes[i]));
        out.push_back(0);  // 0 colours means 256
        out.push_back(0);  // reserved
        PutU16(out, 1);    // planes
        PutU16(out, 8);    // bits per pixel
        PutU32(out, static_cast<std::uint32_t>(images[i].size()));
        PutU32(out, static_cast<std::uint32_t>(offset));
        offset += images[i].size();
    }
    for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
    return out;
}

}  // namespace tintwright
