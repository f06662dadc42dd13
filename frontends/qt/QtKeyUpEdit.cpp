#include "frontends/qt/QtKeyUpEdit.h"

#include <QKeyEvent>

namespace tintwright::qt {

QtKeyUpEdit::QtKeyUpEdit(MainWindowEvents& events, int controlId, QWidget* parent)
    : QLineEdit(parent), events_(events), controlId_(controlId) {}

// Auto-repeat produces no key-up on the platform the logic was written for,
// only repeated key-downs; holding a key reports once, when it is let go.
void QtKeyUpEdit::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat()) events_.OnEditKeyUp(controlId_);
    QLineEdit::keyReleaseEvent(event);
}

}  // namespace tintwright::qt
