#include "frontends/qt/QtScreenPoints.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace tintwright::qt {
namespace {

// Qt keeps each screen's top-left corner in physical pixels and scales what
// lies beyond it by the screen's ratio.
QScreen* ScreenNear(const QPoint& logical) {
    QScreen* screen = QGuiApplication::screenAt(logical);
    return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

}  // namespace

Point ToPhysicalScreen(const QPoint& logical) {
    const QScreen* screen = ScreenNear(logical);
    if (screen == nullptr) return {logical.x(), logical.y()};
    const QPoint origin = screen->geometry().topLeft();
    const qreal ratio = screen->devicePixelRatio();
    return {origin.x() + static_cast<int>(std::lround((logical.x() - origin.x()) * ratio)),
            origin.y() + static_cast<int>(std::lround((logical.y() - origin.y()) * ratio))};
}

// The logical pixel that holds the physical one, so a menu opened there has
// its first pixel under the pointer rather than beside it.
QPoint ToLogicalScreen(Point physical) {
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QPoint origin = screen->geometry().topLeft();
        const qreal ratio = screen->devicePixelRatio();
        const QPoint logical(origin.x() + static_cast<int>(std::floor((physical.x - origin.x()) / ratio)),
                             origin.y() + static_cast<int>(std::floor((physical.y - origin.y()) / ratio)));
        if (screen->geometry().contains(logical)) return logical;
    }
    return {physical.x, physical.y};
}

}  // namespace tintwright::qt
