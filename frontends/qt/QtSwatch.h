#pragma once

// The colour swatches 1076 and 1078: a sunken static filled, whenever it
// repaints, with the colour the logic names for it.

#include <QFrame>

#include "window/WindowSystem.h"

namespace tintwright::qt {

class QtSwatch final : public QFrame {
    Q_OBJECT
public:
    QtSwatch(MainWindowEvents& events, int controlId, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    MainWindowEvents& events_;
    int controlId_;
};

}  // namespace tintwright::qt
