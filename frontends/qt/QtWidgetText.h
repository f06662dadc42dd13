#pragma once

// The text of whatever widget stands for a control: an edit's contents, a
// label's or button's caption, a window's title.

#include <QString>

class QWidget;

namespace tintwright::qt {

QString WidgetText(const QWidget* widget);
void SetWidgetText(QWidget* widget, const QString& text);

}  // namespace tintwright::qt
