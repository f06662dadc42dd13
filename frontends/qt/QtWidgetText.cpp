#include "frontends/qt/QtWidgetText.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

namespace tintwright::qt {

QString WidgetText(const QWidget* widget) {
    if (widget == nullptr) return {};
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
    if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
    return widget->isWindow() ? widget->windowTitle() : QString();
}

void SetWidgetText(QWidget* widget, const QString& text) {
    if (widget == nullptr) return;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(text);
    } else if (widget->isWindow()) {
        widget->setWindowTitle(text);
    }
}

}  // namespace tintwright::qt
