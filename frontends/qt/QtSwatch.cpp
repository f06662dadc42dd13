#include "frontends/qt/QtSwatch.h"

#include <QPainter>

#include "frontends/qt/QtConversions.h"

namespace tintwright::qt {

QtSwatch::QtSwatch(MainWindowEvents& events, int controlId, QWidget* parent)
    : QFrame(parent), events_(events), controlId_(controlId) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void QtSwatch::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), ToQColor(events_.SwatchColor(controlId_)));
    }
    QFrame::paintEvent(event);  // the sunken edge, drawn over the fill's border
}

}  // namespace tintwright::qt
