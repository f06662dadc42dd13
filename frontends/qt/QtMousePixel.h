#pragma once

// Where a mouse event happened, as the receiving widget's logical pixel that
// the pointer is on. On a scaled screen a device pixel can lie part-way into a
// logical pixel, and Qt hands widgets the position rounded to the nearest
// whole one: at an edge, the pixel beside the pointer's, which is a strip cell
// or a picture pixel too far.

#include <QMouseEvent>
#include <QWidget>

#include "window/WindowSystem.h"

namespace tintwright::qt {

Point MousePixel(const QMouseEvent& event, const QWidget& receiver);

}  // namespace tintwright::qt
