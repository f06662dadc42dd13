#pragma once

// What the program and its tests set up around the QApplication so that the
// window looks and behaves the same on every desktop.

class QApplication;

namespace tintwright::qt {

// Before the QApplication exists: prefer X11 (also under XWayland), where the
// screen colour tracker can read the screen, unless a platform is chosen
// already (tests choose offscreen).
void PrepareQtPlatform();

// Fusion style and one fixed font, so text at fixed positions does not depend
// on the desktop's theme; the program icon; and no quitting when the last
// window closes: the logic ends the program itself.
void ConfigureApplication(QApplication& application);

}  // namespace tintwright::qt
