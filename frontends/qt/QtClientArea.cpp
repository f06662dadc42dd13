#include "frontends/qt/QtClientArea.h"

#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cstdint>

#include "frontends/qt/QtMousePixel.h"

namespace tintwright::qt {

QtClientArea::QtClientArea(MainWindowEvents& events, QWidget* parent) : QWidget(parent), events_(events) {
    setMouseTracking(true);
}

bool QtClientArea::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel) return QWidget::eventFilter(watched, event);
    wheelEvent(static_cast<QWheelEvent*>(event));
    return true;
}

// A double click arrives as a second press: the logic knows no double clicks.
void QtClientArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) events_.OnLeftButtonDown(MousePixel(*event, *this));
}

void QtClientArea::mouseMoveEvent(QMouseEvent* event) {
    events_.OnMouseMove(MousePixel(*event, *this));
}

void QtClientArea::mouseReleaseEvent(QMouseEvent* event) {
    switch (event->button()) {
        case Qt::LeftButton:
            events_.OnLeftButtonUp(MousePixel(*event, *this));
            break;
        case Qt::RightButton:
            events_.OnRightButtonUp(MousePixel(*event, *this));
            break;
        case Qt::BackButton:
            events_.OnXButtonUp(1);
            break;
        case Qt::ForwardButton:
            events_.OnXButtonUp(2);
            break;
        default:
            break;
    }
}

// The raw delta, as Windows reports it: the logic gathers a touchpad's small
// deltas into whole notches itself.
void QtClientArea::wheelEvent(QWheelEvent* event) {
    const int delta = std::clamp(event->angleDelta().y(), -32768, 32767);
    events_.OnMouseWheel(static_cast<std::int16_t>(delta));
}

}  // namespace tintwright::qt
