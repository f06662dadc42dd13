#include "frontends/qt/QtMousePixel.h"

#include <cmath>

namespace tintwright::qt {
namespace {

// Scaling leaves tiny errors (a pixel edge can come out as 5.9999999); a
// position that close below an edge is on it.
constexpr qreal kEdgeTolerance = 1.0 / 1024;

int ContainingPixel(qreal position) {
    return static_cast<int>(std::floor(position + kEdgeTolerance));
}

bool WithinHalfAPixel(const QPointF& exact, const QPointF& rounded) {
    return std::abs(exact.x() - rounded.x()) <= 0.5 && std::abs(exact.y() - rounded.y()) <= 0.5;
}

}  // namespace

// The position in the window keeps the fraction. An event sent straight to a
// widget rather than through its window has no position in the window (its
// own stands in for it, a whole offset away), and is taken as it is.
Point MousePixel(const QMouseEvent& event, const QWidget& receiver) {
    const QPointF offset = receiver.mapTo(receiver.window(), QPoint(0, 0));
    const QPointF inWindow = event.scenePosition() - offset;
    const QPointF position = WithinHalfAPixel(inWindow, event.position()) ? inWindow : event.position();
    return {ContainingPixel(position.x()), ContainingPixel(position.y())};
}

}  // namespace tintwright::qt
