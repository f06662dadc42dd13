#pragma once

// Small conversions between the seam's plain values and Qt's types. Colours
// cross the seam as 0x00BBGGRR, the order Win32 uses, so every colour that
// reaches Qt passes through here.

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <algorithm>
#include <string>
#include <string_view>

#include "core/SnesColor.h"
#include "window/WindowSystem.h"

namespace tintwright::qt {

// The no-colour value of cells outside the file is shown as white.
inline QColor ToQColor(RgbColor color) {
    if (color == kNoColor) return QColor(255, 255, 255);
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

inline RgbColor FromQColor(const QColor& color) {
    return MakeRgbColor(static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
                        static_cast<std::uint8_t>(color.blue()));
}

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// At most maxBytes bytes of UTF-8, never ending inside a character, so a text
// cut to a buffer's size stays valid text.
inline std::string ToStdString(const QString& text, std::size_t maxBytes = std::string::npos) {
    const QByteArray bytes = text.toUtf8();
    std::size_t length = std::min(static_cast<std::size_t>(bytes.size()), maxBytes);
    if (length < static_cast<std::size_t>(bytes.size())) {
        while (length > 0 &&
               (static_cast<unsigned char>(bytes[static_cast<qsizetype>(length)]) & 0xC0) == 0x80) {
            --length;
        }
    }
    return std::string(bytes.constData(), length);
}

inline QRect ToQRect(const PixelRect& rect) {
    return QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

inline QPoint ToQPoint(Point point) {
    return QPoint(point.x, point.y);
}
inline Point FromQPoint(const QPoint& point) {
    return {point.x(), point.y()};
}

}  // namespace tintwright::qt
