#pragma once

// Control 1009: a plain area whose whole picture comes from the logic. It
// takes no mouse input, so presses and releases over it reach the main
// window's client area in its own coordinates, where the strip's hit tests
// work.

#include <QFont>
#include <QWidget>
#include <functional>

#include "window/WindowSystem.h"

namespace tintwright::qt {

// The face the strip's markers are drawn in, made from the strip's own font.
QFont StripGlyphFont(const QFont& base);

class QtPaletteStrip final : public QWidget {
    Q_OBJECT
public:
    QtPaletteStrip(MainWindowEvents& events, QWidget* parent);

    // Called after every paint; used to report when the first one happened.
    std::function<void()> onPainted;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    MainWindowEvents& events_;
    QFont glyphFont_;
};

}  // namespace tintwright::qt
