#pragma once

// Screen positions cross the seam in physical pixels, the ones a screen pixel
// is read at; Qt places windows and menus in device-independent pixels. The
// two differ only on scaled displays.

#include <QPoint>

#include "window/WindowSystem.h"

namespace tintwright::qt {

Point ToPhysicalScreen(const QPoint& logical);
QPoint ToLogicalScreen(Point physical);

}  // namespace tintwright::qt
