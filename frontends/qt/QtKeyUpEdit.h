#pragma once

// The colour edits 1070-1072: every released key is reported to the logic
// before the edit handles it, so the boxes are re-read while the user types.

#include <QLineEdit>

#include "window/WindowSystem.h"

namespace tintwright::qt {

class QtKeyUpEdit final : public QLineEdit {
    Q_OBJECT
public:
    QtKeyUpEdit(MainWindowEvents& events, int controlId, QWidget* parent);

protected:
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    MainWindowEvents& events_;
    int controlId_;
};

}  // namespace tintwright::qt
