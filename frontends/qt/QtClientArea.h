#pragma once

// The main window's client area, 758 x 332 pixels under the menu bar. Every
// mouse action that no control takes for itself arrives here and goes to the
// logic in client pixels, which is what the strip and picker hit tests expect.
// While the logic holds the mouse captured, positions may lie outside it.

#include <QWidget>

#include "window/WindowSystem.h"

namespace tintwright::qt {

class QtClientArea final : public QWidget {
    Q_OBJECT
public:
    QtClientArea(MainWindowEvents& events, QWidget* parent);

    // Installed on buttons and edits, which keep their clicks but hand the
    // wheel on to the window, as the controls the logic was written for do.
    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    MainWindowEvents& events_;
};

}  // namespace tintwright::qt
